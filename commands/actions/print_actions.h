#pragma once
// The print commands: they find or make the engine's print component,
// paginate the editor's document into it and preview or print it. A
// document that paginates to no pages is neither previewed nor printed.
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

#include "commands/actions/action.h"

namespace quillet {

class TDVPrint;
class TPrinterDevice;

// The print component as a component of a form, so that the commands find
// it among the children of the form that holds the editor (the editor's
// widget's parent).
class TDVPrintComponent : public QObject {
 public:
  // printer is not owned and must outlive the component; without one the
  // component prints on a QPrinter of its own (a PDF file when the machine
  // has no printer).
  explicit TDVPrintComponent(QObject* owner = nullptr, TPrinterDevice* printer = nullptr);
  ~TDVPrintComponent() override;
  TDVPrint& Print() const { return *print_; }
  TPrinterDevice& Printer() const { return *printer_; }

 private:
  std::unique_ptr<TPrinterDevice> ownPrinter_;
  TPrinterDevice* printer_;
  std::unique_ptr<TDVPrint> print_;
};

class TdvCustomPrintAction : public TdvAction {
 public:
  using TdvAction::TdvAction;
  // The print component to use; none: the first of the editor's owner,
  // else one made for the execution. Must outlive the command or be reset.
  TDVPrint* DVPrint = nullptr;
  // Enabled when the document has an item and the machine a printer.
  void UpdateTarget(TCustomControl* target) override;

 protected:
  // The print component of one execution; one it made goes with it.
  class TUsedPrint {
   public:
    TUsedPrint(TDVPrint& print, std::unique_ptr<TDVPrintComponent> made);
    ~TUsedPrint();
    TDVPrint& Print() const { return print_; }

   private:
    TDVPrint& print_;
    std::unique_ptr<TDVPrintComponent> made_;
  };
  TUsedPrint InitDVPrint(TCustomDocViewEdit& editor);
  // The editor's whole document paginated under the hourglass; the page count.
  static int Paginate(TDVPrint& print, TCustomDocViewEdit& editor);
};

class TdvActionPrint : public TdvCustomPrintAction {
 public:
  using TdvCustomPrintAction::TdvCustomPrintAction;
  std::string Title;
  // The print dialog with pages 1 to the page count; all pages or the
  // range chosen, with its copies and collation.
  void ExecuteTarget(TCustomControl* target) override;
};

class TdvActionQuickPrint : public TdvCustomPrintAction {
 public:
  using TdvCustomPrintAction::TdvCustomPrintAction;
  std::string Title;
  // Every page once, without a dialog.
  void ExecuteTarget(TCustomControl* target) override;
};

class TdvActionPrintPreview : public TdvCustomPrintAction {
 public:
  using TdvCustomPrintAction::TdvCustomPrintAction;
  // The command the preview's print button runs; none: the first print
  // command of this command's owner. Without either the button is disabled.
  QPointer<TdvActionPrint> ActionPrint;
  void ExecuteTarget(TCustomControl* target) override;
};

}  // namespace quillet
