// Loads controls from bytes as DVF stores them: the first byte picks the kind
// named in the record (one of the known kinds, or an unknown one), the rest is
// the control's binary body. A control that loads must save and load again to
// the same stream; one that does not load leaves no control behind.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "engine/stream/dvf_controls.h"
#include "platform/core/control.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr || size == 0) return 0;
  static constexpr std::string_view kKinds[] = {"TButton", "TCheckBox", "TEdit", "TLabel", "TMemo", "TPanel", "TForm"};
  const std::string_view kind = kKinds[data[0] % std::size(kKinds)];
  const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
  TPanel parent;
  std::unique_ptr<TControl> control;
  if (!DVFLoadControlBinary(body, control, kind, &parent)) {
    if (control) std::abort();
    return 0;
  }
  if (!control || control->ClassName() != kind || control->Parent() != &parent) std::abort();
  if (control->Width() < 0 || control->Width() > TControl::kMaxSide) std::abort();
  // The hexadecimal form reads back the same control.
  std::unique_ptr<TControl> again;
  if (!DVFLoadControl(DVFSaveControl(*control), again, kind, nullptr)) std::abort();
  if (again->SaveComponent() != control->SaveComponent()) std::abort();
  return 0;
}
