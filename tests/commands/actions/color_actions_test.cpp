// The colour commands on a real editor offscreen: each target changed and
// undone to the bytes from before, the colour dialog's preset, the palette
// dropped under its button and closed by a second execution, a palette that
// outlives its editor or command, and the editor's background.
#include "commands/actions/color_actions.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPointer>
#include <QToolButton>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "../../editing/edit_test_util.h"
#include "../controls/color_test_support.h"
#include "commands/actions/control_panel.h"
#include "commands/controls/color_popup.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "platform/ui/common_dialogs.h"

namespace quillet::test {
namespace {

// Palette button of a colour: the first is the automatic one.
constexpr int kRedButton = 1 + 16;

class ColorActions : public EditTest {
 public:
  void SetUp() override {
    EditTest::SetUp();
    Load(R"(P0 0"ab" P1 1"cd")");
  }
  // Prepares a command on the test editor.
  template <class Action>
  std::unique_ptr<Action> Make(TdvaColorInterface ui, TColor color = clNone) {
    auto action = std::make_unique<Action>();
    action->SetControl(editor.get());
    action->UserInterface = ui;
    if (color != clNone) action->Color = color;
    action->OnShowColorPicker = [this](TdvActionCustomColor&) { events.push_back("show"); };
    action->OnHideColorPicker = [this](TdvActionCustomColor&) { events.push_back("hide"); };
    return action;
  }
  const TFontInfo& TextStyleOf(int itemNo) const { return sheet.TextStyles()[Data().GetItemStyle(itemNo)]; }
  const TParaInfo& ParaStyleOf(int itemNo) const { return sheet.ParaStyles()[Data().GetItemPara(itemNo)]; }

  std::vector<std::string> events;
};

TEST_F(ColorActions, EachTargetChangesTheSelectionAndUndoes) {
  const struct {
    const char* what;
    std::function<std::unique_ptr<TdvActionCustomColor>(ColorActions&)> make;
    TColor color;
    std::function<TColor(const ColorActions&, int itemNo)> read;
  } cases[] = {
      {"text colour", [](ColorActions& t) { return t.Make<TdvActionFontColor>(dvacNone, clRed); }, clRed,
       [](const ColorActions& t, int i) { return t.TextStyleOf(i).Color; }},
      {"text background", [](ColorActions& t) { return t.Make<TdvActionFontBackColor>(dvacNone, clYellow); },
       clYellow, [](const ColorActions& t, int i) { return t.TextStyleOf(i).BackColor; }},
      {"paragraph background", [](ColorActions& t) { return t.Make<TdvActionParaColor>(dvacNone, clAqua); },
       clAqua, [](const ColorActions& t, int i) { return t.ParaStyleOf(i).Background().Color; }},
  };
  for (const auto& c : cases) {
    Load(R"(P0 0"ab" P1 1"cd")");
    const auto action = c.make(*this);
    editor->SelectAll();
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { action->ExecuteTarget(nullptr); })) << c.what;
    for (int i = 0; i < 2; ++i) EXPECT_EQ(c.read(*this, i), c.color) << c.what << " item " << i;
    EXPECT_TRUE(events.empty()) << c.what;
  }
}

TEST_F(ColorActions, PaddingSetsTheChosenSidesAndMakesRoomForThem) {
  const auto action = Make<TdvActionParaColorAndPadding>(dvacNone, clLime);
  TDVRect padding;
  padding.Left = 8;
  padding.Top = 3;
  padding.Right = 5;
  padding.Bottom = 30;
  TDVBooleanRect use(true);
  use.Right = false;
  action->SetPadding(padding);
  action->SetUsePadding(use);
  editor->SelectAll();
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { action->ExecuteTarget(nullptr); }));
  const struct {
    int item;
    int32_t left;  // the plain paragraph grows to the offset, the indented one keeps 12
  } paras[] = {{0, 8}, {1, 12}};
  for (const auto& p : paras) {
    const TParaInfo& para = ParaStyleOf(p.item);
    EXPECT_EQ(para.Background().Color, clLime);
    EXPECT_EQ(para.Background().BorderOffsets, (TDVRect{8, 0, 3, 30}));
    EXPECT_EQ(para.LeftIndent, p.left);
    EXPECT_EQ(para.SpaceBefore, 3);
    EXPECT_EQ(para.SpaceAfter, 30);
    EXPECT_EQ(para.RightIndent, 0);
  }
}

