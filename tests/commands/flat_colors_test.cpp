// The colour rules of flat painting and the working colours they give at
// each colour depth.
#include "commands/flat/flat_colors.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

TEST(FlatColors, Rules) {
  struct Case {
    const char* what;
    TColor got, want;
  } cases[] = {
      {"new: button face 86", NewColor(clBtnFace, 86), RGB(253, 253, 253)},
      {"new: highlight 68", NewColor(clHighlight, 68), RGB(173, 212, 242)},
      {"new: 9.5 rounds to even 10", NewColor(clBtnShadow, 10), RGB(170, 170, 170)},
      {"new: 127.5 rounds to even 128", NewColor(clBlack, 50), RGB(128, 128, 128)},
      {"new: 0.5 rounds to even 0, 1.5 to 2", NewColor(RGB(245, 225, 245), 5), RGB(245, 227, 245)},
      {"new: over 100 is white", NewColor(clBlack, 150), clWhite},
      {"new: 0 keeps the colour", NewColor(RGB(1, 2, 3), 0), RGB(1, 2, 3)},
      {"shade: green 2 less dark", GetShadeColor(clBtnFace, 90), RGB(150, 152, 150)},
      {"shade: clamped at 0", GetShadeColor(RGB(5, 5, 5), 10), RGB(0, 0, 0)},
      {"shade: negative lightens", GetShadeColor(RGB(100, 100, 100), -40), RGB(140, 142, 140)},
      {"shade: clamped at 255", GetShadeColor(clWhite, -40), clWhite},
      {"gray: mean lifted", GrayColor(RGB(10, 20, 30), 10), RGB(30, 30, 30)},
      {"gray: at most 240", GrayColor(clWhite, 10), RGB(240, 240, 240)},
      {"top font: dark below both limits", TopMenuFontColor(RGB(150, 200, 150), clBlack),
       NewColor(RGB(150, 200, 150), 90)},
      {"top font: red and blue at 151", TopMenuFontColor(RGB(152, 200, 150), clBlack), clBlack},
      {"top font: green at 201", TopMenuFontColor(RGB(0, 201, 0), clBlack), clBlack},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(FlatColors, SchemeAtEachDepth) {
  const TColor face = clBtnFace, hl = clHighlight, shadow = clBtnShadow;
  struct Case {
    const char* what;
    int bits;
    bool system, dim;
    TFlatScheme want;
  };
  auto scheme = [](TColor f, TColor icon, TColor sel, TColor border, TColor font, TColor bar, TColor dis, TColor sep,
                   TColor checked, TColor area, TColor areaSel, TColor frame, TColor shade) {
    TFlatScheme s;
    s.FColor = f, s.IconBackColor = icon, s.SelectColor = sel, s.SelectBorderColor = border, s.SelectFontColor = font;
    s.MenuBarColor = bar, s.DisabledColor = dis, s.SeparatorColor = sep, s.CheckedColor = checked;
    s.CheckedAreaColor = area, s.CheckedAreaSelectColor = areaSel, s.MenuBorderColor = frame, s.MenuShadowColor = shade;
    return s;
  };
  const TFlatScheme system32 = scheme(NewColor(face, 86), NewColor(face, 16), NewColor(hl, 68), hl, clNavy, face,
                                      NewColor(shadow, 10), NewColor(shadow, 25), hl, NewColor(hl, 80),
                                      NewColor(hl, 50), GetShadeColor(face, 90), GetShadeColor(face, 76));
  const TFlatScheme system8 = scheme(clWhite, face, clWhite, hl, clNavy, face, shadow, shadow, hl, clWhite, clWhite,
                                     shadow, shadow);
  // The properties below are all different, so each working colour shows
  // which one it came from.
  const TFlatScheme own16 = scheme(clRed, clLime, clBlue, clYellow, clTeal, clAqua, clMaroon, clOlive, clPurple,
                                   clBlue, clBlue, GetShadeColor(face, 90), GetShadeColor(face, 76));
  const TFlatScheme dim16 = scheme(clRed, clLime, NewColor(clBlue, 68), clYellow, clTeal, clAqua, clMaroon, clOlive,
                                   clPurple, NewColor(clBlue, 80), NewColor(clBlue, 50), GetShadeColor(face, 90),
                                   GetShadeColor(face, 76));
  const TFlatScheme own8 = scheme(clRed, clLime, clBlue, clYellow, clTeal, clAqua, clMaroon, clOlive, clPurple, clWhite,
                                  clSilver, shadow, shadow);
  const Case cases[] = {
      {"system colours, 32 bits", 32, true, false, system32},
      {"system colours, 16 bits", 16, true, true, system32},
      {"system colours, 8 bits", 8, true, false, system8},
      {"own colours, 16 bits", 16, false, false, own16},
      {"own colours dimmed, 32 bits", 32, false, true, dim16},
      {"own colours, 8 bits: no dimming", 8, false, true, own8},
  };
  TFlatColors k;
  k.Color = clRed, k.IconBackColor = clLime, k.SelectColor = clBlue, k.SelectBorderColor = clYellow;
  k.SelectFontColor = clTeal, k.MenuBarColor = clAqua, k.DisabledColor = clMaroon, k.SeparatorColor = clOlive;
  k.CheckedColor = clPurple, k.FontColor = clNavy;
  for (const Case& c : cases) {
    k.UseSystemColors = c.system;
    k.UseDimColor = c.dim;
    TFlatScheme s;
    SetGlobalColor(s, k, c.bits);
    const TFlatScheme& w = c.want;
    EXPECT_EQ(s.Is16Bit, c.bits >= 16) << c.what;
    EXPECT_EQ(s.FColor, w.FColor) << c.what;
    EXPECT_EQ(s.IconBackColor, w.IconBackColor) << c.what;
    EXPECT_EQ(s.SelectColor, w.SelectColor) << c.what;
    EXPECT_EQ(s.SelectBorderColor, w.SelectBorderColor) << c.what;
    EXPECT_EQ(s.SelectFontColor, w.SelectFontColor) << c.what;
    EXPECT_EQ(s.MenuBarColor, w.MenuBarColor) << c.what;
    EXPECT_EQ(s.DisabledColor, w.DisabledColor) << c.what;
    EXPECT_EQ(s.SeparatorColor, w.SeparatorColor) << c.what;
    EXPECT_EQ(s.CheckedColor, w.CheckedColor) << c.what;
    EXPECT_EQ(s.CheckedAreaColor, w.CheckedAreaColor) << c.what;
    EXPECT_EQ(s.CheckedAreaSelectColor, w.CheckedAreaSelectColor) << c.what;
    EXPECT_EQ(s.MenuBorderColor, w.MenuBorderColor) << c.what;
    EXPECT_EQ(s.MenuShadowColor, w.MenuShadowColor) << c.what;
    EXPECT_EQ(s.DimParentColor, 16) << c.what;
    EXPECT_EQ(s.DimParentColorSelect, 40) << c.what;
  }
}

}  // namespace
}  // namespace quillet::test
