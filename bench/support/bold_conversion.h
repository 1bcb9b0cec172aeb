#pragma once
// The style conversion the conversion benchmarks time: text style 0 made
// bold, as a new style the handler answers for it.
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"

namespace quillet::bench {

// Adds the bold copy of style 0 to sheet (as style 1) and makes the
// editor's conversion handler turn style 0 into it.
inline void UseBoldConversion(TDVStyle& sheet, TCustomDocViewEdit& editor) {
  TFontInfo& bold = sheet.TextStyles().Add();
  bold.Assign(sheet.TextStyles()[0]);
  bold.Style = fsBold;
  bold.Standard = false;
  editor.FCurStyleConversion = [](void*, int32_t styleNo, int32_t, bool, int32_t& newStyleNo) {
    if (styleNo == 0) newStyleNo = 1;
  };
}

}  // namespace quillet::bench
