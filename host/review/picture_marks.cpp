#include "host/review/picture_marks.h"

#include <algorithm>
#include <cstdint>

#include "editing/table/table_item.h"
#include "engine/model/picture_item.h"
#include "host/review/picture_names.h"
#include "host/review/reviewer_table.h"
#include "platform/gfx/canvas.h"

namespace quillet {

namespace {

constexpr int32_t kMarkWidth = 2;
// How far below its picture's drawing item the inserted mark reaches.
constexpr int32_t kMarkReach = 3 + kMarkWidth;

// The picture item of a document: the picture itself starts a pixel inside
// its drawing item.
void MarkPicture(const TDVGraphicItemInfo& picture, const std::string& name, const TReviewerTable& table,
                 int32_t left, int32_t top, TCanvas& canvas) {
  const int inserted = MarkedPictureSlot(table, name, TPictureMark::Inserted);
  const int deleted = inserted < 0 ? MarkedPictureSlot(table, name, TPictureMark::Deleted) : -1;
  if (inserted < 0 && deleted < 0) return;
  const int32_t width = picture.GetImageWidth(nullptr), height = picture.GetImageHeight(nullptr);
  canvas.Pen() = TPen{table.Slot(std::max(inserted, deleted)).Color, kMarkWidth, psSolid, pmCopy};
  if (inserted >= 0) {
    canvas.MoveTo(left, top + height + 2);
    canvas.LineTo(left + width, top + height + 2);
    return;
  }
  canvas.MoveTo(left, top);
  canvas.LineTo(left + width, top + height);
  canvas.MoveTo(left + width, top);
  canvas.LineTo(left, top + height);
}

// The marks of a laid-out document whose origin is at (x, y) on the canvas,
// for the lines that can reach the canvas's rows top..bottom. A paint draws
// a band of the window; walking the whole document at every paint made each
// caret step cost as much as the document is long.
void PaintDocument(const TCustomDVFormattedData& doc, int32_t x, int32_t y, int32_t top, int32_t bottom,
                   const TReviewerTable& table, TCanvas& canvas) {
  const int count = doc.DrawItems.Count();
  // Slots emptied by a partial reformatting that did not finish hold no
  // drawing item; the document paints nothing then either.
  if (count == 0 || doc.DrawItems.MarkedCount() > 0) return;
  const auto toDocument = [y](int32_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{v} - y, INT32_MIN, INT32_MAX));
  };
  // As the document paints: from a line above the first one in the band to
  // the end of the line in which something starts below it.
  const int32_t docBottom = toDocument(bottom);
  bool belowBottom = false;
  for (int d = std::clamp(doc.GetFirstVisible(toDocument(top)), 0, count - 1); d < count; ++d) {
    const TDVDrawLineInfo& line = *doc.DrawItems[d];
    if (belowBottom && line.FromNewLine) break;
    if (line.Top >= docBottom) belowBottom = true;
    const TCustomDVItemInfo* item = doc.GetItem(line.ItemNo);
    if (const auto* picture = dynamic_cast<const TDVGraphicItemInfo*>(item)) {
      MarkPicture(*picture, doc.GetItemTextR(line.ItemNo), table, x + line.Left + 1, y + line.Top + 1, canvas);
    } else if (const auto* grid = dynamic_cast<const TDVTableItemInfo*>(item)) {
      int editedRow = -1, editedCol = -1;
      grid->GetEditedCell(editedRow, editedCol);
      for (int r = 0; r < grid->Rows.Count(); ++r)
        for (int c = 0; c < grid->Rows[r]->Count(); ++c) {
          const TDVTableCellData* cell = grid->GetCells(r, c);
          // An edited cell's items are in its editor, which marks them.
          if (!cell || (r == editedRow && c == editedCol)) continue;
          const int32_t pad = grid->CellPadding;
          const int64_t cellTop = int64_t{y} + line.Top + cell->Top;
          // The line under a picture may reach a little below its cell.
          if (cellTop > bottom || cellTop + cell->Height + kMarkReach < top) continue;
          PaintDocument(*cell, x + line.Left + cell->Left + pad,
                        y + line.Top + cell->Top + pad + std::max(cell->GetExtraVOffs(), 0), top, bottom, table,
                        canvas);
        }
    }
  }
}

}  // namespace

void PaintPictureMarks(const TCustomDocView& view, const TReviewerTable& table, TCanvas& canvas) {
  const TCustomDVFormattedData& doc = view.DVData();
  const TRect clip = canvas.ClipRect();
  PaintDocument(doc, -doc.GetHOffs(), -doc.GetVOffs(), clip.Top, clip.Bottom, table, canvas);
}

TPictureMarks::TPictureMarks(TCustomDocView& editor, const TReviewerTable& table)
    : editor_(editor), table_(table), previous_(editor.OnPaint) {
  editor_.OnPaint = [this](TCustomDocView& sender, TCanvas& canvas, bool prepaint) {
    Paint(sender, canvas);
    if (previous_) previous_(sender, canvas, prepaint);
  };
}

TPictureMarks::~TPictureMarks() {
  for (auto* view = dynamic_cast<TCustomDocView*>(editor_.GetInplaceEditor()); view;
       view = dynamic_cast<TCustomDocView*>(view->GetInplaceEditor()))
    view->OnPaint = nullptr;
  editor_.OnPaint = previous_;
}

void TPictureMarks::Paint(TCustomDocView& sender, TCanvas& canvas) {
  PaintPictureMarks(sender, table_, canvas);
  BindCellEditor(sender);
}

void TPictureMarks::BindCellEditor(const TCustomDocView& view) {
  auto* cellEditor = dynamic_cast<TCustomDocView*>(view.GetInplaceEditor());
  if (!cellEditor || cellEditor->OnPaint) return;
  cellEditor->OnPaint = [this](TCustomDocView& sender, TCanvas& canvas, bool) { Paint(sender, canvas); };
  // Opened since its last paint, it paints again with its marks.
  cellEditor->Invalidate();
}

}  // namespace quillet
