// The font, paragraph and border commands on a real editor, their dialogs
// answered through the modal runner and the platform's font dialog through
// the scripted fake: what the dialog is filled with (values common to the
// selection, the rest undetermined; the caret's styles when the selection
// holds nothing), what comes back applied and nothing else, Cancel leaving
// the document alone, the default line spacing kept in "LineSpace.ini".
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "../../editing/edit_test_util.h"
#include "../../support/scoped_env.h"
#include "commands/actions/font_dialog_actions.h"
#include "commands/actions/para_dialog_actions.h"
#include "commands/controls/spin_edit.h"
#include "commands/dialogs/font_dialog.h"
#include "commands/dialogs/para_border_dialog.h"
#include "commands/dialogs/para_dialog.h"
#include "commands/settings_file.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "platform/ui/common_dialogs.h"

namespace quillet::test {
namespace {

// A runner that hands the shown form to act, as its own type, and answers
// what act returns.
template <class Form>
TModalRunner OnForm(std::function<int(Form&)> act) {
  return [act](TfrmDVBase& shown) {
    auto* form = dynamic_cast<Form*>(&shown);
    if (!form) {
      ADD_FAILURE() << "another dialog was shown";
      return int{mrCancel};
    }
    return act(*form);
  };
}

class StyleDialogCommands : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    ASSERT_TRUE(settingsDir.isValid());
  }
  // A copy of text style 0 changed by change, added to the sheet.
  int32_t AddTextStyle(const std::function<void(TFontInfo&)>& change) {
    TFontInfo& style = sheet.TextStyles().Add();
    style.Assign(sheet.TextStyles()[kGbk]);
    change(style);
    return sheet.TextStyles().Count() - 1;
  }
  int32_t AddParaStyle(const std::function<void(TParaInfo&)>& change) {
    TParaInfo& style = sheet.ParaStyles().Add();
    change(style);
    return sheet.ParaStyles().Count() - 1;
  }
  const TFontInfo& TextStyleOf(int itemNo) { return sheet.TextStyles()[Data().GetItemStyle(itemNo)]; }
  const TParaInfo& ParaStyleOf(int itemNo) { return sheet.ParaStyles()[Data().GetItemPara(itemNo)]; }
  template <class Action>
  void Run(Action& action) {
    action.SetControl(editor.get());
    action.ExecuteTarget(nullptr);
  }
  // The caret placed (which sets the styles typing would take), then the
  // selection made around it.
  void Select(int caretItem, int32_t caretOffs, int startNo, int32_t startOffs, int endNo, int32_t endOffs) {
    Data().SetCaretAtItem(caretItem, caretOffs);
    Data().SetSelectionBounds(startNo, startOffs, endNo, endOffs);
  }

  QTemporaryDir settingsDir;
  TScopedEnv configHome{"XDG_CONFIG_HOME", settingsDir.path().toStdString()};
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs dialogsInUse{dialogs};
};

TEST_F(StyleDialogCommands, FontDialogShowsWhatIsCommonAndAppliesOnlyWhatWasSet) {
  const std::string big = std::to_string(AddTextStyle([](TFontInfo& s) {
    s.Size = 12;
    s.Style = fsBold;
  }));
  Load(R"(P0 0"ab" )" + big + R"("cd")");
  editor->SelectAll();
  TFontDialogValues shown;
  TScopedModalRunner runner(OnForm<TfrmDVFont>([&](TfrmDVFont& form) {
    shown = form.GetValues();
    form.cbI->setChecked(true);
    return int{mrOk};
  }));
  TdvActionFontEx action;
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(action); }));
  EXPECT_EQ(shown.FontName.Value, sheet.TextStyles()[kGbk].FontName);
  EXPECT_TRUE(shown.FontName.Defined);
  EXPECT_FALSE(shown.Size.Defined);
  EXPECT_FALSE(shown.Bold.Defined);
  EXPECT_EQ(shown.Italic, (TDefined<bool>{false, true}));
  EXPECT_EQ(action.ValidProperties, DVFontMainProp(dvfimItalic) | DVFontMainProp(dvfimFontName) |
                                        DVFontMainProp(dvfimCharset) | DVFontMainProp(dvfimUnderline) |
                                        DVFontMainProp(dvfimStrikeout) | DVFontMainProp(dvfimOverline) |
                                        DVFontMainProp(dvfimAllCaps) | DVFontMainProp(dvfimVShift) |
                                        DVFontMainProp(dvfimColor) | DVFontMainProp(dvfimCharScale) |
                                        DVFontMainProp(dvfimCharSpacing));
  for (int i : {0, 1}) EXPECT_EQ(TextStyleOf(i).Style & fsItalic, fsItalic) << i;
  EXPECT_EQ(TextStyleOf(0).Size, 10);
  EXPECT_EQ(TextStyleOf(0).Style & fsBold, 0);
  EXPECT_EQ(TextStyleOf(1).Size, 12);
  EXPECT_EQ(TextStyleOf(1).Style & fsBold, fsBold);
}

