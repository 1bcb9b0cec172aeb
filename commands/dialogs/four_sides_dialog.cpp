#include "commands/dialogs/four_sides_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "commands/controls/spin_edit.h"
#include "commands/dialogs/filled_values.h"
#include "commands/dialogs/form_parts.h"

namespace quillet {

TfrmDVFourSides::TfrmDVFourSides()
    : TfrmDVFourSides(TLayout{"Padding", 314, 163, "Padding", {"&Top:", "&Bottom", "&Left:", "&Right"}, -50, 100, 24}) {
  Dialog()->setFixedSize(314, 163);
}

TfrmDVFourSides::TfrmDVFourSides(const TLayout& layout) {
  QDialog* dialog = Dialog();
  dialog->setWindowTitle(Q(layout.Caption));
  dialog->resize(layout.Width, layout.Height);
  group_ = AddGroup(dialog, "gbSides", layout.Group, {8, 8, layout.Width - 104, layout.Height - 16});
  static const char* const kNames[4] = {"seTop", "seBottom", "seLeft", "seRight"};
  const int columnWidth = (layout.Width - 120) / 2;
  for (int side = 0; side < 4; ++side) {
    const int x = 8 + (side / 2) * columnWidth, y = layout.Top + (side % 2) * 32;
    TDVSpinEdit* edit = AddSpin(group_, kNames[side], layout.Min, layout.Max, {x + columnWidth - 60, y, 52, 22});
    AddLabel(group_, nullptr, layout.Labels[side], edit, {x, y + 3, columnWidth - 64, 16});
    sides_[side] = std::make_unique<TFilledSpin>(edit);
    sides_[side]->Fill(0);
    sides_[side]->OnUserChange = [this, side] { SideChanged(side); };
  }
  equal_ = new QCheckBox(Q("&Equal values"), group_);
  Place(equal_, "cbEqual", {8, layout.Height - 52, 160, 18});
  ok_ = AddResultButton(*this, "btnOk", "OK", mrOk, {layout.Width - 88, 12, 75, 25});
  cancel_ = AddResultButton(*this, "btnCancel", "Cancel", mrCancel, {layout.Width - 88, 44, 75, 25});
  SetTabOrder({seTop(), seBottom(), seLeft(), seRight(), equal_, ok_, cancel_});
  QObject::connect(equal_, &QCheckBox::clicked, dialog, [this] { EqualClick(); });
}

TfrmDVFourSides::~TfrmDVFourSides() = default;

TDVSpinEdit* TfrmDVFourSides::seTop() const { return sides_[sTop]->Edit(); }
TDVSpinEdit* TfrmDVFourSides::seBottom() const { return sides_[sBottom]->Edit(); }
TDVSpinEdit* TfrmDVFourSides::seLeft() const { return sides_[sLeft]->Edit(); }
TDVSpinEdit* TfrmDVFourSides::seRight() const { return sides_[sRight]->Edit(); }

void TfrmDVFourSides::SetValues(int left, int top, int right, int bottom, bool fLeft, bool fTop, bool fRight,
                                bool fBottom) {
  sides_[sLeft]->Fill(left, fLeft);
  sides_[sTop]->Fill(top, fTop);
  sides_[sRight]->Fill(right, fRight);
  sides_[sBottom]->Fill(bottom, fBottom);
  equal_->setChecked(left == top && top == right && right == bottom && fLeft == fTop && fTop == fRight &&
                     fRight == fBottom);
}

void TfrmDVFourSides::GetValues(int& left, int& top, int& right, int& bottom, bool& fLeft, bool& fTop,
                                bool& fRight, bool& fBottom) const {
  // An undefined side leaves its value as the caller had it.
  const auto read = [this](int side, int& value, bool& defined) {
    const TDefined<int> read = sides_[side]->ReadInt();
    defined = read.Defined;
    if (defined) value = read.Value;
  };
  read(sLeft, left, fLeft);
  read(sTop, top, fTop);
  read(sRight, right, fRight);
  read(sBottom, bottom, fBottom);
}

void TfrmDVFourSides::EqualClick() {
  if (!equal_->isChecked()) return;
  int sum = 0;
  for (const auto& side : sides_) sum += side->ReadInt().Value;
  copying_ = true;
  for (const auto& side : sides_) side->Edit()->SetValue(sum / 4);
  copying_ = false;
}

void TfrmDVFourSides::SideChanged(int side) {
  if (copying_ || !equal_->isChecked() || !Dialog()->isVisible()) return;
  copying_ = true;
  TDVSpinEdit* source = sides_[side]->Edit();
  for (const auto& other : sides_) {
    if (other->Edit() == source) continue;
    if (source->Indeterminate()) other->Edit()->SetIndeterminate(true);
    else other->Edit()->SetValue(source->Value());
  }
  copying_ = false;
}

TfrmDVSpacing::TfrmDVSpacing()
    : TfrmDVFourSides(TLayout{"Cell Spacing", 366, 191, " Spacing ",
                              {"&Horizontal:", "&Vertical:", "H&orizontal:", "V&ertical:"}, -1, 30, 44}) {
  // The two pairs under their headings.
  AddLabel(gbSides(), "lblBetweenCells", "Between cells", nullptr, {8, 22, 120, 16});
  AddLabel(gbSides(), "lblFromBorder", "From table border to cells", nullptr, {8 + (366 - 120) / 2, 22, 120, 16});
}

TFourValuesPrompt FourSidesPrompt() {
  return [](const std::string& caption, const std::string& groupCaption, TFourValues& values) {
    TfrmDVFourSides form;
    if (!caption.empty()) form.Dialog()->setWindowTitle(QString::fromStdString(caption));
    if (!groupCaption.empty()) form.gbSides()->setTitle(QString::fromStdString(groupCaption));
    const TDVRect& v = values.Values;
    const TDVBooleanRect& d = values.Defined;
    form.SetValues(v.Left, v.Top, v.Right, v.Bottom, d.Left, d.Top, d.Right, d.Bottom);
    if (form.ShowModal() != mrOk) return false;
    TDVRect& out = values.Values;
    TDVBooleanRect& defined = values.Defined;
    form.GetValues(out.Left, out.Top, out.Right, out.Bottom, defined.Left, defined.Top, defined.Right,
                   defined.Bottom);
    return true;
  };
}

}  // namespace quillet
