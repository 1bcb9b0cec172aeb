// The hourglass scope: shown while it lives, nested scopes undone one by
// one, the cursor before it back afterwards, also when the work raises.
#include "platform/ui/application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <stdexcept>

namespace quillet {
namespace {

Qt::CursorShape Shown() {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor ? cursor->shape() : Qt::ArrowCursor;
}

TEST(Hourglass, ShownForTheScopeAndUndoneAfter) {
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  {
    const TScopedHourglass outer;
    EXPECT_EQ(Shown(), Qt::WaitCursor);
    try {
      const TScopedHourglass inner;
      throw std::runtime_error("work failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Shown(), Qt::WaitCursor);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace quillet
