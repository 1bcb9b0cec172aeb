#include "commands/dialogs/filled_values.h"

#include <climits>
#include <cmath>

#include "commands/controls/spin_edit.h"

namespace quillet {

void TFilledValue::Fill(TDVSpinEdit& edit, double value, bool defined) {
  if (defined) edit.ShowValue(value);
  else edit.SetIndeterminate(true);
  text_ = edit.text();
  value_ = value;
}

bool TFilledValue::Untouched(const TDVSpinEdit& edit) const { return edit.text() == text_; }

TDefined<double> TFilledValue::Read(const TDVSpinEdit& edit) const {
  if (edit.Indeterminate()) return {};
  if (Untouched(edit)) return {value_, true};
  return {edit.CheckValue(edit.Value()), true};
}

namespace {

int ToInt(double value) {
  value = std::nearbyint(value);
  return value >= INT_MAX ? INT_MAX : value <= INT_MIN ? INT_MIN : static_cast<int>(value);
}

}  // namespace

TDefined<int> TFilledValue::ReadInt(const TDVSpinEdit& edit) const {
  const TDefined<double> read = Read(edit);
  return {ToInt(read.Value), read.Defined};
}

int SampleValue(const TDVSpinEdit& edit) { return edit.Indeterminate() ? 0 : ToInt(edit.CheckValue(edit.Value())); }

}  // namespace quillet
