#include "platform/gfx/recording_canvas.h"

#include <gtest/gtest.h>

#include "gfx_test_util.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"

namespace quillet {
namespace {

const std::string kGbkZhongWen = "\xD6\xD0\xCE\xC4";  // 中文 in code page 936

struct MetricCase {
  const char* name;
  int32_t height, width;
  uint8_t charset;
  int32_t extra;
  bool utf16;
  std::string a;
  std::u16string w;
  std::vector<int32_t> expected;  // TextExtentEx
};

TEST(RecordingCanvasMetrics, CharacterWidthsFollowTheDocumentedTable) {
  const MetricCase cases[] = {
      {"ascii", -12, 0, GB2312_CHARSET, 0, false, "ab", u"", {6, 12}},
      {"gbk pair shares its end", -12, 0, GB2312_CHARSET, 0, false, kGbkZhongWen, u"", {12, 12, 24, 24}},
      {"mixed", -12, 0, GB2312_CHARSET, 0, false, "a\xD6\xD0", u"", {6, 18, 18}},
      {"lone lead byte is half", -12, 0, GB2312_CHARSET, 0, false, "a\xD6", u"", {6, 12}},
      {"western code page has no pairs", -12, 0, ANSI_CHARSET, 0, false, "\xD6\xD0", u"", {6, 12}},
      {"positive height", 12, 0, GB2312_CHARSET, 0, false, "a", u"", {6}},
      {"odd height rounds down", -13, 0, GB2312_CHARSET, 0, false, "a", u"", {6}},
      {"tiny height is at least 1", -1, 0, GB2312_CHARSET, 0, false, "ab", u"", {1, 2}},
      {"utf16", -12, 0, GB2312_CHARSET, 0, true, "", u"ab\u4E2D", {6, 12, 24}},
      {"utf16 below cjk is half", -12, 0, GB2312_CHARSET, 0, true, "", u"\u2014\u2E80", {6, 18}},
      {"surrogate pair is one full character", -12, 0, GB2312_CHARSET, 0, true, "", u"\U00020000a", {12, 12, 18}},
      {"unpaired surrogate and half-width forms",
       -12,
       0,
       GB2312_CHARSET,
       0,
       true,
       "",
       u"\xD800\uFF71\uE000",
       {6, 12, 18}},
      {"char extra after every character", -12, 0, GB2312_CHARSET, 2, false, "a\xD6\xD0", u"", {8, 22, 22}},
      {"char extra utf16", -12, 0, GB2312_CHARSET, 3, true, "", u"\u4E2Da", {15, 24}},
      {"negative char extra", -12, 0, GB2312_CHARSET, -1, false, "ab", u"", {5, 10}},
      {"logical width", -12, 5, GB2312_CHARSET, 0, false, "a\xD6\xD0", u"", {5, 15, 15}},
      {"logical width utf16", -12, 5, GB2312_CHARSET, 0, true, "", u"\u4E2Da", {10, 15}},
  };
  for (const MetricCase& c : cases) {
    TRecordingCanvas canvas;
    canvas.Font().Height = c.height;
    canvas.Font().Width = c.width;
    canvas.Font().Charset = c.charset;
    canvas.Font().Style = fsBold | fsItalic;  // styles change nothing
    canvas.SetTextCharacterExtra(c.extra);
    const std::vector<int32_t> ex = c.utf16 ? canvas.TextExtentExW(c.w) : canvas.TextExtentExA(c.a);
    EXPECT_EQ(ex, c.expected) << c.name;
    const TSize size = c.utf16 ? canvas.TextExtentW(c.w) : canvas.TextExtentA(c.a);
    EXPECT_EQ(size.cx, c.expected.back()) << c.name;
    EXPECT_EQ(size.cy, std::max(1, std::abs(c.height))) << c.name;
  }
}

TEST(RecordingCanvasMetrics, TextMetricsFromHeight) {
  struct Case {
    int32_t height, ascent, descent, ulPos, ulSize, strike;
  } cases[] = {
      {-12, 9, 3, -1, 1, 4},
      {-40, 32, 8, -4, 2, 13},
      {5, 4, 1, -1, 1, 1},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    canvas.Font().Height = c.height;
    const TTextMetric tm = canvas.GetTextMetrics();
    EXPECT_EQ(tm.tmHeight, std::abs(c.height));
    EXPECT_EQ(tm.tmAscent, c.ascent) << c.height;
    EXPECT_EQ(tm.tmDescent, c.descent) << c.height;
    EXPECT_EQ(tm.tmInternalLeading, 0);
    EXPECT_EQ(tm.otmsUnderscorePosition, c.ulPos) << c.height;
    EXPECT_EQ(tm.otmsUnderscoreSize, c.ulSize) << c.height;
    EXPECT_EQ(tm.otmsStrikeoutPosition, c.strike) << c.height;
    EXPECT_EQ(tm.tmAveCharWidth, std::abs(c.height) / 2);
    EXPECT_EQ(tm.tmMaxCharWidth, std::abs(c.height));
  }
}

TEST(RecordingCanvasLog, RecordsEveryOperationWithTheStateAtTheCall) {
  TRecordingCanvas canvas;
  canvas.Font().Height = -10;
  canvas.Font().Charset = GB2312_CHARSET;
  canvas.Pen().Color = clRed;
  canvas.MoveTo(0, 0);
  canvas.LineTo(5, 0);
  canvas.Pen().Width = 3;
  canvas.Rectangle(Rect(1, 2, 10, 20));
  canvas.Polygon({{0, 0}, {8, 8}, {0, 8}});
  canvas.IntersectClipRect(Rect(0, 0, 50, 50));
  canvas.TextOutA(10, 20, "a" + kGbkZhongWen);
  canvas.TextOutW(1, 2, u"\u4E2D");
  canvas.TextOutWithAdvancesA(3, 4, "ab", {5, 6});
  TBitmap bitmap(16, 8);
  canvas.Draw(3, 4, bitmap);
  canvas.StretchDraw(Rect(0, 0, 32, 32), bitmap);
  canvas.ResetClip();
  canvas.FillRect(Rect(0, 0, 2, 2));

  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{
                                  "Line 0,0-5,0",
                                  "Rectangle 1,2,10,20",
                                  "Polygon 0,0 8,8 0,8",
                                  "Clip 0,0,50,50",
                                  "Text 10,20 \"a中文\"",
                                  "TextW 1,2 \"中\"",
                                  "TextWithAdvances 3,4 \"ab\" [5,6]",
                                  "Draw 3,4 TBitmap 16x8",
                                  "StretchDraw 0,0,32,32 TBitmap 16x8",
                                  "ResetClip",
                                  "FillRect 0,0,2,2",
                              }));
  const auto& log = canvas.Log();
  EXPECT_EQ(log[0].Pen.Color, clRed);
  EXPECT_EQ(log[0].Pen.Width, 1);
  EXPECT_EQ(log[1].Pen.Width, 3);
  EXPECT_FALSE(log[2].HasClip);
  EXPECT_TRUE(log[4].HasClip);
  EXPECT_EQ(log[4].Clip, Rect(0, 0, 50, 50));
  EXPECT_FALSE(log[10].HasClip);
  EXPECT_EQ(log[4].Raw, "a" + kGbkZhongWen);
  EXPECT_EQ(log[4].Rect, Rect(10, 20, 35, 30));       // 5 + 10 + 10 wide, 10 high
  EXPECT_EQ(log[5].Raw, std::string("\x2D\x4E", 2));  // UTF-16LE, as a Unicode item keeps it
  EXPECT_EQ(log[6].Rect, Rect(3, 4, 14, 14));
  EXPECT_EQ(log[1].StateString(),
            "pen=$0000FF/3/solid/copy brush=$FFFFFF/solid font=\"MS Sans Serif\"/-10//$80000008/cs134/w0 "
            "extra=0 align=0 bk=opaque/$1FFFFFFF");
  EXPECT_EQ(canvas.OfKind(TCanvasOp::TextW).size(), 1u);
  EXPECT_EQ(canvas.Strings(TCanvasOp::Draw), std::vector<std::string>{"Draw 3,4 TBitmap 16x8"});
}

