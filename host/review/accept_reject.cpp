#include "host/review/accept_reject.h"

#include <map>

#include "editing/control/editor.h"
#include "editing/table/table_item.h"
#include "engine/style/style_reuse.h"
#include "engine/style/style_sheet.h"
#include "host/review/picture_names.h"
#include "host/review/revision_tracking.h"

namespace quillet {

namespace {

bool IsPicture(int32_t styleNo) { return styleNo == dvsPicture || styleNo == dvsHotPicture; }

// The changes made by change, recorded as one undo group (none when
// nothing was recorded).
template <class F>
void InOneGroup(TDVEditDVData& data, F change) {
  {
    TDVEditOperation operation(data);
    data.BeginUndoSequence(dvutModifyItem, true);
    TDVUndoGroupMode group(data);
    change();
  }
  data.UndoList->PopIfEmpty();
}

// One review of a document and its cells. Each item is changed on its own:
// styles shared with text outside the range stay as they are.
class TReview {
 public:
  TReview(const TReviewerTable& table, bool accept)
      : table_(table),
        kept_(accept ? fsUnderline : fsStrikeOut),
        dropped_(accept ? fsStrikeOut : fsUnderline),
        keptPicture_(accept ? TPictureMark::Inserted : TPictureMark::Deleted),
        droppedPicture_(accept ? TPictureMark::Deleted : TPictureMark::Inserted) {}

  // Items first..last of the editor's document: the kept changes become
  // plain, the dropped ones are deleted, last first, through the editor's
  // undoable deletion.
  void Items(TCustomDocViewEdit& editor, int first, int last) {
    TDVEditDVData& data = editor.EditData();
    int restyledFirst = -1, restyledLast = -1;
    for (int i = first; i <= last; ++i) {
      const int32_t styleNo = data.GetItemStyle(i);
      if (HasMark(data, i, kept_)) {
        data.Do_StyleNo(i, Plain(data, styleNo));
        if (restyledFirst < 0) restyledFirst = i;
        restyledLast = i;
      } else if (IsPicture(styleNo) && MarkedPictureSlot(table_, data.GetItemTextR(i), keptPicture_) >= 0) {
        data.Do_ChangeText(i, PlainPictureName());
      } else if (styleNo == dvsTable) {
        Cells(static_cast<TDVTableItemInfo&>(*data.GetItem(i)));
      }
    }
    if (restyledFirst >= 0) {
      // Restyling adds no item: the drawing items still stand for them.
      int paraStart = -1, paraEnd = -1;
      data.GetParaBounds(data.FindDrawItemByItem(restyledFirst), data.FindDrawItemByItem(restyledLast), paraStart,
                         paraEnd);
      data.Reformat_(true, paraStart, paraEnd, 0);
      data.Change();
    }
    for (int i = last; i >= first; --i) {
      const bool text = HasMark(data, i, dropped_);
      if (!text && !(IsPicture(data.GetItemStyle(i)) &&
                     MarkedPictureSlot(table_, data.GetItemTextR(i), droppedPicture_) >= 0))
        continue;
      // An emptied paragraph keeps an empty line, in plain text.
      if (text) data.FCurTextStyleNo = Plain(data, data.GetItemStyle(i));
      data.SetSelectionBounds(i, data.GetOffsBeforeItem(i), i, data.GetOffsAfterItem(i));
      data.DeleteSelection_();
    }
  }

  // Whether the document holds a change this review takes, at any depth.
  bool HoldsChanges(const TCustomDVData& doc) const {
    for (int i = 0; i < doc.ItemCount(); ++i) {
      const int32_t styleNo = doc.GetItemStyle(i);
      if (HasMark(doc, i, kept_ | dropped_)) return true;
      if (IsPicture(styleNo) && (MarkedPictureSlot(table_, doc.GetItemTextR(i), keptPicture_) >= 0 ||
                                 MarkedPictureSlot(table_, doc.GetItemTextR(i), droppedPicture_) >= 0))
        return true;
      if (styleNo == dvsTable && TableHoldsChanges(static_cast<const TDVTableItemInfo&>(*doc.GetItem(i))))
        return true;
    }
    return false;
  }

 private:
  bool TableHoldsChanges(const TDVTableItemInfo& table) const {
    for (int r = 0; r < table.Rows.Count(); ++r)
      for (int c = 0; c < table.Rows[r]->Count(); ++c)
        if (const TDVTableCellData* cell = table.GetCells(r, c); cell && HoldsChanges(*cell)) return true;
    return false;
  }

  // Every existing cell with changes, each in a hidden editor.
  void Cells(TDVTableItemInfo& table) {
    if (!TableHoldsChanges(table)) return;
    table.ModifyCells([&](int r, int c) { return HoldsChanges(*table.GetCells(r, c)); },
                      [&](TCustomDocViewEdit& cellEditor) {
                        TDVEditDVData& data = cellEditor.EditData();
                        InOneGroup(data, [&] { Items(cellEditor, 0, data.ItemCount() - 1); });
                      });
  }

  static bool HasMark(const TCustomDVData& doc, int itemNo, TFontStyles mark) {
    const int32_t styleNo = doc.GetItemStyle(itemNo);
    const TDVStyle* sheet = doc.GetDVStyle();
    return styleNo >= 0 && sheet && sheet->TextStyles().IsValidIndex(styleNo) &&
           (sheet->TextStyles()[styleNo].Style & mark);
  }

  // The style styleNo without font styles, in black.
  int32_t Plain(TDVEditDVData& data, int32_t styleNo) {
    const auto known = plain_.find(styleNo);
    if (known != plain_.end()) return known->second;
    TFontInfos& styles = data.GetDVStyle()->TextStyles();
    TFontInfo sample;
    sample.Assign(styles[styleNo]);
    sample.Style = 0;
    sample.Color = 0;
    return plain_[styleNo] = FindOrAddTextStyle(styles, styleNo, sample);
  }

  const TReviewerTable& table_;
  const TFontStyles kept_, dropped_;
  const TPictureMark keptPicture_, droppedPicture_;
  // Styles are only added during a review: a plain style found stays right.
  std::map<int32_t, int32_t> plain_;
};

bool Review(TCustomDocViewEdit& editor, const TReviewerTable& table, bool accept) {
  // The open cell editor gives its cell's items back, its history joining
  // the document's.
  editor.DestroyInplaceEditor();
  editor.TraceOn = false;
  TDVEditDVData& data = editor.EditData();
  if (!editor.Style() || !editor.BeforeChange(true)) return false;
  if (data.ItemCount() == 0) return true;
  if (data.NotFormatted()) editor.Format();
  int first = 0, last = data.ItemCount() - 1;
  if (data.SelectionExists(false, false)) {
    int32_t firstOffs, lastOffs;
    data.GetSelectionBounds(first, firstOffs, last, lastOffs, true);
  }
  TReview review(table, accept);
  InOneGroup(data, [&] { review.Items(editor, first, last); });
  editor.Invalidate();
  return true;
}

}  // namespace

bool AcceptChange(TCustomDocViewEdit& editor, const TReviewerTable& table) { return Review(editor, table, true); }

bool RejectChange(TCustomDocViewEdit& editor, const TReviewerTable& table) { return Review(editor, table, false); }

}  // namespace quillet
