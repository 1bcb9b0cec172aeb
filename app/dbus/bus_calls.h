#pragma once
// What every object serving an interface from its description does with a
// call before the member runs: the method found and its arguments' signature
// checked, and the standard properties interface answered through a
// property store of the object's own. Refusals are EBusError with the bus's
// standard error names.
#include <QDBusMessage>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

#include "app/dbus/bus_introspection.h"

namespace quillet {

inline constexpr char kBusPropertiesInterface[] = "org.freedesktop.DBus.Properties";

// The signature of a value as the bus delivered it.
QString BusSignatureOf(const QVariant& value);

// The method of `iface` the call names, its arguments' signature checked.
const TBusMethod& CheckBusMethodCall(const QDBusMessage& message, const TBusInterface& iface);

struct TBusPropertyStore {
  std::function<QVariant(const TBusProperty&)> Get;
  // Called with a value of the property's signature; only for writable ones.
  std::function<void(const TBusProperty&, const QVariant&)> Set;
};

// Get, Set or GetAll of the properties interface for `iface`.
QList<QVariant> AnswerBusPropertiesCall(const QDBusMessage& message, const TBusInterface& iface,
                                        const TBusPropertyStore& store);

}  // namespace quillet
