#include "engine/text/item_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <vector>

#include "engine/base/doc_view_error.h"
#include "platform/core/code_page.h"
#include "platform/gfx/recording_canvas.h"
#include "text_test_util.h"

namespace quillet {
namespace {

using test::U16;

const std::string kZhong = "\xD6\xD0";  // 中 in code page 936
const std::string kWen = "\xCE\xC4";    // 文

struct Form {
  const char* name;
  TDVItemOptions options;
  // a, a two-unit character, b, a two-unit character: six units either way.
  std::string text;
  std::string wide1, wide2;  // the two-unit characters alone
  std::string Piece(const std::string& ascii) const {
    return options & dvioUnicode ? U16(std::u16string(ascii.begin(), ascii.end())) : ascii;
  }
};

const Form kForms[] = {
    {"double-byte", 0, "a" + kZhong + "b" + kWen, kZhong, kWen},
    {"surrogate pairs", dvioUnicode, U16(u"a\U0001F600b\U0001F601"), U16(u"\U0001F600"), U16(u"\U0001F601")},
};

TEST(ItemText, LengthCopyDeleteInsertKeepCharactersWhole) {
  for (const Form& f : kForms) {
    SCOPED_TRACE(f.name);
    const std::string a = f.Piece("a"), b = f.Piece("b");
    EXPECT_EQ(DVU_Length(f.text, f.options), 6);
    struct Case {
      int index, count;
      std::string copied;
    } copies[] = {
        {1, 1, a},
        {1, 3, a + f.wide1},
        {2, 1, f.wide1},         // ends inside a character: takes it whole
        {3, 1, f.wide1},         // starts inside one: from its start
        {3, 2, f.wide1 + b},
        {4, 3, b + f.wide2},
        {4, 99, b + f.wide2},    // cut at the end
        {0, 1, a},               // below 1 counts as 1
        {7, 1, ""},
        {2, 0, ""},
        {2, -5, ""},
        {2, INT32_MAX, f.wide1 + b + f.wide2},
    };
    for (const auto& c : copies) {
      SCOPED_TRACE(testing::Message() << c.index << ',' << c.count);
      EXPECT_EQ(DVU_Copy(f.text, c.index, c.count, f.options, 936), c.copied);
      std::string deleted = f.text;
      DVU_Delete(deleted, c.index, c.count, f.options, 936);
      EXPECT_EQ(deleted.size() + c.copied.size(), f.text.size());
      EXPECT_EQ(DVU_Length(deleted, f.options) + DVU_Length(c.copied, f.options), 6);
    }
    std::string s = f.text;
    DVU_Delete(s, 3, 1, f.options, 936);
    EXPECT_EQ(s, a + b + f.wide2);

    struct Insert {
      int index;
      std::string expected;
    } inserts[] = {
        {1, b + f.text},
        {2, a + b + f.wide1 + b + f.wide2},
        {3, a + b + f.wide1 + b + f.wide2},  // inside a character: before it
        {7, f.text + b},
        {99, f.text + b},
        {-3, b + f.text},
    };
    for (const auto& c : inserts) {
      std::string t = f.text;
      DVU_Insert(b, t, c.index, f.options, 936);
      EXPECT_EQ(t, c.expected) << c.index;
    }
  }
}

TEST(ItemText, UnicodeTextTakesWholeUnitsOnly) {
  std::string s = U16(u"ab");
  EXPECT_THROW(
      {
        try {
          DVU_Insert("x", s, 1, dvioUnicode, CP_ACP);
        } catch (const EDocViewError& e) {
          EXPECT_STREQ(e.what(), "Can't perform Unicode operation");
          throw;
        }
      },
      EDocViewError);
  EXPECT_EQ(s, U16(u"ab"));
  EXPECT_NO_THROW(DVCheckUni(4));
  EXPECT_THROW(DVCheckUni(3), EDocViewError);
  EXPECT_EQ(DVU_Length(U16(u"abc") + "x", dvioUnicode), 3);
  EXPECT_EQ(DVU_Units(U16(u"a中") + "x"), u"a中");
  EXPECT_EQ(DVU_UnitBytes(u"a中"), U16(u"a中"));
}

TEST(ItemText, Spaces) {
  struct Case {
    std::string text;
    TDVItemOptions options;
    int index;
    bool space;
  } cases[] = {
      {"a b", 0, 2, true},          {"a b", 0, 1, false},        {"a b", 0, 0, false},
      {"a b", 0, 4, false},         {U16(u"a b"), dvioUnicode, 2, true},
      {U16(u"a\u2020"), dvioUnicode, 2, false},  // low byte 32, high byte not 0
      {U16(u"a b"), dvioUnicode, 4, false},
  };
  for (const auto& c : cases) EXPECT_EQ(DVU_IsSpace(c.text, c.index, c.options), c.space) << c.index;
}

TEST(ItemText, CaretStepsOverWholeCharacters) {
  struct Case {
    const char* what;
    std::string text;
    TDVItemOptions options;
    std::vector<int> stops;  // every caret position from 1 to Length + 1
  } cases[] = {
      {"double-byte", "a" + kZhong + "b" + kWen, 0, {1, 2, 4, 5, 7}},
      {"single-byte code page", "a\xD6\xD0", 0, {1, 2, 3, 4}},  // stepped in 1252 below
      {"surrogate pair", U16(u"a\U0001F600b"), dvioUnicode, {1, 2, 4, 5}},
      {"combining marks", U16(u"e\u0301\u0302x"), dvioUnicode, {1, 4, 5}},
      {"empty", "", 0, {1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const int cp = std::string(c.what) == "single-byte code page" ? 1252 : 936;
    for (size_t k = 0; k + 1 < c.stops.size(); ++k) {
      EXPECT_EQ(DVU_NextCharIndex(c.text, c.stops[k], c.options, cp), c.stops[k + 1]);
      EXPECT_EQ(DVU_PrevCharIndex(c.text, c.stops[k + 1], c.options, cp), c.stops[k]);
    }
    const int end = c.stops.back();
    EXPECT_EQ(DVU_NextCharIndex(c.text, end, c.options, cp), end);
    EXPECT_EQ(DVU_PrevCharIndex(c.text, 1, c.options, cp), 1);
  }
  // From inside a character: to the next one, and back to its start.
  const std::string dbcs = "a" + kZhong + "b";
  EXPECT_EQ(DVU_NextCharIndex(dbcs, 3, 0, 936), 4);
  EXPECT_EQ(DVU_PrevCharIndex(dbcs, 3, 0, 936), 2);
}

TEST(ItemText, ScanAndSwapUnits) {
  EXPECT_EQ(DVU_StrScanW(U16(u"ab\u2029c\u2029"), 0x2029), 2);
  EXPECT_EQ(DVU_StrScanW(U16(u"abc"), u'x'), -1);
  EXPECT_EQ(DVU_StrScanW("", u'a'), -1);
  EXPECT_EQ(DVU_StrScanW(std::string("\x20\x29", 2), 0x2029), -1);  // big-endian bytes are another unit
  std::string big("\x4E\x2D\x00\x61\x07", 5);
  DVU_SwapWordBytes(big);
  EXPECT_EQ(big, U16(u"中a") + "\x07");
}

class ItemTextMeasure : public testing::Test {
 protected:
  void SetUp() override {
    canvas.Font().Height = -10;  // half-width 5, full-width 10
    canvas.Font().Charset = GB2312_CHARSET;
  }
  TRecordingCanvas canvas;
};

TEST_F(ItemTextMeasure, FitNeverSplitsACharacter) {
  for (const Form& f : kForms) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(DVU_TextWidth(f.text, canvas, f.options), 30);
    struct Case {
      int32_t maxExtent;
      int fit;
    } cases[] = {{-1, 0}, {4, 0}, {5, 1}, {14, 1}, {15, 3}, {20, 4}, {29, 4}, {30, 6}, {1000, 6}};
    for (const auto& c : cases) {
      std::vector<int32_t> dx;
      EXPECT_EQ(DVU_GetTextExtentExPoint(canvas, f.text, c.maxExtent, f.options, &dx), c.fit) << c.maxExtent;
      EXPECT_EQ(dx, (std::vector<int32_t>{5, 15, 15, 20, 30, 30}));
    }
    TSize size;
    EXPECT_EQ(DVU_GetTextExtentExPointPC(canvas, f.text, size, f.options, nullptr, 17), 3);
    EXPECT_EQ(size, (TSize{30, 10}));
  }
  std::vector<int32_t> dx{1};
  EXPECT_EQ(DVU_GetTextExtentExPoint(canvas, "", 100, 0, &dx), 0);
  EXPECT_TRUE(dx.empty());
  canvas.SetTextCharacterExtra(2);
  EXPECT_EQ(DVU_GetTextExtentExPoint(canvas, "ab", 13, 0, nullptr), 1);  // 7, 14
}

// A canvas that places "ab" followed by two Hebrew letters as a Hebrew
// renderer would: the letters swap places.
class TBiDiCanvas : public TRecordingCanvas {
 public:
  bool GetCharacterPlacementW(std::u16string_view text, TCharacterPlacement& p) override {
    asked = std::u16string(text);
    if (!answer) return false;
    p = *answer;
    return true;
  }
  std::optional<TCharacterPlacement> answer =
      TCharacterPlacement{{0, 1, 3, 2}, {5, 5, 5, 5}, {GCPCLASS_LATIN, GCPCLASS_LATIN, GCPCLASS_HEBREW, GCPCLASS_HEBREW}};
  std::u16string asked;
};

const std::u16string kMixed = u"ab\u05D0\u05D1";

TEST(ItemTextBiDi, CaretPositionsFollowTheVisualOrder) {
  TBiDiCanvas canvas;
  std::vector<int32_t> pos;
  ASSERT_TRUE(DVU_GetTextCaretPos(canvas, U16(kMixed), pos, dvioUnicode));
  EXPECT_EQ(pos, (std::vector<int32_t>{0, 6, 11, 15, 10}));

  // 8-bit text in a single-byte code page is placed through its UTF-16 form.
  canvas.Font().Charset = HEBREW_CHARSET;
  ASSERT_TRUE(DVU_GetTextCaretPos(canvas, "ab\xE0\xE1", pos, 0));
  EXPECT_EQ(canvas.asked, kMixed);
  EXPECT_EQ(pos, (std::vector<int32_t>{0, 6, 11, 15, 10}));

  struct Refusal {
    const char* what;
    std::optional<TCharacterPlacement> answer;
  } refusals[] = {
      {"no placement", std::nullopt},
      {"order not a permutation", TCharacterPlacement{{0, 1, 1, 2}, {5, 5, 5, 5}, {1, 1, 2, 2}}},
      {"order out of range", TCharacterPlacement{{0, 1, 4, 2}, {5, 5, 5, 5}, {1, 1, 2, 2}}},
      {"entries missing", TCharacterPlacement{{0, 1, 3, 2}, {5, 5}, {1, 1, 2, 2}}},
  };
  for (const auto& r : refusals) {
    canvas.answer = r.answer;
    pos = {7};
    EXPECT_FALSE(DVU_GetTextCaretPos(canvas, U16(kMixed), pos, dvioUnicode)) << r.what;
    EXPECT_EQ(pos, std::vector<int32_t>{7}) << r.what;
  }
  TRecordingCanvas plain;  // draws in logical order: no placement
  EXPECT_FALSE(DVU_GetTextCaretPos(plain, U16(kMixed), pos, dvioUnicode));
  canvas.Font().Charset = GB2312_CHARSET;
  canvas.answer = TCharacterPlacement{{0, 1, 2}, {5, 10, 5}, {1, 1, 1}};
  EXPECT_FALSE(DVU_GetTextCaretPos(canvas, "a" + kZhong + "b", pos, 0));  // bytes are not units
}

TEST(ItemTextBiDi, SelectionIsDrawnInVisualRuns) {
  struct Case {
    int selStart, selEnd;
    std::vector<std::string> drawn;
  } cases[] = {
      // b and alef are neighbours in logic, not on screen: two runs.
      {2, 3, {"FillRect 15,20,20,32", "TextW 15,20 \"b\"", "FillRect 25,20,30,32", "TextW 25,20 \"\u05D0\""}},
      // alef and bet run right to left: one run, drawn from bet's left.
      {3, 4, {"FillRect 20,20,30,32", "TextW 20,20 \"\u05D0\u05D1\""}},
      {1, 2, {"FillRect 10,20,20,32", "TextW 10,20 \"ab\""}},
      {0, 99, {"FillRect 10,20,20,32", "TextW 10,20 \"ab\"", "FillRect 20,20,30,32", "TextW 20,20 \"\u05D0\u05D1\""}},
      {3, 2, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.selStart << ".." << c.selEnd);
    TBiDiCanvas canvas;
    ASSERT_TRUE(DVU_DrawSelectedTextEx(10, 20, 12, U16(kMixed), canvas, c.selStart, c.selEnd, dvioUnicode, true));
    std::vector<std::string> drawn;
    for (const TCanvasRecord& r : canvas.Log()) {
      if (r.Kind == TCanvasOp::FillRect || r.Kind == TCanvasOp::TextW) {
        drawn.push_back(r.ToString());
        EXPECT_TRUE(r.HasClip);
        EXPECT_EQ(r.Clip.Top, 20);
        EXPECT_EQ(r.Clip.Bottom, 32);
      }
    }
    EXPECT_EQ(drawn, c.drawn);
    EXPECT_FALSE(canvas.HasClip());  // the clip is the run's only
  }
  TBiDiCanvas canvas;
  EXPECT_FALSE(DVU_DrawSelectedTextEx(10, 20, 12, U16(kMixed), canvas, 1, 4, dvioUnicode, false));
  canvas.answer.reset();
  EXPECT_FALSE(DVU_DrawSelectedTextEx(10, 20, 12, U16(kMixed), canvas, 1, 4, dvioUnicode, true));
  EXPECT_TRUE(canvas.Log().empty());
}

}  // namespace
}  // namespace quillet
