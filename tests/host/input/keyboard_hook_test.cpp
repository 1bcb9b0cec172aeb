// The keyboard hook: each press reported while enabled, with its key-stroke
// data, and a change of Enabled told once.
#include <gtest/gtest.h>

#include <vector>

#include "host/input/keyboard_hook.h"

namespace quillet {
namespace {

TEST(KeyboardHookTest, KeyStrokeData) {
  struct Case {
    const char* what;
    TKeyStroke stroke;
    uint32_t data;
  };
  const Case cases[] = {
      {"a letter", {'A', 0, 0x1E, false, false}, 0x001E0001},
      {"Ctrl and Shift leave no mark", {'S', ssCtrl | ssShift, 0x1F, false, false}, 0x001F0001},
      {"an extended key", {VK_LEFT, 0, 0x4B, true, false}, 0x014B0001},
      {"Alt held", {VK_F1 + 3, ssAlt, 0x3E, false, false}, 0x203E0001},
      {"held down and repeating", {'A', 0, 0x1E, false, true}, 0x401E0001},
      {"everything at once", {VK_DELETE, ssAlt | ssCtrl, 0x53, true, true}, 0x61530001},
      {"no scan code known", {'Q', 0, 0, false, false}, 0x00000001},
      {"the largest scan code", {0, 0, 0xFF, false, false}, 0x00FF0001},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyStrokeData(c.stroke), c.data) << c.what;
    // A press: never a transition to up.
    EXPECT_EQ(KeyStrokeData(c.stroke) >> 31, 0u) << c.what;
  }
}

struct HookLog {
  std::vector<TKeyboardReport> reports;
  int changes = 0;
  void Bind(TKbHook& hook) {
    hook.OnKeyboardMessage = [this](TKbHook&, const TKeyboardReport& r) { reports.push_back(r); };
    hook.OnChange = [this](TKbHook&) { ++changes; };
  }
};

TEST(KeyboardHookTest, ReportsOnlyWhileEnabled) {
  TKbHook hook;
  HookLog log;
  log.Bind(hook);
  EXPECT_FALSE(hook.Enabled());
  const TKeyStroke copy{'C', ssCtrl, 0x2E, false, false};
  hook.KeyPressed(copy);
  EXPECT_TRUE(log.reports.empty());
  hook.SetEnabled(true);
  hook.KeyPressed(copy);
  ASSERT_EQ(log.reports.size(), 1u);
  EXPECT_EQ(log.reports[0], (TKeyboardReport{'C', 0x002E0001, ssCtrl}));
  // Reports that still come once it is disabled are dropped.
  hook.SetEnabled(false);
  hook.KeyPressed(copy);
  EXPECT_EQ(log.reports.size(), 1u);
}

TEST(KeyboardHookTest, ChangeFollowsOnlyARealChange) {
  TKbHook hook;
  HookLog log;
  log.Bind(hook);
  const struct {
    bool set;
    int changes;
  } steps[] = {{false, 0}, {true, 1}, {true, 1}, {false, 2}, {false, 2}, {true, 3}};
  for (const auto& s : steps) {
    hook.SetEnabled(s.set);
    EXPECT_EQ(hook.Enabled(), s.set);
    EXPECT_EQ(log.changes, s.changes) << "after setting " << s.set;
  }
}

}  // namespace
}  // namespace quillet
