// The ruler: what its setters accept, drags of handles and margin edges with
// their snapping and events, the scale's marks, and the ruler as drawn.
#include "commands/ruler/ruler.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/ruler/ruler_marks.h"
#include "controls/render_support.h"
#include "engine/view/docview.h"
#include "platform/gfx/qt_color.h"

namespace quillet::test {
namespace {

struct Positions {
  int32_t first, left, right, marginLeft, marginRight;
  friend bool operator==(const Positions&, const Positions&) = default;
};

void PrintTo(const Positions& p, std::ostream* os) {
  *os << "{" << p.first << ", " << p.left << ", " << p.right << ", " << p.marginLeft << ", " << p.marginRight << "}";
}

// A 300 x 25 ruler with its defaults and every event recorded as "name(index)".
struct RulerFixture {
  RulerFixture() {
    auto record = [this](const char* name) {
      return [this, name](TDVRuler&, int index) { events.push_back(std::string(name) + "(" + std::to_string(index) + ")"); };
    };
    ruler.OnIndentChange = record("IndentChange");
    ruler.OnIndentDrag = record("IndentDrag");
    ruler.OnIndentClick = record("IndentClick");
    ruler.OnIndentDblClick = record("IndentDblClick");
    ruler.OnMarginChange = record("MarginChange");
    ruler.OnMarginDrag = record("MarginDrag");
    ruler.OnMarginClick = record("MarginClick");
  }
  Positions Now() const {
    return {ruler.IndentFirst(), ruler.IndentLeft(), ruler.IndentRight(), ruler.MarginLeft(), ruler.MarginRight()};
  }
  void Mouse(QEvent::Type type, int x, int y) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(x, y), ruler.mapToGlobal(QPointF(x, y)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&ruler, &event);
  }
  void Drag(int fromX, int y, int toX) {
    Mouse(QEvent::MouseButtonPress, fromX, y);
    Mouse(QEvent::MouseMove, toX, y);
    Mouse(QEvent::MouseButtonRelease, toX, y);
  }
  TDVRuler ruler;
  std::vector<std::string> events;
};

TEST(Ruler, SettersRefuseWhatCannotBeShownWithoutAnEvent) {
  const Positions start{45, 45, 250, 30, 20};
  struct Case {
    const char* what;
    std::function<void(TDVRuler&)> set;
    Positions expected;
  } cases[] = {
      {"right exactly MinIndentDist from left", [](TDVRuler& r) { r.SetIndentRight(95); }, start},
      {"right one more", [](TDVRuler& r) { r.SetIndentRight(96); }, {45, 45, 96, 30, 20}},
      {"left exactly MinIndentDist from right", [](TDVRuler& r) { r.SetIndentLeft(200); }, start},
      {"left one less", [](TDVRuler& r) { r.SetIndentLeft(199); }, {45, 199, 250, 30, 20}},
      {"first one less", [](TDVRuler& r) { r.SetIndentFirst(199); }, {199, 45, 250, 30, 20}},
      {"negative first", [](TDVRuler& r) { r.SetIndentFirst(-1); }, start},
      {"first at 0", [](TDVRuler& r) { r.SetIndentFirst(0); }, {0, 45, 250, 30, 20}},
      {"right at width - 4", [](TDVRuler& r) { r.SetIndentRight(296); }, start},
      {"right at width - 5", [](TDVRuler& r) { r.SetIndentRight(295); }, {45, 45, 295, 30, 20}},
      {"left margin 30 to 50 moves both left indents",
       [](TDVRuler& r) { r.SetMarginLeft(50); }, {65, 65, 250, 50, 20}},
      {"right margin 20 to 30 moves the right indent", [](TDVRuler& r) { r.SetMarginRight(30); }, {45, 45, 240, 30, 30}},
      {"negative left margin", [](TDVRuler& r) { r.SetMarginLeft(-1); }, start},
      {"left margin past the width", [](TDVRuler& r) { r.SetMarginLeft(271); }, start},
      {"negative right margin", [](TDVRuler& r) { r.SetMarginRight(-1); }, start},
      {"right margin past the width", [](TDVRuler& r) { r.SetMarginRight(261); }, start},
      // The indents could not follow: margins and indents stay in step.
      {"left margin the indents cannot follow", [](TDVRuler& r) { r.SetMarginLeft(200); }, start},
      {"right margin the indent cannot follow", [](TDVRuler& r) { r.SetMarginRight(180); }, start},
      {"right margin the indent just follows", [](TDVRuler& r) { r.SetMarginRight(170); }, {45, 45, 100, 30, 170}},
      {"a left indent already at the margin's far side",
       [](TDVRuler& r) {
         r.SetIndentFirst(0);
         r.SetMarginLeft(0);
       },
       {0, 45, 250, 30, 20}},
  };
  for (const Case& c : cases) {
    RulerFixture f;
    c.set(f.ruler);
    EXPECT_EQ(f.Now(), c.expected) << c.what;
    EXPECT_TRUE(f.events.empty()) << c.what;
  }
}

TEST(Ruler, ScaleSettersRefuseZeroAndNegatives) {
  RulerFixture f;
  TDVRuler& r = f.ruler;
  r.SetRulerTab(0);
  r.SetRulerTab(256);
  r.SetTabDist(0);
  r.SetTabDist(-4);
  r.SetFactor(-1);
  r.SetMinIndentDist(-1);
  r.SetBorderLeft(-1);
  r.SetBorderDown(301);
  EXPECT_EQ(r.RulerTab(), 10);
  EXPECT_EQ(r.TabDist(), 10);
  EXPECT_EQ(r.Factor(), 1);
  EXPECT_EQ(r.MinIndentDist(), 50);
  EXPECT_EQ(r.BorderLeft(), 5);
  EXPECT_EQ(r.BorderDown(), 5);
  // A snapping grid of 0 would divide by zero at the first drag.
  f.Drag(45, 14, 47);
  EXPECT_EQ(r.IndentLeft(), 40);
}

TEST(Ruler, HandleDragsSnapToTheGrid) {
  struct Case {
    const char* what;
    int pressX, pressY, moveX;
    Positions expected;
    std::vector<std::string> events;
  } cases[] = {
      {"left handle to 47", 45, 14, 47, {45, 40, 250, 30, 20},
       {"IndentClick(1)", "IndentDrag(1)", "IndentChange(1)"}},
      {"left handle held 3 pixels in", 48, 14, 67, {45, 60, 250, 30, 20},
       {"IndentClick(1)", "IndentDrag(1)", "IndentChange(1)"}},
      {"first-line handle", 46, 4, 88, {80, 45, 250, 30, 20},
       {"IndentClick(0)", "IndentDrag(0)", "IndentChange(0)"}},
      {"right handle", 250, 14, 233, {45, 45, 230, 30, 20},
       {"IndentClick(2)", "IndentDrag(2)", "IndentChange(2)"}},
      {"right handle refused closer than MinIndentDist", 250, 14, 99, {45, 45, 250, 30, 20},
       {"IndentClick(2)", "IndentChange(2)"}},
      {"box moves left and first-line together", 45, 22, 67, {60, 60, 250, 30, 20},
       {"IndentClick(3)", "IndentDrag(1)", "IndentDrag(0)", "IndentChange(3)"}},
  };
  for (const Case& c : cases) {
    RulerFixture f;
    f.Drag(c.pressX, c.pressY, c.moveX);
    EXPECT_EQ(f.Now(), c.expected) << c.what;
    EXPECT_EQ(f.events, c.events) << c.what;
    EXPECT_EQ(f.ruler.DraggedHandle(), -1) << c.what;
  }
}

TEST(Ruler, MarginEdgesTakeTheMouseStrictlyWithinThreePixels) {
  // Left edge at 5 + 30 = 35, right edge at 300 - 5 - 20 = 275.
  struct Case {
    const char* what;
    int pressX, moveX;
    Positions expected;
    std::vector<std::string> events;
  } cases[] = {
      {"left edge to 57", 35, 57, {65, 65, 250, 50, 20}, {"MarginClick(0)", "MarginDrag(0)", "MarginChange(0)"}},
      {"2 pixels off the left edge", 37, 57, {65, 65, 250, 50, 20},
       {"MarginClick(0)", "MarginDrag(0)", "MarginChange(0)"}},
      {"3 pixels off the left edge", 38, 57, {45, 45, 250, 30, 20}, {}},
      {"right edge to 262", 274, 262, {45, 45, 240, 30, 30}, {"MarginClick(1)", "MarginDrag(1)", "MarginChange(1)"}},
      {"3 pixels off the right edge", 272, 262, {45, 45, 250, 30, 20}, {}},
  };
  for (const Case& c : cases) {
    RulerFixture f;
    f.Drag(c.pressX, 8, c.moveX);
    EXPECT_EQ(f.Now(), c.expected) << c.what;
    EXPECT_EQ(f.events, c.events) << c.what;
    EXPECT_FALSE(f.ruler.DraggingLeft() || f.ruler.DraggingRight()) << c.what;
  }
  RulerFixture hidden;
  hidden.ruler.SetShowMarginHandlers(false);
  hidden.Drag(35, 8, 57);
  EXPECT_EQ(hidden.ruler.MarginLeft(), 30);
  EXPECT_TRUE(hidden.events.empty());
}

TEST(Ruler, DoubleClickOnAHandleStartsNoDrag) {
  RulerFixture f;
  f.Mouse(QEvent::MouseButtonPress, 45, 14);
  f.Mouse(QEvent::MouseButtonRelease, 45, 14);
  f.Mouse(QEvent::MouseButtonDblClick, 45, 14);
  EXPECT_EQ(f.ruler.DraggedHandle(), -1);
  f.Mouse(QEvent::MouseMove, 67, 14);
  f.Mouse(QEvent::MouseButtonRelease, 67, 14);
  EXPECT_EQ(f.ruler.IndentLeft(), 45);
  EXPECT_EQ(f.events, (std::vector<std::string>{"IndentClick(1)", "IndentChange(1)", "IndentDblClick(1)"}));
  // The next press drags again.
  f.events.clear();
  f.Drag(45, 14, 67);
  EXPECT_EQ(f.ruler.IndentLeft(), 60);
}

TEST(Ruler, HandlesAreHitWhereTheyAreDrawn) {
  RulerFixture f;
  EXPECT_EQ(f.ruler.HandleAt(45, 2), TDVRuler::rhFirstIndent);
  EXPECT_EQ(f.ruler.HandleAt(53, 19), TDVRuler::rhLeftIndent);
  EXPECT_EQ(f.ruler.HandleAt(45, 20), TDVRuler::rhBothLeftIndent);
  EXPECT_EQ(f.ruler.HandleAt(258, 12), TDVRuler::rhRightIndent);
  EXPECT_EQ(f.ruler.HandleAt(54, 14), -1);
  EXPECT_EQ(f.ruler.HandleAt(45, 10), -1);
  f.ruler.SetShowIndents(false);
  EXPECT_EQ(f.ruler.HandleAt(45, 14), -1);
}

TEST(Ruler, LinkedEditorReadsAsNoneOnceGone) {
  TDVRuler ruler;
  auto view = std::make_unique<TDocView>();
  ruler.SetDocView(view.get());
  EXPECT_EQ(ruler.DocView(), view.get());
  view.reset();
  EXPECT_EQ(ruler.DocView(), nullptr);
}

TEST(RulerMarks, NumbersAndTicksBothWaysFromTheLeftMargin) {
  // Left margin edge at 35.
  struct Case {
    const char* what;
    std::function<void(TRulerScale&)> set;
    std::vector<TRulerMark> firstMarks;
  } cases[] = {
      {"defaults", [](TRulerScale&) {},
       {{5, rmShortTick, 0}, {15, rmLongTick, 0}, {25, rmShortTick, 0}, {45, rmShortTick, 0}, {55, rmLongTick, 0},
        {65, rmShortTick, 0}, {75, rmNumber, 1}, {85, rmShortTick, 0}}},
      {"without numbers a long tick takes their place", [](TRulerScale& s) { s.ShowNumbers = false; },
       {{5, rmShortTick, 0}, {15, rmLongTick, 0}, {25, rmShortTick, 0}, {35, rmLongTick, 0}, {45, rmShortTick, 0}}},
      {"without small lines", [](TRulerScale& s) { s.ShowSmallLines = false; },
       {{15, rmLongTick, 0}, {55, rmLongTick, 0}, {75, rmNumber, 1}, {95, rmLongTick, 0}, {115, rmNumber, 2}}},
      {"factor 5", [](TRulerScale& s) { s.Factor = 5; },
       {{5, rmShortTick, 0}, {15, rmLongTick, 0}, {25, rmShortTick, 0}, {45, rmShortTick, 0}, {55, rmLongTick, 0},
        {65, rmShortTick, 0}, {75, rmNumber, 5}}},
      {"numbers on the margin's left too", [](TRulerScale& s) { s.MarginLeft = 100; },
       {{5, rmLongTick, 0}, {15, rmShortTick, 0}, {25, rmNumber, 2}, {35, rmShortTick, 0}, {45, rmLongTick, 0}}},
      {"no grid", [](TRulerScale& s) { s.TabDist = 0; }, {}},
  };
  for (const Case& c : cases) {
    TRulerScale scale;
    c.set(scale);
    std::vector<TRulerMark> marks = RulerMarks(scale);
    if (marks.size() > c.firstMarks.size()) marks.resize(c.firstMarks.size());
    EXPECT_EQ(marks, c.firstMarks) << c.what;
  }
  TRulerScale scale;
  const std::vector<TRulerMark> all = RulerMarks(scale);
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all.back().X, 285);  // the last column inside the frame is 294
  EXPECT_EQ(all.back().Kind, rmShortTick);
}

