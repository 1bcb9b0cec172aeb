#pragma once
// A host's check of the host lines ("QV" and "QP" lines) that a reading
// into one document brings. While a TScopedHostLinesCheck lives, the
// document's LoadDVFFromStream runs the check once the stream has read
// whole, before anything is replaced, and its InsertDVFFromStream runs it
// with only the lines the inserted stream brought, before the insertion
// stands; an exception the check raises fails the reading, leaving
// document, styles and lines as they were, and reaches the caller. Readings
// into other documents are not checked. Checks belong to the thread that
// sets them.
#include <functional>

namespace quillet {

class TCustomDVData;
class TQvDvData;

using THostLinesCheck = std::function<void(const TQvDvData& read)>;

class TScopedHostLinesCheck {
 public:
  TScopedHostLinesCheck(const TCustomDVData& document, THostLinesCheck check);
  ~TScopedHostLinesCheck();
  TScopedHostLinesCheck(const TScopedHostLinesCheck&) = delete;
  TScopedHostLinesCheck& operator=(const TScopedHostLinesCheck&) = delete;

  // The innermost check set for the document, or none.
  static const THostLinesCheck* For(const TCustomDVData& document);

 private:
  const TCustomDVData* document_;
  THostLinesCheck check_;
  TScopedHostLinesCheck* outer_;
};

}  // namespace quillet
