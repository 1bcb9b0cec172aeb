// Items of "document": paragraphs and lines, page breaks, styles by number
// and by name, every element kind, checkpoints, markers, unknown elements.
#include <gtest/gtest.h>

#include "engine/model/bullet_item.h"
#include "engine/model/control_item.h"
#include "engine/model/dv_data.h"
#include "engine/model/item_registry.h"
#include "engine/model/picture_item.h"
#include "platform/core/control.h"
#include "platform/gfx/graphic.h"
#include "xml_import_util.h"

namespace quillet::test {
namespace {

// A 2 x 2 24-bit bitmap as picture data.
std::string BitmapHex() {
  TBitmap bitmap(2, 2);
  bitmap.SetPixel(0, 0, clRed);
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  std::string hex;
  static const char kDigits[] = "0123456789ABCDEF";
  for (uint8_t b : stream.Bytes()) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

using XmlItems = XmlImportTest;

// What an editor with nothing loaded holds.
constexpr const char* kEmpty = "|[/0/0]";

TEST_F(XmlItems, ElementsBecomeItems) {
  const std::string bmp = BitmapHex();
  struct Case {
    std::string body;
    const char* items;
  } cases[] = {
      {"<text>a</text><text br=\"0\">b</text><text br=\"1\">c</text>", "|[a/0/0][b/0/0]|[c/0/0]"},
      {"<text>a</text><text newpara=\"0\">b</text>", "|[a/0/0]/[b/0/0]"},
      {"<text parastyleno=\"1\">a</text><text br=\"0\" parastyleno=\"0\">b</text>", "|[a/0/1][b/0/1]"},
      // Later attributes win.
      {"<text>a</text><text br=\"0\" br=\"1\">b</text>", "|[a/0/0]|[b/0/0]"},
      {"<text>a</text><pagebreak/><text>b</text>", "|[a/0/0]^[b/0/0]"},
      // A page break crosses an element that inserts nothing: the item before it takes it.
      {"<text>a</text><pagebreak/><default/><text>b</text>", "^[a/0/0]|[b/0/0]"},
      {"<text textstyleno=\"1\">a</text><text textstyle=\"heading\">b</text><text textstyle=\"none\">c</text>",
       "|[a/1/0]|[b/1/0]|[c/0/0]"},
      {"<text parastyle=\"INDENTED\">a</text><text textstyleno=\"x\">b</text>", "|[a/0/1]|[b/0/0]"},
      {"<utext textstyleno=\"2\">&#20013;&#25991;</utext>", "|[u2D4E8765/2/0]"},
      {"<default textstyleno=\"1\" parastyleno=\"1\"/><text>a</text><break/><text>b</text>",
       "|[a/1/1]|brk/0|[b/1/1]"},
      // Pictures need a class or a file; data alone inserts nothing.
      {"<image img=\"" + bmp + "\">p</image><image class=\"TBitmap\" img=\"" + bmp + "\">q</image>", "|pic/0"},
      {"<hotimage class=\"TBitmap\" img=\"" + bmp + "\"/>", "|hot/0"},
      {"<image class=\"TNoSuchGraphic\" img=\"" + bmp + "\"/>", kEmpty},
      {"<bullets><img>" + bmp + "</img></bullets>", kEmpty},
      {"<hotspot img=\"" + bmp + "\" hotimg=\"" + bmp + "\"/><hotspot hotimg=\"" + bmp + "\"/>", "|spot/0"},
      {"<bullet/>", kEmpty},
      {"<check>first</check><text>a</text><check>mark</check>", "|[a/0/0]#mark"},
      {"<text>a</text><unknown/><text br=\"0\">b</text>", "|[a/0/0][b/0/0]"},
      {"<marker styleno=\"0\" parastyleno=\"1\"/><text br=\"0\">a</text>", "|mk/1[a/0/1]"},
      {"<marker style=\"bullets\" level=\"300\"/><text>a</text>", "|[a/0/0]"},
      {"<marker style=\"nothing\"/><text>a</text>", "|[a/0/0]"},
      {"<control class=\"TButton\" data=\"object B: TButton&#13;&#10;Caption = 'OK'&#13;&#10;end\"/>", "|ctl/0"},
      // An unknown class makes no control.
      {"<control class=\"TOleContainer\" data=\"object O: TOleContainer&#13;&#10;end\"/>", kEmpty},
  };
  for (const auto& c : cases) {
    LoadBody(c.body);
    EXPECT_EQ(Items(), c.items) << c.body;
  }
}

TEST_F(XmlItems, PicturesAndTheirSettings) {
  LoadBody("<image class=\"TBitmap\" width=\"30\" height=\"20\" valign=\"middle\" vshift=\"5\" vshiftabs=\"1\" img=\"" +
           BitmapHex() + "\">name</image>");
  auto& picture = editor->DVData().CheckItemClass<TDVGraphicItemInfo>(0);
  EXPECT_EQ(editor->GetItemText(0), "name");
  EXPECT_EQ(picture.ImageWidth, 30);
  EXPECT_EQ(picture.ImageHeight, 20);
  EXPECT_EQ(picture.VAlign, dvvaMiddle);
  EXPECT_EQ(picture.VShift, 5);
  EXPECT_TRUE(picture.VShiftAbs);
  ASSERT_NE(picture.Image, nullptr);
  EXPECT_EQ(picture.Image->Width(), 2);
  EXPECT_FALSE(picture.Image->Transparent());  // opaque unless the file says so

  LoadBody("<image class=\"TBitmap\" transparent=\"1\" transparentmode=\"fixed\" transparentcolor=\"clRed\" img=\"" +
           BitmapHex() + "\"/>");
  const auto* bitmap = dynamic_cast<const TBitmap*>(editor->DVData().CheckItemClass<TDVGraphicItemInfo>(0).Image.get());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_TRUE(bitmap->Transparent());
  EXPECT_EQ(bitmap->TransparentMode(), tmFixed);
  EXPECT_EQ(bitmap->TransparentColor(), clRed);
}

TEST_F(XmlItems, BulletsHotspotsAndControlsShowWhatTheFileGives) {
  const std::string bmp = BitmapHex();
  LoadBody("<hotspot img=\"" + bmp + "\" hotimg=\"" + bmp + "\"/><control class=\"TButton\" data=\"object B: TButton" +
           "&#13;&#10;Left = 4&#13;&#10;Caption = 'O' + &#13;&#10;'K'&#13;&#10;end\"/>");
  const auto& spot = editor->DVData().CheckItemClass<TDVHotspotItemInfo>(0);
  ASSERT_NE(spot.ImageList, nullptr);
  EXPECT_EQ(spot.ImageList->Count(), 2);
  EXPECT_EQ(spot.HotImageIndex, 1);
  const auto* button = dynamic_cast<const TButton*>(editor->DVData().CheckItemClass<TDVControlItemInfo>(1).Control.get());
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Caption, "OK");
  EXPECT_EQ(button->Left, 4);

  Load("<book><bullets><img>" + bmp + "</img><x/><img>" + bmp + "</img></bullets><document><bullet img=\"1\"/>" +
       "<bullet img=\"0\"/></document></book>");
  const auto& bullet = editor->DVData().CheckItemClass<TDVBulletItemInfo>(0);
  ASSERT_NE(bullet.ImageList, nullptr);
  EXPECT_NE(bullet.ImageList, editor->DVData().CheckItemClass<TDVBulletItemInfo>(1).ImageList);
  EXPECT_EQ(bullet.ImageList->Count(), 1);
  EXPECT_EQ(bullet.ImageList->Width(), 2);
}

TEST_F(XmlItems, TheControlHandlerDecidesFirst) {
  int calls = 0;
  std::string seen;
  xml.OnLoadControl = [&](TDocViewXML& sender, const std::string& data) -> std::unique_ptr<TControl> {
    EXPECT_EQ(&sender, &xml);
    seen = data;
    return ++calls == 1 ? CreateControl("TEdit") : nullptr;
  };
  const std::string control = "<control class=\"TButton\" data=\"object B: TButton&#13;&#10;end\"/>";
  LoadBody(control + control);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(seen, "object B: TButton\r\nend");
  EXPECT_EQ(Items(), "|ctl/0");
  EXPECT_EQ(editor->DVData().CheckItemClass<TDVControlItemInfo>(0).Control->ClassName(), "TEdit");
}

TEST_F(XmlItems, UnknownElementsGoToTheHandler) {
  std::vector<int> at;
  xml.OnUnknownTag = [&](TDocViewXML&, const TXMLTag& node, TCustomDVData& data, int itemNo) {
    at.push_back(itemNo);
    // "two" inserts two items, anything else none.
    for (int i = 0; node.Name == "two" && i < 2; ++i) {
      data.Items().Insert(itemNo + i, "h", DocViewTextItemClass(&data));
      data.GetItem(itemNo + i)->SetSameAsPrev(true);
    }
  };
  LoadBody("<text>a</text><two/><none/><text br=\"0\">b</text>");
  EXPECT_EQ(at, (std::vector<int>{1, 3}));
  EXPECT_EQ(Items(), "|[a/0/0][h/0/0][h/0/0][b/0/0]");
}

TEST_F(XmlItems, TagsAndCheckpoints) {
  LoadBody("<text tag=\"s\" tagnumber=\"7\">a</text><check tagnumber=\"3\" vis=\"0\">cp</check>");
  EXPECT_FALSE(editor->GetItemTag(0).Str.has_value());
  EXPECT_EQ(editor->GetItemTag(0).Int, 7);
  ASSERT_NE(editor->GetItem(0)->Checkpoint, nullptr);
  EXPECT_EQ(editor->GetItem(0)->Checkpoint->Tag.Int, 3);
  EXPECT_FALSE(editor->GetItem(0)->Checkpoint->RaiseEvent);

  Load("<book><document stringtags=\"1\"><text tag=\"owned\" tagnumber=\"7\">a</text>"
       "<check tag=\"cp\">c</check></document></book>");
  EXPECT_TRUE(editor->DVData().TagsArePChars());
  EXPECT_EQ(editor->GetItemTag(0).Str, "owned");
  EXPECT_EQ(editor->GetItem(0)->Checkpoint->Tag.Str, "cp");
  EXPECT_TRUE(editor->GetItem(0)->Checkpoint->RaiseEvent);
}

TEST_F(XmlItems, NumbersGoThroughTheMapsAndNamesDoNot) {
  // Merged into the sheet, the file's text style 0 is the editor's 3 and its
  // paragraph style 0 the editor's 2; names find the editor's own indexes.
  xml.StyleLoadingMode = slmMerge;
  Load("<book><style><font name=\"New\" size=\"30\"/><para name=\"Wide\" leftindent=\"99\"/></style><document>"
       "<text>a</text><text textstyle=\"heading\" parastyle=\"indented\">b</text>"
       "<marker style=\"bullets\" parastyleno=\"0\"/><text br=\"0\">c</text></document></book>");
  EXPECT_EQ(Items(), "|[a/3/2]|[b/1/1]|mk/2[c/3/2]");
  // A number outside the file's styles fails the load.
  EXPECT_THROW(LoadBody("<text textstyleno=\"5\">a</text>"), EDocViewError);
  EXPECT_EQ(Items(), "|[a/3/2]|[b/1/1]|mk/2[c/3/2]");
}

}  // namespace
}  // namespace quillet::test
