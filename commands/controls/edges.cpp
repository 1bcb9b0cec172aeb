#include "commands/controls/edges.h"

#include "platform/gfx/canvas.h"

namespace quillet {

namespace {

// Left and top in one colour, right and bottom in the other.
void TwoTone(TCanvas& c, const TRect& r, TColor topLeft, TColor bottomRight) {
  if (r.IsEmpty()) return;
  c.Brush().Style = bsSolid;
  c.Brush().Color = topLeft;
  c.FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1});
  c.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom - 1});
  c.Brush().Color = bottomRight;
  c.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
  c.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
}

TRect Inset(TRect r) {
  InflateRect(r, -1, -1);
  return r;
}

}  // namespace

void FrameRect(TCanvas& canvas, const TRect& r, TColor color) { TwoTone(canvas, r, color, color); }

void DrawSunkenEdge(TCanvas& canvas, const TRect& r) {
  TwoTone(canvas, r, clBtnShadow, clBtnHighlight);
  TwoTone(canvas, Inset(r), cl3DDkShadow, cl3DLight);
}

void DrawRaisedEdge(TCanvas& canvas, const TRect& r) {
  TwoTone(canvas, r, cl3DLight, cl3DDkShadow);
  TwoTone(canvas, Inset(r), clBtnHighlight, clBtnShadow);
}

}  // namespace quillet
