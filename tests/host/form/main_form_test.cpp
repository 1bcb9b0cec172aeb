// The main form offscreen, driven by its component names as a host drives
// it: menu control, the popup's tracking items, the page geometry with and
// without a printer that answers, annotation mode in and out, the keys that
// reach a cell editor or the annotations, and a printed PDF with its page
// texts.
#include "host/form/main_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <functional>

#include "commands/dialogs/text_options.h"
#include "editing/control/editor.h"
#include "editing/edit_test_util.h"
#include "editing/table/table_item.h"
#include "editing/table/table_test_util.h"
#include "engine/print/pdf_pages.h"
#include "host/annotation/postil.h"
#include "host/annotation/postil_binding.h"
#include "host/db/db_module.h"
#include "host/form/table_cells.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/fake_printer_device.h"
#include "platform/gfx/qt_printer_device.h"
#include "platform/ui/common_dialogs.h"
#include "support/dialog_answers.h"

namespace quillet::test {
namespace {

class MainFormTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterTableItem();
    form = std::make_unique<TMainForm>(nullptr, &printer);
    form->Widget()->resize(1000, 700);
  }
  void Show() {
    form->Widget()->show();
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
  }
  TDocViewEdit& Editor() const { return form->DVEditor(); }
  TDVEditDVData& Data() const { return Editor().EditData(); }
  // Text, a 2 x 2 table, text.
  TDVTableItemInfo& PlaceTable() {
    LoadDoc(Data(), R"(P0 0"before")");
    auto table = std::make_unique<TDVTableItemInfo>(2, 2, &Data());
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c) AddCellText(*table->GetCells(r, c), std::to_string(r) + "." + std::to_string(c));
    table->ParaNo = 0;
    TDVTableItemInfo& placed = *table;
    Data().AddItem("", std::move(table));
    Editor().Format();
    return placed;
  }
  void Stroke(QPoint from, QPoint to) {
    QWidget* client = Editor().ClientWidget();
    QTest::mousePress(client, Qt::LeftButton, {}, from);
    for (int i = 1; i <= 4; ++i) QTest::mouseMove(client, from + (to - from) * i / 4);
    QTest::mouseRelease(client, Qt::LeftButton, {}, to);
  }
  size_t Strokes() const {
    size_t n = 0;
    for (const std::string& line : form->qvPostil().NewPostil()) n += line.rfind("QPM;", 0) == 0;
    return n;
  }

  TFakePrinterDevice printer;
  std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, MenuControlSetsTheItemAndItsButtonByName) {
  Show();
  struct Case {
    const char* name;
    bool enable, visible;
  };
  for (const Case& c : {Case{"FilePrint", false, true}, Case{"FilePrint", true, false},
                        Case{"BeginComment", false, false}, Case{"FilePrint", true, true}}) {
    SCOPED_TRACE(c.name);
    form->MenuControl(c.name, c.enable, c.visible);
    QAction* item = form->MenuItem(c.name);
    ASSERT_NE(item, nullptr);
    // A hidden item cannot be triggered, so it reads as disabled too.
    EXPECT_EQ(item->isEnabled(), c.enable && c.visible);
    EXPECT_EQ(item->isVisible(), c.visible);
    QWidget* button = form->Control(std::string(c.name) + "Button");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->isEnabled(), c.enable);
    EXPECT_EQ(button->isHidden(), !c.visible);
  }
  // A box is no menu item: nothing changes, and a name of nothing is quiet.
  form->MenuControl("cbFontName", false, false);
  EXPECT_TRUE(form->Control("cbFontName")->isEnabled());
  EXPECT_TRUE(form->Control("cbFontName")->isVisible());
  form->MenuControl("NoSuchItem", false, false);
}

