#pragma once
// What the two HTML dialects share: the page frame around the body, the
// title and META lines, the background picture, checkpoint anchors,
// hyperlinks and the text of text items.
#include <functional>
#include <string>
#include <string_view>

#include "engine/model/dv_data.h"
#include "platform/core/stream.h"

namespace quillet {

class TFontInfo;

// The code page 8-bit text of the page is in: that of text style 0's
// character set, the system's for the default set.
int DVHTMLPageCodePage(const TCustomDVData& data);

class THTMLPageWriter {
 public:
  THTMLPageWriter(TCustomDVData& data, TDVStyle& style, TStream& stream, const std::string& path,
                  const std::string& imagesPrefix, TDVSaveOptions options);

  // Head unless only the middle or the end is asked for, the body between
  // StartExport and EndExport unless only the head or the end, the tail
  // unless only the head or the middle.
  void Run(const std::function<void()>& head, const std::function<void()>& body);

  void Write(std::string_view s) { stream_.WriteString(std::string(s)); }
  void WriteLn(std::string_view s) { Write(std::string(s) + "\r\n"); }

  // "<HTML><HEAD><TITLE>" line and the META line when the charset has a name.
  void WriteTitleAndMeta(const std::string& title);
  // The page's extra code for the head (area 0) or the BODY tag (area 1).
  std::string ExtraCode(int area, bool css) { return data_.GetExtraHTMLCode(area, css); }
  // The background picture as a JPEG file; its relative name, or empty
  // when the background has no picture.
  std::string SaveBackground(const TDVBackground* background, TColor color);

  void WriteCheckpoint(int itemNo, bool fromNewLine);
  void WriteTrailingCheckpoint(bool fromNewLine);

  // The item is a link, and its target as an attribute value.
  bool IsHyperlink(int itemNo) const;
  std::string Url(int itemNo) const;
  // A text item's text in the page's encoding, or its HTML code; an empty
  // text that is a line of its own is "&nbsp;".
  void WriteText(int itemNo);
  void WriteNonText(int itemNo, TColor backColor, bool useCSS);
  const TFontInfo& TextStyle(int32_t styleNo) const;
  std::string AttrStr(std::string_view text) const;

  TCustomDVData& Data() { return data_; }
  TDVStyle& Style() { return style_; }
  TStream& Stream() { return stream_; }
  TDVSaveOptions Options() const { return options_; }

 private:
  TCustomDVData& data_;
  TDVStyle& style_;
  TStream& stream_;
  const std::string& path_;
  const std::string& imagesPrefix_;
  TDVSaveOptions options_;
  int pageCodePage_;
  int imgSaveNo_ = 0;
  int cpno_ = 0;
  TDVHTMLBullets bullets_;
};

}  // namespace quillet
