// The picture kinds documents store besides bitmaps: JPEG, icon, metafile.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <functional>

#include "gfx_test_util.h"
#include "picture_test_util.h"
#include "platform/gfx/icon.h"
#include "platform/gfx/jpeg_image.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

template <typename G>
G Load(const std::vector<uint8_t>& bytes) {
  G graphic;
  TMemoryStream s(bytes);
  graphic.LoadFromStream(s);
  return graphic;
}

// Roughly red, blue, grey or white: JPEG colours are near, not exact.
char Shade(QRgb c) {
  const int r = qRed(c), g = qGreen(c), b = qBlue(c);
  if (r > 200 && g > 200 && b > 200) return '.';
  if (r > 180 && g < 80 && b < 80) return 'r';
  if (b > 180 && r < 80 && g < 80) return 'b';
  if (r == g && g == b) return 'g';
  return '?';
}

QImage White(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// ---------------------------------------------------------------- JPEG

TEST(JPEGImage, CompressesABitmapAndReadsItBack) {
  const std::vector<uint8_t> bytes = RedBlueJpeg(16, 8);
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  const TJPEGImage jpeg = Load<TJPEGImage>(bytes);
  EXPECT_EQ(jpeg.ClassName(), "TJPEGImage");
  EXPECT_EQ(jpeg.Width(), 16);
  EXPECT_EQ(jpeg.Height(), 8);
  EXPECT_FALSE(jpeg.Empty());
}

TEST(JPEGImage, SavesTheBytesItReadUnchanged) {
  // Bytes after the end marker are nothing to the decoder; a re-encoded
  // picture would lose them.
  std::vector<uint8_t> bytes = RedBlueJpeg(8, 8);
  bytes.insert(bytes.end(), {'t', 'a', 'i', 'l'});
  const TJPEGImage jpeg = Load<TJPEGImage>(bytes);
  EXPECT_EQ(SavedBytes(jpeg), bytes);
  EXPECT_EQ(SavedBytes(*jpeg.Clone()), bytes);
}

TEST(JPEGImage, DrawsOnTheQtCanvasAtItsSizeAndStretched) {
  const TJPEGImage jpeg = Load<TJPEGImage>(RedBlueJpeg(16, 8));
  QImage image = White(48, 20);
  {
    TQtCanvas canvas(image);
    canvas.Draw(2, 2, jpeg);
    canvas.StretchDraw({20, 2, 52, 18}, jpeg);  // 32 x 16, partly outside
  }
  EXPECT_EQ(Shade(image.pixel(1, 1)), '.');
  EXPECT_EQ(Shade(image.pixel(4, 5)), 'r');
  EXPECT_EQ(Shade(image.pixel(15, 5)), 'b');
  EXPECT_EQ(Shade(image.pixel(18, 5)), '.');
  EXPECT_EQ(Shade(image.pixel(24, 16)), 'r');
  EXPECT_EQ(Shade(image.pixel(40, 16)), 'b');
  EXPECT_EQ(Shade(image.pixel(24, 19)), '.');
}

TEST(JPEGImage, RecordingCanvasNotesClassAndSize) {
  const TJPEGImage jpeg = Load<TJPEGImage>(RedBlueJpeg(16, 8));
  TRecordingCanvas canvas;
  canvas.Draw(3, 4, jpeg);
  canvas.StretchDraw({0, 0, 32, 16}, jpeg);
  EXPECT_EQ(canvas.Strings(),
            (std::vector<std::string>{"Draw 3,4 TJPEGImage 16x8", "StretchDraw 0,0,32,16 TJPEGImage 16x8"}));
}

// Offset of the frame header's height field in a baseline JPEG.
size_t SofSize(const std::vector<uint8_t>& b) {
  for (size_t i = 0; i + 8 < b.size(); ++i)
    if (b[i] == 0xFF && b[i + 1] == 0xC0) return i + 5;
  return 0;
}

struct BadCase {
  const char* name;
  std::function<void(std::vector<uint8_t>&)> spoil;
};

TEST(JPEGImage, RefusesBadFilesAndKeepsWhatItHad) {
  const BadCase cases[] = {
      {"truncated", [](auto& b) { b.resize(b.size() / 2); }},
      {"no end marker", [](auto& b) { b.erase(b.end() - 2, b.end()); }},
      {"only the start marker", [](auto& b) { b.resize(2); }},
      {"not a JPEG", [](auto& b) { b.assign({'B', 'M', 0, 0, 0, 0}); }},
      {"zero height",
       [](auto& b) {
         const size_t at = SofSize(b);
         b[at] = 0, b[at + 1] = 0;
       }},
      {"larger than a bitmap may be",
       [](auto& b) {
         const size_t at = SofSize(b);
         b[at] = 0xFF, b[at + 1] = 0xF0, b[at + 2] = 0xFF, b[at + 3] = 0xF0;
       }},
      {"garbage after the header",
       [](auto& b) {
         for (size_t i = SofSize(b) + 20; i < b.size() - 2; ++i) b[i] = 0xFF;
       }},
  };
  const std::vector<uint8_t> good = RedBlueJpeg(16, 8);
  ASSERT_NE(SofSize(good), 0u);
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bad = good;
    c.spoil(bad);
    TJPEGImage jpeg = Load<TJPEGImage>(RedBlueJpeg(4, 2));
    TMemoryStream s(bad);
    EXPECT_THROW(jpeg.LoadFromStream(s), EInvalidGraphic);
    EXPECT_EQ(jpeg.Width(), 4);
    EXPECT_EQ(SavedBytes(jpeg), RedBlueJpeg(4, 2));
  }
}

