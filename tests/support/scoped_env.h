#pragma once
// An environment variable set for a scope and put back as it was (unset
// when it was unset), even when a failed assertion leaves the test early.
#include <cstdlib>
#include <optional>
#include <string>

namespace quillet::test {

class TScopedEnv {
 public:
  TScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* before = std::getenv(name)) saved_ = before;
    ::setenv(name, value.c_str(), 1);
  }
  ~TScopedEnv() {
    if (saved_)
      ::setenv(name_.c_str(), saved_->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

}  // namespace quillet::test
