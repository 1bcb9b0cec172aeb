// The ruler in the program's window as a new user meets it: above the
// editor, showing its margins and the caret paragraph's indents; dragging a
// handle indents the paragraph (and undo takes it back), dragging a margin
// edge moves the text's margin.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "app/program_window.h"
#include "host/form/main_form.h"
#include "commands/ruler/ruler.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "support/scoped_env.h"
#include "window_support.h"

namespace quillet {
namespace {

const TParaInfo& CaretParagraph(TDocViewEdit& view) { return view.Style()->ParaStyles()[view.CurParaStyleNo()]; }

QPoint Middle(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

void Drag(QWidget* widget, QPoint from, QPoint to) {
  QTest::mousePress(widget, Qt::LeftButton, {}, from);
  for (int i = 1; i <= 4; ++i) QTest::mouseMove(widget, from + (to - from) * i / 4);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

TEST(RulerInTheWindow, FollowsTheCaretAndItsDragsChangeTheDocument) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  test::TScopedEnv dataHome("XDG_DATA_HOME", folder.path().toStdString());
  TProgramWindow window;
  ASSERT_TRUE(test::ShowDefaultStore(window));
  TDVRuler& ruler = window.Form().Ruler();
  TDocViewEdit& view = window.Form().DVEditor();
  QWidget* editor = view.Widget();

  // Above the editor, as wide, at its left edge; its margins are the editor's.
  EXPECT_EQ(ruler.mapTo(window.Widget(), QPoint(0, 0)).x(), editor->mapTo(window.Widget(), QPoint(0, 0)).x());
  EXPECT_EQ(ruler.mapTo(window.Widget(), QPoint(0, ruler.height())).y(), editor->mapTo(window.Widget(), QPoint(0, 0)).y());
  EXPECT_EQ(ruler.width(), editor->width());
  EXPECT_EQ(ruler.height(), 25);
  EXPECT_EQ(ruler.DocView(), &view);
  EXPECT_EQ(ruler.LeftEdge(), view.LeftMargin);
  EXPECT_EQ(ruler.RightEdge(), view.ClientWidth() - view.RightMargin);

  // The caret in the first body paragraph: the handles mark its indents.
  view.SetFocus();
  QTest::keyClick(view.ClientWidget(), Qt::Key_Home, Qt::ControlModifier);
  const int titleStyle = view.CurParaStyleNo();
  QTest::keyClick(view.ClientWidget(), Qt::Key_Down);
  ASSERT_NE(view.CurParaStyleNo(), titleStyle);
  struct Indents {
    int32_t FirstIndent, LeftIndent, RightIndent;
  } const body{CaretParagraph(view).FirstIndent, CaretParagraph(view).LeftIndent, CaretParagraph(view).RightIndent};
  const int middle = TDVRuler::HandleWidth / 2;
  EXPECT_EQ(ruler.IndentLeft() + middle, view.LeftMargin + body.LeftIndent);
  EXPECT_EQ(ruler.IndentFirst() - ruler.IndentLeft(), body.FirstIndent);
  EXPECT_EQ(ruler.IndentRight() + middle, view.ClientWidth() - view.RightMargin - body.RightIndent);

  // The left handle dragged 40 pixels right: the paragraph is indented, its
  // first line stays where it was.
  const int32_t firstLineAt = ruler.IndentFirst();
  const QPoint grip = Middle(ruler.HandleRect(TDVRuler::rhLeftIndent));
  Drag(&ruler, grip, grip + QPoint(40, 0));
  const int32_t snapped = (grip.x() + 40 - middle) / ruler.RulerTab() * ruler.RulerTab();
  EXPECT_EQ(ruler.IndentLeft(), snapped);
  EXPECT_EQ(CaretParagraph(view).LeftIndent, snapped + middle - view.LeftMargin);
  EXPECT_EQ(ruler.IndentFirst(), firstLineAt);
  EXPECT_EQ(CaretParagraph(view).FirstIndent, firstLineAt - snapped);
  EXPECT_TRUE(view.Modified);

  // Elsewhere the ruler shows that paragraph's indents, back here the new ones.
  QTest::keyClick(view.ClientWidget(), Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(ruler.IndentLeft() + middle, view.LeftMargin + CaretParagraph(view).LeftIndent);
  QTest::keyClick(view.ClientWidget(), Qt::Key_Down);
  EXPECT_EQ(ruler.IndentLeft(), snapped);

  // Undo takes the indent back, and the ruler with it.
  view.Undo();
  EXPECT_EQ(CaretParagraph(view).LeftIndent, body.LeftIndent);
  EXPECT_EQ(ruler.IndentLeft() + middle, view.LeftMargin + body.LeftIndent);

  // Near a margin edge the pointer offers to split; dragging the edge moves
  // the editor's margin, the indents keep their distance from it.
  const int32_t edge = ruler.LeftEdge();
  QTest::mouseMove(&ruler, QPoint(edge + 1, 11));
  EXPECT_EQ(ruler.cursor().shape(), Qt::SplitHCursor);
  QTest::mouseMove(&ruler, QPoint(edge + 20, 11));
  EXPECT_NE(ruler.cursor().shape(), Qt::SplitHCursor);
  Drag(&ruler, QPoint(edge + 1, 11), QPoint(edge + 31, 11));
  const int32_t margin = (edge + 31 - ruler.BorderLeft()) / ruler.RulerTab() * ruler.RulerTab() + ruler.BorderLeft();
  EXPECT_EQ(view.LeftMargin, margin);
  EXPECT_EQ(ruler.LeftEdge(), margin);
  EXPECT_EQ(CaretParagraph(view).LeftIndent, body.LeftIndent);
  EXPECT_EQ(ruler.IndentLeft() + middle, margin + body.LeftIndent);
  view.Modified = false;
  window.Widget()->close();
}

}  // namespace
}  // namespace quillet
