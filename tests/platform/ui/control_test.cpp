// The control base offscreen: simulated mouse, keys, wheel, focus, timers,
// capture and input method reach the virtual operations in client
// coordinates with the platform's keys and shift states.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/ui/control.h"

namespace quillet {
namespace {

struct TRecorded {
  std::string what;
  int32_t a = 0, x = 0, y = 0;
  TShiftState shift = 0;
  friend bool operator==(const TRecorded&, const TRecorded&) = default;
};

void PrintTo(const TRecorded& r, std::ostream* os) {
  *os << r.what << "(" << r.a << ", shift " << int(r.shift) << ", " << r.x << ", " << r.y << ")";
}

class TRecorder : public TCustomControl {
 public:
  explicit TRecorder(bool scrollBars = false) : TCustomControl(scrollBars) {}
  std::vector<TRecorded> log;
  std::vector<std::string> errors;
  std::u16string typed;
  TDlgCodes dlgCodes = DLGC_WANTARROWS;
  bool takeKeys = false;
  bool throwOnMouseDown = false;
  std::vector<TRect> paintClips;
  TRect imeRect{};

  void Record(std::string what, int32_t a = 0, TShiftState shift = 0, int32_t x = 0, int32_t y = 0) {
    log.push_back({std::move(what), a, x, y, shift});
  }
  std::vector<TRecorded> Take() { return std::exchange(log, {}); }
  // The log without mouse moves (the simulated mouse moves before it presses).
  std::vector<TRecorded> TakeWithoutMoves() {
    std::vector<TRecorded> out;
    for (auto& r : Take())
      if (r.what != "move") out.push_back(std::move(r));
    return out;
  }
  bool Logged(const TRecorded& r) const { return std::find(log.begin(), log.end(), r) != log.end(); }

  void HandleException(std::string_view message) noexcept override { errors.emplace_back(message); }

 protected:
  void Paint(TCanvas& canvas) override {
    paintClips.push_back(canvas.ClipRect());
    canvas.Brush().Color = 0x0000FF;  // red in blue-green-red order
    canvas.FillRect(ClientRect());
  }
  void MouseDown(TMouseButton b, TShiftState s, int32_t x, int32_t y) override {
    if (throwOnMouseDown) throw std::runtime_error("boom");
    Record("down", b, s, x, y);
  }
  void MouseMove(TShiftState s, int32_t x, int32_t y) override { Record("move", 0, s, x, y); }
  void MouseUp(TMouseButton b, TShiftState s, int32_t x, int32_t y) override { Record("up", b, s, x, y); }
  void DblClick() override { Record("dblclick"); }
  void KeyDown(TKey& key, TShiftState s) override {
    Record("keydown", key, s);
    if (takeKeys) key = 0;
  }
  void KeyPress(char16_t& key) override { typed += key; }
  void KeyUp(TKey& key, TShiftState s) override { Record("keyup", key, s); }
  void WMSetFocus(TFocusReason r) override { Record("setfocus", r); }
  void WMKillFocus(TFocusReason r) override { Record("killfocus", r); }
  TDlgCodes WMGetDlgCode() override { return dlgCodes; }
  bool DoMouseWheelDown(TShiftState s, TPoint p) override {
    Record("wheeldown", 0, s, p.X, p.Y);
    return true;
  }
  bool DoMouseWheelUp(TShiftState s, TPoint p) override {
    Record("wheelup", 0, s, p.X, p.Y);
    return true;
  }
  void WMTimer(uint32_t id) override { Record("timer", static_cast<int32_t>(id)); }
  void ImeComposition(std::u16string_view text, int32_t caret) override {
    Record("compose:" + QString::fromStdU16String(std::u16string(text)).toStdString(), caret);
  }
  void ImeResult(std::u16string_view text) override {
    Record("result:" + QString::fromStdU16String(std::u16string(text)).toStdString());
  }
  TRect ImeCompositionRect() override { return imeRect; }
};

// A form with two controls side by side and a parent that records the keys
// the controls pass on.
class TKeyForm : public QWidget {
 public:
  std::vector<int> keys;

