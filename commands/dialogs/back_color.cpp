#include "commands/dialogs/back_color.h"

#include <QLabel>

#include "commands/controls/color_grid.h"
#include "commands/dialogs/form_parts.h"
#include "platform/core/scoped_value.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

void SetUpBackColorGrid(TDVColorGrid& grid, QWidget* group) {
  Place(grid, group, "dvcg", {8, 20, 136, 105});
  grid.SetFirstCaption("透明色");
  grid.SetIndeterminate(true);
  int row = 0;
  for (const int height : {19, 16, 16, 16, 16, 16}) grid.SetRowHeight(row++, height);
}

void TBackColorChoice::SetColor(TColor value, bool defined) {
  TScopedValue<bool> setting(setting_, true);
  color_ = value;
  defined_ = defined;
  if (!defined) {
    label_.clear();
    grid_.SetIndeterminate(true);
    return;
  }
  const TColor rgb = value == clNone ? clNone : ColorToRGB(value);
  grid_.SetChosenColor(rgb);
  if (!grid_.Indeterminate()) {
    label_.setText(QString::fromStdString(grid_.GetColorName()));
    return;
  }
  label_.setText(QStringLiteral("RGB(%1,%2,%3)").arg(GetRValue(rgb)).arg(GetGValue(rgb)).arg(GetBValue(rgb)));
}

void TBackColorChoice::GridChanged() {
  if (setting_) return;
  // The grid also reports the cells that SetColor selected; the colour it
  // shows is no new choice.
  if (defined_ && !grid_.Indeterminate() && grid_.ChosenColor() == (color_ == clNone ? clNone : ColorToRGB(color_)))
    return;
  SetColor(grid_.ChosenColor(), !grid_.Indeterminate());
  if (OnChange) OnChange();
}

bool TBackColorChoice::MoreColors(TColorDialog& dialog) {
  dialog.Color = color_ == clNone ? TColor(0x00FFFF) : ColorToRGB(color_);
  if (!dialog.Execute()) return false;
  SetColor(dialog.Color, true);
  if (OnChange) OnChange();
  return true;
}

}  // namespace quillet
