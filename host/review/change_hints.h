#pragma once
// The editor's mouse-over hints: over a tracked change, the reviewer who made
// it and when; over a picture, its name (which says who inserted or deleted
// it); with annotation users shown, the writer and date of the stroke or
// seal under the mouse. Hints show as the editor's tool tips.
//
// Hint texts are in the system code page; chr(12) + chr(13) breaks a line.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quillet {

class TCustomDocView;
class TQvPostil;
class TReviewerTable;

class TChangeHints {
 public:
  // None is owned; all outlive the hints. Watches the view's mouse moves
  // until destroyed.
  TChangeHints(TCustomDocView& view, const TReviewerTable& table, const TQvPostil& postil);
  ~TChangeHints();
  TChangeHints(const TChangeHints&) = delete;
  TChangeHints& operator=(const TChangeHints&) = delete;

  // Annotation users are shown instead of changes (the form's Shift toggle).
  bool ShowPostilUsers = false;

  // The hint of a client point: empty for none, nullopt when the hint stays
  // as it is (the point seen last, or a table outside its cells' text).
  std::optional<std::string> HintAt(int32_t x, int32_t y);
  // The mouse moved to a client point: the tool tip follows its hint.
  void MouseMove(int32_t x, int32_t y);
  // The tool tip shown now (empty: none), as a hint text.
  const std::string& Hint() const { return hint_; }

 private:
  std::string PostilHint(int32_t x, int32_t y) const;
  std::string TextHint(int32_t styleNo) const;

  TCustomDocView& view_;
  const TReviewerTable& table_;
  const TQvPostil& postil_;
  std::optional<std::pair<int32_t, int32_t>> last_;
  std::string hint_;
  class Filter;
  std::unique_ptr<Filter> filter_;
};

// A hint as a tool tip shows it: UTF-8, its line breaks as newlines.
std::string HintToToolTip(std::string_view hint);

}  // namespace quillet
