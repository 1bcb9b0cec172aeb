// The command base on real editors: which editor a command works on, the
// items a selection covers, the walk through selected cells, references that
// clear when their object goes, the partner lookup and the settings panel.
#include "commands/actions/action.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "commands/actions/control_panel.h"
#include "commands/actions/dispatcher.h"
#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"

namespace quillet::test {
namespace {

// Two editors in a window and a plain control beside them.
struct EditorsFixture {
  EditorsFixture() {
    window.resize(400, 300);
    for (TDocViewEdit* e : {&first, &second}) {
      e->SetStyle(&sheet);
      e->SetParentWidget(&window);
    }
    first.SetBounds(0, 0, 200, 150);
    second.SetBounds(200, 0, 200, 150);
    plain.SetParentWidget(&window);
    plain.SetBounds(0, 160, 100, 30);
    plain.SetTabStop(true);
    first.AddNL("abc", 0, 0);
    first.AddNL("def", 0, -1);
    first.AddNL("ghi", 0, 0);
    first.Format();
    second.AddNL("x", 0, 0);
    second.Format();
    window.show();
    QApplication::setActiveWindow(&window);
    (void)QTest::qWaitForWindowExposed(&window);
  }
  ~EditorsFixture() { DVA_DefaultControl = nullptr; }
  TDVStyle sheet;
  QWidget window;
  TDocViewEdit first, second;
  struct TPlain : TCustomControl {} plain;
};

TEST(CommandTarget, Resolution) {
  struct Case {
    const char* what;
    bool ownControl, defaultControl;
    int focus;  // 0 first, 1 second, 2 the plain control, 3 a cell editor in
                // first, 4 a cell editor of a table inside that cell
    int expected;  // the editor GetControl gives: 0, 1 or -1 for none
  } cases[] = {
      {"the focused editor", false, false, 1, 1},
      {"a focused control that is no editor", false, false, 2, -1},
      {"the default editor before the focused one", false, true, 1, 0},
      {"the default editor with nothing focused that is one", false, true, 2, 0},
      {"the own control before everything", true, false, 0, 1},
      {"a cell editor stands for its editor", false, false, 3, 0},
      {"a nested cell editor too", false, false, 4, 0},
      {"the default editor before a cell editor", false, true, 4, 0},
  };
  for (const Case& c : cases) {
    EditorsFixture f;
    TdvAction action;
    if (c.ownControl) action.SetControl(&f.second);
    if (c.defaultControl) DVA_DefaultControl = &f.first;
    // A 1 x 2 table whose first cell holds a 1 x 2 table, both cells open.
    auto outer = std::make_unique<TDVTableItemInfo>(1, 2, &f.first.DVData());
    auto inner = std::make_unique<TDVTableItemInfo>(1, 2, nullptr);
    outer->ParaNo = inner->ParaNo = 0;
    TDVTableItemInfo& table = *outer;
    TDVTableItemInfo& nested = *inner;
    nested.GetCells(0, 0)->AddNL("n", 0, 0);
    nested.GetCells(0, 1)->AddNL("m", 0, 0);
    table.GetCells(0, 0)->AddItem("", std::move(inner));
    table.GetCells(0, 1)->AddNL("t", 0, 0);
    f.first.AddItem("", std::move(outer));
    f.first.Format();
    TCustomControl* cellEditor = nullptr;
    TCustomControl* nestedEditor = nullptr;
    if (c.focus >= 3) {
      int row = -1, col = -1;
      table.CreateInplace(3, 0, 0, false, false, false);
      cellEditor = table.GetEditedCell(row, col);
      nested.CreateInplace(0, 0, 1, false, false, false);
      nestedEditor = nested.GetEditedCell(row, col);
      ASSERT_NE(nestedEditor, nullptr) << c.what;
    }
    TCustomControl* focus[] = {&f.first, &f.second, &f.plain, cellEditor, nestedEditor};
    focus[c.focus]->SetFocus();
    ASSERT_EQ(FocusedControl(), focus[c.focus]) << c.what;
    TDocViewEdit* editors[] = {&f.first, &f.second};
    EXPECT_EQ(action.GetControl(FocusedControl()), c.expected < 0 ? nullptr : editors[c.expected]) << c.what;
    EXPECT_EQ(action.HandlesTarget(FocusedControl()), c.expected >= 0) << c.what;
    action.UpdateNow();
    EXPECT_EQ(action.isEnabled(), c.expected >= 0) << c.what;
  }
}

TEST(CommandTarget, ExecutesOnlyWithAnEditor) {
  struct TCounting : TdvAction {
    std::vector<TCustomDocViewEdit*> ran;
    void ExecuteTarget(TCustomControl* target) override { ran.push_back(GetControl(target)); }
  };
  EditorsFixture f;
  TCounting action;
  f.plain.SetFocus();
  action.trigger();
  f.second.SetFocus();
  action.trigger();
  EXPECT_EQ(action.ran, (std::vector<TCustomDocViewEdit*>{&f.second}));
}

TEST(CommandTarget, FreedControlAndDefaultReadAsNone) {
  auto editor = std::make_unique<TDocViewEdit>();
  TdvAction action;
  action.SetControl(editor.get());
  DVA_DefaultControl = editor.get();
  TDVAControlPanel panel;
  EXPECT_EQ(panel.DefaultControl(), editor.get());
  editor.reset();
  EXPECT_EQ(action.Control(), nullptr);
  EXPECT_EQ(DVA_DefaultControl.get(), nullptr);
  EXPECT_EQ(panel.DefaultControl(), nullptr);
  {
    TColorDialog dialog;
    panel.SetColorDialog(&dialog);
    EXPECT_EQ(DVA_ColorDialog.get(), &dialog);
  }
  EXPECT_EQ(panel.ColorDialog(), nullptr);
}

TEST(SelectionBounds, ItemsACoveredSelectionCounts) {
  struct Case {
    const char* what;
    int startItem, startOffs, endItem, endOffs;
    int from, to;
  } cases[] = {
      {"starts at an item's end", 0, 4, 2, 2, 1, 2},
      {"ends at an item's start", 0, 2, 2, 1, 0, 1},
      {"both", 0, 4, 2, 1, 1, 1},
      {"nothing left", 0, 4, 1, 1, 1, 0},
      {"a caret between two items: the item it stands in", 1, 1, 1, 1, -2, -2},
      {"backwards is normalised", 2, 2, 0, 2, 0, 2},
  };
  for (const Case& c : cases) {
    EditorsFixture f;
    f.first.SetSelectionBounds(c.startItem, c.startOffs, c.endItem, c.endOffs);
    int from = -5, to = -5;
    GetSelectionBounds(f.first, from, to);
    if (c.from == -2) {
      const int caretItem = f.first.EditData().GetCurItemNo();
      EXPECT_EQ(std::make_pair(from, to), std::make_pair(caretItem, caretItem)) << c.what;
      continue;
    }
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(c.from, c.to)) << c.what;
  }
}

// Records the walk; stops after `limit` items.
struct TRecordingAction : TdvAction {
  std::vector<std::pair<const TCustomDVData*, int>> visited;
  size_t limit = 1000;
  void IterateProc(TCustomDVData& dvData, int itemNo, int& data, TCustomDocViewEdit&) override {
    visited.emplace_back(&dvData, itemNo);
    data = itemNo;
  }
  bool ContinueIteration(int&) override { return visited.size() < limit; }
};

TEST(SelectionWalk, PlainRangeAndEmptyRange) {
  EditorsFixture f;
  TRecordingAction action;
  int data = -1;
  action.IterateDVData(f.first.DVData(), f.first, data, 0, 2);
  EXPECT_EQ(action.visited.size(), 3u);
  EXPECT_EQ(data, 2);
  action.visited.clear();
  action.IterateDVData(f.first.DVData(), f.first, data, 2, 1);
  EXPECT_TRUE(action.visited.empty());
  action.limit = 2;
  action.IterateDVData(f.first.DVData(), f.first, data, 0, 2);
  EXPECT_EQ(action.visited.size(), 2u);
}

TEST(SelectionWalk, SelectedCellsOfNestedTables) {
  EditorsFixture f;
  TDocViewEdit& editor = f.first;
  // A 2 x 2 table whose first cell holds a 1 x 2 table.
  auto outer = std::make_unique<TDVTableItemInfo>(2, 2, &editor.DVData());
  auto inner = std::make_unique<TDVTableItemInfo>(1, 2, nullptr);
  outer->ParaNo = inner->ParaNo = 0;
  TDVTableItemInfo* innerTable = inner.get();
  for (int c = 0; c < 2; ++c) innerTable->GetCells(0, c)->AddNL("n", 0, 0);
  TDVTableCellData& host = *outer->GetCells(0, 0);
  host.AddItem("", std::move(inner));
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c)
      if (r || c) outer->GetCells(r, c)->AddNL("t", 0, 0), outer->GetCells(r, c)->AddNL("u", 0, -1);
  TDVTableItemInfo* table = outer.get();
  editor.AddItem("", std::move(outer));
  editor.Format();

