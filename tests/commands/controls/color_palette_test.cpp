// The palette, the lightness that picks the caption colour, and the swatch
// of a colour button.
#include "commands/controls/color_palette.h"

#include <gtest/gtest.h>

#include <QImage>

#include "color_test_support.h"
#include "commands/controls/color_popup.h"

namespace quillet::test {
namespace {

TEST(ColorPalette, RowsAndNamesAsListed) {
  EXPECT_EQ(Colors.size(), 40u);
  EXPECT_EQ(Colors[0].Name, "Black");
  EXPECT_EQ(Colors[16].Name, "Red");
  EXPECT_EQ(Colors[16].Color, clRed);
  EXPECT_EQ(Colors[39].Color, clWhite);
  for (int i = 0; i < ColorCount; ++i) EXPECT_EQ(PaletteIndexOf(Colors[i].Color), i) << Colors[i].Name;
  EXPECT_EQ(PaletteIndexOf(clNone), -1);
  EXPECT_EQ(PaletteIndexOf(0x123456), -1);
}

TEST(ColorPalette, LuminanceIsHlsLightness) {
  struct Case {
    TColor color;
    int luminance;
  } cases[] = {
      {clBlack, 0},          {clWhite, 240},         {RGB(159, 159, 159), 150}, {RGB(160, 160, 160), 151},
      {clRed, 120},          {RGB(255, 0, 128), 120}, {0x996666, 120},           {clWindow, 240},
      {clWindowText, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(GetLuminance(c.color), c.luminance) << std::hex << c.color;
}

TEST(ColorSwatch, ColourInsideAShadowFrameWithAClearRing) {
  // The frame key of the old glyphs is real transparency here: a red
  // swatch and any other get the same clear ring.
  for (const TColor color : {clRed, clBlue, clWhite}) {
    const QImage swatch = ColorSwatch(color);
    ASSERT_EQ(swatch.size(), QSize(14, 14));
    for (int i = 0; i < 14; ++i) {
      EXPECT_EQ(swatch.pixelColor(i, 0).alpha(), 0);
      EXPECT_EQ(swatch.pixelColor(0, i).alpha(), 0);
      EXPECT_EQ(swatch.pixelColor(13, i).alpha(), 0);
      EXPECT_EQ(swatch.pixelColor(i, 13).alpha(), 0);
    }
    EXPECT_EQ(PixelAt(swatch, 1, 1), GetSysColor(16));
    EXPECT_EQ(PixelAt(swatch, 12, 12), GetSysColor(16));
    EXPECT_EQ(PixelAt(swatch, 2, 2), color);
    EXPECT_EQ(PixelAt(swatch, 11, 11), color);
  }
}

}  // namespace
}  // namespace quillet::test
