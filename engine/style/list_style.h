#pragma once
// List styles: the levels of a bulleted or numbered list (what the marker
// shows and where it sits), the list style that holds them and its
// collection. The marker items and their numbering are built on these.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/style/style_base.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_list.h"

namespace quillet {

class TGraphic;
class TDVListInfo;

// A picture: owns at most one graphic.
class TPicture {
 public:
  TPicture();
  ~TPicture();
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // Copies the source's graphic (none when it has none).
  void Assign(const TPicture& source);

 private:
  std::unique_ptr<TGraphic> graphic_;
};

// The font of text markers.
class TDVMarkerFont : public TFont {
 public:
  TDVMarkerFont();
  // Size 8, clWindowText, DEFAULT_CHARSET, no style and the name "Arial".
  bool IsDefault() const;
  // Height, style, colour, charset and name (without regard to case).
  bool IsEqual(const TFont& font) const;
  // What a stored level keeps: the name unless "Arial", the height unless size 8.
  bool IsNameStored() const;
  bool IsHeightStored() const;
};

// The image list that a Tag names, or none.
using TDVImageListLookup = std::function<TCustomImageList*(int32_t tag)>;

enum TDVListType : uint8_t {
  dvlstBullet, dvlstPicture, dvlstImageList, dvlstDecimal, dvlstLowerAlpha, dvlstUpperAlpha, dvlstLowerRoman,
  dvlstUpperRoman, dvlstImageListCounter
};

enum TDVMarkerAlignment : uint8_t { dvmaLeft, dvmaRight, dvmaCenter };

enum TDVListLevelOption : uint8_t { dvloContinuous = 1, dvloLevelReset = 2, dvloLegalStyleNumbering = 4 };
using TDVListLevelOptions = uint8_t;

class TDVListLevelCollection;

class TDVListLevel {
 public:
  TDVListLevel() = default;
  TDVListLevel(const TDVListLevel&) = delete;
  TDVListLevel& operator=(const TDVListLevel&) = delete;

  TDVListType ListType = dvlstBullet;
  // Not owned: the list's owner tells the style sheet when it goes away
  // (TDVStyle::ImageListRemoved).
  TCustomImageList* ImageList = nullptr;
  int32_t ImageIndex = 0;
  std::string FormatString = "\xB7";  // a middle dot in Western code pages
  int32_t LeftIndent = 0;
  int32_t FirstIndent = 10;
  int32_t MarkerIndent = 0;
  TDVMarkerAlignment MarkerAlignment = dvmaLeft;
  TDVListLevelOptions Options = dvloContinuous | dvloLevelReset;

  // Created on first access.
  TPicture& Picture();
  TDVMarkerFont& Font();
  // Whether they exist yet; only existing ones are stored.
  bool HasPictureObject() const { return picture_ != nullptr; }
  bool HasFont() const { return font_ != nullptr; }
  // A picture with a graphic exists.
  bool HasPicture() const;
  // A picture without a graphic (or none) frees the level's picture.
  void SetPicture(const TPicture* value);
  // None frees the level's font.
  void SetFont(const TFont* value);

  void Assign(const TDVListLevel& source);
  // Everything but the picture; missing and default fonts are alike.
  bool IsSimpleEqual(const TDVListLevel& value) const;
  int Index() const;
  std::string GetDisplayName() const;

 private:
  friend class TDVListLevelCollection;
  TDVListLevelCollection* collection_ = nullptr;
  std::unique_ptr<TPicture> picture_;
  std::unique_ptr<TDVMarkerFont> font_;
};

class TDVListLevelCollection {
 public:
  explicit TDVListLevelCollection(TDVListInfo* owner) : owner_(owner) {}
  TDVListLevelCollection(const TDVListLevelCollection&) = delete;
  TDVListLevelCollection& operator=(const TDVListLevelCollection&) = delete;

  TDVListInfo* GetOwner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TDVListLevel& Items(int index) const;
  TDVListLevel& operator[](int index) const { return Items(index); }
  TDVListLevel& Add();
  void Delete(int index);
  void Clear() { items_.clear(); }
  int IndexOf(const TDVListLevel* level) const;
  void Assign(const TDVListLevelCollection& source);

 private:
  TDVListInfo* owner_;
  std::vector<std::unique_ptr<TDVListLevel>> items_;
};

class TDVListInfo : public TCustomDVInfo {
 public:
  TDVListInfo() { StyleName = "List Style"; }
  TDVListInfo(const TDVListInfo&) = delete;
  TDVListInfo& operator=(const TDVListInfo&) = delete;

  TDVListLevelCollection& Levels() { return levels_; }
  const TDVListLevelCollection& Levels() const { return levels_; }
  void SetLevels(const TDVListLevelCollection& value) { levels_.Assign(value); }

  // The levels and the base fields.
  void Assign(const TCustomDVInfo& source) override;
  // The same number of levels, each pair alike.
  bool IsSimpleEqual(const TCustomDVInfo& value) const override;
  // List styles have no graded score: 1 for an alike style, else 0, so that
  // mapping finds an alike list where there is one.
  int32_t SimilarityValue(const TCustomDVInfo& value) const override;

 private:
  TDVListLevelCollection levels_{this};
};

class TDVListInfos : public TDVInfosOf<TDVListInfo> {
 public:
  using TDVInfosOf<TDVListInfo>::TDVInfosOf;

  // Clears every level's reference to the image list.
  void RemoveImageList(const TCustomImageList* imageList);

  // While a document's stream is read: the document's answer to which image
  // list a stored level's Tag names. Without it levels read no image list.
  TDVImageListLookup DVFImageListNeeded;
};

}  // namespace quillet
