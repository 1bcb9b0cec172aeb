// The printed copy's geometry: resolutions, margins, pages and their places.
#include "engine/print/printable_data.h"

#include <algorithm>

#include "engine/base/doc_view_error.h"
#include "engine/layout/multi_draw_item.h"
#include "engine/print/print_component.h"
#include "platform/core/arith.h"
#include "platform/core/scoped_value.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/printer_device.h"

namespace quillet {

namespace {

constexpr const char* kInvalidPageNo = "Invalid page number is specified for printing";

// Millimetres in pixels at ppi: 127/5 = 25.4 mm per inch.
int32_t MMToPixels(int32_t mm, int32_t ppi) { return MulDiv(std::max(mm, 0), ppi * 5, 127); }

}  // namespace

void TCustomPrintableDVData::GetDrawItemsRange(int, int& startNo, int& endNo, int& part) const {
  startNo = 0;
  endNo = DrawItems.Count() - 1;
  part = -1;
}

TRectPtblDVData::TRectPtblDVData(TCustomDVData& source, TCustomPrintableDVData& parent) : parent_(parent) {
  ShareItemsFrom(source);
  // The table under the content has drawn the cell's background.
  ParentDrawsBack = true;
}

TRectPtblDVData::~TRectPtblDVData() { Clear(); }

const TDVScreenAndDevice& TRectPtblDVData::PrintSaD() const {
  sad_ = parent_.PrintSaD();
  sad_.LeftMargin = sad_.RightMargin = 0;
  return sad_;
}

void TRectPtblDVData::FormatAt(int32_t width, TCanvas& canvas) {
  ClientWidth = std::max(width, 0);
  Format_(false, true, false, 0, canvas, false);
  ClientHeight = DocumentHeight;
}

TCustomMainPtblDVData::TCustomMainPtblDVData(TCustomPrintableDV& control) : control_(control) {}

TCustomMainPtblDVData::~TCustomMainPtblDVData() { Clear(); }

TPrinterDevice& TCustomMainPtblDVData::Printer() const { return control_.DVPrint().Printer(); }

int32_t TCustomMainPtblDVData::GetLeftMargin() const { return control_.LeftMargin; }
int32_t TCustomMainPtblDVData::GetRightMargin() const { return control_.RightMargin; }

int32_t TCustomMainPtblDVData::GetMaxTextWidth() const {
  return PrnSaD.ppixDevice == 0 ? 0 : MulDiv(ClientWidth, PrnSaD.ppixScreen, PrnSaD.ppixDevice);
}

TColor TCustomMainPtblDVData::GetColor() const { return TransparentBackground ? clNone : control_.Color; }

const TDVBackground* TCustomMainPtblDVData::GetBack() const { return &control_.Background; }

std::unique_ptr<TGraphic> TCustomMainPtblDVData::DoPrintComponent(TControl* printMe) {
  TCustomDVPrint& print = control_.DVPrint();
  if (!print.OnPrintComponent) return nullptr;
  std::unique_ptr<TBitmap> image;
  print.OnPrintComponent(print, printMe, image);
  return image;
}

int32_t TCustomMainPtblDVData::GetPageWidth() const { return Printer().PageWidth(); }
int32_t TCustomMainPtblDVData::GetPageHeight() const { return Printer().PageHeight(); }

void TCustomMainPtblDVData::Prepare() {
  TPrinterDevice& printer = Printer();
  PrnSaD.ppixScreen = PrnSaD.ppiyScreen = 96;
  PrnSaD.ppixDevice = std::max(printer.PixelsPerInchX(), 1);
  PrnSaD.ppiyDevice = std::max(printer.PixelsPerInchY(), 1);
  if (printerCanvas_) printerCanvas_->Font().PixelsPerInch = PrnSaD.ppiyDevice;
  PrnSaD.LeftMargin = MulDiv(GetLeftMargin(), PrnSaD.ppixDevice, PrnSaD.ppixScreen);
  PrnSaD.RightMargin = MulDiv(GetRightMargin(), PrnSaD.ppixDevice, PrnSaD.ppixScreen);
  TmpTMPix = MulDiv(FTopMarginPix, PrnSaD.ppiyDevice, PrnSaD.ppiyScreen);
  TmpBMPix = MulDiv(FBottomMarginPix, PrnSaD.ppiyDevice, PrnSaD.ppiyScreen);

  const int32_t offX = printer.PhysicalOffsetX(), offY = printer.PhysicalOffsetY();
  const int32_t pageWidth = GetPageWidth(), pageHeight = GetPageHeight();
  SheetWidth = printer.PhysicalWidth();
  SheetHeight = printer.PhysicalHeight();
  SheetOffsetX = offX;
  SheetOffsetY = offY;
  const auto* control = dynamic_cast<const TPrintableDV*>(&control_);
  const int32_t lm = control ? control->LeftMarginMM : 0, rm = control ? control->RightMarginMM : 0;
  const int32_t tm = control ? control->TopMarginMM : 0, bm = control ? control->BottomMarginMM : 0;
  // Margins count from the sheet's edges; the canvas begins at the
  // printable area, so the unprintable border is taken off (never below 0).
  TmpLM = std::max(MMToPixels(lm, PrnSaD.ppixDevice) - offX, 0);
  TmpTM = std::max(MMToPixels(tm, PrnSaD.ppiyDevice) - offY, 0);
  TmpRM = std::max(MMToPixels(rm, PrnSaD.ppixDevice) - (SheetWidth - (pageWidth + offX)), 0);
  TmpBM = std::max(MMToPixels(bm, PrnSaD.ppiyDevice) - (SheetHeight - (pageHeight + offY)), 0);

  const int64_t bodyWidth = int64_t{pageWidth} - TmpLM - TmpRM;
  const int64_t bodyHeight = int64_t{pageHeight} - TmpTM - TmpBM;
  // A body without room would paginate forever or draw upside down.
  if (bodyWidth <= 0 || bodyHeight - TmpTMPix - TmpBMPix <= 0)
    throw EDocViewError("Page margins leave no room for the text");
  ClientWidth = static_cast<int32_t>(bodyWidth);
  ClientHeight = static_cast<int32_t>(bodyHeight);
}

TRect TCustomMainPtblDVData::SheetRect() const { return Bounds(-SheetOffsetX, -SheetOffsetY, SheetWidth, SheetHeight); }

void TCustomMainPtblDVData::DoFormatting(int pageCompleted, TDVPrintingStep step) {
  control_.DVPrint().DoFormatting(pageCompleted, step);
}

void TCustomMainPtblDVData::CheckPageNo(int pageNo) const {
  if (pageNo < 1 || pageNo > PagesCount()) throw EDocViewError(kInvalidPageNo);
}

bool TCustomMainPtblDVData::PageClipsBody(int pageNo) const {
  return pageNo >= 1 && pageNo <= PagesCount() && pages_[static_cast<size_t>(pageNo - 1)].ClipBody;
}

void TCustomMainPtblDVData::GetDrawItemsRange(int pageNo, int& startNo, int& endNo, int& part) const {
  const TDVPageInfo& page = pages_.at(static_cast<size_t>(pageNo - 1));
  startNo = page.StartDrawItemNo;
  part = page.StartPart - 1;
  if (pageNo < PagesCount()) {
    const TDVPageInfo& next = pages_[static_cast<size_t>(pageNo)];
    endNo = next.StartDrawItemNo - 1;
    if (next.StartPart > 1) ++endNo;
  } else {
    endNo = DrawItems.Count() - 1;
  }
}

int32_t TCustomMainPtblDVData::GetTopCoord(int pageNo) const {
  return pages_.at(static_cast<size_t>(pageNo - 1)).StartY - TmpTM - TmpTMPix;
}

int32_t TCustomMainPtblDVData::GetTopCoord2(int pageNo) const {
  return pages_.at(static_cast<size_t>(pageNo - 1)).StartY2 - TmpTM - TmpTMPix;
}

TDVFLimits TCustomMainPtblDVData::DVFGetLimits(TDVFSaveScope scope) const {
  if (scope != dvfss_Page) return TCustomPrintableDVData::DVFGetLimits(scope);
  TDVFLimits limits;
  if (dvfPageNo_ < 1 || dvfPageNo_ > PagesCount()) return limits;
  int startNo = 0, endNo = 0, part = -1;
  GetDrawItemsRange(dvfPageNo_, startNo, endNo, part);
  if (startNo < 0 || endNo < startNo || endNo >= DrawItems.Count()) return limits;
  const auto partOf = [&](int drawItemNo, int index) -> const TDVMultiDrawItemPart* {
    const auto* multi = dynamic_cast<const TDVMultiDrawItemInfo*>(DrawItems[drawItemNo]);
    if (!multi || multi->PartCount() < 2 || index < 0 || index >= multi->PartCount()) return nullptr;
    return multi->PartsList[static_cast<size_t>(index)].get();
  };
  const TDVDrawLineInfo& first = *DrawItems[startNo];
  const TDVDrawLineInfo& last = *DrawItems[endNo];
  limits.StartItemNo = first.ItemNo;
  limits.EndItemNo = last.ItemNo;
  const bool firstIsText = GetItemStyle(first.ItemNo) >= 0, lastIsText = GetItemStyle(last.ItemNo) >= 0;
  limits.StartOffs = firstIsText ? first.Offs : GetOffsBeforeItem(first.ItemNo);
  limits.EndOffs = lastIsText ? last.Offs + last.Length : GetOffsAfterItem(last.ItemNo);
  limits.StartPart = part >= 0 ? partOf(startNo, part) : nullptr;
  // The next page begins inside the page's last drawing item: this page
  // holds the part before that one.
  if (dvfPageNo_ < PagesCount()) {
    const TDVPageInfo& next = pages_[static_cast<size_t>(dvfPageNo_)];
    if (next.StartPart > 1 && next.StartDrawItemNo == endNo) limits.EndPart = partOf(endNo, next.StartPart - 2);
  }
  return limits;
}

bool TCustomMainPtblDVData::SavePageDVFToStream(TStream& stream, int pageNo) {
  CheckPageNo(pageNo);
  TScopedValue<int> page(dvfPageNo_, pageNo);
  return SaveDVFToStreamEx(stream, dvfss_Page, GetColor(), nullptr, nullptr);
}

int32_t TCustomMainPtblDVData::PageLeftMargin(int) const { return TmpLM; }

int32_t TCustomMainPtblDVData::GetPrintableAreaLeft(int pageNo) const { return PageLeftMargin(pageNo); }

void TCustomMainPtblDVData::DoPagePrepaint(TCanvas& canvas, int pageNo, bool preview, bool) {
  const TRect printArea = Bounds(GetPrintableAreaLeft(pageNo), GetPrintableAreaTop(), ClientWidth, ClientHeight);
  control_.DVPrint().DoPagePrepaint(canvas, pageNo, preview, SheetRect(), printArea);
}

TPrintableDVData::TPrintableDVData(TPrintableDV& control) : TCustomMainPtblDVData(control) {}

void TPrintableDVData::Prepare() {
  TCustomMainPtblDVData::Prepare();
  const auto& control = static_cast<const TPrintableDV&>(Control());
  TmpLMMir = std::max(MMToPixels(control.RightMarginMM, PrnSaD.ppixDevice) - SheetOffsetX, 0);
}

void TPrintableDVData::AssignSettings(const TCustomMainPtblDVData& source) {
  TCustomMainPtblDVData::AssignSettings(source);
  if (const auto* printable = dynamic_cast<const TPrintableDVData*>(&source)) {
    HeaderY = printable->HeaderY;
    FooterY = printable->FooterY;
  }
}

int32_t TPrintableDVData::PageLeftMargin(int pageNo) const {
  const auto& control = static_cast<const TPrintableDV&>(Control());
  return control.MirrorMargins && pageNo % 2 == 0 ? TmpLMMir : TmpLM;
}

}  // namespace quillet
