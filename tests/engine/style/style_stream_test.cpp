#include "engine/style/style_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/style/style_sheet.h"
#include "platform/core/property_stream.h"
#include "platform/gfx/graphic.h"

namespace quillet {
namespace {

// Bytes from pieces: a short string is its length byte and its characters.
std::vector<uint8_t> Bytes(std::initializer_list<std::string> pieces) {
  std::vector<uint8_t> out;
  for (const std::string& p : pieces) out.insert(out.end(), p.begin(), p.end());
  return out;
}
std::string S(std::string_view s) { return std::string(1, static_cast<char>(s.size())) + std::string(s); }
std::string B(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

// The properties stored for each style of a saved collection.
std::vector<TPropList> StoredItems(const std::vector<uint8_t>& bytes) {
  TPropReader reader(bytes);
  TPropValue value = ReadValue(reader);
  EXPECT_EQ(value.kind, TPropKind::Collection);
  EXPECT_TRUE(reader.AtEnd());
  return value.items;
}

std::vector<std::string> Names(const TPropList& props) {
  std::vector<std::string> names;
  for (const auto& p : props) names.push_back(p.name);
  return names;
}

void ExpectSameText(const TFontInfo& a, const TFontInfo& b) {
  EXPECT_TRUE(a.IsEqual(b, 0));  // every property and BaseStyleNo
  EXPECT_EQ(a.StyleName, b.StyleName);
  EXPECT_EQ(a.Standard, b.Standard);
  EXPECT_EQ(a.FontName, b.FontName);  // IsEqual ignores its case
}

void ExpectSamePara(const TParaInfo& a, const TParaInfo& b) {
  EXPECT_TRUE(a.IsSimpleEqual(b));
  EXPECT_EQ(a.BaseStyleNo, b.BaseStyleNo);
  EXPECT_EQ(a.StyleName, b.StyleName);
  EXPECT_EQ(a.Standard, b.Standard);
}

// ------------------------------------------------------------ text styles

struct TTextCase {
  const char* property;  // the one property the change stores
  std::function<void(TFontInfo&)> change;
};

class TextStyleProperty : public ::testing::TestWithParam<TTextCase> {};

// Each property on its own: only it is stored besides the two strings, under
// its name, and it reads back.
TEST_P(TextStyleProperty, StoredAloneAndReadBack) {
  TFontInfos styles(nullptr);
  styles.Add();  // style 0, so that references to it are valid
  TFontInfo& style = styles.Add();
  GetParam().change(style);
  const std::vector<uint8_t> bytes = SaveStyleCollection(styles);
  const std::vector<TPropList> items = StoredItems(bytes);
  ASSERT_EQ(items.size(), 2u);
  // In table order: BaseStyleNo, StyleName, Standard, Charset, FontName, the rest.
  std::vector<std::string> expected = {"StyleName", "FontName"};
  const std::string property = GetParam().property;
  if (property == "BaseStyleNo")
    expected.insert(expected.begin(), property);
  else if (property == "Standard" || property == "Charset")
    expected.insert(expected.begin() + 1, property);
  else if (property != "StyleName" && property != "FontName")
    expected.push_back(property);
  EXPECT_EQ(Names(items[1]), expected);

  TFontInfos loaded(nullptr);
  LoadStyleCollection(bytes, loaded);
  ASSERT_EQ(loaded.Count(), 2);
  ExpectSameText(loaded[1], style);
  EXPECT_EQ(SaveStyleCollection(loaded), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Each, TextStyleProperty,
    ::testing::Values(TTextCase{"BaseStyleNo", [](TFontInfo& s) { s.BaseStyleNo = 0; }},
                      TTextCase{"StyleName", [](TFontInfo& s) { s.StyleName = "Heading"; }},
                      TTextCase{"Standard", [](TFontInfo& s) { s.Standard = false; }},
                      TTextCase{"Charset", [](TFontInfo& s) { s.Charset = GB2312_CHARSET; }},
                      TTextCase{"FontName", [](TFontInfo& s) { s.FontName = "\xCB\xCE\xCC\xE5"; }},
                      TTextCase{"Size", [](TFontInfo& s) { s.Size = 36; }},
                      TTextCase{"Style", [](TFontInfo& s) { s.Style = fsBold | fsStrikeOut; }},
                      TTextCase{"VShift", [](TFontInfo& s) { s.VShift = -33; }},
                      TTextCase{"Color", [](TFontInfo& s) { s.Color = 0x123456; }},
                      TTextCase{"BackColor", [](TFontInfo& s) { s.BackColor = clYellow; }},
                      TTextCase{"HoverBackColor", [](TFontInfo& s) { s.HoverBackColor = clAqua; }},
                      TTextCase{"HoverColor", [](TFontInfo& s) { s.HoverColor = clRed; }},
                      TTextCase{"StyleEx", [](TFontInfo& s) { s.StyleEx = dvfsOverline | dvfsAllCaps; }},
                      TTextCase{"Jump", [](TFontInfo& s) { s.Jump = true; }},
                      TTextCase{"JumpCursor", [](TFontInfo& s) { s.JumpCursor = -21; }},
                      TTextCase{"CharScale", [](TFontInfo& s) { s.CharScale = 150; }},
                      TTextCase{"CharSpacing", [](TFontInfo& s) { s.CharSpacing = 2; }},
                      TTextCase{"NextStyleNo", [](TFontInfo& s) { s.NextStyleNo = 0; }},
                      TTextCase{"BiDiMode", [](TFontInfo& s) { s.BiDiMode = dvbdRightToLeft; }},
                      TTextCase{"Unicode", [](TFontInfo& s) { s.Unicode = true; }},
                      TTextCase{"Protection", [](TFontInfo& s) { s.Protection = dvprModifyProtect | dvprSticking; }},
                      TTextCase{"Options", [](TFontInfo& s) { s.Options = dvteoRTFCode; }}),
    [](const auto& info) { return std::string(info.param.property); });

// Written out by hand from the value tags and property rules: names first,
// the smallest integer form, colours and charsets by name when they have one.
TEST(TextStyleStream, ExactBytesOfASmallCollection) {
  TFontInfos styles(nullptr);
  TFontInfo& normal = styles.Add();
  normal.StyleName = "Normal text";
  normal.Charset = GB2312_CHARSET;
  normal.Size = 12;
  normal.Style = fsBold;
  normal.Color = clBlue;
  TFontInfo& link = styles.Add();
  link.VShift = -5;
  link.BackColor = 0x123456;
  link.Jump = true;
  link.CharScale = 200;
  // clang-format off
  const std::vector<uint8_t> expected = Bytes({
      B({14, 1}),
      S("StyleName"), B({6}), S("Normal text"),
      S("Charset"), B({7}), S("GB2312_CHARSET"),
      S("FontName"), B({6}), S("Arial"),
      S("Size"), B({2, 12}),
      S("Style"), B({11}), S("fsBold"), B({0}),
      S("Color"), B({7}), S("clBlue"),
      B({0, 1}),
      S("StyleName"), B({6}), S("Font Style"),
      S("FontName"), B({6}), S("Arial"),
      S("VShift"), B({2, 0xFB}),
      S("BackColor"), B({4, 0x56, 0x34, 0x12, 0}),
      S("Jump"), B({9}),
      S("CharScale"), B({3, 0xC8, 0}),
      B({0, 0}),
  });
  // clang-format on
  EXPECT_EQ(SaveStyleCollection(styles), expected);
}

TEST(StyleStream, DefaultStylesStoreOnlyTheirStrings) {
  TFontInfos text(nullptr);
  text.Add();
  TParaInfos para(nullptr);
  para.Add();
  TDVListInfos lists(nullptr);
  lists.Add().Levels().Add();
  EXPECT_EQ(Names(StoredItems(SaveStyleCollection(text))[0]), (std::vector<std::string>{"StyleName", "FontName"}));
  EXPECT_EQ(Names(StoredItems(SaveStyleCollection(para))[0]), (std::vector<std::string>{"StyleName"}));
  const TPropList list = StoredItems(SaveStyleCollection(lists))[0];
  EXPECT_EQ(Names(list), (std::vector<std::string>{"StyleName", "Levels"}));
  ASSERT_EQ(list[1].value.items.size(), 1u);
  EXPECT_EQ(Names(list[1].value.items[0]), (std::vector<std::string>{"FormatString"}));
  EXPECT_EQ(list[1].value.items[0][0].value, TPropValue::String("\xB7"));
}

// An empty string would otherwise read back as the non-empty start value.
TEST(StyleStream, EmptyStringsSurvive) {
  TFontInfos text(nullptr);
  TFontInfo& s = text.Add();
  s.StyleName.clear();
  s.FontName.clear();
  TDVListInfos lists(nullptr);
  lists.Add().Levels().Add().FormatString.clear();
  TFontInfos textBack(nullptr);
  LoadStyleCollection(SaveStyleCollection(text), textBack);
  EXPECT_EQ(textBack[0].StyleName, "");
  EXPECT_EQ(textBack[0].FontName, "");
  TDVListInfos listsBack(nullptr);
  LoadStyleCollection(SaveStyleCollection(lists), listsBack);
  EXPECT_EQ(listsBack[0].Levels()[0].FormatString, "");
}

// A value set through the fields that has no name cannot be stored.
TEST(StyleStream, EnumerationValueWithoutANameIsAWriteError) {
  TDVListInfos styles(nullptr);
  styles.Add().Levels().Add().ListType = static_cast<TDVListType>(20);
  EXPECT_THROW(SaveStyleCollection(styles), EWriteError);
}

// ------------------------------------------------------- paragraph styles

struct TParaCase {
  const char* property;
  std::function<void(TParaInfo&)> change;
};

class ParaStyleProperty : public ::testing::TestWithParam<TParaCase> {};

TEST_P(ParaStyleProperty, StoredAloneAndReadBack) {
  TParaInfos styles(nullptr);
  styles.Add();
  TParaInfo& style = styles.Add();
  GetParam().change(style);
  const std::vector<uint8_t> bytes = SaveStyleCollection(styles);
  const std::vector<TPropList> items = StoredItems(bytes);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(Names(items[1]), (std::vector<std::string>{"StyleName", GetParam().property}));

  TParaInfos loaded(nullptr);
  LoadStyleCollection(bytes, loaded);
  ASSERT_EQ(loaded.Count(), 2);
  ExpectSamePara(loaded[1], style);
  EXPECT_EQ(SaveStyleCollection(loaded), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Each, ParaStyleProperty,
    ::testing::Values(
        TParaCase{"FirstIndent", [](TParaInfo& s) { s.FirstIndent = -20; }},
        TParaCase{"LeftIndent", [](TParaInfo& s) { s.LeftIndent = 300; }},
        TParaCase{"RightIndent", [](TParaInfo& s) { s.RightIndent = 70000; }},
        TParaCase{"SpaceBefore", [](TParaInfo& s) { s.SpaceBefore = 4; }},
        TParaCase{"SpaceAfter", [](TParaInfo& s) { s.SpaceAfter = 5; }},
        TParaCase{"Alignment", [](TParaInfo& s) { s.Alignment = dvaJustify; }},
        TParaCase{"Border.Color", [](TParaInfo& s) { s.Border().Color = clRed; }},
        TParaCase{"Border.Style", [](TParaInfo& s) { s.Border().Style = dvbThickOutside; }},
        TParaCase{"Border.Width", [](TParaInfo& s) { s.Border().Width = 3; }},
        TParaCase{"Border.InternalWidth", [](TParaInfo& s) { s.Border().InternalWidth = 0; }},
        TParaCase{"Border.VisibleBorders.Left", [](TParaInfo& s) { s.Border().VisibleBorders.Left = false; }},
        TParaCase{"Border.VisibleBorders.Right", [](TParaInfo& s) { s.Border().VisibleBorders.Right = false; }},
        TParaCase{"Border.VisibleBorders.Top", [](TParaInfo& s) { s.Border().VisibleBorders.Top = false; }},
        TParaCase{"Border.VisibleBorders.Bottom", [](TParaInfo& s) { s.Border().VisibleBorders.Bottom = false; }},
        TParaCase{"Border.BorderOffsets.Left", [](TParaInfo& s) { s.Border().BorderOffsets.Left = 1; }},
        TParaCase{"Border.BorderOffsets.Right", [](TParaInfo& s) { s.Border().BorderOffsets.Right = 2; }},
        TParaCase{"Border.BorderOffsets.Top", [](TParaInfo& s) { s.Border().BorderOffsets.Top = 3; }},
        TParaCase{"Border.BorderOffsets.Bottom", [](TParaInfo& s) { s.Border().BorderOffsets.Bottom = -4; }},
        TParaCase{"Background.Color", [](TParaInfo& s) { s.Background().Color = clInfoBk; }},
        TParaCase{"Background.BorderOffsets.Left", [](TParaInfo& s) { s.Background().BorderOffsets.Left = 5; }},
        TParaCase{"Background.BorderOffsets.Right", [](TParaInfo& s) { s.Background().BorderOffsets.Right = 6; }},
        TParaCase{"Background.BorderOffsets.Top", [](TParaInfo& s) { s.Background().BorderOffsets.Top = 7; }},
        TParaCase{"Background.BorderOffsets.Bottom", [](TParaInfo& s) { s.Background().BorderOffsets.Bottom = 8; }},
        TParaCase{"NextParaNo", [](TParaInfo& s) { s.NextParaNo = 0; }},
        TParaCase{"LineSpacing", [](TParaInfo& s) { s.LineSpacing = 150; }},
        TParaCase{"LineSpacingType", [](TParaInfo& s) { s.LineSpacingType = dvlsSpaceBetween; }},
        TParaCase{"Options", [](TParaInfo& s) { s.Options = dvpaoNoWrap | dvpaoDoNotWantReturns; }},
        TParaCase{"BiDiMode", [](TParaInfo& s) { s.BiDiMode = dvbdLeftToRight; }}),
    [](const auto& info) {
      std::string name = info.param.property;
      std::erase(name, '.');
      return name;
    });

// NextParaNo is not part of Assign; the loaded collection must still get it.
TEST(ParaStyleStream, NextParaNoSurvivesTheCopyIntoTheTarget) {
  TParaInfos styles(nullptr);
  styles.Add().NextParaNo = 1;
  styles.Add();
  TParaInfos loaded(nullptr);
  LoadStyleCollection(SaveStyleCollection(styles), loaded);
  EXPECT_EQ(loaded[0].NextParaNo, 1);
}

// ------------------------------------------------------------ list styles

struct TLevelCase {
  const char* property;
  std::function<void(TDVListLevel&)> change;
};

class ListLevelProperty : public ::testing::TestWithParam<TLevelCase> {};

TEST_P(ListLevelProperty, StoredAloneAndReadBack) {
  TDVListInfos styles(nullptr);
  TDVListInfo& list = styles.Add();
  list.Levels().Add();
  TDVListLevel& level = list.Levels().Add();
  GetParam().change(level);
  const std::vector<uint8_t> bytes = SaveStyleCollection(styles);
  const TPropList stored = StoredItems(bytes)[0];
  ASSERT_EQ(Names(stored), (std::vector<std::string>{"StyleName", "Levels"}));
  ASSERT_EQ(stored[1].value.items.size(), 2u);
  const std::vector<std::string> names = Names(stored[1].value.items[1]);
  const std::string property = GetParam().property;
  EXPECT_NE(std::find(names.begin(), names.end(), property), names.end()) << property;
  // FormatString is always stored; a font that exists stores Charset, Color and Style.
  const size_t count = property == "FormatString"                               ? 1
                       : property == "Font.Height" || property == "Font.Name"   ? 5
                       : property == "Font.Charset" || property == "Font.Style" ? 4
                                                                                : 2;
  EXPECT_EQ(names.size(), count);

  TDVListInfos loaded(nullptr);
  LoadStyleCollection(bytes, loaded);
  ASSERT_EQ(loaded.Count(), 1);
  ASSERT_EQ(loaded[0].Levels().Count(), 2);
  EXPECT_TRUE(loaded[0].IsSimpleEqual(list));
  EXPECT_EQ(SaveStyleCollection(loaded), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Each, ListLevelProperty,
    ::testing::Values(TLevelCase{"ListType", [](TDVListLevel& l) { l.ListType = dvlstImageListCounter; }},
                      TLevelCase{"ImageIndex", [](TDVListLevel& l) { l.ImageIndex = 3; }},
                      TLevelCase{"FormatString", [](TDVListLevel& l) { l.FormatString = "%0:s.%1:s"; }},
                      TLevelCase{"LeftIndent", [](TDVListLevel& l) { l.LeftIndent = 24; }},
                      TLevelCase{"FirstIndent", [](TDVListLevel& l) { l.FirstIndent = 0; }},
                      TLevelCase{"MarkerIndent", [](TDVListLevel& l) { l.MarkerIndent = 12; }},
                      TLevelCase{"MarkerAlignment", [](TDVListLevel& l) { l.MarkerAlignment = dvmaCenter; }},
                      TLevelCase{"Options", [](TDVListLevel& l) { l.Options = dvloLegalStyleNumbering; }},
                      TLevelCase{"Font.Charset", [](TDVListLevel& l) { l.Font().Charset = SYMBOL_CHARSET; }},
                      TLevelCase{"Font.Height", [](TDVListLevel& l) { l.Font().SetSize(14); }},
                      TLevelCase{"Font.Name", [](TDVListLevel& l) { l.Font().Name = "Symbol"; }},
                      TLevelCase{"Font.Style", [](TDVListLevel& l) { l.Font().Style = fsItalic; }}),
    [](const auto& info) {
      std::string name = info.param.property;
      std::erase(name, '.');
      return name;
    });

// A font that exists is stored by its properties without declared defaults.
TEST(ListStyleStream, DefaultMarkerFontStoresCharsetColourAndStyle) {
  TDVListInfos styles(nullptr);
  styles.Add().Levels().Add().Font();
  const TPropList level = StoredItems(SaveStyleCollection(styles))[0][1].value.items[0];
  ASSERT_EQ(Names(level), (std::vector<std::string>{"FormatString", "Font.Charset", "Font.Color", "Font.Style"}));
  EXPECT_EQ(level[1].value, TPropValue::Ident("DEFAULT_CHARSET"));
  EXPECT_EQ(level[2].value, TPropValue::Ident("clWindowText"));
  EXPECT_EQ(level[3].value, TPropValue::Set({}));
  TDVListInfos loaded(nullptr);
  LoadStyleCollection(SaveStyleCollection(styles), loaded);
  EXPECT_TRUE(loaded[0].Levels()[0].HasFont());
}

TEST(ListStyleStream, PictureStoredAsClassNameAndLengthPrefixedBitmap) {
  TDVListInfos styles(nullptr);
  TDVListLevel& level = styles.Add().Levels().Add();
  level.ListType = dvlstPicture;
  auto bitmap = std::make_unique<TBitmap>(3, 2);
  bitmap->SetPixel(1, 1, clRed);
  level.Picture().SetGraphic(std::move(bitmap));
  const std::vector<uint8_t> bytes = SaveStyleCollection(styles);
  const TPropList stored = StoredItems(bytes)[0][1].value.items[0];
  ASSERT_EQ(Names(stored), (std::vector<std::string>{"ListType", "FormatString", "Picture.Data"}));
  const std::vector<uint8_t>& data = stored[2].value.bytes;
  ASSERT_GT(data.size(), 12u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 8), S("TBitmap"));
  const uint32_t length = data[8] | (data[9] << 8) | (data[10] << 16) | (uint32_t{data[11]} << 24);
  EXPECT_EQ(length, data.size() - 12);
  EXPECT_EQ(std::string(data.begin() + 12, data.begin() + 14), "BM");

  TDVListInfos loaded(nullptr);
  LoadStyleCollection(bytes, loaded);
  const TDVListLevel& back = loaded[0].Levels()[0];
  ASSERT_TRUE(back.HasPicture());
  const auto* picture = dynamic_cast<const TBitmap*>(const_cast<TDVListLevel&>(back).Picture().Graphic());
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 3);
  EXPECT_EQ(picture->GetPixel(1, 1), clRed);
  EXPECT_EQ(SaveStyleCollection(loaded), bytes);
}

TEST(ListStyleStream, ImageListStoredByTagAndFoundThroughTheLookup) {
  TCustomImageList images;
  images.Tag = 7;
  TDVListInfos styles(nullptr);
  styles.Add().Levels().Add().ImageList = &images;
  const std::vector<uint8_t> bytes = SaveStyleCollection(styles);
  const TPropList level = StoredItems(bytes)[0][1].value.items[0];
  ASSERT_EQ(Names(level), (std::vector<std::string>{"FormatString", "ILTag"}));
  EXPECT_EQ(level[1].value, TPropValue::Integer(7));

  TDVListInfos loaded(nullptr);
  std::vector<int32_t> asked;
  loaded.DVFImageListNeeded = [&](int32_t tag) {
    asked.push_back(tag);
    return tag == images.Tag ? &images : nullptr;
  };
  LoadStyleCollection(bytes, loaded);
  EXPECT_EQ(asked, std::vector<int32_t>{7});
  EXPECT_EQ(loaded[0].Levels()[0].ImageList, &images);
  TDVListInfos noLookup(nullptr);
  LoadStyleCollection(bytes, noLookup);
  EXPECT_EQ(noLookup[0].Levels()[0].ImageList, nullptr);
}

// ------------------------------------------------------------ reading

TEST(StyleStreamRead, ReplacesTheContentAndKeepsDefaultsOfWhatIsNotStored) {
  TDVStyle sheet;  // six text styles
  const std::vector<uint8_t> bytes = Bytes({B({14, 1}), S("Size"), B({2, 20}), B({0, 1, 0, 0})});
  LoadStyleCollection(bytes, sheet.TextStyles());
  ASSERT_EQ(sheet.TextStyles().Count(), 2);
  EXPECT_EQ(sheet.TextStyles()[0].Size, 20);
  EXPECT_EQ(sheet.TextStyles()[0].StyleName, "Font Style");
  EXPECT_EQ(sheet.TextStyles()[1].Size, 10);
}

TEST(StyleStreamRead, UnknownPropertiesAreSkippedWhateverTheirValue) {
  // clang-format off
  const std::vector<uint8_t> bytes = Bytes({
      B({14, 1}),
      S("Pitch"), B({7}), S("fpFixed"),
      S("Future"), B({1, 2, 5, 6}), S("x"), B({0}),     // a list
      S("Nested"), B({14, 1}), S("A"), B({2, 1, 0, 0}),  // a collection
      S("Size"), B({2, 14}),
      S("Big"), B({10, 3, 0, 0, 0, 1, 2, 3}),           // binary
      S("Jump"), B({9}),
      B({0, 0}),
  });
  // clang-format on
  TFontInfos styles(nullptr);
  LoadStyleCollection(bytes, styles);
  ASSERT_EQ(styles.Count(), 1);
  EXPECT_EQ(styles[0].Size, 14);
  EXPECT_TRUE(styles[0].Jump);
}

TEST(StyleStreamRead, LegacySingleSymbolsSetsProtection) {
  TFontInfos styles(nullptr);
  LoadStyleCollection(Bytes({B({14, 1}), S("SingleSymbols"), B({9, 0, 1}), S("SingleSymbols"), B({8, 0, 0})}), styles);
  ASSERT_EQ(styles.Count(), 2);
  EXPECT_EQ(styles[0].Protection, dvprStyleProtect | dvprDoNotAutoSwitch);
  EXPECT_EQ(styles[1].Protection, 0);
  EXPECT_EQ(Names(StoredItems(SaveStyleCollection(styles))[0]),
            (std::vector<std::string>{"StyleName", "FontName", "Protection"}));
}

// Values from the integer forms and names a writer may choose.
TEST(StyleStreamRead, AcceptsEveryFormOfAValue) {
  // clang-format off
  const std::vector<uint8_t> bytes = Bytes({
      B({14, 2, 0, 1}),                                 // an item order before the item
      S("Color"), B({4, 0xFF, 0, 0, 0}),                // clRed as an integer
      S("Charset"), B({3, 134, 0}),                     // GB2312 as an integer
      S("BiDiMode"), B({7}), S("DVBDRIGHTTOLEFT"),      // identifiers ignore case
      S("FontName"), B({20, 3, 0, 0, 0}), "\xE5\xAE\x8B",  // UTF-8 text
      S("CharScale"), B({19, 50, 0, 0, 0, 0, 0, 0, 0}),  // Int64
      B({0, 0}),
  });
  // clang-format on
  TFontInfos styles(nullptr);
  LoadStyleCollection(bytes, styles);
  ASSERT_EQ(styles.Count(), 1);
  EXPECT_EQ(styles[0].Color, clRed);
  EXPECT_EQ(styles[0].Charset, GB2312_CHARSET);
  EXPECT_EQ(styles[0].BiDiMode, dvbdRightToLeft);
  EXPECT_EQ(styles[0].FontName, "\xCB\xCE");  // in the system code page
  EXPECT_EQ(styles[0].CharScale, 50);
}

// References into the collection that point nowhere would index past it.
TEST(StyleStreamRead, DanglingStyleReferencesBecomeNone) {
  // clang-format off
  const std::vector<uint8_t> bytes = Bytes({
      B({14, 1}), S("NextStyleNo"), B({2, 1}), S("BaseStyleNo"), B({2, 5}), B({0}),
      B({1}), S("NextStyleNo"), B({2, 0}), S("BaseStyleNo"), B({2, 0}), B({0}),
      B({0}),
  });
  // clang-format on
  TFontInfos styles(nullptr);
  LoadStyleCollection(bytes, styles);
  ASSERT_EQ(styles.Count(), 2);
  EXPECT_EQ(styles[0].NextStyleNo, 1);
  EXPECT_EQ(styles[0].BaseStyleNo, -1);
  EXPECT_EQ(styles[1].NextStyleNo, 0);
  EXPECT_EQ(styles[1].BaseStyleNo, 0);
}

TEST(StyleStreamRead, FontSizesAreBroughtIntoRange) {
  TFontInfos styles(nullptr);
  LoadStyleCollection(Bytes({B({14, 1}), S("Size"), B({2, 0, 0, 1}), S("Size"), B({4, 0, 0, 0, 0x40, 0, 0})}), styles);
  EXPECT_EQ(styles[0].Size, 1);
  EXPECT_EQ(styles[1].Size, 1638);
  TDVListInfos lists(nullptr);
  LoadStyleCollection(
      Bytes({B({14, 1}), S("Levels"), B({14, 1}), S("Font.Height"), B({4, 0, 0, 0, 0xC0}), B({0, 0, 0, 0})}), lists);
  EXPECT_EQ(lists[0].Levels()[0].Font().Height, -2184);
}

struct TBadCase {
  const char* what;
  std::vector<uint8_t> bytes;
};

class StyleStreamRefuses : public ::testing::TestWithParam<TBadCase> {};

// Bad data raises the reader's error and leaves the target as it was.
TEST_P(StyleStreamRefuses, AndLeavesTheCollectionAlone) {
  TDVStyle sheet;
  const std::vector<uint8_t> before = SaveStyleCollection(sheet.TextStyles());
  EXPECT_THROW(LoadStyleCollection(GetParam().bytes, sheet.TextStyles()), EPropStreamError);
  EXPECT_EQ(SaveStyleCollection(sheet.TextStyles()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StyleStreamRefuses,
    ::testing::Values(
        TBadCase{"Empty", {}}, TBadCase{"ListInsteadOfCollection", Bytes({B({1, 0})})},
        TBadCase{"PropertyListInsteadOfCollection", Bytes({S("Size"), B({2, 9, 0})})},
        TBadCase{"UnendedCollection", Bytes({B({14, 1, 0})})},
        TBadCase{"ItemWithoutList", Bytes({B({14}), S("Size"), B({2, 9, 0, 0})})},
        TBadCase{"StringForAnInteger", Bytes({B({14, 1}), S("Size"), B({6}), S("12"), B({0, 0})})},
        TBadCase{"IntegerForABoolean", Bytes({B({14, 1}), S("Jump"), B({2, 1, 0, 0})})},
        TBadCase{"UnknownEnumerationName", Bytes({B({14, 1}), S("BiDiMode"), B({7}), S("dvbdSideways"), B({0, 0})})},
        TBadCase{"UnknownSetMember", Bytes({B({14, 1}), S("Style"), B({11}), S("fsBlink"), B({0, 0, 0})})},
        TBadCase{"UnknownColourName", Bytes({B({14, 1}), S("Color"), B({7}), S("clMauve"), B({0, 0})})},
        TBadCase{"CursorOutside16Bits", Bytes({B({14, 1}), S("JumpCursor"), B({4, 0, 0, 1, 0}), B({0, 0})})},
        TBadCase{"IntegerOutside32Bits", Bytes({B({14, 1}), S("VShift"), B({19, 0, 0, 0, 0, 1, 0, 0, 0}), B({0, 0})})},
        TBadCase{"UnknownValueTag", Bytes({B({14, 1}), S("Future"), B({99}), B({0, 0})})}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(StyleStreamRead, ListStyleErrorsInsideLevels) {
  const std::vector<std::vector<uint8_t>> bad = {
      Bytes({B({14, 1}), S("Levels"), B({14, 1}), S("ListType"), B({7}), S("dvlstStars"), B({0, 0, 0, 0})}),
      Bytes({B({14, 1}), S("Levels"), B({14, 1}), S("Picture.Data"), B({10, 6, 0, 0, 0}), S("TNope"), B({0, 0, 0, 0})}),
      Bytes({B({14, 1}), S("Levels"), B({14, 1}), S("Picture.Data"), B({10, 12, 0, 0, 0}), S("TBitmap"),
             B({9, 0, 0, 0}), B({0, 0, 0, 0})}),  // longer than what is there
      Bytes({B({14, 1}), S("Levels"), B({14, 1}), S("Picture.Data"), B({10, 14, 0, 0, 0}), S("TBitmap"),
             B({2, 0, 0, 0}), "XY", B({0, 0, 0, 0})}),  // not a bitmap
  };
  for (const auto& bytes : bad) {
    TDVListInfos lists(nullptr);
    lists.Add();
    EXPECT_THROW(LoadStyleCollection(bytes, lists), EPropStreamError);
    EXPECT_EQ(lists.Count(), 1);
  }
}

// Every cut of a good collection is refused with the target unchanged.
TEST(StyleStreamRead, TruncatedDataRefusedAtEveryLength) {
  TDVStyle source;
  source.TextStyles()[1].HoverColor = clRed;
  TDVListInfos lists(nullptr);
  TDVListLevel& level = lists.Add().Levels().Add();
  level.Font().Name = "Symbol";
  level.FormatString = "%0:s.";
  const std::vector<std::vector<uint8_t>> goods = {
      SaveStyleCollection(source.TextStyles()), SaveStyleCollection(source.ParaStyles()), SaveStyleCollection(lists)};
  TDVStyle target;
  target.ListStyles().Add();
  const std::vector<uint8_t> text = SaveStyleCollection(target.TextStyles());
  const std::vector<uint8_t> para = SaveStyleCollection(target.ParaStyles());
  const std::vector<uint8_t> list = SaveStyleCollection(target.ListStyles());
  TCustomDVInfos* collections[] = {&target.TextStyles(), &target.ParaStyles(), &target.ListStyles()};
  for (size_t k = 0; k < 3; ++k) {
    for (size_t n = 0; n < goods[k].size(); ++n) {
      const std::span<const uint8_t> cut(goods[k].data(), n);
      EXPECT_THROW(LoadStyleCollection(cut, *collections[k]), EPropStreamError) << "kind " << k << " length " << n;
    }
  }
  EXPECT_EQ(SaveStyleCollection(target.TextStyles()), text);
  EXPECT_EQ(SaveStyleCollection(target.ParaStyles()), para);
  EXPECT_EQ(SaveStyleCollection(target.ListStyles()), list);
}

// A whole style sheet's collections go through unchanged.
TEST(StyleStream, DefaultStyleSheetRoundTrips) {
  TDVStyle source;
  TDVStyle target;
  LoadStyleCollection(SaveStyleCollection(source.TextStyles()), target.TextStyles());
  LoadStyleCollection(SaveStyleCollection(source.ParaStyles()), target.ParaStyles());
  ASSERT_EQ(target.TextStyles().Count(), 6);
  for (int i = 0; i < 6; ++i) ExpectSameText(target.TextStyles()[i], source.TextStyles()[i]);
  ASSERT_EQ(target.ParaStyles().Count(), 2);
  for (int i = 0; i < 2; ++i) ExpectSamePara(target.ParaStyles()[i], source.ParaStyles()[i]);
}

}  // namespace
}  // namespace quillet
