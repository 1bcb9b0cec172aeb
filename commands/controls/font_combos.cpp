#include "commands/controls/font_combos.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <cmath>

#include "platform/core/beep.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// Outline fonts take any size; these are the ones offered.
constexpr int kScalableSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

}  // namespace

TDVFontComboBox::TDVFontComboBox(QWidget* parent, TFontProvider& provider) : QComboBox(parent), provider_(provider) {
  Build();
}

void TDVFontComboBox::Build() {
  const QString text = currentText();
  clear();
  for (const std::string& family : provider_.Families()) addItem(Q(family));
  setCurrentIndex(findText(text));
}

TDVFontSizeComboBox::TDVFontSizeComboBox(QWidget* parent, TFontProvider& provider)
    : QComboBox(parent), provider_(provider) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  // Pasted text too: digits only.
  lineEdit()->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), this));
  lineEdit()->installEventFilter(this);
  QObject::connect(this, &QComboBox::currentTextChanged, this, [this] {
    if (!building_ && OnChange) OnChange(*this);
  });
}

void TDVFontSizeComboBox::SetFontName(const std::string& value) {
  fontName_ = value;
  Build();
}

void TDVFontSizeComboBox::Build() {
  const QString text = currentText();
  {
    TScopedValue<bool> building(building_, true);
    clear();
    if (fontName_.empty()) {
      setEditText(text);
      return;
    }
    pixelsPerInch_ = provider_.PixelsPerInch();
    std::vector<int> sizes;
    for (const TFontEntry& entry : provider_.Entries(fontName_)) {
      if (entry.Scalable) {
        sizes.assign(std::begin(kScalableSizes), std::end(kScalableSizes));
        break;
      }
      if (pixelsPerInch_ <= 0) continue;
      const int size = static_cast<int>(std::nearbyint(entry.CharHeight * 72.0 / pixelsPerInch_));
      const auto at = std::lower_bound(sizes.begin(), sizes.end(), size);
      if (at == sizes.end() || *at != size) sizes.insert(at, size);
    }
    for (const int size : sizes) addItem(QString::number(size));
    setCurrentIndex(findText(text));
    setEditText(text);
  }
  if (OnChange) OnChange(*this);
}

bool TDVFontSizeComboBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (!text.isEmpty() && !(key->modifiers() & Qt::ControlModifier)) {
      for (const QChar c : text) {
        const bool control = c.unicode() < 0x20 || c.unicode() == 0x7F;
        if ((control && c != u'\r') || c.isDigit()) continue;
        if (control) return false;  // Enter goes on to the dialog
        SystemBeep();
        return true;
      }
    }
  }
  return QComboBox::eventFilter(watched, event);
}

TDVFontCharsetComboBox::TDVFontCharsetComboBox(QWidget* parent, TFontProvider& provider)
    : QComboBox(parent), provider_(provider) {
  QObject::connect(this, &QComboBox::currentIndexChanged, this, [this] {
    if (!building_ && OnChange) OnChange(*this);
  });
}

void TDVFontCharsetComboBox::SetFontName(const std::string& value) {
  fontName_ = value;
  Build();
}

void TDVFontCharsetComboBox::SetAddDefaultCharset(bool value) {
  addDefaultCharset_ = value;
  Build();
}

int TDVFontCharsetComboBox::GetCharsets(int index) const {
  if (index < 0 || index >= count()) return -1;
  return itemData(index).toInt();
}

int TDVFontCharsetComboBox::IndexOfCharset(int charset) const { return findData(charset); }

void TDVFontCharsetComboBox::Build() {
  const int remembered = GetCharsets(currentIndex());
  {
    TScopedValue<bool> building(building_, true);
    clear();
    if (fontName_.empty()) return;
    for (const TFontEntry& entry : provider_.Entries(fontName_)) {
      if (entry.Charset == MAC_CHARSET || IndexOfCharset(entry.Charset) >= 0) continue;
      const QString name = Q(entry.ScriptName);
      int at = 0;
      while (at < count() && QString::localeAwareCompare(itemText(at).toLower(), name.toLower()) <= 0) ++at;
      insertItem(at, name, entry.Charset);
    }
    if (addDefaultCharset_) addItem(Q(DefaultCharsetCaption), DEFAULT_CHARSET);
    const int index = IndexOfCharset(remembered);
    setCurrentIndex(index >= 0 ? index : (count() > 0 ? 0 : -1));
  }
  if (OnChange) OnChange(*this);
}

}  // namespace quillet
