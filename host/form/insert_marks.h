#pragma once
// The main form's insertion of a file or a picture. The command runs where
// the caret is (in the open cell editor, else in the editor), and what it put
// in is marked: with tracking on, a file's text takes the reviewer's
// "inserted" style (code 101 through the editor's style conversion) and every
// picture that went in is named reviewer + "插入的图片"; without tracking the
// pictures are named "图片". The insertion and its marks are one undo step.
//
// Only what went in is marked: a picture next to the caret, a selection the
// insertion replaced (or, while tracking, marked as deleted) keep their
// names and styles. A cancelled or refused command changes nothing.
//
//   InsertFileMarked(insertFileCommand, mainEditor);  // the form's InsertFile item
namespace quillet {

class TCustomDocViewEdit;
class TdvAction;
class TdvActionInsertFile;
class TdvActionInsertPicture;

// Each answers whether anything went in.
bool InsertFileMarked(TdvActionInsertFile& command, TCustomDocViewEdit& editor);
bool InsertPictureMarked(TdvActionInsertPicture& command, TCustomDocViewEdit& editor);

}  // namespace quillet
