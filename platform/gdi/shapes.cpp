// Shapes: lines with pen widths and styles, rectangles, rounded rectangles,
// ellipses and polygons, outlined with the pen and filled with the brush.
//
// Geometry model: pixel (x, y) covers the unit square from (x, y) to
// (x + 1, y + 1) and belongs to a filled shape when its centre does. A box
// (left, top, right, bottom) of Rectangle, RoundRect and Ellipse is the area
// of pixels left..right-1 and top..bottom-1; a 1-pixel outline is the outer
// ring of that area, and wider pens grow outward by (width - 1) / 2 and inward
// by the rest.
#include <cmath>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/spans.h"
#include "platform/win32/rect.h"

using namespace gdi::detail;

namespace {

// A box with elliptic corners (radii rx, ry); rx = ry = 0 is a rectangle and
// radii of half the box an ellipse.
struct Rounded {
  double left, top, right, bottom, rx, ry;
};

Rounded MakeRounded(double l, double t, double r, double b, double ew, double eh) {
  Rounded s{l, t, r, b, std::max(0.0, ew / 2), std::max(0.0, eh / 2)};
  s.rx = std::min(s.rx, (r - l) / 2);
  s.ry = std::min(s.ry, (b - t) / 2);
  return s;
}

Rounded Grow(const Rounded& s, double d) {
  Rounded g{s.left - d, s.top - d, s.right + d, s.bottom + d, s.rx + d, s.ry + d};
  if (s.rx <= 0) g.rx = 0;
  if (s.ry <= 0) g.ry = 0;
  g.rx = std::clamp(g.rx, 0.0, std::max(0.0, (g.right - g.left) / 2));
  g.ry = std::clamp(g.ry, 0.0, std::max(0.0, (g.bottom - g.top) / 2));
  return g;
}

// The pixels of row y inside the shape: [*x0, *x1); false when none.
bool RowOf(const Rounded& s, int y, int* x0, int* x1) {
  const double cy = y + 0.5;
  if (s.right <= s.left || cy < s.top || cy > s.bottom) return false;
  double inset = 0;
  if (s.ry > 0 && s.rx > 0) {
    double d = 0;
    if (cy < s.top + s.ry)
      d = (s.top + s.ry - cy) / s.ry;
    else if (cy > s.bottom - s.ry)
      d = (cy - (s.bottom - s.ry)) / s.ry;
    if (d > 1) return false;
    inset = s.rx * (1 - std::sqrt(std::max(0.0, 1 - d * d)));
  }
  const double a = s.left + inset, b = s.right - inset;
  *x0 = static_cast<int>(std::ceil(a - 0.5 - 1e-9));
  *x1 = static_cast<int>(std::floor(b - 0.5 + 1e-9)) + 1;
  return *x0 < *x1;
}

// Adds outer minus inner, row by row.
void AddRing(SpanSet& set, const Rounded& outer, const Rounded* inner, int y0, int y1) {
  for (int y = y0; y < y1; ++y) {
    int a, b;
    if (!RowOf(outer, y, &a, &b)) continue;
    int c, d;
    if (inner && RowOf(*inner, y, &c, &d) && c < d) {
      set.Add(y, a, std::min(b, c));
      set.Add(y, std::max(a, d), b);
    } else {
      set.Add(y, a, b);
    }
  }
}

void AddFill(SpanSet& set, const Rounded& s, int y0, int y1) { AddRing(set, s, nullptr, y0, y1); }

int RowsFrom(const Canvas& c, double top) {
  return std::max(static_cast<int>(std::floor(top)) - 1, static_cast<int>(c.clipBounds.top));
}
int RowsTo(const Canvas& c, double bottom) {
  return std::min(static_cast<int>(std::ceil(bottom)) + 1, static_cast<int>(c.clipBounds.bottom));
}

bool PenPaint(const Canvas& c, Paint* paint) {
  const PenObj* pen = c.dc->pen;
  if (!pen || pen->style == PS_NULL) return false;
  paint->color = gdi::ColorToPixel(PenColor(c.dc));
  paint->rop = c.dc->state.rop2;
  return true;
}

bool Styled(const PenObj* pen) {
  return pen->style == PS_DASH || pen->style == PS_DOT || pen->style == PS_DASHDOT || pen->style == PS_DASHDOTDOT;
}

// ---- Lines -----------------------------------------------------------------------------------

// Dash lengths of the styled pens, in pixels for a 1-pixel pen; wider pens
// scale them by their width.
std::vector<int> DashPattern(int style) {
  switch (style) {
    case PS_DASH: return {6, 3};
    case PS_DOT: return {1, 1};
    case PS_DASHDOT: return {6, 2, 1, 2};
    case PS_DASHDOTDOT: return {6, 2, 1, 2, 1, 2};
    default: return {};
  }
}

// Walks lines pixel by pixel and collects the pen's pixels (and, for styled
// pens drawn over an opaque background, the gaps in the background colour).
class Stroker {
 public:
  Stroker(const Canvas& c, int width, int style, bool opaqueGaps)
      : m_pen(RowsFrom(c, c.clipBounds.top), RowsTo(c, c.clipBounds.bottom)),
        m_gaps(RowsFrom(c, c.clipBounds.top), RowsTo(c, c.clipBounds.bottom)),
        m_width(width),
        m_pattern(DashPattern(style)),
        m_opaqueGaps(opaqueGaps) {
    for (int& d : m_pattern) d *= width;
    // The nib: a disc of the pen's width, as rows of [x0, x1) around the point.
    const double r = width / 2.0;
    const int lo = -(width - 1) / 2 - (width % 2 == 0 ? 0 : 0);
    for (int j = 0; j < width; ++j) {
      int a = width, b = -1;
      for (int i = 0; i < width; ++i) {
        const double dx = i + 0.5 - r, dy = j + 0.5 - r;
        if (dx * dx + dy * dy <= r * r + 1e-9) {
          a = std::min(a, i);
          b = std::max(b, i);
        }
      }
      m_nib.push_back({lo + j, lo + a, lo + b + 1});
    }
    m_clip = c.clipBounds;
    InflateRect(&m_clip, width + 2, width + 2);
  }

