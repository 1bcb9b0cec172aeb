// Pictures loaded from files by their extension, and PNG data decoded
// through Qt with its size checked before anything is decoded.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QBuffer>
#include <QImage>
#include <filesystem>
#include <fstream>

#include "platform/gfx/picture_file.h"
#include "platform/gfx/picture_test_util.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Png(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(qRgb(0, 0, 255));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

class PictureFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("quillet_picture_file_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path file = dir_ / name;
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return file.string();
  }
  fs::path dir_;
};

TEST_F(PictureFileTest, KindByExtension) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* kind;
    int32_t width;
  };
  const Case cases[] = {
      {"a.bmp", SavedBytes(RedBlueBitmap(5, 2)), "TBitmap", 5},
      {"b.JPG", RedBlueJpeg(8, 4), "TJPEGImage", 8},
      {"c.png", Png(3, 2), "TBitmap", 3},
      {"d.emf", EmfFile(2540, 2540), "TMetafile", 96},
      {"e.wmf", WmfFile(96, 48, 96), "TMetafile", 96},
      {"f.ico", IconFile({{2, 2, IconImage(2, 2, 2)}}), "TIcon", 2},
  };
  for (const Case& c : cases) {
    const std::unique_ptr<TGraphic> graphic = LoadPictureFile(Write(c.name, c.bytes));
    ASSERT_TRUE(graphic) << c.name;
    EXPECT_EQ(graphic->ClassName(), c.kind) << c.name;
    EXPECT_EQ(graphic->Width(), c.width) << c.name;
  }
}

TEST_F(PictureFileTest, Refusals) {
  EXPECT_THROW(LoadPictureFile(Write("a.txt", {1, 2, 3})), EInvalidGraphic);
  EXPECT_THROW(LoadPictureFile(Write("b.png", {1, 2, 3})), EInvalidGraphic);
  EXPECT_THROW(LoadPictureFile(dir_.string() + "/missing.bmp"), EInvalidGraphic);
  fs::create_directories(dir_ / "folder.bmp");
  EXPECT_THROW(LoadPictureFile((dir_ / "folder.bmp").string()), EInvalidGraphic);
}

TEST(DecodeImageBytesTest, SizeIsCheckedFirst) {
  const std::unique_ptr<TBitmap> bitmap = DecodeImageBytes(Png(3, 2));
  EXPECT_EQ(bitmap->GetPixel(2, 1), 0xFF0000);
  // A header that claims 40000 x 40000 pixels is refused without decoding.
  std::vector<uint8_t> huge = Png(1, 1);
  const uint8_t side[4] = {0x00, 0x00, 0x9C, 0x40};
  std::copy(side, side + 4, huge.begin() + 16);
  std::copy(side, side + 4, huge.begin() + 20);
  EXPECT_THROW(DecodeImageBytes(huge), EInvalidGraphic);
}

}  // namespace
}  // namespace quillet
