#pragma once
// The system's default beep, and the application's named sounds. The window layer installs the real one; until
// then (and in tests without a display) beeping does nothing.
#include <functional>
#include <string_view>

namespace quillet {

void SystemBeep();
// Replaces what SystemBeep does; an empty handler makes it silent.
void SetSystemBeepHandler(std::function<void()> handler);

// A named sound event of the application ("MenuPopup"). The desktop defines
// no such events, so nothing sounds unless a handler is set.
void PlayApplicationSound(std::string_view name);
void SetApplicationSoundHandler(std::function<void(std::string_view)> handler);

}  // namespace quillet
