#pragma once
// Small enumerations shared by the style classes, kept apart so that text
// styles, paragraph styles and their borders can use them without including
// each other.
#include <cstdint>

namespace quillet {

// Reading direction of text or of a paragraph; unspecified inherits it.
enum TDVBiDiMode { dvbdUnspecified, dvbdLeftToRight, dvbdRightToLeft };

// Paragraph style properties; the ordinal is the bit position in a
// TDVParaInfoProperties mask (ignore lists and search masks).
enum TDVParaInfoProperty {
  dvpiFirstIndent, dvpiLeftIndent, dvpiRightIndent, dvpiSpaceBefore, dvpiSpaceAfter, dvpiAlignment,
  dvpiNextParaNo, dvpiLineSpacing, dvpiLineSpacingType,
  dvpiBackground_Color, dvpiBackground_BO_Left, dvpiBackground_BO_Top, dvpiBackground_BO_Right,
  dvpiBackground_BO_Bottom,
  dvpiBorder_Color, dvpiBorder_Style, dvpiBorder_Width, dvpiBorder_InternalWidth,
  dvpiBorder_BO_Left, dvpiBorder_BO_Top, dvpiBorder_BO_Right, dvpiBorder_BO_Bottom,
  dvpiBorder_Vis_Left, dvpiBorder_Vis_Top, dvpiBorder_Vis_Right, dvpiBorder_Vis_Bottom,
  dvpiNoWrap, dvpiReadOnly, dvpiStyleProtect, dvpiDoNotWantReturns, dvpiBiDiMode
};

using TDVParaInfoProperties = uint32_t;

constexpr TDVParaInfoProperties DVParaInfoProperty(TDVParaInfoProperty p) { return 1u << p; }
constexpr bool DVHasParaInfoProperty(TDVParaInfoProperties set, TDVParaInfoProperty p) {
  return (set & DVParaInfoProperty(p)) != 0;
}
constexpr TDVParaInfoProperties DVAllParaInfoProperties = (1u << (dvpiBiDiMode + 1)) - 1;

}  // namespace quillet
