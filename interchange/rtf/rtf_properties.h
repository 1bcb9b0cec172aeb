#pragma once
// The RTF side of formatting that a group state carries: character,
// paragraph, section, document, row and cell properties and border sides.
// Distances are twips unless said; colours are red | green << 8 | blue << 16,
// with auto the window-text colour and clNone for none. All are values:
// a group copies them and gets them back at its end.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/colors.h"

namespace quillet {

// The colour an RTF colour table entry holds until a channel is set.
constexpr TColor rtf_AutoColor = clWindowText;

enum TDVRTFFontStyle : uint8_t { rtf_fs_Bold = 1, rtf_fs_Italic = 2, rtf_fs_Underline = 4, rtf_fs_StrikeOut = 8 };
enum TDVRTFFontStyleEx : uint8_t { rtf_fs_AllCaps = 1 };
enum TDVRTFSScriptType : uint8_t { rtf_ss_Normal, rtf_ss_Subscript, rtf_ss_Superscript };
enum TDVRTFAlignment : uint8_t { rtf_al_Left, rtf_al_Right, rtf_al_Center, rtf_al_Justify };
enum TDVRTFSide : uint8_t { rtf_side_Left, rtf_side_Top, rtf_side_Right, rtf_side_Bottom };
enum TDVRTFBorderType : uint8_t {
  rtf_brdr_None, rtf_brdr_SingleThickness, rtf_brdr_DoubleThickness, rtf_brdr_Shadow, rtf_brdr_Double,
  rtf_brdr_Dot, rtf_brdr_Dash, rtf_brdr_Hairline, rtf_brdr_DashSmall, rtf_brdr_DotDash, rtf_brdr_DotDotDash,
  rtf_brdr_Triple, rtf_brdr_ThickThinSmall, rtf_brdr_ThinThickSmall, rtf_brdr_ThinThickThinSmall,
  rtf_brdr_ThickThinMed, rtf_brdr_ThinThickMed, rtf_brdr_ThinThickThinMed, rtf_brdr_ThickThinLarge,
  rtf_brdr_ThinThickLarge, rtf_brdr_ThinThickThinLarge, rtf_brdr_Wavy, rtf_brdr_DoubleWavy, rtf_brdr_Striped,
  rtf_brdr_Emboss, rtf_brdr_Engrave, rtf_brdr_Inset, rtf_brdr_Outset
};
enum TDVRTFSectionBreakType : uint8_t { rtf_sbk_None, rtf_sbk_Column, rtf_sbk_Even, rtf_sbk_Odd, rtf_sbk_Page };
enum TDVRTFPageNumberFormat : uint8_t {
  rtf_pg_Decimal, rtf_pg_UpperRoman, rtf_pg_LowerRoman, rtf_pg_UpperLetter, rtf_pg_LowerLetter
};
enum TDVRTFCellMerge : uint8_t { rtf_cm_None, rtf_cm_First, rtf_cm_Merged };
enum TDVRTFVAlign : uint8_t { rtf_val_Top, rtf_val_Bottom, rtf_val_Center };

struct TDVRTFCharProperties {
  bool Hidden = false;
  int32_t Size = 12;  // points
  TColor Color = rtf_AutoColor;
  TColor BackColor = clNone;
  int32_t FontIndex = -1;  // position in the font table; -1: the \deff font
  uint8_t Style = 0;      // TDVRTFFontStyle bits
  uint8_t StyleEx = 0;    // TDVRTFFontStyleEx bits
  int32_t CharScaleX = 100;
  TDVRTFSScriptType SScriptType = rtf_ss_Normal;
  int32_t CharSpacingTw = 0;
  // Set only while a SYMBOL field's character is output.
  std::string FontName;
  void Reset() { *this = TDVRTFCharProperties(); }
  // Everything but FontName.
  void Assign(const TDVRTFCharProperties& source);
};

struct TDVRTFBorderSide {
  TDVRTFBorderType BorderType = rtf_brdr_None;
  int32_t WidthTw = 0;
  TColor Color = clNone;
  int32_t SpaceTw = 0;
};

struct TDVRTFParaBorder {
  std::array<std::optional<TDVRTFBorderSide>, 4> Sides;
  TDVRTFBorderSide& GetSides(TDVRTFSide side);
  // Some existing side has a type.
  bool HasBorder() const;
  // The side when it exists and has a type; null otherwise.
  const TDVRTFBorderSide* TypedSide(TDVRTFSide side) const;
};

struct TDVRTFParaProperties {
  int32_t LeftIndentTw = 0, RightIndentTw = 0, FirstIndentTw = 0, SpaceBeforeTw = 0, SpaceAfterTw = 0;
  TDVRTFAlignment Alignment = rtf_al_Left;
  std::optional<TDVRTFParaBorder> Border;
  TDVRTFSide CurBorderSide = rtf_side_Left;
  int32_t LineSpacing = 240;
  int32_t LineSpacingMulti = 1;
  TColor Color = clNone;  // shading
  int32_t NestingLevel = 1;
  bool InTable = false;
  bool NoTableEv = false;
  bool NoResetLev = false;
  TDVRTFParaBorder& GetBorder() { return Border ? *Border : Border.emplace(); }
  bool HasBorder() const { return Border && Border->HasBorder(); }
  // Keeps the nesting level and the in-table flag when NoResetLev is set.
  void Reset();
};

struct TDVRTFSectionProperties {
  int32_t ColumnCount = 1;
  TDVRTFSectionBreakType SectionBreakType = rtf_sbk_Page;
  int32_t PageNumberXTw = 720, PageNumberYTw = 720;
  TDVRTFPageNumberFormat PageNumberFormat = rtf_pg_Decimal;
  int32_t HeaderYTw = 720, FooterYTw = 720;
  void Reset() { *this = TDVRTFSectionProperties(); }
};

struct TDVRTFDocProperties {
  int32_t PaperWidthTw = 12240, PaperHeightTw = 15480;
  int32_t LeftMarginTw = 1800, TopMarginTw = 1440, RightMarginTw = 1800, BottomMarginTw = 1440;
  int32_t PageNumberStart = 1;
  bool FacingPages = false, Landscape = false;
};

struct TDVRTFCellProperties {
  TDVRTFCellMerge HMerge = rtf_cm_None, VMerge = rtf_cm_None;
  bool InvertWidth = false;
  int32_t BestWidth = 0;  // negative: per cent
  TColor Color = clNone;
  TDVRTFVAlign VAlign = rtf_val_Top;
  TDVRTFParaBorder Border;
  TDVRTFSide CurBorderSide = rtf_side_Left;
  int32_t RightBoundaryTw = 0;
  TColor ForeColor = 0;
  int32_t Shading = 0;  // hundredths of a per cent, 0..10000
  int32_t BestHeight = 0;
  // Mixes the shading into the colour.
  void Finalize();
};

struct TDVRTFRowProperties {
  // More \cellx in one row are ignored: no table has that many columns, and
  // a group copies its row.
  static constexpr int kMaxCells = 256;
  bool InvertWidth = false;
  int32_t GapHTw = 0, LeftTw = 0, HeightTw = 0;
  std::array<int32_t, 4> PaddingTw{}, SpacingTw{};  // by TDVRTFSide
  std::array<bool, 4> UsePadding{}, UseSpacing{};
  int32_t BestWidth = 0;
  TDVRTFAlignment Alignment = rtf_al_Left;
  TDVRTFParaBorder Border;
  TDVRTFSide CurBorderSide = rtf_side_Left;
  std::vector<TDVRTFCellProperties> CellProps{1};
  bool NewCellProps = true;
  bool AssumedLastCell = true;
  bool DocViewSpecial = false;
  // Some cell of the row carried its own width (\clwWidth).
  bool CellWidthsGiven = false;
  // A row whose cells were all dropped gets a new one, so that cell
  // keywords always have a cell to address.
  TDVRTFCellProperties& LastCell() { return CellProps.empty() ? CellProps.emplace_back() : CellProps.back(); }
  // At \row: drops the cell assumed after the last \cellx and mixes shadings.
  void Finalize();
};

// Widths given as a percentage (fts 2) are negative; fts 3 keeps the value;
// anything else clears it.
void ApplyWidthType(int32_t fts, int32_t& bestWidth, bool& invertWidth);

}  // namespace quillet
