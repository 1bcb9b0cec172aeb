#pragma once
#include <stdexcept>

namespace quillet {

// The engine's own failures, with fixed English messages.
class EDocViewError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quillet
