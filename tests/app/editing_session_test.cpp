// Editing in the program as a new user does it: start on the default
// store, type Chinese through the input method, undo, redo, save with
// Ctrl+S, start again: the text is in the stored record and on the screen.
// Typing into the demo table's cells, Tab between them, is stored too, and
// so are commands run through the window's shortcuts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <set>
#include <string>
#include <vector>

#include "app/document_store.h"
#include "app/program_window.h"
#include "host/form/main_form.h"
#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"
#include "host/db/db_module.h"
#include "platform/core/stream.h"
#include "platform/ui/common_dialogs.h"
#include "program_run.h"
#include "support/dialog_answers.h"
#include "support/scoped_env.h"
#include "window_support.h"

namespace quillet {
namespace {

// The stored record's document.
void LoadStored(TCustomDVData& document) {
  TDbDm db;
  TMemoryStream stream;
  ReadDefaultRecord(db, stream);
  TColor color = clNone;
  EXPECT_TRUE(document.LoadDVFFromStream(stream, color, nullptr, nullptr));
}

TDVTableItemInfo* FirstTable(TCustomDVData& document) {
  for (int i = 0; i < document.ItemCount(); ++i)
    if (auto* table = dynamic_cast<TDVTableItemInfo*>(document.GetItem(i))) return table;
  return nullptr;
}

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
  test::TScopedEnv dataHomeEnv("XDG_DATA_HOME", dataHome.path().toStdString());

  const test::ProgramRun first = test::StartProgram(dataHome, {});
  ASSERT_EQ(first.exitCode, 0) << first.errors.toStdString();
  const std::u16string title = StoredTitle();
  {
    TProgramWindow window;
    ASSERT_TRUE(test::ShowDefaultStore(window));
    window.Form().DVEditor().SetFocus();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    ASSERT_TRUE(window.Form().DVEditor().Focused());
    // A real input method delivers to the focused widget only when it says so.
    EXPECT_TRUE(focus->inputMethodQuery(Qt::ImEnabled).toBool());

    QTest::keyClick(focus, Qt::Key_Home, Qt::ControlModifier);
    Compose(focus, "zhongwen", "");
    Compose(focus, "", "中文");
    EXPECT_TRUE(window.Form().DVEditor().Modified);
    const int typed = window.Form().DVEditor().EditData().UndoList->Count();
    CtrlKey(focus, Qt::Key_Z);
    EXPECT_EQ(window.Form().DVEditor().EditData().UndoList->Count(), typed - 1);
    CtrlKey(focus, Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(window.Form().DVEditor().EditData().UndoList->Count(), typed);
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window.Form().DVEditor().Modified) << "Ctrl+S saved";
  }
  EXPECT_EQ(StoredTitle(), u"中文" + title);

