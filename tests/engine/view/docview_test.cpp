// The viewer offscreen with simulated mouse and keys: selecting by drag,
// Shift-click and double click, hyperlink jumps, Tab through links, scrolling
// by keys, wheel and bars, the autoscroll timer; painting rendered to images;
// loading and saving.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWidget>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/stream/layout_info.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

// A form with a line edit, the viewer and another line edit, in tab order.
class DocViewTest : public testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(form.get());
    before = new QLineEdit(form.get());
    layout->addWidget(before);
    view = std::make_unique<TDocView>(form.get());
    layout->addWidget(view->Widget());
    after = new QLineEdit(form.get());
    layout->addWidget(after);
    view->Widget()->setMinimumSize(300, 200);
    view->SetStyle(&sheet);
    view->OnJump = [this](TCustomDocView&, int32_t id) { jumps.push_back(id); };
    view->OnDVDblClick = [this](TCustomDocView&, const std::string& word, int32_t) { words.push_back(word); };
    view->OnSelect = [this](TCustomDocView&) { ++selects; };
    form->resize(320, 300);
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  void TearDown() override {
    view.reset();
    form.reset();
  }

  QWidget* Client() const { return view->ClientWidget(); }
  TDocViewDVData& Data() const { return view->DVData(); }
  // The client point inside item itemNo, `dx` pixels right of its start.
  QPoint At(int itemNo, int dx = 2) const {
    int32_t left = 0, top = 0;
    EXPECT_TRUE(view->GetItemClientCoords(itemNo, left, top));
    return QPoint(left + dx, top + 3);
  }
  std::string Sel() const {
    int s, e;
    int32_t so, eo;
    view->GetSelectionBounds(s, so, e, eo, true);
    return std::to_string(s) + ":" + std::to_string(so) + "-" + std::to_string(e) + ":" + std::to_string(eo);
  }
  // As the window system sends it: press, release, double click, release
  // (QTest's double click alone is the third of these).
  void DoubleClick(QPoint p) {
    QTest::mouseClick(Client(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseDClick(Client(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, p);
  }
  void Lines(int count) {
    for (int i = 0; i < count; ++i) view->AddNL("line " + std::to_string(i), 0, 0);
    view->Format();
  }
  void Wheel(int dy) {
    QWheelEvent e(QPointF(5, 5), Client()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, dy), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Client(), &e);
  }

  TDVStyle sheet;
  std::unique_ptr<QWidget> form;
  QLineEdit* before = nullptr;
  QLineEdit* after = nullptr;
  std::unique_ptr<TDocView> view;
  std::vector<int32_t> jumps;
  std::vector<std::string> words;
  int selects = 0;
};

TEST_F(DocViewTest, DragAndShiftClickSelect) {
  view->AddNL("first line of text", 0, 0);
  view->AddNL("second line of text", 0, 0);
  view->Format();
  QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, At(0, 1));
  EXPECT_TRUE(view->ScrollTimerActive());
  QTest::mouseMove(Client(), At(1, 30));
  QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, At(1, 30));
  EXPECT_FALSE(view->ScrollTimerActive());
  EXPECT_TRUE(view->SelectionExists());
  int s, e;
  int32_t so, eo;
  view->GetSelectionBounds(s, so, e, eo, true);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(so, 1);
  EXPECT_EQ(e, 1);
  EXPECT_GT(eo, 1);
  EXPECT_EQ(selects, 1);
  // Shift-click at the end of the second line extends from the same start.
  QTest::mouseClick(Client(), Qt::LeftButton, Qt::ShiftModifier, At(1, 250));
  EXPECT_EQ(Sel(), "0:1-1:20");
  EXPECT_EQ(view->GetSelText(), "first line of text\r\nsecond line of text");
  // Ctrl+C puts the selection on the clipboard.
  QTest::keyClick(view->Widget(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "first line of text\r\nsecond line of text");
}

TEST_F(DocViewTest, DoubleClickSelectsWords) {
  sheet.TextStyles()[0].Charset = GB2312_CHARSET;
  view->AddNL("hello world", 0, 0);
  view->AddNL(Utf8ToAnsi("中文字 end"), 0, 0);
  view->AddNL("", 0, 0);
  view->Format();
  DoubleClick(At(0, 60));
  EXPECT_EQ(Sel(), "0:7-0:12");
  DoubleClick(At(1, 5));
  EXPECT_EQ(Sel(), "1:1-1:7");
  // An empty line has no word (and no character is read there).
  DoubleClick(At(2, 0));
  EXPECT_FALSE(view->SelectionExists()) << Sel();
  EXPECT_EQ(words, (std::vector<std::string>{"world", Utf8ToAnsi("中文字")}));
}

