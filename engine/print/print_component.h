#pragma once
// The print component: it paginates a document shown in a viewer or an
// editor at the printer's resolution, sends pages to the printer and draws
// them for the print preview. It owns a hidden printable control (not a
// window here: nothing of it is ever shown) whose data shares the source's
// items.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/print/print_source.h"
#include "engine/print/printable_data.h"
#include "engine/view/background.h"
#include "platform/core/geometry.h"

namespace quillet {

class TBitmap;
class TCanvas;
class TControl;
class TCustomDVPrint;
class TDVPrint;
class TDVPrintPreview;
class TDVStyle;
class TPrinterDevice;

// Sender: the printable control.
using TDVPrintingEvent = std::function<void(TCustomPrintableDV& sender, int pageCompleted, TDVPrintingStep step)>;
// PageRect is the whole sheet, PrintAreaRect the body inside the margins, in
// the canvas's units (printer pixels on paper and in the preview alike).
using TDVPagePrepaintEvent = std::function<void(TDVPrint& sender, int pageNo, TCanvas& canvas, bool preview,
                                                const TRect& pageRect, const TRect& printAreaRect)>;
using TDVPrintComponentEvent =
    std::function<void(TCustomDVPrint& sender, TControl* printMe, std::unique_ptr<TBitmap>& componentImage)>;

// The hidden control that holds the printed copy: the viewer's geometry and
// look copied from the source.
class TCustomPrintableDV {
 public:
  explicit TCustomPrintableDV(TCustomDVPrint& dvPrint);
  virtual ~TCustomPrintableDV();
  TCustomPrintableDV(const TCustomPrintableDV&) = delete;
  TCustomPrintableDV& operator=(const TCustomPrintableDV&) = delete;

  TCustomDVPrint& DVPrint() const { return dvPrint_; }
  TCustomMainPtblDVData& DVData() const { return *data_; }

  // Document margins in screen pixels; top and bottom stay 0 (the source's
  // are kept by the data for pagination).
  int32_t LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
  TColor Color = clWindow;
  TDVBackground Background;
  TDVPaletteAction DoInPaletteMode = dvpaCreateCopies;
  TDVBiDiMode BiDiMode = dvbdUnspecified;
  TDVStyle* Style() const { return style_; }

  // A fresh copy of the source's document (none: an empty document).
  void AssignSource(TDVPrintSource* source);
  // Lays out and paginates; answers the page count.
  int Format();
  void DrawPage(int pageNo, TCanvas& canvas, bool preview, bool correction) {
    data_->DrawPage(pageNo, canvas, preview, correction);
  }

 protected:
  virtual std::unique_ptr<TCustomMainPtblDVData> CreateData() = 0;
  void ResetData();

 private:
  TCustomDVPrint& dvPrint_;
  TDVStyle* style_ = nullptr;
  std::unique_ptr<TCustomMainPtblDVData> data_;
};

class TPrintableDV : public TCustomPrintableDV {
 public:
  explicit TPrintableDV(TCustomDVPrint& dvPrint);

  bool MirrorMargins = false;
  // Millimetres from the sheet's edges; negative values count as 0.
  int32_t LeftMarginMM = 20, RightMarginMM = 20, TopMarginMM = 20, BottomMarginMM = 20;

  TPrintableDVData& Data() const { return static_cast<TPrintableDVData&>(DVData()); }

  // Sends pages first..last, copies times, to the printer. A range outside
  // 1..page count, or an empty one, is refused before anything is sent
  // ("Invalid page number is specified for printing"). A job that fails on
  // the way is aborted; the printer's copy count and collation come back in
  // every case.
  void PrintPages(int firstPageNo, int lastPageNo, bool collate, int copies, const std::string& title);

 protected:
  std::unique_ptr<TCustomMainPtblDVData> CreateData() override;
};

class TCustomDVPrint {
 public:
  // The printer is not owned and must outlive the component.
  explicit TCustomDVPrint(TPrinterDevice& printer);
  virtual ~TCustomDVPrint();
  TCustomDVPrint(const TCustomDVPrint&) = delete;
  TCustomDVPrint& operator=(const TCustomDVPrint&) = delete;

  // Text in the preview is spread to its width on paper.
  bool PreviewCorrection = true;
  TDVPrintComponentEvent OnPrintComponent;
  bool Ready = false;
  // Device pixels used on the first page before the document begins.
  int32_t StartAt = 0;
  // Height used on the last page, set by pagination.
  int32_t EndAt() const { return docView_->DVData().EndAt; }
  int32_t FormattingID = 0;

