#pragma once
// Placing a form's controls at fixed positions: object names are the
// controls' names, labels carry the accelerator of the control they name,
// and the OK and Cancel buttons close with 1 and 2.
#include <QString>
#include <initializer_list>

class QLabel;
class QPushButton;
class QWidget;

namespace quillet {

class TCustomControl;
class TDVPictureRadioButton;
class TDVSpinEdit;
class TfrmDVBase;

QWidget* Place(QWidget* widget, const char* name, int left, int top, int width, int height);
void Place(TCustomControl& control, QWidget* parent, const char* name, int left, int top, int width, int height);
// A spin edit with its limits, empty (undefined) at first.
TDVSpinEdit* AddSpinEdit(QWidget* parent, const char* name, int left, int top, double minValue, double maxValue,
                         int width = 56);
// A picture option button with a square picture.
void PlaceOption(TDVPictureRadioButton& button, QWidget* parent, const char* caption, const char* name, int left,
                 int top, int width, int height, int imageIndex);
// UTF-8 caption; the accelerator focuses buddy.
QLabel* AddLabel(QWidget* parent, const char* caption, int left, int top, QWidget* buddy = nullptr);
// "确定" (default, closing with mrOk unless okCloses is false) and "取消"
// (mrCancel), the OK button at left, the Cancel button 84 pixels further.
void AddOkCancel(TfrmDVBase& form, int left, int top, QPushButton*& ok, QPushButton*& cancel, bool okCloses = true);
// Tab order as listed.
void SetTabOrder(std::initializer_list<QWidget*> widgets);

}  // namespace quillet
