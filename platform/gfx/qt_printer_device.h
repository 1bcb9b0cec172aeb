#pragma once
// The printer device over QPrinter. It prints on the system's default
// printer; with none installed, or once an output file is set, it writes PDF
// files (600 dots per inch, A4 unless the QPrinter is set otherwise, no
// unprintable border), so that printing works on a machine without printers.
//
// A PDF job is written to a temporary file beside the target and renamed
// over it only when the job ends: an aborted or failed job leaves the
// target as it was and no partial file.
#include <memory>
#include <string>

#include "platform/gfx/printer_device.h"

class QPrinter;

namespace quillet {

class TQtCanvas;

class TQtPrinterDevice final : public TPrinterDevice {
 public:
  TQtPrinterDevice();
  ~TQtPrinterDevice() override;  // aborts a job left running
  TQtPrinterDevice(const TQtPrinterDevice&) = delete;
  TQtPrinterDevice& operator=(const TQtPrinterDevice&) = delete;

  // Print to this PDF file (UTF-8 path) rather than the printer; an empty
  // name returns to the printer, or, with none, to the default file.
  // Refused during a job (EPrinterError "Printing in progress").
  void SetOutputFileName(const std::string& fileName);
  const std::string& OutputFileName() const { return outputFileName_; }
  // Jobs go to a PDF file.
  bool PrintsToFile() const;
  // The file a job titled so goes to: the output file name when set,
  // otherwise the title made safe as a file name, with ".pdf", in the
  // user's documents folder.
  std::string TargetFileName(const std::string& title) const;

  // For the print dialog and for settings this interface does not cover
  // (page size, orientation). Changed settings take effect at the next job.
  QPrinter& Printer() { return *printer_; }

  int32_t PixelsPerInchX() const override;
  int32_t PixelsPerInchY() const override;
  int32_t PageWidth() const override;
  int32_t PageHeight() const override;
  int32_t PhysicalWidth() const override;
  int32_t PhysicalHeight() const override;
  int32_t PhysicalOffsetX() const override;
  int32_t PhysicalOffsetY() const override;
  bool CanCopy() const override;
  TCanvas& Canvas() override;

 protected:
  void DoBeginDoc() override;
  void DoNewPage() override;
  void DoEndDoc() override;
  void DoAbort() noexcept override;

 private:
  void UseFile(bool toFile);
  void RemovePartial() noexcept;

  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<TQtCanvas> canvas_;
  bool hasPrinter_ = false;
  std::string outputFileName_;
  std::string target_, partial_;  // of the running PDF job
};

// A document title as a file name: characters that can't stand in a file
// name (path separators, control characters and the like) become "_", leading
// and trailing dots and spaces go, at most 100 characters are kept; an empty
// result is "document".
std::string SafeFileName(const std::string& title);

}  // namespace quillet
