// Editing in the program as a new user does it: start on the default
// store, type Chinese through the input method, undo, redo, save with
// Ctrl+S, start again: the text is in the stored record and on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include "app/document_store.h"
#include "app/main_window.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"
#include "host/db/db_module.h"
#include "platform/core/stream.h"
#include "program_run.h"

namespace quillet {
namespace {

// The first paragraph's text of the stored record, as UTF-16.
std::u16string StoredTitle() {
  TDbDm db;
  TMemoryStream stream;
  ReadDefaultRecord(db, stream);
  TDVStyle style;
  TCustomDVData document;
  document.SetDVStyle(&style);
  TColor color = clNone;
  EXPECT_TRUE(document.LoadDVFFromStream(stream, color, nullptr, nullptr));
  std::u16string title;
  for (int i = 0; i < document.ItemCount() && (i == 0 || !document.IsFromNewLine(i)); ++i) {
    const std::string& text = document.GetItemTextR(i);
    if (document.GetItemStyle(i) < 0) continue;
    title += document.GetItem(i)->IsUnicode()
                 ? DVU_Units(text)
                 : DVU_Units(DVU_AnsiToUnicode(document.GetStyleCodePage(document.GetItemStyle(i)), text));
  }
  return title;
}

void Compose(QWidget* target, const QString& preedit, const QString& commit) {
  QInputMethodEvent event(preedit, {});
  if (!commit.isEmpty()) event.setCommitString(commit);
  QCoreApplication::sendEvent(target, &event);
}

// Ctrl with a letter as the platform delivers it: the key with the
// letter's control character as its text.
void CtrlKey(QWidget* target, Qt::Key letter, Qt::KeyboardModifiers more = Qt::NoModifier) {
  const QString text(QChar(letter & 0x1F));
  QKeyEvent press(QEvent::KeyPress, letter, Qt::ControlModifier | more, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, letter, Qt::ControlModifier | more, text);
  QCoreApplication::sendEvent(target, &release);
}

TEST(EditingSession, TypedChineseIsThereAfterSaveAndRestart) {
  QTemporaryDir dataHome;
  ASSERT_TRUE(dataHome.isValid());
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());

  const test::ProgramRun first = test::StartProgram(dataHome, {});
  ASSERT_EQ(first.exitCode, 0) << first.errors.toStdString();
  const std::u16string title = StoredTitle();
  {
    TMainWindow window;
    std::string error;
    ASSERT_TRUE(window.OpenDefaultStore(error)) << error;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.View().SetFocus();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    ASSERT_TRUE(window.View().Focused());
    // A real input method delivers to the focused widget only when it says so.
    EXPECT_TRUE(focus->inputMethodQuery(Qt::ImEnabled).toBool());

    QTest::keyClick(focus, Qt::Key_Home, Qt::ControlModifier);
    Compose(focus, "zhongwen", "");
    Compose(focus, "", "中文");
    EXPECT_TRUE(window.View().Modified);
    const int typed = window.View().EditData().UndoList->Count();
    CtrlKey(focus, Qt::Key_Z);
    EXPECT_EQ(window.View().EditData().UndoList->Count(), typed - 1);
    CtrlKey(focus, Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(window.View().EditData().UndoList->Count(), typed);
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window.View().Modified) << "Ctrl+S saved";
  }
  EXPECT_EQ(StoredTitle(), u"中文" + title);

  const test::ProgramRun restarted = test::StartProgram(dataHome, {});
  ASSERT_EQ(restarted.exitCode, 0) << restarted.errors.toStdString();
  ASSERT_EQ(restarted.picture.size(), first.picture.size());
  // The title line is drawn with the new text.
  const QRect top(0, 0, first.picture.width(), 120);
  EXPECT_NE(restarted.picture.copy(top), first.picture.copy(top));
  qputenv("XDG_DATA_HOME", saved);
}

}  // namespace
}  // namespace quillet
