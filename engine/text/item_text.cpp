#include "engine/text/item_text.h"

#include <algorithm>
#include <cstdint>

#include "engine/base/doc_view_error.h"
#include "engine/text/line_break.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Marks that belong to the character before them. The line-breaking table
// already knows them; below U+0300 its combining class holds only controls.
bool IsCombining(char16_t c) { return c >= 0x300 && GetCharLineBreakClass(c) == dvu_lb_CM; }

// Item text seen as a row of units (bytes, or UTF-16 code units) in which
// some characters take two.
class TItemText {
 public:
  TItemText(std::string_view s, TDVItemOptions options, int codePage)
      : s_(s), unicode_(DVU_IsUnicode(options)), codePage_(ResolveCodePage(codePage)) {}

  size_t Count() const { return unicode_ ? s_.size() / 2 : s_.size(); }
  size_t UnitSize() const { return unicode_ ? 2 : 1; }
  char16_t Unit(size_t i) const {
    return static_cast<char16_t>(static_cast<uint8_t>(s_[2 * i]) | (static_cast<uint8_t>(s_[2 * i + 1]) << 8));
  }

  // The start of the character that holds unit i (i itself at or past the end).
  size_t StartOf(size_t i) const {
    if (i == 0 || i >= Count()) return i;
    if (!unicode_) return CharPrevEx(codePage_, s_, i + 1);
    return IsLowSurrogate(Unit(i)) && IsHighSurrogate(Unit(i - 1)) ? i - 1 : i;
  }
  // The end of the character that starts at unit i (i < Count()).
  size_t EndOf(size_t i) const {
    if (!unicode_) return CharNextEx(codePage_, s_, i);
    return i + 1 < Count() && IsHighSurrogate(Unit(i)) && IsLowSurrogate(Unit(i + 1)) ? i + 2 : i + 1;
  }
  // A range end moved forward out of any character it falls into.
  size_t WholeEnd(size_t e) const {
    if (e >= Count()) return Count();
    const size_t start = StartOf(e);
    return start < e ? EndOf(start) : e;
  }

  // Caret steps: a UTF-16 character takes the combining marks after it.
  size_t Next(size_t i) const {
    if (i >= Count()) return Count();
    i = EndOf(StartOf(i));
    if (unicode_)
      while (i < Count() && IsCombining(Unit(i))) ++i;
    return i;
  }
  size_t Prev(size_t i) const {
    i = std::min(i, Count());
    if (i == 0) return 0;
    size_t j = StartOf(i - 1);
    if (unicode_)
      while (j > 0 && IsCombining(Unit(j))) j = StartOf(j - 1);
    return j;
  }

 private:
  std::string_view s_;
  bool unicode_;
  int codePage_;
};

// The 0-based unit range [first, last) of `count` characters from 1-based
// `index`, widened to whole characters; empty when nothing is in range.
struct TUnitRange {
  size_t first = 0, last = 0;
};

TUnitRange RangeOf(const TItemText& t, int index, int count) {
  const int64_t n = static_cast<int64_t>(t.Count());
  const int64_t first = std::max<int64_t>(index, 1) - 1;
  if (count <= 0 || first >= n) return {};
  const int64_t last = std::min<int64_t>(first + count, n);
  return {t.StartOf(static_cast<size_t>(first)), t.WholeEnd(static_cast<size_t>(last))};
}

std::vector<int32_t> Extents(TCanvas& canvas, std::string_view s, TDVItemOptions options) {
  return DVU_IsUnicode(options) ? canvas.TextExtentExW(DVU_Units(s)) : canvas.TextExtentExA(s);
}

// The text as UTF-16 with one unit per source unit, for the placement;
// empty when 8-bit text does not convert one byte to one unit.
std::u16string PlacementUnits(TCanvas& canvas, std::string_view s, TDVItemOptions options) {
  if (DVU_IsUnicode(options)) return DVU_Units(s);
  std::u16string units = MultiByteToWideChar(CharsetToCodePage(canvas.Font().Charset), s);
  if (units.size() != s.size()) units.clear();
  return units;
}

