#pragma once
// The editing tests at the caret: the harness's editor measuring on a
// recording canvas (fixed metrics: caret x and line breaks are exact), with
// helpers that place the caret and read it back in item terms.
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "edit_test_util.h"
#include "engine/model/break_item.h"
#include "engine/model/marker_item.h"
#include "engine/model/picture_item.h"
#include "platform/gfx/graphic.h"
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
  // The selection in item terms, in document order (the caret without one).
  std::tuple<int, int32_t, int, int32_t> Selection() const {
    int s, e;
    int32_t so, eo;
    Data().GetSelectionBoundsEx(s, so, e, eo, true);
    return {s, so, e, eo};
  }
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

  // A new item: "pic" (10 x 10), "brk" or "mk".
  std::unique_ptr<TCustomDVItemInfo> NewItem(const std::string& kind) {
    if (kind == "brk") return std::make_unique<TDVBreakItemInfo>(&Data());
    if (kind == "mk") return std::make_unique<TDVMarkerItemInfo>(&Data(), 0, 0, 0, false);
    auto picture = std::make_unique<TDVGraphicItemInfo>(&Data(), std::make_unique<TBitmap>(10, 10), dvvaBaseline);
    picture->StyleNo = dvsPicture;
    return picture;
  }
  // Inserts at the caret as the editor does: one undo group, dropped when
  // the insertion is refused.
  bool InsertAtCaret(std::unique_ptr<TCustomDVItemInfo> item, std::string text = "", bool adjustTag = false) {
    TDVEditOperation operation(Data());
    Data().BeginUndoSequence(dvutInsert, true);
    const bool ok = Data().InsertSomething(item, text, adjustTag, false);
    if (ok) Data().Change();
    Data().UndoList->PopIfEmpty();
    return ok;
  }
  // Replaces the letters R (a read-only paragraph style), S (a sticking
  // text style) and D (a delete-protected one) in the notation.
  // The styles are added once per test.
  std::string WithStyles(std::string doc) {
    if (letterStyles_.empty())
      letterStyles_ = {{'R', AddParaStyle(dvpaoReadOnly)},
                       {'S', AddTextStyle(dvprSticking)},
                       {'D', AddTextStyle(dvprDeleteProtect)}};
    for (const auto& [letter, no] : letterStyles_)
      for (size_t at; (at = doc.find(letter)) != std::string::npos;) doc.replace(at, 1, std::to_string(no));
    return doc;
  }
  // A new text style like the GBK one with the protection options.
  int32_t AddTextStyle(uint32_t protection) {
    sheet.TextStyles().Add().Assign(sheet.TextStyles()[kGbk]);
    const int32_t no = sheet.TextStyles().Count() - 1;
    sheet.TextStyles()[no].Protection = static_cast<decltype(sheet.TextStyles()[no].Protection)>(protection);
    sheet.TextStyles()[no].Standard = false;
    return no;
  }
  // A hyperlink style like the GBK one, drawn in hoverColor under the mouse
  // (clNone: not hover-sensitive).
  int32_t AddLinkStyle(TColor hoverColor = clRed) {
    const int32_t no = AddTextStyle(0);
    sheet.TextStyles()[no].Jump = true;
    sheet.TextStyles()[no].Color = clBlue;
    sheet.TextStyles()[no].HoverColor = hoverColor;
    return no;
  }
  // A paragraph style with the options.
  int32_t AddParaStyle(uint32_t options) {
    sheet.ParaStyles().Add();
    const int32_t no = sheet.ParaStyles().Count() - 1;
    sheet.ParaStyles()[no].Options = static_cast<decltype(sheet.ParaStyles()[no].Options)>(options);
    return no;
  }

  TRecordingCanvas canvas;

 private:
  std::vector<std::pair<char, int32_t>> letterStyles_;
};

// Random editing: a generator the test seeds, and positions at character
// boundaries of random items.
class RandomCaretTest : public CaretTest {
 protected:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  // Texts of both styles, paragraphs, lines, breaks, pictures and list
  // paragraphs.
  std::string RandomDocument(int items) {
    static const char* const kTexts[] = {"0\"ab cd\"", "1\"中文 x\"", "0\"q\"", "0\"\"", "1\"a😀b\"", "0\"中 z\""};
    std::string doc = "P0 0\"start\"";
    for (int i = 0; i < items; ++i) {
      const int kind = Rand(0, 9);
      // A break stands alone in its paragraph; a marker begins one.
      if (kind == 0) doc += " P" + std::to_string(Rand(0, 1)) + " brk P0 0\"q\"";
      else if (kind == 1) doc += " pic:" + std::to_string(Rand(5, 60)) + "x10";
      else if (kind == 2) doc += " P0 mk 0\"ab\"";
      else doc += std::string(Rand(0, 2) == 0 ? " P" + std::to_string(Rand(0, 1)) + " " : Rand(0, 4) == 0 ? " / " : " ") +
                  kTexts[Rand(0, 5)];
    }
    return doc;
  }
  std::pair<int, int32_t> Position() {
    const int itemNo = Rand(0, Data().ItemCount() - 1);
    if (Data().GetItemStyle(itemNo) < 0) return {itemNo, Rand(0, 1)};
    const int32_t after = Data().GetOffsAfterItem(itemNo);
    int32_t offs = 1;
    for (int k = Rand(0, 6); k > 0 && offs < after; --k)
      offs = Data().NextCharStr(Data().GetItemTextR(itemNo), itemNo, offs);
    return {itemNo, offs};
  }

  std::mt19937 rng;
};

}  // namespace quillet::test
