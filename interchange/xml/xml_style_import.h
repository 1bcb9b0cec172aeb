#pragma once
// The XML import's style sheet, bullets and print settings: the "style",
// "bullets" and "print" children of the root element, and the maps from the
// file's style numbers to the editor's.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/base/dv_lists.h"
#include "platform/gfx/image_list.h"

namespace quillet {

class TBitmap;
class TDVListInfo;
class TDVListLevel;
class TDVPrint;
class TDVStyle;
class TFontInfo;
class TParaInfo;
class TXMLTag;

// What a load does with the file's "style" element (stored in this order).
enum TStyleLoadingMode { slmIgnore, slmReplace, slmMerge, slmMap };

// Reads "style" (none when absent) into the style sheet by the mode and
// fills the three maps: entry i is the style sheet's index for the file's
// style number i. Replacing with a "style" that has no "font" or no "para"
// fails (EDocViewXMLError) before anything changes.
void LoadDVStyle(const TXMLTag* node, TDVStyle& dvStyle, TStyleLoadingMode mode, TDVIntegerList& styleMap,
                 TDVIntegerList& paraMap, TDVIntegerList& listMap);
void LoadFontFromXML(const TXMLTag& node, TFontInfo& font);
void LoadParaFromXML(const TXMLTag& node, TParaInfo& para);
void LoadListFromXML(const TXMLTag& node, TDVListInfo& list);
void LoadMarkerFromXML(const TXMLTag& node, TDVListLevel& level);

// The image lists of "bullets", numbered as "bullet" items refer to them.
// The lists are made for the load; the caller takes them over when the load
// succeeds, since the bullets show them from then on.
class TImgListList {
 public:
  TCustomImageList* Add();
  TCustomImageList* Get(int index) const;
  int Count() const { return static_cast<int>(lists_.size()); }
  void LoadFromXML(const TXMLTag& node);
  // One list holding the bitmap as its only image, the colour of its
  // top-left pixel transparent.
  TCustomImageList* AddBitmap(const TBitmap& bitmap);
  std::vector<std::unique_ptr<TCustomImageList>> TakeLists() { return std::move(lists_); }

 private:
  std::vector<std::unique_ptr<TCustomImageList>> lists_;
};

// The print settings "print" carries, read before they are applied so that
// a failed load changes nothing.
struct TXMLPrintSettings {
  int32_t LeftMarginMM = 0, RightMarginMM = 0, TopMarginMM = 0, BottomMarginMM = 0;
  int32_t HeaderYMM = 0, FooterYMM = 0;
  bool MirrorMargins = false, PreviewCorrection = false, TransparentBackground = false;

  void ReadFrom(const TDVPrint& print);
  void ApplyTo(TDVPrint& print) const;
};
void LoadDVPrint(const TXMLTag& node, TXMLPrintSettings& print);

}  // namespace quillet
