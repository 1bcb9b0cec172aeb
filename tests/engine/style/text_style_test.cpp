#include "engine/style/text_style.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

using Mutator = std::function<void(TFontInfo&)>;

// Two default styles score:
//   size 10000 + vshift 1000 + scale 300 + spacing 1000 + colour 3000
//   + back colour (both clNone) 3*10000+50000 + bidi 10000 + name 10000
//   + four font styles 4*50000 + overline 50000 + all-caps 50000 + plain 50000
//   + two option bits 2*50000 + charset 50000 = 615300.
constexpr int32_t kDefaultScore = 615300;

TEST(TextStyleSimilarity, ScoresFollowTheWeights) {
  struct Case {
    const char* what;
    Mutator own, other;
    int32_t expected;
  };
  const Mutator none = [](TFontInfo&) {};
  auto jump = [](TFontInfo& f) { f.Jump = true; };
  const Case cases[] = {
      {"two defaults", none, none, kDefaultScore},
      // DV_CompareInts(12, 10, 10000) = (1 - 2/12) * 10000 = 8333.
      {"size 10 vs 12", none, [](TFontInfo& f) { f.Size = 12; }, kDefaultScore - 10000 + 8333},
      // Not symmetric: DV_CompareInts(10, 12, 10000) = 8000.
      {"size 12 vs 10", [](TFontInfo& f) { f.Size = 12; }, none, kDefaultScore - 10000 + 8000},
      {"DEFAULT vs GB2312", none, [](TFontInfo& f) { f.Charset = GB2312_CHARSET; },
       kDefaultScore - 50000 + 12500},
      {"GB2312 vs ANSI", [](TFontInfo& f) { f.Charset = GB2312_CHARSET; },
       [](TFontInfo& f) { f.Charset = ANSI_CHARSET; }, kDefaultScore - 50000},
      // Bold differs (-50000) and only one is plain (-50000).
      {"bold vs plain", [](TFontInfo& f) { f.Style = fsBold; }, none, kDefaultScore - 100000},
      {"all-caps vs plain", [](TFontInfo& f) { f.StyleEx = dvfsAllCaps; }, none, kDefaultScore - 100000},
      {"protection differs", none, [](TFontInfo& f) { f.Protection = dvprModifyProtect; },
       kDefaultScore - 100000},
      {"HTML code differs", none, [](TFontInfo& f) { f.Options = dvteoHTMLCode; }, kDefaultScore - 50000},
      {"bidi differs", none, [](TFontInfo& f) { f.BiDiMode = dvbdRightToLeft; }, kDefaultScore - 10000},
      {"name differs only in case", none, [](TFontInfo& f) { f.FontName = "ARIAL"; }, kDefaultScore},
      {"name differs", none, [](TFontInfo& f) { f.FontName = "Tahoma"; }, kDefaultScore - 10000},
      // Black vs 0x202020: 3000 - 3 * (32 * 3333 div 255) = 1746 instead of 3000.
      {"colour black vs dark grey", [](TFontInfo& f) { f.Color = clBlack; },
       [](TFontInfo& f) { f.Color = 0x202020; }, kDefaultScore - 3000 + 1746},
      {"one background clNone", none, [](TFontInfo& f) { f.BackColor = clWhite; }, kDefaultScore - 80000},
      // DV_CompareInts(50, 0, 1000) = 0; DV_CompareInts(0, 50, 1000) = -49000.
      {"vshift 0 vs 50", none, [](TFontInfo& f) { f.VShift = 50; }, kDefaultScore - 1000},
      {"vshift 50 vs 0", [](TFontInfo& f) { f.VShift = 50; }, none, kDefaultScore - 1000 - 49000},
      // Only one a jump: no hover terms.
      {"one jump", jump, none, kDefaultScore},
      // Both jumps: cursor 5000 + half of 3*3333+3000 = 6499 + half of 80000.
      {"two jumps", jump, jump, kDefaultScore + 5000 + 6499 + 40000},
      // Hover colours white vs black score -9999; the half rounds toward zero.
      {"two jumps, hover white vs black", [](TFontInfo& f) { f.Jump = true, f.HoverColor = clWhite; },
       [](TFontInfo& f) { f.Jump = true, f.HoverColor = clBlack; }, kDefaultScore + 5000 - 4999 + 40000},
      {"two jumps, other cursor", jump, [](TFontInfo& f) { f.Jump = true, f.JumpCursor = 5; },
       kDefaultScore + 6499 + 40000},
  };
  for (const Case& c : cases) {
    TFontInfo own, other;
    c.own(own);
    c.other(other);
    EXPECT_EQ(own.SimilarityValue(other), c.expected) << c.what;
  }
}

