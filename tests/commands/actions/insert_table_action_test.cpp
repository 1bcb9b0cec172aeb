// Inserting a table through its dialog on a real editor: the fitted cell
// width of the defaults (293 pixels at a text width of 600), never below 1,
// the remembered size and width, cancel and the partly selected table; and
// the grid lines toggled in every document on the screen.
#include "commands/actions/insert_table_action.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QRadioButton>
#include <functional>
#include <memory>

#include "../../editing/table/table_test_util.h"
#include "../dialogs/item_dialog_test_support.h"
#include "commands/actions/control_panel.h"
#include "commands/actions/dispatcher.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/insert_table_dialog.h"
#include "editing/table/inplace_editor.h"

namespace quillet::test {
namespace {

class InsertTableAction : public TableEditTest {
 protected:
  void SetUp() override {
    TableEditTest::SetUp();
    Reset();
    action.SetControl(editor.get());
  }
  // One paragraph with the caret at its end, nothing to undo.
  void Reset() {
    Load(R"(P0 0"ab")");
    editor->SetSelectionBounds(0, 3, 0, 3);
    Data().UndoList->Clear();
    editor->Modified = false;
  }
  // Sizes the editor so that its lines wrap at width pixels (20 at least).
  void SetTextWidth(int32_t width) {
    editor->SetBounds(0, 0, 400, 300);
    editor->Format();
    const int32_t margins = 400 - Data().TextWidth;
    editor->SetBounds(0, 0, width + margins, 300);
    editor->Format();
    ASSERT_EQ(Data().TextWidth, width);
  }
  TDVTableItemInfo* Inserted(TCustomDVData& data) const {
    for (int i = 0; i < data.ItemCount(); ++i)
      if (auto* table = dynamic_cast<TDVTableItemInfo*>(data.GetItem(i))) return table;
    return nullptr;
  }

  TdvActionInsertTable action;
};

TEST_F(InsertTableAction, InsertsTheAnsweredTableAsOneUndoStep) {
  const auto kDefaults = [](TdvActionInsertTable&) {};
  const auto kOk = [](TfrmInsTable&) { return static_cast<int>(mrOk); };
  struct Case {
    const char* name;
    int32_t textWidth;
    std::function<void(TdvActionInsertTable&)> look;
    std::function<int(TfrmInsTable&)> answer;
    int rows, cols;
    int32_t tableWidth, cellWidth;
  } cases[] = {
      // (590 - (1 x -1 + 2 x (1 - 1) + 2 x 2 x 1)) / 2
      {"the defaults at 600 pixels", 600, kDefaults, kOk, 2, 2, 0, 293},
      // (10 - (1 x -1 + 2 x 0 + 2 x 2 x 5)) / 2 = -4 would read as 4 per cent.
      {"thick cell borders in a narrow window", 20, [](TdvActionInsertTable& a) { a.CellBorderWidth = 5; }, kOk, 2,
       2, 0, 1},
      // (10 - (9 x -1 + 0 + 2 x 10 x 1)) / 10 = 0 would fit the contents.
      {"ten columns in a narrow window", 20, kDefaults,
       [](TfrmInsTable& f) {
         Type(f.seColumns(), "10");
         return static_cast<int>(mrOk);
       },
       2, 10, 0, 1},
      {"three columns, to the window", 600, kDefaults,
       [](TfrmInsTable& f) {
         Type(f.seColumns(), "3");
         f.rbFitWindow()->click();
         return static_cast<int>(mrOk);
       },
       2, 3, -100, 0},
      {"manual pixels", 600, kDefaults,
       [](TfrmInsTable& f) {
         Type(f.seRows(), "4");
         f.rbFitManual()->click();
         f.cboWidthType()->setCurrentIndex(1);
         Type(f.seWidth(), "300");
         return static_cast<int>(mrOk);
       },
       4, 2, 300, 0},
  };
  for (const Case& c : cases) {
    Reset();
    SetTextWidth(c.textWidth);
    TdvActionInsertTable insert;
    insert.SetControl(editor.get());
    c.look(insert);
    TScopedModalRunner runner(Answering<TfrmInsTable>(c.answer));
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { insert.ExecuteNow(); })) << c.name;
    TDVTableItemInfo* table = Inserted(Data());
    ASSERT_NE(table, nullptr) << c.name;
    EXPECT_EQ(table->Rows.Count(), c.rows) << c.name;
    EXPECT_EQ(table->Rows.GetColCount(), c.cols) << c.name;
    EXPECT_EQ(table->BestWidth, c.tableWidth) << c.name;
    for (int r = 0; r < c.rows; ++r)
      for (int col = 0; col < c.cols; ++col) EXPECT_EQ(table->GetCells(r, col)->BestWidth, c.cellWidth) << c.name;
    // The command's look, with its glued spacing.
    EXPECT_EQ(table->CellBorderWidth, insert.CellBorderWidth) << c.name;
    EXPECT_EQ(table->CellBorderStyle, dvtbColor) << c.name;
    EXPECT_EQ(table->BorderHSpacing, -1) << c.name;
    EXPECT_EQ(table->Color, clNone) << c.name;
    EXPECT_EQ(insert.RowCount, 2) << c.name;
  }
}

