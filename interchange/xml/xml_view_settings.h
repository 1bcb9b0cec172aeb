#pragma once
// The view settings the "document" element carries: read from the viewer,
// changed by the element's attributes and given back only when the whole
// load succeeded.
#include <cstdint>
#include <optional>

#include "editing/control/editor.h"
#include "engine/base/item_types.h"
#include "engine/layout/formatted_data.h"
#include "engine/style/style_types.h"
#include "engine/view/background.h"
#include "platform/core/colors.h"
#include "platform/gfx/graphic.h"

namespace quillet {

class TCustomDocView;
class TXMLTag;

struct TXMLViewSettings {
  bool IsEditor = false;
  TColor Color = clNone;
  TBackgroundStyle BackgroundStyle = bsNoBitmap;
  std::optional<TBitmap> BackgroundBitmap;  // set when the file gives one
  bool HScrollVisible = true, VScrollVisible = true;
  int32_t VSmallStep = 1;
  int32_t LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
  int32_t MaxTextWidth = 0, MinTextWidth = 0;
  TDVBiDiMode BiDiMode = dvbdUnspecified;
  TCPEventKind CPEventKind = cpeNone;
  TDVOptions Options = 0;
  TDVRTFOptions RTFOptions = 0;
  TDVFOptions DVFOptions = 0;
  TDVTabNavigationType TabNavigation = dvtnNone;
  TDVEditorOptions EditorOptions = 0;
  // The element being read, for file references (set while reading).
  const TXMLTag* Node = nullptr;

  void ReadFrom(const TCustomDocView& view);
  void ApplyTo(TCustomDocView& view) const;
};

// The attributes of "document" that set the view.
void LoadBackgroundFromXML(const TXMLTag& node, TXMLViewSettings& settings);

}  // namespace quillet
