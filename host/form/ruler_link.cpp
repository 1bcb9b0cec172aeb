#include "host/form/ruler_link.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "commands/actions/style_actions.h"
#include "commands/ruler/ruler.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"

namespace quillet {

namespace {

// From a handle's left edge to its middle column.
constexpr int32_t kHandleMiddle = TDVRuler::HandleWidth / 2;

// Moves the three indents so that no step on the way is closer than the
// ruler allows: the right one first when it moves right.
void PlaceIndents(TDVRuler& ruler, int32_t first, int32_t left, int32_t right) {
  const bool rightFirst = right > ruler.IndentRight();
  if (rightFirst) ruler.SetIndentRight(right);
  ruler.SetIndentLeft(left);
  ruler.SetIndentFirst(first);
  if (!rightFirst) ruler.SetIndentRight(right);
}

}  // namespace

TRulerLink::TRulerLink(TDVRuler& ruler, TCustomDocViewEdit& editor) : ruler_(ruler), editor_(editor) {
  ruler_.SetDocView(&editor_);
  editor_.OnCurParaStyleChanged = [this](TCustomDocView&) { Follow(); };
  ruler_.OnIndentChange = [this](TDVRuler&, int handle) { ApplyIndents(handle); };
  ruler_.OnMarginChange = [this](TDVRuler&, int side) { ApplyMargin(side); };
  ruler_.installEventFilter(this);
  editor_.ClientWidget()->installEventFilter(this);
}

TRulerLink::~TRulerLink() {
  editor_.OnCurParaStyleChanged = nullptr;
  ruler_.OnIndentChange = nullptr;
  ruler_.OnMarginChange = nullptr;
  ruler_.SetDocView(nullptr);
}

bool TRulerLink::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) Follow();
  return QObject::eventFilter(watched, event);
}

void TRulerLink::Follow() {
  const int32_t leftEdge = editor_.LeftMargin;
  const int32_t rightEdge = editor_.ClientWidth() - editor_.RightMargin;
  int32_t first = ruler_.IndentFirst(), left = ruler_.IndentLeft(), right = ruler_.IndentRight();
  const TDVStyle* style = editor_.Style();
  if (style && style->ParaStyles().IsValidIndex(editor_.CurParaStyleNo())) {
    const TParaInfo& para = style->ParaStyles()[editor_.CurParaStyleNo()];
    left = leftEdge + para.LeftIndent - kHandleMiddle;
    first = left + para.FirstIndent;
    right = rightEdge - para.RightIndent - kHandleMiddle;
  }
  // A margin move carries the indents along and is refused when they cannot
  // follow. So the indents first go where the move will carry them to their
  // places, then the margins move, then the indents are placed once more.
  for (int round = 0; round < 2; ++round) {
    const int32_t marginLeft = leftEdge - ruler_.BorderLeft();
    const int32_t marginRight = ruler_.width() - ruler_.BorderRight() - rightEdge;
    const int32_t leftShift = marginLeft - ruler_.MarginLeft(), rightShift = ruler_.MarginRight() - marginRight;
    PlaceIndents(ruler_, first - leftShift, left - leftShift, right - rightShift);
    ruler_.SetMarginLeft(marginLeft);
    ruler_.SetMarginRight(marginRight);
    PlaceIndents(ruler_, first, left, right);
  }
}

void TRulerLink::ApplyIndents(int handle) {
  const int32_t leftIndent = ruler_.IndentLeft() + kHandleMiddle - ruler_.LeftEdge();
  const int32_t firstIndent = ruler_.IndentFirst() - ruler_.IndentLeft();
  const int32_t rightIndent = ruler_.RightEdge() - ruler_.IndentRight() - kHandleMiddle;
  // The first line keeps its place when the left indent moves alone.
  const bool first = handle != TDVRuler::rhRightIndent;
  const bool left = handle == TDVRuler::rhLeftIndent || handle == TDVRuler::rhBothLeftIndent;
  const bool right = handle == TDVRuler::rhRightIndent;
  const auto apply = [&](TParaInfo& style, int32_t) {
    if (first) style.FirstIndent = firstIndent;
    if (left) style.LeftIndent = leftIndent;
    if (right) style.RightIndent = rightIndent;
  };
  ConvertParaStyles(editor_, 0, apply);
  Follow();
}

void TRulerLink::ApplyMargin(int side) {
  if (side == TDVRuler::rmLeft)
    editor_.LeftMargin = ruler_.LeftEdge();
  else
    editor_.RightMargin = std::max(0, editor_.ClientWidth() - ruler_.RightEdge());
  editor_.Format();
  Follow();
}

}  // namespace quillet
