#include "app/dbus/bus_text.h"

#include <algorithm>

#include "app/dbus/bus_errors.h"
#include "app/dbus/bus_names.h"
#include "platform/core/code_page.h"

namespace quillet {
namespace {

[[noreturn]] void RefuseNul() {
  throw EBusError(kBusErrorFailed, QStringLiteral("The text holds a NUL character, which the bus cannot carry"));
}

}  // namespace

qint64 Utf8Length(QStringView text) {
  qint64 length = 0;
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t unit = text[i].unicode();
    if (unit < 0x80) {
      length += 1;
    } else if (unit < 0x800) {
      length += 2;
    } else if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(text[i + 1].unicode())) {
      length += 4;
      ++i;
    } else {
      length += 3;  // a lone surrogate goes out as U+FFFD
    }
  }
  return length;
}

void CheckBusTextLength(qint64 utf8Bytes, qint64 limit) {
  if (utf8Bytes > limit)
    throw EBusError(kBusErrorTooLarge, QStringLiteral("The text is %1 bytes long, beyond the %2 bytes a bus message carries")
                                           .arg(utf8Bytes)
                                           .arg(limit));
}

void CheckBusText(QStringView text, qint64 limit) {
  // Each unit is at most three bytes: most texts pass without counting.
  if (text.size() * 3 > limit) CheckBusTextLength(Utf8Length(text), limit);
  if (text.contains(QChar(u'\0'))) RefuseNul();
}

void CheckBusText(std::string_view utf8, qint64 limit) {
  CheckBusTextLength(static_cast<qint64>(utf8.size()), limit);
  if (utf8.find('\0') != std::string_view::npos) RefuseNul();
}

QString AnsiToBusText(std::string_view ansi, qint64 limit) {
  const bool ascii = std::all_of(ansi.begin(), ansi.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) {
    CheckBusText(ansi, limit);
    return QString::fromLatin1(ansi.data(), static_cast<qsizetype>(ansi.size()));
  }
  const std::u16string wide = MultiByteToWideChar(CP_ACP, ansi);
  QString text = QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
  CheckBusText(text, limit);
  return text;
}

std::string BusTextToAnsi(QStringView text) {
  const std::u16string_view wide(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
  bool lost = false;
  std::string ansi = WideCharToMultiByte(CP_ACP, wide, &lost);
  if (!lost) return ansi;
  // Name the first character that did not fit, converting one at a time.
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    bool charLost = false;
    WideCharToMultiByte(CP_ACP, wide.substr(static_cast<size_t>(i), static_cast<size_t>(n)), &charLost);
    if (charLost) {
      const char32_t code = n == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
      throw EBusError(kBusErrorFailed, QStringLiteral("The character \"%1\" (U+%2) cannot be kept in code page %3")
                                           .arg(text.mid(i, n))
                                           .arg(QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, u'0'))
                                           .arg(GetACP()));
    }
    i += n - 1;
  }
  throw EBusError(kBusErrorFailed, QStringLiteral("The text cannot be kept in code page %1").arg(GetACP()));
}

}  // namespace quillet
