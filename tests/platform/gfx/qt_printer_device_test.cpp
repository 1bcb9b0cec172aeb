// The printer device over QPrinter, printing to PDF files that are read back
// with pdftotext (poppler-utils). Without pdftotext the reading tests skip,
// except under CI (CI=true), where they fail.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "platform/gfx/canvas.h"
#include "platform/gfx/qt_printer_device.h"

#include "engine/print/pdf_pages.h"

namespace quillet {
namespace {

// The text of a PDF file, pages ended by form feeds.
std::string PdfText(const QString& file) {
  QProcess p;
  p.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", file, "-"});
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return "<pdftotext failed>";
  return p.readAllStandardOutput().toStdString();
}

std::string Utf8(const QString& s) { return s.toUtf8().toStdString(); }

QStringList Entries(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

class QtPrinter : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    printer_.SetOutputFileName(Utf8(File()));
  }
  QString File() const { return dir_.filePath("out.pdf"); }

  // Two pages with a line of text each.
  void PrintTwoPages() {
    printer_.BeginDoc("Two pages");
    TCanvas& canvas = printer_.Canvas();
    canvas.Font().Name = "Arial";
    canvas.Font().SetSize(12);
    canvas.TextOutA(600, 600, "First page text");
    printer_.NewPage();
    canvas.TextOutW(600, 600, u"Second page 第二页");
    printer_.EndDoc();
  }

  QTemporaryDir dir_;
  TQtPrinterDevice printer_;
};

TEST_F(QtPrinter, PdfGeometryIsAnA4SheetAt600DpiWithoutBorder) {
  EXPECT_TRUE(printer_.PrintsToFile());
  EXPECT_EQ(printer_.PixelsPerInchX(), 600);
  EXPECT_EQ(printer_.PixelsPerInchY(), 600);
  // A4 is 210 by 297 mm.
  EXPECT_NEAR(printer_.PhysicalWidth(), 210 * 600 / 25.4, 3);
  EXPECT_NEAR(printer_.PhysicalHeight(), 297 * 600 / 25.4, 3);
  EXPECT_EQ(printer_.PageWidth(), printer_.PhysicalWidth());
  EXPECT_EQ(printer_.PageHeight(), printer_.PhysicalHeight());
  EXPECT_EQ(printer_.PhysicalOffsetX(), 0);
  EXPECT_EQ(printer_.PhysicalOffsetY(), 0);
  EXPECT_FALSE(printer_.CanCopy());
  TCanvas& canvas = printer_.Canvas();
  EXPECT_EQ(canvas.PixelsPerInchX(), 600);
  EXPECT_EQ(canvas.Font().PixelsPerInch, 600);
}

TEST_F(QtPrinter, TwoPagesReachThePdf) {
  PrintTwoPages();
  EXPECT_FALSE(printer_.Printing());
  ASSERT_TRUE(QFile::exists(File()));
  EXPECT_EQ(Entries(dir_), QStringList{"out.pdf"});  // nothing else is left beside it
  QUILLET_REQUIRE_POPPLER_TOOL("pdftotext");
  const std::string text = PdfText(File());
  // pdftotext ends every page with a form feed.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2) << text;
  const size_t first = text.find("First page text"), second = text.find("Second page 第二页");
  ASSERT_NE(first, std::string::npos) << text;
  ASSERT_NE(second, std::string::npos) << text;
  EXPECT_LT(first, text.find('\f'));
  EXPECT_GT(second, text.find('\f'));
}

TEST_F(QtPrinter, AbortLeavesNoHalfJobAndTheOldFileAsItWas) {
  {
    QFile old(File());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  printer_.BeginDoc("Dropped");
  printer_.Canvas().TextOutA(600, 600, "never printed");
  printer_.NewPage();
  EXPECT_EQ(Entries(dir_).size(), 2);  // the job writes beside the target
  printer_.Abort();
  EXPECT_TRUE(printer_.Aborted());
  EXPECT_EQ(Entries(dir_), QStringList{"out.pdf"});
  QFile kept(File());
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), QByteArray("old"));

