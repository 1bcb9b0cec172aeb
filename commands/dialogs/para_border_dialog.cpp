#include "commands/dialogs/para_border_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "commands/actions/width_painters.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/form_parts.h"
#include "commands/resource_strings.h"
#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"

namespace quillet {

namespace {

QToolButton* SideButton(QWidget* parent, const char* name, const char* hint, int left, int top) {
  auto* button = new QToolButton(parent);
  Place(button, name, {left, top, 24, 24});
  button->setToolTip(QString::fromUtf8(hint));
  button->setCheckable(true);
  button->setAutoRaise(true);  // flat
  return button;
}

}  // namespace

TfrmDVBorderSides::TfrmDVBorderSides() {
  QDialog* form = Dialog();
  PageControl1 = new QTabWidget(form);
  Place(PageControl1, "PageControl1", {8, 8, 480, 350});
  TabSheet1 = AddPage(PageControl1, "TabSheet1", "边框");
  TabSheet2 = AddPage(PageControl1, "TabSheet2", "");

  gbSample = AddGroup(TabSheet1, "gbSample", "  样本", {8, 8, 256, 220});
  dv = std::make_unique<TDialogPreview>(gbSample, 200, 160);
  dv->View().SetBounds(40, 20, 200, 160);
  dv->View().Widget()->setObjectName(QStringLiteral("dv"));
  dv->View().SetVScrollVisible(false);
  dv->View().SetHScrollVisible(false);
  dv->View().SetTabStop(false);
  btnLeft = SideButton(gbSample, "btnLeft", "左边框(Ctrl+L)", 8, 88);
  btnRight = SideButton(gbSample, "btnRight", "右边框(Ctrl+R)", 8, 116);
  btnTop = SideButton(gbSample, "btnTop", "上边框(Ctrl+T)", 100, 188);
  btnBottom = SideButton(gbSample, "btnBottom", "下边框(Ctrl+B)", 128, 188);

  gbSettings = AddGroup(TabSheet1, "gbSettings", " 设置 ", {272, 8, 192, 110});
  Place(cmbColor, gbSettings, "cmbColor", {80, 24, 100, 22});
  cmbColor.SetAutoColor(clWindowText);
  cmbColor.SetIndeterminate(true);
  AddLabel(gbSettings, nullptr, "颜色(&C):", cmbColor.Widget(), {8, 28, 0, 0});
  cmbWidth = AddCombo(gbSettings, "cmbWidth", {"1", "2", "3", "4", "5", "6"}, {80, 56, 100, 22});
  widthDelegate_ = new TDVWidthItemDelegate(cmbWidth, clWindowText);
  cmbWidth->setItemDelegate(widthDelegate_);
  AddLabel(gbSettings, nullptr, "宽度(&W):", cmbWidth, {8, 60, 0, 0});

  AddOkCancel(*this, 328, 366, btnOk, btnCancel);

  cmbColor.OnColorChange = [this](TDVColorCombo&) { ColorChange(); };
  const struct {
    QToolButton* button;
    const char* key;
  } sides[] = {{btnLeft, "Ctrl+L"}, {btnRight, "Ctrl+R"}, {btnTop, "Ctrl+T"}, {btnBottom, "Ctrl+B"}};
  for (const auto& side : sides) {
    QToolButton* button = side.button;
    QObject::connect(button, &QToolButton::clicked, form, [this, button] { SideClick(button); });
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(side.key)), form);
    QObject::connect(shortcut, &QShortcut::activated, form, [button] { button->click(); });
  }
}

TfrmDVBorderSides::~TfrmDVBorderSides() = default;

void TfrmDVBorderSides::SideClick(QToolButton* button) {
  // Its state stays visible.
  button->setAutoRaise(false);
}

void TfrmDVBorderSides::ColorChange() {
  widthDelegate_->SetColors(cmbColor.Indeterminate() ? cmbColor.AutoColor() : cmbColor.ChosenColor());
  cmbWidth->view()->viewport()->update();
  cmbWidth->update();
}

