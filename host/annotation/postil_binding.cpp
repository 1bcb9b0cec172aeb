#include "host/annotation/postil_binding.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/print/print_component.h"
#include "engine/model/host_lines.h"
#include "engine/view/docview.h"

namespace quillet {

// The viewer's left-button events, taken before the viewer sees them.
class TPostilBinding::Filter : public QObject {
 public:
  explicit Filter(TPostilBinding& owner) : owner_(owner) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    // A quick second press comes as a double click: it starts a stroke too.
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (!press && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
      return QObject::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint p = mouse->position().toPoint();
    // No exception leaves an event handler: the stroke is dropped instead.
    try {
      if (press) return mouse->button() == Qt::LeftButton && owner_.MouseDown(p.x(), p.y());
      if (type == QEvent::MouseMove) return owner_.MouseMove(p.x(), p.y());
      return mouse->button() == Qt::LeftButton && owner_.MouseUp(p.x(), p.y());
    } catch (const std::exception& e) {
      owner_.pressed_ = false;
      owner_.view_.HandleException(e.what());
      return true;
    }
  }

 private:
  TPostilBinding& owner_;
};

TPostilBinding::TPostilBinding(TQvPostil& postil, TCustomDocView& view)
    : postil_(postil), view_(view), viewCursor_(view.NormalCursor), filter_(std::make_unique<Filter>(*this)) {
  view_.ClientWidget()->installEventFilter(filter_.get());
  view_.OnPaint = [this](TCustomDocView& sender, TCanvas& canvas, bool) {
    postil_.Paint(canvas, sender.HPos(), sender.VPos(), sender.VSmallStep());
  };
}

TPostilBinding::~TPostilBinding() {
  if (QWidget* client = view_.ClientWidget()) client->removeEventFilter(filter_.get());
  view_.OnPaint = nullptr;
  view_.NormalCursor = viewCursor_;
}

void TPostilBinding::ShowMode() {
  view_.NormalCursor = !postil_.IsPostil() ? viewCursor_ : SealPending() ? crPostilSeal : crPostilPen;
  view_.SetCursor(view_.NormalCursor);
}

void TPostilBinding::ArmSeal(std::string bmpID, std::string userName) {
  sealId_ = std::move(bmpID);
  sealUser_ = std::move(userName);
  ShowMode();
}

bool TPostilBinding::Active() const { return postil_.IsPostil() && InputAllowed; }


int32_t TPostilBinding::PenWidth() const {
  return PressedPenWidth(Pen.Width, Pressure ? Pressure->Pressure() : std::nullopt);
}

bool TPostilBinding::MouseDown(int32_t x, int32_t y) {
  if (!Active()) return false;
  pressed_ = true;
  if (SealPending()) return true;
  postil_.BeginDraw();
  postil_.AddPointM(x, y, Pen.Color, PenWidth(), view_.HPos(), view_.VPos(), view_.VSmallStep());
  last_ = TPoint{x, y};
  return true;
}

bool TPostilBinding::MouseMove(int32_t x, int32_t y) {
  if (!pressed_) return false;
  if (postil_.IsDraw()) {
    const int32_t width = PenWidth();
    postil_.AddPointL(x, y, Pen.Color, width, view_.HPos(), view_.VPos(), view_.VSmallStep());
    // Only the new segment needs painting while the stroke grows.
    const int32_t reach = width / 2 + 2;
    view_.InvalidateRect(TRect{std::min(last_.X, x) - reach, std::min(last_.Y, y) - reach,
                               std::max(last_.X, x) + reach + 1, std::max(last_.Y, y) + reach + 1});
    last_ = TPoint{x, y};
  }
  return true;
}

bool TPostilBinding::MouseUp(int32_t x, int32_t y) {
  if (!pressed_) return false;
  pressed_ = false;
  if (SealPending()) {
    const std::string id = std::exchange(sealId_, {});
    postil_.AddTuZhang(id, sealUser_, postil_.Today ? postil_.Today() : PostilToday(), x, y, view_.HPos(),
                       view_.VPos(), view_.VSmallStep());
    ShowMode();
  } else if (postil_.IsDraw()) {
    postil_.EndDraw();
  }
  view_.Invalidate();
  if (OnDrawn) OnDrawn();
  return true;
}

void TPostilBinding::LoadFromDocument() {
  postil_.loadPostil(view_.DVData().HostLines().allPostil);
  view_.Invalidate();
}

void TPostilBinding::SaveToDocument() { postil_.Save(view_.DVData().HostLines().allPostil); }

void TPostilBinding::BindPrint(TDVPrint& print) {
  print.OnPagePrepaint = [this](TDVPrint& sender, int pageNo, TCanvas& canvas, bool, const TRect&,
                                const TRect& printAreaRect) { PrintPage(sender, pageNo, canvas, printAreaRect); };
}

void TPostilBinding::PrintPage(const TDVPrint& print, int pageNo, TCanvas& canvas, const TRect& printAreaRect) {
  postil_.PrintPaint(canvas, printAreaRect, PageSpan(print, view_, pageNo));
}

TPostilPageSpan TPostilBinding::PageSpan(const TDVPrint& print, const TCustomDocView& view, int pageNo) {
  const TCustomMainPtblDVData& paper = print.DocView().DVData();
  const TDocViewDVData& screen = view.DVData();
  // Where page p's first line stands: its top in the viewer, and its place
  // below the print area's top on paper.
  auto anchor = [&](int p, int32_t& viewY, int32_t& printY) {
    if (p < 1 || p > paper.PagesCount()) return false;
    int first = 0, last = 0, part = 0;
    paper.GetDrawItemsRange(p, first, last, part);
    if (first < 0 || first >= paper.DrawItems.Count()) return false;
    int itemNo = 0;
    int32_t itemOffs = 0;
    paper.DrawItem2Item(first, paper.GetOffsBeforeDrawItem(first), itemNo, itemOffs);
    int drawItemNo = -1;
    int32_t drawItemOffs = 0;
    screen.Item2DrawItem(itemNo, itemOffs, drawItemNo, drawItemOffs);
    if (drawItemNo < 0 || drawItemNo >= screen.DrawItems.Count()) return false;
    viewY = screen.DrawItems[drawItemNo]->Top;
    printY = paper.DrawItems[first]->Top - paper.Pages()[static_cast<size_t>(p - 1)].StartY;
    return true;
  };
  TPostilPageSpan span;
  int32_t unused = 0;
  if (!anchor(pageNo, span.ViewAnchor, span.PrintAnchor)) {
    span.ViewFrom = span.ViewTo = 0;  // nothing lands on a page the viewer cannot place
    return span;
  }
  if (pageNo > 1) span.ViewFrom = span.ViewAnchor;
  if (!anchor(pageNo + 1, span.ViewTo, unused)) span.ViewTo = INT32_MAX;
  return span;
}

}  // namespace quillet
