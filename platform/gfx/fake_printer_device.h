#pragma once
// A printer with fixed geometry for tests: nothing is printed; every job call
// is recorded, and every page of a job that ended is kept as the log of what
// was drawn on it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/printer_device.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet {

// An A4 sheet at 600 dots per inch with 100 unprintable pixels on each side,
// unless set otherwise.
struct TFakePrinterSetup {
  int32_t PixelsPerInchX = 600, PixelsPerInchY = 600;
  int32_t PhysicalWidth = 4961, PhysicalHeight = 7016;
  int32_t PhysicalOffsetX = 100, PhysicalOffsetY = 100;
  int32_t PageWidth = 4761, PageHeight = 6816;
  bool CanCopy = false;
};

class TFakePrinterDevice final : public TPrinterDevice {
 public:
  explicit TFakePrinterDevice(const TFakePrinterSetup& setup = {});

  int32_t PixelsPerInchX() const override { return setup_.PixelsPerInchX; }
  int32_t PixelsPerInchY() const override { return setup_.PixelsPerInchY; }
  int32_t PageWidth() const override { return setup_.PageWidth; }
  int32_t PageHeight() const override { return setup_.PageHeight; }
  int32_t PhysicalWidth() const override { return setup_.PhysicalWidth; }
  int32_t PhysicalHeight() const override { return setup_.PhysicalHeight; }
  int32_t PhysicalOffsetX() const override { return setup_.PhysicalOffsetX; }
  int32_t PhysicalOffsetY() const override { return setup_.PhysicalOffsetY; }
  bool CanCopy() const override { return setup_.CanCopy; }

  // The canvas's surface is the printable area. What is drawn outside a job
  // is dropped at the next BeginDoc.
  TRecordingCanvas& Canvas() override { return canvas_; }

  // Each call of a job in order: `BeginDoc "title" copies=2 collate=1`,
  // `NewPage`, `EndDoc`, `Abort`.
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // The pages of the last job that ended; an aborted job leaves none.
  const std::vector<std::vector<TCanvasRecord>>& Pages() const { return pages_; }
  // The pages as the compact strings of their records.
  std::vector<std::vector<std::string>> PageStrings() const;

 protected:
  void DoBeginDoc() override;
  void DoNewPage() override;
  void DoEndDoc() override;
  void DoAbort() noexcept override;

 private:
  TFakePrinterSetup setup_;
  TRecordingCanvas canvas_;
  std::vector<std::string> calls_;
  std::vector<std::vector<TCanvasRecord>> job_;  // finished pages of the running job
  std::vector<std::vector<TCanvasRecord>> pages_;
};

}  // namespace quillet
