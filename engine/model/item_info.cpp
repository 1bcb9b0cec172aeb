#include "engine/model/item_info.h"

#include "engine/layout/draw_lines.h"
#include "engine/layout/formatted_data.h"
#include "engine/model/dv_data.h"
#include "engine/base/dvf_tokens.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/gfx/canvas.h"

namespace quillet {

TCustomDVItemInfo::TCustomDVItemInfo(TCustomDVData* /*dvData*/) {}
TCustomDVItemInfo::~TCustomDVItemInfo() = default;

void TCustomDVItemInfo::SetSameAsPrev(bool value) {
  if (value)
    ItemOptions = static_cast<TDVItemOptions>((ItemOptions | dvioSameAsPrev) & ~(dvioPageBreakBefore | dvioBR));
  else
    ItemOptions &= static_cast<TDVItemOptions>(~dvioSameAsPrev);
}

void TCustomDVItemInfo::SetPageBreakBefore(bool value) {
  if (value)
    ItemOptions = static_cast<TDVItemOptions>((ItemOptions | dvioPageBreakBefore) & ~(dvioSameAsPrev | dvioBR));
  else
    ItemOptions &= static_cast<TDVItemOptions>(~dvioPageBreakBefore);
}

void TCustomDVItemInfo::SetBR(bool value) {
  if (value && !GetBoolValue(dvbpFullWidth))
    ItemOptions = static_cast<TDVItemOptions>((ItemOptions | dvioBR) & ~dvioSameAsPrev);
  else
    ItemOptions &= static_cast<TDVItemOptions>(~dvioBR);
}

int32_t TCustomDVItemInfo::GetMinWidth(const TDVScreenAndDevice* sad, TCanvas*, TCustomDVData*) const {
  constexpr int32_t kMinWidth = 20;
  if (!sad || sad->ppixScreen == 0) return kMinWidth;
  return MulDiv(kMinWidth, sad->ppixDevice, sad->ppixScreen);
}

bool TCustomDVItemInfo::GetBoolValue(TDVItemBoolProperty prop) const {
  return prop == dvbpValid || prop == dvbpRequiresDVFLines;
}

bool TCustomDVItemInfo::GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle*) const {
  return prop == dvbpPrintToBMP;
}

bool TCustomDVItemInfo::OnDocWidthChange(int32_t, TDVDrawLineInfo*, bool, TCanvas&, TCustomDVData*,
                                         const TDVScreenAndDevice*, int32_t&) {
  return false;
}

std::unique_ptr<TDVDrawLineInfo> TCustomDVItemInfo::CreatePrintingDrawItem(TCustomDVData*,
                                                                           const TDVScreenAndDevice*) const {
  return std::make_unique<TDVDrawLineInfo>();
}

void TCustomDVItemInfo::Inserting(TCustomDVData* dvData, std::string& text, bool) {
  if (dvData) dvData->ItemAction(dviaInserting, this, text);
}

std::string TCustomDVItemInfo::SaveDVFHeaderTail(TCustomDVData*) const { return {}; }

bool TCustomDVItemInfo::ReadDVFLine(std::string_view, TCustomDVData*, int, int, int, std::string&, TDVFReadMode&,
                                    TDVFReadState&) {
  return true;
}

namespace {

// The names of extra properties as data lines store them, in enumeration
// order; the first entry stands for an unknown name.
constexpr std::string_view DVFExtraItemPropNames[] = {"",       "vshift",      "vshiftabs", "width",
                                                      "height", "transparent", "tmode",     "tcolor",
                                                      "minheightonpage", "percentwidth"};

}  // namespace

bool TCustomDVItemInfo::SetExtraPropertyFromDVFStr(std::string_view s) {
  const size_t eq = s.find('=');
  if (eq == std::string_view::npos) return true;
  const std::string_view name = s.substr(0, eq);
  std::string_view valueText = s.substr(eq + 1);
  int32_t value = 0;
  // A value that is not a whole number reads as 0.
  if (!DVFReadInteger(valueText, value) || !valueText.empty()) value = 0;
  for (size_t i = 1; i < std::size(DVFExtraItemPropNames); ++i) {
    if (DVFExtraItemPropNames[i] == name) {
      const auto prop = static_cast<TDVExtraItemProperty>(i);
      if (SetExtraIntProperty(prop, value)) return true;
      // A property the item has refused its value; one it lacks is skipped.
      int32_t current = 0;
      return !GetExtraIntProperty(prop, current);
    }
  }
  return true;
}

void TCustomDVItemInfo::Assign(const TCustomDVItemInfo& source) {
  StyleNo = source.StyleNo;
  ParaNo = source.ParaNo;
  ItemOptions = source.ItemOptions;
}

