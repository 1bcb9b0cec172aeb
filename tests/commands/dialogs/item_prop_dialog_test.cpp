// The item-properties dialog on a real editor: pictures (preview, units,
// the change button), lines, and tables with their selected cells and rows.
#include "commands/dialogs/item_prop_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include "../../editing/edit_test_util.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/picture_preview.h"
#include "commands/dialogs/width_combo.h"
#include "item_dialog_test_support.h"
#include "item_prop_fixture.h"

namespace quillet::test {
namespace {

// Chooses a list's item with the keyboard, as the user does.
void Choose(QComboBox* combo, int index) {
  combo->setFocus();
  if (combo->currentIndex() < 0) QTest::keyClick(combo, Qt::Key_Down);
  while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
  while (combo->currentIndex() > index) QTest::keyClick(combo, Qt::Key_Up);
}

TEST(ItemPropDialog, SetItemChoosesThePages) {
  ItemEditor f;
  using P = TfrmDVItemProp;
  struct Case {
    int itemNo;
    bool known;
    std::vector<P::TPage> pages;
  } cases[] = {{ItemEditor::kText, false, {}},
               {ItemEditor::kPicture, true, {P::pgImage, P::pgImgLayout}},
               {ItemEditor::kLine, true, {P::pgBreak}},
               {ItemEditor::kTable, true, {P::pgTable}}};
  for (const Case& c : cases) {
    TfrmDVItemProp form;
    f.CaretAt(c.itemNo);
    EXPECT_EQ(form.SetItem(f.editor), c.known) << c.itemNo;
    if (!c.known) continue;
    for (int page = 0; page < 6; ++page) {
      const bool shown = std::find(c.pages.begin(), c.pages.end(), page) != c.pages.end();
      EXPECT_EQ(form.PageVisible(static_cast<P::TPage>(page)), shown) << c.itemNo << " page " << page;
    }
  }
}

TEST(ItemPropDialog, FieldsStartUndetermined) {
  TfrmDVItemProp form;
  for (TDVSpinEdit* field : {form.seVShift(), form.seWidth(), form.seHeight(), form.seTableWidth(),
                             form.seCellPadding(), form.seCellSpacing(), form.seCellBestWidth(),
                             form.seCellBestHeight()})
    EXPECT_TRUE(field->Indeterminate()) << field->objectName().toStdString();
  for (TDVColorCombo* combo : {&form.cmbColor, &form.cmbBreakColor, &form.cmbTableColor, &form.cmbCellBorderColor,
                               &form.cmbCellBorderLightColor, &form.cmbCellColor})
    EXPECT_TRUE(combo->Indeterminate()) << combo->Widget()->objectName().toStdString();
  EXPECT_EQ(form.Dialog()->windowTitle().toStdString(), "属性");
  EXPECT_EQ(form.pc()->count(), 6);
}

TEST(ItemPropDialog, PreviewStretchedOnlyWhenLarger) {
  struct Case {
    int w, h;
    bool stretched;
    TRect rect;  // in the 260 x 200 preview
  } cases[] = {{100, 50, false, {80, 75, 180, 125}},
               {600, 100, true, {0, 78, 260, 121}},
               {100, 400, true, {105, 0, 155, 200}},
               {260, 200, false, {0, 0, 260, 200}}};
  for (const Case& c : cases) {
    ItemEditor f(c.w, c.h);
    TfrmDVItemProp form;
    f.CaretAt(ItemEditor::kPicture);
    ASSERT_TRUE(form.SetItem(f.editor));
    EXPECT_EQ(form.img()->Stretched(), c.stretched) << c.w << "x" << c.h;
    EXPECT_EQ(form.img()->PictureRect(), c.rect) << c.w << "x" << c.h;
    EXPECT_EQ(form.lblDefSize()->text().toStdString(),
              "Default size: " + std::to_string(c.w) + " x " + std::to_string(c.h));
  }
}

TEST(ItemPropDialog, PictureSizesAndUnits) {
  struct Case {
    const char* what;
    int pictureW, pictureH;
    int imageWidth, vShift;
    std::function<void(TfrmDVItemProp&)> act;
    int32_t width, shift;
    bool shiftAbs;
  } cases[] = {
      {"50 per cent of 300 pixels", 300, 40, 0, 0,
       [](TfrmDVItemProp& f) {
         Choose(f.cmbWType(), TfrmDVItemProp::uPercent);
         Type(f.seWidth(), "50");
       },
       150, 0, false},
      {"shift 50 per cent is 20 pixels of 40", 300, 40, 0, 50,
       [](TfrmDVItemProp& f) {
         Choose(f.cmbVShiftType(), TfrmDVItemProp::uPixels);
         EXPECT_EQ(f.seVShift()->AsInteger(), 20);
       },
       0, 20, true},
      {"150 pixels of 300 is 50 per cent", 300, 40, 150, 0,
       [](TfrmDVItemProp& f) {
         Choose(f.cmbWType(), TfrmDVItemProp::uPercent);
         EXPECT_EQ(f.seWidth()->AsInteger(), 50);
       },
       150, 0, false},
      {"an empty width applies 0", 300, 40, 0, 0, [](TfrmDVItemProp&) {}, 0, 0, false},
      {"a width over the limit untouched stays", 300, 40, 600, 0, [](TfrmDVItemProp&) {}, 600, 0, false},
      {"a unit switch on a picture of size 0 converts nothing", 0, 0, 30, 0,
       [](TfrmDVItemProp& f) {
         Choose(f.cmbWType(), TfrmDVItemProp::uPercent);
         EXPECT_EQ(f.seWidth()->AsInteger(), 30);
       },
       0, 0, false},
  };
  for (const Case& c : cases) {
    ItemEditor f(c.pictureW, c.pictureH);
    f.picture->ImageWidth = c.imageWidth;
    f.picture->VShift = c.vShift;
    TfrmDVItemProp form;
    f.CaretAt(ItemEditor::kPicture);
    ASSERT_TRUE(form.SetItem(f.editor)) << c.what;
    EXPECT_EQ(form.seWidth()->Indeterminate(), c.imageWidth == 0) << c.what;
    ASSERT_EQ(RunOk(form, [&] { c.act(form); }), mrOk) << c.what;
    form.GetItem(f.editor);
    auto* picture = dynamic_cast<TDVGraphicItemInfo*>(f.editor.DVData().GetItem(ItemEditor::kPicture));
    ASSERT_NE(picture, nullptr) << c.what;
    EXPECT_EQ(picture->ImageWidth, c.width) << c.what;
    EXPECT_EQ(picture->VShift, c.shift) << c.what;
    EXPECT_EQ(picture->VShiftAbs, c.shiftAbs) << c.what;
  }
}

TEST(ItemPropDialog, ChangeButtonKeepsThePictureOnABadFile) {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString() + "/";
  TBitmap good(7, 5);
  good.SaveToFile(folder + "good.bmp");
  const auto write = [&](const char* name, const QByteArray& bytes) {
    QFile file(QString::fromStdString(folder + name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
  };
  write("text.bmp", "not a picture at all");
  QFile goodFile(QString::fromStdString(folder + "good.bmp"));
  goodFile.open(QIODevice::ReadOnly);
  const QByteArray bmp = goodFile.readAll();
  write("short.bmp", bmp.left(bmp.size() - 20));
  // A header that claims 40000 x 40000 pixels.
  QByteArray huge = bmp;
  const auto put32 = [&](int at, int32_t v) {
    for (int i = 0; i < 4; ++i) huge[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put32(18, 40000);
  put32(22, 40000);
  write("huge.bmp", huge);
  struct Case {
    const char* file;
    bool replaced;
  } cases[] = {{"good.bmp", true}, {"text.bmp", false}, {"short.bmp", false}, {"huge.bmp", false},
               {"missing.bmp", false}};
  for (const Case& c : cases) {
    ItemEditor f(300, 40);
    TfrmDVItemProp form;
    f.CaretAt(ItemEditor::kPicture);
    ASSERT_TRUE(form.SetItem(f.editor));
    TScriptedCommonDialogs dialogs;
    TScopedCommonDialogs scoped(dialogs);
    TFileQuestion answer;
    answer.FileName = folder + c.file;
    dialogs.Answers.push_back({true, answer});
    RunDialog(form, [&] {
      QTest::mouseClick(form.Button1(), Qt::LeftButton);
      QTest::mouseClick(form.btnOk(), Qt::LeftButton);
    });
    ASSERT_FALSE(dialogs.Asked.empty());
    EXPECT_EQ(dialogs.Asked.front().Kind, TScriptedCommonDialogs::dkPicture);
    EXPECT_EQ(dialogs.Asked.size(), c.replaced ? 1u : 2u) << c.file;
    if (!c.replaced) {
      const auto& message = std::get<TMessageQuestion>(dialogs.Asked.back().Question);
      EXPECT_EQ(message.Text, "加载过程中出错") << c.file;
    }
    EXPECT_EQ(form.img()->Graphic()->Width(), c.replaced ? 7 : 300) << c.file;
    EXPECT_EQ(form.lblDefSize()->text().toStdString(), c.replaced ? "Default size: 7 x 5" : "Default size: 300 x 40");
    form.GetItem(f.editor);
    auto* picture = dynamic_cast<TDVGraphicItemInfo*>(f.editor.DVData().GetItem(ItemEditor::kPicture));
    EXPECT_EQ(picture->Image->Width(), c.replaced ? 7 : 300) << c.file;
  }
}

TEST(ItemPropDialog, TransparentColourTicksTransparency) {
  ItemEditor f(30, 20);
  TfrmDVItemProp form;
  f.CaretAt(ItemEditor::kPicture);
  ASSERT_TRUE(form.SetItem(f.editor));
  EXPECT_FALSE(form.cbTransp()->isChecked());
  RunOk(form, [&] {
    form.pc()->setCurrentIndex(TfrmDVItemProp::pgImage);
    EXPECT_EQ(PickColor(form.cmbColor, 1 + 26), clYellow);
    EXPECT_TRUE(form.cbTransp()->isChecked());
  });
  form.GetItem(f.editor);
  auto* picture = dynamic_cast<TDVGraphicItemInfo*>(f.editor.DVData().GetItem(ItemEditor::kPicture));
  const auto* bitmap = dynamic_cast<const TBitmap*>(picture->Image.get());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_TRUE(bitmap->Transparent());
  EXPECT_EQ(bitmap->TransparentMode(), tmFixed);
  EXPECT_EQ(bitmap->TransparentColor(), clYellow);
}

TEST(ItemPropDialog, LineWidthAndColour) {
  struct Case {
    const char* what;
    uint8_t width;
    std::function<void(TfrmDVItemProp&)> act;
    uint8_t outWidth;
  } cases[] = {
      {"a width beyond the list shows clamped and stays", 8, [](TfrmDVItemProp&) {}, 8},
      {"a chosen width", 8, [](TfrmDVItemProp& f) { Choose(f.cmbWidth(), 1); }, 2},
      {"width 3 untouched", 3, [](TfrmDVItemProp&) {}, 3},
  };
  for (const Case& c : cases) {
    ItemEditor f;
    f.line->LineWidth = c.width;
    TfrmDVItemProp form;
    f.CaretAt(ItemEditor::kLine);
    ASSERT_TRUE(form.SetItem(f.editor));
    EXPECT_EQ(form.cmbWidth()->currentIndex(), std::min<int>(c.width, 6) - 1) << c.what;
    RunOk(form, [&] { c.act(form); });
    form.GetItem(f.editor);
    auto* line = dynamic_cast<TDVBreakItemInfo*>(f.editor.DVData().GetItem(ItemEditor::kLine));
    EXPECT_EQ(line->LineWidth, c.outWidth) << c.what;
    EXPECT_EQ(line->Color, clRed) << c.what;
  }
}

TEST(ItemPropDialog, TableAndSelectedCells) {
  struct Case {
    const char* what;
    std::function<void(ItemEditor&)> fill;
    std::function<void(TfrmDVItemProp&)> act;
    std::function<void(ItemEditor&)> check;
  } cases[] = {
      {"mixed cell fills stay when untouched",
       [](ItemEditor& f) {
         f.Cell(0, 0).Color = clRed;
         f.Cell(1, 1).Color = clBlue;
       },
       [](TfrmDVItemProp& f) { EXPECT_TRUE(f.cmbCellColor.Indeterminate()); },
       [](ItemEditor& f) {
         EXPECT_EQ(f.Cell(0, 0).Color, clRed);
         EXPECT_EQ(f.Cell(0, 1).Color, clNone);
         EXPECT_EQ(f.Cell(1, 1).Color, clBlue);
       }},
      {"a fill picked goes to every selected cell", [](ItemEditor& f) { f.Cell(0, 0).Color = clRed; },
       [](TfrmDVItemProp& f) {
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgCells);
         EXPECT_EQ(PickColor(f.cmbCellColor, 1 + 26), clYellow);
       },
       [](ItemEditor& f) {
         for (int r = 0; r < 2; ++r)
           for (int c = 0; c < 2; ++c) EXPECT_EQ(f.Cell(r, c).Color, clYellow);
       }},
      {"150 per cent is applied as 100", [](ItemEditor& f) { f.table->BestWidth = -150; }, [](TfrmDVItemProp&) {},
       [](ItemEditor& f) { EXPECT_EQ(f.table->BestWidth, -100); }},
      {"spacings that differ show empty; a typed one sets all four",
       [](ItemEditor& f) { f.table->CellHSpacing = 5; },
       [](TfrmDVItemProp& f) {
         EXPECT_TRUE(f.seCellSpacing()->Indeterminate());
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgTable);
         Type(f.seCellSpacing(), "7");
       },
       [](ItemEditor& f) {
         EXPECT_EQ(f.table->CellHSpacing, 7);
         EXPECT_EQ(f.table->CellVSpacing, 7);
         EXPECT_EQ(f.table->BorderHSpacing, 7);
         EXPECT_EQ(f.table->BorderVSpacing, 7);
       }},
      {"an untouched row alignment leaves default rows alone",
       [](ItemEditor& f) {
         f.table->Rows[0]->VAlign = dvcVDefault;
         f.table->Rows[1]->VAlign = dvcVDefault;
       },
       [](TfrmDVItemProp& f) { EXPECT_EQ(f.rgRowVAlign.ItemIndex(), 0); },
       [](ItemEditor& f) {
         EXPECT_EQ(f.table->Rows[0]->VAlign, dvcVDefault);
         EXPECT_EQ(f.table->Rows[1]->VAlign, dvcVDefault);
       }},
      {"cell settings apply when the rows' alignments differ",
       [](ItemEditor& f) { f.table->Rows[1]->VAlign = dvcBottom; },
       [](TfrmDVItemProp& f) {
         EXPECT_EQ(f.rgRowVAlign.ItemIndex(), -1);
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgCells);
         ClickItem(f.rgCellVAlign, 2);
       },
       [](ItemEditor& f) {
         EXPECT_EQ(f.Cell(0, 0).VAlign, dvcBottom);
         EXPECT_EQ(f.Cell(1, 1).VAlign, dvcBottom);
         EXPECT_EQ(f.table->Rows[0]->VAlign, dvcTop);
         EXPECT_EQ(f.table->Rows[1]->VAlign, dvcBottom);
       }},
      {"a row alignment chosen goes to the selected rows", [](ItemEditor&) {},
       [](TfrmDVItemProp& f) {
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgRows);
         ClickItem(f.rgRowVAlign, 1);
       },
       [](ItemEditor& f) {
         EXPECT_EQ(f.table->Rows[0]->VAlign, dvcMiddle);
         EXPECT_EQ(f.table->Rows[1]->VAlign, dvcMiddle);
       }},
      {"a cell width typed in per cent over 100 is 100",
       [](ItemEditor&) {},
       [](TfrmDVItemProp& f) {
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgCells);
         QTest::mouseClick(f.cbCellWidth(), Qt::LeftButton, {}, QPoint(4, 8));
         Choose(f.cmbCellBWType(), TfrmDVItemProp::uPercent);
         Type(f.seCellBestWidth(), "150");
       },
       [](ItemEditor& f) { EXPECT_EQ(f.Cell(1, 0).BestWidth, -100); }},
      {"Ctrl+T hides the top sides",
       [](ItemEditor& f) {
         f.table->CellBorderWidth = 1;
         f.Cell(0, 1).VisibleBorders.Left = false;
       },
       [](TfrmDVItemProp& f) {
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgCells);
         EXPECT_TRUE(f.BorderButton(TfrmDVItemProp::sdLeft)->autoRaise());
         QTest::keyClick(f.Dialog(), Qt::Key_T, Qt::ControlModifier);
         EXPECT_FALSE(f.BorderButton(TfrmDVItemProp::sdTop)->isChecked());
       },
       [](ItemEditor& f) {
         EXPECT_FALSE(f.Cell(0, 0).VisibleBorders.Top);
         EXPECT_FALSE(f.Cell(1, 1).VisibleBorders.Top);
         // The mixed side stays each cell's own.
         EXPECT_TRUE(f.Cell(0, 0).VisibleBorders.Left);
         EXPECT_FALSE(f.Cell(0, 1).VisibleBorders.Left);
       }},
  };
  for (const Case& c : cases) {
    ItemEditor f;
    c.fill(f);
    f.SelectAllCells();
    TfrmDVItemProp form;
    ASSERT_TRUE(form.SetItem(f.editor)) << c.what;
    EXPECT_TRUE(form.PageVisible(TfrmDVItemProp::pgCells)) << c.what;
    ASSERT_EQ(RunOk(form, [&] { c.act(form); }), mrOk) << c.what;
    form.GetItem(f.editor);
    SCOPED_TRACE(c.what);
    c.check(f);
  }
}

