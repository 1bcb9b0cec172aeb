#include "commands/dialogs/para_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <cmath>

#include "commands/controls/spin_edit.h"
#include "commands/dialogs/font_signs.h"
#include "commands/dialogs/form_parts.h"
#include "commands/resource_strings.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "platform/core/scoped_value.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/image_list.h"

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

// The pictures of the alignment choices (0-3) and of the first-line choices
// (4 positive, 5 hanging): lines of text as each lays them out.
TCustomImageList& ParagraphPictures() {
  constexpr int kSide = 24, kLines = 5, kPictures = 6;
  static TCustomImageList pictures(kSide, kSide);
  if (pictures.Count() > 0) return pictures;
  constexpr int32_t kWidths[kLines] = {20, 14, 18, 12, 16};
  TBitmap strip(kSide * kPictures, kSide);  // white, the transparent colour
  TCanvas& canvas = strip.Canvas();
  canvas.Brush() = TBrush{0x404040, bsSolid};
  const auto line = [&](int picture, int row, int32_t from, int32_t to) {
    const int32_t top = 3 + row * 4;
    canvas.FillRect(Rect(picture * kSide + from, top, picture * kSide + to, top + 2));
  };
  for (int row = 0; row < kLines; ++row) {
    const int32_t width = kWidths[row];
    line(0, row, 2, 2 + width);
    line(1, row, kSide - 2 - width, kSide - 2);
    line(2, row, (kSide - width) / 2, (kSide - width) / 2 + width);
    line(3, row, 2, row == kLines - 1 ? 2 + width : kSide - 2);
    line(4, row, row == 0 ? 8 : 2, kSide - 2);
    line(5, row, row == 0 ? 2 : 8, kSide - 2);
  }
  pictures.Add(strip, clWhite);
  return pictures;
}

}  // namespace

TfrmDVPara::TfrmDVPara() {
  QDialog* form = Dialog();
  form->setObjectName(QStringLiteral("frmDVPara"));
  form->setWindowTitle(QStringLiteral("段落"));
  form->setFixedSize(460, 401);

  Place(gbAlignment, form, "gbAlignment", {8, 4, 444, 92});
  gbAlignment.SetCaption(" 对齐方式 ");
  gbAlignment.SetColumns(4);
  gbAlignment.SetMargin(2);
  gbAlignment.Square = true;
  gbAlignment.Images = &ParagraphPictures();
  AddPictureItems(gbAlignment, {"居左(&L)", "居右(&R)", "局中(&C)", "两边对齐(&J)"});

  auto* gbIndent = AddGroup(form, "gbIndent", " 缩进 ", {8, 100, 444, 84});
  seLeftIndent = AddSpin(gbIndent, "seLeftIndent", 0, 1000, {88, 20, 56, 22});
  AddLabel(gbIndent, nullptr, "左缩进(&E):", seLeftIndent, {8, 24, 0, 0});
  seRightIndent = AddSpin(gbIndent, "seRightIndent", 0, 1000, {88, 52, 56, 22});
  AddLabel(gbIndent, nullptr, "右缩进(&G):", seRightIndent, {8, 56, 0, 0});
  seFirstLineIndent = AddSpin(gbIndent, "seFirstLineIndent", 0, 100, {240, 20, 48, 22});
  AddLabel(gbIndent, nullptr, "缩进量(&F):", seFirstLineIndent, {160, 24, 0, 0});
  PlaceOption(rbPositive, gbIndent, "首行缩进(&I)", "rbPositive", {296, 12, 70, 68}, 4);
  PlaceOption(rbNegative, gbIndent, "悬挂缩进(&H)", "rbNegative", {370, 12, 70, 68}, 5);
  rbPositive.Images = rbNegative.Images = &ParagraphPictures();

  auto* gbSpacing = AddGroup(form, "gbSpacing", " 间距 ", {8, 188, 444, 84});
  seSpaceBefore = AddSpin(gbSpacing, "seSpaceBefore", 0, 100, {64, 20, 44, 22});
  AddLabel(gbSpacing, nullptr, "段前(&B):", seSpaceBefore, {8, 24, 0, 0});
  seSpaceAfter = AddSpin(gbSpacing, "seSpaceAfter", 0, 100, {64, 52, 44, 22});
  AddLabel(gbSpacing, nullptr, "段后(&A):", seSpaceAfter, {8, 56, 0, 0});
  cmbLineSpacing =
      AddCombo(gbSpacing, "cmbLineSpacing", {"单倍行距", "1.5倍行距", "双倍行距", "多倍行距"}, {200, 20, 110, 22});
  AddLabel(gbSpacing, nullptr, "行距(&L):", cmbLineSpacing, {140, 24, 0, 0});
  seLineSpacingValue = AddSpin(gbSpacing, "seLineSpacingValue", 1, 100, {364, 20, 60, 22});
  seLineSpacingValue->Increment = 0.5;
  seLineSpacingValue->IntegerValue = false;
  AddLabel(gbSpacing, nullptr, "值(&B):", seLineSpacingValue, {320, 24, 0, 0});

  auto* gbSample = AddGroup(form, "gbSample", " 样本 ", {8, 276, 444, 88});
  dv = std::make_unique<TDialogPreview>(gbSample, 428, 64);
  dv->View().SetBounds(8, 18, 428, 64);
  dv->View().Widget()->setObjectName(QStringLiteral("dv"));
  dv->View().SetTabStop(false);

  AddOkCancel(*this, 288, 370, btnOk, btnCancel);
  filledLeft_ = std::make_unique<TFilledSpin>(seLeftIndent);
  filledRight_ = std::make_unique<TFilledSpin>(seRightIndent);
  filledFirst_ = std::make_unique<TFilledSpin>(seFirstLineIndent);
  filledBefore_ = std::make_unique<TFilledSpin>(seSpaceBefore);
  filledAfter_ = std::make_unique<TFilledSpin>(seSpaceAfter);
  filledLineValue_ = std::make_unique<TFilledSpin>(seLineSpacingValue);
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
  filledLeft_->OnUserChange = [this] { LeftIndentChange(); };
  filledFirst_->OnUserChange = [this] { FirstLineChange(); };
  for (TFilledSpin* field : {filledRight_.get(), filledBefore_.get(), filledAfter_.get()})
    field->OnUserChange = [this] { UpdateSample(); };
  rbPositive.OnClick = [this](TDVPictureRadioButton&) { FirstLineClick(rbPositive, rbNegative); };
  rbNegative.OnClick = [this](TDVPictureRadioButton&) { FirstLineClick(rbNegative, rbPositive); };
  rbPositive.OnDblClick = rbNegative.OnDblClick = [this](TDVPictureRadioButton&) { Close(mrOk); };
  QObject::connect(cmbLineSpacing, &QComboBox::activated, form, [this] { LineSpacingClick(); });
  filledLineValue_->OnUserChange = [this] { LineSpacingValueChange(); };
  OnShow = [this] { UpdateSample(); };
}

