#pragma once
// Defined values (one value with a flag: false when the selection holds
// several) and what a dialog's field was filled with, so that a field the
// user left alone gives back exactly that value, even one beyond the field's
// range, where reading the field would have limited it.
#include <QString>

namespace quillet {

class TDVSpinEdit;

template <class T>
struct TDefined {
  T Value{};
  bool Defined = false;
  friend bool operator==(const TDefined&, const TDefined&) = default;
};

class TFilledValue {
 public:
  // Shows the value as it is, or an empty field when undefined.
  void Fill(TDVSpinEdit& edit, double value, bool defined);
  // The text still shows what Fill put there.
  bool Untouched(const TDVSpinEdit& edit) const;
  // The filled value while untouched, else the field's value within its
  // limits; defined unless the field is empty.
  TDefined<double> Read(const TDVSpinEdit& edit) const;
  // The same rounded to a whole number.
  TDefined<int> ReadInt(const TDVSpinEdit& edit) const;

 private:
  QString text_;
  double value_ = 0;
};

// What a sample takes from a field: its value within the limits, rounded;
// 0 when it is empty.
int SampleValue(const TDVSpinEdit& edit);

}  // namespace quillet
