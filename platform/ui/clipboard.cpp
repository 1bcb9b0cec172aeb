#include "platform/ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <vector>

#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/qt_bitmap.h"

namespace quillet {

namespace {

constexpr TClipboardFormat kFirstRegistered = 0xC000;
constexpr char kDocViewMime[] = "application/x-afxquillet-docview";
constexpr char kRtfMime[] = "text/rtf";

std::vector<std::string>& RegisteredNames() {
  static std::vector<std::string> names;
  return names;
}

// The MIME type of a registered format; empty for anything else.
QString RegisteredMime(TClipboardFormat format) {
  const auto& names = RegisteredNames();
  if (format < kFirstRegistered || format - kFirstRegistered >= names.size()) return {};
  const std::string& name = names[format - kFirstRegistered];
  if (name == "DocView Format") return kDocViewMime;
  if (name == "Rich Text Format") return kRtfMime;
  return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(QString::fromUtf8(name));
}

std::string_view UpToZero(std::string_view s) { return s.substr(0, s.find('\0')); }

}  // namespace

TClipboardFormat RegisterClipboardFormat(std::string_view name) {
  if (name.empty()) return 0;
  auto& names = RegisteredNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return kFirstRegistered + static_cast<TClipboardFormat>(i);
  names.emplace_back(name);
  return kFirstRegistered + static_cast<TClipboardFormat>(names.size() - 1);
}

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() = default;

void TClipboard::Open() { ++openCount_; }

void TClipboard::Close() {
  if (openCount_ == 0) return;
  if (--openCount_ == 0 && pending_) QGuiApplication::clipboard()->setMimeData(pending_.release());
}

void TClipboard::Clear() {
  Open();
  pending_ = std::make_unique<QMimeData>();
  Close();
}

const QMimeData* TClipboard::Current() const {
  return pending_ ? pending_.get() : QGuiApplication::clipboard()->mimeData();
}

QMimeData& TClipboard::Adding() {
  if (!pending_) pending_ = std::make_unique<QMimeData>();
  return *pending_;
}

bool TClipboard::HasFormat(TClipboardFormat format) const {
  const QMimeData* m = Current();
  if (!m) return false;
  switch (format) {
    case CF_TEXT:
    case CF_UNICODETEXT: return m->hasText();
    case CF_BITMAP: return m->hasImage();
    default: {
      const QString mime = RegisteredMime(format);
      return !mime.isEmpty() && m->hasFormat(mime);
    }
  }
}

void TClipboard::SetAsHandle(TClipboardFormat format, std::string_view data) {
  QString text;
  QString mime;
  if (format == CF_TEXT) {
    const std::u16string wide = MultiByteToWideChar(GetACP(), UpToZero(data));
    text = QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
  } else if (format == CF_UNICODETEXT) {
    std::u16string wide(data.size() / 2, u'\0');
    for (size_t i = 0; i < wide.size(); ++i)
      wide[i] = static_cast<char16_t>(static_cast<uint8_t>(data[2 * i]) | static_cast<uint8_t>(data[2 * i + 1]) << 8);
    if (const size_t end = wide.find(u'\0'); end != std::u16string::npos) wide.resize(end);
    text = QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
  } else {
    mime = RegisteredMime(format);
    if (mime.isEmpty()) return;
  }
  Open();
  if (mime.isEmpty())
    Adding().setText(text);
  else
    Adding().setData(mime, QByteArray(data.data(), static_cast<qsizetype>(data.size())));
  Close();
}

std::optional<std::string> TClipboard::GetAsHandle(TClipboardFormat format) const {
  const QMimeData* m = Current();
  if (!m || !HasFormat(format) || format == CF_BITMAP) return std::nullopt;
  if (format == CF_TEXT || format == CF_UNICODETEXT) {
    const QString text = m->text();
    if (static_cast<size_t>(text.size()) > kMaxData / 2) return std::nullopt;
    const std::u16string_view wide(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
    if (format == CF_TEXT) return WideCharToMultiByte(GetACP(), wide);
    std::string bytes(wide.size() * 2, '\0');
    for (size_t i = 0; i < wide.size(); ++i) {
      bytes[2 * i] = static_cast<char>(wide[i] & 0xFF);
      bytes[2 * i + 1] = static_cast<char>(wide[i] >> 8);
    }
    return bytes;
  }
  const QByteArray bytes = m->data(RegisteredMime(format));
  if (static_cast<size_t>(bytes.size()) > kMaxData) return std::nullopt;
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void TClipboard::SetBitmap(const TBitmap& bitmap) {
  Open();
  Adding().setImageData(BitmapImage(bitmap));
  Close();
}

bool TClipboard::GetBitmap(TBitmap& bitmap) const {
  const QMimeData* m = Current();
  if (!m || !m->hasImage()) return false;
  const QImage image = qvariant_cast<QImage>(m->imageData());
  if (image.isNull() || image.width() > TBitmap::kMaxSide || image.height() > TBitmap::kMaxSide ||
      int64_t{image.width()} * image.height() > TBitmap::kMaxPixels)
    return false;
  SetBitmapImage(bitmap, image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32)
                                                 : image.convertToFormat(QImage::Format_RGB32));
  return true;
}

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

}  // namespace quillet
