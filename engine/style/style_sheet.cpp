#include "engine/style/style_sheet.h"

#include "platform/gfx/canvas.h"

namespace quillet {

TDVStyle::TDVStyle() {
  ResetTextStyles();
  ResetParaStyles();
}

TDVStyle::~TDVStyle() = default;

void TDVStyle::ResetTextStyles() {
  textStyles_.Clear();
  struct Default {
    const char* name;
    TFontStyles style;
    TColor color;
    bool jump;
  };
  static constexpr Default defaults[] = {
      {"Normal text", 0, clWindowText, false}, {"Heading", fsBold, clBlue, false},
      {"Subheading", fsBold, clNavy, false},   {"Keywords", fsItalic, clMaroon, false},
      {"Jump 1", fsUnderline, clGreen, true},  {"Jump 2", fsUnderline, clGreen, true},
  };
  for (const Default& d : defaults) {
    TFontInfo& f = textStyles_.Add();
    f.StyleName = d.name;
    f.Style = d.style;
    f.Color = d.color;
    if (d.jump) {
      f.Jump = true;
      f.JumpCursor = JumpCursor;
    }
  }
}

void TDVStyle::ResetParaStyles() {
  paraStyles_.Clear();
  paraStyles_.Add();
  TParaInfo& centered = paraStyles_.Add();
  centered.StyleName = "Centered";
  centered.Alignment = dvaCenter;
}

void TDVStyle::ImageListRemoved(const TCustomImageList* imageList) { listStyles_.RemoveImageList(imageList); }

void TDVStyle::ApplyStyle(TCanvas& canvas, int32_t styleNo, TDVBiDiMode defBiDiMode) {
  bool doDefault = true;
  if (OnApplyStyle) OnApplyStyle(*this, canvas, styleNo, doDefault);
  if (doDefault) textStyles_.Items(styleNo).Apply(canvas, defBiDiMode);
}

void TDVStyle::ApplyStyleColor(TCanvas& canvas, int32_t styleNo, TDVTextDrawStates drawState, bool printing) {
  bool doDefault = true;
  if (OnApplyStyleColor) OnApplyStyleColor(*this, canvas, styleNo, drawState, doDefault);
  if (doDefault) textStyles_.Items(styleNo).ApplyColor(canvas, *this, drawState, printing);
}

void TDVStyle::DrawStyleText(const std::string& s, TCanvas& canvas, int32_t itemNo, int32_t offsetInItem,
                             int32_t styleNo, TCustomDVData* dvData, int32_t spaceBefore, int32_t left, int32_t top,
                             int32_t width, int32_t height, TDVTextDrawStates drawState, bool printing,
                             bool previewCorrection) {
  const TFontInfo& style = textStyles_.Items(styleNo);
  const std::string text = DV_ReturnCapitalized(s, style);
  ItemNo = itemNo;
  DVData = dvData;
  OffsetInItem = offsetInItem;
  bool doDefault = true;
  if (OnDrawStyleText)
    OnDrawStyleText(*this, text, canvas, styleNo, spaceBefore, left, top, width, height, drawState, doDefault);
  if (doDefault)
    style.Draw(text, canvas, styleNo, spaceBefore, left, top, width, height, *this, drawState, printing,
               previewCorrection);
}

bool TDVStyle::StyleHoverSensitive(int32_t styleNo) {
  const TFontInfo& style = textStyles_.Items(styleNo);
  bool sensitive = GetHoverColorByColor(style.HoverColor) != clNone || style.HoverBackColor != style.BackColor;
  if (OnStyleHoverSensitive) OnStyleHoverSensitive(*this, styleNo, sensitive);
  return sensitive;
}

void TDVStyle::DrawTextBack(TCanvas& canvas, int32_t itemNo, int32_t styleNo, TCustomDVData* dvData, int32_t left,
                            int32_t top, int32_t width, int32_t height, TDVTextDrawStates drawState) {
  if (!OnDrawTextBack) return;
  ItemNo = itemNo;
  DVData = dvData;
  bool doDefault = true;
  OnDrawTextBack(*this, canvas, styleNo, left, top, width, height, drawState, doDefault);
}

void TDVStyle::DrawCheckpoint(TCanvas& canvas, int32_t x, int32_t y, int32_t itemNo, int32_t xShift,
                              bool raiseEvent, int32_t clientWidth) {
  bool doDefault = true;
  if (OnDrawCheckpoint) OnDrawCheckpoint(*this, canvas, x, y, itemNo, xShift, raiseEvent, clientWidth, doDefault);
  if (!doDefault) return;
  TPen& pen = canvas.Pen();
  pen.Color = raiseEvent ? CheckpointEvColor : CheckpointColor;
  pen.Width = 1;
  canvas.Brush().Style = bsClear;
  if (itemNo != -1) {
    pen.Style = psSolid;
    canvas.Ellipse(Rect(x - 2, y - 2, x + 2, y + 2));
  }
  pen.Style = psDot;
  canvas.MoveTo(-xShift, y);
  canvas.LineTo(clientWidth, y);
  pen.Style = psSolid;
}

void TDVStyle::DrawPageBreak(TCanvas& canvas, int32_t y, int32_t xShift, TDVPageBreakType pageBreakType,
                             int32_t clientWidth) {
  bool doDefault = true;
  if (OnDrawPageBreak) OnDrawPageBreak(*this, canvas, y, xShift, pageBreakType, clientWidth, doDefault);
  if (!doDefault) return;
  TPen& pen = canvas.Pen();
  pen.Color = pageBreakType == dvpbPageBreak ? PageBreakColor : SoftPageBreakColor;
  pen.Style = psSolid;
  pen.Width = 1;
  const int32_t x2 = clientWidth - xShift - 8;
  canvas.MoveTo(-xShift, y);
  canvas.LineTo(x2, y);
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = clWindow;
  canvas.Polygon({{x2, y}, {x2 + 8, y + 8}, {x2, y + 8}});
}

void TDVStyle::DrawParaBack(TCanvas& canvas, int32_t paraNo, const TRect& rect) {
  bool doDefault = true;
  if (OnDrawParaBack) OnDrawParaBack(*this, canvas, paraNo, rect, doDefault);
  if (doDefault) paraStyles_.Items(paraNo).Background().Draw(rect, canvas);
}

}  // namespace quillet
