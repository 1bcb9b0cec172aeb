// Cells edited in place: a click opens an editor over the cell that holds
// the cell's items, typing grows the row, and closing puts the items back.
#include <gtest/gtest.h>

#include <functional>

#include <QtTest/QTest>

#include "editing/table/inplace_editor.h"
#include "editing/table/table_test_util.h"

namespace quillet::test {
namespace {

class TableInplaceTest : public TableEditTest {
 protected:
  // A 2 x 2 table of 60-pixel columns holding "a".."d", in the editor.
  TDVTableItemInfo& Place() {
    auto t = MakeTable(2, 2);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c) {
        t->GetCells(r, c)->BestWidth = 60;
        AddCellText(*t->GetCells(r, c), std::string(1, static_cast<char>('a' + r * 2 + c)));
      }
    return PlaceInEditor(std::move(t));
  }
  // Clicks the middle of the cell.
  void Click(const TDVTableItemInfo& t, int row, int col) {
    const TDVTableCellData& cell = *t.GetCells(row, col);
    int32_t left = 0, top = 0;
    ASSERT_TRUE(Data().GetItemCoords(0, left, top));
    const QPoint p(left + cell.Left + cell.Width / 2 - Data().GetHOffs(),
                   top + cell.Top + cell.Height / 2 - Data().GetVOffs());
    QTest::mouseClick(editor->ClientWidget(), Qt::LeftButton, Qt::NoModifier, p);
  }
  TDVTableInplaceEdit* Edited(const TDVTableItemInfo& t) {
    int row = -1, col = -1;
    return t.GetEditedCell(row, col);
  }
  // The cell's content, from its editor while it is open.
  std::string Content(const TDVTableItemInfo& t, int row, int col) {
    const TDVTableInplaceEdit* open = Edited(t);
    if (open && open->Row() == row && open->Col() == col) return DescribeDoc(open->EditData());
    return DescribeDoc(*t.GetCells(row, col));
  }
};

TEST_F(TableInplaceTest, AClickOpensTheCellAndTypingGrowsItsRow) {
  TDVTableItemInfo& t = Place();
  const std::string before = DvfBytes(Data());
  const int32_t height = t.Fmt.Height;
  Click(t, 1, 0);
  TDVTableInplaceEdit* cellEditor = Edited(t);
  ASSERT_NE(cellEditor, nullptr);
  EXPECT_EQ(std::make_pair(cellEditor->Row(), cellEditor->Col()), std::make_pair(1, 0));
  EXPECT_EQ(editor->GetInplaceEditor(), cellEditor);
  EXPECT_EQ(Data().GetChosenDVData(), t.GetCells(1, 0));
  EXPECT_EQ(DescribeDoc(cellEditor->EditData()), "P0 0\"c\"");
  // The row keeps its height while the items are in the editor.
  EXPECT_EQ(t.Fmt.Height, height);
  QTest::keyClicks(cellEditor->ClientWidget(), "X");
  QTest::keyClick(cellEditor->ClientWidget(), Qt::Key_Return);
  QTest::keyClicks(cellEditor->ClientWidget(), "Y");
  EXPECT_GT(t.Fmt.Height, height);
  EXPECT_TRUE(editor->Modified);
  EXPECT_EQ(cellEditor->Height(), t.GetCells(1, 0)->Height);
  const std::string typed = DescribeDoc(cellEditor->EditData());
  t.DestroyInplace();
  EXPECT_EQ(Edited(t), nullptr);
  EXPECT_EQ(editor->GetInplaceEditor(), nullptr);
  EXPECT_EQ(DescribeDoc(*t.GetCells(1, 0)), typed);
  EXPECT_NE(typed.find("X"), std::string::npos);
  EXPECT_NE(DvfBytes(Data()), before);
}

TEST_F(TableInplaceTest, SavingClosesTheCellSoItsTextIsSaved) {
  // Through the viewer and straight through the document, in each form.
  struct Case {
    const char* name;
    std::function<bool(TMemoryStream&)> save;
  } cases[] = {
      {"viewer DVF", [&](TMemoryStream& s) { return editor->SaveDVFToStream(s, false); }},
      {"document DVF", [&](TMemoryStream& s) { return Data().SaveDVFToStream(s, false, clNone, nullptr, nullptr); }},
      {"document RTF", [&](TMemoryStream& s) { return Data().SaveRTFToStream(s, false, clNone, nullptr); }},
      {"document text", [&](TMemoryStream& s) { return Data().SaveTextToStream("", s, 80, false, false, false); }},
  };
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place();
    Click(t, 0, 0);
    TDVTableInplaceEdit* cellEditor = Edited(t);
    ASSERT_NE(cellEditor, nullptr) << c.name;
    QTest::keyClicks(cellEditor->ClientWidget(), "Q");
    TMemoryStream saved;
    ASSERT_TRUE(c.save(saved)) << c.name;
    EXPECT_EQ(Edited(t), nullptr) << c.name;
    EXPECT_NE(DescribeDoc(*t.GetCells(0, 0)).find("Q"), std::string::npos) << c.name;
    EXPECT_NE(saved.AsString().find("Q"), std::string::npos) << c.name;
  }
  // A save from inside the cell's own change cannot close it: it fails and
  // the cell stays open.
  TDVTableItemInfo& t = Place();
  Click(t, 0, 0);
  bool written = true;
  editor->OnChange = [&](auto&) {
    TMemoryStream s;
    written = Data().SaveDVFToStream(s, false, clNone, nullptr, nullptr);
  };
  QTest::keyClicks(Edited(t)->ClientWidget(), "R");
  editor->OnChange = nullptr;
  EXPECT_FALSE(written);
  ASSERT_NE(Edited(t), nullptr);
  EXPECT_EQ(DescribeDoc(Edited(t)->EditData()), "P0 0\"aR\"");
}

