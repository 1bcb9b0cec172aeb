#pragma once
// The control words and symbols the RTF reader knows: what kind each is and
// the character, destination, special action or property it stands for.
// Words missing from the table are ignored by the reader.
#include <cstdint>
#include <string_view>

namespace quillet {

enum TDVRTFKeywordType : uint8_t { rtf_kwd_Char, rtf_kwd_WideChar, rtf_kwd_Dest, rtf_kwd_Prop, rtf_kwd_Spec };
// Which properties a property keyword touches; keywords that touch character
// properties end the text run before them.
enum TDVRTFKeywordAffect : uint8_t { rtf_af_None, rtf_af_CharProp, rtf_af_ParaProp, rtf_af_BothProp };

enum TRTFIDEST : int32_t {
  idestPict, idestSkip, idestFontTable, idestStyleSheet, idestColorTable, idestStyleSheetParaStyle,
  idestStyleSheetCharStyle, idestStyleSheetSectStyle, idestField, idestFldInst, idestFldRslt,
  idestNestedTableProps, idestHeader, idestFooter,
  // The picture group word processors give in place of their older copy
  // ({\*\shppict}): read like the text around it.
  idestShpPict
};

enum TRTFIPFN : int32_t { ipfnBin, ipfnHex, ipfnSkipDest };

enum TRTFIPROP : int32_t {
  ipropBold, ipropItalic, ipropUnderline, ipropStrike, ipropCharScaleX, ipropCharSpacing, ipropSScript,
  ipropAllCaps, ipropFontSize, ipropTextColor, ipropTextBackColor, ipropHighlight, ipropSL, ipropSLMult,
  ipropLeftInd, ipropRightInd, ipropFirstInd, ipropCols, ipropPgnX, ipropPgnY, ipropHeaderY, ipropFooterY,
  ipropXaPage, ipropYaPage, ipropXaLeft, ipropXaRight, ipropYaTop, ipropYaBottom, ipropPgnStart, ipropSbk,
  ipropPgnFormat, ipropFacingp, ipropLandscape, ipropJust, ipropPard, ipropPlain, ipropSectd, ipropF,
  ipropDefF, ipropSpaceBefore, ipropSpaceAfter, ipropParaBorderType, ipropParaBorderSide, ipropParaBorderWidth,
  ipropParaBorderColor, ipropParaBorderSpace, ipropParaColor, ipropAnsiCodePage, ipropU, ipropUC, ipropPage,
  ipropField, ipropFldInst, ipropFldRslt, ipropHidden, ipropRed, ipropGreen, ipropBlue, ipropFontFamily,
  ipropFCharset, ipropS, ipropCS, ipropDS, ipropSBasedOn, irpropSNext, ipropAdditive, ipropSHidden, ipropPicW,
  ipropPicH, ipropPicScaleX, ipropPicScaleY, ipropWBMWidthBytes, ipropPictureType, ipropMetafile, ipropRowEnd,
  ipropCellEnd, ipropInTbl, ipropItap, ipropTRowD, ipropRowAlign, ipropTRGapH, ipropTRLeft, ipropTRRowHeight,
  ipropTRPaddL, ipropTRPaddR, ipropTRPaddT, ipropTRPaddB, ipropTRPaddFL, ipropTRPaddFR, ipropTRPaddFT,
  ipropTRPaddFB, ipropTRSpdL, ipropTRSpdR, ipropTRSpdT, ipropTRSpdB, ipropTRSpdFL, ipropTRSpdFR, ipropTRSpdFT,
  ipropTRSpdFB, ipropTRwWidth, ipropTRftsWidth, ipropCLVMerge, ipropCLHMerge, ipropCLwWidth, ipropCLftsWidth,
  ipropCLColor, ipropCLFColor, ipropCLShading, ipropCLVertAl, ipropCellX, ipropTRBorderSide, ipropCLBorderSide,
  ipropNoTableEv, ipropNoResetLev, ipropDVCellBestWidth, ipropDVCellBestHeight, ipropDVTableBestWidth, ipropMax
};

struct TDVRTFsymbol {
  std::string_view Keyword;
  // The value without a parameter (or always, with UseDefault); the UTF-16
  // unit of a Unicode character.
  int32_t DefValue;
  bool UseDefault;
  TDVRTFKeywordType Kind;
  // Character code, TRTFIDEST, TRTFIPFN or TRTFIPROP by kind; the 8-bit
  // fallback of a Unicode character.
  int32_t Index;
  TDVRTFKeywordAffect Affect;
};
using PDVRTFsymbol = const TDVRTFsymbol*;

// The record of a keyword (exact, case-sensitive); null when unknown. A
// hashed lookup, so that reading stays linear in the file.
PDVRTFsymbol FindKeyword(std::string_view keyword);
// Every record, for tests.
int KeywordCount();
const TDVRTFsymbol& KeywordAt(int index);

}  // namespace quillet