TEST_F(MainFormTest, HidingTraceChangeHidesThePopupsFourTrackingItems) {
  const char* const tracking[] = {"popStartTrace", "popAcceptChange", "popRejectChange", "popStopTrace"};
  form->MenuControl("StopTrace", false, true);
  emit form->PopupMenu()->aboutToShow();
  for (const char* name : tracking) EXPECT_TRUE(form->MenuItem(name)->isVisible()) << name;
  EXPECT_FALSE(form->MenuItem("popStopTrace")->isEnabled());
  EXPECT_TRUE(form->MenuItem("popStartTrace")->isEnabled());

  form->MenuControl("TraceChange", true, false);
  emit form->PopupMenu()->aboutToShow();
  for (const char* name : tracking) EXPECT_FALSE(form->MenuItem(name)->isVisible()) << name;
  EXPECT_TRUE(form->MenuItem("popBeginComment")->isVisible());
}

TEST(ScreenPageSize, PrinterPageLessMarginsAtScreenResolution) {
  struct Case {
    const char* what;
    TFakePrinterSetup setup;
    TRect marginsMM;
    std::optional<TSize> size;
  };
  TFakePrinterSetup silent;
  silent.PixelsPerInchX = 0;
  TFakePrinterSetup noPage;
  noPage.PageWidth = 0;
  const Case cases[] = {
      // 20 mm is 472 printer pixels, 100 of them beyond the printable edge.
      {"A4 at 600 dpi, 20 mm", {}, {20, 20, 20, 20}, TSize{643, 972}},
      // Margins inside the unprintable edge count as none.
      {"margins under the edge", {}, {2, 2, 2, 2}, TSize{762, 1091}},
      {"no resolution", silent, {20, 20, 20, 20}, std::nullopt},
      {"no page", noPage, {20, 20, 20, 20}, std::nullopt},
  };
  for (const Case& c : cases) {
    TFakePrinterDevice device(c.setup);
    EXPECT_EQ(ScreenPageSize(device, c.marginsMM, 96, 96), c.size) << c.what;
  }
}

TEST_F(MainFormTest, PageIsCentredWithAGutterAndFallsBackWithoutAPrinter) {
  Show();
  form->DVEditorResize();
  EXPECT_EQ(form->PageTextSize(), (TSize{643, 972}));
  const int32_t gutter = (Editor().ClientWidth() - 643) / 2;
  EXPECT_GT(gutter, 0);
  EXPECT_EQ(form->Gutter(), gutter);
  EXPECT_EQ(Editor().LeftMargin, gutter);
  EXPECT_EQ(Editor().MinTextWidth, 643);
  EXPECT_EQ(Editor().ClientWidth() - Editor().RightMargin - gutter, 643) << "lines wrap at the page's edge";
  EXPECT_EQ(form->qvPostil().LeftOffset(), gutter);
  EXPECT_TRUE(form->MenuItem("FilePrint")->isEnabled());

  // An editor narrower than the page shows it from its left edge.
  form->Widget()->resize(400, 500);
  QApplication::processEvents();
  form->DVEditorResize();
  EXPECT_EQ(form->Gutter(), 0);

  TFakePrinterSetup silent;
  silent.PixelsPerInchX = silent.PixelsPerInchY = 0;
  TFakePrinterDevice mute(silent);
  TMainForm noPrinter(nullptr, &mute);
  noPrinter.DVEditorResize();
  EXPECT_EQ(noPrinter.PageTextSize(), kFallbackPageSize);
  EXPECT_FALSE(noPrinter.MenuItem("FilePrint")->isEnabled());
  EXPECT_FALSE(noPrinter.MenuItem("FilePrintPreview")->isEnabled());
}

TEST_F(MainFormTest, PrintingTakesTheGutterOffAndPutsItBackEvenWhenCancelled) {
  Show();
  LoadDoc(Data(), R"(P0 0"text")");
  form->DVEditorResize();
  const int32_t margin = Editor().LeftMargin;
  ASSERT_GT(margin, 0);
  TScriptedCommonDialogs dialogs;  // the print dialog is cancelled
  dialogs.Printers = {"Fake"};
  TScopedCommonDialogs scoped(dialogs);
  form->MenuItem("FilePrint")->trigger();
  EXPECT_EQ(dialogs.Asked.size(), 1u);
  EXPECT_EQ(Editor().LeftMargin, margin);
}

