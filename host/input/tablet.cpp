#include "host/input/tablet.h"

#include <algorithm>
#include <utility>

namespace quillet {

namespace {

// Context handles are unique in the process, so a handler told of one
// context never mistakes another for it.
// Devices are numbered in the order seen; those past this many share the
// number kMaxDevices.
constexpr size_t kMaxDevices = 256;

uint32_t NextContextHandle() {
  static uint32_t last = 0;
  if (++last == 0) ++last;
  return last;
}

}  // namespace

// Going, the tablet tells no one: its owner may be going too.
TTablet::~TTablet() {
  OnContextClose = nullptr;
  Close();
}

bool TTablet::Open(TCustomControl* window, bool enable) {
  Close();
  if (!window) return false;
  window_ = window;
  listener_ = window->AddTabletListener([this](const TTabletPacket& packet) { Receive(packet); });
  contextHandle_ = NextContextHandle();
  enabled_ = enable;
  if (OnContextOpen) OnContextOpen(*this, contextHandle_, Status());
  return true;
}

void TTablet::Close() {
  if (contextHandle_ == 0) return;
  if (TCustomControl* window = window_.get()) window->RemoveTabletListener(listener_);
  window_ = nullptr;
  listener_ = 0;
  const uint32_t handle = std::exchange(contextHandle_, 0);
  const uint32_t status = Status();
  enabled_ = false;
  if (OnContextClose) OnContextClose(*this, handle, status);
}

void TTablet::SetEnabled(bool value) {
  if (contextHandle_ == 0 || enabled_ == value) return;
  enabled_ = value;
  if (OnContextUpdate) OnContextUpdate(*this, contextHandle_, Status());
}

std::optional<double> TTablet::Pressure() const {
  if (!present_) return std::nullopt;
  if (!inProximity_ || !lastPacket_) return 0.0;
  return lastPacket_->Pressure;
}

void TTablet::Receive(const TTabletPacket& packet) {
  if (!enabled_) return;
  present_ = true;
  if (!packet.DeviceName.empty()) deviceName_ = packet.DeviceName;
  const uint32_t handle = contextHandle_;
  if (packet.Kind == tekProximityIn || packet.Kind == tekProximityOut) {
    inProximity_ = packet.Kind == tekProximityIn;
    if (OnProximity) OnProximity(*this, handle, inProximity_);
    return;
  }
  // A packet means the pen is over the tablet, whether or not the platform
  // told of its coming.
  inProximity_ = true;
  const bool newDevice = !lastPacket_ || lastPacket_->DeviceId != packet.DeviceId;
  const bool newCursor = newDevice || lastPacket_->Pointer != packet.Pointer;
  lastPacket_ = packet;
  const uint32_t number = ++packetNumber_;
  // A handler may close the context; what follows is then not told.
  const auto open = [&] { return contextHandle_ == handle; };
  if (newDevice) {
    auto seen = std::find(devices_.begin(), devices_.end(), packet.DeviceId);
    // Device ids come from the driver: their list stays bounded.
    if (seen == devices_.end() && devices_.size() < kMaxDevices)
      seen = devices_.insert(devices_.end(), packet.DeviceId);
    const auto index = static_cast<uint16_t>(seen - devices_.begin());
    if (OnInfoChanged) OnInfoChanged(*this, 0, WTI_DEVICES, index);
  }
  if (newCursor && OnCursorChanged && open()) OnCursorChanged(*this, number, handle, packet);
  if (OnPacket && open()) OnPacket(*this, number, handle, packet);
}

}  // namespace quillet
