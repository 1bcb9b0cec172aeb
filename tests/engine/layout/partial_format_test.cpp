// Partial reformatting: after edits, the drawing items of the touched
// sections laid out again and the later ones moved equal a whole pass.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "layout_test_data.h"
#include "platform/core/code_page.h"

namespace quillet::test {
namespace {

// Every field of every drawing item, each item's first drawing item and the
// document height.
struct Snapshot {
  std::vector<std::tuple<int, int, int, int, int, int, int, int, int, bool>> drawItems;
  std::vector<int> firstDrawItems;
  int32_t height = 0;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const LayoutData& d) {
  Snapshot s;
  for (int i = 0; i < d.DrawItems.Count(); ++i) {
    const TDVDrawLineInfo* x = d.DrawItems[i];
    s.drawItems.emplace_back(x->ItemNo, x->Offs, x->Length, x->Left, x->Top, x->Width, x->Height, x->SpaceBefore,
                             x->ExtraSpaceBelow, x->FromNewLine);
  }
  // An item's DrawItemNo is a hint; its first drawing item is what is found.
  for (int i = 0; i < d.ItemCount(); ++i) s.firstDrawItems.push_back(d.FindDrawItemByItem(i));
  s.height = d.DocumentHeight;
  return s;
}

std::string Describe(const Snapshot& s) {
  std::string out = "height " + std::to_string(s.height) + "\nfirst drawing items";
  for (int k : s.firstDrawItems) out += " " + std::to_string(k);
  out += "\n";
  for (const auto& [item, offs, len, left, top, width, height, before, below, nl] : s.drawItems)
    out += std::to_string(item) + ":" + std::to_string(offs) + "+" + std::to_string(len) + "@" +
           std::to_string(left) + "," + std::to_string(top) + " " + std::to_string(width) + "x" +
           std::to_string(height) + " sb" + std::to_string(before) + " es" + std::to_string(below) +
           (nl ? " nl" : "") + "\n";
  return out;
}

void AddBreak(LayoutData& d) {
  auto item = std::make_unique<TestFullLine>(&d);
  item->StyleNo = dvsBreak;
  d.AddItem("", std::move(item));
}

// The last drawing item of the item (its drawing items are consecutive).
int LastDrawItem(const LayoutData& d, int itemNo) {
  int k = d.FindDrawItemByItem(itemNo);
  while (k + 1 < d.DrawItems.Count() && d.DrawItems[k + 1]->ItemNo == itemNo) ++k;
  return k;
}

// An edit as the editor makes it: widen the touched drawing items before
// the change, change the items, reformat the range.
void Edit(LayoutData& d, int firstItem, int lastItem, int itemsInserted, const std::function<void()>& change) {
  int start, end;
  d.GetParaBounds(d.FindDrawItemByItem(firstItem), LastDrawItem(d, lastItem), start, end);
  change();
  d.FormatParas(start, end, itemsInserted);
}

// A document with every kind of spacing: paragraphs with space before and
// after, percent and fixed line spacing, justified, centred and
// right-to-left paragraphs, a tall font, pictures and horizontal lines.
class Document : public LayoutData {
 public:
  Document() {
    clientWidth = 130;
    top = 3;
    bottom = 4;
    flags |= dvflTrim;
    sheet.ParaStyles()[0].SpaceBefore = 2;  // the horizontal line's extra space
    Para(dvaLeft).SpaceAfter = 6;
    TParaInfo& spaced = Para(dvaLeft);
    spaced.SpaceBefore = 5;
    spaced.LineSpacing = 150;
    Para(dvaJustify).SpaceAfter = 3;
    TParaInfo& centred = Para(dvaCenter);
    centred.LineSpacingType = dvlsSpaceBetween;
    centred.LineSpacing = 4;
    Para(dvaRight).BiDiMode = dvbdRightToLeft;
    TFontInfo& tall = sheet.TextStyles().Add();
    tall.Assign(sheet.TextStyles()[0]);
    tall.Size = 20;
    tallStyle = sheet.TextStyles().Count() - 1;
  }
  TParaInfo& Para(TDVAlignment a) { return sheet.ParaStyles()[AddPara(a)]; }
  int32_t tallStyle = 0;
};

class RandomEdits {
 public:
  RandomEdits(Document& d, uint32_t seed) : d_(d), rnd_(seed) {}

