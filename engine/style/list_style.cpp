#include "engine/style/list_style.h"

#include "engine/base/dv_lists.h"
#include "engine/style/text_style.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"

namespace quillet {

// ----------------------------------------------------------------- TPicture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) { graphic_ = std::move(graphic); }

void TPicture::Assign(const TPicture& source) {
  if (&source == this) return;
  graphic_ = source.graphic_ ? source.graphic_->Clone() : nullptr;
}

// ------------------------------------------------------------ TDVMarkerFont

TDVMarkerFont::TDVMarkerFont() {
  Name = "Arial";
  SetSize(8);
}

bool TDVMarkerFont::IsDefault() const {
  return GetSize() == 8 && Color == clWindowText && Charset == DEFAULT_CHARSET && Style == 0 &&
         DV_SameFontName(Name, "Arial");
}

bool TDVMarkerFont::IsEqual(const TFont& font) const {
  return Height == font.Height && Style == font.Style && Color == font.Color && Charset == font.Charset &&
         DV_SameFontName(Name, font.Name);
}

bool TDVMarkerFont::IsNameStored() const { return Name != "Arial"; }

bool TDVMarkerFont::IsHeightStored() const { return GetSize() != 8; }

// ------------------------------------------------------------- TDVListLevel

TPicture& TDVListLevel::Picture() {
  if (!picture_) picture_ = std::make_unique<TPicture>();
  return *picture_;
}

TDVMarkerFont& TDVListLevel::Font() {
  if (!font_) font_ = std::make_unique<TDVMarkerFont>();
  return *font_;
}

bool TDVListLevel::HasPicture() const { return picture_ && picture_->Graphic(); }

void TDVListLevel::SetPicture(const TPicture* value) {
  if (value == picture_.get()) return;
  if (!value || !value->Graphic()) {
    picture_.reset();
    return;
  }
  Picture().Assign(*value);
}

void TDVListLevel::SetFont(const TFont* value) {
  if (value == font_.get()) return;
  if (!value) {
    font_.reset();
    return;
  }
  // A plain copy: the marker font is a TFont with other defaults only.
  static_cast<TFont&>(Font()) = *value;
}

void TDVListLevel::Assign(const TDVListLevel& source) {
  if (&source == this) return;
  ListType = source.ListType;
  ImageList = source.ImageList;
  ImageIndex = source.ImageIndex;
  FormatString = source.FormatString;
  LeftIndent = source.LeftIndent;
  FirstIndent = source.FirstIndent;
  MarkerIndent = source.MarkerIndent;
  MarkerAlignment = source.MarkerAlignment;
  Options = source.Options;
  SetPicture(source.picture_.get());
  SetFont(source.font_.get());
}

bool TDVListLevel::IsSimpleEqual(const TDVListLevel& value) const {
  if (ListType != value.ListType || ImageList != value.ImageList || ImageIndex != value.ImageIndex ||
      FormatString != value.FormatString || LeftIndent != value.LeftIndent || FirstIndent != value.FirstIndent ||
      MarkerIndent != value.MarkerIndent || MarkerAlignment != value.MarkerAlignment || Options != value.Options)
    return false;
  const bool plainFont = !font_ || font_->IsDefault();
  const bool otherPlainFont = !value.font_ || value.font_->IsDefault();
  if (plainFont && otherPlainFont) return true;
  return font_ && value.font_ && font_->IsEqual(*value.font_);
}

int TDVListLevel::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

std::string TDVListLevel::GetDisplayName() const { return "List Level " + std::to_string(Index()); }

// --------------------------------------------------- TDVListLevelCollection

TDVListLevel& TDVListLevelCollection::Items(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return *items_[static_cast<size_t>(index)];
}

TDVListLevel& TDVListLevelCollection::Add() {
  items_.push_back(std::make_unique<TDVListLevel>());
  items_.back()->collection_ = this;
  return *items_.back();
}

void TDVListLevelCollection::Delete(int index) {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  items_.erase(items_.begin() + index);
}

int TDVListLevelCollection::IndexOf(const TDVListLevel* level) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == level) return static_cast<int>(i);
  return -1;
}

void TDVListLevelCollection::Assign(const TDVListLevelCollection& source) {
  if (&source == this) return;
  items_.clear();
  for (const auto& level : source.items_) Add().Assign(*level);
}

// -------------------------------------------------------------- TDVListInfo

void TDVListInfo::Assign(const TCustomDVInfo& source) {
  TCustomDVInfo::Assign(source);
  if (const auto* list = dynamic_cast<const TDVListInfo*>(&source)) levels_.Assign(list->levels_);
}

bool TDVListInfo::IsSimpleEqual(const TCustomDVInfo& value) const {
  const auto* list = dynamic_cast<const TDVListInfo*>(&value);
  if (!list || list->levels_.Count() != levels_.Count()) return false;
  for (int i = 0; i < levels_.Count(); ++i)
    if (!levels_[i].IsSimpleEqual(list->levels_[i])) return false;
  return true;
}

int32_t TDVListInfo::SimilarityValue(const TCustomDVInfo& value) const { return IsSimpleEqual(value) ? 1 : 0; }

// ------------------------------------------------------------- TDVListInfos

void TDVListInfos::RemoveImageList(const TCustomImageList* imageList) {
  if (!imageList) return;
  for (int i = 0; i < Count(); ++i) {
    TDVListLevelCollection& levels = Items(i).Levels();
    for (int j = 0; j < levels.Count(); ++j)
      if (levels[j].ImageList == imageList) levels[j].ImageList = nullptr;
  }
}

}  // namespace quillet