// One mutation per property identifier, for the IsEqual mask tests.
struct PropertyChange {
  TDVFontInfoProperty prop;
  Mutator change;
};

std::vector<PropertyChange> AllPropertyChanges() {
  return {
      {dvfiFontName, [](TFontInfo& f) { f.FontName = "Tahoma"; }},
      {dvfiSize, [](TFontInfo& f) { f.Size = 11; }},
      {dvfiCharset, [](TFontInfo& f) { f.Charset = GB2312_CHARSET; }},
      {dvfiUnicode, [](TFontInfo& f) { f.Unicode = true; }},
      {dvfiBold, [](TFontInfo& f) { f.Style |= fsBold; }},
      {dvfiItalic, [](TFontInfo& f) { f.Style |= fsItalic; }},
      {dvfiUnderline, [](TFontInfo& f) { f.Style |= fsUnderline; }},
      {dvfiStrikeout, [](TFontInfo& f) { f.Style |= fsStrikeOut; }},
      {dvfiOverline, [](TFontInfo& f) { f.StyleEx |= dvfsOverline; }},
      {dvfiAllCaps, [](TFontInfo& f) { f.StyleEx |= dvfsAllCaps; }},
      {dvfiVShift, [](TFontInfo& f) { f.VShift = 30; }},
      {dvfiColor, [](TFontInfo& f) { f.Color = clRed; }},
      {dvfiBackColor, [](TFontInfo& f) { f.BackColor = clYellow; }},
      {dvfiJump, [](TFontInfo& f) { f.Jump = !f.Jump; }},
      {dvfiHoverBackColor, [](TFontInfo& f) { f.HoverBackColor = clAqua; }},
      {dvfiHoverColor, [](TFontInfo& f) { f.HoverColor = clRed; }},
      {dvfiJumpCursor, [](TFontInfo& f) { f.JumpCursor = 7; }},
      {dvfiNextStyleNo, [](TFontInfo& f) { f.NextStyleNo = 3; }},
      {dvfiProtection, [](TFontInfo& f) { f.Protection = dvprSticking; }},
      {dvfiCharScale, [](TFontInfo& f) { f.CharScale = 90; }},
      {dvfiBaseStyleNo, [](TFontInfo& f) { f.BaseStyleNo = 2; }},
      {dvfiBiDiMode, [](TFontInfo& f) { f.BiDiMode = dvbdLeftToRight; }},
      {dvfiCharSpacing, [](TFontInfo& f) { f.CharSpacing = 2; }},
      {dvfiHTMLCode, [](TFontInfo& f) { f.Options |= dvteoHTMLCode; }},
      {dvfiRTFCode, [](TFontInfo& f) { f.Options |= dvteoRTFCode; }},
  };
}

