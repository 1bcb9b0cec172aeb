#pragma once
// Text styles: the font, colours and behaviour of a run of text, their
// comparison, similarity score, application to a canvas and drawing, and the
// collection with the searches that editing uses to find or reuse a style.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/style/style_base.h"
#include "engine/style/style_types.h"
#include "platform/core/colors.h"
#include "platform/core/cursors.h"
#include "platform/gfx/canvas.h"

namespace quillet {

class TDVStyle;

// Property identifiers: the bit order of the masks of IsEqual and FindSuchStyle.
enum TDVFontInfoProperty : uint8_t {
  dvfiFontName, dvfiSize, dvfiCharset, dvfiUnicode, dvfiBold, dvfiItalic, dvfiUnderline, dvfiStrikeout,
  dvfiOverline, dvfiAllCaps, dvfiVShift, dvfiColor, dvfiBackColor, dvfiJump, dvfiHoverBackColor,
  dvfiHoverColor, dvfiJumpCursor, dvfiNextStyleNo, dvfiProtection, dvfiCharScale, dvfiBaseStyleNo,
  dvfiBiDiMode, dvfiCharSpacing, dvfiHTMLCode, dvfiRTFCode
};
using TDVFontInfoProperties = uint32_t;
constexpr TDVFontInfoProperties DVFontInfoProp(TDVFontInfoProperty p) { return TDVFontInfoProperties{1} << p; }
constexpr TDVFontInfoProperties DVAllFontInfoProperties = (TDVFontInfoProperties{1} << 25) - 1;

// Editing protection of text (bit n = option n), enforced by the editor.
enum TDVProtectOption : uint8_t {
  dvprStyleProtect = 1, dvprModifyProtect = 2, dvprDeleteProtect = 4, dvprConcateProtect = 8,
  dvprDVFInsertProtect = 16, dvprDoNotAutoSwitch = 32, dvprParaStartProtect = 64, dvprSticking = 128
};
using TDVProtectOptions = uint8_t;

// Font effects beyond the platform's font styles.
enum TDVFontStyle : uint8_t { dvfsOverline = 1, dvfsAllCaps = 2 };
using TDVFontStyles = uint8_t;

// The text is raw HTML or RTF code, written out unescaped.
enum TDVTextOption : uint8_t { dvteoHTMLCode = 1, dvteoRTFCode = 2 };
using TDVTextOptions = uint8_t;

// How a piece of text is being painted.
enum TDVTextDrawState : uint8_t {
  dvtsSelected = 1, dvtsHover = 2, dvtsItemStart = 4, dvtsItemEnd = 8, dvtsDrawItemStart = 16,
  dvtsDrawItemEnd = 32, dvtsControlFocused = 64
};
using TDVTextDrawStates = uint8_t;

class TFontInfo : public TCustomDVInfo {
 public:
  TFontInfo() { StyleName = "Font Style"; }
  // A style belongs to one collection; copies are made with Assign.
  TFontInfo(const TFontInfo&) = delete;
  TFontInfo& operator=(const TFontInfo&) = delete;

  uint8_t Charset = 1;  // DEFAULT_CHARSET
  std::string FontName = "Arial";
  int32_t Size = 10;  // points
  TFontStyles Style = 0;
  int32_t VShift = 0;  // percent of the line height, positive up
  TColor Color = clWindowText;
  TColor BackColor = clNone;       // clNone: transparent
  TColor HoverBackColor = clNone;  // under the mouse (links)
  TColor HoverColor = clNone;      // clNone: the style sheet's HoverColor
  TDVFontStyles StyleEx = 0;
  bool Jump = false;  // a hypertext link
  TCursor JumpCursor = crJump;
  int32_t CharScale = 100;  // horizontal scaling, percent
  int32_t CharSpacing = 0;  // extra pixels between characters
  int32_t NextStyleNo = -1;  // style of text typed after a paragraph end; -1 = this one
  TDVBiDiMode BiDiMode = dvbdUnspecified;
  bool Unicode = false;  // items of this style hold UTF-16LE text
  TDVProtectOptions Protection = 0;
  TDVTextOptions Options = 0;

