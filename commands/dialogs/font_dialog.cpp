#include "commands/dialogs/font_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>

#include "commands/controls/font_combos.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/font_signs.h"
#include "commands/dialogs/form_parts.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

TDefined<bool> ReadCheck(const QCheckBox& box) {
  if (box.checkState() == Qt::PartiallyChecked) return {};
  return {box.isChecked(), true};
}

void FillCheck(QCheckBox& box, const TDefined<bool>& value) {
  box.setCheckState(!value.Defined ? Qt::PartiallyChecked : value.Value ? Qt::Checked : Qt::Unchecked);
  box.setTristate(!value.Defined);
}

// The size the sample takes from the size text: 10 when it is no number,
// kept within 1..100.
int32_t SampleSize(const QString& text) {
  bool ok = false;
  const int size = text.toInt(&ok);
  return ok ? std::clamp(size, 1, 100) : 10;
}

}  // namespace

TfrmDVFont::TfrmDVFont(TFontProvider& fonts) {
  QDialog* form = Dialog();
  form->setObjectName(QStringLiteral("frmDVFont"));
  form->setWindowTitle(QStringLiteral("字体"));
  form->setFixedSize(483, 463);

  PageControl1 = new QTabWidget(form);
  Place(PageControl1, "PageControl1", {8, 8, 467, 414});
  ts1 = AddPage(PageControl1, "ts1", " 字体 ");
  TabSheet1 = AddPage(PageControl1, "TabSheet1", " 字符间距 ");

  cmbFont = new TDVFontComboBox(ts1, fonts);
  cmbFont->setEditable(true);
  cmbFont->setInsertPolicy(QComboBox::NoInsert);
  Place(cmbFont, "cmbFont", {8, 24, 200, 22});
  AddLabel(ts1, nullptr, "字体(&F):", cmbFont, {8, 6, 0, 0});
  cmbSize = new TDVFontSizeComboBox(ts1, fonts);
  Place(cmbSize, "cmbSize", {216, 24, 64, 22});
  // A typed "1" stays "1" rather than completing to "10".
  cmbSize->setCompleter(nullptr);
  AddLabel(ts1, nullptr, "大小(&S):", cmbSize, {216, 6, 0, 0});
  cmbCharset = new TDVFontCharsetComboBox(ts1, fonts);
  Place(cmbCharset, "cmbCharset", {288, 24, 160, 22});
  cmbCharset->setMaxVisibleItems(20);
  cmbCharset->DefaultCharsetCaption = "(Default)";
  cmbCharset->SetAddDefaultCharset(true);
  AddLabel(ts1, nullptr, "Sc&ript:", cmbCharset, {288, 6, 0, 0});

  auto* gbStyle = AddGroup(ts1, "gbStyle", " 字形 ", {8, 56, 140, 74});
  cbB = AddCheck(gbStyle, "cbB", "粗体(&B)", {10, 20, 130, 20});
  cbI = AddCheck(gbStyle, "cbI", "斜体(&I)", {10, 44, 130, 20});
  auto* gbEffects = AddGroup(ts1, "gbEffects", " 效果 ", {156, 56, 292, 74});
  cbU = AddCheck(gbEffects, "cbU", "下划线(&U)", {10, 20, 130, 20});
  cbS = AddCheck(gbEffects, "cbS", "删除线(&T)", {150, 20, 130, 20});
  cbO = AddCheck(gbEffects, "cbO", "上划线(&O)", {10, 44, 130, 20});
  cbAC = AddCheck(gbEffects, "cbAC", "全部大写(&A)", {150, 44, 130, 20});
  // Underline and strike-out have commands of their own.
  cbU->setEnabled(false);
  cbS->setEnabled(false);

  Place(cmbColor, ts1, "cmbColor", {64, 140, 120, 22});
  cmbColor.SetAutoColor(clWindowText);
  cmbColor.SetIndeterminate(true);
  AddLabel(ts1, nullptr, "颜色(&C):", cmbColor.Widget(), {8, 144, 0, 0});

  gbSample = AddGroup(ts1, "gbSample", " 样本 ", {8, 176, 440, 200});
  dv = std::make_unique<TDialogPreview>(gbSample, 424, 170);
  dv->View().SetBounds(8, 20, 424, 170);
  dv->View().Widget()->setObjectName(QStringLiteral("dv"));
  dv->View().LeftMargin = dv->View().RightMargin = dv->View().TopMargin = dv->View().BottomMargin = 0;
  dv->View().SetVScrollVisible(false);
  dv->View().SetHScrollVisible(false);
  dv->View().SetBorderStyle(bsSingle);
  dv->View().SetTabStop(false);

  seSpacing = AddSpin(TabSheet1, "seSpacing", 0, 100, {80, 12, 56, 22});
  AddLabel(TabSheet1, nullptr, "间距(&S):", seSpacing, {8, 16, 0, 0});
  PlaceOption(rbExp, TabSheet1, "加宽(&E)", "rbExp", {150, 8, 72, 72}, 0);
  PlaceOption(rbCond, TabSheet1, "紧缩(&C)", "rbCond", {228, 8, 72, 72}, 1);
  seShift = AddSpin(TabSheet1, "seShift", 0, 500, {80, 96, 56, 22});
  AddLabel(TabSheet1, nullptr, "偏移(&O):", seShift, {8, 100, 0, 0});
  AddLabel(TabSheet1, nullptr, "%", nullptr, {140, 100, 0, 0});
  PlaceOption(rbDown, TabSheet1, "向下(&D)", "rbDown", {150, 88, 72, 72}, 2);
  PlaceOption(rbUp, TabSheet1, "向上(&U)", "rbUp", {228, 88, 72, 72}, 3);
  auto* gbScale = AddGroup(TabSheet1, "gbScale", " 水平缩放 ", {310, 8, 140, 64});
  seCharScale = AddSpin(gbScale, "seCharScale", 20, 500, {64, 24, 56, 22});
  AddLabel(gbScale, nullptr, "缩放(&A):", seCharScale, {8, 28, 0, 0});
  AddLabel(gbScale, nullptr, "%", nullptr, {124, 28, 0, 0});

  AddOkCancel(*this, 316, 430, btnOk, btnCancel);
  filledSpacing_ = std::make_unique<TFilledSpin>(seSpacing);
  filledShift_ = std::make_unique<TFilledSpin>(seShift);
  filledScale_ = std::make_unique<TFilledSpin>(seCharScale);
  SetTabOrder({cmbFont, cmbSize, cmbCharset, cbB, cbI, cbU, cbS, cbO, cbAC, cmbColor.Widget(), seSpacing,
               rbExp.Widget(), rbCond.Widget(), seShift, rbDown.Widget(), rbUp.Widget(), seCharScale, btnOk,
               btnCancel});

  AddThemedControl(&dv->View());
  AddThemedControl([this](bool value) { cmbColor.SetUseXPThemes(value); });
  for (TDVPictureRadioButton* button : {&rbExp, &rbCond, &rbDown, &rbUp})
    AddThemedControl([button](bool value) { button->SetUseXPThemes(value); });
  FormCreate();

  dv->AddTextStyle("Main Text", frSample, 6, clWindowText).BackColor = clInfoBk;
  dv->AddTextStyle("Peripheral Text", frSans, 10, clBtnShadow);
  TParaInfo& para = dv->AddParaStyle("Main");
  para.Alignment = dvaCenter;
  para.Options = dvpaoNoWrap;
  dv->AddCellTable(0, 2);
  dv->DrawBaselines();
  ShowSampleText();

  QObject::connect(cmbFont, &QComboBox::currentIndexChanged, form, [this] {
    if (!Shown()) return;
    const std::string name = cmbFont->currentText().toStdString();
    cmbSize->SetFontName(name);
    cmbCharset->SetFontName(name);
    UpdatePreview();
  });
  cmbSize->OnChange = [this](TDVFontSizeComboBox&) { UpdatePreview(); };
  cmbCharset->OnChange = [this](TDVFontCharsetComboBox&) { UpdatePreview(); };
  for (QCheckBox* box : {cbB, cbI, cbU, cbS, cbO, cbAC}) {
    // Grey only as filled: the user's clicks set or clear.
    QObject::connect(box, &QCheckBox::clicked, form, [box] { box->setTristate(false); });
    QObject::connect(box, &QCheckBox::stateChanged, form, [this] { UpdatePreview(); });
  }
  cmbColor.OnColorChange = [this](TDVColorCombo&) { UpdatePreview(); };
  filledScale_->OnUserChange = [this] { UpdatePreview(); };
  filledSpacing_->OnUserChange = [this] { SpacingChange(); };
  filledShift_->OnUserChange = [this] { ShiftChange(); };
  rbExp.OnClick = [this](TDVPictureRadioButton&) { SpacingDirectionClick(rbExp, rbCond); };
  rbCond.OnClick = [this](TDVPictureRadioButton&) { SpacingDirectionClick(rbCond, rbExp); };
  rbDown.OnClick = [this](TDVPictureRadioButton&) { ShiftDirectionClick(rbDown, rbUp); };
  rbUp.OnClick = [this](TDVPictureRadioButton&) { ShiftDirectionClick(rbUp, rbDown); };
  // The sample is seen from both pages.
  QObject::connect(PageControl1, &QTabWidget::currentChanged, form, [this] {
    gbSample->setParent(PageControl1->currentWidget());
    gbSample->move(8, 176);
    gbSample->show();
  });
  OnShow = [this] { FormActivate(); };
}

