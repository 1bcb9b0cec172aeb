#include "app/dbus/bus_introspection.h"

#include <QXmlStreamReader>

namespace quillet {
namespace {

template <class T>
const T* FindByName(const QList<T>& members, QStringView name) {
  for (const T& member : members)
    if (member.Name == name) return &member;
  return nullptr;
}

}  // namespace

const TBusMethod* TBusInterface::FindMethod(QStringView name) const { return FindByName(Methods, name); }
const TBusProperty* TBusInterface::FindProperty(QStringView name) const { return FindByName(Properties, name); }
const TBusSignal* TBusInterface::FindSignal(QStringView name) const { return FindByName(Signals, name); }

std::optional<TBusInterface> ParseBusInterface(const QString& xml, QStringView name, QString* error) {
  QXmlStreamReader reader(xml);
  std::optional<TBusInterface> found;
  TBusInterface* current = nullptr;  // inside the interface asked for
  enum class Member { None, Method, Property, Signal } member = Member::None;
  const auto fail = [&](const QString& reason) {
    if (error) *error = reason;
    return std::nullopt;
  };
  while (!reader.atEnd()) {
    const QXmlStreamReader::TokenType token = reader.readNext();
    if (token == QXmlStreamReader::EndElement) {
      const QStringView tag = reader.name();
      if (tag == u"interface") current = nullptr;
      if (tag == u"method" || tag == u"property" || tag == u"signal") member = Member::None;
      continue;
    }
    if (token != QXmlStreamReader::StartElement) continue;
    const QStringView tag = reader.name();
    const QXmlStreamAttributes attributes = reader.attributes();
    if (tag == u"interface") {
      if (attributes.value(QLatin1String("name")) == name && !found) {
        found.emplace();
        found->Name = name.toString();
        current = &*found;
      }
      continue;
    }
    if (!current) continue;
    const QString memberName = attributes.value(QLatin1String("name")).toString();
    if (tag == u"method") {
      current->Methods.append({memberName, {}, {}, {}});
      member = Member::Method;
    } else if (tag == u"signal") {
      current->Signals.append({memberName, {}, {}});
      member = Member::Signal;
    } else if (tag == u"property") {
      const QStringView access = attributes.value(QLatin1String("access"));
      current->Properties.append({memberName, attributes.value(QLatin1String("type")).toString(),
                                  access == u"read" || access == u"readwrite",
                                  access == u"write" || access == u"readwrite", {}});
      member = Member::Property;
    } else if (tag == u"arg") {
      const TBusArg arg{memberName, attributes.value(QLatin1String("type")).toString()};
      const QStringView direction = attributes.value(QLatin1String("direction"));
      if (member == Member::Method)
        (direction == u"out" ? current->Methods.back().Out : current->Methods.back().In).append(arg);
      else if (member == Member::Signal)
        current->Signals.back().Args.append(arg);
    } else if (tag == u"annotation") {
      const QString key = memberName, value = attributes.value(QLatin1String("value")).toString();
      if (member == Member::Method) current->Methods.back().Annotations.insert(key, value);
      if (member == Member::Property) current->Properties.back().Annotations.insert(key, value);
      if (member == Member::Signal) current->Signals.back().Annotations.insert(key, value);
    }
  }
  if (reader.hasError())
    return fail(QStringLiteral("The introspection data is not well-formed XML (line %1): %2")
                    .arg(reader.lineNumber())
                    .arg(reader.errorString()));
  if (!found) return fail(QStringLiteral("The object has no interface %1").arg(name));
  return found;
}

}  // namespace quillet
