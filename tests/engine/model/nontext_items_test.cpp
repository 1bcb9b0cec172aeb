#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/model/break_item.h"
#include "engine/model/bullet_item.h"
#include "engine/model/control_item.h"
#include "engine/model/dv_data.h"
#include "engine/model/image_print_info.h"
#include "engine/model/item_registry.h"
#include "engine/model/model_test_items.h"
#include "engine/model/picture_item.h"
#include "engine/base/dvf_tokens.h"
#include "engine/stream/dvf_test_io.h"
#include "engine/style/style_sheet.h"
#include "platform/core/control.h"
#include "platform/core/stream.h"
#include "platform/gfx/image_list.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/picture_test_util.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

using test::Describe;

// A document whose owner supplies an image list (Tag 7, two 8 x 6 images),
// pictures and controls stored without body, a parent control, printed
// pictures of controls, the HTML picture files, and records what it is told.
class OwnerData : public TCustomDVData {
 public:
  OwnerData() {
    images.Tag = 7;
    images.SetSize(8, 6);
    images.Add(TBitmap(16, 6));
  }
  TCustomImageList* DVFImageListNeeded(int32_t tag) override { return tag == 7 ? &images : nullptr; }
  std::unique_ptr<TGraphic> DVFPictureNeeded(const std::string& name, const TDVTag&) override {
    asked.push_back("picture " + name);
    return std::make_unique<TBitmap>(5, 4);
  }
  std::unique_ptr<TControl> DVFControlNeeded(const std::string& name, const TDVTag&) override {
    asked.push_back("control " + name);
    return CreateControl("TEdit");
  }
  TControl* GetParentControl() const override { return const_cast<TPanel*>(&parent); }
  void ControlAction2(TDVControlAction action, int itemNo, TControl* control) override {
    actions.push_back(std::to_string(action) + "@" + std::to_string(itemNo) + (control ? "" : " none"));
    if (action == failOn) throw EDocViewError("refused");
  }
  std::string SaveComponentToFile(const std::string&, TControl* control, TDVSaveFormat format) override {
    return std::string(control->ClassName()) + " as " + std::to_string(format);
  }
  std::string SavePicture(bool asJPEG, const std::string&, const std::string& imagesPrefix, int& imgSaveNo, bool,
                          TColor, const TGraphic& graphic) override {
    ++imgSaveNo;
    saved.push_back(std::string(graphic.ClassName()));
    return imagesPrefix + "\\pic" + std::to_string(imgSaveNo) + (asJPEG ? ".jpg" : ".bmp");
  }
  std::unique_ptr<TGraphic> DoPrintComponent(TControl*) override {
    auto black = std::make_unique<TBitmap>(4, 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) black->SetPixel(x, y, clBlack);
    return black;
  }

  TCustomImageList images;
  TPanel parent;
  std::vector<std::string> asked, actions, saved;
  int failOn = -1;
};

std::unique_ptr<TGraphic> Loaded(const char* className, const std::vector<uint8_t>& bytes) {
  std::unique_ptr<TGraphic> graphic = CreateGraphic(className);
  TMemoryStream stream(bytes);
  graphic->LoadFromStream(stream);
  return graphic;
}

using test::Load;
using test::Save;

template <class T>
T& ItemAt(TCustomDVData& data, int itemNo) {
  auto* item = dynamic_cast<T*>(data.GetItem(itemNo));
  EXPECT_NE(item, nullptr) << itemNo;
  return *item;
}

class NonTextItemsTest : public testing::Test {
 protected:
  void SetUp() override {
    style.TextStyles()[0].Color = clMaroon;
    style.HoverColor = clLime;
    style.SelColor = clRed;
    style.InactiveSelColor = clGray;
    doc.SetDVStyle(&style);
    back.SetDVStyle(&style);
  }

  // Every kind, with the values that must survive a save and a load.
  void AddEveryKind() {
    doc.AddItem("", std::make_unique<TDVBreakItemInfo>(&doc, 3, dvbs3d, clBlue));
    auto jpeg = std::make_unique<TDVGraphicItemInfo>(&doc, Loaded("TJPEGImage", RedBlueJpeg(20, 10)), dvvaMiddle);
    doc.AddItem("photo", std::move(jpeg));
    auto bmp = std::make_unique<TDVGraphicItemInfo>(&doc, std::make_unique<TBitmap>(RedBlueBitmap(30, 40)), dvvaBaseline);
    bmp->ImageHeight = 50;
    bmp->MinHeightOnPage = 12;
    bmp->VShift = -3;
    bmp->VShiftAbs = true;
    auto& bitmap = static_cast<TBitmap&>(*bmp->Image);
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(clBlue);
    bmp->ParaNo = -1;
    doc.AddItem("drawing", std::move(bmp));
    doc.AddItem("chart", std::make_unique<TDVHotGraphicItemInfo>(&doc, Loaded("TMetafile", EmfFile(2540, 1270)),
                                                                   dvvaBaseline));
    doc.AddItem("wmf", std::make_unique<TDVGraphicItemInfo>(&doc, Loaded("TMetafile", WmfFile(1440, 720, 1440)),
                                                            dvvaBaseline));
    auto bullet = std::make_unique<TDVBulletItemInfo>(&doc);
    bullet->ImageList = &doc.images;
    bullet->ImageIndex = 1;
    doc.AddItem("dot", std::move(bullet));
    auto hotspot = std::make_unique<TDVHotspotItemInfo>(&doc);
    hotspot->ImageList = &doc.images;
    hotspot->HotImageIndex = 1;
    hotspot->VShift = 25;  // an extra line the record must count
    hotspot->ParaNo = -1;
    doc.AddItem("spot", std::move(hotspot));
    auto button = std::make_unique<TButton>();
    button->Caption = "OK";
    button->SetBounds(0, 0, 60, 22);
    auto control = std::make_unique<TDVControlItemInfo>(&doc, std::move(button), dvvaMiddle);
    control->PercentWidth = 40;
    control->MinHeightOnPage = 10;
    doc.AddItem("ok", std::move(control));
    doc.AddNL("after", 0, 0);
  }