 protected:
  void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
};

class ControlTest : public testing::Test {
 protected:
  void SetUp() override {
    form.resize(400, 200);
    first.SetParentWidget(&form);
    first.SetBounds(10, 20, 150, 100);
    second.SetParentWidget(&form);
    second.SetBounds(200, 20, 150, 100);
    first.SetTabStop(true);
    second.SetTabStop(true);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    first.Take();
    second.Take();
  }
  QWindow* Window() { return form.windowHandle(); }
  // A client point of a control in the window's coordinates.
  QPoint At(const TCustomControl& c, int x, int y) { return c.ClientWidget()->mapTo(&form, QPoint(x, y)); }

  TKeyForm form;
  TRecorder first;
  TRecorder second;
};

TEST_F(ControlTest, MouseArrivesInClientCoordinatesWithShiftStates) {
  QTest::mousePress(Window(), Qt::LeftButton, Qt::ShiftModifier, At(first, 5, 7));
  QTest::mouseMove(Window(), At(first, 30, 40));
  QTest::mouseRelease(Window(), Qt::LeftButton, Qt::ShiftModifier, At(first, 31, 41));
  QTest::mousePress(Window(), Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, At(first, 1, 2));
  QTest::mouseRelease(Window(), Qt::RightButton, Qt::NoModifier, At(first, 1, 2));
  EXPECT_TRUE(first.Logged({"move", 0, 30, 40, ssLeft}));
  EXPECT_EQ(first.TakeWithoutMoves(), (std::vector<TRecorded>{
                                          {"down", mbLeft, 5, 7, ssShift | ssLeft},
                                          {"up", mbLeft, 31, 41, ssShift},
                                          {"down", mbRight, 1, 2, ssCtrl | ssAlt | ssRight},
                                          {"up", mbRight, 1, 2, 0},
                                      }));
  EXPECT_TRUE(second.log.empty());
}

TEST_F(ControlTest, ScrollingControlsCountFromTheirClientArea) {
  TRecorder area(true);
  area.SetParentWidget(&form);
  area.SetBounds(10, 130, 100, 60);
  area.SetFrame(fkSunken);
  QApplication::processEvents();
  ASSERT_GT(area.ClientWidget()->x(), 0);
  QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, At(area, 3, 4));
  QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, At(area, 3, 4));
  EXPECT_EQ(area.TakeWithoutMoves(),
            (std::vector<TRecorded>{{"down", mbLeft, 3, 4, ssLeft}, {"up", mbLeft, 3, 4, 0}}));
}

TEST_F(ControlTest, DoubleClickComesAsDblClickThenMouseDownWithDouble) {
  QTest::mouseDClick(Window(), Qt::LeftButton, Qt::NoModifier, At(first, 8, 9));
  std::vector<std::string> seen;
  TShiftState doubleDown = 0;
  for (const auto& r : first.Take()) {
    if (r.what == "move") continue;
    seen.push_back(r.what);
    if (r.what == "down" && (r.shift & ssDouble)) doubleDown = r.shift;
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"down", "up", "dblclick", "down", "up"}));
  EXPECT_EQ(doubleDown, ssDouble | ssLeft);
}

TEST_F(ControlTest, PressedButtonCapturesTheMouseUntilRelease) {
  QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, At(first, 10, 10));
  EXPECT_TRUE(first.HasCapture());
  // Over the other control and above the window's controls: still ours.
  QTest::mouseMove(Window(), At(first, 250, -15));
  QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, At(first, 250, -15));
  EXPECT_FALSE(first.HasCapture());
  const auto log = first.Take();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 2], (TRecorded{"move", 0, 250, -15, ssLeft}));
  EXPECT_EQ(log.back(), (TRecorded{"up", mbLeft, 250, -15, 0}));
  for (const auto& r : second.Take()) EXPECT_NE(r.what, "up");
}

