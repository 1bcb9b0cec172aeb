// The item-properties dialog's table half: the table page, the selected
// cells and rows, and the spacing and border dialogs it opens.
#include <QDialog>
#include <algorithm>
#include <vector>

#include "commands/dialogs/four_sides_dialog.h"
#include "commands/dialogs/item_prop_parts.h"
#include "commands/dialogs/table_border_dialog.h"
#include "editing/control/editor.h"
#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "editing/table/table_rows.h"

namespace quillet {

namespace {

// A best width as its unit and magnitude: pixels when positive, per cent
// when negative.
void ShowWidth(TFilledSpin& field, QComboBox* units, int32_t width) {
  field.Fill(width == INT32_MIN ? INT32_MAX : std::abs(width), width != 0);
  units->setCurrentIndex(width > 0 ? TfrmDVItemProp::uPixels : width < 0 ? TfrmDVItemProp::uPercent : -1);
}

// A width field read back: per cent negative and at most 100.
int32_t ReadWidth(int value, QComboBox* units) {
  return units->currentIndex() == TfrmDVItemProp::uPercent ? -std::min(value, 100) : value;
}

// Selected cells of a table that has them, walked with their positions.
template <class Visit>
void ForSelectedCells(const TDVTableItemInfo& table, Visit visit) {
  int editedRow = -1, editedCol = -1;
  table.GetEditedCell(editedRow, editedCol);
  for (int r = 0; r < table.Rows.Count(); ++r)
    for (int c = 0; c < table.Rows.GetColCount(); ++c) {
      TDVTableCellData* cell = table.GetCells(r, c);
      if (cell && (table.IsCellSelected(r, c) || (r == editedRow && c == editedCol))) visit(r, c, *cell);
    }
}

}  // namespace

void TfrmDVItemProp::BuildTablePage() {
  QGroupBox* group = AddGroup(d_->pages[pgTable], "gbTableSize", " 表格 ", {8, 8, 390, 210});
  d_->tableWidth = std::make_unique<TFilledSpin>(AddSpin(group, "seTableWidth", 1, 1000, {140, 22, 70, 22}));
  AddLabel(group, "lblTableWidth", "宽度(&W):", seTableWidth(), {12, 25, 120, 16});
  d_->twType = AddCombo(group, "cmbTWType", {"Percent", "Pixels"}, {218, 22, 90, 22});
  PlaceColorCombo(cmbTableColor, group, "cmbTableColor", {140, 54, 140, 24});
  AddLabel(group, "lblTableColor", "填充色(&F):", cmbTableColor.Widget(), {12, 58, 120, 16});
  d_->cellPadding = std::make_unique<TFilledSpin>(AddSpin(group, "seCellPadding", 0, 30, {140, 88, 70, 22}));
  AddLabel(group, "lblCellPadding", "单元格着色(&C):", seCellPadding(), {12, 91, 120, 16});
  d_->cellSpacing = std::make_unique<TFilledSpin>(AddSpin(group, "seCellSpacing", -1, 30, {140, 120, 70, 22}));
  AddLabel(group, "lblCellSpacing", "单元格间距(&S):", seCellSpacing(), {12, 123, 120, 16});
  d_->spacing = AddButton(group, "btnSpacing", "更多(&M)...", {218, 119, 100, 25});
  d_->tableBorder = AddButton(group, "btnTableBorder", "表格边框(&T)...", {12, 164, 150, 25});
  d_->cellBorder = AddButton(group, "btnCellBorder", "单元格边框(&C)...", {176, 164, 150, 25});
  SetTabOrder({seTableWidth(), d_->twType, cmbTableColor.Widget(), seCellPadding(), seCellSpacing(), d_->spacing,
               d_->tableBorder, d_->cellBorder});

  d_->tableWidth->OnUserChange = [this] {
    if (Dialog()->isVisible() && !seTableWidth()->Indeterminate() && d_->twType->currentIndex() < 0)
      d_->twType->setCurrentIndex(uPixels);
  };
  d_->cellSpacing->OnUserChange = [this] {
    if (!Dialog()->isVisible() || seCellSpacing()->Indeterminate()) return;
    CellHSpacing = CellVSpacing = BorderHSpacing = BorderVSpacing = d_->cellSpacing->ReadInt().Value;
  };
  QObject::connect(d_->spacing, &QPushButton::clicked, Dialog(), [this] { btnSpacingClick(); });
  QObject::connect(d_->tableBorder, &QPushButton::clicked, Dialog(), [this] { btnTableBorderClick(); });
  QObject::connect(d_->cellBorder, &QPushButton::clicked, Dialog(), [this] { btnCellBordersClick(); });
}

void TfrmDVItemProp::BuildCellsPage() {
  QWidget* page = d_->pages[pgCells];
  d_->gbCellBorder = AddGroup(page, "gbCellBorder", " 边框 ", {8, 8, 390, 100});
  AddLabel(d_->gbCellBorder, "lblVisibleSides", "可视边:", nullptr, {12, 24, 60, 16});
  static const char* const kSides[4][3] = {{"btnTop", "T", "顶边 (Ctrl+T)"},
                                           {"btnLeft", "L", "左边 (Ctrl+L)"},
                                           {"btnRight", "R", "右边 (Ctrl+R)"},
                                           {"btnBottom", "B", "底边 (Ctrl+B)"}};
  for (int side = 0; side < 4; ++side) {
    QToolButton* button = new QToolButton(d_->gbCellBorder);
    button->setObjectName(kSides[side][0]);
    button->setText(Q(kSides[side][1]));
    button->setToolTip(Q(kSides[side][2]));
    button->setCheckable(true);
    button->setGeometry(12 + side * 30, 44, 28, 28);
    d_->sides[side] = button;
    // A click makes a mixed side the user's.
    QObject::connect(button, &QToolButton::clicked, Dialog(), [this, button] {
      button->setAutoRaise(false);
      d_->sidesTouched = true;
    });
  }
  PlaceColorCombo(cmbCellBorderColor, d_->gbCellBorder, "cmbCellBorderColor", {260, 20, 120, 24});
  d_->cellBorderColorLabel =
      AddLabel(d_->gbCellBorder, "lblCellBorderColor", "C&olor:", cmbCellBorderColor.Widget(), {150, 24, 106, 16});
  PlaceColorCombo(cmbCellBorderLightColor, d_->gbCellBorder, "cmbCellBorderLightColor", {260, 56, 120, 24});
  d_->cellBorderLightColorLabel = AddLabel(d_->gbCellBorder, "lblCellBorderLightColor", "高亮色(&L):",
                                           cmbCellBorderLightColor.Widget(), {150, 60, 106, 16});
  cmbCellBorderColor.OnColorChange = [this](TDVColorCombo& c) {
    d_->cellBorderColorTouched = true;
    FDefCellColorD = c.ChosenColor() == c.AutoColor();
  };
  cmbCellBorderLightColor.OnColorChange = [this](TDVColorCombo& c) {
    d_->cellBorderLightColorTouched = true;
    FDefCellColorL = c.ChosenColor() == c.AutoColor();
  };

  QGroupBox* cells = AddGroup(page, "gbCells", " 设置  ", {8, 116, 390, 120});
  d_->cbCellWidth = AddCheck(cells, "cbCellWidth", "首选宽度(&W):", {12, 24, 130, 18});
  d_->cellBestWidth = std::make_unique<TFilledSpin>(AddSpin(cells, "seCellBestWidth", 1, 2000, {150, 22, 70, 22}));
  d_->cellBWType = AddCombo(cells, "cmbCellBWType", {"Percent", "Pixels"}, {228, 22, 90, 22});
  d_->cbCellHeight = AddCheck(cells, "cbCellHeight", "最小高度(&H):", {12, 56, 130, 18});
  d_->cellBestHeight = std::make_unique<TFilledSpin>(AddSpin(cells, "seCellBestHeight", 1, 2000, {150, 54, 70, 22}));
  AddLabel(cells, "lblPixels", "Pixels", nullptr, {228, 57, 90, 16});
  PlaceColorCombo(cmbCellColor, cells, "cmbCellColor", {150, 86, 140, 24});
  AddLabel(cells, "lblCellColor", "填充色(&F):", cmbCellColor.Widget(), {12, 90, 130, 16});
  SetUpVAlignGroup(rgCellVAlign, page, "rgCellVAlign", " 垂直排列 ", {"顶部(&T)", "中部(&C)", "底部(&B)", "默认(&D)"},
                   {8, 244, 390, 110});
  SetTabOrder({d_->sides[0], d_->sides[1], d_->sides[2], d_->sides[3], cmbCellBorderColor.Widget(),
               cmbCellBorderLightColor.Widget(), d_->cbCellWidth, seCellBestWidth(), d_->cellBWType,
               d_->cbCellHeight, seCellBestHeight(), cmbCellColor.Widget(), rgCellVAlign.Widget()});

  const auto touch = [this](bool& flag) { return [this, &flag] { flag = Dialog()->isVisible() || flag; }; };
  QObject::connect(d_->cbCellWidth, &QCheckBox::clicked, Dialog(), touch(d_->cellWidthTouched));
  QObject::connect(d_->cellBWType, &QComboBox::activated, Dialog(), touch(d_->cellWidthTouched));
  QObject::connect(d_->cbCellHeight, &QCheckBox::clicked, Dialog(), touch(d_->cellHeightTouched));
  d_->cellBestWidth->OnUserChange = [this] {
    d_->cellWidthTouched = true;
    // A width typed without a unit is in pixels.
    if (Dialog()->isVisible() && !seCellBestWidth()->Indeterminate() && d_->cellBWType->currentIndex() < 0)
      d_->cellBWType->setCurrentIndex(uPixels);
  };
  d_->cellBestHeight->OnUserChange = touch(d_->cellHeightTouched);
  cmbCellColor.OnColorChange = [this](TDVColorCombo&) { d_->cellColorTouched = true; };
  rgCellVAlign.OnClick = [this](TDVPictureRadioGroup&) { d_->cellAlignTouched = true; };
}

void TfrmDVItemProp::SetTable(TDVTableItemInfo& table, bool tableOnly) {
  if (tableOnly) ShowPages({pgTable});
  else ShowPages({pgTable, pgRows, pgCells});
  ShowWidth(*d_->tableWidth, d_->twType, table.BestWidth);
  cmbTableColor.SetChosenColor(table.Color);
  d_->cellPadding->Fill(table.CellPadding);
  CellHSpacing = table.CellHSpacing;
  CellVSpacing = table.CellVSpacing;
  BorderHSpacing = table.BorderHSpacing;
  BorderVSpacing = table.BorderVSpacing;
  ShowSpacing();
  BorderWidth = table.BorderWidth;
  BorderStyle = table.BorderStyle;
  BorderColorD = table.BorderColor;
  BorderColorL = table.BorderLightColor;
  CellBorderWidth = table.CellBorderWidth;
  CellBorderStyle = table.CellBorderStyle;
  CellBorderColorD = table.CellBorderColor;
  CellBorderColorL = table.CellBorderLightColor;
  if (!tableOnly) SetCells(table);
}

void TfrmDVItemProp::ShowSpacing() {
  const bool equal = CellHSpacing == CellVSpacing && CellVSpacing == BorderHSpacing && BorderHSpacing == BorderVSpacing;
  d_->cellSpacing->Fill(CellHSpacing, equal);
}

void TfrmDVItemProp::SetCells(TDVTableItemInfo& table) {
  d_->hasSelection = false;
  d_->rowAlignTouched = d_->cellWidthTouched = d_->cellHeightTouched = d_->cellColorTouched =
      d_->cellAlignTouched = d_->sidesTouched = d_->cellBorderColorTouched = d_->cellBorderLightColorTouched = false;
  FDefCellColorD = FDefCellColorL = true;
  bool mixedWidth = false, mixedHeight = false, mixedColor = false, mixedAlign = false;
  bool mixedSide[4] = {}, mixedBorderColor = false, mixedBorderLight = false;
  const TDVTableCellData* first = nullptr;
  int rowChoice = -1, lastRow = -1;
  bool mixedRows = false;
  const auto sides = [](const TDVTableCellData& c) {
    const TDVBooleanRect& v = c.VisibleBorders;
    return std::array<bool, 4>{v.Top, v.Left, v.Right, v.Bottom};
  };
  ForSelectedCells(table, [&](int r, int, const TDVTableCellData& cell) {
    if (r != lastRow) {
      lastRow = r;
      const TDVCellVAlign a = table.Rows[r]->VAlign;
      const int choice = a == dvcMiddle ? 1 : a == dvcBottom ? 2 : 0;
      if (rowChoice < 0) rowChoice = choice;
      else if (choice != rowChoice) mixedRows = true;
    }
    if (!first) {
      first = &cell;
      return;
    }
    mixedWidth = mixedWidth || cell.BestWidth != first->BestWidth;
    mixedHeight = mixedHeight || cell.BestHeight != first->BestHeight;
    mixedColor = mixedColor || cell.Color != first->Color;
    mixedAlign = mixedAlign || cell.VAlign != first->VAlign;
    for (int s = 0; s < 4; ++s) mixedSide[s] = mixedSide[s] || sides(cell)[s] != sides(*first)[s];
    mixedBorderColor = mixedBorderColor || cell.BorderColor != first->BorderColor;
    mixedBorderLight = mixedBorderLight || cell.BorderLightColor != first->BorderLightColor;
  });
  if (!first) {
    ShowPages({pgTable});
    return;
  }
  d_->hasSelection = true;
  ShowWidth(*d_->cellBestWidth, d_->cellBWType, first->BestWidth);
  d_->cbCellWidth->setCheckState(mixedWidth ? Qt::PartiallyChecked : first->BestWidth ? Qt::Checked : Qt::Unchecked);
  d_->cellBestHeight->Fill(first->BestHeight, first->BestHeight > 0);
  d_->cbCellHeight->setCheckState(mixedHeight ? Qt::PartiallyChecked
                                  : first->BestHeight > 0 ? Qt::Checked
                                                          : Qt::Unchecked);
  cmbCellColor.SetChosenColor(first->Color);
  cmbCellColor.SetIndeterminate(mixedColor);
  rgCellVAlign.SetItemIndex(mixedAlign ? -1 : first->VAlign);
  for (int s = 0; s < 4; ++s) {
    d_->sides[s]->setChecked(!mixedSide[s] && sides(*first)[s]);
    d_->sides[s]->setAutoRaise(mixedSide[s]);
  }
  cmbCellBorderColor.SetChosenColor(first->BorderColor);
  cmbCellBorderColor.SetIndeterminate(mixedBorderColor);
  cmbCellBorderLightColor.SetChosenColor(first->BorderLightColor);
  cmbCellBorderLightColor.SetIndeterminate(mixedBorderLight);
  FDefCellColorD = !mixedBorderColor && first->BorderColor == clNone;
  FDefCellColorL = !mixedBorderLight && first->BorderLightColor == clNone;
  rgRowVAlign.SetItemIndex(mixedRows ? -1 : rowChoice);
  UpdateCellBorders();
}

void TfrmDVItemProp::UpdateCellBorders() {
  d_->gbCellBorder->setVisible(CellBorderWidth != 0);
  if (CellBorderWidth == 0) return;
  const bool colour = CellBorderStyle == dvtbColor;
  const bool both = CellBorderStyle == dvtbRaisedColor || CellBorderStyle == dvtbLoweredColor;
  cmbCellBorderColor.Widget()->setVisible(colour || both);
  d_->cellBorderColorLabel->setVisible(colour || both);
  cmbCellBorderLightColor.Widget()->setVisible(both);
  d_->cellBorderLightColorLabel->setVisible(both);
  d_->cellBorderColorLabel->setText(Q(colour ? "C&olor:" : "&Shadow color:"));
  cmbCellBorderColor.SetAutoColor(CellBorderColorD);
  cmbCellBorderLightColor.SetAutoColor(CellBorderColorL);
  if (FDefCellColorD && !cmbCellBorderColor.Indeterminate()) cmbCellBorderColor.SetChosenColor(CellBorderColorD);
  if (FDefCellColorL && !cmbCellBorderLightColor.Indeterminate())
    cmbCellBorderLightColor.SetChosenColor(CellBorderColorL);
}

void TfrmDVItemProp::btnSpacingClick() {
  TfrmDVSpacing spacing;
  spacing.SetValues(BorderHSpacing, CellHSpacing, BorderVSpacing, CellVSpacing, true, true, true, true);
  if (spacing.ShowModal() != mrOk) return;
  int left = BorderHSpacing, top = CellHSpacing, right = BorderVSpacing, bottom = CellVSpacing;
  bool fLeft, fTop, fRight, fBottom;
  spacing.GetValues(left, top, right, bottom, fLeft, fTop, fRight, fBottom);
  if (fLeft) BorderHSpacing = left;
  if (fTop) CellHSpacing = top;
  if (fRight) BorderVSpacing = right;
  if (fBottom) CellVSpacing = bottom;
  ShowSpacing();
}

void TfrmDVItemProp::btnTableBorderClick() {
  TfrmDVTableBrdr border;
  border.Dialog()->setWindowTitle(Q("Table Border"));
  border.ColorDialog = ColorDialog;
  border.SetData(BorderStyle, BorderColorL, BorderColorD, BorderWidth);
  if (border.ShowModal() == mrOk) border.GetData(BorderStyle, BorderColorL, BorderColorD, BorderWidth);
}

void TfrmDVItemProp::btnCellBordersClick() {
  TfrmDVTableBrdr border;
  border.Dialog()->setWindowTitle(Q("Default Cells Borders"));
  border.ColorDialog = ColorDialog;
  border.SetData(CellBorderStyle, CellBorderColorL, CellBorderColorD, CellBorderWidth);
  if (border.ShowModal() != mrOk) return;
  border.GetData(CellBorderStyle, CellBorderColorL, CellBorderColorD, CellBorderWidth);
  UpdateCellBorders();
}

void TfrmDVItemProp::GetTable(TCustomDocViewEdit& editor, TDVTableItemInfo& table) {
  editor.BeginUndoGroup(dvutModifyItem);
  editor.SetUndoGroupMode(true);
  try {
    const TDefined<int> width = d_->tableWidth->ReadInt();
    if (!width.Defined || width.Value == 0) table.SetProperty("BestWidth", 0);
    else if (d_->twType->currentIndex() >= 0) table.SetProperty("BestWidth", ReadWidth(width.Value, d_->twType));
    if (!cmbTableColor.Indeterminate()) table.SetProperty("Color", static_cast<int32_t>(cmbTableColor.ChosenColor()));
    const TDefined<int> padding = d_->cellPadding->ReadInt();
    if (padding.Defined) table.SetProperty("CellPadding", padding.Value);
    // The table holds no negative spacing: -1 (glued borders) becomes the
    // nearest it holds, so no refused value stops the writing half-way.
    const std::pair<const char*, int32_t> kept[] = {
        {"CellHSpacing", std::max(CellHSpacing, 0)},
        {"CellVSpacing", std::max(CellVSpacing, 0)},
        {"BorderHSpacing", std::max(BorderHSpacing, 0)},
        {"BorderVSpacing", std::max(BorderVSpacing, 0)},
        {"BorderWidth", BorderWidth},
        {"BorderStyle", BorderStyle},
        {"BorderColor", static_cast<int32_t>(BorderColorD)},
        {"BorderLightColor", static_cast<int32_t>(BorderColorL)},
        {"CellBorderWidth", CellBorderWidth},
        {"CellBorderStyle", CellBorderStyle},
        {"CellBorderColor", static_cast<int32_t>(CellBorderColorD)},
        {"CellBorderLightColor", static_cast<int32_t>(CellBorderColorL)},
    };
    for (const auto& [name, value] : kept) table.SetProperty(name, value);
    if (d_->hasSelection && PageVisible(pgCells)) GetCells(table);
  } catch (...) {
    editor.SetUndoGroupMode(false);
    throw;
  }
  editor.SetUndoGroupMode(false);
}

void TfrmDVItemProp::GetCells(TDVTableItemInfo& table) {
  std::vector<TDVTableItemInfo::TCellValue> widths, heights, colors, aligns, borderColors, lightColors;
  std::vector<std::pair<std::pair<int, int>, TDVBooleanRect>> borders;
  std::vector<int> rows;
  const bool bordersShown = CellBorderWidth != 0;
  const TDefined<int> bestWidth = d_->cellBestWidth->ReadInt();
  const TDefined<int> bestHeight = d_->cellBestHeight->ReadInt();
  ForSelectedCells(table, [&](int r, int c, const TDVTableCellData& cell) {
    if (rows.empty() || rows.back() != r) rows.push_back(r);
    if (d_->cellWidthTouched && d_->cbCellWidth->checkState() == Qt::Checked)
      widths.push_back({r, c, bestWidth.Defined ? ReadWidth(bestWidth.Value, d_->cellBWType) : 0});
    if (d_->cellHeightTouched && d_->cbCellHeight->checkState() == Qt::Checked)
      heights.push_back({r, c, bestHeight.Defined ? bestHeight.Value : 0});
    if (d_->cellColorTouched && !cmbCellColor.Indeterminate())
      colors.push_back({r, c, static_cast<int32_t>(cmbCellColor.ChosenColor())});
    if (d_->cellAlignTouched && rgCellVAlign.ItemIndex() >= 0) aligns.push_back({r, c, rgCellVAlign.ItemIndex()});
    if (!bordersShown) return;
    if (d_->sidesTouched) {
      TDVBooleanRect v = cell.VisibleBorders;
      // A side still mixed keeps each cell's own.
      const auto side = [&](TSide s, bool& field) {
        if (!d_->sides[s]->autoRaise()) field = d_->sides[s]->isChecked();
      };
      side(sdTop, v.Top);
      side(sdLeft, v.Left);
      side(sdRight, v.Right);
      side(sdBottom, v.Bottom);
      borders.push_back({{r, c}, v});
    }
    const auto border = [&](TDVColorCombo& combo, bool touched, std::vector<TDVTableItemInfo::TCellValue>& out) {
      if (!touched || !combo.Widget()->isVisibleTo(d_->gbCellBorder) || combo.Indeterminate()) return;
      const TColor color = combo.ChosenColor() == combo.AutoColor() ? clNone : combo.ChosenColor();
      out.push_back({r, c, static_cast<int32_t>(color)});
    };
    border(cmbCellBorderColor, d_->cellBorderColorTouched, borderColors);
    border(cmbCellBorderLightColor, d_->cellBorderLightColorTouched, lightColors);
  });
  const std::pair<const char*, const std::vector<TDVTableItemInfo::TCellValue>*> sets[] = {
      {"BestWidth", &widths}, {"BestHeight", &heights},           {"Color", &colors},
      {"VAlign", &aligns},    {"BorderColor", &borderColors}, {"BorderLightColor", &lightColors}};
  for (const auto& [name, values] : sets)
    if (!values->empty()) table.SetCellsProperty(name, *values);
  for (const auto& [at, v] : borders) table.SetCellVisibleBorders(v, at.first, at.second);
  // Rows take the user's alignment only; an untouched group writes nothing.
  if (d_->rowAlignTouched && rgRowVAlign.ItemIndex() >= 0 && PageVisible(pgRows)) {
    static constexpr TDVCellVAlign kRowAlign[3] = {dvcTop, dvcMiddle, dvcBottom};
    table.SetRowsVAlign(rows, kRowAlign[rgRowVAlign.ItemIndex()]);
  }
}

}  // namespace quillet
