// A real scroller offscreen, scrolled by keys, wheel and its bars; embedded
// child controls move with the document.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <vector>

#include "engine/view/scroller.h"
#include "platform/gfx/canvas.h"

namespace quillet {
namespace {

class TTestScroller : public TDVScroller {
 public:
  std::vector<TRect> paintClips;
  // Like the viewer: a change of the client size sets the document size again.
  int32_t docWidth = 0, docHeightPx = 0;
  bool resizeUpdates = false;

 protected:
  void Paint(TCanvas& canvas) override { paintClips.push_back(canvas.ClipRect()); }
  void Resize() override {
    if (resizeUpdates) UpdateScrollBars(docWidth, docHeightPx / VSmallStep() + 1, true, true);
  }
};

class ScrollerTest : public testing::Test {
 protected:
  void SetUp() override {
    s.SetBounds(0, 0, 200, 100);
    s.Show();
    QApplication::setActiveWindow(s.Widget());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(s.Widget()));
    s.SetFocus();
    // 1000 units of 10 pixels, 600 pixels wide.
    s.UpdateScrollBars(600, 1000, true, true);
    s.OnVScrolled = [this](TDVScroller&) { ++vScrolled; };
    s.OnHScrolled = [this](TDVScroller&) { ++hScrolled; };
  }
  QScrollBar* Bar(Qt::Orientation o) {
    auto* area = static_cast<QAbstractScrollArea*>(s.Widget());
    return o == Qt::Vertical ? area->verticalScrollBar() : area->horizontalScrollBar();
  }
  int32_t Page() const { return s.ClientHeight() / s.VSmallStep(); }
  int32_t LastV() const { return 999 - (Page() - 1); }
  void Wheel(int dy) {
    QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(s.ClientWidget(), &e);
  }

  TTestScroller s;
  int vScrolled = 0, hScrolled = 0;
};

TEST_F(ScrollerTest, BarsShowTheDocumentRange) {
  EXPECT_EQ(s.VSmallStep(), 10);
  EXPECT_TRUE(s.ScrollBarVisible(sbVertical));
  EXPECT_TRUE(s.ScrollBarVisible(sbHorizontal));
  EXPECT_EQ(s.GetScrollInfo(sbVertical), (TScrollInfo{0, 999, Page(), 0}));
  EXPECT_EQ(s.GetScrollInfo(sbHorizontal), (TScrollInfo{0, 599, s.ClientWidth(), 0}));
  EXPECT_EQ(Bar(Qt::Vertical)->maximum(), LastV());
  EXPECT_EQ(Bar(Qt::Vertical)->pageStep(), Page());
  // A document that fits hides the bars.
  s.UpdateScrollBars(50, 3, true, true);
  EXPECT_FALSE(s.ScrollBarVisible(sbVertical));
  EXPECT_FALSE(s.ScrollBarVisible(sbHorizontal));
  EXPECT_FALSE(Bar(Qt::Vertical)->isVisible());
  // Unless disable-no-scroll is asked for twice.
  s.VDisableNoScroll = true;
  s.UpdateScrollBars(50, 3, true, true);
  EXPECT_TRUE(s.ScrollBarVisible(sbVertical));
  EXPECT_FALSE(Bar(Qt::Vertical)->isEnabled());
}

TEST_F(ScrollerTest, KeysScrollByLinesPagesAndEnds) {
  struct TCase {
    Qt::Key key;
    int32_t v, h;
  } cases[] = {
      {Qt::Key_Down, 1, 0},     {Qt::Key_PageDown, 1 + 0, 0}, {Qt::Key_End, -1, 0}, {Qt::Key_Up, -2, 0},
      {Qt::Key_Home, 0, 0},     {Qt::Key_Right, 0, 10},       {Qt::Key_Right, 0, 20}, {Qt::Key_Left, 0, 10},
  };
  cases[1].v = 1 + Page();
  cases[2].v = LastV();
  cases[3].v = LastV() - 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    QTest::keyClick(s.Widget(), c.key);
    EXPECT_EQ(s.VPos(), c.v);
    EXPECT_EQ(s.HPos(), c.h);
  }
  EXPECT_EQ(Bar(Qt::Vertical)->value(), 0);
  EXPECT_EQ(Bar(Qt::Horizontal)->value(), 10);
  s.KeyboardScroll = false;
  QTest::keyClick(s.Widget(), Qt::Key_Down);
  EXPECT_EQ(s.VPos(), 0);
}