TEST_F(MainFormTest, AnnotationModeInAndOutKeepsTheEditorAndTables) {
  Show();
  TDVTableItemInfo& table = PlaceTable();
  table.Options = dvtoEditing | dvtoRowSizing | dvtoColSelect;
  const TDVTableOptions tableOptions = table.Options;
  table.CreateInplace(table.GetMyItemNo(), 1, 1, false, true, true);
  ASSERT_NE(Editor().InplaceTarget(), nullptr);
  const TDVOptions options = Editor().Options();

  form->BeginCommentClick();
  EXPECT_TRUE(form->Annotating());
  EXPECT_TRUE(Editor().ReadOnly);
  EXPECT_FALSE(Editor().AllowSelection());
  EXPECT_EQ(Editor().InplaceTarget(), nullptr);
  EXPECT_EQ(table.Options & (dvtoEditing | dvtoRowSizing | dvtoColSelect), 0);
  EXPECT_FALSE(form->MenuItem("BeginComment")->isEnabled());
  EXPECT_TRUE(form->MenuItem("EndComment")->isEnabled());

  form->EndCommentClick();
  EXPECT_FALSE(form->Annotating());
  EXPECT_FALSE(Editor().ReadOnly);
  EXPECT_EQ(Editor().Options(), options);
  EXPECT_EQ(table.Options, tableOptions);
  EXPECT_EQ(Editor().InplaceTarget(), nullptr) << "no cell editor opens";
  EXPECT_TRUE(form->MenuItem("BeginComment")->isEnabled());
  EXPECT_FALSE(form->MenuItem("EndComment")->isEnabled());

  // A read-only editor stays read-only.
  Editor().SetReadOnly(true);
  form->BeginCommentClick();
  form->EndCommentClick();
  EXPECT_TRUE(Editor().ReadOnly);
}

