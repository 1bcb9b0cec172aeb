#include "commands/dialogs/item_prop_dialog.h"

#include <QDialog>
#include <QShortcut>
#include <cmath>
#include <exception>

#include "commands/dialogs/item_prop_parts.h"
#include "commands/resource_strings.h"
#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "engine/model/break_item.h"
#include "engine/model/picture_item.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/picture_file.h"

namespace quillet {

namespace {

QComboBox* AddUnits(QWidget* parent, const char* name, const QRect& r) {
  return AddCombo(parent, name, {"Percent", "Pixels"}, r);
}


// The alignment groups' pictures: a frame with a bar where the content goes
// (none for the default).
void DrawVAlign(int position, TCanvas& canvas, const TRect& r) {
  const int x = (r.Left + r.Right) / 2 - 12, y = (r.Top + r.Bottom) / 2 - 12;
  canvas.Brush().Color = clWindow;
  canvas.FillRect({x, y, x + 24, y + 24});
  canvas.Pen().Color = clBtnShadow;
  canvas.Brush().Style = bsClear;
  canvas.Rectangle({x + 2, y + 2, x + 22, y + 22});
  canvas.Brush().Style = bsSolid;
  if (position > 2) return;
  const int barTop = y + 5 + position * 6;
  canvas.Brush().Color = clWindowText;
  canvas.FillRect({x + 6, barTop, x + 18, barTop + 3});
}

}  // namespace

void PlaceColorCombo(TDVColorCombo& combo, QWidget* parent, const char* name, const QRect& r) {
  Place(combo, parent, name, r);
  combo.SetIndeterminate(true);
}

void SetUpVAlignGroup(TDVPictureRadioGroup& group, QWidget* parent, const char* name, const char* caption,
                      std::initializer_list<const char*> items, const QRect& r) {
  Place(group, parent, name, r);
  group.SetCaption(caption);
  for (const char* item : items) group.AddItem().SetCaption(item);
  group.Square = true;
  group.SetColumns(static_cast<int>(items.size()));
  group.UpdateButtons();
  group.OnCustomDraw = [](TDVPictureRadioGroup&, int item, TCanvas& canvas, const TRect& rect, bool& doDefault) {
    doDefault = false;
    DrawVAlign(item, canvas, rect);
  };
}

TfrmDVItemProp::TfrmDVItemProp() : d_(std::make_unique<Impl>()) {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("属性"));
  dialog->setFixedSize(426, 474);
  d_->pc = new QTabWidget(dialog);
  Place(d_->pc, "pc", {8, 8, 410, 420});
  static const char* const kPages[6][2] = {{"tsImage", "图像"},     {"tsImgLayout", " 层"}, {"tsBreak", " 线 "},
                                           {"tsTable", " 表格 "}, {"tsRows", " 行数 "},  {"tsCells", " 单元格 "}};
  for (int i = 0; i < 6; ++i) {
    d_->pages[i] = new QWidget;
    d_->pages[i]->setObjectName(kPages[i][0]);
    d_->pc->addTab(d_->pages[i], Q(kPages[i][1]));
  }
  BuildImagePages();
  BuildLinePage();
  BuildTablePage();
  BuildRowsPage();
  BuildCellsPage();
  AddOkCancel(*this, 256, 440, d_->ok, d_->cancel);

  for (TDVColorCombo* combo :
       {&cmbColor, &cmbBreakColor, &cmbTableColor, &cmbCellBorderColor, &cmbCellBorderLightColor, &cmbCellColor})
    AddThemedControl([combo](bool v) { combo->SetUseXPThemes(v); });
  for (TDVPictureRadioGroup* group : {&rgRowVAlign, &rgCellVAlign})
    AddThemedControl([group](bool v) { group->SetUseXPThemes(v); });
  // Ctrl+T, L, R and B toggle the border sides while they are in view.
  static const char* const kKeys[4] = {"Ctrl+T", "Ctrl+L", "Ctrl+R", "Ctrl+B"};
  for (int side = 0; side < 4; ++side) {
    auto* shortcut = new QShortcut(QKeySequence(Q(kKeys[side])), dialog);
    QObject::connect(shortcut, &QShortcut::activated, dialog, [this, side] {
      if (d_->pc->currentWidget() != d_->pages[pgCells] || !d_->gbCellBorder->isVisible()) return;
      d_->sides[side]->click();
    });
  }
  OnShow = [this] { FormActivate(); };
  FormCreate();
}

