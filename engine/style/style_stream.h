#pragma once
// The stored form of style collections (text, paragraph and list styles): a
// collection value of the binary property stream, one item per style holding
// its published properties that differ from their defaults. The document
// stream keeps the style sheet's collections in this form.
#include <cstdint>
#include <span>
#include <vector>

#include "engine/style/style_base.h"

namespace quillet {

// The collection value: the Collection tag, each style as a List of its stored
// properties ended by Null, then Null. The styles must be text, paragraph or
// list styles (EDocViewError otherwise). List levels store their image list
// by its Tag; reading asks the collection's DVFImageListNeeded for the list.
std::vector<uint8_t> SaveStyleCollection(const TCustomDVInfos& styles);

// Replaces the content of the collection by the styles stored in bytes, which
// must start with the Collection tag; properties not stored keep their
// defaults, unknown properties are skipped. Bad data raises EPropStreamError
// (EReadError) and leaves the collection as it was. Bytes after the
// collection are not read.
void LoadStyleCollection(std::span<const uint8_t> bytes, TCustomDVInfos& styles);

}  // namespace quillet
