#pragma once
// The style sheet: a document's text, paragraph and list styles with the
// colours and cursors of its display, the drawing hooks through which text,
// backgrounds, checkpoints and page breaks are painted (each can be taken
// over by an event handler), and the CSS form of the styles for HTML output.
// Viewers, editors and printing refer to one; several may share it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/style/list_style.h"
#include "engine/style/para_style.h"
#include "engine/style/text_style.h"
#include "platform/core/colors.h"
#include "platform/core/geometry.h"

namespace quillet {

class TCanvas;
class TStream;
class TCustomDVData;

// 0 = the system code page.
using TDVCodePage = int32_t;

enum TDVPageBreakType : uint8_t { dvpbSoftPageBreak, dvpbPageBreak };

enum TDVSaveCSSOption : uint8_t { dvcssOnlyDifference = 1, dvcssIgnoreLeftAlignment = 2 };
using TDVSaveCSSOptions = uint8_t;

class TDVStyle {
 public:
  // The collections are made with the classes TFontInfo, TParaInfo and
  // TDVListInfo. A descendant with style classes of its own gives the
  // collections item factories (SetItemFactory) in its constructor and then
  // resets the default styles again.
  TDVStyle();
  virtual ~TDVStyle();
  TDVStyle(const TDVStyle&) = delete;
  TDVStyle& operator=(const TDVStyle&) = delete;

  TFontInfos& TextStyles() { return textStyles_; }
  const TFontInfos& TextStyles() const { return textStyles_; }
  TParaInfos& ParaStyles() { return paraStyles_; }
  const TParaInfos& ParaStyles() const { return paraStyles_; }
  TDVListInfos& ListStyles() { return listStyles_; }
  const TDVListInfos& ListStyles() const { return listStyles_; }
  // Copy the given styles into the owned collections.
  void SetTextStyles(const TFontInfos& value) { textStyles_.Assign(value); }
  void SetParaStyles(const TParaInfos& value) { paraStyles_.Assign(value); }
  void SetListStyles(const TDVListInfos& value) { listStyles_.Assign(value); }

  int16_t SpacesInTab = 8;
  // The hand over links; the user-interface layer installs the cursor itself.
  TCursor JumpCursor = crJump;
  bool FullRedraw = false;
  bool UseSound = true;
  TColor Color = clWindow;
  TColor HoverColor = clNone;
  TColor SelColor = clHighlight;
  TColor SelTextColor = clHighlightText;
  TColor InactiveSelColor = clHighlight;
  TColor InactiveSelTextColor = clHighlightText;
  TColor CheckpointColor = clGreen;
  TColor CheckpointEvColor = clLime;
  TColor PageBreakColor = clBtnShadow;
  TColor SoftPageBreakColor = clBtnFace;
  int32_t DefUnicodeStyle = -1;  // no default text style for Unicode text
  TDVCodePage DefCodePage = 0;

  // Drawing hooks. DoDefault starts true; the default drawing happens only
  // when it stays true.
  std::function<void(TDVStyle& sender, TCanvas& canvas, int32_t styleNo, bool& doDefault)> OnApplyStyle;
  std::function<void(TDVStyle& sender, TCanvas& canvas, int32_t styleNo, TDVTextDrawStates drawState,
                     bool& doDefault)>
      OnApplyStyleColor;
  std::function<void(TDVStyle& sender, const std::string& s, TCanvas& canvas, int32_t styleNo, int32_t spaceBefore,
                     int32_t left, int32_t top, int32_t width, int32_t height, TDVTextDrawStates drawState,
                     bool& doDefault)>
      OnDrawStyleText;
  std::function<void(TDVStyle& sender, int32_t styleNo, bool& sensitive)> OnStyleHoverSensitive;
  std::function<void(TDVStyle& sender, TCanvas& canvas, int32_t styleNo, int32_t left, int32_t top, int32_t width,
                     int32_t height, TDVTextDrawStates drawState, bool& doDefault)>
      OnDrawTextBack;
  std::function<void(TDVStyle& sender, TCanvas& canvas, int32_t x, int32_t y, int32_t itemNo, int32_t xShift,
                     bool raiseEvent, int32_t clientWidth, bool& doDefault)>
      OnDrawCheckpoint;
  std::function<void(TDVStyle& sender, TCanvas& canvas, int32_t y, int32_t xShift, TDVPageBreakType pageBreakType,
                     int32_t clientWidth, bool& doDefault)>
      OnDrawPageBreak;
  std::function<void(TDVStyle& sender, TCanvas& canvas, int32_t paraNo, const TRect& rect, bool& doDefault)>
      OnDrawParaBack;

  // The text being drawn, for OnDrawStyleText and OnDrawTextBack handlers.
  int32_t ItemNo = -1;
  TCustomDVData* DVData = nullptr;
  int32_t OffsetInItem = 0;

  // Both clear the collection first.
  void ResetTextStyles();
  void ResetParaStyles();

  // An image list is going away: no list level may keep referring to it.
  void ImageListRemoved(const TCustomImageList* imageList);

  void ApplyStyle(TCanvas& canvas, int32_t styleNo, TDVBiDiMode defBiDiMode);
  void ApplyStyleColor(TCanvas& canvas, int32_t styleNo, TDVTextDrawStates drawState, bool printing);
  // s is the item's text; all-caps styles draw it upper-cased.
  void DrawStyleText(const std::string& s, TCanvas& canvas, int32_t itemNo, int32_t offsetInItem, int32_t styleNo,
                     TCustomDVData* dvData, int32_t spaceBefore, int32_t left, int32_t top, int32_t width,
                     int32_t height, TDVTextDrawStates drawState, bool printing, bool previewCorrection);
  // Whether text of the style looks different under the mouse.
  bool StyleHoverSensitive(int32_t styleNo);
  TColor GetHoverColorByColor(TColor color) const { return color == clNone ? HoverColor : color; }
  TColor GetHoverColor(int32_t styleNo) const { return GetHoverColorByColor(textStyles_.Items(styleNo).HoverColor); }
  // Only the hook: the text background has no default drawing.
  void DrawTextBack(TCanvas& canvas, int32_t itemNo, int32_t styleNo, TCustomDVData* dvData, int32_t left,
                    int32_t top, int32_t width, int32_t height, TDVTextDrawStates drawState);
  // A checkpoint mark at (x, y) (a circle when it belongs to an item, itemNo
  // not -1) and a dotted line across the client width.
  void DrawCheckpoint(TCanvas& canvas, int32_t x, int32_t y, int32_t itemNo, int32_t xShift, bool raiseEvent,
                      int32_t clientWidth);
  void DrawPageBreak(TCanvas& canvas, int32_t y, int32_t xShift, TDVPageBreakType pageBreakType,
                     int32_t clientWidth);
  void DrawParaBack(TCanvas& canvas, int32_t paraNo, const TRect& rect);

  // The styles as a CSS style sheet, lines ending in CR LF, text in the
  // document code page. Style names and font names are escaped so that no
  // name can end its comment or string early.
  void SaveCSSToStream(TStream& stream, TDVSaveCSSOptions options) const;

 private:
  TFontInfos textStyles_{this};
  TParaInfos paraStyles_{this};
  TDVListInfos listStyles_{this};
};

// Text as the content of a double-quoted CSS string (quotation marks and
// backslashes escaped, "<" as a CSS escape, control characters dropped),
// stepped by character in codePage.
std::string DV_GetCSSString(std::string_view text, int codePage);

}  // namespace quillet
