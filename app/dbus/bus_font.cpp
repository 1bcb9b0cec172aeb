#include "app/dbus/bus_font.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace quillet {

QDBusArgument& operator<<(QDBusArgument& argument, const TBusFont& font) {
  argument.beginStructure();
  argument << font.Name << font.Size << font.Height << font.Charset << font.Bold << font.Italic << font.Underline
           << font.StrikeOut;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, TBusFont& font) {
  argument.beginStructure();
  argument >> font.Name >> font.Size >> font.Height >> font.Charset >> font.Bold >> font.Italic >> font.Underline >>
      font.StrikeOut;
  argument.endStructure();
  return argument;
}

void RegisterBusTypes() {
  qRegisterMetaType<QDBusMessage>();
  qRegisterMetaType<QDBusError>();
  qDBusRegisterMetaType<TBusFont>();
}

}  // namespace quillet
