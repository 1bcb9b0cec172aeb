#pragma once
// The viewer's layout as a DVF document-property record stores it: margins,
// text widths and the reading direction.
#include <cstdint>

#include "engine/style/style_types.h"

namespace quillet {

class TStream;

struct TDVLayoutInfo {
  int32_t LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
  int32_t MinTextWidth = 0, MaxTextWidth = 0;
  TDVBiDiMode BiDiMode = dvbdUnspecified;
  // Set by a successful read.
  bool Loaded = false;

  // The record's bytes: format number 0, payload size 25, the fields.
  void SaveToStream(TStream& stream) const;
  // Accepts a payload of 25 bytes or more (the rest is skipped); a smaller
  // one, a format other than 0 or a direction out of range raise
  // EDocViewError "Invalid DVF format". The fields change only on success.
  void LoadFromStream(TStream& stream);
};

}  // namespace quillet
