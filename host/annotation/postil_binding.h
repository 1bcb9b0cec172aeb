#pragma once
// Ties an annotation layer to a viewer: in annotation mode the left button
// draws strokes (or places the seal armed for the next click) instead of
// selecting; the viewer's paint draws the layer over the document, and a
// print component's page event draws it over each page.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/annotation/annotation_pen.h"
#include "host/annotation/postil.h"
#include "host/annotation/pressure_source.h"
#include "platform/core/cursors.h"
#include "platform/core/geometry.h"

namespace quillet {

class TCustomDocView;
class TDVPrint;

class TPostilBinding {
 public:
  // Neither is owned; both outlive the binding.
  TPostilBinding(TQvPostil& postil, TCustomDocView& view);
  ~TPostilBinding();
  TPostilBinding(const TPostilBinding&) = delete;
  TPostilBinding& operator=(const TPostilBinding&) = delete;

  // The pen of new strokes; the pen dialog edits it.
  TAnnotationPen Pen;
  // Annotation input may be withheld while the mode stays on.
  bool InputAllowed = true;
  // The tablet whose pressure thins the pen; none draws at the pen's width.
  const TPressureSource* Pressure = nullptr;

  // The next click in annotation mode places this seal instead of drawing.
  void ArmSeal(std::string bmpID, std::string userName);
  bool SealPending() const { return !sealId_.empty(); }
  // Shows the mode in the viewer's cursor: the pen in annotation mode, the
  // seal while one is armed, the viewer's own otherwise. Call after switching
  // the mode.
  void ShowMode();
  // After the user drew a stroke or placed a seal.
  std::function<void()> OnDrawn;

  // The document's annotation lines (its host lines carrier) into the layer
  // after a load, and the layer's into them before a save.
  void LoadFromDocument();
  void SaveToDocument();

  // Every page the component prints or previews gets the annotations.
  void BindPrint(TDVPrint& print);
  // The annotations of one printed page, on the print area.
  void PrintPage(const TDVPrint& print, int pageNo, TCanvas& canvas, const TRect& printAreaRect);
  // The document heights a printed page shows, from where its first line
  // stands in the viewer and on the page.
  static TPostilPageSpan PageSpan(const TDVPrint& print, const TCustomDocView& view, int pageNo);

  // Mouse input in the viewer's client coordinates; true when it was taken.
  bool MouseDown(int32_t x, int32_t y);
  bool MouseMove(int32_t x, int32_t y);
  bool MouseUp(int32_t x, int32_t y);

 private:
  bool Active() const;
  // The pen's width under the tablet's present pressure.
  int32_t PenWidth() const;

  TQvPostil& postil_;
  TCustomDocView& view_;
  std::string sealId_, sealUser_;
  bool pressed_ = false;
  TPoint last_;  // the stroke's last point in the client area
  TCursor viewCursor_;  // the viewer's own cursor over text
  class Filter;
  std::unique_ptr<Filter> filter_;
};

}  // namespace quillet
