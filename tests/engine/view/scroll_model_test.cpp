// The scroll position model without a window: ranges, clamping, the
// positions that scroll codes, keys and wheel notches ask for.
#include <gtest/gtest.h>

#include "engine/view/scroll_model.h"

namespace quillet {
namespace {

TEST(ScrollModel, VerticalRangeInUnitsAndClamping) {
  struct TCase {
    int32_t ys, clientHeight, smallStep, posBefore;
    int32_t max, page, pos;
  } cases[] = {
      {100, 200, 10, 50, 99, 20, 50},   // room to scroll: kept
      {100, 200, 10, 95, 99, 20, 80},   // past the last page: the last page
      {100, 205, 10, 95, 99, 20, 80},   // a part unit of client height does not count
      {10, 200, 10, 5, 9, 20, 0},       // shorter than the page: 0, the lower bound last
      {0, 200, 10, 3, -1, 20, 0},       // empty document
      {1000, 100, 1, 2000, 999, 100, 900},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ys);
    TDVScrollModel m;
    m.SmallStep = c.smallStep;
    m.VPos = c.posBefore;
    m.SetVRange(c.ys, c.clientHeight);
    EXPECT_EQ(m.VScrollMax, c.max);
    EXPECT_EQ(m.VScrollPage, c.page);
    EXPECT_EQ(m.VPos, c.pos);
  }
}

TEST(ScrollModel, HorizontalRangeInPixels) {
  TDVScrollModel m;
  m.HPos = 400;
  m.SetHRange(500, 150);
  EXPECT_EQ(m.HScrollMax, 499);
  EXPECT_EQ(m.HScrollPage, 150);
  EXPECT_EQ(m.HPos, 350);
  m.SetHRange(100, 150);
  EXPECT_EQ(m.HPos, 0);
  EXPECT_EQ(m.ClampH(-5), 0);
  EXPECT_EQ(m.ClampH(int64_t{1} << 40), 0);
}

TEST(ScrollModel, ScrollCodeTargets) {
  TDVScrollModel m;
  m.SmallStep = 10;
  m.SetVRange(1000, 200);
  m.SetHRange(2000, 300);
  m.VPos = 50;
  m.HPos = 500;
  struct TCase {
    TScrollCode code;
    int64_t v, h;
  } cases[] = {
      {SB_LINEUP, 49, 490},       {SB_LINEDOWN, 51, 510},     {SB_PAGEUP, 50 - 20, 400},
      {SB_PAGEDOWN, 50 + 20, 600}, {SB_THUMBPOSITION, 7, 7},   {SB_THUMBTRACK, 7, 7},
      {SB_TOP, 0, 0},             {SB_BOTTOM, 1000, 2000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.code));
    EXPECT_EQ(m.VScrollTarget(c.code, 7, 200), c.v);
    EXPECT_EQ(m.HScrollTarget(c.code, 7), c.h);
  }
  // The bottom is asked for as the document size and clamped to the last page.
  EXPECT_EQ(m.ClampV(*m.VScrollTarget(SB_BOTTOM, 0, 200)), 1000 - 1 - 19);
  m.Tracking = false;
  EXPECT_EQ(m.VScrollTarget(SB_THUMBTRACK, 7, 200), std::nullopt);
  EXPECT_EQ(m.HScrollTarget(SB_THUMBTRACK, 7), std::nullopt);
  EXPECT_EQ(m.VScrollTarget(SB_THUMBPOSITION, 7, 200), 7);
}

TEST(ScrollModel, WheelStepsAndKeys) {
  TDVScrollModel m;
  m.VPos = 10;
  EXPECT_EQ(m.WheelTarget(true), 12);
  EXPECT_EQ(m.WheelTarget(false), 8);
  m.WheelStep = INT32_MAX;
  m.VPos = INT32_MAX;
  EXPECT_EQ(m.WheelTarget(true), int64_t{INT32_MAX} * 2);

  struct TCase {
    TKey key;
    bool scrolls;
    TScrollBarKind bar;
    TScrollCode code;
  } cases[] = {
      {VK_PRIOR, true, sbVertical, SB_PAGEUP},  {VK_NEXT, true, sbVertical, SB_PAGEDOWN},
      {VK_END, true, sbVertical, SB_BOTTOM},    {VK_HOME, true, sbVertical, SB_TOP},
      {VK_UP, true, sbVertical, SB_LINEUP},     {VK_DOWN, true, sbVertical, SB_LINEDOWN},
      {VK_LEFT, true, sbHorizontal, SB_LINEUP}, {VK_RIGHT, true, sbHorizontal, SB_LINEDOWN},
      {VK_TAB, false, sbVertical, SB_TOP},      {'A', false, sbVertical, SB_TOP},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    TScrollBarKind bar;
    TScrollCode code;
    ASSERT_EQ(KeyScrollCode(c.key, bar, code), c.scrolls);
    if (!c.scrolls) continue;
    EXPECT_EQ(bar, c.bar);
    EXPECT_EQ(code, c.code);
  }
}

}  // namespace
}  // namespace quillet
