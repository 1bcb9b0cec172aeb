// The keyword table and its lookup.
#include "interchange/rtf/rtf_keywords.h"

#include <array>
#include <iterator>

namespace quillet {

namespace {

constexpr TDVRTFsymbol rgsymRtf[] = {
    {"b", 1, false, rtf_kwd_Prop, ipropBold, rtf_af_CharProp},
    {"ul", 1, false, rtf_kwd_Prop, ipropUnderline, rtf_af_CharProp},
    {"ulnone", 0, true, rtf_kwd_Prop, ipropUnderline, rtf_af_CharProp},
    {"i", 1, false, rtf_kwd_Prop, ipropItalic, rtf_af_CharProp},
    {"strike", 1, false, rtf_kwd_Prop, ipropStrike, rtf_af_CharProp},
    {"caps", 1, false, rtf_kwd_Prop, ipropAllCaps, rtf_af_CharProp},
    {"v", 1, false, rtf_kwd_Prop, ipropHidden, rtf_af_CharProp},
    {"fs", 24, false, rtf_kwd_Prop, ipropFontSize, rtf_af_CharProp},
    {"cf", 0, false, rtf_kwd_Prop, ipropTextColor, rtf_af_CharProp},
    {"chcbpat", 0, false, rtf_kwd_Prop, ipropTextBackColor, rtf_af_CharProp},
    {"highlight", 0, false, rtf_kwd_Prop, ipropHighlight, rtf_af_CharProp},
    {"plain", 0, false, rtf_kwd_Prop, ipropPlain, rtf_af_CharProp},
    {"charscalex", 100, false, rtf_kwd_Prop, ipropCharScaleX, rtf_af_CharProp},
    {"expndtw", 0, false, rtf_kwd_Prop, ipropCharSpacing, rtf_af_CharProp},
    {"sub", 1, true, rtf_kwd_Prop, ipropSScript, rtf_af_CharProp},
    {"super", 2, true, rtf_kwd_Prop, ipropSScript, rtf_af_CharProp},
    {"nosupersub", 0, true, rtf_kwd_Prop, ipropSScript, rtf_af_CharProp},
    {"f", 0, false, rtf_kwd_Prop, ipropF, rtf_af_CharProp},
    {"fcharset", 0, false, rtf_kwd_Prop, ipropFCharset, rtf_af_CharProp},
    {"cbpat", 0, false, rtf_kwd_Prop, ipropParaColor, rtf_af_ParaProp},
    {"li", 0, false, rtf_kwd_Prop, ipropLeftInd, rtf_af_ParaProp},
    {"ri", 0, false, rtf_kwd_Prop, ipropRightInd, rtf_af_ParaProp},
    {"fi", 0, false, rtf_kwd_Prop, ipropFirstInd, rtf_af_ParaProp},
    {"pard", 0, false, rtf_kwd_Prop, ipropPard, rtf_af_ParaProp},
    {"ql", 0, true, rtf_kwd_Prop, ipropJust, rtf_af_ParaProp},
    {"qr", 1, true, rtf_kwd_Prop, ipropJust, rtf_af_ParaProp},
    {"qc", 2, true, rtf_kwd_Prop, ipropJust, rtf_af_ParaProp},
    {"qj", 3, true, rtf_kwd_Prop, ipropJust, rtf_af_ParaProp},
    {"sb", 0, false, rtf_kwd_Prop, ipropSpaceBefore, rtf_af_ParaProp},
    {"sa", 0, false, rtf_kwd_Prop, ipropSpaceAfter, rtf_af_ParaProp},
    {"sl", 240, false, rtf_kwd_Prop, ipropSL, rtf_af_ParaProp},
    {"slmult", 1, false, rtf_kwd_Prop, ipropSLMult, rtf_af_ParaProp},
    {"brdrl", 0, true, rtf_kwd_Prop, ipropParaBorderSide, rtf_af_ParaProp},
    {"brdrt", 1, true, rtf_kwd_Prop, ipropParaBorderSide, rtf_af_ParaProp},
    {"brdrr", 2, true, rtf_kwd_Prop, ipropParaBorderSide, rtf_af_ParaProp},
    {"brdrb", 3, true, rtf_kwd_Prop, ipropParaBorderSide, rtf_af_ParaProp},
    {"brdrw", 1, false, rtf_kwd_Prop, ipropParaBorderWidth, rtf_af_ParaProp},
    {"brdrcf", 0, false, rtf_kwd_Prop, ipropParaBorderColor, rtf_af_ParaProp},
    {"brsp", 0, false, rtf_kwd_Prop, ipropParaBorderSpace, rtf_af_ParaProp},
    {"trbrdrl", 0, true, rtf_kwd_Prop, ipropTRBorderSide, rtf_af_ParaProp},
    {"trbrdrt", 1, true, rtf_kwd_Prop, ipropTRBorderSide, rtf_af_ParaProp},
    {"trbrdrr", 2, true, rtf_kwd_Prop, ipropTRBorderSide, rtf_af_ParaProp},
    {"trbrdrb", 3, true, rtf_kwd_Prop, ipropTRBorderSide, rtf_af_ParaProp},
    {"clbrdrl", 0, true, rtf_kwd_Prop, ipropCLBorderSide, rtf_af_ParaProp},
    {"clbrdrt", 1, true, rtf_kwd_Prop, ipropCLBorderSide, rtf_af_ParaProp},
    {"clbrdrr", 2, true, rtf_kwd_Prop, ipropCLBorderSide, rtf_af_ParaProp},
    {"clbrdrb", 3, true, rtf_kwd_Prop, ipropCLBorderSide, rtf_af_ParaProp},
    {"absnoovrlp", 0, false, rtf_kwd_Prop, ipropNoTableEv, rtf_af_ParaProp},
    {"pvpara", 0, false, rtf_kwd_Prop, ipropNoTableEv, rtf_af_ParaProp},
    {"pvmrg", 0, false, rtf_kwd_Prop, ipropNoTableEv, rtf_af_ParaProp},
    {"pvpg", 0, false, rtf_kwd_Prop, ipropNoTableEv, rtf_af_ParaProp},
    {"pntext", 0, false, rtf_kwd_Prop, ipropNoResetLev, rtf_af_ParaProp},
    {"listtext", 0, false, rtf_kwd_Prop, ipropNoResetLev, rtf_af_ParaProp},
    {"brdrs", 1, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrth", 2, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrsh", 3, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrdb", 4, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrdot", 5, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrdash", 6, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrhair", 7, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrdashsm", 8, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrdashd", 9, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrdashdd", 10, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrtriple", 11, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrtnthsg", 12, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrthtnsg", 13, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrtnthtnsg", 14, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrtnthmg", 15, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrthtnmg", 16, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrtnthtnmg", 17, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrtnthlg", 18, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrthtnlg", 19, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrtnthtnlg", 20, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrwavy", 21, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrwavydb", 22, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrdashdotstr", 23, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdremboss", 24, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrengrave", 25, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdrinset", 26, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"brdroutset", 27, true, rtf_kwd_Prop, ipropParaBorderType, rtf_af_ParaProp},
    {"u", 0, false, rtf_kwd_Prop, ipropU, rtf_af_None},
    {"uc", 1, false, rtf_kwd_Prop, ipropUC, rtf_af_None},
    {"ansicpg", 0, false, rtf_kwd_Prop, ipropAnsiCodePage, rtf_af_None},
    {"page", 0, false, rtf_kwd_Prop, ipropPage, rtf_af_None},
    {"sectd", 0, false, rtf_kwd_Prop, ipropSectd, rtf_af_None},
    {"cols", 1, false, rtf_kwd_Prop, ipropCols, rtf_af_None},
    {"sbknone", 0, true, rtf_kwd_Prop, ipropSbk, rtf_af_None},
    {"sbkcol", 1, true, rtf_kwd_Prop, ipropSbk, rtf_af_None},
    {"sbkeven", 2, true, rtf_kwd_Prop, ipropSbk, rtf_af_None},
    {"sbkodd", 3, true, rtf_kwd_Prop, ipropSbk, rtf_af_None},
    {"sbkpage", 4, true, rtf_kwd_Prop, ipropSbk, rtf_af_None},
    {"pgnx", 0, false, rtf_kwd_Prop, ipropPgnX, rtf_af_None},
    {"pgny", 0, false, rtf_kwd_Prop, ipropPgnY, rtf_af_None},
    {"pgndec", 0, true, rtf_kwd_Prop, ipropPgnFormat, rtf_af_None},
    {"pgnucrm", 1, true, rtf_kwd_Prop, ipropPgnFormat, rtf_af_None},
    {"pgnlcrm", 2, true, rtf_kwd_Prop, ipropPgnFormat, rtf_af_None},
    {"pgnucltr", 3, true, rtf_kwd_Prop, ipropPgnFormat, rtf_af_None},
    {"pgnlcltr", 4, true, rtf_kwd_Prop, ipropPgnFormat, rtf_af_None},
    {"paperw", 12240, false, rtf_kwd_Prop, ipropXaPage, rtf_af_None},
    {"paperh", 15480, false, rtf_kwd_Prop, ipropYaPage, rtf_af_None},
    {"margl", 1800, false, rtf_kwd_Prop, ipropXaLeft, rtf_af_None},
    {"margr", 1800, false, rtf_kwd_Prop, ipropXaRight, rtf_af_None},
    {"margt", 1440, false, rtf_kwd_Prop, ipropYaTop, rtf_af_None},
    {"margb", 1440, false, rtf_kwd_Prop, ipropYaBottom, rtf_af_None},
    {"headery", 720, false, rtf_kwd_Prop, ipropHeaderY, rtf_af_None},
    {"footery", 720, false, rtf_kwd_Prop, ipropFooterY, rtf_af_None},
    {"pgnstart", 1, false, rtf_kwd_Prop, ipropPgnStart, rtf_af_None},
    {"facingp", 1, true, rtf_kwd_Prop, ipropFacingp, rtf_af_None},
    {"landscape", 1, true, rtf_kwd_Prop, ipropLandscape, rtf_af_None},
    {"red", 0, false, rtf_kwd_Prop, ipropRed, rtf_af_None},
    {"green", 0, false, rtf_kwd_Prop, ipropGreen, rtf_af_None},
    {"blue", 0, false, rtf_kwd_Prop, ipropBlue, rtf_af_None},
    {"fnil", 0, true, rtf_kwd_Prop, ipropFontFamily, rtf_af_None},
    {"froman", 1, true, rtf_kwd_Prop, ipropFontFamily, rtf_af_None},
    {"fswiss", 2, true, rtf_kwd_Prop, ipropFontFamily, rtf_af_None},
    {"fmodern", 3, true, rtf_kwd_Prop, ipropFontFamily, rtf_af_None},
    {"fscript", 4, true, rtf_kwd_Prop, ipropFontFamily, rtf_af_None},
    {"fdecor", 5, true, rtf_kwd_Prop, ipropFontFamily, rtf_af_None},
    {"ftech", 6, true, rtf_kwd_Prop, ipropFontFamily, rtf_af_None},
    {"fbidi", 7, true, rtf_kwd_Prop, ipropFontFamily, rtf_af_None},
    {"deff", 0, false, rtf_kwd_Prop, ipropDefF, rtf_af_None},
    {"s", 0, false, rtf_kwd_Prop, ipropS, rtf_af_None},
    {"cs", 0, false, rtf_kwd_Prop, ipropCS, rtf_af_None},
    {"ds", 0, false, rtf_kwd_Prop, ipropDS, rtf_af_None},
    {"sbasedon", 0, false, rtf_kwd_Prop, ipropSBasedOn, rtf_af_None},
    {"snext", 0, false, rtf_kwd_Prop, irpropSNext, rtf_af_None},
    {"additive", 0, false, rtf_kwd_Prop, ipropAdditive, rtf_af_None},
    {"shidden", 0, false, rtf_kwd_Prop, ipropSHidden, rtf_af_None},
    {"picw", 0, false, rtf_kwd_Prop, ipropPicW, rtf_af_None},
    {"pich", 0, false, rtf_kwd_Prop, ipropPicH, rtf_af_None},
    {"picscalex", 100, false, rtf_kwd_Prop, ipropPicScaleX, rtf_af_None},
    {"picscaley", 100, false, rtf_kwd_Prop, ipropPicScaleY, rtf_af_None},
    {"wbmwidthbytes", 0, false, rtf_kwd_Prop, ipropWBMWidthBytes, rtf_af_None},
    {"emfblip", 0, true, rtf_kwd_Prop, ipropPictureType, rtf_af_None},
    {"pngblip", 1, true, rtf_kwd_Prop, ipropPictureType, rtf_af_None},
    {"jpegblip", 2, true, rtf_kwd_Prop, ipropPictureType, rtf_af_None},
    {"macpict", 3, true, rtf_kwd_Prop, ipropPictureType, rtf_af_None},
    {"pmmetafile", 4, true, rtf_kwd_Prop, ipropPictureType, rtf_af_None},
    {"dibitmap", 6, true, rtf_kwd_Prop, ipropPictureType, rtf_af_None},
    {"wbitmap", 7, true, rtf_kwd_Prop, ipropPictureType, rtf_af_None},
    {"wmetafile", 1, false, rtf_kwd_Prop, ipropMetafile, rtf_af_None},
    {"cell", 0, true, rtf_kwd_Prop, ipropCellEnd, rtf_af_None},
    {"nestcell", 1, true, rtf_kwd_Prop, ipropCellEnd, rtf_af_None},
    {"row", 0, true, rtf_kwd_Prop, ipropRowEnd, rtf_af_None},
    {"nestrow", 1, true, rtf_kwd_Prop, ipropRowEnd, rtf_af_None},
    {"intbl", 0, false, rtf_kwd_Prop, ipropInTbl, rtf_af_None},
    {"itap", 1, false, rtf_kwd_Prop, ipropItap, rtf_af_None},
    {"trowd", 0, false, rtf_kwd_Prop, ipropTRowD, rtf_af_None},
    {"trql", 0, true, rtf_kwd_Prop, ipropRowAlign, rtf_af_None},
    {"trqr", 1, true, rtf_kwd_Prop, ipropRowAlign, rtf_af_None},
    {"trqc", 2, true, rtf_kwd_Prop, ipropRowAlign, rtf_af_None},
    {"trgaph", 0, false, rtf_kwd_Prop, ipropTRGapH, rtf_af_None},
    {"trleft", 0, false, rtf_kwd_Prop, ipropTRLeft, rtf_af_None},
    {"trrh", 0, false, rtf_kwd_Prop, ipropTRRowHeight, rtf_af_None},
    {"trpaddl", 0, false, rtf_kwd_Prop, ipropTRPaddL, rtf_af_None},
    {"trpaddr", 0, false, rtf_kwd_Prop, ipropTRPaddR, rtf_af_None},
    {"trpaddt", 0, false, rtf_kwd_Prop, ipropTRPaddT, rtf_af_None},
    {"trpaddb", 0, false, rtf_kwd_Prop, ipropTRPaddB, rtf_af_None},
    {"trpaddfl", 0, false, rtf_kwd_Prop, ipropTRPaddFL, rtf_af_None},
    {"trpaddfr", 0, false, rtf_kwd_Prop, ipropTRPaddFR, rtf_af_None},
    {"trpaddft", 0, false, rtf_kwd_Prop, ipropTRPaddFT, rtf_af_None},
    {"trpaddfb", 0, false, rtf_kwd_Prop, ipropTRPaddFB, rtf_af_None},
    {"trspdl", 0, false, rtf_kwd_Prop, ipropTRSpdL, rtf_af_None},
    {"trspdr", 0, false, rtf_kwd_Prop, ipropTRSpdR, rtf_af_None},
    {"trspdt", 0, false, rtf_kwd_Prop, ipropTRSpdT, rtf_af_None},
    {"trspdb", 0, false, rtf_kwd_Prop, ipropTRSpdB, rtf_af_None},
    {"trspdfl", 0, false, rtf_kwd_Prop, ipropTRSpdFL, rtf_af_None},
    {"trspdfr", 0, false, rtf_kwd_Prop, ipropTRSpdFR, rtf_af_None},
    {"trspdft", 0, false, rtf_kwd_Prop, ipropTRSpdFT, rtf_af_None},
    {"trspdfb", 0, false, rtf_kwd_Prop, ipropTRSpdFB, rtf_af_None},
    {"trwWidth", 0, false, rtf_kwd_Prop, ipropTRwWidth, rtf_af_None},
    {"trftsWidth", 0, false, rtf_kwd_Prop, ipropTRftsWidth, rtf_af_None},
    {"clvmgf", 1, true, rtf_kwd_Prop, ipropCLVMerge, rtf_af_None},
    {"clvmrg", 2, true, rtf_kwd_Prop, ipropCLVMerge, rtf_af_None},
    {"clmgf", 1, true, rtf_kwd_Prop, ipropCLHMerge, rtf_af_None},
    {"clmrg", 2, true, rtf_kwd_Prop, ipropCLHMerge, rtf_af_None},
    {"clwWidth", 0, false, rtf_kwd_Prop, ipropCLwWidth, rtf_af_None},
    {"clftsWidth", 0, false, rtf_kwd_Prop, ipropCLftsWidth, rtf_af_None},
    {"clcbpat", 0, false, rtf_kwd_Prop, ipropCLColor, rtf_af_None},
    {"clcfpat", 0, false, rtf_kwd_Prop, ipropCLFColor, rtf_af_None},
    {"clshdng", 0, false, rtf_kwd_Prop, ipropCLShading, rtf_af_None},
    {"clvertalt", 0, true, rtf_kwd_Prop, ipropCLVertAl, rtf_af_None},
    {"clvertalb", 1, true, rtf_kwd_Prop, ipropCLVertAl, rtf_af_None},
    {"clvertalc", 2, true, rtf_kwd_Prop, ipropCLVertAl, rtf_af_None},
    {"cellx", 0, false, rtf_kwd_Prop, ipropCellX, rtf_af_None},
    {"docviewcbw", 0, false, rtf_kwd_Prop, ipropDVCellBestWidth, rtf_af_None},
    {"docviewcbh", 0, false, rtf_kwd_Prop, ipropDVCellBestHeight, rtf_af_None},
    {"docviewtbw", 0, false, rtf_kwd_Prop, ipropDVTableBestWidth, rtf_af_None},
    {"pict", 0, false, rtf_kwd_Dest, idestPict, rtf_af_None},
    {"fonttbl", 0, false, rtf_kwd_Dest, idestFontTable, rtf_af_None},
    {"colortbl", 0, false, rtf_kwd_Dest, idestColorTable, rtf_af_None},
    {"stylesheet", 0, false, rtf_kwd_Dest, idestStyleSheet, rtf_af_None},
    {"field", 0, false, rtf_kwd_Dest, idestField, rtf_af_None},
    {"fldinst", 0, false, rtf_kwd_Dest, idestFldInst, rtf_af_None},
    {"fldrslt", 0, false, rtf_kwd_Dest, idestFldRslt, rtf_af_None},
    {"header", 0, false, rtf_kwd_Dest, idestHeader, rtf_af_None},
    {"footer", 0, false, rtf_kwd_Dest, idestFooter, rtf_af_None},
    {"nesttableprops", 0, false, rtf_kwd_Dest, idestNestedTableProps, rtf_af_None},
    {"nonesttables", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"author", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"buptim", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"comment", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"creatim", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"doccomm", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"footerf", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"footerl", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"footerr", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"footnote", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"ftncn", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"ftnsep", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"ftnsepc", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"headerf", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"headerl", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"headerr", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"info", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"keywords", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"operator", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"printim", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"private1", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"revtim", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"rxe", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"subject", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"tc", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"title", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"txe", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"xe", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"par", 0, false, rtf_kwd_Char, 10, rtf_af_None},
    {"\n", 0, false, rtf_kwd_Char, 10, rtf_af_None},
    {"\r", 0, false, rtf_kwd_Char, 10, rtf_af_None},
    {"line", 0, false, rtf_kwd_Char, 13, rtf_af_None},
    {"tab", 0, false, rtf_kwd_Char, 9, rtf_af_None},
    {"{", 0, false, rtf_kwd_Char, 123, rtf_af_None},
    {"}", 0, false, rtf_kwd_Char, 125, rtf_af_None},
    {"\\", 0, false, rtf_kwd_Char, 92, rtf_af_None},
    {"ldblquote", 8220, false, rtf_kwd_WideChar, '"', rtf_af_None},
    {"rdblquote", 8221, false, rtf_kwd_WideChar, '"', rtf_af_None},
    {"lquote", 8216, false, rtf_kwd_WideChar, '\'', rtf_af_None},
    {"rquote", 8217, false, rtf_kwd_WideChar, '\'', rtf_af_None},
    {"endash", 8211, false, rtf_kwd_WideChar, '-', rtf_af_None},
    {"emdash", 8212, false, rtf_kwd_WideChar, '-', rtf_af_None},
    {"bin", 0, false, rtf_kwd_Spec, ipfnBin, rtf_af_None},
    {"*", 0, false, rtf_kwd_Spec, ipfnSkipDest, rtf_af_None},
    {"'", 0, false, rtf_kwd_Spec, ipfnHex, rtf_af_None},
    // Word processors' picture groups: the picture in {\*\shppict} is read,
    // the older copy in {\nonshppict} skipped; \pagebb (a page break before
    // the paragraph) is read as \page.
    {"shppict", 0, false, rtf_kwd_Dest, idestShpPict, rtf_af_None},
    {"nonshppict", 0, false, rtf_kwd_Dest, idestSkip, rtf_af_None},
    {"pagebb", 0, false, rtf_kwd_Prop, ipropPage, rtf_af_None}};

// Open addressing over a power-of-two table at most a quarter full: a
// keyword is found in about one probe, without allocating or hashing into
// buckets, on the parser's hottest path.
class TKeywordIndex {
 public:
  TKeywordIndex() {
    slots_.fill(-1);
    for (int i = 0; i < KeywordCount(); ++i) {
      size_t slot = Hash(rgsymRtf[i].Keyword) & kMask;
      while (slots_[slot] >= 0) {
        if (rgsymRtf[slots_[slot]].Keyword == rgsymRtf[i].Keyword) break;  // the first record wins
        slot = (slot + 1) & kMask;
      }
      if (slots_[slot] < 0) slots_[slot] = static_cast<int16_t>(i);
    }
  }

  PDVRTFsymbol Find(std::string_view keyword) const {
    for (size_t slot = Hash(keyword) & kMask; slots_[slot] >= 0; slot = (slot + 1) & kMask)
      if (rgsymRtf[slots_[slot]].Keyword == keyword) return &rgsymRtf[slots_[slot]];
    return nullptr;
  }

 private:
  static constexpr size_t kSlots = 1024;
  static constexpr size_t kMask = kSlots - 1;
  static_assert(std::size(rgsymRtf) * 4 <= kSlots);

  static size_t Hash(std::string_view keyword) {
    uint32_t h = 2166136261u;  // FNV-1a
    for (const char c : keyword) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h ^ (h >> 15);
  }

  std::array<int16_t, kSlots> slots_;
};

}  // namespace

PDVRTFsymbol FindKeyword(std::string_view keyword) {
  static const TKeywordIndex index;
  return index.Find(keyword);
}

int KeywordCount() { return static_cast<int>(std::size(rgsymRtf)); }

const TDVRTFsymbol& KeywordAt(int index) { return rgsymRtf[index]; }

}  // namespace quillet
