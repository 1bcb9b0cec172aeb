#pragma once
// The line state that the whole-document pass and partial reformatting keep
// across the items they lay out, handed to every step of the line layout.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/layout/formatted_data.h"
#include "engine/layout/text_fitting.h"
#include "engine/base/shared_routines.h"
#include "platform/core/arith.h"
#include "platform/gfx/canvas.h"

namespace quillet {

struct TDVFormatState {
  TCanvas* Canvas = nullptr;
  TDVScreenAndDevice Sad;
  TDVFlags Flags = 0;
  int32_t X = 0;          // of the next piece, from the line's left edge
  int32_t Y = 0;          // baseline of the current line (before the first: the top of the text)
  int32_t PrevAbove = 0;  // height above the baseline of the current line
  int32_t PrevDesc = 0;   // depth below it
  int32_t LineLeft = 0;   // device left margin + left indent
  int32_t LineWidth = -1;
  int DrawItemIndex = 0;  // where the next drawing item goes
  bool NoLineToFinish = true;
  bool ParaStart = true;  // the line being opened starts a paragraph or follows a line break
  int32_t LastTextStyle = -1;
  TTextMetric TextMetric;
  int32_t VerticalOffset = 0;
  int32_t ExtraSpace = 0;  // line spacing of the line just finished
  int32_t Ascent = 0, Descent = 0;
  TDVTextMeasure Measure;
  std::string_view Text;  // the displayed text of the text item being laid out
  std::string Displayed;  // its all-caps form, when the style asks for one
  std::vector<int32_t> Gaps;  // scratch for reordering right-to-left lines

  int32_t ToDeviceX(int32_t v) const { return MulDiv(v, Sad.ppixDevice, Sad.ppixScreen); }
  int32_t ToDeviceY(int32_t v) const { return MulDiv(v, Sad.ppiyDevice, Sad.ppiyScreen); }
};

// While in scope, a pass that lays out item itemNo of data keeps its
// measure of the item's displayed text, so that the caret's stops on the
// item's lines are read from it rather than measured again. Scopes nest;
// the innermost one keeps.
class TDVKeptItemMeasure {
 public:
  TDVKeptItemMeasure(const TCustomDVFormattedData& data, int itemNo);
  ~TDVKeptItemMeasure();
  TDVKeptItemMeasure(const TDVKeptItemMeasure&) = delete;
  TDVKeptItemMeasure& operator=(const TDVKeptItemMeasure&) = delete;

  // The measure kept of data's item itemNo, else null. Only its widths and
  // character ends are read: the text it measured may be gone.
  static const TDVTextMeasure* Find(const TCustomDVFormattedData& data, int itemNo);
  // The layout has laid the item out with measure, which it prepares
  // afresh for the next item: kept by swapping when asked for.
  static void Offer(const TCustomDVFormattedData& data, int itemNo, TDVTextMeasure& measure);

 private:
  const TCustomDVFormattedData& data_;
  const int itemNo_;
  TDVKeptItemMeasure* const outer_;
  bool kept_ = false;
  TDVTextMeasure measure_;
};

}  // namespace quillet
