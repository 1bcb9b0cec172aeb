#pragma once
// Paragraph styles and their collection.
#include <cstdint>

#include "engine/style/border.h"
#include "engine/style/style_base.h"
#include "engine/style/style_types.h"

namespace quillet {

enum TDVAlignment { dvaLeft, dvaRight, dvaCenter, dvaJustify };

enum TDVLineSpacingType { dvlsPercent, dvlsSpaceBetween };

// Paragraph options as a bit set (bit n = option n).
enum TDVParaOption : uint8_t {
  dvpaoNoWrap = 1,            // no word wrap
  dvpaoReadOnly = 2,          // the paragraph's text cannot be edited
  dvpaoStyleProtect = 4,      // the editor does not change this paragraph's style
  dvpaoDoNotWantReturns = 8,  // Enter does not break the paragraph
};
using TDVParaOptions = uint8_t;

class TParaInfo : public TCustomDVInfo {
 public:
  TParaInfo() { StyleName = "Paragraph Style"; }
  // A style belongs to one collection; copies are made with Assign.
  TParaInfo(const TParaInfo&) = delete;
  TParaInfo& operator=(const TParaInfo&) = delete;

  int32_t FirstIndent = 0;  // relative to LeftIndent, may be negative
  int32_t LeftIndent = 0;
  int32_t RightIndent = 0;
  int32_t SpaceBefore = 0;
  int32_t SpaceAfter = 0;
  TDVAlignment Alignment = dvaLeft;
  int32_t NextParaNo = -1;  // style of the paragraph that Enter starts; -1 = the same
  int32_t LineSpacing = 100;  // percent, or extra pixels for dvlsSpaceBetween
  TDVLineSpacingType LineSpacingType = dvlsPercent;
  TDVParaOptions Options = 0;
  TDVBiDiMode BiDiMode = dvbdUnspecified;

  // Owned parts: setting one copies into the style's own object.
  TDVBorder& Border() { return border_; }
  const TDVBorder& Border() const { return border_; }
  void SetBorder(const TDVBorder& value) { border_.Assign(value); }
  TDVBackgroundRect& Background() { return background_; }
  const TDVBackgroundRect& Background() const { return background_; }
  void SetBackground(const TDVBackgroundRect& value) { background_.Assign(value); }

  // Copies everything but NextParaNo: a reference into another collection
  // means nothing here, so merging translates it separately.
  void Assign(const TCustomDVInfo& source) override;
  int32_t GetNextStyleRef() const override { return NextParaNo; }
  void SetNextStyleRef(int32_t value) override { NextParaNo = value; }

  // True when the line spacing adds space between lines.
  bool ExtraLineSpacing() const;
  // Every property but the names and the base fields.
  bool IsSimpleEqual(const TCustomDVInfo& value) const override;
  // The same comparisons, each skipped when its property is in ignoreList.
  bool IsEqual(const TParaInfo& value, TDVParaInfoProperties ignoreList) const;
  int32_t SimilarityValue(const TCustomDVInfo& value) const override;

 private:
  TDVBorder border_;
  TDVBackgroundRect background_;
};

class TParaInfos : public TDVInfosOf<TParaInfo> {
 public:
  using TDVInfosOf<TParaInfo>::TDVInfosOf;

  // The index of a style equal to the sample in the properties of mask:
  // baseStyle when it is one, else the first other index, else -1.
  int FindSuchStyle(int baseStyle, const TParaInfo& style, TDVParaInfoProperties mask) const;
};

}  // namespace quillet