TEST_F(ControlTest, SetCaptureTakesMovesWithoutButtonsUntilReleased) {
  first.SetCapture();
  EXPECT_TRUE(first.HasCapture());
  QTest::mouseMove(Window(), At(second, 5, 5));
  ASSERT_FALSE(first.log.empty());
  EXPECT_EQ(first.log.back(), (TRecorded{"move", 0, 195, 5, 0}));
  first.ReleaseCapture();
  EXPECT_FALSE(first.HasCapture());
  first.Take();
  second.Take();
  QTest::mouseMove(Window(), At(second, 6, 6));
  EXPECT_TRUE(first.log.empty());
  ASSERT_FALSE(second.log.empty());
  EXPECT_EQ(second.log.back(), (TRecorded{"move", 0, 6, 6, 0}));
}

struct TKeyCase {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
  TKey vk;
  TShiftState shift;
};

TEST_F(ControlTest, KeysArriveAsVirtualKeysWithTypedText) {
  const TKeyCase cases[] = {
      {Qt::Key_A, Qt::NoModifier, "a", 'A', 0},
      {Qt::Key_A, Qt::ShiftModifier, "A", 'A', ssShift},
      {Qt::Key_Exclam, Qt::ShiftModifier, "!", '1', ssShift},
      {Qt::Key_C, Qt::ControlModifier, "\x03", 'C', ssCtrl},
      {Qt::Key_PageDown, Qt::NoModifier, "", VK_NEXT, 0},
      {Qt::Key_Home, Qt::ControlModifier, "", VK_HOME, ssCtrl},
      {Qt::Key_Insert, Qt::ShiftModifier, "", VK_INSERT, ssShift},
      {Qt::Key_5, Qt::KeypadModifier, "5", VK_NUMPAD0 + 5, 0},
      {Qt::Key_F5, Qt::NoModifier, "", VK_F1 + 4, 0},
      {Qt::Key_Backspace, Qt::NoModifier, "\b", VK_BACK, 0},
      {Qt::Key_Comma, Qt::NoModifier, ",", VK_OEM_COMMA, 0},
      // Qt reports a modifier key with its own modifier toggled, so the press
      // of Alt carries Alt as on the platform.
      {Qt::Key_Alt, Qt::NoModifier, "", VK_MENU, ssAlt},
  };
  first.SetFocus();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    first.Take();
    first.typed.clear();
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
    QApplication::sendEvent(first.Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, c.key, c.modifiers, QString::fromLatin1(c.text));
    QApplication::sendEvent(first.Widget(), &release);
    EXPECT_EQ(first.Take(), (std::vector<TRecorded>{{"keydown", c.vk, 0, 0, c.shift}, {"keyup", c.vk, 0, 0, c.shift}}));
    EXPECT_EQ(first.typed, QString::fromLatin1(c.text).toStdU16String());
  }
}

