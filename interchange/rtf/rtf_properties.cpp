#include "interchange/rtf/rtf_properties.h"

#include <algorithm>

namespace quillet {

void TDVRTFCharProperties::Assign(const TDVRTFCharProperties& source) {
  std::string fontName = std::move(FontName);
  *this = source;
  FontName = std::move(fontName);
}

TDVRTFBorderSide& TDVRTFParaBorder::GetSides(TDVRTFSide side) {
  auto& slot = Sides[side];
  return slot ? *slot : slot.emplace();
}

bool TDVRTFParaBorder::HasBorder() const {
  return std::any_of(Sides.begin(), Sides.end(),
                     [](const auto& side) { return side && side->BorderType != rtf_brdr_None; });
}

const TDVRTFBorderSide* TDVRTFParaBorder::TypedSide(TDVRTFSide side) const {
  const auto& slot = Sides[side];
  return slot && slot->BorderType != rtf_brdr_None ? &*slot : nullptr;
}

void TDVRTFParaProperties::Reset() {
  const int32_t nestingLevel = NestingLevel;
  const bool inTable = InTable, keepLevel = NoResetLev;
  *this = TDVRTFParaProperties();
  if (keepLevel) {
    NestingLevel = nestingLevel;
    InTable = inTable;
  }
}

namespace {

TColor MixChannels(TColor back, TColor fore, int32_t shading) {
  TColor result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int64_t b = (back >> shift) & 0xFF, f = (fore >> shift) & 0xFF;
    result |= static_cast<TColor>(((10000 - shading) * b + shading * f) / 10000) << shift;
  }
  return result;
}

}  // namespace

void TDVRTFCellProperties::Finalize() {
  if (Shading >= 1) {
    const TColor back = Color == clNone ? 0xFFFFFF : ColorToRGB(Color);
    Color = MixChannels(back, ColorToRGB(ForeColor), std::min(Shading, 10000));
  }
  Shading = 0;
  ForeColor = 0;
}

void TDVRTFRowProperties::Finalize() {
  if (AssumedLastCell && !CellProps.empty()) {
    CellProps.pop_back();
    AssumedLastCell = false;
  }
  if (NewCellProps) {
    for (TDVRTFCellProperties& cell : CellProps) cell.Finalize();
    NewCellProps = false;
  }
}

void ApplyWidthType(int32_t fts, int32_t& bestWidth, bool& invertWidth) {
  if (fts == 2) {
    invertWidth = true;
    bestWidth = bestWidth == INT32_MIN ? INT32_MAX : -bestWidth;
  } else if (fts != 3) {
    bestWidth = 0;
  }
}

}  // namespace quillet
