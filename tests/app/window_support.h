#pragma once
// The program's window on the default store, shown and active, as a test
// starts from it.
#include <gtest/gtest.h>

#include <QTest>
#include <string>

#include "app/program_window.h"
#include "host/form/main_form.h"

namespace quillet::test {

inline testing::AssertionResult ShowDefaultStore(TProgramWindow& window) {
  std::string error;
  if (!window.OpenDefaultStore(error)) return testing::AssertionFailure() << error;
  window.Widget()->show();
  window.Widget()->activateWindow();
  if (!QTest::qWaitForWindowActive(window.Widget())) return testing::AssertionFailure() << "the window is not active";
  return testing::AssertionSuccess();
}

}  // namespace quillet::test
