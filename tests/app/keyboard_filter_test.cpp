// The program's keyboard filter offscreen: keys pressed in the watched
// window reach the enabled hook once each, keys a shortcut takes included,
// and go on to their widgets as before.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/keyboard_filter.h"
#include "host/input/keyboard_hook.h"

namespace quillet {
namespace {

class KeyboardFilterTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QWidget>();
    window_->resize(200, 100);
    edit_ = new QLineEdit(window_.get());
    auto* layout = new QVBoxLayout(window_.get());
    layout->addWidget(edit_);
    hook_.SetEnabled(true);
    hook_.OnKeyboardMessage = [this](TKbHook&, const TKeyboardReport& r) { reports_.push_back(r); };
    filter_ = std::make_unique<TKeyboardFilter>(hook_, window_.get());
    Activate(*window_);
    edit_->setFocus();
  }

  static void Activate(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }

  void Click(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWindow(), key, modifiers);
  }

  std::vector<TKey> Keys() const {
    std::vector<TKey> keys;
    for (const auto& r : reports_) keys.push_back(r.Key);
    return keys;
  }

  TKbHook hook_;
  std::unique_ptr<QWidget> window_;
  QLineEdit* edit_ = nullptr;
  std::unique_ptr<TKeyboardFilter> filter_;
  std::vector<TKeyboardReport> reports_;
};

TEST_F(KeyboardFilterTest, ReportsEachPressOnceAndConsumesNone) {
  Click(Qt::Key_A);
  Click(Qt::Key_B, Qt::ShiftModifier);
  Click(Qt::Key_Left);
  // The keyboard's every press: Shift is a key pressed before B.
  ASSERT_EQ(Keys(), (std::vector<TKey>{'A', VK_SHIFT, 'B', VK_LEFT}));
  EXPECT_EQ(reports_[0].Shift, 0);
  EXPECT_EQ(reports_[2].Shift, ssShift);
  for (const auto& r : reports_) {
    EXPECT_EQ(r.KeyData & 0xFFFF, 1u) << "repeat count";
    EXPECT_EQ(r.KeyData >> 30, 0u) << "a fresh press";
  }
  // The edit got its keys: typed text, and the caret moved left over it.
  EXPECT_EQ(edit_->text().toLower(), "ab");
  EXPECT_EQ(edit_->cursorPosition(), 1);
}

TEST_F(KeyboardFilterTest, KeysSentToAWidgetAreReportedOnceToo) {
  QTest::keyClick(edit_, Qt::Key_Q);
  QTest::keyClick(edit_, Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(Keys(), (std::vector<TKey>{'Q', VK_CONTROL, 'R'}));
  EXPECT_EQ(edit_->text(), "q");
}

TEST_F(KeyboardFilterTest, AWindowWithoutAFocusedWidgetReportsToo) {
  edit_->clearFocus();
  ASSERT_EQ(QApplication::focusWidget(), nullptr);
  Click(Qt::Key_Z);
  EXPECT_EQ(Keys(), std::vector<TKey>{'Z'});
  EXPECT_EQ(edit_->text(), "");
}

TEST_F(KeyboardFilterTest, ReportsKeysThatAShortcutTakes) {
  int triggered = 0;
  auto* action = new QAction(window_.get());
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  window_->addAction(action);
  QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
  Click(Qt::Key_K, Qt::ControlModifier);
  Click(Qt::Key_K, Qt::ControlModifier);
  Click(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(triggered, 2);
  ASSERT_EQ(Keys(), (std::vector<TKey>{VK_CONTROL, 'K', VK_CONTROL, 'K', VK_CONTROL, 'C'}));
  EXPECT_EQ(reports_[1].Shift, ssCtrl);
  EXPECT_EQ(reports_[5].Shift, ssCtrl);
}

TEST_F(KeyboardFilterTest, ReportsNothingWhileAnotherWindowIsActive) {
  QWidget other;
  other.resize(100, 50);
  auto* otherEdit = new QLineEdit(&other);
  Activate(other);
  otherEdit->setFocus();
  Click(Qt::Key_X);
  EXPECT_TRUE(reports_.empty());
  EXPECT_EQ(otherEdit->text(), "x");
  // Back in the watched window, keys are reported again.
  Activate(*window_);
  Click(Qt::Key_Y);
  EXPECT_EQ(Keys(), std::vector<TKey>{'Y'});
}

TEST_F(KeyboardFilterTest, ADisabledHookReportsNothing) {
  hook_.SetEnabled(false);
  Click(Qt::Key_A);
  EXPECT_TRUE(reports_.empty());
  EXPECT_EQ(edit_->text(), "a");
  hook_.SetEnabled(true);
  Click(Qt::Key_B);
  EXPECT_EQ(Keys(), std::vector<TKey>{'B'});
}

TEST_F(KeyboardFilterTest, AHandlerThatThrowsStopsNeitherTheKeyNorLaterReports) {
  hook_.OnKeyboardMessage = [this](TKbHook&, const TKeyboardReport& r) {
    reports_.push_back(r);
    throw std::runtime_error("handler failed");
  };
  Click(Qt::Key_A);
  Click(Qt::Key_B);
  EXPECT_EQ(reports_.size(), 2u);
  EXPECT_EQ(edit_->text(), "ab");
}

TEST_F(KeyboardFilterTest, AWindowThatGoesFirstEndsTheReports) {
  window_.reset();
  QWidget other;
  auto* otherEdit = new QLineEdit(&other);
  Activate(other);
  otherEdit->setFocus();
  Click(Qt::Key_A);
  EXPECT_TRUE(reports_.empty());
}

TEST_F(KeyboardFilterTest, NoReportsOnceTheFilterIsGone) {
  filter_.reset();
  Click(Qt::Key_A);
  EXPECT_TRUE(reports_.empty());
  EXPECT_EQ(edit_->text(), "a");
}

}  // namespace
}  // namespace quillet