// The canvas's placement of the text, checked: one entry per unit, the order
// a permutation. Answers the inverse order (visual position -> logical index).
bool GetPlacement(TCanvas& canvas, std::string_view s, TDVItemOptions options, TCharacterPlacement& placement,
                  std::vector<int32_t>& visualToLogical) {
  const std::u16string units = PlacementUnits(canvas, s, options);
  if (units.empty() || !canvas.GetCharacterPlacementW(units, placement)) return false;
  const size_t n = units.size();
  if (placement.Order.size() != n || placement.Dx.size() != n || placement.Class.size() != n) return false;
  visualToLogical.assign(n, -1);
  for (size_t k = 0; k < n; ++k) {
    const int32_t v = placement.Order[k];
    if (v < 0 || static_cast<size_t>(v) >= n || visualToLogical[v] != -1) return false;
    visualToLogical[v] = static_cast<int32_t>(k);
  }
  return true;
}

bool IsRightToLeft(uint8_t cls) { return cls == GCPCLASS_HEBREW; }

}  // namespace

void DVRaiseUni() { throw EDocViewError("Can't perform Unicode operation"); }

void DVCheckUni(size_t byteLength) {
  if (byteLength % 2 != 0) DVRaiseUni();
}

std::u16string DVU_Units(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  return units;
}

std::string DVU_UnitBytes(std::u16string_view units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t c : units) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

int DVU_Length(std::string_view s, TDVItemOptions options) {
  return static_cast<int>(DVU_IsUnicode(options) ? s.size() / 2 : s.size());
}

std::string DVU_Copy(std::string_view s, int index, int count, TDVItemOptions options, int codePage) {
  const TItemText t(s, options, codePage);
  const TUnitRange r = RangeOf(t, index, count);
  return std::string(s.substr(r.first * t.UnitSize(), (r.last - r.first) * t.UnitSize()));
}

void DVU_Delete(std::string& s, int index, int count, TDVItemOptions options, int codePage) {
  const TItemText t(s, options, codePage);
  const TUnitRange r = RangeOf(t, index, count);
  s.erase(r.first * t.UnitSize(), (r.last - r.first) * t.UnitSize());
}

void DVU_Insert(std::string_view source, std::string& s, int index, TDVItemOptions options, int codePage) {
  if (DVU_IsUnicode(options)) DVCheckUni(source.size());
  const TItemText t(s, options, codePage);
  const int64_t at = std::clamp<int64_t>(static_cast<int64_t>(index) - 1, 0, static_cast<int64_t>(t.Count()));
  s.insert(t.StartOf(static_cast<size_t>(at)) * t.UnitSize(), source);
}

bool DVU_IsSpace(std::string_view s, int index, TDVItemOptions options) {
  if (index < 1 || index > DVU_Length(s, options)) return false;
  const size_t i = static_cast<size_t>(index - 1);
  if (!DVU_IsUnicode(options)) return s[i] == ' ';
  return s[2 * i] == ' ' && s[2 * i + 1] == 0;
}

int DVU_NextCharIndex(std::string_view s, int index, TDVItemOptions options, int codePage) {
  const TItemText t(s, options, codePage);
  return static_cast<int>(t.Next(static_cast<size_t>(std::max(index, 1) - 1))) + 1;
}

int DVU_PrevCharIndex(std::string_view s, int index, TDVItemOptions options, int codePage) {
  const TItemText t(s, options, codePage);
  return static_cast<int>(t.Prev(static_cast<size_t>(std::max(index, 1) - 1))) + 1;
}

int DVU_StrScanW(std::string_view text, char16_t ch) {
  const TItemText t(text, dvioUnicode, CP_ACP);
  for (size_t i = 0; i < t.Count(); ++i)
    if (t.Unit(i) == ch) return static_cast<int>(i);
  return -1;
}

void DVU_SwapWordBytes(std::string& s) {
  for (size_t i = 0; i + 1 < s.size(); i += 2) std::swap(s[i], s[i + 1]);
}

int32_t DVU_TextWidth(std::string_view s, TCanvas& canvas, TDVItemOptions options) {
  return DVU_IsUnicode(options) ? canvas.TextExtentW(DVU_Units(s)).cx : canvas.TextExtentA(s).cx;
}

