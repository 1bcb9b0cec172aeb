#include "platform/gfx/qt_canvas.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRegion>
#include <QTransform>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>

#include "platform/core/code_page.h"
#include "platform/core/colors.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/qt_bitmap.h"
#include "platform/gfx/qt_color.h"
#include "platform/gfx/text_chars.h"

namespace quillet {

namespace {

constexpr size_t kFontCacheSize = 16;

TRect Normalized(const TRect& r) {
  return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QString ToQString(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<uint8_t>(s[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    if (n == 2 && b < 0xC2) return false;  // overlong
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<uint8_t>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

// Names read from documents are in the system code page; the project's own are UTF-8.
QString FamilyName(const std::string& name) {
  if (name.empty()) return QStringLiteral("sans-serif");
  if (IsUtf8(name)) return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  return ToQString(MultiByteToWideChar(CP_ACP, name));
}

QPainter::CompositionMode CompositionFor(TPenMode mode) {
  switch (mode) {
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;  // copy; black and white take their colour
  }
}

QColor ModeColor(TPenMode mode, TColor color) {
  if (mode == pmBlack) return Qt::black;
  if (mode == pmWhite) return Qt::white;
  return ToQColor(color);
}

QPen MakePen(const TPen& pen) {
  if (pen.Style == psClear) return QPen(Qt::NoPen);
  const QColor color = ModeColor(pen.Mode, pen.Color);
  if (pen.Width > 1) return QPen(color, pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  // One device pixel whatever the transformation; the flat cap leaves out the end point.
  QPen q(color, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  q.setCosmetic(true);
  switch (pen.Style) {
    case psDash: q.setDashPattern({18, 6}); break;
    case psDot: q.setDashPattern({3, 3}); break;
    case psDashDot: q.setDashPattern({9, 6, 3, 6}); break;
    case psDashDotDot: q.setDashPattern({9, 3, 3, 3, 3, 3}); break;
    default: break;
  }
  return q;
}

QBrush MakeBrush(const TBrush& brush, const QColor& color) {
  switch (brush.Style) {
    case bsClear: return QBrush(Qt::NoBrush);
    case bsHorizontal: return QBrush(color, Qt::HorPattern);
    case bsVertical: return QBrush(color, Qt::VerPattern);
    case bsFDiagonal: return QBrush(color, Qt::FDiagPattern);
    case bsBDiagonal: return QBrush(color, Qt::BDiagPattern);
    case bsCross: return QBrush(color, Qt::CrossPattern);
    case bsDiagCross: return QBrush(color, Qt::DiagCrossPattern);
    default: return QBrush(color, Qt::SolidPattern);
  }
}

// A font as Qt draws it, with the metrics the canvas reports and the advance
// of every character met so far, in 1/64 pixel (the font engine's own unit,
// so sums of them are exact and any piece of a text measures the same as the
// whole text's positions say).
// The advance of every character met so far in one face at one size, in
// 1/64 pixel, by code point and by 8-bit code. Canvases on devices of the
// same kind and resolution share it, so that an editor made for a moment
// (a hidden editor converting cells) does not ask Qt again for every
// character the others have measured.
struct TAdvanceTable {
  // Code points of the basic plane in pages of 256 (-1: not measured yet).
  std::unique_ptr<std::array<int32_t, 256>> pages[256];
  std::unordered_map<char32_t, int32_t> supplementary;
  // By code in the font's code page (the byte, or lead << 8 | trail).
  std::unique_ptr<std::array<int32_t, 256>> pages8[256];

  static int32_t& Slot(std::unique_ptr<std::array<int32_t, 256>> (&book)[256], uint32_t code) {
    auto& page = book[code >> 8];
    if (!page) {
      page = std::make_unique<std::array<int32_t, 256>>();
      page->fill(-1);
    }
    return (*page)[code & 0xFF];
  }
};

struct TAdvanceKey {
  TFont font;
  double aspect;
  int devType, dpiX, dpiY;
  bool operator==(const TAdvanceKey& o) const {
    return aspect == o.aspect && devType == o.devType && dpiX == o.dpiX && dpiY == o.dpiY && font == o.font;
  }
};

// Per thread: the tables hold no Qt objects and are filled without locks.
std::shared_ptr<TAdvanceTable> SharedAdvances(const TAdvanceKey& key) {
  constexpr size_t kShared = 64;
  thread_local std::vector<std::pair<TAdvanceKey, std::shared_ptr<TAdvanceTable>>> shared;  // most recent first
  for (size_t i = 0; i < shared.size(); ++i)
    if (shared[i].first == key) {
      std::rotate(shared.begin(), shared.begin() + static_cast<std::ptrdiff_t>(i),
                  shared.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      return shared.front().second;
    }
  shared.insert(shared.begin(), {key, std::make_shared<TAdvanceTable>()});
  if (shared.size() > kShared) shared.pop_back();
  return shared.front().second;
}

// A font as Qt draws it, with the metrics the canvas reports and the advance
// of every character met so far, in 1/64 pixel (the font engine's own unit,
// so sums of them are exact and any piece of a text measures the same as the
// whole text's positions say).
struct FontEntry {
  TFont key;
  double aspect = 1;  // the canvas's FontAspect when the font was made
  // How much the face is widened when drawn: the aspect for a font of
  // natural width, 1 for one with a Width (which stretches the face itself).
  double xScale = 1;
  QFont font;
  std::unique_ptr<QFontMetricsF> metrics;
  TTextMetric tm;
  std::shared_ptr<TAdvanceTable> advances;
  // The characters of the font's code page, for 8-bit text.
  std::unique_ptr<TCodePageUnits> units8;

  int32_t Measure(char32_t cp) const {
    char16_t units[2];
    size_t n = 1;
    if (cp >= 0x10000) {
      units[0] = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      units[1] = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
      n = 2;
    } else {
      units[0] = static_cast<char16_t>(cp);
    }
    const double w = metrics->horizontalAdvance(ToQString(std::u16string_view(units, n))) * xScale;
    return static_cast<int32_t>(std::clamp<double>(std::llround(w * 64), 0, INT32_MAX));
  }
  int32_t Advance64(char32_t cp) {
    if (cp >= 0x10000) {
      const auto it = advances->supplementary.find(cp);
      if (it != advances->supplementary.end()) return it->second;
      return advances->supplementary.emplace(cp, Measure(cp)).first->second;
    }
    int32_t& a = TAdvanceTable::Slot(advances->pages, cp);
    if (a < 0) a = Measure(cp);
    return a;
  }
  TCodePageUnits& Units8() {
    if (!units8) units8 = std::make_unique<TCodePageUnits>(CharsetToCodePage(key.Charset));
    return *units8;
  }
  // The advance of an 8-bit character by its code in the font's code page:
  // Advance64 of its unit, kept by code so that 8-bit text is measured with
  // one look-up a character.
  int32_t Advance8(uint16_t code) {
    int32_t& a = TAdvanceTable::Slot(advances->pages8, code);
    if (a < 0) a = Advance64(Units8().Unit(code));
    return a;
  }
  // Whole pixels of a sum of advances (never negative).
  static int32_t Pixels(int64_t sum64) { return static_cast<int32_t>(std::min<int64_t>((sum64 + 32) >> 6, INT32_MAX)); }
};

// A font whose Width is 0 is widened by `aspect` (TCanvas::FontAspect) so that
// it keeps its shape in logical units that are not square. The widening is a
// transformation at drawing rather than QFont's stretch, which fontconfig
// may answer with another face or with rounded advances.
std::unique_ptr<FontEntry> MakeFont(const TFont& f, double aspect, const QPaintDevice* device) {
  auto e = std::make_unique<FontEntry>();
  e->key = f;
  e->aspect = aspect;
  e->xScale = f.Width != 0 ? 1 : aspect;
  QFont& q = e->font;
  q.setFamily(FamilyName(f.Name));
  // Each character advances by its own width, as the platform lays out text.
  q.setKerning(false);
  q.setStyleStrategy(QFont::PreferNoShaping);
  q.setBold((f.Style & fsBold) != 0);
  q.setItalic((f.Style & fsItalic) != 0);
  q.setUnderline((f.Style & fsUnderline) != 0);
  q.setStrikeOut((f.Style & fsStrikeOut) != 0);
  int64_t em;
  if (f.Height > 0) {
    // A cell height: scale by the face's own ratio of em to ascent + descent.
    QFont probe(q);
    probe.setPixelSize(256);
    const QFontMetricsF pm(probe, device);
    const double cell = pm.ascent() + pm.descent();
    em = cell > 0 ? std::llround(f.Height * 256.0 / cell) : f.Height;
  } else {
    em = -static_cast<int64_t>(f.Height);
  }
  q.setPixelSize(static_cast<int>(std::clamp<int64_t>(em, 1, 0x7FFF)));
  if (f.Width != 0) {
    const double natural = QFontMetricsF(q, device).averageCharWidth();
    if (natural > 0)
      q.setStretch(
          static_cast<int>(std::clamp<int64_t>(std::llround(std::abs(int64_t{f.Width}) * 100.0 / natural), 1, 4000)));
  }
  e->metrics = std::make_unique<QFontMetricsF>(q, device);
  e->advances = SharedAdvances({f, aspect, device ? device->devType() : 0, device ? device->logicalDpiX() : 0,
                                device ? device->logicalDpiY() : 0});
  const QFontMetrics im(q, device);
  TTextMetric& tm = e->tm;
  tm.tmAscent = im.ascent();
  tm.tmDescent = im.descent();
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - q.pixelSize());
  tm.tmExternalLeading = std::max(0, im.leading());
  tm.tmAveCharWidth = f.Width != 0 ? static_cast<int32_t>(std::min<int64_t>(std::abs(int64_t{f.Width}), INT32_MAX))
                                   : static_cast<int32_t>(std::lround(e->metrics->averageCharWidth() * e->xScale));
  tm.tmMaxCharWidth = static_cast<int32_t>(std::lround(e->metrics->maxWidth() * e->xScale));
  tm.otmsUnderscoreSize = std::max(1, static_cast<int>(std::lround(e->metrics->lineWidth())));
  tm.otmsUnderscorePosition = -std::max(1, static_cast<int>(std::lround(e->metrics->underlinePos())));
  tm.otmsStrikeoutSize = tm.otmsUnderscoreSize;
  tm.otmsStrikeoutPosition = static_cast<int32_t>(std::lround(e->metrics->strikeOutPos()));
  return e;
}

}  // namespace

struct TQtCanvas::Impl {
  QPaintDevice* device = nullptr;
  QPainter own;
  QPainter* external = nullptr;
  std::function<void()> beforeBegin;
  bool drawingEnabled = true;
  int32_t ppiX = 96, ppiY = 96;

  // The painter's own transformation (an outside painter's at the start),
  // and the canvas's mapping from logical units into it.
  QTransform base;
  bool mapped = false;
  QTransform map;
  double aspect = 1;

  bool hasClip = false;
  // In surface units (the mapping's viewport side), as the clip was when it
  // was set: a mapping set afterwards, such as a preview's page, neither
  // moves nor scales it.
  TRect clip;
  std::vector<std::pair<bool, TRect>> clipStack;
  bool hasBaseClip = false;  // the clip an outside painter came with
  QRegion baseClip;

  std::vector<std::unique_ptr<FontEntry>> fonts;  // most recently used first

  // Where the last one-pixel line ended, and how far into its dash pattern.
  bool haveLineEnd = false;
  TPoint lineEnd;
  int dashPhase = 0;

  // False when there is nothing to draw on: the clip is empty, or the device
  // (an empty image) takes no painter.
  bool Visible() {
    if (!external && !P().isActive()) return false;
    if (hasClip && clip.IsEmpty()) return false;
    if (hasBaseClip && baseClip.isEmpty()) return false;
    if (hasClip && hasBaseClip && !baseClip.intersects(MappedClip())) return false;
    return true;
  }

  QPainter& P() {
    if (external) return *external;
    if (!own.isActive() && drawingEnabled) {
      if (beforeBegin) beforeBegin();
      if (device->width() <= 0 || device->height() <= 0) return own;
      own.begin(device);
      own.setRenderHint(QPainter::Antialiasing, false);
      own.setRenderHint(QPainter::SmoothPixmapTransform, false);
      ApplyClip();
    }
    return own;
  }

  QPainter* Active() { return external ? external : (own.isActive() ? &own : nullptr); }

  // The clip in the painter's own coordinates, where an outside painter's clip is too.
  QRegion MappedClip() const {
    if (clip.IsEmpty()) return QRegion();
    return QRegion(ToQRect(clip));
  }

  // A logical rectangle on the surface, its corners as ToSurface puts points.
  TRect SurfaceRect(const TRect& r) const {
    const TPoint topLeft = ToSurface(TPoint{r.Left, r.Top}), bottomRight = ToSurface(TPoint{r.Right, r.Bottom});
    return Normalized({topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y});
  }

  // Sets the clip and the transformation; the clip is set untransformed so
  // that it can be intersected with the outside painter's.
  void ApplyClip() {
    QPainter* p = Active();
    if (!p) return;  // applied when the painter begins
    p->setWorldTransform(base);
    if (hasClip) {
      // An empty region would mean no clip to Qt; drawing checks Visible() instead.
      QRegion region = MappedClip();
      if (hasBaseClip) region &= baseClip;
      p->setClipRegion(region);
    } else if (hasBaseClip) {
      p->setClipRegion(baseClip);
    } else {
      p->setClipping(false);
    }
    if (mapped) p->setWorldTransform(map * base);
  }

  // A logical point in the painter's own coordinates.
  TPoint ToSurface(TPoint pt) const {
    if (!mapped) return pt;
    const QPointF q = map.map(QPointF(pt.X, pt.Y));
    return {static_cast<int32_t>(std::clamp<double>(std::floor(q.x() + 0.5), INT32_MIN, INT32_MAX)),
            static_cast<int32_t>(std::clamp<double>(std::floor(q.y() + 0.5), INT32_MIN, INT32_MAX))};
  }

  FontEntry& FontFor(const TFont& f) {
    TFont key = f;
    key.Color = 0;  // drawing colour, not part of the face
    for (size_t i = 0; i < fonts.size(); ++i) {
      if (fonts[i]->key == key && fonts[i]->aspect == aspect) {
        std::rotate(fonts.begin(), fonts.begin() + static_cast<std::ptrdiff_t>(i),
                    fonts.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return *fonts.front();
      }
    }
    fonts.insert(fonts.begin(), MakeFont(key, aspect, device));
    if (fonts.size() > kFontCacheSize) fonts.pop_back();
    return *fonts.front();
  }
};

TQtCanvas::TQtCanvas(QPaintDevice& device) : d_(std::make_unique<Impl>()) {
  d_->device = &device;
  d_->ppiX = device.logicalDpiX();
  d_->ppiY = device.logicalDpiY();
  Font().PixelsPerInch = d_->ppiY;
  OnMappingChanged();
}

TQtCanvas::TQtCanvas(QPainter& painter) : d_(std::make_unique<Impl>()) {
  d_->external = &painter;
  d_->device = painter.device();
  d_->ppiX = d_->device->logicalDpiX();
  d_->ppiY = d_->device->logicalDpiY();
  d_->hasBaseClip = painter.hasClipping();
  if (d_->hasBaseClip) d_->baseClip = painter.clipRegion();
  d_->base = painter.worldTransform();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  Font().PixelsPerInch = d_->ppiY;
  OnMappingChanged();
}

TQtCanvas::~TQtCanvas() {
  if (d_->external) {
    d_->hasClip = false;
    d_->mapped = false;
    d_->ApplyClip();
  }
  EndPaint();
}

void TQtCanvas::SetDrawingEnabled(bool enabled) { d_->drawingEnabled = enabled; }

void TQtCanvas::OnMappingChanged() {
  d_->aspect = FontAspect();
  d_->mapped = HasMapping();
  if (d_->mapped) {
    const TRect& w = Mapping().Window;
    const TRect& v = Mapping().Viewport;
    const double sx = static_cast<double>(v.Width()) / w.Width(), sy = static_cast<double>(v.Height()) / w.Height();
    d_->map = QTransform(sx, 0, 0, sy, v.Left - w.Left * sx, v.Top - w.Top * sy);
  } else {
    d_->map.reset();
  }
  d_->ApplyClip();
}

void TQtCanvas::EndPaint() {
  if (!d_->external && d_->own.isActive()) d_->own.end();
}

void TQtCanvas::SetBeforeBegin(std::function<void()> hook) { d_->beforeBegin = std::move(hook); }

QPainter& TQtCanvas::Painter() { return d_->P(); }

QFont TQtCanvas::CurrentQFont() { return d_->FontFor(Font()).font; }

std::string TQtCanvas::ResolvedFamily() { return QFontInfo(CurrentQFont()).family().toStdString(); }

int32_t TQtCanvas::PixelsPerInchX() const { return d_->ppiX; }
int32_t TQtCanvas::PixelsPerInchY() const { return d_->ppiY; }

// ---------------------------------------------------------------- shapes

namespace {

// Sets up the painter for a shape in the pen's mode; false when the mode draws nothing.
bool PrepareShape(QPainter& p, const TCanvas& c, bool withBrush) {
  const TPen& pen = c.Pen();
  if (pen.Mode == pmNop) return false;
  p.setCompositionMode(CompositionFor(pen.Mode));
  p.setPen(MakePen(pen));
  p.setBrush(withBrush ? MakeBrush(c.Brush(), ModeColor(pen.Mode, c.Brush().Color)) : QBrush(Qt::NoBrush));
  p.setBrushOrigin(c.GetBrushOrigin().X, c.GetBrushOrigin().Y);
  const bool opaque = c.GetBkMode() == bkOpaque && c.GetBkColor() != clNone;
  p.setBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  if (opaque) p.setBackground(ToQColor(c.GetBkColor()));
  return true;
}

// Dash patterns of one-pixel pens, in pixels on and off.
const std::vector<int>* DashPattern(TPenStyle style) {
  static const std::vector<int> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3};
  switch (style) {
    case psDash: return &dash;
    case psDot: return &dot;
    case psDashDot: return &dashDot;
    case psDashDotDot: return &dashDotDot;
    default: return nullptr;
  }
}

// One-pixel lines rasterised here rather than by Qt, so that every segment
// paints its start point and leaves out its end point whatever its direction,
// and a pixel shared by two segments is painted once (which raster modes such
// as xor need). Runs of pixels go to the painter as rectangles.
class PixelLine {
 public:
  PixelLine(QPainter& p, QColor on, std::optional<QColor> off, const std::vector<int>* pattern, int& phase)
      : p_(p), on_(std::move(on)), off_(std::move(off)), pattern_(pattern), phase_(phase) {
    if (pattern_) {
      for (int n : *pattern_) period_ += n;
      phase_ %= period_;
    }
  }
  ~PixelLine() { Flush(); }

  void Segment(TPoint a, TPoint b) {
    const int64_t dx = int64_t{b.X} - a.X, dy = int64_t{b.Y} - a.Y;
    const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    const bool xMajor = adx >= ady;
    const int64_t n = xMajor ? adx : ady;
    for (int64_t i = 0; i < n; ++i) {
      // The nearest pixel to the ideal line; halves go away from the start.
      const int64_t minor = xMajor ? (2 * i * ady + adx) / (2 * adx) : (2 * i * adx + ady) / (2 * ady);
      const int64_t x = a.X + (xMajor ? i * sx : minor * sx);
      const int64_t y = a.Y + (xMajor ? minor * sy : i * sy);
      Pixel(static_cast<int>(x), static_cast<int>(y), xMajor);
    }
  }

 private:
  bool On() {
    if (!pattern_) return true;
    int at = phase_, k = 0;
    while (at >= (*pattern_)[static_cast<size_t>(k)]) at -= (*pattern_)[static_cast<size_t>(k++)];
    phase_ = (phase_ + 1) % period_;
    return k % 2 == 0;
  }

  void Pixel(int x, int y, bool horizontalRuns) {
    const bool on = On();
    if (!on && !off_) {
      Flush();
      return;
    }
    if (count_ > 0 && on == runOn_ && horizontalRuns == runHorizontal_) {
      if (horizontalRuns && y == run_.y() && (x == run_.left() - 1 || x == run_.right() + 1)) {
        run_ = run_.united(QRect(x, y, 1, 1));
        ++count_;
        return;
      }
      if (!horizontalRuns && x == run_.x() && (y == run_.top() - 1 || y == run_.bottom() + 1)) {
        run_ = run_.united(QRect(x, y, 1, 1));
        ++count_;
        return;
      }
    }
    Flush();
    run_ = QRect(x, y, 1, 1);
    runOn_ = on;
    runHorizontal_ = horizontalRuns;
    count_ = 1;
  }

  void Flush() {
    if (count_ == 0) return;
    p_.fillRect(run_, runOn_ ? on_ : *off_);
    count_ = 0;
  }

  QPainter& p_;
  QColor on_;
  std::optional<QColor> off_;
  const std::vector<int>* pattern_;
  int& phase_;
  int period_ = 0;
  QRect run_;
  bool runOn_ = true, runHorizontal_ = true;
  int count_ = 0;
};

}  // namespace

// One-pixel lines are rasterised in the painter's own pixels, whatever the mapping.
class TQtCanvas::Unmapped {
 public:
  Unmapped(const Impl& d, QPainter& p) : p_(d.mapped ? &p : nullptr) {
    if (p_) {
      saved_ = p.worldTransform();
      p.setWorldTransform(d.base);
    }
  }
  ~Unmapped() {
    if (p_) p_->setWorldTransform(saved_);
  }
  Unmapped(const Unmapped&) = delete;
  Unmapped& operator=(const Unmapped&) = delete;

 private:
  QPainter* p_;
  QTransform saved_;
};

// A one-pixel pen's lines; a dash pattern carries on from the previous line
// when this one starts where that one ended.
bool TQtCanvas::ThinLines(const std::vector<TPoint>& points, bool closed) {
  const TPen& pen = Pen();
  if (pen.Width > 1 || pen.Style == psClear || pen.Mode == pmNop) return false;
  QPainter& p = d_->P();
  p.setCompositionMode(CompositionFor(pen.Mode));
  std::optional<QColor> gaps;
  if (GetBkMode() == bkOpaque && GetBkColor() != clNone) gaps = ToQColor(GetBkColor());
  if (!(d_->haveLineEnd && d_->lineEnd == points.front())) d_->dashPhase = 0;
  {
    const Unmapped unmapped(*d_, p);
    PixelLine line(p, ModeColor(pen.Mode, pen.Color), gaps, DashPattern(pen.Style), d_->dashPhase);
    for (size_t i = 0; i + 1 < points.size(); ++i) line.Segment(d_->ToSurface(points[i]), d_->ToSurface(points[i + 1]));
    if (closed) line.Segment(d_->ToSurface(points.back()), d_->ToSurface(points.front()));
  }
  d_->haveLineEnd = true;
  d_->lineEnd = closed ? points.front() : points.back();
  return true;
}

void TQtCanvas::DrawLine(TPoint from, TPoint to) {
  if (from == to || !d_->Visible()) return;  // the only point is the end point
  if (ThinLines({from, to}, false)) return;
  QPainter& p = d_->P();
  if (!PrepareShape(p, *this, false)) return;
  p.drawLine(QPoint(from.X, from.Y), QPoint(to.X, to.Y));
}

void TQtCanvas::Rectangle(const TRect& rect) {
  const TRect r = Normalized(rect);
  if (r.IsEmpty() || !d_->Visible()) return;
  QPainter& p = d_->P();
  if (!PrepareShape(p, *this, true)) return;
  const TPen& pen = Pen();
  if (pen.Style == psClear) {
    // Without an outline the platform fills one pixel less to the right and below.
    p.setPen(Qt::NoPen);
    if (r.Width() > 1 && r.Height() > 1) p.drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    return;
  }
  if (pen.Width <= 1) {
    p.setPen(Qt::NoPen);
    if (r.Width() > 2 && r.Height() > 2) p.drawRect(QRect(r.Left + 1, r.Top + 1, r.Width() - 2, r.Height() - 2));
    if (r.Height() == 1) {
      // The sides fall on the same pixels; each is painted once.
      ThinLines({{r.Left, r.Top}, {r.Right, r.Top}}, false);
      return;
    }
    if (r.Width() == 1) {
      ThinLines({{r.Left, r.Top}, {r.Left, r.Bottom}}, false);
      return;
    }
    ThinLines({{r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}}, true);
    return;
  }
  // Wide pens are centred on the outline; an inside frame keeps them within the rectangle.
  QRectF outline(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
  if (pen.Style == psInsideFrame && pen.Width > 1) {
    const double inset = pen.Width / 2.0;
    outline.adjust(inset - 0.5, inset - 0.5, 0.5 - inset, 0.5 - inset);
  }
  p.drawRect(outline);
}

void TQtCanvas::FillRect(const TRect& rect) {
  const TRect r = Normalized(rect);
  if (r.IsEmpty() || Brush().Style == bsClear || !d_->Visible()) return;
  QPainter& p = d_->P();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setBrushOrigin(GetBrushOrigin().X, GetBrushOrigin().Y);
  if (Brush().Style != bsSolid && GetBkMode() == bkOpaque && GetBkColor() != clNone)
    p.fillRect(ToQRect(r), ToQColor(GetBkColor()));
  p.setBackgroundMode(Qt::TransparentMode);
  p.fillRect(ToQRect(r), MakeBrush(Brush(), ToQColor(Brush().Color)));
}

void TQtCanvas::Ellipse(const TRect& rect) {
  const TRect r = Normalized(rect);
  if (r.IsEmpty() || !d_->Visible()) return;
  QPainter& p = d_->P();
  if (!PrepareShape(p, *this, true)) return;
  p.drawEllipse(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
}

namespace {

QPolygon ToQPolygon(const std::vector<TPoint>& points) {
  QPolygon poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const TPoint& pt : points) poly.append(QPoint(pt.X, pt.Y));
  return poly;
}

}  // namespace

void TQtCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2 || !d_->Visible()) return;
  QPainter& p = d_->P();
  if (!PrepareShape(p, *this, true)) return;
  const TPen& pen = Pen();
  if (pen.Width <= 1 && pen.Style != psClear) {
    p.setPen(Qt::NoPen);
    p.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
    ThinLines(points, true);
    return;
  }
  p.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void TQtCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.size() < 2 || !d_->Visible()) return;
  if (ThinLines(points, false)) return;
  QPainter& p = d_->P();
  if (!PrepareShape(p, *this, false)) return;
  p.drawPolyline(ToQPolygon(points));
}

void TQtCanvas::LinesF(const TLineF* lines, size_t count, double width, TColor color, double dx, double dy) {
  if (count == 0 || !d_->Visible()) return;
  QPainter& p = d_->P();
  // Copied into Qt's own segments; one buffer serves every call of the thread.
  thread_local std::vector<QLineF> segments;
  segments.resize(count);
  for (size_t i = 0; i < count; ++i)
    segments[i] = QLineF(lines[i].X1 + dx, lines[i].Y1 + dy, lines[i].X2 + dx, lines[i].Y2 + dy);
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ToQColor(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLines(segments.data(), static_cast<int>(count));
  p.restore();
}

namespace {

// A transparent image of the device's size and pixel ratio with a canvas on it.
class TQtCanvasLayer final : public TCanvasLayer {
 public:
  TQtCanvasLayer(int width, int height, double ratio)
      : image_(std::max(1, static_cast<int>(std::ceil(width * ratio))),
               std::max(1, static_cast<int>(std::ceil(height * ratio))), QImage::Format_ARGB32_Premultiplied),
        size_{width, height},
        ratio_(ratio) {
    image_.setDevicePixelRatio(ratio);
    image_.fill(Qt::transparent);
    canvas_ = std::make_unique<TQtCanvas>(image_);
  }
  TCanvas& Canvas() override { return *canvas_; }
  void Clear() override {
    canvas_->EndPaint();
    image_.fill(Qt::transparent);
  }
  TSize Size() const { return size_; }
  double PixelRatio() const { return ratio_; }
  // Drawing is finished before the image is shown.
  const QImage& Image() {
    canvas_->EndPaint();
    return image_;
  }

 private:
  QImage image_;
  TSize size_;
  double ratio_;
  std::unique_ptr<TQtCanvas> canvas_;
};

}  // namespace

bool TQtCanvas::FitLayer(std::unique_ptr<TCanvasLayer>& layer) {
  QPaintDevice* device = d_->device;
  if (!device || device->width() <= 0 || device->height() <= 0) {
    layer.reset();
    return false;
  }
  const TSize size{device->width(), device->height()};
  const double ratio = device->devicePixelRatioF();
  if (auto* own = dynamic_cast<TQtCanvasLayer*>(layer.get()); own && own->Size() == size && own->PixelRatio() == ratio)
    return false;
  layer = std::make_unique<TQtCanvasLayer>(size.cx, size.cy, ratio);
  return true;
}

void TQtCanvas::DrawLayer(TCanvasLayer& layer) {
  auto* own = dynamic_cast<TQtCanvasLayer*>(&layer);
  if (!own || !d_->Visible()) return;
  QPainter& p = d_->P();
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setWorldTransform(d_->base);
  p.drawImage(QPointF(0, 0), own->Image());
  p.restore();
}

void TQtCanvas::DrawFocusRect(const TRect& rect) {
  const TRect logical = Normalized(rect);
  if (logical.IsEmpty() || !d_->Visible()) return;
  const TRect r = d_->SurfaceRect(logical);
  if (r.IsEmpty()) return;
  QPainter& p = d_->P();
  const Unmapped unmapped(*d_, p);
  p.setCompositionMode(QPainter::RasterOp_NotDestination);
  // Every other pixel along the edges, each pixel once.
  static const std::vector<int> everyOther{1, 1};
  int phase = 0;
  PixelLine line(p, Qt::black, std::nullopt, &everyOther, phase);
  const TPoint a{r.Left, r.Top}, b{r.Right - 1, r.Top}, c{r.Right - 1, r.Bottom - 1}, d{r.Left, r.Bottom - 1};
  if (r.Width() == 1 || r.Height() == 1) {
    line.Segment(a, r.Width() == 1 ? TPoint{r.Left, r.Bottom} : TPoint{r.Right, r.Top});
    return;
  }
  line.Segment(a, b);
  line.Segment(b, c);
  line.Segment(c, d);
  line.Segment(d, a);
}

// ---------------------------------------------------------------- text

namespace {

std::vector<int32_t> MeasureEnds(FontEntry& font, const TTextChars& chars, int32_t extra) {
  std::vector<int32_t> ends;
  ends.reserve(chars.Count());
  int64_t x = 0;
  for (size_t k = 0; k < chars.Count(); ++k) {
    x += font.Advance64(CodePointOf(chars.Wide(k)));
    ends.push_back(FontEntry::Pixels(x) + static_cast<int32_t>(k + 1) * extra);
  }
  return ends;
}

// 8-bit text measured character by character through the font's code-page
// cache, without converting the text: the x after each byte when `ends` is
// given, and the whole extent.
int32_t MeasureText8(FontEntry& font, std::string_view text, int32_t extra, std::vector<int32_t>* ends) {
  TCodePageUnits& units = font.Units8();
  if (ends) ends->resize(text.size());
  int64_t x = 0;
  int32_t end = 0, count = 0;
  for (size_t i = 0; i < text.size();) {
    uint16_t code;
    const size_t len = units.CharAt(text, i, code);
    x += font.Advance8(code);
    end = FontEntry::Pixels(x) + ++count * extra;
    if (ends)
      for (size_t k = i; k < i + len; ++k) (*ends)[k] = end;
    i += len;
  }
  return end;
}

}  // namespace

TTextMetric TQtCanvas::GetTextMetrics() { return d_->FontFor(Font()).tm; }

TSize TQtCanvas::TextExtentA(std::string_view text) {
  FontEntry& f = d_->FontFor(Font());
  return {MeasureText8(f, text, GetTextCharacterExtra(), nullptr), f.tm.tmHeight};
}

TSize TQtCanvas::TextExtentW(std::u16string_view text) {
  FontEntry& f = d_->FontFor(Font());
  const std::vector<int32_t> ends = MeasureEnds(f, SplitText16(text), GetTextCharacterExtra());
  return {ends.empty() ? 0 : ends.back(), f.tm.tmHeight};
}

std::vector<int32_t> TQtCanvas::TextExtentExA(std::string_view text) {
  std::vector<int32_t> ends;
  MeasureText8(d_->FontFor(Font()), text, GetTextCharacterExtra(), &ends);
  return ends;
}

std::vector<int32_t> TQtCanvas::TextExtentExW(std::u16string_view text) {
  FontEntry& f = d_->FontFor(Font());
  const TTextChars chars = SplitText16(text);
  return SpreadToSource(chars, MeasureEnds(f, chars, GetTextCharacterExtra()));
}

void TQtCanvas::CharAdvancesA(std::string_view text, std::vector<int32_t>& advances) {
  FontEntry& f = d_->FontFor(Font());
  TCodePageUnits& units = f.Units8();
  advances.resize(text.size());
  for (size_t i = 0; i < text.size();) {
    uint16_t code;
    const size_t len = units.CharAt(text, i, code);
    advances[i] = f.Advance8(code);
    if (len == 2) advances[i + 1] = -1;
    i += len;
  }
}

void TQtCanvas::CharAdvancesW(std::u16string_view text, std::vector<int32_t>& advances) {
  FontEntry& f = d_->FontFor(Font());
  advances.resize(text.size());
  for (size_t i = 0; i < text.size();) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    const size_t len = pair ? 2 : 1;
    advances[i] = f.Advance64(CodePointOf(text.substr(i, len)));
    if (pair) advances[i + 1] = -1;
    i += len;
  }
}

void TQtCanvas::TextOutA(int32_t x, int32_t y, std::string_view text) {
  DrawChars(x, y, SplitText8(text, CharsetToCodePage(Font().Charset), true), text.size(), nullptr);
}

void TQtCanvas::TextOutW(int32_t x, int32_t y, std::u16string_view text) {
  DrawChars(x, y, SplitText16(text), text.size(), nullptr);
}

void TQtCanvas::TextOutWithAdvancesA(int32_t x, int32_t y, std::string_view text,
                                     const std::vector<int32_t>& advances) {
  DrawChars(x, y, SplitText8(text, CharsetToCodePage(Font().Charset), true), text.size(), &advances);
}

void TQtCanvas::TextOutWithAdvancesW(int32_t x, int32_t y, std::u16string_view text,
                                     const std::vector<int32_t>& advances) {
  DrawChars(x, y, SplitText16(text), text.size(), &advances);
}

void TQtCanvas::DrawChars(int32_t x, int32_t y, const TTextChars& chars, size_t srcLength,
                          const std::vector<int32_t>* advances) {
  FontEntry& font = d_->FontFor(Font());
  const int32_t extra = GetTextCharacterExtra();
  std::vector<int32_t> ends = MeasureEnds(font, chars, extra);
  if (advances) {
    std::vector<int32_t> given;
    std::vector<bool> have;
    AdvancesPerChar(chars, srcLength, *advances, given, have);
    int32_t pos = 0;
    for (size_t k = 0; k < chars.Count(); ++k) {
      const int32_t natural = ends[k] - (k ? ends[k - 1] : 0) - extra;
      const int32_t step = have[k] ? given[k] : natural;
      ends[k] = pos += step;
    }
  }
  const int32_t width = ends.empty() ? 0 : ends.back();
  const TTextMetric& tm = font.tm;
  const TPoint at = PlaceText(x, y, width, tm);
  if (chars.Count() == 0 || !d_->Visible()) return;

  QPainter& p = d_->P();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setBackgroundMode(Qt::TransparentMode);
  // Text is opaque with a solid brush, the cell filled with the brush colour.
  if (GetBkMode() == bkOpaque && Brush().Style == bsSolid && width != 0)
    p.fillRect(QRect(std::min(at.X, at.X + width), at.Y, std::abs(width), tm.tmHeight), ToQColor(Brush().Color));
  const QColor color = ToQColor(Font().Color);
  p.setPen(color);
  p.setLayoutDirection((GetTextAlign() & TA_RTLREADING) ? Qt::RightToLeft : Qt::LeftToRight);
  const int baseline = at.Y + tm.tmAscent;
  const QTransform world = p.worldTransform();
  // Glyphs drawn with their origin at (x, baseline), widened by the font's scale.
  auto glyphsAt = [&](double gx, const QString& glyphs) {
    if (font.xScale == 1) {
      p.drawText(QPointF(gx, baseline), glyphs);
      return;
    }
    p.setWorldTransform(QTransform(font.xScale, 0, 0, 1, gx, baseline) * world);
    p.drawText(QPointF(0, 0), glyphs);
    p.setWorldTransform(world);
  };
  if (!advances && extra == 0) {
    p.setFont(font.font);
    glyphsAt(at.X, ToQString(chars.wide));
    return;
  }
  // Placed one character at a time; the lines run under the whole text.
  QFont plain = font.font;
  plain.setUnderline(false);
  plain.setStrikeOut(false);
  p.setFont(plain);
  for (size_t k = 0; k < chars.Count(); ++k) glyphsAt(at.X + (k ? ends[k - 1] : 0), ToQString(chars.Wide(k)));
  const QRect line(std::min(at.X, at.X + width), 0, std::abs(width), 0);
  if (Font().Style & fsUnderline)
    p.fillRect(QRect(line.x(), baseline - tm.otmsUnderscorePosition, line.width(), tm.otmsUnderscoreSize), color);
  if (Font().Style & fsStrikeOut)
    p.fillRect(QRect(line.x(), baseline - tm.otmsStrikeoutPosition, line.width(), tm.otmsStrikeoutSize), color);
}

// ---------------------------------------------------------------- clipping

void TQtCanvas::IntersectClipRect(const TRect& r) {
  // An empty rectangle clips everything away, whatever the mapping.
  const TRect surface = r.IsEmpty() ? TRect{} : d_->SurfaceRect(r);
  if (d_->hasClip) {
    TRect both;
    IntersectRect(both, d_->clip, surface);
    d_->clip = both;
  } else {
    d_->clip = surface;
    d_->hasClip = true;
  }
  d_->ApplyClip();
}

void TQtCanvas::ResetClip() {
  d_->hasClip = false;
  d_->clip = {};
  d_->ApplyClip();
}

bool TQtCanvas::HasClip() const { return d_->hasClip; }

TRect TQtCanvas::ClipRect() const {
  if (d_->hasClip && (!d_->mapped || d_->clip.IsEmpty())) return d_->clip;
  QRect b = d_->hasClip       ? ToQRect(d_->clip)
            : d_->hasBaseClip ? d_->baseClip.boundingRect()
                              : QRect(0, 0, d_->device->width(), d_->device->height());
  if (d_->mapped) b = d_->map.inverted().mapRect(QRectF(b)).toAlignedRect();
  return Bounds(b.x(), b.y(), b.width(), b.height());
}

void TQtCanvas::SaveClip() { d_->clipStack.push_back({d_->hasClip, d_->clip}); }

void TQtCanvas::RestoreClip() {
  if (d_->clipStack.empty()) return;
  d_->hasClip = d_->clipStack.back().first;
  d_->clip = d_->clipStack.back().second;
  d_->clipStack.pop_back();
  d_->ApplyClip();
}

// ---------------------------------------------------------------- pictures

void TQtCanvas::Draw(int32_t x, int32_t y, const TGraphic& graphic) {
  if (graphic.Empty() || !d_->Visible()) return;
  const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic);
  if (!bitmap) {
    graphic.Paint(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
    return;
  }
  const QImage image = BitmapImageForDrawing(*bitmap);
  QPainter& p = d_->P();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(QPoint(x, y), image);
}

void TQtCanvas::StretchDraw(const TRect& r, const TGraphic& graphic) {
  if (graphic.Empty() || r.Left == r.Right || r.Top == r.Bottom || !d_->Visible()) return;
  const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic);
  if (!bitmap) {
    graphic.Paint(*this, r);
    return;
  }
  QImage image = BitmapImageForDrawing(*bitmap);
  // A rectangle given right to left or bottom to top mirrors the picture.
  if (r.Right < r.Left || r.Bottom < r.Top) image = image.mirrored(r.Right < r.Left, r.Bottom < r.Top);
  QPainter& p = d_->P();
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(ToQRect(Normalized(r)), image);
}

}  // namespace quillet
