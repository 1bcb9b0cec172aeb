#include "engine/stream/dvf_controls.h"

#include <vector>

#include "engine/base/dvf_tokens.h"
#include "platform/core/control.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

bool LoadControl(std::vector<uint8_t> bytes, std::unique_ptr<TControl>& control, std::string_view className,
                 TControl* parent) {
  std::unique_ptr<TControl> made;
  TControl* target = control.get();
  if (!className.empty()) {
    made = CreateControl(className);
    if (!made) {
      control.reset();
      return false;
    }
    target = made.get();
  }
  if (!target) return false;
  target->SetParent(parent);
  try {
    target->LoadComponent(bytes);
  } catch (const EStreamError&) {
    if (made) control.reset();
    return false;
  }
  target->SetParent(parent);
  if (made) control = std::move(made);
  return true;
}

}  // namespace

std::string DVFSaveControl(const TControl& control) {
  TMemoryStream data(control.SaveComponent());
  return DVFStream2TextString(data);
}

void DVFSaveControlBinary(TStream& stream, const TControl& control) {
  const std::vector<uint8_t> bytes = control.SaveComponent();
  WriteU32(stream, static_cast<uint32_t>(bytes.size()));
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

bool DVFLoadControl(std::string_view s, std::unique_ptr<TControl>& control, std::string_view className,
                    TControl* parent) {
  TMemoryStream data;
  if (!DVFTextString2Stream(s, data)) {
    if (!className.empty()) control.reset();
    return false;
  }
  return LoadControl(data.Bytes(), control, className, parent);
}

bool DVFLoadControlBinary(std::string_view s, std::unique_ptr<TControl>& control, std::string_view className,
                          TControl* parent) {
  return LoadControl(std::vector<uint8_t>(s.begin(), s.end()), control, className, parent);
}

}  // namespace quillet