  // A device destroyed during a job aborts it.
  {
    TQtPrinterDevice other;
    other.SetOutputFileName(Utf8(dir_.filePath("other.pdf")));
    other.BeginDoc("Left running");
  }
  EXPECT_EQ(Entries(dir_), QStringList{"out.pdf"});
}

TEST_F(QtPrinter, AFileThatCannotBeWrittenFailsTheJobCleanly) {
  printer_.SetOutputFileName(Utf8(dir_.filePath("missing/out.pdf")));
  try {
    printer_.BeginDoc("Nowhere");
    ADD_FAILURE() << "no error";
  } catch (const EPrinterError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + Utf8(dir_.filePath("missing/out.pdf")) + "\"");
  }
  EXPECT_FALSE(printer_.Printing());
  EXPECT_TRUE(Entries(dir_).isEmpty());
  // The device is usable afterwards.
  printer_.SetOutputFileName(Utf8(File()));
  PrintTwoPages();
  EXPECT_TRUE(QFile::exists(File()));
}

TEST_F(QtPrinter, OutsideAJobTheCanvasMeasuresAndDrawsNothing) {
  TCanvas& canvas = printer_.Canvas();
  canvas.Font().Name = "Arial";
  canvas.Font().SetSize(12);  // 100 device pixels
  const TSize extent = canvas.TextExtentA("Measure");
  EXPECT_GT(extent.cx, 300);
  EXPECT_NEAR(canvas.GetTextMetrics().tmHeight, 116, 10);
  canvas.TextOutA(0, 0, "Measure");
  canvas.FillRect({0, 0, 100, 100});
  EXPECT_TRUE(Entries(dir_).isEmpty());  // no job was begun
  // The job draws with the same measures.
  printer_.BeginDoc("Same");
  EXPECT_EQ(&printer_.Canvas(), &canvas);
  EXPECT_EQ(printer_.Canvas().TextExtentA("Measure"), extent);
  printer_.EndDoc();
}

TEST_F(QtPrinter, CopiesAndCollationArePassedOnToThePrinter) {
  printer_.SetCopies(3);
  printer_.SetCollate(true);
  printer_.BeginDoc("Copies");
  EXPECT_EQ(printer_.Printer().copyCount(), 3);
  EXPECT_TRUE(printer_.Printer().collateCopies());
  printer_.EndDoc();
  EXPECT_EQ(printer_.Printer().docName(), QString("Copies"));
}

TEST(SafeFileName, TitlesBecomeSafeFileNames) {
  const struct {
    std::string title, name;
  } cases[] = {
      {"Report", "Report"},
      {"合同 2024", "合同 2024"},
      {"../../etc/passwd", "_.._etc_passwd"},
      {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
      {"line\nbreak\ttab", "line_break_tab"},
      {" . hidden . ", "hidden"},
      {"...", "document"},
      {"", "document"},
      {std::string(150, 'x'), std::string(100, 'x')},
      // A character beyond the limit is dropped whole, never half of it.
      {std::string(99, 'x') + "😀", std::string(99, 'x')},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeFileName(c.title), c.name) << c.title;
}

TEST(QtPrinterTarget, WithoutAFileNameTheTitleNamesTheFile) {
  TQtPrinterDevice printer;
  if (!printer.PrintsToFile()) GTEST_SKIP() << "a printer is installed";
  const QString target = QString::fromStdString(printer.TargetFileName("a/b"));
  EXPECT_TRUE(target.endsWith("/a_b.pdf")) << target.toStdString();
  printer.SetOutputFileName("/tmp/x.pdf");
  EXPECT_EQ(printer.TargetFileName("a/b"), "/tmp/x.pdf");
}

}  // namespace
}  // namespace quillet