  // Cells (0,0), (0,1) and (1,1) selected; in the nested table its second cell.
  editor.DVData().FPartialSelectedItem = table;
  for (auto [r, c] : {std::pair{0, 0}, {0, 1}, {1, 1}}) table->GetCells(r, c)->State |= dvstCompletelySelected;
  host.FPartialSelectedItem = innerTable;
  innerTable->GetCells(0, 1)->State |= dvstCompletelySelected;

  TRecordingAction action;
  int data = -1;
  action.IterateDVData(editor.DVData(), editor, data, 0, 0);
  const std::vector<std::pair<const TCustomDVData*, int>> all = {
      {innerTable->GetCells(0, 1), 0}, {table->GetCells(0, 1), 0}, {table->GetCells(0, 1), 1},
      {table->GetCells(1, 1), 0}, {table->GetCells(1, 1), 1}};
  EXPECT_EQ(action.visited, all);

  // Told to stop inside a cell: neither the rest of that cell nor later cells.
  TRecordingAction stopping;
  stopping.limit = 2;
  stopping.IterateDVData(editor.DVData(), editor, data, 0, 0);
  EXPECT_EQ(stopping.visited, std::vector(all.begin(), all.begin() + 2));
  editor.DVData().FPartialSelectedItem = nullptr;
  host.FPartialSelectedItem = nullptr;
}

