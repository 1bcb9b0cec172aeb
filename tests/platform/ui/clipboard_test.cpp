// The clipboard's formats round-trip through the offscreen platform's
// clipboard under the MIME types other programs see.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <string>

#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/qt_bitmap.h"
#include "platform/ui/clipboard.h"

namespace quillet {
namespace {

using namespace std::string_literals;

std::string Utf16Bytes(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

QStringList Formats() { return QGuiApplication::clipboard()->mimeData()->formats(); }

class ClipboardTest : public testing::Test {
 protected:
  void SetUp() override { Clipboard().Clear(); }
  TClipboardFormat docView = RegisterClipboardFormat("DocView Format");
  TClipboardFormat rtf = RegisterClipboardFormat("Rich Text Format");
};

TEST_F(ClipboardTest, RegisteredNamesKeepTheirNumbers) {
  EXPECT_GE(docView, 0xC000u);
  EXPECT_NE(docView, rtf);
  EXPECT_EQ(RegisterClipboardFormat("DocView Format"), docView);
  EXPECT_EQ(RegisterClipboardFormat(""), 0u);
}

TEST_F(ClipboardTest, FormatsRoundTripUnderTheirMimeTypes) {
  const std::string gbk = WideCharToMultiByte(936, u"中文 text");
  struct TCase {
    TClipboardFormat format;
    std::string data;
    std::string mime;
    std::string readBack;
  } cases[] = {
      {docView, "binary\0\xff data"s, "application/x-afxquillet-docview", "binary\0\xff data"s},
      {rtf, "{\\rtf1 x}", "text/rtf", "{\\rtf1 x}"},
      {CF_TEXT, gbk + "\0tail"s, "text/plain", gbk},
      {CF_UNICODETEXT, Utf16Bytes(u"中文\U0001F600"), "text/plain", Utf16Bytes(u"中文\U0001F600")},
      {RegisterClipboardFormat("Other Name"), "x", "application/x-qt-windows-mime;value=\"Other Name\"", "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mime);
    Clipboard().SetAsHandle(c.format, c.data);
    EXPECT_TRUE(Clipboard().HasFormat(c.format));
    EXPECT_TRUE(Formats().contains(QString::fromStdString(c.mime)));
    EXPECT_EQ(Clipboard().GetAsHandle(c.format), c.readBack);
  }
}

TEST_F(ClipboardTest, TextFormatsAreOneText) {
  Clipboard().SetAsHandle(CF_UNICODETEXT, Utf16Bytes(u"中"));
  EXPECT_EQ(Clipboard().GetAsHandle(CF_TEXT), WideCharToMultiByte(936, u"中"));
  Clipboard().SetAsHandle(CF_TEXT, "abc");
  EXPECT_EQ(Clipboard().GetAsHandle(CF_UNICODETEXT), Utf16Bytes(u"abc"));
}

TEST_F(ClipboardTest, AnOpenSessionPublishesEverythingAtTheLastClose) {
  Clipboard().SetAsHandle(rtf, "old");
  Clipboard().Open();
  Clipboard().Open();
  Clipboard().SetAsHandle(docView, "dv");
  Clipboard().SetAsHandle(CF_TEXT, "text");
  Clipboard().Close();
  // Still open: others see the old content, the session its own.
  EXPECT_TRUE(Formats().contains("text/rtf"));
  EXPECT_TRUE(Clipboard().HasFormat(docView));
  Clipboard().Close();
  EXPECT_FALSE(Clipboard().HasFormat(rtf));
  EXPECT_EQ(Clipboard().GetAsHandle(docView), "dv");
  EXPECT_EQ(Clipboard().GetAsHandle(CF_TEXT), "text");
  // A set outside a session replaces everything.
  Clipboard().SetAsHandle(rtf, "new");
  EXPECT_FALSE(Clipboard().HasFormat(docView));
  EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));
  Clipboard().Close();  // an extra Close does nothing
  EXPECT_EQ(Clipboard().GetAsHandle(rtf), "new");
}

TEST_F(ClipboardTest, MissingFormatsAndClear) {
  Clipboard().SetAsHandle(docView, "dv");
  EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard().GetAsHandle(CF_TEXT), std::nullopt);
  EXPECT_EQ(Clipboard().GetAsHandle(rtf), std::nullopt);
  TBitmap none;
  EXPECT_FALSE(Clipboard().GetBitmap(none));
  Clipboard().SetAsHandle(12345, "ignored");
  EXPECT_EQ(Clipboard().GetAsHandle(docView), "dv");
  Clipboard().Clear();
  EXPECT_FALSE(Clipboard().HasFormat(docView));
}

TEST_F(ClipboardTest, PicturesRoundTrip) {
  TBitmap bitmap;
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(QColor(10, 20, 30));
  image.setPixelColor(2, 1, QColor(200, 100, 50));
  SetBitmapImage(bitmap, image);
  Clipboard().SetBitmap(bitmap);
  EXPECT_TRUE(Clipboard().HasFormat(CF_BITMAP));
  EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));
  TBitmap back;
  ASSERT_TRUE(Clipboard().GetBitmap(back));
  EXPECT_EQ(back.Width(), 3);
  EXPECT_EQ(back.Height(), 2);
  EXPECT_EQ(BitmapImage(back).pixelColor(2, 1), QColor(200, 100, 50));
  EXPECT_EQ(BitmapImage(back).pixelColor(0, 0), QColor(10, 20, 30));
}

}  // namespace
}  // namespace quillet
