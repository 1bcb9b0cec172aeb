#include "engine/text/line_break.h"

#include <algorithm>

namespace quillet {

namespace {
constexpr TDVBreakAction D = bk_DBK, I = bk_IBK, P = bk_PBK;
}  // namespace

const TDVBreakAction BreakPairs[DVU_LINE_BREAK_CLASS_COUNT][DVU_LINE_BREAK_CLASS_COUNT] = {
    //       OP CL QU GL NS EX SY IS PR PO NU AL ID IN HY BA BB B2 ZW CM
    /* OP */ {P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, P, I},
    /* CL */ {D, P, I, I, P, P, P, P, D, I, D, D, D, D, I, I, D, D, P, I},
    /* QU */ {P, P, I, I, I, P, P, P, I, I, I, I, I, I, I, I, I, I, P, I},
    /* GL */ {I, P, I, I, I, P, P, P, I, I, I, I, I, I, I, I, I, I, P, I},
    /* NS */ {D, P, I, I, I, P, P, P, D, D, D, D, D, D, I, I, D, D, P, I},
    /* EX */ {D, P, I, I, I, P, P, P, D, D, D, D, D, D, I, I, D, D, P, I},
    /* SY */ {D, P, I, I, I, P, P, P, D, D, I, D, D, D, I, I, D, D, P, I},
    /* IS */ {D, P, I, I, I, P, P, P, D, D, I, D, D, D, I, I, D, D, P, I},
    /* PR */ {I, P, I, I, I, P, P, P, D, D, I, I, I, D, I, I, D, D, P, I},
    /* PO */ {D, P, I, I, I, P, P, P, D, D, D, D, D, D, I, I, D, D, P, I},
    /* NU */ {D, P, I, I, I, P, P, P, D, I, I, I, D, I, I, I, D, D, P, I},
    /* AL */ {D, P, I, I, I, P, P, P, D, D, I, I, D, I, I, I, D, D, P, I},
    /* ID */ {D, P, I, I, I, P, P, P, D, I, D, D, D, I, I, I, D, D, P, I},
    /* IN */ {D, P, I, I, I, P, P, P, D, D, D, D, D, I, I, I, D, D, P, I},
    /* HY */ {D, P, I, I, I, P, P, P, D, D, D, D, D, D, I, I, D, D, P, I},
    /* BA */ {D, P, I, I, I, P, P, P, D, D, D, D, D, D, I, I, D, D, P, I},
    /* BB */ {I, P, I, I, I, P, P, P, I, I, I, I, I, I, I, I, I, I, P, I},
    /* B2 */ {D, P, I, I, I, P, P, P, D, D, D, D, D, D, I, I, D, P, P, I},
    /* ZW */ {D, D, D, D, D, D, D, D, D, D, D, D, D, D, D, D, D, D, P, I},
    /* CM */ {D, P, I, I, I, P, P, P, D, D, I, I, D, I, I, I, D, D, P, I},
};

TDVLineBreakClass GetCharLineBreakClass(char16_t ch) {
  const TDVLineBreakRun* end = kLineBreakRuns + kLineBreakRunCount;
  const TDVLineBreakRun* next =
      std::upper_bound(kLineBreakRuns, end, ch, [](char16_t c, const TDVLineBreakRun& run) { return c < run.First; });
  return (next - 1)->Class;
}

namespace {

char16_t UnitAt(std::string_view text, int i) {
  return static_cast<char16_t>(static_cast<uint8_t>(text[2 * i]) | (static_cast<uint8_t>(text[2 * i + 1]) << 8));
}

constexpr char16_t kSpace = 32;

// The search over `count` characters, unit(i) giving character i.
template <class Unit>
int FindLineBreak(Unit unit, int count, int pos) {
  if (pos < 0 || pos >= count) return -1;
  if (unit(pos) == kSpace) return pos;
  TDVLineBreakClass after = GetCharLineBreakClass(unit(pos));
  int i = pos - 1;
  for (; i >= 0; --i) {
    const char16_t ch = unit(i);
    if (ch == kSpace) continue;
    const TDVLineBreakClass before = GetCharLineBreakClass(ch);
    TDVBreakAction action = BreakPairs[before][after];
    if (action == bk_IBK) action = unit(i + 1) == kSpace ? bk_DBK : bk_PBK;
    if (action == bk_DBK) break;
    after = before;
  }
  if (i < 0) return -1;
  // The spaces after the break stay on the line.
  while (i + 1 < pos && unit(i + 1) == kSpace) ++i;
  return i;
}

}  // namespace

int DVU_FindLineBreak(std::string_view text, int pos) {
  const int count = static_cast<int>(std::min<size_t>(text.size() / 2, INT32_MAX));
  return FindLineBreak([text](int i) { return UnitAt(text, i); }, count, pos);
}

int DVU_FindLineBreakUnits(std::u16string_view units, int pos) {
  const int count = static_cast<int>(std::min<size_t>(units.size(), INT32_MAX));
  return FindLineBreak([units](int i) { return units[static_cast<size_t>(i)]; }, count, pos);
}

}  // namespace quillet
