#include "host/form/control_print.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <exception>

#include "platform/core/code_page.h"
#include "platform/core/control.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/qt_canvas.h"

namespace quillet {

namespace {

// Control texts are 8-bit text in the system code page.
QString Text(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

// A caption comes from the document: shown as typed, never read as markup
// (a label would take text that looks like HTML as rich text, images and
// links included).
std::unique_ptr<QLabel> PlainLabel(const std::string& caption) {
  auto label = std::make_unique<QLabel>();
  label->setTextFormat(Qt::PlainText);
  label->setText(Text(caption));
  return label;
}

std::unique_ptr<QWidget> MakeWidget(const TControl& control) {
  if (const auto* check = dynamic_cast<const TCheckBox*>(&control)) {
    auto box = std::make_unique<QCheckBox>(Text(check->Caption));
    box->setChecked(check->Checked);
    return box;
  }
  if (const auto* button = dynamic_cast<const TButton*>(&control))
    return std::make_unique<QPushButton>(Text(button->Caption));
  if (const auto* label = dynamic_cast<const TLabel*>(&control)) {
    auto text = PlainLabel(label->Caption);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return text;
  }
  if (const auto* panel = dynamic_cast<const TPanel*>(&control)) {
    // A raised bevel with the caption in the middle.
    auto frame = PlainLabel(panel->Caption);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setAlignment(Qt::AlignCenter);
    frame->setAutoFillBackground(true);
    return frame;
  }
  if (const auto* edit = dynamic_cast<const TEdit*>(&control)) {
    auto line = std::make_unique<QLineEdit>(Text(edit->Text));
    // The text's start, as a control that never had the focus shows it.
    line->setCursorPosition(0);
    return line;
  }
  if (const auto* memo = dynamic_cast<const TMemo*>(&control)) {
    QStringList lines;
    for (const std::string& line : memo->Lines) lines << Text(line);
    auto text = std::make_unique<QPlainTextEdit>();
    text->setPlainText(lines.join(QLatin1Char('\n')));
    // A memo has no scroll bars unless asked for; its lines wrap.
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return text;
  }
  return nullptr;
}

// A kind without a widget: a frame with the class name centred inside it.
void PaintFrame(QPainter& painter, const TControl& control, int32_t width, int32_t height) {
  painter.fillRect(0, 0, width, height, Qt::white);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, width - 1, height - 1);
  painter.drawText(QRect(1, 1, width - 2, height - 2), Qt::AlignCenter,
                   QString::fromUtf8(control.ClassName().data(), static_cast<qsizetype>(control.ClassName().size())));
}

}  // namespace

std::unique_ptr<TBitmap> ControlPicture(const TControl& control) {
  const int32_t width = control.Width(), height = control.Height();
  if (width <= 0 || height <= 0 || int64_t{width} * height > TBitmap::kMaxPixels) return nullptr;
  // Widgets need the widget application; without one nothing is printed.
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  try {
    auto bitmap = std::make_unique<TBitmap>(width, height);
    auto* canvas = dynamic_cast<TQtCanvas*>(&bitmap->Canvas());
    if (!canvas) return nullptr;
    QPainter& painter = canvas->Painter();
    if (const std::unique_ptr<QWidget> widget = MakeWidget(control)) {
      widget->setAttribute(Qt::WA_DontShowOnScreen);
      widget->setEnabled(control.Enabled);
      widget->resize(width, height);
      widget->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    } else {
      PaintFrame(painter, control, width, height);
    }
    canvas->EndPaint();
    return bitmap;
  } catch (const std::exception&) {
    // A picture that cannot be made leaves the control out of the print.
    return nullptr;
  }
}

void DVPrintPrintComponent(TCustomDVPrint&, TControl* printMe, std::unique_ptr<TBitmap>& componentImage) {
  if (printMe) componentImage = ControlPicture(*printMe);
}

}  // namespace quillet
