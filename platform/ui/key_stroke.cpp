#include "platform/ui/key_stroke.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <utility>

#include "platform/ui/key_map.h"

namespace quillet {

namespace {

// The Linux input codes of the main block, function keys and keypad are the
// PC keyboard's scan codes themselves; these others carry the extended
// prefix on the PC keyboard (Num Lock keeps the flag, as the platform reports
// it).
constexpr std::pair<uint32_t, uint8_t> kExtendedKeys[] = {
    {69, 0x45},  // Num Lock
    {96, 0x1C},  // keypad Enter
    {97, 0x1D},  // right Ctrl
    {98, 0x35},  // keypad /
    {99, 0x37},  // Print Screen
    {100, 0x38},  // right Alt
    {102, 0x47}, {103, 0x48}, {104, 0x49},  // Home, Up, Page Up
    {105, 0x4B}, {106, 0x4D},  // Left, Right
    {107, 0x4F}, {108, 0x50}, {109, 0x51},  // End, Down, Page Down
    {110, 0x52}, {111, 0x53},  // Insert, Delete
    {125, 0x5B}, {126, 0x5C}, {127, 0x5D},  // left and right Windows keys, Menu
};

constexpr uint32_t kXkbOffset = 8;

}  // namespace

TScanCode ScanCodeOfXkbKeycode(uint32_t keycode) {
  if (keycode <= kXkbOffset) return {};
  const uint32_t input = keycode - kXkbOffset;
  for (const auto& [code, scan] : kExtendedKeys)
    if (code == input) return {scan, true};
  if (input <= 83 || (input >= 86 && input <= 88)) return {static_cast<uint8_t>(input), false};
  if (input == 119) return {0x45, false};  // Pause
  return {};
}

TKeyStroke KeyStrokeOf(const QKeyEvent& event) {
  TKeyStroke stroke;
  stroke.Key = VirtualKeyOf(event);
  stroke.Shift = ShiftStateOf(event.modifiers(), QGuiApplication::mouseButtons());
  const TScanCode scan = ScanCodeOfXkbKeycode(event.nativeScanCode());
  stroke.ScanCode = scan.Code;
  stroke.Extended = scan.Extended;
  stroke.AutoRepeat = event.isAutoRepeat();
  return stroke;
}

}  // namespace quillet
