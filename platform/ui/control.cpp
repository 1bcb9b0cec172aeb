#include "platform/ui/control.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QImage>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QPointingDevice>
#include <QScrollBar>
#include <QTabletEvent>
#include <QTimerEvent>
#include <QVariant>
#include <QWheelEvent>
#include <QtDebug>
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/gfx/qt_canvas.h"
#include "platform/ui/cursor_table.h"
#include "platform/ui/key_map.h"

namespace quillet {

namespace {

// The Tag of a child window lives on its widget, so that every child of a
// client area carries one, whoever made it.
constexpr char kTagProperty[] = "quilletTag";

int32_t WidgetTag(const QWidget* w) { return w ? w->property(kTagProperty).toInt() : 0; }
void SetWidgetTag(QWidget* w, int32_t value) {
  if (w) w->setProperty(kTagProperty, value);
}

TFocusReason FocusReasonOf(Qt::FocusReason r) {
  switch (r) {
    case Qt::MouseFocusReason: return frMouse;
    case Qt::TabFocusReason: return frTab;
    case Qt::BacktabFocusReason: return frBacktab;
    case Qt::ActiveWindowFocusReason: return frActiveWindow;
    case Qt::PopupFocusReason: return frPopup;
    case Qt::ShortcutFocusReason: return frShortcut;
    case Qt::MenuBarFocusReason: return frMenuBar;
    default: return frOther;
  }
}

bool ButtonOf(Qt::MouseButton b, TMouseButton& out) {
  switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
  }
}

TPoint PointOf(const QPointF& p) {
  return {static_cast<int32_t>(std::floor(p.x())), static_cast<int32_t>(std::floor(p.y()))};
}

// Every control alive, for the tablet's proximity, which no window receives.
std::vector<TCustomControl*>& LiveControls() {
  static std::vector<TCustomControl*> controls;
  return controls;
}

TTabletPacket TabletPacketOf(const QTabletEvent& e, TTabletEventKind kind) {
  TTabletPacket p;
  p.Kind = kind;
  if (kind != tekProximityIn && kind != tekProximityOut) {
    const TPoint at = PointOf(e.position());
    p.X = at.X;
    p.Y = at.Y;
  }
  // A driver's pressure is outside data: keep it within 0..1.
  const double pressure = e.pressure();
  p.Pressure = std::isfinite(pressure) ? std::clamp(pressure, 0.0, 1.0) : 0.0;
  if (const QPointingDevice* device = e.pointingDevice()) {
    switch (device->pointerType()) {
      case QPointingDevice::PointerType::Eraser: p.Pointer = tpEraser; break;
      case QPointingDevice::PointerType::Cursor: p.Pointer = tpCursor; break;
      default: p.Pointer = tpPen; break;
    }
    p.DeviceId = device->systemId();
    p.DeviceName = device->name().toStdString();
  }
  return p;
}

}  // namespace

// The control's side of its widgets: every Qt event that reaches a control
// passes here, is turned into the platform's terms and runs under a guard.
class TControlBridge {
 public:
  template <class F>
  static void Guard(TCustomControl* c, F&& f) {
    if (!c) return;
    try {
      f(*c);
    } catch (const std::exception& e) {
      c->HandleException(e.what());
    } catch (...) {
      c->HandleException("Unknown exception");
    }
  }

  static void Posted(TCustomControl* c, const std::function<void()>& call) {
    Guard(c, [&](TCustomControl&) { call(); });
  }

  static void Paint(TCustomControl* c, QWidget* client, QPaintEvent* e) {
    if (!c) return;
    QPainter painter(client);
    painter.setClipRegion(e->region());
    TQtCanvas canvas(painter);
    Guard(c, [&](TCustomControl& cc) { cc.Paint(canvas); });
  }

  static void MousePress(TCustomControl* c, QMouseEvent* e, bool doubleClick);
  static void MouseMove(TCustomControl* c, QMouseEvent* e) {
    const TPoint p = PointOf(e->position());
    Guard(c, [&](TCustomControl& cc) { cc.MouseMove(ShiftStateOf(e->modifiers(), e->buttons()), p.X, p.Y); });
  }
  static void MouseRelease(TCustomControl* c, QMouseEvent* e);
  static void Wheel(TCustomControl* c, QWheelEvent* e);
  static void Leave(TCustomControl* c) {
    Guard(c, [](TCustomControl& cc) { cc.MouseLeave(); });
  }
  static void Resize(TCustomControl* c) {
    Guard(c, [](TCustomControl& cc) { cc.Resize(); });
  }
  static void Timer(TCustomControl* c, QTimerEvent* e) {
    if (!c) return;
    for (const auto& [id, qtId] : c->timers_)
      if (qtId == e->timerId()) {
        const uint32_t ours = id;
        Guard(c, [&](TCustomControl& cc) { cc.WMTimer(ours); });
        return;
      }
  }

