// Accepting and rejecting tracked changes in an editor offscreen: at top
// level, on a selection, in the cells of a nested table with merged cells
// and in an open cell editor; undo gives the document back; the picture
// marks drawn over the editor.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "editing/table/inplace_editor.h"
#include "editing/table/table_test_util.h"
#include "engine/model/picture_item.h"
#include "host/review/accept_reject.h"
#include "host/review/picture_marks.h"
#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"

namespace quillet::test {
namespace {

class ReviewTest : public TableEditTest {
 protected:
  void SetUp() override {
    TableEditTest::SetUp();
    reviewers.Enter("A", "2026-12-10 09:00:00");
    ins = AddStyle(fsUnderline, kA);
    del = AddStyle(fsStrikeOut, kA);
    editor->TraceOn = true;
  }
  int32_t AddStyle(TFontStyles style, TColor color) {
    TFontInfo& s = sheet.TextStyles().Add();
    s.Assign(sheet.TextStyles()[kGbk]);
    s.Style = style;
    s.Color = color;
    return sheet.TextStyles().Count() - 1;
  }
  // The notation with I, D and N standing for the insertion, the deletion
  // and the plain black style.
  std::string Styled(std::string notation) const {
    for (auto [mark, styleNo] : {std::pair{'I', ins}, {'D', del}, {'N', PlainStyle()}})
      for (size_t at; (at = notation.find(std::string(1, mark) + "\"")) != std::string::npos;)
        notation.replace(at, 1, std::to_string(styleNo));
    return notation;
  }
  // The first style without font styles in black, -1 before one is made.
  int32_t PlainStyle() const {
    for (int i = 0; i < sheet.TextStyles().Count(); ++i)
      if (sheet.TextStyles()[i].Style == 0 && sheet.TextStyles()[i].Color == 0) return i;
    return -1;
  }
  void AddText(TCustomDVData& doc, const std::string& utf8, int32_t styleNo, bool para = true) {
    doc.AddNL(ItemText(utf8, false), styleNo, para ? 0 : -1);
  }
  static std::string Cell(const TDVTableItemInfo& t, int r, int c) { return DescribeDoc(*t.GetCells(r, c)); }

  // A 2 x 2 table: cell (0, 0) an insertion and a deletion, cell (1, 1) a
  // 2 x 2 table whose first row is one merged cell holding a deletion and
  // whose cell (1, 1) holds an insertion.
  TDVTableItemInfo& PlaceNested() {
    auto outer = MakeTable(2, 2);
    TDVTableCellData& first = *outer->GetCells(0, 0);
    AddText(first, "ins", ins);
    AddText(first, "del", del, false);
    AddCellText(*outer->GetCells(0, 1), "x");
    TDVTableCellData& host = *outer->GetCells(1, 1);
    auto inner = std::make_unique<TDVTableItemInfo>(2, 2, &host);
    EXPECT_TRUE(inner->MergeCells(0, 0, 1, 2, true));
    AddText(*inner->GetCells(0, 0), "gone", del);
    AddText(*inner->GetCells(1, 1), "kept", ins);
    inner->ParaNo = 0;
    host.AddItem("", std::move(inner));
    TDVTableItemInfo& t = PlaceInEditor(std::move(outer));
    AddText(Data(), "top", ins);
    Data().Format();
    return t;
  }
  static const TDVTableItemInfo& Inner(const TDVTableItemInfo& t) {
    return static_cast<const TDVTableItemInfo&>(*t.GetCells(1, 1)->GetItem(0));
  }

