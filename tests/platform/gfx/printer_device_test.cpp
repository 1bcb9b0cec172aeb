// The printer device's job rules, on the fake that records its calls and pages.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/gfx/fake_printer_device.h"

namespace quillet {
namespace {

TEST(FakePrinter, RecordsTheCallsAndWhatEachPageDrew) {
  TFakePrinterDevice printer;
  printer.Canvas().TextOutA(0, 0, "measuring");  // outside a job: not part of any page
  printer.SetCopies(2);
  printer.SetCollate(true);
  printer.BeginDoc("Report");
  EXPECT_TRUE(printer.Printing());
  EXPECT_EQ(printer.PageNumber(), 1);
  printer.Canvas().TextOutA(100, 200, "one");
  printer.NewPage();
  EXPECT_EQ(printer.PageNumber(), 2);
  printer.Canvas().FillRect({0, 0, 50, 60});
  printer.Canvas().TextOutA(100, 200, "two");
  printer.EndDoc();

  EXPECT_FALSE(printer.Printing());
  EXPECT_FALSE(printer.Aborted());
  EXPECT_EQ(printer.Calls(), (std::vector<std::string>{"BeginDoc \"Report\" copies=2 collate=1", "NewPage", "EndDoc"}));
  EXPECT_EQ(printer.PageStrings(), (std::vector<std::vector<std::string>>{
                                       {"Text 100,200 \"one\""},
                                       {"FillRect 0,0,50,60", "Text 100,200 \"two\""},
                                   }));
}

TEST(FakePrinter, GeometryAndCanvasFollowTheSetup) {
  const struct {
    TFakePrinterSetup setup;
  } cases[] = {{TFakePrinterSetup{}},
               {TFakePrinterSetup{600, 1200, 5100, 13200, 75, 150, 4950, 12900, true}}};
  for (const auto& c : cases) {
    TFakePrinterDevice printer(c.setup);
    const TFakePrinterSetup& s = c.setup;
    EXPECT_EQ(printer.PixelsPerInchX(), s.PixelsPerInchX);
    EXPECT_EQ(printer.PixelsPerInchY(), s.PixelsPerInchY);
    EXPECT_EQ(printer.PageWidth(), s.PageWidth);
    EXPECT_EQ(printer.PageHeight(), s.PageHeight);
    EXPECT_EQ(printer.PhysicalWidth(), s.PhysicalWidth);
    EXPECT_EQ(printer.PhysicalHeight(), s.PhysicalHeight);
    EXPECT_EQ(printer.PhysicalOffsetX(), s.PhysicalOffsetX);
    EXPECT_EQ(printer.PhysicalOffsetY(), s.PhysicalOffsetY);
    EXPECT_EQ(printer.CanCopy(), s.CanCopy);
    TCanvas& canvas = printer.Canvas();
    EXPECT_EQ(canvas.PixelsPerInchX(), s.PixelsPerInchX);
    EXPECT_EQ(canvas.PixelsPerInchY(), s.PixelsPerInchY);
    // Fonts are sized in vertical device pixels.
    EXPECT_EQ(canvas.Font().PixelsPerInch, s.PixelsPerInchY);
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, s.PageWidth, s.PageHeight));
  }
  // The A4 sheet at 600 dots per inch of the default.
  const TFakePrinterSetup a4;
  EXPECT_EQ(a4.PhysicalWidth, 4961);
  EXPECT_EQ(a4.PhysicalHeight, 7016);
  EXPECT_EQ(a4.PageWidth + 2 * a4.PhysicalOffsetX, a4.PhysicalWidth);
  EXPECT_EQ(a4.PageHeight + 2 * a4.PhysicalOffsetY, a4.PhysicalHeight);
}

TEST(FakePrinter, CallsOutOfOrderAreRefused) {
  const struct {
    const char* name;
    void (*act)(TPrinterDevice&);
    const char* message;
  } cases[] = {
      {"NewPage outside a job", [](TPrinterDevice& p) { p.NewPage(); }, "Printer is not currently printing"},
      {"EndDoc outside a job", [](TPrinterDevice& p) { p.EndDoc(); }, "Printer is not currently printing"},
      {"BeginDoc twice",
       [](TPrinterDevice& p) {
         p.BeginDoc("a");
         p.BeginDoc("b");
       },
       "Printing in progress"},
  };
  for (const auto& c : cases) {
    TFakePrinterDevice printer;
    try {
      c.act(printer);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const EPrinterError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
  }
  // Abort outside a job does nothing, so cleanup can always call it.
  TFakePrinterDevice printer;
  printer.Abort();
  EXPECT_TRUE(printer.Calls().empty());
  EXPECT_FALSE(printer.Aborted());
}

TEST(FakePrinter, AbortLeavesNoHalfJob) {
  TFakePrinterDevice printer;
  printer.BeginDoc("first");
  printer.Canvas().TextOutA(0, 0, "kept");
  printer.EndDoc();

  printer.BeginDoc("second");
  printer.Canvas().TextOutA(0, 0, "dropped 1");
  printer.NewPage();
  printer.Canvas().TextOutA(0, 0, "dropped 2");
  printer.Abort();
  EXPECT_FALSE(printer.Printing());
  EXPECT_TRUE(printer.Aborted());
  EXPECT_EQ(printer.PageNumber(), 0);
  EXPECT_EQ(printer.PageStrings(), (std::vector<std::vector<std::string>>{{"Text 0,0 \"kept\""}}));
  EXPECT_EQ(printer.Calls().back(), "Abort");

  // The next job starts clean.
  printer.BeginDoc("third");
  EXPECT_FALSE(printer.Aborted());
  printer.Canvas().TextOutA(0, 0, "new");
  printer.EndDoc();
  EXPECT_EQ(printer.PageStrings(), (std::vector<std::vector<std::string>>{{"Text 0,0 \"new\""}}));
}

// A job through TPrintJob is ended or aborted, and the device's copies and
// collation come back, however the printing goes.
TEST(PrintJob, EndsOrAbortsAndRestoresTheCopies) {
  enum class Way { Ends, Throws, BeginFails };
  const struct {
    const char* name;
    Way way;
    std::vector<std::string> calls;
  } cases[] = {
      {"ended", Way::Ends, {"BeginDoc \"job\" copies=3 collate=1", "NewPage", "EndDoc"}},
      {"an error while printing", Way::Throws, {"BeginDoc \"job\" copies=3 collate=1", "NewPage", "Abort"}},
      {"BeginDoc refused", Way::BeginFails, {"BeginDoc \"busy\" copies=1 collate=0", "Abort"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TFakePrinterDevice printer({600, 600, 4961, 7016, 100, 100, 4761, 6816, true});
    if (c.way == Way::BeginFails) printer.BeginDoc("busy");
    try {
      TPrintJob job(printer, "job", 3, true);
      EXPECT_EQ(printer.Copies(), 3);
      printer.NewPage();
      if (c.way == Way::Throws) throw std::runtime_error("drawing failed");
      job.End();
      EXPECT_EQ(printer.Copies(), 1);
    } catch (const std::exception& e) {
      EXPECT_NE(c.way, Way::Ends) << e.what();
    }
    if (c.way == Way::BeginFails) printer.Abort();  // the job that was already running
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.Copies(), 1);
    EXPECT_FALSE(printer.Collate());
    EXPECT_EQ(printer.Calls(), c.calls);
  }
}

}  // namespace
}  // namespace quillet