  // A segment from p to q; the last pixel is left out for 1-pixel pens
  // (the next segment starts there), kept for wider pens.
  void Segment(POINT p, POINT q, bool last) {
    long long x0 = p.x, y0 = p.y, x1 = q.x, y1 = q.y;
    if (!ClipLong(&x0, &y0, &x1, &y1)) return;
    long long dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0);
    m_xMajor = dx >= -dy;
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    long long err = dx + dy;
    for (;;) {
      const bool end = x0 == x1 && y0 == y1;
      if (end && !(last && m_width > 1)) break;
      Plot(static_cast<int>(x0), static_cast<int>(y0));
      if (end) break;
      const long long e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y0 += sy;
      }
    }
  }

  void Paint(const Canvas& c, const struct Paint& pen, std::uint32_t bk) {
    m_pen.Paint(c, pen);
    if (m_opaqueGaps) {
      struct Paint gap = pen;
      gap.color = bk;
      m_gaps.Paint(c, gap);
    }
  }

 private:
  void Plot(int x, int y) {
    bool on = true;
    if (!m_pattern.empty()) {
      on = m_index % 2 == 0;
      if (++m_run >= m_pattern[m_index]) {
        m_run = 0;
        m_index = (m_index + 1) % m_pattern.size();
      }
      if (!on && !m_opaqueGaps) return;
    }
    SpanSet& set = on ? m_pen : m_gaps;
    if (m_width == 1) {
      set.Add(y, x, x + 1);
      return;
    }
    if (!m_pattern.empty()) {
      // Dashes of a wide pen: a bar across the line at each pixel, so the
      // gaps stay as long as the pattern says (a round nib would fill them).
      const int lo = -(m_width - 1) / 2;
      if (m_xMajor) {
        for (int k = 0; k < m_width; ++k) set.Add(y + lo + k, x, x + 1);
      } else {
        set.Add(y, x + lo, x + lo + m_width);
      }
      return;
    }
    for (const NibRow& r : m_nib) set.Add(y + r.dy, x + r.x0, x + r.x1);
  }

  // Very long lines (coordinates far outside the target) are cut to the
  // area around the clip first, so drawing them never takes long.
  bool ClipLong(long long* x0, long long* y0, long long* x1, long long* y1) const {
    const long long kLong = 1 << 14;
    if (std::llabs(*x1 - *x0) < kLong && std::llabs(*y1 - *y0) < kLong) return true;
    double t0 = 0, t1 = 1;
    const double dx = static_cast<double>(*x1 - *x0), dy = static_cast<double>(*y1 - *y0);
    auto edge = [&](double p, double q) {
      if (p == 0) return q >= 0;
      const double t = q / p;
      if (p < 0) {
        if (t > t1) return false;
        t0 = std::max(t0, t);
      } else {
        if (t < t0) return false;
        t1 = std::min(t1, t);
      }
      return true;
    };
    if (!edge(-dx, static_cast<double>(*x0 - m_clip.left)) || !edge(dx, static_cast<double>(m_clip.right - *x0)) ||
        !edge(-dy, static_cast<double>(*y0 - m_clip.top)) || !edge(dy, static_cast<double>(m_clip.bottom - *y0)))
      return false;
    const double ax = static_cast<double>(*x0), ay = static_cast<double>(*y0);
    *x0 = std::llround(ax + t0 * dx);
    *y0 = std::llround(ay + t0 * dy);
    *x1 = std::llround(ax + t1 * dx);
    *y1 = std::llround(ay + t1 * dy);
    return true;
  }

  struct NibRow {
    int dy, x0, x1;
  };
  SpanSet m_pen;
  SpanSet m_gaps;
  int m_width;
  std::vector<int> m_pattern;  // on, off, on, off... lengths
  std::size_t m_index = 0;     // current dash
  int m_run = 0;               // pixels drawn of the current dash
  bool m_opaqueGaps;
  bool m_xMajor = true;  // the current segment runs more across than down
  std::vector<NibRow> m_nib;
  RECT m_clip;
};

