#pragma once
// Documents, items and folders for the text and HTML export tests.
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "engine/model/dv_data.h"
#include "engine/model/item_info.h"
#include "engine/text/item_text.h"
#include "engine/text/text_test_util.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet::test {

// A document whose save range is set by the test, as a selection would be,
// and whose links answer "url<JumpID>" unless a target is given.
class ExportData : public TCustomDVData {
 public:
  TDVFLimits DVFGetLimits(TDVFSaveScope scope) const override {
    return scope == dvfss_Selection ? selection : TCustomDVData::DVFGetLimits(scope);
  }
  std::string GetURL(int32_t jumpID) override { return url.empty() ? "url" + std::to_string(jumpID) : url; }
  std::string GetExtraHTMLCode(int area, bool) override { return area == 0 ? extraHead : extraBody; }
  // Fails the insertion of the item after `failAt` more insertions.
  void ItemAction(TDVItemAction action, TCustomDVItemInfo*, std::string&) override {
    if (action == dviaInserting && failAt >= 0 && failAt-- == 0) throw std::runtime_error("insertion refused");
  }
  TDVFLimits selection;
  std::string url, extraHead, extraBody;
  int failAt = -1;
};

// An inline object whose text and HTML forms are fixed; it can refuse to
// write its text.
class ObjectItem : public TDVRectItemInfo {
 public:
  using TDVRectItemInfo::TDVRectItemInfo;
  TDVItemClass ItemClass() const override { return DVItemClassOf<ObjectItem>; }
  bool GetBoolValue(TDVItemBoolProperty prop) const override {
    if (prop == dvbpAlwaysInText) return alwaysInText;
    if (prop == dvbpCanSaveUnicode) return canSaveUnicode;
    return TDVRectItemInfo::GetBoolValue(prop);
  }
  std::string AsText(int, TCustomDVData*, const std::string&, const std::string&, bool, bool unicode) const override {
    if (fail) throw std::runtime_error("cannot write");
    return unicode ? std::string("<\0o\0>\0", 6) : "<o>";
  }
  void SaveToHTML(TStream& stream, TCustomDVData&, int, const std::string&, const std::string&, const std::string&,
                  int&, TColor, TDVSaveOptions, bool useCSS, TDVHTMLBullets&) const override {
    stream.WriteString(useCSS ? "<IMG class=o>" : "<IMG>");
  }
  bool alwaysInText = false, canSaveUnicode = false, fail = false;
};

// The document's items: "|" starts a paragraph, "/" a line of one, "^"
// marks a page break; text as UTF-8 in brackets (8-bit text read in the
// system code page), a non-text item as its style number.
inline std::string Outline(const TCustomDVData& data) {
  std::string out;
  for (int i = 0; i < data.ItemCount(); ++i) {
    const TCustomDVItemInfo& item = *data.GetItem(i);
    if (item.BR()) out += "/";
    else if (!item.SameAsPrev()) out += "|";
    if (item.PageBreakBefore()) out += "^";
    const std::string& text = data.GetItemTextR(i);
    if (item.StyleNo < 0)
      out += "<" + std::to_string(item.StyleNo) + ">";
    else
      out += "[" + (item.IsUnicode() ? Utf16ToUtf8(DVU_Units(text)) : AnsiToUtf8(text)) + "]";
  }
  return out;
}

inline TMemoryStream StreamOf(const std::string& bytes) {
  return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

inline std::string ReadFile(const std::filesystem::path& file) {
  TMemoryStream stream;
  stream.LoadFromFile(file.string());
  return stream.AsString();
}

inline void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  StreamOf(bytes).SaveToFile(file.string());
}

// A fresh folder of the test's own, removed afterwards.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& Path() const { return path_; }
  // The folder with its trailing "/", as writers take a path.
  std::string Dir() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

}  // namespace quillet::test