TEST(JPEGImage, NoBytesMakeItEmpty) {
  TJPEGImage jpeg = Load<TJPEGImage>(RedBlueJpeg(4, 2));
  TMemoryStream none;
  jpeg.LoadFromStream(none);
  EXPECT_TRUE(jpeg.Empty());
  EXPECT_EQ(jpeg.Width(), 0);
  EXPECT_TRUE(SavedBytes(jpeg).empty());
}

// ---------------------------------------------------------------- icon

TEST(Icon, LoadsTheImageNearest32AndDrawsItsMaskAsTransparent) {
  const std::vector<uint8_t> bytes = IconFile({{16, 16, IconImage(16, 16, 16)}, {32, 32, IconImage(32, 32, 24)}});
  const TIcon icon = Load<TIcon>(bytes);
  EXPECT_EQ(icon.ClassName(), "TIcon");
  EXPECT_EQ(icon.Width(), 32);
  EXPECT_EQ(icon.Height(), 32);
  EXPECT_EQ(SavedBytes(icon), bytes);

  QImage image = White(40, 40);
  {
    TQtCanvas canvas(image);
    canvas.Draw(4, 4, icon);
  }
  EXPECT_EQ(Shade(image.pixel(3, 3)), '.');
  EXPECT_EQ(Shade(image.pixel(4, 4)), 'r');
  EXPECT_EQ(Shade(image.pixel(19, 35)), 'r');
  EXPECT_EQ(Shade(image.pixel(20, 35)), 'b');
  EXPECT_EQ(Shade(image.pixel(27, 4)), 'b');
  EXPECT_EQ(Shade(image.pixel(28, 4)), '.');  // masked from column 24 on
}

TEST(Icon, LoadsPngImages) {
  const TIcon icon = Load<TIcon>(IconFile({{8, 8, IconImage(8, 8, 6, true)}}));
  EXPECT_EQ(icon.Width(), 8);
  QImage image = White(8, 8);
  {
    TQtCanvas canvas(image);
    canvas.Draw(0, 0, icon);
  }
  EXPECT_EQ(Shade(image.pixel(0, 0)), 'r');
  EXPECT_EQ(Shade(image.pixel(5, 7)), 'b');
  EXPECT_EQ(Shade(image.pixel(6, 7)), '.');
}