// Strokes a path of target points with the DC's pen.
void StrokePath(const Canvas& c, const std::vector<POINT>& pts, bool closed) {
  Paint pen;
  if (!PenPaint(c, &pen) || pts.empty()) return;
  const PenObj* p = c.dc->pen;
  const bool opaque = Styled(p) && c.dc->state.bkMode == OPAQUE;
  Stroker s(c, p->width, p->style, opaque);
  const std::size_t n = pts.size();
  const std::size_t segments = closed ? n : n - 1;
  for (std::size_t i = 0; i < segments; ++i) s.Segment(pts[i], pts[(i + 1) % n], i + 1 == segments);
  s.Paint(c, pen, gdi::ColorToPixel(c.dc->state.bkColor));
}

std::vector<POINT> ToTarget(const Canvas& c, const POINT* pts, int count) {
  std::vector<POINT> out(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out[static_cast<std::size_t>(i)] = MakePoint(pts[i].x + c.dx, pts[i].y + c.dy);
  return out;
}

// ---- Boxes ---------------------------------------------------------------------------------------

// Rectangle, RoundRect and Ellipse: outline with the pen, inside with the brush.
BOOL DrawBox(HDC dc, int left, int top, int right, int bottom, double ew, double eh) {
  auto c = CanvasOf(dc);
  if (!c) return FALSE;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const double l = static_cast<double>(left) + c->dx, t = static_cast<double>(top) + c->dy;
  const double r = static_cast<double>(right) + c->dx, b = static_cast<double>(bottom) + c->dy;
  if (r - l < 1 || b - t < 1) return TRUE;
  Paint pen, brush;
  const bool hasPen = PenPaint(*c, &pen);
  const bool hasBrush = BrushPaint(*c, c->dc->brush, BrushColor(c->dc), true, &brush);
  const PenObj* p = c->dc->pen;
  const int w = hasPen ? p->width : 0;
  const Rounded box = MakeRounded(l, t, r, b, ew, eh);
  if (!hasPen) {
    // Without a pen the platform fills one pixel less on the right and bottom.
    if (hasBrush) {
      SpanSet fill(static_cast<int>(c->clipBounds.top), static_cast<int>(c->clipBounds.bottom));
      AddFill(fill, MakeRounded(l, t, r - 1, b - 1, ew, eh), RowsFrom(*c, t), RowsTo(*c, b));
      fill.Paint(*c, brush);
    }
    return TRUE;
  }
  // Outward and inward reach of the pen; an inside-frame pen stays inside.
  const int out = p->style == PS_INSIDEFRAME ? 0 : (w - 1) / 2;
  const int in = w - out;
  const Rounded outer = Grow(box, out);
  const Rounded inner = Grow(box, -in);
  const bool innerExists = inner.right > inner.left && inner.bottom > inner.top;
  const int y0 = RowsFrom(*c, outer.top), y1 = RowsTo(*c, outer.bottom);
  if (hasBrush && innerExists) {
    SpanSet fill(static_cast<int>(c->clipBounds.top), static_cast<int>(c->clipBounds.bottom));
    AddFill(fill, inner, y0, y1);
    fill.Paint(*c, brush);
  }
  if (Styled(p) && ew == 0 && eh == 0 && std::abs(l) < (1 << 28) && std::abs(r) < (1 << 28) &&
      std::abs(t) < (1 << 28) && std::abs(b) < (1 << 28)) {
    // Dashes follow the outline path: the centre line of a 1-pixel frame.
    const int L = left + c->dx, T = top + c->dy, R = right + c->dx - 1, B = bottom + c->dy - 1;
    StrokePath(*c, {MakePoint(L, T), MakePoint(R, T), MakePoint(R, B), MakePoint(L, B)}, true);
    return TRUE;
  }
  SpanSet ring(static_cast<int>(c->clipBounds.top), static_cast<int>(c->clipBounds.bottom));
  AddRing(ring, outer, innerExists ? &inner : nullptr, y0, y1);
  ring.Paint(*c, pen);
  return TRUE;
}

// Polygon fill by scanlines through pixel centres, even-odd or winding.
void FillPolygon(const Canvas& c, const std::vector<POINT>& pts, int mode, const Paint& paint) {
  if (pts.size() < 3) return;
  long long minY = pts[0].y, maxY = pts[0].y;
  for (const POINT& p : pts) {
    minY = std::min<long long>(minY, p.y);
    maxY = std::max<long long>(maxY, p.y);
  }
  const int y0 = static_cast<int>(std::max<long long>(minY, c.clipBounds.top));
  const int y1 = static_cast<int>(std::min<long long>(maxY, c.clipBounds.bottom));
  std::vector<std::pair<double, int>> xs;
  for (int y = y0; y < y1; ++y) {
    const double cy = y + 0.5;
    xs.clear();
    for (std::size_t i = 0; i < pts.size(); ++i) {
      const POINT& a = pts[i];
      const POINT& b = pts[(i + 1) % pts.size()];
      if (a.y == b.y) continue;
      const bool down = a.y < b.y;
      const double ya = down ? a.y : b.y, yb = down ? b.y : a.y;
      if (cy < ya || cy >= yb) continue;
      const double xa = down ? a.x : b.x, xb = down ? b.x : a.x;
      xs.emplace_back(xa + (cy - ya) * (xb - xa) / (yb - ya), down ? 1 : -1);
    }
    std::sort(xs.begin(), xs.end());
    int winding = 0;
    for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
      winding += xs[k].second;
      const bool inside = mode == WINDING ? winding != 0 : (k % 2 == 0);
      if (!inside) continue;
      const int a = static_cast<int>(std::ceil(xs[k].first - 0.5));
      const int b = static_cast<int>(std::ceil(xs[k + 1].first - 0.5));
      PaintSpan(c, y, a, b, paint);
    }
  }
}

}  // namespace

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) { return SetStatePoint(dc, &DcState::position, x, y, previous); }

