// The fill-colour command on a real editor offscreen: the dialog opens on
// the target and colour the selection suggests, and each target's change is
// one undoable step that reports the change.
#include "commands/actions/fill_color_action.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "../../editing/table/table_test_util.h"
#include "commands/dialogs/fill_color_dialog.h"
#include "editing/control/editor.h"
#include "editing/table/table_cell.h"
#include "engine/style/style_sheet.h"
#include "platform/ui/common_dialogs.h"

namespace quillet::test {
namespace {

// What the dialog showed as it opened.
struct Opening {
  std::vector<std::string> targets;
  std::string chosen;
  bool defined = false;
  TColor color = clNone;
  TDVBooleanRect usePadding{false};
  TDVRect padding;
};

// What the user does: Cancel, or pick a target (its caption; empty keeps
// the offered one) and maybe a colour, then OK.
struct Answer {
  bool ok = false;
  std::string target;
  bool setColor = false;
  TColor color = clNone;
  TFourValues padding;
  bool setPadding = false;
};

Answer Pick(const std::string& target, TColor color) { return {true, target, true, color}; }

class FillColor : public TableEditTest {
 protected:
  void SetUp() override {
    TableEditTest::SetUp();
    editor->OnChange = [this](TCustomDocView&) { ++changes; };
  }

  // Runs the command with the dialog answered; what it showed comes back,
  // and whether it closed (a refused OK leaves it open).
  Opening Run(const Answer& answer, bool* closed = nullptr) {
    Opening opening;
    TScopedCommonDialogs scoped(dialogs);
    TScopedModalRunner runner([&](TfrmDVBase& shown) {
      auto& form = static_cast<TfrmDVFillColor&>(shown);
      for (int i = 0; i < form.cmb->count(); ++i) opening.targets.push_back(form.cmb->itemText(i).toStdString());
      opening.chosen = form.cmb->currentText().toStdString();
      opening.defined = form.ColorDefined();
      opening.color = form.ChosenColor();
      form.GetPadding(opening.padding, opening.usePadding);
      if (!answer.ok) return static_cast<int>(mrCancel);
      if (!answer.target.empty()) form.cmb->setCurrentText(QString::fromStdString(answer.target));
      if (answer.setColor) form.SetChosenColor(answer.color, true);
      if (answer.setPadding) form.SetPadding(answer.padding.Values, answer.padding.Defined);
      form.btnOk->click();
      if (closed) *closed = !form.Dialog()->isVisible() && form.ModalResult() == mrOk;
      return form.ModalResult() == mrOk ? static_cast<int>(mrOk) : 0;
    });
    TdvActionFillColor action;
    action.SetControl(editor.get());
    action.ExecuteTarget(nullptr);
    return opening;
  }

  // A 2 x 2 table with a letter in each cell, placed alone in the editor.
  TDVTableItemInfo& PlaceTable() {
    auto table = MakeTable(2, 2);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c) AddCellText(*table->GetCells(r, c), std::string(1, char('a' + r * 2 + c)));
    table->Color = clWhite;
    return PlaceInEditor(std::move(table));
  }
  void CaretAtTable() { editor->SetSelectionBounds(0, 1, 0, 1); }