TEST(TextStyleEquality, EachPropertyIsComparedUnlessIgnored) {
  const auto changes = AllPropertyChanges();
  ASSERT_EQ(changes.size(), 25u);
  for (const PropertyChange& c : changes) {
    // Hover properties only count for links, so compare two links.
    TFontInfo own, other;
    own.Jump = other.Jump = c.prop != dvfiJump;
    c.change(other);
    const TDVFontInfoProperties bit = DVFontInfoProp(c.prop);
    EXPECT_FALSE(own.IsEqual(other, 0)) << "property " << int(c.prop);
    EXPECT_TRUE(own.IsEqual(other, bit)) << "property " << int(c.prop);
    EXPECT_FALSE(own.IsEqual(other, DVAllFontInfoProperties & ~bit)) << "property " << int(c.prop);
    // IsSimpleEqual compares all but the base fields.
    EXPECT_EQ(own.IsSimpleEqual(other), c.prop == dvfiBaseStyleNo) << "property " << int(c.prop);
  }
}

TEST(TextStyleEquality, HoverPropertiesCountOnlyForLinks) {
  for (TDVFontInfoProperty prop : {dvfiHoverColor, dvfiHoverBackColor, dvfiJumpCursor}) {
    TFontInfo own, other;
    for (const PropertyChange& c : AllPropertyChanges())
      if (c.prop == prop) c.change(other);
    EXPECT_TRUE(own.IsEqual(other, 0)) << int(prop);
    EXPECT_TRUE(own.IsSimpleEqual(other)) << int(prop);
  }
}

TEST(TextStyleEquality, NamesAndStandardDoNotCount) {
  TFontInfo a, b;
  b.StyleName = "Other";
  b.Standard = false;
  EXPECT_TRUE(a.IsSimpleEqual(b));
  EXPECT_TRUE(a.IsEqual(b, 0));
}

TEST(TextStyleEquality, FontNamesIgnoreCaseOfSingleByteLettersOnly) {
  ASSERT_EQ(GetACP(), 936);
  EXPECT_TRUE(DV_SameFontName("Times New Roman", "TIMES new roman"));
  EXPECT_FALSE(DV_SameFontName("Arial", "Arial "));
  // Two different double-byte characters whose trail bytes differ only in
  // ASCII case ('a' and 'A').
  EXPECT_FALSE(DV_SameFontName("\x81\x61", "\x81\x41"));
  EXPECT_TRUE(DV_SameFontName("\xcb\xce\xcc\xe5", "\xcb\xce\xcc\xe5"));
}

TEST(TextStyle, AssignCopiesEverythingIncludingBaseFields) {
  TFontInfo source;
  for (const PropertyChange& c : AllPropertyChanges()) c.change(source);
  source.StyleName = "Quote";
  source.Standard = false;
  TFontInfo target;
  target.Assign(source);
  EXPECT_TRUE(target.IsEqual(source, 0));
  EXPECT_EQ(target.StyleName, "Quote");
  EXPECT_FALSE(target.Standard);
}

TEST(TextStyle, PlatformFontRoundTripKeepsCharsetOutOfUnicodeStyles) {
  TFont font;
  font.Name = "Tahoma";
  font.SetSize(12);
  font.Color = clRed;
  font.Style = fsBold | fsItalic;
  font.Charset = GB2312_CHARSET;
  TFontInfo f;
  f.Assign(font);
  EXPECT_EQ(f.FontName, "Tahoma");
  EXPECT_EQ(f.Size, 12);
  EXPECT_EQ(f.Color, clRed);
  EXPECT_EQ(f.Style, fsBold | fsItalic);
  EXPECT_EQ(f.Charset, GB2312_CHARSET);

  TFont out;
  out.Charset = ANSI_CHARSET;
  f.Unicode = true;
  f.AssignTo(out);
  EXPECT_EQ(out.Name, "Tahoma");
  EXPECT_EQ(out.GetSize(), 12);
  EXPECT_EQ(out.Charset, ANSI_CHARSET);
  f.Unicode = false;
  f.AssignTo(out);
  EXPECT_EQ(out.Charset, GB2312_CHARSET);
}

