#pragma once
// The bodies of controls in DVF: the control's component stream as
// hexadecimal text (one line), or as a binary block (a 4-byte little-endian
// length, then the bytes).
#include <memory>
#include <string>
#include <string_view>

namespace quillet {

class TControl;
class TStream;

// The component stream as hexadecimal text.
std::string DVFSaveControl(const TControl& control);
// A binary block at the stream's position; the position ends after it.
void DVFSaveControlBinary(TStream& stream, const TControl& control);

// Reads a control from hexadecimal text, or from the raw bytes of a binary
// block. With a class name, a new control of that kind is made (only the
// kinds CreateControl knows); without one, the given control is read into.
// The control gets `parent` before and after reading. True when it loaded;
// otherwise a control made here is freed (control is null) and a given one
// is left as it was.
bool DVFLoadControl(std::string_view s, std::unique_ptr<TControl>& control, std::string_view className,
                    TControl* parent);
bool DVFLoadControlBinary(std::string_view s, std::unique_ptr<TControl>& control, std::string_view className,
                          TControl* parent);

}  // namespace quillet
