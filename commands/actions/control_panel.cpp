#include "commands/actions/control_panel.h"

#include "editing/table/table_item.h"
#include "engine/view/base_form.h"

namespace quillet {

bool TDVAControlPanel::UseVisualStyles() const { return DVA_UseVisualStyles; }
void TDVAControlPanel::SetUseVisualStyles(bool value) { DVA_UseVisualStyles = value; }
std::string TDVAControlPanel::DialogFontName() const { return DVA_DialogFontName; }
void TDVAControlPanel::SetDialogFontName(const std::string& value) { DVA_DialogFontName = value; }

void TDVAControlPanel::SetTableGridStyle(TPenStyle value) {
  DVA_TableGridStyle = value;
  // A hidden grid stays hidden; the style waits for it to be shown.
  if (DocViewTableGridStyle != psClear) DocViewTableGridStyle = value;
}

void TDVAControlPanel::Loaded() { DocViewTableGridStyle = DVA_TableGridStyle; }

}  // namespace quillet