  // Tab and Shift+Tab reach a control that wants them; true when handled.
  static bool TabKey(TCustomControl* c, QKeyEvent* e);
  static void KeyPress(TCustomControl* c, QKeyEvent* e);
  static void KeyRelease(TCustomControl* c, QKeyEvent* e) {
    TKey key = VirtualKeyOf(*e);
    const TShiftState shift = ShiftStateOf(e->modifiers(), QGuiApplication::mouseButtons());
    Guard(c, [&](TCustomControl& cc) { cc.KeyUp(key, shift); });
  }
  static void FocusIn(TCustomControl* c, QFocusEvent* e) {
    if (c && c->silentFocus_) return;
    Guard(c, [&](TCustomControl& cc) { cc.WMSetFocus(FocusReasonOf(e->reason())); });
  }
  static void FocusOut(TCustomControl* c, QFocusEvent* e) {
    Guard(c, [&](TCustomControl& cc) { cc.WMKillFocus(FocusReasonOf(e->reason())); });
  }
  static void InputMethod(TCustomControl* c, QInputMethodEvent* e);
  static void Tablet(TCustomControl* c, const TTabletPacket& packet);
  static void TabletPacket(TCustomControl* c, QTabletEvent* e) {
    TTabletEventKind kind;
    switch (e->type()) {
      case QEvent::TabletPress: kind = tekPress; break;
      case QEvent::TabletRelease: kind = tekRelease; break;
      default: kind = tekMove; break;
    }
    Tablet(c, TabletPacketOf(*e, kind));
    // Watched, not taken: the toolkit makes the mouse events of it, which
    // the controls draw and select with.
    e->ignore();
  }
  static QVariant InputMethodQuery(TCustomControl* c, QWidget* w, Qt::InputMethodQuery query);
  static void ScrollAction(TCustomControl* c, TScrollBarKind kind, int action);
  static void ScrollReleased(TCustomControl* c, TScrollBarKind kind);
};

namespace {

// The client area: the whole widget of a plain control, the viewport of a
// scrolling one. A plain control's client also takes keys and focus.
class TClientWidget final : public QWidget {
 public:
  TClientWidget(TCustomControl* control, bool takesKeys) : control_(control), takesKeys_(takesKeys) {
    setMouseTracking(true);
    // Opaque, so that scrolling copies pixels instead of repainting all.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
  }
  void Detach() { control_ = nullptr; }
  TCustomControl* Control() const { return control_; }

