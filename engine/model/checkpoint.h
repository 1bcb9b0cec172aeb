#pragma once
// A checkpoint: a named position attached to an item. The document data keeps
// its checkpoints in a chain in document order and owns them; an attached
// checkpoint is held by its item.
#include <memory>
#include <string>

#include "engine/base/shared_routines.h"

namespace quillet {

class TCustomDVItemInfo;

class TDVCPInfo {
 public:
  TDVCPInfo() = default;
  TDVCPInfo(const TDVCPInfo&) = delete;
  TDVCPInfo& operator=(const TDVCPInfo&) = delete;

  std::string Name;
  // The viewer reports when the checkpoint scrolls into view.
  bool RaiseEvent = false;
  TDVTag Tag;

  // Links kept by the document data: the chain, the item it is attached to
  // and that item's index (refreshed on demand).
  TDVCPInfo* Next = nullptr;
  TDVCPInfo* Prev = nullptr;
  TCustomDVItemInfo* ItemInfo = nullptr;
  int ItemNo = -1;

  // Name, RaiseEvent and Tag; never the links.
  void Assign(const TDVCPInfo& source, bool tagsArePChars);
  std::unique_ptr<TDVCPInfo> CreateCopy(bool tagsArePChars) const;
};

}  // namespace quillet
