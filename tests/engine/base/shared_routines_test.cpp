#include "engine/base/shared_routines.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/gfx/graphic.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(CompareIntsTest, Table) {
  struct Case {
    int32_t newValue, oldValue, weight, expected;
  };
  const Case cases[] = {
      {0, 0, 1000, 1000},
      {0, 0, 7, 7},
      {0, 3, 1000, -2000},
      {0, -3, 1000, -2000},
      {10, 15, 1000, 500},
      {10, 30, 1000, -1000},
      {-10, -15, 1000, 500},
      {10, 10, 1234, 1234},
      // exact halves round to even
      {4, 5, 2, 2},   // 1.5
      {4, 6, 5, 2},   // 2.5
      {4, 7, -2, 0},  // -0.5
      // far apart or huge: computed without overflow, clamped to 32 bits
      {kMin, kMax, 1000, -1000},
      {1, kMax, kMax, kMin},
      {0, kMin, kMax, kMin},
      {0, 2, kMin, kMax},
      {0, 0, kMin, kMin},
      {kMax, kMax, kMax, kMax},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DV_CompareInts(c.newValue, c.oldValue, c.weight), c.expected)
        << c.newValue << ", " << c.oldValue << ", " << c.weight;
}

TEST(CompareColorsTest, Table) {
  struct Case {
    TColor c1, c2;
    int32_t expected;
  };
  const Case cases[] = {
      {clBlack, clNone, 0},
      {clNone, clRed, 0},
      {clNone, clNone, 3 * 3333 + 3000},
      {clBlack, 0x202020, 1746},  // 3000 - 3 * (32 * 3333 div 255)
      {clBlack, clWhite, -3 * 3333},  // and only white has a bright component
      {RGB(64, 0, 0), clBlack, 3000 - 64 * 3333 / 255},  // 64 is not above 64
      {RGB(65, 0, 0), RGB(64, 0, 0), -(1 * 3333 / 255)},
      {clWindow, clWhite, 3000},  // system colours compare as their real colour
  };
  for (const Case& c : cases)
    EXPECT_EQ(DV_CompareColors(c.c1, c.c2, 3333, 3000), c.expected) << std::hex << c.c1 << " " << c.c2;
  EXPECT_EQ(DV_CompareColors(clNone, clNone, kMax, kMax), kMax);
}

TEST(HTMLStringsTest, RGBStrAndPath) {
  EXPECT_EQ(DV_GetHTMLRGBStr(0x0000FF), "#FF0000");
  EXPECT_EQ(DV_GetHTMLRGBStr(RGB(0x01, 0x23, 0xAB)), "#0123AB");
  EXPECT_EQ(DV_GetHTMLRGBStr(clNone), "");
  EXPECT_EQ(DV_GetHTMLRGBStr(clHighlight), "#0078D7");
  EXPECT_EQ(DV_GetHTMLPath("C:\\pics\\a b.png"), "C:/pics/a b.png");
}

TEST(TagsTest, CopyAndCompare) {
  const TDVTag none;
  const TDVTag empty{0, std::string()};
  const TDVTag abc{0, std::string("abc")};
  const TDVTag abd{0, std::string("abd")};

  EXPECT_EQ(DV_CopyTag(abc, true).Str, abc.Str);
  EXPECT_FALSE(DV_CopyTag(none, true).Str);
  EXPECT_FALSE(DV_CopyTag(empty, true).Str);
  EXPECT_EQ(DV_CopyTag(TDVTag{42, std::string("x")}, false).Int, 42);
  EXPECT_FALSE(DV_CopyTag(TDVTag{42, std::string("x")}, false).Str);

  EXPECT_TRUE(DV_CompareTags(none, none, true));
  EXPECT_TRUE(DV_CompareTags(abc, TDVTag{9, std::string("abc")}, true));
  EXPECT_FALSE(DV_CompareTags(abc, abd, true));
  EXPECT_FALSE(DV_CompareTags(abc, none, true));
  EXPECT_FALSE(DV_CompareTags(none, empty, true));
  EXPECT_TRUE(DV_CompareTags(TDVTag{5, std::string("a")}, TDVTag{5, std::string("b")}, false));
  EXPECT_FALSE(DV_CompareTags(TDVTag{5, {}}, TDVTag{6, {}}, false));
}

TEST(ReplaceTabsTest, EightBit) {
  std::string s = "\t";
  DV_ReplaceTabsA(s, 8);
  EXPECT_EQ(s, std::string(8, ' '));
  s = "a\tb\t";
  DV_ReplaceTabsA(s, 2);
  EXPECT_EQ(s, "a  b  ");
  s = "no tabs";
  DV_ReplaceTabsA(s, 8);
  EXPECT_EQ(s, "no tabs");
}

TEST(ReplaceTabsTest, Utf16InEightBitString) {
  using namespace std::string_literals;
  // "a", tab, U+0900 (bytes 00 09, not a tab), then a stray odd byte.
  std::string s = "a\0\t\0\0\x09\x7f"s;
  DV_ReplaceTabsW(s, 3);
  EXPECT_EQ(s, "a\0 \0 \0 \0\0\x09\x7f"s);
}

