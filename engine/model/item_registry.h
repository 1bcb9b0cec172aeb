#pragma once
// The registry that maps style numbers to item classes, the factory that
// makes an item for a style number, and item duplication.
#include <cstdint>
#include <memory>

#include "engine/model/item_info.h"

namespace quillet {

class TCustomDVData;

// The class of new text items; a descendant of TDVTextItemInfo may replace it.
extern TDVItemClass DocViewTextItemClass;

// Registers an item class for a style number below -11 (the table item).
// Numbers from -11 up belong to the built-in kinds and records and are
// refused, as is a number registered with another class; registering the
// same class again does nothing.
void RegisterDocViewItemClass(int32_t styleNo, TDVItemClass itemClass);
// Forgets every registration (start-up and tests).
void UnregisterAllDocViewItemClasses();

// A new item for the style number: a text item for 0 and above, the
// built-in kind, or the registered class; null for a number no class has
// (the caller reports the error). The item's StyleNo is set.
std::unique_ptr<TCustomDVItemInfo> CreateDocViewItem(int32_t styleNo, TCustomDVData* dvData);

// A new item of the source's class with its Assign, a copy of its checkpoint
// and of its tag (by the document's tags-are-strings option).
std::unique_ptr<TCustomDVItemInfo> DV_DuplicateItem(const TCustomDVItemInfo& source, TCustomDVData* dvData);

}  // namespace quillet
