// The caret on the Qt canvas with the pinned fonts (the test program
// installs resources/fonts/fonts.conf): proportional Latin and Chinese
// glyphs, measured as the layout measures them, so the caret stands where
// the text was cut and drawn, and it is painted there.
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <cstdlib>

#include "caret_test_util.h"

namespace quillet::test {
namespace {

class QtCaret : public CaretTest {
 protected:
  void SetUp() override {
    CaretTest::SetUp();
    Data().MeasureCanvas = nullptr;  // the editor's own canvas
    for (int32_t no : {kGbk, kUni}) {
      sheet.TextStyles()[no].FontName = "宋体";
      sheet.TextStyles()[no].Size = 12;
    }
    editor->SetBounds(0, 0, 220, 300);
  }
  QImage Grab() const { return editor->ClientWidget()->grab().toImage(); }
  // A rectangle of the document in client coordinates.
  QRect Client(const TRect& r) const {
    return QRect(r.Left - Data().GetHOffs(), r.Top - Data().GetVOffs(), r.Right - r.Left, r.Bottom - r.Top);
  }
  static int Count(const QImage& image, const QRect& r, bool (*pred)(QRgb)) {
    int n = 0;
    for (int y = std::max(0, r.top()); y <= std::min(image.height() - 1, r.bottom()); ++y)
      for (int x = std::max(0, r.left()); x <= std::min(image.width() - 1, r.right()); ++x)
        if (pred(image.pixel(x, y))) ++n;
    return n;
  }
};

const char* const kMixed =
    "P0 0\"Caret 光标 stops follow 文字 the glyphs, 中文和 Latin mixed: WWW iii 测试。\" "
    "P0 1\"第二段 with Unicode text 😀 and more words to wrap\"";

// Every drawing item's stops begin at its left edge and end at its right
// edge, as wide as the layout measured the piece; x grows along the line.
TEST_F(QtCaret, StopsMeetTheEdgesOfEveryPieceTheLayoutCut) {
  Load(kMixed);
  ASSERT_GT(Data().DrawItems.Count(), 4);  // wrapped
  for (int d = 0; d < Data().DrawItems.Count(); ++d) {
    const TDVDrawLineInfo* info = Data().DrawItems[d];
    Data().SetCaretAtItem(info->ItemNo, info->Offs);
    int32_t first = INT32_MAX, last = INT32_MIN, prev = INT32_MIN;
    for (const TDVCharPos& stop : Data().CharEnds) {
      EXPECT_GE(stop.X, prev);
      prev = stop.X;
      if (stop.DrawItemNo != d) continue;
      first = std::min(first, stop.X);
      last = std::max(last, stop.X);
    }
    EXPECT_EQ(first, info->Left) << "drawing item " << d;
    EXPECT_EQ(last, info->Left + info->Width) << "drawing item " << d;
  }
}

// A typed key's stops are read from the reformat's own measure of the
// item: they are the stops built afresh at the same place, on the first
// line and on wrapped ones.
TEST_F(QtCaret, ATypedKeysStopsAreThoseBuiltAfresh) {
  Load(kMixed);
  auto stops = [this] {
    std::vector<std::tuple<int32_t, int, int32_t, int32_t>> out;
    for (const TDVCharPos& s : Data().CharEnds) out.emplace_back(s.X, s.DrawItemNo, s.Offset, s.MoveRightTo);
    return out;
  };
  for (int32_t offs : {3, 30, 60}) {
    Data().SetCaretAtItem(0, offs);
    Data().KeyPress('W');
    const auto typed = stops();
    const std::pair<int, int32_t> caret = Caret();
    ASSERT_EQ(caret, std::make_pair(0, offs + 1));
    Data().SetCaretAtItem(caret.first, caret.second);
    EXPECT_EQ(stops(), typed) << "typed at " << offs;
    EXPECT_EQ(Caret(), caret);
  }
}

// Up and Down go to the stop nearest the caret's x on proportional glyphs:
// never further than half the widest glyph, and back to the same place.
TEST_F(QtCaret, UpAndDownKeepTheCaretsXOnProportionalGlyphs) {
  Load(kMixed);
  int32_t widest = 0;
  for (size_t k = 1; k < Data().CharEnds.size(); ++k)
    widest = std::max(widest, Data().CharEnds[k].X - Data().CharEnds[k - 1].X);
  Data().SetCaretAtItem(0, 20);
  const std::pair<int, int32_t> start = Caret();
  const int32_t x = Data().CharEnds[static_cast<size_t>(Data().CaretOffs)].X;
  ASSERT_FALSE(Data().OnDownPress(false, false));
  EXPECT_LE(std::abs(Data().CharEnds[static_cast<size_t>(Data().CaretOffs)].X - x), widest / 2 + 1);
  ASSERT_FALSE(Data().OnUpPress(false, false));
  EXPECT_EQ(Caret(), start);
}

// End goes to the right edge of the screen line's last piece, Home to the
// left edge of its first.
TEST_F(QtCaret, HomeAndEndReachTheScreenLinesEdges) {
  Load(kMixed);
  Data().SetCaretAtItem(0, 20);
  int first, last;
  Data().GetScreenLineBounds(Data().CaretDrawItemNo, first, last);
  Data().OnEndPress(false);
  const TDVDrawLineInfo* end = Data().DrawItems[last];
  EXPECT_EQ(Data().CharEnds[static_cast<size_t>(Data().CaretOffs)].X, end->Left + end->Width);
  Data().OnHomePress(false);
  EXPECT_EQ(Data().CharEnds[static_cast<size_t>(Data().CaretOffs)].X, Data().DrawItems[first]->Left);
}

bool Dark(QRgb c) { return qGray(c) < 100; }
bool Red(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }
bool Blue(QRgb c) { return qBlue(c) > 180 && qRed(c) < 90 && qGreen(c) < 90; }

// The focused editor paints the caret at its stop, in the blank after the
// line's last glyph; without focus it paints none.
TEST_F(QtCaret, TheCaretIsPaintedAtItsStop) {
  Load("P0 0\"光标 caret\"");
  Data().OnEndPress(false);
  QApplication::setActiveWindow(editor->Widget());
  editor->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(editor->CaretVisible());
  const QRect caret = Client(Data().CaretRect);
  ASSERT_GT(caret.height(), 10);
  QImage image = Grab();
  EXPECT_GE(Count(image, caret, Dark), caret.height() - 2);
  // Nothing dark a few pixels right of it: the caret is one pixel wide.
  EXPECT_EQ(Count(image, caret.translated(3, 0), Dark), 0);
  editor->Widget()->clearFocus();
  QApplication::processEvents();
  image = Grab();
  EXPECT_EQ(Count(image, caret, Dark), 0);
}

// A hover-sensitive link is drawn in its hover colour while the caret is
// on it, and in its own colour again when the caret leaves.
TEST_F(QtCaret, ALinkUnderTheCaretIsDrawnHot) {
  const int32_t link = AddLinkStyle(clRed);
  sheet.TextStyles()[link].FontName = "宋体";
  sheet.TextStyles()[link].Size = 12;
  Load("P0 0\"see \" " + std::to_string(link) + "\"链接 link\" 0\" here\"");
  const TDVDrawLineInfo* d = Data().DrawItems[1];
  const QRect linkRect = Client(TRect{d->Left, d->Top, d->Left + d->Width, d->Top + d->Height});
  Data().SetCaretAtItem(0, 2);
  QImage image = Grab();
  EXPECT_GT(Count(image, linkRect, Blue), 20);
  EXPECT_EQ(Count(image, linkRect, Red), 0);
  Data().SetCaretAtItem(1, 3);
  image = Grab();
  EXPECT_GT(Count(image, linkRect, Red), 20);
  EXPECT_EQ(Count(image, linkRect, Blue), 0);
  Data().SetCaretAtItem(2, 3);
  image = Grab();
  EXPECT_GT(Count(image, linkRect, Blue), 20);
  EXPECT_EQ(Count(image, linkRect, Red), 0);
}

}  // namespace
}  // namespace quillet::test
