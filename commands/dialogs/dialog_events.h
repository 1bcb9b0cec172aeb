#pragma once
// The forms' activation handler: a call run each time the dialog has been
// shown, when its controls are visible and their handlers work.
#include <functional>

class QWidget;

namespace quillet {

void OnDialogShown(QWidget* dialog, std::function<void()> call);

}  // namespace quillet