TfrmDVItemProp::~TfrmDVItemProp() = default;

void TfrmDVItemProp::BuildImagePages() {
  QWidget* page = d_->pages[pgImage];
  auto* panel = new QFrame(page);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(8, 28, 264, 204);
  AddLabel(page, "lblPreview", "预览:", nullptr, {8, 8, 120, 16});
  d_->img = new TPicturePreview(panel);
  Place(d_->img, "img", {2, 2, 260, 200});
  d_->img->OnDblClick = [this] { Button1Click(); };
  d_->change = AddButton(page, "Button1", "更改(&H)", {284, 28, 110, 25});
  QObject::connect(d_->change, &QPushButton::clicked, Dialog(), [this] { Button1Click(); });
  d_->gbTransp = AddGroup(page, "gbTransp", "透明", {8, 244, 390, 84});
  d_->cbTransp = new QCheckBox(Q("透明(&T)"), d_->gbTransp);
  Place(d_->cbTransp, "cbTransp", {12, 22, 200, 18});
  PlaceColorCombo(cmbColor, d_->gbTransp, "cmbColor", {130, 48, 130, 24});
  // The automatic transparent colour: the picture's bottom-left pixel.
  cmbColor.SetAutoColor(clNone);
  AddLabel(d_->gbTransp, "lblColor", "透明色(&C):", cmbColor.Widget(), {12, 52, 110, 16});
  cmbColor.OnColorChange = [this](TDVColorCombo&) {
    if (!Dialog()->isVisible()) return;
    d_->transpColorTouched = true;
    d_->cbTransp->setChecked(true);
  };
  SetTabOrder({d_->change, d_->cbTransp, cmbColor.Widget()});

  QWidget* layout = d_->pages[pgImgLayout];
  QGroupBox* vAlign = AddGroup(layout, "gbVAlign", "垂直排列", {8, 8, 390, 96});
  d_->alignTo = AddCombo(vAlign, "cmbAlignTo", {"bottom to base line of text", "middle to base line of text"},
                         {120, 22, 250, 22});
  AddLabel(vAlign, "lblAlignTo", "对齐(&A):", d_->alignTo, {12, 25, 100, 16});
  d_->vShift = std::make_unique<TFilledSpin>(AddSpin(vAlign, "seVShift", -500, 500, {120, 58, 80, 22}));
  AddLabel(vAlign, "lblVShift", "&Shift by:", seVShift(), {12, 61, 100, 16});
  d_->vShiftType = AddUnits(vAlign, "cmbVShiftType", {208, 58, 90, 22});
  d_->gbSize = AddGroup(layout, "gbSize", " 延伸 ", {8, 112, 390, 124});
  d_->width = std::make_unique<TFilledSpin>(AddSpin(d_->gbSize, "seWidth", 1, 500, {120, 22, 80, 22}));
  AddLabel(d_->gbSize, "lblWidth", "宽度(&W)", seWidth(), {12, 25, 100, 16});
  d_->wType = AddUnits(d_->gbSize, "cmbWType", {208, 22, 90, 22});
  d_->height = std::make_unique<TFilledSpin>(AddSpin(d_->gbSize, "seHeight", 1, 500, {120, 54, 80, 22}));
  AddLabel(d_->gbSize, "lblHeight", "高度(&H)", seHeight(), {12, 57, 100, 16});
  d_->hType = AddUnits(d_->gbSize, "cmbHType", {208, 54, 90, 22});
  d_->defSize = AddLabel(d_->gbSize, "lblDefSize", "", nullptr, {12, 92, 360, 16});
  SetTabOrder({d_->alignTo, seVShift(), d_->vShiftType, seWidth(), d_->wType, seHeight(), d_->hType});
  QObject::connect(d_->vShiftType, &QComboBox::activated, Dialog(),
                   [this] { UnitClick(d_->vShiftType, *d_->vShift, false, d_->vShiftUnit); });
  QObject::connect(d_->wType, &QComboBox::activated, Dialog(),
                   [this] { UnitClick(d_->wType, *d_->width, true, d_->wUnit); });
  QObject::connect(d_->hType, &QComboBox::activated, Dialog(),
                   [this] { UnitClick(d_->hType, *d_->height, false, d_->hUnit); });
}