TEST_F(ScrollerTest, WheelScrollsWheelStepUnitsPerNotch) {
  Wheel(-120);
  EXPECT_EQ(s.VPos(), 2);
  Wheel(-240);
  EXPECT_EQ(s.VPos(), 6);
  Wheel(120);
  EXPECT_EQ(s.VPos(), 4);
  s.SetWheelStep(0);
  Wheel(-120);
  EXPECT_EQ(s.VPos(), 4);
  // Turning the wheel over the bar scrolls the same way.
  s.SetWheelStep(3);
  QWheelEvent e(QPointF(2, 2), QPointF(2, 2), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(Bar(Qt::Vertical), &e);
  EXPECT_EQ(s.VPos(), 7);
  EXPECT_EQ(vScrolled, 5);
}

TEST_F(ScrollerTest, ScrollBarActionsAndTheThumb) {
  QScrollBar* v = Bar(Qt::Vertical);
  v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(s.VPos(), 1);
  v->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(s.VPos(), 1 + Page());
  v->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(s.VPos(), LastV());
  EXPECT_EQ(v->value(), LastV());
  v->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(s.VPos(), 0);

  // Dragging the thumb scrolls while it moves with Tracking...
  v->setSliderDown(true);
  v->setSliderPosition(40);
  EXPECT_EQ(s.VPos(), 40);
  v->setSliderDown(false);
  EXPECT_EQ(s.VPos(), 40);
  // ...and only where it is let go without.
  s.SetTracking(false);
  v->setSliderDown(true);
  v->setSliderPosition(70);
  EXPECT_EQ(s.VPos(), 40);
  v->setSliderDown(false);
  EXPECT_EQ(s.VPos(), 70);

  QScrollBar* h = Bar(Qt::Horizontal);
  h->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(s.HPos(), 100);
  h->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(s.HPos(), 600 - s.ClientWidth());
}

TEST_F(ScrollerTest, ClickingTheBarsArrowScrollsOneUnit) {
  QScrollBar* v = Bar(Qt::Vertical);
  QStyleOptionSlider opt;
  opt.initFrom(v);
  opt.orientation = Qt::Vertical;
  opt.minimum = v->minimum();
  opt.maximum = v->maximum();
  opt.sliderPosition = v->sliderPosition();
  opt.sliderValue = v->value();
  opt.pageStep = v->pageStep();
  opt.singleStep = v->singleStep();
  const QRect down = v->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarAddLine, v);
  ASSERT_FALSE(down.isEmpty());
  QTest::mouseClick(v, Qt::LeftButton, Qt::NoModifier, down.center());
  EXPECT_EQ(s.VPos(), 1);
  EXPECT_EQ(v->value(), 1);
}

TEST_F(ScrollerTest, HiddenBarsClampByTheStoredRange) {
  s.SetVScrollVisible(false);
  EXPECT_EQ(s.GetScrollInfo(sbVertical), (TScrollInfo{0, 1, 2, 0}));
  EXPECT_FALSE(s.ScrollBarVisible(sbVertical));
  s.SetVPos(5000, true);
  EXPECT_EQ(s.VPos(), 999 - (s.ClientHeight() / 10 - 1));
  s.SetVPos(-3, true);
  EXPECT_EQ(s.VPos(), 0);
  s.SetVScrollVisible(true);
  EXPECT_TRUE(s.ScrollBarVisible(sbVertical));
}

TEST_F(ScrollerTest, ScrollToTakesPixelsAndReportsOnlyChanges) {
  s.ScrollTo(55);
  EXPECT_EQ(s.VPos(), 5);
  s.ScrollTo(59);
  EXPECT_EQ(vScrolled, 1);
  s.ScrollToNoRedraw(120);
  EXPECT_EQ(s.VPos(), 12);
  EXPECT_EQ(vScrolled, 2);
  s.SetHPos(33);
  s.SetHPos(33);
  EXPECT_EQ(hScrolled, 1);
  s.SetVSmallStep(0);
  EXPECT_EQ(s.VSmallStep(), 10);
}