void TCustomDVItemInfo::MovingToUndoList(int, TCustomDVData* dvData) {
  if (!dvData) return;
  std::string empty;
  dvData->ItemAction(dviaMovingToUndoList, this, empty);
}

TCursor TCustomDVItemInfo::GetHypertextCursor(const TDVStyle& dvStyle) const { return dvStyle.JumpCursor; }

void TCustomDVItemInfo::MarkStylesInUse(TDVIntegerList&, TDVIntegerList& usedPara) const {
  if (ParaNo >= 0 && ParaNo < usedPara.Count()) usedPara.Put(ParaNo, 1);
}

int32_t TCustomDVItemInfo::MapStyleNo(int32_t no, const TDVIntegerList& map) {
  if (no < 0 || no >= map.Count()) return no;
  return no - (map[no] - 1);
}

void TCustomDVItemInfo::UpdateStyles(const TDVIntegerList&, const TDVIntegerList& paraMap) {
  ParaNo = MapStyleNo(ParaNo, paraMap);
}

void TDVTextItemInfo::Execute(TCustomDVData* dvData) {
  const TDVStyle* sheet = dvData ? dvData->GetDVStyle() : nullptr;
  if (sheet && sheet->TextStyles().IsValidIndex(StyleNo) && sheet->TextStyles()[StyleNo].Jump)
    DVExecuteJump(dvData, *this);
}

void DVExecuteJump(TCustomDVData* dvData, const TCustomDVItemInfo& item) {
  if (auto* formatted = dynamic_cast<TCustomDVFormattedData*>(dvData))
    formatted->DoJump(formatted->GetFirstJumpNo() + item.JumpID);
}

bool TDVTextItemInfo::GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const {
  switch (prop) {
    case dvbpPrintToBMP:
      return true;
    case dvbpJump:
    case dvbpAllowsFocus:
    case dvbpXORFocus:
      return dvStyle && dvStyle->TextStyles().IsValidIndex(StyleNo) && dvStyle->TextStyles()[StyleNo].Jump;
    case dvbpHotColdJump:
      return dvStyle && dvStyle->TextStyles().IsValidIndex(StyleNo) && dvStyle->TextStyles()[StyleNo].Jump &&
             dvStyle->StyleHoverSensitive(StyleNo);
    default:
      return false;
  }
}

void TDVTextItemInfo::MarkStylesInUse(TDVIntegerList& usedText, TDVIntegerList& usedPara) const {
  TCustomDVItemInfo::MarkStylesInUse(usedText, usedPara);
  if (StyleNo >= 0 && StyleNo < usedText.Count()) usedText.Put(StyleNo, 1);
}

void TDVTextItemInfo::UpdateStyles(const TDVIntegerList& textMap, const TDVIntegerList& paraMap) {
  TCustomDVItemInfo::UpdateStyles(textMap, paraMap);
  StyleNo = MapStyleNo(StyleNo, textMap);
}

std::string TDVNonTextItemInfo::DVFHeaderLine(TCustomDVData& dvData, int32_t paraNo, int lineCount, int readType,
                                              bool forceSameAsPrev) const {
  const TDVItemOptions options = forceSameAsPrev ? DVFGetItemOptions(ItemOptions) : ItemOptions;
  static const TDVStyle kNoStyles;
  const TDVStyle* dvStyle = dvData.GetDVStyle();
  const bool useStyleNames = dvStyle && (dvData.GetDVFOptions() & dvfoUseStyleNames) != 0;
  std::string line = std::to_string(StyleNo);
  line += ' ';
  line += std::to_string(lineCount);
  line += ' ';
  line += DVFItemSavePara(paraNo, dvStyle ? *dvStyle : kNoStyles, useStyleNames, forceSameAsPrev);
  line += ' ';
  line += std::to_string(options & DVStoredItemOptions);
  line += ' ';
  line += std::to_string(readType);
  line += ' ';
  line += DVFSaveTag(dvData.TagsArePChars(), Tag);
  line += ' ';
  line += SaveDVFHeaderTail(&dvData);
  return line;
}

void TDVNonTextItemInfo::SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string&,
                                 const TDVMultiDrawItemPart*, bool forceSameAsPrev) const {
  DVFWriteLine(stream, DVFHeaderLine(dvData, paraNo, 0, dvfrtText, forceSameAsPrev));
}

bool TDVFullLineItemInfo::GetBoolValue(TDVItemBoolProperty prop) const {
  return prop == dvbpFullWidth || TDVNonTextItemInfo::GetBoolValue(prop);
}

