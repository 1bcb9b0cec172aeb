#pragma once
// The control's interface as resources/dbus/afxQuillet.Editor.xml describes
// it, built into the program so that the object answers introspection with
// exactly the installed file.
#include <QString>

namespace quillet {

// The whole file.
QString EditorIntrospectionXml();
// Its <interface> element alone, as an object introspecting itself returns it.
QString EditorInterfaceXml();

}  // namespace quillet
