// Copying the selection to the clipboard: the blocks of every format, read
// back from the offscreen clipboard, and what a failure leaves there.
#include <gtest/gtest.h>

#include <optional>

#include "engine/base/doc_view_error.h"
#include "engine/model/picture_item.h"
#include "layout_test_data.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"
#include "platform/ui/clipboard.h"

namespace quillet::test {
namespace {

std::string Utf16Bytes(std::u16string_view s) { return DVU_UnitBytes(s); }

// "Hello 中" in GBK, "ก!" in a Unicode item (no code page of the document
// holds the Thai letter), then an 8 x 6 picture.
class CopyData : public LayoutData {
 public:
  CopyData() {
    AddNL("Hello \xD6\xD0", 0, 0);
    AddNL(U(u"ก!"), kUnicodeStyle, 0);
    auto bitmap = std::make_unique<TBitmap>(8, 6);
    bitmap->SetPixel(0, 0, clRed);
    AddItem("pic", std::make_unique<TDVGraphicItemInfo>(this, std::move(bitmap), dvvaBaseline));
    Format();
  }
  void Select(int startItem, int32_t startOffs, int endItem, int32_t endOffs) {
    RestoreSelBounds(startItem, endItem, startOffs, endOffs);
  }
  bool IsAssignedCopy() const override { return handler; }
  void DoCopy() override {
    if (!handler) return;
    ++copyEvents;
    Clipboard().SetAsHandle(RegisterClipboardFormat("Host Format"), "host");
  }
  bool failRTF = false;
  bool SaveRTFToStream(TStream& stream, bool selectionOnly, int level, TColor color, const TDVBackground* background,
                       TDVColorList* colorList, TDVIntegerList* styleToFont, TDVIntegerList* fontTable,
                       double twipsPerPixel) override {
    if (failRTF) {
      stream.WriteString("{\\rtf1 trunc");
      return false;
    }
    return LayoutData::SaveRTFToStream(stream, selectionOnly, level, color, background, colorList, styleToFont,
                                       fontTable, twipsPerPixel);
  }
  bool handler = false;
  int copyEvents = 0;
};

class ClipboardCopy : public testing::Test {
 protected:
  void SetUp() override {
    Clipboard().Clear();
    Clipboard().SetAsHandle(CF_TEXT, "old");
  }
  static std::optional<std::string> Block(const char* name) {
    return Clipboard().GetAsHandle(RegisterClipboardFormat(name));
  }
  static bool HasBlock(const char* name) { return Clipboard().HasFormat(RegisterClipboardFormat(name)); }
  static bool Untouched() {
    return Clipboard().GetAsHandle(CF_TEXT) == "old" && !HasBlock("DocView Format") && !HasBlock("Rich Text Format");
  }
  CopyData d;
};

TEST_F(ClipboardCopy, AMixedSelectionGoesOnInEveryFormatButThePicture) {
  d.SelectAll();
  d.Copy(clWindow, nullptr);

  // The DVF block: its length, then a stream that loads back into a document.
  const std::optional<std::string> dvf = Block("DocView Format");
  ASSERT_TRUE(dvf && dvf->size() > 4);
  TMemoryStream head(std::vector<uint8_t>(dvf->begin(), dvf->begin() + 4));
  EXPECT_EQ(ReadI32(head), static_cast<int32_t>(dvf->size() - 4));
  TMemoryStream body(std::vector<uint8_t>(dvf->begin() + 4, dvf->end()));
  LayoutData back;
  TColor color = clNone;
  ASSERT_TRUE(back.LoadDVFFromStream(body, color, nullptr, nullptr));
  ASSERT_EQ(back.ItemCount(), 3);
  EXPECT_EQ(back.GetItemTextR(0), "Hello \xD6\xD0");
  EXPECT_EQ(back.GetItemTextR(1), LayoutData::U(u"ก!"));
  EXPECT_EQ(back.GetItemStyle(2), dvsPicture);

  // One text: the UTF-16 block, written after the 8-bit one, keeps the Thai letter.
  EXPECT_EQ(Clipboard().GetAsHandle(CF_UNICODETEXT), Utf16Bytes(u"Hello 中\r\nก!\r\n"));
  EXPECT_EQ(Clipboard().GetAsHandle(CF_UNICODETEXT), d.GetSelText(true));

  const std::optional<std::string> rtf = Block("Rich Text Format");
  ASSERT_TRUE(rtf);
  EXPECT_EQ(rtf->rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf->find("Hello"), std::string::npos);
  EXPECT_EQ(rtf->back(), '}');

  EXPECT_FALSE(Clipboard().HasFormat(CF_BITMAP));
}

TEST_F(ClipboardCopy, APictureGoesOnOnlyWhenItIsAllTheSelection) {
  struct Case {
    const char* what;
    int startItem;
    int32_t startOffs;
    int endItem;
    int32_t endOffs;
    bool picture;
  };
  for (const Case& c : {Case{"the picture", 2, 0, 2, 1, true},
                        Case{"from the end of the text before it", 1, 3, 2, 1, true},
                        Case{"with a character before it", 1, 2, 2, 1, false}}) {
    Clipboard().Clear();
    d.Select(c.startItem, c.startOffs, c.endItem, c.endOffs);
    d.Copy(clWindow, nullptr);
    TBitmap bitmap;
    EXPECT_EQ(Clipboard().GetBitmap(bitmap), c.picture) << c.what;
    if (c.picture) {
      EXPECT_EQ(bitmap.Width(), 8) << c.what;
      EXPECT_EQ(bitmap.Height(), 6) << c.what;
      EXPECT_EQ(bitmap.GetPixel(0, 0), clRed) << c.what;
    }
    EXPECT_TRUE(HasBlock("DocView Format")) << c.what;
    EXPECT_TRUE(HasBlock("Rich Text Format")) << c.what;
  }
}

TEST_F(ClipboardCopy, AFailingWriterLeavesTheOldContent) {
  d.SelectAll();
  d.failRTF = true;
  d.handler = true;
  EXPECT_THROW(d.Copy(clWindow, nullptr), EDocViewError);
  EXPECT_TRUE(Untouched());
  EXPECT_EQ(d.copyEvents, 0);
  EXPECT_FALSE(HasBlock("Host Format"));
}

TEST_F(ClipboardCopy, WithoutASelectionNothingIsTouched) {
  d.handler = true;
  d.Copy(clWindow, nullptr);
  EXPECT_TRUE(d.CopyDef(clWindow, nullptr));
  EXPECT_TRUE(Untouched());
  EXPECT_EQ(d.copyEvents, 0);
}

TEST_F(ClipboardCopy, CopyDefWritesTheChosenFormats) {
  struct Case {
    const char* what;
    TDVOptions options;
    bool handler;
    bool result;
    bool dvf, text, rtf, picture, host;
  };
  const TDVOptions none = DVDefaultOptions & ~(dvoAutoCopyText | dvoAutoCopyUnicodeText | dvoAutoCopyDVF |
                                                dvoAutoCopyImage | dvoAutoCopyRTF);
  for (const Case& c : {
           Case{"nothing chosen", none, false, false, false, false, false, false, false},
           Case{"the handler alone", none, true, true, false, false, false, false, true},
           Case{"the defaults", DVDefaultOptions, false, true, true, true, true, true, false},
           Case{"DVF", none | dvoAutoCopyDVF, false, true, true, false, false, false, false},
           Case{"text", none | dvoAutoCopyText, false, true, false, true, false, false, false},
           Case{"Unicode text", none | dvoAutoCopyUnicodeText, false, true, false, true, false, false, false},
           Case{"RTF and picture", none | dvoAutoCopyRTF | dvoAutoCopyImage, false, true, false, false, true, true,
                false},
       }) {
    SetUp();
    d.SetOptions(c.options);
    d.handler = c.handler;
    d.Select(2, 0, 2, 1);
    EXPECT_EQ(d.CopyDef(clWindow, nullptr), c.result) << c.what;
    EXPECT_EQ(HasBlock("DocView Format"), c.dvf) << c.what;
    EXPECT_EQ(Clipboard().HasFormat(CF_TEXT) && Clipboard().GetAsHandle(CF_TEXT) != "old", c.text) << c.what;
    EXPECT_EQ(HasBlock("Rich Text Format"), c.rtf) << c.what;
    EXPECT_EQ(Clipboard().HasFormat(CF_BITMAP), c.picture) << c.what;
    EXPECT_EQ(HasBlock("Host Format"), c.host) << c.what;
  }
}

// A cell being edited copies its own selection.
TEST_F(ClipboardCopy, TheChosenSubDocumentCopiesInstead) {
  struct Root : CopyData {
    LayoutData cell;
    TCustomDVData* GetChosenDVData() const override { return const_cast<LayoutData*>(&cell); }
  } root;
  root.cell.AddNL("in the cell", 0, 0);
  root.cell.Format();
  root.cell.SelectAll();
  root.SelectAll();
  root.Copy(clWindow, nullptr);
  EXPECT_EQ(Clipboard().GetAsHandle(CF_UNICODETEXT), Utf16Bytes(u"in the cell"));
}

}  // namespace
}  // namespace quillet::test