  const test::ProgramRun restarted = test::StartProgram(dataHome, {});
  ASSERT_EQ(restarted.exitCode, 0) << restarted.errors.toStdString();
  ASSERT_EQ(restarted.picture.size(), first.picture.size());
  // The title line is drawn with the new text.
  const QRect top(0, 0, first.picture.width(), 200);
  EXPECT_NE(restarted.picture.copy(top), first.picture.copy(top));
}

TEST(EditingSession, TextTypedIntoTableCellsIsStored) {
  RegisterTableItem();
  QTemporaryDir dataHome;
  ASSERT_TRUE(dataHome.isValid());
  test::TScopedEnv dataHomeEnv("XDG_DATA_HOME", dataHome.path().toStdString());
  {
    TProgramWindow window;
    ASSERT_TRUE(test::ShowDefaultStore(window));
    TDocViewEdit& view = window.Form().DVEditor();
    TDVEditDVData& data = view.EditData();
    TDVTableItemInfo* table = FirstTable(data);
    ASSERT_NE(table, nullptr);
    const int itemNo = table->GetMyItemNo();
    int32_t left = 0, top = 0;
    ASSERT_TRUE(data.GetItemCoords(itemNo, left, top));
    data.ShowRectangle(left, top, table->GetWidth(), table->GetHeight());
    // A click at the start of the second row's first cell, then typing,
    // Tab to the next cell and typing there.
    const TDVTableCellData& cell = *table->GetCells(1, 0);
    const QPoint at(left + cell.Left + table->CellPadding + 1 - data.GetHOffs(),
                    top + cell.Top + cell.Height / 2 - data.GetVOffs());
    QTest::mouseClick(view.ClientWidget(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_NE(view.GetTopLevelEditor(), &view) << "the click opened the cell";
    QTest::keyClicks(view.GetTopLevelEditor()->Widget(), "AB");
    QTest::keyClick(view.GetTopLevelEditor()->Widget(), Qt::Key_Tab);
    QApplication::processEvents();
    QTest::keyClicks(view.GetTopLevelEditor()->Widget(), "CD");
    QTest::keyClick(view.GetTopLevelEditor()->Widget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(view.Modified) << "Ctrl+S saved";
  }
  TDVStyle style;
  TCustomDVData document;
  document.SetDVStyle(&style);
  LoadStored(document);
  TDVTableItemInfo* table = FirstTable(document);
  ASSERT_NE(table, nullptr);
  auto text = [](const TCustomDVData& cell) {
    std::string all;
    for (int i = 0; i < cell.ItemCount(); ++i) all += cell.GetItemTextR(i);
    return all;
  };
  EXPECT_EQ(text(*table->GetCells(1, 0)).rfind("AB", 0), 0u);
  EXPECT_EQ(text(*table->GetCells(1, 1)).rfind("CD", 0), 0u);
}


TEST(EditingSession, CommandsFromTheWindowsKeysAreStored) {
  QTemporaryDir dataHome;
  ASSERT_TRUE(dataHome.isValid());
  test::TScopedEnv dataHomeEnv("XDG_DATA_HOME", dataHome.path().toStdString());
  {
    TProgramWindow window;
    ASSERT_TRUE(test::ShowDefaultStore(window));
    window.Form().DVEditor().SetFocus();
    // Through the window's shortcuts: the commands, not the editor's keys.
    QTest::keyClick(window.Widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window.Widget(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(window.Form().DVEditor().Modified);
    QTest::keyClick(window.Widget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window.Form().DVEditor().Modified) << "Ctrl+S saved";
  }
  TDVStyle style;
  TCustomDVData stored;
  stored.SetDVStyle(&style);
  LoadStored(stored);
  ASSERT_GT(stored.ItemCount(), 0);
  // Bold went on or off (as the caret's style was) for all the text alike.
  std::set<bool> bold;
  for (int i = 0; i < stored.ItemCount(); ++i)
    if (const int32_t styleNo = stored.GetItemStyle(i); styleNo >= 0)
      bold.insert((style.TextStyles()[styleNo].Style & fsBold) != 0);
  EXPECT_EQ(bold.size(), 1u);
}

// New and open leave the stored record for another document: the record's
// changes are written back first, without a question; the document that
// replaces it is then the save command's, so Ctrl+S and closing never write
// it over the record. A cancelled open leaves the record's document the
// program's.
TEST(EditingSession, NewAndOpenWriteTheRecordBackAndHandTheNextDocumentToTheSaveCommand) {
  QTemporaryDir dataHome;
  ASSERT_TRUE(dataHome.isValid());
  test::TScopedEnv dataHomeEnv("XDG_DATA_HOME", dataHome.path().toStdString());
  const std::string file = dataHome.filePath("other.esf").toStdString();
  {
    TDVStyle style;
    TDocViewEdit writer;
    writer.SetStyle(&style);
    writer.AddNL("other", 0, 0);
    ASSERT_TRUE(writer.SaveDVF(file, false));
  }
  const std::string saveAs = dataHome.filePath("new.esf").toStdString();
  struct Case {
    const char* name;
    const char* item;
    std::vector<test::TAnswer> answers;  // of the replacing command
    bool replaced;
  };
  const Case cases[] = {
      {"New", "FileNew", {}, true},
      {"Open", "FileOpen", {test::File(file)}, true},
      {"OpenCancelled", "FileOpen", {test::Cancel()}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TProgramWindow window;
    ASSERT_TRUE(test::ShowDefaultStore(window));
    TDocViewEdit& editor = window.Form().DVEditor();
    editor.SetSelectionBounds(0, editor.GetOffsBeforeItem(0), 0, editor.GetOffsBeforeItem(0));
    const std::u16string before = StoredTitle();
    editor.InsertText("R");
    ASSERT_TRUE(editor.Modified);

    TScriptedCommonDialogs dialogs;
    TScopedCommonDialogs scope{dialogs};
    dialogs.Answers.assign(c.answers.begin(), c.answers.end());
    window.Form().MenuItem(c.item)->trigger();
    EXPECT_EQ(dialogs.Asked.size(), c.answers.size()) << "no close question";
    EXPECT_EQ(StoredTitle(), u"R" + before) << "written back first";

    editor.SetSelectionBounds(0, editor.GetOffsBeforeItem(0), 0, editor.GetOffsBeforeItem(0));
    editor.InsertText("S");
    dialogs.Asked.clear();
    dialogs.Answers = {test::File(saveAs)};
    window.Form().MenuItem("FileSave")->trigger();
    if (c.replaced) {
      EXPECT_EQ(StoredTitle(), u"R" + before) << "the record keeps its document";
      EXPECT_FALSE(editor.Modified);
      // New asks where to save; the opened file is saved in place.
      EXPECT_EQ(dialogs.Asked.size(), c.answers.empty() ? 1u : 0u);
      // Closing asks the save command's question, and Cancel keeps the window.
      editor.InsertText("T");
      dialogs.Answers = {test::Button(IDCANCEL)};
      EXPECT_FALSE(window.Form().FormCloseQuery());
      EXPECT_EQ(StoredTitle(), u"R" + before);
      editor.Modified = false;
    } else {
      EXPECT_EQ(StoredTitle(), u"SR" + before);
      EXPECT_TRUE(dialogs.Asked.empty());
    }
  }
}

}  // namespace
}  // namespace quillet