  void ExpectEveryKind(OwnerData& data) {
    ASSERT_EQ(Describe(data), "|[/-1]|[photo/-3][drawing/-3]|[chart/-10]|[wmf/-3]|[dot/-6][spot/-4]|[ok/-5]|[after/0]");
    const auto& line = ItemAt<TDVBreakItemInfo>(data, 0);
    EXPECT_EQ(line.LineWidth, 3);
    EXPECT_EQ(line.Style, dvbs3d);
    EXPECT_EQ(line.Color, clBlue);
    const auto& jpeg = ItemAt<TDVGraphicItemInfo>(data, 1);
    EXPECT_EQ(jpeg.VAlign, dvvaMiddle);
    EXPECT_EQ(SavedBytes(*jpeg.Image), RedBlueJpeg(20, 10));
    const auto& bmp = ItemAt<TDVGraphicItemInfo>(data, 2);
    EXPECT_EQ(bmp.ImageHeight, 50);
    EXPECT_EQ(bmp.MinHeightOnPage, 12);
    EXPECT_EQ(bmp.VShift, -3);
    EXPECT_TRUE(bmp.VShiftAbs);
    const auto& bitmap = static_cast<const TBitmap&>(*bmp.Image);
    EXPECT_TRUE(bitmap.Transparent());
    EXPECT_EQ(bitmap.TransparentMode(), tmFixed);
    EXPECT_EQ(bitmap.TransparentColor(), clBlue);
    EXPECT_EQ(bitmap.GetPixel(0, 0), clRed);
    EXPECT_EQ(bitmap.GetPixel(29, 39), clBlue);
    EXPECT_EQ(SavedBytes(*ItemAt<TDVHotGraphicItemInfo>(data, 3).Image), EmfFile(2540, 1270));
    EXPECT_EQ(SavedBytes(*ItemAt<TDVGraphicItemInfo>(data, 4).Image), WmfFile(1440, 720, 1440));
    const auto& bullet = ItemAt<TDVBulletItemInfo>(data, 5);
    EXPECT_EQ(bullet.ImageList, &data.images);
    EXPECT_EQ(bullet.ImageIndex, 1);
    const auto& hotspot = ItemAt<TDVHotspotItemInfo>(data, 6);
    EXPECT_EQ(hotspot.HotImageIndex, 1);
    EXPECT_EQ(hotspot.VShift, 25);
    const auto& control = ItemAt<TDVControlItemInfo>(data, 7);
    EXPECT_EQ(control.PercentWidth, 40);
    EXPECT_EQ(control.MinHeightOnPage, 10);
    EXPECT_EQ(control.VAlign, dvvaMiddle);
    ASSERT_NE(control.Control, nullptr);
    EXPECT_EQ(static_cast<TButton&>(*control.Control).Caption, "OK");
    EXPECT_EQ(control.Control->Width(), 60);
    EXPECT_EQ(control.Control->Parent(), &data.parent);
  }

  TDVStyle style;
  OwnerData doc, back;
};

TEST_F(NonTextItemsTest, SizesAndCapabilities) {
  auto emptyControl = std::make_unique<TDVControlItemInfo>(&doc);
  TDVBulletItemInfo noList(&doc);
  TDVGraphicItemInfo ownHeight(&doc, std::make_unique<TBitmap>(30, 40), dvvaBaseline);
  ownHeight.ImageHeight = 50;
  TDVHotspotItemInfo hot(&doc);
  hot.ImageList = &doc.images;
  hot.HotImageIndex = 1;
  auto edit = std::make_unique<TEdit>();
  edit->SetBounds(0, 0, 100, 20);
  TDVControlItemInfo control(&doc, std::move(edit), dvvaBaseline);
  TDVBreakItemInfo line(&doc);
  TDVHotGraphicItemInfo meta(&doc, Loaded("TMetafile", EmfFile(2540, 1270)), dvvaBaseline);
  const TDVScreenAndDevice printer{96, 96, 192, 192};
  struct Case {
    const char* name;
    TDVNonTextItemInfo* item;
    int32_t width, height, minWidth, minWidthOnPrinter;
    bool valid, fullWidth, printToBMP, jump, hotCold, requiresLines;
  } cases[] = {
      {"picture with own height", &ownHeight, 32, 52, 32, 64, true, false, true, false, false, true},
      {"metafile hot picture", &meta, 98, 50, 98, 196, true, false, false, true, false, true},
      {"bullet without list", &noList, 2, 2, 2, 4, false, false, true, false, false, true},
      {"hotspot", &hot, 10, 8, 10, 20, true, false, true, true, true, true},
      {"control", &control, 102, 22, 102, 204, true, false, true, false, false, true},
      {"control without one", emptyControl.get(), 2, 2, 2, 4, false, false, true, false, false, true},
      {"break", &line, 0, 0, 20, 40, true, true, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.item->GetWidth(), c.width);
    EXPECT_EQ(c.item->GetHeight(), c.height);
    EXPECT_EQ(c.item->GetMinWidth(nullptr, nullptr, &doc), c.minWidth);
    EXPECT_EQ(c.item->GetMinWidth(&printer, nullptr, &doc), c.minWidthOnPrinter);
    EXPECT_EQ(c.item->GetBoolValue(dvbpValid), c.valid);
    EXPECT_EQ(c.item->GetBoolValue(dvbpFullWidth), c.fullWidth);
    EXPECT_EQ(c.item->GetBoolValue(dvbpRequiresDVFLines), c.requiresLines);
    EXPECT_EQ(c.item->GetBoolValueEx(dvbpPrintToBMP, &style), c.printToBMP);
    EXPECT_EQ(c.item->GetBoolValueEx(dvbpJump, &style), c.jump);
    EXPECT_EQ(c.item->GetBoolValueEx(dvbpHotColdJump, &style), c.hotCold);
  }
  // A control that follows the document's width asks for no more than 20.
  control.PercentWidth = 50;
  EXPECT_EQ(control.GetMinWidth(nullptr, nullptr, &doc), 20);
  TRecordingCanvas canvas;
  int32_t hShift = 0;
  EXPECT_TRUE(control.OnDocWidthChange(600, nullptr, false, canvas, &doc, nullptr, hShift));
  EXPECT_EQ(control.Control->Width(), 298);
  EXPECT_TRUE(control.GetBoolValueEx(dvbpAllowsFocus, &style));
  control.Control->Enabled = false;
  EXPECT_FALSE(control.GetBoolValueEx(dvbpAllowsFocus, &style));
}

