// The tool-bar style commands on a real editor: the toggles read the caret's
// style and push every selected style the same way, protected text stays,
// the host's handler comes back, equal results share one style; alignment,
// wrap and spacing reach the caret's paragraph without a selection; the
// size and indent steps at their limits. Each change undoes to the bytes
// from before.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "../../editing/edit_test_util.h"
#include "commands/actions/font_style_actions.h"
#include "commands/actions/para_actions.h"
#include "commands/actions/size_actions.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"

namespace quillet::test {
namespace {

class StyleCommands : public EditTest {
 protected:
  // Style 3: a bold copy of the plain style 0.
  int32_t AddBoldStyle() {
    TFontInfo& bold = sheet.TextStyles().Add();
    bold.Assign(sheet.TextStyles()[kGbk]);
    bold.Style = fsBold;
    return sheet.TextStyles().Count() - 1;
  }
  const TFontInfo& TextStyleOf(int itemNo) { return sheet.TextStyles()[Data().GetItemStyle(itemNo)]; }
  const TParaInfo& ParaStyleOf(int itemNo) { return sheet.ParaStyles()[Data().GetItemPara(itemNo)]; }
  void Run(TdvAction& action) {
    action.SetControl(editor.get());
    action.ExecuteTarget(nullptr);
  }
};

TEST_F(StyleCommands, BoldFollowsTheCaretsStyleOverMixedAndProtectedText) {
  const std::string bold = std::to_string(AddBoldStyle());
  const auto notation = [&](std::string s) {
    for (size_t at; (at = s.find('%')) != std::string::npos;) s.replace(at, 1, bold);
    return s;
  };
  struct Case {
    const char* what;
    const char* doc;  // % is the bold style; the caret at the end, all selected
    bool checked;
    const char* expected;
  } cases[] = {
      // Plain at the caret: every free style becomes bold, the plain run
      // taking the bold style that is already there.
      {"button up", R"(P0 %"ab" 2"cd" 0"ef")", false, R"(P0 %"ab" 2"cd" %"ef")"},
      // Bold at the caret: bold goes from every free style, the plain run
      // staying plain.
      {"button down", R"(P0 0"ab" 2"cd" %"ef")", true, R"(P0 0"ab" 2"cd" 0"ef")"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Load(notation(c.doc));
    const int styles = sheet.TextStyles().Count();
    int hostCalls = 0;
    editor->OnStyleConversion = [&](void*, int32_t, int32_t, bool, int32_t&) { ++hostCalls; };
    Data().SetCaretAtItem(2, 3);
    editor->SelectAll();
    TdvActionFontBold action;
    action.SetControl(editor.get());
    action.UpdateTarget(nullptr);
    EXPECT_EQ(action.isChecked(), c.checked);
    // Triggered as a menu would: Qt flips a checkable action first.
    action.toggle();
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { action.ExecuteTarget(nullptr); }));
    EXPECT_EQ(Doc(), notation(c.expected));
    EXPECT_EQ(sheet.TextStyles().Count(), styles) << "equal results share a style";
    ASSERT_TRUE(editor->OnStyleConversion);
    int32_t n = 0;
    editor->OnStyleConversion(nullptr, 0, 0, true, n);
    EXPECT_EQ(hostCalls, 1) << "the host's handler is back";
  }
}

TEST_F(StyleCommands, EachToggleSetsItsOwnBit) {
  struct Case {
    const char* what;
    std::function<std::unique_ptr<TdvActionFontStyle>()> make;
    std::function<bool(const TFontInfo&)> has;
  } cases[] = {
      {"italic", [] { return std::make_unique<TdvActionFontItalic>(); }, [](const TFontInfo& s) { return s.Style == fsItalic; }},
      {"underline", [] { return std::make_unique<TdvActionFontUnderline>(); },
       [](const TFontInfo& s) { return s.Style == fsUnderline; }},
      {"strike-out", [] { return std::make_unique<TdvActionFontStrikeout>(); },
       [](const TFontInfo& s) { return s.Style == fsStrikeOut; }},
      {"overline", [] { return std::make_unique<TdvActionFontOverline>(); },
       [](const TFontInfo& s) { return s.StyleEx == dvfsOverline && s.Style == 0; }},
      {"all caps", [] { return std::make_unique<TdvActionFontAllCaps>(); },
       [](const TFontInfo& s) { return s.StyleEx == dvfsAllCaps && s.Style == 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Load(R"(P0 0"ab")");
    editor->SelectAll();
    std::unique_ptr<TdvActionFontStyle> action = c.make();
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(*action); }));
    EXPECT_TRUE(c.has(TextStyleOf(0)));
    // The caret's style has it now: the same command takes it away again.
    action->UpdateTarget(nullptr);
    EXPECT_TRUE(action->isChecked());
    editor->SelectAll();
    Run(*action);
    EXPECT_EQ(Data().GetItemStyle(0), kGbk);
  }
}

TEST_F(StyleCommands, ToggleIsDisabledWithoutAStyleSheet) {
  TDocViewEdit bare;
  TdvActionFontBold action;
  action.SetControl(&bare);
  action.setChecked(true);
  action.UpdateTarget(nullptr);
  EXPECT_FALSE(action.isEnabled());
  EXPECT_FALSE(action.isChecked());
}