TEST_F(ColorActions, ColorDialogOpensOnTheCurrentColourOrYellow) {
  sheet.TextStyles()[kUni].BackColor = clBlue;
  const struct {
    const char* what;
    int32_t item;
    bool ok;
    TColor expectedPreset;
    TColor expectedBack;  // of the selected item afterwards
  } cases[] = {
      {"no background", 0, true, 0xFFFF, clRed},
      {"blue background", 1, true, clBlue, clRed},
      {"cancelled", 1, false, clBlue, clBlue},
  };
  for (const auto& c : cases) {
    Load(R"(P0 0"ab" P1 1"cd")");
    events.clear();
    editor->SetSelectionBounds(c.item, 1, c.item, 3);
    TScriptedCommonDialogs dialogs;
    dialogs.Answers.push_back({c.ok, TColor(clRed)});
    TScopedCommonDialogs scoped(dialogs);
    const auto action = Make<TdvActionFontBackColor>(dvacColorDialog);
    action->ExecuteTarget(nullptr);
    ASSERT_EQ(dialogs.Asked.size(), 1u) << c.what;
    EXPECT_EQ(std::get<TColor>(dialogs.Asked[0].Question), c.expectedPreset) << c.what;
    EXPECT_EQ(TextStyleOf(c.item).BackColor, c.expectedBack) << c.what;
    EXPECT_EQ(events, (std::vector<std::string>{"show", "hide"})) << c.what;
  }
}

TEST_F(ColorActions, SharedColorDialogIsUsedWhenSet) {
  TScriptedColorDialog shared;
  shared.pick = 0x123456;
  DVA_ColorDialog = &shared;
  const auto action = Make<TdvActionParaColor>(dvacColorDialog);
  editor->SelectAll();
  action->ExecuteTarget(nullptr);
  DVA_ColorDialog = nullptr;
  EXPECT_EQ(shared.openedWith, std::vector<TColor>{0xFFFF});
  EXPECT_EQ(ParaStyleOf(0).Background().Color, 0x123456);
  EXPECT_EQ(ParaStyleOf(1).Background().Color, 0x123456);
}

// The palette under a tool button in a shown window.
class PaletteCommand : public ColorActions {
 protected:
  void SetUp() override {
    ColorActions::SetUp();
    window.setGeometry(100, 100, 300, 200);
    button = new QToolButton(&window);
    button->setGeometry(20, 10, 40, 24);
    window.show();
    QApplication::setActiveWindow(&window);
    (void)QTest::qWaitForWindowExposed(&window);
    action = Make<TdvActionFontColor>(dvacAdvanced);
    action->SetCallerControl(button);
  }
  void TearDown() override {
    action.reset();
    ProcessPosted();
    ColorActions::TearDown();
  }

  QWidget window;
  QToolButton* button = nullptr;
  std::unique_ptr<TdvActionFontColor> action;
};

TEST_F(PaletteCommand, DropsUnderItsButtonAndAppliesTheChoice) {
  sheet.TextStyles()[kGbk].Color = sheet.TextStyles()[kUni].Color = clRed;
  editor->SelectAll();
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] {
    action->ExecuteTarget(nullptr);
    TfrmColor* picker = action->ColorPicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->Dialog()->pos(), button->mapToGlobal(QPoint(0, button->height())));
    EXPECT_EQ(picker->ColorButton(0)->text().toStdString(), "&Auto");
    // Opens on the colour at the caret.
    EXPECT_EQ(picker->KeySelected(), kRedButton);
    QTest::mouseClick(picker->ColorButton(kRedButton + 10), Qt::LeftButton);
    ProcessPosted();
  }));
  EXPECT_EQ(action->ColorPicker(), nullptr);
  EXPECT_EQ(TextStyleOf(0).Color, clYellow);
  EXPECT_EQ(TextStyleOf(1).Color, clYellow);
  EXPECT_EQ(action->Color, clYellow);
  EXPECT_EQ(events, (std::vector<std::string>{"show", "hide"}));
}

