// The print commands on a real editor, printing on the fake printer (and
// once into a PDF file read back with pdftotext): when they are offered,
// the pages and copies they print, the preview and its print button, and
// where they find their print component.
#include "commands/actions/print_actions.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <optional>
#include <tuple>

#include "../../editing/edit_test_util.h"
#include "../../engine/print/pdf_pages.h"
#include "engine/print/preview_dialog.h"
#include "engine/print/print_component.h"
#include "platform/gfx/fake_printer_device.h"
#include "platform/gfx/qt_printer_device.h"
#include "platform/ui/common_dialogs.h"

namespace quillet::test {
namespace {

// Three pages, one word each.
constexpr const char* kThreePages = R"(P0 0"first" P0 ^ 0"second" P0 ^ 0"third")";

class PrintActions : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    dialogs.Printers = {"Fake"};
    for (TdvCustomPrintAction* action : std::initializer_list<TdvCustomPrintAction*>{&print, &quick, &preview}) {
      action->SetControl(editor.get());
      action->DVPrint = &component;
    }
    Load(kThreePages);
  }
  void TearDown() override {
    component.AssignSource(nullptr);
    EditTest::TearDown();
  }
  // The words printed on each page of the last job.
  std::vector<std::string> PrintedPages() const {
    std::vector<std::string> pages;
    for (const auto& page : printer.PageStrings()) {
      std::string words;
      for (const std::string& record : page)
        for (const char* word : {"first", "second", "third"})
          if (record.find(word) != std::string::npos) words += word;
      pages.push_back(words);
    }
    return pages;
  }
  TScriptedCommonDialogs::TAnswer PrintAnswer(int from, int to, int copies, bool collate) {
    TPrintQuestion q;
    q.FromPage = from;
    q.ToPage = to;
    q.Copies = copies;
    q.Collate = collate;
    return {true, q};
  }

  TFakePrinterDevice printer;
  TDVPrint component{printer};
  TScriptedCommonDialogs dialogs;
  TScopedCommonDialogs scope{dialogs};
  TdvActionPrint print;
  TdvActionQuickPrint quick;
  TdvActionPrintPreview preview;
};

TEST_F(PrintActions, OfferedWithADocumentAndAPrinter) {
  const struct {
    bool items, printers, enabled;
  } cases[] = {{true, true, true}, {false, true, false}, {true, false, false}};
  for (const auto& c : cases) {
    if (c.items) Load(kThreePages);
    else editor->Clear();
    dialogs.Printers = c.printers ? std::vector<std::string>{"Fake"} : std::vector<std::string>{};
    for (TdvCustomPrintAction* action : std::initializer_list<TdvCustomPrintAction*>{&print, &quick, &preview}) {
      action->UpdateNow();
      EXPECT_EQ(action->isEnabled(), c.enabled) << c.items << c.printers;
    }
  }
}

