#pragma once
// What the command dialogs build their forms from: buttons with the modal
// results, labels with their fields, groups, number fields that give back
// what they were filled with until the user edits them, and the activation
// hook.
#include <QRect>
#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "commands/dialogs/form_layout.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace quillet {

class TCustomControl;
class TDVSpinEdit;
class TfrmDVBase;

inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// A push button closing the form with result; the OK one is the default.
QPushButton* AddResultButton(TfrmDVBase& form, const char* name, const char* text, int result, const QRect& r);
QLabel* AddLabel(QWidget* parent, const char* name, const char* text, QWidget* buddy, const QRect& r);
QGroupBox* AddGroup(QWidget* parent, const char* name, const char* title, const QRect& r);
QCheckBox* AddCheck(QWidget* parent, const char* name, const char* text, const QRect& r);
// A fixed list with nothing selected.
QComboBox* AddCombo(QWidget* parent, const char* name, std::initializer_list<const char*> items, const QRect& r);
// One of the command layer's own controls in a Qt form.
void PlaceControl(TCustomControl& control, QWidget* parent, const char* name, const QRect& r);
// A whole-number field within min..max.
TDVSpinEdit* AddSpin(QWidget* parent, const char* name, double min, double max, const QRect& r);
// Runs activate each time the form is shown (the form is visible then).
void OnFormActivate(TfrmDVBase& form, std::function<void()> activate);

// A number field with its defined flag, empty until filled. Filled, it shows the value as it is,
// even beyond the field's limits; until the user changes the text, reading
// gives back exactly what was filled in. Leaving the field untouched does
// not bring a shown value within the limits. Once edited, the field is read
// through CheckValue.
class TFilledSpin {
 public:
  explicit TFilledSpin(TDVSpinEdit* edit);
  ~TFilledSpin();
  TFilledSpin(const TFilledSpin&) = delete;
  TFilledSpin& operator=(const TFilledSpin&) = delete;

  TDVSpinEdit* Edit() const { return edit_; }
  void Fill(int value, bool defined = true);
  // The value and whether it is defined (an empty field is not).
  bool Read(int& value) const;
  bool Touched() const { return touched_; }
  // After a change: the field's own handlers run only for the user's ones.
  std::function<void()> OnUserChange;

 private:
  class TFocusGuard;
  void Changed();
  TDVSpinEdit* edit_;
  std::unique_ptr<TFocusGuard> guard_;
  int filled_ = 0;
  bool filledDefined_ = false;
  bool touched_ = false;
  bool quiet_ = false;
};

}  // namespace quillet
