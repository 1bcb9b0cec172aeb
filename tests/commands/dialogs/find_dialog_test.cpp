// The find and replace dialogs driven through their widgets: what each kind
// holds, the options it reports, which event each button fires, and hiding
// that keeps the text.
#include "commands/dialogs/find_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialog_test_support.h"

namespace quillet::test {
namespace {

TEST(FindDialog, EachKindHoldsItsControlsInTabOrder) {
  TdvaFindDialog find;
  EXPECT_EQ(find.Dialog()->windowTitle().toStdString(), "查找");
  EXPECT_EQ(find.Dialog()->findChild<QLineEdit*>("edtReplace"), nullptr);
  EXPECT_EQ(TabChain(find.Dialog()).join(' ').toStdString(), "edtFind cbWholeWord cbMatchCase rbUp rbDown btnCancel")
      << "Find next is off without a text";
  TdvaReplaceDialog replace;
  EXPECT_EQ(replace.Dialog()->windowTitle().toStdString(), "替换");
  replace.edtFind()->setText("x");
  EXPECT_EQ(TabChain(replace.Dialog()).join(' ').toStdString(),
            "edtFind edtReplace cbWholeWord cbMatchCase rbUp rbDown btnFindNext btnReplace btnReplaceAll btnCancel");
  EXPECT_TRUE(replace.rbDown()->isChecked()) << "searches down at first";
}

// Every caption shows whole in the dialog's font: the direction choices are
// as wide as their text, inside their group, which leaves the check boxes and
// the buttons alone.
TEST(FindDialog, CaptionsAreNotCutOff) {
  TdvaFindDialog find;
  TdvaReplaceDialog replace;
  for (QDialog* dialog : {find.Dialog(), replace.Dialog()}) {
    SCOPED_TRACE(dialog->windowTitle().toStdString());
    auto* group = dialog->findChild<QWidget*>("gbDirection");
    ASSERT_NE(group, nullptr);
    for (const char* name : {"rbUp", "rbDown", "cbWholeWord", "cbMatchCase"}) {
      auto* control = dialog->findChild<QAbstractButton*>(name);
      ASSERT_NE(control, nullptr) << name;
      EXPECT_GE(control->width(), control->sizeHint().width()) << name;
    }
    const QRect up = dialog->findChild<QWidget*>("rbUp")->geometry();
    const QRect down = dialog->findChild<QWidget*>("rbDown")->geometry();
    EXPECT_FALSE(up.intersects(down));
    EXPECT_TRUE(QRect(QPoint(0, 0), group->size()).contains(up.united(down)));
    for (const char* name : {"cbWholeWord", "cbMatchCase", "btnFindNext", "btnCancel"})
      EXPECT_FALSE(group->geometry().intersects(dialog->findChild<QWidget*>(name)->geometry())) << name;
  }
}

TEST(FindDialog, OptionsFollowTheControls) {
  struct Case {
    bool down, matchCase, wholeWord;
    TFindOptions options;
  } cases[] = {
      {true, false, false, frDown},
      {false, false, false, 0},
      {false, true, false, frMatchCase},
      {true, true, true, frDown | frMatchCase | frWholeWord},
  };
  TdvaFindDialog d;
  for (const Case& c : cases) {
    (c.down ? d.rbDown() : d.rbUp())->setChecked(true);
    d.cbMatchCase()->setChecked(c.matchCase);
    d.cbWholeWord()->setChecked(c.wholeWord);
    EXPECT_EQ(d.Options(), c.options) << c.down << c.matchCase << c.wholeWord;
  }
}

TEST(FindDialog, ButtonsReportTheirEventWithTheReplaceKind) {
  TdvaReplaceDialog d;
  std::vector<std::string> events;
  d.OnFind = [&] { events.push_back("find " + std::to_string(d.Options() & (frReplace | frReplaceAll))); };
  d.OnReplace = [&] { events.push_back("replace " + std::to_string(d.Options() & (frReplace | frReplaceAll))); };
  d.Execute();
  QTest::keyClicks(d.edtFind(), "ab");
  d.edtReplace()->insert(QString::fromUtf8("中"));
  for (QPushButton* button : {d.btnFindNext(), d.btnReplace(), d.btnReplaceAll()})
    QTest::mouseClick(button, Qt::LeftButton);
  QTest::keyClick(d.edtFind(), Qt::Key_Return);
  EXPECT_EQ(events, (std::vector<std::string>{"find 0", "replace 16", "replace 32", "find 0"}));
  EXPECT_EQ(d.Options() & (frReplace | frReplaceAll), 0u) << "only while the event runs";
  EXPECT_EQ(d.FindText(), u"ab");
  EXPECT_EQ(d.ReplaceText(), u"中");
}

TEST(FindDialog, CancelAndEscHideAndKeepTheText) {
  TdvaFindDialog d;
  for (bool esc : {false, true}) {
    d.Execute();
    EXPECT_TRUE(d.Showing());
    d.SetFindText(u"文字");
    if (esc)
      QTest::keyClick(d.edtFind(), Qt::Key_Escape);
    else
      QTest::mouseClick(d.btnCancel(), Qt::LeftButton);
    EXPECT_FALSE(d.Showing()) << esc;
  }
  d.Execute();
  EXPECT_EQ(d.edtFind()->selectedText().toStdString(), "文字") << "ready to be typed over";
  d.CloseDialog();
  d.CloseDialog();
  EXPECT_FALSE(d.Showing());
}

}  // namespace
}  // namespace quillet::test
