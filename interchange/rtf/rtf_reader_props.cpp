// Property keywords: how each changes the current group's properties.
#include <algorithm>

#include "interchange/rtf/rtf_keywords.h"
#include "interchange/rtf/rtf_reader.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

void SetFlag(uint8_t& set, uint8_t flag, int32_t value) {
  if (value != 0)
    set |= flag;
  else
    set &= ~flag;
}

TDVRTFSide SideOf(int32_t value) { return static_cast<TDVRTFSide>(std::clamp(value, 0, 3)); }

template <class E>
E EnumOf(int32_t value, E last) {
  return static_cast<E>(std::clamp<int32_t>(value, 0, last));
}

}  // namespace

const TDVRTFFont* TDVRTFReader::CurrentFont() {
  if (fontTable_.Count() == 0) return nullptr;
  int index = state_.CharProps.FontIndex;
  if (index < 0 || index >= fontTable_.Count()) index = fontTable_.GetFontIndex(defFontNumber_, 0);
  return &fontTable_[index];
}

void TDVRTFReader::ParseSpecialProperty(int32_t iprop) {
  switch (iprop) {
    case ipropPlain: state_.CharProps.Reset(); break;
    case ipropPard: state_.ParaProps.Reset(); break;
    case ipropSectd: state_.SectProps.Reset(); break;
    case ipropTRowD: state_.MutableRowProps() = TDVRTFRowProperties(); break;
    default: break;
  }
}

TDVRTFErrorCode TDVRTFReader::ApplyUnicodeChar(int32_t value) {
  if (!OnNewUnicodeText) return rtf_ec_OK;
  skipNext_ = skipAnsiCount_;
  const char16_t unit = static_cast<char16_t>(value & 0xFFFF);
  if (state_.rds == rdsNorm) return OutputWideChar(unit);
  for (char ch : UnicodeToAnsi(std::u16string(1, unit))) {
    const TDVRTFErrorCode ec = ParseChar(static_cast<uint8_t>(ch));
    if (ec != rtf_ec_OK) return ec;
  }
  return rtf_ec_OK;
}

