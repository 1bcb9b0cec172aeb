// The window/viewport mapping of both canvases, and fonts on surfaces whose
// two resolutions differ.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "gfx_test_util.h"
#include "platform/gfx/preview_mapping.h"
#include "platform/gfx/qt_canvas.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {
namespace {

// The bounding box of everything not white.
QRect Ink(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
  return box;
}

QImage White(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// An image whose logical resolutions are ppiX by ppiY.
QImage WhiteAt(int w, int h, int ppiX, int ppiY) {
  QImage image = White(w, h);
  image.setDotsPerMeterX(static_cast<int>(std::lround(ppiX / 0.0254)));
  image.setDotsPerMeterY(static_cast<int>(std::lround(ppiY / 0.0254)));
  return image;
}

TEST(CanvasMapping, ShapesAndClipsLandInTheViewport) {
  const struct {
    const char* name;
    TRect window, viewport;
    TRect fill;      // logical
    TRect clip;      // logical; empty = none
    QRect expected;  // on the image
  } cases[] = {
      {"shrunk", {0, 0, 1000, 1000}, {10, 20, 110, 220}, {0, 0, 500, 500}, {}, QRect(10, 20, 50, 100)},
      {"moved window", {100, 100, 300, 300}, {0, 0, 100, 100}, {100, 100, 200, 300}, {}, QRect(0, 0, 50, 100)},
      {"enlarged", {0, 0, 10, 10}, {0, 0, 100, 50}, {1, 1, 3, 5}, {}, QRect(10, 5, 20, 20)},
      {"clipped", {0, 0, 1000, 1000}, {10, 20, 110, 220}, {0, 0, 1000, 1000}, {0, 0, 250, 1000},
       QRect(10, 20, 25, 200)},
  };
  for (const auto& c : cases) {
    QImage image = White(240, 240);
    {
      TQtCanvas canvas(image);
      ASSERT_TRUE(canvas.SetMapping(c.window, c.viewport));
      if (!c.clip.IsEmpty()) {
        canvas.IntersectClipRect(c.clip);
        EXPECT_EQ(canvas.ClipRect(), c.clip) << c.name;  // answered in logical units
      }
      canvas.Brush().Color = clBlack;
      canvas.FillRect(c.fill);
    }
    EXPECT_EQ(Ink(image), c.expected) << c.name;
  }
}

// A clip stays where it was set on the surface when a mapping comes later,
// as a preview clips to its page and then maps the printer's sheet onto it.
TEST(CanvasMapping, AClipSetBeforeTheMappingKeepsItsPlace) {
  QImage image = White(240, 240);
  {
    TQtCanvas canvas(image);
    canvas.IntersectClipRect(Rect(10, 20, 60, 220));
    ASSERT_TRUE(canvas.SetMapping({0, 0, 1000, 1000}, {10, 20, 110, 220}));
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 500, 1000));  // answered in logical units
    canvas.Brush().Color = clBlack;
    canvas.FillRect({0, 0, 1000, 1000});
  }
  EXPECT_EQ(Ink(image), QRect(10, 20, 50, 200));
}

// A widget's painter comes with its own clip and transformation; the
// mapping works inside them and leaves them as they were.
TEST(CanvasMapping, AnOutsidePaintersClipAndTransformationStay) {
  QImage image = White(200, 200);
  QPainter painter(&image);
  painter.translate(10, 10);
  painter.setClipRect(QRect(0, 0, 60, 200));
  {
    TQtCanvas canvas(painter);
    canvas.SetMapping({0, 0, 400, 400}, {0, 0, 200, 200});
    canvas.IntersectClipRect({0, 0, 400, 100});  // 200 by 50 on the painter, cut to 60 by 50
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 400, 100));
    canvas.Brush().Color = clBlack;
    canvas.FillRect({0, 0, 400, 400});
  }
  EXPECT_EQ(painter.worldTransform(), QTransform::fromTranslate(10, 10));
  painter.end();
  EXPECT_EQ(Ink(image), QRect(10, 10, 60, 50));
}

TEST(CanvasMapping, OnePixelLinesStayOneSurfacePixelWide) {
  for (const int viewport : {10, 300}) {  // a tenth and three times the window
    QImage image = White(320, 320);
    {
      TQtCanvas canvas(image);
      canvas.SetMapping({0, 0, 100, 100}, {0, 0, viewport, viewport});
      canvas.MoveTo(0, 50);
      canvas.LineTo(100, 50);
    }
    const int y = viewport / 2;
    EXPECT_EQ(Ink(image), QRect(0, y, viewport, 1)) << viewport;
  }
}

TEST(CanvasMapping, StateRestoreAndRefusal) {
  QImage image = White(100, 100);
  TQtCanvas canvas(image);
  EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 100, 100));
  // Extents without width or height are refused and change nothing.
  EXPECT_FALSE(canvas.SetMapping({0, 0, 0, 10}, {0, 0, 10, 10}));
  EXPECT_FALSE(canvas.SetMapping({0, 0, 10, 10}, {5, 5, 15, 5}));
  EXPECT_FALSE(canvas.HasMapping());

  canvas.SaveState();
  ASSERT_TRUE(canvas.SetMapping({0, 0, 1000, 1000}, {0, 0, 100, 100}));
  EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 1000, 1000));  // the surface in logical units
  canvas.RestoreState();
  EXPECT_FALSE(canvas.HasMapping());
  canvas.Brush().Color = clBlack;
  canvas.FillRect({0, 0, 10, 10});
  canvas.EndPaint();
  EXPECT_EQ(Ink(image), QRect(0, 0, 10, 10));
}

