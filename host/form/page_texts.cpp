#include "host/form/page_texts.h"

#include "engine/print/print_component.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil_binding.h"
#include "platform/core/code_page.h"
#include "platform/gfx/canvas.h"

namespace quillet {

namespace {

// The font at the canvas's resolution, keeping its size in points.
void UseFont(TCanvas& canvas, const TFont& font) {
  TFont scaled = font;
  const int32_t points = font.GetSize();
  scaled.PixelsPerInch = canvas.Font().PixelsPerInch;
  scaled.SetSize(points);
  canvas.Font() = scaled;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

int32_t AlignToX(TAlignment alignment, bool even, bool mirror, const TRect& printArea, int32_t width) {
  if (even && mirror) {
    if (alignment == taLeftJustify)
      alignment = taRightJustify;
    else if (alignment == taRightJustify)
      alignment = taLeftJustify;
  }
  switch (alignment) {
    case taLeftJustify: return printArea.Left;
    case taRightJustify: return printArea.Right - width;
    case taCenter: return (printArea.Right + printArea.Left - width) / 2;
  }
  return printArea.Left;
}

void DrawPageTexts(TCanvas& canvas, const TTextOptions& options, int32_t pageNo, int32_t pageCount,
                   const TRect& printArea) {
  canvas.Brush().Style = bsClear;
  const bool even = pageNo % 2 == 0;
  // One line of text at the alignment's x; above the area or below it.
  const auto draw = [&](const std::string& utf8, const TFont& font, TAlignment alignment, bool above) {
    UseFont(canvas, font);
    const std::u16string text = Utf8ToUtf16(utf8);
    const TSize size = canvas.TextExtentW(text);
    const int32_t y = above ? printArea.Top - size.cy - 10 : printArea.Bottom + 10;
    canvas.TextOutW(AlignToX(alignment, even, true, printArea, size.cx), y, text);
  };
  if (options.PrintPageNumber != pnNone)
    draw(PageNumberText(options.PageNumText, pageNo, pageCount), options.PageNumFont, options.PageNumAlign,
         options.PrintPageNumber == pnTop);
  if (!IsBlank(options.Header)) draw(options.Header, options.HeaderFont, options.HeaderAlign, true);
  if (!IsBlank(options.Footer)) draw(options.Footer, options.FooterFont, options.FooterAlign, false);
}

void BindPagePrepaint(TDVPrint& print, TPostilBinding& annotations, const TDVStyle& sheet,
                      const TTextOptions& options) {
  print.OnPagePrepaint = [&annotations, &sheet, &options](TDVPrint& sender, int pageNo, TCanvas& canvas, bool,
                                                          const TRect&, const TRect& printArea) {
    canvas.Brush().Style = bsClear;
    if (sheet.TextStyles().Count() > 0) {
      TFont font = canvas.Font();
      sheet.TextStyles()[0].AssignTo(font);
      canvas.Font() = font;
    }
    annotations.PrintPage(sender, pageNo, canvas, printArea);
    DrawPageTexts(canvas, options, pageNo, sender.PagesCount(), printArea);
  };
}

void InitPageSetup(TTextOptions& options, const TDVPrint& print) {
  options.MarginLeft = print.LeftMarginMM();
  options.MarginRight = print.RightMarginMM();
  options.MarginTop = print.TopMarginMM();
  options.MarginBottom = print.BottomMarginMM();
  options.DrawStyle = dsStandard;
  options.HeaderMargin = 0.5;
  options.FooterMargin = 0.75;
  options.HeaderAlign = taCenter;
  options.FooterAlign = taCenter;
  options.PrintPageNumber = pnBottom;
  options.PageNumAlign = taRightJustify;
  options.HeaderFont = HeaderFontDefault();
  options.FooterFont = FooterFontDefault();
  options.PageNumFont = options.FooterFont;
  options.PageNumText = kDefaultPageNumText;
}

}  // namespace quillet