TEST(TextStyle, LogFontUsesCollectionResolutionElseCanvas) {
  TFontInfos infos(nullptr);
  TFontInfo& f = infos.Add();
  f.Size = 10;
  f.Style = fsBold | fsUnderline;
  f.Charset = GB2312_CHARSET;
  TRecordingCanvas canvas(120);
  TLogFont lf;
  lf.lfWidth = 99;
  f.AssignToLogFont(lf, canvas);
  EXPECT_EQ(lf.lfHeight, -17);  // MulDiv(10, 120, 72) = 16.67
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_FALSE(lf.lfItalic);
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  EXPECT_EQ(lf.lfFaceName, "Arial");
  infos.PixelsPerInch = 600;
  f.AssignToLogFont(lf, canvas);
  EXPECT_EQ(lf.lfHeight, -83);  // 83.33
}

TEST(TextStyle, LegacySingleSymbolsAddsTwoProtections) {
  TFontInfo f;
  f.ReadLegacySingleSymbols(false);
  EXPECT_EQ(f.Protection, 0);
  f.Protection = dvprDeleteProtect;
  f.ReadLegacySingleSymbols(true);
  EXPECT_EQ(f.Protection, dvprDeleteProtect | dvprStyleProtect | dvprDoNotAutoSwitch);
}

// ---------------------------------------------------------------- searches

class TextStyleSearch : public ::testing::Test {
 protected:
  TextStyleSearch() {
    for (int i = 0; i < 4; ++i) infos.Add();
  }
  TFontInfos infos{nullptr};
};

TEST_F(TextStyleSearch, FindSuchStyleTriesBaseFirstThenFromZero) {
  infos[1].Size = 20;
  infos[3].Size = 20;
  TFontInfo sample;
  sample.Size = 20;
  sample.Color = clRed;  // outside the mask
  EXPECT_EQ(infos.FindSuchStyle(3, sample, DVFontInfoProp(dvfiSize)), 3);
  EXPECT_EQ(infos.FindSuchStyle(0, sample, DVFontInfoProp(dvfiSize)), 1);
  EXPECT_EQ(infos.FindSuchStyle(0, sample, DVFontInfoProp(dvfiSize) | DVFontInfoProp(dvfiColor)), -1);
  // With nothing to compare every style matches: the base wins.
  EXPECT_EQ(infos.FindSuchStyle(2, sample, 0), 2);
  // An invalid base is skipped.
  EXPECT_EQ(infos.FindSuchStyle(-1, sample, 0), 0);
  EXPECT_EQ(infos.FindSuchStyle(9, sample, DVFontInfoProp(dvfiSize)), 1);
}

TEST_F(TextStyleSearch, FindStyleWithColorNeedsAllElseEqual) {
  infos[2].Color = clRed;
  infos[2].BackColor = clYellow;
  infos[1].Color = clRed;
  infos[1].BackColor = clYellow;
  infos[1].Size = 11;  // differs in more than the colours
  EXPECT_EQ(infos.FindStyleWithColor(0, clWindowText, clNone), 0);
  EXPECT_EQ(infos.FindStyleWithColor(0, clRed, clYellow), 2);
  EXPECT_EQ(infos.FindStyleWithColor(0, clRed, clNone), -1);
  EXPECT_EQ(infos.FindStyleWithColor(1, clWindowText, clNone), -1);
  EXPECT_EQ(infos.FindStyleWithColor(7, clRed, clYellow), -1);
}

TEST_F(TextStyleSearch, FindStyleWithCharsetNeverReturnsUnicode) {
  infos[1].Charset = GB2312_CHARSET;
  infos[1].Unicode = true;
  EXPECT_EQ(infos.FindStyleWithCharset(0, GB2312_CHARSET), -1);
  infos[3].Charset = GB2312_CHARSET;
  EXPECT_EQ(infos.FindStyleWithCharset(0, GB2312_CHARSET), 3);
  // A Unicode base is not returned even with the charset; its 8-bit twin is.
  EXPECT_EQ(infos.FindStyleWithCharset(1, GB2312_CHARSET), 3);
  EXPECT_EQ(infos.FindStyleWithCharset(3, GB2312_CHARSET), 3);
  EXPECT_EQ(infos.FindStyleWithCharset(3, DEFAULT_CHARSET), 0);
}