  int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(rnd_() % static_cast<uint32_t>(n)); }
  int ParaStyle() { return Pick(d_.sheet.ParaStyles().Count()); }
  int32_t TextStyle() { return Pick(4) == 0 ? d_.tallStyle : Pick(2); }
  std::string Words() {
    static const char* const kWords[] = {"ab", "cde ", " fghij", " ", "klmnopqrst", "\xD6\xD0\xCE\xC4",
                                         "\xD6\xD0 x", "  "};
    std::string s;
    for (int n = 1 + Pick(4); n > 0; --n) s += kWords[Pick(8)];
    return s;
  }
  bool IsText(int i) const { return d_.GetItemStyle(i) >= 0; }
  bool IsFullLine(int i) const { return d_.GetItemStyle(i) == dvsBreak || d_.GetItemStyle(i) == -60; }
  // A character boundary of a text item (1-based), stepping whole characters.
  int Boundary(int i) {
    const std::string& t = d_.GetItemTextR(i);
    std::vector<int> starts{1};
    while (starts.back() <= static_cast<int>(t.size())) starts.push_back(d_.NextCharStr(t, i, starts.back()));
    return starts[static_cast<size_t>(Pick(static_cast<int>(starts.size())))];
  }
  // Makes item i start a paragraph (or a line, br) with paragraph style para.
  void StartParagraph(int i, int32_t para, bool br) {
    TCustomDVItemInfo* item = d_.GetItem(i);
    item->SetSameAsPrev(false);
    item->SetBR(br && !IsFullLine(i));
    item->ParaNo = para;
  }
  int32_t ParaAt(int i) const { return d_.GetItemPara(d_.GetFirstParaItem(i)); }

  void Build() {
    for (int p = 0; p < 8; ++p) {
      const int32_t para = ParaStyle();
      d_.AddNL(Words(), TextStyle(), para);
      for (int n = Pick(3); n > 0; --n) {
        if (Pick(4) == 0)
          d_.AddItem("", std::make_unique<TestRect>(&d_, 10 + Pick(30), 5 + Pick(30)));
        else
          d_.AddNL(Words(), TextStyle(), -1);
        d_.GetItem(d_.ItemCount() - 1)->ParaNo = para;
      }
      if (Pick(5) == 0) AddBreak(d_);
    }
  }

  // One random edit; a description of it for the failure message.
  std::string Step() {
    const int count = d_.ItemCount();
    const int i = Pick(count);
    switch (Pick(8)) {
      case 0:
        if (!IsText(i)) break;
        Edit(d_, i, i, 0, [&] {
          std::string t = d_.GetItemTextR(i);
          t.insert(static_cast<size_t>(Boundary(i) - 1), Words());
          d_.SetItemTextR(i, t);
        });
        return "insert text into " + std::to_string(i);
      case 1: {
        if (!IsText(i)) break;
        Edit(d_, i, i, 0, [&] {
          int a = Boundary(i), b = Boundary(i);
          if (a > b) std::swap(a, b);
          std::string t = d_.GetItemTextR(i);
          t.erase(static_cast<size_t>(a - 1), static_cast<size_t>(b - a));
          d_.SetItemTextR(i, t);
        });
        return "delete text in " + std::to_string(i);
      }
      case 2: {  // split: the tail becomes a new paragraph, a new line or a run of another style
        if (!IsText(i)) break;
        const int kind = Pick(3);
        Edit(d_, i, i, 1, [&] {
          const int at = Boundary(i);
          std::string t = d_.GetItemTextR(i);
          auto tail = std::make_unique<TDVTextItemInfo>(&d_);
          tail->StyleNo = kind == 2 ? TextStyle() : d_.GetItemStyle(i);
          tail->ParaNo = ParaAt(i);
          tail->SetSameAsPrev(kind == 2);
          tail->SetBR(kind == 1);
          if (kind == 0) tail->ParaNo = ParaStyle();
          d_.Items().Insert(i + 1, t.substr(static_cast<size_t>(at - 1)), std::move(tail));
          d_.SetItemTextR(i, t.substr(0, static_cast<size_t>(at - 1)));
          // A new paragraph takes the rest of the old one along.
          for (int k = i + 2; k < d_.ItemCount() && d_.GetItem(k)->SameAsPrev(); ++k)
            d_.GetItem(k)->ParaNo = d_.GetItemPara(i + 1);
        });
        return "split " + std::to_string(i);
      }
      case 3: {  // join the next paragraph or line to this one
        if (i + 1 >= count || IsFullLine(i) || IsFullLine(i + 1) || d_.GetItem(i + 1)->SameAsPrev()) break;
        Edit(d_, i, i + 1, 0, [&] {
          const int32_t para = ParaAt(i);
          d_.GetItem(i + 1)->SetSameAsPrev(true);
          for (int k = i + 1; k < d_.ItemCount() && (k == i + 1 || d_.GetItem(k)->SameAsPrev()); ++k)
            d_.GetItem(k)->ParaNo = para;
        });
        return "join " + std::to_string(i + 1);
      }
      case 4: {  // insert a picture in the line, or a horizontal line or a paragraph after item i
        const int kind = IsFullLine(i) ? 1 + Pick(2) : Pick(3);
        Edit(d_, i, i, 1, [&] {
          std::unique_ptr<TCustomDVItemInfo> item;
          std::string text;
          if (kind == 0) {
            item = std::make_unique<TestRect>(&d_, 10 + Pick(40), 5 + Pick(30));
            item->SetSameAsPrev(true);
            item->ParaNo = ParaAt(i);
          } else if (kind == 1) {
            auto line = std::make_unique<TestFullLine>(&d_);
            line->StyleNo = dvsBreak;
            item = std::move(line);
          } else {
            item = std::make_unique<TDVTextItemInfo>(&d_);
            item->StyleNo = TextStyle();
            item->ParaNo = ParaStyle();
            text = Words();
          }
          d_.Items().Insert(i + 1, text, std::move(item));
          // What continued item i's line starts a paragraph after a line of its own.
          if (kind != 0 && i + 2 < d_.ItemCount() && d_.GetItem(i + 2)->SameAsPrev())
            StartParagraph(i + 2, ParaAt(i), false);
        });
        return "insert item after " + std::to_string(i) + " kind " + std::to_string(kind);
      }
      case 5: {  // delete item i
        if (count < 2) break;
        Edit(d_, i, i, -1, [&] {
          const TCustomDVItemInfo* gone = d_.GetItem(i);
          const bool startsLine = !gone->SameAsPrev(), br = gone->BR();
          const int32_t para = d_.GetItemPara(i);
          d_.DeleteItems(i, 1);
          if (i < d_.ItemCount()) {
            // The next item takes over the start of the line, or starts one
            // after a horizontal line.
            const bool afterFull = i > 0 && IsFullLine(i - 1);
            if ((startsLine || afterFull || i == 0 || IsFullLine(i)) && d_.GetItem(i)->SameAsPrev())
              StartParagraph(i, para, br && !afterFull && i > 0);
          }
        });
        return "delete item " + std::to_string(i);
      }
      case 6:  // another text style: other heights
        if (!IsText(i)) break;
        Edit(d_, i, i, 0, [&] { d_.GetItem(i)->StyleNo = TextStyle(); });
        return "restyle " + std::to_string(i);
      case 7: {  // another paragraph style for the paragraph of item i
        const int first = d_.GetFirstParaItem(i);
        int last = first;
        while (last + 1 < count && !d_.IsParaStart(last + 1)) ++last;
        Edit(d_, first, last, 0, [&] {
          const int32_t para = ParaStyle();
          for (int k = first; k <= last; ++k) d_.GetItem(k)->ParaNo = para;
        });
        return "paragraph style of " + std::to_string(first);
      }
    }
    return {};
  }