TfrmDVFont::~TfrmDVFont() = default;

bool TfrmDVFont::Shown() const { return Dialog()->isVisible(); }

void TfrmDVFont::ShowSampleText() {
  std::string text = sampleText_;
  if (text.empty()) text = cmbFont->currentText().toStdString();
  if (text.empty()) text = "Sample text";
  dv->ClearText();
  dv->AddText(">>>   ", 1, 0);
  dv->AddText(text, 0, -1);
  dv->AddText("   <<<", 1, -1);
  dv->Reformat();
}

void TfrmDVFont::FormActivate() {
  cmbFont->setFocus();
  const int size = cmbSize->findText(cmbSize->currentText());
  if (size >= 0) cmbSize->setCurrentIndex(size);
  cmbColor.SetColorDialog(colorDialog_.get());
  ShowSampleText();
  SpacingChange();
  ShiftChange();
}

void TfrmDVFont::SetValues(const TFontDialogValues& values) {
  filled_ = values;
  const QString name = values.FontName.Defined ? QString::fromStdString(values.FontName.Value) : QString();
  cmbFont->setCurrentIndex(cmbFont->findText(name));
  cmbFont->setEditText(name);
  filledFont_ = cmbFont->currentText();
  cmbSize->SetFontName(name.toStdString());
  cmbSize->setEditText(values.Size.Defined ? QString::number(values.Size.Value) : QString());
  filledSize_ = cmbSize->currentText();
  cmbCharset->SetFontName(name.toStdString());
  cmbCharset->setCurrentIndex(values.Charset.Defined ? cmbCharset->IndexOfCharset(values.Charset.Value) : -1);
  filledCharsetIndex_ = cmbCharset->currentIndex();

  FillCheck(*cbB, values.Bold);
  FillCheck(*cbI, values.Italic);
  FillCheck(*cbU, values.Underline);
  FillCheck(*cbS, values.StrikeOut);
  FillCheck(*cbO, values.Overline);
  FillCheck(*cbAC, values.AllCaps);
  if (values.Color.Defined) cmbColor.SetChosenColor(values.Color.Value);
  else cmbColor.SetIndeterminate(true);

  const TSignedMagnitude spacing = SplitSign(values.CharSpacing.Value);
  filledSpacing_->Fill(spacing.Magnitude, values.CharSpacing.Defined);
  rbExp.SetChecked(values.CharSpacing.Defined && !spacing.Negative);
  rbCond.SetChecked(values.CharSpacing.Defined && spacing.Negative);
  seSpacing->MaxValue = rbCond.Checked() ? 20 : 100;
  const TSignedMagnitude shift = SplitSign(values.VShift.Value);
  filledShift_->Fill(shift.Magnitude, values.VShift.Defined);
  rbDown.SetChecked(values.VShift.Defined && shift.Negative);
  rbUp.SetChecked(values.VShift.Defined && !shift.Negative);
  filledScale_->Fill(values.CharScale.Value, values.CharScale.Defined);
  filledExp_ = rbExp.Checked();
  filledCond_ = rbCond.Checked();
  filledDown_ = rbDown.Checked();
  filledUp_ = rbUp.Checked();
}

