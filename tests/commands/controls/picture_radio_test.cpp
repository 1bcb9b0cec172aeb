// Picture option buttons and their group offscreen: clicks and focus
// checking a button, arrow keys between buttons, layout, and the drawing.
#include "commands/controls/picture_radio.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "color_test_support.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/image_list.h"
#include "render_support.h"

namespace quillet::test {
namespace {

struct GroupFixture {
  explicit GroupFixture(int items, int columns, int width = 400, int height = 200) {
    window.resize(width + 20, height + 20);
    group.SetParentWidget(&window);
    group.SetBounds(10, 10, width, height);
    group.SetCaption("对齐");
    for (int i = 0; i < items; ++i) group.AddItem().SetCaption("项" + std::to_string(i));
    group.SetColumns(columns);
    group.OnClick = [this](TDVPictureRadioGroup& g) { clicks.push_back(g.ItemIndex()); };
    window.show();
    QApplication::setActiveWindow(&window);
    (void)QTest::qWaitForWindowExposed(&window);
  }
  void Key(int index, Qt::Key key) {
    QTest::keyClick(group.Button(index).ClientWidget(), key);
  }
  int FocusedButton() {
    for (int i = 0; i < group.ItemCount(); ++i)
      if (group.Button(i).Focused()) return i;
    return -1;
  }
  void Click(TCustomControl& control, int x, int y) {
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      control.ClientWidget()->mapTo(&window, QPoint(x, y)));
  }

