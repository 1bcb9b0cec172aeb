// The pen dialog offscreen: what each opening shows, what OK and Cancel
// leave in the pen, and the width samples as drawn.
#include "host/annotation/pen_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "commands/controls/color_combo.h"
#include "commands/controls/color_popup.h"
#include "commands/actions/width_painters.h"
#include "commands/controls/color_test_support.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet::test {
namespace {

// The rows of a column that hold the colour.
int RowsOf(const QImage& image, int x, TColor color) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    if (PixelAt(image, x, y) == color) ++n;
  return n;
}

TEST(PenWidthItem, SampleLineIsIndexPlusOnePixelsWide) {
  for (int index = 0; index < TPostilDlg::WidthCount; ++index) {
    for (const bool selected : {false, true}) {
      QImage image(100, 20, QImage::Format_RGB32);
      image.fill(Qt::black);
      {
        TQtCanvas canvas(image);
        DVA_DrawCmbWidthItem(canvas, {0, 0, 100, 20}, index, clBlue, selected);
      }
      EXPECT_EQ(RowsOf(image, 50, clBlue), index + 1) << index;
      // Centred on the middle row.
      EXPECT_EQ(PixelAt(image, 50, 10), clBlue) << index;
      // The frame's edges, two pixels wide, inside the item.
      const TColor edge = selected ? GetSysColor(13) : GetSysColor(5);
      for (const auto& [x, y] : {std::pair{20, 0}, {20, 1}, {20, 18}, {20, 19}, {0, 3}, {1, 3}, {98, 3}, {99, 3}})
        EXPECT_EQ(PixelAt(image, x, y), edge) << index << selected << " at " << x << "," << y;
      EXPECT_EQ(PixelAt(image, 2, 3), GetSysColor(5)) << index << selected;
    }
  }
}

struct DialogFixture {
  DialogFixture() : dlg(pen) {}
  void Open() {
    dlg.Dialog()->show();
    QApplication::setActiveWindow(dlg.Dialog());
    (void)QTest::qWaitForWindowExposed(dlg.Dialog());
  }
  // Picks a palette colour through the combo's popup, as the user does.
  void PickColor(int paletteIndex) {
    TDVColorCombo& combo = dlg.cmbLineColor();
    QTest::mouseClick(combo.ClientWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
    ASSERT_NE(combo.Popup(), nullptr);
    QTest::mouseClick(combo.Popup()->ColorButton(1 + paletteIndex), Qt::LeftButton);
    ProcessPosted();
  }
  void Click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessPosted();
  }
  int ShownWidth() const { return dlg.cmbLineWidth()->currentIndex() + 1; }

  TAnnotationPen pen;
  TPostilDlg dlg;
};

TEST(PenDialog, FirstOpeningShowsTheStartingPen) {
  DialogFixture f;
  f.Open();
  EXPECT_EQ(f.dlg.Dialog()->windowTitle().toStdString(), "笔批注属性");
  EXPECT_EQ(f.dlg.cmbLineColor().ChosenColor(), clRed);
  EXPECT_FALSE(f.dlg.cmbLineColor().Indeterminate());
  EXPECT_EQ(f.dlg.cmbLineColor().AutoColor(), clRed);
  EXPECT_EQ(f.dlg.cmbLineWidth()->count(), 10);
  EXPECT_EQ(f.dlg.cmbLineWidth()->itemText(0).toStdString(), "1");
  // The starting pen is 2 pixels wide: the item "2".
  EXPECT_EQ(f.dlg.cmbLineWidth()->currentText().toStdString(), "2");
  EXPECT_EQ(f.dlg.cmbLineColor().ColorDialog(), &f.dlg.ColorDialog1());
}

TEST(PenDialog, OkTakesTheWidthShownAndTheColour) {
  struct Case {
    const char* what;
    int item;  // the number shown
    int palette;
    TAnnotationPen expected;
  } cases[] = {
      {"item 5", 5, -1, {clRed, 5}},
      {"item 1", 1, -1, {clRed, 1}},
      {"item 10", 10, -1, {clRed, 10}},
      {"blue, item 3", 3, 13, {clBlue, 3}},
  };
  for (const Case& c : cases) {
    DialogFixture f;
    f.Open();
    f.dlg.cmbLineWidth()->setCurrentIndex(c.item - 1);
    if (c.palette >= 0) f.PickColor(c.palette);
    f.Click(f.dlg.OKBtn());
    EXPECT_EQ(f.pen, c.expected) << c.what;
    EXPECT_FALSE(f.dlg.Dialog()->isVisible()) << c.what;
  }
}