TEST_F(MainFormTest, CtrlZInAnnotationModeTakesBackStrokesNotText) {
  Show();
  Editor().InsertText("typed");
  const int textUndo = Data().UndoList->Count();
  ASSERT_GT(textUndo, 0);
  form->BeginCommentClick();
  Stroke(QPoint(40, 40), QPoint(120, 80));
  Stroke(QPoint(40, 120), QPoint(120, 160));
  ASSERT_EQ(Strokes(), 2u);
  QTest::keyClick(form->Widget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Strokes(), 1u);
  QTest::keyClick(form->Widget(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Strokes(), 2u);
  EXPECT_EQ(Data().UndoList->Count(), textUndo);
  EXPECT_NE(Editor().GetItemText(0).find("typed"), std::string::npos);
  form->EndCommentClick();
  QTest::keyClick(form->Widget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Data().UndoList->Count(), textUndo - 1);
  EXPECT_EQ(Strokes(), 2u);
}

// Strokes, seals and their undo are changes of the document: the close
// question of new asks for them instead of dropping them unasked.
TEST_F(MainFormTest, DrawingMakesTheCloseQuestionAsk) {
  Show();
  form->BeginCommentClick();
  struct Case {
    const char* name;
    std::function<void()> draw;
  };
  const Case cases[] = {
      {"Stroke", [&] { Stroke(QPoint(40, 40), QPoint(120, 80)); }},
      {"UndoOfAStroke",
       [&] {
         Stroke(QPoint(40, 40), QPoint(120, 80));
         Editor().Modified = false;
         QTest::keyClick(form->Widget(), Qt::Key_Z, Qt::ControlModifier);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Editor().Modified = false;
    c.draw();
    EXPECT_TRUE(Editor().Modified);
    const std::vector<std::string> drawn = form->qvPostil().NewPostil();
    TScriptedCommonDialogs dialogs;
    TScopedCommonDialogs scope{dialogs};
    dialogs.Answers = {Button(IDCANCEL)};
    form->MenuItem("FileNew")->trigger();
    ASSERT_EQ(dialogs.Asked.size(), 1u);
    EXPECT_EQ(dialogs.Asked[0].Kind, TScriptedCommonDialogs::dkMessage);
    EXPECT_EQ(form->qvPostil().NewPostil(), drawn);
  }
}

TEST_F(MainFormTest, CtrlVPastesIntoTheOpenCellEditor) {
  Show();
  TDVTableItemInfo& table = PlaceTable();
  table.CreateInplace(table.GetMyItemNo(), 0, 1, false, true, true);
  TCustomDocViewEdit* cell = Editor().InplaceTarget();
  ASSERT_NE(cell, nullptr);
  QApplication::clipboard()->setText("pasted");
  QTest::keyClick(form->Widget(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_NE(form->TableCells().GetTableContent(1, 0, 1).find("pasted"), std::string::npos);
  EXPECT_EQ(Editor().GetItemText(0), "before");
}

TEST_F(MainFormTest, BoldFromTheMenuFollowsTheCaretBack) {
  Show();
  LoadDoc(Data(), R"(P0 0"plain")");
  Editor().SelectAll();
  form->MenuItem("FontBold")->trigger();
  ASSERT_TRUE(form->MenuItem("FontBold")->isChecked());
  EXPECT_TRUE(form->Control("FontBoldButton")->property("checked").toBool());
  Data().SetSelectionBounds(0, 1, 0, 1);
  form->FollowCaret();
  EXPECT_TRUE(form->MenuItem("FontBold")->isChecked());
  const auto* size = static_cast<QComboBox*>(form->Control("cbFontSize"));
  EXPECT_EQ(size->currentText().toInt(), form->DVStyle().TextStyles()[Editor().CurTextStyleNo()].Size);
}

TEST_F(MainFormTest, PicturesFromTheMenuAreNamedForTrackingOnAndOff) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string bmp = dir.path().toStdString() + "/p.bmp";
  TBitmap(8, 8).SaveToFile(bmp);
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scoped(dialogs);
  const auto insert = [&] {
    TFileQuestion chosen;
    chosen.FileName = bmp;
    dialogs.Answers = {{true, chosen}};
    form->MenuItem("InsertPictureFromFile")->trigger();
  };
  LoadDoc(Data(), R"(P0 0"x")");
  Data().SetSelectionBounds(0, 1, 0, 1);
  insert();
  form->DbDm().CurUserName = Utf8ToAnsi("审阅甲");
  form->StartTraceClick();
  insert();
  std::vector<std::string> names;
  for (int i = 0; i < Data().ItemCount(); ++i)
    if (Data().GetItemStyle(i) == dvsPicture) names.push_back(AnsiToUtf8(Data().GetItemTextR(i)));
  EXPECT_EQ(names, (std::vector<std::string>{"图片", "审阅甲插入的图片"}));
}

TEST_F(MainFormTest, PrintedPdfCarriesPageNumbersHeaderAndFooter) {
  QUILLET_REQUIRE_POPPLER_TOOL("pdftotext");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.path() + "/doc.pdf";
  TQtPrinterDevice pdf;
  pdf.SetOutputFileName(file.toStdString());
  TMainForm pdfForm(nullptr, &pdf);
  LoadDoc(pdfForm.DVEditor().EditData(), R"(P0 0"one" P0 ^ 0"two" P0 ^ 0"three")");
  pdfForm.DVEditor().Format();
  TTextOptions& options = pdfForm.PageOptions();
  options.Header = "Header line";
  options.Footer = "Footer line";
  TScriptedCommonDialogs dialogs;
  dialogs.Printers = {"PDF"};
  TPrintQuestion all;
  dialogs.Answers = {{true, all}};
  TScopedCommonDialogs scoped(dialogs);
  pdfForm.MenuItem("FilePrint")->trigger();

  const std::vector<std::vector<std::string>> pages = PdfPages(file);
  ASSERT_EQ(pages.size(), 3u);
  std::string second;
  for (const std::string& word : pages[1]) second += (second.empty() ? "" : " ") + word;
  for (const char* text : {"two", "Header line", "Footer line"})
    EXPECT_NE(second.find(text), std::string::npos) << text << " in: " << second;
  // pdftotext runs Chinese characters together, spaces or not.
  std::string packed = second;
  std::erase(packed, ' ');
  EXPECT_NE(packed.find("第2页共3页"), std::string::npos) << second;
}

}  // namespace
}  // namespace quillet::test
