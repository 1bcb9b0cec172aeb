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

// What was undone in a cell is redone from the document once the cell has
// closed, and after what the document undid meanwhile.
TEST_F(TableInplaceTest, RedoInTheDocumentRedoesWhatWasUndoneInACell) {
  TDVTableItemInfo& t = Place();
  const std::string before = DvfBytes(Data());
  Click(t, 1, 0);
  QTest::keyClicks(Edited(t)->ClientWidget(), "XY");
  const std::string typed = Content(t, 1, 0);
  Edited(t)->Undo();
  ASSERT_NE(Content(t, 1, 0), typed);
  t.DestroyInplace();
  EXPECT_NE(editor->RedoAction(), dvutNone);
  editor->Redo();
  EXPECT_EQ(Content(t, 1, 0), typed);
  editor->Undo();
  editor->Undo();
  EXPECT_EQ(DvfBytes(Data()), before);

  // One cell typed and closed, another typed and undone, then an undo that
  // passes from that cell to the document: redo brings back the first cell,
  // then the second.
  Click(t, 0, 0);
  QTest::keyClicks(Edited(t)->ClientWidget(), "Q");
  t.DestroyInplace();
  const std::string first = DvfBytes(Data());
  Click(t, 0, 1);
  QTest::keyClicks(Edited(t)->ClientWidget(), "Z");
  t.DestroyInplace();
  const std::string both = DvfBytes(Data());
  editor->Undo();  // opens (0, 1) and undoes "Z" there
  ASSERT_NE(Edited(t), nullptr);
  editor->Undo();  // nothing left in the cell: the document undoes "Q"
  t.DestroyInplace();
  EXPECT_EQ(DvfBytes(Data()), before);
  editor->Redo();
  t.DestroyInplace();
  EXPECT_EQ(DvfBytes(Data()), first);
  editor->Redo();
  t.DestroyInplace();
  EXPECT_EQ(DvfBytes(Data()), both);
  EXPECT_EQ(editor->RedoAction(), dvutNone);
}

// The open cell's links get their areas in its editor, numbered between the
// links of the cells before and after it, and a click on one reaches the
// document's jump event with that number.
TEST_F(TableInplaceTest, TheEditedCellsLinksAreNumberedWithTheDocuments) {
  const int32_t link = sheet.TextStyles().Count();
  sheet.TextStyles().Add().Assign(sheet.TextStyles()[kGbk]);
  sheet.TextStyles()[link].Jump = true;
  auto table = MakeTable(1, 3);
  for (int c = 0; c < 3; ++c) {
    table->GetCells(0, c)->BestWidth = 60;
    table->GetCells(0, c)->AddNL(ItemText("link" + std::to_string(c), false), link, 0);
  }
  TDVTableItemInfo& t = PlaceInEditor(std::move(table));
  editor->EditorOptions = static_cast<decltype(editor->EditorOptions)>(editor->EditorOptions | dvoCtrlJumps);
  std::vector<int32_t> jumped;
  editor->OnJump = [&](TCustomDocView&, int32_t id) { jumped.push_back(id); };
  Click(t, 0, 1);
  TDVTableInplaceEdit* cell = Edited(t);
  ASSERT_NE(cell, nullptr);
  // Ctrl in the cell builds the areas of the whole document.
  QTest::keyPress(cell->ClientWidget(), Qt::Key_Control);
  std::vector<int32_t> outerIds;
  for (const auto& j : Data().Jumps) outerIds.push_back(j->Id);
  EXPECT_EQ(outerIds, (std::vector<int32_t>{0, 2}));
  TDVEditDVData& cellData = cell->EditData();
  ASSERT_EQ(cellData.Jumps.size(), 1u);
  EXPECT_EQ(cellData.Jumps[0]->Id + cellData.FirstJumpNo, 1);
  const TDVJumpInfo& area = *cellData.Jumps[0];
  const QPoint p(area.Left + area.Width / 2 - cellData.GetHOffs(), area.Top + area.Height / 2 - cellData.GetVOffs());
  QTest::mouseClick(cell->ClientWidget(), Qt::LeftButton, Qt::ControlModifier, p);
  EXPECT_EQ(jumped, std::vector<int32_t>{1});
  QTest::keyRelease(cell->ClientWidget(), Qt::Key_Control);
  EXPECT_TRUE(cellData.Jumps.empty());
  EXPECT_TRUE(Data().Jumps.empty());
}

}  // namespace
}  // namespace quillet::test
