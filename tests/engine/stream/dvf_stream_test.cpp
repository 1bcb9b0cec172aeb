#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/model/dv_data.h"
#include "engine/model/break_item.h"
#include "engine/model/item_registry.h"
#include "engine/model/marker_item.h"
#include "engine/model/picture_item.h"
#include "engine/model/model_test_items.h"
#include "engine/stream/compressed_form.h"
#include "engine/stream/dvf_test_io.h"
#include "engine/stream/host_lines_check.h"
#include "engine/stream/layout_info.h"
#include "engine/style/style_sheet.h"
#include "engine/view/background.h"
#include "platform/core/hex_text.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

using namespace std::string_literals;
using test::Describe;

using test::Load;
using test::Save;

std::string Utf16(std::u16string_view s) {
  std::string bytes;
  for (char16_t c : s) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// A document of the kinds the stream holds, with a style sheet whose style 1
// is Unicode.
class DVFTest : public testing::Test {
 protected:
  void SetUp() override {
    UnregisterAllDocViewItemClasses();
    RegisterDocViewItemClass(-20, DVItemClassOf<test::FullLineItem>);
    style.TextStyles()[1].Unicode = true;
    data.SetDVStyle(&style);
    loaded.SetDVStyle(&style);
  }
  void TearDown() override { UnregisterAllDocViewItemClasses(); }

  static void AddFullLineTo(TCustomDVData& doc, int32_t paraNo) {
    auto item = CreateDocViewItem(-20, &doc);
    item->ParaNo = paraNo;
    doc.AddItem("", std::move(item));
  }
  void AddFullLine(int32_t paraNo) { AddFullLineTo(data, paraNo); }

  TDVStyle style;
  TCustomDVData data, loaded;
};

TEST_F(DVFTest, EmptyDocument) {
  EXPECT_EQ(Save(data), "");
  data.HostLines().QvRead("QV;起草人;t;255");
  EXPECT_EQ(Save(data), "QV;起草人;t;255\r\n-8 1 2\r\n");
  data.AddNamedCheckpointExTag("end", false, {});
  EXPECT_EQ(Save(data), "QV;起草人;t;255\r\n-8 1 2\r\n-2 1 0 0 0 0 0\r\nend\r\n");
  ASSERT_TRUE(Load(loaded, Save(data)));
  EXPECT_EQ(loaded.HostLines().userInfo.size(), 1u);
  ASSERT_NE(loaded.NotAddedCP(), nullptr);
  EXPECT_EQ(loaded.NotAddedCP()->Name, "end");
}

TEST_F(DVFTest, WrittenRecords) {
  data.HostLines().QvRead("QPUser;a");
  data.HostLines().QvRead("QV;a;t;255");
  data.AddNL("one", 0, 2);
  data.AddNL("two", 0, 2);
  data.AddNL("three", 0, 2);
  data.AddNL(" more", 0, -1);
  data.AddNamedCheckpointExTag("cp", true, {});
  data.AddNL(Utf16(u"中文"), 1, 0);
  AddFullLine(0);
  data.AddNL("last", 0, 0);
  data.AddNamedCheckpointExTag("trailing", false, {});
  EXPECT_EQ(Save(data),
            "QV;a;t;255\r\nQPUser;a\r\n-8 1 2\r\n"
            "0 3 2 0 0 0\r\none\r\ntwo\r\nthree\r\n"
            "0 1 -1 1 0 0\r\n more\r\n"
            "-2 1 0 0 0 0 1\r\ncp\r\n"
            "1 1 0 8 0 0\r\n" + Utf16(u"中文\u2029") +
            "-20 0 0 0 0 0 \r\n"
            "0 1 0 0 0 0\r\nlast\r\n"
            // The trailing checkpoint is kept after a text item too.
            "-2 1 0 0 0 0 0\r\ntrailing\r\n");
}

TEST_F(DVFTest, RoundTrip) {
  data.SetOptions(data.GetOptions() | dvoTagsArePChars);
  loaded.SetOptions(loaded.GetOptions() | dvoTagsArePChars);
  data.HostLines().QvRead("QV;x");
  data.AddNamedCheckpointExTag("start", false, {});
  TDVTag tag;
  tag.Str = "a tag with spaces";
  data.AddNLTag("tagged", 0, 1, tag);
  data.AddNL(Utf16(u"\U0001F600 and 文字"), 1, -1);
  AddFullLine(1);
  data.AddNL("after", 2, 0);
  data.GetItem(3)->SetPageBreakBefore(true);
  data.AddNL("line two", 2, 0);
  data.GetItem(4)->SetBR(true);
  data.InsertCheckpoint(3, {}, "mid", true);
  for (bool binary : {false, true}) {
    data.SetDVFOptions(binary ? (data.GetDVFOptions() | dvfoSaveBinary) : (data.GetDVFOptions() & ~dvfoSaveBinary));
    loaded.HostLines() = {};  // the host empties the lists before a replacing load
    ASSERT_TRUE(Load(loaded, Save(data)));
    EXPECT_EQ(Describe(loaded), Describe(data));
    for (int i = 0; i < data.ItemCount(); ++i) {
      EXPECT_EQ(loaded.GetItemOptions(i), data.GetItemOptions(i)) << i;
      EXPECT_EQ(loaded.GetItemPara(i), data.GetItemPara(i)) << i;
    }
    EXPECT_EQ(*loaded.GetItemTag(0).Str, "a tag with spaces");
    EXPECT_TRUE(loaded.GetItem(3)->Checkpoint->RaiseEvent);
    EXPECT_EQ(loaded.CPCount(), 2);
    EXPECT_EQ(loaded.HostLines().userInfo, std::vector<std::string>{"QV;x"});
  }
}

// A replacing load puts the stream's host lines in place of the document's;
// the host's check sees them before anything changes, and its refusal leaves
// document, styles and lines as they were.
TEST_F(DVFTest, ReplacingLoadTakesTheLinesTheHostAccepts) {
  data.HostLines().QvRead("QV;new;t;1");
  data.HostLines().QvRead("QPUser;new");
  data.AddNL("new", 0, 0);
  data.SetDVFOptions(data.GetDVFOptions() | dvfoSaveTextStyles);
  TDVStyle otherStyle;
  otherStyle.TextStyles().Add().Size = 40;
  data.SetDVStyle(&otherStyle);
  const std::string dvf = Save(data);
  loaded.AddNL("old", 0, 0);
  loaded.HostLines().QvRead("QV;old;t;2");
  const int styles = style.TextStyles().Count();

  std::vector<std::string> seen;
  {
    TScopedHostLinesCheck refuse(loaded, [&](const TQvDvData& read) {
      seen = read.userInfo;
      throw std::runtime_error("refused");
    });
    EXPECT_THROW(Load(loaded, dvf), std::runtime_error);
    // Other documents and insertions are not checked.
    TDVStyle scratchStyle;
    TCustomDVData other;
    other.SetDVStyle(&scratchStyle);
    EXPECT_TRUE(Load(other, dvf));
    TMemoryStream stream(std::vector<uint8_t>(dvf.begin(), dvf.end()));
    TColor color = clNone;
    TCustomDVData inserted;
    inserted.SetDVStyle(&scratchStyle);
    EXPECT_TRUE(inserted.InsertDVFFromStream(stream, 0, color, nullptr, nullptr, false));
  }
  EXPECT_EQ(seen, std::vector<std::string>{"QV;new;t;1"});
  ASSERT_EQ(loaded.ItemCount(), 1);
  EXPECT_EQ(loaded.GetItemTextR(0), "old");
  EXPECT_EQ(style.TextStyles().Count(), styles);
  EXPECT_EQ(loaded.HostLines().userInfo, std::vector<std::string>{"QV;old;t;2"});

  ASSERT_TRUE(Load(loaded, dvf));
  EXPECT_EQ(loaded.GetItemTextR(0), "new");
  EXPECT_EQ(loaded.HostLines().userInfo, std::vector<std::string>{"QV;new;t;1"});
  EXPECT_EQ(loaded.HostLines().allPostil, std::vector<std::string>{"QPUser;new"});
}

// An insertion appends the stream's host lines to those held; under a check
// the host sees only the lines the stream brought, and a refusal or a bad
// stream leaves items, styles and the carrier as they were.
TEST_F(DVFTest, InsertionAddsLinesTheHostAcceptsOrNone) {
  data.HostLines().QvRead("QV;new;t;1");
  data.HostLines().QvRead("QPUser;new");
  data.AddNL("new", 0, 0);
  const std::string dvf = Save(data);
  const auto insert = [this](const std::string& bytes) {
    TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    TColor color = clNone;
    return loaded.InsertDVFFromStream(stream, 0, color, nullptr, nullptr, false);
  };
  loaded.AddNL("old", 0, 0);
  loaded.HostLines().QvRead("QV;old;t;2");
  loaded.HostLines().QvRead("QPUser;old");
  const TQvDvData held = loaded.HostLines();

  TQvDvData seen;
  {
    TScopedHostLinesCheck refuse(loaded, [&](const TQvDvData& read) {
      seen = read;
      throw std::runtime_error("refused");
    });
    EXPECT_THROW(insert(dvf), std::runtime_error);
  }
  EXPECT_EQ(seen.userInfo, std::vector<std::string>{"QV;new;t;1"});
  EXPECT_EQ(seen.allPostil, std::vector<std::string>{"QPUser;new"});
  EXPECT_EQ(Describe(loaded), "|[old/0]");
  EXPECT_EQ(loaded.HostLines().userInfo, held.userInfo);
  EXPECT_EQ(loaded.HostLines().allPostil, held.allPostil);

  // Host lines read before the stream turned out bad do not stay behind.
  EXPECT_FALSE(insert("QV;stray;t;3\r\nQPUser;stray\r\nnonsense\r\n"));
  EXPECT_EQ(Describe(loaded), "|[old/0]");
  EXPECT_EQ(loaded.HostLines().userInfo, held.userInfo);
  EXPECT_EQ(loaded.HostLines().allPostil, held.allPostil);

  ASSERT_TRUE(insert(dvf));
  EXPECT_EQ(loaded.ItemCount(), 2);
  EXPECT_EQ(loaded.HostLines().userInfo, (std::vector<std::string>{"QV;old;t;2", "QV;new;t;1"}));
  EXPECT_EQ(loaded.HostLines().allPostil, (std::vector<std::string>{"QPUser;old", "QPUser;new"}));
}

TEST_F(DVFTest, TextNeverForgesRecordsOrHostLines) {
  data.AddNL("harmless\r\nQV;forged;t;255\r\n0 1 0 0 0 0", 0, 0);
  data.AddNL(Utf16(u"a\u2029QV;forged\r\nb"s + u'\0' + u"c"), 1, 0);
  ASSERT_TRUE(Load(loaded, Save(data)));
  EXPECT_TRUE(loaded.HostLines().userInfo.empty());
  ASSERT_EQ(loaded.ItemCount(), 2);
  EXPECT_EQ(loaded.GetItemTextR(0), "harmless  QV;forged;t;255  0 1 0 0 0 0");
  EXPECT_EQ(loaded.GetItemTextR(1), Utf16(u"a QV;forged  b c"));
}

TEST_F(DVFTest, HostLinesOnlyInHeaderPosition) {
  const std::string dvf =
      "QV;r1\r\n-8 1 2\r\nQPP;1;2\r\n0 2 0 0 0 0\r\nQV;text\r\nQP;text\r\nQv;x\r\n";
  EXPECT_FALSE(Load(loaded, dvf));  // "Qv;x" is no host line and no header
  ASSERT_TRUE(Load(loaded, dvf.substr(0, dvf.size() - 6)));
  EXPECT_EQ(loaded.HostLines().userInfo, std::vector<std::string>{"QV;r1"});
  EXPECT_EQ(loaded.HostLines().allPostil, std::vector<std::string>{"QPP;1;2"});
  EXPECT_EQ(Describe(loaded), "|[QV;text/0]|[QP;text/0]");
}

TEST_F(DVFTest, ReadingOldAndForeignRecords) {
  struct Case {
    const char* name;
    std::string dvf;
    std::string items;
  };
  const Case cases[] = {
      {"no version: no options field", "0 3 1 0 0\r\na\r\nb\r\nc\r\n", "|[a/0]|[b/0]|[c/0]"},
      {"unknown kind skipped, binary last line",
       "-8 1 2\r\n-77 2 0 0 2 0\r\nname\r\n\x03\0\0\0xyz0 1 0 0 0 0\r\nafter\r\n"s, "|[after/0]"},
      {"checkpoint ends the stream", "-8 1 2\r\n0 1 0 0 0 0\r\na\r\n-2 1 0 0 0 0\r\nend\r\n", "|[a/0]"},
      {"continuing first item", "-8 1 2\r\n0 1 -1 1 0 0\r\na\r\n", "|[a/0]"},
      {"style by name", "-8 1 2\r\n\"Normal text\" 1 0 0 0 0\r\na\r\n", "|[a/0]"},
      {"paragraphs normalised", "-8 1 2\r\n0 1 1 0 0 0\r\na\r\n0 1 -1 1 0 0\r\nb\r\n", "|[a/0][b/0]"},
  };
  for (const Case& c : cases) {
    TCustomDVData target;
    target.SetDVStyle(&style);
    EXPECT_TRUE(Load(target, c.dvf)) << c.name;
    EXPECT_EQ(Describe(target), c.items) << c.name;
  }
  TCustomDVData target;
  target.SetDVStyle(&style);
  ASSERT_TRUE(Load(target, cases[0].dvf));
  EXPECT_EQ(target.GetItemPara(2), 1);
  ASSERT_TRUE(Load(target, cases[5].dvf));
  EXPECT_EQ(target.GetItemPara(1), 1);
}

TEST_F(DVFTest, BadStreamsFailAndChangeNothing) {
  const std::string bad[] = {
      "-8 1 2\r\n0 3 0 0 0 0\r\na\r\n",                  // ends inside a record
      "-8 1 2\r\n0 x 0 0 0 0\r\n",                       // bad count
      "-8 1 2\r\n0 -1 0 0 0 0\r\n",                      // negative count
      "-8 1 2\r\n0 99999 0 0 0 0\r\na\r\n",              // more lines than bytes
      "-8 1 2\r\n99 1 0 0 0 0\r\na\r\n",                 // text style out of range
      "-8 1 2\r\n0 1 99 0 0 0\r\na\r\n",                 // paragraph out of range
      "-8 1 2\r\n-20 0 99 0 0 0 \r\n",                   // full-width item's paragraph too
      "-8 1 2\r\n0 1 0 16 0 0\r\na\r\n",                 // options out of range
      "-8 1 2\r\n0 1 0 0 3 0\r\na\r\n",                  // read type out of range
      "-8 1 2\r\n-77 1 0 0 2 0\r\n\x09\0\0\0ab"s,        // binary block past the end
      "-8 1 2\r\n-77 2 0 0 2 0\r\nname\n\x01\0\0\0x"s,   // binary block not after CR LF
      "-8 1 2\r\n-7 0 -1 0 0 0 9 0\r\n",                 // background style out of range
      "-8 1 2\r\n-9 2 0 0 0 0 1\r\n\r\n0D0A\r\n",        // style data that is no collection
      "-8 1 2\r\n-9 2 0 0 0 0 1\r\n\r\nXYZ\r\n",         // style data that is no hexadecimal
      "garbage\r\n",
  };
  for (const std::string& dvf : bad) {
    TCustomDVData target;
    target.SetDVStyle(&style);
    target.HostLines().QvRead("QV;kept");
    target.AddNL("original", 0, 0);
    target.AddNamedCheckpointExTag("keep", false, {});
    const int textStyles = style.TextStyles().Count();
    EXPECT_FALSE(Load(target, dvf)) << dvf;
    EXPECT_EQ(Describe(target), "|[original/0]") << dvf;
    EXPECT_EQ(target.HostLines().userInfo.size(), 1u);
    ASSERT_NE(target.NotAddedCP(), nullptr);
    EXPECT_EQ(style.TextStyles().Count(), textStyles);
    // Inserting the same stream takes back what it inserted.
    TMemoryStream stream(std::vector<uint8_t>(dvf.begin(), dvf.end()));
    TColor color = clNone;
    EXPECT_FALSE(target.InsertDVFFromStream(stream, 1, color, nullptr, nullptr, false)) << dvf;
    EXPECT_EQ(Describe(target), "|[original/0]") << dvf;
    ASSERT_NE(target.NotAddedCP(), nullptr);
    EXPECT_EQ(target.CPCount(), 1);
  }
}

TEST_F(DVFTest, UnknownStylesToZeroWithWarning) {
  TCustomDVData target;
  target.SetDVStyle(&style);
  target.SetDVFOptions(target.GetDVFOptions() | dvfoConvUnknownStylesToZero);
  ASSERT_TRUE(Load(target, "-8 1 2\r\n99 1 77 0 0 0\r\na\r\n"));
  EXPECT_EQ(target.GetItemStyle(0), 0);
  EXPECT_EQ(target.GetItemPara(0), 0);
  EXPECT_TRUE(target.GetDVFWarnings() & dvfwConvUnknownStyles);
}

TEST_F(DVFTest, UnicodeAgreesWithTheStyle) {
  // 8-bit text of a Unicode style and UTF-16 text of an 8-bit style.
  const std::string dvf = "-8 1 2\r\n1 1 0 0 0 0\r\nab\r\n0 1 0 8 0 0\r\n" + Utf16(u"cd\u2029");
  TCustomDVData target;
  target.SetDVStyle(&style);
  ASSERT_TRUE(Load(target, dvf));
  EXPECT_EQ(target.GetItemTextR(0), Utf16(u"ab"));
  EXPECT_TRUE(target.GetItemOptions(0) & dvioUnicode);
  EXPECT_EQ(target.GetItemTextR(1), "cd");
  EXPECT_FALSE(target.GetItemOptions(1) & dvioUnicode);
  EXPECT_EQ(target.GetDVFWarnings() & (dvfwConvToUnicode | dvfwConvFromUnicode),
            dvfwConvToUnicode | dvfwConvFromUnicode);
}

TEST_F(DVFTest, StylesLayoutAndBackground) {
  TDVStyle source;
  source.TextStyles()[0].FontName = "宋体";
  source.TextStyles().Add().StyleName = "extra";
  TCustomDVData doc;
  doc.SetDVStyle(&source);
  doc.SetDVFOptions(dvfoSaveTextStyles | dvfoSaveParaStyles | dvfoSaveLayout | dvfoSaveBack | dvfoLoadBack |
                    dvfoLoadLayout);
  doc.AddNL("x", 6, 0);
  TDVLayoutInfo layout;
  layout.LeftMargin = 11;
  layout.MaxTextWidth = 700;
  layout.BiDiMode = dvbdRightToLeft;
  TDVBackground background;
  background.Style = bsTiled;
  TBitmap bitmap;
  bitmap.SetSize(2, 2);
  background.SetBitmap(bitmap);
  for (bool binary : {false, true}) {
    if (binary) doc.SetDVFOptions(doc.GetDVFOptions() | dvfoSaveBinary);
    TMemoryStream stream;
    ASSERT_TRUE(doc.SaveDVFToStream(stream, false, 0x123456, &background, &layout));
    stream.SetPosition(0);

    TDVStyle targetStyle;
    TCustomDVData target;
    target.SetDVStyle(&targetStyle);
    target.SetDVFOptions(doc.GetDVFOptions());
    TColor color = clNone;
    TDVLayoutInfo readLayout;
    TDVBackground readBackground;
    ASSERT_TRUE(target.LoadDVFFromStream(stream, color, &readBackground, &readLayout)) << binary;
    EXPECT_EQ(targetStyle.TextStyles().Count(), source.TextStyles().Count());
    EXPECT_EQ(targetStyle.TextStyles()[0].FontName, "宋体");
    EXPECT_EQ(target.GetItemStyle(0), 6);
    EXPECT_EQ(color, TColor(0x123456));
    EXPECT_TRUE(readLayout.Loaded);
    EXPECT_EQ(readLayout.LeftMargin, 11);
    EXPECT_EQ(readLayout.MaxTextWidth, 700);
    EXPECT_EQ(readLayout.BiDiMode, dvbdRightToLeft);
    EXPECT_EQ(readBackground.Style, bsTiled);
    EXPECT_EQ(readBackground.Bitmap().Width(), 2);
  }
}

// A document whose owner supplies the image list of tag 7.
class ImageListOwnerData : public TCustomDVData {
 public:
  ImageListOwnerData() { images.Tag = 7; }
  TCustomImageList* DVFImageListNeeded(int32_t tag) override {
    askedTags.push_back(tag);
    return tag == images.Tag ? &images : nullptr;
  }
  TCustomImageList images;
  std::vector<int32_t> askedTags;
};

TEST_F(DVFTest, ListLevelsFindTheirImageListThroughTheLoadedDocument) {
  TDVStyle source;
  ImageListOwnerData doc;
  doc.SetDVStyle(&source);
  TDVListLevel& level = source.ListStyles().Add().Levels().Add();
  level.ListType = dvlstImageList;
  level.ImageList = &doc.images;
  doc.AddItem("", std::make_unique<TDVMarkerItemInfo>(&doc, 0, 0, 1, false));
  doc.AddNL("bullet", 0, -1);
  for (const TDVFOptions form : {TDVFOptions{0}, TDVFOptions{dvfoSaveBinary}}) {
    doc.SetDVFOptions(dvfoSaveParaStyles | form);
    const std::string dvf = Save(doc);
    struct Case {
      const char* name;
      bool insert;
    };
    for (const Case& c : {Case{"load", false}, Case{"insert", true}}) {
      SCOPED_TRACE(std::string(c.name) + (form ? " binary" : " text"));
      TDVStyle targetStyle;
      ImageListOwnerData target;
      target.SetDVStyle(&targetStyle);
      TMemoryStream stream(std::vector<uint8_t>(dvf.begin(), dvf.end()));
      TColor color = clNone;
      ASSERT_TRUE(c.insert ? target.InsertDVFFromStream(stream, 0, color, nullptr, nullptr, true)
                           : target.LoadDVFFromStream(stream, color, nullptr, nullptr));
      EXPECT_EQ(target.askedTags, std::vector<int32_t>{7});
      ASSERT_EQ(targetStyle.ListStyles().Count(), 1);
      const TDVListLevel& read = targetStyle.ListStyles()[0].Levels()[0];
      EXPECT_EQ(read.ListType, dvlstImageList);
      EXPECT_EQ(read.ImageList, &target.images);
      EXPECT_EQ(target.GetItemStyle(0), dvsListMarker);
    }
  }
}

TEST_F(DVFTest, StyleReadModesOnInsertion) {
  TDVStyle source;
  TFontInfo& red = source.TextStyles().Add();
  red.StyleName = "red";
  red.Color = clRed;
  red.Size = 31;
  const int32_t redNo = source.TextStyles().Count() - 1;
  TCustomDVData doc;
  doc.SetDVStyle(&source);
  doc.SetDVFOptions(dvfoSaveTextStyles);
  doc.AddNL("red text", redNo, 0);
  TMemoryStream saved;
  ASSERT_TRUE(doc.SaveDVFToStream(saved, false, clNone, nullptr, nullptr));

  struct Case {
    TDVFReaderStyleMode mode;
    bool loads;
    int addedStyles;
  };
  // Ignoring the records keeps the number as it stands, which this target
  // does not have; mapping finds the nearest existing style; merging adds it.
  const Case cases[] = {{dvf_sIgnore, false, 0}, {dvf_sInsertMap, true, 0}, {dvf_sInsertMerge, true, 1}};
  for (const Case& c : cases) {
    TDVStyle targetStyle;
    const int before = targetStyle.TextStyles().Count();
    TCustomDVData target;
    target.SetDVStyle(&targetStyle);
    target.SetDVFStylesReadModes(c.mode, c.mode);
    saved.SetPosition(0);
    TColor color = clNone;
    EXPECT_EQ(target.InsertDVFFromStream(saved, 0, color, nullptr, nullptr, false), c.loads) << c.mode;
    EXPECT_EQ(targetStyle.TextStyles().Count(), before + c.addedStyles) << c.mode;
    if (!c.loads) continue;
    ASSERT_EQ(target.ItemCount(), 1);
    const TFontInfo& used = targetStyle.TextStyles()[target.GetItemStyle(0)];
    if (c.mode == dvf_sInsertMerge) {
      EXPECT_EQ(used.Color, clRed);
      EXPECT_EQ(used.Size, 31);
    }
  }
}

// A document whose save covers a selection.
class SelectionData : public TCustomDVData {
 public:
  TDVFLimits selection;
  TDVFLimits DVFGetLimits(TDVFSaveScope scope) const override {
    return scope == dvfss_Selection ? selection : TCustomDVData::DVFGetLimits(scope);
  }
};

TEST_F(DVFTest, SelectionsWritePartialLines) {
  SelectionData doc;
  doc.AddNL("Hello world", 0, 0);
  doc.AddNL("second", 0, 0);
  doc.AddNL(" tail", 0, -1);
  struct Case {
    TDVFLimits limits;
    std::string records;
  };
  const Case cases[] = {
      {{0, 0, 7, 12}, "0 1 -1 1 0 0\r\nworld\r\n"},
      {{0, 0, 1, 6}, "0 1 0 0 0 0\r\nHello\r\n"},
      {{0, 2, 7, 3}, "0 1 -1 1 0 0\r\nworld\r\n0 1 0 0 0 0\r\nsecond\r\n0 1 -1 1 0 0\r\n t\r\n"},
      {{1, 1, 1, 7}, "0 1 0 0 0 0\r\nsecond\r\n"},
  };
  for (const Case& c : cases) {
    doc.selection = c.limits;
    EXPECT_EQ(Save(doc, true), "-8 1 2\r\n" + c.records);
  }
}

class FailingItem : public test::RectItem {
 public:
  using RectItem::RectItem;
  TDVItemClass ItemClass() const override { return DVItemClassOf<FailingItem>; }
  void SaveDVF(TStream&, TCustomDVData&, int32_t, const std::string&, const TDVMultiDrawItemPart*,
               bool) const override {
    throw EWriteError("disk full");
  }
};

TEST_F(DVFTest, FilesAndCellData) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quillet_dvf_test";
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "doc.dvf").string();
  data.AddNL("saved", 0, 0);
  ASSERT_TRUE(data.SaveDVF(file, false, clNone, nullptr, nullptr));
  TColor color = clNone;
  ASSERT_TRUE(loaded.LoadDVF(file, color, nullptr, nullptr));
  EXPECT_EQ(Describe(loaded), "|[saved/0]");

  // A failed write leaves the old file as it was.
  TCustomDVData failing;
  failing.AddNL("text", 0, 0);
  auto failingItem = std::make_unique<FailingItem>(nullptr);
  failingItem->StyleNo = -20;
  failing.AddItem("", std::move(failingItem));
  EXPECT_FALSE(failing.SaveDVF(file, false, clNone, nullptr, nullptr));
  ASSERT_TRUE(loaded.LoadDVF(file, color, nullptr, nullptr));
  EXPECT_EQ(Describe(loaded), "|[saved/0]");

  // A file that is not a compressed document.
  TMemoryStream junk(std::vector<uint8_t>{1, 2, 3, 4, 5, 6});
  junk.SaveToFile(file);
  EXPECT_FALSE(loaded.LoadDVF(file, color, nullptr, nullptr));
  EXPECT_EQ(Describe(loaded), "|[saved/0]");
  std::filesystem::remove_all(dir);

  // A table cell's content: length-prefixed, never stored half-written.
  TMemoryStream cell;
  data.SetDVFOptions(data.GetDVFOptions() | dvfoSaveBack);
  data.DataWriter(cell);
  EXPECT_TRUE(data.GetDVFOptions() & dvfoSaveBack);
  cell.SetPosition(0);
  TCustomDVData cellData;
  cellData.DataReader(cell);
  EXPECT_EQ(Describe(cellData), "|[saved/0]");
  EXPECT_EQ(cell.Remaining(), 0);
  TMemoryStream failed;
  EXPECT_THROW(failing.DataWriter(failed), EWriteError);
  TMemoryStream truncated(std::vector<uint8_t>{50, 0, 0, 0, '-'});
  EXPECT_THROW(cellData.DataReader(truncated), EReadError);
  EXPECT_EQ(Describe(cellData), "|[saved/0]");
}

