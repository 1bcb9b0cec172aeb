#include "engine/model/break_item.h"

#include <algorithm>
#include <cmath>

#include "engine/model/dv_data.h"
#include "engine/base/dvf_tokens.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"
#include "platform/gfx/canvas.h"

namespace quillet {

TDVBreakItemInfo::TDVBreakItemInfo(TCustomDVData* dvData) : TDVFullLineItemInfo(dvData) { StyleNo = dvsBreak; }

TDVBreakItemInfo::TDVBreakItemInfo(TCustomDVData* dvData, uint8_t lineWidth, TDVBreakStyle style, TColor color)
    : TDVBreakItemInfo(dvData) {
  LineWidth = lineWidth;
  Style = style;
  Color = color;
}

bool TDVBreakItemInfo::GetBoolValue(TDVItemBoolProperty prop) const {
  return prop != dvbpRequiresDVFLines && TDVFullLineItemInfo::GetBoolValue(prop);
}

bool TDVBreakItemInfo::GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const {
  return prop != dvbpPrintToBMP && TDVFullLineItemInfo::GetBoolValueEx(prop, dvStyle);
}

void TDVBreakItemInfo::Assign(const TCustomDVItemInfo& source) {
  if (const auto* line = dynamic_cast<const TDVBreakItemInfo*>(&source)) {
    LineWidth = line->LineWidth;
    Style = line->Style;
    Color = line->Color;
  }
  TDVFullLineItemInfo::Assign(source);
}

std::string TDVBreakItemInfo::SaveDVFHeaderTail(TCustomDVData*) const {
  return std::to_string(Color) + ' ' + std::to_string(Style) + ' ' + std::to_string(LineWidth);
}

bool TDVBreakItemInfo::ReadDVFHeader(std::string_view& p, TCustomDVData*) {
  Color = clNone;
  Style = dvbsLine;
  LineWidth = 1;
  if (p.empty()) return true;
  int32_t color = 0, style = 0, width = 0;
  if (!DVFReadInteger(p, color) || !DVFReadInteger(p, style) || !DVFReadInteger(p, width)) return false;
  if (style < dvbsLine || style > dvbs3d || width < 0 || width > 255) return false;
  Color = color;
  Style = static_cast<TDVBreakStyle>(style);
  LineWidth = static_cast<uint8_t>(width);
  return true;
}

TColor TDVBreakItemInfo::LineColor(const TDVStyle* dvStyle) const {
  if (Color != clNone) return Color;
  if (dvStyle && dvStyle->TextStyles().Count() > 0) return dvStyle->TextStyles()[0].Color;
  return clWindowText;
}

void TDVBreakItemInfo::PaintFullWidth(int32_t left, int32_t right, int32_t top, TCanvas& canvas,
                                      TDVItemDrawStates drawState, const TDVStyle* dvStyle, const TRect&,
                                      const TDVDrawLineInfo*) const {
  TPen& pen = canvas.Pen();
  pen.Style = psSolid;
  pen.Mode = pmCopy;
  pen.Color = LineColor(dvStyle);
  pen.Width = LineWidth;
  canvas.MoveTo(left + 5, top + 5);
  canvas.LineTo(right - 5, top + 5);
  pen.Width = 1;
  if (!(drawState & dvidsSelected) || !dvStyle) return;
  const TColor selColor = (drawState & dvidsControlFocused) ? dvStyle->SelColor : dvStyle->InactiveSelColor;
  if (selColor == clNone) return;
  pen.Color = selColor;
  for (int32_t y : {top + 4, top + 6}) {
    canvas.MoveTo(left + 5, y);
    canvas.LineTo(right - 5, y);
  }
}

void TDVBreakItemInfo::Print(TCanvas& canvas, int32_t x, int32_t y, int32_t x2, bool, bool,
                             const TDVScreenAndDevice& sad, TCustomDVData* dvData, const TDVDrawLineInfo*,
                             int) const {
  const auto scale = [](int32_t value, int32_t device, int32_t screen) {
    return screen == 0 ? value : static_cast<int32_t>(int64_t{value} * device / screen);
  };
  const int32_t dx = scale(5, sad.ppixDevice, sad.ppixScreen);
  const int32_t dy = scale(5, sad.ppiyDevice, sad.ppiyScreen);
  TPen& pen = canvas.Pen();
  pen.Style = psInsideFrame;
  pen.Mode = pmCopy;
  pen.Color = LineColor(dvData ? dvData->GetDVStyle() : nullptr);
  pen.Width = scale(LineWidth, sad.ppiyDevice, sad.ppiyScreen);
  canvas.MoveTo(x + dx, y + dy);
  canvas.LineTo(x2 - dx, y + dy);
}

std::string TDVBreakItemInfo::AsText(int lineWidth, TCustomDVData*, const std::string&, const std::string&, bool,
                                     bool unicode) const {
  const char c = LineWidth < 2 ? '-' : '=';
  const size_t count = static_cast<size_t>(std::max(lineWidth, 1));
  if (!unicode) return std::string(count, c);
  std::string units;
  units.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    units += c;
    units += '\0';
  }
  return units;
}

void TDVBreakItemInfo::SaveToHTML(TStream& stream, TCustomDVData&, int, const std::string&, const std::string&,
                                  const std::string&, int&, TColor, TDVSaveOptions saveOptions, bool useCSS,
                                  TDVHTMLBullets&) const {
  std::string tag = "<HR noshade size=" + std::to_string(LineWidth);
  if ((useCSS || (saveOptions & dvsoForceNonTextCSS)) && Color != clNone)
    tag += " style='{color : " + DV_GetHTMLRGBStr(Color) + "}'";
  tag += '>';
  DVFWrite(stream, tag);
}

void TDVBreakItemInfo::SaveRTF(TStream& stream, TCustomDVData&, int, const std::string&, double twipsPerPixel,
                               int level, TDVColorList& colorList, TDVIntegerList&, TDVIntegerList&) const {
  std::string prefix;
  if (level == 1)
    prefix = "\\intbl\\itap1";
  else if (level > 1)
    prefix = "\\itap" + std::to_string(level);
  const auto width = static_cast<int64_t>(std::nearbyint(LineWidth * twipsPerPixel));
  const int colorNo = Color == clNone ? 0 : std::max(colorList.IndexOf(Color), 0);
  DVFWrite(stream, "\\pard" + prefix + "\\plain\\fs6\\brdrb\\brdrs\\brdrw" + std::to_string(width) + "\\brdrcf" +
                       std::to_string(colorNo) + "\\par\\pard" + prefix);
}

void TDVBreakItemInfo::FillRTFColorTable(TDVColorList& colorList) const { colorList.AddUnique(Color); }

}  // namespace quillet
