#include "engine/model/picture_item.h"

#include <algorithm>

#include "engine/model/dv_data.h"
#include "engine/model/image_print_info.h"
#include "engine/stream/dvf_pictures.h"
#include "engine/base/dvf_tokens.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/jpeg_image.h"
#include "platform/gfx/metafile.h"

namespace quillet {

namespace {

// A Windows metafile read from a stream is measured in twips.
constexpr uint16_t kStoredMetafileInch = 1440;
// The BMP file header that RTF leaves out, and the placeable header of a
// Windows metafile.
constexpr size_t kBitmapFileHeader = 14, kPlaceableHeader = 22;

bool IsBitmap(const TGraphic* graphic) { return graphic && graphic->ClassName() == "TBitmap"; }

std::vector<uint8_t> SavedBytes(const TGraphic& graphic) {
  TMemoryStream data;
  graphic.SaveToStream(data);
  return data.Bytes();
}

std::string Hex(const std::vector<uint8_t>& bytes, size_t from) {
  TMemoryStream data(std::vector<uint8_t>(bytes.begin() + static_cast<ptrdiff_t>(std::min(from, bytes.size())),
                                          bytes.end()));
  return DVFStream2TextString(data);
}

uint32_t ReadLE(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size && at + i < bytes.size(); ++i) value |= uint32_t{bytes[at + i]} << (8 * i);
  return value;
}

// An unknown or unreadable picture: a warning, and a read error unless the
// document ignores unknown picture formats.
bool UnknownPicture(TCustomDVData* dvData) {
  if (!dvData) return false;
  dvData->SetDVFWarnings(dvData->GetDVFWarnings() | dvfwUnknownPicFmt);
  return (dvData->GetDVFOptions() & dvfoIgnoreUnknownPicFmt) != 0;
}

}  // namespace

void DVWriteRTFBitmap(TStream& stream, const TBitmap& bitmap) {
  const std::vector<uint8_t> bytes = SavedBytes(bitmap);
  // The info header follows the file header: width at +4, bits per pixel at +14.
  const auto width = static_cast<int64_t>(ReadLE(bytes, kBitmapFileHeader + 4, 4));
  const auto bitCount = static_cast<int64_t>(ReadLE(bytes, kBitmapFileHeader + 14, 2));
  const int64_t widthBytes = (width * bitCount + 31) / 32 * 4;
  DVFWrite(stream, "\\dibitmap0\\wbmwidthbytes" + std::to_string(widthBytes) + "\\picw" +
                       std::to_string(bitmap.Width()) + "\\pich" + std::to_string(bitmap.Height()) + " ");
  DVFWrite(stream, Hex(bytes, kBitmapFileHeader));
}

TDVGraphicItemInfo::TDVGraphicItemInfo(TCustomDVData* dvData) : TDVRectItemInfo(dvData) { StyleNo = dvsPicture; }

TDVGraphicItemInfo::TDVGraphicItemInfo(TCustomDVData* dvData, std::unique_ptr<TGraphic> image, TDVVAlign vAlign)
    : TDVGraphicItemInfo(dvData) {
  Image = std::move(image);
  VAlign = vAlign;
}

TDVGraphicItemInfo::~TDVGraphicItemInfo() = default;

bool TDVGraphicItemInfo::GetBoolValue(TDVItemBoolProperty prop) const {
  switch (prop) {
    case dvbpValid:
      return Image != nullptr;
    case dvbpDisplayActiveState:
      return true;
    default:
      return TDVRectItemInfo::GetBoolValue(prop);
  }
}

bool TDVGraphicItemInfo::GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const {
  if (prop == dvbpPrintToBMP) return !Image || Image->ClassName() != "TMetafile";
  return TDVRectItemInfo::GetBoolValueEx(prop, dvStyle);
}

int32_t TDVGraphicItemInfo::GetImageWidth(TDVStyle*) const {
  if (ImageWidth > 0) return ImageWidth;
  return Image ? Image->Width() : 0;
}

int32_t TDVGraphicItemInfo::GetImageHeight(TDVStyle*) const {
  if (ImageHeight > 0) return ImageHeight;
  return Image ? Image->Height() : 0;
}

int32_t TDVGraphicItemInfo::GetMinWidth(const TDVScreenAndDevice* sad, TCanvas*, TCustomDVData*) const {
  const int32_t width = GetWidth();
  return sad && sad->ppixScreen != 0 ? MulDiv(width, sad->ppixDevice, sad->ppixScreen) : width;
}

void TDVGraphicItemInfo::Assign(const TCustomDVItemInfo& source) {
  if (const auto* picture = dynamic_cast<const TDVGraphicItemInfo*>(&source)) {
    Image = picture->Image ? picture->Image->Clone() : nullptr;
    ImageCopy.reset();
    ImageWidth = picture->ImageWidth;
    ImageHeight = picture->ImageHeight;
  }
  TDVRectItemInfo::Assign(source);
}