TEST_F(InsertTableAction, RemembersSizeAndWidthOnlyWhenAsked) {
  TScopedModalRunner remember(Answering<TfrmInsTable>([](TfrmInsTable& f) {
    Type(f.seRows(), "3");
    Type(f.seColumns(), "4");
    f.rbFitManual()->click();
    Type(f.seWidth(), "50");
    f.cbRemember()->setChecked(true);
    return static_cast<int>(mrOk);
  }));
  action.ExecuteNow();
  EXPECT_EQ(action.RowCount, 3);
  EXPECT_EQ(action.ColCount, 4);
  EXPECT_EQ(action.BestWidth, -50);

  // The next dialog starts from them; without the box the command keeps them.
  int shown = 0;
  TScopedModalRunner keep(Answering<TfrmInsTable>([&](TfrmInsTable& f) {
    ++shown;
    EXPECT_EQ(f.Rows(), 3);
    EXPECT_EQ(f.Columns(), 4);
    EXPECT_EQ(f.BestWidth(), -50);
    Type(f.seRows(), "7");
    return static_cast<int>(mrOk);
  }));
  action.ExecuteNow();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(action.RowCount, 3);
}

TEST_F(InsertTableAction, CancelInsertsNothing) {
  const std::string before = DvfBytes(Data());
  TScopedModalRunner runner(Answering<TfrmInsTable>([](TfrmInsTable&) { return static_cast<int>(mrCancel); }));
  action.ExecuteNow();
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  EXPECT_FALSE(editor->Modified);
}

TEST_F(InsertTableAction, GoesIntoTheEditedCellAndWaitsWhileCellsAreSelected) {
  TDVTableItemInfo& outer = PlaceInEditor(MakeTable(2, 2));
  action.UpdateNow();
  EXPECT_TRUE(action.isEnabled());
  outer.Select(0, 0, 1, 1);
  action.UpdateNow();
  EXPECT_FALSE(action.isEnabled());

  outer.CreateInplace(0, 1, 1, false, true, true);
  int row = -1, col = -1;
  TDVTableInplaceEdit* cell = outer.GetEditedCell(row, col);
  ASSERT_NE(cell, nullptr);
  action.UpdateNow();
  EXPECT_TRUE(action.isEnabled());
  TScopedModalRunner runner(Answering<TfrmInsTable>([](TfrmInsTable&) { return static_cast<int>(mrOk); }));
  action.ExecuteNow();
  TDVTableItemInfo* inner = Inserted(cell->EditData());
  ASSERT_NE(inner, nullptr);
  EXPECT_GE(inner->GetCells(0, 0)->BestWidth, 1);
  EXPECT_EQ(Inserted(Data()), &outer);
}

// Counts the paint events of a widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int Count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Count;
    return false;
  }
};

TEST_F(InsertTableAction, GridToggledTwiceRestoresTheConfiguredStyleEverywhere) {
  const TPenStyle savedStyle = DVA_TableGridStyle, savedGrid = DocViewTableGridStyle;
  DVA_TableGridStyle = psDash;
  DocViewTableGridStyle = psDash;
  // A viewer deep inside another window is painted again too.
  QWidget window;
  QWidget inner(&window);
  TDocView viewer(&inner);
  viewer.SetStyle(&sheet);
  viewer.SetBounds(0, 0, 100, 80);
  window.resize(200, 160);
  window.show();
  (void)QTest::qWaitForWindowExposed(&window);
  PaintCounter viewerPaints(viewer.ClientWidget()), editorPaints(editor->ClientWidget());
  QApplication::processEvents();

  TdvActionTableGrid grid;
  EXPECT_TRUE(grid.isChecked());
  const struct {
    TPenStyle style;
    bool checked;
  } steps[] = {{psClear, false}, {psDash, true}};
  for (const auto& step : steps) {
    viewerPaints.Count = editorPaints.Count = 0;
    grid.trigger();
    QApplication::processEvents();
    EXPECT_EQ(DocViewTableGridStyle, step.style);
    EXPECT_EQ(grid.isChecked(), step.checked);
    EXPECT_GT(viewerPaints.Count, 0);
    EXPECT_GT(editorPaints.Count, 0);
  }
  DVA_TableGridStyle = savedStyle;
  DocViewTableGridStyle = savedGrid;
}

TEST(TableGridCommand, FollowsAGridShownByTheSettingsPanel) {
  const TPenStyle savedStyle = DVA_TableGridStyle, savedGrid = DocViewTableGridStyle;
  QObject owner;
  TdvActionDispatcher dispatcher(&owner);
  auto* grid = new TdvActionTableGrid(&owner);
  DocViewTableGridStyle = psDot;
  grid->trigger();
  ASSERT_FALSE(grid->isChecked());
  // A panel read from a stored form puts its style on the grid.
  TDVAControlPanel panel;
  panel.Loaded();
  dispatcher.UpdateActions();
  EXPECT_TRUE(grid->isChecked());
  DVA_TableGridStyle = savedStyle;
  DocViewTableGridStyle = savedGrid;
}

}  // namespace
}  // namespace quillet::test
