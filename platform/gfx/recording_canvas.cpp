#include "platform/gfx/recording_canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/text_chars.h"

namespace quillet {

namespace {

bool FullWidthCode(std::u16string_view units) {
  if (units.size() == 2) return true;  // a surrogate pair
  const char16_t u = units.empty() ? 0 : units[0];
  if (u < 0x2E80) return false;
  if (u >= 0xD800 && u <= 0xF8FF) return false;  // unpaired surrogates, private use
  if (u >= 0xFF61 && u <= 0xFFDC) return false;  // half-width forms
  return true;
}

std::string Hex(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, IsSystemColor(c) ? "$%08X" : "$%06X", static_cast<uint32_t>(c));
  return buf;
}

// Up to six significant digits, no trailing zeros: 2.25, -8, 0.333333.
std::string NumberText(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v == 0 ? 0.0 : v);
  return buf;
}

std::string PointText(TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); }

std::string RectText(const TRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom);
}

const char* PenStyleName(TPenStyle s) {
  static const char* const names[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "clear", "insideframe"};
  return s <= psInsideFrame ? names[s] : "?";
}

const char* PenModeName(TPenMode m) {
  static const char* const names[] = {"black",       "white",      "nop",         "not",        "copy",  "notcopy",
                                      "mergepennot", "maskpennot", "mergenotpen", "masknotpen", "merge", "notmerge",
                                      "mask",        "notmask",    "xor",         "notxor"};
  return m <= pmNotXor ? names[m] : "?";
}

const char* BrushStyleName(TBrushStyle s) {
  static const char* const names[] = {"solid",     "clear",     "horizontal", "vertical",
                                      "fdiagonal", "bdiagonal", "cross",      "diagcross"};
  return s <= bsDiagCross ? names[s] : "?";
}

}  // namespace

const char* CanvasOpName(TCanvasOp op) {
  switch (op) {
    case TCanvasOp::Line: return "Line";
    case TCanvasOp::Rectangle: return "Rectangle";
    case TCanvasOp::FillRect: return "FillRect";
    case TCanvasOp::Ellipse: return "Ellipse";
    case TCanvasOp::Polygon: return "Polygon";
    case TCanvasOp::Polyline: return "Polyline";
    case TCanvasOp::FocusRect: return "FocusRect";
    case TCanvasOp::Text: return "Text";
    case TCanvasOp::TextW: return "TextW";
    case TCanvasOp::TextWithAdvances: return "TextWithAdvances";
    case TCanvasOp::TextWithAdvancesW: return "TextWithAdvancesW";
    case TCanvasOp::Draw: return "Draw";
    case TCanvasOp::StretchDraw: return "StretchDraw";
    case TCanvasOp::Clip: return "Clip";
    case TCanvasOp::ResetClip: return "ResetClip";
    case TCanvasOp::Mapping: return "Mapping";
    case TCanvasOp::ResetMapping: return "ResetMapping";
    case TCanvasOp::LineF: return "LineF";
  }
  return "?";
}

std::string TCanvasRecord::ToString() const {
  // Appended piece by piece: chains of std::string operator+ trip a false
  // -Wrestrict warning in GCC 12's optimised builds.
  std::string s = CanvasOpName(Kind);
  auto add = [&s](std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts) s.append(part);
  };
  switch (Kind) {
    case TCanvasOp::Line: add({" ", PointText(Points.at(0)), "-", PointText(Points.at(1))}); break;
    case TCanvasOp::Polygon:
    case TCanvasOp::Polyline:
      for (const TPoint& p : Points) add({" ", PointText(p)});
      break;
    case TCanvasOp::Text:
    case TCanvasOp::TextW:
    case TCanvasOp::TextWithAdvances:
    case TCanvasOp::TextWithAdvancesW:
      add({" ", PointText(Points.at(0)), " \"", Text, "\""});
      if (Kind == TCanvasOp::TextWithAdvances || Kind == TCanvasOp::TextWithAdvancesW) {
        s += " [";
        for (size_t i = 0; i < Advances.size(); ++i) add({i ? "," : "", std::to_string(Advances[i])});
        s += "]";
      }
      break;
    case TCanvasOp::Draw:
      add({" ", PointText(Points.at(0)), " ", GraphicClass, " ", std::to_string(GraphicSize.cx), "x",
           std::to_string(GraphicSize.cy)});
      break;
    case TCanvasOp::StretchDraw:
      add({" ", RectText(Rect), " ", GraphicClass, " ", std::to_string(GraphicSize.cx), "x",
           std::to_string(GraphicSize.cy)});
      break;
    case TCanvasOp::Mapping:
      add({" ", RectText(Rect), " -> ", RectText({Points.at(0).X, Points.at(0).Y, Points.at(1).X, Points.at(1).Y})});
      break;
    case TCanvasOp::LineF:
      add({" ", NumberText(Floats.at(0)), ",", NumberText(Floats.at(1)), "-", NumberText(Floats.at(2)), ",",
           NumberText(Floats.at(3)), " w", NumberText(Floats.at(4)), " ", Hex(Pen.Color)});
      break;
    case TCanvasOp::ResetClip:
    case TCanvasOp::ResetMapping: break;
    default: add({" ", RectText(Rect)}); break;
  }
  return s;
}