TDVRTFErrorCode TDVRTFReader::ApplyPropChange(int32_t iprop, int32_t value) {
  switch (state_.rds) {
    case rdsSkip:
      return rtf_ec_OK;
    case rdsColorTable:
      if (iprop == ipropRed) colorTable_.SetChannel(0, value);
      if (iprop == ipropGreen) colorTable_.SetChannel(8, value);
      if (iprop == ipropBlue) colorTable_.SetChannel(16, value);
      return rtf_ec_OK;
    case rdsPict:
      // Keywords of a picture nobody collects (no listener) are dropped too.
      return ApplyPictureProp(iprop, value);
    default:
      break;
  }
  TDVRTFCharProperties& chars = state_.CharProps;
  TDVRTFParaProperties& para = state_.ParaProps;
  const bool inText = state_.rds == rdsNorm;
  switch (iprop) {
    case ipropBold: SetFlag(chars.Style, rtf_fs_Bold, value); break;
    case ipropItalic: SetFlag(chars.Style, rtf_fs_Italic, value); break;
    case ipropUnderline: SetFlag(chars.Style, rtf_fs_Underline, value); break;
    case ipropStrike: SetFlag(chars.Style, rtf_fs_StrikeOut, value); break;
    case ipropAllCaps: SetFlag(chars.StyleEx, rtf_fs_AllCaps, value); break;
    case ipropCharScaleX: chars.CharScaleX = std::clamp(value, 1, 1000); break;
    case ipropCharSpacing: chars.CharSpacingTw = std::clamp(value, -32767, 32767); break;
    case ipropSScript: chars.SScriptType = EnumOf(value, rtf_ss_Superscript); break;
    case ipropFontSize: chars.Size = std::clamp(value / 2, 1, 1638); break;
    case ipropTextColor:
      if (colorTable_.InRange(value)) chars.Color = colorTable_[value];
      break;
    case ipropTextBackColor:
      if (colorTable_.InRange(value)) chars.BackColor = colorTable_[value] == rtf_AutoColor ? clNone : colorTable_[value];
      break;
    case ipropHighlight:
      if (ConvertHighlight == rtf_hl_FixedColors)
        chars.BackColor = GetHighlightColor(value);
      else if (ConvertHighlight == rtf_hl_ColorTable)
        return ApplyPropChange(ipropTextBackColor, value);
      break;
    case ipropHidden: chars.Hidden = value != 0; break;
    case ipropPlain:
    case ipropPard:
    case ipropSectd:
    case ipropTRowD:
      ParseSpecialProperty(iprop);
      break;
    case ipropF:
      if (state_.rds == rdsFontTable)
        fontTable_.Add(value);
      else if (inText || state_.rds == rdsStyleSheetEntry)
        chars.FontIndex = fontTable_.GetFontIndex(value, -1);
      break;
    case ipropDefF:
      if (inText) {
        defFontNumber_ = value;
        chars.FontIndex = -1;
      }
      break;
    case ipropFontFamily:
      if (state_.rds == rdsFontTable)
        if (TDVRTFFont* font = fontTable_.Last()) font->Family = EnumOf(value, rtf_ff_BiDi);
      break;
    case ipropFCharset:
      if (state_.rds == rdsFontTable)
        if (TDVRTFFont* font = fontTable_.Last()) font->Charset = static_cast<uint8_t>(std::clamp(value, 0, 255));
      break;
    case ipropSL: para.LineSpacing = value; break;
    case ipropSLMult: para.LineSpacingMulti = value; break;
    case ipropLeftInd: para.LeftIndentTw = value; break;
    case ipropRightInd: para.RightIndentTw = value; break;
    case ipropFirstInd: para.FirstIndentTw = value; break;
    case ipropSpaceBefore: para.SpaceBeforeTw = value; break;
    case ipropSpaceAfter: para.SpaceAfterTw = value; break;
    case ipropJust: para.Alignment = EnumOf(value, rtf_al_Justify); break;
    case ipropParaColor:
      if (colorTable_.InRange(value)) para.Color = colorTable_[value];
      break;
    case ipropParaBorderSide:
      state_.FCurrentBorderType = rtf_bt_Para;
      para.CurBorderSide = SideOf(value);
      break;
    case ipropTRBorderSide:
      state_.FCurrentBorderType = rtf_bt_Row;
      state_.MutableRowProps().CurBorderSide = SideOf(value);
      break;
    case ipropCLBorderSide:
      state_.FCurrentBorderType = rtf_bt_Cell;
      state_.MutableRowProps().LastCell().CurBorderSide = SideOf(value);
      break;
    case ipropParaBorderType: {
      const TDVRTFSide side = state_.CurrentBorderSide();
      TDVRTFBorderSide& border = state_.CurrentBorder().GetSides(side);
      if (border.BorderType == rtf_brdr_None) border.BorderType = EnumOf(value, rtf_brdr_Outset);
      break;
    }
    case ipropParaBorderWidth: {
      const TDVRTFSide side = state_.CurrentBorderSide();
      state_.CurrentBorder().GetSides(side).WidthTw = std::clamp(value, 0, 32767);
      break;
    }
    case ipropParaBorderColor:
      if (colorTable_.InRange(value)) {
        const TDVRTFSide side = state_.CurrentBorderSide();
        state_.CurrentBorder().GetSides(side).Color = colorTable_[value];
      }
      break;
    case ipropParaBorderSpace: para.GetBorder().GetSides(para.CurBorderSide).SpaceTw = value; break;
    case ipropCols: state_.SectProps.ColumnCount = value; break;
    case ipropPgnX: state_.SectProps.PageNumberXTw = value; break;
    case ipropPgnY: state_.SectProps.PageNumberYTw = value; break;
    case ipropHeaderY: state_.SectProps.HeaderYTw = value; break;
    case ipropFooterY: state_.SectProps.FooterYTw = value; break;
    case ipropSbk: state_.SectProps.SectionBreakType = EnumOf(value, rtf_sbk_Page); break;
    case ipropPgnFormat: state_.SectProps.PageNumberFormat = EnumOf(value, rtf_pg_LowerLetter); break;
    case ipropXaPage: state_.DocProps.PaperWidthTw = value; break;
    case ipropYaPage: state_.DocProps.PaperHeightTw = value; break;
    case ipropXaLeft: state_.DocProps.LeftMarginTw = value; break;
    case ipropXaRight: state_.DocProps.RightMarginTw = value; break;
    case ipropYaTop: state_.DocProps.TopMarginTw = value; break;
    case ipropYaBottom: state_.DocProps.BottomMarginTw = value; break;
    case ipropPgnStart: state_.DocProps.PageNumberStart = value; break;
    case ipropFacingp: state_.DocProps.FacingPages = value != 0; break;
    case ipropLandscape: state_.DocProps.Landscape = value != 0; break;
    case ipropAnsiCodePage: codePage_ = static_cast<uint32_t>(std::max(value, 0)); break;
    case ipropU: return ApplyUnicodeChar(value);
    case ipropUC: skipAnsiCount_ = std::clamp(value, 0, 16); break;
    case ipropPage: return RequiredPageBreak();
    case ipropS:
    case ipropCS:
    case ipropDS:
    case ipropSBasedOn:
    case irpropSNext:
    case ipropAdditive:
    case ipropSHidden:
      return ApplyStyleSheetProp(iprop, value);
    case ipropRed:
    case ipropGreen:
    case ipropBlue:
    case ipropPicW:
    case ipropPicH:
    case ipropPicScaleX:
    case ipropPicScaleY:
    case ipropWBMWidthBytes:
    case ipropPictureType:
    case ipropMetafile:
      return rtf_ec_BadTable;
    default:
      return ApplyTableProp(iprop, value);
  }
  return rtf_ec_OK;
}

