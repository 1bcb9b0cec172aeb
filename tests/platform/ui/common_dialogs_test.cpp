// The common dialogs: the colour dialog over Qt's, answered as a user would;
// filters in Qt's form; the scripted answerer and scoped replacement.
#include "platform/ui/common_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QTimer>
#include <string>

#include "platform/gfx/qt_color.h"

namespace quillet {
namespace {

TEST(AgedList, AskedAgainOnlyWhenTheAnswerIsOlderThanItsAge) {
  using namespace std::chrono_literals;
  std::chrono::steady_clock::time_point now{};
  int asked = 0;
  TAgedList list([&] { return std::vector<std::string>{"printer " + std::to_string(++asked)}; }, 2000ms,
                 [&] { return now; });
  const struct {
    std::chrono::milliseconds after;
    const char* answer;
  } steps[] = {{0ms, "printer 1"}, {0ms, "printer 1"}, {1999ms, "printer 1"}, {1ms, "printer 2"}, {500ms, "printer 2"},
               {5000ms, "printer 3"}};
  for (const auto& step : steps) {
    now += step.after;
    EXPECT_EQ(list.Get(), std::vector<std::string>{step.answer}) << step.after.count();
  }
}

TEST(ColorDialog, ExecuteShowsTheColourAndTakesTheChoiceOnOk) {
  struct Case {
    const char* what;
    TColor start;
    bool ok;
    TColor shown;
    TColor after;
  } cases[] = {
      {"OK takes the choice", 0x336699, true, 0x336699, 0x102030},
      {"Cancel keeps the colour", 0x336699, false, 0x336699, 0x336699},
      {"system colours show resolved", clWindow, false, GetSysColor(5), clWindow},
      {"no colour shows black", clNone, false, clBlack, clNone},
  };
  for (const Case& c : cases) {
    TColorDialog dialog;
    dialog.Color = c.start;
    TColor shown = clNone;
    QTimer::singleShot(0, [&] {
      auto* qt = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(qt, nullptr);
      shown = FromQColor(qt->currentColor());
      qt->setCurrentColor(ToQColor(0x102030));
      if (c.ok) qt->accept();
      else qt->reject();
    });
    EXPECT_EQ(dialog.Execute(), c.ok) << c.what;
    EXPECT_EQ(shown, c.shown) << c.what;
    EXPECT_EQ(dialog.Color, c.after) << c.what;
  }
}

// A face name the machine knows only as an alias shows as the face it
// stands for, and stays the font's name unless another face is chosen. Bold
// that the face has no face for (drawn synthetically) cannot be shown, and
// OK keeps it.
TEST(CommonDialogs, FontDialogShowsTheFaceAnAliasStandsForAndKeepsNameAndStyle) {
  struct Case {
    const char* what;
    const char* pick;  // a face chosen in the dialog; none keeps the shown one
    bool pickBold;
    std::string name;
    bool bold;
  } cases[] = {
      {"only the size changed", nullptr, false, "宋体", true},
      {"another face chosen, with a bold face of its own", "DejaVu Sans Mono", false, "DejaVu Sans Mono", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFont font;
    font.Name = "宋体";
    font.SetSize(20);
    font.Style = fsBold;
    QString shownFamily;
    QTimer::singleShot(0, [&] {
      auto* qt = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(qt, nullptr);
      QFont current = qt->currentFont();
      shownFamily = current.family();
      if (c.pick) {
        current.setFamily(c.pick);
        current.setBold(c.pickBold);
      }
      current.setPointSize(14);
      qt->setCurrentFont(current);
      qt->accept();
    });
    ASSERT_TRUE(CommonDialogs().ChooseFont(font));
    EXPECT_TRUE(QFontDatabase::families().contains(shownFamily)) << shownFamily.toStdString();
    EXPECT_EQ(font.Name, c.name);
    EXPECT_EQ(font.GetSize(), 14);
    EXPECT_EQ((font.Style & fsBold) != 0, c.bold);
  }
}

TEST(ColorDialog, ReferenceReadsAsNoneOnceTheDialogWent) {
  TColorDialogRef ref;
  EXPECT_EQ(ref.get(), nullptr);
  {
    TColorDialog dialog;
    ref = &dialog;
    EXPECT_EQ(ref.get(), &dialog);
  }
  EXPECT_EQ(ref.get(), nullptr);
}


TEST(CommonDialogs, FiltersBecomeQtNameFilters) {
  struct Case {
    const char* filter;
    QStringList expected;
  } cases[] = {
      {"DocView Files (*.dvf)|*.dvf", {"DocView Files (*.dvf)"}},
      {"HTML (*.htm;*.html)|*.htm;*.html|Text Files (*.txt)|*.txt", {"HTML (*.htm *.html)", "Text Files (*.txt)"}},
      {"Pictures|*.bmp; *.jpg", {"Pictures (*.bmp *.jpg)"}},
      {"", {}},
      // A text without its pattern is dropped, not shown with an empty list.
      {"RTF Files (*.rtf)|*.rtf|Dangling", {"RTF Files (*.rtf)"}},
  };
  for (const Case& c : cases) EXPECT_EQ(QtNameFilters(c.filter), c.expected) << c.filter;
}

TEST(CommonDialogs, ScriptedAnswersInOrderAndRecordsQuestions) {
  TScriptedCommonDialogs fake;
  TFileQuestion chosen;
  chosen.FileName = "/tmp/a.rtf";
  chosen.FilterIndex = 2;
  fake.Answers = {{true, chosen, IDOK}, {false, {}, IDOK}, {true, {}, IDYES}};
  TScopedCommonDialogs scope(fake);

  TFileQuestion open;
  open.Filter = "A|*.a|B|*.b";
  ASSERT_TRUE(CommonDialogs().OpenFile(open));
  EXPECT_EQ(open.FileName, "/tmp/a.rtf");
  EXPECT_EQ(open.FilterIndex, 2);
  TColor color = clRed;
  EXPECT_FALSE(CommonDialogs().ChooseColor(color));
  EXPECT_EQ(color, clRed);
  EXPECT_EQ(CommonDialogs().MessageBox({"Save?", "确认", MB_YESNO, MB_ICONQUESTION}), IDYES);
  // Nothing queued: Cancel, or No where there is no Cancel button.
  EXPECT_EQ(CommonDialogs().MessageBox({"Again?", "确认", MB_YESNO, MB_ICONQUESTION}), IDNO);
  TPrintQuestion print;
  EXPECT_FALSE(CommonDialogs().Print(print));

  ASSERT_EQ(fake.Asked.size(), 5u);
  EXPECT_EQ(fake.Asked[0].Kind, TScriptedCommonDialogs::dkOpen);
  EXPECT_EQ(std::get<TFileQuestion>(fake.Asked[0].Question).Filter, "A|*.a|B|*.b");
  EXPECT_EQ(std::get<TColor>(fake.Asked[1].Question), clRed);
  EXPECT_EQ(std::get<TMessageQuestion>(fake.Asked[2].Question).Caption, "确认");
  EXPECT_EQ(fake.Asked[4].Kind, TScriptedCommonDialogs::dkPrint);
}

TEST(CommonDialogs, ColorDialogAsksTheDialogsInPlaceAndScopesRestore) {
  TScriptedCommonDialogs outer, inner;
  TScopedCommonDialogs outerScope(outer);
  {
    TScopedCommonDialogs innerScope(inner);
    inner.Answers = {{true, TColor(clBlue), IDOK}};
    TColorDialog dialog;
    dialog.Color = clGreen;
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color, clBlue);
  }
  EXPECT_EQ(&CommonDialogs(), &outer);
  EXPECT_EQ(inner.Asked.size(), 1u);
  EXPECT_TRUE(outer.Asked.empty());
}

}  // namespace
}  // namespace quillet
