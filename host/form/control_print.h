#pragma once
// Printing the controls a document embeds. There is no OLE here: every
// control prints as the picture of the widget that shows its kind (a push
// button, a check box, a line edit, a plain-text memo, a label, a raised
// panel), made offscreen at the control's size with its text (shown as
// typed, never as markup) and enabled state.
//
//   print.OnPrintComponent = DVPrintPrintComponent;
#include <memory>

namespace quillet {

class TBitmap;
class TControl;
class TCustomDVPrint;

// The control's picture at its size (screen pixels); null for a control of
// no size, one too large for a bitmap, or in a program without a widget
// application. A kind without a widget would print as a frame with its class
// name centred inside.
std::unique_ptr<TBitmap> ControlPicture(const TControl& control);

// The print component's OnPrintComponent: componentImage becomes
// ControlPicture(*printMe); nothing for no control.
void DVPrintPrintComponent(TCustomDVPrint& sender, TControl* printMe, std::unique_ptr<TBitmap>& componentImage);

}  // namespace quillet
