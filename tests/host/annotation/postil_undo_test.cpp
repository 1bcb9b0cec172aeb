#include <gtest/gtest.h>

#include "platform/core/code_page.h"
#include "postil_test_support.h"

namespace quillet::test {
namespace {

// Each step: 'S' a stroke, 'T' a seal, 'U' undo, 'R' redo. The outcome: how
// many groups stand, how many seal records, and whether a redo is left.
TEST(PostilUndo, Sequences) {
  struct Case {
    const char* steps;
    size_t groups, seals;
    bool canRedo;
  };
  const Case cases[] = {
      {"U", 0, 0, false},     {"SSUUR", 1, 0, true}, {"SSUS", 2, 0, false}, {"TU", 0, 0, true},
      {"TUR", 1, 1, false},   {"STTUU", 1, 0, true}, {"STTUUR", 2, 1, true}, {"STUTR", 2, 1, false},
      {"SUUUR", 1, 0, false}, {"TTURRR", 2, 2, false},
  };
  for (const Case& c : cases) {
    TQvPostil postil;
    postil.loadPostil({"QPT;5;5;loaded;x;d", "QPM;1;1;x;d"});  // loaded records cannot be undone
    std::unique_ptr<TBitmap> bmp = SealBitmap();
    postil.PutBmp("seal", bmp);
    int y = 0;
    for (const char* s = c.steps; *s; ++s) {
      switch (*s) {
        case 'S': DrawStroke(postil, {{0, y, 1}, {5, y + 5, 1}}); break;
        case 'T': postil.AddTuZhang("seal", "ann", "d", 50, y, 0, 0, 1); break;
        case 'U': postil.Undo(); break;
        case 'R': postil.Redo(); break;
      }
      y += 10;
    }
    size_t groups = 0, seals = 0;
    for (const std::string& line : postil.NewPostil()) {
      groups += line.rfind("QPM;", 0) == 0 || line.rfind("QPT;", 0) == 0;
      seals += line.rfind("QPT;", 0) == 0;
    }
    EXPECT_EQ(groups, c.groups) << c.steps;
    EXPECT_EQ(postil.SealRecords().size(), seals + 1) << c.steps;  // and the loaded one
    EXPECT_EQ(seals, c.seals) << c.steps;
    EXPECT_EQ(postil.CanRedo(), c.canRedo) << c.steps;
    EXPECT_EQ(postil.AllPostil().size(), 2u) << c.steps;
  }
}

TEST(PostilUndo, AnUndoneSealWritesNoPicture) {
  TQvPostil postil;
  std::unique_ptr<TBitmap> bmp = SealBitmap();
  postil.PutBmp("seal", bmp);
  postil.AddTuZhang("seal", "ann", "d", 50, 50, 0, 0, 1);
  postil.Undo();
  std::vector<std::string> saved;
  postil.Save(saved);
  EXPECT_TRUE(saved.empty());
}

class WriterLookup : public testing::Test {
 protected:
  void SetUp() override {
    std::unique_ptr<TBitmap> bmp = SealBitmap(100, 60);
    postil.PutBmp("seal", bmp);
  }
  TQvPostil postil;
};

TEST_F(WriterLookup, StrokePointsWithinNinePixels) {
  postil.loadPostil({"QPM;100;100;Ann;2026-01-02", "QPL;300;300"});
  postil.SetUser("Bob");
  postil.Today = [] { return std::string("2026-12-10"); };
  DrawStroke(postil, {{100, 100, 1}, {200, 200, 1}});
  const std::string ann = "Ann" + Utf8ToAnsi("-批注-") + ";2026-01-02";
  struct Case {
    int32_t x, y;
    std::string writer;
  };
  const Case cases[] = {
      {109, 100, ann}, {91, 109, ann}, {110, 100, ""}, {100, 90, ""},     // loaded first; 10 pixels is too far
      {300, 300, ""},                                                    // a record without a writer
      {209, 191, "Bob" + Utf8ToAnsi("-批注-") + ";2026-12-10"},
  };
  for (const Case& c : cases) EXPECT_EQ(postil.ShowUserName(c.x, c.y, 0, 0, 1), c.writer) << c.x << "," << c.y;
  // Scrolled and offset like the window: the same point.
  postil.setLeftOffset(60);
  EXPECT_EQ(postil.ShowUserName(109 + 60 - 20, 100 - 30, 20, 3, 10), ann);
}

TEST_F(WriterLookup, SealsMatchInsideTheirBorder) {
  postil.loadPostil({"QPT;200;150;gone;x;d", "QPT;200;150;seal;Ann;2026-01-02", "QPT;400;400;seal"});
  const std::string ann = "Ann" + Utf8ToAnsi("加盖的图章") + ";2026-01-02";
  struct Case {
    int32_t x, y;
    std::string writer;
  };
  const Case cases[] = {{151, 121, ann}, {249, 179, ann}, {150, 150, ""}, {250, 150, ""},
                        {200, 120, ""},  {200, 180, ""},  {400, 400, ""}};
  // The first seal's picture is missing: the search goes on past it.
  for (const Case& c : cases) EXPECT_EQ(postil.ShowUserName(c.x, c.y, 0, 0, 1), c.writer) << c.x << "," << c.y;
}

}  // namespace
}  // namespace quillet::test