 protected:
  bool event(QEvent* e) override {
    if (takesKeys_ && e->type() == QEvent::KeyPress &&
        TControlBridge::TabKey(control_, static_cast<QKeyEvent*>(e)))
      return true;
    return QWidget::event(e);
  }
  void paintEvent(QPaintEvent* e) override { TControlBridge::Paint(control_, this, e); }
  void mousePressEvent(QMouseEvent* e) override { TControlBridge::MousePress(control_, e, false); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { TControlBridge::MousePress(control_, e, true); }
  void mouseMoveEvent(QMouseEvent* e) override { TControlBridge::MouseMove(control_, e); }
  void mouseReleaseEvent(QMouseEvent* e) override { TControlBridge::MouseRelease(control_, e); }
  void wheelEvent(QWheelEvent* e) override { TControlBridge::Wheel(control_, e); }
  void leaveEvent(QEvent*) override { TControlBridge::Leave(control_); }
  void resizeEvent(QResizeEvent*) override { TControlBridge::Resize(control_); }
  void timerEvent(QTimerEvent* e) override { TControlBridge::Timer(control_, e); }
  void keyPressEvent(QKeyEvent* e) override {
    if (takesKeys_) TControlBridge::KeyPress(control_, e);
    else QWidget::keyPressEvent(e);
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    if (takesKeys_) TControlBridge::KeyRelease(control_, e);
    else QWidget::keyReleaseEvent(e);
  }
  void focusInEvent(QFocusEvent* e) override {
    if (takesKeys_) TControlBridge::FocusIn(control_, e);
  }
  void focusOutEvent(QFocusEvent* e) override {
    if (takesKeys_) TControlBridge::FocusOut(control_, e);
  }
  void inputMethodEvent(QInputMethodEvent* e) override {
    if (takesKeys_) TControlBridge::InputMethod(control_, e);
  }
  void tabletEvent(QTabletEvent* e) override { TControlBridge::TabletPacket(control_, e); }
  QVariant inputMethodQuery(Qt::InputMethodQuery q) const override {
    if (takesKeys_ && control_)
      return TControlBridge::InputMethodQuery(control_, const_cast<TClientWidget*>(this), q);
    return QWidget::inputMethodQuery(q);
  }

 private:
  TCustomControl* control_;
  bool takesKeys_;
};

// A scrolling control's widget. The viewport (a TClientWidget) handles its
// own events; the area takes keys and focus, and leaves the scrolling to the
// control (the bars' actions become scroll codes).
class TScrollAreaWidget final : public QAbstractScrollArea {
 public:
  explicit TScrollAreaWidget(TCustomControl* control) : control_(control) {}
  void Detach() { control_ = nullptr; }
  TCustomControl* Control() const { return control_; }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::KeyPress && TControlBridge::TabKey(control_, static_cast<QKeyEvent*>(e)))
      return true;
    return QAbstractScrollArea::event(e);
  }
  bool viewportEvent(QEvent*) override { return false; }
  void scrollContentsBy(int, int) override {}
  void wheelEvent(QWheelEvent* e) override { e->ignore(); }
  void keyPressEvent(QKeyEvent* e) override { TControlBridge::KeyPress(control_, e); }
  void keyReleaseEvent(QKeyEvent* e) override { TControlBridge::KeyRelease(control_, e); }
  void focusInEvent(QFocusEvent* e) override { TControlBridge::FocusIn(control_, e); }
  void focusOutEvent(QFocusEvent* e) override { TControlBridge::FocusOut(control_, e); }
  void inputMethodEvent(QInputMethodEvent* e) override { TControlBridge::InputMethod(control_, e); }
  QVariant inputMethodQuery(Qt::InputMethodQuery q) const override {
    if (control_) return TControlBridge::InputMethodQuery(control_, const_cast<TScrollAreaWidget*>(this), q);
    return QAbstractScrollArea::inputMethodQuery(q);
  }

 private:
  TCustomControl* control_;
};

// Wheel turns over a scroll bar scroll the control like turns over its client.
class TBarWheelFilter final : public QObject {
 public:
  explicit TBarWheelFilter(QWidget* client) : client_(client) {}

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::Wheel || !client_) return false;
    auto* w = static_cast<QWheelEvent*>(e);
    QWheelEvent copy(client_->mapFromGlobal(w->globalPosition()), w->globalPosition(), w->pixelDelta(),
                     w->angleDelta(), w->buttons(), w->modifiers(), w->phase(), w->inverted(), w->source());
    QCoreApplication::sendEvent(client_, &copy);
    return true;
  }

 private:
  QPointer<QWidget> client_;
};

// Proximity events go to the application object alone; this hands them to
// every control.
class TProximityFilter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject*, QEvent* e) override;
};

void EnsureProximityFilter() {
  static QPointer<TProximityFilter> filter;
  if (filter || !QCoreApplication::instance()) return;
  filter = new TProximityFilter(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(filter);
}

}  // namespace

struct TCustomControl::Impl {
  QPointer<QWidget> widget;
  QPointer<TClientWidget> client;
  QPointer<TScrollAreaWidget> area;
  TScrollInfo bars[2];
  bool barShown[2] = {false, false};
  bool visible = true;
  bool composing = false;
  Qt::MouseButtons pressed;  // buttons pressed in this control, which capture the mouse
  std::unique_ptr<TBarWheelFilter> barWheel;
  QObject postTarget;  // context of posted calls: going with the control drops them
  QImage measureSurface;  // under Canvas()

  QScrollBar* Bar(TScrollBarKind kind) const {
    if (!area) return nullptr;
    return kind == sbVertical ? area->verticalScrollBar() : area->horizontalScrollBar();
  }
};

// ------------------------------------------------------------------ bridge

