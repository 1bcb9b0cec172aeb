#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "engine/export/html_sample.h"
#include "engine/view/background.h"
#include "platform/gfx/jpeg_image.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

TBitmap RedBitmap() {
  TBitmap bitmap(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) bitmap.SetPixel(x, y, clRed);
  return bitmap;
}

TEST(PictureFiles, NextFreeName) {
  test::TempFolder folder("quillet_next_name");
  test::ExportData data;
  test::WriteFile(folder.Path() / "img1.jpg", "x");
  test::WriteFile(folder.Path() / "img2.jpg", "x");
  ::chmod((folder.Path() / "img2.jpg").c_str(), 0444);
  fs::create_directory(folder.Path() / "img3.jpg");
  struct Case {
    bool overrideFiles;
    int start;
    std::string name;
    int number;
  } cases[] = {
      {false, 0, "img4.jpg", 4},
      {true, 0, "img1.jpg", 1},  // writable files may be overwritten
      {true, 1, "img4.jpg", 4},  // never a read-only file or a folder
      {false, 10, "img11.jpg", 11},
  };
  for (const Case& c : cases) {
    int no = c.start;
    EXPECT_EQ(data.GetNextFileName("img", folder.Dir(), ".jpg", no, c.overrideFiles), folder.Dir() + c.name);
    EXPECT_EQ(no, c.number);
  }
}

TEST(PictureFiles, SavedAsBitmapOrJPEG) {
  test::TempFolder folder("quillet_save_picture");
  fs::create_directory(folder.Path() / "pics");
  test::ExportData data;
  int no = 0;
  const TBitmap bitmap = RedBitmap();
  EXPECT_EQ(data.SavePicture(false, folder.Dir(), "pics/p", no, false, clWhite, bitmap), "pics/p1.bmp");
  TBitmap bmp;
  bmp.LoadFromFile((folder.Path() / "pics/p1.bmp").string());
  EXPECT_EQ(bmp.GetPixel(3, 2), clRed);

  EXPECT_EQ(data.SavePicture(true, folder.Dir(), "pics/p", no, false, clWhite, bitmap), "pics/p2.jpg");
  TJPEGImage jpeg;
  jpeg.LoadFromFile((folder.Path() / "pics/p2.jpg").string());
  EXPECT_EQ(jpeg.Width(), 4);
  EXPECT_EQ(jpeg.Height(), 3);

  // A JPEG picture is written byte for byte as it is.
  EXPECT_EQ(data.SavePicture(true, folder.Dir(), "q", no, false, clWhite, jpeg), "q3.jpg");
  EXPECT_EQ(test::ReadFile(folder.Path() / "q3.jpg"), test::ReadFile(folder.Path() / "pics/p2.jpg"));
}

TEST(PictureFiles, BackgroundPictureOfAPage) {
  test::TempFolder folder("quillet_html_background");
  test::HTMLSample s;
  TDVBackground background;
  background.SetBitmap(RedBitmap());
  for (auto style : {bsTiledAndScrolled, bsCentered}) {
    background.Style = style;
    TMemoryStream font, css;
    ASSERT_TRUE(s.data.SaveHTMLToStream(font, folder.Dir(), "t", "bg", 0, clWhite, &background, {}));
    ASSERT_TRUE(s.data.SaveHTMLToStreamEx(css, folder.Dir(), "t", "bg", "", "", 0, clWhite, &background, {}));
    if (style == bsTiledAndScrolled) {
      EXPECT_NE(font.AsString().find("<BODY bgcolor=#FFFFFF background=\"bg1.jpg\" leftmargin"), std::string::npos);
      EXPECT_NE(css.AsString().find("  background-image: url(\"bg2.jpg\");\r\n  background-repeat: repeat;\r\n"
                                    "  background-attachment: scroll;\r\n}"),
                std::string::npos);
    } else {
      EXPECT_NE(font.AsString().find(" background=\"bg3.jpg\" bgproperties=fixed leftmargin"), std::string::npos);
      EXPECT_NE(css.AsString().find("  background-image: url(\"bg4.jpg\");\r\n  background-repeat: no-repeat;\r\n"
                                    "  background-attachment: fixed;\r\n  background-position: center center;\r\n}"),
                std::string::npos);
    }
  }
  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(fs::exists(folder.Path() / ("bg" + std::to_string(i) + ".jpg")));
}

TEST(PictureFiles, FailedPageKeepsTheOldFile) {
  test::TempFolder folder("quillet_html_file");
  test::HTMLSample s;
  const std::string file = (folder.Path() / "page.html").string();
  ASSERT_TRUE(s.data.SaveHTML(file, "t", "img", 0, clWhite, nullptr, {}));
  ASSERT_TRUE(s.data.SaveHTMLEx(file, "Sample <1>", "img", "", "", 0, clWhite, nullptr, {5, 6, 7, 8}));
  const std::string before = test::ReadFile(file);
  EXPECT_EQ(before, s.CSS());
  // The pictures' folder does not exist: the picture cannot be written.
  TDVBackground background;
  background.SetBitmap(RedBitmap());
  background.Style = bsTiled;
  EXPECT_THROW(s.data.SaveHTML(file, "t", "missing/img", 0, clWhite, &background, {}), EStreamError);
  EXPECT_THROW(s.data.SaveHTMLEx(file, "t", "missing/img", "", "", 0, clWhite, &background, {}), EStreamError);
  EXPECT_EQ(test::ReadFile(file), before);
}

}  // namespace
}  // namespace quillet