void TDVGraphicItemInfo::UpdatePaletteInfo(TDVPaletteAction action, bool) {
  ImageCopy.reset();
  if (!Image || (action != dvpaCreateCopies && action != dvpaCreateCopiesEx)) return;
  if (action == dvpaCreateCopiesEx && !IsBitmap(Image.get())) {
    auto bitmap = std::make_unique<TBitmap>(std::max(Image->Width(), 1), std::max(Image->Height(), 1));
    bitmap->Canvas().Draw(0, 0, *Image);
    ImageCopy = std::move(bitmap);
  } else {
    ImageCopy = Image->Clone();
  }
}

void TDVGraphicItemInfo::MovingToUndoList(int itemNo, TCustomDVData* dvData) {
  ImageCopy.reset();
  TDVRectItemInfo::MovingToUndoList(itemNo, dvData);
}

std::unique_ptr<TDVDrawLineInfo> TDVGraphicItemInfo::CreatePrintingDrawItem(TCustomDVData* dvData,
                                                                           const TDVScreenAndDevice* sad) const {
  TDVStyle* dvStyle = dvData ? dvData->GetDVStyle() : nullptr;
  if (!sad || MinHeightOnPage <= 0 || !GetBoolValueEx(dvbpPrintToBMP, dvStyle))
    return TDVRectItemInfo::CreatePrintingDrawItem(dvData, sad);
  auto info = std::make_unique<TDVMultiImagePrintInfo>(*this, dvStyle, *sad);
  info->SetSize(sad->ppixScreen ? MulDiv(GetWidth(), sad->ppixDevice, sad->ppixScreen) : GetWidth(),
                sad->ppiyScreen ? MulDiv(GetHeight(), sad->ppiyDevice, sad->ppiyScreen) : GetHeight());
  return info;
}

// ---- stream ----

int TDVGraphicItemInfo::GetDVFExtraPropertyCount() const {
  int count = TDVRectItemInfo::GetDVFExtraPropertyCount();
  count += (ImageWidth > 0) + (ImageHeight > 0) + (MinHeightOnPage > 0);
  if (IsBitmap(Image.get()) && Image->Transparent()) {
    count += 2;
    if (static_cast<const TBitmap&>(*Image).TransparentMode() == tmFixed) ++count;
  }
  return count;
}

void TDVGraphicItemInfo::SaveDVFExtraProperties(TStream& stream) const {
  TDVRectItemInfo::SaveDVFExtraProperties(stream);
  if (ImageWidth > 0) DVFWriteLine(stream, "width=" + std::to_string(ImageWidth));
  if (ImageHeight > 0) DVFWriteLine(stream, "height=" + std::to_string(ImageHeight));
  if (MinHeightOnPage > 0) DVFWriteLine(stream, "minheightonpage=" + std::to_string(MinHeightOnPage));
  if (IsBitmap(Image.get()) && Image->Transparent()) {
    const auto& bitmap = static_cast<const TBitmap&>(*Image);
    DVFWriteLine(stream, "transparent=1");
    DVFWriteLine(stream, "tmode=" + std::to_string(bitmap.TransparentMode()));
    if (bitmap.TransparentMode() == tmFixed)
      DVFWriteLine(stream, "tcolor=" + std::to_string(bitmap.TransparentColor()));
  }
}

bool TDVGraphicItemInfo::SetExtraIntProperty(TDVExtraItemProperty prop, int32_t value) {
  auto* bitmap = IsBitmap(Image.get()) ? static_cast<TBitmap*>(Image.get()) : nullptr;
  switch (prop) {
    case dvepImageWidth:
    case dvepImageHeight:
    case dvepMinHeightOnPage:
      if (!ValidSize(value)) return false;
      (prop == dvepImageWidth ? ImageWidth : prop == dvepImageHeight ? ImageHeight : MinHeightOnPage) = value;
      return true;
    case dvepTransparent:
      if (!bitmap) return false;
      bitmap->SetTransparent(value != 0);
      return true;
    case dvepTransparentMode:
      if (!bitmap || value < tmAuto || value > tmFixed) return false;
      bitmap->SetTransparentMode(static_cast<TTransparentMode>(value));
      return true;
    case dvepTransparentColor:
      if (!bitmap) return false;
      bitmap->SetTransparentColor(value);
      return true;
    default:
      return TDVRectItemInfo::SetExtraIntProperty(prop, value);
  }
}

