#pragma once
// The control on the session bus: every property, method and event of its
// interface by name and type, read from the interface description the
// program carries. A member's failure is an error reply with its message;
// while a database load or save turns the event loop, other calls are
// refused as busy; a text the bus cannot carry whole is refused.
#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <functional>

#include "app/dbus/bus_errors.h"
#include "app/dbus/bus_introspection.h"

namespace quillet {

class TafxForm;

class TAfxFormBusObject : public QDBusVirtualObject {
 public:
  // The control outlives this object; its events go out on `bus` from the
  // control's object path.
  TAfxFormBusObject(TafxForm& control, QDBusConnection bus);

  // Registers the object at the control's path and claims the control's
  // name; false, with the bus's reason in *error, when either is refused
  // (the name is taken).
  bool Publish(QString* error);

  QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

 private:
  // The reply to one call of our interface or of its properties.
  QDBusMessage Answer(const QDBusMessage& message);

  struct TProperty {
    std::function<QVariant()> Get;
    std::function<void(const QVariant&)> Set;  // empty: read-only
  };
  using TMethod = std::function<QList<QVariant>(const QList<QVariant>&)>;

  void BindMembers();
  void BindEvents();
  QList<QVariant> Dispatch(const QDBusMessage& message);
  // A database operation: the gate is held while it runs.
  QList<QVariant> Guarded(const std::function<void()>& operation);
  void Emit(const char* name, const QList<QVariant>& args = {});

  TafxForm& control_;
  QDBusConnection bus_;
  TBusInterface interface_;
  TBusGate gate_;
  QMap<QString, TProperty> properties_;
  QMap<QString, TMethod> methods_;
};

}  // namespace quillet
