#include "engine/stream/dvf_pictures.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/base/shared_routines.h"
#include "engine/base/dvf_tokens.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/jpeg_image.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

std::vector<uint8_t> Bytes(const TGraphic& g) {
  TMemoryStream s;
  g.SaveToStream(s);
  return s.Bytes();
}

std::unique_ptr<TGraphic> Bmp() {
  auto bmp = std::make_unique<TBitmap>(6, 3);
  bmp->SetPixel(1, 1, clRed);
  return bmp;
}

std::unique_ptr<TGraphic> Jpeg() {
  auto jpeg = std::make_unique<TJPEGImage>();
  TBitmap bmp(16, 8);
  bmp.SetPixel(3, 3, clBlue);
  jpeg->Assign(bmp);
  return jpeg;
}

// The body as the hexadecimal line or as the bytes of the binary block.
std::string SaveBody(const TGraphic& g, bool binary) {
  if (!binary) return DVFSavePicture(g);
  TMemoryStream s;
  s.WriteString("ab");
  DVFSavePictureBinary(s, g);
  const std::vector<uint8_t>& b = s.Bytes();
  EXPECT_EQ(s.GetPosition(), s.GetSize());
  const uint32_t length = b[2] | (b[3] << 8) | (b[4] << 16) | (uint32_t{b[5]} << 24);
  EXPECT_EQ(length, b.size() - 6);
  return std::string(b.begin() + 6, b.end());
}

bool LoadBody(std::string_view body, TGraphic& g, bool binary) {
  return binary ? DVFLoadPictureBinary(body, g) : DVFLoadPicture(body, g);
}

TEST(DVFPictures, BitmapsAndJpegsSurviveBothForms) {
  for (bool binary : {false, true}) {
    for (auto make : {Bmp, Jpeg}) {
      const std::unique_ptr<TGraphic> original = make();
      SCOPED_TRACE(std::string(original->ClassName()) + (binary ? " binary" : " hex"));
      const std::string body = SaveBody(*original, binary);
      if (!binary) {
        TMemoryStream data(Bytes(*original));
        EXPECT_EQ(body, DVFStream2TextString(data));
      }

      const std::unique_ptr<TGraphic> back = DV_CreateGraphics(std::string(original->ClassName()));
      ASSERT_NE(back, nullptr);
      ASSERT_TRUE(LoadBody(body, *back, binary));
      EXPECT_EQ(Bytes(*back), Bytes(*original));
      TRecordingCanvas canvas;
      canvas.Draw(1, 2, *back);
      EXPECT_EQ(canvas.Strings().at(0), "Draw 1,2 " + std::string(original->ClassName()) + " " +
                                            std::to_string(original->Width()) + "x" +
                                            std::to_string(original->Height()));
    }
  }
}

TEST(DVFPictures, ABadBodyLeavesTheGraphicEmpty) {
  struct Case {
    const char* name;
    bool binary;
    std::function<void(std::string&)> spoil;
  };
  const Case cases[] = {
      {"hex, odd length", false, [](std::string& s) { s.pop_back(); }},
      {"hex, bad digit after a valid start", false, [](std::string& s) { s[s.size() - 6] = 'G'; }},
      {"hex, truncated picture", false, [](std::string& s) { s.resize(s.size() / 2 & ~size_t{1}); }},
      {"binary, truncated picture", true, [](std::string& s) { s.resize(s.size() / 2); }},
      {"binary, garbage", true, [](std::string& s) { s.assign("not a picture"); }},
  };
  for (const Case& c : cases) {
    for (auto make : {Bmp, Jpeg}) {
      const std::unique_ptr<TGraphic> original = make();
      SCOPED_TRACE(std::string(c.name) + " " + std::string(original->ClassName()));
      std::string body = SaveBody(*original, c.binary);
      c.spoil(body);
      const std::unique_ptr<TGraphic> g = make();  // holds a picture before the read
      EXPECT_FALSE(LoadBody(body, *g, c.binary));
      EXPECT_TRUE(g->Empty());
      EXPECT_TRUE(Bytes(*g).empty());
    }
  }
}

TEST(DVFPictures, AnEmptyBodyIsAnEmptyPicture) {
  for (bool binary : {false, true}) {
    const std::unique_ptr<TGraphic> g = Jpeg();
    EXPECT_TRUE(LoadBody("", *g, binary));
    EXPECT_TRUE(g->Empty());
    EXPECT_EQ(SaveBody(*g, binary), "");
  }
}

TEST(DVFPictures, TheDefaultFactoryMakesEveryStoredKind) {
  for (const char* name : {"TBitmap", "TIcon", "TMetafile", "TJPEGImage"}) {
    const std::unique_ptr<TGraphic> g = DV_CreateGraphicsDefault(name);
    ASSERT_NE(g, nullptr) << name;
    EXPECT_EQ(g->ClassName(), name);
  }
  EXPECT_EQ(DV_CreateGraphicsDefault("TPngImage"), nullptr);
}

}  // namespace
}  // namespace quillet