int DVU_GetTextExtentExPoint(TCanvas& canvas, std::string_view s, int32_t maxExtent, TDVItemOptions options,
                             std::vector<int32_t>* dx) {
  if (s.empty()) {
    if (dx) dx->clear();
    return 0;
  }
  std::vector<int32_t> ends = Extents(canvas, s, options);
  // The units of one character share its end, so they fit together.
  size_t fit = 0;
  while (fit < ends.size() && ends[fit] <= maxExtent) ++fit;
  if (dx) *dx = std::move(ends);
  return static_cast<int>(fit);
}

int DVU_GetTextExtentExPointPC(TCanvas& canvas, std::string_view s, TSize& size, TDVItemOptions options,
                               std::vector<int32_t>* dx, int32_t maxExtent) {
  size = DVU_IsUnicode(options) ? canvas.TextExtentW(DVU_Units(s)) : canvas.TextExtentA(s);
  return DVU_GetTextExtentExPoint(canvas, s, maxExtent, options, dx);
}

bool DVU_GetTextCaretPos(TCanvas& canvas, std::string_view s, std::vector<int32_t>& posArray,
                         TDVItemOptions options) {
  TCharacterPlacement placement;
  std::vector<int32_t> logical;
  if (!GetPlacement(canvas, s, options, placement, logical)) return false;
  const size_t n = logical.size();
  posArray.assign(n + 1, 0);
  int32_t x = 0;
  for (size_t v = 0; v < n; ++v) {
    const auto k = static_cast<size_t>(logical[v]);
    const int32_t w = placement.Dx[k];
    if (IsRightToLeft(placement.Class[k])) {
      posArray[k + 1] = x;
      if (k == 0) posArray[0] = x + w;
    } else {
      posArray[k + 1] = x + w + 1;
      if (k == 0) posArray[0] = x;
    }
    x += w;
  }
  return true;
}

bool DVU_DrawSelectedTextEx(int32_t left, int32_t top, int32_t height, std::string_view s, TCanvas& canvas,
                            int selStart, int selEnd, TDVItemOptions options, bool biDi) {
  if (!biDi) return false;
  TCharacterPlacement placement;
  std::vector<int32_t> logical;
  if (!GetPlacement(canvas, s, options, placement, logical)) return false;
  const int n = static_cast<int>(logical.size());
  std::vector<bool> marked(n, false);
  for (int k = std::max(selStart, 1) - 1; k < std::min(selEnd, n); ++k) marked[k] = true;
  const bool unicode = DVU_IsUnicode(options);
  const size_t unitSize = unicode ? 2 : 1;
  for (;;) {
    // The leftmost character still to draw, and the advances before it.
    int v = 0;
    int32_t before = 0;
    while (v < n && !marked[logical[v]]) before += placement.Dx[logical[v++]];
    if (v == n) break;
    // The run goes right over characters that follow each other logically,
    // forwards (left to right) or backwards (right to left).
    int first = logical[v], last = first;
    int32_t width = placement.Dx[first];
    int step = 0;
    if (v + 1 < n && marked[logical[v + 1]]) {
      if (logical[v + 1] == first + 1) step = 1;
      if (logical[v + 1] == first - 1) step = -1;
    }
    marked[first] = false;
    for (int u = v + 1; step != 0 && u < n && marked[logical[u]] && logical[u] == logical[u - 1] + step; ++u) {
      marked[logical[u]] = false;
      width += placement.Dx[logical[u]];
      first = std::min(first, logical[u]);
      last = std::max(last, logical[u]);
    }
    const TRect r{left + before, top, left + before + width, top + height};
    const std::string_view run = s.substr(first * unitSize, (last - first + 1) * unitSize);
    canvas.SaveState();
    canvas.IntersectClipRect(r);
    canvas.FillRect(r);
    if (unicode)
      canvas.TextOutW(r.Left, top, DVU_Units(run));
    else
      canvas.TextOutA(r.Left, top, run);
    canvas.RestoreState();
  }
  return true;
}

}  // namespace quillet
