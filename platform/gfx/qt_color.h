#pragma once
// Colours between the platform's blue-green-red values and Qt's. Nothing
// outside platform/ and the Qt forms above it includes this.
#include <QColor>

#include "platform/core/colors.h"

namespace quillet {

// System colours resolve to their real colour. clNone is no colour: callers
// test for it first.
inline QColor ToQColor(TColor c) {
  c = ColorToRGB(c);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Opaque, whatever the alpha.
inline TColor FromQColor(const QColor& c) {
  return RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
}

}  // namespace quillet
