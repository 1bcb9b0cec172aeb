#include "engine/stream/host_lines_check.h"

namespace quillet {

namespace {
thread_local TScopedHostLinesCheck* innermost = nullptr;
}  // namespace

TScopedHostLinesCheck::TScopedHostLinesCheck(const TCustomDVData& document, THostLinesCheck check)
    : document_(&document), check_(std::move(check)), outer_(innermost) {
  innermost = this;
}

TScopedHostLinesCheck::~TScopedHostLinesCheck() { innermost = outer_; }

const THostLinesCheck* TScopedHostLinesCheck::For(const TCustomDVData& document) {
  for (const TScopedHostLinesCheck* c = innermost; c; c = c->outer_)
    if (c->document_ == &document) return c->check_ ? &c->check_ : nullptr;
  return nullptr;
}

}  // namespace quillet