// OK's writing of a table is one undo step: undo gives back the document's
// bytes, row alignments included, and redo the changed ones.
TEST(ItemPropDialog, TableWritingUndoesAsOneStep) {
  struct Case {
    const char* what;
    std::function<void(TfrmDVItemProp&)> act;
  } cases[] = {
      {"a row alignment",
       [](TfrmDVItemProp& f) {
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgRows);
         ClickItem(f.rgRowVAlign, 1);
       }},
      {"a row alignment with a cell fill and the table's padding",
       [](TfrmDVItemProp& f) {
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgRows);
         ClickItem(f.rgRowVAlign, 2);
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgCells);
         PickColor(f.cmbCellColor, 1 + 26);
         f.pc()->setCurrentIndex(TfrmDVItemProp::pgTable);
         Type(f.seCellPadding(), "9");
       }},
  };
  for (const Case& c : cases) {
    ItemEditor f(300, 40, 3, 2);
    f.table->Rows[0]->VAlign = dvcVDefault;
    f.table->Rows[2]->VAlign = dvcBottom;
    f.SelectAllCells();
    TfrmDVItemProp form;
    ASSERT_TRUE(form.SetItem(f.editor)) << c.what;
    ASSERT_EQ(RunOk(form, [&] { c.act(form); }), mrOk) << c.what;
    EXPECT_TRUE(UndoRedoRoundTrip(f.editor.EditData(), [&] { form.GetItem(f.editor); })) << c.what;
  }
}