 private:
  Document& d_;
  std::mt19937 rnd_;
};

TEST(PartialFormat, RandomEditsGiveWhatAWholePassGives) {
  for (const bool eightBit : {true, false}) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
      Document d;
      RandomEdits edits(d, seed);
      if (!eightBit) d.clientWidth = 90;  // narrower: more wrapping
      edits.Build();
      d.Format();
      std::string history;
      for (int round = 0; round < 300; ++round) {
        const std::string step = edits.Step();
        if (step.empty()) continue;
        history += step + "; ";
        const Snapshot partial = Take(d);
        ASSERT_EQ(d.DrawItems.MarkedCount(), 0);
        d.Format();
        const Snapshot whole = Take(d);
        ASSERT_EQ(partial, whole) << "seed " << seed << " after: " << history << "\npartial:\n"
                                  << Describe(partial) << "whole:\n"
                                  << Describe(whole);
      }
    }
  }
}

// Four paragraphs of two lines each at 60 pixels (10 characters a line).
class Paragraphs : public testing::Test {
 protected:
  void SetUp() override {
    d.clientWidth = 60;
    d.clientHeight = 100;
    d.flags |= dvflTrim;
    for (const char* t : {"aaaa bbbb cccc", "dddd eeee ffff", "gggg hhhh iiii", "jjjj"}) d.AddNL(t, 0, 0);
    d.Format();
    d.invalidated.clear();
  }
  LayoutData d;
};

TEST_F(Paragraphs, TypingThatKeepsTheHeightRepaintsOnlyTheParagraph) {
  // The range is the edited paragraph with the one before and the one after.
  const TDVDrawLineInfo* after = d.DrawItems[d.FindDrawItemByItem(3)];
  const int32_t laterTop = after->Top;
  Edit(d, 1, 1, 0, [&] { d.SetItemTextR(1, "dddd eeeX ffff"); });
  EXPECT_EQ(d.DrawItems[d.FindDrawItemByItem(3)], after);
  EXPECT_EQ(after->Top, laterTop);
  // From 10 pixels above the range to 10 below its end.
  ASSERT_EQ(d.invalidated.size(), 1u);
  EXPECT_EQ(d.invalidated[0], Rect(0, -10, 60, laterTop + 10));
  EXPECT_EQ(d.formattedEvents.back(), 2);  // items 0..2 partially
}

