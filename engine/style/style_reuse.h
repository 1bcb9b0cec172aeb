#pragma once
// A style for a changed copy of one: an existing style when one equals it,
// else the copy appended, so that changing the text or paragraphs of a
// selection does not grow the style sheet with duplicates.
#include "engine/style/para_style.h"
#include "engine/style/text_style.h"

namespace quillet {

// The index of a style equal to the sample in every property, baseStyle
// first; else the sample's, appended as a style of its own (not standard).
int FindOrAddTextStyle(TFontInfos& styles, int baseStyle, const TFontInfo& sample);
// The same for paragraphs; the sample's NextParaNo is taken as an index of
// this collection.
int FindOrAddParaStyle(TParaInfos& styles, int baseStyle, const TParaInfo& sample);

}  // namespace quillet
