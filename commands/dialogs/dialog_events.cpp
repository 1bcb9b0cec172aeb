#include "commands/dialogs/dialog_events.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace quillet {

namespace {

class TShownFilter : public QObject {
 public:
  TShownFilter(QWidget* dialog, std::function<void()> call) : QObject(dialog), call_(std::move(call)) {
    dialog->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched == parent()) call_();
    return false;
  }

 private:
  std::function<void()> call_;
};

}  // namespace

void OnDialogShown(QWidget* dialog, std::function<void()> call) { new TShownFilter(dialog, std::move(call)); }

}  // namespace quillet
