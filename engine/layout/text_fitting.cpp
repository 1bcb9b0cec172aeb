#include "engine/layout/text_fitting.h"

#include <algorithm>

#include "engine/text/line_break.h"
#include "platform/core/code_page.h"
#include "platform/gfx/canvas.h"

namespace quillet {

TDVTextMeasure::TDVTextMeasure() = default;
TDVTextMeasure::~TDVTextMeasure() = default;
TDVTextMeasure::TDVTextMeasure(TDVTextMeasure&&) noexcept = default;
TDVTextMeasure& TDVTextMeasure::operator=(TDVTextMeasure&&) noexcept = default;

void TDVTextMeasure::Prepare(TCanvas& canvas, std::string_view text, bool unicode, int codePage) {
  unicode_ = unicode;
  text_ = text;
  if (unicode) {
    wide_.resize(text.size() / 2);
    for (size_t i = 0; i < wide_.size(); ++i)
      wide_[i] = static_cast<char16_t>(static_cast<uint8_t>(text[2 * i]) | (static_cast<uint8_t>(text[2 * i + 1]) << 8));
    canvas.CharAdvancesW(wide_, adv_);
  } else {
    canvas.CharAdvancesA(text, adv_);
    if (!units8_ || units8_->CodePage() != ResolveCodePage(codePage)) units8_ = &SharedCodePageUnits(codePage);
  }
  extra_ = canvas.GetTextCharacterExtra();
  const size_t n = adv_.size();
  pre_.resize(n + 1);
  chars_.resize(n + 1);
  pre_[0] = 0;
  chars_[0] = 0;
  // A character's advance sits on its first unit, so a boundary inside a
  // character already counts the whole character: widths only grow with the
  // count, and the largest count that fits is a character boundary.
  for (size_t i = 0; i < n; ++i) {
    const bool start = adv_[i] >= 0;
    pre_[i + 1] = pre_[i] + (start ? adv_[i] : 0);
    chars_[i + 1] = chars_[i] + (start ? 1 : 0);
  }
}

int TDVTextMeasure::Fit(int from, int to, int32_t avail) const {
  if (to <= from || avail < 0) return 0;
  int lo = 0, hi = to - from;
  int64_t wlo = 0, whi = Width(from, to);
  if (whi <= avail) return hi;
  // Invariant: Width(lo) <= avail < Width(hi); lo = 0 needs no measuring.
  while (lo + 1 < hi) {
    int64_t guess = lo + int64_t{hi - lo} * (avail - wlo) / std::max<int64_t>(whi - wlo, 1);
    guess = std::clamp<int64_t>(guess, lo + 1, hi - 1);
    const int g = static_cast<int>(guess);
    const int64_t w = Width(from, from + g);
    if (w <= avail) {
      lo = g;
      wlo = w;
    } else {
      hi = g;
      whi = w;
    }
  }
  return lo;
}

char16_t TDVTextMeasure::unit(int i) const {
  if (unicode_) return wide_[i];
  return static_cast<char16_t>(static_cast<uint8_t>(text_[i]));
}

int TDVTextMeasure::FindBreak(int from, int to, int fit) {
  if (unicode_) {
    const int p = DVU_FindLineBreak(text_.substr(2 * static_cast<size_t>(from), 2 * static_cast<size_t>(to - from)), fit);
    return p < 0 ? -1 : p + 1;
  }
  // The characters up to and including the first that does not fit.
  breakUnits_.clear();
  breakStarts_.clear();
  const std::string_view text = text_.substr(0, static_cast<size_t>(to));
  int fitChars = 0;
  for (size_t i = static_cast<size_t>(from); i < text.size();) {
    uint16_t code;
    const size_t len = units8_->CharAt(text, i, code);
    breakStarts_.push_back(static_cast<int>(i));
    breakUnits_.push_back(units8_->Unit(code));
    if (static_cast<int>(i) >= from + fit) break;
    ++fitChars;
    i += len;
  }
  const int p = DVU_FindLineBreakUnits(breakUnits_, fitChars);
  if (p < 0) return -1;
  return CharEnd(breakStarts_[static_cast<size_t>(p)]) - from;
}

}  // namespace quillet
