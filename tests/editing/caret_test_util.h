#pragma once
// The editing tests at the caret: the harness's editor measuring on a
// recording canvas (fixed metrics: caret x and line breaks are exact), with
// helpers that place the caret and read it back in item terms.
#include <utility>
#include <vector>

#include "edit_test_util.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet::test {

class CaretTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    Data().MeasureCanvas = &canvas;
  }
  // Loads the notation and places the caret at (itemNo, offs).
  void LoadAt(const std::string& notation, int itemNo, int32_t offs) {
    Load(notation);
    Data().SetCaretAtItem(itemNo, offs);
  }
  std::pair<int, int32_t> Caret() const { return {Data().GetCurItemNo(), Data().GetOffsetInCurItem()}; }
  // The caret line's stops as (offset in the item, x from the line's first stop).
  std::vector<std::pair<int32_t, int32_t>> Stops() const {
    std::vector<std::pair<int32_t, int32_t>> out;
    const TDVEditDVData& d = Data();
    for (const TDVCharPos& stop : d.CharEnds) {
      int itemNo;
      int32_t offs;
      d.DrawItem2Item(stop.DrawItemNo, stop.Offset, itemNo, offs);
      out.emplace_back(offs, stop.X - d.CharEnds.front().X);
    }
    return out;
  }

  TRecordingCanvas canvas;
};

}  // namespace quillet::test