  TScriptedCommonDialogs dialogs;
  int changes = 0;
};

const std::vector<std::string> kTextTargets{"text", "paragraph"};
const std::vector<std::string> kCellTargets{"text", "paragraph", "cell", "table"};

TEST_F(FillColor, OpensOnWhatTheSelectionSuggests) {
  const struct {
    const char* what;
    std::function<void()> set;
    std::vector<std::string> targets;
    std::string chosen;
    bool defined;
    TColor color;
  } cases[] = {
      {"text over two background colours",
       [&] {
         Load(R"(P0 0"ab" 1"cd")");
         editor->SelectAll();
       },
       kTextTargets, "text", false, clNone},
      {"text over one background colour",
       [&] {
         Load(R"(P0 0"ab" 1"cd")");
         editor->SetSelectionBounds(1, 1, 1, 3);
       },
       kTextTargets, "text", true, clYellow},
      {"caret in a coloured paragraph",
       [&] {
         Load(R"(P0 0"ab" P1 0"cd")");
         editor->SetSelectionBounds(1, 2, 1, 2);
       },
       kTextTargets, "paragraph", true, clAqua},
      {"caret at the table",
       [&] {
         PlaceTable();
         CaretAtTable();
       },
       {"text", "paragraph", "table"}, "table", true, clWhite},
      {"cells of one colour",
       [&] {
         TDVTableItemInfo& table = PlaceTable();
         table.GetCells(0, 0)->Color = table.GetCells(0, 1)->Color = clLime;
         table.Select(0, 0, 0, 1);
       },
       kCellTargets, "cell", true, clLime},
      {"cells of two colours",
       [&] {
         TDVTableItemInfo& table = PlaceTable();
         table.GetCells(0, 0)->Color = clLime;
         table.Select(0, 0, 1, 0);
       },
       kCellTargets, "cell", false, clNone},
      {"a cell being edited",
       [&] {
         PlaceTable().CreateInplace(0, 1, 1, false, true, false);
       },
       kCellTargets, "paragraph", true, clNone},
  };
  for (const auto& c : cases) {
    sheet.TextStyles()[kUni].BackColor = clYellow;
    sheet.ParaStyles()[kIndentPara].Background().Color = clAqua;
    c.set();
    const Opening opening = Run({});
    EXPECT_EQ(opening.targets, c.targets) << c.what;
    EXPECT_EQ(opening.chosen, c.chosen) << c.what;
    EXPECT_EQ(opening.defined, c.defined) << c.what;
    if (c.defined) EXPECT_EQ(opening.color, c.color) << c.what;
    EXPECT_EQ(changes, 0) << c.what;
  }
}

TEST_F(FillColor, EachTargetIsOneUndoableStepThatReportsTheChange) {
  TDVTableItemInfo* table = nullptr;
  bool editCell = false;
  const auto cellColors = [&] {
    std::vector<TColor> colors;
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c) colors.push_back(table->GetCells(r, c)->Color);
    return colors;
  };
  TFourValues leftPadding;
  leftPadding.Values.Left = 6;
  leftPadding.Defined.Left = true;
  Answer paragraph = Pick("paragraph", clRed);
  paragraph.padding = leftPadding;
  paragraph.setPadding = true;
  const struct {
    const char* what;
    std::function<void()> set;
    Answer answer;
    std::function<void()> check;
  } cases[] = {
      {"text",
       [&] {
         Load(R"(P0 0"ab" P0 1"cd")");
         editor->SelectAll();
       },
       Pick("", clRed),
       [&] {
         for (int i = 0; i < 2; ++i) EXPECT_EQ(sheet.TextStyles()[Data().GetItemStyle(i)].BackColor, clRed);
       }},
      {"paragraph with padding",
       [&] {
         Load(R"(P0 0"ab" P1 1"cd")");
         editor->SelectAll();
       },
       paragraph,
       [&] {
         const struct {
           int item;
           int32_t indent;
         } paras[] = {{0, 6}, {1, 12}};
         for (const auto& p : paras) {
           const TParaInfo& para = sheet.ParaStyles()[Data().GetItemPara(p.item)];
           EXPECT_EQ(para.Background().Color, clRed);
           EXPECT_EQ(para.Background().BorderOffsets, (TDVRect{6, 0, 0, 0}));
           EXPECT_EQ(para.LeftIndent, p.indent);
         }
       }},
      {"cell range",
       [&] {
         table = &PlaceTable();
         table->Select(0, 0, 1, 0);
       },
       Pick("", clRed),
       [&] { EXPECT_EQ(cellColors(), (std::vector<TColor>{clRed, clNone, clRed, clNone})); }},
      {"cell being edited",
       [&] {
         // Opened in the step itself: saving the document closes the cell editor.
         table = &PlaceTable();
         editCell = true;
       },
       Pick("cell", clRed),
       [&] { EXPECT_EQ(cellColors(), (std::vector<TColor>{clNone, clNone, clNone, clRed})); }},
      {"table",
       [&] {
         table = &PlaceTable();
         CaretAtTable();
       },
       Pick("", clRed), [&] { EXPECT_EQ(table->Color, clRed); }},
  };
  for (const auto& c : cases) {
    editCell = false;
    c.set();
    changes = 0;
    const int steps = Data().UndoList->Count();
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] {
      if (editCell) table->CreateInplace(0, 1, 1, false, true, false);
      Run(c.answer);
      EXPECT_EQ(Data().UndoList->Count(), steps + 1) << c.what;
      EXPECT_EQ(changes, 1) << c.what;
      c.check();
    })) << c.what;
  }
}

TEST_F(FillColor, CancelOrNoColourAppliesNothing) {
  sheet.TextStyles()[kUni].BackColor = clYellow;
  Load(R"(P0 0"ab" 1"cd")");
  editor->SelectAll();
  const std::string before = DvfBytes(Data());
  Run({});
  bool closed = true;
  Answer noColour{true, "text"};
  dialogs.Answers.push_back({});
  const Opening opening = Run(noColour, &closed);
  ASSERT_FALSE(opening.defined);
  EXPECT_FALSE(closed);
  ASSERT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_EQ(std::get<TMessageQuestion>(dialogs.Asked[0].Question).Text, "Please select a color");
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(changes, 0);
}

TEST_F(FillColor, PaddingIsOfferedOnlyWhereAllParagraphsShareIt) {
  TParaInfos& paras = sheet.ParaStyles();
  for (const int32_t p : {kPlainPara, kIndentPara}) {
    paras[p].Background().Color = clAqua;
    paras[p].Background().BorderOffsets = TDVRect{4, 5, 6, 7};
  }
  paras[kIndentPara].Background().BorderOffsets.Left = 9;
  Load(R"(P0 0"ab" P1 0"cd")");
  editor->SelectAll();
  const Opening opening = Run({});
  EXPECT_EQ(opening.padding, (TDVRect{4, 5, 6, 7}));
  TDVBooleanRect expected(true);
  expected.Left = false;
  EXPECT_EQ(opening.usePadding, expected);
}

}  // namespace
}  // namespace quillet::test
