// The layer bound to a real viewer, driven by simulated mouse input: a stroke
// and a seal are drawn, saved with the document, reloaded into another viewer
// and painted at the same pixels.
#include "host/annotation/postil_binding.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <optional>

#include "engine/model/host_lines.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "postil_test_support.h"

namespace quillet::test {
namespace {

struct Viewer {
  TDVStyle sheet;
  TDocView view;
  TQvPostil postil;
  TPostilBinding binding{postil, view};

  Viewer() {
    view.SetStyle(&sheet);
    view.Widget()->resize(420, 320);
    WithFixedDate(postil);
  }
  void Show() {
    view.Format();
    view.Show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.Widget()));
  }
  QImage Picture() { return view.ClientWidget()->grab().toImage(); }
};

TEST(PostilBinding, ADrawnStrokeAndSealSurviveSaveAndReload) {
  Viewer first;
  for (int i = 0; i < 30; ++i) first.view.AddNL("Line " + std::to_string(i), 0, 0);
  first.Show();
  const TCursor own = first.view.NormalCursor;
  first.postil.BeginPostil();
  first.binding.ShowMode();
  EXPECT_EQ(first.view.NormalCursor, crPostilPen);
  std::unique_ptr<TBitmap> seal = SealBitmap(40, 30);
  first.postil.PutBmp("seal.bmp", seal);
  QWidget* client = first.view.ClientWidget();

  QTest::mousePress(client, Qt::LeftButton, {}, QPoint(40, 40));
  for (const QPoint& p : {QPoint(60, 50), QPoint(80, 65), QPoint(100, 70), QPoint(130, 90), QPoint(160, 95)})
    QTest::mouseMove(client, p);
  QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(160, 95));
  first.binding.ArmSeal("seal.bmp", "ann");
  EXPECT_EQ(first.view.NormalCursor, crPostilSeal);
  QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(250, 150));
  EXPECT_FALSE(first.binding.SealPending());
  EXPECT_EQ(first.view.NormalCursor, crPostilPen);
  EXPECT_FALSE(first.view.SelectionExists());  // drawing selected nothing
  EXPECT_EQ(first.postil.GetBmpIDs(), ";seal.bmp");
  const QImage drawn = first.Picture();
  EXPECT_GT(RedPixels(drawn), 200);

  first.binding.SaveToDocument();
  TMemoryStream stream;
  ASSERT_TRUE(first.view.SaveDVFToStream(stream, false));
  stream.SetPosition(0);

  Viewer second;
  ASSERT_TRUE(second.view.LoadDVFFromStream(stream));
  second.binding.LoadFromDocument();
  second.Show();
  EXPECT_EQ(second.postil.AllPostil(), first.view.DVData().HostLines().allPostil);
  const QImage reloaded = second.Picture();
  ASSERT_EQ(reloaded.size(), drawn.size());
  EXPECT_EQ(reloaded, drawn);

  // Outside annotation mode the mouse selects again and draws nothing.
  const size_t records = first.postil.NewPostil().size();
  first.postil.EndPostil();
  first.binding.ShowMode();
  EXPECT_EQ(first.view.NormalCursor, own);
  QTest::mousePress(client, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseMove(client, QPoint(200, 30));
  QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(200, 30));
  EXPECT_EQ(first.postil.NewPostil().size(), records);
}

TEST(PostilBinding, AQuickSecondClickIsAStrokeToo) {
  Viewer viewer;
  for (int i = 0; i < 10; ++i) viewer.view.AddNL("Word " + std::to_string(i), 0, 0);
  viewer.Show();
  viewer.postil.BeginPostil();
  QWidget* client = viewer.view.ClientWidget();
  // As a window receives a double click: press, release, double click, release.
  const QPoint at(30, 12);
  QTest::mousePress(client, Qt::LeftButton, {}, at);
  QTest::mouseRelease(client, Qt::LeftButton, {}, at);
  QMouseEvent twice(QEvent::MouseButtonDblClick, at, client->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(client, &twice);
  QTest::mouseRelease(client, Qt::LeftButton, {}, at);
  EXPECT_FALSE(viewer.view.SelectionExists());
  size_t strokes = 0;
  for (const std::string& line : viewer.postil.NewPostil()) strokes += line.rfind("QPM;", 0) == 0;
  EXPECT_EQ(strokes, 2u);
}

TEST(PostilBinding, ScrolledStrokesStayOnTheirText) {
  Viewer viewer;
  for (int i = 0; i < 200; ++i) viewer.view.AddNL("Line " + std::to_string(i), 0, 0);
  viewer.Show();
  viewer.postil.BeginPostil();
  viewer.view.SetVScrollPos(10);
  const int32_t scrolled = viewer.view.VPos() * viewer.view.VSmallStep();
  ASSERT_GT(scrolled, 0);
  QWidget* client = viewer.view.ClientWidget();
  QTest::mousePress(client, Qt::LeftButton, {}, QPoint(20, 30));
  QTest::mouseMove(client, QPoint(60, 30));
  QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(60, 30));
  ASSERT_FALSE(viewer.postil.NewPostil().empty());
  EXPECT_EQ(viewer.postil.NewPostil().front().substr(0, 4 + std::to_string(20).size() + 1 +
                                                             std::to_string(30 + scrolled).size()),
            "QPM;20;" + std::to_string(30 + scrolled));
}

// A pen pressed lightly draws thinner; no tablet or a full press keeps the
// pen's width, and a touch never goes below one pixel.
TEST(PostilBinding, TabletPressureSetsTheWidthOfEachPoint) {
  struct Cases {
    std::optional<double> pressure;
    int32_t penWidth, width;
  };
  for (const Cases& c : std::initializer_list<Cases>{{std::nullopt, 6, 6},
                                                     {0.0, 6, 6},
                                                     {1.0, 6, 6},
                                                     {0.5, 6, 3},
                                                     {0.25, 6, 2},
                                                     {0.01, 6, 1},
                                                     {0.75, 2, 2},
                                                     {0.2, 2, 1}})
    EXPECT_EQ(PressedPenWidth(c.penWidth, c.pressure), c.width) << c.penWidth << " at " << c.pressure.value_or(-1);

  struct Tablet : TPressureSource {
    std::optional<double> Pressure() const override { return 0.5; }
  } tablet;
  Viewer viewer;
  viewer.Show();
  viewer.binding.Pen.Width = 8;
  viewer.binding.Pressure = &tablet;
  viewer.postil.BeginPostil();
  QWidget* client = viewer.view.ClientWidget();
  QTest::mousePress(client, Qt::LeftButton, {}, QPoint(20, 30));
  QTest::mouseMove(client, QPoint(60, 30));
  QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(60, 30));
  std::vector<std::string> pens;
  for (const std::string& line : viewer.postil.NewPostil())
    if (line.rfind("QPP;", 0) == 0) pens.push_back(line);
  ASSERT_FALSE(pens.empty());
  for (const std::string& pen : pens) EXPECT_EQ(pen.substr(pen.rfind(';')), ";4") << pen;
}

}  // namespace
}  // namespace quillet::test