TEST_F(ScrollerTest, ChildControlsMoveWithTheDocument) {
  auto* near = new QWidget(s.ClientWidget());
  auto* far = new QWidget(s.ClientWidget());
  TChildWindow nearChild(near), farChild(far);
  nearChild.SetTag(50);
  DV_Tag2Y(nearChild);
  nearChild.SetLeft(30);
  farChild.SetTag(9000);
  DV_Tag2Y(farChild);

  s.ScrollTo(20);
  EXPECT_EQ(DV_GetYByTag(nearChild), 30);
  EXPECT_EQ(near->y(), 30);
  s.SetHPos(7);
  EXPECT_EQ(near->x(), 23);
  s.ScrollToNoRedraw(0);
  EXPECT_EQ(near->y(), 50);

  // Scrolled far away the true place stays in the Tag, the window within ±10000.
  s.UpdateScrollBars(600, 3000, true, true);
  s.ScrollTo(25000);
  EXPECT_EQ(DV_GetYByTag(farChild), 9000 - 25000);
  EXPECT_EQ(far->y(), -10000);
  EXPECT_EQ(DV_GetYByTag(nearChild), 50 - 25000);
  s.ScrollTo(0);
  EXPECT_EQ(far->y(), 9000);
  EXPECT_EQ(near->y(), 50);
}

TEST_F(ScrollerTest, FullRedrawPaintsEverythingCopyingPaintsTheUncoveredStrip) {
  s.Refresh();
  s.paintClips.clear();
  s.SetVPos(2, true);
  ASSERT_FALSE(s.paintClips.empty());
  EXPECT_EQ(s.paintClips.back(), Rect(0, s.ClientHeight() - 20, s.ClientWidth(), s.ClientHeight()));
  s.FullRedraw = true;
  s.paintClips.clear();
  s.SetVPos(4, true);
  ASSERT_FALSE(s.paintClips.empty());
  EXPECT_EQ(s.paintClips.back(), s.ClientRect());
}

TEST_F(ScrollerTest, PagesFitTheClientAreaTheBarsLeave) {
  // Only the vertical bar at first; then a wider document brings the
  // horizontal bar, which shrinks the client area while the bars are set.
  s.resizeUpdates = true;
  s.docWidth = 50;
  s.docHeightPx = 5000;
  s.UpdateScrollBars(s.docWidth, s.docHeightPx / 10 + 1, true, true);
  ASSERT_FALSE(s.ScrollBarVisible(sbHorizontal));
  s.docWidth = 1000;
  s.UpdateScrollBars(s.docWidth, s.docHeightPx / 10 + 1, true, true);
  ASSERT_TRUE(s.ScrollBarVisible(sbHorizontal));
  EXPECT_EQ(s.Model().VScrollPage, s.ClientHeight() / 10);
  EXPECT_EQ(s.GetScrollInfo(sbVertical).Page, s.ClientHeight() / 10);
}

TEST_F(ScrollerTest, BordersAndRightToLeft) {
  auto* area = static_cast<QAbstractScrollArea*>(s.Widget());
  EXPECT_EQ(area->frameWidth(), 0);
  s.SetBorderStyle(bsSingle);
  EXPECT_GT(area->frameWidth(), 0);
  s.SetUseXPThemes(false);
  EXPECT_EQ(area->frameWidth(), 2);
  s.SetBiDiModeDV(dvbdRightToLeft);
  QApplication::processEvents();
  EXPECT_LT(Bar(Qt::Vertical)->geometry().x(), s.ClientWidget()->geometry().x());
  EXPECT_EQ(s.GetPalette(), nullptr);
  s.SetDoInPaletteMode(dvpaCreateCopiesEx);
  EXPECT_EQ(s.GetPalette(), nullptr);
}

}  // namespace
}  // namespace quillet