void TControlBridge::MousePress(TCustomControl* c, QMouseEvent* e, bool doubleClick) {
  TMouseButton button;
  if (!c || !ButtonOf(e->button(), button)) return;
  c->d_->pressed |= e->button();
  const TPoint p = PointOf(e->position());
  TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  if (doubleClick) shift |= ssDouble;
  Guard(c, [&](TCustomControl& cc) {
    if (doubleClick && button == mbLeft) cc.DblClick();
    cc.MouseDown(button, shift, p.X, p.Y);
  });
}

void TControlBridge::MouseRelease(TCustomControl* c, QMouseEvent* e) {
  TMouseButton button;
  if (!c || !ButtonOf(e->button(), button)) return;
  c->d_->pressed &= ~Qt::MouseButtons(e->button());
  const TPoint p = PointOf(e->position());
  Guard(c, [&](TCustomControl& cc) { cc.MouseUp(button, ShiftStateOf(e->modifiers(), e->buttons()), p.X, p.Y); });
}

void TControlBridge::Wheel(TCustomControl* c, QWheelEvent* e) {
  if (!c) return;
  const int dy = e->angleDelta().y();
  if (dy == 0) {
    e->ignore();
    return;
  }
  // Fine-grained wheels send parts of a notch; only whole notches scroll.
  c->wheelAccumulator_ += dy;
  const TPoint p = PointOf(e->position());
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  bool handled = false;
  while (std::abs(c->wheelAccumulator_) >= 120) {
    const int32_t delta = c->wheelAccumulator_ > 0 ? 120 : -120;
    c->wheelAccumulator_ -= delta;
    Guard(c, [&](TCustomControl& cc) { handled = cc.DoMouseWheel(shift, delta, p) || handled; });
  }
  e->setAccepted(handled || c->wheelAccumulator_ != 0);
}

bool TControlBridge::TabKey(TCustomControl* c, QKeyEvent* e) {
  if (!c || (e->key() != Qt::Key_Tab && e->key() != Qt::Key_Backtab)) return false;
  TDlgCodes codes = 0;
  Guard(c, [&](TCustomControl& cc) { codes = cc.WMGetDlgCode(); });
  if (!(codes & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) return false;
  KeyPress(c, e);
  return true;
}

void TControlBridge::KeyPress(TCustomControl* c, QKeyEvent* e) {
  if (!c) return;
  TKey key = VirtualKeyOf(*e);
  const TShiftState shift = ShiftStateOf(e->modifiers(), QGuiApplication::mouseButtons());
  bool taken = false;
  if (key != 0) Guard(c, [&](TCustomControl& cc) {
      cc.KeyDown(key, shift);
      taken = key == 0;
    });
  const int qtKey = e->key();
  if (!taken && (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter || qtKey == Qt::Key_Escape)) {
    TDlgCodes codes = 0;
    Guard(c, [&](TCustomControl& cc) { codes = cc.WMGetDlgCode(); });
    if (!(codes & DLGC_WANTALLKEYS)) {
      e->ignore();  // the form's default or cancel button
      return;
    }
  }
  // Typed text follows the key, as it does on the platform even when
  // KeyDown took the key.
  const QString text = e->text();
  for (const QChar ch : text) {
    char16_t unit = ch.unicode();
    Guard(c, [&](TCustomControl& cc) { cc.KeyPress(unit); });
  }
  e->accept();
}

void TControlBridge::Tablet(TCustomControl* c, const TTabletPacket& packet) {
  if (!c) return;
  const std::weak_ptr<void> alive = c->Lifetime();
  Guard(c, [&](TCustomControl& cc) { cc.TabletEvent(packet); });
  // A copy: a listener may remove itself or others while it runs.
  const auto listeners = c->tabletListeners_;
  for (const auto& [id, listener] : listeners) {
    if (alive.expired()) return;
    if (c->tabletListeners_.count(id)) Guard(c, [&](TCustomControl&) { listener(packet); });
  }
}

bool TProximityFilter::eventFilter(QObject*, QEvent* e) {
  if (e->type() != QEvent::TabletEnterProximity && e->type() != QEvent::TabletLeaveProximity) return false;
  const TTabletPacket packet = TabletPacketOf(
      *static_cast<QTabletEvent*>(e), e->type() == QEvent::TabletEnterProximity ? tekProximityIn : tekProximityOut);
  std::vector<std::pair<TCustomControl*, std::weak_ptr<void>>> controls;
  for (TCustomControl* c : LiveControls()) controls.emplace_back(c, c->Lifetime());
  for (const auto& [c, alive] : controls)
    if (!alive.expired()) TControlBridge::Tablet(c, packet);
  return false;
}

void TControlBridge::InputMethod(TCustomControl* c, QInputMethodEvent* e) {
  if (!c) return;
  const QString commit = e->commitString();
  if (!commit.isEmpty())
    Guard(c, [&](TCustomControl& cc) { cc.ImeResult(std::u16string_view(reinterpret_cast<const char16_t*>(commit.utf16()), commit.size())); });
  const QString preedit = e->preeditString();
  if (!preedit.isEmpty() || c->d_->composing) {
    int32_t caret = static_cast<int32_t>(preedit.size());
    for (const auto& a : e->attributes())
      if (a.type == QInputMethodEvent::Cursor) caret = a.start;
    c->d_->composing = !preedit.isEmpty();
    Guard(c, [&](TCustomControl& cc) {
      cc.ImeComposition(std::u16string_view(reinterpret_cast<const char16_t*>(preedit.utf16()), preedit.size()),
                        caret);
    });
  }
  e->accept();
}

QVariant TControlBridge::InputMethodQuery(TCustomControl* c, QWidget* w, Qt::InputMethodQuery query) {
  switch (query) {
    case Qt::ImEnabled: return w->testAttribute(Qt::WA_InputMethodEnabled);
    case Qt::ImCursorRectangle: {
      TRect r{};
      Guard(c, [&](TCustomControl& cc) { r = cc.ImeCompositionRect(); });
      const QPoint origin = c->d_->client ? c->d_->client->mapTo(w, QPoint(0, 0)) : QPoint(0, 0);
      return QRect(r.Left + origin.x(), r.Top + origin.y(), r.Width(), r.Height());
    }
    default: return {};
  }
}

void TControlBridge::ScrollAction(TCustomControl* c, TScrollBarKind kind, int action) {
  QScrollBar* sb = c->d_->Bar(kind);
  if (!sb) return;
  TScrollCode code;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = sb->isSliderDown() ? SB_THUMBTRACK : SB_THUMBPOSITION; break;
    default: return;
  }
  const int32_t pos = sb->sliderPosition();
  Guard(c, [&](TCustomControl& cc) {
    if (kind == sbVertical) cc.WMVScroll(code, pos);
    else cc.WMHScroll(code, pos);
  });
  // The bar shows the control's position, not the step Qt took; only a
  // dragged thumb follows the mouse whatever the control did.
  if (code != SB_THUMBTRACK) sb->setSliderPosition(c->d_->bars[kind].Pos);
}

