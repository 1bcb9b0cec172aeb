#include "engine/text/html_text.h"

#include <gtest/gtest.h>

#include "platform/core/stream.h"
#include "text_test_util.h"

namespace quillet {
namespace {

using test::U16;

TEST(HtmlText, EncodesUnits) {
  struct Case {
    const char* what;
    std::u16string text;
    bool noEmptyLines, specialCode;
    std::string html;
  } cases[] = {
      {"two spaces between letters", u"a  b", false, false, "a &nbsp;b"},
      {"a run of spaces alternates", u"a    b", false, false, "a &nbsp; &nbsp;b"},
      {"a leading space is hard", u" a b", false, false, "&nbsp;a b"},
      {"markup characters", u"<&>\"", false, false, "&lt;&amp;&gt;\""},
      {"an ideograph", u"中", false, false, "&#20013;"},
      {"a surrogate pair is one reference", u"a\U0001F600b", false, false, "a&#128512;b"},
      {"an unpaired surrogate", u"\xD800" "a\xDC00", false, false, "&#65533;a&#65533;"},
      {"special code keeps markup", u"<b> x</b>\u00e9", false, true, "<b> x</b>&#233;"},
      {"special code spaces stay plain", u"  ", false, true, "  "},
      {"empty line", u"", true, false, "&nbsp;"},
      {"empty", u"", false, false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DVU_GetHTMLEncodedUnicode(U16(c.text), c.noEmptyLines, c.specialCode), c.html) << c.what;
    TMemoryStream stream;
    DVU_WriteHTMLEncodedUnicode(stream, U16(c.text), c.noEmptyLines, c.specialCode);
    EXPECT_EQ(stream.AsString(), c.html) << c.what;
  }
}

}  // namespace
}  // namespace quillet
