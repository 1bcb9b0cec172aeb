// Tablet input reaching controls: packets in client coordinates to the
// control under the pen, proximity to every control, listeners after the
// control's own handler, and the events left for the toolkit to make mouse
// events of.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "support/tablet_events.h"

namespace quillet {
namespace {

using test::SendTabletPacket;
using test::SendTabletProximity;
using test::TabletTool;

class TTabletRecorder : public TCustomControl {
 public:
  explicit TTabletRecorder(bool scrollBars = false) : TCustomControl(scrollBars) {}
  std::vector<TTabletPacket> packets;
  std::vector<std::string> errors;
  void HandleException(std::string_view message) noexcept override { errors.emplace_back(message); }

 protected:
  void TabletEvent(const TTabletPacket& packet) override { packets.push_back(packet); }
};

TEST(TabletEventTest, PacketsComeInClientCoordinatesAndStayForTheMouse) {
  for (const bool scrolling : {false, true}) {
    SCOPED_TRACE(scrolling ? "scrolling control" : "plain control");
    TTabletRecorder c(scrolling);
    c.SetBounds(0, 0, 200, 100);
    c.Show();
    const auto pen = TabletTool(7, QPointingDevice::PointerType::Pen, "Graphire");
    const auto eraser = TabletTool(7, QPointingDevice::PointerType::Eraser, "Graphire");
    // Not accepted: the toolkit turns an unaccepted tablet event into mouse
    // events, which draw the stroke.
    EXPECT_FALSE(SendTabletPacket(c.ClientWidget(), QEvent::TabletPress, *pen, {10.5, 20.25}, 0.25));
    EXPECT_FALSE(SendTabletPacket(c.ClientWidget(), QEvent::TabletMove, *pen, {12, 22}, 0.5));
    EXPECT_FALSE(SendTabletPacket(c.ClientWidget(), QEvent::TabletRelease, *eraser, {13, 23}, 0));
    ASSERT_EQ(c.packets.size(), 3u);
    const TTabletPacket& press = c.packets[0];
    EXPECT_EQ(press.Kind, tekPress);
    EXPECT_EQ(press.X, 10);
    EXPECT_EQ(press.Y, 20);
    EXPECT_DOUBLE_EQ(press.Pressure, 0.25);
    EXPECT_EQ(press.Pointer, tpPen);
    EXPECT_EQ(press.DeviceId, 7);
    EXPECT_EQ(press.DeviceName, "Graphire");
    EXPECT_EQ(c.packets[1].Kind, tekMove);
    EXPECT_DOUBLE_EQ(c.packets[1].Pressure, 0.5);
    EXPECT_EQ(c.packets[2].Kind, tekRelease);
    EXPECT_EQ(c.packets[2].Pointer, tpEraser);
  }
}

TEST(TabletEventTest, PressureFromTheDriverIsKeptWithinZeroToOne) {
  struct Case {
    double given, taken;
  };
  const Case cases[] = {{0.4, 0.4}, {-0.5, 0}, {1.5, 1}, {std::numeric_limits<double>::quiet_NaN(), 0},
                        {std::numeric_limits<double>::infinity(), 0}};
  TTabletRecorder c;
  c.SetBounds(0, 0, 100, 100);
  const auto pen = TabletTool(1);
  for (const Case& k : cases) {
    SendTabletPacket(c.ClientWidget(), QEvent::TabletPress, *pen, {5, 5}, k.given);
    ASSERT_FALSE(c.packets.empty());
    EXPECT_DOUBLE_EQ(c.packets.back().Pressure, k.taken) << k.given;
  }
}

TEST(TabletEventTest, ProximityReachesEveryLiveControl) {
  auto first = std::make_unique<TTabletRecorder>();
  TTabletRecorder second(true);
  auto gone = std::make_unique<TTabletRecorder>();
  gone.reset();
  const auto puck = TabletTool(3, QPointingDevice::PointerType::Cursor);
  SendTabletProximity(true, *puck);
  for (TTabletRecorder* c : {first.get(), &second}) {
    ASSERT_EQ(c->packets.size(), 1u);
    EXPECT_EQ(c->packets[0].Kind, tekProximityIn);
    EXPECT_EQ(c->packets[0].Pointer, tpCursor);
    EXPECT_EQ(c->packets[0].DeviceId, 3);
  }
  first.reset();
  SendTabletProximity(false, *puck);
  ASSERT_EQ(second.packets.size(), 2u);
  EXPECT_EQ(second.packets[1].Kind, tekProximityOut);
}

TEST(TabletEventTest, ListenersHearAfterTheControlUntilRemoved) {
  TTabletRecorder c;
  c.SetBounds(0, 0, 100, 100);
  const auto pen = TabletTool(1);
  std::vector<std::string> heard;
  uint32_t self = 0;
  const uint32_t first = c.AddTabletListener([&](const TTabletPacket&) {
    heard.push_back("first after " + std::to_string(c.packets.size()));
  });
  // One that removes itself on its first packet, and one that fails.
  self = c.AddTabletListener([&](const TTabletPacket&) {
    heard.push_back("once");
    c.RemoveTabletListener(self);
  });
  c.AddTabletListener([](const TTabletPacket&) { throw std::runtime_error("listener failed"); });
  SendTabletPacket(c.ClientWidget(), QEvent::TabletPress, *pen, {1, 1}, 0.5);
  c.RemoveTabletListener(first);
  SendTabletPacket(c.ClientWidget(), QEvent::TabletRelease, *pen, {1, 1}, 0);
  EXPECT_EQ(heard, (std::vector<std::string>{"first after 1", "once"}));
  EXPECT_EQ(c.errors, (std::vector<std::string>{"listener failed", "listener failed"}));
  EXPECT_EQ(c.packets.size(), 2u);
}

TEST(TabletEventTest, AListenerMayDestroyTheControl) {
  auto c = std::make_unique<TTabletRecorder>();
  c->SetBounds(0, 0, 100, 100);
  int later = 0;
  c->AddTabletListener([&](const TTabletPacket&) { c.reset(); });
  c->AddTabletListener([&](const TTabletPacket&) { ++later; });
  const auto pen = TabletTool(1);
  SendTabletProximity(true, *pen);
  EXPECT_EQ(c, nullptr);
  EXPECT_EQ(later, 0);
}

}  // namespace
}  // namespace quillet
