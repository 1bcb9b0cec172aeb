#pragma once
// Splitting cells: into a number of rows and columns (optionally merged
// first), or back into the cells they were merged from.
#include "engine/view/base_form.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QWidget;

namespace quillet {

class TDVSpinEdit;

class TfrmSplit : public TfrmDVBase {
 public:
  TfrmSplit();
  ~TfrmSplit() override;

  QRadioButton* rbSplit() const { return split_; }
  QRadioButton* rbUnmerge() const { return unmerge_; }
  QWidget* panSplit() const { return panSplit_; }
  QWidget* panUnmerge() const { return panUnmerge_; }
  // Read through CheckValue.
  TDVSpinEdit* seColumns() const { return columns_; }
  TDVSpinEdit* seRows() const { return rows_; }
  QCheckBox* cbMerge() const { return merge_; }
  QCheckBox* cbUnmergeCols() const { return unmergeCols_; }
  QCheckBox* cbUnmergeRows() const { return unmergeRows_; }
  QPushButton* btnOk() const { return ok_; }
  QPushButton* btnCancel() const { return cancel_; }

 private:
  void OptionClick();

  QRadioButton* split_;
  QRadioButton* unmerge_;
  QWidget* panSplit_;
  QWidget* panUnmerge_;
  TDVSpinEdit* columns_;
  TDVSpinEdit* rows_;
  QCheckBox* merge_;
  QCheckBox* unmergeCols_;
  QCheckBox* unmergeRows_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace quillet
