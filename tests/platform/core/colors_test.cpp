#include "platform/core/colors.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(Colors, SystemColorsResolveFromTheTheme) {
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clHighlight), 0xD77800);
  EXPECT_EQ(ColorToRGB(clHighlightText), clWhite);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0);
  EXPECT_EQ(ColorToRGB(clGrayText), 0x6D6D6D);
  // The highlight is a blue: blue in the high byte, as the platform stores colours.
  EXPECT_EQ(GetBValue(ColorToRGB(clHighlight)), 0xD7);
  EXPECT_EQ(GetRValue(ColorToRGB(clHighlight)), 0x00);
}

TEST(Colors, EveryKnownIndexIsAPlainColour) {
  for (int i = 0; i <= 30; ++i) {
    const TColor c = GetSysColor(i);
    EXPECT_FALSE(IsSystemColor(c)) << i;
    EXPECT_EQ(c & ~0xFFFFFF, 0) << i;
  }
}

TEST(Colors, OtherValuesPassThroughAndUnknownIndexesAreBlack) {
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(clDefault), clDefault);
  EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), 0x030201);
  EXPECT_EQ(ColorToRGB(SysColor(25)), clBlack);
  EXPECT_EQ(ColorToRGB(SysColor(200)), clBlack);
  EXPECT_EQ(GetSysColor(-1), clBlack);
  EXPECT_EQ(GetSysColor(31), clBlack);
}

}  // namespace
}  // namespace quillet
