#include "commands/dialogs/table_border_dialog.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "commands/actions/width_painters.h"
#include "commands/dialogs/form_parts.h"
#include "commands/dialogs/width_combo.h"

namespace quillet {

namespace {

bool IsColorStyle(TDVTableBorderStyle s) { return s == dvtbColor || s == dvtbRaisedColor || s == dvtbLoweredColor; }

}  // namespace

TfrmDVTableBrdr::TfrmDVTableBrdr() {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q("边框"));
  dialog->setFixedSize(352, 285);

  settings_ = AddGroup(dialog, "gbSettings", " 设置 ", {8, 8, 336, 128});
  Place(cmbBorderColor, settings_, "cmbBorderColor", {112, 20, 120, 24});
  cmbBorderColor.SetAutoColor(clWindowText);
  cmbBorderColor.SetIndeterminate(true);
  colorLabel_ = AddLabel(settings_, "lblTableBorderColor", "颜色(&C):", cmbBorderColor.Widget(), {12, 24, 96, 16});
  Place(cmbBorderLightColor, settings_, "cmbBorderLightColor", {112, 56, 120, 24});
  cmbBorderLightColor.SetAutoColor(clBtnFace);
  cmbBorderLightColor.SetIndeterminate(true);
  lightLabel_ = AddLabel(settings_, "lblTableBorderLightColor", "高亮色(&L):", cmbBorderLightColor.Widget(),
                         {12, 60, 96, 16});
  width_ = new TDVWidthCombo(settings_, "cmbBorderWidth", WidthCount, 30);
  width_->setGeometry(112, 92, 120, 26);
  AddLabel(settings_, "lblBorderWidth", "宽度(&W):", width_, {12, 96, 96, 16});

  Place(rgBorderType, dialog, "rgBorderType", {8, 144, 336, 96});
  rgBorderType.SetCaption("边框类型");
  for (const char* caption : {"无(&N)", "凹进(&S)", "凸出(&R)", "平面(&F)"}) rgBorderType.AddItem().SetCaption(caption);
  rgBorderType.Square = true;
  rgBorderType.SetColumns(4);
  rgBorderType.UpdateButtons();
  // Each type's picture is its own border sample.
  rgBorderType.OnCustomDraw = [this](TDVPictureRadioGroup&, int item, TCanvas& canvas, const TRect& r, bool& doDefault) {
    doDefault = false;
    const TColor dark = cmbBorderColor.ChosenColor(), light = cmbBorderLightColor.ChosenColor();
    const int x = (r.Left + r.Right) / 2 - 12, y = (r.Top + r.Bottom) / 2 - 12;
    const TRect box{x, y, x + 24, y + 24};
    canvas.Brush().Color = clWindow;
    canvas.FillRect(box);
    if (item == btSunken) DVA_DrawCmbWidthItem2(canvas, box, 1, dark, light, false);
    else if (item == btRaised) DVA_DrawCmbWidthItem2(canvas, box, 1, light, dark, false);
    else if (item == btFlat) DVA_DrawCmbWidthItem2(canvas, box, 1, dark, dark, false);
  };

  AddOkCancel(*this, 184, 252, ok_, cancel_);
  SetTabOrder({cmbBorderColor.Widget(), cmbBorderLightColor.Widget(), width_, rgBorderType.Widget(), ok_, cancel_});

  AddThemedControl([this](bool v) { cmbBorderColor.SetUseXPThemes(v); });
  AddThemedControl([this](bool v) { cmbBorderLightColor.SetUseXPThemes(v); });
  AddThemedControl([this](bool v) { rgBorderType.SetUseXPThemes(v); });

  rgBorderType.OnClick = [this](TDVPictureRadioGroup&) {
    typeTouched_ = true;
    rgBorderTypeClick();
  };
  cmbBorderColor.OnColorChange = [this](TDVColorCombo&) { ColorChange(); };
  cmbBorderLightColor.OnColorChange = [this](TDVColorCombo&) { ColorChange(); };
  QObject::connect(width_, &QComboBox::activated, dialog, [this] { WidthChange(); });
  OnShow = [this] { FormActivate(); };
  // A plain form: its own font, the visual-styles setting all the same.
  SetUseVisualStyles(DVA_UseVisualStyles);
}

TfrmDVTableBrdr::~TfrmDVTableBrdr() = default;

