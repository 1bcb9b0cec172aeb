#include "commands/dialogs/font_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>

#include "commands/controls/font_combos.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/dialog_events.h"
#include "commands/dialogs/font_signs.h"
#include "commands/dialogs/form_layout.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "platform/core/scoped_value.h"

namespace quillet {

namespace {

QCheckBox* CheckBox(QWidget* parent, const char* caption, const char* name, int left, int top) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
  Place(box, name, left, top, 130, 20);
  return box;
}

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
  Place(PageControl1, "PageControl1", 8, 8, 467, 414);
  ts1 = new QWidget;
  ts1->setObjectName(QStringLiteral("ts1"));
  PageControl1->addTab(ts1, QStringLiteral(" 字体 "));
  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  PageControl1->addTab(TabSheet1, QStringLiteral(" 字符间距 "));

  cmbFont = new TDVFontComboBox(ts1, fonts);
  cmbFont->setEditable(true);
  cmbFont->setInsertPolicy(QComboBox::NoInsert);
  Place(cmbFont, "cmbFont", 8, 24, 200, 22);
  AddLabel(ts1, "字体(&F):", 8, 6, cmbFont);
  cmbSize = new TDVFontSizeComboBox(ts1, fonts);
  Place(cmbSize, "cmbSize", 216, 24, 64, 22);
  // A typed "1" stays "1" rather than completing to "10".
  cmbSize->setCompleter(nullptr);
  AddLabel(ts1, "大小(&S):", 216, 6, cmbSize);
  cmbCharset = new TDVFontCharsetComboBox(ts1, fonts);
  Place(cmbCharset, "cmbCharset", 288, 24, 160, 22);
  cmbCharset->setMaxVisibleItems(20);
  cmbCharset->DefaultCharsetCaption = "(Default)";
  cmbCharset->SetAddDefaultCharset(true);
  AddLabel(ts1, "Sc&ript:", 288, 6, cmbCharset);

  auto* gbStyle = new QGroupBox(QStringLiteral(" 字形 "), ts1);
  Place(gbStyle, "gbStyle", 8, 56, 140, 74);
  cbB = CheckBox(gbStyle, "粗体(&B)", "cbB", 10, 20);
  cbI = CheckBox(gbStyle, "斜体(&I)", "cbI", 10, 44);
  auto* gbEffects = new QGroupBox(QStringLiteral(" 效果 "), ts1);
  Place(gbEffects, "gbEffects", 156, 56, 292, 74);
  cbU = CheckBox(gbEffects, "下划线(&U)", "cbU", 10, 20);
  cbS = CheckBox(gbEffects, "删除线(&T)", "cbS", 150, 20);
  cbO = CheckBox(gbEffects, "上划线(&O)", "cbO", 10, 44);
  cbAC = CheckBox(gbEffects, "全部大写(&A)", "cbAC", 150, 44);
  // Underline and strike-out have commands of their own.
  cbU->setEnabled(false);
  cbS->setEnabled(false);

  Place(cmbColor, ts1, "cmbColor", 64, 140, 120, 22);
  cmbColor.SetAutoColor(clWindowText);
  cmbColor.SetIndeterminate(true);
  AddLabel(ts1, "颜色(&C):", 8, 144, cmbColor.Widget());

  gbSample = new QGroupBox(QStringLiteral(" 样本 "), ts1);
  Place(gbSample, "gbSample", 8, 176, 440, 200);
  dv = std::make_unique<TDialogPreview>(gbSample, 424, 170);
  dv->View().SetBounds(8, 20, 424, 170);
  dv->View().Widget()->setObjectName(QStringLiteral("dv"));
  dv->View().LeftMargin = dv->View().RightMargin = dv->View().TopMargin = dv->View().BottomMargin = 0;
  dv->View().SetVScrollVisible(false);
  dv->View().SetHScrollVisible(false);
  dv->View().SetBorderStyle(bsSingle);
  dv->View().SetTabStop(false);

  seSpacing = AddSpinEdit(TabSheet1, "seSpacing", 80, 12, 0, 100);
  AddLabel(TabSheet1, "间距(&S):", 8, 16, seSpacing);
  PlaceOption(rbExp, TabSheet1, "加宽(&E)", "rbExp", 150, 8, 72, 72, 0);
  PlaceOption(rbCond, TabSheet1, "紧缩(&C)", "rbCond", 228, 8, 72, 72, 1);
  seShift = AddSpinEdit(TabSheet1, "seShift", 80, 96, 0, 500);
  AddLabel(TabSheet1, "偏移(&O):", 8, 100, seShift);
  AddLabel(TabSheet1, "%", 140, 100);
  PlaceOption(rbDown, TabSheet1, "向下(&D)", "rbDown", 150, 88, 72, 72, 2);
  PlaceOption(rbUp, TabSheet1, "向上(&U)", "rbUp", 228, 88, 72, 72, 3);
  auto* gbScale = new QGroupBox(QStringLiteral(" 水平缩放 "), TabSheet1);
  Place(gbScale, "gbScale", 310, 8, 140, 64);
  seCharScale = AddSpinEdit(gbScale, "seCharScale", 64, 24, 20, 500);
  AddLabel(gbScale, "缩放(&A):", 8, 28, seCharScale);
  AddLabel(gbScale, "%", 124, 28);

  AddOkCancel(*this, 316, 430, btnOk, btnCancel);
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
  seCharScale->OnChange = [this](TDVSpinEdit&) { UpdatePreview(); };
  seSpacing->OnChange = [this](TDVSpinEdit&) { SpacingChange(); };
  seShift->OnChange = [this](TDVSpinEdit&) { ShiftChange(); };
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
  OnDialogShown(form, [this] { FormActivate(); });
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
  filledSpacing_.Fill(*seSpacing, spacing.Magnitude, values.CharSpacing.Defined);
  rbExp.SetChecked(values.CharSpacing.Defined && !spacing.Negative);
  rbCond.SetChecked(values.CharSpacing.Defined && spacing.Negative);
  seSpacing->MaxValue = rbCond.Checked() ? 20 : 100;
  const TSignedMagnitude shift = SplitSign(values.VShift.Value);
  filledShift_.Fill(*seShift, shift.Magnitude, values.VShift.Defined);
  rbDown.SetChecked(values.VShift.Defined && shift.Negative);
  rbUp.SetChecked(values.VShift.Defined && !shift.Negative);
  filledScale_.Fill(*seCharScale, values.CharScale.Value, values.CharScale.Defined);
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

  if (filledSpacing_.Untouched(*seSpacing) && rbExp.Checked() == filledExp_ && rbCond.Checked() == filledCond_) {
    v.CharSpacing = filled_.CharSpacing;
  } else {
    const TDefined<int> spacing = filledSpacing_.ReadInt(*seSpacing);
    if (spacing.Defined) v.CharSpacing = {JoinSign(spacing.Value, rbCond.Checked()), true};
  }
  if (filledShift_.Untouched(*seShift) && rbDown.Checked() == filledDown_ && rbUp.Checked() == filledUp_) {
    v.VShift = filled_.VShift;
  } else {
    const TDefined<int> shift = filledShift_.ReadInt(*seShift);
    if (shift.Defined) v.VShift = {JoinSign(shift.Value, rbDown.Checked()), true};
  }
  v.CharScale = filledScale_.ReadInt(*seCharScale);
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
