// The edit commands on a real editor offscreen: enabling from the editor's
// state, the clipboard round, and paste special answered through its list.
#include "commands/actions/edit_actions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "../../editing/edit_test_util.h"
#include "../../editing/table/table_test_util.h"
#include "commands/dialogs/list_dialog.h"
#include "editing/control/editor.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"
#include "platform/ui/clipboard.h"

namespace quillet::test {
namespace {

class EditActions : public EditTest {
 protected:
  // Whether the command is enabled for the editor now.
  bool Enabled(TdvAction& action) {
    action.UpdateTarget(editor.get());
    return action.isEnabled();
  }
  static void SetClipboard(const std::function<void(TClipboard&)>& fill) {
    TClipboard& clipboard = Clipboard();
    clipboard.Open();
    clipboard.Clear();
    if (fill) fill(clipboard);
    clipboard.Close();
  }
};

TEST_F(EditActions, UndoAndRedoFollowTheHistory) {
  Load(R"(P0 0"ab")");
  TdvActionUndo undo;
  TdvActionRedo redo;
  EXPECT_FALSE(Enabled(undo)) << "a fresh document has nothing to undo";
  EXPECT_FALSE(Enabled(redo));
  editor->SetSelectionBounds(0, 3, 0, 3);
  editor->InsertText("c");
  EXPECT_TRUE(Enabled(undo));
  EXPECT_FALSE(Enabled(redo));
  undo.ExecuteTarget(editor.get());
  EXPECT_EQ(Doc(), R"(P0 0"ab")");
  EXPECT_FALSE(Enabled(undo));
  EXPECT_TRUE(Enabled(redo));
  redo.ExecuteTarget(editor.get());
  EXPECT_EQ(Doc(), R"(P0 0"abc")");
  EXPECT_TRUE(Enabled(undo));
  EXPECT_FALSE(Enabled(redo));
}

class EditActionsInCells : public TableEditTest {};

TEST_F(EditActionsInCells, UndoAndRedoCountWhatTheOpenCellHas) {
  TDVTableItemInfo& table = PlaceInEditor(MakeTable(1, 2));
  table.CreateInplace(0, 0, 0, false, false, false);
  TCustomDocViewEdit* cell = editor->GetTopLevelEditor();
  ASSERT_NE(cell, editor.get());
  TdvActionUndo undo;
  TdvActionRedo redo;
  undo.UpdateTarget(cell);
  EXPECT_FALSE(undo.isEnabled());
  cell->InsertText("x");
  undo.UpdateTarget(cell);
  EXPECT_TRUE(undo.isEnabled()) << "the outer editor has nothing, its open cell has";
  undo.ExecuteTarget(cell);
  undo.UpdateTarget(cell);
  redo.UpdateTarget(cell);
  EXPECT_FALSE(undo.isEnabled());
  EXPECT_TRUE(redo.isEnabled());
}

TEST_F(EditActions, CutCopyAndPasteGoThroughTheClipboard) {
  Load(R"(P0 0"abc")");
  SetClipboard(nullptr);
  TdvActionCut cut;
  TdvActionCopy copy;
  TdvActionPaste paste;
  EXPECT_FALSE(Enabled(cut));
  EXPECT_FALSE(Enabled(copy));
  EXPECT_FALSE(Enabled(paste)) << "an empty clipboard";
  editor->SetSelectionBounds(0, 2, 0, 3);
  EXPECT_TRUE(Enabled(cut));
  EXPECT_TRUE(Enabled(copy));
  copy.ExecuteTarget(editor.get());
  EXPECT_EQ(Doc(), R"(P0 0"abc")");
  EXPECT_EQ(Clipboard().GetAsHandle(CF_TEXT).value_or(""), "b");
  cut.ExecuteTarget(editor.get());
  EXPECT_EQ(Doc(), R"(P0 0"ac")");
  EXPECT_FALSE(Enabled(cut));
  EXPECT_TRUE(Enabled(paste));
  editor->SetSelectionBounds(0, 3, 0, 3);
  paste.ExecuteTarget(editor.get());
  EXPECT_EQ(Doc(), R"(P0 0"acb")");
  editor->ReadOnly = true;
  EXPECT_FALSE(Enabled(paste));
}

TEST_F(EditActions, SelectAllSelectsTheWholeDocument) {
  Load(R"(P0 0"ab" P0 0"cd")");
  TdvActionSelectAll selectAll;
  EXPECT_TRUE(Enabled(selectAll));
  selectAll.ExecuteTarget(editor.get());
  EXPECT_EQ(AnsiToUtf8(editor->GetSelText()), "ab\r\ncd");
}

TEST_F(EditActions, PasteSpecialPastesTheChosenFormat) {
  // What the clipboard holds: a copy of "中x" from a document, which offers
  // every format but pictures, or a picture.
  const auto copyText = [&](TClipboard&) {
    Load(R"(P0 1"中" 0"x")");
    editor->SelectAll();
    editor->CopyDef();
  };
  const auto putPicture = [](TClipboard& clipboard) {
    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    clipboard.SetBitmap(bitmap);
  };
  struct Case {
    const char* what;
    std::function<void(TClipboard&)> fill;
    int code;  // 0: Cancel
    const char* after;
  } cases[] = {
      {"own format keeps styles", copyText, pfDVF, R"(P0 0"a" 1"中" 0"xb")"},
      {"8-bit text in the caret's style", copyText, pfText, R"(P0 0"a中xb")"},
      {"Unicode text", copyText, pfUnicodeText, R"(P0 0"a中xb")"},
      {"bitmap", putPicture, pfBitmap, R"(P0 0"a" pic:3x2 0"b")"},
      {"cancel", copyText, 0, R"(P0 0"ab")"},
  };
  for (const Case& c : cases) {
    if (c.fill) SetClipboard(c.fill);
    Load(R"(P0 0"ab")");
    editor->SetSelectionBounds(0, 2, 0, 2);
    std::vector<int> listed;
    TScopedModalRunner runner([&](TfrmDVBase& form) {
      auto& list = static_cast<TfrmDVList&>(form);
      list.Dialog()->show();
      for (int i = 0; i < list.lst()->count(); ++i) {
        listed.push_back(list.lst()->item(i)->data(Qt::UserRole).toInt());
        if (listed.back() == c.code) list.lst()->setCurrentRow(i);
      }
      QTest::mouseClick(c.code ? list.btnOk() : list.btnCancel(), Qt::LeftButton);
      return list.ModalResult();
    });
    TdvActionPasteSpecial pasteSpecial;
    EXPECT_EQ(pasteSpecial.DVFCaption, "DocView Format");
    pasteSpecial.ExecuteTarget(editor.get());
    EXPECT_FALSE(listed.empty()) << c.what;
    EXPECT_EQ(Doc(), c.after) << c.what;
  }
}

TEST_F(EditActions, PasteSpecialWithNothingToPasteShowsNoList) {
  Load(R"(P0 0"ab")");
  SetClipboard(nullptr);
  bool shown = false;
  TScopedModalRunner runner([&](TfrmDVBase&) {
    shown = true;
    return int(mrOk);
  });
  TdvActionPasteSpecial pasteSpecial;
  pasteSpecial.ExecuteTarget(editor.get());
  EXPECT_FALSE(shown);
  EXPECT_EQ(Doc(), R"(P0 0"ab")");
}

}  // namespace
}  // namespace quillet::test