void TControlBridge::ScrollReleased(TCustomControl* c, TScrollBarKind kind) {
  QScrollBar* sb = c->d_->Bar(kind);
  if (!sb) return;
  const int32_t pos = sb->sliderPosition();
  Guard(c, [&](TCustomControl& cc) {
    if (kind == sbVertical) cc.WMVScroll(SB_THUMBPOSITION, pos);
    else cc.WMHScroll(SB_THUMBPOSITION, pos);
  });
  sb->setValue(c->d_->bars[kind].Pos);
}

// ------------------------------------------------------------ child windows

int32_t TChildWindow::Left() const { return widget_ ? widget_->x() : 0; }
int32_t TChildWindow::Top() const { return widget_ ? widget_->y() : 0; }
void TChildWindow::SetLeft(int32_t value) {
  if (widget_) widget_->move(value, widget_->y());
}
void TChildWindow::SetTop(int32_t value) {
  if (widget_) widget_->move(widget_->x(), value);
}
int32_t TChildWindow::Tag() const { return WidgetTag(widget_); }
void TChildWindow::SetTag(int32_t value) { SetWidgetTag(widget_, value); }

// ----------------------------------------------------------------- control

TCustomControl::TCustomControl(bool scrollBars) : d_(std::make_unique<Impl>()) {
  if (scrollBars) {
    auto* area = new TScrollAreaWidget(this);
    auto* client = new TClientWidget(this, false);
    area->setViewport(client);
    area->setFocusPolicy(Qt::NoFocus);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d_->area = area;
    d_->client = client;
    d_->widget = area;
    d_->barWheel = std::make_unique<TBarWheelFilter>(client);
    for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
      QScrollBar* sb = d_->Bar(kind);
      sb->installEventFilter(d_->barWheel.get());
      QObject::connect(sb, &QAbstractSlider::actionTriggered, area,
                       [this, kind](int action) { TControlBridge::ScrollAction(this, kind, action); });
      QObject::connect(sb, &QAbstractSlider::sliderReleased, area,
                       [this, kind] { TControlBridge::ScrollReleased(this, kind); });
    }
    // The vertical bar alone changes sides with right-to-left reading.
    area->horizontalScrollBar()->setLayoutDirection(Qt::LeftToRight);
    client->setLayoutDirection(Qt::LeftToRight);
  } else {
    auto* client = new TClientWidget(this, true);
    client->setFocusPolicy(Qt::NoFocus);
    d_->client = client;
    d_->widget = client;
  }
  LiveControls().push_back(this);
  EnsureProximityFilter();
}

