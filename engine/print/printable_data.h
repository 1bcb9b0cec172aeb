#pragma once
// The printed copy of a document: it shares the source document's items,
// lays them out at the printer's resolution, cuts the drawing items into
// pages (pagination.cpp) and draws any page on the printer's canvas or,
// through the preview mapping, on a screen canvas (page_drawing.cpp).
#include <cstdint>
#include <vector>

#include "engine/layout/formatted_data.h"
#include "engine/base/shared_routines.h"
#include "engine/view/background.h"

namespace quillet {

class TPrinterDevice;
class TCustomPrintableDV;
class TPrintableDV;

enum TDVPrintingStep { dvpsStarting, dvpsProceeding, dvpsFinished };

// One page of a pagination.
struct TDVPageInfo {
  int32_t StartY = 0;       // document y drawn at the top of the page body, printer pixels
  int StartDrawItemNo = 0;  // first drawing item on the page
  // 0 when the page begins with a whole drawing item; otherwise the number,
  // from 1, of the part of a split drawing item that begins the page (part
  // index StartPart - 1 of its PartsList).
  int StartPart = 0;
  int32_t StartY2 = 0;  // document y at which drawing continues after that part
  // The page holds one line or part taller than the body: its drawing is
  // clipped to the body instead of running into the bottom margin.
  bool ClipBody = false;
  void Assign(const TDVPageInfo& source) {
    StartY = source.StartY;
    StartDrawItemNo = source.StartDrawItemNo;
  }
};

// The drawing of pages, common to the document's printed copy and to a
// table cell's content drawn inside a page.
class TCustomPrintableDVData : public TCustomDVFormattedData {
 public:
  // The parent has drawn the background; skip it.
  bool ParentDrawsBack = false;

  // Draws the page's content with the print area placed as pagination put
  // it. Raises "Style of printable TDocView component is not assigned" and
  // "Invalid page number is specified for printing".
  void DrawPage(int pageNo, TCanvas& canvas, bool preview, bool correction);

  virtual const TDVBackground* GetBack() const { return nullptr; }
  virtual int32_t GetTopCoord(int pageNo) const = 0;
  virtual int32_t GetTopCoord2(int pageNo) const = 0;
  virtual int32_t GetPrintableAreaTop() const = 0;
  virtual int32_t GetPrintableAreaLeft(int pageNo) const = 0;
  // The page event, fired after the background and before the content.
  virtual void DoPagePrepaint(TCanvas& /*canvas*/, int /*pageNo*/, bool /*preview*/, bool /*correction*/) {}
  // The drawing items of the page and the part index (-1: none) of the one
  // that continues at its top.
  virtual void GetDrawItemsRange(int pageNo, int& startNo, int& endNo, int& part) const;
  virtual void CheckPageNo(int /*pageNo*/) const {}
  virtual bool PageClipsBody(int /*pageNo*/) const { return false; }
  // Resolutions of the screen and the printer, with the document margins in
  // printer pixels.
  virtual const TDVScreenAndDevice& PrintSaD() const = 0;

  // Geometry the formatting pass asks for: the body at printer resolution,
  // no scrolling, no window.
  TDVFlags GetFlags() const override { return flags_; }
  void SetFlags(TDVFlags flags) override { flags_ = flags; }
  int32_t GetAreaWidth() const override { return ClientWidth; }
  int32_t GetMinTextWidth() const override { return 0; }
  void AdjustVScrollUnits() override {}
  void SetDocumentAreaSize(int32_t, int32_t, bool) override {}
  int32_t GetWidth() const override { return ClientWidth; }
  int32_t GetHeight() const override { return ClientHeight; }
  void ScrollTo(int32_t, bool) override {}
  void HScrollTo(int32_t) override {}
  int32_t GetVSmallStep() const override { return 1; }
  void DoDVMouseMove(int32_t) override {}
  bool ShareItems() const override { return true; }

  // The body in printer pixels.
  int32_t ClientWidth = 0, ClientHeight = 0;

 private:
  struct TPageDrawState;
  void DrawBackground(TCanvas& canvas, const TRect& area, bool preview) const;
  void DrawParaBackAndBorder(TPageDrawState& ps, int drawItemNo) const;
  void DrawTextItem(TPageDrawState& ps, int drawItemNo) const;
  void DrawNonTextItem(TPageDrawState& ps, int drawItemNo) const;
  // The colour under a non-text item printed through a bitmap.
  TColor ColorUnder(int itemNo) const;

  // The viewer's, shared and laid out for the printer, without hyperlink areas.
  TDVFlags flags_ = (DVDefaultFlags | dvflShareContents | dvflAllowCustomDrawItems | dvflPrinting) & ~dvflUseJumps;
};

// The printed copy of a whole document: pagination and the printer.
class TCustomMainPtblDVData : public TCustomPrintableDVData {
 public:
  explicit TCustomMainPtblDVData(TCustomPrintableDV& control);
  ~TCustomMainPtblDVData() override;

  // The source document's top and bottom margins in printer pixels.
  int32_t TmpTMPix = 0, TmpBMPix = 0;
  TDVScreenAndDevice PrnSaD;
  // The source document's top and bottom margins in screen pixels.
  int32_t FTopMarginPix = 0, FBottomMarginPix = 0;
  bool TransparentBackground = false;
  // The page margins in printer pixels from the printable area's edges.
  int32_t TmpLM = 0, TmpTM = 0, TmpRM = 0, TmpBM = 0;
  // The sheet in printer pixels, with the printable area's place on it.
  int32_t SheetWidth = 0, SheetHeight = 0, SheetOffsetX = 0, SheetOffsetY = 0;

