#include "commands/controls/font_provider.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <array>
#include <cmath>

namespace quillet {

namespace {

struct TScript {
  int Charset;
  const char* Name;
};

// Names of the character sets the lists show.
constexpr std::array<TScript, 16> kScripts{{
    {ANSI_CHARSET, "西欧"},
    {EASTEUROPE_CHARSET, "中欧"},
    {TURKISH_CHARSET, "土耳其语"},
    {BALTIC_CHARSET, "波罗的海语"},
    {VIETNAMESE_CHARSET, "越南语"},
    {GREEK_CHARSET, "希腊语"},
    {RUSSIAN_CHARSET, "西里尔文"},
    {HEBREW_CHARSET, "希伯来文"},
    {ARABIC_CHARSET, "阿拉伯文"},
    {THAI_CHARSET, "泰文"},
    {GB2312_CHARSET, "中文 GB2312"},
    {CHINESEBIG5_CHARSET, "中文 Big5"},
    {SHIFTJIS_CHARSET, "日文"},
    {HANGEUL_CHARSET, "韩文"},
    {SYMBOL_CHARSET, "符号"},
    {MAC_CHARSET, "Mac"},
}};

// The character sets a writing system covers; Latin covers the European
// sets the Latin alphabet writes.
std::vector<int> CharsetsOf(QFontDatabase::WritingSystem system) {
  switch (system) {
    case QFontDatabase::Latin: return {ANSI_CHARSET, EASTEUROPE_CHARSET, TURKISH_CHARSET, BALTIC_CHARSET};
    case QFontDatabase::Vietnamese: return {VIETNAMESE_CHARSET};
    case QFontDatabase::Greek: return {GREEK_CHARSET};
    case QFontDatabase::Cyrillic: return {RUSSIAN_CHARSET};
    case QFontDatabase::Hebrew: return {HEBREW_CHARSET};
    case QFontDatabase::Arabic: return {ARABIC_CHARSET};
    case QFontDatabase::Thai: return {THAI_CHARSET};
    case QFontDatabase::SimplifiedChinese: return {GB2312_CHARSET};
    case QFontDatabase::TraditionalChinese: return {CHINESEBIG5_CHARSET};
    case QFontDatabase::Japanese: return {SHIFTJIS_CHARSET};
    case QFontDatabase::Korean: return {HANGEUL_CHARSET};
    case QFontDatabase::Symbol: return {SYMBOL_CHARSET};
    default: return {};
  }
}

class TQtFontProvider final : public TFontProvider {
 public:
  std::vector<std::string> Families() const override {
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    std::vector<std::string> result;
    for (const QString& family : families) result.push_back(family.toStdString());
    return result;
  }
  std::vector<TFontEntry> Entries(const std::string& family) const override {
    const QString name = QString::fromStdString(family);
    std::vector<TFontEntry> result;
    if (!QFontDatabase::families().contains(name)) return result;
    const bool scalable = QFontDatabase::isScalable(name);
    const QList<int> sizes = scalable ? QList<int>{0} : QFontDatabase::pointSizes(name);
    for (const QFontDatabase::WritingSystem system : QFontDatabase::writingSystems(name))
      for (const int charset : CharsetsOf(system))
        for (const int points : sizes)
          result.push_back({scalable, static_cast<int32_t>(std::lround(points * PixelsPerInch() / 72.0)), charset,
                            ScriptName(charset)});
    return result;
  }
  int PixelsPerInch() const override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
  }
};

}  // namespace

TFontProvider& SystemFontProvider() {
  static TQtFontProvider provider;
  return provider;
}

std::string ScriptName(int charset) {
  for (const TScript& script : kScripts)
    if (script.Charset == charset) return script.Name;
  return {};
}

}  // namespace quillet
