#pragma once
// The control's font on the bus, the structure (sdiibbbb): name, size in
// points, height in pixels (negative: the em size), character set, bold,
// italic, underline, strikeout.
#include <QDBusArgument>
#include <QMetaType>
#include <QString>

namespace quillet {

struct TBusFont {
  QString Name;
  double Size = 0;
  int Height = 0;
  int Charset = 0;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;

  friend bool operator==(const TBusFont&, const TBusFont&) = default;
};

inline constexpr char kBusFontSignature[] = "(sdiibbbb)";

QDBusArgument& operator<<(QDBusArgument& argument, const TBusFont& font);
const QDBusArgument& operator>>(const QDBusArgument& argument, TBusFont& font);

// Makes the structure and the message types Qt D-Bus passes between its
// threads known, once per process before the first connection: registered
// lazily, they race with the bus thread's first queued call, which then
// warns of an invalid type.
void RegisterBusTypes();

}  // namespace quillet

Q_DECLARE_METATYPE(quillet::TBusFont)
