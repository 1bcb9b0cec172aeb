#include <gtest/gtest.h>

#include <QImage>

#include "gfx_test_util.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/qt_bitmap.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {
namespace {

// A BMP file assembled field by field, so that a test can break any of them.
struct BmpBuilder {
  uint32_t headerSize = 40;
  int32_t width = 2, height = 2;
  uint16_t planes = 1, bitCount = 24;
  uint32_t compression = 0, colorsUsed = 0;
  std::vector<uint8_t> extra;  // masks or palette, right after the info header
  std::vector<uint8_t> pixels;
  int64_t offBitsDelta = 0;  // added to the true offset
  size_t cut = 0;            // bytes dropped from the end

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> b;
    auto u16 = [&](uint32_t v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    const uint32_t off = static_cast<uint32_t>(14 + headerSize + extra.size() + offBitsDelta);
    b.push_back('B');
    b.push_back('M');
    u32(static_cast<uint32_t>(off + pixels.size()));
    u32(0);
    u32(off);
    u32(headerSize);
    if (headerSize == 12) {
      u16(static_cast<uint32_t>(width)), u16(static_cast<uint32_t>(height)), u16(planes), u16(bitCount);
    } else {
      u32(static_cast<uint32_t>(width)), u32(static_cast<uint32_t>(height)), u16(planes), u16(bitCount);
      u32(compression), u32(static_cast<uint32_t>(pixels.size())), u32(0), u32(0), u32(colorsUsed), u32(0);
      while (b.size() < 14 + headerSize) b.push_back(0);
    }
    b.insert(b.end(), extra.begin(), extra.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    b.resize(b.size() - std::min(cut, b.size()));
    return b;
  }
};

std::vector<std::string> PixelRows(const TBitmap& bmp) {
  std::vector<std::string> rows;
  for (int y = 0; y < bmp.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bmp.Width(); ++x) {
      const TColor c = bmp.GetPixel(x, y);
      row += c == clWhite ? '.' : c == clBlack ? '#' : c == clRed ? 'r' : c == clBlue ? 'b' : c == clLime ? 'g' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TBitmap Load(const std::vector<uint8_t>& bytes) {
  TMemoryStream s(bytes);
  TBitmap bmp;
  bmp.LoadFromStream(s);
  return bmp;
}

TEST(Bitmap, SavesAndLoadsItsPixelFormats) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    TBitmap bmp(5, 3);  // rows of 5 pixels need padding at every depth
    bmp.SetPixel(0, 0, clBlack);
    bmp.SetPixel(4, 2, clBlack);
    if (format >= pf4bit) bmp.SetPixel(2, 1, clRed);
    bmp.SetPixelFormat(format);
    TMemoryStream s;
    bmp.SaveToStream(s);
    const std::vector<uint8_t>& b = s.Bytes();
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(b[2] | (b[3] << 8), static_cast<int>(b.size())) << format;

    s.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(s);
    EXPECT_EQ(s.GetPosition(), s.GetSize()) << format;
    EXPECT_EQ(back.PixelFormat(), format);
    EXPECT_EQ(PixelRows(back), (std::vector<std::string>{"#....", format >= pf4bit ? "..r.." : ".....", "....#"}))
        << format;
  }
}

TEST(Bitmap, ReadsTheOtherFormsOfTheFile) {
  struct Case {
    const char* name;
    BmpBuilder bmp;
    std::vector<std::string> rows;
  };
  std::vector<Case> cases;
  {
    BmpBuilder b;  // 1 bit, palette red / blue, rows bottom-up, padded to 4 bytes
    b.bitCount = 1;
    b.colorsUsed = 2;
    b.extra = {0, 0, 255, 0, 255, 0, 0, 0};
    b.pixels = {0x40, 0, 0, 0, 0x80, 0, 0, 0};
    cases.push_back({"1 bit", b, {"br", "rb"}});
  }
  {
    BmpBuilder b;  // top-down 24 bit
    b.height = -2;
    b.pixels = {0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0, 0};
    cases.push_back({"top-down", b, {"rb", "#."}});
  }
  {
    BmpBuilder b;  // 16 bit with 5-6-5 masks
    b.width = 2, b.height = 1, b.bitCount = 16, b.compression = 3;
    b.extra = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    b.pixels = {0x00, 0xF8, 0xE0, 0x07};
    cases.push_back({"bit fields", b, {"rg"}});
  }
  {
    BmpBuilder b;  // RLE8: a run, an end of line, an absolute run, end of bitmap
    b.width = 3, b.height = 2, b.bitCount = 8, b.compression = 1, b.colorsUsed = 2;
    b.extra = {255, 255, 255, 0, 0, 0, 255, 0};
    b.pixels = {3, 1, 0, 0, 0, 3, 0, 1, 0, 0, 0, 1};
    cases.push_back({"rle8", b, {".r.", "rrr"}});
  }
  {
    BmpBuilder b;  // RLE4: nibbles alternate
    b.width = 4, b.height = 1, b.bitCount = 4, b.compression = 2, b.colorsUsed = 2;
    b.extra = {255, 0, 0, 0, 0, 255, 0, 0};
    b.pixels = {4, 0x01, 0, 1};
    cases.push_back({"rle4", b, {"bgbg"}});
  }
  {
    BmpBuilder b;  // the old 12-byte header, 3-byte palette entries
    b.headerSize = 12, b.width = 1, b.height = 1, b.bitCount = 8;
    b.extra.assign(256 * 3, 0);
    b.extra[5] = 255;  // entry 1 = red
    b.pixels = {1, 0, 0, 0};
    cases.push_back({"core header", b, {"r"}});
  }
  {
    BmpBuilder b;  // the last row without its padding
    b.width = 1, b.height = 2;
    b.pixels = {255, 255, 255, 0, 0, 0, 0};
    cases.push_back({"short last row", b, {"#", "."}});
  }
  for (const Case& c : cases) {
    try {
      EXPECT_EQ(PixelRows(Load(c.bmp.Bytes())), c.rows) << c.name;
    } catch (const EInvalidGraphic& e) {
      ADD_FAILURE() << c.name << ": " << e.what();
    }
  }
}

TEST(Bitmap, RejectsBrokenAndHostileFilesAndKeepsItsPicture) {
  BmpBuilder good;
  good.pixels.assign(16, 0);
  struct Case {
    const char* name;
    BmpBuilder bmp;
  };
  std::vector<Case> cases;
  auto with = [&](const char* name, auto change) {
    BmpBuilder b = good;
    change(b);
    cases.push_back({name, b});
  };
  with("truncated file header", [](BmpBuilder& b) { b.cut = b.Bytes().size() - 10; });
  with("truncated info header", [](BmpBuilder& b) { b.cut = b.Bytes().size() - 30; });
  with("unknown header size", [](BmpBuilder& b) { b.headerSize = 41; });
  with("zero width", [](BmpBuilder& b) { b.width = 0; });
  with("negative width", [](BmpBuilder& b) { b.width = -2; });
  with("lowest height", [](BmpBuilder& b) { b.height = INT32_MIN; });
  with("huge width", [](BmpBuilder& b) { b.width = 1 << 30; });
  with("too many pixels", [](BmpBuilder& b) { b.width = 30000, b.height = 30000; });
  with("two planes", [](BmpBuilder& b) { b.planes = 2; });
  with("7 bits", [](BmpBuilder& b) { b.bitCount = 7; });
  with("rle8 on 24 bits", [](BmpBuilder& b) { b.compression = 1; });
  with("unknown compression", [](BmpBuilder& b) { b.compression = 4; });
  with("palette too large", [](BmpBuilder& b) { b.bitCount = 8, b.colorsUsed = 257; });
  with("truncated palette", [](BmpBuilder& b) { b.bitCount = 8, b.colorsUsed = 200, b.pixels.clear(); });
  with("pixel offset inside the header", [](BmpBuilder& b) { b.offBitsDelta = -20; });
  with("pixel offset past the end", [](BmpBuilder& b) { b.offBitsDelta = 1000; });
  with("truncated pixels", [](BmpBuilder& b) { b.cut = 3; });  // 2 would only drop the last padding
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = c.bmp.Bytes();
    TBitmap bmp(1, 1);
    bmp.SetPixel(0, 0, clRed);
    TMemoryStream s(bytes);
    EXPECT_THROW(bmp.LoadFromStream(s), EInvalidGraphic) << c.name;
    EXPECT_EQ(PixelRows(bmp), std::vector<std::string>{"r"}) << c.name;
  }
  std::vector<uint8_t> unsigned_ = good.Bytes();
  unsigned_[0] = 'X';
  TMemoryStream s(unsigned_);
  TBitmap bmp;
  EXPECT_THROW(bmp.LoadFromStream(s), EInvalidGraphic);
  // The intact file loads, so every failure above is the field that was broken.
  EXPECT_EQ(Load(good.Bytes()).Width(), 2);
}

TEST(Bitmap, EmptyBitmapWritesNothingAndReadsBackEmpty) {
  TBitmap bmp;
  EXPECT_TRUE(bmp.Empty());
  TMemoryStream s;
  bmp.SaveToStream(s);
  EXPECT_EQ(s.GetSize(), 0);
  TBitmap other(3, 3);
  s.SetPosition(0);
  other.LoadFromStream(s);
  EXPECT_TRUE(other.Empty());
  bmp.Canvas().FillRect(Rect(0, 0, 5, 5));  // nothing to draw on, and no harm
  EXPECT_TRUE(bmp.Empty());
  EXPECT_THROW(bmp.SetSize(-1, 5), EInvalidGraphic);
  EXPECT_THROW(bmp.SetSize(TBitmap::kMaxSide + 1, 1), EInvalidGraphic);
}

TEST(Bitmap, CanvasDrawsIntoThePixelsAndCopiesStayApart) {
  TBitmap bmp(4, 3);
  bmp.Canvas().Brush().Color = clBlack;
  bmp.Canvas().FillRect(Rect(0, 0, 2, 3));
  const TBitmap before(bmp);  // taken while the canvas is still drawing
  bmp.Canvas().FillRect(Rect(2, 0, 4, 1));
  EXPECT_EQ(PixelRows(bmp), (std::vector<std::string>{"####", "##..", "##.."}));
  EXPECT_EQ(PixelRows(before), (std::vector<std::string>{"##..", "##..", "##.."}));
  const std::unique_ptr<TGraphic> clone = bmp.Clone();
  bmp.SetSize(5, 2);  // keeps what stays inside, new pixels white
  bmp.Canvas().Brush().Color = clRed;
  bmp.Canvas().FillRect(Rect(4, 0, 5, 1));
  EXPECT_EQ(PixelRows(bmp), (std::vector<std::string>{"####r", "##..."}));
  EXPECT_EQ(PixelRows(static_cast<const TBitmap&>(*clone)), (std::vector<std::string>{"####", "##..", "##.."}));
  // Drawing on a paletted bitmap makes it full colour.
  bmp.SetPixelFormat(pf1bit);
  bmp.Canvas().FillRect(Rect(0, 1, 1, 2));
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_EQ(bmp.GetPixel(0, 1), clRed);
  EXPECT_EQ(bmp.GetPixel(5, 0), clNone);
}

TEST(Bitmap, DrawnOntoACanvasPlainStretchedAndTransparent) {
  TBitmap bmp(2, 2);
  bmp.SetPixel(0, 0, clBlack);  // bottom-left stays white: the automatic transparent colour
  QImage image(6, 4, QImage::Format_RGB32);
  image.fill(Qt::blue);
  TQtCanvas canvas(image);
  canvas.Draw(0, 0, bmp);
  canvas.StretchDraw(Rect(2, 0, 6, 4), bmp);
  canvas.EndPaint();
  EXPECT_EQ(Art(image, 6, 4), (std::vector<std::string>{"#.##..", "..##..", "oo....", "oo...."}));

  bmp.SetTransparent(true);
  EXPECT_EQ(bmp.TransparentColor(), clWhite);
  image.fill(Qt::blue);
  canvas.Draw(0, 0, bmp);
  bmp.SetTransparentColor(clBlack);
  canvas.Draw(2, 0, bmp);
  canvas.EndPaint();
  EXPECT_EQ(Art(image, 6, 4), (std::vector<std::string>{"#oo.oo", "oo..oo", "oooooo", "oooooo"}));
}

TEST(GraphicRegistry, CreatesGraphicsByClassName) {
  const std::unique_ptr<TGraphic> bmp = CreateGraphic("TBitmap");
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->ClassName(), "TBitmap");
  EXPECT_TRUE(bmp->Empty());
  EXPECT_EQ(CreateGraphic("TNoSuchGraphic"), nullptr);
  RegisterGraphicClass("TTestPicture", [] { return std::unique_ptr<TGraphic>(std::make_unique<TBitmap>(3, 1)); });
  const std::unique_ptr<TGraphic> made = CreateGraphic("TTestPicture");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Width(), 3);
}

}  // namespace
}  // namespace quillet
