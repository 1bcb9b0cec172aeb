#pragma once
// Pictures in the text, and pictures that are hypertext links.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/model/item_info.h"

namespace quillet {

class TBitmap;
class TGraphic;

class TDVGraphicItemInfo : public TDVRectItemInfo {
 public:
  explicit TDVGraphicItemInfo(TCustomDVData* dvData);
  TDVGraphicItemInfo(TCustomDVData* dvData, std::unique_ptr<TGraphic> image, TDVVAlign vAlign);
  ~TDVGraphicItemInfo() override;
  TDVItemClass ItemClass() const override { return DVItemClassOf<TDVGraphicItemInfo>; }
  // ImageWidth and ImageHeight by name, then the rect item's.
  bool GetIntPropertyByName(std::string_view name, int32_t& value) const override;
  bool SetIntPropertyByName(std::string_view name, int32_t value) override;

  std::unique_ptr<TGraphic> Image;
  // The copy that is painted while the document asks for palette copies.
  std::unique_ptr<TGraphic> ImageCopy;
  // Own size; 0 or less: the graphic's.
  int32_t ImageWidth = 0, ImageHeight = 0;

  TGraphic* AsImage() const override { return Image.get(); }
  bool GetBoolValue(TDVItemBoolProperty prop) const override;
  bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const override;
  int32_t GetImageWidth(TDVStyle* dvStyle) const override;
  int32_t GetImageHeight(TDVStyle* dvStyle) const override;
  int32_t GetWidth() const override { return GetImageWidth(nullptr) + 2; }
  int32_t GetHeight() const override { return GetImageHeight(nullptr) + 2; }
  int32_t GetMinWidth(const TDVScreenAndDevice* sad, TCanvas* canvas, TCustomDVData* dvData) const override;
  // A copy of the picture, its size, and the rect item's fields.
  void Assign(const TCustomDVItemInfo& source) override;
  void UpdatePaletteInfo(TDVPaletteAction action, bool forceRecreateCopy) override;
  void MovingToUndoList(int itemNo, TCustomDVData* dvData) override;
  // A multi-part drawing item when the picture may split over pages.
  std::unique_ptr<TDVDrawLineInfo> CreatePrintingDrawItem(TCustomDVData* dvData,
                                                          const TDVScreenAndDevice* sad) const override;

  // ---- stream ----
  // Name, class name, extra properties, picture data; without the body
  // (dvfoSavePicturesBody off) only the name and the extra properties.
  void SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
               const TDVMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  bool ReadDVFLine(std::string_view s, TCustomDVData* dvData, int readType, int lineNo, int lineCount,
                   std::string& name, TDVFReadMode& readMode, TDVFReadState& readState) override;
  int GetDVFExtraPropertyCount() const override;
  void SaveDVFExtraProperties(TStream& stream) const override;
  // Sizes are 0..32767; the transparency properties belong to bitmaps.
  bool SetExtraIntProperty(TDVExtraItemProperty prop, int32_t value) override;
  bool GetExtraIntProperty(TDVExtraItemProperty prop, int32_t& value) const override;

  // ---- drawing ----
  void Paint(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates drawState, const TDVStyle* dvStyle,
             const TDVDrawLineInfo* dli) const override;
  void Print(TCanvas& canvas, int32_t x, int32_t y, int32_t x2, bool preview, bool correction,
             const TDVScreenAndDevice& sad, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
             int part) const override;
  // The picture at its size into the bitmap; the slice of the part when the
  // drawing item is split over pages.
  bool PrintToBitmap(TBitmap& bitmap, bool preview, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
                     int part) const override;

  // ---- export ----
  void SaveToHTML(TStream& stream, TCustomDVData& dvData, int itemNo, const std::string& text,
                  const std::string& path, const std::string& imagesPrefix, int& imgSaveNo, TColor currentFileColor,
                  TDVSaveOptions saveOptions, bool useCSS, TDVHTMLBullets& bullets) const override;
  void SaveRTF(TStream& stream, TCustomDVData& dvData, int itemNo, const std::string& itemText,
               double twipsPerPixel, int level, TDVColorList& colorList, TDVIntegerList& styleToFont,
               TDVIntegerList& fontTable) const override;

 protected:
  // " border=0 " or " ", then "width=%d height=%d " when asked for or set.
  std::string HTMLExtraAttributes(TDVSaveOptions saveOptions) const;

 private:
  const TGraphic* Painted() const { return ImageCopy ? ImageCopy.get() : Image.get(); }
  bool unknownClass_ = false;  // the stored class was not known; its data is skipped
};

class TDVHotGraphicItemInfo : public TDVGraphicItemInfo {
 public:
  explicit TDVHotGraphicItemInfo(TCustomDVData* dvData);
  TDVHotGraphicItemInfo(TCustomDVData* dvData, std::unique_ptr<TGraphic> image, TDVVAlign vAlign);
  TDVItemClass ItemClass() const override { return DVItemClassOf<TDVHotGraphicItemInfo>; }
  // A link: it jumps and takes the focus.
  bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const override;
  void Execute(TCustomDVData* dvData) override { DVExecuteJump(dvData, *this); }
};

// "{\pict" bodies: a bitmap as "\dibitmap0\wbmwidthbytes%d\picw%d\pich%d "
// and the hexadecimal text of its file form without the 14-byte file header.
void DVWriteRTFBitmap(TStream& stream, const TBitmap& bitmap);

}  // namespace quillet
