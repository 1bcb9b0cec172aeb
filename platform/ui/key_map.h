#pragma once
// Qt's keys and modifiers in the platform's terms. Nothing outside platform/
// includes this.
#include <Qt>

#include "platform/core/keys.h"

class QKeyEvent;

namespace quillet {

// The virtual key of a key event: the unshifted key of a US layout (Shift+1
// is '1'), keypad digits as VK_NUMPAD0..9; 0 for keys the platform has no
// code for.
TKey VirtualKeyOf(const QKeyEvent& event);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

}  // namespace quillet