TDVRTFErrorCode TDVRTFReader::ApplyTableProp(int32_t iprop, int32_t value) {
  TDVRTFParaProperties& para = state_.ParaProps;
  switch (iprop) {
    case ipropInTbl: para.InTable = true; return rtf_ec_OK;
    case ipropItap:
      // One level past the limit marks text that stays in the deepest cell.
      para.NestingLevel = std::clamp(value, 0, kMaxTableNesting + 1);
      if (value > 0) para.InTable = true;
      return rtf_ec_OK;
    case ipropNoTableEv: para.NoTableEv = true; return rtf_ec_OK;
    case ipropNoResetLev: para.NoResetLev = true; return rtf_ec_OK;
    case ipropRowEnd:
      if (TooDeep()) return rtf_ec_OK;
      state_.MutableRowProps().Finalize();
      CheckTable(true);
      if (OnTable) OnTable(*this, dvf_tbl_RowEnd);
      return rtf_ec_OK;
    case ipropCellEnd: {
      CheckTable(true);
      const TDVRTFErrorCode ec = OutputChar(0, true, true);
      position_ = rtf_ts_NewPara;
      // A cell of a table nested past the limit is a paragraph of the deepest cell.
      if (OnTable && !TooDeep()) OnTable(*this, dvf_tbl_CellEnd);
      return ec;
    }
    default:
      break;
  }
  TDVRTFRowProperties& row = state_.MutableRowProps();
  switch (iprop) {
    case ipropRowAlign: row.Alignment = EnumOf(value, rtf_al_Justify); break;
    case ipropTRGapH: row.GapHTw = value; break;
    case ipropTRLeft: row.LeftTw = value; break;
    case ipropTRRowHeight: row.HeightTw = value; break;
    case ipropTRPaddL: row.PaddingTw[rtf_side_Left] = value; break;
    case ipropTRPaddR: row.PaddingTw[rtf_side_Right] = value; break;
    case ipropTRPaddT: row.PaddingTw[rtf_side_Top] = value; break;
    case ipropTRPaddB: row.PaddingTw[rtf_side_Bottom] = value; break;
    case ipropTRPaddFL: row.UsePadding[rtf_side_Left] = value == 3; break;
    case ipropTRPaddFR: row.UsePadding[rtf_side_Right] = value == 3; break;
    case ipropTRPaddFT: row.UsePadding[rtf_side_Top] = value == 3; break;
    case ipropTRPaddFB: row.UsePadding[rtf_side_Bottom] = value == 3; break;
    case ipropTRSpdL: row.SpacingTw[rtf_side_Left] = value; break;
    case ipropTRSpdR: row.SpacingTw[rtf_side_Right] = value; break;
    case ipropTRSpdT: row.SpacingTw[rtf_side_Top] = value; break;
    case ipropTRSpdB: row.SpacingTw[rtf_side_Bottom] = value; break;
    case ipropTRSpdFL: row.UseSpacing[rtf_side_Left] = value == 3; break;
    case ipropTRSpdFR: row.UseSpacing[rtf_side_Right] = value == 3; break;
    case ipropTRSpdFT: row.UseSpacing[rtf_side_Top] = value == 3; break;
    case ipropTRSpdFB: row.UseSpacing[rtf_side_Bottom] = value == 3; break;
    case ipropTRwWidth: row.BestWidth = row.InvertWidth && value != INT32_MIN ? -value : value; break;
    case ipropTRftsWidth: ApplyWidthType(value, row.BestWidth, row.InvertWidth); break;
    case ipropCLwWidth: {
      TDVRTFCellProperties& cell = row.LastCell();
      cell.BestWidth = cell.InvertWidth && value != INT32_MIN ? -value : value;
      row.CellWidthsGiven = true;
      break;
    }
    case ipropCLftsWidth: ApplyWidthType(value, row.LastCell().BestWidth, row.LastCell().InvertWidth); break;
    case ipropCLVMerge: row.LastCell().VMerge = EnumOf(value, rtf_cm_Merged); break;
    case ipropCLHMerge: row.LastCell().HMerge = EnumOf(value, rtf_cm_Merged); break;
    case ipropCLVertAl: row.LastCell().VAlign = EnumOf(value, rtf_val_Center); break;
    case ipropCLShading: row.LastCell().Shading = std::clamp(value, 0, 10000); break;
    case ipropCLColor:
      if (colorTable_.InRange(value))
        row.LastCell().Color = colorTable_[value] == rtf_AutoColor ? clNone : colorTable_[value];
      break;
    case ipropCLFColor:
      if (colorTable_.InRange(value)) row.LastCell().ForeColor = colorTable_[value];
      break;
    case ipropCellX:
      row.LastCell().RightBoundaryTw = value;
      if (static_cast<int>(row.CellProps.size()) < TDVRTFRowProperties::kMaxCells) row.CellProps.emplace_back();
      row.AssumedLastCell = true;
      break;
    case ipropDVCellBestWidth:
      row.LastCell().BestWidth = value;
      row.DocViewSpecial = true;
      break;
    case ipropDVCellBestHeight:
      row.LastCell().BestHeight = value;
      row.DocViewSpecial = true;
      break;
    case ipropDVTableBestWidth:
      row.BestWidth = value;
      row.DocViewSpecial = true;
      break;
    default:
      return rtf_ec_BadTable;
  }
  return rtf_ec_OK;
}

}  // namespace quillet