TEST(Icon, RefusesBadFilesAndKeepsWhatItHad) {
  const BadCase cases[] = {
      {"truncated header", [](auto& b) { b.resize(4); }},
      {"cursor, not icon", [](auto& b) { b[2] = 2; }},
      {"no images", [](auto& b) { b[4] = 0; }},
      {"directory past the end", [](auto& b) { b[4] = 200; }},
      {"image offset past the end", [](auto& b) { b[6 + 12 + 2] = 0x7F; }},
      {"image size past the end", [](auto& b) { b[6 + 8 + 3] = 0x7F; }},
      {"pixels cut short",
       [](auto& b) {
         b.resize(6 + 16 + 40 + 8 * 24 - 4);
         b[6 + 8] = 40 + 8 * 24 - 4, b[6 + 9] = 0;
       }},
      {"zero height", [](auto& b) { b[6 + 16 + 8] = 0; }},
      {"huge width", [](auto& b) { b[6 + 16 + 4 + 3] = 0x40; }},
      {"negative width", [](auto& b) { b[6 + 16 + 4 + 3] = 0x80; }},
      {"bad depth", [](auto& b) { b[6 + 16 + 14] = 7; }},
      {"run-length compressed", [](auto& b) { b[6 + 16 + 16] = 1; }},
      {"PNG claiming 100000 columns",
       [](auto& b) {
         b = IconFile({{8, 8, IconImage(8, 8, 8, true)}});
         b[6 + 16 + 17] = 0x01, b[6 + 16 + 18] = 0x86;
       }},
  };
  const std::vector<uint8_t> good = IconFile({{8, 8, IconImage(8, 8, 8)}});
  ASSERT_NO_THROW(Load<TIcon>(good));
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bad = good;
    c.spoil(bad);
    TIcon icon = Load<TIcon>(good);
    TMemoryStream s(bad);
    EXPECT_THROW(icon.LoadFromStream(s), EInvalidGraphic);
    EXPECT_EQ(icon.Width(), 8);
    EXPECT_EQ(SavedBytes(icon), good);
  }
}

// ---------------------------------------------------------------- metafile

TEST(Metafile, KeepsItsBytesAndTakesItsSizeFromTheHeader) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool enhanced;
    int32_t width, height, mmWidth, mmHeight;
    uint16_t inch;
  };
  const Case cases[] = {
      {"enhanced, by frame", EmfFile(2540, 1270, 500, 500), true, 96, 48, 2540, 1270, 0},
      {"enhanced without frame, by bounds", EmfFile(0, 0, 99, 49), true, 100, 50, 2646, 1323, 0},
      {"placeable at 1440 units per inch", WmfFile(1440, 720, 1440), false, 96, 48, 2540, 1270, 1440},
      {"placeable at 576 units per inch", WmfFile(576, 288, 576), false, 96, 48, 2540, 1270, 576},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TMetafile mf = Load<TMetafile>(c.bytes);
    EXPECT_EQ(mf.ClassName(), "TMetafile");
    EXPECT_EQ(mf.Enhanced(), c.enhanced);
    EXPECT_EQ(mf.Width(), c.width);
    EXPECT_EQ(mf.Height(), c.height);
    EXPECT_EQ(mf.MMWidth(), c.mmWidth);
    EXPECT_EQ(mf.MMHeight(), c.mmHeight);
    EXPECT_EQ(mf.Inch(), c.inch);
    EXPECT_EQ(SavedBytes(mf), c.bytes);
    EXPECT_EQ(SavedBytes(*mf.Clone()), c.bytes);
  }
}

