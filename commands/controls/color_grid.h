#pragma once
// An in-dialog colour grid: 8 columns and 6 rows, the first row one
// full-width cell for a first colour (usually none) with its caption, the
// other five the palette. No cell is framed while the grid is
// indeterminate (a mixed selection).
#include <array>
#include <functional>
#include <string>

#include "platform/core/colors.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/control.h"

namespace quillet {

class TDVColorGrid : public TCustomControl {
 public:
  static constexpr int ColCount = 8;
  static constexpr int RowCount = 6;

  TDVColorGrid();
  ~TDVColorGrid() override;

  // UTF-8.
  std::string FirstCaption() const { return firstCaption_; }
  void SetFirstCaption(const std::string& value);
  TColor FirstColor() const { return firstColor_; }
  void SetFirstColor(TColor value);
  // Flat cell frames instead of sunken edges.
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  bool Indeterminate() const { return indeterminate_; }
  void SetIndeterminate(bool value);

  // FirstColor while indeterminate or on the first row, else the colour of
  // the current cell. Setting FirstColor or a palette colour selects its
  // cell; any other colour makes the grid indeterminate.
  TColor ChosenColor() const;
  void SetChosenColor(TColor value);
  // The name of the chosen palette colour, the first caption on the first
  // row, empty while indeterminate.
  std::string GetColorName() const;

  int Col() const { return col_; }
  int Row() const { return row_; }
  int RowHeight(int row) const;
  void SetRowHeight(int row, int height);
  static constexpr int DefaultColWidth = 16;
  static constexpr int DefaultRowHeight = 16;
  // The cell's rectangle; the first row's one cell spans the grid.
  TRect CellRect(int col, int row) const;

  TFont Font;
  // After the chosen cell changed, once the selection has settled (posted).
  std::function<void(TDVColorGrid&)> OnColorChange;

 protected:
  void Paint(TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void KeyDown(TKey& key, TShiftState shift) override;
  void Resize() override;

 private:
  void SelectCell(int col, int row);
  void DrawCell(TCanvas& canvas, int col, int row);
  bool CellChosen(int col, int row) const;

  std::string firstCaption_;
  TColor firstColor_ = clNone;
  bool flat_ = false;
  bool indeterminate_ = false;
  int col_ = 0, row_ = 0;
  std::array<int, RowCount> rowHeights_{24, DefaultRowHeight, DefaultRowHeight, DefaultRowHeight,
                                        DefaultRowHeight, DefaultRowHeight};
};

}  // namespace quillet
