// The print component and its printable control.
#include "engine/print/print_component.h"

#include <algorithm>

#include "engine/base/doc_view_error.h"
#include "engine/print/print_preview.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/preview_mapping.h"
#include "platform/gfx/printer_device.h"

namespace quillet {

namespace {

constexpr int32_t kScreenPixelsPerInch = 96;

// Fires the closing event of a run of events whatever happens, once; from an
// exception its own exceptions are dropped so that the first one goes on.
template <class F>
class TFinishEvent {
 public:
  explicit TFinishEvent(F f) : f_(std::move(f)) {}
  ~TFinishEvent() {
    if (done_) return;
    try {
      f_();
    } catch (...) {
    }
  }
  TFinishEvent(const TFinishEvent&) = delete;
  TFinishEvent& operator=(const TFinishEvent&) = delete;
  void Fire() {
    done_ = true;
    f_();
  }

 private:
  F f_;
  bool done_ = false;
};

}  // namespace

// ---- the printable control ----

TCustomPrintableDV::TCustomPrintableDV(TCustomDVPrint& dvPrint) : dvPrint_(dvPrint) {}

TCustomPrintableDV::~TCustomPrintableDV() = default;

void TCustomPrintableDV::ResetData() {
  // A new data object rather than unsharing the old one: the items it shared
  // may be gone already.
  std::unique_ptr<TCustomMainPtblDVData> fresh = CreateData();
  if (data_) fresh->AssignSettings(*data_);
  data_ = std::move(fresh);
}

void TCustomPrintableDV::AssignSource(TDVPrintSource* source) {
  ResetData();
  style_ = source ? source->PrintSourceStyle() : nullptr;
  data_->SetDVStyle(style_);
  TopMargin = BottomMargin = 0;
  if (!source) {
    LeftMargin = RightMargin = 0;
    data_->FTopMarginPix = data_->FBottomMarginPix = 0;
    return;
  }
  data_->StartFormatting();
  data_->ShareItemsFrom(source->PrintSourceData());
  data_->EndFormatting();
  LeftMargin = source->PrintSourceLeftMargin();
  RightMargin = source->PrintSourceRightMargin();
  data_->FTopMarginPix = source->PrintSourceTopMargin();
  data_->FBottomMarginPix = source->PrintSourceBottomMargin();
  DoInPaletteMode = source->PrintSourceDoInPaletteMode();
  if (const TDVBackground* back = source->PrintSourceBackground()) {
    Background.Style = back->Style;
    Background.SetBitmap(back->Bitmap());
  } else {
    Background.Style = bsNoBitmap;
    Background.SetBitmap(TBitmap());
  }
  Color = source->PrintSourceColor();
  BiDiMode = source->PrintSourceBiDiMode();
  data_->SetBiDiMode(BiDiMode);
}

int TCustomPrintableDV::Format() { return data_->FormatPages(); }

TPrintableDV::TPrintableDV(TCustomDVPrint& dvPrint) : TCustomPrintableDV(dvPrint) { ResetData(); }

std::unique_ptr<TCustomMainPtblDVData> TPrintableDV::CreateData() { return std::make_unique<TPrintableDVData>(*this); }

void TPrintableDV::PrintPages(int firstPageNo, int lastPageNo, bool collate, int copies, const std::string& title) {
  // Refused before anything starts: an empty range or a document without
  // pages is not a print job that succeeded.
  if (firstPageNo < 1 || lastPageNo > Data().PagesCount() || lastPageNo < firstPageNo)
    throw EDocViewError("Invalid page number is specified for printing");
  TCustomDVPrint& print = DVPrint();
  print.StartAt = 0;
  print.DoSendingToPrinter(0, dvpsStarting);
  TFinishEvent finished([&print] { print.DoSendingToPrinter(0, dvpsFinished); });

  TPrinterDevice& printer = print.Printer();
  const int count = std::max(copies, 1);
  // A device that makes copies itself gets the count and the collation;
  // otherwise the pages are repeated here.
  const bool deviceCopies = printer.CanCopy();
  const int repeat = deviceCopies ? 1 : count;
  TPrintJob job(printer, title, deviceCopies ? count : 1, collate);
  const auto send = [&](int pageNo, bool lastSheet) {
    TCanvas& canvas = printer.Canvas();
    canvas.Font().PixelsPerInch = printer.PixelsPerInchY();
    DrawPage(pageNo, canvas, false, false);
    print.DoSendingToPrinter(pageNo, dvpsProceeding);
    if (!lastSheet) printer.NewPage();
  };
  if (collate) {
    for (int c = 0; c < repeat; ++c)
      for (int p = firstPageNo; p <= lastPageNo; ++p) send(p, c == repeat - 1 && p == lastPageNo);
  } else {
    for (int p = firstPageNo; p <= lastPageNo; ++p)
      for (int c = 0; c < repeat; ++c) send(p, c == repeat - 1 && p == lastPageNo);
  }
  job.End();
  finished.Fire();
}

// ---- the component ----

TCustomDVPrint::TCustomDVPrint(TPrinterDevice& printer) : printer_(printer) {}

TCustomDVPrint::~TCustomDVPrint() {
  // Previews forget the component before it goes.
  for (TDVPrintPreview* preview : std::vector<TDVPrintPreview*>(previews_)) preview->SetDVPrint(nullptr);
}

void TCustomDVPrint::CreatePrintableControl() { docView_ = CreateDocView(); }

void TCustomDVPrint::AddPreview(TDVPrintPreview* preview) {
  if (std::find(previews_.begin(), previews_.end(), preview) == previews_.end()) previews_.push_back(preview);
}

void TCustomDVPrint::RemovePreview(TDVPrintPreview* preview) {
  previews_.erase(std::remove(previews_.begin(), previews_.end(), preview), previews_.end());
}

void TCustomDVPrint::AssignSource(TDVPrintSource* source) {
  Ready = false;
  docView_->AssignSource(source);
}

int TCustomDVPrint::FormatPages() {
  if (++FormattingID >= 10000) FormattingID = 0;
  Ready = false;
  const int count = docView_->Format();
  Ready = true;
  return count;
}

void TCustomDVPrint::DrawPreview(int pageNo, TCanvas& canvas, const TRect& pageRect) {
  const TCustomMainPtblDVData& data = docView_->DVData();
  canvas.SaveState();
  canvas.Pen() = TPen{clWhite, 1, psSolid, pmCopy};
  canvas.Brush() = TBrush{clWhite, bsSolid};
  canvas.Rectangle(pageRect);
  canvas.RestoreState();
  // The whole sheet, with the printable area where the printer puts it, so
  // that what the page event draws from the sheet's edge lands as on paper.
  TPreviewMapping mapping(canvas, data.SheetRect(), pageRect, data.PrnSaD.ppiyDevice);
  docView_->DrawPage(pageNo, canvas, true, PreviewCorrection);
}

void TCustomDVPrint::DrawMarginsRect(TCanvas& canvas, const TRect& pageRect, int pageNo) {
  const TCustomMainPtblDVData& data = docView_->DVData();
  const TRect sheet = data.SheetRect();
  if (sheet.Width() <= 0 || sheet.Height() <= 0) return;
  const auto sx = [&](int64_t v) {
    return pageRect.Left + MulDiv(static_cast<int32_t>(v - sheet.Left), pageRect.Width(), sheet.Width());
  };
  const auto sy = [&](int64_t v) {
    return pageRect.Top + MulDiv(static_cast<int32_t>(v - sheet.Top), pageRect.Height(), sheet.Height());
  };
  const int32_t left = data.GetPrintableAreaLeft(pageNo), top = data.GetPrintableAreaTop();
  canvas.Rectangle(
      TRect{sx(left), sy(top), sx(int64_t{left} + data.ClientWidth), sy(int64_t{top} + data.ClientHeight)});
}

int32_t TCustomDVPrint::Preview100PercentWidth() const {
  const TCustomMainPtblDVData& data = docView_->DVData();
  return MulDiv(data.SheetWidth, kScreenPixelsPerInch, std::max(data.PrnSaD.ppixDevice, 1));
}

int32_t TCustomDVPrint::Preview100PercentHeight() const {
  const TCustomMainPtblDVData& data = docView_->DVData();
  return MulDiv(data.SheetHeight, kScreenPixelsPerInch, std::max(data.PrnSaD.ppiyDevice, 1));
}

TDVPrint::TDVPrint(TPrinterDevice& printer) : TCustomDVPrint(printer) { CreatePrintableControl(); }

std::unique_ptr<TCustomPrintableDV> TDVPrint::CreateDocView() { return std::make_unique<TPrintableDV>(*this); }

void TDVPrint::Print(const std::string& title, int copies, bool collate) {
  PrintPages(1, PagesCount(), title, copies, collate);
}

void TDVPrint::PrintPages(int firstPageNo, int lastPageNo, const std::string& title, int copies, bool collate) {
  PrintableDV().PrintPages(firstPageNo, lastPageNo, collate, copies, title);
}

void TDVPrint::DoFormatting(int pageCompleted, TDVPrintingStep step) {
  if (OnFormatting) OnFormatting(DocView(), pageCompleted, step);
}

void TDVPrint::DoSendingToPrinter(int pageCompleted, TDVPrintingStep step) {
  if (OnSendingToPrinter) OnSendingToPrinter(DocView(), pageCompleted, step);
}

void TDVPrint::DoPagePrepaint(TCanvas& canvas, int pageNo, bool preview, const TRect& pageRect,
                              const TRect& printAreaRect) {
  if (OnPagePrepaint) OnPagePrepaint(*this, pageNo, canvas, preview, pageRect, printAreaRect);
  if (ClipMargins) canvas.IntersectClipRect(printAreaRect);
}

}  // namespace quillet
