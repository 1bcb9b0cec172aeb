#pragma once
// The common base of text, paragraph and list styles and of their collections,
// with style merging.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/base/dv_lists.h"

namespace quillet {

class TDVStyle;
class TCustomDVInfos;

enum TDVStyleMergeMode { dvs_merge_SmartMerge, dvs_merge_Map, dvs_merge_Append };

class TCustomDVInfo {
 public:
  virtual ~TCustomDVInfo() = default;

  int32_t BaseStyleNo = -1;  // the style this one is based on (RTF style sheets)
  std::string StyleName;
  bool Standard = true;  // kept even when unused

  // Copies the base fields; descendants copy their own properties too.
  virtual void Assign(const TCustomDVInfo& source);
  const std::string& GetDisplayName() const { return StyleName; }
  virtual bool IsSimpleEqual(const TCustomDVInfo& value) const = 0;
  virtual int32_t SimilarityValue(const TCustomDVInfo& value) const = 0;

  // The reference to another style of the same collection that follows this
  // one (NextStyleNo, NextParaNo); -1 for none. Merging translates it.
  virtual int32_t GetNextStyleRef() const { return -1; }
  virtual void SetNextStyleRef(int32_t) {}

  TCustomDVInfos* Collection() const { return collection_; }
  int Index() const;

 private:
  friend class TCustomDVInfos;
  TCustomDVInfos* collection_ = nullptr;
};

// Makes a new, default style for a collection; lets a style sheet descendant
// put its own style classes into the collections.
using TDVInfoFactory = std::function<std::unique_ptr<TCustomDVInfo>()>;

class TCustomDVInfos {
 public:
  explicit TCustomDVInfos(TDVStyle* owner) : owner_(owner) {}
  virtual ~TCustomDVInfos() = default;
  TCustomDVInfos(const TCustomDVInfos&) = delete;
  TCustomDVInfos& operator=(const TCustomDVInfos&) = delete;

  TDVStyle* GetOwner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCustomDVInfo& ItemAt(int index) const;
  bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }
  // Appends a new style with the collection's defaults.
  TCustomDVInfo& AddItem();
  void Delete(int index);
  void Clear() { items_.clear(); }
  int IndexOf(const TCustomDVInfo* item) const;
  // Replaces the content with copies of the source's styles; the
  // next-style references are copied too (indexes stay valid in a full copy).
  void Assign(const TCustomDVInfos& source);
  // The style names in order.
  void AssignTo(std::vector<std::string>& strings) const;

  // Adds the styles of another collection of the same kind; Mapping receives
  // the target index of every source style, in source order. Added styles get
  // their next-style and base-style references translated into this
  // collection (-1 when the source reference is out of range). SmartMerge
  // maps a source style only onto an equal style whose next style is where
  // the source's next style maps, and equal source styles share one copy, so
  // merging an equal collection, or the same styles again, adds nothing.
  void MergeWith(const TCustomDVInfos& source, TDVStyleMergeMode mode, TDVIntegerList& mapping);

  // Replaces the class of the styles that AddItem, Assign and MergeWith
  // create; an empty factory restores the collection's own class. The
  // factory must make styles of the collection's class or a descendant.
  void SetItemFactory(TDVInfoFactory factory) { factory_ = std::move(factory); }

 protected:
  // A new style of the collection's class with its defaults.
  virtual std::unique_ptr<TCustomDVInfo> CreateItem() const = 0;
  // Candidate target indexes for the Map mode, most specific group first;
  // the first non-empty group is searched. Default: all styles at once.
  virtual std::vector<std::vector<int>> MapCandidateGroups(const TCustomDVInfo& sourceStyle) const;

 private:
  std::unique_ptr<TCustomDVInfo> NewItem() const;
  int AppendItem(std::unique_ptr<TCustomDVInfo> item);
  void SmartMerge(const TCustomDVInfos& source, int sourceCount, TDVIntegerList& mapping);

  TDVStyle* owner_;
  TDVInfoFactory factory_;
  std::vector<std::unique_ptr<TCustomDVInfo>> items_;
};

// Typed access for a collection of one style class.
template <class T>
class TDVInfosOf : public TCustomDVInfos {
 public:
  using TCustomDVInfos::TCustomDVInfos;
  T& Items(int index) const { return static_cast<T&>(ItemAt(index)); }
  T& operator[](int index) const { return Items(index); }
  T& Add() { return static_cast<T&>(AddItem()); }

 protected:
  std::unique_ptr<TCustomDVInfo> CreateItem() const override { return std::make_unique<T>(); }
};

}  // namespace quillet
