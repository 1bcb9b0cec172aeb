#pragma once
// Defined values (one value with a flag: false when the selection holds
// several) and the dialogs' number fields that give back what they were
// filled with until the user changes them, even a value beyond the field's
// limits, where reading the field would have limited it.
#include <functional>
#include <memory>

namespace quillet {

class TDVSpinEdit;

template <class T>
struct TDefined {
  T Value{};
  bool Defined = false;
  friend bool operator==(const TDefined&, const TDefined&) = default;
};

// A number field with its defined flag, empty until filled. Filled, it shows
// the value as it is; until its text changes, reading gives back exactly what
// was filled in. Leaving the field untouched does not bring a shown value
// within the limits. Once changed (by the user or by a handler of the form),
// the field is read through CheckValue.
class TFilledSpin {
 public:
  // Takes over the edit's OnChange: the form's own handlers go in
  // OnUserChange.
  explicit TFilledSpin(TDVSpinEdit* edit);
  ~TFilledSpin();
  TFilledSpin(const TFilledSpin&) = delete;
  TFilledSpin& operator=(const TFilledSpin&) = delete;

  TDVSpinEdit* Edit() const { return edit_; }
  // Shows the value as it is, or an empty field when undefined; runs no
  // handler.
  void Fill(double value, bool defined = true);
  bool Touched() const { return touched_; }
  // The filled value while untouched, else the field's value within its
  // limits; defined unless the field is empty.
  TDefined<double> Read() const;
  // The same rounded to a whole number.
  TDefined<int> ReadInt() const;
  // After every change but Fill's.
  std::function<void()> OnUserChange;

 private:
  class TFocusGuard;
  void Changed();
  TDVSpinEdit* edit_;
  std::unique_ptr<TFocusGuard> guard_;
  double filled_ = 0;
  bool filledDefined_ = false;
  bool touched_ = false;
  bool quiet_ = false;
};

// What a sample takes from a field: its value within the limits, rounded;
// 0 when it is empty.
int SampleValue(const TDVSpinEdit& edit);

}  // namespace quillet
