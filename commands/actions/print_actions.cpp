#include "commands/actions/print_actions.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <algorithm>

#include "editing/control/editor.h"
#include "engine/print/preview_dialog.h"
#include "engine/print/print_component.h"
#include "platform/gfx/qt_printer_device.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

class THourglass {
 public:
  THourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~THourglass() { QApplication::restoreOverrideCursor(); }
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;
};

QObject* OwnerOf(TCustomDocViewEdit& editor) { return editor.Widget() ? editor.Widget()->parent() : nullptr; }

}  // namespace

TDVPrintComponent::TDVPrintComponent(QObject* owner, TPrinterDevice* printer) : QObject(owner) {
  if (!printer) {
    ownPrinter_ = std::make_unique<TQtPrinterDevice>();
    printer = ownPrinter_.get();
  }
  printer_ = printer;
  print_ = std::make_unique<TDVPrint>(*printer_);
}

TDVPrintComponent::~TDVPrintComponent() {
  // The component goes before the printer it was made with.
  print_.reset();
}

void TdvCustomPrintAction::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  setEnabled(editor && editor->EditData().ItemCount() > 0 && !CommonDialogs().PrinterNames().empty());
}

TdvCustomPrintAction::TUsedPrint::TUsedPrint(TDVPrint& print, std::unique_ptr<TDVPrintComponent> made)
    : print_(print), made_(std::move(made)) {}

TdvCustomPrintAction::TUsedPrint::~TUsedPrint() {
  // A component made for the execution must not keep sharing the items.
  if (made_) print_.AssignSource(nullptr);
}

TdvCustomPrintAction::TUsedPrint TdvCustomPrintAction::InitDVPrint(TCustomDocViewEdit& editor) {
  if (DVPrint) return TUsedPrint(*DVPrint, nullptr);
  QObject* owner = OwnerOf(editor);
  if (auto* found = FindComponentByClass<TDVPrintComponent>(owner)) return TUsedPrint(found->Print(), nullptr);
  auto made = std::make_unique<TDVPrintComponent>(owner);
  TDVPrint& print = made->Print();
  return TUsedPrint(print, std::move(made));
}

int TdvCustomPrintAction::Paginate(TDVPrint& print, TCustomDocViewEdit& editor) {
  THourglass hourglass;
  print.AssignSource(&editor);
  return print.FormatPages();
}

void TdvActionPrint::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  TUsedPrint used = InitDVPrint(*editor);
  TDVPrint& print = used.Print();
  const int count = Paginate(print, *editor);
  if (count < 1) return;
  TPrintQuestion question;
  question.MinPage = question.FromPage = 1;
  question.MaxPage = question.ToPage = count;
  if (!CommonDialogs().Print(question)) return;
  {
    THourglass hourglass;
    print.FormatPages();
  }
  if (question.FromPage == 0) {
    print.Print(Title, question.Copies, question.Collate);
    return;
  }
  // The dialog keeps to the pages it was given; an answer from elsewhere
  // is brought into them too.
  const int pages = print.PagesCount();
  const int from = std::clamp(question.FromPage, 1, pages), to = std::clamp(question.ToPage, 1, pages);
  if (from <= to) print.PrintPages(from, to, Title, question.Copies, question.Collate);
}

void TdvActionQuickPrint::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  TUsedPrint used = InitDVPrint(*editor);
  THourglass hourglass;
  TDVPrint& print = used.Print();
  print.AssignSource(editor);
  if (print.FormatPages() > 0) print.Print(Title, 1, false);
}

void TdvActionPrintPreview::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  TdvActionPrint* printAction = ActionPrint ? ActionPrint.data() : FindComponentByClass<TdvActionPrint>(parent());
  bool print = false;
  {
    TfrmDVPreview form;
    TUsedPrint used = InitDVPrint(*editor);
    form.PrintAction()->setEnabled(printAction != nullptr);
    if (Paginate(used.Print(), *editor) < 1) return;
    TDVPrintPreview& preview = form.dvpp();
    preview.SetDVPrint(&used.Print());
    preview.First();
    form.UpdateToolbar();
    print = form.ShowModal() == mrOk && printAction;
    preview.SetDVPrint(nullptr);
  }
  // Printing paginates again, with the print command's own component.
  if (print && printAction->HandlesTarget(target)) printAction->ExecuteTarget(target);
}

}  // namespace quillet
