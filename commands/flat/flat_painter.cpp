#include "commands/flat/flat_painter.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>

#include "commands/flat/flat_style.h"
#include "commands/font_roles.h"

namespace quillet {

namespace {

constexpr int kMenuFontPixels = 12;

bool Within(const QObject* o, const QObject* form) {
  for (; o; o = o->parent())
    if (o == form) return true;
  return false;
}

}  // namespace

TFlatPainter::TFlatPainter(QWidget* form)
    : form_(form), style_(std::make_unique<TFlatStyle>(*this)) {
  font_.setFamily(QString::fromUtf8(FontFamily(frMenu)));
  font_.setPixelSize(kMenuFontPixels);
}

TFlatPainter::~TFlatPainter() {
  // Every widget gets its previous style back before ours goes.
  if (active_) {
    active_ = false;
    InitItems(false);
    WatchLater();
  }
}

QStyle* TFlatPainter::Style() const { return style_.get(); }

TFlatScheme TFlatPainter::Scheme() const {
  int depth = ColorDepth;
  if (depth <= 0) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    depth = screen ? screen->depth() : 32;
  }
  TFlatScheme s;
  SetGlobalColor(s, Colors, depth);
  return s;
}

bool TFlatPainter::Qualifies(const QWidget* w) const {
  const auto kind = FlatKind(w);
  if (!kind || !(controls_ & FlatBit(*kind))) return false;
  switch (*kind) {
    case fcMainMenu:
      // The bar's own mark keeps the whole main menu out; a popup's own
      // mark is not asked, its items' marks are.
      for (const QObject* o = w; o; o = o->parent())
        if (qobject_cast<const QMenuBar*>(o)) return !IsFlatOff(o);
      return true;
    case fcPopupMenu:
    case fcToolbar:
      return true;
    default:
      break;
  }
  if (IsFlatExcluded(w)) return false;
  const auto container = FlatContainerOf(w);
  return container && (containers_ & FlatBit(*container));
}

std::optional<TFlatControl> TFlatPainter::PaintedKind(const QWidget* w) const {
  if (!active_ || !w || !Qualifies(w)) return std::nullopt;
  return FlatKind(w);
}

void TFlatPainter::Hook(QWidget* w) {
  if (w->style() == style_.get()) return;
  const bool own = w->testAttribute(Qt::WA_SetStyle);
  if (own && !override_) return;  // a style of its own is kept
  hooked_.push_back({w, own ? w->style() : nullptr});
  w->setStyle(style_.get());
}

void TFlatPainter::HookMenu(QWidget* menu) {
  Hook(menu);
  for (QAction* a : menu->actions())
    if (QMenu* sub = a->menu(); sub && sub->style() != style_.get()) HookMenu(sub);
}

void TFlatPainter::InitItem(QWidget* w) {
  if (!Qualifies(w)) return;
  if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w))
    HookMenu(w);
  else
    Hook(w);
}

void TFlatPainter::InitItems(bool enable) {
  if (!enable) {
    // What was hooked, newest first, whether still in the form or not.
    for (auto it = hooked_.rbegin(); it != hooked_.rend(); ++it)
      if (QWidget* w = it->Widget; w && w->style() == style_.get()) w->setStyle(it->Previous);
    hooked_.clear();
    return;
  }
  if (!form_) return;
  for (QWidget* w : form_->findChildren<QWidget*>()) InitItem(w);
}

void TFlatPainter::Rehook() {
  InitItems(false);
  InitItems(true);
}

void TFlatPainter::WatchLater() {
  qApp->removeEventFilter(this);
  if (active_ && autoDetect_) qApp->installEventFilter(this);
}

bool TFlatPainter::eventFilter(QObject* watched, QEvent* event) {
  // A widget is complete when it is polished, before it is first shown.
  if (event->type() == QEvent::Polish && watched->isWidgetType() && Within(watched->parent(), form_))
    InitItem(static_cast<QWidget*>(watched));
  return false;
}

void TFlatPainter::SetActive(bool on) {
  if (on == active_) return;
  active_ = on;
  InitItems(on);
  WatchLater();
}

void TFlatPainter::SetFont(const QFont& font) {
  font_ = font;
  for (const THooked& h : hooked_)
    if (h.Widget && (qobject_cast<QMenuBar*>(h.Widget) || qobject_cast<QMenu*>(h.Widget))) h.Widget->update();
}

void TFlatPainter::SetFlatControls(TFlatControls set) {
  if (set == controls_) return;
  controls_ = set;
  if (active_) Rehook();
}

void TFlatPainter::SetFlatContainers(TFlatContainers set) {
  if (set == containers_) return;
  containers_ = set;
  if (active_) Rehook();
}

void TFlatPainter::SetOverrideOwnerDraw(bool on) {
  if (on == override_) return;
  override_ = on;
  if (active_) Rehook();
}

void TFlatPainter::SetAutoDetect(bool on) {
  autoDetect_ = on;
  WatchLater();
}

}  // namespace quillet
