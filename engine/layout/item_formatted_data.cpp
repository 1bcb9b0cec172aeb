#include "engine/layout/item_formatted_data.h"

#include <algorithm>
#include <climits>

namespace quillet {

TCustomDVData* TDVItemFormattedData::GetRootData() {
  TCustomDVData* parent = GetParentData();
  return parent ? parent->GetRootData() : this;
}

const TCustomDVData* TDVItemFormattedData::GetRootData() const {
  const TCustomDVData* parent = GetParentData();
  return parent ? parent->GetRootData() : this;
}

TCustomDVData* TDVItemFormattedData::GetAbsoluteRootData() {
  TCustomDVData* parent = GetAbsoluteParentData();
  return parent ? parent->GetAbsoluteRootData() : this;
}

void TDVItemFormattedData::ShowRectangle(int32_t left, int32_t top, int32_t width, int32_t height) {
  auto* root = dynamic_cast<TCustomDVFormattedData*>(GetRootData());
  if (!root || root == this) return;
  int32_t x = 0, y = 0;
  GetOriginEx(x, y);
  auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  root->ShowRectangle(clamp(int64_t{left} + x), clamp(int64_t{top} + y), width, height);
}

void TDVItemFormattedData::SetFlags(TDVFlags) {
  throw EDocViewError("This method is not supported for TDVItemFormattedData");
}

}  // namespace quillet