  static constexpr TColor kA = TReviewerTable::kPalette[0];
  TReviewerTable reviewers;
  int32_t ins = -1, del = -1;
};

TEST_F(ReviewTest, AcceptAndRejectOverTheWholeDocument) {
  struct Case {
    const char* name;
    bool accept;
    const char* expected;
  };
  // "both": a reviewer's insertion then marked deleted (struck out only).
  const char* const document = "P0 0\"a\" I\"ins\" 0\"b\" D\"del\" 0\"c\" P0 D\"both\" 0\"d\"";
  const Case cases[] = {
      {"accept keeps the insertion plain and removes the deletions", true, "P0 0\"a\" N\"ins\" 0\"bc\" P0 0\"d\""},
      {"reject keeps the deletions plain and removes the insertion", false,
       "P0 0\"ab\" N\"del\" 0\"c\" P0 N\"both\" 0\"d\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(Styled(document));
    Data().UndoList->Clear();
    ASSERT_TRUE(c.accept ? AcceptChange(*editor, reviewers) : RejectChange(*editor, reviewers));
    EXPECT_EQ(Doc(), Styled(c.expected));
    EXPECT_FALSE(editor->TraceOn);
    EXPECT_EQ(Data().UndoList->Count(), 1);
    EXPECT_TRUE(DrawingIsFresh(Data()));
  }
}

TEST_F(ReviewTest, ASelectionChangesOnlyItsItemsAndLeavesTheSharedStyle) {
  Load(Styled("P0 I\"one\" 0\" \" D\"two\" P0 I\"three\" D\"four\""));
  Data().SetSelectionBounds(0, 2, 2, 2);
  ASSERT_TRUE(AcceptChange(*editor, reviewers));
  EXPECT_EQ(Doc(), Styled("P0 N\"one\" 0\" \" P0 I\"three\" D\"four\""));
  EXPECT_EQ(sheet.TextStyles()[ins].Style, fsUnderline);
  EXPECT_EQ(sheet.TextStyles()[ins].Color, kA);
}

TEST_F(ReviewTest, EveryCellAtEveryDepthIsReviewedAndUndoGivesTheDocumentBack) {
  TDVTableItemInfo& t = PlaceNested();
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { AcceptChange(*editor, reviewers); }));
  EXPECT_EQ(Cell(t, 0, 0), Styled("P0 N\"ins\""));
  EXPECT_EQ(Cell(t, 0, 1), "P0 0\"x\"");
  // The merged cell left empty keeps an empty paragraph.
  EXPECT_EQ(DescribeDoc(*Inner(t).GetCells(0, 0)), Styled("P0 N\"\""));
  EXPECT_EQ(Inner(t).GetCells(0, 1), nullptr);
  EXPECT_EQ(DescribeDoc(*Inner(t).GetCells(1, 1)), Styled("P0 N\"kept\""));
  EXPECT_EQ(Data().GetItemStyle(1), PlainStyle());
  EXPECT_EQ(Data().UndoList->Count(), 1);
}

TEST_F(ReviewTest, RejectInTheOpenCellEditorAndTheNestedTable) {
  TDVTableItemInfo& t = PlaceNested();
  t.CreateInplace(0, 0, 0, true, false, true);
  int row, col;
  ASSERT_NE(t.GetEditedCell(row, col), nullptr);
  ASSERT_TRUE(RejectChange(*editor, reviewers));
  EXPECT_EQ(t.GetEditedCell(row, col), nullptr);
  EXPECT_EQ(Cell(t, 0, 0), Styled("P0 N\"del\""));
  EXPECT_EQ(DescribeDoc(*Inner(t).GetCells(0, 0)), Styled("P0 N\"gone\""));
  EXPECT_EQ(DescribeDoc(*Inner(t).GetCells(1, 1)), Styled("P0 N\"\""));
  Data().UndoList->Undo(Data());
  EXPECT_EQ(DescribeDoc(*Inner(t).GetCells(1, 1)), Styled("P0 I\"kept\""));
  EXPECT_EQ(Cell(t, 0, 0), Styled("P0 I\"ins\" D\"del\""));
}

TEST_F(ReviewTest, PicturesMarkedByTheirNames) {
  const std::string inserted = Utf8ToAnsi("A插入的图片"), deleted = Utf8ToAnsi("A删除的图片");
  struct Case {
    const char* name;
    bool accept;
    std::string first, second;  // names before
    const char* expected;       // what is left
  };
  const Case cases[] = {
      {"accept", true, inserted, deleted, "P0 pic:20x10"},
      {"reject", false, inserted, deleted, "P0 pic:20x10"},
      {"the free slot's suffix alone is a change", true, Utf8ToAnsi("插入的图片"), Utf8ToAnsi("删除的图片"),
       "P0 pic:20x10"},
      {"another name is no change", true, Utf8ToAnsi("B插入的图片"), Utf8ToAnsi("B删除的图片"),
       "P0 pic:20x10 pic:20x10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load("P0 pic:20x10 pic:20x10");
    Data().SetItemTextR(0, c.first);
    Data().SetItemTextR(1, c.second);
    ASSERT_TRUE(c.accept ? AcceptChange(*editor, reviewers) : RejectChange(*editor, reviewers));
    EXPECT_EQ(Doc(), c.expected);
    if (Data().ItemCount() == 1) {
      EXPECT_EQ(AnsiToUtf8(Data().GetItemTextR(0)), "图片");
    }
  }
}

TEST_F(ReviewTest, ARefusingEditorChangesNothing) {
  Load(Styled("P0 I\"ins\" D\"del\""));
  editor->ReadOnly = true;
  EXPECT_FALSE(AcceptChange(*editor, reviewers));
  EXPECT_EQ(Doc(), Styled("P0 I\"ins\" D\"del\""));
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

// ---- the marks on screen ----

class PictureMarksTest : public ReviewTest {
 protected:
  QImage Grab() const { return editor->Widget()->grab().toImage(); }
  // The first reviewer's red, whatever the smoothing of the line's edge.
  static bool IsMark(const QImage& image, int32_t x, int32_t y) {
    const QColor c = image.pixelColor(x, y);
    return c.red() > 200 && c.green() < 100 && c.blue() < 100;
  }
  // The picture's own top-left in the editor window.
  TPoint PictureAt(const TCustomDocView& view, int itemNo) const {
    int32_t left = 0, top = 0;
    EXPECT_TRUE(view.GetItemClientCoords(itemNo, left, top));
    const QPoint client = view.ClientWidget()->mapTo(editor->Widget(), QPoint(0, 0));
    return {left + 1 + client.x(), top + 1 + client.y()};
  }
};

TEST_F(PictureMarksTest, InsertedUnderlinedDeletedCrossedPlainNot) {
  Load("P0 pic:40x20 0\" \" pic:40x20 0\" \" pic:40x20");
  Data().SetItemTextR(0, Utf8ToAnsi("A插入的图片"));
  Data().SetItemTextR(2, Utf8ToAnsi("A删除的图片"));
  Data().SetItemTextR(4, Utf8ToAnsi("图片"));
  Data().Format();
  TPictureMarks marks(*editor, reviewers);
  const QImage image = Grab();
  const TPoint inserted = PictureAt(*editor, 0), deleted = PictureAt(*editor, 2), plain = PictureAt(*editor, 4);
  EXPECT_TRUE(IsMark(image, inserted.X + 20, inserted.Y + 22));
  EXPECT_TRUE(IsMark(image, deleted.X + 20, deleted.Y + 10));
  EXPECT_TRUE(IsMark(image, deleted.X + 10, deleted.Y + 5));
  EXPECT_FALSE(IsMark(image, plain.X + 20, plain.Y + 22));
  EXPECT_FALSE(IsMark(image, plain.X + 20, plain.Y + 10));
}

TEST_F(PictureMarksTest, APictureFarDownIsMarkedInAnyBandThatShowsIt) {
  constexpr int kAbove = 400;
  std::string doc;
  for (int i = 0; i < kAbove; ++i) doc += "P0 0\"line\" ";
  doc += "P0 pic:40x20";
  for (int i = 0; i < kAbove; ++i) doc += " P0 0\"line\"";
  Load(doc);
  Data().SetItemTextR(kAbove, Utf8ToAnsi("A插入的图片"));
  Data().Format();
  TPictureMarks marks(*editor, reviewers);
  editor->ScrollTo(Data().DrawItems[Data().FindDrawItemByItem(kAbove)]->Top - editor->ClientHeight() / 2);
  const TPoint at = PictureAt(*editor, kAbove);
  EXPECT_TRUE(IsMark(Grab(), at.X + 20, at.Y + 22));
  // Bands that cut the picture's line: the mark below it alone, and the
  // mark with the line after it.
  for (const int height : {6, 60}) {
    QImage band(editor->Widget()->size(), QImage::Format_RGB32);
    band.fill(Qt::white);
    // The region's corner lands on the offset: the band keeps its place.
    editor->Widget()->render(&band, QPoint(0, at.Y + 19), QRegion(0, at.Y + 19, editor->Widget()->width(), height));
    EXPECT_TRUE(IsMark(band, at.X + 20, at.Y + 22)) << height;
  }
}

TEST_F(PictureMarksTest, CellsAndTheOpenCellEditorMarkTheirPictures) {
  auto t = MakeTable(1, 2);
  for (int c = 0; c < 2; ++c) {
    auto picture = std::make_unique<TDVGraphicItemInfo>(t->GetCells(0, c), std::make_unique<TBitmap>(40, 20),
                                                       dvvaBaseline);
    picture->StyleNo = dvsPicture;
    picture->ParaNo = 0;
    t->GetCells(0, c)->AddItem(Utf8ToAnsi("A删除的图片"), std::move(picture));
  }
  TDVTableItemInfo& table = PlaceInEditor(std::move(t));
  TPictureMarks marks(*editor, reviewers);
  const TDVTableCellData& closed = *table.GetCells(0, 0);
  int32_t left = 0, top = 0;
  ASSERT_TRUE(Data().GetItemClientCoords(0, left, top));
  const QPoint client = editor->ClientWidget()->mapTo(editor->Widget(), QPoint(0, 0));
  const int32_t x = client.x() + left + closed.Left + table.CellPadding + 1 + closed.DrawItems[0]->Left;
  const int32_t y = client.y() + top + closed.Top + table.CellPadding + 1 + closed.DrawItems[0]->Top +
                    std::max(closed.GetExtraVOffs(), 0);
  EXPECT_TRUE(IsMark(Grab(), x + 20, y + 10));

  table.CreateInplace(0, 0, 1, true, false, true);
  int row, col;
  TDVTableInplaceEdit* cellEditor = table.GetEditedCell(row, col);
  ASSERT_NE(cellEditor, nullptr);
  Grab();  // the outer editor's paint binds the cell editor
  const TPoint p = PictureAt(*cellEditor, 0);
  EXPECT_TRUE(IsMark(Grab(), p.X + 20, p.Y + 10));
}

}  // namespace
}  // namespace quillet::test
