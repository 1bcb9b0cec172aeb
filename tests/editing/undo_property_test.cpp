// Random primitives on a generated document: undoing every group gives back
// the original DVF bytes, redoing every group the edited ones, and the
// drawing items stay those of a whole pass.
#include <gtest/gtest.h>

#include <random>

#include "edit_test_util.h"
#include "editing/undo/undo_records.h"
#include "engine/model/item_registry.h"
#include "engine/model/picture_item.h"
#include "engine/text/item_text.h"
#include "platform/gfx/graphic.h"

namespace quillet::test {
namespace {

class RandomEdits {
 public:
  RandomEdits(TDVEditDVData& data, unsigned seed) : data_(data), rng_(seed) {}

  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(int percent) { return Rand(1, 100) <= percent; }

  // Paragraphs of one to four items: text of the three styles, lines,
  // pictures, breaks, checkpoints and tags.
  std::string Document(int items) {
    std::string doc;
    for (int i = 0; i < items; ++i) {
      const bool start = i == 0 || Chance(30);
      if (start) {
        doc += " P" + std::to_string(Rand(0, 2));
        if (Chance(10)) doc += " ^";
      } else if (Chance(10)) {
        doc += " /";
      }
      if (Chance(10)) doc += " #c" + std::to_string(i);
      if (Chance(10)) doc += " @" + std::to_string(Rand(1, 9));
      if (start && Chance(5)) {
        doc += " brk";
      } else if (Chance(8)) {
        doc += " pic:" + std::to_string(Rand(5, 120)) + "x" + std::to_string(Rand(5, 30));
      } else {
        const int style = Rand(0, 2);
        doc += " " + std::to_string(style) + "\"" + Words(style == kUni) + "\"";
      }
    }
    return doc.substr(1);
  }

  // One random primitive as an operation.
  void Step() {
    for (int attempt = 0; attempt < 20; ++attempt)
      if (TryStep()) return;
  }

 private:
  TDVEditDVData& Data() { return data_; }
  int Count() { return data_.ItemCount(); }
  bool IsText(int i) { return data_.GetItemStyle(i) >= 0; }
  bool FullWidth(int i) { return data_.GetItem(i)->GetBoolValue(dvbpFullWidth); }

  std::string Words(bool chinese) {
    static const char* const kLatin[] = {"ab", "word", "xyz", "q", "lorem ipsum"};
    static const char* const kChinese[] = {"中文", "字", "编辑", "文档 测试"};
    return chinese && Chance(60) ? kChinese[Rand(0, 3)] : kLatin[Rand(0, 4)];
  }

  // A character boundary of a text item: k whole characters from the start.
  int Boundary(int itemNo, int k) {
    const std::string& s = data_.GetItemTextR(itemNo);
    const TDVItemOptions options = data_.GetItemOptions(itemNo);
    const int codePage = data_.GetStyleCodePage(data_.GetItemStyle(itemNo));
    int index = 1;
    for (int i = 0; i < k && index <= DVU_Length(s, options); ++i) index = DVU_NextCharIndex(s, index, options, codePage);
    return index;
  }

  std::unique_ptr<TCustomDVItemInfo> NewText(int32_t style, int32_t para, std::string& text) {
    auto item = DocViewTextItemClass(&data_);
    item->StyleNo = style;
    item->ParaNo = para < 0 ? 0 : para;
    if (para < 0) item->SetSameAsPrev(true);
    if (style == kUni) item->ItemOptions |= dvioUnicode;
    text = ItemText(Words(style == kUni), style == kUni);
    return item;
  }

  // The edits that start or join paragraphs restyle the rest of the
  // paragraph: the reformat reaches its last item.
  int ParaEnd(int i) { return data_.GetParaLastItemNo(i); }

  void Run(TDVUndoType type, int first, int last, int added, const std::function<void()>& change) {
    Edit(data_, type, first, last, added, change);
  }