TFontDialogValues TfrmDVFont::GetValues() const {
  TFontDialogValues v;
  const QString name = cmbFont->currentText();
  const bool fontUntouched = name == filledFont_;
  v.FontName = fontUntouched ? filled_.FontName : TDefined<std::string>{name.toStdString(), !name.isEmpty()};
  const QString size = cmbSize->currentText();
  if (size == filledSize_) v.Size = filled_.Size;
  else if (!size.isEmpty()) v.Size = {SampleSize(size), true};
  const int charset = cmbCharset->currentIndex();
  if (fontUntouched && charset == filledCharsetIndex_) v.Charset = filled_.Charset;
  else if (charset >= 0) v.Charset = {cmbCharset->GetCharsets(charset), true};
  v.Bold = ReadCheck(*cbB);
  v.Italic = ReadCheck(*cbI);
  v.Underline = ReadCheck(*cbU);
  v.StrikeOut = ReadCheck(*cbS);
  v.Overline = ReadCheck(*cbO);
  v.AllCaps = ReadCheck(*cbAC);
  if (!cmbColor.Indeterminate()) v.Color = {cmbColor.ChosenColor(), true};

  if (!filledSpacing_->Touched() && rbExp.Checked() == filledExp_ && rbCond.Checked() == filledCond_) {
    v.CharSpacing = filled_.CharSpacing;
  } else {
    const TDefined<int> spacing = filledSpacing_->ReadInt();
    if (spacing.Defined) v.CharSpacing = {JoinSign(spacing.Value, rbCond.Checked()), true};
  }
  if (!filledShift_->Touched() && rbDown.Checked() == filledDown_ && rbUp.Checked() == filledUp_) {
    v.VShift = filled_.VShift;
  } else {
    const TDefined<int> shift = filledShift_->ReadInt();
    if (shift.Defined) v.VShift = {JoinSign(shift.Value, rbDown.Checked()), true};
  }
  v.CharScale = filledScale_->ReadInt();
  return v;
}

