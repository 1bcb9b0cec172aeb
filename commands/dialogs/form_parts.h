#pragma once
// What the command dialogs build their forms from: controls placed at fixed
// positions with their names as object names, labels carrying the
// accelerator of the control they name, groups, lists, buttons closing the
// form with its modal results, and the tab order.
#include <QRect>
#include <QString>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;

namespace quillet {

class TCustomControl;
class TDVPictureRadioButton;
class TDVPictureRadioGroup;
class TDVSpinEdit;
class TfrmDVBase;

inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

void Place(QWidget* widget, const char* name, const QRect& r);
// One of the command layer's own controls in a Qt form.
void Place(TCustomControl& control, QWidget* parent, const char* name, const QRect& r);
QPushButton* AddButton(QWidget* parent, const char* name, const char* text, const QRect& r);
// A push button closing the form with result (mrNone: its own handler
// decides); the OK one is the default.
QPushButton* AddResultButton(TfrmDVBase& form, const char* name, const char* text, int result, const QRect& r);
// "确定" (btnOk, closing with mrOk unless okCloses is false) at left and
// "取消" (btnCancel) 84 pixels further.
void AddOkCancel(TfrmDVBase& form, int left, int top, QPushButton*& ok, QPushButton*& cancel, bool okCloses = true);
// The accelerator in text focuses buddy. An empty r places the label at its
// corner, as large as its text.
QLabel* AddLabel(QWidget* parent, const char* name, const char* text, QWidget* buddy, const QRect& r);
QGroupBox* AddGroup(QWidget* parent, const char* name, const char* title, const QRect& r);
QCheckBox* AddCheck(QWidget* parent, const char* name, const char* text, const QRect& r);
// A fixed list with nothing selected.
QComboBox* AddCombo(QWidget* parent, const char* name, std::initializer_list<const char*> items, const QRect& r);
// A page of a page control.
QWidget* AddPage(QTabWidget* pages, const char* name, const char* caption);
// A whole-number field within min..max.
TDVSpinEdit* AddSpin(QWidget* parent, const char* name, double min, double max, const QRect& r);
// A picture option button with a square picture.
void PlaceOption(TDVPictureRadioButton& button, QWidget* parent, const char* caption, const char* name,
                 const QRect& r, int imageIndex);
// Items of a picture group, each with the picture of its place.
void AddPictureItems(TDVPictureRadioGroup& group, std::initializer_list<const char*> captions);
// Tab order as listed.
void SetTabOrder(std::initializer_list<QWidget*> widgets);

}  // namespace quillet