TEST(Metafile, SettingUnitsPerInchRewritesTheHeaderOfAWindowsMetafile) {
  TMetafile mf = Load<TMetafile>(WmfFile(1440, 720, 1440));
  mf.SetInch(1440);
  EXPECT_EQ(SavedBytes(mf), WmfFile(1440, 720, 1440));  // unchanged stays byte for byte
  mf.SetInch(720);
  EXPECT_EQ(mf.Width(), 192);
  EXPECT_EQ(mf.Height(), 96);
  EXPECT_EQ(SavedBytes(mf), WmfFile(1440, 720, 720));  // new field and checksum

  TMetafile emf = Load<TMetafile>(EmfFile(2540, 1270));
  emf.SetInch(1440);
  EXPECT_EQ(emf.Inch(), 0);
  EXPECT_EQ(SavedBytes(emf), EmfFile(2540, 1270));
}

TEST(Metafile, DrawsAFramedPlaceholder) {
  const TMetafile mf = Load<TMetafile>(WmfFile(150, 150, 1440));  // 10 x 10 pixels
  ASSERT_EQ(mf.Width(), 10);
  QImage image = White(14, 14);
  {
    TQtCanvas canvas(image);
    canvas.Draw(2, 2, mf);
  }
  EXPECT_EQ(Shade(image.pixel(2, 2)), 'g');
  EXPECT_EQ(Shade(image.pixel(11, 11)), 'g');
  EXPECT_EQ(Shade(image.pixel(6, 2)), 'g');
  EXPECT_EQ(Shade(image.pixel(6, 6)), 'g');  // on the diagonal
  EXPECT_EQ(Shade(image.pixel(4, 8)), '.');
  EXPECT_EQ(Shade(image.pixel(12, 12)), '.');

  TRecordingCanvas rec;
  rec.Draw(2, 2, mf);
  EXPECT_EQ(rec.Strings(), std::vector<std::string>{"Draw 2,2 TMetafile 10x10"});
}

TEST(Metafile, RefusesBadHeadersAndKeepsWhatItHad) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  auto emf = [](std::function<void(std::vector<uint8_t>&)> f) {
    std::vector<uint8_t> b = EmfFile(2540, 1270);
    f(b);
    return b;
  };
  auto wmf = [](std::function<void(std::vector<uint8_t>&)> f) {
    std::vector<uint8_t> b = WmfFile(1440, 720, 1440);
    f(b);
    return b;
  };
  const Case cases[] = {
      {"neither kind", {1, 2, 3, 4, 5}},
      {"raw Windows metafile without placeable header", wmf([](auto& b) { b.erase(b.begin(), b.begin() + 22); })},
      {"enhanced, truncated", emf([](auto& b) { b.resize(100); })},
      {"enhanced, header larger than the data", emf([](auto& b) { b[5] = 0x10; })},
      {"enhanced, frame reversed", emf([](auto& b) { b[32] = 0, b[33] = 0, b[24] = 5; })},
      {"enhanced, frame kilometres wide", emf([](auto& b) { b[35] = 0x10; })},
      {"placeable, zero units per inch", wmf([](auto& b) { b[14] = 0, b[15] = 0; })},
      {"placeable, bad record header", wmf([](auto& b) { b[24] = 3; })},
      {"placeable, records cut short", wmf([](auto& b) { b.erase(b.end() - 2, b.end()); })},
      {"placeable, box too large at 1 unit per inch", wmf([](auto& b) { b[14] = 1, b[15] = 0; })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMetafile mf = Load<TMetafile>(EmfFile(254, 254));
    TMemoryStream s(c.bytes);
    EXPECT_THROW(mf.LoadFromStream(s), EInvalidGraphic);
    EXPECT_EQ(mf.Width(), 10);
    EXPECT_EQ(SavedBytes(mf), EmfFile(254, 254));
  }
}

// ---------------------------------------------------------------- registry

TEST(GraphicRegistry, CreatesEveryKindDocumentsStore) {
  for (const char* name : {"TBitmap", "TIcon", "TMetafile", "TJPEGImage"}) {
    SCOPED_TRACE(name);
    const std::unique_ptr<TGraphic> g = CreateGraphic(name);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->ClassName(), name);
    EXPECT_TRUE(g->Empty());
  }
  EXPECT_EQ(CreateGraphic("TGIFImage"), nullptr);
}

}  // namespace
}  // namespace quillet