TEST(Ruler, DrawnBandsTicksAndHandles) {
  RulerFixture f;
  f.ruler.SetColor(clWindow);
  // A drag under way: the left handle at 80, its ghost where it began.
  f.Mouse(QEvent::MouseButtonPress, 45, 14);
  f.Mouse(QEvent::MouseMove, 80, 14);
  const QImage image = f.ruler.grab().toImage();
  SaveRender(image, "ruler_dragging_left_handle");
  auto at = [&](int x, int y) { return image.pixelColor(x, y); };
  struct Pixel {
    const char* what;
    int x, y;
    TColor color;
  } pixels[] = {
      {"top frame strip", 150, 1, clBtnFace},
      {"left margin band", 20, 6, clBtnShadow},
      {"right margin band", 290, 6, clBtnShadow},
      {"text band", 150, 6, clWindow},
      {"left margin edge", 34, 6, clBtnFace},
      {"short tick at 45", 45, 11, clWindowText},
      {"short tick at 45, second pixel", 45, 12, clWindowText},
      {"no tick below it", 45, 10, clWindow},
      {"long tick at 55", 55, 14, clWindowText},
      {"first-line handle outline", 45, 2, clBlack},
      {"first-line handle face", 49, 4, clBtnFace},
      {"dragged left handle outline", 80, 19, clBlack},
      {"dragged left handle face", 84, 17, clBtnFace},
      {"the ghost where the drag began", 45, 19, clBtnShadow},
      {"right handle highlight", 251, 17, clBtnHighlight},
  };
  for (const Pixel& p : pixels) EXPECT_EQ(at(p.x, p.y), ToQColor(p.color)) << p.what;
  // The number 1 stands centred on x = 75.
  int dark = 0;
  for (int x = 70; x <= 80; ++x)
    for (int y = 6; y < 20; ++y) dark += at(x, y) == ToQColor(clWindowText);
  EXPECT_GT(dark, 3);
}

}  // namespace
}  // namespace quillet::test
