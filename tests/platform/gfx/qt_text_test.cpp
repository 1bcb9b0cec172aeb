// Text through the Qt canvas with the project's pinned fonts.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "gfx_test_util.h"
#include "platform/core/code_page.h"
#include "platform/gfx/font_setup.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {
namespace {

const std::string kGbkZhongWen = "\xD6\xD0\xCE\xC4";  // 中文 in code page 936

class QtText : public testing::Test {
 protected:
  QtText() : image_(200, 60, QImage::Format_RGB32), canvas_(image_) {
    image_.fill(Qt::white);
    canvas_.Font().Name = "宋体";
    canvas_.Font().Height = -16;
    canvas_.Font().Charset = GB2312_CHARSET;
  }
  // The bounding box of everything not white.
  QRect Ink() {
    canvas_.EndPaint();
    QRect box;
    for (int y = 0; y < image_.height(); ++y)
      for (int x = 0; x < image_.width(); ++x)
        if ((image_.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
    return box;
  }
  QImage image_;
  TQtCanvas canvas_;
};

TEST_F(QtText, DocumentFamiliesResolveToThePinnedFonts) {
  const struct {
    const char* name;
    const char* family;
  } cases[] = {
      {"宋体", "WenQuanYi Micro Hei"},
      {"SimSun", "WenQuanYi Micro Hei"},
      {"黑体", "WenQuanYi Micro Hei"},
      {"新宋体", "WenQuanYi Micro Hei"},
      {"Arial", "DejaVu Sans"},
      {"Tahoma", "DejaVu Sans"},
      {"MS Sans Serif", "DejaVu Sans"},
      {"Times New Roman", "DejaVu Serif"},
      {"Courier New", "DejaVu Sans Mono"},
      // A name read from a document arrives in the system code page.
      {"\xCB\xCE\xCC\xE5", "WenQuanYi Micro Hei"},
  };
  for (const auto& c : cases) {
    canvas_.Font().Name = c.name;
    EXPECT_EQ(canvas_.ResolvedFamily(), c.family) << c.name;
  }
}

TEST_F(QtText, EightBitAndUtf16MeasureAlike) {
  const std::vector<int32_t> a = canvas_.TextExtentExA(kGbkZhongWen);
  const std::vector<int32_t> w = canvas_.TextExtentExW(u"中文");
  ASSERT_EQ(a.size(), 4u);
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(a, (std::vector<int32_t>{w[0], w[0], w[1], w[1]}));
  EXPECT_GT(w[0], 0);
  EXPECT_EQ(canvas_.TextExtentA(kGbkZhongWen), canvas_.TextExtentW(u"中文"));
  // The same bytes in a western code page are four other characters.
  canvas_.Font().Charset = ANSI_CHARSET;
  EXPECT_EQ(canvas_.TextExtentExA(kGbkZhongWen).size(), 4u);
  EXPECT_NE(canvas_.TextExtentA(kGbkZhongWen).cx, canvas_.TextExtentW(u"中文").cx);
}

TEST_F(QtText, PositionsRiseToTheExtentAndCharacterExtraAddsPerCharacter) {
  for (const char* face : {"宋体", "Arial", "Times New Roman"}) {
    canvas_.Font().Name = face;
    const std::u16string text = u"Hello, 世界 \U00020000!";
    canvas_.SetTextCharacterExtra(0);
    const std::vector<int32_t> plain = canvas_.TextExtentExW(text);
    ASSERT_EQ(plain.size(), text.size()) << face;
    for (size_t i = 1; i < plain.size(); ++i) EXPECT_GE(plain[i], plain[i - 1]) << face << " " << i;
    EXPECT_EQ(plain[10], plain[11]) << face;  // the two units of a surrogate pair share its end
    EXPECT_EQ(plain.back(), canvas_.TextExtentW(text).cx) << face;

    canvas_.SetTextCharacterExtra(3);
    const std::vector<int32_t> spaced = canvas_.TextExtentExW(text);
    const int32_t characters = static_cast<int32_t>(text.size()) - 1;
    EXPECT_EQ(canvas_.TextExtentW(text).cx, plain.back() + 3 * characters) << face;
    EXPECT_EQ(spaced[0], plain[0] + 3) << face;
    EXPECT_EQ(spaced[8], plain[8] + 3 * 9) << face;
  }
}

TEST_F(QtText, MetricsAreConsistent) {
  for (const char* face : {"宋体", "Arial"}) {
    canvas_.Font().Name = face;
    canvas_.Font().Height = -20;
    const TTextMetric tm = canvas_.GetTextMetrics();
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent) << face;
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 20) << face;
    EXPECT_GE(tm.tmInternalLeading, 0) << face;
    EXPECT_LT(tm.otmsUnderscorePosition, 0) << face;
    EXPECT_GT(tm.otmsStrikeoutPosition, 0) << face;
    EXPECT_LT(tm.otmsStrikeoutPosition, tm.tmAscent) << face;
    EXPECT_GE(tm.otmsUnderscoreSize, 1) << face;
    EXPECT_EQ(canvas_.TextExtentA("x").cy, tm.tmHeight) << face;
    // A positive height is the cell: ascent + descent.
    canvas_.Font().Height = tm.tmHeight;
    EXPECT_NEAR(canvas_.GetTextMetrics().tmHeight, tm.tmHeight, 1) << face;
    EXPECT_NEAR(canvas_.GetTextMetrics().tmInternalLeading, tm.tmInternalLeading, 1) << face;
  }
}

TEST_F(QtText, LogicalWidthStretchesTheFace) {
  canvas_.Font().Name = "Arial";
  const int32_t natural = canvas_.GetTextMetrics().tmAveCharWidth;
  const int32_t plain = canvas_.TextExtentA("abcdefghij").cx;
  canvas_.Font().Width = natural * 2;
  EXPECT_EQ(canvas_.GetTextMetrics().tmAveCharWidth, natural * 2);
  EXPECT_NEAR(canvas_.TextExtentA("abcdefghij").cx, plain * 2, plain * 0.1);
  canvas_.Font().Width = natural / 2;
  EXPECT_NEAR(canvas_.TextExtentA("abcdefghij").cx, plain / 2, plain * 0.1);
}

TEST_F(QtText, TextLandsInItsCellAndAnOpaqueBrushFillsIt) {
  canvas_.Brush().Style = bsClear;
  canvas_.TextOutW(10, 5, u"中文ab");
  const TSize size = canvas_.TextExtentW(u"中文ab");
  const QRect cell(10, 5, size.cx, size.cy);
  QRect ink = Ink();
  EXPECT_FALSE(ink.isEmpty());
  EXPECT_TRUE(cell.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();

  image_.fill(Qt::white);
  canvas_.Brush().Style = bsSolid;
  canvas_.Brush().Color = clRed;
  canvas_.SetTextAlign(TA_RIGHT | TA_BASELINE);
  canvas_.TextOutA(150, 40, kGbkZhongWen);
  const TTextMetric tm = canvas_.GetTextMetrics();
  const int32_t width = canvas_.TextExtentA(kGbkZhongWen).cx;
  ink = Ink();
  EXPECT_EQ(ink, QRect(150 - width, 40 - tm.tmAscent, width, tm.tmHeight));
  EXPECT_EQ(image_.pixel(150 - width, 40 - tm.tmAscent) & 0xFFFFFF, 0xFF0000u);

  image_.fill(Qt::white);
  canvas_.SetBkMode(bkTransparent);  // a solid brush no longer fills
  canvas_.TextOutA(150, 40, kGbkZhongWen);
  EXPECT_EQ(image_.pixel(150 - width, 40 - tm.tmAscent) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(QtText, ExplicitAdvancesPlaceEachCharacter) {
  canvas_.Brush().Style = bsClear;
  canvas_.Font().Name = "Arial";
  canvas_.TextOutWithAdvancesA(0, 0, "ii", {100, 10});
  const QRect ink = Ink();
  EXPECT_LT(ink.left(), 10);
  EXPECT_GE(ink.right(), 100);
  EXPECT_LT(ink.right(), 110);
}

TEST(FontSetup, AConfigurationAlreadyChosenIsKept) {
  const char* before = std::getenv("FONTCONFIG_FILE");
  ASSERT_NE(before, nullptr);  // the test program installed the project's file
  EXPECT_NE(std::string(before).find("resources/fonts/fonts.conf"), std::string::npos);
  const std::string saved = before;
  setenv("FONTCONFIG_FILE", "/somewhere/else.conf", 1);
  InstallProjectFontConfig();
  EXPECT_STREQ(std::getenv("FONTCONFIG_FILE"), "/somewhere/else.conf");
  setenv("FONTCONFIG_FILE", saved.c_str(), 1);
}

}  // namespace
}  // namespace quillet