std::string TCanvasRecord::StateString() const {
  std::string styles;
  if (Font.Style & fsBold) styles += 'B';
  if (Font.Style & fsItalic) styles += 'I';
  if (Font.Style & fsUnderline) styles += 'U';
  if (Font.Style & fsStrikeOut) styles += 'S';
  return "pen=" + Hex(Pen.Color) + "/" + std::to_string(Pen.Width) + "/" + PenStyleName(Pen.Style) + "/" +
         PenModeName(Pen.Mode) + " brush=" + Hex(Brush.Color) + "/" + BrushStyleName(Brush.Style) + " font=\"" +
         Font.Name + "\"/" + std::to_string(Font.Height) + "/" + styles + "/" + Hex(Font.Color) + "/cs" +
         std::to_string(Font.Charset) + "/w" + std::to_string(Font.Width) + " extra=" + std::to_string(CharExtra) +
         " align=" + std::to_string(TextAlign) + " bk=" + (BkMode == bkOpaque ? "opaque/" : "transparent/") +
         Hex(BkColor);
}

TRecordingCanvas::TRecordingCanvas(int32_t pixelsPerInch) : ppiX_(pixelsPerInch), ppiY_(pixelsPerInch) {
  Font().PixelsPerInch = ppiY_;
}

void TRecordingCanvas::SetPixelsPerInch(int32_t ppiX, int32_t ppiY) {
  ppiX_ = ppiX;
  ppiY_ = ppiY;
  Font().PixelsPerInch = ppiY;
}

void TRecordingCanvas::OnMappingChanged() {
  if (!HasMapping()) {
    Add(TCanvasOp::ResetMapping);
    return;
  }
  TCanvasRecord& r = Add(TCanvasOp::Mapping);
  const TRect& v = Mapping().Viewport;
  r.Rect = Mapping().Window;
  r.Points = {{v.Left, v.Top}, {v.Right, v.Bottom}};
}

std::vector<TCanvasRecord> TRecordingCanvas::OfKind(TCanvasOp kind) const {
  std::vector<TCanvasRecord> out;
  for (const TCanvasRecord& r : log_)
    if (r.Kind == kind) out.push_back(r);
  return out;
}

std::vector<std::string> TRecordingCanvas::Strings() const {
  std::vector<std::string> out;
  for (const TCanvasRecord& r : log_) out.push_back(r.ToString());
  return out;
}

std::vector<std::string> TRecordingCanvas::Strings(TCanvasOp kind) const {
  std::vector<std::string> out;
  for (const TCanvasRecord& r : log_)
    if (r.Kind == kind) out.push_back(r.ToString());
  return out;
}

namespace {

int32_t PixelHeight(const TFont& f) {
  const int64_t h = f.Height < 0 ? -static_cast<int64_t>(f.Height) : f.Height;
  return static_cast<int32_t>(std::clamp<int64_t>(h, 1, INT32_MAX));
}

}  // namespace

// The font height as a width: widened by the aspect of the logical units.
int32_t TRecordingCanvas::AspectHeight() const {
  const int32_t h = PixelHeight(Font());
  const double aspect = FontAspect();
  if (aspect == 1.0) return h;
  return static_cast<int32_t>(std::clamp<double>(std::round(h * aspect), 1, INT32_MAX));
}

int32_t TRecordingCanvas::HalfWidth() const {
  if (Font().Width != 0) return Font().Width == INT32_MIN ? INT32_MAX : std::abs(Font().Width);
  return std::max(1, AspectHeight() / 2);
}

int32_t TRecordingCanvas::FullWidth() const {
  if (Font().Width != 0) return static_cast<int32_t>(std::min<int64_t>(int64_t{2} * HalfWidth(), INT32_MAX));
  return AspectHeight();
}

TTextMetric TRecordingCanvas::GetTextMetrics() {
  const int32_t h = PixelHeight(Font());
  TTextMetric tm;
  tm.tmHeight = h;
  tm.tmAscent = static_cast<int32_t>(int64_t{h} * 4 / 5);
  tm.tmDescent = h - tm.tmAscent;
  tm.tmAveCharWidth = HalfWidth();
  tm.tmMaxCharWidth = FullWidth();
  tm.otmsUnderscorePosition = -std::max(1, h / 10);
  tm.otmsUnderscoreSize = std::max(1, h / 20);
  tm.otmsStrikeoutPosition = h / 3;
  tm.otmsStrikeoutSize = tm.otmsUnderscoreSize;
  return tm;
}