// Random documents survive the stream in both forms, and the compressed
// hexadecimal form the host stores.
TEST_F(DVFTest, RandomDocumentsRoundTrip) {
  std::mt19937 rng(20261210);
  TDVListInfo& list = style.ListStyles().Add();
  list.Levels().Add();
  list.Levels().Add().ListType = dvlstDecimal;
  const std::u16string pieces[] = {u"文档", u"review", u"审阅人", u"a b", u"\U00020000", u"", u"；，。"};
  for (int round = 0; round < 60; ++round) {
    TCustomDVData doc;
    doc.SetDVStyle(&style);
    const int items = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < items; ++i) {
      if (rng() % 7 == 0) doc.AddNamedCheckpointExTag("cp" + std::to_string(i), rng() % 2, {});
      switch (rng() % 8) {
        case 0:
          AddFullLineTo(doc, static_cast<int32_t>(rng() % 2));
          break;
        case 5: {
          auto line = std::make_unique<TDVBreakItemInfo>(&doc, static_cast<uint8_t>(rng() % 5), dvbsRectangle,
                                                         static_cast<TColor>(rng() % 0x1000000));
          doc.AddItem("", std::move(line));
          break;
        }
        case 6: {
          auto picture = std::make_unique<TDVGraphicItemInfo>(
              &doc, std::make_unique<TBitmap>(1 + static_cast<int32_t>(rng() % 9), 1 + static_cast<int32_t>(rng() % 9)),
              rng() % 2 ? dvvaMiddle : dvvaBaseline);
          picture->ImageWidth = static_cast<int32_t>(rng() % 3) * 10;
          picture->VShift = static_cast<int32_t>(rng() % 3) - 1;
          picture->ParaNo = rng() % 2 ? -1 : 0;
          doc.AddItem("pic " + std::to_string(i), std::move(picture));
          break;
        }
        case 7:
          doc.AddItem("", std::make_unique<TDVMarkerItemInfo>(&doc, 0, static_cast<int32_t>(rng() % 2),
                                                              static_cast<int32_t>(rng() % 4), rng() % 2 == 0));
          break;
        case 1:
          doc.AddNL(Utf16(pieces[rng() % std::size(pieces)]), 1, rng() % 2 ? -1 : 1);
          break;
        default: {
          TDVTag tag;
          tag.Int = static_cast<int32_t>(rng() % 3);
          const int32_t eightBitStyles[] = {0, 2, 3};  // style 1 is Unicode
          doc.AddNLTag("text " + std::to_string(rng() % 100), eightBitStyles[rng() % 3],
                       rng() % 2 ? -1 : static_cast<int32_t>(rng() % 2), tag);
        }
      }
      // A page break starts a paragraph; a marker is never left alone in one.
      const int last = doc.ItemCount() - 1;
      if (rng() % 6 == 0 && (last == 0 || doc.GetItemStyle(last - 1) != dvsListMarker))
        doc.GetItem(last)->SetPageBreakBefore(true);
    }
    if (rng() % 3 == 0) doc.AddNamedCheckpointExTag("end", false, {});
    for (bool binary : {false, true}) {
      doc.SetDVFOptions(dvfoSavePicturesBody | (binary ? TDVFOptions{dvfoSaveBinary} : TDVFOptions{0}));
      TMemoryStream stream;
      ASSERT_TRUE(doc.SaveDVFToStream(stream, false, clNone, nullptr, nullptr));
      // Through the compressed form as hexadecimal text, as the host stores it.
      CompressDVF(stream, TCompressionLevel::clDefault);
      const std::string hex = BytesToHex(stream.AsString());
      std::vector<uint8_t> bytes(hex.size() / 2);
      ASSERT_EQ(HexToBytes(hex, bytes.data()), bytes.size());
      TMemoryStream compressed(std::move(bytes)), plain;
      UnCompressDVF(compressed, plain);
      plain.SetPosition(0);
      TCustomDVData back;
      back.SetDVStyle(&style);
      TColor color = clNone;
      ASSERT_TRUE(back.LoadDVFFromStream(plain, color, nullptr, nullptr)) << round;
      EXPECT_EQ(Describe(back), Describe(doc)) << round;
      EXPECT_EQ(back.CPCount(), doc.CPCount()) << round;
      for (int i = 0; i < doc.ItemCount(); ++i) {
        EXPECT_EQ(back.GetItemOptions(i), doc.GetItemOptions(i)) << round << ":" << i;
        EXPECT_EQ(back.GetItemPara(i), doc.GetItemPara(i)) << round << ":" << i;
        EXPECT_EQ(back.GetItemTag(i).Int, doc.GetItemTag(i).Int) << round << ":" << i;
        const TCustomDVItemInfo* item = doc.GetItem(i);
        const TCustomDVItemInfo* read = back.GetItem(i);
        if (const auto* line = dynamic_cast<const TDVBreakItemInfo*>(item)) {
          const auto* readLine = dynamic_cast<const TDVBreakItemInfo*>(read);
          ASSERT_NE(readLine, nullptr);
          EXPECT_EQ(readLine->SaveDVFHeaderTail(&back), line->SaveDVFHeaderTail(&doc)) << round << ":" << i;
        } else if (const auto* picture = dynamic_cast<const TDVGraphicItemInfo*>(item)) {
          const auto* readPicture = dynamic_cast<const TDVGraphicItemInfo*>(read);
          ASSERT_NE(readPicture, nullptr);
          EXPECT_EQ(readPicture->GetWidth(), picture->GetWidth()) << round << ":" << i;
          EXPECT_EQ(readPicture->GetHeight(), picture->GetHeight()) << round << ":" << i;
          EXPECT_EQ(readPicture->VAlign, picture->VAlign) << round << ":" << i;
          EXPECT_EQ(readPicture->VShift, picture->VShift) << round << ":" << i;
        } else if (const auto* marker = dynamic_cast<const TDVMarkerItemInfo*>(item)) {
          const auto* readMarker = dynamic_cast<const TDVMarkerItemInfo*>(read);
          ASSERT_NE(readMarker, nullptr);
          EXPECT_EQ(readMarker->SaveDVFHeaderTail(&back), marker->SaveDVFHeaderTail(&doc)) << round << ":" << i;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quillet
