// Revision tracking on an editor offscreen: starting and stopping it, the
// answers of the text-style handler to the revision marks and the font and
// protection codes, the paragraph handler, and typing and deleting through
// the bound handler.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <memory>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "host/db/db_module.h"
#include "host/review/conversion_codes.h"
#include "host/review/revision_tracking.h"
#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"

namespace quillet::test {
namespace {

// The first reviewer's colour; another reviewer's.
constexpr TColor kU = TReviewerTable::kPalette[0], kV = 0x00AA00;

struct StyleSpec {
  TFontStyles Style;
  TColor Color;
};

class Tracking : public testing::Test {
 protected:
  void SetUp() override {
    sheet.TextStyles().Clear();
    AddStyle({0, 0});  // 0: plain black
    editor = std::make_unique<TDocViewEdit>();
    editor->SetStyle(&sheet);
    editor->SetBounds(0, 0, 400, 300);
    editor->Show();
    tracking = std::make_unique<TRevisionTracking>(*editor, table, state);
    tracking->Now = [this] { return "2026-12-10 0" + std::to_string(++clock) + ":00:00"; };
  }
  void TearDown() override {
    tracking.reset();
    editor.reset();
  }

  int32_t AddStyle(StyleSpec spec) {
    TFontInfo& s = sheet.TextStyles().Add();
    s.Charset = 134;  // GB2312
    s.Style = spec.Style;
    s.Color = spec.Color;
    return sheet.TextStyles().Count() - 1;
  }
  const TFontInfo& Text(int32_t i) const { return sheet.TextStyles()[i]; }
  int32_t TextCount() const { return sheet.TextStyles().Count(); }
  int32_t Convert(int32_t styleNo, int32_t code) { return tracking->TextStyleConversion(styleNo, code); }