  bool TransparentBackground() const { return docView_->DVData().TransparentBackground; }
  void SetTransparentBackground(bool value) { docView_->DVData().TransparentBackground = value; }

  TPrinterDevice& Printer() const { return printer_; }
  TCustomPrintableDV& DocView() const { return *docView_; }

  // Shares the source's items (none: prints nothing); copies its margins and
  // look. The component must be formatted again afterwards.
  void AssignSource(TDVPrintSource* source);
  int FormatPages();
  int PagesCount() const { return docView_->DVData().PagesCount(); }

  // For the preview: the page drawn scaled onto pageRect of the canvas.
  void DrawPreview(int pageNo, TCanvas& canvas, const TRect& pageRect);
  // The body's frame scaled into pageRect, with the canvas's pen.
  void DrawMarginsRect(TCanvas& canvas, const TRect& pageRect, int pageNo);
  // The sheet's size on the screen at 100 percent.
  int32_t Preview100PercentWidth() const;
  int32_t Preview100PercentHeight() const;

  // Hooks of the printable data: TDVPrint fires its events here.
  virtual void DoFormatting(int /*pageCompleted*/, TDVPrintingStep /*step*/) {}
  virtual void DoSendingToPrinter(int /*pageCompleted*/, TDVPrintingStep /*step*/) {}
  virtual void DoPagePrepaint(TCanvas& /*canvas*/, int /*pageNo*/, bool /*preview*/, const TRect& /*pageRect*/,
                              const TRect& /*printAreaRect*/) {}

  // Previews showing this component; they forget it when it goes.
  void AddPreview(TDVPrintPreview* preview);
  void RemovePreview(TDVPrintPreview* preview);

 protected:
  virtual std::unique_ptr<TCustomPrintableDV> CreateDocView() = 0;
  // Called by the constructor of the most derived class.
  void CreatePrintableControl();

 private:
  TPrinterDevice& printer_;
  std::unique_ptr<TCustomPrintableDV> docView_;
  std::vector<TDVPrintPreview*> previews_;
};

class TDVPrint : public TCustomDVPrint {
 public:
  explicit TDVPrint(TPrinterDevice& printer);

  TDVPrintingEvent OnFormatting;
  TDVPrintingEvent OnSendingToPrinter;
  TDVPagePrepaintEvent OnPagePrepaint;
  // Drawing of the content is clipped to the body after the page event.
  bool ClipMargins = false;

  TPrintableDV& PrintableDV() const { return static_cast<TPrintableDV&>(DocView()); }
  bool MirrorMargins() const { return PrintableDV().MirrorMargins; }
  void SetMirrorMargins(bool value) { PrintableDV().MirrorMargins = value; }
  int32_t LeftMarginMM() const { return PrintableDV().LeftMarginMM; }
  int32_t RightMarginMM() const { return PrintableDV().RightMarginMM; }
  int32_t TopMarginMM() const { return PrintableDV().TopMarginMM; }
  int32_t BottomMarginMM() const { return PrintableDV().BottomMarginMM; }
  void SetLeftMarginMM(int32_t value) { PrintableDV().LeftMarginMM = value; }
  void SetRightMarginMM(int32_t value) { PrintableDV().RightMarginMM = value; }
  void SetTopMarginMM(int32_t value) { PrintableDV().TopMarginMM = value; }
  void SetBottomMarginMM(int32_t value) { PrintableDV().BottomMarginMM = value; }
  // Millimetres from the sheet's edge, for the host's page event.
  int32_t HeaderYMM() const { return PrintableDV().Data().HeaderY; }
  int32_t FooterYMM() const { return PrintableDV().Data().FooterY; }
  void SetHeaderYMM(int32_t value) { PrintableDV().Data().HeaderY = value; }
  void SetFooterYMM(int32_t value) { PrintableDV().Data().FooterY = value; }

  void Print(const std::string& title, int copies, bool collate);
  void PrintPages(int firstPageNo, int lastPageNo, const std::string& title, int copies, bool collate);

  void DoFormatting(int pageCompleted, TDVPrintingStep step) override;
  void DoSendingToPrinter(int pageCompleted, TDVPrintingStep step) override;
  void DoPagePrepaint(TCanvas& canvas, int pageNo, bool preview, const TRect& pageRect,
                      const TRect& printAreaRect) override;

 protected:
  std::unique_ptr<TCustomPrintableDV> CreateDocView() override;
};

}  // namespace quillet