TCustomControl::~TCustomControl() {
  // References to the control read as none from here on.
  lifetime_.reset();
  std::erase(LiveControls(), this);
  // The widget outlives no part of the control: events raised while it goes
  // (focus leaving, say) reach nobody.
  if (d_->area) d_->area->Detach();
  if (d_->client) d_->client->Detach();
  d_->barWheel.reset();
  delete d_->widget.data();
}

TCustomControl* ControlOfWidget(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    if (const auto* client = dynamic_cast<const TClientWidget*>(widget)) return client->Control();
    if (const auto* area = dynamic_cast<const TScrollAreaWidget*>(widget)) return area->Control();
  }
  return nullptr;
}

void TCustomControl::PostCall(std::function<void()> call) {
  QMetaObject::invokeMethod(
      &d_->postTarget, [this, call = std::move(call)] { TControlBridge::Posted(this, call); }, Qt::QueuedConnection);
}

QWidget* TCustomControl::Widget() const { return d_->widget.data(); }
QWidget* TCustomControl::ClientWidget() const { return d_->client.data(); }

void TCustomControl::SetParent(TCustomControl* parent) { SetParentWidget(parent ? parent->ClientWidget() : nullptr); }

void TCustomControl::SetParentWidget(QWidget* parent) {
  QWidget* w = Widget();
  if (!w) return;
  w->setParent(parent);
  if (parent) w->setVisible(d_->visible);
}

int32_t TCustomControl::Left() const { return Widget() ? Widget()->x() : 0; }
int32_t TCustomControl::Top() const { return Widget() ? Widget()->y() : 0; }
int32_t TCustomControl::Width() const { return Widget() ? Widget()->width() : 0; }
int32_t TCustomControl::Height() const { return Widget() ? Widget()->height() : 0; }

void TCustomControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (QWidget* w = Widget()) w->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
}

int32_t TCustomControl::ClientWidth() const { return ClientWidget() ? ClientWidget()->width() : 0; }
int32_t TCustomControl::ClientHeight() const { return ClientWidget() ? ClientWidget()->height() : 0; }
TRect TCustomControl::ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

TPoint TCustomControl::ClientToScreen(TPoint p) const {
  if (!ClientWidget()) return p;
  const QPoint g = ClientWidget()->mapToGlobal(QPoint(p.X, p.Y));
  return {g.x(), g.y()};
}

TPoint TCustomControl::ScreenToClient(TPoint p) const {
  if (!ClientWidget()) return p;
  const QPoint c = ClientWidget()->mapFromGlobal(QPoint(p.X, p.Y));
  return {c.x(), c.y()};
}

bool TCustomControl::Visible() const { return d_->visible; }
void TCustomControl::Show() {
  d_->visible = true;
  if (Widget()) Widget()->show();
}
void TCustomControl::Hide() {
  d_->visible = false;
  if (Widget()) Widget()->hide();
}
bool TCustomControl::Enabled() const { return Widget() && Widget()->isEnabled(); }
void TCustomControl::SetEnabled(bool value) {
  if (Widget()) Widget()->setEnabled(value);
}
int32_t TCustomControl::Tag() const { return WidgetTag(Widget()); }
void TCustomControl::SetTag(int32_t value) { SetWidgetTag(Widget(), value); }

TCanvas& TCustomControl::Canvas() {
  if (!canvas_) {
    // A 96 ppi surface, as the screen's logical resolution; measuring needs
    // no painter.
    d_->measureSurface = QImage(1, 1, QImage::Format_RGB32);
    auto canvas = std::make_unique<TQtCanvas>(d_->measureSurface);
    canvas->SetDrawingEnabled(false);
    canvas_ = std::move(canvas);
  }
  return *canvas_;
}

void TCustomControl::Invalidate() {
  if (ClientWidget()) ClientWidget()->update();
}