TEST_F(DocViewTest, ClickOnALinkJumpsAndTabWalksTheLinks) {
  view->SetFirstJumpNo(10);
  view->AddNL("a ", 0, 0);
  view->AddNL("first", dvsJump1, -1);
  view->AddNL(" b ", 0, -1);
  view->AddNL("second", dvsJump1, -1);
  view->Format();
  QTest::mouseClick(Client(), Qt::LeftButton, Qt::NoModifier, At(1, 4));
  EXPECT_EQ(jumps, (std::vector<int32_t>{10}));
  EXPECT_TRUE(view->Focused());
  // The click focused the link it hit (no selection was made).
  EXPECT_EQ(Data().TopLevelFocusedItemNo, 1);

  view->Deselect();
  QTest::keyClick(view->Widget(), Qt::Key_Tab);
  EXPECT_EQ(Data().TopLevelFocusedItemNo, 1);
  QTest::keyClick(view->Widget(), Qt::Key_Tab);
  EXPECT_EQ(Data().TopLevelFocusedItemNo, 3);
  QTest::keyClick(view->Widget(), Qt::Key_Return);
  EXPECT_EQ(jumps, (std::vector<int32_t>{10, 11}));
  QTest::keyClick(view->Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Data().TopLevelFocusedItemNo, 1);
  // Past the last link the focus goes on to the next control of the form.
  QTest::keyClick(view->Widget(), Qt::Key_Tab);
  QTest::keyClick(view->Widget(), Qt::Key_Tab);
  EXPECT_EQ(Data().TopLevelFocusedItemNo, -1);
  EXPECT_TRUE(after->hasFocus());
  // Tabbing in from before the viewer focuses the first link.
  before->setFocus();
  QTest::keyClick(before, Qt::Key_Tab);
  EXPECT_TRUE(view->Focused());
  EXPECT_EQ(Data().TopLevelFocusedItemNo, 1);
}

TEST_F(DocViewTest, TabWrapsOnceWhenNothingElseTakesTheFocus) {
  before->setEnabled(false);
  after->setEnabled(false);
  view->AddNL("link", dvsJump1, 0);
  view->Format();
  view->SetFocus();
  QTest::keyClick(view->Widget(), Qt::Key_Tab);
  EXPECT_EQ(Data().TopLevelFocusedItemNo, 0);
  // Off the only link, nothing outside takes the focus: back to the link.
  QTest::keyClick(view->Widget(), Qt::Key_Tab);
  EXPECT_EQ(Data().TopLevelFocusedItemNo, 0);
  EXPECT_TRUE(view->Focused());
  // With no link at all the walk ends at once.
  view->Clear();
  view->AddNL("plain", 0, 0);
  view->Format();
  QTest::keyClick(view->Widget(), Qt::Key_Tab);
  EXPECT_EQ(Data().TopLevelFocusedItemNo, -1);
  EXPECT_TRUE(view->Focused());
}

TEST_F(DocViewTest, CtrlTabNavigationNeedsCtrl) {
  view->SetTabNavigation(dvtnCtrlTab);
  view->AddNL("link", dvsJump1, 0);
  view->Format();
  view->SetFocus();
  QTest::keyClick(view->Widget(), Qt::Key_Tab);
  EXPECT_EQ(Data().TopLevelFocusedItemNo, -1);
  QTest::keyClick(view->Widget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Data().TopLevelFocusedItemNo, 0);
}

TEST_F(DocViewTest, ScrollsByKeysWheelAndBars) {
  Lines(200);
  view->SetFocus();
  ASSERT_GT(view->YSize(), 100);
  QTest::keyClick(view->Widget(), Qt::Key_PageDown);
  const int32_t page = view->VPos();
  EXPECT_GT(page, 0);
  Wheel(-120);
  EXPECT_EQ(view->VPos(), page + view->WheelStep());
  QTest::keyClick(view->Widget(), Qt::Key_End);
  const int32_t last = view->VPos();
  EXPECT_EQ(last, view->Model().ClampV(INT32_MAX));
  Wheel(-120);  // clamped at the end
  EXPECT_EQ(view->VPos(), last);
  auto* bar = static_cast<QAbstractScrollArea*>(view->Widget())->verticalScrollBar();
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(view->VPos(), 0);
  // The first visible item follows the scrolling.
  QTest::keyClick(view->Widget(), Qt::Key_PageDown);
  EXPECT_GT(Data().GetFirstItemVisible(), 0);
}

