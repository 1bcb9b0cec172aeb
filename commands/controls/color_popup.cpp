#include "commands/controls/color_popup.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <QWidget>
#include <algorithm>

#include "commands/controls/color_palette.h"
#include "commands/controls/edges.h"
#include "commands/resource_strings.h"
#include "platform/core/beep.h"
#include "platform/core/scoped_value.h"
#include "platform/gfx/qt_canvas.h"
#include "platform/ui/control.h"

namespace quillet {

namespace {

constexpr int kSize = 18;
constexpr int kMargin = 6;
constexpr int kGap = 4;
constexpr int kRows = PaletteRows;
constexpr int kColumns = PaletteColumns;
constexpr int kWideWidth = kColumns * kSize;  // 144
constexpr int kSpeedButtonHeight = 22;

QString Res(TDVResourceString id) {
  const std::string_view text = LoadResString(id);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The popup's background with its raised edge.
class TPopupFace final : public QWidget {
 public:
  TPopupFace(QWidget* parent, const bool& raised) : QWidget(parent), raised_(raised) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    TQtCanvas canvas(painter);
    canvas.Brush().Color = clBtnFace;
    canvas.FillRect({0, 0, width(), height()});
    if (raised_) DrawRaisedEdge(canvas, {0, 0, width(), height()});
  }

 private:
  const bool& raised_;
};

TKey KeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    default: return 0;
  }
}

// The screen a point is on, else the primary one.
QRect ScreenAt(QPoint p) {
  QScreen* screen = QGuiApplication::screenAt(p);
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 0, 0);
}

}  // namespace

// The dialog's keys, showing and hiding, in the form's terms.
class TfrmColor::TEvents final : public QObject {
 public:
  explicit TEvents(TfrmColor& form) : form_(form) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    switch (e->type()) {
      case QEvent::KeyPress: {
        const auto* k = static_cast<QKeyEvent*>(e);
        TKey key = KeyOf(k->key());
        if (key != 0) form_.FormKeyDown(key);
        else if (!(k->modifiers() & ~(Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier)))
          form_.PressMnemonic(k->key());
        return true;  // the popup takes every key, none reaches the buttons
      }
      case QEvent::Show: form_.FormShow(); break;
      case QEvent::Hide: form_.Closed(); break;
      default: break;
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  TfrmColor& form_;
};

QImage ColorSwatch(TColor color) {
  QImage image(14, 14, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    TQtCanvas canvas(image);
    FrameRect(canvas, {1, 1, 13, 13}, clBtnShadow);
    canvas.Brush().Style = bsSolid;
    canvas.Brush().Color = color;
    canvas.FillRect({2, 2, 12, 12});
  }
  return image;
}

TfrmColor::TfrmColor() : events_(std::make_unique<TEvents>(*this)) {
  QDialog* dialog = Dialog();
  dialog->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
  face_ = new TPopupFace(dialog, popup_);
  dialog->installEventFilter(events_.get());
  FormCreate();
}

TfrmColor::~TfrmColor() {
  Dialog()->removeEventFilter(events_.get());
  if (OnDestroy) OnDestroy(*this);
}

void TfrmColor::FormCreate() {
  TfrmDVBase::FormCreate();
  popup_ = true;
  Dialog()->setWindowTitle(QString());
}

void TfrmColor::Init(TColor defaultColor, TColorDialog* colorDialog, TColor color, bool addDefault2Color,
                     TColor default2Color) {
  colorDialog_ = colorDialog ? colorDialog : &cd;
  color_ = color;
  CreateButtons(defaultColor, addDefault2Color, default2Color);
}

QToolButton* TfrmColor::AddButton(int x, int y, int width, int height, TColor color, bool swatch) {
  auto* button = new QToolButton(face_);
  button->setGeometry(x, y, width, height);
  button->setFocusPolicy(Qt::NoFocus);
  button->setCheckable(true);
  button->setAutoRaise(popup_);
  if (swatch) {
    button->setIconSize(QSize(14, 14));
    button->setIcon(QIcon(QPixmap::fromImage(ColorSwatch(color))));
  }
  const int index = static_cast<int>(buttons_.size());
  buttons_.push_back({button, color});
  QObject::connect(button, &QToolButton::clicked, face_, [this, index] { ColorClick(index); });
  return button;
}

void TfrmColor::CreateButtons(TColor defaultColor, bool addDefault2Color, TColor default2Color) {
  int y = kMargin;
  keySelected_ = -1;
  specialCount_ = addDefault2Color ? 2 : 1;
  const auto special = [&](TDVResourceString caption, TColor color) {
    QToolButton* b = AddButton(kMargin, y, kWideWidth, kSpeedButtonHeight, color, color != clNone);
    b->setText(Res(caption));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    y += kSpeedButtonHeight + kGap;
  };
  if (addDefault2Color) special(dvrsDefaultButton, default2Color);
  if (defaultColor == clNone) special(dvrsTransparentButton, clNone);
  else special(dvrsAutoButton, defaultColor);
  for (int i = 0; i < ColorCount; ++i) {
    QToolButton* b = AddButton(kMargin + (i % kColumns) * kSize, y + (i / kColumns) * kSize, kSize, kSize,
                               Colors[i].Color, true);
    b->setToolTip(QString::fromUtf8(Colors[i].Name.data(), static_cast<qsizetype>(Colors[i].Name.size())));
  }
  y += kRows * kSize + kGap;
  more_ = new QToolButton(face_);
  more_->setGeometry(kMargin, y, kWideWidth, kSpeedButtonHeight);
  more_->setFocusPolicy(Qt::NoFocus);
  more_->setAutoRaise(popup_);
  more_->setText(Res(dvrsMoreColors));
  QObject::connect(more_, &QToolButton::clicked, face_, [this] { MoreClick(); });
  // The last button of the current colour is the one down.
  for (int i = 0; i < ButtonCount(); ++i)
    if (buttons_[i].color == color_) keySelected_ = i;
  for (int i = 0; i < ButtonCount(); ++i) buttons_[i].button->setChecked(i == keySelected_);
  const QSize client(kWideWidth + 2 * kMargin, y + kSpeedButtonHeight + 8);
  face_->setGeometry(QRect(QPoint(0, 0), client));
  Dialog()->setFixedSize(client);
}

void TfrmColor::ColorClick(int index) {
  color_ = buttons_.at(index).color;
  chosen_ = true;
  ClosePopup();
}

void TfrmColor::MoreClick() {
  {
    // The dialog takes the activation, which would close and free the popup
    // under our feet; it closes once the dialog is over.
    TScopedValue<bool> running(inMoreDialog_, true);
    colorDialog_->Color = color_ == clNone ? clYellow : color_;
    if (colorDialog_->Execute()) {
      color_ = colorDialog_->Color;
      chosen_ = true;
    }
  }
  ClosePopup();
}

void TfrmColor::UpdateBtnState() {
  for (int i = 0; i < ButtonCount(); ++i) buttons_[i].button->setChecked(i == keySelected_);
  if (keySelected_ >= 0 && keySelected_ < ButtonCount()) color_ = buttons_[keySelected_].color;
}

void TfrmColor::FormKeyDown(TKey& key) {
  const int n = ButtonCount();
  const int s = specialCount_;
  int& sel = keySelected_;
  switch (key) {
    case VK_RETURN:
      chosen_ = true;
      ClosePopup();
      key = 0;
      return;
    case VK_ESCAPE:
      ClosePopup();
      key = 0;
      return;
    case VK_LEFT:
      sel = sel == -1 ? 0 : sel - 1;
      if (sel < 0) sel = n - 1;
      break;
    case VK_RIGHT:
      ++sel;
      if (sel >= n) sel = 0;
      break;
    case VK_DOWN:
      sel = sel < s ? sel + 1 : sel + kColumns;
      if (sel >= n + kColumns - 1) sel = 0;
      else if (sel >= n) sel -= n - 2;
      break;
    case VK_UP:
      if (sel < 0 || sel == 1) sel = 0;
      else if (sel == 0) sel = ColorCount;
      else if (sel == 2 && s == 2) sel = 1;
      else {
        sel -= kColumns;
        if (sel < s) sel += n - 2;
      }
      break;
    default: return;
  }
  key = 0;
  UpdateBtnState();
}

void TfrmColor::PressMnemonic(int qtKey) {
  // A popup is never the active window, so the buttons' own shortcuts do not
  // reach them; their letters work with Alt or without, as in a menu.
  std::vector<QToolButton*> captioned{more_};
  for (int i = 0; i < specialCount_; ++i) captioned.push_back(buttons_[i].button);
  for (QToolButton* button : captioned) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
    if (!mnemonic.isEmpty() && mnemonic[0].key() == qtKey) {
      button->click();
      return;
    }
  }
}

