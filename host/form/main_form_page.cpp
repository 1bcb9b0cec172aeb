// The main form's page: the text area the printer gives, centred in the
// editor with a gutter on either side, and printing without that gutter.
#include <QAction>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "commands/actions/print_actions.h"
#include "commands/dialogs/page_setup.h"
#include "commands/ruler/ruler.h"
#include "editing/control/editor.h"
#include "engine/print/print_component.h"
#include "host/annotation/postil.h"
#include "host/form/action_dm.h"
#include "host/form/main_form_ui.h"
#include "host/form/page_texts.h"
#include "host/form/ruler_link.h"
#include "platform/core/arith.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/printer_device.h"

namespace quillet {

std::optional<TSize> ScreenPageSize(const TPrinterDevice& printer, const TRect& marginsMM, int32_t screenPpiX,
                                    int32_t screenPpiY) {
  const int32_t ppiX = printer.PixelsPerInchX(), ppiY = printer.PixelsPerInchY();
  if (ppiX <= 0 || ppiY <= 0 || printer.PageWidth() <= 0 || printer.PageHeight() <= 0 || screenPpiX <= 0 ||
      screenPpiY <= 0)
    return std::nullopt;
  // Millimetres to printer pixels, less the edge the printer cannot reach.
  const auto toPixels = [](int32_t mm, int32_t ppi) { return MulDiv(mm * 5, ppi, 127); };
  const int32_t rightEdge = printer.PhysicalWidth() - printer.PageWidth() - printer.PhysicalOffsetX();
  const int32_t bottomEdge = printer.PhysicalHeight() - printer.PageHeight() - printer.PhysicalOffsetY();
  const int32_t left = std::max(0, toPixels(marginsMM.Left, ppiX) - printer.PhysicalOffsetX());
  const int32_t right = std::max(0, toPixels(marginsMM.Right, ppiX) - rightEdge);
  const int32_t top = std::max(0, toPixels(marginsMM.Top, ppiY) - printer.PhysicalOffsetY());
  const int32_t bottom = std::max(0, toPixels(marginsMM.Bottom, ppiY) - bottomEdge);
  const int32_t width = std::max(0, printer.PageWidth() - left - right);
  const int32_t height = std::max(0, printer.PageHeight() - top - bottom);
  return TSize{MulDiv(width, screenPpiX, ppiX), MulDiv(height, screenPpiY, ppiY)};
}

void TMainForm::DVEditorResize() {
  const TDVPrint& print = DVPrint();
  const TRect margins{print.LeftMarginMM(), print.TopMarginMM(), print.RightMarginMM(), print.BottomMarginMM()};
  const QWidget* screen = editor_->Widget();
  const std::optional<TSize> page =
      ScreenPageSize(ui_->print->Printer(), margins, screen->logicalDpiX(), screen->logicalDpiY());
  pageSize_ = page.value_or(kFallbackPageSize);
  for (const char* name : {"FilePrint", "FilePrintPreview"}) MenuItem(name)->setEnabled(page.has_value());
  // The page stands in the middle; a narrow editor shows it from its left edge.
  gutter_ = std::max(0, (editor_->ClientWidth() - pageSize_.cx) / 2);
  // Lines wrap at the page's right edge, as they print: a gutter on either
  // side, and a narrow editor scrolls rather than wrapping shorter.
  editor_->LeftMargin = gutter_;
  editor_->RightMargin = std::max(0, editor_->ClientWidth() - gutter_ - pageSize_.cx);
  editor_->MinTextWidth = pageSize_.cx;
  editor_->Format();
  ui_->rulerLink->Follow();
  postil_->setLeftOffset(gutter_);
}

void TMainForm::PaintPageGuides(TCanvas& canvas) {
  canvas.Pen().Color = static_cast<TColor>(0xC0C0C0);
  canvas.Pen().Width = 1;
  canvas.Pen().Style = psSolid;
  const int32_t height = editor_->ClientHeight();
  for (const int32_t x : {gutter_, pageSize_.cx - editor_->HPos() + gutter_}) {
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, height);
  }
}

void TMainForm::PrintWithoutGutter(std::string_view actionName) {
  // The printed page has its own margins; the margin comes back however the
  // command ends.
  struct TMarginBack {
    TDocViewEdit& editor;
    int32_t margin;
    ~TMarginBack() { editor.LeftMargin = margin; }
  } back{*editor_, editor_->LeftMargin};
  editor_->LeftMargin = std::max(0, editor_->LeftMargin - gutter_);
  RunCommand(actionName);
}

void TMainForm::FilePageSetupClick() {
  InitPageSetup(ui_->pageOptions, DVPrint());
  if (!ui_->pageSetup) ui_->pageSetup = std::make_unique<TPageSetupForm>();
  ui_->pageSetup->TextOptions = ui_->pageOptions;
  if (ui_->pageSetup->Execute() != mrOk) return;
  ui_->pageOptions = ui_->pageSetup->TextOptions;
  TDVPrint& print = DVPrint();
  print.SetLeftMarginMM(static_cast<int32_t>(std::lround(ui_->pageOptions.MarginLeft)));
  print.SetRightMarginMM(static_cast<int32_t>(std::lround(ui_->pageOptions.MarginRight)));
  print.SetTopMarginMM(static_cast<int32_t>(std::lround(ui_->pageOptions.MarginTop)));
  print.SetBottomMarginMM(static_cast<int32_t>(std::lround(ui_->pageOptions.MarginBottom)));
  DVEditorResize();
}

}  // namespace quillet
