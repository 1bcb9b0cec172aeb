#pragma once
// Commands that change text or paragraph styles never edit items: they run
// one style conversion over the selection with a handler of their own in
// the editor's conversion event, which copies each visited style, lets the
// command change the copy and answers an equal style or the copy added.
// Whatever handler the host had there (revision tracking) goes back after,
// on the editor and on its open cell editors, also when the conversion
// raises.
#include <functional>

#include "commands/actions/action.h"
#include "editing/undo/undo_types.h"
#include "engine/model/style_conversion.h"

namespace quillet {

class TFontInfo;
class TParaInfo;

// handler on the editor's OnStyleConversion (OnParaStyleConversion) and on
// every cell editor reached from it through the chain of in-place editors.
void SetStyleConversionEvent(TCustomDocViewEdit& editor, const TDVStyleConversionEvent& handler);
void SetParaStyleConversionEvent(TCustomDocViewEdit& editor, const TDVStyleConversionEvent& handler);

enum class TDVConversionKind { Text, Para };

// For its life, handler answers the editor's conversions of one kind; the
// editor's handler from before goes back on the editor and its cell editors.
class TDVConversionHandlerScope {
 public:
  TDVConversionHandlerScope(TCustomDocViewEdit& editor, TDVConversionKind kind,
                            const TDVStyleConversionEvent& handler);
  ~TDVConversionHandlerScope();
  TDVConversionHandlerScope(const TDVConversionHandlerScope&) = delete;
  TDVConversionHandlerScope& operator=(const TDVConversionHandlerScope&) = delete;

 private:
  TCustomDocViewEdit& editor_;
  TDVConversionKind kind_;
  TDVStyleConversionEvent saved_;
};

// For its life, the editor gathers its changes into one undo group of kind.
class TDVUndoGroupScope {
 public:
  TDVUndoGroupScope(TCustomDocViewEdit& editor, TDVUndoType kind);
  ~TDVUndoGroupScope();
  TDVUndoGroupScope(const TDVUndoGroupScope&) = delete;
  TDVUndoGroupScope& operator=(const TDVUndoGroupScope&) = delete;

 private:
  TCustomDocViewEdit& editor_;
};

using TDVFontConversion = std::function<void(TFontInfo& style, int32_t userData)>;
using TDVParaConversion = std::function<void(TParaInfo& style, int32_t userData)>;

// One conversion over the editor's selection: apply changes a copy of each
// visited style that is not protected, and the text takes an equal style
// or the copy added. Text styles with dvprStyleProtect stay; applied to
// other than text (a paragraph's end), dvprDoNotAutoSwitch stays too.
// Paragraph styles with dvpaoStyleProtect stay.
void ConvertTextStyles(TCustomDocViewEdit& editor, int32_t userData, const TDVFontConversion& apply);
void ConvertParaStyles(TCustomDocViewEdit& editor, int32_t userData, const TDVParaConversion& apply);

// The text (paragraph) style at the caret of the editor's innermost open
// cell editor, where typing would go; null without a style sheet.
const TFontInfo* CaretTextStyle(const TCustomDocViewEdit& editor);
const TParaInfo* CaretParaStyle(const TCustomDocViewEdit& editor);

// Text-style commands: ApplyConversion changes the copy of each style.
class TdvActionTextStyles : public TdvAction {
 public:
  using TdvAction::TdvAction;
  void ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData);
  // ExecuteCommand(GetControl(target), 0).
  void ExecuteTarget(TCustomControl* target) override;
  virtual void ApplyConversion(TFontInfo& style, int32_t userData) = 0;
};

// Paragraph-style commands.
class TdvActionParaStyles : public TdvAction {
 public:
  using TdvAction::TdvAction;
  void ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData);
  void ExecuteTarget(TCustomControl* target) override;
  virtual void ApplyConversion(TParaInfo& style, int32_t userData) = 0;
};

}  // namespace quillet
