#include "commands/actions/color_actions.h"

#include <QPoint>
#include <QWidget>
#include <algorithm>
#include <exception>
#include <memory>

#include "commands/actions/control_panel.h"
#include "commands/actions/style_actions.h"
#include "commands/controls/color_popup.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"

namespace quillet {

namespace {

// The colour dialog opens on yellow where there is no colour to show.
constexpr TColor kNoColorPreset = 0xFFFF;

// The styles at the caret of the innermost editor, which share the sheet.
const TFontInfo* CurrentTextStyle(const TCustomDocViewEdit& editor) {
  const TDVStyle* sheet = editor.Style();
  const int32_t styleNo = editor.GetTopLevelEditor()->CurTextStyleNo();
  return sheet && sheet->TextStyles().IsValidIndex(styleNo) ? &sheet->TextStyles()[styleNo] : nullptr;
}

const TParaInfo* CurrentParaStyle(const TCustomDocViewEdit& editor) {
  const TDVStyle* sheet = editor.Style();
  const int32_t paraNo = editor.GetTopLevelEditor()->CurParaStyleNo();
  return sheet && sheet->ParaStyles().IsValidIndex(paraNo) ? &sheet->ParaStyles()[paraNo] : nullptr;
}

}  // namespace

TdvActionCustomColor::TdvActionCustomColor(QObject* owner) : TdvAction(owner) {}

TdvActionCustomColor::~TdvActionCustomColor() {
  if (picker_) {
    // The popup goes a moment after us: its end must not reach us.
    picker_->OnDestroy = nullptr;
    picker_->ClosePopup();
  }
}

TColor TdvActionCustomColor::GetCurrentColor(TCustomDocViewEdit&) { return clNone; }

void TdvActionCustomColor::Notify(const std::function<void(TdvActionCustomColor&)>& event) {
  if (event) event(*this);
}

void TdvActionCustomColor::ExecuteTarget(TCustomControl* target) {
  if (picker_) {
    picker_->ClosePopup();
    return;
  }
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  switch (UserInterface) {
    case dvacNone: ExecuteCommand(*editor, 0); break;
    case dvacColorDialog: ExecuteColorDialog(*editor); break;
    case dvacAdvanced: ShowColorPicker(*editor); break;
  }
}

void TdvActionCustomColor::ExecuteColorDialog(TCustomDocViewEdit& editor) {
  std::unique_ptr<TColorDialog> own;
  TColorDialog* dialog = DVA_ColorDialog.get();
  if (!dialog) {
    own = std::make_unique<TColorDialog>();
    dialog = own.get();
  }
  const TColor current = GetCurrentColor(editor);
  dialog->Color = current == clNone ? kNoColorPreset : current;
  Notify(OnShowColorPicker);
  try {
    if (dialog->Execute()) {
      Color = dialog->Color;
      ExecuteCommand(editor, 0);
    }
  } catch (...) {
    Notify(OnHideColorPicker);
    throw;
  }
  Notify(OnHideColorPicker);
}

void TdvActionCustomColor::ShowColorPicker(TCustomDocViewEdit& editor) {
  const TColor current = GetCurrentColor(editor);
  pickerEditor_ = &editor;
  auto* picker = new TfrmColor;  // frees itself once closed
  picker_ = picker;
  picker->OnDestroy = [this](TfrmColor& closing) { ColorPickerDestroy(closing); };
  picker->Init(defaultColor_, DVA_ColorDialog.get(), current, false, clNone);
  Notify(OnShowColorPicker);
  if (auto* caller = qobject_cast<QWidget*>(caller_.data())) {
    const QPoint origin = caller->mapToGlobal(QPoint(0, 0));
    picker->PopupAt(Bounds(origin.x(), origin.y(), caller->width(), caller->height()));
  } else {
    picker->PopupAtMouse();
  }
}

void TdvActionCustomColor::ColorPickerDestroy(TfrmColor& picker) {
  picker_ = nullptr;
  TCustomDocViewEdit* editor = pickerEditor_.get();
  pickerEditor_ = nullptr;
  // Called from the popup's destructor: nothing may leave it.
  try {
    if (picker.Chosen() && editor) {
      Color = picker.Color();
      ExecuteCommand(*editor, 0);
    }
    Notify(OnHideColorPicker);
  } catch (const std::exception& e) {
    if (editor) editor->HandleException(e.what());
  }
}

void TdvActionFontCustomColor::ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData) {
  ConvertTextStyles(editor, userData, [this](TFontInfo& style, int32_t data) { ApplyConversion(style, data); });
}

TdvActionFontColor::TdvActionFontColor(QObject* owner) : TdvActionFontCustomColor(owner) {
  Color = clWindowText;
  SetDefaultColor(clWindowText);
}

TColor TdvActionFontColor::GetCurrentColor(TCustomDocViewEdit& editor) {
  const TFontInfo* style = CurrentTextStyle(editor);
  return style ? style->Color : clNone;
}

void TdvActionFontColor::ApplyConversion(TFontInfo& style, int32_t) { style.Color = Color; }

TColor TdvActionFontBackColor::GetCurrentColor(TCustomDocViewEdit& editor) {
  const TFontInfo* style = CurrentTextStyle(editor);
  return style ? style->BackColor : clNone;
}

void TdvActionFontBackColor::ApplyConversion(TFontInfo& style, int32_t) { style.BackColor = Color; }

void TdvActionParaCustomColor::ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData) {
  ConvertParaStyles(editor, userData, [this](TParaInfo& style, int32_t data) { ApplyConversion(style, data); });
}

TColor TdvActionParaColor::GetCurrentColor(TCustomDocViewEdit& editor) {
  const TParaInfo* style = CurrentParaStyle(editor);
  return style ? style->Background().Color : clNone;
}

void TdvActionParaColor::ApplyConversion(TParaInfo& style, int32_t) { style.Background().Color = Color; }

void TdvActionParaColorAndPadding::ApplyConversion(TParaInfo& style, int32_t userData) {
  TdvActionParaColor::ApplyConversion(style, userData);
  TDVRect& offsets = style.Background().BorderOffsets;
  // The text keeps its distance from the coloured area's edge.
  if (usePadding_.Left) {
    offsets.Left = padding_.Left;
    style.LeftIndent = std::max(style.LeftIndent, padding_.Left);
  }
  if (usePadding_.Right) {
    offsets.Right = padding_.Right;
    style.RightIndent = std::max(style.RightIndent, padding_.Right);
  }
  if (usePadding_.Top) {
    offsets.Top = padding_.Top;
    style.SpaceBefore = std::max(style.SpaceBefore, padding_.Top);
  }
  if (usePadding_.Bottom) {
    offsets.Bottom = padding_.Bottom;
    style.SpaceAfter = std::max(style.SpaceAfter, padding_.Bottom);
  }
}

TdvActionColor::TdvActionColor(QObject* owner) : TdvActionCustomColor(owner) {
  Color = clWindow;
  SetDefaultColor(clWindow);
}

void TdvActionColor::ExecuteCommand(TCustomDocViewEdit& editor, int32_t) {
  editor.Color = Color;
  // The background is document content only where the document stores it.
  if (editor.DVFOptions() & dvfoSaveBack) editor.Modified = true;
  editor.Invalidate();
}

TColor TdvActionColor::GetCurrentColor(TCustomDocViewEdit& editor) {
  if (editor.Color != clNone) return editor.Color;
  return editor.Style() ? editor.Style()->Color : clNone;
}

}  // namespace quillet
