#pragma once
// The print preview: a scrolling control that shows one page of a print
// component at a zoom (the whole page, the page width, or a percentage),
// with page navigation and zoom cursors.
#include <cstdint>
#include <functional>

#include "engine/view/scroller.h"
#include "platform/gfx/canvas.h"

namespace quillet {

class TCustomDVPrint;

enum TDVZoomMode { dvzmFullPage, dvzmPageWidth, dvzmCustom };

class TCustomDVPrintPreview : public TDVScroller {
 public:
  // Free space around the page, for scrolling and fitting.
  static constexpr int32_t kPageSpace = 40;
  static constexpr int32_t PAGEBORDERWIDTH = 2;
  static constexpr TColor PAGEBORDERCOLOR = clHighlight;
  static constexpr int32_t SHADOWWIDTH = 4;
  static constexpr TColor SHADOWCOLOR = cl3DDkShadow;
  static constexpr TColor BACKCOLOR = clAppWorkSpace;

  TCustomDVPrintPreview();

  int SavedZoomPercent() const { return savedZoomPercent_; }
  int PageNo() const { return pageNo_; }
  virtual void SetPageNo(int value);
  int ZoomPercent() const { return zoomPercent_; }
  TDVZoomMode ZoomMode() const { return zoomMode_; }
  void SetZoomMode(TDVZoomMode value);
  // The page at the current zoom, screen pixels.
  int32_t PageWidth() const { return pageWidth_; }
  int32_t PageHeight() const { return pageHeight_; }

  TCursor ZoomInCursor = crDVZoomIn;
  TCursor ZoomOutCursor = crDVZoomOut;
  std::function<void(TCustomDVPrintPreview& sender)> OnZoomChanged;
  std::function<void(TCustomDVPrintPreview& sender)> OnClick;
  // The body's frame; hidden (psClear) unless set.
  TPen MarginsPen{0xC0C0C0, 1, psClear, pmCopy};

  void First();
  void Prev();
  void Next();
  void Last();
  // Custom zoom mode at the percentage (at least 1).
  void SetZoom(int percent);
  // The zoom for the mode and the control's size.
  void UpdateView();
  // A click: 100 percent, or back to the zoom before it when already there.
  void Click();

  // What Paint draws, on any canvas.
  void PaintTo(TCanvas& canvas);

 protected:
  virtual bool CanDrawContents() const { return true; }
  virtual void DrawContents(TCanvas& /*canvas*/, const TRect& /*pageRect*/) {}
  virtual int32_t GetPreview100PercentWidth() const { return -1; }
  virtual int32_t GetPreview100PercentHeight() const { return -1; }
  virtual int GetPageCount() const { return 1; }
  virtual void DrawMargins(TCanvas& canvas, const TRect& pageRect, int pageNo);
  void SetZoomPercent(int percent);

  void Paint(TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void Resize() override;

 private:
  int savedZoomPercent_ = 50;
  int pageNo_ = 1;
  int zoomPercent_ = 100;
  TDVZoomMode zoomMode_ = dvzmFullPage;
  int32_t pageWidth_ = 0, pageHeight_ = 0;
  bool pressed_ = false;
};

class TDVPrintPreview : public TCustomDVPrintPreview {
 public:
  TDVPrintPreview() = default;
  ~TDVPrintPreview() override;

  // Not owned; the component tells the preview when it goes.
  TCustomDVPrint* DVPrint() const { return dvPrint_; }
  void SetDVPrint(TCustomDVPrint* value);
  void SetPageNo(int value) override;
  int PageCount() const { return GetPageCount(); }

 protected:
  bool CanDrawContents() const override;
  void DrawContents(TCanvas& canvas, const TRect& pageRect) override;
  int32_t GetPreview100PercentWidth() const override;
  int32_t GetPreview100PercentHeight() const override;
  int GetPageCount() const override;
  void DrawMargins(TCanvas& canvas, const TRect& pageRect, int pageNo) override;

 private:
  TCustomDVPrint* dvPrint_ = nullptr;
};

}  // namespace quillet