void TDVRectItemInfo::Assign(const TCustomDVItemInfo& source) {
  if (const auto* rect = dynamic_cast<const TDVRectItemInfo*>(&source)) {
    VAlign = rect->VAlign;
    VShift = rect->VShift;
    VShiftAbs = rect->VShiftAbs;
    MinHeightOnPage = rect->MinHeightOnPage;
  }
  TDVNonTextItemInfo::Assign(source);
}

std::string TDVRectItemInfo::SaveDVFHeaderTail(TCustomDVData*) const { return std::to_string(VAlign); }

bool TDVRectItemInfo::ReadDVFHeader(std::string_view& p, TCustomDVData*) {
  VAlign = dvvaBaseline;
  if (p.empty()) return true;
  int32_t vAlign = 0;
  if (!DVFReadInteger(p, vAlign) || vAlign < dvvaBaseline || vAlign > dvvaMiddle) return false;
  VAlign = static_cast<TDVVAlign>(vAlign);
  return true;
}

int TDVRectItemInfo::GetDVFExtraPropertyCount() const { return (VShift != 0 ? 1 : 0) + (VShiftAbs ? 1 : 0); }

void TDVRectItemInfo::SaveDVFExtraProperties(TStream& stream) const {
  if (VShift != 0) DVFWriteLine(stream, "vshift=" + std::to_string(VShift));
  if (VShiftAbs) DVFWriteLine(stream, "vshiftabs=1");
}

bool TDVRectItemInfo::SetExtraIntProperty(TDVExtraItemProperty prop, int32_t value) {
  switch (prop) {
    case dvepVShift:
      VShift = value;
      return true;
    case dvepVShiftAbs:
      VShiftAbs = value != 0;
      return true;
    default:
      return false;
  }
}

bool TDVRectItemInfo::GetExtraIntProperty(TDVExtraItemProperty prop, int32_t& value) const {
  switch (prop) {
    case dvepVShift:
      value = VShift;
      return true;
    case dvepVShiftAbs:
      value = VShiftAbs ? 1 : 0;
      return true;
    default:
      return false;
  }
}

std::string TDVRectItemInfo::GetVShiftCSS(TDVStyle* dvStyle) const {
  const int32_t height = GetImageHeight(dvStyle);
  if (VShift == 0 || height == 0 || VAlign != dvvaBaseline) return {};
  return "vertical-align : " + std::to_string(VShiftAbs ? VShift : MulDiv(height, VShift, 100));
}

void TDVRectItemInfo::WriteNameLine(TStream& stream, const std::string& name) {
  DVFWriteLine(stream, DVFSafeLine(name));
}

int TDVRectItemInfo::WriteBodyRecordHead(TStream& stream, TCustomDVData& dvData, int32_t paraNo,
                                         const std::string& name, bool forceSameAsPrev, bool saveBody,
                                         std::string_view className) const {
  const int readType = !saveBody                                    ? dvfrtNoBody
                       : (dvData.GetDVFOptions() & dvfoSaveBinary) ? dvfrtBinary
                                                                   : dvfrtText;
  const int lineCount = GetDVFExtraPropertyCount() + (saveBody ? 3 : 1);
  DVFWriteLine(stream, DVFHeaderLine(dvData, paraNo, lineCount, readType, forceSameAsPrev));
  WriteNameLine(stream, name);
  if (saveBody) DVFWriteLine(stream, className);
  SaveDVFExtraProperties(stream);
  return readType;
}

TColor TDVRectItemInfo::SelectionColor(const TDVStyle* dvStyle, TDVItemDrawStates drawState) {
  if (!dvStyle || !(drawState & dvidsSelected)) return clNone;
  return (drawState & dvidsControlFocused) ? dvStyle->SelColor : dvStyle->InactiveSelColor;
}

void TDVRectItemInfo::PaintFrames(TCanvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h,
                                  TDVItemDrawStates drawState, const TDVStyle* dvStyle) {
  if (!dvStyle) return;
  canvas.Brush().Style = bsClear;
  canvas.Pen().Style = psSolid;
  canvas.Pen().Width = 1;
  canvas.Pen().Mode = pmCopy;
  if ((drawState & dvidsCurrent) && dvStyle->HoverColor != clNone) {
    canvas.Pen().Color = dvStyle->HoverColor;
    canvas.Rectangle(TRect{x - 1, y - 1, x + w + 3, y + h + 3});
  }
  const TColor selColor = SelectionColor(dvStyle, drawState);
  if (selColor != clNone) {
    canvas.Pen().Color = selColor;
    canvas.Rectangle(TRect{x, y, x + w + 2, y + h + 2});
  }
  canvas.Brush().Style = bsSolid;
}

TDVItemOptions DVFGetItemOptions(TDVItemOptions options) {
  return static_cast<TDVItemOptions>((options | dvioSameAsPrev) & ~(dvioPageBreakBefore | dvioBR));
}

}  // namespace quillet
