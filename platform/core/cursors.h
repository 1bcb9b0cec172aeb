#pragma once
// Mouse cursor numbers. Below zero the standard shapes; from 1 up the
// numbers a program installs in the screen's cursor table.
#include <cstdint>

namespace quillet {

using TCursor = int16_t;

constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
                  crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
                  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

// The document's own cursors: the hand over links, the zoom cursors of the
// print preview, the row and column selection cursors of tables.
// The annotation layer's pen (40) and seal (50) cursors.
constexpr TCursor crPostilPen = 40, crPostilSeal = 50;
constexpr TCursor crJump = 101, crDVZoomIn = 102, crDVZoomOut = 103, crDVSelectRow = 104, crDVSelectCol = 105;

}  // namespace quillet
