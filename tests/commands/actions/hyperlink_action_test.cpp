// The hyperlink command on a real editor: which items it finds to link from
// the caret, the target it shows, new link text, retargeting and removal
// (pictures to hot pictures and back), each one undo step.
#include "commands/actions/hyperlink_action.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <optional>

#include "../../editing/table/table_test_util.h"
#include "commands/dialogs/hyperlink_dialog.h"
#include "editing/table/table_item.h"
#include "engine/base/item_types.h"
#include "engine/text/item_text.h"
#include "platform/core/code_page.h"

namespace quillet::test {
namespace {

// What the form was asked, and what it answers.
struct FormCall {
  bool insertNew = false;
  std::string text, target;
};

class Hyperlink : public TableEditTest {
 protected:
  void SetUp() override {
    TableEditTest::SetUp();
    editor->SetOptions(editor->Options() | dvoTagsArePChars);
    action.SetControl(editor.get());
    action.OnHyperlinkForm = [this](TdvActionInsertHyperlink&, bool insertNew, bool& goOn, std::string& text,
                                    std::string& target) {
      asked.push_back({insertNew, text, target});
      goOn = answer.has_value();
      if (!answer) return;
      if (!answer->text.empty()) text = answer->text;
      target = answer->target;
    };
  }
  // Runs the command answering target (and text for a new link).
  void Link(const std::string& target, const std::string& text = {}) {
    answer = FormCall{false, text, target};
    action.ExecuteNow();
  }
  void Select(int startNo, int32_t startOffs, int endNo, int32_t endOffs) {
    editor->SetSelectionBounds(startNo, startOffs, endNo, endOffs);
  }
  std::optional<std::string> Tag(int itemNo) const { return Data().GetItemTag(itemNo).Str; }
  const TFontInfo& TextStyle(int itemNo) const { return sheet.TextStyles()[Data().GetItemStyle(itemNo)]; }
  bool Enabled() {
    action.UpdateNow();
    return action.isEnabled();
  }

  TdvActionInsertHyperlink action;
  std::optional<FormCall> answer;
  std::vector<FormCall> asked;
};

TEST_F(Hyperlink, CaretTouchingALinkOnItsLineSelectsAndRetargetsIt) {
  struct Case {
    const char* doc;
    int linkNo;  // the item made a link first
    int caretNo;
    int32_t caretOffs;
    bool found;
  } cases[] = {
      {R"(P0 0"ab" 0"cd")", 0, 0, 2, true},   // inside the link
      {R"(P0 0"ab" 0"cd")", 0, 0, 3, true},   // at its end, plain text after it
      {R"(P0 0"ab" 0"cd")", 0, 1, 1, true},   // at the start of the plain text after it
      {R"(P0 0"ab" 0"cd")", 1, 0, 3, true},   // at the end of the plain text before it
      {R"(P0 0"ab" / 0"cd")", 0, 1, 1, false},  // the link ends the line above
      {R"(P0 0"ab" 0"cd")", 0, 1, 2, false},  // inside the plain text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.doc << " link " << c.linkNo << " caret " << c.caretNo << ":" << c.caretOffs);
    Load(c.doc);
    Select(c.linkNo, 1, c.linkNo, 3);
    Link("old");
    asked.clear();
    Select(c.caretNo, c.caretOffs, c.caretNo, c.caretOffs);
    answer.reset();
    action.ExecuteNow();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].insertNew, !c.found);
    EXPECT_EQ(asked[0].target, c.found ? "old" : "");
    if (!c.found) continue;
    EXPECT_EQ(asked[0].text, c.linkNo == 0 ? "ab" : "cd");
    Link("new");
    EXPECT_EQ(Tag(c.linkNo), "new");
    EXPECT_EQ(Tag(1 - c.linkNo), std::nullopt);
  }
}

TEST_F(Hyperlink, SelectedItemsShowTheirCommonTargetOnly) {
  Load(R"(P0 0"ab" 0"cd" 0"ef")");
  Select(0, 1, 0, 3);
  Link("x");
  Select(1, 1, 1, 3);
  Link("y");
  const struct {
    int endNo;
    std::string shown;
  } cases[] = {{0, "x"}, {1, ""}};
  for (const auto& c : cases) {
    asked.clear();
    answer.reset();
    Select(0, 1, c.endNo, 3);
    action.ExecuteNow();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(asked[0].insertNew);
    EXPECT_EQ(asked[0].target, c.shown) << c.endNo;
  }
}

TEST_F(Hyperlink, TargetSpacesBecomeTheFillerUnlessItHoldsASpace) {
  const struct {
    std::string filler, target, encoded;
  } cases[] = {
      {"%20", "a b c", "a%20b%20c"}, {"%20", "  ", "%20%20"}, {"_", "a b", "a_b"},
      {" ", "a b c", "a b c"},       {"x y", "a b", "a b"},   {"", "a b", "ab"},
  };
  for (const auto& c : cases) {
    action.SpaceFiller = c.filler;
    EXPECT_EQ(action.EncodeTarget(c.target), c.encoded) << c.filler << "|" << c.target;
  }
  // Through the command, into the tag.
  action.SpaceFiller = "%20";
  Load(R"(P0 0"ab")");
  Select(0, 1, 0, 3);
  Link("a b c");
  EXPECT_EQ(Tag(0), "a%20b%20c");
}