TEST_F(DocViewTest, AutoscrollStepsWhileThePointerIsHeldOutside) {
  Lines(300);
  view->ScrollTo(view->GetDocumentHeight() / 2);
  const int32_t start = view->VPos();
  const int firstItem = Data().GetFirstItemVisible();
  const QPoint inside(20, 20);
  QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, inside);
  // 1 to 20 pixels above: one unit a tick; further: ten.
  QTest::mouseMove(Client(), QPoint(20, -5));
  EXPECT_EQ(view->VScrollDelta, -1);
  QTest::mouseMove(Client(), QPoint(20, -30));
  EXPECT_EQ(view->VScrollDelta, -10);
  QTest::mouseMove(Client(), QPoint(20, view->ClientHeight() + 5));
  EXPECT_EQ(view->VScrollDelta, 1);
  QTest::mouseMove(Client(), QPoint(20, view->ClientHeight() + 30));
  EXPECT_EQ(view->VScrollDelta, 10);
  // Held still below the window, the view scrolls and the selection's end
  // follows what scrolls in.
  QTRY_VERIFY_WITH_TIMEOUT(view->VPos() >= start + 30, 5000);
  int s, e;
  int32_t so, eo;
  view->GetSelectionBounds(s, so, e, eo, false);
  EXPECT_GT(e, firstItem + 30);
  EXPECT_GE(e, Data().GetLastItemVisible() - 1);
  QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(20, view->ClientHeight() + 30));
  EXPECT_FALSE(view->ScrollTimerActive());
  const int32_t stopped = view->VPos();
  QTest::qWait(250);
  EXPECT_EQ(view->VPos(), stopped);
}

