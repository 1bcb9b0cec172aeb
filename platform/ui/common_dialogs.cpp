#include "platform/ui/common_dialogs.h"

#include <QApplication>
#include <QColorDialog>

#include "platform/gfx/qt_color.h"

namespace quillet {

TColorDialog::TColorDialog() : lifetime_(std::make_shared<int>(0)) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute() {
  const TColor start = Color == clNone || Color == clDefault ? clBlack : Color;
  QColorDialog dialog(ToQColor(start), QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) return false;
  Color = FromQColor(dialog.selectedColor());
  return true;
}

}  // namespace quillet