TEST_F(StyleDialogCommands, FontDialogKeepsTheSignsOfOffsetAndSpacing) {
  const int32_t lowered = AddTextStyle([](TFontInfo& s) {
    s.VShift = -5;
    s.CharSpacing = -3;
  });
  Load(R"(P0 )" + std::to_string(lowered) + R"("ab")");
  editor->SelectAll();
  const std::string before = DvfBytes(Data());
  TScopedModalRunner runner(OnForm<TfrmDVFont>([&](TfrmDVFont& form) {
    EXPECT_TRUE(form.rbDown.Checked());
    EXPECT_TRUE(form.rbCond.Checked());
    return int{mrOk};
  }));
  TdvActionFontEx action;
  Run(action);
  EXPECT_EQ(TextStyleOf(0).VShift, -5);
  EXPECT_EQ(TextStyleOf(0).CharSpacing, -3);
  EXPECT_EQ(DvfBytes(Data()), before) << "OK on an untouched dialog changes nothing";
}

// Only a paragraph end selected: the walk meets no item, and the dialogs
// show the caret's styles, not what an earlier run left behind.
TEST_F(StyleDialogCommands, AnEmptyGatherShowsTheStylesAtTheCaret) {
  const int32_t big = AddTextStyle([](TFontInfo& s) {
    s.Size = 12;
    s.Style = fsBold;
  });
  Load(R"(P0 0"ab" P1 )" + std::to_string(big) + R"("cd")");
  TFontDialogValues font;
  TParaDialogValues para;
  TScopedModalRunner runner([&](TfrmDVBase& shown) {
    if (auto* f = dynamic_cast<TfrmDVFont*>(&shown)) font = f->GetValues();
    if (auto* p = dynamic_cast<TfrmDVPara*>(&shown)) para = p->GetValues();
    return int{mrCancel};
  });
  TdvActionFontEx fontAction;
  TdvActionParagraph paraAction;
  // A first run over the plain first paragraph fills the fields.
  Select(0, 3, 0, 1, 0, 3);
  Run(fontAction);
  Run(paraAction);
  ASSERT_EQ(font.Size.Value, 10);
  ASSERT_EQ(para.LeftIndent.Value, 0);
  Select(1, 1, 0, 3, 1, 1);
  Run(fontAction);
  Run(paraAction);
  EXPECT_EQ(font.Size, (TDefined<int32_t>{12, true}));
  EXPECT_EQ(font.Bold, (TDefined<bool>{true, true}));
  EXPECT_EQ(para.LeftIndent, (TDefined<int32_t>{sheet.ParaStyles()[kIndentPara].LeftIndent, true}));
}

