#include "platform/gfx/fake_printer_device.h"

namespace quillet {

TFakePrinterDevice::TFakePrinterDevice(const TFakePrinterSetup& setup) : setup_(setup) {
  canvas_.SetPixelsPerInch(setup_.PixelsPerInchX, setup_.PixelsPerInchY);
  canvas_.SetSurface({0, 0, setup_.PageWidth, setup_.PageHeight});
}

std::vector<std::vector<std::string>> TFakePrinterDevice::PageStrings() const {
  std::vector<std::vector<std::string>> out;
  for (const std::vector<TCanvasRecord>& page : pages_) {
    std::vector<std::string>& strings = out.emplace_back();
    for (const TCanvasRecord& r : page) strings.push_back(r.ToString());
  }
  return out;
}

void TFakePrinterDevice::DoBeginDoc() {
  calls_.push_back("BeginDoc \"" + Title() + "\" copies=" + std::to_string(Copies()) +
                   " collate=" + (Collate() ? "1" : "0"));
  canvas_.ClearLog();
  job_.clear();
}

void TFakePrinterDevice::DoNewPage() {
  calls_.push_back("NewPage");
  job_.push_back(canvas_.Log());
  canvas_.ClearLog();
}

void TFakePrinterDevice::DoEndDoc() {
  calls_.push_back("EndDoc");
  job_.push_back(canvas_.Log());
  canvas_.ClearLog();
  pages_ = std::move(job_);
  job_.clear();
}

void TFakePrinterDevice::DoAbort() noexcept {
  calls_.push_back("Abort");
  canvas_.ClearLog();
  job_.clear();
}

}  // namespace quillet
