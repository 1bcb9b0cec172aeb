#pragma once
// Bullets: an image of an image list in the text; hotspots: bullets that are
// links and show another image under the mouse. The list belongs to the
// document's owner and is found again by its Tag when a document is read.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/model/item_info.h"

namespace quillet {

class TBitmap;
class TCustomImageList;

class TDVBulletItemInfo : public TDVRectItemInfo {
 public:
  explicit TDVBulletItemInfo(TCustomDVData* dvData);
  TDVItemClass ItemClass() const override { return DVItemClassOf<TDVBulletItemInfo>; }
  // ImageIndex by name, then the rect item's.
  bool GetIntPropertyByName(std::string_view name, int32_t& value) const override;
  bool SetIntPropertyByName(std::string_view name, int32_t value) override;

  TCustomImageList* ImageList = nullptr;  // not owned
  // The list's Tag as stored: kept while no list is there, so that the
  // reference is saved back as it was read.
  int32_t ImageListTag = 0;
  int32_t ImageIndex = 0;

  // The list's Tag when there is a list, else ImageListTag.
  int32_t GetImageListTag() const;
  virtual int32_t GetImageIndex(bool /*hot*/) const { return ImageIndex; }

  bool GetBoolValue(TDVItemBoolProperty prop) const override;
  int32_t GetImageWidth(TDVStyle* dvStyle) const override;
  int32_t GetImageHeight(TDVStyle* dvStyle) const override;
  int32_t GetWidth() const override { return GetImageWidth(nullptr) + 2; }
  int32_t GetHeight() const override { return GetImageHeight(nullptr) + 2; }
  int32_t GetMinWidth(const TDVScreenAndDevice* sad, TCanvas* canvas, TCustomDVData* dvData) const override;
  void Assign(const TCustomDVItemInfo& source) override;

  // ---- stream ----
  // "ImageListTag ImageIndex"; no alignment.
  std::string SaveDVFHeaderTail(TCustomDVData* dvData) const override;
  // The list is asked of the document by its tag. An index below 0, or not
  // below the count of a list that is there, adds dvfwConvLargeImageIdx and
  // fails, or becomes 0 with dvfoConvLargeImageIdxToZero.
  bool ReadDVFHeader(std::string_view& p, TCustomDVData* dvData) override;
  // Name, then the extra properties.
  void SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
               const TDVMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  bool ReadDVFLine(std::string_view s, TCustomDVData* dvData, int readType, int lineNo, int lineCount,
                   std::string& name, TDVFReadMode& readMode, TDVFReadState& readState) override;

  // ---- drawing ----
  void Paint(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates drawState, const TDVStyle* dvStyle,
             const TDVDrawLineInfo* dli) const override;
  void Print(TCanvas& canvas, int32_t x, int32_t y, int32_t x2, bool preview, bool correction,
             const TDVScreenAndDevice& sad, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
             int part) const override;
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
  // An index read from a stream, checked against the list (when there is
  // one) at both ends.
  static bool CheckImageIndex(int32_t& index, const TCustomImageList* list, TCustomDVData* dvData);
  // The image `index` of the list when it has one; false otherwise.
  bool DrawImage(TCanvas& canvas, int32_t x, int32_t y, int32_t index, TColor blendColor) const;
};

class TDVHotspotItemInfo : public TDVBulletItemInfo {
 public:
  explicit TDVHotspotItemInfo(TCustomDVData* dvData);
  TDVItemClass ItemClass() const override { return DVItemClassOf<TDVHotspotItemInfo>; }
  // HotImageIndex by name, then the bullet's.
  bool GetIntPropertyByName(std::string_view name, int32_t& value) const override;
  bool SetIntPropertyByName(std::string_view name, int32_t value) override;

  int32_t HotImageIndex = 0;  // shown under the mouse

  int32_t GetImageIndex(bool hot) const override { return hot ? HotImageIndex : ImageIndex; }
  // A link; hot and cold when the two images differ.
  bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const override;
  void Execute(TCustomDVData* dvData) override { DVExecuteJump(dvData, *this); }
  void Assign(const TCustomDVItemInfo& source) override;
  // The bullet's tail, then HotImageIndex (ImageIndex when absent), checked
  // the same way.
  std::string SaveDVFHeaderTail(TCustomDVData* dvData) const override;
  bool ReadDVFHeader(std::string_view& p, TCustomDVData* dvData) override;
};

}  // namespace quillet