TEST_F(StyleCommands, ParagraphCommandsReachTheCaretsParagraphWithoutSelection) {
  struct Case {
    const char* what;
    std::function<std::unique_ptr<TdvActionParaState>()> make;
    std::function<bool(const TParaInfo&)> has;
  } cases[] = {
      {"centre", [] { return std::make_unique<TdvActionAlignCenter>(); },
       [](const TParaInfo& p) { return p.Alignment == dvaCenter; }},
      {"justify", [] { return std::make_unique<TdvActionAlignJustify>(); },
       [](const TParaInfo& p) { return p.Alignment == dvaJustify; }},
      {"no wrap", [] { return std::make_unique<TdvActionWordWrap>(); },
       [](const TParaInfo& p) { return (p.Options & dvpaoNoWrap) != 0; }},
      {"one and a half", [] { return std::make_unique<TdvActionLineSpacing150>(); },
       [](const TParaInfo& p) { return p.LineSpacing == 150 && p.LineSpacingType == dvlsPercent; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Load(R"(P0 0"ab" P0 0"cd" P0 0"ef")");
    Data().SetCaretAtItem(1, 2);
    std::unique_ptr<TdvActionParaState> action = c.make();
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(*action); }));
    EXPECT_TRUE(c.has(ParaStyleOf(1)));
    EXPECT_EQ(Data().GetItemPara(0), kPlainPara);
    EXPECT_EQ(Data().GetItemPara(2), kPlainPara);
    action->UpdateTarget(nullptr);
    EXPECT_EQ(action->isChecked(), c.what != std::string("no wrap")) << "checked from the caret's paragraph";
  }
}

TEST_F(StyleCommands, LineSpacingIsCheckedOnlyForAPercentage) {
  TParaInfo& para = sheet.ParaStyles()[kPlainPara];
  para.LineSpacing = 150;
  para.LineSpacingType = dvlsSpaceBetween;
  Load(R"(P0 0"ab")");
  Data().SetCaretAtItem(0, 1);
  TdvActionLineSpacing150 action;
  action.SetControl(editor.get());
  action.UpdateTarget(nullptr);
  EXPECT_FALSE(action.isChecked());
}

TEST_F(StyleCommands, SizeSteps) {
  enum Kind { Shrink, Grow, ShrinkOne, GrowOne };
  struct Case {
    Kind kind;
    int32_t before, after;
  } cases[] = {
      {Shrink, 10, 9},       {Shrink, 1, 1},   {Shrink, 5, 4},   {Shrink, 2, 1},       {Shrink, -10, -9},
      {Shrink, 0, 1},        {Grow, 10, 11},   {Grow, 15, 16},   {Grow, 95, 100},      {Grow, 100, 100},
      {Grow, -10, -11},      {Grow, 2147483000, 100},
      {ShrinkOne, 1, 1},     {ShrinkOne, 10, 9}, {ShrinkOne, -3, -2}, {ShrinkOne, -1, -1},
      {GrowOne, 100, 100},   {GrowOne, 10, 11}, {GrowOne, -3, -4}, {GrowOne, -100, -100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " from " << c.before);
    sheet.TextStyles()[kGbk].Size = c.before;
    Load(R"(P0 0"ab")");
    editor->SelectAll();
    std::unique_ptr<TdvActionTextStyles> action;
    switch (c.kind) {
      case Shrink: action = std::make_unique<TdvActionFontShrink>(); break;
      case Grow: action = std::make_unique<TdvActionFontGrow>(); break;
      case ShrinkOne: action = std::make_unique<TdvActionFontShrinkOnePoint>(); break;
      case GrowOne: action = std::make_unique<TdvActionFontGrowOnePoint>(); break;
    }
    if (c.after != c.before) EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(*action); }));
    else Run(*action);
    EXPECT_EQ(TextStyleOf(0).Size, c.after);
  }
}

TEST_F(StyleCommands, IndentSteps) {
  struct Case {
    const char* what;
    bool increase;
    int32_t left, first;
    TDVBorderStyle border;  // width 3, left offset 20
    int32_t leftAfter, firstAfter;
  } cases[] = {
      {"decrease stops at 0", false, 10, 0, dvbNone, 0, 0},
      {"a hanging line stays right of the page edge", false, 10, -30, dvbNone, 0, -5},
      {"a hanging line that fits stays", false, 40, -10, dvbNone, 20, -10},
      {"the text clears the border", false, 30, 0, dvbSingle, 22, 0},
      {"increase by a step", true, 0, 0, dvbNone, 20, 0},
      {"increase stops at the limit", true, 190, 0, dvbNone, 200, 0},
      {"increase never pulls a paragraph back", true, 300, 0, dvbNone, 300, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TParaInfo& para = sheet.ParaStyles()[kPlainPara];
    para.LeftIndent = c.left;
    para.FirstIndent = c.first;
    para.Border().Style = c.border;
    para.Border().Width = 3;
    para.Border().BorderOffsets.Left = 20;
    editor->LeftMargin = 5;
    Load(R"(P0 0"ab")");
    editor->SelectAll();
    std::unique_ptr<TdvActionIndent> action;
    if (c.increase) action = std::make_unique<TdvActionIndentInc>();
    else action = std::make_unique<TdvActionIndentDec>();
    const bool changes = c.leftAfter != c.left || c.firstAfter != c.first;
    if (changes) EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(*action); }));
    else Run(*action);
    EXPECT_EQ(ParaStyleOf(0).LeftIndent, c.leftAfter);
    EXPECT_EQ(ParaStyleOf(0).FirstIndent, c.firstAfter);
  }
}

}  // namespace
}  // namespace quillet::test
