#include "app/dbus/bus_calls.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QVariantMap>

#include "app/dbus/bus_errors.h"
#include "app/dbus/bus_font.h"

namespace quillet {
namespace {

[[noreturn]] void Refuse(const char* name, const QString& text) { throw EBusError(name, text); }

}  // namespace

QString BusSignatureOf(const QVariant& value) {
  if (value.metaType() == QMetaType::fromType<QDBusArgument>()) return value.value<QDBusArgument>().currentSignature();
  if (value.metaType() == QMetaType::fromType<TBusFont>()) return QString::fromLatin1(kBusFontSignature);
  const char* signature = QDBusMetaType::typeToSignature(value.metaType());
  return signature ? QString::fromLatin1(signature) : QString();
}

const TBusMethod& CheckBusMethodCall(const QDBusMessage& message, const TBusInterface& iface) {
  // A call without an interface names the member alone.
  if (!message.interface().isEmpty() && message.interface() != iface.Name)
    Refuse("org.freedesktop.DBus.Error.UnknownInterface", "No interface " + message.interface());
  const TBusMethod* method = iface.FindMethod(message.member());
  if (!method) Refuse("org.freedesktop.DBus.Error.UnknownMethod", "No method " + message.member());
  QString expected;
  for (const TBusArg& arg : method->In) expected += arg.Signature;
  if (message.signature() != expected)
    Refuse("org.freedesktop.DBus.Error.InvalidArgs", method->Name + " takes (" + expected + ")");
  return *method;
}

QList<QVariant> AnswerBusPropertiesCall(const QDBusMessage& message, const TBusInterface& iface,
                                        const TBusPropertyStore& store) {
  const QList<QVariant> args = message.arguments();
  const QString& member = message.member();
  const QString signature = member == u"GetAll" ? "s" : member == u"Get" ? "ss" : member == u"Set" ? "ssv" : QString();
  if (signature.isEmpty()) Refuse("org.freedesktop.DBus.Error.UnknownMethod", "No method " + member);
  if (message.signature() != signature)
    Refuse("org.freedesktop.DBus.Error.InvalidArgs", member + " takes (" + signature + ")");
  if (args.value(0).toString() != iface.Name)
    Refuse("org.freedesktop.DBus.Error.UnknownInterface", "No interface " + args.value(0).toString());
  if (member == u"GetAll") {
    QVariantMap all;
    for (const TBusProperty& property : iface.Properties)
      if (property.Readable) all.insert(property.Name, store.Get(property));
    return {all};
  }
  const QString name = args.value(1).toString();
  const TBusProperty* property = iface.FindProperty(name);
  if (!property) Refuse("org.freedesktop.DBus.Error.UnknownProperty", "No property " + name);
  if (member == u"Get") return {QVariant::fromValue(QDBusVariant(store.Get(*property)))};
  if (!property->Writable)
    Refuse("org.freedesktop.DBus.Error.PropertyReadOnly", "The property " + name + " is read-only");
  const QVariant value = args.value(2).value<QDBusVariant>().variant();
  if (BusSignatureOf(value) != property->Signature)
    Refuse("org.freedesktop.DBus.Error.InvalidArgs", name + " takes " + property->Signature);
  store.Set(*property, value);
  return {};
}

}  // namespace quillet
