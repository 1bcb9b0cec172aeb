#pragma once
// How the border and fill dialogs ask for four values (border offsets,
// padding): through the four-values form, which the caller hands in, so the
// dialogs depend on nothing but this shape. Each side has its own defined
// flag.
#include <functional>
#include <string>

#include "engine/style/border.h"

namespace quillet {

struct TFourValues {
  TDVRect Values;
  TDVBooleanRect Defined{false};
  friend bool operator==(const TFourValues&, const TFourValues&) = default;
};

// Shows the four values under the form caption and the group caption (UTF-8;
// empty keeps the form's own); true with OK, values then holding the answer.
using TFourValuesPrompt =
    std::function<bool(const std::string& caption, const std::string& groupCaption, TFourValues& values)>;

}  // namespace quillet
