#include "commands/dialogs/para_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <cmath>

#include "commands/controls/spin_edit.h"
#include "commands/dialogs/dialog_events.h"
#include "commands/dialogs/font_signs.h"
#include "commands/dialogs/form_layout.h"
#include "commands/resource_strings.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

// The line-spacing list: single, one and a half, double, then a multiple.
constexpr int32_t kListSpacings[] = {100, 150, 200};
constexpr int kMultiple = 3;

int SpacingItem(int32_t spacing) {
  for (int i = 0; i < kMultiple; ++i)
    if (kListSpacings[i] == spacing) return i;
  return kMultiple;
}

}  // namespace

TfrmDVPara::TfrmDVPara() {
  QDialog* form = Dialog();
  form->setObjectName(QStringLiteral("frmDVPara"));
  form->setWindowTitle(QStringLiteral("段落"));
  form->setFixedSize(460, 401);

  Place(gbAlignment, form, "gbAlignment", 8, 4, 444, 92);
  gbAlignment.SetCaption(" 对齐方式 ");
  gbAlignment.SetColumns(4);
  gbAlignment.SetMargin(2);
  gbAlignment.Square = true;
  for (const char* caption : {"居左(&L)", "居右(&R)", "局中(&C)", "两边对齐(&J)"}) {
    TPictureGroupItem& item = gbAlignment.AddItem();
    item.SetCaption(caption);
    item.SetImageIndex(gbAlignment.ItemCount() - 1);
  }
  gbAlignment.UpdateButtons();

  auto* gbIndent = new QGroupBox(QStringLiteral(" 缩进 "), form);
  Place(gbIndent, "gbIndent", 8, 100, 444, 84);
  seLeftIndent = AddSpinEdit(gbIndent, "seLeftIndent", 88, 20, 0, 1000);
  AddLabel(gbIndent, "左缩进(&E):", 8, 24, seLeftIndent);
  seRightIndent = AddSpinEdit(gbIndent, "seRightIndent", 88, 52, 0, 1000);
  AddLabel(gbIndent, "右缩进(&G):", 8, 56, seRightIndent);
  seFirstLineIndent = AddSpinEdit(gbIndent, "seFirstLineIndent", 240, 20, 0, 100, 48);
  AddLabel(gbIndent, "缩进量(&F):", 160, 24, seFirstLineIndent);
  PlaceOption(rbPositive, gbIndent, "首行缩进(&I)", "rbPositive", 296, 12, 70, 68, 4);
  PlaceOption(rbNegative, gbIndent, "悬挂缩进(&H)", "rbNegative", 370, 12, 70, 68, 5);

  auto* gbSpacing = new QGroupBox(QStringLiteral(" 间距 "), form);
  Place(gbSpacing, "gbSpacing", 8, 188, 444, 84);
  seSpaceBefore = AddSpinEdit(gbSpacing, "seSpaceBefore", 64, 20, 0, 100, 44);
  AddLabel(gbSpacing, "段前(&B):", 8, 24, seSpaceBefore);
  seSpaceAfter = AddSpinEdit(gbSpacing, "seSpaceAfter", 64, 52, 0, 100, 44);
  AddLabel(gbSpacing, "段后(&A):", 8, 56, seSpaceAfter);
  cmbLineSpacing = new QComboBox(gbSpacing);
  Place(cmbLineSpacing, "cmbLineSpacing", 200, 20, 110, 22);
  cmbLineSpacing->addItems({QStringLiteral("单倍行距"), QStringLiteral("1.5倍行距"), QStringLiteral("双倍行距"),
                            QStringLiteral("多倍行距")});
  cmbLineSpacing->setCurrentIndex(-1);
  AddLabel(gbSpacing, "行距(&L):", 140, 24, cmbLineSpacing);
  seLineSpacingValue = AddSpinEdit(gbSpacing, "seLineSpacingValue", 364, 20, 1, 100, 60);
  seLineSpacingValue->Increment = 0.5;
  seLineSpacingValue->IntegerValue = false;
  AddLabel(gbSpacing, "值(&B):", 320, 24, seLineSpacingValue);

  auto* gbSample = new QGroupBox(QStringLiteral(" 样本 "), form);
  Place(gbSample, "gbSample", 8, 276, 444, 88);
  dv = std::make_unique<TDialogPreview>(gbSample, 428, 64);
  dv->View().SetBounds(8, 18, 428, 64);
  dv->View().Widget()->setObjectName(QStringLiteral("dv"));
  dv->View().SetTabStop(false);

  AddOkCancel(*this, 288, 370, btnOk, btnCancel);
  SetTabOrder({gbAlignment.Widget(), seLeftIndent, seRightIndent, seFirstLineIndent, rbPositive.Widget(),
               rbNegative.Widget(), seSpaceBefore, seSpaceAfter, cmbLineSpacing, seLineSpacingValue, btnOk,
               btnCancel});

  AddThemedControl(&dv->View());
  AddThemedControl([this](bool value) { gbAlignment.SetUseXPThemes(value); });
  for (TDVPictureRadioButton* button : {&rbPositive, &rbNegative})
    AddThemedControl([button](bool value) { button->SetUseXPThemes(value); });
  FormCreate();

  dv->AddTextStyle("Peripheral Text", frSample, 6, clGray);
  dv->AddTextStyle("Main Text", frSample, 6, clInfoText);
  dv->AddParaStyle("Peripheral");
  dv->AddParaStyle("Main").Background().Color = clInfoBk;
  const std::string_view sample = LoadResString(dvrsSampleLong);
  dv->AddText(sample, 0, 0);
  dv->AddText(sample, 1, 1);
  dv->AddText(sample, 0, 0);
  dv->Reformat();

  gbAlignment.OnClick = [this](TDVPictureRadioGroup&) { UpdateSample(); };
  gbAlignment.OnDblClickItem = [this](TDVPictureRadioGroup&, int) { Close(mrOk); };
  seLeftIndent->OnChange = [this](TDVSpinEdit&) { LeftIndentChange(); };
  seFirstLineIndent->OnChange = [this](TDVSpinEdit&) { FirstLineChange(); };
  for (TDVSpinEdit* edit : {seRightIndent, seSpaceBefore, seSpaceAfter})
    edit->OnChange = [this](TDVSpinEdit&) { UpdateSample(); };
  rbPositive.OnClick = [this](TDVPictureRadioButton&) { FirstLineClick(rbPositive, rbNegative); };
  rbNegative.OnClick = [this](TDVPictureRadioButton&) { FirstLineClick(rbNegative, rbPositive); };
  rbPositive.OnDblClick = rbNegative.OnDblClick = [this](TDVPictureRadioButton&) { Close(mrOk); };
  QObject::connect(cmbLineSpacing, &QComboBox::activated, form, [this] { LineSpacingClick(); });
  seLineSpacingValue->OnChange = [this](TDVSpinEdit&) { LineSpacingValueChange(); };
  OnDialogShown(form, [this] { UpdateSample(); });
}

