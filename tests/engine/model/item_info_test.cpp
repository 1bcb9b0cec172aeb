#include "engine/model/item_info.h"

#include <gtest/gtest.h>

#include "engine/model/dv_data.h"
#include "engine/model/item_registry.h"
#include "engine/model/model_test_items.h"

namespace quillet {
namespace {

using test::FullLineItem;
using test::RectItem;

TEST(ItemOptionsTest, SettersClearWhatContradicts) {
  enum Op { SameAsPrev, PageBreak, BR };
  struct Case {
    TDVItemOptions before;
    Op op;
    bool value;
    bool fullWidth;
    TDVItemOptions after;
  };
  const Case cases[] = {
      {dvioPageBreakBefore | dvioBR | dvioUnicode, SameAsPrev, true, false, dvioSameAsPrev | dvioUnicode},
      {dvioSameAsPrev | dvioUnicode, SameAsPrev, false, false, dvioUnicode},
      {dvioSameAsPrev | dvioBR, PageBreak, true, false, dvioPageBreakBefore},
      {dvioPageBreakBefore | dvioUnicode, PageBreak, false, false, dvioUnicode},
      {dvioSameAsPrev, BR, true, false, dvioBR},
      {dvioPageBreakBefore, BR, true, false, dvioPageBreakBefore | dvioBR},
      {dvioBR, BR, false, false, 0},
      // A full-width item never takes BR: the flag is cleared instead.
      {dvioBR, BR, true, true, 0},
      {dvioSameAsPrev, BR, true, true, dvioSameAsPrev},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TCustomDVItemInfo> item;
    if (c.fullWidth)
      item = std::make_unique<FullLineItem>(nullptr);
    else
      item = std::make_unique<TDVTextItemInfo>(nullptr);
    item->ItemOptions = c.before;
    if (c.op == SameAsPrev) item->SetSameAsPrev(c.value);
    if (c.op == PageBreak) item->SetPageBreakBefore(c.value);
    if (c.op == BR) item->SetBR(c.value);
    EXPECT_EQ(item->ItemOptions, c.after) << int(c.before) << " op " << c.op << " " << c.value;
    EXPECT_EQ(item->CanBeBorderStart(), (c.after & (dvioSameAsPrev | dvioBR)) == 0);
  }
}

TEST(ItemRegistryTest, CreatesByStyleNumber) {
  UnregisterAllDocViewItemClasses();
  EXPECT_EQ(CreateDocViewItem(dvsCheckpoint, nullptr), nullptr);
  EXPECT_EQ(CreateDocViewItem(dvsBack, nullptr), nullptr);
  EXPECT_EQ(CreateDocViewItem(-60, nullptr), nullptr);
  auto text = CreateDocViewItem(12, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(dynamic_cast<TDVTextItemInfo*>(text.get()), nullptr);
  EXPECT_EQ(text->StyleNo, 12);
  EXPECT_EQ(text->DrawItemNo, -1);

  RegisterDocViewItemClass(-60, DVItemClassOf<FullLineItem>);
  auto table = CreateDocViewItem(-60, nullptr);
  ASSERT_NE(table, nullptr);
  EXPECT_NE(dynamic_cast<FullLineItem*>(table.get()), nullptr);
  EXPECT_EQ(table->StyleNo, -60);
  UnregisterAllDocViewItemClasses();
}

TEST(ItemRegistryTest, RefusesReservedAndTakenNumbers) {
  UnregisterAllDocViewItemClasses();
  const std::string taken = "Can't register DocView item type - this StyleNo is already registered";
  // -10 and -11 are the built-in hot picture and list marker: a class
  // registered there would never be used, so it is refused.
  for (int32_t reserved : {-1, -9, -10, -11, 0, 5}) {
    try {
      RegisterDocViewItemClass(reserved, DVItemClassOf<RectItem>);
      ADD_FAILURE() << reserved;
    } catch (const EDocViewError& e) {
      EXPECT_EQ(e.what(), taken);
    }
  }
  RegisterDocViewItemClass(-20, DVItemClassOf<RectItem>);
  RegisterDocViewItemClass(-20, DVItemClassOf<RectItem>);
  EXPECT_THROW(RegisterDocViewItemClass(-20, DVItemClassOf<FullLineItem>), EDocViewError);
  UnregisterAllDocViewItemClasses();
}

TEST(ItemDuplicateTest, CopiesClassPropertiesCheckpointAndTag) {
  TCustomDVData data;
  data.SetOptions(data.GetOptions() | dvoTagsArePChars);
  RectItem source(&data);
  source.StyleNo = -20;
  source.ParaNo = 3;
  source.ItemOptions = dvioSameAsPrev;
  source.DrawItemNo = 17;
  source.JumpID = 4;
  source.Tag.Str = "tag";
  source.Checkpoint = std::make_unique<TDVCPInfo>();
  source.Checkpoint->Name = "cp";
  source.Checkpoint->RaiseEvent = true;

  auto copy = DV_DuplicateItem(source, &data);
  ASSERT_NE(dynamic_cast<RectItem*>(copy.get()), nullptr);
  EXPECT_EQ(copy->StyleNo, -20);
  EXPECT_EQ(copy->ParaNo, 3);
  EXPECT_EQ(copy->ItemOptions, dvioSameAsPrev);
  EXPECT_EQ(copy->DrawItemNo, -1);
  EXPECT_EQ(copy->JumpID, 0);
  ASSERT_TRUE(copy->Tag.Str.has_value());
  source.Tag.Str->assign("changed");
  EXPECT_EQ(*copy->Tag.Str, "tag");
  ASSERT_NE(copy->Checkpoint, nullptr);
  EXPECT_NE(copy->Checkpoint.get(), source.Checkpoint.get());
  EXPECT_EQ(copy->Checkpoint->Name, "cp");
  EXPECT_TRUE(copy->Checkpoint->RaiseEvent);
  EXPECT_EQ(copy->Checkpoint->ItemInfo, nullptr);
}

TEST(ItemExtraPropertyTest, NameValueLines) {
  struct Case {
    const char* line;
    bool applied;
    TDVExtraItemProperty prop;
    int32_t value;
  };
  const Case cases[] = {
      {"vshift=12", true, dvepVShift, 12},
      {"vshift=abc", true, dvepVShift, 0},
      {"vshift=12x", true, dvepVShift, 0},
      {"minheightonpage=-5", true, dvepMinHeightOnPage, -5},
      {"tcolor=99999999999", true, dvepTransparentColor, 0},
      {"VShift=1", false, dvepUnknown, 0},
      {"unknown=3", false, dvepUnknown, 0},
      {"=3", false, dvepUnknown, 0},
      {"vshift", false, dvepUnknown, 0},
  };
  for (const Case& c : cases) {
    RectItem item(nullptr);
    item.SetExtraPropertyFromDVFStr(c.line);
    if (!c.applied) {
      EXPECT_TRUE(item.set.empty()) << c.line;
      continue;
    }
    ASSERT_EQ(item.set.size(), 1u) << c.line;
    EXPECT_EQ(item.set[0].first, c.prop) << c.line;
    EXPECT_EQ(item.set[0].second, c.value) << c.line;
  }
}

TEST(ItemDVFHeaderTest, CommonFields) {
  TCustomDVData data;
  RectItem item(&data);
  item.StyleNo = -20;
  item.ItemOptions = dvioPageBreakBefore | dvioUnicode;
  item.Tag.Int = 42;
  EXPECT_EQ(item.DVFHeaderLine(data, 2, 3, TDVNonTextItemInfo::dvfrtBinary, false), "-20 3 2 10 2 42 tail");
  // Saved as continuing its paragraph: SameAsPrev set, the page break gone.
  EXPECT_EQ(item.DVFHeaderLine(data, 2, 0, TDVNonTextItemInfo::dvfrtText, true), "-20 0 -1 9 0 42 tail");

  data.SetOptions(data.GetOptions() | dvoTagsArePChars);
  item.Tag = {};
  item.Tag.Str = "has space";
  EXPECT_EQ(item.DVFHeaderLine(data, 0, 1, TDVNonTextItemInfo::dvfrtNoBody, false), "-20 1 0 10 1 %has%20space tail");
}

}  // namespace
}  // namespace quillet
