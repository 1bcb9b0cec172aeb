#include "engine/style/para_style.h"

#include "engine/style/similarity_weights.h"

namespace quillet {

void TParaInfo::Assign(const TCustomDVInfo& source) {
  if (const auto* src = dynamic_cast<const TParaInfo*>(&source)) {
    FirstIndent = src->FirstIndent;
    LeftIndent = src->LeftIndent;
    RightIndent = src->RightIndent;
    Alignment = src->Alignment;
    SpaceBefore = src->SpaceBefore;
    SpaceAfter = src->SpaceAfter;
    LineSpacing = src->LineSpacing;
    LineSpacingType = src->LineSpacingType;
    background_.Assign(src->background_);
    border_.Assign(src->border_);
    Options = src->Options;
    BiDiMode = src->BiDiMode;
  }
  TCustomDVInfo::Assign(source);
}

bool TParaInfo::ExtraLineSpacing() const {
  switch (LineSpacingType) {
    case dvlsPercent: return LineSpacing > 100;
    case dvlsSpaceBetween: return LineSpacing > 0;
  }
  return false;
}

bool TParaInfo::IsSimpleEqual(const TCustomDVInfo& value) const {
  const auto* v = dynamic_cast<const TParaInfo*>(&value);
  return v != nullptr && IsEqual(*v, 0);
}

bool TParaInfo::IsEqual(const TParaInfo& value, TDVParaInfoProperties ignoreList) const {
  const auto same = [ignoreList](TDVParaInfoProperty p, bool equal) {
    return equal || DVHasParaInfoProperty(ignoreList, p);
  };
  const auto sameOption = [&](TDVParaInfoProperty p, TDVParaOption o) {
    return same(p, (Options & o) == (value.Options & o));
  };
  return same(dvpiAlignment, Alignment == value.Alignment) &&
         same(dvpiFirstIndent, FirstIndent == value.FirstIndent) &&
         same(dvpiLeftIndent, LeftIndent == value.LeftIndent) &&
         same(dvpiRightIndent, RightIndent == value.RightIndent) &&
         same(dvpiSpaceBefore, SpaceBefore == value.SpaceBefore) &&
         same(dvpiSpaceAfter, SpaceAfter == value.SpaceAfter) &&
         same(dvpiLineSpacing, LineSpacing == value.LineSpacing) &&
         same(dvpiLineSpacingType, LineSpacingType == value.LineSpacingType) &&
         sameOption(dvpiNoWrap, dvpaoNoWrap) && sameOption(dvpiReadOnly, dvpaoReadOnly) &&
         sameOption(dvpiStyleProtect, dvpaoStyleProtect) &&
         sameOption(dvpiDoNotWantReturns, dvpaoDoNotWantReturns) &&
         same(dvpiBiDiMode, BiDiMode == value.BiDiMode) &&
         same(dvpiNextParaNo, NextParaNo == value.NextParaNo) &&
         background_.IsEqual_Para(value.background_, ignoreList) &&
         border_.IsEqual_Para(value.border_, ignoreList);
}

int32_t TParaInfo::SimilarityValue(const TCustomDVInfo& value) const {
  const auto* v = dynamic_cast<const TParaInfo*>(&value);
  if (v == nullptr) return 0;
  const TParaInfo& other = *v;
  int32_t result = DV_CompareInts(FirstIndent, other.FirstIndent, DVSMW_INDENT) +
                   DV_CompareInts(LeftIndent, other.LeftIndent, DVSMW_INDENT) +
                   DV_CompareInts(RightIndent, other.RightIndent, DVSMW_INDENT) +
                   DV_CompareInts(SpaceBefore, other.SpaceBefore, DVSMW_INDENT) +
                   DV_CompareInts(SpaceAfter, other.SpaceAfter, DVSMW_INDENT);
  result += background_.SimilarityValue(other.background_);
  result += border_.SimilarityValue(other.border_);
  if (Alignment == other.Alignment) result += DVSMW_ALIGNMENT;
  if (BiDiMode == other.BiDiMode) result += DVSMW_BIDIMODE;

  const auto sameOption = [&](TDVParaOption o) { return (Options & o) == (other.Options & o); };
  if (sameOption(dvpaoNoWrap)) result += DVSMW_NOWRAP;
  if (sameOption(dvpaoReadOnly)) result += DVSMW_READONLY;
  if (sameOption(dvpaoStyleProtect)) result += DVSMW_STYLEPROTECT;
  if (sameOption(dvpaoDoNotWantReturns)) result += DVSMW_DONOTWANTRETURNS;

  // Spacings of different kinds are not comparable; only whether both add
  // space or neither does counts.
  if (LineSpacingType == other.LineSpacingType)
    result += DV_CompareInts(LineSpacing, other.LineSpacing, DVSMW_LINESPACING);
  else if (ExtraLineSpacing() != other.ExtraLineSpacing())
    result -= 4 * DVSMW_LINESPACING;
  return result;
}

int TParaInfos::FindSuchStyle(int baseStyle, const TParaInfo& style, TDVParaInfoProperties mask) const {
  const TDVParaInfoProperties ignoreList = DVAllParaInfoProperties & ~mask;
  if (IsValidIndex(baseStyle) && style.IsEqual(Items(baseStyle), ignoreList)) return baseStyle;
  for (int i = 0; i < Count(); ++i)
    if (i != baseStyle && style.IsEqual(Items(i), ignoreList)) return i;
  return -1;
}

}  // namespace quillet
