#pragma once
// The program's window on the default store, shown and active, as a test
// starts from it.
#include <gtest/gtest.h>

#include <QTest>
#include <string>

#include "app/main_window.h"

namespace quillet::test {

inline testing::AssertionResult ShowDefaultStore(TMainWindow& window) {
  std::string error;
  if (!window.OpenDefaultStore(error)) return testing::AssertionFailure() << error;
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) return testing::AssertionFailure() << "the window is not active";
  return testing::AssertionSuccess();
}

}  // namespace quillet::test