void TfrmDVFont::UpdatePreview() {
  if (!Shown() || updating_) return;
  TScopedValue<bool> updating(updating_, true);
  const QString sizeText = cmbSize->currentText();
  if (!sizeText.isEmpty() && sizeText != filledSize_) {
    const int32_t limited = SampleSize(sizeText);
    bool ok = false;
    const int typed = sizeText.toInt(&ok);
    if (ok && typed != limited) cmbSize->setEditText(QString::number(limited));
  }
  TFontInfo& style = dv->Style().TextStyles()[0];
  const QString name = cmbFont->currentText();
  style.FontName = name.isEmpty() ? std::string(FontFamily(frSans)) : name.toStdString();
  style.Size = SampleSize(cmbSize->currentText());
  const int charset = cmbCharset->currentIndex();
  style.Charset = static_cast<uint8_t>(charset >= 0 ? cmbCharset->GetCharsets(charset) : DEFAULT_CHARSET);
  style.Style = (cbB->checkState() == Qt::Checked ? fsBold : 0) | (cbI->checkState() == Qt::Checked ? fsItalic : 0) |
                (cbU->checkState() == Qt::Checked ? fsUnderline : 0) |
                (cbS->checkState() == Qt::Checked ? fsStrikeOut : 0);
  style.StyleEx = (cbO->checkState() == Qt::Checked ? dvfsOverline : 0) |
                  (cbAC->checkState() == Qt::Checked ? dvfsAllCaps : 0);
  style.VShift = JoinSign(SampleValue(*seShift), rbDown.Checked());
  style.Color = cmbColor.Indeterminate() ? clWindowText : cmbColor.ChosenColor();
  style.CharSpacing = JoinSign(SampleValue(*seSpacing), rbCond.Checked());
  style.CharScale = seCharScale->Indeterminate() ? 100 : SampleValue(*seCharScale);
  dv->Reformat();
}

void TfrmDVFont::LimitSpacing() {
  seSpacing->MaxValue = rbExp.Checked() ? 100 : 20;
  if (!seSpacing->Indeterminate()) seSpacing->SetValue(seSpacing->Value());
}

void TfrmDVFont::SpacingDirectionClick(TDVPictureRadioButton& clicked, TDVPictureRadioButton& other) {
  if (!Shown()) return;
  other.SetChecked(false);
  if (seSpacing->Indeterminate() && clicked.Checked()) seSpacing->SetValue(1);
  LimitSpacing();
  UpdatePreview();
}

void TfrmDVFont::SpacingChange() {
  if (!Shown()) return;
  if (seSpacing->Indeterminate()) {
    rbExp.SetChecked(false);
    rbCond.SetChecked(false);
  } else if (!rbExp.Checked() && !rbCond.Checked()) {
    rbExp.SetChecked(true);
    LimitSpacing();
  }
  UpdatePreview();
}

void TfrmDVFont::ShiftDirectionClick(TDVPictureRadioButton& clicked, TDVPictureRadioButton& other) {
  if (!Shown()) return;
  other.SetChecked(false);
  if (seShift->Indeterminate() && clicked.Checked()) seShift->SetValue(1);
  UpdatePreview();
}

void TfrmDVFont::ShiftChange() {
  if (!Shown()) return;
  if (seShift->Indeterminate()) {
    rbDown.SetChecked(false);
    rbUp.SetChecked(false);
  } else if (!rbDown.Checked() && !rbUp.Checked()) {
    rbDown.SetChecked(true);
  }
  UpdatePreview();
}

}  // namespace quillet
