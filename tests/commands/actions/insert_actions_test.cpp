// The line, page-break and item-properties commands on a real editor: when
// they are offered, what they change, and each change one undo step.
#include "commands/actions/insert_actions.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QTest>

#include "../../editing/table/table_test_util.h"
#include "commands/dialogs/item_prop_dialog.h"
#include "commands/dialogs/width_combo.h"
#include "editing/table/inplace_editor.h"
#include "editing/table/table_item.h"
#include "engine/model/break_item.h"

namespace quillet::test {
namespace {

class InsertActions : public TableEditTest {
 protected:
  template <class A>
  bool Enabled(A& action) {
    action.SetControl(editor.get());
    action.UpdateNow();
    return action.isEnabled();
  }
  void Caret(int itemNo, int32_t offs) { editor->SetSelectionBounds(itemNo, offs, itemNo, offs); }
};

TEST_F(InsertActions, LineGoesInAtTheCaretWithItsWidthAndColour) {
  Load(R"(P0 0"ab")");
  Caret(0, 3);
  TdvActionInsertHLine line;
  line.Width = 3;
  line.Color = clRed;
  ASSERT_TRUE(Enabled(line));
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { line.ExecuteNow(); }));
  EXPECT_EQ(Doc(), R"(P0 0"ab" P0 brk)");
  const auto* added = dynamic_cast<TDVBreakItemInfo*>(Data().GetItem(1));
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->LineWidth, 3);
  EXPECT_EQ(added->Color, clRed);
  EXPECT_EQ(added->Style, dvbsLine);
}

TEST_F(InsertActions, PageBreakGoesInAndComesOutAtTheCaret) {
  Load(R"(P0 0"ab" P0 0"cd")");
  Caret(1, 1);
  TdvActionInsertPageBreak insert;
  TdvActionRemovePageBreak remove;
  ASSERT_TRUE(Enabled(insert));
  EXPECT_FALSE(Enabled(remove));
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { insert.ExecuteNow(); }));
  EXPECT_EQ(Doc(), R"(P0 0"ab" P0 ^ 0"cd")");
  Caret(1, 2);
  ASSERT_TRUE(Enabled(remove));
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { remove.ExecuteNow(); }));
  EXPECT_EQ(Doc(), R"(P0 0"ab" P0 0"cd")");
}

TEST_F(InsertActions, AListParagraphsPageBreakOnItsMarkerCanBeRemoved) {
  Load(R"(P0 0"ab" P0 ^ mk 0"cd")");
  Caret(2, 1);
  TdvActionRemovePageBreak remove;
  ASSERT_TRUE(Enabled(remove));
  remove.ExecuteNow();
  EXPECT_EQ(Doc(), R"(P0 0"ab" P0 mk 0"cd")");
}

TEST_F(InsertActions, ItemPropertiesAreOfferedOnAPictureOrLineWithoutASelection) {
  Load(R"(P0 0"ab" pic:20x10 P0 brk)");
  TdvActionItemProperties properties;
  const struct {
    int startNo, endNo;
    int32_t startOffs, endOffs;
    bool enabled;
  } cases[] = {
      {0, 0, 2, 2, false},  // text
      {1, 1, 0, 0, true},   // picture
      {2, 2, 1, 1, true},   // line
      {1, 1, 0, 1, false},  // the picture selected
  };
  for (const auto& c : cases) {
    editor->SetSelectionBounds(c.startNo, c.startOffs, c.endNo, c.endOffs);
    EXPECT_EQ(Enabled(properties), c.enabled) << c.startNo << ":" << c.startOffs;
  }
}

TEST_F(InsertActions, ItemPropertiesApplyTheDialogOnOkOnly) {
  Load(R"(P0 0"ab" P0 brk)");
  TdvActionItemProperties properties;
  properties.SetControl(editor.get());
  for (const int result : {int(mrCancel), int(mrOk)}) {
    Caret(1, 1);
    TScopedModalRunner runner([&](TfrmDVBase& form) {
      // The width chosen with the keyboard, as the user does.
      form.Dialog()->show();
      QComboBox* width = static_cast<TfrmDVItemProp&>(form).cmbWidth();
      width->setFocus();
      while (width->currentIndex() < 4) QTest::keyClick(width, Qt::Key_Down);
      form.Dialog()->hide();
      return result;
    });
    if (result == mrCancel) {
      const std::string before = DvfBytes(Data());
      properties.ExecuteNow();
      EXPECT_EQ(DvfBytes(Data()), before);
    } else {
      EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { properties.ExecuteNow(); }));
      EXPECT_EQ(static_cast<TDVBreakItemInfo*>(Data().GetItem(1))->LineWidth, 5);
    }
  }
}

TEST_F(InsertActions, InACellTheLineGoesInTheCellAndNoPageBreakIsOffered) {
  TDVTableItemInfo& table = PlaceInEditor(MakeTable(1, 1));
  table.CreateInplace(0, 0, 0, false, false, false);
  int row = -1, col = -1;
  TDVTableInplaceEdit* cell = table.GetEditedCell(row, col);
  ASSERT_NE(cell, nullptr);
  TdvActionInsertPageBreak pageBreak;
  EXPECT_FALSE(Enabled(pageBreak));
  TdvActionInsertHLine line;
  ASSERT_TRUE(Enabled(line));
  line.ExecuteNow();
  EXPECT_EQ(Data().ItemCount(), 1);
  EXPECT_NE(DescribeDoc(cell->EditData()).find("brk"), std::string::npos) << DescribeDoc(cell->EditData());
}

}  // namespace
}  // namespace quillet::test
