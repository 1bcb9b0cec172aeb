// The pen tablet component on a control offscreen: its context, the events
// that proximity and packets become, presence from the first pen event, and
// the pressure the annotation pen takes its width from.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "host/input/tablet.h"
#include "support/tablet_events.h"

namespace quillet {
namespace {

using test::SendTabletPacket;
using test::SendTabletProximity;
using test::TabletTool;

// Every event of a tablet as one line.
struct TabletLog {
  std::vector<std::string> lines;
  void Bind(TTablet& t) {
    t.OnPacket = [this](TTablet&, uint32_t n, uint32_t, const TTabletPacket& p) {
      lines.push_back("packet " + std::to_string(n) + " kind " + std::to_string(p.Kind) + " at " +
                      std::to_string(p.X) + "," + std::to_string(p.Y));
    };
    t.OnCursorChanged = [this](TTablet&, uint32_t n, uint32_t, const TTabletPacket& p) {
      lines.push_back("cursor " + std::to_string(n) + " pointer " + std::to_string(p.Pointer));
    };
    t.OnProximity = [this](TTablet&, uint32_t, bool entering) {
      lines.push_back(entering ? "proximity in" : "proximity out");
    };
    t.OnInfoChanged = [this](TTablet&, uint16_t manager, uint16_t category, uint16_t index) {
      lines.push_back("info " + std::to_string(manager) + " " + std::to_string(category) + " " +
                      std::to_string(index));
    };
    const auto context = [this](const char* what) {
      return [this, what](TTablet&, uint32_t handle, uint32_t status) {
        lines.push_back(std::string(what) + (handle ? " context" : " none") + " status " + std::to_string(status));
      };
    };
    t.OnContextOpen = context("open");
    t.OnContextClose = context("close");
    t.OnContextUpdate = context("update");
  }
  std::vector<std::string> Take() { return std::exchange(lines, {}); }
};

class TabletTest : public testing::Test {
 protected:
  void SetUp() override {
    editor_.SetBounds(0, 0, 300, 200);
    log_.Bind(tablet_);
  }
  QWidget* Client() { return editor_.ClientWidget(); }

