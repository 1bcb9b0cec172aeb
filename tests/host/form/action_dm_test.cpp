// The command module on a real editor: the actions by their form names with
// the host's captions and shortcuts, commands pinned to the main editor,
// undo and redo of annotations in pen mode, paste into an open cell editor
// and the undo menu captions.
#include "host/form/action_dm.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QWidget>
#include <set>

#include "../../editing/edit_test_util.h"
#include "../../editing/table/table_test_util.h"
#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil.h"

namespace quillet::test {
namespace {

class ActionDM : public TableEditTest {
 protected:
  void SetUp() override {
    TableEditTest::SetUp();
    module = std::make_unique<TActionDM>(*editor, postil);
  }
  void TearDown() override {
    module.reset();
    TableEditTest::TearDown();
  }
  QAction& Act(const char* name) {
    QAction* action = module->Action(name);
    EXPECT_NE(action, nullptr) << name;
    return *action;
  }
  TQvPostil postil;
  std::unique_ptr<TActionDM> module;
};

TEST_F(ActionDM, ActionsCarryTheFormsNamesCaptionsAndShortcuts) {
  struct Case {
    const char* name;
    const char* caption;
    QKeySequence keys;
    const char* category;
  };
  const Case cases[] = {
      {"dvActionNew1", "新建(&N)", QKeySequence("Ctrl+N"), "DVE File"},
      {"dvActionPaste1", "粘帖(&P)", QKeySequence("Ctrl+V"), "DVE Edit"},
      {"dvActionRedo1", "恢复(&R)", QKeySequence("Ctrl+Y"), "DVE Edit"},
      {"dvActionFontEx1", "字体（高级）(&O)...", QKeySequence(), "DVE Text"},
      {"dvActionTableSelectTable1", "选定表格(&T)", QKeySequence(Qt::ALT | Qt::Key_Clear), "DVE Table"},
      {"dvActionFindNext1", "查找下一个(&N)", QKeySequence("F3"), "DVE Edit"},
      {"dvActionParaColor1", "段落背景颜色(&B)...", QKeySequence(), "DVE Paragraph"},
      {"dvActionPageSetup", "页面设置", QKeySequence(), "DVE File"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QAction& action = Act(c.name);
    EXPECT_EQ(action.text().toStdString(), c.caption);
    EXPECT_EQ(action.shortcut(), c.keys);
    EXPECT_EQ(TActionDM::Category(action).toStdString(), c.category);
  }
  // Every name is the module's once.
  std::set<QString> names;
  for (QAction* action : module->Actions()) EXPECT_TRUE(names.insert(action->objectName()).second);
  EXPECT_EQ(names.size(), module->Actions().size());
}

TEST_F(ActionDM, PinnedCommandsWorkOnTheMainEditorWhateverHasTheFocus) {
  Load(R"(P0 0"ab")");
  editor->SelectAll();
  QWidget other;
  auto* line = new QLineEdit(&other);
  other.show();
  line->setFocus();
  Act("dvActionFontBold1").trigger();
  EXPECT_TRUE(sheet.TextStyles()[Data().GetItemStyle(0)].Style & fsBold);
}

TEST_F(ActionDM, UndoAndRedoTakeStrokesInPenModeAndLeaveTheTextsUndo) {
  Load(R"(P0 0"ab")");
  editor->SelectAll();
  editor->InsertText("x");
  const int textSteps = Data().UndoList->Count();
  postil.BeginPostil();
  postil.BeginDraw();
  postil.AddPointM(10, 10, 255, 2, 0, 0, 1);
  postil.AddPointL(40, 30, 255, 2, 0, 0, 1);
  postil.EndDraw();
  const size_t drawn = postil.NewPostil().size();
  ASSERT_GT(drawn, 0u);
  Act("dvActionUndo1").trigger();
  EXPECT_LT(postil.NewPostil().size(), drawn);
  EXPECT_EQ(Data().UndoList->Count(), textSteps);
  Act("dvActionRedo1").trigger();
  EXPECT_EQ(postil.NewPostil().size(), drawn);

  postil.EndPostil();
  Act("dvActionUndo1").trigger();
  EXPECT_EQ(Data().UndoList->Count(), textSteps - 1);
  EXPECT_EQ(Doc(), R"(P0 0"ab")");
}

TEST_F(ActionDM, UndoCaptionsNameTheNextStep) {
  Load(R"(P0 0"ab")");
  EXPECT_EQ(module->UndoCaption().toStdString(), "撤消(&U) ");
  EXPECT_EQ(module->RedoCaption().toStdString(), "恢复(&R) ");
  editor->SelectAll();
  editor->InsertText("x");
  EXPECT_EQ(module->UndoCaption().toStdString(), "撤消(&U) 插入");
  editor->Undo();
  EXPECT_EQ(module->RedoCaption().toStdString(), "恢复(&R) 插入");
}

TEST_F(ActionDM, PasteGoesIntoAnOpenCellEditor) {
  TDVTableItemInfo& table = PlaceInEditor(MakeTable(2, 2));
  table.CreateInplace(table.GetMyItemNo(), 0, 0, false, true, true);
  TCustomDocViewEdit* cell = editor->InplaceTarget();
  ASSERT_NE(cell, nullptr);
  QApplication::clipboard()->setText("pasted");
  Act("dvActionPaste1").trigger();
  EXPECT_NE(cell->GetItemText(0).find("pasted"), std::string::npos);
}

}  // namespace
}  // namespace quillet::test