  bool TryStep() {
    const int n = Count();
    const int i = Rand(0, n - 1);
    bool full = false;
    switch (Rand(0, 19)) {
      case 0: {  // characters typed into a text item
        if (!IsText(i)) return false;
        const int at = Boundary(i, Rand(0, 6));
        const bool uni = data_.GetItem(i)->IsUnicode();
        Run(dvutInsert, i, i, 0, [&] { data_.Do_InsertSubstring(i, at, ItemText(Words(uni), uni)); });
        return true;
      }
      case 1: {  // characters deleted
        if (!IsText(i) || data_.ItemLength(i) == 0) return false;
        const int from = Boundary(i, Rand(0, 3)), to = Boundary(i, Rand(1, 6));
        if (to <= from) return false;
        Run(dvutDelete, i, i, 0, [&] { data_.Do_DeleteSubstring(i, from, to - from); });
        return true;
      }
      case 2: {
        if (!IsText(i)) return false;
        const bool uni = data_.GetItem(i)->IsUnicode();
        Run(dvutMiscTyping, i, i, 0, [&] { data_.Do_ChangeText(i, ItemText(Words(uni), uni)); });
        return true;
      }
      case 3: {  // between the two 8-bit styles
        if (!IsText(i) || data_.GetItem(i)->IsUnicode()) return false;
        Run(dvutStyleNo, i, i, 0, [&] { data_.Do_StyleNo(i, data_.GetItemStyle(i) == kGbk ? kProtected : kGbk); });
        return true;
      }
      case 4: {
        const int last = std::min(n - 1, i + Rand(0, 5));
        Run(dvutPara, i, last, 0, [&] { data_.Do_Para(i, last, full, Rand(0, 2)); });
        return true;
      }
      case 5: {
        std::vector<int32_t> list;
        for (int k = i; k < std::min(n, i + Rand(1, 4)); ++k) list.push_back(Rand(0, 2));
        Run(dvutPara, i, i + static_cast<int>(list.size()) - 1, 0, [&] { data_.Do_ParaList(i, list, full); });
        return true;
      }
      case 6: {  // a continuation starts a paragraph, or a paragraph joins the one before
        if (data_.GetItem(i)->SameAsPrev()) {
          Run(dvutPara, i, ParaEnd(i), 0, [&] { data_.Do_NewLine(i, false, full, Rand(0, 2)); });
          return true;
        }
        if (i == 0 || FullWidth(i) || FullWidth(i - 1)) return false;
        Run(dvutPara, i - 1, ParaEnd(i), 0, [&] { data_.Do_NewLine(i, true, full, -1); });
        return true;
      }
      case 7: {
        if (i == 0 || FullWidth(i) || data_.GetItem(i)->SameAsPrev()) return false;
        const bool br = !data_.GetItem(i)->BR();
        Run(dvutPara, i - 1, ParaEnd(i), 0, [&] { data_.Do_BR(i, br, full); });
        return true;
      }
      case 8: {
        if (data_.GetItem(i)->SameAsPrev()) return false;
        const bool pageBreak = !data_.GetItem(i)->PageBreakBefore();
        Run(dvutInsertPageBreak, i, i, 0, [&] { data_.Do_PageBreak(i, pageBreak); });
        return true;
      }
      case 9: {  // a new item inside a paragraph or starting one
        const bool start = i == 0 || FullWidth(i - 1) || Chance(40);
        std::string text;
        auto item = NewText(Rand(0, 2), start ? Rand(0, 2) : -1, text);
        Run(dvutInsert, i, ParaEnd(i), 1, [&] { data_.Do_InsertItem(i, text, std::move(item), false, full); });
        return true;
      }
      case 10: {  // a paragraph of new items before a paragraph's start
        if (!data_.IsParaStart(i)) return false;
        TDVEditDVData::TItemBlock list;
        const int k = Rand(1, 3);
        for (int m = 0; m < k; ++m) {
          std::string text;
          auto item = NewText(Rand(0, 2), m == k - 1 ? Rand(0, 2) : -1, text);
          list.emplace_back(std::move(text), std::move(item));
        }
        Run(dvutInsert, i, ParaEnd(i), k, [&] { data_.Do_InsertItems(i, std::move(list), false, full); });
        return true;
      }
      case 11: {  // an item that continues its paragraph
        if (!data_.GetItem(i)->SameAsPrev() || n < 100) return false;
        Run(dvutDelete, i - 1, i, -1, [&] { data_.Do_DeleteItem(i, full); });
        return true;
      }
      case 12: {  // a whole paragraph
        if (!data_.IsParaStart(i) || n < 100) return false;
        const int last = data_.GetParaLastItemNo(i);
        if (i == 0 && last == n - 1) return false;
        Run(dvutDelete, i, last, -(last - i + 1), [&] { data_.Do_DeleteItems(i, last, full); });
        return true;
      }
      case 13: {
        if (data_.GetItem(i)->Checkpoint) {
          Run(dvutRemoveCheckpoint, i, i, 0, [&] { data_.Do_DeleteCP(i); });
        } else {
          auto cp = std::make_unique<TDVCPInfo>();
          cp->Name = "n" + std::to_string(Rand(0, 99));
          Run(dvutAddCheckpoint, i, i, 0, [&] { data_.Do_AddCP(i, std::move(cp)); });
        }
        return true;
      }
      case 14:
        Run(dvutTag, i, i, 0, [&] { data_.Do_Tag(i, TDVTag{Rand(0, 9), {}}, false); });
        return true;
      case 15: {  // two text items of a paragraph join
        if (i + 1 >= n || !IsText(i) || !IsText(i + 1) || !data_.GetItem(i + 1)->SameAsPrev() || n < 100)
          return false;
        // Texts of two encodings stay apart unless one is empty.
        if (data_.GetItem(i)->IsUnicode() != data_.GetItem(i + 1)->IsUnicode() && data_.ItemLength(i) > 0 &&
            data_.ItemLength(i + 1) > 0)
          return false;
        Run(dvutDelete, i, ParaEnd(i), -1, [&] { data_.Do_Concate(i); });
        return true;
      }
      case 16: {  // a picture becomes a hot picture of another size
        auto* picture = dynamic_cast<TDVGraphicItemInfo*>(data_.GetItem(i));
        if (!picture) return false;
        auto hot = std::make_unique<TDVHotGraphicItemInfo>(&data_);
        hot->StyleNo = dvsHotPicture;
        hot->Image = std::make_unique<TBitmap>(Rand(5, 150), Rand(5, 30));
        Run(dvutModifyItem, i, i, 0, [&] { data_.Do_ModifyItem(i, "hot", std::move(hot)); });
        return true;
      }
      case 17: {
        if (!dynamic_cast<TDVRectItemInfo*>(data_.GetItem(i))) return false;
        Run(dvutModifyItem, i, i, 0, [&] { data_.Do_ExtraIntProperty(i, dvepVShift, Rand(-5, 5)); });
        return true;
      }
      case 18: {
        if (!dynamic_cast<TDVGraphicItemInfo*>(data_.GetItem(i))) return false;
        Run(dvutModifyItem, i, i, 0, [&] {
          data_.Do_ItemModifyTerminator(i, true);
          data_.Do_ModifyItemIntProperty(i, nullptr, "ImageWidth", Rand(0, 160),
                                         std::make_unique<TDVUndoModifyItemIntProperty>());
          data_.Do_ItemModifyTerminator(i, false);
        });
        return true;
      }
      default: {  // the trailing checkpoint
        if (data_.NotAddedCP()) {
          Run(dvutRemoveCheckpoint, n - 1, n - 1, 0, [&] { data_.Do_DeleteCP(-1); });
        } else {
          auto cp = std::make_unique<TDVCPInfo>();
          cp->Name = "end";
          Run(dvutAddCheckpoint, n - 1, n - 1, 0, [&] { data_.Do_AddCP(-1, std::move(cp)); });
        }
        return true;
      }
    }
  }

