// The tablet on the main form's editor: a pen's pressure thins the strokes
// the form draws, and once the pen is away the mouse draws at full width.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_binding.h"
#include "host/form/main_form.h"
#include "host/input/tablet.h"
#include "platform/gfx/fake_printer_device.h"
#include "support/tablet_events.h"

namespace quillet {
namespace {

// The widths of the pen records written since the last call.
std::vector<std::string> NewPenWidths(TQvPostil& postil, size_t& seen) {
  std::vector<std::string> widths;
  const auto lines = postil.NewPostil();
  for (size_t i = seen; i < lines.size(); ++i)
    if (lines[i].rfind("QPP;", 0) == 0) widths.push_back(lines[i].substr(lines[i].rfind(';') + 1));
  seen = lines.size();
  return widths;
}

TEST(TabletOnTheForm, PenPressureThinsTheStrokesUntilThePenLeaves) {
  RegisterTableItem();
  TFakePrinterDevice printer;
  TMainForm form(nullptr, &printer);
  form.Widget()->resize(1000, 700);
  form.Widget()->show();
  TTablet tablet;
  ASSERT_TRUE(tablet.Open(&form.DVEditor(), true));
  form.SetPressureSource(&tablet);
  form.PostilBinding().Pen.Width = 8;
  form.BeginCommentClick();
  QWidget* client = form.DVEditor().ClientWidget();
  const auto pen = test::TabletTool(21);
  size_t seen = 0;

  const auto stroke = [&](int y) {
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(200, y));
    QTest::mouseMove(client, QPoint(260, y));
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(260, y));
  };
  // The mouse before any pen: the pen's width.
  stroke(40);
  EXPECT_EQ(NewPenWidths(form.qvPostil(), seen), std::vector<std::string>{"8"});
  // The pen pressed lightly; the toolkit's mouse events follow its packet.
  test::SendTabletProximity(true, *pen);
  test::SendTabletPacket(client, QEvent::TabletPress, *pen, {200, 80}, 0.25);
  stroke(80);
  EXPECT_EQ(NewPenWidths(form.qvPostil(), seen), std::vector<std::string>{"2"});
  // Lifted away mid-stroke, the pen leaves no pressure behind.
  test::SendTabletProximity(false, *pen);
  stroke(120);
  EXPECT_EQ(NewPenWidths(form.qvPostil(), seen), std::vector<std::string>{"8"});
  form.EndCommentClick();
}

}  // namespace
}  // namespace quillet