TEST_F(PaletteCommand, SecondExecutionClosesWithoutApplying) {
  editor->SelectAll();
  const std::string before = DvfBytes(Data());
  action->ExecuteTarget(nullptr);
  ASSERT_NE(action->ColorPicker(), nullptr);
  QPointer<QDialog> shown = action->ColorPicker()->Dialog();
  action->ExecuteTarget(nullptr);
  ProcessPosted();
  EXPECT_TRUE(shown.isNull());
  EXPECT_EQ(action->ColorPicker(), nullptr);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(events, (std::vector<std::string>{"show", "hide"}));
  // The next execution opens it again.
  action->ExecuteTarget(nullptr);
  EXPECT_NE(action->ColorPicker(), nullptr);
}

TEST_F(PaletteCommand, WithoutAWidgetToDropUnderItOpensAtTheMouse) {
  QObject notAWidget;
  action->SetCallerControl(&notAWidget);
  QCursor::setPos(150, 160);
  action->ExecuteTarget(nullptr);
  ASSERT_NE(action->ColorPicker(), nullptr);
  const TPoint mouse = GetCursorPos();
  EXPECT_EQ(action->ColorPicker()->Dialog()->pos(), QPoint(mouse.X, mouse.Y));
}

TEST_F(PaletteCommand, ClosingAfterItsEditorWentAppliesNothing) {
  editor->SelectAll();
  action->ExecuteTarget(nullptr);
  TfrmColor* picker = action->ColorPicker();
  ASSERT_NE(picker, nullptr);
  editor.reset();
  QTest::mouseClick(picker->ColorButton(kRedButton), Qt::LeftButton);
  ProcessPosted();
  EXPECT_EQ(action->ColorPicker(), nullptr);
  EXPECT_EQ(action->Color, clWindowText);
  EXPECT_EQ(events, (std::vector<std::string>{"show", "hide"}));
}

TEST_F(PaletteCommand, ClosingAfterItsCommandWentAppliesNothing) {
  editor->SelectAll();
  const std::string before = DvfBytes(Data());
  action->ExecuteTarget(nullptr);
  ASSERT_NE(action->ColorPicker(), nullptr);
  QPointer<QDialog> shown = action->ColorPicker()->Dialog();
  action.reset();
  ProcessPosted();
  EXPECT_TRUE(shown.isNull());
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(events, std::vector<std::string>{"show"});
}

TEST_F(ColorActions, BackgroundMarksModifiedOnlyWhenSavedWithTheDocument) {
  for (const bool saveBack : {false, true}) {
    editor->Modified = false;
    editor->Color = clNone;
    sheet.Color = clAqua;
    editor->SetDVFOptions(saveBack ? editor->DVFOptions() | dvfoSaveBack : editor->DVFOptions() & ~dvfoSaveBack);
    TScriptedCommonDialogs dialogs;
    dialogs.Answers.push_back({true, TColor(clYellow)});
    TScopedCommonDialogs scoped(dialogs);
    const auto action = Make<TdvActionColor>(dvacColorDialog);
    action->ExecuteTarget(nullptr);
    // Without a colour of its own the editor shows the sheet's.
    ASSERT_EQ(dialogs.Asked.size(), 1u);
    EXPECT_EQ(std::get<TColor>(dialogs.Asked[0].Question), clAqua) << saveBack;
    EXPECT_EQ(editor->Color, clYellow) << saveBack;
    EXPECT_EQ(editor->Modified, saveBack);
    EXPECT_EQ(Data().UndoList->Count(), 0) << saveBack;
  }
}

}  // namespace
}  // namespace quillet::test
