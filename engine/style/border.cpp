#include "engine/style/border.h"

#include "engine/style/similarity_weights.h"
#include "platform/core/arith.h"
#include "platform/gfx/canvas.h"

namespace quillet {

namespace {

// Screen length to device length; an unset screen resolution leaves it as it is.
int32_t ScaleToDevice(int32_t value, int32_t devicePPI, int32_t screenPPI) {
  return screenPPI == 0 ? value : MulDiv(value, devicePPI, screenPPI);
}

int32_t ScaleX(int32_t value, const TDVScreenAndDevice& sad) {
  return ScaleToDevice(value, sad.ppixDevice, sad.ppixScreen);
}

int32_t ScaleY(int32_t value, const TDVScreenAndDevice& sad) {
  return ScaleToDevice(value, sad.ppiyDevice, sad.ppiyScreen);
}

bool Ignored(TDVParaInfoProperties ignoreList, TDVParaInfoProperty p) {
  return DVHasParaInfoProperty(ignoreList, p);
}

}  // namespace

// ---------------------------------------------------------------- TDVRect

void TDVRect::AssignToRect(TRect& r) const {
  r.Left = Left;
  r.Top = Top;
  r.Right = Right;
  r.Bottom = Bottom;
}

void TDVRect::AssignToRectIfGreater(TRect& r) const {
  if (r.Left < Left) r.Left = Left;
  if (r.Top < Top) r.Top = Top;
  if (r.Right < Right) r.Right = Right;
  if (r.Bottom < Bottom) r.Bottom = Bottom;
}

void TDVRect::InflateRect(TRect& r) const {
  r.Left -= Left;
  r.Top -= Top;
  r.Right += Right;
  r.Bottom += Bottom;
}

void TDVRect::InflateRectSaD(TRect& r, const TDVScreenAndDevice& sad) const {
  r.Left -= ScaleX(Left, sad);
  r.Top -= ScaleY(Top, sad);
  r.Right += ScaleX(Right, sad);
  r.Bottom += ScaleY(Bottom, sad);
}

bool TDVRect::IsEqualEx(const TDVRect& value, bool ignoreLeft, bool ignoreTop, bool ignoreRight,
                        bool ignoreBottom) const {
  return (ignoreLeft || Left == value.Left) && (ignoreTop || Top == value.Top) &&
         (ignoreRight || Right == value.Right) && (ignoreBottom || Bottom == value.Bottom);
}

int32_t TDVRect::SimilarityValue(const TDVRect& value, int32_t weight) const {
  return DV_CompareInts(Left, value.Left, weight) + DV_CompareInts(Top, value.Top, weight) +
         DV_CompareInts(Right, value.Right, weight) + DV_CompareInts(Bottom, value.Bottom, weight);
}

// --------------------------------------------------------- TDVBooleanRect

void TDVBooleanRect::SetValues(bool left, bool top, bool right, bool bottom) {
  Left = left;
  Top = top;
  Right = right;
  Bottom = bottom;
}

bool TDVBooleanRect::IsEqual2(bool left, bool top, bool right, bool bottom) const {
  return Left == left && Top == top && Right == right && Bottom == bottom;
}

bool TDVBooleanRect::IsAllEqual(bool value) const { return IsEqual2(value, value, value, value); }

bool TDVBooleanRect::IsEqualEx(const TDVBooleanRect& value, bool ignoreLeft, bool ignoreTop, bool ignoreRight,
                               bool ignoreBottom) const {
  return (ignoreLeft || Left == value.Left) && (ignoreTop || Top == value.Top) &&
         (ignoreRight || Right == value.Right) && (ignoreBottom || Bottom == value.Bottom);
}

// -------------------------------------------------------------- TDVBorder

void TDVBorder::Draw(const TRect& r, TCanvas& canvas) const {
  if (Style == dvbNone) return;
  TRect rect = r;
  BorderOffsets.InflateRect(rect);
  DoDraw(rect, canvas, 1, InternalWidth, Width);
}

void TDVBorder::DrawSaD(const TRect& r, TCanvas& canvas, const TDVScreenAndDevice& sad) const {
  if (Style == dvbNone) return;
  TRect rect{ScaleX(r.Left, sad), ScaleY(r.Top, sad), ScaleX(r.Right, sad), ScaleY(r.Bottom, sad)};
  BorderOffsets.InflateRectSaD(rect, sad);
  DoDraw(rect, canvas, ScaleY(1, sad), ScaleY(InternalWidth, sad), ScaleY(Width, sad));
}

void TDVBorder::DoDraw(TRect r, TCanvas& canvas, int32_t onePixel, int32_t internalWidth, int32_t width) const {
  int passes = 0;
  switch (Style) {
    case dvbNone: return;
    case dvbSingle: passes = 1; break;
    case dvbDouble:
    case dvbThickInside:
    case dvbThickOutside: passes = 2; break;
    case dvbTriple: passes = 3; break;
  }
  TPen& pen = canvas.Pen();
  pen.Style = psSolid;
  pen.Color = Color;
  pen.Width = width;
  for (int k = passes; k >= 1; --k) {
    const bool thick = (k == 1 && Style == dvbThickOutside) || (k == 2 && Style == dvbThickInside);
    pen.Width = thick ? 2 * width : width;
    // Each side goes there and back, since a line leaves out its end point.
    if (VisibleBorders.Top) {
      canvas.MoveTo(r.Left, r.Top);
      canvas.LineTo(r.Right, r.Top);
      canvas.LineTo(r.Left, r.Top);
    }
    if (VisibleBorders.Right) {
      canvas.MoveTo(r.Right, r.Top);
      canvas.LineTo(r.Right, r.Bottom);
      canvas.LineTo(r.Right, r.Top);
    }
    if (VisibleBorders.Bottom) {
      canvas.MoveTo(r.Right, r.Bottom);
      canvas.LineTo(r.Left, r.Bottom);
      canvas.LineTo(r.Right, r.Bottom);
    }
    if (VisibleBorders.Left) {
      canvas.MoveTo(r.Left, r.Bottom);
      canvas.LineTo(r.Left, r.Top);
      canvas.LineTo(r.Left, r.Bottom);
    }
    const int32_t step = internalWidth + onePixel;
    r.Left -= step;
    r.Top -= step;
    r.Right += step;
    r.Bottom += step;
    // A two-pixel pen spreads to one side of its line: shift the thick line
    // so that the gap beside it stays InternalWidth.
    if (width == 1) {
      if (Style == dvbThickOutside) {
        ++r.Right;
        ++r.Bottom;
      } else if (Style == dvbThickInside) {
        --r.Left;
        --r.Top;
      }
    }
  }
  pen.Width = 1;
}

bool TDVBorder::IsEqual(const TDVBorder& value) const {
  return Color == value.Color && Style == value.Style && Width == value.Width &&
         InternalWidth == value.InternalWidth && VisibleBorders.IsEqual(value.VisibleBorders) &&
         BorderOffsets.IsEqual(value.BorderOffsets);
}

bool TDVBorder::IsEqual_Para(const TDVBorder& value, TDVParaInfoProperties ignoreList) const {
  const auto ign = [ignoreList](TDVParaInfoProperty p) { return Ignored(ignoreList, p); };
  return (ign(dvpiBorder_Color) || Color == value.Color) && (ign(dvpiBorder_Style) || Style == value.Style) &&
         (ign(dvpiBorder_Width) || Width == value.Width) &&
         (ign(dvpiBorder_InternalWidth) || InternalWidth == value.InternalWidth) &&
         BorderOffsets.IsEqualEx(value.BorderOffsets, ign(dvpiBorder_BO_Left), ign(dvpiBorder_BO_Top),
                                 ign(dvpiBorder_BO_Right), ign(dvpiBorder_BO_Bottom)) &&
         VisibleBorders.IsEqualEx(value.VisibleBorders, ign(dvpiBorder_Vis_Left), ign(dvpiBorder_Vis_Top),
                                  ign(dvpiBorder_Vis_Right), ign(dvpiBorder_Vis_Bottom));
}

int32_t TDVBorder::SimilarityValue(const TDVBorder& value) const {
  struct Side {
    bool ownShown, otherShown;
    int32_t ownOffset, otherOffset;
  };
  const bool ownAny = Style != dvbNone, otherAny = value.Style != dvbNone;
  const Side sides[4] = {
      {ownAny && VisibleBorders.Left, otherAny && value.VisibleBorders.Left, BorderOffsets.Left,
       value.BorderOffsets.Left},
      {ownAny && VisibleBorders.Top, otherAny && value.VisibleBorders.Top, BorderOffsets.Top,
       value.BorderOffsets.Top},
      {ownAny && VisibleBorders.Right, otherAny && value.VisibleBorders.Right, BorderOffsets.Right,
       value.BorderOffsets.Right},
      {ownAny && VisibleBorders.Bottom, otherAny && value.VisibleBorders.Bottom, BorderOffsets.Bottom,
       value.BorderOffsets.Bottom},
  };
  int32_t both = 0;
  for (const Side& s : sides) both += s.ownShown && s.otherShown;

  int32_t result = 0;
  if (both > 0) {
    int32_t perSide = DV_CompareColors(Color, value.Color, DVSMW_EACHRGBCOLOR, DVSMW_COLORSET) +
                      DV_CompareInts(Width, value.Width, DVSMW_WIDTH) +
                      DV_CompareInts(InternalWidth, value.InternalWidth, DVSMW_WIDTH);
    if (Style == value.Style) perSide += DVSMW_BORDERSTYLE;
    result = perSide * both;
  }
  for (const Side& s : sides) {
    if (!s.ownShown && !s.otherShown)
      result += DVSMW_BORDERNOSIDE;
    else if (s.ownShown != s.otherShown)
      result -= DVSMW_BORDERNOSIDE;
    else
      result += DV_CompareInts(s.ownOffset, s.otherOffset, DVSMW_PADDING);
  }
  return result;
}

int32_t TDVBorder::GetTotalWidth() const {
  switch (Style) {
    case dvbNone: return 0;
    case dvbSingle: return Width;
    case dvbDouble: return 2 * Width + InternalWidth;
    case dvbTriple: return 3 * Width + 2 * InternalWidth;
    case dvbThickInside:
    case dvbThickOutside: return 3 * Width + InternalWidth;
  }
  return 0;
}

// ------------------------------------------------------ TDVBackgroundRect

void TDVBackgroundRect::Draw(const TRect& r, TCanvas& canvas) const {
  if (Color == clNone) return;
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = Color;
  canvas.Pen().Style = psClear;
  canvas.Rectangle(TRect{r.Left, r.Top, r.Right + 1, r.Bottom + 1});
  canvas.Pen().Style = psSolid;
  canvas.Brush().Style = bsClear;
}

bool TDVBackgroundRect::IsEqual(const TDVBackgroundRect& value) const {
  return Color == value.Color && BorderOffsets.IsEqual(value.BorderOffsets);
}

bool TDVBackgroundRect::IsEqual_Para(const TDVBackgroundRect& value, TDVParaInfoProperties ignoreList) const {
  const auto ign = [ignoreList](TDVParaInfoProperty p) { return Ignored(ignoreList, p); };
  return (ign(dvpiBackground_Color) || Color == value.Color) &&
         BorderOffsets.IsEqualEx(value.BorderOffsets, ign(dvpiBackground_BO_Left), ign(dvpiBackground_BO_Top),
                                 ign(dvpiBackground_BO_Right), ign(dvpiBackground_BO_Bottom));
}

int32_t TDVBackgroundRect::SimilarityValue(const TDVBackgroundRect& value) const {
  return DV_CompareColors(Color, value.Color, DVSMW_EACHRGBBCOLOR, DVSMW_BCOLORSET) +
         BorderOffsets.SimilarityValue(value.BorderOffsets, DVSMW_PADDING);
}

}  // namespace quillet