TfrmDVPara::~TfrmDVPara() = default;

bool TfrmDVPara::Shown() const { return Dialog()->isVisible(); }

void TfrmDVPara::SetValues(const TParaDialogValues& values) {
  filled_ = values;
  gbAlignment.SetItemIndex(values.Alignment.Defined ? values.Alignment.Value : -1);
  filledAlignment_ = gbAlignment.ItemIndex();
  filledLeft_.Fill(*seLeftIndent, values.LeftIndent.Value, values.LeftIndent.Defined);
  filledRight_.Fill(*seRightIndent, values.RightIndent.Value, values.RightIndent.Defined);
  const TSignedMagnitude first = SplitSign(values.FirstIndent.Value);
  filledFirst_.Fill(*seFirstLineIndent, first.Magnitude, values.FirstIndent.Defined);
  rbPositive.SetChecked(values.FirstIndent.Defined && values.FirstIndent.Value > 0);
  rbNegative.SetChecked(values.FirstIndent.Defined && first.Negative);
  filledPositive_ = rbPositive.Checked();
  filledNegative_ = rbNegative.Checked();
  filledBefore_.Fill(*seSpaceBefore, values.SpaceBefore.Value, values.SpaceBefore.Defined);
  filledAfter_.Fill(*seSpaceAfter, values.SpaceAfter.Value, values.SpaceAfter.Defined);
  const int item = values.LineSpacing.Defined ? SpacingItem(values.LineSpacing.Value) : -1;
  cmbLineSpacing->setCurrentIndex(item);
  filledLineSpacing_ = item;
  filledLineValue_.Fill(*seLineSpacingValue, values.LineSpacing.Value / 100.0, item == kMultiple);
}

