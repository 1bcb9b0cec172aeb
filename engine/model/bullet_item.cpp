#include "engine/model/bullet_item.h"

#include <algorithm>

#include "engine/model/dv_data.h"
#include "engine/model/picture_item.h"
#include "engine/base/dvf_tokens.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_list.h"

namespace quillet {

TDVBulletItemInfo::TDVBulletItemInfo(TCustomDVData* dvData) : TDVRectItemInfo(dvData) { StyleNo = dvsBullet; }

int32_t TDVBulletItemInfo::GetImageListTag() const { return ImageList ? ImageList->Tag : ImageListTag; }

bool TDVBulletItemInfo::GetBoolValue(TDVItemBoolProperty prop) const {
  switch (prop) {
    case dvbpValid:
      return ImageList != nullptr;
    case dvbpDisplayActiveState:
      return true;
    default:
      return TDVRectItemInfo::GetBoolValue(prop);
  }
}

int32_t TDVBulletItemInfo::GetImageWidth(TDVStyle*) const { return ImageList ? ImageList->Width() : 0; }
int32_t TDVBulletItemInfo::GetImageHeight(TDVStyle*) const { return ImageList ? ImageList->Height() : 0; }

int32_t TDVBulletItemInfo::GetMinWidth(const TDVScreenAndDevice* sad, TCanvas*, TCustomDVData*) const {
  const int32_t width = GetWidth();
  return sad && sad->ppixScreen != 0 ? MulDiv(width, sad->ppixDevice, sad->ppixScreen) : width;
}

void TDVBulletItemInfo::Assign(const TCustomDVItemInfo& source) {
  if (const auto* bullet = dynamic_cast<const TDVBulletItemInfo*>(&source)) {
    ImageList = bullet->ImageList;
    ImageListTag = bullet->ImageListTag;
    ImageIndex = bullet->ImageIndex;
  }
  TDVRectItemInfo::Assign(source);
}

// ---- stream ----

std::string TDVBulletItemInfo::SaveDVFHeaderTail(TCustomDVData*) const {
  return std::to_string(GetImageListTag()) + ' ' + std::to_string(ImageIndex);
}

bool TDVBulletItemInfo::CheckImageIndex(int32_t& index, const TCustomImageList* list, TCustomDVData* dvData) {
  if (index >= 0 && (!list || index < list->Count())) return true;
  if (!dvData) return false;
  dvData->SetDVFWarnings(dvData->GetDVFWarnings() | dvfwConvLargeImageIdx);
  if (!(dvData->GetDVFOptions() & dvfoConvLargeImageIdxToZero)) return false;
  index = 0;
  return true;
}

bool TDVBulletItemInfo::ReadDVFHeader(std::string_view& p, TCustomDVData* dvData) {
  int32_t tag = 0, index = 0;
  if (!DVFReadInteger(p, tag) || !DVFReadInteger(p, index)) return false;
  ImageListTag = tag;
  ImageList = dvData ? dvData->DVFImageListNeeded(tag) : nullptr;
  if (!CheckImageIndex(index, ImageList, dvData)) return false;
  ImageIndex = index;
  return true;
}

void TDVBulletItemInfo::SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
                                const TDVMultiDrawItemPart*, bool forceSameAsPrev) const {
  DVFWriteLine(stream, DVFHeaderLine(dvData, paraNo, GetDVFExtraPropertyCount() + 1, dvfrtText, forceSameAsPrev));
  WriteNameLine(stream, name);
  SaveDVFExtraProperties(stream);
}

bool TDVBulletItemInfo::ReadDVFLine(std::string_view s, TCustomDVData*, int, int lineNo, int, std::string& name,
                                    TDVFReadMode&, TDVFReadState&) {
  if (lineNo != 0) return SetExtraPropertyFromDVFStr(s);
  name = std::string(s);
  return true;
}

// ---- drawing ----

bool TDVBulletItemInfo::DrawImage(TCanvas& canvas, int32_t x, int32_t y, int32_t index, TColor blendColor) const {
  // Indexes come from files and from callers: only one the list has is drawn.
  if (!ImageList || index < 0 || index >= ImageList->Count()) return false;
  ImageList->Draw(canvas, x, y, index, blendColor);
  return true;
}

void TDVBulletItemInfo::Paint(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates drawState,
                              const TDVStyle* dvStyle, const TDVDrawLineInfo*) const {
  DrawImage(canvas, x + 1, y + 1, GetImageIndex((drawState & dvidsHover) != 0), SelectionColor(dvStyle, drawState));
  if ((drawState & dvidsCurrent) && dvStyle && dvStyle->HoverColor != clNone) {
    canvas.Brush().Style = bsClear;
    canvas.Pen().Style = psSolid;
    canvas.Pen().Width = 1;
    canvas.Pen().Color = dvStyle->HoverColor;
    canvas.Rectangle(TRect{x, y, x + GetImageWidth(nullptr) + 2, y + GetImageHeight(nullptr) + 2});
    canvas.Brush().Style = bsSolid;
  }
}

