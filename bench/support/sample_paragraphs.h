#pragma once
// A document of generated paragraphs: the sample words of sample_document.h
// in text styles 0 to 3 and paragraph styles 0 and 1, the same for a seed.
#include <cstdint>
#include <string>
#include <vector>

#include "bench/support/sample_document.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"

namespace quillet::bench {

inline void AddSampleParagraphs(TCustomDVData& document, int paragraphs, uint32_t seed = 7) {
  SampleRandom rnd(seed);
  const std::vector<std::string> chinese = SampleChineseWords(rnd);
  const std::vector<std::string> latin = SampleLatinWords();
  for (int i = 0; i < paragraphs; ++i) {
    const uint32_t words = 6 + rnd.Next() % 14;
    document.AddNL(SampleParagraph(rnd, chinese, latin, words), static_cast<int32_t>(rnd.Next() % 4),
                   static_cast<int32_t>(rnd.Next() % 2));
  }
}

// Text styles 1 to 3 in fonts of their own, as the RTF benchmarks write
// them: Times New Roman, 宋体 in GB2312 and bold Courier New.
inline void SetSampleFonts(TDVStyle& style) {
  TFontInfos& fonts = style.TextStyles();
  fonts[1].FontName = "Times New Roman";
  fonts[2].FontName = Utf8ToAnsi("宋体");
  fonts[2].Charset = 134;
  fonts[3].FontName = "Courier New";
  fonts[3].Style = fsBold;
}

}  // namespace quillet::bench