TEST(ItemPropDialog, TypedValuesPastTheLimits) {
  {
    ItemEditor f(300, 40);
    f.picture->ImageWidth = 100;
    f.picture->ImageHeight = 20;
    f.CaretAt(ItemEditor::kPicture);
    TfrmDVItemProp form;
    ASSERT_TRUE(form.SetItem(f.editor));
    RunOk(form, [&] {
      form.pc()->setCurrentIndex(TfrmDVItemProp::pgImgLayout);
      Type(form.seWidth(), "600");
      Type(form.seHeight(), "0");
      Type(form.seVShift(), "-900");
    });
    form.GetItem(f.editor);
    auto* picture = dynamic_cast<TDVGraphicItemInfo*>(f.editor.DVData().GetItem(ItemEditor::kPicture));
    EXPECT_EQ(picture->ImageWidth, 500);
    EXPECT_EQ(picture->ImageHeight, 1);
    EXPECT_EQ(picture->VShift, -500);
  }
  // The table holds no negative spacing: -1 is written as 0.
  struct Case {
    const char* width;
    const char* padding;
    const char* spacing;
    int32_t bestWidth, cellPadding, cellSpacing;
  } cases[] = {{"5000", "50", "40", 1000, 30, 30}, {"abc", "", "-5", 0, 1, 0}, {"0", "0", "", 1, 0, 2}};
  for (const Case& c : cases) {
    ItemEditor f;
    f.SelectAllCells();
    TfrmDVItemProp form;
    ASSERT_TRUE(form.SetItem(f.editor));
    RunOk(form, [&] {
      form.pc()->setCurrentIndex(TfrmDVItemProp::pgTable);
      Type(form.seTableWidth(), c.width);
      Type(form.seCellPadding(), c.padding);
      Type(form.seCellSpacing(), c.spacing);
    });
    form.GetItem(f.editor);
    EXPECT_EQ(f.table->BestWidth, c.bestWidth) << c.width;
    EXPECT_EQ(f.table->CellPadding, c.cellPadding) << c.padding;
    EXPECT_EQ(f.table->CellHSpacing, c.cellSpacing) << c.spacing;
    EXPECT_EQ(f.table->BorderVSpacing, c.cellSpacing) << c.spacing;
  }
}

