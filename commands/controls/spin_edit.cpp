#include "commands/controls/spin_edit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QWheelEvent>
#include <climits>
#include <cmath>

#include "platform/core/beep.h"

namespace quillet {

namespace {

constexpr double kEpsilon = 1e-20;

QChar DecimalSeparator() { return QLocale().decimalPoint().at(0); }

}  // namespace

TDVSpinEdit::TDVSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setKeyboardTracking(true);
  lineEdit()->setText(QStringLiteral("0"));
  QObject::connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
    if (OnChange) OnChange(*this);
  });
}

TDVSpinEdit::~TDVSpinEdit() = default;

double TDVSpinEdit::CheckValue(double value) const {
  if (!std::isfinite(value)) value = 0;
  if (IntegerValue) value = std::nearbyint(value);
  if (std::fabs(MaxValue - MinValue) > kEpsilon) {
    if (MinValue - value > kEpsilon) value = MinValue;
    else if (value - MaxValue > kEpsilon) value = MaxValue;
  }
  return value;
}

double TDVSpinEdit::Value() const {
  const QString text = lineEdit()->text().trimmed();
  if (text.isEmpty()) return CheckValue(0);
  bool ok = false;
  const double value = QLocale().toDouble(text, &ok);
  return ok && std::isfinite(value) ? value : CheckValue(0);
}

void TDVSpinEdit::SetValue(double value) { ShowValue(CheckValue(value)); }

void TDVSpinEdit::ShowValue(double value) {
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  lineEdit()->setText(locale.toString(value, 'g', QLocale::FloatingPointShortest));
}

int TDVSpinEdit::AsInteger() const {
  const double value = std::nearbyint(Value());
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

bool TDVSpinEdit::Indeterminate() const { return lineEdit()->text().trimmed().isEmpty(); }

void TDVSpinEdit::SetIndeterminate(bool value) {
  if (value) lineEdit()->clear();
  else if (Indeterminate()) SetValue(CheckValue(0));
}

void TDVSpinEdit::SetEditorEnabled(bool value) {
  editorEnabled_ = value;
  // The edit's own menu would cut and paste behind the field's back.
  lineEdit()->setContextMenuPolicy(value ? Qt::DefaultContextMenu : Qt::NoContextMenu);
}

bool TDVSpinEdit::IsValidChar(char16_t key) const {
  const bool control = key < 0x20 || key == 0x7F;
  if (!editorEnabled_) return control && key != u'\r' && key != u'\b' && key != 0x7F;
  if (control) return key != u'\r';
  if (key == DecimalSeparator().unicode()) return !IntegerValue;
  return key == u'+' || key == u'-' || (key >= u'0' && key <= u'9');
}

QAbstractSpinBox::StepEnabled TDVSpinEdit::stepEnabled() const {
  // Read-only fields still take the step, to beep.
  return isEnabled() ? (StepUpEnabled | StepDownEnabled) : StepNone;
}

void TDVSpinEdit::stepBy(int steps) {
  if (isReadOnly()) {
    SystemBeep();
    return;
  }
  SetValue(Value() + steps * Increment);
}

void TDVSpinEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up: stepBy(1); event->accept(); return;
    case Qt::Key_Down: stepBy(-1); event->accept(); return;
    case Qt::Key_PageUp: stepBy(10); event->accept(); return;
    case Qt::Key_PageDown: stepBy(-10); event->accept(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // The dialog's default button takes it.
      event->ignore();
      return;
    default: break;
  }
  if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) {
    if (editorEnabled_ && !isReadOnly()) QAbstractSpinBox::keyPressEvent(event);
    else event->accept();
    return;
  }
  // Delete edits as Backspace does, though it types no character.
  if (event->key() == Qt::Key_Delete && !editorEnabled_) {
    SystemBeep();
    event->accept();
    return;
  }
  const QString text = event->text();
  if (!text.isEmpty() && !(event->modifiers() & Qt::ControlModifier)) {
    for (const QChar c : text) {
      if (!IsValidChar(c.unicode())) {
        SystemBeep();
        event->accept();
        return;
      }
    }
  }
  QAbstractSpinBox::keyPressEvent(event);
}

void TDVSpinEdit::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (isReadOnly() || !isEnabled()) return;
  wheelAccumulator_ += event->angleDelta().y();
  const int notches = wheelAccumulator_ / 120;
  wheelAccumulator_ %= 120;
  if (notches != 0) SetValue(Value() + notches * Increment);
}

void TDVSpinEdit::focusInEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusInEvent(event);
  if (AutoSelect && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) selectAll();
}

void TDVSpinEdit::focusOutEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusOutEvent(event);
  if (Indeterminate()) return;
  bool ok = false;
  const double typed = QLocale().toDouble(lineEdit()->text().trimmed(), &ok);
  // Text that is no number shows the value it reads as.
  if (!ok || !std::isfinite(typed)) {
    SetValue(Value());
    return;
  }
  if (std::fabs(CheckValue(typed) - typed) > kEpsilon) SetValue(typed);
}

}  // namespace quillet
