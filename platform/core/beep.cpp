#include "platform/core/beep.h"

namespace quillet {

namespace {
std::function<void()>& Handler() {
  static std::function<void()> handler;
  return handler;
}
}  // namespace

void SystemBeep() {
  if (Handler()) Handler()();
}

void SetSystemBeepHandler(std::function<void()> handler) { Handler() = std::move(handler); }

}  // namespace quillet