TfrmDVPara::~TfrmDVPara() = default;

bool TfrmDVPara::Shown() const { return Dialog()->isVisible(); }

void TfrmDVPara::SetValues(const TParaDialogValues& values) {
  filled_ = values;
  gbAlignment.SetItemIndex(values.Alignment.Defined ? values.Alignment.Value : -1);
  filledAlignment_ = gbAlignment.ItemIndex();
  filledLeft_->Fill(values.LeftIndent.Value, values.LeftIndent.Defined);
  filledRight_->Fill(values.RightIndent.Value, values.RightIndent.Defined);
  const TSignedMagnitude first = SplitSign(values.FirstIndent.Value);
  filledFirst_->Fill(first.Magnitude, values.FirstIndent.Defined);
  rbPositive.SetChecked(values.FirstIndent.Defined && values.FirstIndent.Value > 0);
  rbNegative.SetChecked(values.FirstIndent.Defined && first.Negative);
  filledPositive_ = rbPositive.Checked();
  filledNegative_ = rbNegative.Checked();
  filledBefore_->Fill(values.SpaceBefore.Value, values.SpaceBefore.Defined);
  filledAfter_->Fill(values.SpaceAfter.Value, values.SpaceAfter.Defined);
  const int item = values.LineSpacing.Defined ? SpacingItem(values.LineSpacing.Value) : -1;
  cmbLineSpacing->setCurrentIndex(item);
  filledLineSpacing_ = item;
  filledLineValue_->Fill(values.LineSpacing.Value / 100.0, item == kMultiple);
}

TParaDialogValues TfrmDVPara::GetValues() const {
  TParaDialogValues v;
  const int alignment = gbAlignment.ItemIndex();
  if (alignment == filledAlignment_) v.Alignment = filled_.Alignment;
  else if (alignment >= 0) v.Alignment = {static_cast<TDVAlignment>(alignment), true};
  v.LeftIndent = filledLeft_->ReadInt();
  v.RightIndent = filledRight_->ReadInt();
  if (!filledFirst_->Touched() && rbPositive.Checked() == filledPositive_ &&
      rbNegative.Checked() == filledNegative_) {
    v.FirstIndent = filled_.FirstIndent;
  } else {
    const TDefined<int> first = filledFirst_->ReadInt();
    if (first.Defined) v.FirstIndent = {JoinSign(first.Value, rbNegative.Checked()), true};
  }
  v.SpaceBefore = filledBefore_->ReadInt();
  v.SpaceAfter = filledAfter_->ReadInt();
  const int item = cmbLineSpacing->currentIndex();
  if (item == filledLineSpacing_ && !filledLineValue_->Touched()) {
    v.LineSpacing = filled_.LineSpacing;
  } else if (item >= 0 && item < kMultiple) {
    v.LineSpacing = {kListSpacings[item], true};
  } else if (item == kMultiple) {
    const TDefined<double> multiple = filledLineValue_->Read();
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