std::vector<int32_t> TRecordingCanvas::CharEnds(const TTextChars& chars, bool utf16) const {
  const int32_t half = HalfWidth(), full = FullWidth(), extra = GetTextCharacterExtra();
  std::vector<int32_t> ends;
  ends.reserve(chars.Count());
  int32_t x = 0;
  for (size_t k = 0; k < chars.Count(); ++k) {
    const bool wide = utf16 ? FullWidthCode(chars.Wide(k)) : chars.SrcLength(k) == 2;
    x += (wide ? full : half) + extra;
    ends.push_back(x);
  }
  return ends;
}

TSize TRecordingCanvas::TextExtentA(std::string_view text) {
  const TTextChars chars = SplitText8(text, CharsetToCodePage(Font().Charset), false);
  const std::vector<int32_t> ends = CharEnds(chars, false);
  return {ends.empty() ? 0 : ends.back(), PixelHeight(Font())};
}

TSize TRecordingCanvas::TextExtentW(std::u16string_view text) {
  const std::vector<int32_t> ends = CharEnds(SplitText16(text), true);
  return {ends.empty() ? 0 : ends.back(), PixelHeight(Font())};
}

std::vector<int32_t> TRecordingCanvas::TextExtentExA(std::string_view text) {
  const TTextChars chars = SplitText8(text, CharsetToCodePage(Font().Charset), false);
  return SpreadToSource(chars, CharEnds(chars, false));
}

std::vector<int32_t> TRecordingCanvas::TextExtentExW(std::u16string_view text) {
  const TTextChars chars = SplitText16(text);
  return SpreadToSource(chars, CharEnds(chars, true));
}

void TRecordingCanvas::CharAdvancesA(std::string_view text, std::vector<int32_t>& advances) {
  advances.resize(text.size());
  const int64_t half = int64_t{HalfWidth()} * 64, full = int64_t{FullWidth()} * 64;
  const int codePage = ResolveCodePage(CharsetToCodePage(Font().Charset));
  for (size_t i = 0; i < text.size();) {
    const size_t next = CharNextEx(codePage, text, i);
    advances[i] = static_cast<int32_t>(std::min<int64_t>(next - i == 2 ? full : half, INT32_MAX));
    for (size_t k = i + 1; k < next; ++k) advances[k] = -1;
    i = next;
  }
}

void TRecordingCanvas::CharAdvancesW(std::u16string_view text, std::vector<int32_t>& advances) {
  advances.resize(text.size());
  const int64_t half = int64_t{HalfWidth()} * 64, full = int64_t{FullWidth()} * 64;
  for (size_t i = 0; i < text.size();) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    const size_t len = pair ? 2 : 1;
    advances[i] = static_cast<int32_t>(std::min<int64_t>(FullWidthCode(text.substr(i, len)) ? full : half, INT32_MAX));
    if (pair) advances[i + 1] = -1;
    i += len;
  }
}

TCanvasRecord& TRecordingCanvas::Add(TCanvasOp kind) {
  TCanvasRecord& r = log_.emplace_back();
  r.Kind = kind;
  r.Pen = Pen();
  r.Brush = Brush();
  r.Font = Font();
  r.CharExtra = GetTextCharacterExtra();
  r.TextAlign = GetTextAlign();
  r.BkMode = GetBkMode();
  r.BkColor = GetBkColor();
  r.HasClip = hasClip_;
  r.Clip = hasClip_ ? clip_ : TRect{};
  return r;
}

void TRecordingCanvas::AddText(TCanvasOp kind, int32_t x, int32_t y, const TTextChars& chars, bool utf16,
                               std::string raw, const std::vector<int32_t>* advances) {
  int32_t width = 0;
  if (advances) {
    std::vector<int32_t> adv;
    std::vector<bool> have;
    AdvancesPerChar(chars, utf16 ? raw.size() / 2 : raw.size(), *advances, adv, have);
    const std::vector<int32_t> natural = CharEnds(chars, utf16);
    for (size_t k = 0; k < chars.Count(); ++k) width += have[k] ? adv[k] : natural[k] - (k ? natural[k - 1] : 0);
  } else {
    const std::vector<int32_t> ends = CharEnds(chars, utf16);
    width = ends.empty() ? 0 : ends.back();
  }
  const TPoint reference = (GetTextAlign() & TA_UPDATECP) ? PenPos() : TPoint{x, y};
  const TPoint topLeft = PlaceText(x, y, width, GetTextMetrics());
  TCanvasRecord& r = Add(kind);
  r.Points = {reference};
  r.Rect = {topLeft.X, topLeft.Y, topLeft.X + width, topLeft.Y + PixelHeight(Font())};
  r.Text = Utf16ToUtf8(chars.wide);
  r.Raw = std::move(raw);
  if (advances) r.Advances = *advances;
}