void TfrmDVItemProp::BuildLinePage() {
  QGroupBox* group = AddGroup(d_->pages[pgBreak], "gbBreak", " 水平线 ", {8, 8, 390, 100});
  PlaceColorCombo(cmbBreakColor, group, "cmbBreakColor", {120, 22, 140, 24});
  AddLabel(group, "lblBreakColor", "颜色(&C):", cmbBreakColor.Widget(), {12, 26, 100, 16});
  d_->lineWidth = new TDVWidthCombo(group, "cmbWidth", 6, 20);
  d_->lineWidth->setGeometry(120, 60, 140, 26);
  AddLabel(group, "lblWidth", "宽度(&W):", d_->lineWidth, {12, 65, 100, 16});
  SetTabOrder({cmbBreakColor.Widget(), d_->lineWidth});
  cmbBreakColor.OnColorChange = [this](TDVColorCombo& combo) {
    d_->lineColorTouched = true;
    d_->lineWidth->SetColors(combo.ChosenColor());
  };
  QObject::connect(d_->lineWidth, &QComboBox::activated, Dialog(), [this] { d_->lineWidthTouched = true; });
}

void TfrmDVItemProp::BuildRowsPage() {
  SetUpVAlignGroup(rgRowVAlign, d_->pages[pgRows], "rgRowVAlign", " 垂直排列 ", {"顶部(&T)", "中央(&C)", "底部(&B)"},
                   {8, 8, 390, 110});
  rgRowVAlign.OnClick = [this](TDVPictureRadioGroup&) { d_->rowAlignTouched = true; };
}

void TfrmDVItemProp::ShowPages(std::initializer_list<TPage> pages) {
  for (int i = 0; i < 6; ++i) d_->pc->setTabVisible(i, false);
  for (TPage page : pages) d_->pc->setTabVisible(page, true);
  d_->pc->setCurrentIndex(*pages.begin());
}

bool TfrmDVItemProp::PageVisible(TPage page) const { return d_->pc->isTabVisible(page); }

void TfrmDVItemProp::FormActivate() {
  for (TDVColorCombo* combo : {&cmbColor, &cmbBreakColor, &cmbTableColor, &cmbCellColor})
    combo->SetColorDialog(ColorDialog);
}

// ---- pictures ----

bool TfrmDVItemProp::SetItem(TCustomDocViewEdit& editor) {
  TCustomDVItemInfo* item = editor.GetCurrentItem();
  if (auto* picture = dynamic_cast<TDVGraphicItemInfo*>(item); picture && picture->Image) {
    SetPicture(*picture);
    return true;
  }
  if (auto* line = dynamic_cast<TDVBreakItemInfo*>(item)) {
    SetBreak(*line);
    return true;
  }
  if (auto* table = dynamic_cast<TDVTableItemInfo*>(item)) {
    SetTable(*table, false);
    return true;
  }
  return false;
}

void TfrmDVItemProp::GetItem(TCustomDocViewEdit& editor) {
  TCustomDVItemInfo* item = editor.GetCurrentItem();
  if (auto* table = dynamic_cast<TDVTableItemInfo*>(item)) {
    GetTable(editor, *table);
    return;
  }
  editor.BeginUndoGroup(dvutModifyItem);
  editor.SetUndoGroupMode(true);
  try {
    if (auto* picture = dynamic_cast<TDVGraphicItemInfo*>(item); picture && picture->Image)
      GetPicture(editor, *picture);
    else if (auto* line = dynamic_cast<TDVBreakItemInfo*>(item))
      GetBreak(editor, *line);
  } catch (...) {
    editor.SetUndoGroupMode(false);
    throw;
  }
  editor.SetUndoGroupMode(false);
}

void TfrmDVItemProp::SetPicture(const TDVGraphicItemInfo& item) {
  ShowPages({pgImage, pgImgLayout});
  d_->img->SetGraphic(item.Image->Clone());
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(item.Image.get())) {
    d_->cbTransp->setChecked(bitmap->Transparent());
    cmbColor.SetChosenColor(bitmap->TransparentMode() == tmFixed ? bitmap->TransparentColor() : cmbColor.AutoColor());
  }
  d_->transpColorTouched = d_->pictureReplaced = false;
  // Alignments the list lacks show as no selection.
  d_->alignTo->setCurrentIndex(item.VAlign <= dvvaMiddle ? item.VAlign : -1);
  d_->vShift->Fill(item.VShift);
  d_->vShiftUnit = item.VShiftAbs ? uPixels : uPercent;
  d_->vShiftType->setCurrentIndex(d_->vShiftUnit);
  d_->wUnit = d_->hUnit = uPixels;
  d_->wType->setCurrentIndex(uPixels);
  d_->hType->setCurrentIndex(uPixels);
  d_->width->Fill(item.ImageWidth, item.ImageWidth != 0);
  d_->height->Fill(item.ImageHeight, item.ImageHeight != 0);
  d_->gbSize->setVisible(item.Image->ClassName() != "TIcon");
  PictureChanged();
}