  const std::vector<TDVPageInfo>& Pages() const { return pages_; }
  int PagesCount() const { return static_cast<int>(pages_.size()); }

  // Lays the document out on the printer and paginates; answers the page
  // count. Margins that leave no body raise "Page margins leave no room for
  // the text".
  int FormatPages();
  void DoFormatting(int pageCompleted, TDVPrintingStep step);
  // Screen and printer resolutions, margins and the body size.
  virtual void Prepare();
  virtual int32_t GetPageWidth() const;
  virtual int32_t GetPageHeight() const;

  // The whole sheet in the printer canvas's coordinates (the printable
  // area's top-left is the origin).
  TRect SheetRect() const;

  int32_t GetTopCoord(int pageNo) const override;
  int32_t GetTopCoord2(int pageNo) const override;
  int32_t GetPrintableAreaTop() const override { return TmpTM; }
  int32_t GetPrintableAreaLeft(int pageNo) const override;
  void GetDrawItemsRange(int pageNo, int& startNo, int& endNo, int& part) const override;
  void CheckPageNo(int pageNo) const override;
  bool PageClipsBody(int pageNo) const override;
  const TDVScreenAndDevice& PrintSaD() const override { return PrnSaD; }
  void DoPagePrepaint(TCanvas& canvas, int pageNo, bool preview, bool correction) override;
  const TDVBackground* GetBack() const override;

  // The page scope is the page's drawing items, with the parts of split
  // items at its ends; the other scopes as for any laid-out document.
  TDVFLimits DVFGetLimits(TDVFSaveScope scope) const override;
  // The page's content as a DVF stream (after FormatPages).
  bool SavePageDVFToStream(TStream& stream, int pageNo);

  int32_t GetLeftMargin() const override;
  int32_t GetRightMargin() const override;
  int32_t GetTopMargin() const override { return 0; }
  int32_t GetBottomMargin() const override { return 0; }
  int32_t GetMaxTextWidth() const override;
  TColor GetColor() const override;
  TCanvas* GetCanvas() override { return printerCanvas_; }

  // A control item's picture on paper, from the print component's event.
  std::unique_ptr<TGraphic> DoPrintComponent(TControl* printMe) override;
  // Settings that survive a new source: the background flag, header and footer.
  virtual void AssignSettings(const TCustomMainPtblDVData& source) {
    TransparentBackground = source.TransparentBackground;
  }

  TCustomPrintableDV& Control() const { return control_; }
  TPrinterDevice& Printer() const;

  // Used height of the last page (set by pagination).
  int32_t EndAt = 0;

 protected:
  // The left margin of a page in printer pixels.
  virtual int32_t PageLeftMargin(int pageNo) const;

 private:
  struct TPaginator;
  TCustomPrintableDV& control_;
  TCanvas* printerCanvas_ = nullptr;  // only while formatting
  std::vector<TDVPageInfo> pages_;
  int dvfPageNo_ = 0;  // the page a page-scope save covers
};

// The content of a table cell drawn inside a page: it shares the cell's
// items, is laid out at the printer's resolution into Width, and draws with
// its top-left at (X + DX, Y + DY) of the page canvas. Settings, style sheet
// and resolutions are those of the printed document that holds it.
class TRectPtblDVData : public TCustomPrintableDVData {
 public:
  TRectPtblDVData(TCustomDVData& source, TCustomPrintableDVData& parent);
  ~TRectPtblDVData() override;

  int32_t X = 0, Y = 0, DX = 0, DY = 0;
  TColor Color = clNone;

  // Lays the content out Width device pixels wide; Height follows it.
  void FormatAt(int32_t width, TCanvas& canvas);

  TCustomDVData* GetParentData() const override { return &parent_; }
  TCustomDVData* GetAbsoluteParentData() const override { return &parent_; }
  TCustomDVData* GetRootData() override { return parent_.GetRootData(); }
  const TCustomDVData* GetRootData() const override { return parent_.GetRootData(); }
  TCustomDVData* GetAbsoluteRootData() override { return parent_.GetAbsoluteRootData(); }
  TCanvas* GetCanvas() override { return parent_.GetCanvas(); }

  int32_t GetTopCoord(int) const override { return -(Y + DY); }
  int32_t GetTopCoord2(int) const override { return -(Y + DY); }
  int32_t GetPrintableAreaTop() const override { return Y + DY; }
  int32_t GetPrintableAreaLeft(int) const override { return X + DX; }
  // The printed document's resolutions, without its margins.
  const TDVScreenAndDevice& PrintSaD() const override;
  int32_t GetLeftMargin() const override { return 0; }
  int32_t GetRightMargin() const override { return 0; }
  int32_t GetTopMargin() const override { return 0; }
  int32_t GetBottomMargin() const override { return 0; }
  int32_t GetMaxTextWidth() const override { return 0; }
  TColor GetColor() const override { return Color; }

 private:
  TCustomPrintableDVData& parent_;
  mutable TDVScreenAndDevice sad_{};
};

class TPrintableDVData : public TCustomMainPtblDVData {
 public:
  explicit TPrintableDVData(TPrintableDV& control);
  // The left margin of even pages when mirroring, printer pixels.
  int32_t TmpLMMir = 0;
  // Millimetres from the sheet's edge, for the host's page event.
  int32_t HeaderY = 10, FooterY = 10;

  void Prepare() override;
  void AssignSettings(const TCustomMainPtblDVData& source) override;

 protected:
  int32_t PageLeftMargin(int pageNo) const override;
};

}  // namespace quillet
