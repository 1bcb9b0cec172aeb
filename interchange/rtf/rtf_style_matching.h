#pragma once
// Choosing the document's text and paragraph styles for RTF formatting:
// exactly equal styles (added when none is), or the closest one by score.
// Exact matches are found through a hashed index of the style sheet that
// grows with the styles added, and closest matches are remembered per
// formatting, so a file with many formats reads in linear time.
#include <array>
#include <cstdint>
#include <tuple>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/style/border.h"
#include "interchange/rtf/rtf_properties.h"
#include "platform/core/colors.h"

namespace quillet {

class TDVStyle;
struct TDVRTFFont;

// The text formatting of a run, as the document's styles measure it.
struct TDVRTFTextQuery {
  std::string FontName;  // as written
  std::string LowerName;
  uint8_t Charset = 1;
  int32_t Size = 12;
  TColor Color = clWindowText, BackColor = clNone;
  uint8_t Style = 0;
  bool AllCaps = false;
  int32_t CharScale = 100;
  int32_t SpacingPx = 0;
  TDVRTFSScriptType Script = rtf_ss_Normal;
  bool Unicode = false;
  bool Hypertext = false;
  auto Tie() const {
    return std::tie(LowerName, Charset, Size, Color, BackColor, Style, AllCaps, CharScale, SpacingPx, Script,
                    Unicode, Hypertext);
  }
  bool operator<(const TDVRTFTextQuery& other) const { return Tie() < other.Tie(); }
};

// A paragraph's formatting in pixels, with the border it would get.
struct TDVRTFParaQuery {
  uint8_t Alignment = 0;
  int32_t FirstIndent = 0, LeftIndent = 0, RightIndent = 0, SpaceBefore = 0, SpaceAfter = 0;
  TColor Background = clNone;
  bool MultiSpacing = false;
  int32_t LineSpacingPercent = 100;
  TDVBorder Border;  // Style dvbNone when the paragraph has none
  // The sides, each with its own style and widths, for closest matching.
  std::array<const TDVRTFBorderSide*, 4> Sides{};
  std::array<TDVBorder, 4> SideBorders;
};

class TDVRTFStyleMatcher {
 public:
  using TAllowUseStyle = std::function<bool(int32_t styleNo, bool textStyle)>;
  TDVRTFStyleMatcher(TDVStyle& dvStyle, double pixelsPerTwip, bool useHypertextStyles, TAllowUseStyle allow);

  TDVRTFTextQuery TextQuery(const TDVRTFCharProperties& chars, const TDVRTFFont* font, bool unicode,
                            bool hypertext) const;
  TDVRTFParaQuery ParaQuery(const TDVRTFParaProperties& para) const;

  // -1 when no style is equal; style 0 without a font table.
  int32_t FindStyleNo(const TDVRTFTextQuery& query, bool emptyFontTable);
  int32_t FindBestStyleNo(const TDVRTFTextQuery& query);
  int32_t AddStyle(const TDVRTFTextQuery& query);
  int32_t FindParaNo(const TDVRTFParaQuery& query);
  int32_t FindBestParaNo(const TDVRTFParaQuery& query);
  int32_t AddPara(const TDVRTFParaQuery& query);
  // Style 0 without indents at the alignment (the paragraph of an empty
  // table cell): style 0 itself when it is so, else an equal style, else a
  // new one.
  int32_t EmptyCellParaNo(uint8_t alignment);

 private:
  void IndexTextStyle(int32_t styleNo);
  void IndexParaStyle(int32_t paraNo);
  bool TextStyleMatches(int32_t styleNo, const TDVRTFTextQuery& query) const;
  bool ParaStyleMatches(int32_t paraNo, const TDVRTFParaQuery& query) const;
  int32_t ParaScore(int32_t paraNo, const TDVRTFParaQuery& query) const;

  TDVStyle& dvStyle_;
  double pixelsPerTwip_;
  bool useHypertextStyles_;
  TAllowUseStyle allow_;
  bool textIndexed_ = false, paraIndexed_ = false;
  std::unordered_map<std::string, std::vector<int32_t>> textIndex_;
  std::unordered_map<std::string, std::vector<int32_t>> paraIndex_;
  std::map<TDVRTFTextQuery, int32_t> bestText_;
};

// The document's border of an RTF side: style, width and internal width
// (colour and sides are the caller's).
TDVBorder BorderRTF2DV(TDVRTFBorderType type, int32_t widthTw, bool rightOrBottom, double pixelsPerTwip);

}  // namespace quillet