TEST_F(DocViewTest, AutoscrollStopsWhenTheFocusGoes) {
  Lines(100);
  QTest::mousePress(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  QTest::mouseMove(Client(), QPoint(20, view->ClientHeight() + 30));
  EXPECT_TRUE(view->ScrollTimerActive());
  after->setFocus();
  EXPECT_FALSE(view->ScrollTimerActive());
  QTest::mouseRelease(Client(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
}

bool IsRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }

int CountPixels(const QImage& image, const QRect& r, bool (*pred)(QRgb)) {
  int n = 0;
  for (int y = std::max(0, r.top()); y <= std::min(image.height() - 1, r.bottom()); ++y)
    for (int x = std::max(0, r.left()); x <= std::min(image.width() - 1, r.right()); ++x)
      if (pred(image.pixel(x, y))) ++n;
  return n;
}

TEST_F(DocViewTest, PaintsSelectionAndShowsPaintErrorsInTheWindow) {
  sheet.SelColor = sheet.InactiveSelColor = clRed;
  view->AddNL("selected text here", 0, 0);
  view->AddNL("plain text", 0, 0);
  view->Format();
  view->SetSelectionBounds(0, 1, 0, 9);
  QImage image = Client()->grab().toImage();
  int32_t left, top;
  view->GetItemClientCoords(0, left, top);
  EXPECT_GT(CountPixels(image, QRect(left, top, 40, 12), IsRed), 100);
  view->GetItemClientCoords(1, left, top);
  EXPECT_EQ(CountPixels(image, QRect(left, top, 60, 12), IsRed), 0);

  // A handler that throws while painting: the error is written in red in
  // the window, and nothing escapes the paint.
  view->Deselect();
  view->OnPaint = [](TCustomDocView&, TCanvas&, bool) { throw std::runtime_error("broken"); };
  image = Client()->grab().toImage();
  EXPECT_GT(CountPixels(image, QRect(0, 0, 60, 14), IsRed), 10);
  view->OnPaint = nullptr;
  image = Client()->grab().toImage();
  EXPECT_EQ(CountPixels(image, QRect(0, 0, 60, 14), IsRed), 0);
}

TEST_F(DocViewTest, WithoutAStyleSheetTheInfoBoxIsShown) {
  view->SetStyle(nullptr);
  view->AddNL("text", 0, 0);
  view->Format();  // skipped without a style sheet
  EXPECT_EQ(Data().DrawItems.Count(), 0);
  const QImage image = Client()->grab().toImage();
  auto dark = [](QRgb c) { return qGray(c) < 100; };
  EXPECT_GT(CountPixels(image, QRect(0, 0, 200, 30), +dark), 20);
  EXPECT_EQ(view->GetColor(), clWindow);
  view->SetStyle(&sheet);
  sheet.Color = clYellow;
  EXPECT_EQ(view->GetColor(), clYellow);
  view->Color = clBlue;
  EXPECT_EQ(view->GetColor(), clBlue);
}

TEST_F(DocViewTest, LoadingRestoresTheLayoutOnlyWhenTheStreamHasIt) {
  view->AddNL("saved", 0, 0);
  view->LeftMargin = 17;
  view->MaxTextWidth = 400;
  view->SetDVFOptions(view->DVFOptions() | dvfoSaveLayout);
  TMemoryStream withLayout;
  ASSERT_TRUE(view->SaveDVFToStream(withLayout, false));
  view->SetDVFOptions(view->DVFOptions() & ~TDVFOptions{dvfoSaveLayout});
  TMemoryStream without;
  ASSERT_TRUE(view->SaveDVFToStream(without, false));

  TDocView other;
  other.SetStyle(&sheet);
  other.SetDVFOptions(other.DVFOptions() | dvfoLoadLayout);
  without.SetPosition(0);
  ASSERT_TRUE(other.LoadDVFFromStream(without));
  EXPECT_EQ(other.LeftMargin, 5);
  withLayout.SetPosition(0);
  ASSERT_TRUE(other.LoadDVFFromStream(withLayout));
  EXPECT_EQ(other.LeftMargin, 17);
  EXPECT_EQ(other.MaxTextWidth, 400);
  other.Format();
  ASSERT_EQ(other.GetLineCount(), 1);
  EXPECT_EQ(other.GetItemText(0), "saved");
  // A bad stream changes nothing.
  TMemoryStream bad(std::vector<uint8_t>{'x', 'y'});
  EXPECT_FALSE(other.LoadDVFFromStream(bad));
  EXPECT_EQ(other.GetItemText(0), "saved");
}

TEST(DocView, VerticalUnitKeepsTheRangeWithin32000) {
  TDVStyle sheet;
  TDocView view;
  view.SetStyle(&sheet);
  struct Case {
    int32_t height, unitBefore, unitAfter;
  };
  for (const Case& c : {Case{1000, 10, 10}, Case{320009, 10, 10}, Case{320010, 10, 11}, Case{5000000, 10, 157},
                        Case{1000, 157, 10}, Case{640000, 25, 25}}) {
    view.DVData().DocumentHeight = c.height;
    view.TDVScroller::SetVSmallStep(c.unitBefore);
    view.DVData().AdjustVScrollUnits();
    EXPECT_EQ(view.VSmallStep(), c.unitAfter) << c.height;
    EXPECT_LE(c.height / view.VSmallStep(), 32000);
  }
  // A step that would make the range too long is refused.
  view.DVData().DocumentHeight = 640000;
  view.SetVSmallStep(10);
  EXPECT_EQ(view.VSmallStep(), 25);
  view.SetVSmallStep(0);
  EXPECT_EQ(view.VSmallStep(), 25);
  view.SetVSmallStep(30);
  EXPECT_EQ(view.VSmallStep(), 30);
}

TEST(DocView, Shortcuts) {
  struct Case {
    TShiftState shift;
    TKey key;
    bool copy, cut, paste;
  };
  for (const Case& c : {Case{ssCtrl, 'C', true, false, false}, Case{ssCtrl, VK_INSERT, true, false, false},
                        Case{ssCtrl | ssAlt, 'C', false, false, false}, Case{ssCtrl, 'X', false, true, false},
                        Case{ssShift, VK_DELETE, false, true, false}, Case{ssCtrl, 'V', false, false, true},
                        Case{ssShift, VK_INSERT, false, false, true}, Case{0, 'C', false, false, false}}) {
    EXPECT_EQ(TCustomDocView::IsCopyShortcut(c.shift, c.key), c.copy) << c.key;
    EXPECT_EQ(TCustomDocView::IsCutShortcut(c.shift, c.key), c.cut) << c.key;
    EXPECT_EQ(TCustomDocView::IsPasteShortcut(c.shift, c.key), c.paste) << c.key;
  }
}

}  // namespace
}  // namespace quillet