void TCustomControl::InvalidateRect(const TRect& r) {
  if (ClientWidget() && !r.IsEmpty()) ClientWidget()->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void TCustomControl::Update() {
  // Painting what is marked is the window's business: its update request
  // paints every marked widget in it now.
  if (!ClientWidget() || !ClientWidget()->isVisible()) return;
  QEvent request(QEvent::UpdateRequest);
  QCoreApplication::sendEvent(ClientWidget()->window(), &request);
}

void TCustomControl::Refresh() {
  if (ClientWidget() && ClientWidget()->isVisible()) ClientWidget()->repaint();
}

bool TCustomControl::Focused() const {
  QWidget* w = Widget();
  return w && (w->hasFocus() || (d_->client && d_->client->hasFocus()));
}

bool TCustomControl::CanFocus() const {
  QWidget* w = Widget();
  return w && w->isVisible() && w->isEnabled();
}

void TCustomControl::SetFocus() {
  if (QWidget* w = Widget()) w->setFocus(Qt::OtherFocusReason);
}

bool TCustomControl::ContainsFocus() const {
  QWidget* w = Widget();
  QWidget* focus = QApplication::focusWidget();
  return w && focus && (focus == w || w->isAncestorOf(focus));
}

void TCustomControl::SetFocusSilent() {
  if (!CanFocus()) return;
  silentFocus_ = true;
  SetFocus();
  silentFocus_ = false;
}

bool TCustomControl::FocusNextControl(bool backward) {
  QWidget* self = Widget();
  if (!self) return false;
  // The focus chain runs through every widget of the window once.
  QWidget* w = self;
  for (int guard = 0; guard < 100000; ++guard) {
    w = backward ? w->previousInFocusChain() : w->nextInFocusChain();
    if (!w || w == self) return false;
    if (self->isAncestorOf(w) || w->isWindow()) continue;
    if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() && w->window() == self->window()) {
      w->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
      return true;
    }
  }
  return false;
}

bool TCustomControl::TabStop() const { return Widget() && (Widget()->focusPolicy() & Qt::TabFocus); }

void TCustomControl::SetTabStop(bool value) {
  if (QWidget* w = Widget()) w->setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
}

void TCustomControl::SetCursor(TCursor value) {
  cursor_ = value;
  if (ClientWidget()) ClientWidget()->setCursor(ScreenCursor(value));
}

void TCustomControl::SetCapture() {
  if (ClientWidget()) ClientWidget()->grabMouse();
}

void TCustomControl::ReleaseCapture() {
  if (ClientWidget() && QWidget::mouseGrabber() == ClientWidget()) ClientWidget()->releaseMouse();
}

bool TCustomControl::HasCapture() const {
  return ClientWidget() && (QWidget::mouseGrabber() == ClientWidget() || d_->pressed != Qt::NoButton);
}

void TCustomControl::SetTimer(uint32_t id, uint32_t milliseconds) {
  if (!ClientWidget()) return;
  KillTimer(id);
  const int qtId = ClientWidget()->startTimer(static_cast<int>(std::min<uint32_t>(milliseconds, INT32_MAX)));
  if (qtId != 0) timers_[id] = qtId;
}

void TCustomControl::KillTimer(uint32_t id) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return;
  if (ClientWidget()) ClientWidget()->killTimer(it->second);
  timers_.erase(it);
}

void TCustomControl::SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info, bool disableNoScroll) {
  QScrollBar* sb = d_->Bar(bar);
  if (!sb) return;
  TScrollInfo s = info;
  s.Max = std::max(s.Max, s.Min);
  const int64_t span = int64_t{s.Max} - s.Min + 1;
  s.Page = static_cast<int32_t>(std::clamp<int64_t>(s.Page, 0, span));
  const int32_t top = static_cast<int32_t>(std::max<int64_t>(s.Min, int64_t{s.Max} - std::max(s.Page - 1, 0)));
  s.Pos = std::clamp(s.Pos, s.Min, top);
  d_->bars[bar] = s;
  const bool scrollable = top > s.Min;
  sb->setRange(s.Min, top);
  sb->setPageStep(std::max(s.Page, 1));
  sb->setValue(s.Pos);
  sb->setEnabled(scrollable);
  d_->barShown[bar] = scrollable || disableNoScroll;
  const Qt::ScrollBarPolicy policy = d_->barShown[bar] ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (bar == sbVertical) d_->area->setVerticalScrollBarPolicy(policy);
  else d_->area->setHorizontalScrollBarPolicy(policy);
}