TEST_F(ControlTest, TabMovesTheFocusUnlessTheControlWantsIt) {
  first.SetFocus();
  first.Take();
  QTest::keyClick(first.Widget(), Qt::Key_Tab);
  EXPECT_TRUE(second.Focused());
  EXPECT_TRUE(first.Logged({"killfocus", frTab}));
  EXPECT_FALSE(first.Logged({"keydown", VK_TAB}));
  EXPECT_TRUE(second.Logged({"setfocus", frTab}));
  second.Take();

  second.dlgCodes = DLGC_WANTARROWS | DLGC_WANTTAB;
  QTest::keyClick(second.Widget(), Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_TRUE(second.Focused());
  EXPECT_TRUE(second.Logged({"keydown", VK_TAB, 0, 0, ssShift}));
}

TEST_F(ControlTest, EnterAndEscapeGoToTheFormUnlessTakenOrWanted) {
  first.SetFocus();
  QTest::keyClick(first.Widget(), Qt::Key_Escape);
  QTest::keyClick(first.Widget(), Qt::Key_Return);
  EXPECT_EQ(form.keys, (std::vector<int>{Qt::Key_Escape, Qt::Key_Return}));
  EXPECT_TRUE(first.typed.empty());

  form.keys.clear();
  first.takeKeys = true;
  QTest::keyClick(first.Widget(), Qt::Key_Return);
  first.takeKeys = false;
  first.dlgCodes = DLGC_WANTALLKEYS;
  QTest::keyClick(first.Widget(), Qt::Key_Escape);
  EXPECT_TRUE(form.keys.empty());
  EXPECT_EQ(first.typed, u"\r\x1b");
}

TEST_F(ControlTest, FocusReasons) {
  // The window's activation gave the first control the focus.
  EXPECT_TRUE(first.Focused());
  second.SetFocus();
  EXPECT_EQ(first.Take(), (std::vector<TRecorded>{{"killfocus", frOther}}));
  EXPECT_EQ(second.Take(), (std::vector<TRecorded>{{"setfocus", frOther}}));
  // A click does not move the focus by itself: the control decides.
  QTest::mouseClick(Window(), Qt::LeftButton, Qt::NoModifier, At(first, 5, 5));
  EXPECT_TRUE(second.Focused());
}

// The silent focus moves the keys to the control without its WMSetFocus; the
// control that loses it still hears of it.
TEST_F(ControlTest, SilentFocusSkipsWMSetFocus) {
  ASSERT_TRUE(first.Focused());
  first.Take();
  second.SetFocusSilent();
  EXPECT_TRUE(second.Focused());
  EXPECT_TRUE(second.ContainsFocus());
  EXPECT_FALSE(first.ContainsFocus());
  EXPECT_EQ(first.Take(), (std::vector<TRecorded>{{"killfocus", frOther}}));
  EXPECT_TRUE(second.Take().empty());
  first.SetFocus();
  EXPECT_EQ(first.Take(), (std::vector<TRecorded>{{"setfocus", frOther}}));
}

TEST_F(ControlTest, WheelNotchesAccumulateAndCarryThePosition) {
  auto wheel = [&](int dy, Qt::KeyboardModifiers mods) {
    QWheelEvent e(QPointF(12, 13), QPointF(first.ClientToScreen({12, 13}).X, first.ClientToScreen({12, 13}).Y),
                  QPoint(), QPoint(0, dy), Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(first.ClientWidget(), &e);
  };
  wheel(60, Qt::NoModifier);
  EXPECT_TRUE(first.log.empty());
  wheel(60, Qt::NoModifier);
  wheel(-240, Qt::ControlModifier);
  EXPECT_EQ(first.Take(), (std::vector<TRecorded>{{"wheelup", 0, 12, 13, 0},
                                                  {"wheeldown", 0, 12, 13, ssCtrl},
                                                  {"wheeldown", 0, 12, 13, ssCtrl}}));
}

TEST_F(ControlTest, TimersFireByIdUntilKilled) {
  first.SetTimer(1, 10);
  first.SetTimer(7, 10);
  EXPECT_TRUE(first.TimerActive(1));
  auto count = [&](int32_t id) {
    int n = 0;
    for (const auto& r : first.log) n += r.what == "timer" && r.a == id;
    return n;
  };
  QTRY_VERIFY_WITH_TIMEOUT(count(1) >= 2 && count(7) >= 2, 2000);
  first.KillTimer(1);
  EXPECT_FALSE(first.TimerActive(1));
  first.Take();
  QTest::qWait(60);
  EXPECT_EQ(count(1), 0);
  EXPECT_GE(count(7), 1);
  first.KillTimer(7);
}

TEST_F(ControlTest, AnExceptionInAHandlerStopsAtTheControl) {
  first.throwOnMouseDown = true;
  QTest::mouseClick(Window(), Qt::LeftButton, Qt::NoModifier, At(first, 5, 5));
  EXPECT_EQ(first.errors, (std::vector<std::string>{"boom"}));
  bool upSeen = false;
  for (const auto& r : first.Take()) upSeen = upSeen || r.what == "up";
  EXPECT_TRUE(upSeen);
}

TEST_F(ControlTest, PostedCallsRunLaterInOrderAndDieWithTheControl) {
  std::vector<int> ran;
  first.PostCall([&] { ran.push_back(1); });
  first.PostCall([&] { throw std::runtime_error("posted"); });
  first.PostCall([&] { ran.push_back(3); });
  EXPECT_TRUE(ran.empty());
  auto doomed = std::make_unique<TRecorder>();
  doomed->PostCall([&] { ran.push_back(99); });
  doomed.reset();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
  EXPECT_EQ(first.errors, (std::vector<std::string>{"posted"}));
}

TEST_F(ControlTest, PaintDrawsThroughTheCanvasWithTheUpdateClip) {
  first.paintClips.clear();
  first.InvalidateRect(Rect(10, 20, 30, 40));
  first.Update();
  ASSERT_FALSE(first.paintClips.empty());
  EXPECT_EQ(first.paintClips.back(), Rect(10, 20, 30, 40));
  const QImage image = first.ClientWidget()->grab().toImage();
  EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 0, 0));
}