// The default size and the transparency group follow the preview's picture.
void TfrmDVItemProp::PictureChanged() {
  const TGraphic* graphic = d_->img->Graphic();
  if (!graphic) return;
  std::string text = ReplacePlaceholder(LoadResString(dvrsDefaultSize), "%d", std::to_string(graphic->Width()));
  text = ReplacePlaceholder(text, "%d", std::to_string(graphic->Height()));
  d_->defSize->setText(QString::fromStdString(text));
  d_->gbTransp->setVisible(dynamic_cast<const TBitmap*>(graphic) != nullptr);
}

void TfrmDVItemProp::Button1Click() {
  TFileQuestion question;
  question.Filter = Filter.empty() ? "Pictures|*.bmp;*.dib;*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.ico;*.emf;*.wmf" : Filter;
  if (CommonDialogs().OpenPicture(question)) {
    try {
      std::unique_ptr<TGraphic> graphic = LoadPictureFile(question.FileName);
      if (!graphic || graphic->Empty()) throw EInvalidGraphic("Empty picture");
      d_->img->SetGraphic(std::move(graphic));
      d_->pictureReplaced = true;
    } catch (const std::exception&) {
      // The picture shown stays.
      CommonDialogs().MessageBox({std::string(LoadResString(dvrsLoadError)), "", MB_OK, MB_ICONERROR});
    }
  }
  PictureChanged();
}

void TfrmDVItemProp::UnitClick(QComboBox* units, TFilledSpin& field, bool byWidth, int& unit) {
  const int now = units->currentIndex();
  const int before = unit;
  unit = now;
  if (!Dialog()->isVisible() || now == before || before < 0) return;
  const TGraphic* graphic = d_->img->Graphic();
  const int size = !graphic ? 0 : byWidth ? graphic->Width() : graphic->Height();
  const TDefined<int> value = field.ReadInt();
  if (size == 0 || !value.Defined) return;
  const double converted = now == uPixels ? double(value.Value) * size / 100 : double(value.Value) * 100 / size;
  field.Edit()->SetValue(std::nearbyint(converted));
}

void TfrmDVItemProp::GetPicture(TCustomDocViewEdit& editor, const TDVGraphicItemInfo& item) {
  const TGraphic& shown = *d_->img->Graphic();
  std::unique_ptr<TGraphic> graphic = shown.Clone();
  if (auto* bitmap = dynamic_cast<TBitmap*>(graphic.get())) {
    bitmap->SetTransparent(d_->cbTransp->isChecked());
    const TColor color = cmbColor.ChosenColor();
    if (!d_->transpColorTouched && !d_->pictureReplaced) {
      // As it was.
    } else if (color == cmbColor.AutoColor()) {
      bitmap->SetTransparentMode(tmAuto);
    } else {
      bitmap->SetTransparentColor(color);
    }
  }
  const int align = d_->alignTo->currentIndex();
  editor.SetCurrentPictureInfo(editor.GetCurrentItemText(), std::move(graphic),
                               align < 0 ? item.VAlign : static_cast<TDVVAlign>(align), editor.GetCurrentTag());
  int32_t width = 0;
  editor.BeginCurrentItemModify(width);
  const auto size = [&](TFilledSpin& field, QComboBox* units, int32_t graphicSize) {
    const TDefined<int> value = field.ReadInt();
    if (!value.Defined) return 0;
    return units->currentIndex() == uPercent
               ? static_cast<int>(std::nearbyint(double(graphicSize) * value.Value / 100))
               : value.Value;
  };
  editor.SetCurrentItemExtraIntProperty(dvepImageWidth, size(*d_->width, d_->wType, shown.Width()), false);
  editor.SetCurrentItemExtraIntProperty(dvepImageHeight, size(*d_->height, d_->hType, shown.Height()), false);
  if (d_->vShiftType->currentIndex() >= 0)
    editor.SetCurrentItemExtraIntProperty(dvepVShiftAbs, d_->vShiftType->currentIndex() == uPixels, false);
  const TDefined<int> shift = d_->vShift->ReadInt();
  editor.SetCurrentItemExtraIntProperty(dvepVShift, shift.Defined ? shift.Value : item.VShift, false);
  editor.EndCurrentItemModify(width);
}

