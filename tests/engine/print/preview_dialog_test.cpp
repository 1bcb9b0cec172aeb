// The preview dialog offscreen: the zoom box, the page edit and the tool bar.
#include "engine/print/preview_dialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include "platform/core/beep.h"
#include "print_test_data.h"

namespace quillet::test {
namespace {

struct DialogFixture {
  DialogFixture() : printer(ScreenPrinter(200, 40)), print(printer) {
    print.SetLeftMarginMM(0);
    print.SetRightMarginMM(0);
    print.SetTopMarginMM(0);
    print.SetBottomMarginMM(0);
    doc.AddLines("abcdefgh");  // three pages
    print.AssignSource(&doc);
    print.FormatPages();
    form.dvpp().SetDVPrint(&print);
    form.ShowError = [this](const std::string& text, const std::string& caption) {
      errors.push_back(caption + ": " + text);
    };
    form.UpdateToolbar();
  }
  PrintDoc doc;
  TFakePrinterDevice printer;
  TDVPrint print;
  TfrmDVPreview form;
  std::vector<std::string> errors;
};

TEST(PreviewDialog, Captions) {
  DialogFixture f;
  EXPECT_EQ(f.form.Dialog()->windowTitle().toStdString(), "打印预览");
  EXPECT_EQ(f.form.dvpp().MarginsPen.Style, psDot);
  EXPECT_EQ(f.form.PageCountText(), "of 3");
}

struct ZoomCase {
  const char* text;
  TDVZoomMode mode;
  int zoom;  // 0: not checked
  bool error;
};

TEST(PreviewDialog, ZoomTexts) {
  for (const ZoomCase& c :
       {ZoomCase{"75", dvzmCustom, 75, false}, ZoomCase{"75%", dvzmCustom, 75, false},
        ZoomCase{"10", dvzmCustom, 10, false}, ZoomCase{"500%", dvzmCustom, 500, false},
        ZoomCase{"5", dvzmCustom, 150, true}, ZoomCase{"600", dvzmCustom, 150, true},
        ZoomCase{"abc", dvzmCustom, 150, true}, ZoomCase{"", dvzmCustom, 150, true},
        ZoomCase{"Page width", dvzmPageWidth, 0, false}, ZoomCase{"Full page", dvzmFullPage, 0, false}}) {
    DialogFixture f;
    f.form.dvpp().SetZoom(150);
    f.form.SetZoomText(c.text);
    f.form.UpdateZoom();
    EXPECT_EQ(f.form.dvpp().ZoomMode(), c.mode) << c.text;
    if (c.zoom) {
      EXPECT_EQ(f.form.dvpp().ZoomPercent(), c.zoom) << c.text;
    }
    EXPECT_EQ(f.errors, c.error ? std::vector<std::string>{"Scale: Please enter number from 10 to 500"}
                                : std::vector<std::string>{})
        << c.text;
    // The box shows the zoom in force.
    if (c.mode == dvzmCustom) {
      EXPECT_EQ(f.form.ZoomText(), std::to_string(f.form.dvpp().ZoomPercent()) + "%");
    }
  }
}

TEST(PreviewDialog, PageEditClampsToThePages) {
  struct Case {
    const char* typed;
    int page;
  };
  DialogFixture f;
  f.form.dvpp().SetPageNo(2);
  for (Case c : {Case{"9", 3}, Case{"0", 1}, Case{"2", 2}, Case{"", 2}, Case{"00003", 3}}) {
    f.form.SetPageText(c.typed);
    f.form.GoToPage();
    EXPECT_EQ(f.form.dvpp().PageNo(), c.page) << c.typed;
    EXPECT_EQ(f.form.PageText(), std::to_string(c.page));
  }
}

TEST(PreviewDialog, ToolbarFollowsThePage) {
  DialogFixture f;
  struct Case {
    int page;
    bool first, prior, next, last;
  };
  for (Case c :
       {Case{1, false, false, true, true}, Case{2, true, true, true, true}, Case{3, true, true, false, false}}) {
    f.form.SetPageText(std::to_string(c.page));
    f.form.GoToPage();
    EXPECT_EQ(f.form.NavigationEnabled(0), c.first) << c.page;
    EXPECT_EQ(f.form.NavigationEnabled(1), c.prior) << c.page;
    EXPECT_EQ(f.form.NavigationEnabled(2), c.next) << c.page;
    EXPECT_EQ(f.form.NavigationEnabled(3), c.last) << c.page;
  }
}

TEST(PreviewDialog, PageEditTakesDigitsOnly) {
  DialogFixture f;
  int beeps = 0;
  SetSystemBeepHandler([&] { ++beeps; });
  auto* edit = f.form.Dialog()->findChild<QLineEdit*>("txtPageNo");
  ASSERT_NE(edit, nullptr);
  edit->clear();
  QTest::keyClicks(edit, "2a-3");
  EXPECT_EQ(edit->text().toStdString(), "23");
  EXPECT_EQ(beeps, 2);
  SetSystemBeepHandler(nullptr);
}

}  // namespace
}  // namespace quillet::test