TEST_F(StyleDialogCommands, PlatformFontDialog) {
  Load(R"(P0 0"ab" P0 0"cd")");
  TFont chosen;
  chosen.Name = "Times New Roman";
  chosen.SetSize(14);
  chosen.Style = fsBold;
  chosen.Color = clRed;
  dialogs.Answers.push_back({false});
  dialogs.Answers.push_back({true, chosen});
  TdvActionFonts action;
  editor->SelectAll();
  const std::string before = DvfBytes(Data());
  Run(action);
  EXPECT_EQ(DvfBytes(Data()), before) << "Cancel";
  ASSERT_EQ(dialogs.Asked.size(), 1u);
  const TFont& asked = std::get<TFont>(dialogs.Asked[0].Question);
  EXPECT_EQ(asked.Name, sheet.TextStyles()[kGbk].FontName) << "opens on the caret's style";
  EXPECT_EQ(asked.GetSize(), sheet.TextStyles()[kGbk].Size);

  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(action); }));
  for (int i : {0, 1}) {
    const TFontInfo& s = TextStyleOf(i);
    EXPECT_EQ(s.FontName, "Times New Roman");
    EXPECT_EQ(s.Size, 14);
    EXPECT_EQ(s.Style, fsBold);
    EXPECT_EQ(s.Color, clRed);
  }

  // Without the dialog the command's own font goes on.
  action.UserInterface = false;
  action.Font.SetSize(20);
  editor->SelectAll();
  Run(action);
  EXPECT_EQ(TextStyleOf(0).Size, 20);
  EXPECT_EQ(dialogs.Asked.size(), 2u);
}

TEST_F(StyleDialogCommands, ParagraphDialogAppliesAndAsksAboutTheDefault) {
  const std::string spaced = std::to_string(AddParaStyle([](TParaInfo& p) {
    p.LineSpacingType = dvlsSpaceBetween;
    p.LineSpacing = 0;
    p.LeftIndent = 30;
  }));
  struct Case {
    const char* what;
    TMsgAnswer answer;
    int spacingItem;  // -1: untouched
    int32_t spacingAfter, stored;
  } cases[] = {
      {"No still applies, stores nothing", IDNO, -1, 100, 0},
      {"Yes stores the spacing", IDYES, 2, 200, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    editor->LeftMargin = 8;
    editor->RightMargin = 6;
    Load(R"(P0 0"ab" P)" + spaced + R"( 0"cd")");
    editor->SelectAll();
    dialogs.Asked.clear();
    dialogs.Answers = {{true, {}, c.answer}};
    TParaDialogValues shown;
    TScopedModalRunner runner(OnForm<TfrmDVPara>([&](TfrmDVPara& form) {
      shown = form.GetValues();
      // Indents may reach into the editor's margins; the sample is half size.
      EXPECT_EQ(form.seLeftIndent->MinValue, -8);
      EXPECT_EQ(form.seRightIndent->MinValue, -6);
      EXPECT_EQ(form.dv->View().LeftMargin, 4);
      EXPECT_EQ(form.dv->View().RightMargin, 3);
      form.gbAlignment.SetItemIndex(dvaCenter);
      if (c.spacingItem >= 0) form.cmbLineSpacing->setCurrentIndex(c.spacingItem);
      return int{mrOk};
    }));
    TdvActionParagraph action;
    EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(action); }));
    // Single spacing and a space-between of 0 are the same spacing.
    EXPECT_EQ(shown.LineSpacing, (TDefined<int32_t>{100, true}));
    EXPECT_FALSE(shown.LeftIndent.Defined);
    for (int i : {0, 1}) {
      EXPECT_EQ(ParaStyleOf(i).Alignment, dvaCenter);
      EXPECT_EQ(ParaStyleOf(i).LineSpacing, c.spacingAfter);
      EXPECT_EQ(ParaStyleOf(i).LineSpacingType, dvlsPercent);
    }
    EXPECT_EQ(ParaStyleOf(0).LeftIndent, 0);
    EXPECT_EQ(ParaStyleOf(1).LeftIndent, 30);
    ASSERT_EQ(dialogs.Asked.size(), 1u);
    const auto& asked = std::get<TMessageQuestion>(dialogs.Asked[0].Question);
    EXPECT_EQ(asked.Text, "是否设为默认值?");
    EXPECT_EQ(asked.Caption, "提示");
    EXPECT_EQ(asked.Buttons, MB_YESNO);
    EXPECT_EQ(asked.Icon, MB_ICONQUESTION);
    EXPECT_EQ(TDVSettingsFile(kLineSpaceFile).ReadInteger("LineSpace", "Value", 0), c.stored);
  }
}