TEST_F(Paragraphs, AWrapOntoOneMoreLineMovesEverythingBelowByALine) {
  const int32_t laterTop = d.DrawItems[d.FindDrawItemByItem(3)]->Top;
  const int32_t height = d.DocumentHeight;
  Edit(d, 0, 0, 0, [&] { d.SetItemTextR(0, "aaaa bbbb cccc dddd eeee"); });
  EXPECT_EQ(d.DrawItems[d.FindDrawItemByItem(3)]->Top, laterTop + 13);
  EXPECT_EQ(d.DocumentHeight, height + 13);
  ASSERT_EQ(d.invalidated.size(), 1u);
  EXPECT_EQ(d.invalidated[0], Rect(0, -10, 60, 100));
}

TEST_F(Paragraphs, DeletingAnItemRenumbersTheLaterOnes) {
  Edit(d, 0, 0, -1, [&] { d.DeleteItems(0, 1); });
  EXPECT_EQ(d.Lines(), "dddd eeee|ffff|gggg hhhh|iiii|jjjj");
  for (int i = 0; i < d.ItemCount(); ++i) {
    const int k = d.FindDrawItemByItem(i);
    EXPECT_EQ(d.DrawItems[k]->ItemNo, i);
    EXPECT_TRUE(k == 0 || d.DrawItems[k - 1]->ItemNo != i);
  }
  EXPECT_EQ(d.DrawItems[0]->Top, 0);  // the first paragraph starts at the top margin
}

TEST_F(Paragraphs, AShorterDocumentThatScrollsRepaintsTheWholeView) {
  struct Scrolled : LayoutData {
    void SetDocumentAreaSize(int32_t w, int32_t h, bool u) override {
      LayoutData::SetDocumentAreaSize(w, h, u);
      vOffs = std::min(vOffs, std::max(0, h - clientHeight));
    }
  } s;
  s.clientWidth = 60;
  s.clientHeight = 30;
  for (const char* t : {"aaaa bbbb cccc", "dddd eeee ffff"}) s.AddNL(t, 0, 0);
  s.Format();
  s.vOffs = 22;
  const int passes = s.passes;
  Edit(s, 1, 1, 0, [&] { s.SetItemTextR(1, "dd"); });
  EXPECT_EQ(s.DocumentHeight, 39);
  EXPECT_EQ(s.passes, passes + 1);  // the scroll range was adjusted
  EXPECT_EQ(s.vOffs, 9);
  ASSERT_EQ(s.invalidated.size(), 1u);
  EXPECT_EQ(s.invalidated[0], Rect(0, 0, 60, 30));
}

// The space that a horizontal line takes from the first paragraph style
// counts in the gap below a reformatted paragraph, and the line spacing of
// the document's last line counts in its height.
TEST(PartialFormat, SpaceAboveAHorizontalLineAndLineSpacingAtTheEndAreKept) {
  LayoutData d;
  d.sheet.ParaStyles()[0].SpaceBefore = 7;
  const int spaced = d.AddPara();
  d.sheet.ParaStyles()[spaced].LineSpacingType = dvlsSpaceBetween;
  d.sheet.ParaStyles()[spaced].LineSpacing = 5;
  for (const char* t : {"abc", "x"}) d.AddNL(t, 0, spaced);
  AddBreak(d);
  for (const char* t : {"y", "z", "def"}) d.AddNL(t, 0, spaced);
  d.Format();
  // Item 0 wraps onto a second line; the range is items 0 and 1, the break
  // follows it and everything below moves.
  Edit(d, 0, 0, 0, [&] { d.SetItemTextR(0, std::string(40, 'a')); });
  const Snapshot partial = Take(d);
  d.Format();
  EXPECT_EQ(partial, Take(d)) << Describe(partial) << Describe(Take(d));
}

TEST(PartialFormat, AScrollBarThatAppearsWrapsTheDocumentAtTheNewWidth) {
  LayoutData d;
  d.scrollBars = true;
  d.clientWidth = 76;
  d.clientHeight = 30;
  d.AddNL("aaaa bbbb cc", 0, 0);
  d.Format();
  ASSERT_FALSE(d.hasVBar);
  Edit(d, 0, 0, 0, [&] { d.SetItemTextR(0, "aaaa bbbb cccc dddd eeee ffff gggg"); });
  EXPECT_TRUE(d.hasVBar);
  const Snapshot partial = Take(d);
  d.Format();
  EXPECT_EQ(partial, Take(d));
}

}  // namespace
}  // namespace quillet::test