  // From a text style: every property and the base fields.
  void Assign(const TCustomDVInfo& source) override;
  // From a platform font: name, size, colour, style and charset only.
  void Assign(const TFont& font);
  // Name, size, colour and style; the charset only for an 8-bit style.
  void AssignTo(TFont& font) const;
  // A logical font at the collection's resolution (the canvas font's when 0).
  void AssignToLogFont(TLogFont& logFont, const TCanvas& canvas) const;

  int32_t GetNextStyleRef() const override { return NextStyleNo; }
  void SetNextStyleRef(int32_t value) override { NextStyleNo = value; }

  // Every property but the names and the base fields; the hover colours and
  // the cursor only when this style is a link.
  bool IsSimpleEqual(const TCustomDVInfo& value) const override;
  // The same comparisons, each skipped when its property is in ignoreList,
  // plus BaseStyleNo unless ignored.
  bool IsEqual(const TFontInfo& value, TDVFontInfoProperties ignoreList) const;
  int32_t SimilarityValue(const TCustomDVInfo& value) const override;

  // Selects the font, character spacing and alignment into the canvas.
  void Apply(TCanvas& canvas, TDVBiDiMode defBiDiMode) const;
  // Sets the font and brush colours for the draw state.
  void ApplyColor(TCanvas& canvas, const TDVStyle& dvStyle, TDVTextDrawStates drawState, bool printing) const;
  // Draws one piece of text; spaceBefore is the justification gap that begins
  // at left, the text itself starts after it.
  void Draw(std::string_view s, TCanvas& canvas, int32_t styleNo, int32_t spaceBefore, int32_t left, int32_t top,
            int32_t width, int32_t height, TDVStyle& dvStyle, TDVTextDrawStates drawState, bool printing,
            bool previewCorrection) const;

  // Stored style sheets of old versions have a boolean "SingleSymbols";
  // their reader hands its value here. It is never written.
  void ReadLegacySingleSymbols(bool value);
};

class TFontInfos : public TDVInfosOf<TFontInfo> {
 public:
  using TDVInfosOf<TFontInfo>::TDVInfosOf;

  // Resolution for converting sizes to device units when printing; 0 = the
  // canvas font's own.
  int32_t PixelsPerInch = 0;

  // A style equal to the sample in the properties of mask: baseStyle when it
  // is one, else the first other index; -1 when none.
  int FindSuchStyle(int baseStyle, const TFontInfo& style, TDVFontInfoProperties mask) const;
  // baseStyle or the first other style that differs from it only in having
  // these two colours; -1 when none (or baseStyle is not a valid index).
  int FindStyleWithColor(int baseStyle, TColor color, TColor backColor) const;
  // baseStyle or the first other 8-bit style that differs from it only in
  // charset and Unicode and has this charset; never a Unicode style.
  int FindStyleWithCharset(int baseStyle, uint8_t charset) const;

 protected:
  // Same Jump and Unicode, then same Jump, then same Unicode, then all.
  std::vector<std::vector<int>> MapCandidateGroups(const TCustomDVInfo& sourceStyle) const override;
};

// The text as displayed: upper-cased for an all-caps style, else unchanged.
// Each character keeps its length: UTF-16 text (a Unicode style) maps each
// code unit by the simple upper-case mapping; 8-bit text is stepped by
// character in the style's code page and a character changes only to an
// upper case of as many bytes, so offsets stay valid and no double-byte
// character is split. Layout and painting both use it so they measure and
// draw the same text.
std::string DV_ReturnCapitalized(const std::string& s, const TFontInfo& textStyle);

// Font face names compare without regard to case: single-byte ASCII letters
// only, so the bytes of double-byte characters compare exactly.
bool DV_SameFontName(std::string_view a, std::string_view b);

}  // namespace quillet