TEST(RecordingCanvasLog, AdvancesPerCharacterOrPerByte) {
  TRecordingCanvas canvas;
  canvas.Font().Height = -12;
  canvas.Font().Charset = GB2312_CHARSET;
  const std::string text =
      "\xD6\xD0"
      "a";                                              // 中a: two characters, three bytes
  canvas.TextOutWithAdvancesA(0, 0, text, {20, 7});     // per character
  canvas.TextOutWithAdvancesA(0, 0, text, {20, 0, 7});  // per byte, the trail byte's entry 0
  canvas.TextOutWithAdvancesA(0, 0, text, {20});        // the rest at the font's advance
  const auto texts = canvas.OfKind(TCanvasOp::TextWithAdvances);
  EXPECT_EQ(texts[0].Rect.Width(), 27);
  EXPECT_EQ(texts[1].Rect.Width(), 27);
  EXPECT_EQ(texts[2].Rect.Width(), 26);
}

TEST(RecordingCanvasLog, TextAlignmentPlacesTheCell) {
  struct Case {
    uint32_t align;
    TRect cell;
  } cases[] = {
      {TA_LEFT | TA_TOP, Rect(100, 50, 110, 60)},    {TA_RIGHT | TA_TOP, Rect(90, 50, 100, 60)},
      {TA_CENTER | TA_TOP, Rect(95, 50, 105, 60)},   {TA_LEFT | TA_BASELINE, Rect(100, 42, 110, 52)},
      {TA_LEFT | TA_BOTTOM, Rect(100, 40, 110, 50)}, {TA_RIGHT | TA_BASELINE | TA_RTLREADING, Rect(90, 42, 100, 52)},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    canvas.Font().Height = -10;  // ascent 8, "ab" 10 wide
    canvas.SetTextAlign(c.align);
    canvas.TextOutA(100, 50, "ab");
    EXPECT_EQ(canvas.Log().back().Rect, c.cell) << c.align;
    EXPECT_EQ(canvas.PenPos(), (TPoint{0, 0})) << c.align;
  }
}

