// The layout on the Qt canvas with the pinned fonts: pieces measure what the
// canvas measures, and lines stay inside the text width.
#include <gtest/gtest.h>

#include <QImage>

#include "layout_test_data.h"
#include "platform/core/code_page.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet::test {
namespace {

TEST(QtLayout, MixedChineseAndLatinWrapInsideTheWidth) {
  QImage image(10, 10, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  LayoutData data;
  data.formatCanvas = &canvas;
  data.clientWidth = 300;
  data.sheet.TextStyles()[0].FontName = "宋体";
  data.sheet.TextStyles()[0].Charset = GB2312_CHARSET;
  data.sheet.TextStyles()[kUnicodeStyle].FontName = "宋体";
  const std::u16string text = u"文档的审阅 review of the draft 由起草人提交，reviewer 签名 approved 盖章。";
  for (int i = 0; i < 3; ++i) {
    data.AddNL(WideCharToMultiByte(936, text), 0, 0);
    data.AddNL(LayoutData::U(text), kUnicodeStyle, 0);
  }
  data.Format_(false, true, false, 0, canvas, false);
  ASSERT_GT(data.DrawItems.Count(), 6);
  for (int i = 0; i < data.DrawItems.Count(); ++i) {
    const TDVDrawLineInfo* d = data.DrawItems[i];
    data.sheet.ApplyStyle(canvas, data.GetItemStyle(d->ItemNo), dvbdUnspecified);
    const std::string piece = data.DrawItems.GetString(i, data);
    const bool unicode = (data.GetItemOptions(d->ItemNo) & dvioUnicode) != 0;
    const int32_t width = unicode ? canvas.TextExtentW(DVU_Units(piece)).cx : canvas.TextExtentA(piece).cx;
    EXPECT_EQ(d->Width, width) << i;
    EXPECT_LE(d->Left + d->Width, data.TextWidth + 16) << i;  // a trailing space may overhang
  }
  // The 8-bit and the Unicode form of each paragraph break alike.
  for (int p = 0; p < 6; p += 2) {
    std::vector<int32_t> a, b;
    for (int i = 0; i < data.DrawItems.Count(); ++i) {
      if (data.DrawItems[i]->ItemNo == p) a.push_back(data.DrawItems[i]->Width);
      if (data.DrawItems[i]->ItemNo == p + 1) b.push_back(data.DrawItems[i]->Width);
    }
    EXPECT_EQ(a, b) << p;
    EXPECT_GT(a.size(), 1u);
  }
}

}  // namespace
}  // namespace quillet::test