// ------------------------------------------------------------ apply, colour

TEST(TextStyleApply, SelectsFontWithoutScaling) {
  TFontInfos infos(nullptr);
  TFontInfo& f = infos.Add();
  f.FontName = "Tahoma";
  f.Size = 10;
  f.Style = fsItalic;
  f.Charset = GB2312_CHARSET;
  TRecordingCanvas canvas;
  canvas.Font().Width = 9;  // left by a scaled style
  f.Apply(canvas, dvbdUnspecified);
  EXPECT_EQ(canvas.Font().Name, "Tahoma");
  EXPECT_EQ(canvas.Font().Height, -13);
  EXPECT_EQ(canvas.Font().Width, 0);
  EXPECT_EQ(canvas.Font().Style, fsItalic);
  EXPECT_EQ(canvas.Font().Charset, GB2312_CHARSET);
  infos.PixelsPerInch = 300;
  f.Apply(canvas, dvbdUnspecified);
  EXPECT_EQ(canvas.Font().Height, -42);  // MulDiv(10, 300, 72) = 41.67
}

TEST(TextStyleApply, ScaledStyleStretchesTheAverageWidth) {
  TFontInfo f;
  f.CharScale = 150;
  TRecordingCanvas canvas;
  f.Apply(canvas, dvbdUnspecified);
  // Height 13 on the recording canvas: average width 6, scaled to 9.
  EXPECT_EQ(canvas.Font().Height, -13);
  EXPECT_EQ(canvas.Font().Width, 9);
}

TEST(TextStyleApply, BiDiModeDecidesSpacingAndAlignment) {
  struct Case {
    TDVBiDiMode own, def;
    int32_t extra;
    uint32_t align;
  };
  const uint32_t before = TA_CENTER;
  const Case cases[] = {
      {dvbdLeftToRight, dvbdRightToLeft, 3, TA_LEFT | TA_TOP},
      {dvbdRightToLeft, dvbdLeftToRight, 0, TA_RTLREADING},
      {dvbdUnspecified, dvbdRightToLeft, 0, TA_RTLREADING},
      {dvbdUnspecified, dvbdLeftToRight, 3, TA_LEFT | TA_TOP},
      {dvbdUnspecified, dvbdUnspecified, 3, before},
  };
  for (const Case& c : cases) {
    TFontInfo f;
    f.CharSpacing = 3;
    f.BiDiMode = c.own;
    TRecordingCanvas canvas;
    canvas.SetTextAlign(before);
    canvas.SetTextCharacterExtra(7);
    f.Apply(canvas, c.def);
    EXPECT_EQ(canvas.GetTextCharacterExtra(), c.extra) << c.own << "/" << c.def;
    EXPECT_EQ(canvas.GetTextAlign(), c.align) << c.own << "/" << c.def;
  }
}