TParaDialogValues TfrmDVPara::GetValues() const {
  TParaDialogValues v;
  const int alignment = gbAlignment.ItemIndex();
  if (alignment == filledAlignment_) v.Alignment = filled_.Alignment;
  else if (alignment >= 0) v.Alignment = {static_cast<TDVAlignment>(alignment), true};
  v.LeftIndent = filledLeft_.ReadInt(*seLeftIndent);
  v.RightIndent = filledRight_.ReadInt(*seRightIndent);
  if (filledFirst_.Untouched(*seFirstLineIndent) && rbPositive.Checked() == filledPositive_ &&
      rbNegative.Checked() == filledNegative_) {
    v.FirstIndent = filled_.FirstIndent;
  } else {
    const TDefined<int> first = filledFirst_.ReadInt(*seFirstLineIndent);
    if (first.Defined) v.FirstIndent = {JoinSign(first.Value, rbNegative.Checked()), true};
  }
  v.SpaceBefore = filledBefore_.ReadInt(*seSpaceBefore);
  v.SpaceAfter = filledAfter_.ReadInt(*seSpaceAfter);
  const int item = cmbLineSpacing->currentIndex();
  if (item == filledLineSpacing_ && filledLineValue_.Untouched(*seLineSpacingValue)) {
    v.LineSpacing = filled_.LineSpacing;
  } else if (item >= 0 && item < kMultiple) {
    v.LineSpacing = {kListSpacings[item], true};
  } else if (item == kMultiple) {
    const TDefined<double> multiple = filledLineValue_.Read(*seLineSpacingValue);
    if (multiple.Defined) v.LineSpacing = {static_cast<int32_t>(std::lround(multiple.Value * 100)), true};
  }
  return v;
}

void TfrmDVPara::UpdateSample() {
  if (!Shown()) return;
  TParaInfo& para = dv->Style().ParaStyles()[1];
  const int alignment = gbAlignment.ItemIndex();
  para.Alignment = alignment < 0 ? dvaLeft : static_cast<TDVAlignment>(alignment);
  // Drawn at half scale.
  para.SpaceBefore = para.Background().BorderOffsets.Top = SampleValue(*seSpaceBefore) / 2;
  para.SpaceAfter = para.Background().BorderOffsets.Bottom = SampleValue(*seSpaceAfter) / 2;
  para.LeftIndent = SampleValue(*seLeftIndent) / 2;
  para.RightIndent = SampleValue(*seRightIndent) / 2;
  para.FirstIndent = JoinSign(SampleValue(*seFirstLineIndent), rbNegative.Checked()) / 2;
  const int item = cmbLineSpacing->currentIndex();
  if (item >= 0 && item < kMultiple) para.LineSpacing = kListSpacings[item];
  else if (item == kMultiple)
    para.LineSpacing = static_cast<int32_t>(std::lround(seLineSpacingValue->CheckValue(seLineSpacingValue->Value()) * 100));
  dv->Reformat();
}

void TfrmDVPara::RaiseLeftIndent() {
  const int first = SampleValue(*seFirstLineIndent);
  if (rbNegative.Checked() && SampleValue(*seLeftIndent) - first < seLeftIndent->MinValue)
    seLeftIndent->SetValue(seLeftIndent->MinValue + first);
}

void TfrmDVPara::FirstLineChange() {
  if (!Shown() || adjusting_) return;
  TScopedValue<bool> adjusting(adjusting_, true);
  if (seFirstLineIndent->Indeterminate() || SampleValue(*seFirstLineIndent) == 0) {
    rbPositive.SetChecked(false);
    rbNegative.SetChecked(false);
  } else if (!rbPositive.Checked() && !rbNegative.Checked()) {
    rbPositive.SetChecked(true);
  }
  RaiseLeftIndent();
  UpdateSample();
}

void TfrmDVPara::LeftIndentChange() {
  if (!Shown() || adjusting_) return;
  TScopedValue<bool> adjusting(adjusting_, true);
  const int left = SampleValue(*seLeftIndent);
  if (rbNegative.Checked() && left - SampleValue(*seFirstLineIndent) < seLeftIndent->MinValue)
    seFirstLineIndent->SetValue(left - seLeftIndent->MinValue);
  UpdateSample();
}

void TfrmDVPara::FirstLineClick(TDVPictureRadioButton& clicked, TDVPictureRadioButton& other) {
  if (!Shown()) return;
  other.SetChecked(false);
  {
    // The 0 put in the empty field is the click's own: it must not clear
    // the button just checked.
    TScopedValue<bool> adjusting(adjusting_, true);
    if (seFirstLineIndent->Indeterminate()) seFirstLineIndent->SetValue(0);
    if (&clicked == &rbNegative) RaiseLeftIndent();
  }
  UpdateSample();
}

void TfrmDVPara::LineSpacingClick() {
  if (!Shown()) return;
  if (cmbLineSpacing->currentIndex() != kMultiple) seLineSpacingValue->SetIndeterminate(true);
  else if (seLineSpacingValue->Indeterminate()) seLineSpacingValue->SetValue(3);
  UpdateSample();
}

void TfrmDVPara::LineSpacingValueChange() {
  if (!Shown()) return;
  if (!seLineSpacingValue->Indeterminate()) cmbLineSpacing->setCurrentIndex(kMultiple);
  UpdateSample();
}

}  // namespace quillet