namespace {

std::string Utf16LeBytes(std::u16string_view text) {
  std::string raw;
  raw.reserve(text.size() * 2);
  for (char16_t u : text) {
    raw.push_back(static_cast<char>(u & 0xFF));
    raw.push_back(static_cast<char>(u >> 8));
  }
  return raw;
}

}  // namespace

void TRecordingCanvas::TextOutA(int32_t x, int32_t y, std::string_view text) {
  const TTextChars chars = SplitText8(text, CharsetToCodePage(Font().Charset), true);
  AddText(TCanvasOp::Text, x, y, chars, false, std::string(text), nullptr);
}

void TRecordingCanvas::TextOutW(int32_t x, int32_t y, std::u16string_view text) {
  AddText(TCanvasOp::TextW, x, y, SplitText16(text), true, Utf16LeBytes(text), nullptr);
}

void TRecordingCanvas::TextOutWithAdvancesA(int32_t x, int32_t y, std::string_view text,
                                            const std::vector<int32_t>& advances) {
  const TTextChars chars = SplitText8(text, CharsetToCodePage(Font().Charset), true);
  AddText(TCanvasOp::TextWithAdvances, x, y, chars, false, std::string(text), &advances);
}

void TRecordingCanvas::TextOutWithAdvancesW(int32_t x, int32_t y, std::u16string_view text,
                                            const std::vector<int32_t>& advances) {
  AddText(TCanvasOp::TextWithAdvancesW, x, y, SplitText16(text), true, Utf16LeBytes(text), &advances);
}

void TRecordingCanvas::DrawLine(TPoint from, TPoint to) { Add(TCanvasOp::Line).Points = {from, to}; }

void TRecordingCanvas::Rectangle(const TRect& r) { Add(TCanvasOp::Rectangle).Rect = r; }
void TRecordingCanvas::FillRect(const TRect& r) { Add(TCanvasOp::FillRect).Rect = r; }
void TRecordingCanvas::Ellipse(const TRect& r) { Add(TCanvasOp::Ellipse).Rect = r; }
void TRecordingCanvas::DrawFocusRect(const TRect& r) { Add(TCanvasOp::FocusRect).Rect = r; }
void TRecordingCanvas::Polygon(const std::vector<TPoint>& points) { Add(TCanvasOp::Polygon).Points = points; }
void TRecordingCanvas::Polyline(const std::vector<TPoint>& points) { Add(TCanvasOp::Polyline).Points = points; }

void TRecordingCanvas::LinesF(const TLineF* lines, size_t count, double width, TColor color, double dx, double dy) {
  for (size_t i = 0; i < count; ++i) {
    TCanvasRecord& r = Add(TCanvasOp::LineF);
    const TLineF& l = lines[i];
    r.Floats = {l.X1 + dx, l.Y1 + dy, l.X2 + dx, l.Y2 + dy, width};
    r.Pen.Color = color;
  }
}

void TRecordingCanvas::IntersectClipRect(const TRect& r) {
  if (hasClip_) {
    TRect both;
    IntersectRect(both, clip_, r);
    clip_ = both;
  } else {
    clip_ = r;
    hasClip_ = true;
  }
  Add(TCanvasOp::Clip).Rect = r;
}

void TRecordingCanvas::ResetClip() {
  hasClip_ = false;
  clip_ = {};
  Add(TCanvasOp::ResetClip);
}

void TRecordingCanvas::RestoreClip() {
  if (clipStack_.empty()) return;
  hasClip_ = clipStack_.back().first;
  clip_ = clipStack_.back().second;
  clipStack_.pop_back();
}

void TRecordingCanvas::Draw(int32_t x, int32_t y, const TGraphic& graphic) {
  TCanvasRecord& r = Add(TCanvasOp::Draw);
  r.Points = {{x, y}};
  r.GraphicClass = std::string(graphic.ClassName());
  r.GraphicSize = {graphic.Width(), graphic.Height()};
  r.Rect = Bounds(x, y, graphic.Width(), graphic.Height());
}

void TRecordingCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic) {
  TCanvasRecord& r = Add(TCanvasOp::StretchDraw);
  r.Rect = rect;
  r.GraphicClass = std::string(graphic.ClassName());
  r.GraphicSize = {graphic.Width(), graphic.Height()};
}

}  // namespace quillet