TEST_F(PrintActions, PrintAsksForPagesOneToTheCountAndPrintsTheChoice) {
  const struct {
    const char* what;
    std::optional<TScriptedCommonDialogs::TAnswer> answer;
    std::vector<std::string> pages;
  } cases[] = {
      {"all", PrintAnswer(0, 0, 1, false), {"first", "second", "third"}},
      {"a range", PrintAnswer(2, 3, 1, false), {"second", "third"}},
      {"two collated copies", PrintAnswer(2, 3, 2, true), {"second", "third", "second", "third"}},
      {"two copies apart", PrintAnswer(1, 2, 2, false), {"first", "first", "second", "second"}},
      {"beyond the pages", PrintAnswer(3, 9, 1, false), {"third"}},
      {"cancelled", TScriptedCommonDialogs::TAnswer{false, {}}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    printer.ClearCalls();
    dialogs.Asked.clear();
    dialogs.Answers = {*c.answer};
    print.Title = "doc";
    print.ExecuteNow();
    ASSERT_EQ(dialogs.Asked.size(), 1u);
    const auto& asked = std::get<TPrintQuestion>(dialogs.Asked[0].Question);
    EXPECT_EQ(std::tie(asked.MinPage, asked.MaxPage, asked.FromPage, asked.ToPage), std::make_tuple(1, 3, 1, 3));
    if (c.pages.empty()) {
      EXPECT_TRUE(printer.Calls().empty());
      continue;
    }
    ASSERT_FALSE(printer.Calls().empty());
    EXPECT_EQ(printer.Calls()[0].rfind("BeginDoc \"doc\"", 0), 0u) << printer.Calls()[0];
    EXPECT_EQ(PrintedPages(), c.pages);
  }
}

TEST_F(PrintActions, QuickPrintPrintsEveryPageOnceWithoutAsking) {
  quick.Title = "quick";
  quick.ExecuteNow();
  EXPECT_TRUE(dialogs.Asked.empty());
  EXPECT_EQ(PrintedPages(), (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_EQ(printer.Calls()[0].rfind("BeginDoc \"quick\"", 0), 0u);
}

TEST_F(PrintActions, PreviewShowsThePagesAndItsPrintButtonRunsThePrintCommand) {
  QObject owner;
  auto* ownPrint = new TdvActionPrint(&owner);
  ownPrint->SetControl(editor.get());
  ownPrint->DVPrint = &component;
  const struct {
    const char* what;
    TdvActionPrint* given;
    bool ownedAlongside;
    bool buttonEnabled;
  } cases[] = {
      {"the given print command", &print, false, true},
      {"the owner's print command", nullptr, true, true},
      {"no print command", nullptr, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TdvActionPrintPreview command(c.ownedAlongside ? &owner : nullptr);
    command.SetControl(editor.get());
    command.DVPrint = &component;
    command.ActionPrint = c.given;
    printer.ClearCalls();
    dialogs.Asked.clear();
    dialogs.Answers = {PrintAnswer(0, 0, 1, false)};
    bool enabled = false;
    int pages = 0, page = 0;
    TScopedModalRunner runner([&](TfrmDVBase& form) {
      auto& shown = static_cast<TfrmDVPreview&>(form);
      enabled = shown.PrintAction()->isEnabled();
      pages = shown.dvpp().PageCount();
      page = shown.dvpp().PageNo();
      // The print button closes the preview with OK.
      shown.PrintAction()->trigger();
      return shown.ModalResult();
    });
    command.ExecuteNow();
    EXPECT_EQ(enabled, c.buttonEnabled);
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(page, 1);
    EXPECT_EQ(dialogs.Asked.size(), c.buttonEnabled ? 1u : 0u);
    EXPECT_EQ(printer.Calls().empty(), !c.buttonEnabled);
    if (c.buttonEnabled) EXPECT_EQ(PrintedPages().size(), 3u);
  }
}

TEST_F(PrintActions, TheEditorOwnersPrintComponentIsUsedWhenNoneIsGiven) {
  TFakePrinterDevice formPrinter;
  QWidget form;
  editor->SetParentWidget(&form);
  auto* found = new TDVPrintComponent(&form, &formPrinter);
  quick.DVPrint = nullptr;
  quick.ExecuteNow();
  EXPECT_TRUE(printer.Calls().empty());
  EXPECT_EQ(formPrinter.Pages().size(), 3u);
  found->Print().AssignSource(nullptr);
  editor->SetParentWidget(nullptr);
}

TEST_F(PrintActions, WithoutAComponentOneIsMadeForTheExecutionAndFreed) {
  QWidget form;
  editor->SetParentWidget(&form);
  preview.DVPrint = nullptr;
  int pages = 0;
  bool madeInForm = false;
  TScopedModalRunner runner([&](TfrmDVBase& shown) {
    pages = static_cast<TfrmDVPreview&>(shown).dvpp().PageCount();
    madeInForm = FindComponentByClass<TDVPrintComponent>(&form) != nullptr;
    return int(mrCancel);
  });
  preview.ExecuteNow();
  EXPECT_EQ(pages, 3);
  EXPECT_TRUE(madeInForm);
  EXPECT_EQ(FindComponentByClass<TDVPrintComponent>(&form), nullptr);
  editor->SetParentWidget(nullptr);
}

TEST_F(PrintActions, PrintToPdfHoldsTheChosenPagesAndTheirText) {
  QUILLET_REQUIRE_POPPLER_TOOL("pdftotext");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.path() + "/doc.pdf";
  TQtPrinterDevice pdf;
  pdf.SetOutputFileName(file.toStdString());
  QWidget form;
  editor->SetParentWidget(&form);
  auto* found = new TDVPrintComponent(&form, &pdf);
  print.DVPrint = nullptr;
  dialogs.Answers = {PrintAnswer(2, 3, 1, false)};
  print.ExecuteNow();
  found->Print().AssignSource(nullptr);
  editor->SetParentWidget(nullptr);
  EXPECT_EQ(PdfPages(file), (std::vector<std::vector<std::string>>{{"second"}, {"third"}}));
}

}  // namespace
}  // namespace quillet::test
