#pragma once
// Line-breaking classes of UTF-16 code units and the search for the place
// where a line of UTF-16 text may end.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillet {

enum TDVLineBreakClass : uint8_t {
  dvu_lb_OP,  // opening punctuation
  dvu_lb_CL,  // closing punctuation
  dvu_lb_QU,  // quotation
  dvu_lb_GL,  // non-breaking glue
  dvu_lb_NS,  // non-starter
  dvu_lb_EX,  // exclamation / interrogation
  dvu_lb_SY,  // symbols allowing a break after
  dvu_lb_IS,  // infix separator
  dvu_lb_PR,  // prefix
  dvu_lb_PO,  // postfix
  dvu_lb_NU,  // numeric
  dvu_lb_AL,  // alphabetic, and everything without a class of its own
  dvu_lb_ID,  // ideographic
  dvu_lb_IN,  // inseparable
  dvu_lb_HY,  // hyphen
  dvu_lb_BA,  // break after
  dvu_lb_BB,  // break before
  dvu_lb_B2,  // break on either side
  dvu_lb_ZW,  // zero-width space
  dvu_lb_CM,  // combining mark
};
constexpr int DVU_LINE_BREAK_CLASS_COUNT = dvu_lb_CM + 1;

enum TDVBreakAction : uint8_t {
  bk_DBK = 0,  // a break is allowed
  bk_IBK = 1,  // allowed only when spaces stand between the two characters
  bk_PBK = 2,  // no break
};

// Row: class of the character before the candidate break; column: class of
// the character after it.
extern const TDVBreakAction BreakPairs[DVU_LINE_BREAK_CLASS_COUNT][DVU_LINE_BREAK_CLASS_COUNT];

TDVLineBreakClass GetCharLineBreakClass(char16_t ch);

// The class table as runs: each entry starts a run of code units of one
// class that lasts until the next entry (generated, line_break_table.cpp).
struct TDVLineBreakRun {
  uint16_t First;
  TDVLineBreakClass Class;
};
extern const TDVLineBreakRun kLineBreakRuns[];
extern const size_t kLineBreakRunCount;

// Where a line of UTF-16 text ends. `text` holds UTF-16LE code units, two
// bytes each (an odd last byte is ignored), starting at the first character
// still to be placed; `pos` (0-based) is how many characters fit, so unit
// `pos` is the first that does not. Answers the 0-based index of the last
// unit that stays on the line (the spaces after a break stay with it), or -1
// when the text allows no break before `pos` (also when `pos` is outside the
// text).
int DVU_FindLineBreak(std::string_view text, int pos);
// The same search over characters given as one UTF-16 unit each: 8-bit text
// maps its characters to units this way, so that it breaks where the same
// text in a Unicode item does.
int DVU_FindLineBreakUnits(std::u16string_view units, int pos);

}  // namespace quillet
