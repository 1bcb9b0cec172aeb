#pragma once
// The pen tablet: it watches the tablet input that reaches one control (the
// form's editor) and turns it into the component's events, and it tells the
// annotation pen how hard it is pressed. The toolkit reports a tablet only
// once a pen is used, so the tablet counts as present from the first pen
// event on; a context opens on a control whether or not one has been seen.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/annotation/pressure_source.h"
#include "platform/ui/control.h"

namespace quillet {

// Context status bits.
constexpr uint32_t CXS_DISABLED = 0x0001;
// Information categories of the info-changed event.
constexpr uint16_t WTI_DEVICES = 100;

class TTablet final : public TPressureSource {
 public:
  using TPacketEvent =
      std::function<void(TTablet& sender, uint32_t packetNumber, uint32_t contextHandle, const TTabletPacket& packet)>;
  using TProximityEvent = std::function<void(TTablet& sender, uint32_t contextHandle, bool entering)>;
  using TInfoChangeEvent = std::function<void(TTablet& sender, uint16_t manager, uint16_t category, uint16_t index)>;
  using TContextEvent = std::function<void(TTablet& sender, uint32_t contextHandle, uint32_t status)>;

  TTablet() = default;
  // Closes the context without telling.
  ~TTablet() override;
  TTablet(const TTablet&) = delete;
  TTablet& operator=(const TTablet&) = delete;

  // Opens a context on window: its tablet input comes here from now on,
  // reported while enabled. A context already open is closed first. False,
  // and nothing open, when the window is gone.
  bool Open(TCustomControl* window, bool enable);
  void Close();
  // Switches an open context's reports on or off.
  void SetEnabled(bool value);
  bool Enabled() const { return enabled_; }
  // The open context, 0 when none.
  uint32_t ContextHandle() const { return contextHandle_; }

  // A pen has been seen.
  bool Present() const { return present_; }
  // The device of the last pen event; "" while absent.
  const std::string& DeviceName() const { return deviceName_; }
  // The last packet's pressure; 0 once the pen has left the tablet, so that
  // the mouse draws with the pen's full width again; none while absent.
  std::optional<double> Pressure() const override;
  // The last packet, none before the first.
  const std::optional<TTabletPacket>& LastPacket() const { return lastPacket_; }

  // Handlers may close the context (what the packet had still to tell is
  // then dropped) but must not destroy the tablet.
  TPacketEvent OnPacket;
  // The pointer (pen, eraser, cursor) or the device changed; fired with the
  // packet that carries the change, before OnPacket.
  TPacketEvent OnCursorChanged;
  TProximityEvent OnProximity;
  // Another tablet device came into use: category WTI_DEVICES, index the
  // device's number in the order they were seen.
  TInfoChangeEvent OnInfoChanged;
  TContextEvent OnContextOpen, OnContextClose, OnContextUpdate;

 private:
  void Receive(const TTabletPacket& packet);
  uint32_t Status() const { return enabled_ ? 0 : CXS_DISABLED; }

  TControlRef<TCustomControl> window_;
  uint32_t listener_ = 0;
  uint32_t contextHandle_ = 0;
  bool enabled_ = false;
  bool present_ = false;
  bool inProximity_ = false;
  uint32_t packetNumber_ = 0;
  std::string deviceName_;
  std::vector<int64_t> devices_;  // in the order they were seen
  std::optional<TTabletPacket> lastPacket_;
};

}  // namespace quillet