bool TDVGraphicItemInfo::GetExtraIntProperty(TDVExtraItemProperty prop, int32_t& value) const {
  const auto* bitmap = IsBitmap(Image.get()) ? static_cast<const TBitmap*>(Image.get()) : nullptr;
  switch (prop) {
    case dvepImageWidth:
      value = ImageWidth;
      return true;
    case dvepImageHeight:
      value = ImageHeight;
      return true;
    case dvepMinHeightOnPage:
      value = MinHeightOnPage;
      return true;
    case dvepTransparent:
      if (!bitmap) return false;
      value = bitmap->Transparent() ? 1 : 0;
      return true;
    case dvepTransparentMode:
      if (!bitmap) return false;
      value = bitmap->TransparentMode();
      return true;
    case dvepTransparentColor:
      if (!bitmap) return false;
      value = bitmap->TransparentColor();
      return true;
    default:
      return TDVRectItemInfo::GetExtraIntProperty(prop, value);
  }
}

void TDVGraphicItemInfo::SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
                                 const TDVMultiDrawItemPart*, bool forceSameAsPrev) const {
  const bool body = (dvData.GetDVFOptions() & dvfoSavePicturesBody) && Image;
  const int readType = WriteBodyRecordHead(stream, dvData, paraNo, name, forceSameAsPrev, body,
                                           body ? Image->ClassName() : std::string_view());
  if (readType == dvfrtNoBody) return;
  if (readType == dvfrtBinary)
    DVFSavePictureBinary(stream, *Image);
  else
    DVFWriteLine(stream, DVFSavePicture(*Image));
}

bool TDVGraphicItemInfo::ReadDVFLine(std::string_view s, TCustomDVData* dvData, int readType, int lineNo,
                                     int lineCount, std::string& name, TDVFReadMode& readMode, TDVFReadState&) {
  if (readType == dvfrtNoBody) {
    if (lineNo != 0) return SetExtraPropertyFromDVFStr(s);
    name = std::string(s);
    if (dvData) Image = dvData->DVFPictureNeeded(name, Tag);
    return true;
  }
  // Name, class name and data at least.
  if (lineCount < 3) return false;
  if (readType == dvfrtBinary && lineNo == lineCount - 2) readMode = rmBeforeBinary;
  if (lineNo == 0) {
    name = std::string(s);
    return true;
  }
  if (lineNo == 1) {
    Image = DV_CreateGraphics ? DV_CreateGraphics(std::string(s)) : nullptr;
    unknownClass_ = !Image;
    return Image || UnknownPicture(dvData);
  }
  if (lineNo < lineCount - 1) return SetExtraPropertyFromDVFStr(s);
  if (unknownClass_) return true;  // the item stays without a picture and is dropped
  const bool loaded = readType == dvfrtBinary ? DVFLoadPictureBinary(s, *Image) : DVFLoadPicture(s, *Image);
  if (!loaded) {
    Image.reset();
    return UnknownPicture(dvData);
  }
  if (auto* metafile = dynamic_cast<TMetafile*>(Image.get()); metafile && !metafile->Enhanced())
    metafile->SetInch(kStoredMetafileInch);
  return true;
}

// ---- drawing ----

void TDVGraphicItemInfo::Paint(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates drawState,
                               const TDVStyle* dvStyle, const TDVDrawLineInfo*) const {
  const int32_t w = GetImageWidth(nullptr), h = GetImageHeight(nullptr);
  if (const TGraphic* graphic = Painted()) {
    if (ImageWidth > 0 || ImageHeight > 0)
      canvas.StretchDraw(Bounds(x + 1, y + 1, w, h), *graphic);
    else
      canvas.Draw(x + 1, y + 1, *graphic);
  }
  PaintFrames(canvas, x, y, w, h, drawState, dvStyle);
}

void TDVGraphicItemInfo::Print(TCanvas& canvas, int32_t x, int32_t y, int32_t, bool, bool,
                               const TDVScreenAndDevice& sad, TCustomDVData*, const TDVDrawLineInfo*, int) const {
  const TGraphic* graphic = Painted();
  if (!graphic) return;
  const int32_t frameX = sad.ppixScreen ? MulDiv(1, sad.ppixDevice, sad.ppixScreen) : 1;
  const int32_t frameY = sad.ppiyScreen ? MulDiv(1, sad.ppiyDevice, sad.ppiyScreen) : 1;
  canvas.SaveState();
  DV_PictureToDevice(canvas, x + frameX, y + frameY, GetImageWidth(nullptr), GetImageHeight(nullptr), sad, *graphic,
                     true);
  canvas.RestoreState();
}