  TDVEditDVData& data_;
  std::mt19937 rng_;
};

class UndoPropertyTest : public EditTest, public testing::WithParamInterface<unsigned> {};

TEST_P(UndoPropertyTest, UndoAllAndRedoAllGiveBackTheBytes) {
  RandomEdits edits(Data(), GetParam());
  Load(edits.Document(200));
  ASSERT_EQ(Data().ItemCount(), 200);
  const std::string original = DvfBytes(Data());
  for (int step = 0; step < 300; ++step) edits.Step();
  const std::string edited = DvfBytes(Data());
  const std::string editedDoc = DescribeDoc(Data());
  ASSERT_NE(edited, original);
  ASSERT_TRUE(DrawingIsFresh(Data()));

  int groups = 0;
  while (Data().UndoList->Count() > 0) {
    Data().UndoList->Undo(Data());
    ++groups;
    ASSERT_TRUE(DrawingIsFresh(Data())) << "undo " << groups;
  }
  EXPECT_GT(groups, 250);
  EXPECT_EQ(DvfBytes(Data()), original);
  while (Data().RedoList->Count() > 0) {
    Data().RedoList->Redo(Data());
    ASSERT_TRUE(DrawingIsFresh(Data())) << "redo, " << Data().RedoList->Count() << " left";
  }
  EXPECT_EQ(DescribeDoc(Data()), editedDoc);
  EXPECT_EQ(DvfBytes(Data()), edited);
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoPropertyTest, testing::Range(1u, 9u));

}  // namespace
}  // namespace quillet::test