  TDVStyle sheet;
  TReviewerTable table;
  TTrackingFormState state;
  std::unique_ptr<TDocViewEdit> editor;
  std::unique_ptr<TRevisionTracking> tracking;
  int clock = 0;
};

// ---- starting and stopping ----

TEST_F(Tracking, StartTakesTheReviewersColourAndNameIntoTheEditor) {
  tracking->StartTrace("A");
  EXPECT_TRUE(editor->TraceOn);
  EXPECT_EQ(editor->TraceUserColor, kU);
  EXPECT_EQ(editor->TraceUserName, "A");
  EXPECT_EQ(table.CurUserNo(), 1);
  tracking->StartTrace("B");
  EXPECT_EQ(editor->TraceUserColor, TReviewerTable::kPalette[1]);
  EXPECT_EQ(editor->TraceUserName, "B");
  tracking->StopTrace();
  EXPECT_FALSE(editor->TraceOn);
  EXPECT_EQ(editor->TraceUserColor, 0);
  EXPECT_EQ(table.Slot(2).Name, "B");
}

TEST_F(Tracking, StartedTwiceKeepsOneSlotAndRefreshesItsTime) {
  tracking->StartTrace("A");
  tracking->StartTrace("A");
  EXPECT_EQ(table.UsedUserNo(), 1);
  EXPECT_EQ(table.Slot(1).Time, "2026-12-10 02:00:00");
  EXPECT_EQ(table.Slot(2).Name, "");
  EXPECT_EQ(editor->TraceUserColor, kU);
}

TEST_F(Tracking, RefusedReviewerLeavesTrackingAsItWas) {
  for (int i = 1; i <= 14; ++i) tracking->StartTrace("R" + std::to_string(i));
  tracking->StopTrace();
  EXPECT_THROW(tracking->StartTrace("R15"), EReviewerError);
  EXPECT_FALSE(editor->TraceOn);
  EXPECT_EQ(editor->TraceUserName, "R14");
  EXPECT_THROW(tracking->StartTrace(""), EReviewerError);
  EXPECT_FALSE(editor->TraceOn);
}

TEST_F(Tracking, UserNameFromTheDatabaseModuleElseTheLogin) {
  TDbDm db;
  db.CurUserName = Utf8ToAnsi("审阅人");
  EXPECT_EQ(TrackingUserName(db), Utf8ToAnsi("审阅人"));
  db.CurUserName.clear();
  EXPECT_EQ(TrackingUserName(db), Utf8ToAnsi(TDbDm::GetUserName()));
}

// ---- the revision marks ----

struct MarkCase {
  const char* name;
  std::vector<StyleSpec> styles;  // after style 0 (plain black)
  int32_t current;
  int32_t code;
  int32_t expected;  // an index, or -1 for a new style
  TFontStyles newStyle;  // of the new style, in the reviewer's colour
};

void PrintTo(const MarkCase& c, std::ostream* os) { *os << c.name; }

class RevisionMarks : public Tracking, public testing::WithParamInterface<MarkCase> {};

TEST_P(RevisionMarks, FindOrMakeTheMarkedStyle) {
  const MarkCase& c = GetParam();
  for (const StyleSpec& spec : c.styles) AddStyle(spec);
  tracking->StartTrace("A");
  const int32_t count = TextCount();
  const int32_t answer = Convert(c.current, c.code);
  if (c.expected >= 0) {
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(TextCount(), count);
    return;
  }
  ASSERT_EQ(answer, count);
  EXPECT_EQ(Text(answer).Style, c.newStyle);
  EXPECT_EQ(Text(answer).Color, kU);
  EXPECT_FALSE(Text(answer).Standard);
  EXPECT_TRUE(Text(answer).IsEqual(Text(c.current), DVFontInfoProp(dvfiColor) | DVFontInfoProp(dvfiBold) |
                                                          DVFontInfoProp(dvfiItalic) | DVFontInfoProp(dvfiUnderline) |
                                                          DVFontInfoProp(dvfiStrikeout)));
  // The same mark asked again takes the style made the first time.
  EXPECT_EQ(Convert(c.current, c.code), answer);
  EXPECT_EQ(TextCount(), count + 1);
}

constexpr TFontStyles U = fsUnderline, S = fsStrikeOut, B = fsBold;

INSTANTIATE_TEST_SUITE_P(
    Cases, RevisionMarks,
    testing::Values(
        // Insertion (101).
        MarkCase{"InsertOnOwnInsertionIsItself", {{U, kU}}, 1, TEXT_TraceInsert, 1, 0},
        MarkCase{"InsertOnOthersInsertionFindsOwn", {{U, kV}, {U, kU}}, 1, TEXT_TraceInsert, 2, 0},
        MarkCase{"InsertOnPlainWithPlainInColourIsNew", {{0, kU}}, 0, TEXT_TraceInsert, -1, U},
        MarkCase{"InsertOnBoldNotFoundLosesBold", {{B, 0}}, 1, TEXT_TraceInsert, -1, U},
        MarkCase{"InsertOnBoldFoundLosesBold", {{B, 0}, {B, kU}}, 1, TEXT_TraceInsert, -1, U},
        MarkCase{"InsertOnOwnDeletionIsNew", {{S, kU}}, 1, TEXT_TraceInsert, -1, U},
        // Deletion (100).
        MarkCase{"DeleteOnOwnDeletionIsItself", {{S, kU}}, 1, TEXT_TraceDelete, 1, 0},
        MarkCase{"DeleteOnOthersDeletionFindsOwn", {{S, kV}, {S, kU}}, 1, TEXT_TraceDelete, 2, 0},
        MarkCase{"DeleteOnOwnInsertionStrikesOnly", {{U, kU}}, 1, TEXT_TraceDelete, -1, S},
        MarkCase{"DeleteOnOthersInsertionNotFound", {{U, kV}}, 1, TEXT_TraceDelete, -1, S},
        MarkCase{"DeleteOnPlainNotFound", {}, 0, TEXT_TraceDelete, -1, S},
        MarkCase{"DeleteOnBoldNotFoundKeepsBold", {{B, 0}}, 1, TEXT_TraceDelete, -1, B | S},
        MarkCase{"DeleteOnBoldItalicUnderlinedOthersKeepsBoldItalic",
                 {{B | fsItalic | U, kV}}, 1, TEXT_TraceDelete, -1, B | fsItalic | S},
        MarkCase{"DeleteOnBoldFoundLosesBold", {{B, 0}, {B, kU}}, 1, TEXT_TraceDelete, -1, S}));

TEST_F(Tracking, MarksKeepTheBackColourAndTakeTheCurrentReviewersColour) {
  const int32_t yellow = AddStyle({0, 0});
  sheet.TextStyles()[yellow].BackColor = 0x00FFFF;
  tracking->StartTrace("A");
  tracking->StartTrace("B");
  const int32_t marked = Convert(yellow, TEXT_TraceInsert);
  EXPECT_EQ(Text(marked).BackColor, 0x00FFFF);
  EXPECT_EQ(Text(marked).Color, TReviewerTable::kPalette[1]);
}

TEST_F(Tracking, WithoutACurrentSlotMarksTakeTheEditorsColour) {
  table.ReadLines(std::vector<std::string>(15, "QV;;;0"));
  editor->TraceUserColor = kV;
  EXPECT_EQ(Text(Convert(0, TEXT_TraceInsert)).Color, kV);
}

// ---- font and protection codes ----

struct CodeCase {
  const char* name;
  int32_t code;
  std::function<void(TTrackingFormState&)> set;
  std::function<bool(const TFontInfo&)> check;
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

class TextCodes : public Tracking, public testing::WithParamInterface<CodeCase> {};

TEST_P(TextCodes, ChangeACopyOfTheCurrentStyle) {
  const CodeCase& c = GetParam();
  const int32_t current = AddStyle({B, 0x123456});
  c.set(state);
  const int32_t answer = Convert(current, c.code);
  ASSERT_EQ(answer, current + 1);
  EXPECT_TRUE(c.check(Text(answer)));
  EXPECT_FALSE(Text(answer).Standard);
  // Asked again, the style made is found.
  EXPECT_EQ(Convert(current, c.code), answer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextCodes,
    testing::Values(
        CodeCase{"BoldOff", TEXT_BOLD, [](TTrackingFormState&) {}, [](const TFontInfo& f) { return f.Style == 0; }},
        CodeCase{"Italic", TEXT_ITALIC, [](TTrackingFormState& s) { s.FontItalic = true; },
                 [](const TFontInfo& f) { return f.Style == (B | fsItalic); }},
        CodeCase{"Underline", TEXT_UNDERLINE, [](TTrackingFormState& s) { s.FontUnderline = true; },
                 [](const TFontInfo& f) { return f.Style == (B | U); }},
        CodeCase{"Strikeout", TEXT_STRIKEOUT, [](TTrackingFormState& s) { s.FontStrikeout = true; },
                 [](const TFontInfo& f) { return f.Style == (B | S); }},
        CodeCase{"FontName", TEXT_APPLYFONTNAME, [](TTrackingFormState& s) { s.FontName = "Courier New"; },
                 [](const TFontInfo& f) { return f.FontName == "Courier New" && f.Size == 10; }},
        CodeCase{"FontSize", TEXT_APPLYFONTSIZE, [](TTrackingFormState& s) { s.FontSize = 22; },
                 [](const TFontInfo& f) { return f.Size == 22; }},
        CodeCase{"Colour", TEXT_COLOR, [](TTrackingFormState& s) { s.FontColor = 0xABCDEF; },
                 [](const TFontInfo& f) { return f.Color == 0xABCDEF && f.BackColor == clNone; }},
        CodeCase{"BackColour", TEXT_BACKCOLOR, [](TTrackingFormState& s) { s.FontBackColor = 0x00FFFF; },
                 [](const TFontInfo& f) { return f.BackColor == 0x00FFFF && f.Color == 0x123456; }},
        CodeCase{"ProtectionFromTheDialog", TEXT_PROTECTION,
                 [](TTrackingFormState& s) { s.TextProtection = dvprDeleteProtect | dvprSticking; },
                 [](const TFontInfo& f) { return f.Protection == (dvprDeleteProtect | dvprSticking); }},
        CodeCase{"CellProtection", CELL_PROTECTION, [](TTrackingFormState&) {},
                 [](const TFontInfo& f) { return f.Protection == 0xDF && !(f.Protection & dvprDoNotAutoSwitch); }}));

TEST_F(Tracking, CodesWithoutAChangeAnswerTheCurrentStyleBeforeAnEqualOne) {
  AddStyle({B, 0});
  const int32_t current = AddStyle({B, 0});
  for (int32_t code : {TEXT_APPLYFONT, 0, 13, 99, 102, -1}) EXPECT_EQ(Convert(current, code), current) << code;
  state.FontBold = true;
  EXPECT_EQ(Convert(current, TEXT_BOLD), current);
  EXPECT_EQ(TextCount(), current + 1);
}

TEST_F(Tracking, ChangedStyleFoundInIndexOrder) {
  const int32_t bold = AddStyle({B, 0});
  AddStyle({B, 0});
  state.FontBold = true;
  EXPECT_EQ(Convert(0, TEXT_BOLD), bold);
  const int32_t locked = Convert(0, CELL_PROTECTION);
  EXPECT_EQ(Convert(locked, CELL_EDITABLE), 0);
}

TEST_F(Tracking, StyleOutsideTheSheetIsAnsweredUnchanged) {
  EXPECT_EQ(Convert(57, TEXT_TraceInsert), 57);
  EXPECT_EQ(Convert(-3, TEXT_BOLD), -3);
  EXPECT_EQ(tracking->ParaStyleConversion(40, PARA_INDENTINC), 40);
}

// ---- paragraph codes ----

struct ParaCase {
  const char* name;
  int32_t code;
  int32_t leftIndent;  // of the current style
  std::function<void(TTrackingFormState&)> set;
  std::function<bool(const TParaInfo&)> check;
};

void PrintTo(const ParaCase& c, std::ostream* os) { *os << c.name; }

class ParaCodes : public Tracking, public testing::WithParamInterface<ParaCase> {};

TEST_P(ParaCodes, ChangeACopyOfTheCurrentParagraphStyle) {
  const ParaCase& c = GetParam();
  TParaInfos& paras = sheet.ParaStyles();
  TParaInfo& current = paras.Add();
  current.LeftIndent = c.leftIndent;
  current.Alignment = dvaRight;
  current.NextParaNo = 0;
  const int32_t currentNo = paras.Count() - 1;
  c.set(state);
  const int32_t answer = tracking->ParaStyleConversion(currentNo, c.code);
  const TParaInfo& result = paras[answer];
  EXPECT_TRUE(c.check(result));
  EXPECT_EQ(result.NextParaNo, 0);
  if (answer != currentNo) {
    EXPECT_EQ(answer, paras.Count() - 1);
    EXPECT_FALSE(result.Standard);
  }
  // Asked again, the same style.
  const int32_t count = paras.Count();
  EXPECT_EQ(tracking->ParaStyleConversion(currentNo, c.code), answer);
  EXPECT_EQ(paras.Count(), count);
}

auto Indent(int32_t v) {
  return [v](const TParaInfo& p) { return p.LeftIndent == v; };
}
void NoState(TTrackingFormState&) {}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParaCodes,
    testing::Values(
        ParaCase{"LeftChecked", PARA_ALIGNMENT, 0, [](TTrackingFormState& s) { s.ParaLeft = s.ParaCenter = true; },
                 [](const TParaInfo& p) { return p.Alignment == dvaLeft; }},
        ParaCase{"RightChecked", PARA_ALIGNMENT, 0, [](TTrackingFormState& s) { s.ParaRight = s.ParaCenter = true; },
                 [](const TParaInfo& p) { return p.Alignment == dvaRight; }},
        ParaCase{"CenterChecked", PARA_ALIGNMENT, 0, [](TTrackingFormState& s) { s.ParaCenter = true; },
                 [](const TParaInfo& p) { return p.Alignment == dvaCenter; }},
        ParaCase{"NoneCheckedJustifies", PARA_ALIGNMENT, 0, NoState,
                 [](const TParaInfo& p) { return p.Alignment == dvaJustify; }},
        ParaCase{"IndentIncrease", PARA_INDENTINC, 40, NoState, Indent(60)},
        ParaCase{"IndentIncreaseClampsAt200", PARA_INDENTINC, 190, NoState, Indent(200)},
        ParaCase{"IndentIncreaseKeepsAWiderIndent", PARA_INDENTINC, 250, NoState, Indent(250)},
        ParaCase{"IndentDecrease", PARA_INDENTDEC, 40, NoState, Indent(20)},
        ParaCase{"IndentDecreaseClampsAt0", PARA_INDENTDEC, 10, NoState, Indent(0)},
        ParaCase{"IndentDecreaseKeepsANegativeIndent", PARA_INDENTDEC, -30, NoState, Indent(-30)},
        ParaCase{"Colour", PARA_COLOR, 0, [](TTrackingFormState& s) { s.ParaColor = 0xC0C0C0; },
                 [](const TParaInfo& p) { return p.Background().Color == 0xC0C0C0; }},
        ParaCase{"RulerLeftIndent", PARA_LEFTINDENT, 0,
                 [](TTrackingFormState& s) { s.RulerLeftIndent = 75, s.RulerLeftMargin = 30; }, Indent(45)},
        ParaCase{"RulerRightIndent", PARA_RIGHTINDENT, 0,
                 [](TTrackingFormState& s) { s.RulerWidth = 600, s.RulerRightMargin = 30, s.RulerRightIndent = 500; },
                 [](const TParaInfo& p) { return p.RightIndent == 65; }},
        ParaCase{"RulerFirstIndent", PARA_FIRSTINDENT, 0,
                 [](TTrackingFormState& s) { s.RulerFirstIndent = 20, s.RulerLeftMargin = 30; },
                 [](const TParaInfo& p) { return p.FirstIndent == -10; }},
        ParaCase{"OtherCodeIsTheSameStyle", 8, 40, NoState, Indent(40)}));

// ---- through the editor ----

class TrackedEditing : public Tracking {
 protected:
  void SetUp() override {
    Tracking::SetUp();
    // Shown, the editor made an empty item to type into.
    editor->Clear();
    editor->AddNL(Utf8ToAnsi("原文"), 0, 0);
    editor->EditData().Format();
    editor->EditData().SetCaretAtItem(0, 5);
    tracking->StartTrace("A");
  }
  void Type(const std::string& utf8) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromStdString(utf8));
    QCoreApplication::sendEvent(editor->Widget(), &press);
  }
  const TFontInfo& ItemStyle(int itemNo) const { return Text(editor->EditData().GetItemStyle(itemNo)); }
  std::string ItemText(int itemNo) const { return AnsiToUtf8(editor->EditData().GetItemTextR(itemNo)); }
};

TEST_F(TrackedEditing, TypedTextIsUnderlinedInTheReviewersColour) {
  Type("新");
  Type("增");
  ASSERT_EQ(editor->EditData().ItemCount(), 2);
  EXPECT_EQ(ItemText(1), "新增");
  EXPECT_EQ(ItemStyle(1).Style, fsUnderline);
  EXPECT_EQ(ItemStyle(1).Color, kU);
  EXPECT_EQ(TextCount(), 2);
}

TEST_F(TrackedEditing, DeletedTextStaysStruckOutAndOwnInsertionGoes) {
  QTest::keyClick(editor->Widget(), Qt::Key_Backspace);
  ASSERT_EQ(editor->EditData().ItemCount(), 2);
  EXPECT_EQ(ItemText(1), "文");
  EXPECT_EQ(ItemStyle(1).Style, fsStrikeOut);
  EXPECT_EQ(ItemStyle(1).Color, kU);
  editor->EditData().SetCaretAtItem(1, 3);
  Type("字");
  QTest::keyClick(editor->Widget(), Qt::Key_Backspace);
  EXPECT_EQ(ItemText(editor->EditData().ItemCount() - 1), "文");
}

TEST_F(TrackedEditing, StoppedTrackingTypesPlainText) {
  tracking->StopTrace();
  Type("x");
  EXPECT_EQ(editor->EditData().ItemCount(), 1);
  EXPECT_EQ(ItemText(0), "原文x");
}

}  // namespace
}  // namespace quillet::test
