#include "engine/style/style_reuse.h"

namespace quillet {

int FindOrAddTextStyle(TFontInfos& styles, int baseStyle, const TFontInfo& sample) {
  const int found = styles.FindSuchStyle(baseStyle, sample, DVAllFontInfoProperties);
  if (found >= 0) return found;
  TFontInfo& added = styles.Add();
  added.Assign(sample);
  added.Standard = false;
  return styles.Count() - 1;
}

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
