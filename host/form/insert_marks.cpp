#include "host/form/insert_marks.h"

#include <algorithm>
#include <string>

#include "commands/actions/file_actions.h"
#include "editing/control/editor.h"
#include "editing/table/inplace_editor.h"
#include "engine/model/picture_item.h"
#include "host/review/conversion_codes.h"
#include "host/review/picture_names.h"
#include "platform/ui/control.h"

namespace quillet {

namespace {

bool IsPicture(int32_t styleNo) { return styleNo == dvsPicture || styleNo == dvsHotPicture; }

// Watches an editor for the insertion's first change (a cell editor asks
// the editor that holds its table, so the outermost editor is watched). That
// change is the insertion's start, taken then rather than before the
// command: the command asks its dialog first and may be cancelled, and the
// insertion deletes the selection first (while tracking, marks it and goes in
// after it). There, in the editor the insertion goes into (the innermost open
// cell editor), the undo group of the insertion and its marks opens, the
// selection goes, and the start is kept as a position that stays put while
// the insertion goes in after it: the previous item's end rather than an
// item's start.
class TInsertionWatch {
 public:
  explicit TInsertionWatch(TCustomDocViewEdit& editor) {
    TCustomDocViewEdit* root = &editor;
    while (auto* cell = dynamic_cast<TDVTableInplaceEdit*>(root)) root = &cell->Outer();
    watched_ = root;
    previous_ = root->OnChanging;
    root->OnChanging = [this](TCustomDocView& sender) {
      if (previous_) previous_(sender);
      if (!started_) Start();
    };
  }
  ~TInsertionWatch() {
    if (TCustomDocViewEdit* watched = watched_.get()) watched->OnChanging = previous_;
    TCustomDocViewEdit* target = target_.get();
    if (!target || !grouped_) return;
    target->SetUndoGroupMode(false);
    target->EditData().UndoList->PopIfEmpty();
  }
  TInsertionWatch(const TInsertionWatch&) = delete;
  TInsertionWatch& operator=(const TInsertionWatch&) = delete;

  // Marks what went in between the start and the caret: the text with code
  // 101 when markText, every picture named pictureName. False when nothing
  // went in.
  bool Mark(bool markText, const std::string& pictureName);

 private:
  void Start();
  // Whether the caret at (endNo, endOffs) is still at the start.
  bool NothingInserted(int endNo, int32_t endOffs) const;

  TControlRef<TCustomDocViewEdit> watched_, target_;
  TDVNotifyEvent previous_;
  bool started_ = false, grouped_ = false, atDocStart_ = false;
  int startNo_ = -1;
  int32_t startOffs_ = 0;
};

void TInsertionWatch::Start() {
  started_ = true;
  TCustomDocViewEdit& target = *watched_.get()->GetTopLevelEditor();
  target_ = &target;
  TDVEditDVData& data = target.EditData();
  target.BeginUndoGroup(dvutInsert);
  target.SetUndoGroupMode(true);
  grouped_ = true;
  // What the insertion would refuse to delete stays for it to refuse.
  if (data.SelectionExists(false, false) && !data.FPartialSelectedItem && data.CanDelete()) target.DeleteSelection();
  startNo_ = data.GetCurItemNo();
  startOffs_ = data.GetOffsetInCurItem();
  if (startNo_ > 0 && startOffs_ <= data.GetOffsBeforeItem(startNo_)) {
    --startNo_;
    startOffs_ = data.GetOffsAfterItem(startNo_);
  }
  atDocStart_ = startNo_ < 0 || (startNo_ == 0 && startOffs_ <= data.GetOffsBeforeItem(0));
}

bool TInsertionWatch::NothingInserted(int endNo, int32_t endOffs) const {
  const TDVEditDVData& data = target_.get()->EditData();
  if (atDocStart_) return endNo < 0 || (endNo == 0 && endOffs <= data.GetOffsBeforeItem(0));
  if (endNo == startNo_) return endOffs <= startOffs_;
  return endNo == startNo_ + 1 && startOffs_ >= data.GetOffsAfterItem(startNo_) &&
         endOffs <= data.GetOffsBeforeItem(endNo);
}

bool TInsertionWatch::Mark(bool markText, const std::string& pictureName) {
  TCustomDocViewEdit* target = target_.get();
  if (!target || !started_) return false;
  TDVEditDVData& data = target->EditData();
  // A selection still there is one the insertion refused to replace.
  if (data.ItemCount() == 0 || data.SelectionExists(false, false)) return false;
  const int endNo = data.GetCurItemNo();
  const int32_t endOffs = data.GetOffsetInCurItem();
  if (endNo < 0 || NothingInserted(endNo, endOffs)) return false;

  if (atDocStart_)
    target->SetSelectionBounds(0, data.GetOffsBeforeItem(0), endNo, endOffs);
  else
    target->SetSelectionBounds(startNo_, startOffs_, endNo, endOffs);
  if (markText) target->ApplyStyleConversion(TEXT_TraceInsert);
  // The items the selection covers now (the conversion may have split or
  // joined text items), without one it only touches at its end (start).
  int first, last;
  int32_t firstOffs, lastOffs;
  data.GetSelectionBoundsEx(first, firstOffs, last, lastOffs, true);
  if (first >= 0 && firstOffs >= data.GetOffsAfterItem(first)) ++first;
  if (last >= 0 && lastOffs <= data.GetOffsBeforeItem(last)) --last;
  for (int i = std::max(first, 0); i <= last && i < data.ItemCount(); ++i) {
    if (!IsPicture(data.GetItemStyle(i))) continue;
    std::string name;
    TGraphic* graphic;
    TDVVAlign vAlign;
    TDVTag tag;
    data.GetPictureInfo(i, name, graphic, vAlign, tag);
    if (name != pictureName) target->SetPictureInfoEd(i, pictureName, nullptr, vAlign, tag);
  }
  // The caret back at the insertion's end.
  target->CaretMoveBack();
  return true;
}

bool InsertMarked(TdvAction& command, TCustomDocViewEdit& editor, bool markText) {
  TInsertionWatch watch(editor);
  command.ExecuteTarget(&editor);
  const bool tracking = editor.TraceOn;
  return watch.Mark(markText && tracking, tracking ? editor.InsertedPictureName() : PlainPictureName());
}

}  // namespace

bool InsertFileMarked(TdvActionInsertFile& command, TCustomDocViewEdit& editor) {
  return InsertMarked(command, editor, true);
}

bool InsertPictureMarked(TdvActionInsertPicture& command, TCustomDocViewEdit& editor) {
  return InsertMarked(command, editor, false);
}

}  // namespace quillet
