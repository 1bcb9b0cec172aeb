// Painting on the Qt canvas: text pixels land where the layout put them, and
// a document shown in a real window paints through the buffered paint, shows
// failures as text, follows the window's focus and asks it to repaint
// hyperlinks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "engine/base/doc_view_error.h"
#include "layout_test_data.h"
#include "platform/gfx/qt_canvas.h"
#include "platform/ui/control.h"

namespace quillet::test {
namespace {

bool IsDark(QRgb c) { return qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128; }

// Dark pixels in the rectangle (clipped to the image).
int DarkPixels(const QImage& image, const TRect& r) {
  int n = 0;
  for (int y = std::max(0, r.Top); y < std::min(image.height(), r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(image.width(), r.Right); ++x)
      if (IsDark(image.pixel(x, y))) ++n;
  return n;
}

TEST(QtPainting, TextPixelsAppearWhereTheLayoutPutThem) {
  QImage image(300, 120, QImage::Format_RGB32);
  TQtCanvas canvas(image);
  LayoutData data;
  data.formatCanvas = &canvas;
  data.clientWidth = 300;
  TFontInfo& font = data.sheet.TextStyles()[0];
  font.FontName = "Arial";
  font.Size = 20;
  font.Color = clBlack;
  data.AddNL("HHHH", 0, 0);
  data.AddNL("MMMMMMMM", 0, 0);
  data.Format();
  ASSERT_EQ(data.DrawItems.Count(), 2);
  const TDVDrawLineInfo* first = data.DrawItems[0];
  const TDVDrawLineInfo* second = data.DrawItems[1];
  ASSERT_GT(first->Width, 20);

  image.fill(Qt::white);
  data.vOffs = 0;
  data.PaintTo(canvas, Rect(0, 0, 300, 120));
  canvas.EndPaint();
  const TRect firstRect = Bounds(first->Left, first->Top, first->Width, first->Height);
  const TRect secondRect = Bounds(second->Left, second->Top, second->Width, second->Height);
  EXPECT_GT(DarkPixels(image, firstRect), 40);
  EXPECT_GT(DarkPixels(image, secondRect), 40);
  // Nothing right of the shorter line, nothing below the last one.
  EXPECT_EQ(DarkPixels(image, Rect(firstRect.Right + 2, firstRect.Top, 300, firstRect.Bottom)), 0);
  EXPECT_EQ(DarkPixels(image, Rect(0, secondRect.Bottom + 2, 300, 120)), 0);

  // Scrolled down by the first line's height, the second line takes its place.
  image.fill(Qt::white);
  data.vOffs = second->Top;
  data.PaintTo(canvas, Rect(0, 0, 300, 120));
  canvas.EndPaint();
  EXPECT_GT(DarkPixels(image, Bounds(second->Left + first->Width + 2, 0, second->Width - first->Width - 2,
                                     second->Height)),
            20);
}

// A window that shows a document the way the viewer does.
class TPaintWindow : public TCustomControl {
 public:
  TCustomDVFormattedData* data = nullptr;
  std::vector<TRect> paintClips;
  std::vector<std::string> exceptions;
  void HandleException(std::string_view message) noexcept override { exceptions.emplace_back(message); }

 protected:
  void Paint(TCanvas& canvas) override {
    paintClips.push_back(canvas.ClipRect());
    data->PaintBuffered(canvas);
  }
};

class WindowData : public LayoutData {
 public:
  TPaintWindow* window = nullptr;
  TCustomControl* GetParentWindow() const override { return window; }
};

// An object that fails while painting.
class ThrowingRect : public TestRect {
 public:
  using TestRect::TestRect;
  TDVItemClass ItemClass() const override { return DVItemClassOf<ThrowingRect>; }
  void Paint(int32_t, int32_t, TCanvas&, TDVItemDrawStates, const TDVStyle*, const TDVDrawLineInfo*) const override {
    throw EDocViewError("Picture data is damaged");
  }
};

class WindowPainting : public testing::Test {
 protected:
  void SetUp() override {
    window.data = &data;
    data.window = &window;
    window.SetBounds(0, 0, 200, 100);
    window.Show();
    QApplication::setActiveWindow(window.Widget());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.Widget()));
  }
  QImage Grab() { return window.ClientWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  TPaintWindow window;
  WindowData data;
};

TEST_F(WindowPainting, PaintingFailureIsShownInRedAndNeverLeavesThePaintEvent) {
  data.AddNL("ok", 0, 0);
  data.AddItem("bad", std::make_unique<ThrowingRect>(&data));
  data.Format();
  window.Refresh();
  EXPECT_TRUE(window.exceptions.empty());
  const QImage image = Grab();
  int red = 0;
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 100; ++x) {
      const QRgb c = image.pixel(x, y);
      if (qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80) ++red;
    }
  EXPECT_GT(red, 10);
}

TEST_F(WindowPainting, SelectionColoursFollowTheWindowsFocus) {
  data.sheet.InactiveSelColor = clGray;
  data.AddNL("abc", 0, 0);
  data.Format();
  data.FSelStartNo = data.FSelEndNo = 0;
  data.FSelStartOffs = 1;
  data.FSelEndOffs = 4;
  auto selectedBack = [this] {
    TRecordingCanvas c;
    data.PaintTo(c, Rect(0, 0, 200, 100));
    return c.OfKind(TCanvasOp::Text).at(0).Brush.Color;
  };
  window.SetFocus();
  ASSERT_TRUE(QTest::qWaitFor([this] { return window.Focused(); }));
  EXPECT_EQ(selectedBack(), data.sheet.SelColor);
  window.Widget()->clearFocus();
  EXPECT_EQ(selectedBack(), clGray);
}

struct JumpRepaintCase {
  const char* name;
  bool fullRedraw;
  bool viaMouseLeave;
};

class HyperlinkRepaint : public WindowPainting, public testing::WithParamInterface<JumpRepaintCase> {};

TEST_P(HyperlinkRepaint, RepaintsTheLinksAreaOrTheWholeWindow) {
  const JumpRepaintCase& c = GetParam();
  data.flags |= dvflUseJumps;
  data.sheet.FullRedraw = c.fullRedraw;
  data.AddNL("text ", 0, 0);
  data.AddNL("link", dvsJump1, -1);
  data.Format();
  ASSERT_EQ(data.Jumps.size(), 1u);
  const TDVJumpInfo& jump = *data.Jumps[0];
  ASSERT_EQ(jump.Left, 30);
  data.vOffs = 0;
  window.Refresh();
  window.paintClips.clear();
  if (c.viaMouseLeave) {
    data.State |= dvstDrawHover;
    data.LastJumpMovedAbove = jump.Id;
    data.LastDVDataMovedAbove = &data;
    data.MouseLeave();
    EXPECT_EQ(data.LastJumpMovedAbove, -1);
    EXPECT_EQ(data.State & dvstDrawHover, 0u);
  } else {
    data.InvalidateJumpRect(jump.Id);
  }
  ASSERT_EQ(window.paintClips.size(), 1u);
  // The link's area grown by 5 on every side, within the window.
  const TRect client = Rect(0, 0, window.ClientWidth(), window.ClientHeight());
  TRect expected = client;
  if (!c.fullRedraw)
    IntersectRect(expected, client,
                  Rect(jump.Left - 5, jump.Top - 5, jump.Left + jump.Width + 5, jump.Top + jump.Height + 5));
  EXPECT_EQ(window.paintClips[0], expected);
  EXPECT_EQ(expected.Right, c.fullRedraw ? client.Right : 59);
}

INSTANTIATE_TEST_SUITE_P(Table, HyperlinkRepaint,
                         testing::Values(JumpRepaintCase{"LinkArea", false, false},
                                         JumpRepaintCase{"FullRedraw", true, false},
                                         JumpRepaintCase{"MouseLeave", false, true}),
                         [](const testing::TestParamInfo<JumpRepaintCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(WindowlessData, IgnoresInvalidation) {
  LayoutData data;
  data.AddNL("abc", 0, 0);
  data.Format();
  data.Invalidate();
  data.Refresh();
  data.UpdateView();
  data.InvalidateRect(Rect(0, 0, 5, 5));
  data.InvalidateJumpRect(0);
  EXPECT_EQ(data.GetParentWindow(), nullptr);
  EXPECT_FALSE(data.ParentFocusedEx());
}

}  // namespace
}  // namespace quillet::test
