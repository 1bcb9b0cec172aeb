#pragma once
// Texts crossing the bus: UTF-8 on the bus, the system code page inside the
// control. A text the code page cannot hold is refused rather than stored
// with "?" in place of its characters; a text the bus cannot carry whole
// (beyond its message limit, or holding a NUL, where the bus library would
// end the string) is refused rather than cut.
#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

namespace quillet {

// The longest message the bus carries. A peer that sends a longer one is
// disconnected by the bus daemon, so the control never sends one.
inline constexpr qint64 kBusMessageLimit = qint64{1} << 27;
// Room for a message's header and its other arguments beside one text.
inline constexpr qint64 kBusMessageReserve = 64 * 1024;
inline constexpr qint64 kBusTextLimit = kBusMessageLimit - kBusMessageReserve;

// Bytes of the text's UTF-8 form, counted without making it.
qint64 Utf8Length(QStringView text);

// EBusError kBusErrorTooLarge when a text of that many UTF-8 bytes is
// longer than the limit.
void CheckBusTextLength(qint64 utf8Bytes, qint64 limit = kBusTextLimit);

// EBusError kBusErrorTooLarge when the text's UTF-8 form is longer than the
// limit, kBusErrorFailed when it holds a NUL.
void CheckBusText(QStringView text, qint64 limit = kBusTextLimit);
void CheckBusText(std::string_view utf8, qint64 limit = kBusTextLimit);

// Text of the control, in the system code page, for the bus; checked as
// above. Bytes that are no character of the code page become U+FFFD.
QString AnsiToBusText(std::string_view ansi, qint64 limit = kBusTextLimit);

// A text from the bus in the system code page; EBusError kBusErrorFailed
// naming the first character the code page cannot hold.
std::string BusTextToAnsi(QStringView text);

}  // namespace quillet