TEST_F(ControlTest, InputMethodCompositionAndResult) {
  first.SetImeEnabled(true);
  first.SetFocus();
  first.Take();
  first.imeRect = Rect(4, 5, 6, 25);
  QList<QInputMethodEvent::Attribute> attrs{{QInputMethodEvent::Cursor, 3, 1}};
  QInputMethodEvent compose(QStringLiteral("zho"), attrs);
  QApplication::sendEvent(first.Widget(), &compose);
  QInputMethodEvent commit(QString(), {});
  commit.setCommitString(QStringLiteral("中"));
  QApplication::sendEvent(first.Widget(), &commit);
  EXPECT_EQ(first.Take(), (std::vector<TRecorded>{{"compose:zho", 3}, {"result:中"}, {"compose:", 0}}));
  EXPECT_EQ(first.Widget()->inputMethodQuery(Qt::ImCursorRectangle).toRect(), QRect(4, 5, 2, 20));
  EXPECT_TRUE(first.Widget()->inputMethodQuery(Qt::ImEnabled).toBool());
}

TEST_F(ControlTest, CursorsByNumber) {
  struct TCase {
    TCursor number;
    Qt::CursorShape shape;
  } cases[] = {
      {crDefault, Qt::ArrowCursor}, {crIBeam, Qt::IBeamCursor},          {crJump, Qt::PointingHandCursor},
      {crHSplit, Qt::SplitHCursor}, {crHourGlass, Qt::WaitCursor},       {crDVZoomIn, Qt::BitmapCursor},
      {crDVZoomOut, Qt::BitmapCursor}, {crDVSelectRow, Qt::BitmapCursor}, {crDVSelectCol, Qt::BitmapCursor},
      {crPostilPen, Qt::BitmapCursor}, {crPostilSeal, Qt::BitmapCursor},
      {999, Qt::ArrowCursor},
  };
  for (const auto& c : cases) {
    first.SetCursor(c.number);
    EXPECT_EQ(first.Cursor(), c.number);
    EXPECT_EQ(first.ClientWidget()->cursor().shape(), c.shape) << c.number;
  }
  // The column cursor is the row cursor turned: its hot spot moves to the tip below.
  first.SetCursor(crDVSelectRow);
  const QPoint row = first.ClientWidget()->cursor().hotSpot();
  first.SetCursor(crDVSelectCol);
  EXPECT_EQ(first.ClientWidget()->cursor().hotSpot(), QPoint(row.y(), row.x()));
  EXPECT_EQ(first.ClientWidget()->cursor().pixmap().size(), QSize(16, 16));
}

TEST(ControlLifetime, AQtParentMayDestroyTheWidgetFirst) {
  auto parent = std::make_unique<QWidget>();
  TRecorder control;
  control.SetParentWidget(parent.get());
  parent.reset();
  EXPECT_EQ(control.Widget(), nullptr);
  control.SetBounds(0, 0, 10, 10);
  control.Invalidate();
  control.SetTimer(1, 10);
  EXPECT_FALSE(control.TimerActive(1));
  EXPECT_EQ(control.ClientWidth(), 0);
}

}  // namespace
}  // namespace quillet
