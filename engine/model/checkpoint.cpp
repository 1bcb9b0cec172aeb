#include "engine/model/checkpoint.h"

namespace quillet {

void TDVCPInfo::Assign(const TDVCPInfo& source, bool tagsArePChars) {
  Name = source.Name;
  RaiseEvent = source.RaiseEvent;
  Tag = DV_CopyTag(source.Tag, tagsArePChars);
}

std::unique_ptr<TDVCPInfo> TDVCPInfo::CreateCopy(bool tagsArePChars) const {
  auto copy = std::make_unique<TDVCPInfo>();
  copy->Assign(*this, tagsArePChars);
  return copy;
}

}  // namespace quillet
