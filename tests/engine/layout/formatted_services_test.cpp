// Services of the formatted data: focus traversal, scrolling a rectangle
// into view, hyperlink areas, checkpoint events, feedback drawing, capture.
#include <gtest/gtest.h>

#include "layout_test_data.h"

namespace quillet::test {
namespace {

// An object that takes the focus, or (inner) one that holds a focusable
// place inside, as a table's cell would.
struct FocusItem : TestRect {
  FocusItem(TCustomDVData* d, bool focusable, bool inner) : TestRect(d), focusable_(focusable), inner_(inner) {}
  bool GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* s) const override {
    return prop == dvbpAllowsFocus ? focusable_ : TestRect::GetBoolValueEx(prop, s);
  }
  bool MoveFocus(bool, TCustomDVData*& data, int& itemNo) override {
    if (!inner_) return false;
    data = &cell;
    itemNo = 0;
    return true;
  }
  bool focusable_, inner_;
  LayoutData cell;
};

TEST(FormattedServices, TabWalksOverFocusableItemsAndIntoTables) {
  LayoutData d;
  d.AddNL("text", 0, 0);                                            // 0
  d.AddItem("", std::make_unique<FocusItem>(&d, true, false));      // 1
  d.AddNL("text", 0, 0);                                            // 2
  d.AddItem("", std::make_unique<FocusItem>(&d, false, true));      // 3: a table
  d.AddItem("", std::make_unique<FocusItem>(&d, true, false));      // 4
  struct Case {
    int from;
    bool forward;
    int expected;
  };
  for (const Case& c : {Case{-1, true, 1}, Case{1, true, 3}, Case{3, true, 3}, Case{4, true, -1},
                        Case{-1, false, 4}, Case{4, false, 3}, Case{1, false, -1}, Case{0, true, 1}}) {
    TCustomDVData* data = nullptr;
    int itemNo = -1;
    EXPECT_EQ(d.GetNextFocusedItem(c.from, c.forward, data, itemNo), c.expected) << c.from << c.forward;
    if (c.expected == 3) {
      EXPECT_EQ(data, &static_cast<FocusItem*>(d.GetItem(3))->cell);
    }
    if (c.expected == 1) {
      EXPECT_EQ(data, &d);
      EXPECT_EQ(itemNo, 1);
    }
  }
  d.FocusedItemNo = 9;
  d.ClearFocus();
  EXPECT_EQ(d.FocusedItemNo, -1);
}

struct ScrollData : LayoutData {
  int32_t hOffs = 0, hScrolledTo = -1, vScrolledTo = -1;
  int32_t GetHOffs() const override { return hOffs; }
  void HScrollTo(int32_t x) override { hScrolledTo = x; }
  void ScrollTo(int32_t y, bool) override { vScrolledTo = y; }
};

TEST(FormattedServices, ShowRectangleScrollsOnlyAsFarAsNeeded) {
  struct Case {
    const char* name;
    int32_t left, top, width, height;
    int32_t hTo, vTo;  // -1: not scrolled
  };
  // View: x 100..300, y 500..600, small step 10.
  for (const Case& c : {Case{"Inside", 120, 520, 10, 10, -1, -1},
                        Case{"LeftOfTheView", 40, 520, 10, 10, 40 - 50, -1},
                        Case{"RightOfTheView", 295, 520, 10, 10, 295 - 50, -1},
                        Case{"Above", 120, 450, 10, 10, -1, 450},
                        Case{"Below", 120, 620, 10, 15, -1, 620 + 15 - 100 + 10},
                        Case{"TallerThanTheViewFromItsTop", 120, 505, 10, 300, -1, -1}}) {
    ScrollData d;
    d.clientHeight = 100;
    d.hOffs = 100;
    d.vOffs = 500;
    d.ShowRectangle(c.left, c.top, c.width, c.height);
    EXPECT_EQ(d.hScrolledTo, c.hTo) << c.name;
    EXPECT_EQ(d.vScrolledTo, c.vTo) << c.name;
  }
}

TEST(FormattedServices, HyperlinkAreasShareTheIdOfTheirItem) {
  LayoutData d;
  d.clientWidth = 60;
  d.flags |= dvflTrim;
  d.AddNL("plain", 0, 0);
  d.AddNL("link one two", dvsJump1, 0);  // two pieces
  d.AddNL("next", dvsJump1, 0);
  d.Format();
  int32_t start = 5;
  TDVJumpList jumps;
  d.BuildJumpsCoords(start, jumps);
  ASSERT_EQ(jumps.size(), 3u);
  EXPECT_EQ(std::tuple(jumps[0]->Id, jumps[1]->Id, jumps[2]->Id), std::tuple(5, 5, 6));
  EXPECT_EQ(jumps[1]->DrawItemNo, 2);
  EXPECT_EQ(jumps[1]->Top, d.DrawItems[2]->Top);
  EXPECT_EQ(d.GetItem(2)->JumpID, 6);
  EXPECT_EQ(start, 7);
}

struct CheckpointData : LayoutData {
  TCPEventKind kind = cpeWhenVisible;
  std::vector<std::string> raised;
  bool IsAssignedCheckpointVisible() const override { return true; }
  TCPEventKind GetCPEventKind() const override { return kind; }
  void DoCheckpointVisible(TDVCPInfo* cp) override { raised.push_back(cp ? cp->Name : "none"); }
};

// Ten paragraphs 13 pixels apart, checkpoints at items 3 (top 39) and 6
// (top 78); the view is 20 pixels high.
void Build(CheckpointData& d) {
  d.clientHeight = 20;
  for (int i = 0; i < 10; ++i) d.AddNL("line", 0, 0);
  d.InsertCheckpoint(3, {}, "three", true);
  d.InsertCheckpoint(6, {}, "six", true);
  d.InsertCheckpoint(8, {}, "quiet", false);
  d.Format();
}

TEST(FormattedServices, CheckpointEventsWhileScrolling) {
  struct Case {
    TCPEventKind kind;
    std::vector<int32_t> offsets;
    std::vector<std::string> raised;
  };
  for (const Case& c : {
           // In view once, then none once when it leaves without another coming.
           Case{cpeWhenVisible, {0, 30, 35, 45, 50, 70}, {"three", "none", "six"}},
           // The section whose start was passed last stays current.
           Case{cpeAsSectionStart, {0, 35, 45, 60, 70, 100}, {"three", "six"}},
       }) {
    CheckpointData d;
    d.kind = c.kind;
    Build(d);
    for (int32_t y : c.offsets) {
      d.vOffs = y;
      d.AfterVScroll();
    }
    EXPECT_EQ(d.raised, c.raised);
  }
}

TEST(FormattedServices, CheckpointsAreFoundAfterAPartialLayoutRenumberedTheItems) {
  CheckpointData d;
  Build(d);
  // One line fewer above the checkpoints: "three" at top 26, "six" at 65,
  // their items renumbered; the offsets of the case above, 13 higher.
  int start, end;
  d.GetParaBounds(0, 0, start, end);
  d.DeleteItems(0, 1);
  d.FormatParas(start, end, -1);
  for (int32_t y : {0, 17, 22, 32, 37, 57}) {
    d.vOffs = y;
    d.AfterVScroll();
  }
  EXPECT_EQ(d.raised, (std::vector<std::string>{"three", "none", "six"}));
}

TEST(FormattedServices, SectionStartWithoutACheckpointAboveRaisesNothing) {
  CheckpointData d;
  d.kind = cpeAsSectionStart;
  d.clientHeight = 20;
  for (int i = 0; i < 10; ++i) d.AddNL("line", 0, 0);
  d.Format();
  d.vOffs = 60;
  d.AfterVScroll();
  EXPECT_TRUE(d.raised.empty());
  d.AddNamedCheckpointExTag("end", true, {});  // the end-of-document checkpoint counts once the end shows
  d.vOffs = 120;
  d.AfterVScroll();
  EXPECT_EQ(d.raised, std::vector<std::string>{"end"});
}

struct Drawer : TDVFeedbackDrawer {
  explicit Drawer(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
  void XorDraw(TCustomDVFormattedData&, TShiftState, int32_t x, int32_t y) override {
    log_.push_back(name_ + "@" + std::to_string(x) + "," + std::to_string(y));
  }
  void Paint(TCustomDVFormattedData&, TCanvas&, int32_t, int32_t) override { log_.push_back(name_ + " painted"); }
  std::vector<std::string>& log_;
  std::string name_;
};

TEST(FormattedServices, FeedbackIsErasedByItsOwnDrawerBeforeAnotherTakesOver) {
  LayoutData d;
  std::vector<std::string> log;
  Drawer first(log, "first"), second(log, "second");
  d.AssignXorDrawing(&first);
  d.XorDrawingEx(5, 7);
  EXPECT_TRUE(d.XorImageDrawn);
  d.PaintXorFeedback(d.canvas);
  d.AssignXorDrawing(&second);
  EXPECT_FALSE(d.XorImageDrawn);
  d.UnAssignXorDrawing(&first);  // not the current drawer: nothing happens
  EXPECT_TRUE(d.UsingThisXorDrawing(&second));
  d.XorDrawing();
  d.UnAssignXorDrawing(&second);
  EXPECT_EQ(log, (std::vector<std::string>{"first@5,7", "first painted", "first@5,7", "second@5,7", "second@5,7"}));
  EXPECT_FALSE(d.UsingThisXorDrawing(&second));
}

TEST(FormattedServices, CaptureFollowsItemsOfThisDocumentOnly) {
  LayoutData d;
  d.AddNL("ab", 0, 0);
  d.AddItem("", std::make_unique<TestRect>(&d, 10, 10));
  d.Format();
  TCustomDVItemInfo* picture = d.GetItem(1);
  int32_t left = -1, top = -1;
  d.SetMouseCapture(picture, left, top);
  EXPECT_EQ(d.FCaptureMouseItem, picture);
  EXPECT_EQ(std::pair(left, top), std::pair(d.DrawItems[1]->Left, d.DrawItems[1]->Top));
  EXPECT_EQ(d.LastDIMovedAbove, 1);

  TestRect stranger(&d);
  d.ReleaseMouseCapture(&stranger);
  EXPECT_EQ(d.FCaptureMouseItem, picture);
  d.SetMouseCapture(&stranger, left, top);  // not in the document: no capture
  EXPECT_EQ(d.FCaptureMouseItem, picture);

  d.FActiveItem = picture;
  d.DeleteItems(1, 1);
  EXPECT_EQ(d.FCaptureMouseItem, nullptr);
  EXPECT_EQ(d.FActiveItem, nullptr);
}

// A sub-document asks its root for events and settings.
struct SubData : LayoutData {
  TCustomDVData* root = nullptr;
  TCustomDVData* GetRootData() override { return root; }
  const TCustomDVData* GetRootData() const override { return root; }
};

struct RootData : CheckpointData {
  int selects = 0;
  std::string dblClicked;
  void DoSelect() override { ++selects; }
  bool IsAssignedDVDblClick() const override { return true; }
  void DoDVDblClick(const std::string& word, int32_t) override { dblClicked = word; }
};

TEST(FormattedServices, SubDocumentsAskTheirRoot) {
  RootData root;
  root.kind = cpeAsSectionStart;
  SubData cell;
  cell.root = &root;
  cell.DoSelect();
  EXPECT_EQ(root.selects, 1);
  EXPECT_EQ(cell.GetCPEventKind(), cpeAsSectionStart);
  EXPECT_TRUE(cell.IsAssignedDVDblClick());
  cell.DoDVDblClick("word", 0);
  EXPECT_EQ(root.dblClicked, "word");
  EXPECT_FALSE(cell.IsAssignedCopy());
  LayoutData alone;
  EXPECT_EQ(alone.GetCPEventKind(), cpeNone);
}

}  // namespace
}  // namespace quillet::test