void TfrmDVTableBrdr::SetData(TDVTableBorderStyle borderStyle, TColor colorL, TColor colorD, int borderWidth) {
  if (IsColorStyle(borderStyle)) {
    cmbBorderColor.SetChosenColor(colorD);
    cmbBorderLightColor.SetChosenColor(colorL);
  } else {
    cmbBorderColor.SetChosenColor(cmbBorderColor.AutoColor());
    cmbBorderLightColor.SetChosenColor(cmbBorderLightColor.AutoColor());
  }
  int type = btNone;
  width_->setCurrentIndex(-1);
  if (borderWidth > 0) {
    if (borderWidth <= WidthCount) width_->setCurrentIndex(borderWidth - 1);
    type = borderStyle == dvtbRaised || borderStyle == dvtbRaisedColor   ? btRaised
           : borderStyle == dvtbLowered || borderStyle == dvtbLoweredColor ? btSunken
                                                                           : btFlat;
  }
  rgBorderType.SetItemIndex(type);
  filledStyle_ = borderStyle;
  typeTouched_ = colorTouched_ = ownWidth_ = false;
  RepaintWidths();
}

void TfrmDVTableBrdr::GetData(TDVTableBorderStyle& borderStyle, TColor& colorL, TColor& colorD,
                              int& borderWidth) const {
  const int type = rgBorderType.ItemIndex();
  if (type < 0) return;
  if (type == btNone) {
    // A none the user left stands for the width it came with.
    if (typeTouched_ || borderWidth > 0) borderWidth = 0;
    return;
  }
  if (width_->currentIndex() >= 0 && !ownWidth_) borderWidth = width_->currentIndex() + 1;
  if (borderWidth <= 0) borderWidth = 1;
  if (!typeTouched_ && !colorTouched_) {
    borderStyle = filledStyle_;
    return;
  }
  const bool automatic = cmbBorderColor.ChosenColor() == cmbBorderColor.AutoColor() &&
                         cmbBorderLightColor.ChosenColor() == cmbBorderLightColor.AutoColor();
  if (type == btFlat) {
    borderStyle = dvtbColor;
    colorD = cmbBorderColor.ChosenColor();
    return;
  }
  const bool sunken = type == btSunken;
  if (automatic) {
    borderStyle = sunken ? dvtbLowered : dvtbRaised;
    return;
  }
  borderStyle = sunken ? dvtbLoweredColor : dvtbRaisedColor;
  colorL = cmbBorderLightColor.ChosenColor();
  colorD = cmbBorderColor.ChosenColor();
}

void TfrmDVTableBrdr::FormActivate() {
  cmbBorderColor.SetColorDialog(ColorDialog);
  cmbBorderLightColor.SetColorDialog(ColorDialog);
  rgBorderTypeClick();
}

void TfrmDVTableBrdr::rgBorderTypeClick() {
  if (!Dialog()->isVisible()) return;
  const int type = rgBorderType.ItemIndex();
  if (type == btNone) {
    width_->setCurrentIndex(-1);
  } else if (type > btNone && width_->currentIndex() < 0) {
    width_->setCurrentIndex(0);
    ownWidth_ = true;
  }
  const bool flat = type == btFlat;
  colorLabel_->setText(Q(flat ? "&Color:" : "Shadow &color:"));
  lightLabel_->setVisible(!flat);
  cmbBorderLightColor.Widget()->setVisible(!flat);
  RepaintWidths();
}

void TfrmDVTableBrdr::SwitchFromNone() {
  if (rgBorderType.ItemIndex() > btNone) return;
  typeTouched_ = true;
  rgBorderType.SetItemIndex(btSunken);
  rgBorderTypeClick();
}

void TfrmDVTableBrdr::ColorChange() {
  if (!Dialog()->isVisible()) return;
  colorTouched_ = true;
  SwitchFromNone();
  RepaintWidths();
}

void TfrmDVTableBrdr::WidthChange() {
  if (!Dialog()->isVisible()) return;
  ownWidth_ = false;
  SwitchFromNone();
}

void TfrmDVTableBrdr::RepaintWidths() {
  const TColor dark = cmbBorderColor.ChosenColor(), light = cmbBorderLightColor.ChosenColor();
  switch (rgBorderType.ItemIndex()) {
    case btSunken: width_->SetColors(dark, light); break;
    case btRaised: width_->SetColors(light, dark); break;
    default: width_->SetColors(dark, dark); break;
  }
  rgBorderType.Invalidate();
}

}  // namespace quillet
