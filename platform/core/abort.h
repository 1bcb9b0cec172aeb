#pragma once
// The silent abort: raised to end an operation the user cancelled. Callers
// let it pass without showing a message.
#include <exception>

namespace quillet {

class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

}  // namespace quillet
