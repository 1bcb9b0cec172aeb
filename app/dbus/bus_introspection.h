#pragma once
// An interface as a service's introspection document describes it: what
// quillet-bus types its command lines by.
#include <QList>
#include <QMap>
#include <QString>
#include <QStringView>
#include <optional>

namespace quillet {

struct TBusArg {
  QString Name;
  QString Signature;
};

struct TBusMethod {
  QString Name;
  QList<TBusArg> In;
  QList<TBusArg> Out;
  QMap<QString, QString> Annotations;
};

struct TBusProperty {
  QString Name;
  QString Signature;
  bool Readable = false;
  bool Writable = false;
  QMap<QString, QString> Annotations;
};

struct TBusSignal {
  QString Name;
  QList<TBusArg> Args;
  QMap<QString, QString> Annotations;
};

struct TBusInterface {
  QString Name;
  QList<TBusMethod> Methods;
  QList<TBusProperty> Properties;
  QList<TBusSignal> Signals;

  const TBusMethod* FindMethod(QStringView name) const;
  const TBusProperty* FindProperty(QStringView name) const;
  const TBusSignal* FindSignal(QStringView name) const;
};

// The interface of that name in the document; nothing, with the reason in
// *error, when the document is no introspection XML or does not describe it.
std::optional<TBusInterface> ParseBusInterface(const QString& xml, QStringView name, QString* error);

}  // namespace quillet
