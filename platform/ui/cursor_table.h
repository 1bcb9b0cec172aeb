#pragma once
// The screen's cursor table: cursor numbers to Qt cursors. The standard
// numbers are Qt's shapes, crJump the system hand, and the document's own
// cursors (zoom in and out, row and column selection) images of our own.
// Nothing outside platform/ includes this.
#include <QCursor>

#include "platform/core/cursors.h"

namespace quillet {

// Unknown numbers give the arrow.
QCursor ScreenCursor(TCursor number);
// Installs or replaces a cursor (a program's own numbers from 1 up).
void SetScreenCursor(TCursor number, const QCursor& cursor);

}  // namespace quillet
