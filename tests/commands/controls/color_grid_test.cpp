// The colour grid offscreen: the chosen colour through its setter, clicks
// and keys, the posted change event, and the cells as drawn.
#include "commands/controls/color_grid.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>

#include "color_test_support.h"
#include "commands/controls/color_palette.h"
#include "render_support.h"

namespace quillet::test {
namespace {

struct GridFixture {
  GridFixture() : shown(grid, 10, 10, 50, 50) {
    grid.SetFirstCaption("透明色");
    grid.OnColorChange = [this](TDVColorGrid& g) { changes.push_back(g.ChosenColor()); };
    ProcessPosted();
  }
  QPoint At(int x, int y) { return grid.ClientWidget()->mapTo(&shown.window, QPoint(x, y)); }
  void Click(int x, int y) {
    QTest::mouseClick(shown.window.windowHandle(), Qt::LeftButton, Qt::NoModifier, At(x, y));
  }
  QPoint Centre(int col, int row) {
    const TRect r = grid.CellRect(col, row);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  QImage Render() { return grid.ClientWidget()->grab().toImage(); }

  TDVColorGrid grid;
  ControlWindow shown;
  std::vector<TColor> changes;
};

TEST(ColorGrid, SizesItselfToItsRows) {
  GridFixture f;
  EXPECT_EQ(f.grid.Width(), 136);
  EXPECT_EQ(f.grid.Height(), 24 + 17 * 5 + 1);
  // The dialogs' rows.
  f.grid.SetRowHeight(0, 19);
  f.grid.SetBounds(0, 0, 10, 10);
  ProcessPosted();
  EXPECT_EQ(f.grid.Width(), 136);
  EXPECT_EQ(f.grid.Height(), 105);
  EXPECT_EQ(f.grid.CellRect(0, 0), Rect(0, 0, 135, 19));
  EXPECT_EQ(f.grid.CellRect(7, 5), Rect(119, 88, 135, 104));
}

TEST(ColorGrid, ChosenColorThroughTheSetter) {
  struct Case {
    const char* what;
    bool startIndeterminate;
    TColor set;
    TColor firstColor;
    TColor chosen;
    bool indeterminate;
    int col, row;
    const char* name;
  } cases[] = {
      {"palette colour", false, 0x00CCFF, clNone, 0x00CCFF, false, 1, 4, "Gold"},
      {"first colour", false, clNone, clNone, clNone, false, 0, 0, "透明色"},
      {"first colour clears indeterminate", true, clNone, clNone, clNone, false, 0, 0, "透明色"},
      {"first colour before the palette", false, clWhite, clWhite, clWhite, false, 0, 0, "透明色"},
      {"outside the palette", false, 0x123456, clNone, clNone, true, 0, 0, ""},
      {"palette colour clears indeterminate", true, clBlack, clNone, clBlack, false, 0, 1, "Black"},
      {"last cell", false, clWhite, clNone, clWhite, false, 7, 5, "White"},
  };
  for (const Case& c : cases) {
    GridFixture f;
    f.grid.SetFirstColor(c.firstColor);
    f.grid.SetIndeterminate(c.startIndeterminate);
    f.grid.SetChosenColor(c.set);
    EXPECT_EQ(f.grid.ChosenColor(), c.chosen) << c.what;
    EXPECT_EQ(f.grid.Indeterminate(), c.indeterminate) << c.what;
    EXPECT_EQ(f.grid.Row(), c.row) << c.what;
    if (c.row > 0) {
      EXPECT_EQ(f.grid.Col(), c.col) << c.what;
    }
    EXPECT_EQ(f.grid.GetColorName(), c.name) << c.what;
  }
}

TEST(ColorGrid, IndeterminateReportsTheFirstColourUntilACellIsChosen) {
  GridFixture f;
  f.grid.SetChosenColor(clRed);
  f.grid.SetChosenColor(0x010203);  // outside: the red cell stays current
  EXPECT_TRUE(f.grid.Indeterminate());
  EXPECT_EQ(f.grid.ChosenColor(), clNone);
  EXPECT_EQ(f.grid.Row(), 3);
  f.Click(f.Centre(2, 2).x(), f.Centre(2, 2).y());
  EXPECT_FALSE(f.grid.Indeterminate());
  EXPECT_EQ(f.grid.ChosenColor(), Colors[10].Color);
}

TEST(ColorGrid, ChangeEventArrivesAfterTheSelectionSettled) {
  GridFixture f;
  f.grid.SetChosenColor(clRed);
  EXPECT_TRUE(f.changes.empty());  // posted, not yet delivered
  ProcessPosted();
  EXPECT_EQ(f.changes, std::vector<TColor>{clRed});
  // A grid gone before the event drops it.
  {
    auto gone = std::make_unique<TDVColorGrid>();
    bool fired = false;
    gone->OnColorChange = [&](TDVColorGrid&) { fired = true; };
    gone->SetChosenColor(clBlue);
    gone.reset();
    ProcessPosted();
    EXPECT_FALSE(fired);
  }
}

TEST(ColorGrid, ClicksAndArrowsChooseCells) {
  struct Step {
    const char* what;
    int clickCol, clickRow;  // -1: a key instead
    Qt::Key key;
    TColor chosen;
  } steps[] = {
      {"click a palette cell", 3, 1, Qt::Key_unknown, Colors[3].Color},
      {"right", -1, 0, Qt::Key_Right, Colors[4].Color},
      {"down", -1, 0, Qt::Key_Down, Colors[12].Color},
      {"up twice reaches the first row", -1, 0, Qt::Key_Up, Colors[4].Color},
      {"", -1, 0, Qt::Key_Up, clNone},
      {"up on the first row stays", -1, 0, Qt::Key_Up, clNone},
      {"down returns to the column", -1, 0, Qt::Key_Down, Colors[4].Color},
      {"click the first row far right", 7, 0, Qt::Key_unknown, clNone},
      {"click the last cell", 7, 5, Qt::Key_unknown, clWhite},
      {"right at the edge stays", -1, 0, Qt::Key_Right, clWhite},
  };
  GridFixture f;
  for (const Step& s : steps) {
    if (s.clickCol >= 0) {
      const QPoint p = f.Centre(s.clickCol, s.clickRow);
      f.Click(s.clickRow == 0 ? 130 : p.x(), p.y());
    } else {
      QTest::keyClick(f.shown.window.windowHandle(), s.key);
    }
    EXPECT_EQ(f.grid.ChosenColor(), s.chosen) << s.what;
  }
  EXPECT_TRUE(f.grid.Focused());
  ProcessPosted();
  EXPECT_EQ(f.changes.size(), 8u);  // every move, not the ones that stayed
}

TEST(ColorGrid, CellsAsDrawn) {
  struct Case {
    const char* what;
    bool flat;
    bool indeterminate;
    TColor firstColor;
  } cases[] = {
      {"sunken", false, false, clNone},
      {"flat", true, false, clNone},
      {"indeterminate", false, true, clNone},
      {"first colour swatch", false, false, clBlue},
  };
  for (const Case& c : cases) {
    GridFixture f;
    f.grid.SetFirstColor(c.firstColor);
    f.grid.SetFlat(c.flat);
    f.grid.SetChosenColor(Colors[9].Color);  // orange, row 2 column 1
    f.grid.SetIndeterminate(c.indeterminate);
    const QImage image = f.Render();
    SaveRender(image, (std::string("color_grid_") + c.what).c_str());
    const TRect chosen = f.grid.CellRect(1, 2);
    const TRect other = f.grid.CellRect(5, 4);
    // Every cell is its colour inside its frame.
    EXPECT_EQ(PixelAt(image, other.Left + 8, other.Top + 8), Colors[29].Color) << c.what;
    EXPECT_EQ(PixelAt(image, chosen.Left + 8, chosen.Top + 8), Colors[9].Color) << c.what;
    if (c.indeterminate) {
      EXPECT_NE(PixelAt(image, chosen.Left, chosen.Top), GetSysColor(13)) << c.what;
    } else {
      // Two highlight pixels, one window pixel, then the colour.
      EXPECT_EQ(PixelAt(image, chosen.Left, chosen.Top + 8), GetSysColor(13)) << c.what;
      EXPECT_EQ(PixelAt(image, chosen.Left + 1, chosen.Top + 8), GetSysColor(13)) << c.what;
      EXPECT_EQ(PixelAt(image, chosen.Left + 2, chosen.Top + 8), GetSysColor(5)) << c.what;
      EXPECT_EQ(PixelAt(image, chosen.Left + 3, chosen.Top + 8), Colors[9].Color) << c.what;
    }
    // Other cells: a window-coloured frame when flat, else the sunken edge.
    EXPECT_EQ(PixelAt(image, other.Left, other.Top + 8), c.flat ? GetSysColor(5) : GetSysColor(16)) << c.what;
    EXPECT_EQ(PixelAt(image, other.Left + 1, other.Top + 8), c.flat ? Colors[29].Color : GetSysColor(21))
        << c.what;
    const TRect first = f.grid.CellRect(0, 0);
    EXPECT_EQ(PixelAt(image, first.Left + 4, first.Top + 4), c.firstColor == clNone ? GetSysColor(5) : clBlue)
        << c.what;
  }
}

TEST(ColorGrid, FirstCaptionCentredInClWindowText) {
  GridFixture f;
  const QImage image = f.Render();
  const TRect first = f.grid.CellRect(0, 0);
  int left = first.Right, right = first.Left;
  for (int y = first.Top + 3; y < first.Bottom - 3; ++y)
    for (int x = first.Left + 3; x < first.Right - 3; ++x)
      if (qGray(image.pixel(x, y)) < 96) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  ASSERT_LT(left, right);
  EXPECT_NEAR((left + right) / 2, (first.Left + first.Right) / 2, 3);
}

}  // namespace
}  // namespace quillet::test
