// Anti-aliased pen strokes (LinesF) and the layer a paint keeps on the Qt
// canvas, and what the recording canvas logs of them.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

QImage White(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST(PenStrokes, FractionalWidthsBlendAndCapsAreRound) {
  QImage image = White(40, 20);
  {
    TQtCanvas canvas(image);
    const TLineF line{10, 10, 30, 10};
    canvas.LinesF(&line, 1, 3.0, 0x0000FF, 0, 0);
  }
  EXPECT_EQ(image.pixelColor(20, 10), QColor(255, 0, 0));  // the middle is solid
  // Half a pixel beyond 1.5 on each side the edge is blended, not cut.
  const QColor edge = image.pixelColor(20, 11);
  EXPECT_EQ(edge.red(), 255);
  EXPECT_GT(edge.green(), 0);
  EXPECT_LT(edge.green(), 255);
  EXPECT_NE(image.pixelColor(31, 10), QColor(255, 255, 255));  // the cap reaches past the end
  EXPECT_EQ(image.pixelColor(33, 10), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(20, 14), QColor(255, 255, 255));
}

TEST(PenStrokes, MovedByTheOffsetAndLogged) {
  TRecordingCanvas canvas;
  const TLineF lines[] = {{0, 0, 1.5, 2}, {1.5, 2, 3, 4}};
  canvas.LinesF(lines, 2, 2.25, 0x00FF00, 10, -1);
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"LineF 10,-1-11.5,1 w2.25 $00FF00",
                                                         "LineF 11.5,1-13,3 w2.25 $00FF00"}));
}

TEST(PenStrokes, ALayerIsShownWhereItWasDrawnAndKeptWhileItFits) {
  QImage image = White(30, 20);
  TQtCanvas canvas(image);
  std::unique_ptr<TCanvasLayer> layer;
  ASSERT_TRUE(canvas.FitLayer(layer));
  ASSERT_TRUE(layer);
  const TLineF line{5, 5, 20, 5};
  layer->Canvas().LinesF(&line, 1, 2, 0x000000, 0, 0);
  EXPECT_FALSE(canvas.FitLayer(layer));  // kept
  canvas.DrawLayer(*layer);
  canvas.EndPaint();
  EXPECT_EQ(image.pixelColor(12, 5), QColor(0, 0, 0));
  EXPECT_EQ(image.pixelColor(12, 12), QColor(255, 255, 255));  // transparent elsewhere
  layer->Clear();
  QImage other = White(50, 20);
  TQtCanvas bigger(other);
  EXPECT_TRUE(bigger.FitLayer(layer));  // another size: a new, clear layer
  TRecordingCanvas recording;
  EXPECT_FALSE(recording.FitLayer(layer));
  EXPECT_FALSE(layer);  // no layers: the caller draws directly
}

}  // namespace
}  // namespace quillet