TEST_F(NonTextItemsTest, FactoryMakesEveryKind) {
  const struct {
    int32_t styleNo;
    const char* className;
  } kinds[] = {{dvsBreak, "break"}, {dvsPicture, "picture"}, {dvsHotspot, "hotspot"}, {dvsComponent, "control"},
               {dvsBullet, "bullet"}, {dvsHotPicture, "hot picture"}};
  for (const auto& k : kinds) {
    auto item = CreateDocViewItem(k.styleNo, &doc);
    ASSERT_NE(item, nullptr) << k.className;
    EXPECT_EQ(item->StyleNo, k.styleNo) << k.className;
    EXPECT_EQ(DV_DuplicateItem(*item, &doc)->StyleNo, k.styleNo) << k.className;
  }
}

TEST_F(NonTextItemsTest, HeaderTails) {
  TDVBreakItemInfo line(&doc);
  TDVGraphicItemInfo picture(&doc, std::make_unique<TBitmap>(2, 2), dvvaMiddle);
  TDVBulletItemInfo bullet(&doc);
  bullet.ImageList = &doc.images;
  bullet.ImageIndex = 1;
  TDVHotspotItemInfo hotspot(&doc);
  hotspot.ImageListTag = 9;  // no list: the stored tag is kept
  hotspot.HotImageIndex = 3;
  TDVControlItemInfo control(&doc);
  EXPECT_EQ(line.SaveDVFHeaderTail(&doc), "536870911 0 1");
  EXPECT_EQ(picture.SaveDVFHeaderTail(&doc), "1");
  EXPECT_EQ(bullet.SaveDVFHeaderTail(&doc), "7 1");
  EXPECT_EQ(hotspot.SaveDVFHeaderTail(&doc), "9 0 3");
  EXPECT_EQ(control.SaveDVFHeaderTail(&doc), "0");
}

TEST_F(NonTextItemsTest, EveryKindSurvivesTheStream) {
  AddEveryKind();
  for (TDVFOptions options : {DVDefaultDVFOptions, TDVFOptions{dvfoSavePicturesBody | dvfoSaveControlsBody}}) {
    SCOPED_TRACE(options);
    doc.SetDVFOptions(options);
    back.SetDVFOptions(options);
    const std::string dvf = Save(doc);
    ASSERT_TRUE(Load(back, dvf)) << dvf;
    ExpectEveryKind(back);
    EXPECT_EQ(back.GetDVFWarnings(), 0);
    // The loaded document writes the same stream again.
    EXPECT_EQ(Save(back), dvf);
    // The loaded pictures draw.
    TRecordingCanvas canvas;
    for (int i = 1; i <= 4; ++i) back.GetItem(i)->Paint(0, 0, canvas, 0, &style, nullptr);
    EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Draw 1,1 TJPEGImage 20x10",
                                                          "StretchDraw 1,1,31,51 TBitmap 30x40",
                                                          "Draw 1,1 TMetafile 96x48", "Draw 1,1 TMetafile 96x48"}));
  }
  // A control's notices: its body is saved between two paired notices and
  // the reader reports each loaded control.
  EXPECT_EQ(doc.actions, (std::vector<std::string>{"4@7", "5@7", "4@7", "5@7"}));
  EXPECT_NE(std::find(back.actions.begin(), back.actions.end(), "6@7"), back.actions.end());
}

