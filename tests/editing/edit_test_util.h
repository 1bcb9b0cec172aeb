#pragma once
// The editing tests' harness: an editor offscreen with a style sheet of an
// 8-bit GBK text style, a Unicode one and a protected one; a compact
// notation that builds a document and describes it back; and the checker
// that runs an operation and proves that Undo gives back the document's
// DVF bytes from before it and Redo those from after it.
//
// The notation: items separated by spaces, each item preceded by its
// modifiers.
//   P1          the item starts a paragraph of paragraph style 1
//   /           the item starts a line of its paragraph (a line break)
//   ^           a page break before the item
//   =2          paragraph style 2 on an item that continues a paragraph
//               (described only where it differs from the paragraph's)
//   #name       a checkpoint on the item; alone at the end: the trailing one
//   @7          integer tag 7
//   0"text"     a text item of text style 0 (UTF-8 here; 8-bit styles hold
//               it in code page 936, Unicode styles in UTF-16)
//   1u"text"    the same with the Unicode flag opposite to the style's
//   brk         a break (a full-width line)
//   mk          a list marker of list 0 (it starts its paragraph)
//   pic:20x10   a picture of 20 x 10 pixels
// An item with neither P nor / continues the paragraph; the first item
// starts one (P0 unless given). Example: P0 0"ab" 1"中" / 0"c" P1 ^ brk
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"

namespace quillet::test {

// Text styles of the sheet.
constexpr int32_t kGbk = 0, kUni = 1, kProtected = 2;
// Paragraph styles: plain, indented, self-protecting.
constexpr int32_t kPlainPara = 0, kIndentPara = 1, kProtectedPara = 2;

// The data of the test editor: counts whole formatting passes, and measures
// on MeasureCanvas when one is set (fixed metrics, so caret x is exact).
class TestEditData : public TDVEditDVData {
 public:
  using TDVEditDVData::TDVEditDVData;
  int WholePasses = 0;
  TCanvas* MeasureCanvas = nullptr;
  TCanvas* GetCanvas() override { return MeasureCanvas ? MeasureCanvas : TDVEditDVData::GetCanvas(); }
  void Formatted(int firstItemNo, int lastItemNo, bool partial) override {
    if (!partial) ++WholePasses;
    TDVEditDVData::Formatted(firstItemNo, lastItemNo, partial);
  }
};

class TestEditor : public TDocViewEdit {
 public:
  TestEditor()
      : TDocViewEdit(nullptr, [](TCustomDocViewEdit& e) { return std::make_unique<TestEditData>(e); }) {}
  TestEditData& Data() const { return static_cast<TestEditData&>(EditData()); }
};

// The sheet the tests use.
void MakeEditSheet(TDVStyle& sheet);
// Replaces the document by the notation's and formats it.
void LoadDoc(TDVEditDVData& data, const std::string& notation);
// The document in the notation.
std::string DescribeDoc(const TCustomDVData& data);
// The document's DVF bytes.
std::string DvfBytes(TCustomDVData& data);
// Text in an item's form: code page 936 or UTF-16 by the Unicode flag.
std::string ItemText(const std::string& utf8, bool unicode);

// Every field of every drawing item and the document height.
using DrawingSnapshot = std::vector<std::tuple<int, int, int, int, int, int, int, bool>>;
DrawingSnapshot TakeDrawing(const TCustomDVFormattedData& data);
// Whether the drawing items equal what a whole pass makes (which it runs).
testing::AssertionResult DrawingIsFresh(TCustomDVFormattedData& data);

// An editing operation as the editor runs one: the drawing items of items
// first..last taken before the change, an undo group of the type, the
// change, then the touched sections reformatted (a whole pass where the
// document's minimum width changed), Change, and a group left empty dropped.
void Edit(TDVEditDVData& data, TDVUndoType type, int firstItemNo, int lastItemNo, int itemsAdded,
          const std::function<void()>& change);
// One typed character (UTF-8) at offs of a text item, as typing records it.
void TypeChar(TDVEditDVData& data, int itemNo, int32_t offs, const std::string& utf8);

// Runs the operation, then Undo (the DVF bytes from before it come back,
// the drawing items as a whole pass makes them) and Redo (the bytes from
// after it). The operation must change the document and leave one group.
testing::AssertionResult UndoRedoRoundTrip(TDVEditDVData& data, const std::function<void()>& operation);

// The editor with the sheet, offscreen, beeps counted.
class EditTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TestEditData& Data() const { return editor->Data(); }
  void Load(const std::string& notation) { LoadDoc(Data(), notation); }
  std::string Doc() const { return DescribeDoc(Data()); }

  TDVStyle sheet;
  std::unique_ptr<TestEditor> editor;
  int beeps = 0;
};

}  // namespace quillet::test