TEST(TextStyleApply, ColoursByDrawState) {
  TDVStyle sheet;
  sheet.SelColor = 0x111111;
  sheet.SelTextColor = 0x222222;
  sheet.InactiveSelColor = 0x333333;
  sheet.InactiveSelTextColor = 0x444444;
  struct Case {
    const char* what;
    Mutator style;
    TColor sheetHover, sheetSelText;
    TDVTextDrawStates state;
    TColor font, brush;
    TBrushStyle brushStyle;
  };
  const Mutator plain = [](TFontInfo&) {};
  auto backed = [](TFontInfo& f) { f.Color = clRed, f.BackColor = clYellow; };
  const Case cases[] = {
      {"normal", backed, clNone, 0x222222, 0, clRed, clYellow, bsSolid},
      {"normal, no background", plain, clNone, 0x222222, 0, clWindowText, clNone, bsClear},
      {"selected, focused", backed, clNone, 0x222222, dvtsSelected | dvtsControlFocused, 0x222222, 0x111111,
       bsSolid},
      {"selected, not focused", backed, clNone, 0x222222, dvtsSelected, 0x444444, 0x333333, bsSolid},
      {"selected, no selection text colour", backed, clNone, clNone, dvtsSelected | dvtsControlFocused, clRed,
       0x111111, bsSolid},
      {"hover, own colours", [](TFontInfo& f) { f.HoverColor = clBlue, f.HoverBackColor = clAqua; }, clLime,
       0x222222, dvtsHover, clBlue, clAqua, bsSolid},
      {"hover, sheet colour", plain, clLime, 0x222222, dvtsHover, clLime, clNone, bsClear},
      {"hover, no hover colour", backed, clNone, 0x222222, dvtsHover, clRed, clNone, bsClear},
      {"selected wins over hover", backed, clLime, 0x222222, dvtsSelected | dvtsHover | dvtsControlFocused,
       0x222222, 0x111111, bsSolid},
  };
  for (const Case& c : cases) {
    TFontInfo f;
    c.style(f);
    sheet.HoverColor = c.sheetHover;
    sheet.SelTextColor = c.sheetSelText;
    TRecordingCanvas canvas;
    f.ApplyColor(canvas, sheet, c.state, false);
    EXPECT_EQ(canvas.Font().Color, c.font) << c.what;
    EXPECT_EQ(canvas.Brush().Color, c.brush) << c.what;
    EXPECT_EQ(canvas.Brush().Style, c.brushStyle) << c.what;
  }
}

// ------------------------------------------------------------------- drawing

class TextStyleDraw : public ::testing::Test {
 protected:
  // Style 0 of the sheet, applied with its colours to a fresh canvas.
  TFontInfo& Prepare(const Mutator& m, TDVTextDrawStates state = 0) {
    TFontInfo& f = sheet.TextStyles()[0];
    m(f);
    sheet.ApplyStyle(canvas, 0, dvbdUnspecified);
    sheet.ApplyStyleColor(canvas, 0, state, false);
    return f;
  }
  TDVStyle sheet;
  TRecordingCanvas canvas;
};

TEST_F(TextStyleDraw, GapIsPaintedAndUnderlineContinuedOnScreen) {
  const TFontInfo& f = Prepare([](TFontInfo& s) { s.Style = fsUnderline, s.BackColor = clYellow; });
  f.Draw("ab", canvas, 0, 5, 10, 20, 17, 16, sheet, 0, false, false);
  // Height 13: ascent 10, underline 1 below the baseline, 1 thick.
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Text 15,20 \"ab\"", "FillRect 10,20,15,36",
                                                        "Line 10,31-16,31"}));
  const auto lines = canvas.OfKind(TCanvasOp::Line);
  EXPECT_EQ(lines[0].Pen.Color, clWindowText);
  EXPECT_EQ(lines[0].Pen.Width, 1);
  EXPECT_EQ(canvas.OfKind(TCanvasOp::FillRect)[0].Brush.Color, clYellow);
  EXPECT_EQ(canvas.Brush().Style, bsClear);
}

TEST_F(TextStyleDraw, NoGapNoUnderlineContinuation) {
  const TFontInfo& f = Prepare([](TFontInfo& s) { s.Style = fsUnderline, s.BackColor = clYellow; });
  f.Draw("ab", canvas, 0, 0, 10, 20, 12, 16, sheet, 0, false, false);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Text 10,20 \"ab\""}));
}

TEST_F(TextStyleDraw, OverlineAlongTheTop) {
  const TFontInfo& f = Prepare([](TFontInfo& s) { s.StyleEx = dvfsOverline, s.Color = clRed; });
  f.Draw("ab", canvas, 0, 0, 10, 20, 12, 16, sheet, 0, false, false);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Text 10,20 \"ab\"", "Line 10,20-22,20"}));
  EXPECT_EQ(canvas.OfKind(TCanvasOp::Line)[0].Pen.Color, clRed);
}