TfrmDVParaBrdr::TfrmDVParaBrdr() {
  QDialog* form = Dialog();
  form->setObjectName(QStringLiteral("frmDVParaBrdr"));
  form->setWindowTitle(QStringLiteral("段落边框和背景"));
  form->setFixedSize(496, 399);
  PageControl1->setTabText(1, QStringLiteral(" 颜色 "));

  seIW = AddSpin(gbSettings, "seIW", 1, 10, {120, 84, 60, 22});
  AddLabel(gbSettings, nullptr, "Int&ernal Width:", seIW, {8, 88, 0, 0});
  btnOffsets = AddButton(TabSheet1, "btnOffsets", "位移(&F)...", {272, 126, 100, 25});
  Place(gbBorderType, TabSheet1, "gbBorderType", {8, 232, 456, 84});
  gbBorderType.SetCaption(" 边框类型 ");
  gbBorderType.SetColumns(6);
  gbBorderType.SetMargin(5);
  gbBorderType.Square = true;
  AddPictureItems(gbBorderType, {"无(&N)", "单(&S)", "双(&D)", "三(&T)", "Thick &Inside", "Thick &Outside"});

  auto* gbFill = AddGroup(TabSheet2, "gbFill", " 填充色 ", {272, 8, 192, 200});
  SetUpBackColorGrid(dvcg, gbFill);
  lblBackColor = AddLabel(gbFill, "lblBackColor", "", nullptr, {8, 130, 176, 18});
  btnColor = AddButton(gbFill, "btnColor", "更多颜色(&M)...", {8, 152, 120, 25});
  btnPadding = AddButton(TabSheet2, "btnPadding", "&Padding...", {272, 216, 100, 25});

  filledIW_ = std::make_unique<TFilledSpin>(seIW);
  SetTabOrder({cmbColor.Widget(), cmbWidth, seIW, btnOffsets, gbBorderType.Widget(), dvcg.Widget(), btnColor,
               btnPadding, btnOk, btnCancel});

  AddThemedControl(&dv->View());
  AddThemedControl([this](bool value) { cmbColor.SetUseXPThemes(value); });
  AddThemedControl([this](bool value) { gbBorderType.SetUseXPThemes(value); });
  AddThemedControl([this](bool value) { dvcg.SetFlat(value); });
  FormCreate();

  backColor_ = std::make_unique<TBackColorChoice>(dvcg, *lblBackColor);
  backColor_->SetColor(clNone, false);
  dv->AddTextStyle("Main Text", frSample, 6, clInfoText);
  TParaInfo& inTable = dv->AddParaStyle("In Table");
  inTable.FirstIndent = inTable.LeftIndent = inTable.RightIndent = 10;
  inTable.SpaceBefore = inTable.SpaceAfter = 10;
  dv->AddParaStyle("Outside");
  dv->AddCellTable(1, 0);
  const std::string_view sample = LoadResString(dvrsSampleShort);
  dv->AddText(sample, 0, 0);
  dv->AddLine(sample, 0);
  dv->AddLine(sample, 0);
  dv->Reformat();

  QObject::connect(cmbWidth, &QComboBox::activated, form, [this] {
    if (!Shown()) return;
    SwitchNoneToSingle();
    UpdateSample();
  });
  filledIW_->OnUserChange = [this] { UpdateSample(); };
  gbBorderType.OnClick = [this](TDVPictureRadioGroup&) { BorderTypeClick(); };
  QObject::connect(btnOffsets, &QPushButton::clicked, form, [this] { OffsetsClick(); });
  QObject::connect(btnPadding, &QPushButton::clicked, form, [this] { PaddingClick(); });
  dvcg.OnColorChange = [this](TDVColorGrid&) {
    if (Shown()) backColor_->GridChanged();
  };
  QObject::connect(btnColor, &QPushButton::clicked, form, [this] { backColor_->MoreColors(ColorDialogInUse()); });
  backColor_->OnChange = [this] { UpdateSample(); };
  // The sample is seen from both pages; its side buttons only on the border page.
  QObject::connect(PageControl1, &QTabWidget::currentChanged, form, [this](int page) {
    gbSample->setParent(PageControl1->currentWidget());
    gbSample->move(8, 8);
    gbSample->show();
    for (QToolButton* button : {btnLeft, btnRight, btnTop, btnBottom}) button->setVisible(page == 0);
  });
  OnShow = [this] {
    cmbColor.Widget()->setFocus();
    cmbColor.SetColorDialog(&ColorDialogInUse());
    UpdateSample();
  };
}

TfrmDVParaBrdr::~TfrmDVParaBrdr() = default;

bool TfrmDVParaBrdr::Shown() const { return Dialog()->isVisible(); }

TColorDialog& TfrmDVParaBrdr::ColorDialogInUse() {
  TColorDialog* given = colorDialog_.get();
  return given ? *given : ColorDialog1;
}

void TfrmDVParaBrdr::SetValues(const TParaBorderValues& values) {
  filled_ = values;
  gbBorderType.SetItemIndex(values.Style.Defined ? values.Style.Value : -1);
  filledStyle_ = gbBorderType.ItemIndex();
  if (values.Color.Defined) cmbColor.SetChosenColor(values.Color.Value);
  else cmbColor.SetIndeterminate(true);
  ColorChange();
  const int width = values.Width.Defined ? values.Width.Value - 1 : -1;
  cmbWidth->setCurrentIndex(width >= 0 && width < cmbWidth->count() ? width : -1);
  filledWidth_ = cmbWidth->currentIndex();
  filledIW_->Fill(values.InternalWidth.Value, values.InternalWidth.Defined);
  const struct {
    QToolButton* button;
    bool visible, defined;
  } sides[] = {{btnLeft, values.Visible.Left, values.VisibleDefined.Left},
               {btnTop, values.Visible.Top, values.VisibleDefined.Top},
               {btnRight, values.Visible.Right, values.VisibleDefined.Right},
               {btnBottom, values.Visible.Bottom, values.VisibleDefined.Bottom}};
  for (const auto& side : sides) {
    side.button->setChecked(side.defined && side.visible);
    side.button->setAutoRaise(!side.defined);
  }
  offsets_ = values.Offsets;
  padding_ = values.Padding;
  backColor_->SetColor(values.BackColor.Value, values.BackColor.Defined);
}