TEST(FindComponentByClass, FirstOfTheClassInOrder) {
  struct TSave : TdvAction { using TdvAction::TdvAction; };
  struct TSaveAs : TSave { using TSave::TSave; };
  QObject owner;
  TdvAction plain(&owner);
  TSaveAs saveAs(&owner);
  TSave save(&owner);
  EXPECT_EQ(FindComponentByClass<TSave>(&owner), &saveAs);  // derived classes count
  EXPECT_EQ(FindComponentByClass<TSaveAs>(&owner), &saveAs);
  EXPECT_EQ(FindComponentByClass<TdvAction>(&owner), &plain);
  EXPECT_EQ(FindComponentByClass<TDVAControlPanel>(&owner), nullptr);
  EXPECT_EQ(FindComponentByClass<TSave>(nullptr), nullptr);
}

TEST(ControlPanel, TableGridStyle) {
  const TPenStyle savedGrid = DocViewTableGridStyle, savedSetting = DVA_TableGridStyle;
  TDVAControlPanel panel;
  DocViewTableGridStyle = psDot;
  panel.SetTableGridStyle(psDash);
  EXPECT_EQ(DocViewTableGridStyle, psDash);
  // Hidden grid: the setting waits.
  DocViewTableGridStyle = psClear;
  panel.SetTableGridStyle(psSolid);
  EXPECT_EQ(panel.TableGridStyle(), psSolid);
  EXPECT_EQ(DocViewTableGridStyle, psClear);
  panel.Loaded();
  EXPECT_EQ(DocViewTableGridStyle, psSolid);
  DocViewTableGridStyle = savedGrid;
  DVA_TableGridStyle = savedSetting;
}

TEST(Dispatcher, UpdatesOnFocusEditorEventsAndMenus) {
  struct TCountingUpdate : TdvAction {
    using TdvAction::TdvAction;
    int updates = 0;
    void UpdateTarget(TCustomControl* target) override {
      ++updates;
      TdvAction::UpdateTarget(target);
    }
  };
  EditorsFixture f;
  QObject owner;
  TCountingUpdate action(&owner);
  TdvActionDispatcher dispatcher(&owner);
  int hostChanges = 0;
  f.first.OnChange = [&](TCustomDocView&) { ++hostChanges; };
  f.plain.SetFocus();
  EXPECT_FALSE(action.isEnabled());
  f.first.SetFocus();
  EXPECT_TRUE(action.isEnabled());
  const int afterFocus = action.updates;
  EXPECT_GT(afterFocus, 0);
  f.first.OnChange(f.first);
  EXPECT_EQ(hostChanges, 1);  // the editor's own handler still runs
  f.first.OnCaretMove(f.first);
  EXPECT_EQ(action.updates, afterFocus + 2);
  QMenu menu;
  dispatcher.WatchMenu(&menu);
  emit menu.aboutToShow();
  EXPECT_EQ(action.updates, afterFocus + 3);
  // Focus elsewhere: the editor has its own handlers back.
  f.plain.SetFocus();
  const int afterLeaving = action.updates;
  f.first.OnChange(f.first);
  EXPECT_EQ(hostChanges, 2);
  EXPECT_EQ(action.updates, afterLeaving);
  EXPECT_FALSE(f.first.OnCaretMove);
}

}  // namespace
}  // namespace quillet::test
