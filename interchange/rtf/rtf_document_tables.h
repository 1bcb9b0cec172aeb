#pragma once
// The tables an RTF file declares at its head: fonts, colours and the style
// sheet. Lookups by number are hashed, so a file that names many fonts or
// styles still reads in linear time.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "interchange/rtf/rtf_properties.h"
#include "platform/core/colors.h"

namespace quillet {

enum TDVRTFFontFamily : uint8_t {
  rtf_ff_Default, rtf_ff_Roman, rtf_ff_Swiss, rtf_ff_Modern, rtf_ff_Script, rtf_ff_Decorative, rtf_ff_Symbol,
  rtf_ff_BiDi
};

struct TDVRTFFont {
  int32_t Number = 0;
  std::string Name;
  TDVRTFFontFamily Family = rtf_ff_Default;
  uint8_t Charset = 0;
};

class TDVRTFFontList {
 public:
  int Count() const { return static_cast<int>(fonts_.size()); }
  TDVRTFFont& operator[](int index) { return fonts_[index]; }
  const TDVRTFFont& operator[](int index) const { return fonts_[index]; }
  TDVRTFFont& Add(int32_t number);
  // The last font; null when the table is empty.
  TDVRTFFont* Last() { return fonts_.empty() ? nullptr : &fonts_.back(); }
  // The position of the first font with that number, else def.
  int GetFontIndex(int32_t number, int def) const;
  void Clear();

 private:
  std::vector<TDVRTFFont> fonts_;
  std::unordered_map<int32_t, int> byNumber_;
};

class TDVRTFColorList {
 public:
  int Count() const { return static_cast<int>(colors_.size()); }
  TColor operator[](int index) const { return colors_[index]; }
  bool InRange(int32_t index) const { return index >= 0 && index < Count(); }
  void AddAuto() { colors_.push_back(rtf_AutoColor); }
  // Sets a channel (0 red, 8 green, 16 blue) of the last entry, the value
  // brought into 0..255; an auto entry becomes black first.
  void SetChannel(int shift, int32_t value);
  void RemoveLast() {
    if (!colors_.empty()) colors_.pop_back();
  }
  void Clear() { colors_.clear(); }

 private:
  std::vector<TColor> colors_;
};

enum TDVRTFStyleSheetType : uint8_t { rtf_sst_Char, rtf_sst_Par, rtf_sst_Sect };

struct TDVRTFStyleSheetEntry {
  int32_t Number = 0;
  TDVRTFStyleSheetType StyleType = rtf_sst_Par;
  std::string Name;
  TDVRTFParaProperties ParaProps;
  TDVRTFCharProperties CharProps;
  bool Additive = false, Hidden = false;
  const TDVRTFStyleSheetEntry* BasedOn = nullptr;
  const TDVRTFStyleSheetEntry* Next = this;
};

class TDVRTFStyleSheet {
 public:
  int Count() const { return static_cast<int>(entries_.size()); }
  TDVRTFStyleSheetEntry& operator[](int index) { return *entries_[index]; }
  TDVRTFStyleSheetEntry& Add();
  TDVRTFStyleSheetEntry* Last() { return entries_.empty() ? nullptr : entries_.back().get(); }
  // Makes a finished entry findable by its number.
  void Commit(const TDVRTFStyleSheetEntry& entry) { byNumber_.emplace(entry.Number, &entry); }
  // The first finished entry with that number; null when none.
  const TDVRTFStyleSheetEntry* GetEntry(int32_t number) const;
  void Clear();

 private:
  std::vector<std::unique_ptr<TDVRTFStyleSheetEntry>> entries_;
  std::unordered_map<int32_t, const TDVRTFStyleSheetEntry*> byNumber_;
};

// The colour of a \highlight index; clNone for none.
TColor GetHighlightColor(int32_t index);

}  // namespace quillet
