#pragma once
// A control embedded in the text. The item owns the control; the control
// lives in the document's parent control while the item is in a document.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/model/item_info.h"

namespace quillet {

class TBitmap;
class TControl;

class TDVControlItemInfo : public TDVRectItemInfo {
 public:
  explicit TDVControlItemInfo(TCustomDVData* dvData);
  TDVControlItemInfo(TCustomDVData* dvData, std::unique_ptr<TControl> control, TDVVAlign vAlign);
  ~TDVControlItemInfo() override;
  TDVItemClass ItemClass() const override { return DVItemClassOf<TDVControlItemInfo>; }
  // PercentWidth by name, then the rect item's.
  bool GetIntPropertyByName(std::string_view name, int32_t& value) const override;
  bool SetIntPropertyByName(std::string_view name, int32_t value) override;

  std::unique_ptr<TControl> Control;
  // 1..100: the control's width in percent of the document's width; 0: none.
  int32_t PercentWidth = 0;

  bool GetBoolValue(TDVItemBoolProperty prop) const override;
  bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const override;
  int32_t GetImageWidth(TDVStyle* dvStyle) const override;
  int32_t GetImageHeight(TDVStyle* dvStyle) const override;
  int32_t GetWidth() const override { return GetImageWidth(nullptr) + 2; }
  int32_t GetHeight() const override { return GetImageHeight(nullptr) + 2; }
  // 20 when the width follows the document, else the width with its frame.
  int32_t GetMinWidth(const TDVScreenAndDevice* sad, TCanvas* canvas, TCustomDVData* dvData) const override;
  bool OwnsControl(const TControl* control) const override { return control && control == Control.get(); }
  // A copy of the control (through its component stream), PercentWidth and
  // the rect item's fields.
  void Assign(const TCustomDVItemInfo& source) override;
  std::unique_ptr<TDVDrawLineInfo> CreatePrintingDrawItem(TCustomDVData* dvData,
                                                          const TDVScreenAndDevice* sad) const override;

  // ---- life in a document ----
  // Hidden, and placed in the document's parent control (none when safe or
  // without a document).
  void Inserting(TCustomDVData* dvData, std::string& text, bool safe) override;
  // At (x + 1, y + 1), shown.
  void AdjustInserted(int32_t x, int32_t y, bool adjustY) override;
  void MovingToUndoList(int itemNo, TCustomDVData* dvData) override;
  void MovingFromUndoList(int itemNo, TCustomDVData* dvData) override;
  // With PercentWidth, the control takes its share of docWidth (less the
  // frame); answers whether it did.
  bool OnDocWidthChange(int32_t docWidth, TDVDrawLineInfo* drawItem, bool printing, TCanvas& canvas,
                        TCustomDVData* dvData, const TDVScreenAndDevice* sad, int32_t& hShift) override;

  // ---- stream ----
  // Name, class name, extra properties, control data; without the body
  // (dvfoSaveControlsBody off) only the name and the extra properties. The
  // document hears dvcaBeforeDVFSave and, whatever happens, dvcaAfterDVFSave.
  void SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
               const TDVMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  // An unknown class fails unless dvfoIgnoreUnknownCtrls; data that does not
  // load leaves the item without a control and the rest of the record
  // skipped (the item is dropped).
  bool ReadDVFLine(std::string_view s, TCustomDVData* dvData, int readType, int lineNo, int lineCount,
                   std::string& name, TDVFReadMode& readMode, TDVFReadState& readState) override;
  int GetDVFExtraPropertyCount() const override;
  // The rect item's, "minheightonpage=%d" and "percentwidth=%d".
  void SaveDVFExtraProperties(TStream& stream) const override;
  bool SetExtraIntProperty(TDVExtraItemProperty prop, int32_t value) override;
  bool GetExtraIntProperty(TDVExtraItemProperty prop, int32_t& value) const override;

  // ---- drawing: the control paints itself; the item draws its frames ----
  void Paint(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates drawState, const TDVStyle* dvStyle,
             const TDVDrawLineInfo* dli) const override;
  // The picture the print component gives for the control, shifted up to
  // the part's slice when split, else centred; false without one.
  bool PrintToBitmap(TBitmap& bitmap, bool preview, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
                     int part) const override;

  // ---- export: the form the document's owner writes for the control ----
  std::string AsText(int lineWidth, TCustomDVData* dvData, const std::string& text, const std::string& path,
                     bool textOnly, bool unicode) const override;
  void SaveToHTML(TStream& stream, TCustomDVData& dvData, int itemNo, const std::string& text,
                  const std::string& path, const std::string& imagesPrefix, int& imgSaveNo, TColor currentFileColor,
                  TDVSaveOptions saveOptions, bool useCSS, TDVHTMLBullets& bullets) const override;
  void SaveRTF(TStream& stream, TCustomDVData& dvData, int itemNo, const std::string& itemText,
               double twipsPerPixel, int level, TDVColorList& colorList, TDVIntegerList& styleToFont,
               TDVIntegerList& fontTable) const override;
};

}  // namespace quillet