TEST_F(NonTextItemsTest, RecordsAsWritten) {
  doc.SetDVFOptions(0);
  doc.AddItem("", std::make_unique<TDVBreakItemInfo>(&doc));
  auto hotspot = std::make_unique<TDVHotspotItemInfo>(&doc);
  hotspot->ImageList = &doc.images;
  hotspot->VShift = 5;
  doc.AddItem("a\r\nb", std::move(hotspot));
  doc.AddItem("pic", std::make_unique<TDVGraphicItemInfo>(&doc, std::make_unique<TBitmap>(1, 1), dvvaBaseline));
  EXPECT_EQ(Save(doc),
            "-8 1 2\r\n"
            "-1 0 0 0 0 0 536870911 0 1\r\n"
            "-4 2 0 0 0 0 7 0 0\r\n"  // the name and the vshift line
            "a  b\r\n"
            "vshift=5\r\n"
            "-3 1 0 0 1 0 0\r\n"  // saved without body
            "pic\r\n");
}

TEST_F(NonTextItemsTest, BodilessItemsAreAskedOfTheOwner) {
  AddEveryKind();
  doc.SetDVFOptions(0);
  ASSERT_TRUE(Load(back, Save(doc)));
  EXPECT_EQ(back.asked, (std::vector<std::string>{"picture photo", "picture drawing", "picture chart",
                                                  "picture wmf", "control ok"}));
  EXPECT_EQ(ItemAt<TDVGraphicItemInfo>(back, 2).ImageHeight, 50);
  EXPECT_EQ(ItemAt<TDVControlItemInfo>(back, 7).Control->Parent(), &back.parent);
}

