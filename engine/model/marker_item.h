#pragma once
// The list marker: the item at the start of a bulleted or numbered
// paragraph. It refers to a level of a list style, which decides what is
// drawn: a bullet text, a picture, an image of an image list, or its number
// (with those of the enclosing levels) in one of five numbering systems. The
// numbers are counters kept on the markers and recounted by the root
// document's marker list (marker_list.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/model/item_info.h"
#include "engine/style/list_style.h"

namespace quillet {

class TBitmap;
class TCanvas;
class TStream;

class TDVMarkerItemInfo : public TDVRectItemInfo {
 public:
  // A marker always starts its paragraph.
  explicit TDVMarkerItemInfo(TCustomDVData* dvData);
  TDVMarkerItemInfo(TCustomDVData* dvData, int32_t listNo, int32_t level, int32_t startFrom, bool reset);
  TDVItemClass ItemClass() const override { return DVItemClassOf<TDVMarkerItemInfo>; }

  // Size for the canvas it was last measured on (CalcSize).
  int32_t Width = 0, Height = 0, Descent = 0, Overhang = 0;
  int32_t ListNo = 0;  // index into the style sheet's list styles
  int32_t Level = 0;   // levels beyond the list's last use the last
  int32_t Counter = 1;
  bool Reset = false;  // numbering restarts at StartFrom here
  int32_t StartFrom = 0;
  std::string DisplayString;  // what a text level draws

  // The level min(Level, last) of list ListNo; null when the style sheet,
  // the list or its levels are missing.
  TDVListLevel* GetLevelInfo(const TDVStyle* dvStyle) const { return GetLevelInfoEx(dvStyle, Level); }
  TDVListLevel* GetLevelInfoEx(const TDVStyle* dvStyle, int32_t levelNo) const;

  bool GetBoolValue(TDVItemBoolProperty prop) const override;
  bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const override;
  int32_t GetWidth() const override { return Width; }
  int32_t GetHeight() const override { return Height; }
  int32_t GetDescent() const override { return Descent; }
  int32_t GetLeftOverhang() const override { return Overhang; }
  int32_t GetImageWidth(TDVStyle* dvStyle) const override;
  int32_t GetImageHeight(TDVStyle* dvStyle) const override;
  // The widest part of the marker that stands at or after the text start,
  // on the canvas; scaled to the device when the level is not drawn at
  // actual print size.
  int32_t GetMinWidth(const TDVScreenAndDevice* sad, TCanvas* canvas, TCustomDVData* dvData) const override;

  // ListNo, Level, StartFrom, Reset, then the rect item's fields.
  void Assign(const TCustomDVItemInfo& source) override;

  // ---- stream ----
  // "ListNo Level StartFrom Reset" (Reset as 1 or 0).
  std::string SaveDVFHeaderTail(TCustomDVData* dvData) const override;
  // The four numbers of the tail. A negative list number or a level outside
  // 0..DVMaxListLevel fails the read; a list number beyond the style sheet's
  // lists is left to the reader's list mapping.
  bool ReadDVFHeader(std::string_view& p, TCustomDVData* dvData) override;
  // A marker record has no data lines: any line is a read error.
  bool ReadDVFLine(std::string_view s, TCustomDVData* dvData, int readType, int lineNo, int lineCount,
                   std::string& name, TDVFReadMode& readMode, TDVFReadState& readState) override;

  // ---- document ----
  // Leaves / rejoins the root's marker list.
  void MovingToUndoList(int itemNo, TCustomDVData* dvData) override;
  void MovingFromUndoList(int itemNo, TCustomDVData* dvData) override;

  // ---- size and drawing ----
  // Measures the marker on the canvas (in device pixels when sad is given)
  // and stores Width, Height, Descent and Overhang.
  void CalcSize(TCanvas& canvas, TCustomDVData* dvData, const TDVScreenAndDevice* sad);
  // The marker's size does not follow the document width; it is measured
  // again. Answers false.
  bool OnDocWidthChange(int32_t docWidth, TDVDrawLineInfo* drawItem, bool printing, TCanvas& canvas,
                        TCustomDVData* dvData, const TDVScreenAndDevice* sad, int32_t& hShift) override;
  // Draws at (x, y): the picture, the image-list image, or DisplayString in
  // the level's font. Print draws the same on the printer canvas.
  void Paint(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates drawState, const TDVStyle* dvStyle,
             const TDVDrawLineInfo* dli) const override;
  void Print(TCanvas& canvas, int32_t x, int32_t y, int32_t x2, bool preview, bool correction,
             const TDVScreenAndDevice& sad, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
             int part) const override;
  // Draws into the bitmap at (0, 0) for printing; answers true.
  bool PrintToBitmap(TBitmap& bitmap, bool preview, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
                     int part) const override;

 private:
  struct Extent {
    int32_t width = 0, height = 0, descent = 0;
  };
  // The text, picture or image size on the canvas.
  Extent MeasureContent(TCanvas& canvas, const TDVStyle* dvStyle) const;
  // The parts of the content left and right of MarkerIndent, by the
  // level's alignment.
  void Parts(const TDVListLevel* level, int32_t width, int32_t& left, int32_t& right) const;
};

// The level font selected into the canvas at the canvas's resolution, with
// no character extra, left/top alignment and a clear brush: how text
// markers are measured and drawn.
void DVSelectMarkerFont(TCanvas& canvas, TDVListLevel& level);

}  // namespace quillet