TEST(CanvasMapping, RecordingCanvasLogsTheMappingAndKeepsLogicalCoordinates) {
  TRecordingCanvas canvas;
  canvas.SaveState();
  canvas.SetMapping({0, 0, 600, 800}, {10, 10, 70, 90});
  canvas.FillRect({0, 0, 300, 400});
  canvas.RestoreState();
  canvas.SetMapping({0, 0, 600, 800}, {10, 10, 70, 90});
  canvas.ResetMapping();
  canvas.ResetMapping();  // nothing to reset
  EXPECT_EQ(canvas.Strings(), (std::vector<std::string>{"Mapping 0,0,600,800 -> 10,10,70,90", "FillRect 0,0,300,400",
                                                         "ResetMapping", "Mapping 0,0,600,800 -> 10,10,70,90",
                                                         "ResetMapping"}));
}

// A 36-point font on a device of ppiX by ppiY: its height is device pixels
// vertically, and its characters are as wide in inches on every device.
TEST(CanvasMapping, TextKeepsItsShapeWhenTheTwoResolutionsDiffer) {
  const struct {
    int ppiX, ppiY;
  } cases[] = {{600, 600}, {600, 1200}, {1200, 600}, {300, 600}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.ppiX) + "x" + std::to_string(c.ppiY));
    TRecordingCanvas recording;
    recording.SetPixelsPerInch(c.ppiX, c.ppiY);
    recording.Font().SetSize(36);
    EXPECT_EQ(recording.Font().Height, -36 * c.ppiY / 72);
    EXPECT_NEAR(recording.GetTextMetrics().tmAveCharWidth * 72.0 / c.ppiX, 18, 0.2);
    EXPECT_EQ(recording.TextExtentW(u"ab中").cx, 4 * recording.HalfWidth());

    QImage device = WhiteAt(10, 10, c.ppiX, c.ppiY);
    TQtCanvas canvas(device);
    ASSERT_EQ(canvas.PixelsPerInchX(), c.ppiX);
    ASSERT_EQ(canvas.PixelsPerInchY(), c.ppiY);
    canvas.Font().Name = "Arial";
    canvas.Font().SetSize(36);
    // "HHHHHHHHHH" is about 3.6 inches at 36 points in DejaVu Sans (0.752 em per H).
    const double inches = canvas.TextExtentW(u"HHHHHHHHHH").cx / static_cast<double>(c.ppiX);
    EXPECT_NEAR(inches, 10 * 0.752 * 0.5, 0.03);
    EXPECT_EQ(canvas.TextExtentW(u"H").cy, canvas.GetTextMetrics().tmHeight);
  }
}

// The preview draws a page laid out in printer pixels onto the screen through
// a mapping of the sheet onto the page's rectangle, with the fonts sized as on
// the printer: the text comes out the same size on the screen whatever the
// printer's two resolutions.
TEST(CanvasMapping, PreviewTextKeepsItsSizeWhenThePrinterResolutionsDiffer) {
  constexpr int kSheetW = 4, kSheetH = 3;  // inches
  constexpr int kScreenPpi = 96;
  const struct {
    int ppiX, ppiY;
  } cases[] = {{600, 600}, {600, 1200}, {1200, 600}, {360, 720}};
  QRect reference;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.ppiX) + "x" + std::to_string(c.ppiY));
    const TRect sheet{0, 0, kSheetW * c.ppiX, kSheetH * c.ppiY};
    const TRect page{20, 20, 20 + kSheetW * kScreenPpi, 20 + kSheetH * kScreenPpi};

    // What pagination measures on the printer's canvas.
    TRecordingCanvas printer;
    printer.SetPixelsPerInch(c.ppiX, c.ppiY);
    printer.Font().SetSize(24);
    const int32_t printerWidth = printer.TextExtentW(u"Preview").cx;

    QImage screen = White(page.Right + 20, page.Bottom + 20);
    {
      TQtCanvas canvas(screen);
      canvas.Font().Name = "Arial";
      canvas.Font().Color = clBlack;
      canvas.SetBkMode(bkTransparent);
      {
        const TPreviewMapping preview(canvas, sheet, page, c.ppiY);
        EXPECT_NEAR(canvas.FontAspect(), static_cast<double>(c.ppiX) / c.ppiY, 0.001);
        canvas.Font().SetSize(24);
        canvas.TextOutW(c.ppiX / 2, c.ppiY / 2, u"HHHH");  // half an inch in
      }
      EXPECT_FALSE(canvas.HasMapping());
      EXPECT_EQ(canvas.Font().PixelsPerInch, 96);

      // The recording canvas under the same mapping measures what it does on the printer.
      TRecordingCanvas recording;
      const TPreviewMapping preview(recording, sheet, page, c.ppiY);
      recording.Font().SetSize(24);
      EXPECT_NEAR(recording.TextExtentW(u"Preview").cx, printerWidth, 1);
    }
    const QRect ink = Ink(screen);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.left(), 20 + kScreenPpi / 2, 3);
    if (reference.isNull()) {
      reference = ink;
      // 24 points at 96 pixels per inch: a capital H is about 23 pixels high.
      EXPECT_NEAR(ink.height(), 23, 2);
      continue;
    }
    EXPECT_NEAR(ink.width(), reference.width(), 2);
    EXPECT_NEAR(ink.height(), reference.height(), 1);
    EXPECT_NEAR(ink.top(), reference.top(), 1);
  }
}

TEST(CanvasMapping, APreviewPageWithoutAreaShowsNothing) {
  QImage screen = White(50, 50);
  {
    TQtCanvas canvas(screen);
    const TPreviewMapping preview(canvas, {0, 0, 4961, 7016}, {10, 10, 10, 40}, 600);
    canvas.Brush().Color = clBlack;
    canvas.FillRect({0, 0, 4961, 7016});
  }
  EXPECT_TRUE(Ink(screen).isEmpty());
}

}  // namespace
}  // namespace quillet
