#include "host/annotation/stroke_smoothing.h"

#include <gtest/gtest.h>

#include "host/annotation/postil_record.h"
#include "postil_test_support.h"

namespace quillet::test {
namespace {

std::vector<std::vector<std::string>> FieldsOf(const std::vector<std::string>& lines) {
  std::vector<std::vector<std::string>> out;
  std::vector<std::string_view> fields;
  for (const std::string& line : lines) {
    SplitPostilFields(line, fields);
    out.emplace_back(fields.begin(), fields.end());
  }
  return out;
}

TEST(StrokeSmoothing, FivePointWeights) {
  struct Case {
    std::vector<float> in, out;
  };
  const Case cases[] = {
      {{0, 0, 0, 35, 0}, {2, -8, 12, 27, 2}},
      {{0, 0, 0, 0, 35, 0, 0}, {-0.5f, 2, -3, 12, 17, 12, -3}},
      {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}},  // a straight line stays
      {{4, 7, 1, 9}, {4, 7, 1, 9}},              // too short to smooth
  };
  for (const Case& c : cases) {
    std::vector<float> out;
    SmoothFivePoint(c.in, out);
    ASSERT_EQ(out.size(), c.out.size());
    for (size_t i = 0; i < out.size(); ++i) EXPECT_NEAR(out[i], c.out[i], 1e-5) << i;
  }
}

TEST(StrokeSmoothing, RewritesTheStrokeItEnds) {
  TQvPostil postil;
  WithFixedDate(postil);
  DrawStroke(postil, {{0, 10, 2}, {0, 10, 2}, {0, 10, 2}, {35, 10, 2}, {0, 10, 2}});
  const auto records = FieldsOf(postil.NewPostil());
  std::vector<std::string> xs;
  for (const auto& r : records)
    if (r[0] != "QPP") {
      xs.push_back(r[1]);
      EXPECT_EQ(r[2], "10");
      EXPECT_EQ(r[3], "ann");
      EXPECT_EQ(r[4], "2026-12-10");
    }
  EXPECT_EQ(xs, (std::vector<std::string>{"2", "-8", "12", "27", "2"}));
}

TEST(StrokeSmoothing, AWidthIsWrittenWithFifteenDigitsAndNeverBelowTheThinnest) {
  // Widths 2, 2, 2, 2, 3, 2 (the first point takes the width at pen-up):
  // the pen record after the start carries the second point's smoothed
  // width, (4 + 54 + 24 - 16 + 6) / 35 = 72/35.
  TQvPostil postil;
  DrawStroke(postil, {{0, 0, 2}, {1, 0, 2}, {2, 0, 2}, {3, 0, 2}, {4, 0, 3}, {5, 0, 2}});
  std::vector<std::string> pens;
  for (const auto& r : FieldsOf(postil.NewPostil()))
    if (r[0] == "QPP") {
      pens.push_back(r[2]);
      EXPECT_EQ(r[1], "255");  // the colour never changes
    }
  ASSERT_EQ(pens.size(), 3u);
  EXPECT_EQ(pens[0], "2.05714297294617");
  // Widths 1, 1, 5, 6, 1: the end weights would put the last width at 66/70.
  TQvPostil dip;
  DrawStroke(dip, {{0, 0, 1}, {1, 0, 1}, {2, 0, 6}, {3, 0, 6}, {4, 0, 1}});
  for (const auto& r : FieldsOf(dip.NewPostil()))
    if (r[0] == "QPP") {
      EXPECT_GE(*ParsePostilNumber(r[2]), 1.0) << r[2];
    }
}

TEST(StrokeSmoothing, StraightStrokesAndShortOnesKeepTheirRecords) {
  struct Case {
    const char* name;
    std::vector<StrokePoint> points;
  };
  const Case cases[] = {
      {"straight, even", {{0, 0, 3}, {4, 2, 3}, {8, 4, 3}, {12, 6, 3}, {16, 8, 3}, {20, 10, 3}}},
      {"four points", {{0, 0, 3}, {9, 1, 3}, {2, 7, 3}, {30, 3, 3}}},
      {"a click", {{5, 5, 3}}},
  };
  for (const Case& c : cases) {
    TQvPostil postil;
    postil.Today = [] { return std::string("d"); };
    postil.BeginDraw();
    postil.AddPointM(c.points[0].X, c.points[0].Y, 255, c.points[0].Width, 0, 0, 1);
    for (size_t i = 1; i < c.points.size(); ++i)
      postil.AddPointL(c.points[i].X, c.points[i].Y, 255, c.points[i].Width, 0, 0, 1);
    const std::vector<std::string> written = postil.NewPostil();
    postil.EndDraw();
    EXPECT_EQ(postil.NewPostil(), written) << c.name;
  }
}

TEST(StrokeSmoothing, RedoBringsBackTheStrokeAsWritten) {
  TQvPostil postil;
  postil.Today = [] { return std::string("d"); };
  postil.BeginDraw();
  postil.AddPointM(0, 0, 255, 2, 0, 0, 1);
  for (int x : {0, 0, 35, 0}) postil.AddPointL(x, 0, 255, 2, 0, 0, 1);
  const std::vector<std::string> written = postil.NewPostil();
  postil.EndDraw();
  EXPECT_NE(postil.NewPostil(), written);
  postil.Undo();
  EXPECT_TRUE(postil.NewPostil().empty());
  postil.Redo();
  EXPECT_EQ(postil.NewPostil(), written);
}

}  // namespace
}  // namespace quillet::test
