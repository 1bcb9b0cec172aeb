#pragma once
// The new table's size and how its width is found: fitted to its contents,
// to the window, or given by hand in per cent or pixels.
#include <memory>

#include "engine/view/base_form.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace quillet {

class TDVSpinEdit;
class TFilledSpin;

class TfrmInsTable : public TfrmDVBase {
 public:
  TfrmInsTable();
  ~TfrmInsTable() override;

  int Columns() const;
  void SetColumns(int value);
  int Rows() const;
  void SetRows(int value);
  // 0 fits the contents, -100 the window; other negatives are per cent of
  // the window (at most 100), positives pixels.
  int BestWidth() const;
  void SetBestWidth(int value);

  TDVSpinEdit* seColumns() const;
  TDVSpinEdit* seRows() const;
  TDVSpinEdit* seWidth() const;
  QRadioButton* rbFitContents() const { return fitContents_; }
  QRadioButton* rbFitWindow() const { return fitWindow_; }
  QRadioButton* rbFitManual() const { return fitManual_; }
  QComboBox* cboWidthType() const { return widthType_; }
  QCheckBox* cbRemember() const { return remember_; }
  QPushButton* btnOk() const { return ok_; }
  QPushButton* btnCancel() const { return cancel_; }

  void FormCreate() override;

 private:
  void UpdateEnabled();

  std::unique_ptr<TFilledSpin> columns_, rows_, width_;
  QRadioButton* fitContents_;
  QRadioButton* fitWindow_;
  QRadioButton* fitManual_;
  QComboBox* widthType_;
  QCheckBox* remember_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace quillet
