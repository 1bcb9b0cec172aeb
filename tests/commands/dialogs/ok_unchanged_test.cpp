// OK without changes, over every dialog that is filled and read back: mixed
// and out-of-range values come back exactly as they went in.
#include <gtest/gtest.h>

#include <QPushButton>
#include <sstream>

#include "commands/dialogs/four_sides_dialog.h"
#include "commands/dialogs/insert_table_dialog.h"
#include "commands/dialogs/integer_dialog.h"
#include "commands/dialogs/item_prop_dialog.h"
#include "commands/dialogs/table_border_dialog.h"
#include "item_dialog_test_support.h"
#include "item_prop_fixture.h"

namespace quillet::test {
namespace {

int ClickOk(TfrmDVBase& form, QPushButton* ok) {
  return RunDialog(form, [&] { QTest::mouseClick(ok, Qt::LeftButton); });
}

std::string TableState(const TDVTableItemInfo& t) {
  std::ostringstream s;
  s << t.BestWidth << ' ' << t.Color << ' ' << t.CellPadding << ' ' << t.CellHSpacing << ' ' << t.CellVSpacing << ' '
    << t.BorderHSpacing << ' ' << t.BorderVSpacing << ' ' << t.BorderWidth << ' ' << int(t.BorderStyle) << ' '
    << t.BorderColor << ' ' << t.BorderLightColor << ' ' << t.CellBorderWidth << ' ' << int(t.CellBorderStyle) << ' '
    << t.CellBorderColor << ' ' << t.CellBorderLightColor << " |";
  for (int r = 0; r < t.Rows.Count(); ++r) {
    s << " row " << int(t.Rows[r]->VAlign) << ':';
    for (int c = 0; c < t.Rows.GetColCount(); ++c) {
      const TDVTableCellData* cell = t.GetCells(r, c);
      if (!cell) continue;
      const TDVBooleanRect& v = cell->VisibleBorders;
      s << ' ' << cell->BestWidth << '/' << cell->BestHeight << '/' << cell->Color << '/' << int(cell->VAlign) << '/'
        << v.Left << v.Top << v.Right << v.Bottom << '/' << cell->BorderColor << '/' << cell->BorderLightColor;
    }
  }
  return s.str();
}

std::string PictureState(const TDVGraphicItemInfo& p) {
  std::ostringstream s;
  s << p.ImageWidth << ' ' << p.ImageHeight << ' ' << p.VShift << ' ' << p.VShiftAbs << ' ' << int(p.VAlign) << ' '
    << p.Image->Width() << 'x' << p.Image->Height() << ' ' << p.Image->Transparent();
  if (const auto* b = dynamic_cast<const TBitmap*>(p.Image.get()))
    s << ' ' << int(b->TransparentMode()) << ' ' << b->TransparentColor();
  return s.str();
}

// The dialog's result, and the state before and after.
struct Outcome {
  int result;
  std::string before, after;
};

Outcome FourSides(TfrmDVFourSides& form, const int (&v)[4], const bool (&f)[4]) {
  form.SetValues(v[0], v[1], v[2], v[3], f[0], f[1], f[2], f[3]);
  const auto state = [](const int (&v)[4], const bool (&f)[4]) {
    std::ostringstream s;
    for (int i = 0; i < 4; ++i) s << v[i] << (f[i] ? "+ " : "- ");
    return s.str();
  };
  const int result = ClickOk(form, form.btnOk());
  int w[4] = {v[0], v[1], v[2], v[3]};
  bool g[4];
  form.GetValues(w[0], w[1], w[2], w[3], g[0], g[1], g[2], g[3]);
  return {result, state(v, f), state(w, g)};
}

Outcome ItemProp(ItemEditor& f, int itemNo) {
  const auto state = [&] {
    auto* item = f.editor.DVData().GetItem(itemNo);
    if (auto* p = dynamic_cast<TDVGraphicItemInfo*>(item)) return PictureState(*p);
    if (auto* l = dynamic_cast<TDVBreakItemInfo*>(item))
      return std::to_string(l->LineWidth) + " " + std::to_string(l->Color) + " " + std::to_string(l->Style);
    return TableState(*f.table);
  };
  const std::string before = state();
  TfrmDVItemProp form;
  if (!form.SetItem(f.editor)) return {0, before, "not shown"};
  const int result = ClickOk(form, form.btnOk());
  form.GetItem(f.editor);
  return {result, before, state()};
}

TEST(OkWithoutChanges, GivesBackWhatWentIn) {
  struct Case {
    const char* what;
    std::function<Outcome()> run;
  } cases[] = {
      {"table border of width 12, a colour style with the automatic colours",
       [] {
         TfrmDVTableBrdr form;
         form.SetData(dvtbLoweredColor, clBtnFace, clWindowText, 12);
         const int result = ClickOk(form, form.btnOk());
         TDVTableBorderStyle style = dvtbLoweredColor;
         TColor light = clBtnFace, dark = clWindowText;
         int width = 12;
         form.GetData(style, light, dark, width);
         return Outcome{result, std::to_string(dvtbLoweredColor) + " 12", std::to_string(style) + " " + std::to_string(width)};
       }},
      {"four values beyond the limits, one undefined",
       [] {
         TfrmDVFourSides form;
         return FourSides(form, {150, -60, 12, 7}, {true, true, false, true});
       }},
      {"spacing beyond the limits",
       [] {
         TfrmDVSpacing form;
         return FourSides(form, {40, -5, 2, 2}, {true, true, true, true});
       }},
      {"insert table beyond the limits",
       [] {
         TfrmInsTable form;
         form.SetColumns(150);
         form.SetRows(600);
         form.SetBestWidth(5000);
         const int result = ClickOk(form, form.btnOk());
         return Outcome{result, "150 600 5000",
                        std::to_string(form.Columns()) + " " + std::to_string(form.Rows()) + " " +
                            std::to_string(form.BestWidth())};
       }},
      {"number beyond the limit",
       [] {
         TfrmInteger form;
         form.SetValue(250);
         const int result = ClickOk(form, form.btnOk());
         return Outcome{result, "250", std::to_string(form.Value())};
       }},
      {"picture with sizes and shift beyond the limits",
       [] {
         ItemEditor f(300, 40);
         f.picture->ImageWidth = 600;
         f.picture->VShift = 700;
         f.picture->VShiftAbs = true;
         f.picture->VAlign = dvvaMiddle;
         auto& bitmap = static_cast<TBitmap&>(*f.picture->Image);
         bitmap.SetTransparent(true);
         bitmap.SetTransparentColor(clBlue);
         f.CaretAt(ItemEditor::kPicture);
         return ItemProp(f, ItemEditor::kPicture);
       }},
      {"line of width 8 in the text colour",
       [] {
         ItemEditor f;
         f.line->LineWidth = 8;
         f.line->Color = clNone;
         f.CaretAt(ItemEditor::kLine);
         return ItemProp(f, ItemEditor::kLine);
       }},
      {"table and cells mixed and beyond the limits",
       [] {
         ItemEditor f(300, 40, 3, 2);
         TDVTableItemInfo& t = *f.table;
         t.BestWidth = 5000;
         t.CellPadding = 50;
         t.CellHSpacing = 40;
         t.BorderVSpacing = 35;
         t.BorderWidth = 12;
         t.BorderStyle = dvtbRaisedColor;
         t.BorderColor = clBtnFace;
         t.BorderLightColor = clWindowText;
         t.CellBorderWidth = 12;
         t.CellBorderStyle = dvtbLoweredColor;
         t.CellBorderColor = clRed;
         f.Cell(0, 0).BestWidth = 3000;
         f.Cell(0, 1).BestWidth = -150;
         f.Cell(1, 0).BestHeight = 2500;
         f.Cell(1, 1).Color = clYellow;
         f.Cell(2, 0).VAlign = dvcBottom;
         f.Cell(2, 1).VisibleBorders.Top = false;
         f.Cell(0, 1).BorderColor = clRed;
         f.Cell(1, 1).BorderLightColor = clGreen;
         t.Rows[0]->VAlign = dvcVDefault;
         t.Rows[2]->VAlign = dvcMiddle;
         f.SelectAllCells();
         return ItemProp(f, ItemEditor::kTable);
       }},
      {"table whose cells share one out-of-range width",
       [] {
         ItemEditor f;
         for (int r = 0; r < 2; ++r)
           for (int c = 0; c < 2; ++c) f.Cell(r, c).BestWidth = -150;
         f.SelectAllCells();
         return ItemProp(f, ItemEditor::kTable);
       }},
  };
  for (const Case& c : cases) {
    const Outcome o = c.run();
    EXPECT_EQ(o.result, mrOk) << c.what;
    EXPECT_EQ(o.after, o.before) << c.what;
  }
}

}  // namespace
}  // namespace quillet::test
