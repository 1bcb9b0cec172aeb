#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/export/export_test_util.h"
#include "engine/base/doc_view_error.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "platform/core/code_page.h"

namespace quillet {
namespace {

using namespace std::string_literals;
using test::Outline;
using test::ExportData;
using test::ObjectItem;
using test::StreamOf;

// UTF-16 bytes of text in the given byte order, with or without a mark.
enum class Utf16Form { LE, LEMark, BEMark };
std::string Utf16(std::u16string_view text, Utf16Form form) {
  std::string out;
  auto put = [&](char16_t c) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    if (form == Utf16Form::BEMark)
      out += hi, out += lo;
    else
      out += lo, out += hi;
  };
  if (form != Utf16Form::LE) put(0xFEFF);
  for (char16_t c : text) put(c);
  return out;
}

std::string Gbk(std::string_view utf8) { return Utf8ToAnsi(utf8); }

// Text style 1 holds UTF-16; the system code page is 936.
class TextLoadTest : public testing::Test {
 protected:
  void SetUp() override {
    style.TextStyles()[1].Unicode = true;
    data.SetDVStyle(&style);
  }
  TDVStyle style;
  ExportData data;
};

struct LineCase {
  const char* name;
  std::string text;  // UTF-8; line ends and controls as written
  const char* single;  // loaded as paragraphs
};

const std::vector<LineCase> kLineCases = {
    {"CRLF", "a\r\nb", "|[a]|[b]"},
    {"LF", "a\nb", "|[a]|[b]"},
    {"CR", "a\rb", "|[a]|[b]"},
    {"LFCR", "a\n\rb", "|[a]|[b]"},
    {"BlankLineLF", "a\n\nb", "|[a]|[]|[b]"},
    {"BlankLineCR", "a\r\rb", "|[a]|[]|[b]"},
    {"BlankLineCRLF", "a\r\n\r\nb", "|[a]|[]|[b]"},
    {"BlankLineLFCR", "a\n\r\n\rb", "|[a]|[]|[b]"},
    {"Mixed", "a\r\n\nb\rc", "|[a]|[]|[b]|[c]"},
    {"FormFeed", "a\fb", "|[a]|^[b]"},
    {"FormFeedLine", "a\n\f\nb", "|[a]|^[b]"},
    {"Chinese", "中文\n汉字", "|[中文]|[汉字]"},
};

TEST_F(TextLoadTest, EightBitLineEnds) {
  for (const LineCase& c : kLineCases) {
    for (int styleNo : {0, 1}) {
      SCOPED_TRACE(std::string(c.name) + " style " + std::to_string(styleNo));
      data.Clear();
      TMemoryStream stream = StreamOf(Gbk(c.text));
      ASSERT_TRUE(data.LoadTextFromStream(stream, styleNo, 0, false));
      EXPECT_EQ(Outline(data), c.single);
      for (int i = 0; i < data.ItemCount(); ++i) EXPECT_EQ(data.GetItem(i)->IsUnicode(), styleNo == 1);
    }
  }
}

TEST_F(TextLoadTest, Utf16LineEndsInEveryByteOrder) {
  // A UTF-16 text keeps a line end at its very end as an empty last line.
  for (const LineCase& c : kLineCases) {
    for (Utf16Form form : {Utf16Form::LE, Utf16Form::LEMark, Utf16Form::BEMark}) {
      for (int styleNo : {0, 1}) {
        SCOPED_TRACE(std::string(c.name) + " form " + std::to_string(int(form)) + " style " + std::to_string(styleNo));
        data.Clear();
        TMemoryStream stream = StreamOf(Utf16(Utf8ToUtf16(c.text), form));
        ASSERT_TRUE(data.LoadTextFromStreamW(stream, styleNo, 0, false));
        EXPECT_EQ(Outline(data), c.single);
      }
    }
  }
}

TEST_F(TextLoadTest, EightBitSpecialCharacters) {
  struct Case {
    std::string text;
    const char* expected;
  } cases[] = {
      {"", ""},
      {"\n", "|[]"},
      {"a\r\n", "|[a]"},
      {"a\0b"s, "|[a?b]"},
      {"a\tb", "|[a        b]"},
      {"\fa", "|^[a]"},
      {"a\f", "|[a]"},
      {"a\f\fb", "|[a]|^[b]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    data.Clear();
    TMemoryStream stream = StreamOf(c.text);
    ASSERT_TRUE(data.LoadTextFromStream(stream, 0, 0, false));
    EXPECT_EQ(Outline(data), c.expected);
  }
}

// A document that has no page breaks keeps the form feed in the text.
class NoPageBreaks : public ExportData {
 public:
  bool SupportsPageBreaks() const override { return false; }
};

TEST_F(TextLoadTest, FormFeedWithoutPageBreaks) {
  NoPageBreaks doc;
  TMemoryStream stream = StreamOf("a\fb");
  ASSERT_TRUE(doc.LoadTextFromStream(stream, 0, 0, false));
  EXPECT_EQ(Outline(doc), "|[a\fb]");
  doc.Clear();
  doc.AddTextNLW(test::U16(u"a\fb"), 0, 0, 0, false);
  EXPECT_EQ(Outline(doc), "|[a]|[b]");
}

TEST_F(TextLoadTest, Utf16Separators) {
  struct Case {
    std::u16string text;
    bool single;
    int32_t firstPara;
    const char* expected;
  } cases[] = {
      {u"a\u2029b", false, 0, "|[a]|[b]"},
      {u"a\u2028b", false, 0, "|[a]/[b]"},
      {u"a\vb", false, 0, "|[a]/[b]"},
      {u"a"s + u'\0' + u"b", false, 0, "|[a]/[b]"},
      {u"a\r\nb\nc", true, 0, "|[a]/[b]/[c]"},
      {u"a\u2029b\nc", true, 0, "|[a]|[b]/[c]"},
      {u"a\fb", false, 0, "|[a]|^[b]"},
      {u"a\r\n\fb", false, 0, "|[a]|^[b]"},
      {u"\r\nb", false, 0, "|[]|[b]"},
      {u"a\r\n", false, 0, "|[a]|[]"},
      // Text that continues the last paragraph: an empty first line adds
      // nothing there, but the text after the line end is a paragraph.
      {u"x\r\nb", false, -1, "|[z][x]|[b]"},
      {u"\r\nb", false, -1, "|[z]|[b]"},
      {u"", false, 0, "|[z]|[]"},
      {u"", false, -1, "|[z]"},
      {u"\U0001F600\u4E2D", false, 0, "|[z]|[😀中]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.text));
    data.Clear();
    if (c.firstPara == -1 || c.text.empty() || c.text[0] == 0xD83D) data.AddNL("z", 0, 0);
    data.AddTextNLW(test::U16(c.text), 1, c.firstPara, 0, c.single);
    EXPECT_EQ(Outline(data), c.expected);
    EXPECT_TRUE(data.AllowNewPara());
  }
}

TEST_F(TextLoadTest, Utf16ToEightBitStyleKeepsWholeCharacters) {
  data.AddTextNLW(test::U16(u"中文\r\nab"), 0, 0, 0, false);
  ASSERT_EQ(data.ItemCount(), 2);
  EXPECT_EQ(data.GetItemTextR(0), Gbk("中文"));
  EXPECT_FALSE(data.GetItem(0)->IsUnicode());
}

TEST_F(TextLoadTest, SingleParagraphMakesLineBreaks) {
  TMemoryStream stream = StreamOf("a\nb\nc");
  ASSERT_TRUE(data.LoadTextFromStream(stream, 0, 1, true));
  EXPECT_EQ(Outline(data), "|[a]/[b]/[c]");
  EXPECT_EQ(data.GetItemPara(2), 1);
  EXPECT_TRUE(data.AllowNewPara());
  TMemoryStream w = StreamOf(Utf16(u"d\ne", Utf16Form::LEMark));
  ASSERT_TRUE(data.LoadTextFromStreamW(w, 0, 1, true));
  EXPECT_EQ(Outline(data), "|[a]/[b]/[c]|[d]/[e]");
}

TEST_F(TextLoadTest, AddParagraphModeRestoredWhenAnInsertionFails) {
  for (bool unicode : {false, true}) {
    SCOPED_TRACE(unicode);
    data.Clear();
    data.SetAddParagraphMode(true);
    data.failAt = 1;
    if (unicode) {
      EXPECT_THROW(data.AddTextNLW(test::U16(u"a\nb\nc"), 0, 0, 0, true), std::runtime_error);
    } else {
      TMemoryStream stream = StreamOf("a\nb\nc");
      EXPECT_THROW(data.LoadTextFromStream(stream, 0, 0, true), std::runtime_error);
    }
    EXPECT_TRUE(data.AllowNewPara());
    EXPECT_EQ(Outline(data), "|[a]");
    data.failAt = -1;
  }
}

TEST_F(TextLoadTest, OddLengthUtf16) {
  data.AddNL("keep", 0, 0);
  for (const std::string& bytes : {"a\0b"s, "\xFF\xFE" "a"s, "x"s}) {
    TMemoryStream stream = StreamOf(bytes);
    EXPECT_FALSE(data.LoadTextFromStreamW(stream, 0, 0, false));
  }
  EXPECT_EQ(Outline(data), "|[keep]");
  try {
    data.AddTextNLW("abc", 0, 0, 0, false);
    FAIL() << "odd text accepted";
  } catch (const EDocViewError& e) {
    EXPECT_STREQ(e.what(), "Can't perform Unicode operation");
  }
  EXPECT_EQ(Outline(data), "|[keep]");
}

TEST_F(TextLoadTest, Files) {
  test::TempFolder folder("quillet_text_load");
  test::WriteFile(folder.Path() / "a.txt", "one\r\ntwo");
  test::WriteFile(folder.Path() / "w.txt", Utf16(u"三\n四", Utf16Form::BEMark));
  test::WriteFile(folder.Path() / "odd.txt", "abc");
  ASSERT_TRUE(data.LoadText((folder.Path() / "a.txt").string(), 0, 0, false));
  ASSERT_TRUE(data.LoadTextW((folder.Path() / "w.txt").string(), 1, 0, false));
  EXPECT_FALSE(data.LoadTextW((folder.Path() / "odd.txt").string(), 1, 0, false));
  EXPECT_EQ(Outline(data), "|[one]|[two]|[三]|[四]");
  EXPECT_THROW(data.LoadText((folder.Path() / "missing.txt").string(), 0, 0, false), EFOpenError);
  EXPECT_THROW(data.LoadTextW((folder.Path() / "missing.txt").string(), 0, 0, false), EFOpenError);
}

// ---- saving ----

class TextSaveTest : public TextLoadTest {
 protected:
  // Paragraph "ab中文" + line "cd", a Unicode paragraph "汉字x", an object,
  // and a last paragraph "end".
  void SetUp() override {
    TextLoadTest::SetUp();
    data.AddNL("ab", 0, 0);
    data.AddNL(Gbk("中文"), 0, -1);
    data.SetAddParagraphMode(false);
    data.AddNL("cd", 0, 0);
    data.SetAddParagraphMode(true);
    data.AddNL(test::U16(u"汉字x"), 1, 0);
    auto object = std::make_unique<ObjectItem>(&data);
    object->StyleNo = dvsPicture;
    object->ParaNo = -1;
    this->object = object.get();
    data.AddItem("pic", std::move(object));
    data.AddNL("end", 0, 0);
  }
  std::string Save(bool selection, bool textOnly, bool unicode) {
    TMemoryStream stream;
    EXPECT_TRUE(data.SaveTextToStream("", stream, 80, selection, textOnly, unicode));
    return stream.AsString();
  }
  ObjectItem* object = nullptr;
};

TEST_F(TextSaveTest, WholeDocument) {
  EXPECT_EQ(Outline(data), "|[ab][中文]/[cd]|[汉字x]<-3>|[end]");
  EXPECT_EQ(Save(false, false, false), "ab" + Gbk("中文") + "\r\ncd\r\n" + Gbk("汉字") + "x<o>\r\nend");
  EXPECT_EQ(Save(false, false, true), test::U16(u"ab中文\r\ncd\r\n汉字x<o>\r\nend"));
  // Without Unicode from the item, its 8-bit text is converted.
  object->canSaveUnicode = true;
  EXPECT_EQ(Save(false, false, true), test::U16(u"ab中文\r\ncd\r\n汉字x<o>\r\nend"));
  EXPECT_EQ(Save(false, true, false), "ab" + Gbk("中文") + "\r\ncd\r\n" + Gbk("汉字") + "x\r\nend");
  object->alwaysInText = true;
  EXPECT_EQ(Save(false, true, false), "ab" + Gbk("中文") + "\r\ncd\r\n" + Gbk("汉字") + "x<o>\r\nend");
}

TEST_F(TextSaveTest, TwoParagraphsHaveNoTrailingLineEnd) {
  data.Clear();
  data.AddNL("one", 0, 0);
  data.AddNL("two", 0, 0);
  EXPECT_EQ(Save(false, false, false), "one\r\ntwo");
  data.Clear();
  EXPECT_EQ(Save(false, false, false), "");
}

TEST_F(TextSaveTest, Selections) {
  struct Case {
    TDVFLimits limits;
    std::string eightBit;
  } cases[] = {
      {{0, 0, 2, 3}, "b"},
      // Offsets inside a double-byte character take the whole character.
      {{1, 1, 2, 4}, Gbk("中文")},
      {{1, 1, 1, 2}, Gbk("中")},
      {{0, 2, 2, 2}, "b" + Gbk("中文") + "\r\nc"},
      {{3, 4, 2, 1}, Gbk("字") + "x<o>"},
      {{3, 4, 2, 0}, Gbk("字") + "x"},
      {{4, 5, 0, 2}, "<o>\r\ne"},
      {{4, 5, 1, 2}, "\r\ne"},
      {{4, 4, 0, 1}, "<o>"},
      {{4, 4, 1, 1}, ""},
      {{-1, -1, 0, 0}, ""},
      {{3, 2, 1, 1}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.limits.StartItemNo) + ":" + std::to_string(c.limits.StartOffs) + " - " +
                 std::to_string(c.limits.EndItemNo) + ":" + std::to_string(c.limits.EndOffs));
    data.selection = c.limits;
    EXPECT_EQ(Save(true, false, false), c.eightBit);
    EXPECT_EQ(Save(true, false, true), test::U16(Utf8ToUtf16(AnsiToUtf8(c.eightBit))));
  }
}

TEST_F(TextSaveTest, FileKeepsOldContentWhenTheWriteFails) {
  test::TempFolder folder("quillet_text_save");
  const std::string file = (folder.Path() / "doc.txt").string();
  ASSERT_TRUE(data.SaveText(file, 80, true));
  EXPECT_EQ(test::ReadFile(file), test::U16(u"ab中文\r\ncd\r\n汉字x<o>\r\nend"));
  object->fail = true;
  EXPECT_FALSE(data.SaveText(file, 80, false));
  TMemoryStream stream;
  EXPECT_FALSE(data.SaveTextToStream("", stream, 80, false, false, false));
  EXPECT_EQ(test::ReadFile(file), test::U16(u"ab中文\r\ncd\r\n汉字x<o>\r\nend"));
}

}  // namespace
}  // namespace quillet
