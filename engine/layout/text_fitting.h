#pragma once
// Fitting text into lines. The displayed text of one text item is measured
// once, through the canvas's cached per-character advances, into prefix
// sums; the width of any piece and the number of units that fit a width are
// then answered without asking the canvas again, and without allocating per
// character (the buffers keep their capacity from item to item). Both
// canvases measure a text as its advances summed and rounded plus the
// character extra, so the answers are the canvas's own extents.
//
// Offsets are 0-based units: bytes of 8-bit text, UTF-16 code units of a
// Unicode item's text. Every count answered ends on a character boundary: a
// double-byte character or a surrogate pair is never split.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TCanvas;
class TCodePageUnits;

class TDVTextMeasure {
 public:
  TDVTextMeasure();
  ~TDVTextMeasure();
  TDVTextMeasure(const TDVTextMeasure&) = delete;
  TDVTextMeasure& operator=(const TDVTextMeasure&) = delete;
  TDVTextMeasure(TDVTextMeasure&&) noexcept;
  TDVTextMeasure& operator=(TDVTextMeasure&&) noexcept;

  // Measures `text` (UTF-16LE bytes when unicode) in the canvas's current
  // font and character extra; codePage steps 8-bit text for line breaking.
  void Prepare(TCanvas& canvas, std::string_view text, bool unicode, int codePage);
  int Count() const { return static_cast<int>(adv_.size()); }
  bool Unicode() const { return unicode_; }

  // Width of units [from, to), both character boundaries.
  int32_t Width(int from, int to) const {
    const int64_t sum = pre_[to] - pre_[from];
    const int64_t w = ((sum + 32) >> 6) + int64_t{chars_[to] - chars_[from]} * extra_;
    return static_cast<int32_t>(std::clamp<int64_t>(w, INT32_MIN, INT32_MAX));
  }
  // The most units after `from` (at most to - from) whose width is at most
  // avail; 0 when not even one character fits. An interpolation search on
  // the measured widths, in 64-bit arithmetic.
  int Fit(int from, int to, int32_t avail) const;
  // The end of the character that starts at unit i (i < Count()).
  int CharEnd(int i) const {
    int e = i + 1;
    while (e < Count() && adv_[e] < 0) ++e;
    return e;
  }
  bool IsSpace(int i) const { return unit(i) == u' '; }

  // Where a line that holds units [from, from + fit) at most ends (fit <
  // to - from): the number of units after `from` up to and including the
  // last character that stays on the line, by the line-breaking pairs (for
  // 8-bit text too, its characters taken as their UTF-16 units); -1 when
  // the text allows no break there.
  int FindBreak(int from, int to, int fit);

 private:
  char16_t unit(int i) const;

  bool unicode_ = false;
  std::string_view text_;
  std::vector<int32_t> adv_;   // 1/64 pixel per character start, -1 on continuing units
  std::vector<int64_t> pre_;   // advances before each unit boundary
  std::vector<int32_t> chars_;  // characters begun before each unit boundary
  int32_t extra_ = 0;
  std::u16string wide_;  // the Unicode text as units
  TCodePageUnits* units8_ = nullptr;  // the code page's shared table
  std::u16string breakUnits_;  // 8-bit characters as units, for breaking
  std::vector<int> breakStarts_;
};

}  // namespace quillet
