#pragma once
// What is printed around the document: header and footer texts with their
// fonts and alignment, and the page number with its text, font, position and
// alignment. The margins, header and footer margins and draw style are kept
// and edited with the rest but printing does not use them. A plain value:
// copying copies every field, fonts included.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gfx/canvas.h"

namespace quillet {

enum TDrawStyle : uint8_t { dsStandard, dsOwnerDrawFixed, dsOwnerDrawVariable };
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TPrintPageNumber : uint8_t { pnBottom, pnTop, pnNone };

// The page-number text as the options start with it.
inline constexpr std::string_view kDefaultPageNumText = "第 %d 页 共 %d 页";

// Points, the fonts' family by role.
TFont HeaderFontDefault();  // serif, 18, bold
TFont FooterFontDefault();  // serif, 10, italic

struct TTextOptions {
  TDrawStyle DrawStyle = dsStandard;
  double MarginLeft = 1.0, MarginTop = 1.0, MarginRight = 1.0, MarginBottom = 1.0;
  TFont BodyFont;  // sans, 10
  TFont HeaderFont = HeaderFontDefault();
  TFont FooterFont = FooterFontDefault();
  TFont PageNumFont = FooterFontDefault();
  std::string Header;  // UTF-8
  std::string Footer;
  double HeaderMargin = 0.5;
  double FooterMargin = 0.75;
  TAlignment HeaderAlign = taCenter;
  TAlignment FooterAlign = taCenter;
  TPrintPageNumber PrintPageNumber = pnBottom;
  TAlignment PageNumAlign = taRightJustify;
  std::string PageNumText{kDefaultPageNumText};

  TTextOptions();
  friend bool operator==(const TTextOptions&, const TTextOptions&) = default;
};

// The page-number text for a page: its first "%d" becomes the page, its
// second the page count. It is the user's text, not a format: any other "%"
// stays as typed, and a text without "%d" is the same on every page.
std::string PageNumberText(std::string_view text, int32_t page, int32_t count);

}  // namespace quillet