TEST(ItemPropDialog, TableChangesUndoAsOneStep) {
  ItemEditor f;
  f.SelectAllCells();
  TfrmDVItemProp form;
  ASSERT_TRUE(form.SetItem(f.editor));
  RunOk(form, [&] {
    form.pc()->setCurrentIndex(TfrmDVItemProp::pgTable);
    Type(form.seCellPadding(), "9");
    form.pc()->setCurrentIndex(TfrmDVItemProp::pgCells);
    PickColor(form.cmbCellColor, 1 + 26);
  });
  form.GetItem(f.editor);
  EXPECT_EQ(f.table->CellPadding, 9);
  EXPECT_EQ(f.Cell(0, 0).Color, clYellow);
  f.editor.Undo();
  EXPECT_EQ(f.table->CellPadding, 1);
  EXPECT_EQ(f.Cell(0, 0).Color, clNone);
}

TEST(ItemPropDialog, RenderedPagesShowPictureAndChoice) {
  ItemEditor f(40, 30);
  static_cast<TBitmap&>(*f.picture->Image).Canvas().Brush().Color = clRed;
  static_cast<TBitmap&>(*f.picture->Image).Canvas().FillRect({0, 0, 40, 30});
  TfrmDVItemProp form;
  f.CaretAt(ItemEditor::kPicture);
  ASSERT_TRUE(form.SetItem(f.editor));
  RunDialog(form, [&] {
    const QImage image = Grab(form);
    SaveRender(image, "item_prop_picture");
    const TRect r = form.img()->PictureRect();
    const QPoint centre = form.img()->mapTo(form.Dialog(), QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    EXPECT_EQ(PixelAt(image, centre.x(), centre.y()), clRed);
    const QPoint outside = form.img()->mapTo(form.Dialog(), QPoint(r.Left - 5, r.Top));
    EXPECT_NE(PixelAt(image, outside.x(), outside.y()), clRed);
  });
  TfrmDVItemProp cells;
  f.SelectAllCells();
  ASSERT_TRUE(cells.SetItem(f.editor));
  RunDialog(cells, [&] {
    cells.pc()->setCurrentIndex(TfrmDVItemProp::pgCells);
    ProcessPosted();
    const QImage image = Grab(cells);
    SaveRender(image, "item_prop_cells");
    // The default alignment is checked: only its picture is framed in the
    // highlight colour.
    const auto framed = [&](int index) {
      TDVPictureRadioButton& button = cells.rgCellVAlign.Button(index);
      const TRect r = button.ImageRect();
      int count = 0;
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
          const QPoint p = button.ClientWidget()->mapTo(cells.Dialog(), QPoint(x, y));
          count += PixelAt(image, p.x(), p.y()) == ColorToRGB(clHighlight);
        }
      return count;
    };
    EXPECT_GT(framed(3), 40);
    EXPECT_EQ(framed(0), 0);
  });
}

}  // namespace
}  // namespace quillet::test
