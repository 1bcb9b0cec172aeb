#pragma once
// Which widgets flat painting takes over: the kind of a widget, the kind of
// container it stands in, and the widget property that keeps a widget out
// ("off" on it or its parent) or tints its idle face from its parent
// ("parentTint").
#include <cstdint>
#include <optional>

class QWidget;
class QObject;

namespace quillet {

enum TFlatContainer : uint8_t {
  xccForm, xccFrame, xccToolbar, xccCoolbar, xccControlbar,
  xccPanel, xccScrollBox, xccGroupBox, xccTabSheet, xccPageScroller
};
enum TFlatControl : uint8_t {
  fcMainMenu, fcPopupMenu, fcToolbar, fcControlbar, fcCombo, fcEdit, fcMaskEdit, fcMemo,
  fcRichEdit, fcCheckBox, fcRadioButton, fcButton, fcBitBtn, fcSpeedButton, fcPanel, fcGroupBox
};
// Bit n stands for the value n.
using TFlatContainers = uint16_t;
using TFlatControls = uint16_t;
constexpr TFlatContainers AllFlatContainers = 0x3FF;
constexpr TFlatControls AllFlatControls = 0xFFFF;
constexpr uint16_t FlatBit(int value) { return static_cast<uint16_t>(1u << value); }

// The property's name and its values.
inline constexpr char kFlatProperty[] = "quilletFlat";

// "off" on the object itself.
bool IsFlatOff(const QObject* object);
// "off" on the widget or its parent.
bool IsFlatExcluded(const QWidget* widget);
bool IsParentTint(const QWidget* widget);

// The kind a widget is painted as; none for widgets flat painting leaves alone.
// Menus under a menu bar are main-menu kind, other menus popup kind; tool
// buttons and separators in a tool bar are tool-bar kind.
std::optional<TFlatControl> FlatKind(const QWidget* widget);
// Whether the kind takes the container test (menus and tool bars do not).
bool NeedsContainer(TFlatControl kind);
// The container kind of the widget's parent; none for parents no flat
// container stands for.
std::optional<TFlatContainer> FlatContainerOf(const QWidget* widget);

}  // namespace quillet
