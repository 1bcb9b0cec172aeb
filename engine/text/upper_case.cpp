#include "engine/text/upper_case.h"

#include <algorithm>

namespace quillet {

char16_t DVU_UpperCaseUnit(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
  const TDVUpperCaseRun* end = kUpperCaseRuns + kUpperCaseRunCount;
  const TDVUpperCaseRun* run =
      std::upper_bound(kUpperCaseRuns, end, c, [](char16_t u, const TDVUpperCaseRun& r) { return u < r.First; });
  if (run == kUpperCaseRuns) return c;
  --run;
  if (c > run->Last || (c - run->First) % run->Step != 0) return c;
  return static_cast<char16_t>(c + run->Delta);
}

}  // namespace quillet
