#pragma once
// The item-properties dialog's controls, shared by its picture and table
// halves.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <memory>

#include "commands/controls/spin_edit.h"
#include "commands/dialogs/filled_values.h"
#include "commands/dialogs/form_parts.h"
#include "commands/dialogs/item_prop_dialog.h"
#include "commands/dialogs/picture_preview.h"
#include "commands/dialogs/width_combo.h"

namespace quillet {

struct TfrmDVItemProp::Impl {
  QTabWidget* pc = nullptr;
  QWidget* pages[6] = {};
  // Picture.
  TPicturePreview* img = nullptr;
  QPushButton* change = nullptr;
  QGroupBox* gbTransp = nullptr;
  QCheckBox* cbTransp = nullptr;
  QComboBox* alignTo = nullptr;
  std::unique_ptr<TFilledSpin> vShift, width, height;
  QComboBox* vShiftType = nullptr;
  QComboBox* wType = nullptr;
  QComboBox* hType = nullptr;
  int vShiftUnit = -1, wUnit = -1, hUnit = -1;  // before a switch
  QGroupBox* gbSize = nullptr;
  QLabel* defSize = nullptr;
  bool pictureReplaced = false, transpColorTouched = false;
  // Line.
  TDVWidthCombo* lineWidth = nullptr;
  bool lineWidthTouched = false, lineColorTouched = false;
  // Table.
  std::unique_ptr<TFilledSpin> tableWidth, cellPadding, cellSpacing;
  QComboBox* twType = nullptr;
  QPushButton* spacing = nullptr;
  QPushButton* tableBorder = nullptr;
  QPushButton* cellBorder = nullptr;
  // Cells.
  QGroupBox* gbCellBorder = nullptr;
  QToolButton* sides[4] = {};
  QLabel* cellBorderColorLabel = nullptr;
  QLabel* cellBorderLightColorLabel = nullptr;
  QCheckBox* cbCellWidth = nullptr;
  QCheckBox* cbCellHeight = nullptr;
  std::unique_ptr<TFilledSpin> cellBestWidth, cellBestHeight;
  QComboBox* cellBWType = nullptr;
  // What the user changed among the cell and row settings.
  bool rowAlignTouched = false, cellWidthTouched = false, cellHeightTouched = false, cellColorTouched = false,
       cellAlignTouched = false, sidesTouched = false, cellBorderColorTouched = false,
       cellBorderLightColorTouched = false;
  bool hasSelection = false;
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
};

// A colour combo placed undetermined.
void PlaceColorCombo(TDVColorCombo& combo, QWidget* parent, const char* name, const QRect& r);
// A vertical alignment group, one column per item, with alignment pictures.
void SetUpVAlignGroup(TDVPictureRadioGroup& group, QWidget* parent, const char* name, const char* caption,
                      std::initializer_list<const char*> items, const QRect& r);

}  // namespace quillet