TEST_F(StyleDialogCommands, StoredDefaultLineSpacing) {
  struct Case {
    const char* stored;  // nullptr: no value
    int32_t shown;
  } cases[] = {
      {nullptr, 150}, {"0", 150},      {"abc", 150},   {"-5", 150},  {"100000", 150},
      {"99", 150},    {"100", 100},    {"200", 200},   {"10000", 10000},
  };
  sheet.ParaStyles()[kPlainPara].LineSpacing = 150;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "none");
    {
      TDVSettingsFile file(kLineSpaceFile);
      file.WriteString("LineSpace", "Value", c.stored ? c.stored : "");
    }
    if (!c.stored) QFile::remove(QString::fromStdString(TDVSettingsFile(kLineSpaceFile).Path()));
    Load(R"(P0 0"ab")");
    editor->SelectAll();
    const std::string before = DvfBytes(Data());
    TParaDialogValues shown;
    TScopedModalRunner runner(OnForm<TfrmDVPara>([&](TfrmDVPara& form) {
      shown = form.GetValues();
      return int{mrCancel};
    }));
    TdvActionParagraph action;
    Run(action);
    EXPECT_EQ(shown.LineSpacing, (TDefined<int32_t>{c.shown, true}));
    EXPECT_EQ(DvfBytes(Data()), before) << "Cancel changes nothing";
    EXPECT_TRUE(dialogs.Asked.empty()) << "and asks nothing";
  }
}

TEST_F(StyleDialogCommands, BorderDialogKeepsMixedValuesAndClearsTheText) {
  const auto bordered = [&](TColor color) {
    return std::to_string(AddParaStyle([color](TParaInfo& p) {
      p.Border().Style = dvbSingle;
      p.Border().Color = color;
      p.Border().BorderOffsets.Left = 4;
    }));
  };
  Load("P" + bordered(clRed) + R"( 0"ab" P)" + bordered(clBlue) + R"( 0"cd")");
  editor->SelectAll();
  TParaBorderValues shown;
  TScopedModalRunner runner(OnForm<TfrmDVParaBrdr>([&](TfrmDVParaBrdr& form) {
    shown = form.GetValues();
    form.cmbWidth->setCurrentIndex(2);
    return int{mrOk};
  }));
  TdvActionParaBorder action;
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Run(action); }));
  EXPECT_FALSE(shown.Color.Defined);
  EXPECT_EQ(shown.Style, (TDefined<TDVBorderStyle>{dvbSingle, true}));
  EXPECT_EQ(shown.Offsets.Values.Left, 4);
  EXPECT_TRUE(shown.Offsets.Defined.Left);
  const TColor colors[] = {clRed, clBlue};
  for (int i : {0, 1}) {
    const TParaInfo& p = ParaStyleOf(i);
    EXPECT_EQ(p.Border().Width, 3);
    EXPECT_EQ(p.Border().Color, colors[i]);
    // The text clears the border: offset + total width - 1.
    EXPECT_EQ(p.LeftIndent, 6);
    EXPECT_EQ(p.SpaceBefore, 2);
  }
}

TEST_F(StyleDialogCommands, NoDialogOpensWithoutAStyleSheet) {
  TDocViewEdit bare;
  int shown = 0;
  TScopedModalRunner runner([&](TfrmDVBase&) {
    ++shown;
    return int{mrCancel};
  });
  TdvActionFonts fonts;
  TdvActionFontEx fontEx;
  TdvActionParagraph paragraph;
  TdvActionParaBorder border;
  for (TdvAction* action : std::initializer_list<TdvAction*>{&fonts, &fontEx, &paragraph, &border}) {
    action->SetControl(&bare);
    action->ExecuteTarget(nullptr);
  }
  EXPECT_EQ(shown, 0);
  EXPECT_TRUE(dialogs.Asked.empty());
}

}  // namespace
}  // namespace quillet::test