// ---- lines ----

void TfrmDVItemProp::SetBreak(const TDVBreakItemInfo& item) {
  ShowPages({pgBreak});
  cmbBreakColor.SetChosenColor(item.Color);
  d_->lineWidth->SetColors(item.Color == clNone ? clWindowText : item.Color);
  d_->lineWidth->setCurrentIndex(std::clamp(int(item.LineWidth) - 1, 0, 5));
  d_->lineWidthTouched = d_->lineColorTouched = false;
}

void TfrmDVItemProp::GetBreak(TCustomDocViewEdit& editor, const TDVBreakItemInfo& item) {
  // Untouched, a width beyond the list and the colour stay the item's.
  const uint8_t width = d_->lineWidthTouched ? static_cast<uint8_t>(d_->lineWidth->currentIndex() + 1) : item.LineWidth;
  const TColor color = d_->lineColorTouched ? cmbBreakColor.ChosenColor() : item.Color;
  editor.SetCurrentBreakInfo(width, dvbsLine, color, editor.GetCurrentTag());
}

// ---- the controls by name ----

QTabWidget* TfrmDVItemProp::pc() const { return d_->pc; }
TPicturePreview* TfrmDVItemProp::img() const { return d_->img; }
QPushButton* TfrmDVItemProp::Button1() const { return d_->change; }
QGroupBox* TfrmDVItemProp::gbTransp() const { return d_->gbTransp; }
QCheckBox* TfrmDVItemProp::cbTransp() const { return d_->cbTransp; }
QComboBox* TfrmDVItemProp::cmbAlignTo() const { return d_->alignTo; }
TDVSpinEdit* TfrmDVItemProp::seVShift() const { return d_->vShift->Edit(); }
QComboBox* TfrmDVItemProp::cmbVShiftType() const { return d_->vShiftType; }
QGroupBox* TfrmDVItemProp::gbSize() const { return d_->gbSize; }
TDVSpinEdit* TfrmDVItemProp::seWidth() const { return d_->width->Edit(); }
QComboBox* TfrmDVItemProp::cmbWType() const { return d_->wType; }
TDVSpinEdit* TfrmDVItemProp::seHeight() const { return d_->height->Edit(); }
QComboBox* TfrmDVItemProp::cmbHType() const { return d_->hType; }
QLabel* TfrmDVItemProp::lblDefSize() const { return d_->defSize; }
TDVWidthCombo* TfrmDVItemProp::cmbWidth() const { return d_->lineWidth; }
TDVSpinEdit* TfrmDVItemProp::seTableWidth() const { return d_->tableWidth->Edit(); }
QComboBox* TfrmDVItemProp::cmbTWType() const { return d_->twType; }
TDVSpinEdit* TfrmDVItemProp::seCellPadding() const { return d_->cellPadding->Edit(); }
TDVSpinEdit* TfrmDVItemProp::seCellSpacing() const { return d_->cellSpacing->Edit(); }
QPushButton* TfrmDVItemProp::btnSpacing() const { return d_->spacing; }
QPushButton* TfrmDVItemProp::btnTableBorder() const { return d_->tableBorder; }
QPushButton* TfrmDVItemProp::btnCellBorder() const { return d_->cellBorder; }
QGroupBox* TfrmDVItemProp::gbCellBorder() const { return d_->gbCellBorder; }
QToolButton* TfrmDVItemProp::BorderButton(TSide side) const { return d_->sides[side]; }
QLabel* TfrmDVItemProp::lblCellBorderColor() const { return d_->cellBorderColorLabel; }
QLabel* TfrmDVItemProp::lblCellBorderLightColor() const { return d_->cellBorderLightColorLabel; }
QCheckBox* TfrmDVItemProp::cbCellWidth() const { return d_->cbCellWidth; }
TDVSpinEdit* TfrmDVItemProp::seCellBestWidth() const { return d_->cellBestWidth->Edit(); }
QComboBox* TfrmDVItemProp::cmbCellBWType() const { return d_->cellBWType; }
QCheckBox* TfrmDVItemProp::cbCellHeight() const { return d_->cbCellHeight; }
TDVSpinEdit* TfrmDVItemProp::seCellBestHeight() const { return d_->cellBestHeight->Edit(); }
QPushButton* TfrmDVItemProp::btnOk() const { return d_->ok; }
QPushButton* TfrmDVItemProp::btnCancel() const { return d_->cancel; }

}  // namespace quillet