  TCustomControl editor_{true};
  TTablet tablet_;
  TabletLog log_;
  std::unique_ptr<QPointingDevice> pen_ = TabletTool(11, QPointingDevice::PointerType::Pen, "Intuos");
  std::unique_ptr<QPointingDevice> eraser_ = TabletTool(11, QPointingDevice::PointerType::Eraser, "Intuos");
  std::unique_ptr<QPointingDevice> otherPen_ = TabletTool(12, QPointingDevice::PointerType::Pen, "Bamboo");
};

TEST_F(TabletTest, AbsentUntilAPenIsSeen) {
  EXPECT_FALSE(tablet_.Present());
  EXPECT_EQ(tablet_.DeviceName(), "");
  EXPECT_EQ(tablet_.Pressure(), std::nullopt);
  // The context opens before any pen: the toolkit tells of a tablet only
  // when it is used.
  ASSERT_TRUE(tablet_.Open(&editor_, true));
  EXPECT_NE(tablet_.ContextHandle(), 0u);
  EXPECT_EQ(log_.Take(), std::vector<std::string>{"open context status 0"});
  EXPECT_FALSE(tablet_.Present());
  // The mouse is no pen.
  QTest::mouseClick(Client(), Qt::LeftButton);
  EXPECT_FALSE(tablet_.Present());
  SendTabletProximity(true, *pen_);
  EXPECT_TRUE(tablet_.Present());
  EXPECT_EQ(tablet_.DeviceName(), "Intuos");
  EXPECT_EQ(tablet_.Pressure(), 0.0);
}

TEST_F(TabletTest, OpenOnNoWindowFails) {
  EXPECT_FALSE(tablet_.Open(nullptr, true));
  EXPECT_EQ(tablet_.ContextHandle(), 0u);
  EXPECT_TRUE(log_.Take().empty());
}

TEST_F(TabletTest, ProximityAndPressurePackets) {
  tablet_.Open(&editor_, true);
  log_.Take();
  const struct {
    QEvent::Type type;  // None: proximity in; User: proximity out
    QPointF at;
    double pressure;
    std::vector<std::string> lines;
    int width;  // of an 8-pixel pen
  } steps[] = {
      {QEvent::None, {}, 0, {"proximity in"}, 8},
      {QEvent::TabletPress, {40, 50}, 0.25, {"info 0 100 0", "cursor 1 pointer 0", "packet 1 kind 2 at 40,50"}, 2},
      {QEvent::TabletMove, {41.7, 52}, 0.5, {"packet 2 kind 3 at 41,52"}, 4},
      {QEvent::TabletMove, {43, 53}, 0.999, {"packet 3 kind 3 at 43,53"}, 8},
      {QEvent::TabletRelease, {43, 53}, 0, {"packet 4 kind 4 at 43,53"}, 8},
      {QEvent::User, {}, 0, {"proximity out"}, 8},
  };
  for (const auto& s : steps) {
    if (s.type == QEvent::None) SendTabletProximity(true, *pen_);
    else if (s.type == QEvent::User) SendTabletProximity(false, *pen_);
    else SendTabletPacket(Client(), s.type, *pen_, s.at, s.pressure);
    EXPECT_EQ(log_.Take(), s.lines) << s.lines.front();
    EXPECT_EQ(PressedPenWidth(8, tablet_.Pressure()), s.width) << s.lines.front();
  }
}

TEST_F(TabletTest, PointerAndDeviceChanges) {
  tablet_.Open(&editor_, true);
  log_.Take();
  const struct {
    const QPointingDevice* tool;
    std::vector<std::string> lines;
  } steps[] = {
      {pen_.get(), {"info 0 100 0", "cursor 1 pointer 0", "packet 1 kind 2 at 5,5"}},
      {pen_.get(), {"packet 2 kind 2 at 5,5"}},
      {eraser_.get(), {"cursor 3 pointer 1", "packet 3 kind 2 at 5,5"}},
      {otherPen_.get(), {"info 0 100 1", "cursor 4 pointer 0", "packet 4 kind 2 at 5,5"}},
      // The first device again keeps its number.
      {pen_.get(), {"info 0 100 0", "cursor 5 pointer 0", "packet 5 kind 2 at 5,5"}},
  };
  for (const auto& s : steps) {
    SendTabletPacket(Client(), QEvent::TabletPress, *s.tool, {5, 5}, 0.5);
    EXPECT_EQ(log_.Take(), s.lines) << s.lines.back();
  }
  EXPECT_EQ(tablet_.DeviceName(), "Intuos");
}

TEST_F(TabletTest, DeviceNumbersStayBoundedWhateverTheDriverSends) {
  tablet_.Open(&editor_, true);
  std::vector<uint16_t> indexes;
  tablet_.OnInfoChanged = [&](TTablet&, uint16_t, uint16_t, uint16_t index) { indexes.push_back(index); };
  for (qint64 id = 1000; id < 1300; ++id)
    SendTabletPacket(Client(), QEvent::TabletPress, *TabletTool(id), {5, 5}, 0.5);
  SendTabletPacket(Client(), QEvent::TabletPress, *TabletTool(1000), {5, 5}, 0.5);
  ASSERT_EQ(indexes.size(), 301u);
  EXPECT_EQ(indexes[255], 255);
  EXPECT_EQ(indexes[256], 256);
  EXPECT_EQ(indexes[299], 256);
  EXPECT_EQ(indexes[300], 0) << "the first device keeps its number";
}

TEST_F(TabletTest, AHandlerThatClosesTheContextHearsNoMore) {
  tablet_.Open(&editor_, true);
  tablet_.OnCursorChanged = [](TTablet& t, uint32_t, uint32_t, const TTabletPacket&) { t.Close(); };
  log_.Take();
  SendTabletPacket(Client(), QEvent::TabletPress, *pen_, {5, 5}, 0.5);
  EXPECT_EQ(log_.Take(), (std::vector<std::string>{"info 0 100 0", "close context status 0"}));
  SendTabletPacket(Client(), QEvent::TabletMove, *pen_, {6, 6}, 0.5);
  EXPECT_TRUE(log_.Take().empty());
}

TEST_F(TabletTest, APenAwayFromTheTabletLeavesTheMouseItsFullWidth) {
  tablet_.Open(&editor_, true);
  SendTabletProximity(true, *pen_);
  SendTabletPacket(Client(), QEvent::TabletPress, *pen_, {5, 5}, 0.3);
  SendTabletPacket(Client(), QEvent::TabletMove, *pen_, {6, 6}, 0.3);
  EXPECT_EQ(PressedPenWidth(10, tablet_.Pressure()), 3);
  // Taken away in the middle of a stroke, without a release.
  SendTabletProximity(false, *pen_);
  EXPECT_EQ(tablet_.Pressure(), 0.0);
  EXPECT_EQ(PressedPenWidth(10, tablet_.Pressure()), 10);
  // Back on the tablet without a proximity event: its packets count again.
  SendTabletPacket(Client(), QEvent::TabletPress, *pen_, {5, 5}, 0.6);
  EXPECT_EQ(PressedPenWidth(10, tablet_.Pressure()), 6);
}

TEST_F(TabletTest, ADisabledContextReportsNothing) {
  tablet_.Open(&editor_, false);
  EXPECT_EQ(log_.Take(), std::vector<std::string>{"open context status 1"});
  SendTabletProximity(true, *pen_);
  SendTabletPacket(Client(), QEvent::TabletPress, *pen_, {5, 5}, 0.5);
  EXPECT_TRUE(log_.Take().empty());
  EXPECT_FALSE(tablet_.Present());
  tablet_.SetEnabled(false);
  EXPECT_TRUE(log_.Take().empty());
  tablet_.SetEnabled(true);
  EXPECT_EQ(log_.Take(), std::vector<std::string>{"update context status 0"});
  SendTabletPacket(Client(), QEvent::TabletPress, *pen_, {5, 5}, 0.5);
  EXPECT_EQ(log_.Take().size(), 3u);
  tablet_.SetEnabled(false);
  EXPECT_EQ(log_.Take(), std::vector<std::string>{"update context status 1"});
}

TEST_F(TabletTest, CloseEndsTheReports) {
  tablet_.Open(&editor_, true);
  const uint32_t first = tablet_.ContextHandle();
  // Opening again closes the first context.
  tablet_.Open(&editor_, true);
  EXPECT_NE(tablet_.ContextHandle(), first);
  EXPECT_EQ(log_.Take(), (std::vector<std::string>{"open context status 0", "close context status 0",
                                                     "open context status 0"}));
  tablet_.Close();
  EXPECT_EQ(tablet_.ContextHandle(), 0u);
  EXPECT_EQ(log_.Take(), std::vector<std::string>{"close context status 0"});
  tablet_.Close();
  SendTabletPacket(Client(), QEvent::TabletPress, *pen_, {5, 5}, 0.5);
  SendTabletProximity(true, *pen_);
  EXPECT_TRUE(log_.Take().empty());
  EXPECT_FALSE(tablet_.Present());
}

TEST_F(TabletTest, EachTabletHearsItsOwnWindowsPackets) {
  TCustomControl other;
  other.SetBounds(0, 0, 100, 100);
  TTablet second;
  TabletLog secondLog;
  secondLog.Bind(second);
  tablet_.Open(&editor_, true);
  second.Open(&other, true);
  EXPECT_NE(tablet_.ContextHandle(), second.ContextHandle());
  log_.Take();
  secondLog.Take();
  SendTabletPacket(other.ClientWidget(), QEvent::TabletPress, *pen_, {5, 5}, 0.5);
  EXPECT_TRUE(log_.Take().empty());
  EXPECT_EQ(secondLog.Take().size(), 3u);
  // The pen coming near is every window's news.
  SendTabletProximity(true, *pen_);
  EXPECT_EQ(log_.Take(), std::vector<std::string>{"proximity in"});
  EXPECT_EQ(secondLog.Take(), std::vector<std::string>{"proximity in"});
}

TEST(TabletLifetimeTest, EitherTheWindowOrTheTabletMayGoFirst) {
  const auto pen = TabletTool(1);
  {
    auto window = std::make_unique<TCustomControl>();
    TTablet tablet;
    tablet.Open(window.get(), true);
    window.reset();
    SendTabletProximity(true, *pen);
    EXPECT_FALSE(tablet.Present());
  }  // the tablet closes a context on a window that is gone
  TCustomControl window;
  window.SetBounds(0, 0, 50, 50);
  {
    // Going, it tells no one of the close: its owner may be half gone.
    int closes = 0;
    auto tablet = std::make_unique<TTablet>();
    tablet->OnContextClose = [&](TTablet&, uint32_t, uint32_t) { ++closes; };
    tablet->Open(&window, true);
    tablet.reset();
    EXPECT_EQ(closes, 0);
  }
  // The tablet is gone: the window has no one left to tell.
  SendTabletPacket(window.ClientWidget(), QEvent::TabletPress, *pen, {1, 1}, 0.5);
  SendTabletProximity(false, *pen);
}

}  // namespace
}  // namespace quillet