BOOL GetCurrentPositionEx(HDC dc, POINT* position) { return GetStatePoint(dc, &DcState::position, position); }

BOOL LineTo(HDC dc, int x, int y) {
  auto c = CanvasOf(dc);
  if (!c) return FALSE;
  const POINT from = c->dc->state.position;
  c->dc->state.position = MakePoint(x, y);
  StrokePath(*c, {MakePoint(from.x + c->dx, from.y + c->dy), MakePoint(x + c->dx, y + c->dy)}, false);
  return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
  auto c = CanvasOf(dc);
  if (!c || !points || count < 2) return FALSE;
  StrokePath(*c, ToTarget(*c, points, count), false);
  return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
  auto c = CanvasOf(dc);
  if (!c || !points || count < 2) return FALSE;
  const std::vector<POINT> pts = ToTarget(*c, points, count);
  Paint brush;
  if (BrushPaint(*c, c->dc->brush, BrushColor(c->dc), true, &brush))
    FillPolygon(*c, pts, c->dc->state.polyFillMode, brush);
  StrokePath(*c, pts, true);
  return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) { return DrawBox(dc, left, top, right, bottom, 0, 0); }

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ew, int eh) {
  return DrawBox(dc, left, top, right, bottom, std::abs(ew), std::abs(eh));
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  return DrawBox(dc, left, top, right, bottom, std::abs(right - left), std::abs(bottom - top));
}