TParaBorderValues TfrmDVParaBrdr::GetValues() const {
  TParaBorderValues v;
  const int style = gbBorderType.ItemIndex();
  if (style == filledStyle_) v.Style = filled_.Style;
  else if (style >= 0) v.Style = {static_cast<TDVBorderStyle>(style), true};
  if (!cmbColor.Indeterminate()) v.Color = {cmbColor.ChosenColor(), true};
  const int width = cmbWidth->currentIndex();
  if (width == filledWidth_) v.Width = filled_.Width;
  else if (width >= 0) v.Width = {width + 1, true};
  v.InternalWidth = filledIW_->ReadInt();
  const auto side = [](const QToolButton* button, bool& visible, bool& defined) {
    defined = !button->autoRaise();
    visible = defined && button->isChecked();
  };
  side(btnLeft, v.Visible.Left, v.VisibleDefined.Left);
  side(btnTop, v.Visible.Top, v.VisibleDefined.Top);
  side(btnRight, v.Visible.Right, v.VisibleDefined.Right);
  side(btnBottom, v.Visible.Bottom, v.VisibleDefined.Bottom);
  v.Offsets = offsets_;
  v.Padding = padding_;
  v.BackColor = {backColor_->Color(), backColor_->Defined()};
  return v;
}

namespace {

// The defined sides of four values; an undefined side counts 0.
TDVRect DefinedSides(const TFourValues& values) {
  TDVRect r;
  r.Left = values.Defined.Left ? values.Values.Left : 0;
  r.Top = values.Defined.Top ? values.Values.Top : 0;
  r.Right = values.Defined.Right ? values.Values.Right : 0;
  r.Bottom = values.Defined.Bottom ? values.Values.Bottom : 0;
  return r;
}

}  // namespace

void TfrmDVParaBrdr::UpdateSample() {
  if (!Shown()) return;
  TParaInfo& para = dv->Style().ParaStyles()[0];
  TDVBorder& border = para.Border();
  const int style = gbBorderType.ItemIndex();
  border.Style = style < 0 ? dvbNone : static_cast<TDVBorderStyle>(style);
  border.Color = cmbColor.Indeterminate() ? cmbColor.AutoColor() : cmbColor.ChosenColor();
  border.Width = cmbWidth->currentIndex() < 0 ? 1 : cmbWidth->currentIndex() + 1;
  border.InternalWidth = static_cast<int32_t>(seIW->CheckValue(seIW->Value()));
  border.VisibleBorders.SetValues(btnLeft->isChecked(), btnTop->isChecked(), btnRight->isChecked(),
                                  btnBottom->isChecked());
  const TDVRect offsets = DefinedSides(offsets_);
  const TDVRect padding = DefinedSides(padding_);
  border.BorderOffsets = offsets;
  para.Background().BorderOffsets = padding;
  const int32_t w = border.GetTotalWidth();
  para.LeftIndent = std::max(offsets.Left + w, padding.Left);
  para.RightIndent = std::max(offsets.Right + w, padding.Right);
  para.SpaceBefore = std::max(offsets.Top + w, padding.Top);
  para.SpaceAfter = std::max(offsets.Bottom + w, padding.Bottom);
  para.Background().Color = backColor_->Defined() ? backColor_->Color() : clNone;
  dv->Reformat();
  seIW->setEnabled(style > dvbSingle);
}

void TfrmDVParaBrdr::SwitchNoneToSingle() {
  if (gbBorderType.ItemIndex() == dvbNone) gbBorderType.SetItemIndex(dvbSingle);
}

void TfrmDVParaBrdr::BorderTypeClick() {
  if (!Shown()) return;
  if (gbBorderType.ItemIndex() > dvbNone) {
    for (QToolButton* button : {btnLeft, btnRight, btnTop, btnBottom}) {
      button->setChecked(true);
      button->setAutoRaise(false);
    }
  }
  UpdateSample();
}

void TfrmDVParaBrdr::SideClick(QToolButton* button) {
  TfrmDVBorderSides::SideClick(button);
  if (!Shown()) return;
  if (button->isChecked()) SwitchNoneToSingle();
  UpdateSample();
}

void TfrmDVParaBrdr::ColorChange() {
  TfrmDVBorderSides::ColorChange();
  if (!Shown()) return;
  if (!cmbColor.Indeterminate()) SwitchNoneToSingle();
  UpdateSample();
}

void TfrmDVParaBrdr::OffsetsClick() {
  if (!FourValuesPrompt) return;
  TFourValues values = offsets_;
  if (!FourValuesPrompt("Offsets", " Border Offsets ", values)) return;
  offsets_ = values;
  SwitchNoneToSingle();
  UpdateSample();
}

void TfrmDVParaBrdr::PaddingClick() {
  if (!FourValuesPrompt) return;
  TFourValues values = padding_;
  if (!FourValuesPrompt("", "", values)) return;
  padding_ = values;
  UpdateSample();
}

}  // namespace quillet
