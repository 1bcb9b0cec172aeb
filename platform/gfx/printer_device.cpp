#include "platform/gfx/printer_device.h"

namespace quillet {

void TPrinterDevice::CheckPrinting() const {
  if (!printing_) throw EPrinterError("Printer is not currently printing");
}

void TPrinterDevice::BeginDoc(const std::string& title) {
  if (printing_) throw EPrinterError("Printing in progress");
  title_ = title;
  aborted_ = false;
  DoBeginDoc();
  printing_ = true;
  pageNumber_ = 1;
}

void TPrinterDevice::NewPage() {
  CheckPrinting();
  DoNewPage();
  ++pageNumber_;
}

void TPrinterDevice::EndDoc() {
  CheckPrinting();
  // A job whose end fails is over all the same; the device has dropped it.
  printing_ = false;
  pageNumber_ = 0;
  try {
    DoEndDoc();
  } catch (...) {
    aborted_ = true;
    throw;
  }
}

void TPrinterDevice::Abort() {
  if (!printing_) return;
  printing_ = false;
  pageNumber_ = 0;
  aborted_ = true;
  DoAbort();
}

TPrintJob::TPrintJob(TPrinterDevice& device, const std::string& title, int32_t copies, bool collate)
    : device_(device), savedCopies_(device.Copies()), savedCollate_(device.Collate()) {
  device_.SetCopies(copies);
  device_.SetCollate(collate);
  try {
    device_.BeginDoc(title);
  } catch (...) {
    Restore();
    throw;
  }
}

TPrintJob::~TPrintJob() {
  if (!done_) device_.Abort();
  Restore();
}

void TPrintJob::End() {
  if (done_) return;
  done_ = true;
  device_.EndDoc();  // a failure leaves the restoring to the destructor
  Restore();
}

void TPrintJob::Restore() {
  device_.SetCopies(savedCopies_);
  device_.SetCollate(savedCollate_);
}

}  // namespace quillet