// Records from outside: each is read after a good text record, and must
// either fail the whole read or load what the table says.
TEST_F(NonTextItemsTest, HostileRecords) {
  const std::string head = "-8 1 2\r\n0 1 0 0 0 0\r\nbefore\r\n";
  const std::string tail = "0 1 0 0 0 0\r\nafter\r\n";
  const std::string picture = "-3 3 0 1 0 0 0\r\np\r\nTBitmap\r\n";
  const std::string bmpHex = [] {
    TMemoryStream data(SavedBytes(TBitmap(2, 2)));
    return DVFStream2TextString(data);
  }();
  struct Case {
    const char* name;
    std::string record;
    TDVFOptions options;
    bool ok;
    const char* items;
    TDVFWarnings warnings;
  } cases[] = {
      {"break style out of range", "-1 0 0 0 0 0 255 3 1\r\n", 0, false, "", 0},
      {"break width beyond a byte", "-1 0 0 0 0 0 255 0 256\r\n", 0, false, "", 0},
      {"break with an empty tail", "-1 0 0 0 0 0\r\n", 0, true, "|[before/0]|[/-1]|[after/0]", 0},
      {"alignment out of range", "-3 3 0 1 0 0 2\r\np\r\nTBitmap\r\n" + bmpHex + "\r\n", 0, false, "", 0},
      {"picture width out of range", "-3 4 0 1 0 0 0\r\np\r\nTBitmap\r\nwidth=40000\r\n" + bmpHex + "\r\n", 0, false,
       "", 0},
      {"negative min height", "-3 4 0 1 0 0 0\r\np\r\nTBitmap\r\nminheightonpage=-1\r\n" + bmpHex + "\r\n", 0,
       false, "", 0},
      {"an unknown extra property", "-3 4 0 1 0 0 0\r\np\r\nTBitmap\r\nfuture=3\r\n" + bmpHex + "\r\n", 0, true,
       "|[before/0]|[p/-3]|[after/0]", 0},
      {"too few lines for a body", "-3 2 0 1 0 0 0\r\np\r\nTBitmap\r\n", 0, false, "", 0},
      {"unknown picture class", "-3 3 0 1 0 0 0\r\np\r\nTForm\r\n00\r\n", 0, false, "", dvfwUnknownPicFmt},
      {"unknown picture class ignored", "-3 3 0 1 0 0 0\r\np\r\nTForm\r\n00\r\n", dvfoIgnoreUnknownPicFmt, true,
       "|[before/0]|[after/0]", dvfwUnknownPicFmt},
      {"damaged picture", picture + "424D00\r\n", 0, false, "", dvfwUnknownPicFmt},
      {"damaged picture ignored", picture + "424D00\r\n", dvfoIgnoreUnknownPicFmt, true, "|[before/0]|[after/0]",
       dvfwUnknownPicFmt},
      {"picture data not hexadecimal", picture + "ZZ\r\n", 0, false, "", dvfwUnknownPicFmt},
      {"bullet index past the list", "-6 1 0 1 0 0 7 2\r\nb\r\n", 0, false, "", dvfwConvLargeImageIdx},
      {"bullet index past the list, made 0", "-6 1 0 1 0 0 7 2\r\nb\r\n", dvfoConvLargeImageIdxToZero, true,
       "|[before/0]|[b/-6]|[after/0]", dvfwConvLargeImageIdx},
      {"negative bullet index", "-6 1 0 1 0 0 7 -1\r\nb\r\n", 0, false, "", dvfwConvLargeImageIdx},
      {"negative index without a list", "-6 1 0 1 0 0 8 -1\r\nb\r\n", 0, false, "", dvfwConvLargeImageIdx},
      {"bullet of an unknown list is dropped", "-6 1 0 1 0 0 8 5\r\nb\r\n", 0, true, "|[before/0]|[after/0]", 0},
      {"hot index past the list", "-4 1 0 1 0 0 7 0 2\r\nh\r\n", 0, false, "", dvfwConvLargeImageIdx},
      {"unknown control class", "-5 3 0 1 0 0 0\r\nc\r\nTForm\r\n00\r\n", 0, false, "", dvfwUnknownCtrls},
      {"unknown control class ignored", "-5 3 0 1 0 0 0\r\nc\r\nTForm\r\n00\r\n", dvfoIgnoreUnknownCtrls, true,
       "|[before/0]|[after/0]", dvfwUnknownCtrls},
      {"damaged control is skipped", "-5 3 0 1 0 0 0\r\nc\r\nTButton\r\n545046\r\n", 0, true,
       "|[before/0]|[after/0]", dvfwUnknownCtrls},
      {"percent width past 100", "-5 4 0 1 0 0 0\r\nc\r\nTButton\r\npercentwidth=101\r\n00\r\n", 0, false, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OwnerData data;
    data.SetDVStyle(&style);
    data.SetDVFOptions(c.options);
    ASSERT_EQ(Load(data, head + c.record + tail), c.ok);
    EXPECT_EQ(Describe(data), c.items);
    EXPECT_EQ(data.GetDVFWarnings(), c.warnings);
  }
}

TEST_F(NonTextItemsTest, BinaryBodiesOfUnknownKindsAreSkipped) {
  // Unknown picture and control classes in binary records: the binary last
  // line is stepped over and the rest of the stream loads.
  std::string dvf = "-8 1 2\r\n-3 3 0 0 2 0 0\r\np\r\nTForm\r\n";
  dvf += std::string("\x03\0\0\0abc", 7);
  dvf += "-5 4 0 0 2 0 0\r\nc\r\nTForm\r\nvshift=2\r\n";
  dvf += std::string("\x02\0\0\0xy", 6);
  dvf += "0 1 0 0 0 0\r\nafter\r\n";
  back.SetDVFOptions(dvfoIgnoreUnknownPicFmt | dvfoIgnoreUnknownCtrls);
  ASSERT_TRUE(Load(back, dvf));
  EXPECT_EQ(Describe(back), "|[after/0]");
}

TEST_F(NonTextItemsTest, SaveNoticesArePairedWhenTheSaveFails) {
  AddEveryKind();
  doc.actions.clear();
  // A stream that refuses to grow past the control's record.
  class TLimitedStream : public TMemoryStream {
   public:
    int64_t Write(const void* buffer, int64_t count) override {
      if (GetPosition() + count > limit) throw EWriteError("full");
      return TMemoryStream::Write(buffer, count);
    }
    int64_t limit = 0;
  } stream;
  doc.SetDVFOptions(0 | dvfoSaveControlsBody);
  const std::string whole = Save(doc);
  const size_t body = whole.find("545046");  // the control's component stream
  ASSERT_NE(body, std::string::npos);
  doc.actions.clear();
  stream.limit = static_cast<int64_t>(body) + 4;
  EXPECT_FALSE(doc.SaveDVFToStream(stream, false, clNone, nullptr, nullptr));
  EXPECT_EQ(doc.actions, (std::vector<std::string>{"4@7", "5@7"}));
  // A notice that fails on its own fails the save, after nothing else.
  doc.actions.clear();
  doc.failOn = dvcaBeforeDVFSave;
  TMemoryStream plain;
  EXPECT_FALSE(doc.SaveDVFToStream(plain, false, clNone, nullptr, nullptr));
  EXPECT_EQ(doc.actions, (std::vector<std::string>{"4@7"}));
}

TEST_F(NonTextItemsTest, SplittingATallPicture) {
  TDVGraphicItemInfo picture(&doc, std::make_unique<TBitmap>(10, 1000), dvvaBaseline);
  const TDVScreenAndDevice twice{96, 96, 192, 192};
  EXPECT_EQ(dynamic_cast<TDVMultiImagePrintInfo*>(picture.CreatePrintingDrawItem(&doc, &twice).get()), nullptr);
  picture.MinHeightOnPage = 300;
  auto drawItem = picture.CreatePrintingDrawItem(&doc, &twice);
  auto* split = dynamic_cast<TDVMultiImagePrintInfo*>(drawItem.get());
  ASSERT_NE(split, nullptr);
  EXPECT_EQ(split->Height, 2004);
  EXPECT_THROW(
      {
        try {
          split->SplitAt(100);
        } catch (const EDocViewError& e) {
          EXPECT_STREQ(e.what(), "Internal printing error");
          throw;
        }
      },
      EDocViewError);
  ASSERT_TRUE(split->InitSplit());
  EXPECT_EQ(split->Part(0).Height, 2000);
  // Device pixels are twice the picture's.
  for (auto [y, fits] : {std::pair{0, false}, {598, false}, {600, true}, {1400, true}, {1600, false},
                         {2002, true}}) {
    EXPECT_EQ(split->CanSplitFirst(y), fits) << y;
  }
  EXPECT_FALSE(split->SplitAt(1600));  // 200 would be left
  EXPECT_FALSE(split->SplitAt(400));   // 200 would be the first part
  ASSERT_TRUE(split->SplitAt(1200));
  ASSERT_EQ(split->PartCount(), 2);
  EXPECT_EQ(split->Part(0).ImgHeight, 600);
  EXPECT_EQ(split->Part(1).ImgTop, 600);
  EXPECT_EQ(split->Part(1).ImgHeight, 400);
  EXPECT_EQ(split->Part(1).Height, 800);
  EXPECT_EQ(split->Part(1).GetSoftPageBreakInfo(), 600);
  EXPECT_FALSE(split->SplitAt(400));  // the 400 left cannot be cut again

  // The part printed into a bitmap is its slice of the picture.
  TBitmap& image = static_cast<TBitmap&>(*picture.Image);
  image.SetPixel(0, 600, clBlack);
  TBitmap slice(10, 400);
  ASSERT_TRUE(picture.PrintToBitmap(slice, false, &doc, split, 1));
  EXPECT_EQ(slice.GetPixel(0, 0), clBlack);
  EXPECT_EQ(slice.GetPixel(1, 0), clWhite);
}

TEST_F(NonTextItemsTest, SplittingAlwaysMakesProgress) {
  std::mt19937 rng(4711);
  for (int round = 0; round < 200; ++round) {
    const int32_t height = 1 + static_cast<int32_t>(rng() % 3000);
    TDVGraphicItemInfo picture(&doc, std::make_unique<TBitmap>(1, height), dvvaBaseline);
    picture.MinHeightOnPage = 1 + static_cast<int32_t>(rng() % 400);
    TDVMultiImagePrintInfo split(picture, &style, TDVScreenAndDevice{96, 96, 300, 300});
    ASSERT_TRUE(split.InitSplit());
    for (int step = 0; step < 100 && split.SplitAt(static_cast<int32_t>(rng() % 4000) - 100); ++step) {
    }
    int64_t total = 0;
    for (int i = 0; i < split.PartCount(); ++i) {
      const TDVImagePrintPart& part = split.Part(i);
      EXPECT_EQ(part.ImgTop, total) << round;
      if (split.PartCount() > 1) {
        EXPECT_GE(part.ImgHeight, picture.MinHeightOnPage) << round;
      }
      total += part.ImgHeight;
    }
    EXPECT_EQ(total, height) << round;
  }
}

TEST_F(NonTextItemsTest, Drawing) {
  struct Case {
    const char* name;
    std::function<void(TRecordingCanvas&)> draw;
    std::vector<std::string> drawn;
  };
  TDVBreakItemInfo line(&doc, 2, dvbsLine, clNone);
  TDVGraphicItemInfo picture(&doc, std::make_unique<TBitmap>(30, 20), dvvaBaseline);
  TDVHotspotItemInfo hotspot(&doc);
  hotspot.ImageList = &doc.images;
  hotspot.HotImageIndex = 1;
  TDVBulletItemInfo badIndex(&doc);
  badIndex.ImageList = &doc.images;
  badIndex.ImageIndex = 5;
  auto button = std::make_unique<TButton>();
  button->SetBounds(0, 0, 40, 10);
  TDVControlItemInfo control(&doc, std::move(button), dvvaBaseline);
  const TDVScreenAndDevice printer{96, 96, 192, 288};
  const Case cases[] = {
      {"break", [&](TRecordingCanvas& c) { line.PaintFullWidth(0, 100, 10, c, 0, &style, TRect{}, nullptr); },
       {"Line 5,15-95,15"}},
      {"selected break",
       [&](TRecordingCanvas& c) {
         line.PaintFullWidth(0, 100, 10, c, dvidsSelected | dvidsControlFocused, &style, TRect{}, nullptr);
       },
       {"Line 5,15-95,15", "Line 5,14-95,14", "Line 5,16-95,16"}},
      {"printed break",
       [&](TRecordingCanvas& c) { line.Print(c, 0, 100, 500, false, false, printer, &doc, nullptr, -1); },
       {"Line 10,115-490,115"}},
      {"current and selected picture",
       [&](TRecordingCanvas& c) { picture.Paint(10, 20, c, dvidsCurrent | dvidsSelected, &style, nullptr); },
       {"Draw 11,21 TBitmap 30x20", "Rectangle 9,19,43,43", "Rectangle 10,20,42,42"}},
      {"printed picture",
       [&](TRecordingCanvas& c) { picture.Print(c, 0, 0, 0, false, false, printer, &doc, nullptr, -1); },
       {"StretchDraw 2,3,62,63 TBitmap 30x20"}},
      {"hotspot under the mouse",
       [&](TRecordingCanvas& c) { hotspot.Paint(0, 0, c, dvidsHover | dvidsCurrent, &style, nullptr); },
       {"Draw 1,1 TBitmap 8x6", "Rectangle 0,0,10,8"}},
      {"an index the list lacks draws nothing",
       [&](TRecordingCanvas& c) { badIndex.Paint(0, 0, c, dvidsSelected, &style, nullptr); }, {}},
      {"selected control: frames only",
       [&](TRecordingCanvas& c) { control.Paint(5, 5, c, dvidsSelected, &style, nullptr); },
       {"Rectangle 5,5,47,17"}},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    c.draw(canvas);
    EXPECT_EQ(canvas.Strings(), c.drawn) << c.name;
    if (std::string(c.name) == "break") {
      EXPECT_EQ(canvas.Log()[0].Pen.Color, clMaroon);
    }
    if (std::string(c.name) == "selected break") {
      EXPECT_EQ(canvas.Log()[1].Pen.Color, clRed);
    }
    if (std::string(c.name) == "printed break") {
      EXPECT_EQ(canvas.Log()[0].Pen.Width, 6);
      EXPECT_EQ(canvas.Log()[0].Pen.Style, psInsideFrame);
    }
  }
  // Printed controls are the print component's pictures, centred.
  TBitmap bitmap(8, 8);
  ASSERT_TRUE(control.PrintToBitmap(bitmap, false, &doc, nullptr, -1));
  EXPECT_EQ(bitmap.GetPixel(2, 3), clBlack);
  EXPECT_EQ(bitmap.GetPixel(1, 3), clWhite);
  TCustomDVData plain;
  EXPECT_FALSE(control.PrintToBitmap(bitmap, false, &plain, nullptr, -1));
}

TEST_F(NonTextItemsTest, TextHtmlAndRtf) {
  TDVBreakItemInfo thin(&doc), thick(&doc, 4, dvbsLine, clRed);
  EXPECT_EQ(thin.AsText(3, &doc, "", "", false, false), "---");
  EXPECT_EQ(thick.AsText(0, &doc, "", "", false, false), "=");
  EXPECT_EQ(thick.AsText(2, &doc, "", "", false, true), std::string("=\0=\0", 4));

  const auto html = [&](const TCustomDVItemInfo& item, TDVSaveOptions options, bool css, TDVHTMLBullets& bullets,
                        int& imgSaveNo) {
    TMemoryStream stream;
    item.SaveToHTML(stream, doc, 0, "", "/pages/", "img/p", imgSaveNo, clWhite, options, css, bullets);
    return stream.AsString();
  };
  TDVHTMLBullets bullets;
  int imgSaveNo = 0;
  EXPECT_EQ(html(thin, 0, true, bullets, imgSaveNo), "<HR noshade size=1>");
  EXPECT_EQ(html(thick, 0, true, bullets, imgSaveNo), "<HR noshade size=4 style='{color : #FF0000}'>");
  EXPECT_EQ(html(thick, dvsoForceNonTextCSS, false, bullets, imgSaveNo),
            "<HR noshade size=4 style='{color : #FF0000}'>");
  EXPECT_EQ(html(thick, 0, false, bullets, imgSaveNo), "<HR noshade size=4>");

  TDVGraphicItemInfo picture(&doc, std::make_unique<TBitmap>(30, 20), dvvaMiddle);
  EXPECT_EQ(html(picture, dvsoNoHypertextImageBorders | dvsoImageSizes, true, bullets, imgSaveNo),
            "<IMG align=middle border=0 width=30 height=20 src=\"img/p/pic1.jpg\">");
  picture.VAlign = dvvaBaseline;
  picture.VShift = 50;
  EXPECT_EQ(html(picture, 0, true, bullets, imgSaveNo),
            "<IMG style=\"{vertical-align : 10}\" src=\"img/p/pic2.jpg\">");
  // An image-list image is written once per list, index and colour.
  TDVBulletItemInfo bullet(&doc);
  bullet.ImageList = &doc.images;
  EXPECT_EQ(html(bullet, 0, false, bullets, imgSaveNo), "<IMG src=\"img/p/pic3.bmp\">");
  EXPECT_EQ(html(bullet, dvsoImageSizes, false, bullets, imgSaveNo), "<IMG width=8 height=6 src=\"img/p/pic3.bmp\">");
  EXPECT_EQ(doc.saved, (std::vector<std::string>{"TBitmap", "TBitmap", "TBitmap"}));

  auto edit = std::make_unique<TEdit>();
  TDVControlItemInfo control(&doc, std::move(edit), dvvaBaseline);
  EXPECT_EQ(control.AsText(80, &doc, "", "", false, false), "TEdit as 0");
  EXPECT_EQ(html(control, 0, false, bullets, imgSaveNo), "TEdit as 1");

  const auto rtf = [&](const TCustomDVItemInfo& item, int level, TDVColorList& colors) {
    TMemoryStream stream;
    TDVIntegerList styleToFont, fontTable;
    item.SaveRTF(stream, doc, 0, "", 15.0, level, colors, styleToFont, fontTable);
    return stream.AsString();
  };
  TDVColorList colors;
  colors.Add(clBlack);
  thick.FillRTFColorTable(colors);
  thin.FillRTFColorTable(colors);
  EXPECT_EQ(colors.Count(), 2);
  EXPECT_EQ(rtf(thick, 0, colors), "\\pard\\plain\\fs6\\brdrb\\brdrs\\brdrw60\\brdrcf1\\par\\pard");
  EXPECT_EQ(rtf(thin, 1, colors), "\\pard\\intbl\\itap1\\plain\\fs6\\brdrb\\brdrs\\brdrw15\\brdrcf0\\par\\pard\\intbl\\itap1");
  EXPECT_EQ(rtf(thin, 2, colors), "\\pard\\itap2\\plain\\fs6\\brdrb\\brdrs\\brdrw15\\brdrcf0\\par\\pard\\itap2");
  EXPECT_EQ(rtf(control, 0, colors), "TEdit as 2");

  const std::string bitmapRtf = rtf(picture, 0, colors);
  EXPECT_TRUE(bitmapRtf.starts_with("{\\pict\\dibitmap0\\wbmwidthbytes92\\picw30\\pich20 28000000")) << bitmapRtf;
  EXPECT_EQ(bitmapRtf.back(), '}');
  TDVGraphicItemInfo jpeg(&doc, Loaded("TJPEGImage", RedBlueJpeg(20, 10)), dvvaBaseline);
  EXPECT_TRUE(rtf(jpeg, 0, colors).starts_with("{\\pict\\jpegblip\\picw20\\pich10 FFD8FF")) << rtf(jpeg, 0, colors);
  doc.SetRTFOptions(0);
  EXPECT_TRUE(rtf(jpeg, 0, colors).starts_with("{\\pict\\dibitmap0\\wbmwidthbytes60\\picw20\\pich10 ")) << rtf(jpeg, 0, colors);
  TDVGraphicItemInfo emf(&doc, Loaded("TMetafile", EmfFile(2540, 1270)), dvvaBaseline);
  EXPECT_TRUE(rtf(emf, 0, colors).starts_with("{\\pict\\emfblip\\picw2540\\pich1270 010000")) << rtf(emf, 0, colors);
  EXPECT_TRUE(rtf(bullet, 0, colors).starts_with("{\\pict\\dibitmap0\\wbmwidthbytes24\\picw8\\pich6 280000")) << rtf(bullet, 0, colors);
}

TEST_F(NonTextItemsTest, DocumentOperations) {
  AddEveryKind();
  std::string name;
  TGraphic* graphic = nullptr;
  TDVVAlign vAlign = dvvaBaseline;
  TDVTag tag;
  doc.GetPictureInfo(1, name, graphic, vAlign, tag);
  EXPECT_EQ(name, "photo");
  EXPECT_EQ(graphic, ItemAt<TDVGraphicItemInfo>(doc, 1).Image.get());
  EXPECT_EQ(vAlign, dvvaMiddle);
  // Hot pictures answer as pictures; other kinds do not.
  doc.GetPictureInfo(3, name, graphic, vAlign, tag);
  EXPECT_EQ(name, "chart");
  EXPECT_THROW(doc.GetPictureInfo(5, name, graphic, vAlign, tag), EDocViewError);

  auto& picture = ItemAt<TDVGraphicItemInfo>(doc, 2);
  picture.UpdatePaletteInfo(dvpaCreateCopiesEx, false);
  ASSERT_NE(picture.ImageCopy, nullptr);
  EXPECT_FALSE(doc.SetPictureInfo(2, "same size", std::make_unique<TBitmap>(30, 40), dvvaBaseline, {}));
  EXPECT_EQ(picture.ImageCopy, nullptr);  // never the old picture's copy
  EXPECT_EQ(doc.GetItemTextR(2), "same size");
  EXPECT_TRUE(doc.SetPictureInfo(2, "same size", nullptr, dvvaMiddle, {}));
  EXPECT_TRUE(doc.SetPictureInfo(2, "bigger", std::make_unique<TBitmap>(31, 40), dvvaMiddle, {}));

  TControl* button = ItemAt<TDVControlItemInfo>(doc, 7).Control.get();
  EXPECT_EQ(doc.FindControlItemNo(button), 7);
  TButton other;
  EXPECT_EQ(doc.FindControlItemNo(&other), -1);
  doc.actions.clear();
  doc.ControlAction(dvcaMoveToUndoList, 1, doc.GetItem(1));  // not a control: nothing
  doc.DeleteItems(7, 1);
  EXPECT_EQ(doc.actions, (std::vector<std::string>{"0@7"}));
}

TEST_F(NonTextItemsTest, ControlLifeInADocument) {
  auto check = std::make_unique<TCheckBox>();
  check->SetBounds(0, 0, 15, 15);
  TDVControlItemInfo item(&doc, std::move(check), dvvaBaseline);
  std::string text;
  item.Inserting(&doc, text, false);
  EXPECT_FALSE(item.Control->Visible);
  EXPECT_EQ(item.Control->Parent(), &doc.parent);
  item.AdjustInserted(40, 50, true);
  EXPECT_TRUE(item.Control->Visible);
  EXPECT_EQ(item.Control->Left, 41);
  EXPECT_EQ(item.Control->Top, 51);
  item.MovingToUndoList(3, &doc);
  EXPECT_EQ(item.Control->Parent(), nullptr);
  item.MovingFromUndoList(3, &doc);
  EXPECT_EQ(item.Control->Parent(), &doc.parent);
  EXPECT_EQ(doc.actions, (std::vector<std::string>{"1@3", "2@3"}));
  item.Inserting(&doc, text, true);
  EXPECT_EQ(item.Control->Parent(), nullptr);
}

// Copies of rect items keep every field of the rect item.
TEST_F(NonTextItemsTest, CopiesKeepTheirFields) {
  TDVGraphicItemInfo picture(&doc, std::make_unique<TBitmap>(3, 3), dvvaMiddle);
  picture.VShift = 7;
  picture.VShiftAbs = true;
  picture.MinHeightOnPage = 99;
  picture.ImageWidth = 12;
  auto copy = DV_DuplicateItem(picture, &doc);
  auto& copied = dynamic_cast<TDVGraphicItemInfo&>(*copy);
  EXPECT_TRUE(copied.VShiftAbs);
  EXPECT_EQ(copied.MinHeightOnPage, 99);
  EXPECT_EQ(copied.VShift, 7);
  EXPECT_EQ(copied.ImageWidth, 12);
  ASSERT_NE(copied.Image, nullptr);
  EXPECT_NE(copied.Image.get(), picture.Image.get());

  auto label = std::make_unique<TLabel>();
  label->Caption = "名称";
  TDVControlItemInfo control(&doc, std::move(label), dvvaBaseline);
  control.PercentWidth = 30;
  auto controlCopy = DV_DuplicateItem(control, &doc);
  auto& copiedControl = dynamic_cast<TDVControlItemInfo&>(*controlCopy);
  EXPECT_EQ(copiedControl.PercentWidth, 30);
  ASSERT_NE(copiedControl.Control, nullptr);
  EXPECT_NE(copiedControl.Control.get(), control.Control.get());
  EXPECT_EQ(static_cast<TLabel&>(*copiedControl.Control).Caption, "名称");
}

}  // namespace
}  // namespace quillet
