#include "engine/style/list_style.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"

namespace quillet {
namespace {

// A graphic that only knows its size.
class TTestGraphic final : public TGraphic {
 public:
  TTestGraphic(int32_t w, int32_t h) : w_(w), h_(h) {}
  std::string_view ClassName() const override { return "TTestGraphic"; }
  int32_t Width() const override { return w_; }
  int32_t Height() const override { return h_; }
  bool Empty() const override { return w_ == 0 || h_ == 0; }
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream&) const override {}
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TTestGraphic>(w_, h_); }
  void Paint(TCanvas&, const TRect&) const override {}

 private:
  int32_t w_, h_;
};

TEST(ListStyleLevel, DefaultsAndPartsMadeOnFirstAccess) {
  TDVListInfo list;
  EXPECT_EQ(list.StyleName, "List Style");
  TDVListLevel& level = list.Levels().Add();
  EXPECT_EQ(level.ListType, dvlstBullet);
  EXPECT_EQ(level.ImageList, nullptr);
  EXPECT_EQ(level.ImageIndex, 0);
  EXPECT_EQ(level.FormatString, "\xB7");
  EXPECT_EQ(level.LeftIndent, 0);
  EXPECT_EQ(level.FirstIndent, 10);
  EXPECT_EQ(level.MarkerIndent, 0);
  EXPECT_EQ(level.MarkerAlignment, dvmaLeft);
  EXPECT_EQ(level.Options, dvloContinuous | dvloLevelReset);
  EXPECT_FALSE(level.HasFont());
  EXPECT_FALSE(level.HasPictureObject());
  EXPECT_FALSE(level.HasPicture());
  EXPECT_TRUE(level.Font().IsDefault());
  EXPECT_TRUE(level.HasFont());
  EXPECT_EQ(level.Picture().Graphic(), nullptr);
  EXPECT_TRUE(level.HasPictureObject());
  EXPECT_FALSE(level.HasPicture());
  EXPECT_EQ(list.Levels().Add().GetDisplayName(), "List Level 1");
}

TEST(ListStyleMarkerFont, DefaultAndEquality) {
  TDVMarkerFont font;
  EXPECT_EQ(font.Name, "Arial");
  EXPECT_EQ(font.GetSize(), 8);
  EXPECT_TRUE(font.IsDefault());
  EXPECT_FALSE(font.IsNameStored());
  EXPECT_FALSE(font.IsHeightStored());
  font.Name = "ARIAL";
  EXPECT_TRUE(font.IsDefault());
  EXPECT_TRUE(font.IsNameStored());

  const std::vector<std::function<void(TFont&)>> changes = {
      [](TFont& f) { f.Name = "Tahoma"; },       [](TFont& f) { f.SetSize(9); },
      [](TFont& f) { f.Color = clRed; },         [](TFont& f) { f.Charset = GB2312_CHARSET; },
      [](TFont& f) { f.Style = fsBold; },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    TDVMarkerFont changed;
    changes[i](changed);
    EXPECT_FALSE(changed.IsDefault()) << i;
    EXPECT_FALSE(TDVMarkerFont().IsEqual(changed)) << i;
  }
  TFont other;
  other.Name = "arial";
  other.SetSize(8);
  EXPECT_TRUE(TDVMarkerFont().IsEqual(other));
}

TEST(ListStyleLevel, IsSimpleEqualComparesAllButPicture) {
  TCustomImageList images;
  const std::vector<std::function<void(TDVListLevel&)>> changes = {
      [](TDVListLevel& l) { l.ListType = dvlstDecimal; },
      [&images](TDVListLevel& l) { l.ImageList = &images; },
      [](TDVListLevel& l) { l.ImageIndex = 2; },
      [](TDVListLevel& l) { l.FormatString = "-"; },
      [](TDVListLevel& l) { l.LeftIndent = 5; },
      [](TDVListLevel& l) { l.FirstIndent = 0; },
      [](TDVListLevel& l) { l.MarkerIndent = 3; },
      [](TDVListLevel& l) { l.MarkerAlignment = dvmaRight; },
      [](TDVListLevel& l) { l.Options = dvloLegalStyleNumbering; },
      [](TDVListLevel& l) { l.Font().Color = clRed; },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    TDVListLevel a, b;
    changes[i](b);
    EXPECT_FALSE(a.IsSimpleEqual(b)) << i;
    EXPECT_FALSE(b.IsSimpleEqual(a)) << i;
  }
  TDVListLevel a, b;
  b.Font();  // a default font equals a missing one
  b.Picture().SetGraphic(std::make_unique<TTestGraphic>(4, 4));
  EXPECT_TRUE(a.IsSimpleEqual(b));
  a.Font().Color = clRed;
  b.Font().Color = clRed;
  EXPECT_TRUE(a.IsSimpleEqual(b));
}

TEST(ListStyleLevel, AssignCopiesPictureAndFont) {
  TDVListLevel source;
  source.ListType = dvlstPicture;
  source.FormatString = "%s.";
  source.Font().Name = "Tahoma";
  source.Picture().SetGraphic(std::make_unique<TTestGraphic>(7, 9));
  TDVListLevel target;
  target.Assign(source);
  EXPECT_TRUE(target.IsSimpleEqual(source));
  ASSERT_TRUE(target.HasPicture());
  EXPECT_NE(target.Picture().Graphic(), source.Picture().Graphic());
  EXPECT_EQ(target.Picture().Graphic()->Width(), 7);
  EXPECT_EQ(target.Font().Name, "Tahoma");

  // A picture without a graphic, and a missing font, free the target's.
  TDVListLevel plain;
  plain.Picture();
  target.Assign(plain);
  EXPECT_FALSE(target.HasPictureObject());
  EXPECT_FALSE(target.HasFont());
}

TEST(ListStyleInfo, EqualityAndAssignGoByLevels) {
  TDVListInfo a, b;
  a.Levels().Add();
  EXPECT_FALSE(a.IsSimpleEqual(b));
  b.Levels().Add();
  EXPECT_TRUE(a.IsSimpleEqual(b));
  b.Levels()[0].LeftIndent = 24;
  EXPECT_FALSE(a.IsSimpleEqual(b));
  b.StyleName = "Numbers";
  b.Levels().Add().ListType = dvlstUpperRoman;
  a.Assign(b);
  EXPECT_TRUE(a.IsSimpleEqual(b));
  EXPECT_EQ(a.StyleName, "Numbers");
  EXPECT_EQ(a.Levels().Count(), 2);
  EXPECT_EQ(a.Levels()[1].Index(), 1);
  EXPECT_EQ(a.Levels().GetOwner(), &a);
}

TEST(ListStyleInfos, RemoveImageListClearsEveryReference) {
  TCustomImageList gone, kept;
  TDVListInfos lists(nullptr);
  TDVListInfo& first = lists.Add();
  first.Levels().Add().ImageList = &gone;
  first.Levels().Add().ImageList = &kept;
  TDVListInfo& second = lists.Add();
  second.Levels().Add();
  second.Levels().Add().ImageList = &gone;
  lists.RemoveImageList(&gone);
  EXPECT_EQ(first.Levels()[0].ImageList, nullptr);
  EXPECT_EQ(first.Levels()[1].ImageList, &kept);
  EXPECT_EQ(second.Levels()[1].ImageList, nullptr);
}

}  // namespace
}  // namespace quillet