  QWidget window;
  TDVPictureRadioGroup group;
  std::vector<int> clicks;
};

TEST(PictureRadioGroup, GetAnotherWrapsAndSkips) {
  struct Case {
    const char* what;
    int items, columns;
    int disabled;
    int from;
    TKey key;
    int to;
  } cases[] = {
      {"4 in 4 columns: Right on the last wraps", 4, 4, -1, 3, VK_RIGHT, 0},
      {"4 in 4 columns: Left on the first", 4, 4, -1, 0, VK_LEFT, 3},
      {"6 in 6: Right skips a disabled one", 6, 6, 2, 1, VK_RIGHT, 3},
      {"6 in 6: Left skips it too", 6, 6, 2, 3, VK_LEFT, 1},
      {"5 in 2 columns: Down on the column's end", 5, 2, -1, 2, VK_DOWN, 3},
      {"5 in 2 columns: Right from the first column", 5, 2, -1, 1, VK_RIGHT, 4},
      {"5 in 2 columns: Right from the last column goes to the next row", 5, 2, -1, 3, VK_RIGHT, 1},
      {"5 in 2 columns: Left from the first column to the row above", 5, 2, -1, 1, VK_LEFT, 3},
      {"5 in 2 columns: Up from the first skips the empty slot", 5, 2, -1, 0, VK_UP, 4},
      {"one column: Up wraps", 3, 1, -1, 0, VK_UP, 2},
  };
  for (const Case& c : cases) {
    GroupFixture f(c.items, c.columns);
    if (c.disabled >= 0) f.group.Item(c.disabled).SetEnabled(false);
    EXPECT_EQ(f.group.GetAnother(c.from, c.key), c.to) << c.what;
  }
}

TEST(PictureRadioGroup, ArrowKeysMoveFocusAndCheck) {
  GroupFixture f(4, 4);
  f.group.Button(3).SetFocus();
  ASSERT_EQ(f.FocusedButton(), 3);
  EXPECT_EQ(f.group.ItemIndex(), 3);
  f.Key(3, Qt::Key_Right);
  EXPECT_EQ(f.FocusedButton(), 0);
  EXPECT_EQ(f.group.ItemIndex(), 0);
  EXPECT_TRUE(f.group.Button(0).Checked());
  EXPECT_FALSE(f.group.Button(3).Checked());
  EXPECT_EQ(f.clicks, (std::vector<int>{3, 0}));
}

TEST(PictureRadioGroup, NoFocusableButtonIgnoresTheKey) {
  GroupFixture f(3, 3);
  f.group.Button(0).SetFocus();
  for (int i = 1; i < 3; ++i) f.group.Item(i).SetEnabled(false);
  EXPECT_EQ(f.group.GetAnother(0, VK_RIGHT), 0);  // back to itself
  f.group.Item(0).SetEnabled(false);
  EXPECT_EQ(f.group.GetAnother(0, VK_RIGHT), -1);
}

TEST(PictureRadioGroup, ClicksSetTheItemAndSettingItemIndexReportsNothing) {
  GroupFixture f(3, 3);
  f.Click(f.group.Button(1), 20, 20);
  EXPECT_EQ(f.group.ItemIndex(), 1);
  f.Click(f.group.Button(2), 20, 20);
  EXPECT_EQ(f.clicks, (std::vector<int>{1, 2}));
  f.group.SetItemIndex(0);
  EXPECT_TRUE(f.group.Button(0).Checked());
  EXPECT_FALSE(f.group.Button(2).Checked());
  f.group.SetItemIndex(7);
  EXPECT_EQ(f.group.ItemIndex(), 2);
  f.group.SetItemIndex(-5);
  EXPECT_EQ(f.group.ItemIndex(), -1);
  EXPECT_EQ(f.clicks.size(), 2u);
  // Fewer items: the index stays within them.
  f.group.SetItemIndex(2);
  f.group.ClearItems();
  EXPECT_EQ(f.group.ItemIndex(), -1);
}

TEST(PictureRadioGroup, ACanModifyVetoKeepsTheItem) {
  struct TLocked : TDVPictureRadioGroup {
    bool CanModify() override { return false; }
  };
  QWidget window;
  TLocked group;
  group.SetParentWidget(&window);
  group.SetBounds(0, 0, 300, 150);
  group.AddItem();
  group.AddItem();
  window.show();
  (void)QTest::qWaitForWindowExposed(&window);
  group.Button(1).SetFocus();
  EXPECT_EQ(group.ItemIndex(), -1);
}

TEST(PictureRadioGroup, ButtonsAreArrangedInColumns) {
  GroupFixture f(5, 2, 420, 250);
  const int top = f.group.Button(0).Top();
  const int width = (420 - 20) / 2;
  const int perColumn = 3;
  const int height = f.group.Button(0).Height();
  EXPECT_EQ(f.group.Button(0).Left(), 15);
  EXPECT_EQ(f.group.Button(0).Width(), width - 10);
  EXPECT_EQ(f.group.Button(3).Left(), width + 15);
  EXPECT_EQ(f.group.Button(3).Top(), top);
  EXPECT_EQ(f.group.Button(2).Top(), top + 2 * height);
  EXPECT_EQ(height, (250 - (top - 10) - 20) / perColumn);
  f.group.SetColumns(40);
  EXPECT_EQ(f.group.Columns(), 16);
}

TEST(PictureRadioButton, DrawsPictureFrameAndCaption) {
  TCustomImageList images(16, 16);
  TBitmap red(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) red.SetPixel(x, y, clRed);
  images.Add(red);
  struct Case {
    const char* name;
    bool themed, checked, large;
    int imageIndex;
    int textAreaHeight;
  } cases[] = {
      {"picture_radio_classic_checked", false, true, false, 0, 30},
      {"picture_radio_themed_checked", true, true, false, 0, 30},
      {"picture_radio_large_selection", false, true, true, 0, 30},
      {"picture_radio_index_out_of_range", false, false, false, 5, 30},
      {"picture_radio_no_caption", false, false, false, 0, 0},
  };
  for (const Case& c : cases) {
    QWidget window;
    TDVPictureRadioButton button;
    button.SetParentWidget(&window);
    button.SetBounds(0, 0, 100, 100);
    button.Images = &images;
    button.ImageIndex = c.imageIndex;
    button.TextAreaHeight = c.textAreaHeight;
    button.LargeSelection = c.large;
    button.SetUseXPThemes(c.themed);
    button.SetChecked(c.checked);
    button.SetCaption("居中");
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    const QImage image = button.ClientWidget()->grab().toImage();
    SaveRender(image, c.name);
    const TRect area = button.ImageRect();
    const int cx = (area.Left + area.Right) / 2, cy = (area.Top + area.Bottom) / 2;
    EXPECT_EQ(PixelAt(image, cx, cy), c.imageIndex == 0 ? clRed : ColorToRGB(clWindow)) << c.name;
    // The checked frame: on the area's edge with a large selection, else 4 pixels in.
    const int frameX = c.large ? area.Left : area.Left + 4;
    if (c.checked) {
      EXPECT_EQ(PixelAt(image, frameX, cy), ColorToRGB(clHighlight)) << c.name;
    }
    int dark = 0;
    const TRect text = button.TextRect();
    for (int y = text.Top; y < text.Bottom; ++y)
      for (int x = 0; x < 100; ++x) dark += qGray(image.pixel(x, y)) < 100;
    if (c.textAreaHeight > 0) {
      EXPECT_GT(dark, 5) << c.name;
    }
    EXPECT_EQ(area.Bottom, 100 - c.textAreaHeight) << c.name;
  }
}

TEST(PictureRadioGroup, Render) {
  GroupFixture f(3, 3, 300, 120);
  f.group.SetItemIndex(1);
  f.group.SetUseXPThemes(false);
  const QImage image = f.group.ClientWidget()->grab().toImage();
  SaveRender(image, "picture_radio_group");
  const TRect r = f.group.Button(1).ImageRect();
  const int left = f.group.Button(1).Left() + r.Left + 4;
  const int y = f.group.Button(1).Top() + (r.Top + r.Bottom) / 2;
  EXPECT_EQ(PixelAt(image, left, y), ColorToRGB(clHighlight));
  EXPECT_EQ(PixelAt(image, f.group.Button(0).Left() + r.Left + 4, y), ColorToRGB(clWindow));
}

}  // namespace
}  // namespace quillet::test