bool TDVGraphicItemInfo::PrintToBitmap(TBitmap& bitmap, bool, TCustomDVData*, const TDVDrawLineInfo* dli,
                                       int part) const {
  const TGraphic* graphic = Painted();
  if (!graphic) return false;
  int32_t top = 0;
  const auto* split = dynamic_cast<const TDVMultiImagePrintInfo*>(dli);
  if (split && part >= 0 && part < split->PartCount()) top = split->Part(part).ImgTop;
  bitmap.Canvas().StretchDraw(Bounds(0, -top, GetImageWidth(nullptr), GetImageHeight(nullptr)), *graphic);
  return true;
}

// ---- export ----

std::string TDVGraphicItemInfo::HTMLExtraAttributes(TDVSaveOptions saveOptions) const {
  std::string attributes = (saveOptions & dvsoNoHypertextImageBorders) ? " border=0 " : " ";
  if ((saveOptions & dvsoImageSizes) || ImageWidth > 0 || ImageHeight > 0)
    attributes += "width=" + std::to_string(GetImageWidth(nullptr)) + " height=" +
                  std::to_string(GetImageHeight(nullptr)) + " ";
  return attributes;
}

void TDVGraphicItemInfo::SaveToHTML(TStream& stream, TCustomDVData& dvData, int, const std::string&,
                                    const std::string& path, const std::string& imagesPrefix, int& imgSaveNo,
                                    TColor currentFileColor, TDVSaveOptions saveOptions, bool useCSS,
                                    TDVHTMLBullets&) const {
  if (!Image) return;
  std::string attributes = HTMLExtraAttributes(saveOptions);
  if (useCSS) {
    const std::string css = GetVShiftCSS(dvData.GetDVStyle());
    if (!css.empty()) attributes += "style=\"{" + css + "}\" ";
  }
  // Pages carry pictures as JPEG files, which every browser shows.
  const std::string location = DV_GetHTMLPath(dvData.SavePicture(
      true, path, imagesPrefix, imgSaveNo, (saveOptions & dvsoOverrideImages) != 0, currentFileColor, *Image));
  const std::string align = VAlign == dvvaMiddle ? " align=middle" : "";
  DVFWrite(stream, "<IMG" + align + attributes + "src=\"" + location + "\">");
}

void TDVGraphicItemInfo::SaveRTF(TStream& stream, TCustomDVData& dvData, int, const std::string&, double, int,
                                 TDVColorList&, TDVIntegerList&, TDVIntegerList&) const {
  if (!Image || Image->Empty()) return;
  const TDVRTFOptions options = dvData.GetRTFOptions();
  DVFWrite(stream, "{\\pict");
  const std::string_view kind = Image->ClassName();
  if (kind == "TBitmap") {
    DVWriteRTFBitmap(stream, static_cast<const TBitmap&>(*Image));
  } else if (kind == "TMetafile") {
    // Nothing here plays metafiles back, so an enhanced one is never
    // converted: it is written as it is.
    const auto& metafile = static_cast<const TMetafile&>(*Image);
    const std::string size =
        "\\picw" + std::to_string(metafile.MMWidth()) + "\\pich" + std::to_string(metafile.MMHeight()) + " ";
    const std::vector<uint8_t> bytes = SavedBytes(metafile);
    if (metafile.Enhanced())
      DVFWrite(stream, "\\emfblip" + size + Hex(bytes, 0));
    else
      DVFWrite(stream, "\\wmetafile8" + size + Hex(bytes, kPlaceableHeader));
  } else if (kind == "TJPEGImage" && (options & dvrtfSaveJpegAsJpeg)) {
    DVFWrite(stream, "\\jpegblip\\picw" + std::to_string(Image->Width()) + "\\pich" +
                         std::to_string(Image->Height()) + " " + Hex(SavedBytes(*Image), 0));
  } else {
    // Other pictures go as a bitmap of their pixels: no metafile can be
    // recorded on this platform.
    TBitmap bitmap(std::max(Image->Width(), 1), std::max(Image->Height(), 1));
    bitmap.Canvas().Draw(0, 0, *Image);
    DVWriteRTFBitmap(stream, bitmap);
  }
  DVFWrite(stream, "}");
}

TDVHotGraphicItemInfo::TDVHotGraphicItemInfo(TCustomDVData* dvData) : TDVGraphicItemInfo(dvData) {
  StyleNo = dvsHotPicture;
}

TDVHotGraphicItemInfo::TDVHotGraphicItemInfo(TCustomDVData* dvData, std::unique_ptr<TGraphic> image,
                                             TDVVAlign vAlign)
    : TDVGraphicItemInfo(dvData, std::move(image), vAlign) {
  StyleNo = dvsHotPicture;
}

bool TDVHotGraphicItemInfo::GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const {
  if (prop == dvbpJump || prop == dvbpAllowsFocus || prop == dvbpXORFocus) return true;
  return TDVGraphicItemInfo::GetBoolValueEx(prop, dvStyle);
}

}  // namespace quillet
