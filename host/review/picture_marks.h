#pragma once
// Reviewers' picture marks, drawn over an editor after its document: a line
// under a picture a reviewer inserted, both diagonals over one a reviewer
// deleted, with a pen of width 2 in the reviewer's colour. Pictures of the
// document, of every cell of its tables at every depth, and of an open cell
// editor are marked.
#include "engine/view/docview.h"

namespace quillet {

class TCanvas;
class TCustomDocView;
class TReviewerTable;

// The marks of view's document and its closed cells on view's client canvas.
void PaintPictureMarks(const TCustomDocView& view, const TReviewerTable& table, TCanvas& canvas);

// PaintPictureMarks bound to the editor's paint event, before the handler
// bound there already (the annotations draw over the marks); an open cell
// editor, at any depth, paints its own marks. The destructor gives the
// event its handler back; editor and table must outlive the binding.
class TPictureMarks {
 public:
  TPictureMarks(TCustomDocView& editor, const TReviewerTable& table);
  ~TPictureMarks();
  TPictureMarks(const TPictureMarks&) = delete;
  TPictureMarks& operator=(const TPictureMarks&) = delete;

 private:
  void Paint(TCustomDocView& sender, TCanvas& canvas);
  // The open cell editor of view paints its marks with this binding.
  void BindCellEditor(const TCustomDocView& view);
  TCustomDocView& editor_;
  const TReviewerTable& table_;
  TDVPaintEvent previous_;
};

}  // namespace quillet