TEST(RecordingCanvasLog, UpdateCpDrawsAtThePenAndMovesIt) {
  TRecordingCanvas canvas;
  canvas.Font().Height = -10;
  canvas.SetTextAlign(TA_UPDATECP);
  canvas.MoveTo(7, 3);
  canvas.TextOutA(500, 500, "ab");
  canvas.TextOutA(500, 500, "c");
  EXPECT_EQ(canvas.Log()[0].Rect, Rect(7, 3, 17, 13));
  EXPECT_EQ(canvas.Log()[1].Rect, Rect(17, 3, 22, 13));
  EXPECT_EQ(canvas.PenPos(), (TPoint{22, 3}));
  canvas.SetTextAlign(TA_UPDATECP | TA_RIGHT);
  canvas.TextOutA(0, 0, "ab");
  EXPECT_EQ(canvas.Log()[2].Rect, Rect(12, 3, 22, 13));
  EXPECT_EQ(canvas.PenPos(), (TPoint{12, 3}));
}

TEST(RecordingCanvasLog, ClipsIntersectAndFollowSavedState) {
  TRecordingCanvas canvas;
  canvas.SetSurface(Rect(0, 0, 300, 200));
  EXPECT_FALSE(canvas.HasClip());
  EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 300, 200));
  canvas.IntersectClipRect(Rect(10, 10, 100, 100));
  canvas.SaveState();
  canvas.IntersectClipRect(Rect(50, 0, 200, 60));
  EXPECT_EQ(canvas.ClipRect(), Rect(50, 10, 100, 60));
  canvas.IntersectClipRect(Rect(0, 0, 5, 5));
  EXPECT_TRUE(canvas.ClipRect().IsEmpty());
  canvas.RestoreState();
  EXPECT_EQ(canvas.ClipRect(), Rect(10, 10, 100, 100));
  canvas.ResetClip();
  EXPECT_FALSE(canvas.HasClip());
}

}  // namespace
}  // namespace quillet
