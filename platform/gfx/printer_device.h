#pragma once
// The printer as the print component uses it: its resolutions and sheet, the
// copies of a job, the job itself and a canvas at device resolution. Two
// implementations: over QPrinter (TQtPrinterDevice, qt_printer_device.h),
// which writes a PDF file when no printer is installed, and a fake with fixed
// geometry that records its calls and pages (TFakePrinterDevice,
// fake_printer_device.h).
#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillet {

class TCanvas;

class EPrinterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPrinterDevice {
 public:
  virtual ~TPrinterDevice() = default;

  // Device pixels per inch; the two may differ.
  virtual int32_t PixelsPerInchX() const = 0;
  virtual int32_t PixelsPerInchY() const = 0;
  // The printable area in device pixels. The canvas's origin is its top-left
  // corner, which lies PhysicalOffsetX/Y from the sheet's.
  virtual int32_t PageWidth() const = 0;
  virtual int32_t PageHeight() const = 0;
  // The whole sheet in device pixels.
  virtual int32_t PhysicalWidth() const = 0;
  virtual int32_t PhysicalHeight() const = 0;
  virtual int32_t PhysicalOffsetX() const = 0;
  virtual int32_t PhysicalOffsetY() const = 0;

  // Copies and collation of the jobs begun from now on. A device that makes
  // copies itself (CanCopy) prints every page Copies times, collated or not;
  // on any other the caller repeats the pages and sets Copies to 1. A count
  // below 1 counts as 1.
  int32_t Copies() const { return copies_; }
  void SetCopies(int32_t copies) { copies_ = copies < 1 ? 1 : copies; }
  bool Collate() const { return collate_; }
  void SetCollate(bool collate) { collate_ = collate; }
  virtual bool CanCopy() const = 0;

  // A job: BeginDoc, NewPage between two pages, then EndDoc, or Abort, which
  // drops the job so that nothing of it is printed or left behind.
  // BeginDoc during a job raises EPrinterError "Printing in progress";
  // NewPage and EndDoc outside one raise "Printer is not currently printing".
  // Abort outside a job does nothing, so cleanup may always call it.
  void BeginDoc(const std::string& title);
  void NewPage();
  void EndDoc();
  void Abort();
  bool Printing() const { return printing_; }
  // The last job was aborted (until the next BeginDoc).
  bool Aborted() const { return aborted_; }
  const std::string& Title() const { return title_; }
  // The page number within the job, from 1; 0 outside a job.
  int32_t PageNumber() const { return pageNumber_; }

  // The canvas at device resolution: font heights are device pixels
  // vertically and characters are widened by the ratio of the two
  // resolutions, so text keeps its shape. Outside a job it measures (for
  // pagination) and draws nothing. Fetch it again after changing the
  // device's settings.
  virtual TCanvas& Canvas() = 0;

 protected:
  // Called with the state already checked; an exception from DoBeginDoc
  // leaves no job.
  virtual void DoBeginDoc() = 0;
  virtual void DoNewPage() = 0;
  virtual void DoEndDoc() = 0;
  // Must not throw.
  virtual void DoAbort() noexcept = 0;

 private:
  void CheckPrinting() const;

  int32_t copies_ = 1;
  bool collate_ = false;
  bool printing_ = false;
  bool aborted_ = false;
  int32_t pageNumber_ = 0;
  std::string title_;
};

// One job on a device: begun with the copies and collation given, finished
// by End. A job left any other way (an exception while printing) is aborted.
// The device's copy count and collation are put back in every case, also
// when BeginDoc fails.
class TPrintJob {
 public:
  TPrintJob(TPrinterDevice& device, const std::string& title, int32_t copies, bool collate);
  ~TPrintJob();
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  void End();

 private:
  void Restore();

  TPrinterDevice& device_;
  int32_t savedCopies_;
  bool savedCollate_;
  bool done_ = false;
};

}  // namespace quillet
