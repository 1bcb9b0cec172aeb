#pragma once
// What the main form draws on every printed or previewed page before its
// content: the page's annotations, then the page number, the header and the
// footer of the page options, outside the print area; and the reset of those
// options from the print component before page setup opens.
#include <cstdint>

#include "commands/dialogs/text_options.h"
#include "platform/core/geometry.h"

namespace quillet {

class TCanvas;
class TDVPrint;
class TDVStyle;
class TPostilBinding;

// Where a text of this width starts in the print area. On even pages
// (mirror on), left and right alignment swap.
int32_t AlignToX(TAlignment alignment, bool even, bool mirror, const TRect& printArea, int32_t width);

// The page number (above or below the print area), the header above and the
// footer below it, each in its font and alignment; blank header and footer
// texts are not drawn. The brush is clear.
void DrawPageTexts(TCanvas& canvas, const TTextOptions& options, int32_t pageNo, int32_t pageCount,
                   const TRect& printArea);

// The print component's page event: the canvas takes text style 0 of sheet,
// the annotations of the page are printed, then the page texts. options is
// read at each page, so later changes count.
void BindPagePrepaint(TDVPrint& print, TPostilBinding& annotations, const TDVStyle& sheet,
                      const TTextOptions& options);

// Margins from the print component, fonts, alignments, positions and the
// page-number text back to their defaults; header, footer and body font stay.
void InitPageSetup(TTextOptions& options, const TDVPrint& print);

}  // namespace quillet