void TDVBulletItemInfo::Print(TCanvas& canvas, int32_t x, int32_t y, int32_t, bool, bool,
                              const TDVScreenAndDevice& sad, TCustomDVData*, const TDVDrawLineInfo*, int) const {
  if (!ImageList) return;
  TBitmap bitmap(ImageList->Width(), ImageList->Height());
  if (!DrawImage(bitmap.Canvas(), 0, 0, ImageIndex, clNone)) return;
  DV_PictureToDevice(canvas, x + 1, y + 1, -1, -1, sad, bitmap, false);
}

bool TDVBulletItemInfo::PrintToBitmap(TBitmap& bitmap, bool, TCustomDVData*, const TDVDrawLineInfo*, int) const {
  DrawImage(bitmap.Canvas(), 0, 0, ImageIndex, clNone);
  return true;
}

// ---- export ----

void TDVBulletItemInfo::SaveToHTML(TStream& stream, TCustomDVData& dvData, int itemNo, const std::string&,
                                   const std::string& path, const std::string& imagesPrefix, int& imgSaveNo,
                                   TColor currentFileColor, TDVSaveOptions saveOptions, bool useCSS,
                                   TDVHTMLBullets& bullets) const {
  if (!ImageList) return;
  std::string location;
  if (!dvData.HTMLSaveImage(dvData, itemNo, path, currentFileColor, location)) {
    const auto saved = std::find_if(bullets.begin(), bullets.end(), [&](const TDVHTMLBulletInfo& info) {
      return info.ImageList == ImageList && info.ImageIndex == ImageIndex && info.BackColor == currentFileColor;
    });
    if (saved != bullets.end()) {
      location = saved->FileName;
    } else {
      TBitmap bitmap(ImageList->Width(), ImageList->Height());
      bitmap.Canvas().Brush().Color = currentFileColor == clNone ? clWhite : currentFileColor;
      bitmap.Canvas().Brush().Style = bsSolid;
      bitmap.Canvas().FillRect(TRect{0, 0, bitmap.Width(), bitmap.Height()});
      DrawImage(bitmap.Canvas(), 0, 0, ImageIndex, clNone);
      // Small images keep their exact pixels.
      location = DV_GetHTMLPath(dvData.SavePicture(false, path, imagesPrefix, imgSaveNo,
                                                   (saveOptions & dvsoOverrideImages) != 0, currentFileColor, bitmap));
      bullets.push_back({location, ImageList, ImageIndex, currentFileColor});
    }
  }
  std::string attributes = (saveOptions & dvsoNoHypertextImageBorders) ? " border=0 " : " ";
  if (saveOptions & dvsoImageSizes)
    attributes += "width=" + std::to_string(GetImageWidth(nullptr)) + " height=" +
                  std::to_string(GetImageHeight(nullptr)) + " ";
  std::string style;
  if (useCSS) {
    const std::string css = GetVShiftCSS(dvData.GetDVStyle());
    if (!css.empty()) style = " style=\"{" + css + "}\" ";
  }
  DVFWrite(stream, "<IMG" + attributes + style + "src=\"" + location + "\">");
}

void TDVBulletItemInfo::SaveRTF(TStream& stream, TCustomDVData&, int, const std::string&, double, int,
                                TDVColorList&, TDVIntegerList&, TDVIntegerList&) const {
  if (!ImageList) return;
  // As a bitmap whatever the options: no metafile can be recorded here.
  TBitmap bitmap(ImageList->Width(), ImageList->Height());
  DrawImage(bitmap.Canvas(), 0, 0, ImageIndex, clNone);
  DVFWrite(stream, "{\\pict");
  DVWriteRTFBitmap(stream, bitmap);
  DVFWrite(stream, "}");
}

TDVHotspotItemInfo::TDVHotspotItemInfo(TCustomDVData* dvData) : TDVBulletItemInfo(dvData) { StyleNo = dvsHotspot; }

bool TDVHotspotItemInfo::GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const {
  switch (prop) {
    case dvbpJump:
    case dvbpAllowsFocus:
    case dvbpXORFocus:
      return true;
    case dvbpHotColdJump:
      return HotImageIndex != ImageIndex;
    default:
      return TDVBulletItemInfo::GetBoolValueEx(prop, dvStyle);
  }
}

void TDVHotspotItemInfo::Assign(const TCustomDVItemInfo& source) {
  if (const auto* hotspot = dynamic_cast<const TDVHotspotItemInfo*>(&source)) HotImageIndex = hotspot->HotImageIndex;
  TDVBulletItemInfo::Assign(source);
}

std::string TDVHotspotItemInfo::SaveDVFHeaderTail(TCustomDVData* dvData) const {
  return TDVBulletItemInfo::SaveDVFHeaderTail(dvData) + ' ' + std::to_string(HotImageIndex);
}

bool TDVHotspotItemInfo::ReadDVFHeader(std::string_view& p, TCustomDVData* dvData) {
  if (!TDVBulletItemInfo::ReadDVFHeader(p, dvData)) return false;
  int32_t hot = ImageIndex;
  if (!p.empty() && (!DVFReadInteger(p, hot) || !CheckImageIndex(hot, ImageList, dvData))) return false;
  HotImageIndex = hot;
  return true;
}

}  // namespace quillet