void TfrmColor::FormShow() {
  if (!silent_) PlayApplicationSound("MenuPopup");
}

void TfrmColor::ClosePopup() {
  Dialog()->close();
  Closed();
}

void TfrmColor::Closed() {
  if (!popup_ || inMoreDialog_ || freeing_) return;
  freeing_ = true;
  QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { delete this; }, Qt::QueuedConnection);
}

void TfrmColor::PopupAt(const TRect& r) {
  const QSize size = Dialog()->size();
  const QRect screen = ScreenAt(QPoint(r.Left, r.Top));
  int left = r.Left, top = r.Bottom;
  if (left + size.width() > screen.right() + 1) left = r.Right - size.width();
  if (top + size.height() > screen.bottom() + 1) top = r.Top - size.height();
  left = std::max(left, screen.left());
  top = std::max(top, screen.top());
  Dialog()->move(left, top);
  Dialog()->show();
}

void TfrmColor::PopupAtControl(const TCustomControl& control) {
  QWidget* w = control.Widget();
  if (!w) return;
  const QPoint origin = w->mapToGlobal(QPoint(0, 0));
  PopupAt(Bounds(origin.x(), origin.y(), w->width(), w->height()));
}

void TfrmColor::PopupAtMouse() {
  const TPoint p = GetCursorPos();
  const QSize size = Dialog()->size();
  const QRect screen = ScreenAt(QPoint(p.X, p.Y));
  int left = p.X, top = p.Y;
  if (left + size.width() > screen.right() + 1) left = screen.right() + 1 - size.width();
  if (top + size.height() > screen.bottom() + 1) top = screen.bottom() + 1 - size.height();
  Dialog()->move(left, top);
  Dialog()->show();
}

}  // namespace quillet
