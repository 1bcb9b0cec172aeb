#include "commands/actions/style_actions.h"

#include "editing/control/editor.h"
#include "engine/style/style_reuse.h"
#include "engine/style/style_sheet.h"

namespace quillet {

namespace {

TDVStyleConversionEvent& Slot(TCustomDocViewEdit& editor, TDVConversionKind kind) {
  return kind == TDVConversionKind::Text ? editor.OnStyleConversion : editor.OnParaStyleConversion;
}

void SetConversionEvent(TCustomDocViewEdit& editor, TDVConversionKind kind, const TDVStyleConversionEvent& handler) {
  for (TCustomDocViewEdit* each = &editor; each;
       each = dynamic_cast<TCustomDocViewEdit*>(each->GetInplaceEditor()))
    Slot(*each, kind) = handler;
}

}  // namespace

void SetStyleConversionEvent(TCustomDocViewEdit& editor, const TDVStyleConversionEvent& handler) {
  SetConversionEvent(editor, TDVConversionKind::Text, handler);
}

void SetParaStyleConversionEvent(TCustomDocViewEdit& editor, const TDVStyleConversionEvent& handler) {
  SetConversionEvent(editor, TDVConversionKind::Para, handler);
}

TDVConversionHandlerScope::TDVConversionHandlerScope(TCustomDocViewEdit& editor, TDVConversionKind kind,
                                                     const TDVStyleConversionEvent& handler)
    : editor_(editor), kind_(kind), saved_(Slot(editor, kind)) {
  SetConversionEvent(editor_, kind_, handler);
}

TDVConversionHandlerScope::~TDVConversionHandlerScope() { SetConversionEvent(editor_, kind_, saved_); }

TDVUndoGroupScope::TDVUndoGroupScope(TCustomDocViewEdit& editor, TDVUndoType kind) : editor_(editor) {
  editor_.BeginUndoGroup(kind);
  editor_.SetUndoGroupMode(true);
}

TDVUndoGroupScope::~TDVUndoGroupScope() { editor_.SetUndoGroupMode(false); }

void ConvertTextStyles(TCustomDocViewEdit& editor, int32_t userData, const TDVFontConversion& apply) {
  TDVStyle* sheet = editor.Style();
  if (!sheet) return;
  TDVConversionHandlerScope scope(
      editor, TDVConversionKind::Text,
      [sheet, &apply](void*, int32_t styleNo, int32_t data, bool appliedToText, int32_t& newStyleNo) {
        TFontInfos& styles = sheet->TextStyles();
        if (!styles.IsValidIndex(styleNo)) return;
        const TDVProtectOptions kept = appliedToText ? dvprStyleProtect : dvprStyleProtect | dvprDoNotAutoSwitch;
        if (styles[styleNo].Protection & kept) return;
        TFontInfo copy;
        copy.Assign(styles[styleNo]);
        apply(copy, data);
        newStyleNo = FindOrAddTextStyle(styles, styleNo, copy);
      });
  editor.ApplyStyleConversion(userData);
}

void ConvertParaStyles(TCustomDocViewEdit& editor, int32_t userData, const TDVParaConversion& apply) {
  TDVStyle* sheet = editor.Style();
  if (!sheet) return;
  TDVConversionHandlerScope scope(
      editor, TDVConversionKind::Para, [sheet, &apply](void*, int32_t paraNo, int32_t data, bool, int32_t& newParaNo) {
        TParaInfos& styles = sheet->ParaStyles();
        if (!styles.IsValidIndex(paraNo) || (styles[paraNo].Options & dvpaoStyleProtect)) return;
        TParaInfo copy;
        copy.Assign(styles[paraNo]);
        copy.NextParaNo = styles[paraNo].NextParaNo;
        apply(copy, data);
        newParaNo = FindOrAddParaStyle(styles, paraNo, copy);
      });
  editor.ApplyParaStyleConversion(userData);
}

const TFontInfo* CaretTextStyle(const TCustomDocViewEdit& editor) {
  const TDVStyle* sheet = editor.Style();
  const int32_t styleNo = editor.GetTopLevelEditor()->CurTextStyleNo();
  return sheet && sheet->TextStyles().IsValidIndex(styleNo) ? &sheet->TextStyles()[styleNo] : nullptr;
}

const TParaInfo* CaretParaStyle(const TCustomDocViewEdit& editor) {
  const TDVStyle* sheet = editor.Style();
  const int32_t paraNo = editor.GetTopLevelEditor()->CurParaStyleNo();
  return sheet && sheet->ParaStyles().IsValidIndex(paraNo) ? &sheet->ParaStyles()[paraNo] : nullptr;
}

void TdvActionTextStyles::ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData) {
  ConvertTextStyles(editor, userData, [this](TFontInfo& style, int32_t data) { ApplyConversion(style, data); });
}

void TdvActionTextStyles::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* editor = GetControl(target)) ExecuteCommand(*editor, 0);
}

void TdvActionParaStyles::ExecuteCommand(TCustomDocViewEdit& editor, int32_t userData) {
  ConvertParaStyles(editor, userData, [this](TParaInfo& style, int32_t data) { ApplyConversion(style, data); });
}

void TdvActionParaStyles::ExecuteTarget(TCustomControl* target) {
  if (TCustomDocViewEdit* editor = GetControl(target)) ExecuteCommand(*editor, 0);
}

}  // namespace quillet
