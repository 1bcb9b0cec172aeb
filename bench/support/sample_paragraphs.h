#pragma once
// A document of generated paragraphs: the sample words of sample_document.h
// in text styles 0 to 3 and paragraph styles 0 and 1, the same for a seed.
#include <cstdint>
#include <string>
#include <vector>

#include "bench/support/sample_document.h"
#include "engine/model/dv_data.h"

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

}  // namespace quillet::bench