TScrollInfo TCustomControl::GetScrollInfo(TScrollBarKind bar) const { return d_->bars[bar]; }

bool TCustomControl::ScrollBarVisible(TScrollBarKind bar) const { return d_->area && d_->barShown[bar]; }

int32_t TCustomControl::SetScrollPos(TScrollBarKind bar, int32_t pos) {
  QScrollBar* sb = d_->Bar(bar);
  TScrollInfo& s = d_->bars[bar];
  if (!sb) return s.Pos;
  s.Pos = std::clamp(pos, s.Min, static_cast<int32_t>(std::max<int64_t>(s.Min, int64_t{s.Max} - std::max(s.Page - 1, 0))));
  sb->setValue(s.Pos);
  return s.Pos;
}

void TCustomControl::SetLeftScrollBar(bool value) {
  if (d_->area) d_->area->setLayoutDirection(value ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCustomControl::SetFrame(TFrameKind kind) {
  if (!d_->area) return;
  switch (kind) {
    case fkNone: d_->area->setFrameStyle(QFrame::NoFrame); break;
    case fkThemed: d_->area->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken); break;
    case fkSunken:
      d_->area->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      d_->area->setLineWidth(2);
      break;
  }
}

void TCustomControl::ScrollWindow(int32_t dx, int32_t dy) {
  if (QWidget* c = ClientWidget()) c->scroll(dx, dy, c->rect());
}

std::vector<TChildWindow> TCustomControl::ChildWindows() const {
  std::vector<TChildWindow> out;
  if (!ClientWidget()) return out;
  for (QObject* o : ClientWidget()->children())
    if (o->isWidgetType() && !static_cast<QWidget*>(o)->isWindow()) out.emplace_back(static_cast<QWidget*>(o));
  return out;
}

void TCustomControl::SetImeEnabled(bool value) {
  if (QWidget* w = Widget()) w->setAttribute(Qt::WA_InputMethodEnabled, value);
}

void TCustomControl::UpdateImePosition() {
  if (Focused()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void TCustomControl::HandleException(std::string_view message) noexcept {
  try {
    qWarning("%s", std::string(message).c_str());
  } catch (...) {
  }
}

void TCustomControl::Paint(TCanvas&) {}
void TCustomControl::MouseDown(TMouseButton, TShiftState, int32_t, int32_t) {}
void TCustomControl::MouseMove(TShiftState, int32_t, int32_t) {}
void TCustomControl::MouseUp(TMouseButton, TShiftState, int32_t, int32_t) {}
void TCustomControl::DblClick() {}
void TCustomControl::MouseLeave() {}
void TCustomControl::KeyDown(TKey&, TShiftState) {}
void TCustomControl::KeyPress(char16_t&) {}
void TCustomControl::KeyUp(TKey&, TShiftState) {}
void TCustomControl::WMSetFocus(TFocusReason) {}
void TCustomControl::WMKillFocus(TFocusReason) {}
TDlgCodes TCustomControl::WMGetDlgCode() { return DLGC_WANTARROWS; }

bool TCustomControl::DoMouseWheel(TShiftState shift, int32_t wheelDelta, TPoint mousePos) {
  return wheelDelta < 0 ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos);
}

bool TCustomControl::DoMouseWheelDown(TShiftState, TPoint) { return false; }
bool TCustomControl::DoMouseWheelUp(TShiftState, TPoint) { return false; }
void TCustomControl::WMTimer(uint32_t) {}
void TCustomControl::Resize() {}
void TCustomControl::WMVScroll(TScrollCode, int32_t) {}
void TCustomControl::WMHScroll(TScrollCode, int32_t) {}
void TCustomControl::ImeComposition(std::u16string_view, int32_t) {}
void TCustomControl::ImeResult(std::u16string_view) {}
TRect TCustomControl::ImeCompositionRect() { return {}; }
void TCustomControl::TabletEvent(const TTabletPacket&) {}

uint32_t TCustomControl::AddTabletListener(TTabletListener listener) {
  const uint32_t id = nextTabletListener_++;
  tabletListeners_.emplace(id, std::move(listener));
  return id;
}

void TCustomControl::RemoveTabletListener(uint32_t id) { tabletListeners_.erase(id); }

TPoint GetCursorPos() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

TShiftState GetShiftState() {
  return ShiftStateOf(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
}

}  // namespace quillet
