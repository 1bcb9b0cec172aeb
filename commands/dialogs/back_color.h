#pragma once
// The fill colour of the fill-colour dialog and of the paragraph background
// page: a colour grid, a label naming the colour and a "more colours"
// dialog over one colour with its defined flag. The colour given back is
// the one given or chosen, system colours included; the grid and the label
// show its RGB value.
#include <functional>

#include "platform/core/colors.h"

class QLabel;
class QWidget;

namespace quillet {

class TColorDialog;
class TDVColorGrid;

// The grid's place in its group and look in both: "透明色" first,
// indeterminate until filled, and the palette's row heights.
void SetUpBackColorGrid(TDVColorGrid& grid, QWidget* group);

class TBackColorChoice {
 public:
  TBackColorChoice(TDVColorGrid& grid, QLabel& label) : grid_(grid), label_(label) {}

  TColor Color() const { return color_; }
  bool Defined() const { return defined_; }
  // Undefined: an empty label, the grid indeterminate. Defined: the grid's
  // cell of the colour, and the label with its palette name (or the grid's
  // first caption) or "RGB(r,g,b)" for a colour outside the palette.
  void SetColor(TColor value, bool defined);
  // The grid reported a choice.
  void GridChanged();
  // The dialog starts at the colour (yellow for none); OK makes its colour
  // the defined one. True with OK.
  bool MoreColors(TColorDialog& dialog);

  // After the user changed the colour.
  std::function<void()> OnChange;

 private:
  TDVColorGrid& grid_;
  QLabel& label_;
  TColor color_ = clNone;
  bool defined_ = false;
  bool setting_ = false;
};

}  // namespace quillet
