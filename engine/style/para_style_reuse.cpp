#include "engine/style/para_style_reuse.h"

namespace quillet {

int FindOrAddParaStyle(TParaInfos& styles, int baseStyle, const TParaInfo& sample) {
  const int found = styles.FindSuchStyle(baseStyle, sample, DVAllParaInfoProperties);
  if (found >= 0) return found;
  TParaInfo& added = styles.Add();
  added.Assign(sample);
  // Assign leaves the next style out (it may name another collection's).
  added.NextParaNo = sample.NextParaNo;
  added.Standard = false;
  return styles.Count() - 1;
}

}  // namespace quillet
