#pragma once
// The base of the project's own windows. A TCustomControl owns its Qt widget
// and receives the widget's events as virtual operations in the platform's
// terms: client coordinates, virtual keys, shift states, timer ids, scroll
// codes. A scrolling control's widget is a scroll area; its client area is
// the area's viewport and its scroll bars behave like the platform's (range,
// page and position set together; a bar that cannot scroll hides itself).
//
// No exception leaves a Qt event handler: every operation called from an
// event runs under a guard that hands the exception to HandleException.
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/cursors.h"
#include "platform/core/geometry.h"
#include "platform/core/keys.h"
#include "platform/core/lifetime_ref.h"

class QWidget;

namespace quillet {

class TCanvas;
class TControlBridge;

// Why the focus came or went.
enum TFocusReason : uint8_t { frOther, frMouse, frTab, frBacktab, frActiveWindow, frPopup, frShortcut, frMenuBar };

// The keys a control keeps for itself instead of the form's navigation.
// Arrows always reach the control; Tab and Shift+Tab only with DLGC_WANTTAB;
// Enter and Escape, when the control does not take them in KeyDown (Key left
// non-zero), go on to the form (its default and cancel buttons) unless
// DLGC_WANTALLKEYS is given.
enum TDlgCode : uint8_t { DLGC_WANTARROWS = 1, DLGC_WANTTAB = 2, DLGC_WANTALLKEYS = 4 };
using TDlgCodes = uint8_t;

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
// What a scroll bar asks for. Horizontal bars use the same codes (left =
// up, right = down).
enum TScrollCode : uint8_t {
  SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBPOSITION, SB_THUMBTRACK, SB_TOP, SB_BOTTOM
};
// A bar's range Min..Max with Page units visible. Positions run from Min to
// Max - (Page - 1); a bar whose range cannot scroll is hidden (or shown
// disabled when asked).
struct TScrollInfo {
  int32_t Min = 0, Max = 0, Page = 0, Pos = 0;
  friend bool operator==(const TScrollInfo&, const TScrollInfo&) = default;
};

// Pen tablet input. Proximity is the pen's, not a window's: it comes to every
// control, without a position. Press, move and release come to the control
// under the pen (or the one it pressed in) in client coordinates. Tablet
// input is only watched: the toolkit still makes the mouse events of it.
enum TTabletEventKind : uint8_t { tekProximityIn, tekProximityOut, tekPress, tekMove, tekRelease };
enum TTabletPointer : uint8_t { tpPen, tpEraser, tpCursor };
struct TTabletPacket {
  TTabletEventKind Kind = tekMove;
  int32_t X = 0, Y = 0;
  double Pressure = 0;  // 0 to 1
  TTabletPointer Pointer = tpPen;
  int64_t DeviceId = 0;
  std::string DeviceName;  // UTF-8
};
using TTabletListener = std::function<void(const TTabletPacket&)>;

enum TBorderStyle : uint8_t { bsNone, bsSingle };
// The frame of a scrolling control: none, the style's own frame, or a plain
// sunken edge.
enum TFrameKind : uint8_t { fkNone, fkThemed, fkSunken };

// A window placed in a control's client area: an embedded control's widget
// or an in-place editor. Its Tag is an integer the owner keeps with it.
class TChildWindow {
 public:
  explicit TChildWindow(QWidget* widget) : widget_(widget) {}
  QWidget* Widget() const { return widget_; }
  int32_t Left() const;
  int32_t Top() const;
  void SetLeft(int32_t value);
  void SetTop(int32_t value);
  int32_t Tag() const;
  void SetTag(int32_t value);

 private:
  QWidget* widget_;
};

class TCustomControl {
 public:
  // With scrollBars the widget is a scroll area.
  explicit TCustomControl(bool scrollBars = false);
  virtual ~TCustomControl();
  TCustomControl(const TCustomControl&) = delete;
  TCustomControl& operator=(const TCustomControl&) = delete;

  // The control's own widget, for placing it in a Qt form. Null only after a
  // Qt parent destroyed it; the control then does nothing.
  QWidget* Widget() const;
  // The widget the control paints on and whose coordinates are client ones.
  QWidget* ClientWidget() const;
  // Places the control in another control's client area, or in a Qt widget.
  void SetParent(TCustomControl* parent);
  void SetParentWidget(QWidget* parent);

  int32_t Left() const;
  int32_t Top() const;
  int32_t Width() const;
  int32_t Height() const;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  int32_t ClientWidth() const;
  int32_t ClientHeight() const;
  TRect ClientRect() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  bool Visible() const;
  void Show();
  void Hide();
  bool Enabled() const;
  void SetEnabled(bool value);
  int32_t Tag() const;
  void SetTag(int32_t value);

  // A canvas of the screen for measuring outside a paint (it draws nothing):
  // text measured here measures the same when painted.
  TCanvas& Canvas();

  // Marks the client area (or part of it) for painting.
  void Invalidate();
  void InvalidateRect(const TRect& r);
  // Paints what is marked now.
  void Update();
  // Marks everything and paints it now.
  void Refresh();

