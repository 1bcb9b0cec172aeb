#pragma once
// The command layer's process-wide settings and the component that edits
// them. The dialog font name and the visual-styles switch live with the
// dialog base (engine/view/base_form.h) and are edited here too.
#include <QObject>
#include <string>

#include "editing/control/editor.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/control.h"

namespace quillet {

// The editor commands use when they have no Control of their own.
inline TControlRef<TCustomDocViewEdit> DVA_DefaultControl;
// The colour dialog the colour commands and dialogs share; none: each use
// makes its own.
inline TColorDialogRef DVA_ColorDialog;
// The pen style of table grid lines while they are shown.
inline TPenStyle DVA_TableGridStyle = psDot;

// Every instance edits the one set of settings.
class TDVAControlPanel : public QObject {
 public:
  explicit TDVAControlPanel(QObject* owner = nullptr) : QObject(owner) {}

  bool UseVisualStyles() const;
  void SetUseVisualStyles(bool value);
  std::string DialogFontName() const;
  void SetDialogFontName(const std::string& value);
  TCustomDocViewEdit* DefaultControl() const { return DVA_DefaultControl.get(); }
  void SetDefaultControl(TCustomDocViewEdit* value) { DVA_DefaultControl = value; }
  TColorDialog* ColorDialog() const { return DVA_ColorDialog.get(); }
  void SetColorDialog(TColorDialog* value) { DVA_ColorDialog = value; }
  TPenStyle TableGridStyle() const { return DVA_TableGridStyle; }
  // Reaches the table grid at once unless the grid is hidden.
  void SetTableGridStyle(TPenStyle value);
  // After the settings were read from a stored form: the grid takes the style.
  void Loaded();
};

}  // namespace quillet
