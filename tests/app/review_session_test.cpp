// A reviewer's session in the program, driven through the form's items by
// name as a user clicks them: start tracking, type, annotate with the pen,
// end annotation mode, save with Ctrl+S; start again: the reviewer, the
// marked text and the stroke are all there.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "app/program_window.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil.h"
#include "host/db/db_module.h"
#include "host/form/main_form.h"
#include "host/form/table_cells.h"
#include "editing/table/table_item.h"
#include "platform/ui/common_dialogs.h"
#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"
#include "support/scoped_env.h"
#include "window_support.h"

namespace quillet {
namespace {

size_t Strokes(const std::vector<std::string>& records) {
  size_t n = 0;
  for (const std::string& line : records) n += line.rfind("QPM;", 0) == 0;
  return n;
}

TEST(ReviewSession, TrackedTypingAndAStrokeAreThereAfterARestart) {
  QTemporaryDir dataHome;
  ASSERT_TRUE(dataHome.isValid());
  test::TScopedEnv dataHomeEnv("XDG_DATA_HOME", dataHome.path().toStdString());
  const std::string reviewer = Utf8ToAnsi("审阅乙");
  {
    TProgramWindow window;
    ASSERT_TRUE(test::ShowDefaultStore(window));
    TMainForm& form = window.Form();
    form.DbDm().CurUserName = reviewer;
    form.MenuItem("StartTrace")->trigger();
    TDocViewEdit& editor = form.DVEditor();
    ASSERT_TRUE(editor.TraceOn);
    editor.SetFocus();
    QTest::keyClick(editor.ClientWidget(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(editor.ClientWidget(), "added");

    QTest::mouseClick(form.Control("BeginCommentButton"), Qt::LeftButton);
    ASSERT_TRUE(form.Annotating());
    QWidget* client = editor.ClientWidget();
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(200, 200));
    for (int i = 1; i <= 6; ++i) QTest::mouseMove(client, QPoint(200 + 20 * i, 200 + 5 * i));
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(320, 230));
    form.MenuItem("EndComment")->trigger();
    EXPECT_FALSE(editor.ReadOnly);

    window.Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.Widget()));
    QTest::keyClick(window.Widget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(editor.Modified) << "Ctrl+S saved";
  }
  TProgramWindow window;
  ASSERT_TRUE(test::ShowDefaultStore(window));
  TMainForm& form = window.Form();
  EXPECT_EQ(form.Reviewers().Slot(0).Name, Utf8ToAnsi("起草人"));
  EXPECT_EQ(form.Reviewers().Slot(1).Name, reviewer);
  EXPECT_EQ(Strokes(form.qvPostil().AllPostil()), 1u);
  // The typed word is there, in the reviewer's underlined colour.
  const TCustomDVData& data = form.DVEditor().EditData();
  bool marked = false;
  for (int i = 0; i < data.ItemCount(); ++i) {
    if (data.GetItemTextR(i).find("added") == std::string::npos) continue;
    const TFontInfo& font = form.DVStyle().TextStyles()[data.GetItemStyle(i)];
    marked = (font.Style & fsUnderline) && font.Color == form.Reviewers().Slot(1).Color;
  }
  EXPECT_TRUE(marked);
  window.Widget()->close();
}

// The keyboard hook sees the keys the program's window gets: Ctrl+Shift+S in
// a table cell says which table, row and column the caret is in.
TEST(ReviewSession, CtrlShiftSInACellTellsWhereTheCaretIs) {
  RegisterTableItem();
  QTemporaryDir dataHome;
  ASSERT_TRUE(dataHome.isValid());
  test::TScopedEnv dataHomeEnv("XDG_DATA_HOME", dataHome.path().toStdString());
  TProgramWindow window;
  ASSERT_TRUE(test::ShowDefaultStore(window));
  TMainForm& form = window.Form();
  TDVTableItemInfo* table = TTableCells::GetTable(form.DVEditor().EditData(), 1);
  ASSERT_NE(table, nullptr) << "the demo has a table";
  table->CreateInplace(table->GetMyItemNo(), 1, 2, false, true, true);
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scoped(dialogs);
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_EQ(std::get<TMessageQuestion>(dialogs.Asked[0].Question).Text, "这是第1个表格的第1行，第2列。");
  window.Widget()->close();
}

}  // namespace
}  // namespace quillet
