#pragma once
// Upper-casing of UTF-16 code units, one unit to one, so that positions in a
// text stay valid.
#include <cstddef>
#include <cstdint>

namespace quillet {

// The simple upper-case mapping of a code unit; the unit itself when it has
// none, or when its upper case is not a single code unit.
char16_t DVU_UpperCaseUnit(char16_t c);

// The mapping as runs (generated, upper_case_table.cpp): the units First,
// First + Step, ... up to Last map to the unit Delta away.
struct TDVUpperCaseRun {
  uint16_t First, Last;
  uint8_t Step;
  int32_t Delta;
};
extern const TDVUpperCaseRun kUpperCaseRuns[];
extern const size_t kUpperCaseRunCount;

}  // namespace quillet
