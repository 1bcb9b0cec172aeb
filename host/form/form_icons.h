#pragma once
// The icons of the main form's menu items and tool buttons: our own 16 x 16
// SVG drawings in resources/icons, compiled into the host library.
#include <QIcon>

#include <string_view>

namespace quillet {

// The icon of the form item with this component name ("FileNew",
// "btnGridLines" ...); a null icon for a name that has none. Names are
// matched exactly, case included; anything but letters, digits and "_" is
// no item's name.
QIcon FormIcon(std::string_view itemName);

}  // namespace quillet
