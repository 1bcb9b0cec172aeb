#pragma once
// The system's default beep. The window layer installs the real one; until
// then (and in tests without a display) beeping does nothing.
#include <functional>

namespace quillet {

void SystemBeep();
// Replaces what SystemBeep does; an empty handler makes it silent.
void SetSystemBeepHandler(std::function<void()> handler);

}  // namespace quillet