TEST_F(TableInplaceTest, ClicksSelectWhenCellsMayNotBeEdited) {
  struct Case {
    const char* name;
    bool editingOption, allow;
  } cases[] = {{"editing off", false, true}, {"OnCellEditing refuses", true, false}};
  for (const Case& c : cases) {
    TDVTableItemInfo& t = Place();
    if (!c.editingOption) t.Options &= ~dvtoEditing;
    t.OnCellEditing = [&](TDVTableItemInfo&, int, int, bool, bool& allow) { allow = c.allow; };
    Click(t, 0, 1);
    EXPECT_EQ(Edited(t), nullptr) << c.name;
    EXPECT_EQ(Data().GetChosenDVData(), t.GetCells(0, 1)) << c.name;
  }
}

TEST_F(TableInplaceTest, ClickingAnotherCellMovesTheEditorThere) {
  TDVTableItemInfo& t = Place();
  Click(t, 0, 0);
  QTest::keyClicks(Edited(t)->ClientWidget(), "X");
  Click(t, 1, 1);
  ASSERT_NE(Edited(t), nullptr);
  EXPECT_EQ(std::make_pair(Edited(t)->Row(), Edited(t)->Col()), std::make_pair(1, 1));
  EXPECT_NE(DescribeDoc(*t.GetCells(0, 0)).find("X"), std::string::npos);
  // Clearing the document with the editor open frees it with the table.
  editor->Clear();
  EXPECT_EQ(editor->GetInplaceEditor(), nullptr);
}

// Typing in a cell, then closing it, is one undoable step of the document.
TEST_F(TableInplaceTest, TypingInACellIsUndoneAsOneStep) {
  TDVTableItemInfo& t = Place();
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    Click(t, 1, 0);
    QTest::keyClicks(Edited(t)->ClientWidget(), "XY");
    t.DestroyInplace();
  }));
  // With another cell open, the typed cell opens in its place, undone, the
  // caret where the typing was; redo types it again there.
  const std::string before = DvfBytes(Data());
  Click(t, 1, 0);
  QTest::keyClicks(Edited(t)->ClientWidget(), "Z");
  Click(t, 0, 1);
  editor->Undo();
  ASSERT_NE(Edited(t), nullptr);
  EXPECT_EQ(std::make_pair(Edited(t)->Row(), Edited(t)->Col()), std::make_pair(1, 0));
  EXPECT_EQ(Content(t, 1, 0), "P0 0\"cXY\"");
  EXPECT_EQ(Edited(t)->EditData().GetOffsetInCurItem(), 4);
  EXPECT_EQ(DescribeDoc(*t.GetCells(0, 1)), "P0 0\"b\"");
  EXPECT_EQ(DvfBytes(Data()), before);
  editor->Redo();
  EXPECT_EQ(Content(t, 1, 0), "P0 0\"cXYZ\"");
  // Undone again with no cell open.
  t.DestroyInplace();
  editor->Undo();
  EXPECT_EQ(DvfBytes(Data()), before);
}

TEST_F(TableInplaceTest, TwoCellsTypedAreUndoneInTurn) {
  TDVTableItemInfo& t = Place();
  const std::string before = DvfBytes(Data());
  for (int col : {0, 1}) {
    Click(t, 0, col);
    QTest::keyClicks(Edited(t)->ClientWidget(), "Q");
    t.DestroyInplace();
  }
  editor->Undo();
  EXPECT_EQ(Content(t, 0, 1), "P0 0\"b\"");
  EXPECT_NE(Content(t, 0, 0), "P0 0\"a\"");
  editor->Undo();
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(editor->UndoAction(), dvutNone);
  EXPECT_TRUE(editor->Modified);
}

TEST_F(TableInplaceTest, SaveInplaceClosesTheEditorAndRestoreOpensItAgain) {
  TDVTableItemInfo& t = Place();
  Click(t, 1, 1);
  QTest::keyClicks(Edited(t)->ClientWidget(), "W");
  t.SaveInplace();
  EXPECT_EQ(Edited(t), nullptr);
  EXPECT_EQ(DescribeDoc(*t.GetCells(1, 1)), "P0 0\"dW\"");
  t.RestoreInplace();
  ASSERT_NE(Edited(t), nullptr);
  EXPECT_EQ(std::make_pair(Edited(t)->Row(), Edited(t)->Col()), std::make_pair(1, 1));
  // The caret is back after "dW" (offsets count from 1 before the text).
  EXPECT_EQ(Edited(t)->EditData().GetOffsetInCurItem(), 3);
  // While the editor handles its own change it cannot close.
  std::string raised;
  editor->OnChange = [&](auto&) {
    try {
      t.SaveInplace();
    } catch (const EDVTableInplaceError& e) {
      raised = e.what();
    }
  };
  QTest::keyClicks(Edited(t)->ClientWidget(), "V");
  EXPECT_EQ(raised, "Cannot destroy cell inplace editor at this time");
  ASSERT_NE(Edited(t), nullptr);
  editor->OnChange = nullptr;
  t.DestroyInplace();
  EXPECT_EQ(DescribeDoc(*t.GetCells(1, 1)), "P0 0\"dWV\"");
}

}  // namespace
}  // namespace quillet::test
