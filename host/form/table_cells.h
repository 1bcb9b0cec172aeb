#pragma once
// The host's access to the table cells of the main editor's document: the
// n-th table, a cell by row and column, its text read, text written into
// it, the cell cleared or made read-only; and the keys the keyboard hook
// reports. Cell addresses come from the host: an address that names no
// cell reads as "" and changes nothing. A cell that was being edited before
// a call is being edited after it.
#include <stdexcept>
#include <string>

namespace quillet {

// A cell address that names a table but no cell of it: a row or column
// outside the grid, or a position a merged cell covers.
class ETableCellError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TCustomDVData;
class TCustomDocViewEdit;
class TDVTableItemInfo;

class TTableCells {
 public:
  // The editor must outlive this object.
  explicit TTableCells(TCustomDocViewEdit& editor) : editor_(editor) {}

  // The num-th table (from 1) among data's own items; tables inside cells
  // are not counted. Null when there are fewer.
  static TDVTableItemInfo* GetTable(TCustomDVData& data, int num);

  // Every access below answers "" or false, quietly, when there is no
  // table num; a row or column it lacks raises ETableCellError.

  // The plain text of cell (row, col) of table num (rows and columns from
  // 0) in the system code page, as the text writer writes it: lines joined
  // by CR LF, never wrapped.
  std::string GetTableContent(int num, int row, int col) const;
  // Text (system code page) goes in at the start of the cell as one
  // undoable insertion, marked with tracking on. False when there is no
  // such table or the editor refused.
  bool InsertTableContent(const std::string& text, int num, int row, int col);
  // The host's filling: InsertTableContent, then the undo history is
  // dropped (what the host wrote is not the user's to undo) and the editor
  // laid out again.
  bool InsertTableContentForHost(const std::string& text, int num, int row, int col);
  // All text of the cell loses its protection and goes.
  bool ClearTableCell(int num, int row, int col);
  // All text of the cell takes the cell protection.
  bool SetCellReadOnly(int num, int row, int col);
  // The table number and cell of the open cell editor; false, and nothing
  // set, when no cell is being edited.
  bool GetTableNRC(int& num, int& row, int& col) const;

  // A key the keyboard hook reported, with Ctrl and Shift as the report
  // gives them: Ctrl+C copies, Ctrl+A selects all where the caret is, and
  // Ctrl+Shift+S in an edited cell tells which table, row and column it is.
  void KbHookKeyboardMessage(int key, bool ctrl, bool shift);

 private:
  // Opens cell (row, col) of table num, runs change in its editor, closes
  // it and opens again the cell edited before. False when there is no such
  // cell, the cell may not be edited, or change answered false.
  template <class F>
  bool InCell(int num, int row, int col, F change);

  TCustomDocViewEdit& editor_;
};

}  // namespace quillet
