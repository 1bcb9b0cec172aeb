#include "host/review/revision_tracking.h"

#include <algorithm>

#include "editing/control/editor.h"
#include "engine/style/style_reuse.h"
#include "engine/style/style_sheet.h"
#include "host/db/db_module.h"
#include "host/review/conversion_codes.h"
#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

constexpr int32_t kIndentStep = 20, kMaxStepIndent = 200;
// Every protection but dvprDoNotAutoSwitch.
constexpr TDVProtectOptions kCellProtection = 0xDF;

void SetFontStyle(TFontInfo& style, TFontStyle which, bool on) {
  style.Style = on ? (style.Style | which) : (style.Style & ~which);
}

void ApplyTextCode(TFontInfo& style, int32_t code, const TTrackingFormState& state) {
  switch (code) {
    case TEXT_BOLD: SetFontStyle(style, fsBold, state.FontBold); break;
    case TEXT_ITALIC: SetFontStyle(style, fsItalic, state.FontItalic); break;
    case TEXT_UNDERLINE: SetFontStyle(style, fsUnderline, state.FontUnderline); break;
    case TEXT_STRIKEOUT: SetFontStyle(style, fsStrikeOut, state.FontStrikeout); break;
    case TEXT_APPLYFONTNAME: style.FontName = state.FontName; break;
    case TEXT_APPLYFONTSIZE: style.Size = state.FontSize; break;
    case TEXT_COLOR: style.Color = state.FontColor; break;
    case TEXT_BACKCOLOR: style.BackColor = state.FontBackColor; break;
    case TEXT_PROTECTION: style.Protection = state.TextProtection; break;
    case CELL_PROTECTION: style.Protection = kCellProtection; break;
    case CELL_EDITABLE: style.Protection = 0; break;
    default: break;
  }
}

void ApplyParaCode(TParaInfo& style, int32_t code, const TTrackingFormState& state) {
  switch (code) {
    case PARA_ALIGNMENT:
      style.Alignment = state.ParaLeft ? dvaLeft : state.ParaRight ? dvaRight : state.ParaCenter ? dvaCenter : dvaJustify;
      break;
    case PARA_INDENTINC: {
      // A step up never lowers an indent already beyond the limit.
      const int32_t raised = style.LeftIndent + kIndentStep;
      style.LeftIndent = raised > kMaxStepIndent ? std::max(style.LeftIndent, kMaxStepIndent) : raised;
      break;
    }
    case PARA_INDENTDEC: {
      // Nor a step down raise a negative one.
      const int32_t lowered = style.LeftIndent - kIndentStep;
      style.LeftIndent = lowered < 0 ? std::min(style.LeftIndent, 0) : lowered;
      break;
    }
    case PARA_COLOR: style.Background().Color = state.ParaColor; break;
    case PARA_LEFTINDENT: style.LeftIndent = state.RulerLeftIndent - state.RulerLeftMargin; break;
    case PARA_RIGHTINDENT:
      style.RightIndent = state.RulerWidth - 5 - state.RulerRightMargin - state.RulerRightIndent;
      break;
    case PARA_FIRSTINDENT: style.FirstIndent = state.RulerFirstIndent - state.RulerLeftMargin; break;
    default: break;
  }
}

}  // namespace

TRevisionTracking::TRevisionTracking(TCustomDocViewEdit& editor, TReviewerTable& table,
                                     const TTrackingFormState& state)
    : Now(ReviewerNow), editor_(editor), table_(table), state_(state) {
  editor_.OnStyleConversion = [this](void*, int32_t styleNo, int32_t code, bool, int32_t& newStyleNo) {
    newStyleNo = TextStyleConversion(styleNo, code);
  };
  editor_.OnParaStyleConversion = [this](void*, int32_t paraNo, int32_t code, bool, int32_t& newParaNo) {
    newParaNo = ParaStyleConversion(paraNo, code);
  };
}

TRevisionTracking::~TRevisionTracking() {
  editor_.OnStyleConversion = {};
  editor_.OnParaStyleConversion = {};
}

void TRevisionTracking::StartTrace(std::string_view userName) {
  const TReviewer& reviewer = table_.Slot(table_.Enter(userName, Now()));
  editor_.TraceOn = true;
  editor_.TraceUserColor = reviewer.Color;
  editor_.TraceUserName = reviewer.Name;
}

void TRevisionTracking::StopTrace() {
  editor_.TraceOn = false;
  editor_.TraceUserColor = 0;
}

TColor TRevisionTracking::ReviewerColor() const {
  const int32_t slot = table_.CurUserNo();
  // No current slot (lines whose first name was empty): the editor's own.
  if (slot < 0 || slot >= TReviewerTable::kSlots) return editor_.TraceUserColor;
  return table_.Slot(slot).Color;
}

int32_t TRevisionTracking::TextStyleConversion(int32_t styleNo, int32_t code) {
  TDVStyle* sheet = editor_.Style();
  if (!sheet || !sheet->TextStyles().IsValidIndex(styleNo)) return styleNo;
  if (code == TEXT_TraceInsert || code == TEXT_TraceDelete) return MarkedStyle(styleNo, code);
  TFontInfos& styles = sheet->TextStyles();
  TFontInfo sample;
  sample.Assign(styles[styleNo]);
  ApplyTextCode(sample, code, state_);
  return FindOrAddTextStyle(styles, styleNo, sample);
}

int32_t TRevisionTracking::MarkedStyle(int32_t styleNo, int32_t code) {
  TFontInfos& styles = editor_.Style()->TextStyles();
  const TFontInfo& current = styles[styleNo];
  const TColor color = ReviewerColor();
  const TFontStyles mark = code == TEXT_TraceInsert ? fsUnderline : fsStrikeOut;
  // The current style in the reviewer's colour: found and marked, it is the
  // answer; found unmarked, the mark replaces its font styles; not found,
  // a deletion keeps the current font styles but underline.
  const int found = styles.FindStyleWithColor(styleNo, color, current.BackColor);
  if (found >= 0 && (styles[found].Style & mark)) return found;
  TFontInfo sample;
  sample.Assign(current);
  sample.Color = color;
  sample.Style = code == TEXT_TraceInsert || found >= 0 ? mark : (current.Style | fsStrikeOut) & ~fsUnderline;
  // An equal style made before is taken again: every start of typing or
  // deleting would otherwise add a copy to the sheet.
  return FindOrAddTextStyle(styles, -1, sample);
}

int32_t TRevisionTracking::ParaStyleConversion(int32_t paraNo, int32_t code) {
  TDVStyle* sheet = editor_.Style();
  if (!sheet || !sheet->ParaStyles().IsValidIndex(paraNo)) return paraNo;
  TParaInfos& styles = sheet->ParaStyles();
  TParaInfo sample;
  sample.Assign(styles[paraNo]);
  // Assign leaves the next style out (it may name another collection's);
  // here it is this collection's.
  sample.NextParaNo = styles[paraNo].NextParaNo;
  ApplyParaCode(sample, code, state_);
  return FindOrAddParaStyle(styles, paraNo, sample);
}

std::string TrackingUserName(const TDbDm& db) {
  if (!db.CurUserName.empty()) return db.CurUserName;
  // Account names are UTF-8 on this system.
  return Utf8ToAnsi(TDbDm::GetUserName());
}

}  // namespace quillet
