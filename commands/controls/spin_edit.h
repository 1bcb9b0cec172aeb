#pragma once
// The dialogs' numeric field: an edit with up and down buttons. Its value is
// a floating-point number, optionally whole, kept within limits; an empty
// text is indeterminate (a mixed selection), and the field gets a number
// only when the user types or spins one.
//
// Dialogs read a field through CheckValue(Value()): Value() itself does not
// limit what was typed, and a field confirmed with Enter on the default
// button has not been left, so nothing has limited it yet.
#include <QAbstractSpinBox>
#include <functional>

namespace quillet {

class TDVSpinEdit : public QAbstractSpinBox {
 public:
  explicit TDVSpinEdit(QWidget* parent = nullptr);
  ~TDVSpinEdit() override;

  // The text as a number, not limited; an empty text or one that is not a
  // finite number reads as CheckValue(0).
  double Value() const;
  // Shows CheckValue(value) in its shortest form.
  void SetValue(double value);
  // Shows value as it is, beyond the limits too: a dialog showing a stored
  // value that the field's range does not hold.
  void ShowValue(double value);
  // Rounded (whole fields) and brought within the limits, which apply only
  // when MinValue and MaxValue differ.
  double CheckValue(double value) const;
  // Value() rounded, within the integer range.
  int AsInteger() const;
  bool Indeterminate() const;
  // True empties the text; false gives an empty field CheckValue(0).
  void SetIndeterminate(bool value);

  double MinValue = 0;
  double MaxValue = 1000;
  double Increment = 1;
  // Whole numbers only: the decimal separator cannot be typed.
  bool IntegerValue = true;
  // False: only the buttons, arrows and wheel change the value.
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool value);
  // The whole text selected on entering by keyboard.
  bool AutoSelect = true;

  // Every change of the text, the field's own included.
  std::function<void(TDVSpinEdit&)> OnChange;

  // Whether a typed character may go into the text.
  virtual bool IsValidChar(char16_t key) const;

  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool editorEnabled_ = true;
  int wheelAccumulator_ = 0;
};

}  // namespace quillet
