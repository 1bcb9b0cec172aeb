#include "app/dbus/editor_interface.h"

namespace quillet {

// Made by the build from the XML file.
extern const char kEditorIntrospectionXml[];

QString EditorIntrospectionXml() { return QString::fromUtf8(kEditorIntrospectionXml); }

QString EditorInterfaceXml() {
  const QString xml = EditorIntrospectionXml();
  const QString closing = QStringLiteral("</interface>");
  const qsizetype start = xml.indexOf(QStringLiteral("<interface "));
  const qsizetype end = xml.indexOf(closing, start);
  return xml.mid(start, end + closing.size() - start) + u'\n';
}

}  // namespace quillet
