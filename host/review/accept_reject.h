#pragma once
// Accepting and rejecting tracked changes. Inserted text is underlined and
// deleted text struck out (in the reviewer's colour), and pictures carry
// their reviewer's mark in their names. Accept keeps the insertions as plain
// black text and removes the deletions; reject keeps the deletions and
// removes the insertions. Both work on the items of the selection, or on
// the whole document without one, and on every cell of every table among
// them at every depth. Tracking ends; the whole change is one undo step.
namespace quillet {

class TCustomDocViewEdit;
class TReviewerTable;

// False (a beep) when the editor refuses changes.
bool AcceptChange(TCustomDocViewEdit& editor, const TReviewerTable& table);
bool RejectChange(TCustomDocViewEdit& editor, const TReviewerTable& table);

}  // namespace quillet