TEST_F(TextStyleDraw, SelectedEmptyPieceTakesUnselectedColoursForTheGap) {
  // A selected gap before text is painted in the selection colour ...
  const TFontInfo& f = Prepare([](TFontInfo&) {}, dvtsSelected | dvtsControlFocused);
  f.Draw("a", canvas, 0, 4, 10, 20, 10, 16, sheet, dvtsSelected | dvtsControlFocused, false, false);
  ASSERT_EQ(canvas.OfKind(TCanvasOp::FillRect).size(), 1u);
  EXPECT_EQ(canvas.OfKind(TCanvasOp::FillRect)[0].Brush.Color, clHighlight);
  // ... but an empty selected piece's gap takes the style's own (clear) background.
  canvas.ClearLog();
  sheet.ApplyStyleColor(canvas, 0, dvtsSelected | dvtsControlFocused, false);
  f.Draw("", canvas, 0, 4, 10, 20, 4, 16, sheet, dvtsSelected | dvtsControlFocused, false, false);
  EXPECT_TRUE(canvas.OfKind(TCanvasOp::FillRect).empty());
}

TEST_F(TextStyleDraw, PrintingFillsTheRectangleWithoutOutline) {
  const TFontInfo& f = Prepare([](TFontInfo& s) { s.BackColor = clYellow; });
  f.Draw("ab", canvas, 0, 5, 10, 20, 17, 16, sheet, 0, true, false);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Rectangle 10,20,27,36", "Text 15,20 \"ab\""}));
  EXPECT_EQ(canvas.OfKind(TCanvasOp::Rectangle)[0].Pen.Style, psClear);
  EXPECT_EQ(canvas.OfKind(TCanvasOp::Text)[0].Brush.Style, bsClear);
}

TEST_F(TextStyleDraw, PrintingWithCharacterExtraPlacesCharactersExplicitly) {
  const TFontInfo& f = Prepare([](TFontInfo& s) { s.CharSpacing = 2, s.Charset = GB2312_CHARSET; });
  ASSERT_EQ(canvas.GetTextCharacterExtra(), 2);
  // "a", a double-byte character, "b": half width 6, full width 13.
  f.Draw("a\xd6\xd0" "b", canvas, 0, 0, 10, 20, 40, 16, sheet, 0, true, false);
  const auto texts = canvas.OfKind(TCanvasOp::TextWithAdvances);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Advances, (std::vector<int32_t>{8, 15, 0, 8}));
  EXPECT_EQ(texts[0].CharExtra, 0);
  EXPECT_EQ(canvas.GetTextCharacterExtra(), 2);
  EXPECT_TRUE(canvas.OfKind(TCanvasOp::Text).empty());
}

TEST_F(TextStyleDraw, PrintingWithCharacterExtraCountsASurrogatePairOnce) {
  const TFontInfo& f = Prepare([](TFontInfo& s) { s.CharSpacing = 2, s.Unicode = true; });
  // "a", then U+20000 as a surrogate pair: one full-width character of 13.
  const std::string units("a\0\x40\xd8\x00\xdc", 6);
  f.Draw(units, canvas, 0, 0, 10, 20, 40, 16, sheet, 0, true, false);
  const auto texts = canvas.OfKind(TCanvasOp::TextWithAdvancesW);
  ASSERT_EQ(texts.size(), 1u);
  int32_t total = 0;
  for (int32_t a : texts[0].Advances) total += a;
  EXPECT_EQ(total, 6 + 2 + 13 + 2);
}

TEST_F(TextStyleDraw, UnicodeStyleDrawsUtf16Units) {
  const TFontInfo& f = Prepare([](TFontInfo& s) { s.Unicode = true; });
  const std::string units("a\0\x2d\x4e", 4);  // "a", U+4E2D
  f.Draw(units, canvas, 0, 0, 10, 20, 20, 16, sheet, 0, false, false);
  const auto texts = canvas.OfKind(TCanvasOp::TextW);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Raw, units);
}

