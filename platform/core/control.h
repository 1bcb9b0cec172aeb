#pragma once
// A control that a document embeds in its text: its kind, name and bounds.
// The window layer gives it a widget; documents only place, store and own it.
#include <string>
#include <string_view>

namespace quillet {

class TControl {
 public:
  virtual ~TControl() = default;
  // The kind as documents store it ("TButton", ...).
  virtual std::string_view ClassName() const = 0;
  std::string Name;
};

}  // namespace quillet