  bool Focused() const;
  // This control or a window inside it (an in-place editor) has the focus.
  bool ContainsFocus() const;
  bool CanFocus() const;
  void SetFocus();
  // Takes the focus without WMSetFocus: the control only becomes the one
  // that receives the keys.
  void SetFocusSilent();
  // Gives the focus to the next (previous) control of the window in tab
  // order that is neither this control nor inside it, can take the focus
  // and has TabStop, wrapping around; false when there is none.
  bool FocusNextControl(bool backward);
  // Tab reaches the control only with TabStop; a click never moves the focus
  // by itself (MouseDown decides).
  bool TabStop() const;
  void SetTabStop(bool value);

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  // Mouse capture: while captured, every mouse event comes to this control in
  // its client coordinates. A pressed button captures until its release.
  void SetCapture();
  void ReleaseCapture();
  bool HasCapture() const;

  // A repeating timer; setting an id that runs restarts it with the new period.
  void SetTimer(uint32_t id, uint32_t milliseconds);
  void KillTimer(uint32_t id);
  bool TimerActive(uint32_t id) const { return timers_.count(id) != 0; }

  // Scroll bars, for a control made with scroll bars. SetScrollInfo sets the
  // whole bar; a position outside the range is brought into it. A bar that
  // cannot scroll is hidden, or shown disabled with disableNoScroll.
  void SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info, bool disableNoScroll);
  TScrollInfo GetScrollInfo(TScrollBarKind bar) const;
  bool ScrollBarVisible(TScrollBarKind bar) const;
  // Sets the position within the range and answers the position taken.
  int32_t SetScrollPos(TScrollBarKind bar, int32_t pos);
  // Vertical bar on the left (right-to-left reading).
  void SetLeftScrollBar(bool value);
  void SetFrame(TFrameKind kind);
  // Moves the client area's pixels by (dx, dy) and marks what was uncovered;
  // child windows stay where they are.
  void ScrollWindow(int32_t dx, int32_t dy);
  std::vector<TChildWindow> ChildWindows() const;

  // The input method: on while the control takes composed text.
  void SetImeEnabled(bool value);
  // Asks the input method to read the composition position again.
  void UpdateImePosition();

  // Runs call once the event loop is idle again, after the events already
  // queued (a message posted to the control's own window). A call still
  // pending when the control goes is dropped. An exception it raises goes to
  // HandleException.
  void PostCall(std::function<void()> call);

  // Called with the message of an exception that an operation raised inside
  // an event handler. The default writes it as a Qt warning.
  virtual void HandleException(std::string_view message) noexcept;

  // Those that watch the control's tablet input without being the control
  // (the pen tablet component) hear each packet after TabletEvent. The id
  // removes the listener again.
  uint32_t AddTabletListener(TTabletListener listener);
  void RemoveTabletListener(uint32_t id);

  // Expires when the control goes, for those that only refer to it.
  std::weak_ptr<void> Lifetime() const { return lifetime_; }

 protected:
  friend class TControlBridge;

  virtual void Paint(TCanvas& canvas);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // A double click of the left button comes as DblClick, then MouseDown with ssDouble.
  virtual void DblClick();
  virtual void MouseLeave();
  // Key = 0 after KeyDown means the control took the key.
  virtual void KeyDown(TKey& key, TShiftState shift);
  // One UTF-16 code unit of typed text; Key = 0 drops it.
  virtual void KeyPress(char16_t& key);
  virtual void KeyUp(TKey& key, TShiftState shift);
  virtual void WMSetFocus(TFocusReason reason);
  virtual void WMKillFocus(TFocusReason reason);
  virtual TDlgCodes WMGetDlgCode();
  // Whole wheel notches (WheelDelta ±120 each, negative toward the user);
  // the default calls DoMouseWheelDown or DoMouseWheelUp. True = handled.
  virtual bool DoMouseWheel(TShiftState shift, int32_t wheelDelta, TPoint mousePos);
  virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
  virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
  virtual void WMTimer(uint32_t id);
  // The client area changed its size.
  virtual void Resize();
  virtual void WMVScroll(TScrollCode code, int32_t pos);
  virtual void WMHScroll(TScrollCode code, int32_t pos);
  // Input method: the text being composed (empty when the composition ends)
  // with the caret in it, the composed result, and where the composition
  // stands in client coordinates (for the candidate window).
  virtual void ImeComposition(std::u16string_view composing, int32_t caret);
  virtual void ImeResult(std::u16string_view text);
  virtual TRect ImeCompositionRect();
  virtual void TabletEvent(const TTabletPacket& packet);

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
  TCursor cursor_ = crDefault;
  std::map<uint32_t, int> timers_;  // our id -> Qt timer id
  std::unique_ptr<TCanvas> canvas_;
  int32_t wheelAccumulator_ = 0;
  bool silentFocus_ = false;  // while SetFocusSilent runs
  std::map<uint32_t, TTabletListener> tabletListeners_;
  uint32_t nextTabletListener_ = 1;
  std::shared_ptr<void> lifetime_ = std::make_shared<int>(0);
};

// The control a widget belongs to: its own widget, its client area or
// anything inside them; null for a widget of no control.
TCustomControl* ControlOfWidget(const QWidget* widget);

// A reference to a control someone else owns; it reads as none once the
// control is going.
template <class T>
using TControlRef = TLifetimeRef<T>;

// The cursor position on the screen and the keys and buttons held now.
TPoint GetCursorPos();
TShiftState GetShiftState();

}  // namespace quillet
