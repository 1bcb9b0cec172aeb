#pragma once
// The properties of the item at the caret: a picture (replacement,
// transparency, vertical alignment and shift, displayed size), a horizontal
// line (colour and width), or a table with its selected cells and rows.
// Values the selection does not share show as undetermined and are left as
// they are; so is every value the user did not touch, even one beyond a
// field's limits.
#include <memory>
#include <string>

#include "commands/controls/color_combo.h"
#include "commands/controls/picture_radio.h"
#include "editing/table/table_types.h"
#include "engine/view/base_form.h"
#include "platform/ui/common_dialogs.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;

namespace quillet {

class TCustomDocViewEdit;
class TDVGraphicItemInfo;
class TDVBreakItemInfo;
class TDVSpinEdit;
class TDVTableItemInfo;
class TDVWidthCombo;
class TFilledSpin;
class TGraphic;
class TPicturePreview;

class TfrmDVItemProp : public TfrmDVBase {
 public:
  // The unit lists' items.
  enum TUnit { uPercent, uPixels };
  enum TPage { pgImage, pgImgLayout, pgBreak, pgTable, pgRows, pgCells };
  enum TSide { sdTop, sdLeft, sdRight, sdBottom };

  TfrmDVItemProp();
  ~TfrmDVItemProp() override;

  // Fills the dialog from the item at the editor's caret; false for an item
  // that is no picture, line or table.
  bool SetItem(TCustomDocViewEdit& editor);
  // Writes the dialog back to that item as one undoable step.
  void GetItem(TCustomDocViewEdit& editor);
  // With tableOnly the cells and rows pages stay hidden.
  void SetTable(TDVTableItemInfo& table, bool tableOnly);
  // The table page, and the selected cells and rows (the user's settings
  // only); the table must be in the editor's document.
  void GetTable(TCustomDocViewEdit& editor, TDVTableItemInfo& table);

  TColorDialog* ColorDialog = nullptr;
  // "Text|pattern" for the picture dialog; empty: the picture kinds known.
  std::string Filter;

  // Kept between SetTable and GetTable.
  int CellHSpacing = 0, CellVSpacing = 0, BorderHSpacing = 0, BorderVSpacing = 0;
  TDVTableBorderStyle BorderStyle = dvtbRaised, CellBorderStyle = dvtbLowered;
  TColor BorderColorD = clNone, BorderColorL = clNone, CellBorderColorD = clNone, CellBorderColorL = clNone;
  int BorderWidth = 0, CellBorderWidth = 0;
  bool FDefCellColorD = false, FDefCellColorL = false;

  // The controls, by their names.
  QTabWidget* pc() const;
  bool PageVisible(TPage page) const;
  TPicturePreview* img() const;
  QPushButton* Button1() const;
  QGroupBox* gbTransp() const;
  QCheckBox* cbTransp() const;
  TDVColorCombo cmbColor;
  QComboBox* cmbAlignTo() const;
  TDVSpinEdit* seVShift() const;
  QComboBox* cmbVShiftType() const;
  QGroupBox* gbSize() const;
  TDVSpinEdit* seWidth() const;
  QComboBox* cmbWType() const;
  TDVSpinEdit* seHeight() const;
  QComboBox* cmbHType() const;
  QLabel* lblDefSize() const;
  TDVColorCombo cmbBreakColor;
  TDVWidthCombo* cmbWidth() const;
  TDVSpinEdit* seTableWidth() const;
  QComboBox* cmbTWType() const;
  TDVColorCombo cmbTableColor;
  TDVSpinEdit* seCellPadding() const;
  TDVSpinEdit* seCellSpacing() const;
  QPushButton* btnSpacing() const;
  QPushButton* btnTableBorder() const;
  QPushButton* btnCellBorder() const;
  TDVPictureRadioGroup rgRowVAlign;
  QGroupBox* gbCellBorder() const;
  QToolButton* BorderButton(TSide side) const;
  QLabel* lblCellBorderColor() const;
  TDVColorCombo cmbCellBorderColor;
  QLabel* lblCellBorderLightColor() const;
  TDVColorCombo cmbCellBorderLightColor;
  QCheckBox* cbCellWidth() const;
  TDVSpinEdit* seCellBestWidth() const;
  QComboBox* cmbCellBWType() const;
  QCheckBox* cbCellHeight() const;
  TDVSpinEdit* seCellBestHeight() const;
  TDVColorCombo cmbCellColor;
  TDVPictureRadioGroup rgCellVAlign;
  QPushButton* btnOk() const;
  QPushButton* btnCancel() const;

  void FormActivate();
  void Button1Click();
  void btnSpacingClick();
  void btnTableBorderClick();
  void btnCellBordersClick();
  void UpdateCellBorders();

 private:
  struct Impl;
  void BuildImagePages();
  void BuildLinePage();
  void BuildTablePage();
  void BuildRowsPage();
  void BuildCellsPage();
  void ShowPages(std::initializer_list<TPage> pages);
  void SetPicture(const TDVGraphicItemInfo& item);
  void SetBreak(const TDVBreakItemInfo& item);
  void GetPicture(TCustomDocViewEdit& editor, const TDVGraphicItemInfo& item);
  void GetBreak(TCustomDocViewEdit& editor, const TDVBreakItemInfo& item);
  void PictureChanged();
  void UnitClick(QComboBox* units, TFilledSpin& field, bool byWidth, int& unit);
  void SetCells(TDVTableItemInfo& table);
  void GetCells(TDVTableItemInfo& table);
  void ShowSpacing();
  std::unique_ptr<Impl> d_;
};

}  // namespace quillet