TEST(PenDialog, CancelLeavesThePenAndTheNextOpeningShowsIt) {
  DialogFixture f;
  f.Open();
  f.PickColor(13);
  f.dlg.cmbLineWidth()->setCurrentIndex(8);
  f.Click(f.dlg.CancelBtn());
  EXPECT_EQ(f.pen, (TAnnotationPen{clRed, 2}));
  f.Open();
  EXPECT_EQ(f.dlg.cmbLineColor().ChosenColor(), clRed);
  EXPECT_EQ(f.ShownWidth(), 2);
  f.Click(f.dlg.OKBtn());
  EXPECT_EQ(f.pen, (TAnnotationPen{clRed, 2}));
  // Esc is Cancel too.
  f.Open();
  f.PickColor(11);
  QTest::keyClick(f.dlg.Dialog(), Qt::Key_Escape);
  EXPECT_FALSE(f.dlg.Dialog()->isVisible());
  EXPECT_EQ(f.pen, (TAnnotationPen{clRed, 2}));
}

TEST(PenDialog, EachOpeningShowsThePenAsItIsNow) {
  struct Case {
    TAnnotationPen pen;
    int shownIndex;
  } cases[] = {{{clGreen, 7}, 6}, {{0x123456, 1}, 0}, {{clBlue, 0}, -1}, {{clBlue, 11}, -1}};
  DialogFixture f;
  for (const Case& c : cases) {
    f.pen = c.pen;
    f.Open();
    EXPECT_EQ(f.dlg.cmbLineColor().ChosenColor(), c.pen.Color);
    EXPECT_EQ(f.dlg.cmbLineWidth()->currentIndex(), c.shownIndex) << c.pen.Width;
    // A width the list lacks stays as it was through OK.
    f.Click(f.dlg.OKBtn());
    EXPECT_EQ(f.pen, c.pen);
  }
}

TEST(PenDialog, ShowModalAnswersOkAndCancel) {
  struct Case {
    const char* what;
    std::function<void(DialogFixture&)> act;
    int result;
    int width;
  } cases[] = {
      {"OK", [](DialogFixture& f) { f.dlg.cmbLineWidth()->setCurrentIndex(3); f.dlg.OKBtn()->click(); }, mrOk, 4},
      {"Enter on the default button",
       [](DialogFixture& f) { f.dlg.cmbLineWidth()->setCurrentIndex(5); QTest::keyClick(f.dlg.OKBtn(), Qt::Key_Return); },
       mrOk, 6},
      {"Cancel", [](DialogFixture& f) { f.dlg.cmbLineWidth()->setCurrentIndex(3); f.dlg.CancelBtn()->click(); },
       mrCancel, 2},
      {"Esc", [](DialogFixture& f) { QTest::keyClick(f.dlg.Dialog(), Qt::Key_Escape); }, mrCancel, 2},
  };
  for (const Case& c : cases) {
    DialogFixture f;
    QTimer::singleShot(0, f.dlg.Dialog(), [&] { c.act(f); });
    EXPECT_EQ(f.dlg.ShowModal(), c.result) << c.what;
    EXPECT_EQ(f.pen.Width, c.width) << c.what;
  }
}

TEST(PenDialog, ColourChangeRepaintsEverySample) {
  DialogFixture f;
  f.Open();
  f.PickColor(13);  // blue
  QComboBox* list = f.dlg.cmbLineWidth();
  // The closed list's face.
  const QImage face = list->grab().toImage();
  EXPECT_GT(RowsOf(face, face.width() / 3, clBlue), 0);
  EXPECT_EQ(RowsOf(face, face.width() / 3, clRed), 0);
  list->showPopup();
  ProcessPosted();
  QAbstractItemView* view = list->view();
  const QImage items = view->viewport()->grab().toImage();
  for (int row = 0; row < list->count(); ++row) {
    const QRect r = view->visualRect(list->model()->index(row, 0));
    ASSERT_EQ(r.height(), 20) << row;
    const QImage item = items.copy(r);
    EXPECT_EQ(RowsOf(item, r.width() / 2, clBlue), row + 1) << row;
    EXPECT_EQ(RowsOf(item, r.width() / 2, clRed), 0) << row;
  }
  list->hidePopup();
}

TEST(PenDialog, VisualStylesReachTheColourCombo) {
  DialogFixture f;
  f.dlg.SetUseVisualStyles(false);
  EXPECT_FALSE(f.dlg.cmbLineColor().UseXPThemes());
  f.dlg.SetUseVisualStyles(true);
  EXPECT_TRUE(f.dlg.cmbLineColor().UseXPThemes());
}

}  // namespace
}  // namespace quillet::test