TEST_F(Hyperlink, NewLinkTextGoesInAtTheCaretAsOneUndoStep) {
  Load(R"(P0 0"ab")");
  Select(0, 3, 0, 3);
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Link("x y", "链接"); }));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_TRUE(asked[0].insertNew);
  ASSERT_EQ(Data().ItemCount(), 2);
  EXPECT_EQ(AnsiToUtf8(Data().GetItemTextR(1)), "链接");
  EXPECT_EQ(Tag(1), "x%20y");
  const TFontInfo& link = TextStyle(1);
  EXPECT_TRUE(link.Jump);
  EXPECT_EQ(link.Color, clBlue);
  EXPECT_EQ(link.HoverColor, clBlue);
  EXPECT_EQ(link.Style & (fsBold | fsUnderline), fsUnderline);
  EXPECT_EQ(link.JumpCursor, crJump);
  // A second link reuses the link style.
  const int styles = sheet.TextStyles().Count();
  Select(1, 3, 1, 3);
  Link("z", "再");
  EXPECT_EQ(sheet.TextStyles().Count(), styles);
}

TEST_F(Hyperlink, NewLinkTextTheLinkCodePageCannotHoldKeepsEveryCharacter) {
  Load(R"(P0 0"ab")");
  Select(0, 3, 0, 3);
  Link("t", "a😀");
  ASSERT_EQ(Data().ItemCount(), 2);
  EXPECT_TRUE(TextStyle(1).Unicode);
  EXPECT_TRUE(TextStyle(1).Jump);
  EXPECT_EQ(Utf16ToUtf8(DVU_Units(Data().GetItemTextR(1))), "a😀");
}

TEST_F(Hyperlink, LinkingAndUnlinkingTextAndPicturesAreOneUndoStepEach) {
  Load(R"(P0 0"ab" pic:20x10 2"cd")");
  editor->SelectAll();
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Link("t"); }));
  EXPECT_TRUE(TextStyle(0).Jump);
  EXPECT_EQ(Data().GetItemStyle(1), dvsHotPicture);
  EXPECT_EQ(Tag(0), "t");
  EXPECT_EQ(Tag(1), "t");
  // Protected text keeps its style but takes the target.
  EXPECT_EQ(Data().GetItemStyle(2), kProtected);
  EXPECT_EQ(Tag(2), "t");

  editor->SelectAll();
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { Link(""); }));
  // Back to text style 0 itself, as its look is restored wholly.
  EXPECT_EQ(Doc(), R"(P0 0"ab" pic:20x10 2"cd")");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Tag(i), std::nullopt) << i;
}

TEST_F(Hyperlink, PictureAtTheCaretIsLinkedWithoutASelection) {
  Load(R"(P0 0"ab" pic:20x10)");
  Select(1, 0, 1, 0);
  Link("p");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_FALSE(asked[0].insertNew);
  EXPECT_EQ(Data().GetItemStyle(1), dvsHotPicture);
  EXPECT_EQ(Tag(1), "p");
  EXPECT_EQ(Tag(0), std::nullopt);
  action.SetToPictures = false;
  Select(1, 0, 1, 0);
  asked.clear();
  answer.reset();
  action.ExecuteNow();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_TRUE(asked[0].insertNew);
}

TEST_F(Hyperlink, ASelectionOverALineBreakIsRetargetedWithNoText) {
  Load(R"(P0 0"ab" P0 0"cd")");
  Select(0, 2, 1, 2);
  Link("t");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_FALSE(asked[0].insertNew);
  EXPECT_EQ(asked[0].text, "");
  // The conversion splits the items at the selection's ends.
  ASSERT_EQ(Data().ItemCount(), 4) << Doc();
  const std::optional<std::string> tags[] = {std::nullopt, "t", "t", std::nullopt};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Tag(i), tags[i]) << i;
}

TEST_F(Hyperlink, CancelOrAnEmptyNewTextChangesNothing) {
  Load(R"(P0 0"ab")");
  const std::string before = DvfBytes(Data());
  editor->SelectAll();
  answer.reset();
  action.ExecuteNow();
  Select(0, 3, 0, 3);
  Link("t");  // no text for the new link
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(asked.size(), 2u);
}

TEST_F(Hyperlink, OfferedOnlyWithStringTagsAndNoTableInTheSelection) {
  Load(R"(P0 0"ab")");
  EXPECT_TRUE(Enabled());
  editor->SetOptions(editor->Options() & ~dvoTagsArePChars);
  EXPECT_FALSE(Enabled());
  editor->SetOptions(editor->Options() | dvoTagsArePChars);
  PlaceInEditor(MakeTable(1, 1));
  editor->SelectAll();
  EXPECT_FALSE(Enabled());
}

TEST_F(Hyperlink, BuiltInFormShowsExistingItemsTextDisabled) {
  action.OnHyperlinkForm = nullptr;
  const struct {
    const char* doc;
    bool selectAll;
    const char* shown;
  } cases[] = {
      {R"(P0 0"ab")", true, "ab"},
      {R"(P0 0"ab")", false, "ab"},  // the caret in the link selects it
      {R"(P0 0"ab" P0 0"cd")", true, "<<selection>>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    Load(c.doc);
    editor->SelectAll();
    action.SetTags(*editor, "x");
    if (c.selectAll) editor->SelectAll();
    else Select(0, 2, 0, 2);
    bool textEnabled = true;
    std::string text, target;
    TScopedModalRunner runner([&](TfrmDVBase& form) {
      auto& hyp = static_cast<TfrmDVHyp&>(form);
      textEnabled = hyp.txtText()->isEnabled();
      text = hyp.txtText()->text().toStdString();
      target = hyp.txtTarget()->text().toStdString();
      hyp.txtTarget()->setText("y");
      return int(mrOk);
    });
    action.ExecuteNow();
    EXPECT_FALSE(textEnabled);
    EXPECT_EQ(text, c.shown);
    EXPECT_EQ(target, "x");
    EXPECT_EQ(Tag(0), "y");
  }
}

}  // namespace
}  // namespace quillet::test
