#include "engine/model/marker_item.h"

#include <algorithm>
#include <limits>

#include "engine/model/dv_data.h"
#include "engine/model/list_numbering.h"
#include "engine/base/dvf_tokens.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"

namespace quillet {

namespace {

int32_t Clamp32(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// A screen length in device pixels.
int32_t ToDevice(int32_t length, const TDVScreenAndDevice& sad) {
  return sad.ppixScreen == 0 ? length : MulDiv(length, sad.ppixDevice, sad.ppixScreen);
}

bool IsNumbering(TDVListType type) { return type >= dvlstDecimal && type <= dvlstUpperRoman; }

bool UsesImageList(TDVListType type) { return type == dvlstImageList || type == dvlstImageListCounter; }

const TDVStyle* StyleOf(const TCustomDVData* dvData) { return dvData ? dvData->GetDVStyle() : nullptr; }

}  // namespace

void DVSelectMarkerFont(TCanvas& canvas, TDVListLevel& level) {
  // A level without a font of its own uses the default one; asking the
  // level for it would create one, which its list style would then store.
  static const TDVMarkerFont kDefaultFont;
  const TDVMarkerFont& font = level.HasFont() ? level.Font() : kDefaultFont;
  TFont& target = canvas.Font();
  target = font;
  // The level keeps its size in points; on a printer it stays that size.
  if (font.PixelsPerInch != canvas.PixelsPerInchY()) {
    target.PixelsPerInch = canvas.PixelsPerInchY();
    target.SetSize(font.GetSize());
  }
  canvas.SetTextCharacterExtra(0);
  canvas.SetTextAlign(TA_LEFT | TA_TOP);
  canvas.Brush().Style = bsClear;
}

TDVMarkerItemInfo::TDVMarkerItemInfo(TCustomDVData* dvData) : TDVRectItemInfo(dvData) {
  StyleNo = dvsListMarker;
  SetSameAsPrev(false);
}

TDVMarkerItemInfo::TDVMarkerItemInfo(TCustomDVData* dvData, int32_t listNo, int32_t level, int32_t startFrom,
                                     bool reset)
    : TDVMarkerItemInfo(dvData) {
  ListNo = listNo;
  Level = level;
  StartFrom = startFrom;
  Reset = reset;
}

TDVListLevel* TDVMarkerItemInfo::GetLevelInfoEx(const TDVStyle* dvStyle, int32_t levelNo) const {
  if (!dvStyle || !dvStyle->ListStyles().IsValidIndex(ListNo)) return nullptr;
  const TDVListLevelCollection& levels = dvStyle->ListStyles()[ListNo].Levels();
  if (levels.Count() == 0 || levelNo < 0) return nullptr;
  return &levels[std::min(levelNo, levels.Count() - 1)];
}

bool TDVMarkerItemInfo::GetBoolValue(TDVItemBoolProperty prop) const {
  return prop == dvbpDrawingChangesFont || TDVRectItemInfo::GetBoolValue(prop);
}

bool TDVMarkerItemInfo::GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const {
  TDVListLevel* level = GetLevelInfo(dvStyle);
  switch (prop) {
    case dvbpPrintToBMP:
      if (!level) return false;
      if (UsesImageList(level->ListType)) return true;
      return level->ListType == dvlstPicture && level->HasPicture() &&
             level->Picture().Graphic()->ClassName() != "TMetafile";
    case dvbpActualPrintSize:
      return level && IsNumbering(level->ListType);
    default:
      return TDVRectItemInfo::GetBoolValueEx(prop, dvStyle);
  }
}

int32_t TDVMarkerItemInfo::GetImageWidth(TDVStyle* dvStyle) const {
  TDVListLevel* level = GetLevelInfo(dvStyle);
  if (!level) return 0;
  if ((level->ListType == dvlstPicture && level->HasPicture()) || (UsesImageList(level->ListType) && level->ImageList))
    return Width;
  return 0;
}

int32_t TDVMarkerItemInfo::GetImageHeight(TDVStyle* dvStyle) const {
  TDVListLevel* level = GetLevelInfo(dvStyle);
  if (!level) return 0;
  if (level->ListType == dvlstPicture && level->HasPicture()) return level->Picture().Graphic()->Height();
  if (UsesImageList(level->ListType) && level->ImageList) return level->ImageList->Height();
  return 0;
}

TDVMarkerItemInfo::Extent TDVMarkerItemInfo::MeasureContent(TCanvas& canvas, const TDVStyle* dvStyle) const {
  TDVListLevel* level = GetLevelInfo(dvStyle);
  Extent extent;
  if (!level) return extent;
  switch (level->ListType) {
    case dvlstPicture:
      if (level->HasPicture()) {
        extent.width = level->Picture().Graphic()->Width();
        extent.height = level->Picture().Graphic()->Height();
      }
      break;
    case dvlstImageList:
    case dvlstImageListCounter:
      if (level->ImageList) {
        extent.width = level->ImageList->Width();
        extent.height = level->ImageList->Height();
      }
      break;
    default: {
      DVSelectMarkerFont(canvas, *level);
      const TSize size =
          canvas.TextExtentW(DVMarkerTextToUnicode(DisplayString, CharsetToCodePage(canvas.Font().Charset)));
      extent.width = size.cx;
      extent.height = size.cy;
      extent.descent = canvas.GetTextMetrics().tmDescent;
      break;
    }
  }
  return extent;
}

void TDVMarkerItemInfo::Parts(const TDVListLevel* level, int32_t width, int32_t& left, int32_t& right) const {
  switch (level ? level->MarkerAlignment : dvmaLeft) {
    case dvmaRight:
      left = width;
      right = 0;
      break;
    case dvmaCenter:
      right = width / 2;
      left = width - right;
      break;
    default:
      left = 0;
      right = width;
      break;
  }
}

void TDVMarkerItemInfo::CalcSize(TCanvas& canvas, TCustomDVData* dvData, const TDVScreenAndDevice* sad) {
  const TDVStyle* dvStyle = StyleOf(dvData);
  const TDVListLevel* level = GetLevelInfo(dvStyle);
  const Extent extent = MeasureContent(canvas, dvStyle);
  int32_t left = 0, right = 0;
  Parts(level, extent.width, left, right);
  // The room from the marker's position to where the text starts.
  int32_t gap = level ? Clamp32(int64_t{level->FirstIndent} - level->MarkerIndent) : 0;
  if (sad) gap = ToDevice(gap, *sad);
  right = std::max(right, gap);
  Width = Clamp32(int64_t{left} + right);
  Height = extent.height;
  Descent = extent.descent;
  const bool rightToLeft = dvData && dvData->GetParaBiDiMode(ParaNo) == dvbdRightToLeft;
  Overhang = rightToLeft ? left : -left;
}

bool TDVMarkerItemInfo::OnDocWidthChange(int32_t, TDVDrawLineInfo*, bool, TCanvas& canvas, TCustomDVData* dvData,
                                         const TDVScreenAndDevice* sad, int32_t&) {
  CalcSize(canvas, dvData, sad);
  return false;
}

int32_t TDVMarkerItemInfo::GetMinWidth(const TDVScreenAndDevice* sad, TCanvas* canvas, TCustomDVData* dvData) const {
  const TDVStyle* dvStyle = StyleOf(dvData);
  const TDVListLevel* level = GetLevelInfo(dvStyle);
  const Extent extent = canvas ? MeasureContent(*canvas, dvStyle) : Extent{};
  int32_t left = 0, right = 0;
  Parts(level, extent.width, left, right);
  // Numbers are measured on the device itself; everything else is scaled.
  const bool actualSize = level && IsNumbering(level->ListType);
  int32_t gap = level ? Clamp32(int64_t{level->FirstIndent} - level->MarkerIndent) : 0;
  if (sad && actualSize) gap = ToDevice(gap, *sad);
  const int32_t width = std::max(right, gap);
  return sad && !actualSize ? ToDevice(width, *sad) : width;
}

void TDVMarkerItemInfo::Paint(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates, const TDVStyle* dvStyle,
                              const TDVDrawLineInfo*) const {
  TDVListLevel* level = GetLevelInfo(dvStyle);
  if (!level) return;
  switch (level->ListType) {
    case dvlstPicture:
      if (level->HasPicture()) canvas.Draw(x, y, *level->Picture().Graphic());
      break;
    case dvlstImageList:
    case dvlstImageListCounter: {
      if (!level->ImageList) break;
      int64_t index = level->ImageIndex;
      if (level->ListType == dvlstImageListCounter) index += int64_t{Counter} - 1;
      if (index >= 0 && index < level->ImageList->Count())
        level->ImageList->Draw(canvas, x, y, static_cast<int>(index));
      break;
    }
    default:
      DVSelectMarkerFont(canvas, *level);
      canvas.TextOutW(x, y, DVMarkerTextToUnicode(DisplayString, CharsetToCodePage(canvas.Font().Charset)));
      break;
  }
}

void TDVMarkerItemInfo::Print(TCanvas& canvas, int32_t x, int32_t y, int32_t, bool, bool, const TDVScreenAndDevice&,
                              TCustomDVData* dvData, const TDVDrawLineInfo* dli, int) const {
  Paint(x, y, canvas, dvidsPrinting, StyleOf(dvData), dli);
}

bool TDVMarkerItemInfo::PrintToBitmap(TBitmap& bitmap, bool, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
                                      int) const {
  Paint(0, 0, bitmap.Canvas(), dvidsPrinting, StyleOf(dvData), dli);
  return true;
}

void TDVMarkerItemInfo::Assign(const TCustomDVItemInfo& source) {
  if (const auto* marker = dynamic_cast<const TDVMarkerItemInfo*>(&source)) {
    ListNo = marker->ListNo;
    Level = marker->Level;
    StartFrom = marker->StartFrom;
    Reset = marker->Reset;
  }
  TDVRectItemInfo::Assign(source);
}

std::string TDVMarkerItemInfo::SaveDVFHeaderTail(TCustomDVData*) const {
  return std::to_string(ListNo) + ' ' + std::to_string(Level) + ' ' + std::to_string(StartFrom) + ' ' +
         (Reset ? '1' : '0');
}

bool TDVMarkerItemInfo::ReadDVFHeader(std::string_view& p, TCustomDVData*) {
  int32_t listNo = 0, level = 0, startFrom = 0, reset = 0;
  if (!DVFReadInteger(p, listNo) || !DVFReadInteger(p, level) || !DVFReadInteger(p, startFrom) ||
      !DVFReadInteger(p, reset))
    return false;
  if (listNo < 0 || level < 0 || level > DVMaxListLevel) return false;
  ListNo = listNo;
  Level = level;
  StartFrom = startFrom;
  Reset = reset != 0;
  return true;
}

bool TDVMarkerItemInfo::ReadDVFLine(std::string_view, TCustomDVData*, int, int, int, std::string&, TDVFReadMode&,
                                    TDVFReadState&) {
  return false;
}

void TDVMarkerItemInfo::MovingToUndoList(int itemNo, TCustomDVData* dvData) {
  TDVRectItemInfo::MovingToUndoList(itemNo, dvData);
  if (dvData) dvData->DeleteMarkerFromList(this, false);
}

void TDVMarkerItemInfo::MovingFromUndoList(int itemNo, TCustomDVData* dvData) {
  TDVRectItemInfo::MovingFromUndoList(itemNo, dvData);
  if (dvData) dvData->AddMarkerInList(itemNo);
}

}  // namespace quillet
