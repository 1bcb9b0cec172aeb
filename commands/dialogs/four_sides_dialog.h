#pragma once
// Four values, one per side, each with its defined flag: padding and border
// offsets, and as the spacing form the table's cell and border spacing.
// A side the user did not edit gives back what it was filled with, even a
// value beyond the fields' limits.
#include <memory>

#include "commands/dialogs/four_values_prompt.h"
#include "engine/view/base_form.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quillet {

class TDVSpinEdit;
class TFilledSpin;

class TfrmDVFourSides : public TfrmDVBase {
 public:
  TfrmDVFourSides();
  ~TfrmDVFourSides() override;

  void SetValues(int left, int top, int right, int bottom, bool fLeft, bool fTop, bool fRight, bool fBottom);
  // A side left undefined keeps its value as given.
  void GetValues(int& left, int& top, int& right, int& bottom, bool& fLeft, bool& fTop, bool& fRight,
                 bool& fBottom) const;

  QGroupBox* gbSides() const { return group_; }
  TDVSpinEdit* seTop() const;
  TDVSpinEdit* seBottom() const;
  TDVSpinEdit* seLeft() const;
  TDVSpinEdit* seRight() const;
  QCheckBox* cbEqual() const { return equal_; }
  QPushButton* btnOk() const { return ok_; }
  QPushButton* btnCancel() const { return cancel_; }

 protected:
  struct TLayout {
    const char* Caption;
    int Width, Height;
    const char* Group;
    const char* Labels[4];  // top, bottom, left, right
    int Min, Max;
    int Top;  // of the first row of fields
  };
  explicit TfrmDVFourSides(const TLayout& layout);

 private:
  enum { sTop, sBottom, sLeft, sRight };
  void EqualClick();
  void SideChanged(int side);

  std::unique_ptr<TFilledSpin> sides_[4];
  QGroupBox* group_;
  QCheckBox* equal_;
  QPushButton* ok_;
  QPushButton* cancel_;
  bool copying_ = false;
};

// The spacing form: Top and Bottom are the horizontal and vertical spacing
// between cells, Left and Right those from the table's border to the cells.
class TfrmDVSpacing : public TfrmDVFourSides {
 public:
  TfrmDVSpacing();
};

// The border and fill dialogs' way of asking for four values: the
// four-values form under the captions given, its answer taken on OK.
TFourValuesPrompt FourSidesPrompt();

}  // namespace quillet
