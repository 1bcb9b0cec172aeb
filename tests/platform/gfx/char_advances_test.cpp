// Cached character advances: a piece measured from the summed advances is
// what the canvas itself answers for that piece, on both canvases.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "platform/core/code_page.h"
#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

// Width of units [from, to) by the canvas contract: advances summed and
// rounded, plus the extra after every character.
int32_t SumWidth(const std::vector<int32_t>& adv, size_t from, size_t to, int32_t extra) {
  int64_t sum = 0, chars = 0;
  for (size_t i = from; i < to; ++i)
    if (adv[i] >= 0) {
      sum += adv[i];
      ++chars;
    }
  return static_cast<int32_t>(((sum + 32) >> 6) + chars * extra);
}

// Every piece that starts and ends on a character boundary.
void ExpectPiecesAgree(TCanvas& canvas, const std::string& text8, const std::u16string& text16) {
  std::vector<int32_t> adv;
  canvas.CharAdvancesA(text8, adv);
  ASSERT_EQ(adv.size(), text8.size());
  for (size_t from = 0; from < text8.size(); ++from) {
    if (adv[from] < 0) continue;
    for (size_t to = from + 1; to <= text8.size(); ++to) {
      if (to < text8.size() && adv[to] < 0) continue;
      EXPECT_EQ(SumWidth(adv, from, to, canvas.GetTextCharacterExtra()),
                canvas.TextExtentA(text8.substr(from, to - from)).cx)
          << from << ".." << to;
    }
  }
  canvas.CharAdvancesW(text16, adv);
  ASSERT_EQ(adv.size(), text16.size());
  for (size_t from = 0; from < text16.size(); ++from) {
    if (adv[from] < 0) continue;
    for (size_t to = from + 1; to <= text16.size(); ++to) {
      if (to < text16.size() && adv[to] < 0) continue;
      EXPECT_EQ(SumWidth(adv, from, to, canvas.GetTextCharacterExtra()),
                canvas.TextExtentW(text16.substr(from, to - from)).cx)
          << from << ".." << to;
    }
  }
}

const std::string kMixed8 = "ab \xD6\xD0\xCE\xC4 Wi\xB9\xFA, ij\x81";  // a lone lead byte at the end
const std::u16string kMixed16 = u"ab 中文 Wi国, ij\U0001F600x";

TEST(CharAdvances, RecordingCanvasPiecesMatchExtents) {
  TRecordingCanvas canvas;
  canvas.Font().Height = -13;
  canvas.Font().Charset = GB2312_CHARSET;
  ExpectPiecesAgree(canvas, kMixed8, kMixed16);
  canvas.SetTextCharacterExtra(2);
  ExpectPiecesAgree(canvas, kMixed8, kMixed16);
  std::vector<int32_t> adv;
  canvas.CharAdvancesA("a\xD6\xD0", adv);
  EXPECT_EQ(adv, (std::vector<int32_t>{6 * 64, 13 * 64, -1}));
}

TEST(CharAdvances, QtCanvasPiecesMatchExtents) {
  QImage image(10, 10, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  canvas.Font().Name = "宋体";
  canvas.Font().Height = -15;
  canvas.Font().Charset = GB2312_CHARSET;
  ExpectPiecesAgree(canvas, kMixed8, kMixed16);
  canvas.Font().Name = "Arial";
  canvas.Font().Style = fsBold | fsItalic;
  canvas.SetTextCharacterExtra(1);
  ExpectPiecesAgree(canvas, kMixed8, kMixed16);
}

TEST(CodePageUnits, CharactersConvertOnceAndStayWhole) {
  TCodePageUnits units(936);
  const std::string text = "a\xD6\xD0\x81 ";
  uint16_t code;
  EXPECT_EQ(units.CharAt(text, 0, code), 1u);
  EXPECT_EQ(units.Unit(code), u'a');
  EXPECT_EQ(units.CharAt(text, 1, code), 2u);
  EXPECT_EQ(code, 0xD6D0);
  EXPECT_EQ(units.Unit(code), u'中');
  EXPECT_EQ(units.CharAt(text, 3, code), 1u);  // a lead byte before a space stands alone
  EXPECT_EQ(units.Unit(code), u'\xFFFD');
  EXPECT_EQ(units.Unit(0), u'\0');
}

}  // namespace
}  // namespace quillet
