#pragma once
// The break: a horizontal line across the whole width of the document.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/model/item_info.h"

namespace quillet {

enum TDVBreakStyle : uint8_t { dvbsLine, dvbsRectangle, dvbs3d };

class TDVBreakItemInfo : public TDVFullLineItemInfo {
 public:
  explicit TDVBreakItemInfo(TCustomDVData* dvData);
  TDVBreakItemInfo(TCustomDVData* dvData, uint8_t lineWidth, TDVBreakStyle style, TColor color);
  TDVItemClass ItemClass() const override { return DVItemClassOf<TDVBreakItemInfo>; }
  // LineWidth, Style and Color by name.
  bool GetIntPropertyByName(std::string_view name, int32_t& value) const override;
  bool SetIntPropertyByName(std::string_view name, int32_t value) override;

  uint8_t LineWidth = 1;
  TDVBreakStyle Style = dvbsLine;
  TColor Color = clNone;  // clNone: the colour of text style 0

  // A break writes no data lines and never prints as a bitmap.
  bool GetBoolValue(TDVItemBoolProperty prop) const override;
  bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const override;
  void Assign(const TCustomDVItemInfo& source) override;

  // "Color Style LineWidth".
  std::string SaveDVFHeaderTail(TCustomDVData* dvData) const override;
  // The three numbers; an empty tail gives clNone, dvbsLine and 1. A style
  // that is none of the three or a width beyond 255 fails.
  bool ReadDVFHeader(std::string_view& p, TCustomDVData* dvData) override;

  void PaintFullWidth(int32_t left, int32_t right, int32_t top, TCanvas& canvas, TDVItemDrawStates drawState,
                      const TDVStyle* dvStyle, const TRect& clipRect, const TDVDrawLineInfo* dli) const override;
  void Print(TCanvas& canvas, int32_t x, int32_t y, int32_t x2, bool preview, bool correction,
             const TDVScreenAndDevice& sad, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
             int part) const override;

  // lineWidth characters (at least one): "-" for a line thinner than 2
  // pixels, else "=".
  std::string AsText(int lineWidth, TCustomDVData* dvData, const std::string& text, const std::string& path,
                     bool textOnly, bool unicode) const override;
  void SaveToHTML(TStream& stream, TCustomDVData& dvData, int itemNo, const std::string& text,
                  const std::string& path, const std::string& imagesPrefix, int& imgSaveNo, TColor currentFileColor,
                  TDVSaveOptions saveOptions, bool useCSS, TDVHTMLBullets& bullets) const override;
  void SaveRTF(TStream& stream, TCustomDVData& dvData, int itemNo, const std::string& itemText,
               double twipsPerPixel, int level, TDVColorList& colorList, TDVIntegerList& styleToFont,
               TDVIntegerList& fontTable) const override;
  void FillRTFColorTable(TDVColorList& colorList) const override;

 private:
  // Color, or text style 0's colour for clNone.
  TColor LineColor(const TDVStyle* dvStyle) const;
};

}  // namespace quillet