// ------------------------------------------------------- displayed capitals

TEST(TextStyleCapitals, OnlyAllCapsStylesChangeAndDoubleBytesStayWhole) {
  TFontInfo f;
  f.Charset = GB2312_CHARSET;
  // The second character's trail byte is 'a'.
  const std::string text = "ab\x81" "a\xd6\xd0z1";
  EXPECT_EQ(DV_ReturnCapitalized(text, f), text);
  f.StyleEx = dvfsAllCaps;
  EXPECT_EQ(DV_ReturnCapitalized(text, f), "AB\x81" "a\xd6\xd0Z1");
}

TEST(TextStyleCapitals, UnicodeUnitsAreUpperCased) {
  TFontInfo f;
  f.Unicode = true;
  f.StyleEx = dvfsAllCaps;
  // a, e-acute, U+4E2D, full-width a, Cyrillic a.
  const std::u16string in = u"a\u00e9\u4e2d\uff41\u0430";
  const std::u16string expected = u"A\u00c9\u4e2d\uff21\u0410";
  auto bytes = [](const std::u16string& u) {
    std::string s;
    for (char16_t c : u) s += static_cast<char>(c & 0xFF), s += static_cast<char>(c >> 8);
    return s;
  };
  EXPECT_EQ(DV_ReturnCapitalized(bytes(in), f), bytes(expected));
}

// Every character keeps its length, so offsets into the displayed text are
// offsets into the stored text.
TEST(TextStyleCapitals, EightBitTextInItsOwnCodePage) {
  struct Case {
    const char* what;
    uint8_t charset;
    std::string in, out;
  } cases[] = {
      {"Latin letters of 1252", ANSI_CHARSET, "caf\xE9 \xFF", "CAF\xC9 \x9F"},
      {"an upper case the code page lacks", ANSI_CHARSET, "\xB5", "\xB5"},  // micro sign
      {"Cyrillic", RUSSIAN_CHARSET, "\xEF\xF0\xE8", "\xCF\xD0\xC8"},
      {"full-width and Greek letters of 936", GB2312_CHARSET, "\xA3\xE1\xA6\xC1", "\xA3\xC1\xA6\xA1"},
      {"a lead byte without its trail", GB2312_CHARSET, "\xD6" "1a\xD6", "\xD6" "1A\xD6"},
      {"ideographs stay", GB2312_CHARSET, "\xD6\xD0x", "\xD6\xD0X"},
  };
  TFontInfo f;
  f.StyleEx = dvfsAllCaps;
  for (const auto& c : cases) {
    f.Charset = c.charset;
    EXPECT_EQ(DV_ReturnCapitalized(c.in, f), c.out) << c.what;
  }
}

TEST(TextStyleCapitals, UnicodeUnitsMapOneToOne) {
  auto bytes = [](const std::u16string& u) {
    std::string s;
    for (char16_t c : u) s += static_cast<char>(c & 0xFF), s += static_cast<char>(c >> 8);
    return s;
  };
  struct Case {
    const char* what;
    std::string in, out;
  } cases[] = {
      {"Latin Extended", bytes(u"\u0101\u017F\u01C6"), bytes(u"\u0100S\u01C4")},
      {"Armenian; Georgian keeps its form", bytes(u"\u0561\u10D0"), bytes(u"\u0531\u10D0")},
      {"sharp s has no single upper case", bytes(u"\u00DF"), bytes(u"\u00DF")},
      {"surrogate pairs stay whole", bytes(u"\U00010428a"), bytes(u"\U00010428A")},
      {"an odd last byte stays", bytes(u"a") + "b", bytes(u"A") + "b"},
  };
  TFontInfo f;
  f.Unicode = true;
  f.StyleEx = dvfsAllCaps;
  for (const auto& c : cases) EXPECT_EQ(DV_ReturnCapitalized(c.in, f), c.out) << c.what;
}

}  // namespace
}  // namespace quillet
