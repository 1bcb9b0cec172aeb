#include "platform/core/beep.h"

namespace quillet {

namespace {
std::function<void()>& Handler() {
  static std::function<void()> handler;
  return handler;
}
std::function<void(std::string_view)>& SoundHandler() {
  static std::function<void(std::string_view)> handler;
  return handler;
}
}  // namespace

void SystemBeep() {
  if (Handler()) Handler()();
}

void SetSystemBeepHandler(std::function<void()> handler) { Handler() = std::move(handler); }

void PlayApplicationSound(std::string_view name) {
  if (SoundHandler()) SoundHandler()(name);
}

void SetApplicationSoundHandler(std::function<void(std::string_view)> handler) {
  SoundHandler() = std::move(handler);
}

}  // namespace quillet