TEST(PointInRectTest, EdgesAndHugeValues) {
  EXPECT_TRUE(DV_PointInRect(10, 20, 10, 20, 5, 5));
  EXPECT_FALSE(DV_PointInRect(15, 20, 10, 20, 5, 5));
  EXPECT_FALSE(DV_PointInRect(10, 25, 10, 20, 5, 5));
  EXPECT_FALSE(DV_PointInRect(9, 20, 10, 20, 5, 5));
  EXPECT_TRUE(DV_PointInRect(kMax - 1, 0, kMax - 5, 0, 10, 10));  // left + width beyond 32 bits
}

TEST(CharPosTest, StopsAtLengthAndTerminator) {
  const char text[] = "ab\0cd";
  EXPECT_EQ(DV_CharPos("abc", 'a', 3), 1);
  EXPECT_EQ(DV_CharPos("abc", 'c', 3), 3);
  EXPECT_EQ(DV_CharPos("abc", 'c', 2), 0);
  EXPECT_EQ(DV_CharPos(text, 'c', 5), 0);
  EXPECT_EQ(DV_CharPos(nullptr, 'a', 5), 0);
  EXPECT_EQ(DV_CharPos("abc", 'a', 0), 0);
}

TEST(SearchOptionsTest, FromFindOptions) {
  EXPECT_EQ(GetDVESearchOptions(0), 0u);
  EXPECT_EQ(GetDVESearchOptions(frMatchCase), TDVESearchOptions{dvseoMatchCase});
  EXPECT_EQ(GetDVESearchOptions(frDown), TDVESearchOptions{dvseoDown});
  EXPECT_EQ(GetDVESearchOptions(frWholeWord), TDVESearchOptions{dvseoWholeWord});
  EXPECT_EQ(GetDVESearchOptions(frMatchCase | frDown | frWholeWord),
            TDVESearchOptions{dvseoMatchCase | dvseoDown | dvseoWholeWord});
}

TEST(ScreenAndDeviceTest, DeviceFromCanvasScreenAt96) {
  TRecordingCanvas printer(600);
  TDVScreenAndDevice sad;
  sad.ppixScreen = sad.ppiyScreen = 0;
  DV_InfoAboutSaD(sad, printer);
  EXPECT_EQ(sad.ppixDevice, 600);
  EXPECT_EQ(sad.ppiyDevice, 600);
  EXPECT_EQ(sad.ppixScreen, 96);
  EXPECT_EQ(sad.ppiyScreen, 96);
}

// A picture kind other than a bitmap.
class FakeIcon : public TGraphic {
 public:
  std::string_view ClassName() const override { return "TIcon"; }
  int32_t Width() const override { return 8; }
  int32_t Height() const override { return 4; }
  bool Empty() const override { return false; }
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream&) const override {}
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<FakeIcon>(); }
  void Paint(TCanvas&, const TRect&) const override {}
};

TEST(PictureToDeviceTest, ScalesToTheDeviceAndDrawsOnlyBitmapsIndirectly) {
  TDVScreenAndDevice sad;
  sad.ppixDevice = 192;  // x twice, y three times the screen
  sad.ppiyDevice = 288;
  const TBitmap bitmap(16, 16);
  const FakeIcon icon;
  TRecordingCanvas canvas;

  DV_PictureToDevice(canvas, 5, 6, -1, 10, sad, bitmap, false);  // the bitmap's own size
  DV_PictureToDevice(canvas, 5, 6, 10, 20, sad, bitmap, true);
  DV_PictureToDevice(canvas, 0, 0, 10, 20, sad, icon, false);  // not a bitmap: nothing
  DV_PictureToDevice(canvas, 0, 0, -1, -1, sad, icon, true);
  sad.ppixScreen = 0;  // no screen resolution: that side stays unscaled
  DV_PictureToDevice(canvas, 0, 0, 10, 10, sad, bitmap, true);
  EXPECT_EQ(canvas.Strings(TCanvasOp::StretchDraw),
            (std::vector<std::string>{"StretchDraw 5,6,37,54 TBitmap 16x16", "StretchDraw 5,6,25,66 TBitmap 16x16",
                                      "StretchDraw 0,0,16,12 TIcon 8x4", "StretchDraw 0,0,10,30 TBitmap 16x16"}));
}

TEST(CreateGraphicsTest, ByClassNameAndReplaceable) {
  std::unique_ptr<TGraphic> bitmap = DV_CreateGraphics("TBitmap");
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->ClassName(), "TBitmap");
  EXPECT_FALSE(DV_CreateGraphics("TNoSuchGraphic"));

  const TDV_CreateGraphicsFunction saved = DV_CreateGraphics;
  DV_CreateGraphics = [](const std::string&) -> std::unique_ptr<TGraphic> { return std::make_unique<FakeIcon>(); };
  EXPECT_EQ(DV_CreateGraphics("TBitmap")->ClassName(), "TIcon");
  DV_CreateGraphics = saved;
}

}  // namespace
}  // namespace quillet
