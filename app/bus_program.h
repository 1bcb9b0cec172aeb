#pragma once
// quillet --dbus: the control on the session bus, its window shown on the
// embedded default store's record, until the window is closed or the
// program is told to end (SIGTERM), which ends it at once, asking nothing.

namespace quillet {

// Answers the program's exit code: 0 when it ended normally or by SIGTERM,
// 1 when the bus is not there or its name is taken.
int RunBusProgram();

}  // namespace quillet
