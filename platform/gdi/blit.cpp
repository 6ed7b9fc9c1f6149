// Blits: BitBlt, PatBlt, StretchBlt, the colour-keyed TransparentImage and
// the per-pixel AlphaBlend.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/blend.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster.h"
#include "platform/win32/rect.h"

using namespace gdi::detail;

namespace {

// Pixels to read from: a bitmap and the offset from the caller's source
// coordinates to the bitmap's pixels.
struct Source {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int dx = 0;
  int dy = 0;
  int stride = 0;  // 0: width
  const std::uint32_t* Row(int y) const {
    return pixels + static_cast<std::ptrdiff_t>(y) * (stride ? stride : width);
  }
};

bool SourceOfDc(HDC dc, Source* s) {
  auto c = CanvasOf(dc);
  if (!c) return false;
  s->pixels = c->pixels;
  s->width = c->width;
  s->height = c->height;
  s->dx = c->dx;
  s->dy = c->dy;
  return true;
}

// A DC or, as TransparentImage allows, a bitmap handle.
bool SourceOfHandle(HANDLE h, Source* s) {
  if (KindOf(h) == Kind::Bitmap) {
    BitmapObj* b = LookupBitmap(h);
    s->pixels = b->pixels.get();
    s->width = b->width;
    s->height = b->height;
    s->dx = s->dy = 0;
    return s->pixels != nullptr;
  }
  return SourceOfDc(static_cast<HDC>(h), s);
}

// The pattern pixel of the DC's brush at a target position.
struct Pattern {
  bool none = false;
  std::uint32_t color = kAlphaMask;
  const BrushObj* brush = nullptr;
  POINT origin;
  std::uint32_t At(int x, int y) const {
    if (!brush) return color;
    int px = (x - origin.x) % brush->patternWidth, py = (y - origin.y) % brush->patternHeight;
    if (px < 0) px += brush->patternWidth;
    if (py < 0) py += brush->patternHeight;
    return brush->pattern[static_cast<std::size_t>(py) * brush->patternWidth + px] | kAlphaMask;
  }
};

Pattern PatternOf(const Canvas& c) {
  Pattern p;
  Paint paint;
  if (!BrushPaint(c, c.dc->brush, BrushColor(c.dc), false, &paint)) {
    p.none = true;
    return p;
  }
  p.color = paint.color;
  p.brush = paint.pattern;
  p.origin = paint.patternOrigin;
  return p;
}

// Combines one row: n pixels of dst at target (x, y) with src (may be null).
void CombineRow(std::uint32_t* dst, const std::uint32_t* src, int n, int x, int y, DWORD rop, const Pattern& pat) {
  switch (rop) {
    case SRCCOPY: std::memmove(dst, src, static_cast<std::size_t>(n) * 4); return;
    case BLACKNESS: std::fill_n(dst, n, kAlphaMask); return;
    case WHITENESS: std::fill_n(dst, n, 0xFFFFFFFFu); return;
    case DSTINVERT:
      for (int i = 0; i < n; ++i) dst[i] = (~dst[i] & kRgbMask) | kAlphaMask;
      return;
    case SRCINVERT:
      for (int i = 0; i < n; ++i) dst[i] = ((dst[i] ^ src[i]) & kRgbMask) | kAlphaMask;
      return;
    case PATCOPY:
      if (!pat.brush) {
        std::fill_n(dst, n, pat.color);
        return;
      }
      for (int i = 0; i < n; ++i) dst[i] = pat.At(x + i, y);
      return;
    default:
      for (int i = 0; i < n; ++i) dst[i] = Rop3(rop, pat.At(x + i, y), src ? src[i] : 0, dst[i]);
  }
}

// Destination rectangle (target pixels) of a blit, cut so its source stays
// inside the source bitmap. `shiftX/Y` map target to source pixels.
RECT ClipToSource(RECT d, const Source& s, int shiftX, int shiftY) {
  RECT allowed = MakeRect(-shiftX, -shiftY, s.width - shiftX, s.height - shiftY);
  RECT out;
  if (!IntersectRect(&out, &d, &allowed)) SetRectEmpty(&out);
  return out;
}

// Scales the source rectangle (sx, sy, sw, sh; negative sizes mirror) to a
// w x h image, of which only `part` (relative to the w x h image) is made.
// `smooth` averages the pixels of a shrink; otherwise the nearest pixel is
// taken. Source positions outside the bitmap take the nearest edge pixel.
void ScaleBilinear(const Source& s, int sx, int sy, int sw, int sh, int w, int h, const RECT& part,
                   std::vector<std::uint32_t>* out);

void Scale(const Source& s, int sx, int sy, int sw, int sh, int w, int h, const RECT& part, bool smooth,
           std::vector<std::uint32_t>* out, bool interpolate = false) {
  if (interpolate && w > 0 && h > 0 && sw > 0 && sh > 0 && (w > sw || h > sh) && w >= sw && h >= sh)
    return ScaleBilinear(s, sx, sy, sw, sh, w, h, part, out);
  const int pw = part.right - part.left, ph = part.bottom - part.top;
  out->resize(static_cast<std::size_t>(pw) * ph);
  const bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
  const int aw = std::abs(w), ah = std::abs(h), asw = std::abs(sw), ash = std::abs(sh);
  const int x0 = sw < 0 ? sx + sw + 1 : sx, y0 = sh < 0 ? sy + sh + 1 : sy;
  auto clampX = [&](long long v) { return static_cast<int>(std::clamp<long long>(v, 0, s.width - 1)); };
  auto clampY = [&](long long v) { return static_cast<int>(std::clamp<long long>(v, 0, s.height - 1)); };
  // Source spans per destination column and row: [begin, end) in source pixels.
  auto spans = [&](int count, int srcSize, int srcStart, bool flip, bool avg, int first, int n,
                   auto clamp) {
    std::vector<std::pair<int, int>> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      int u = first + i;
      if (flip) u = count - 1 - u;
      long long b, e;
      if (avg && srcSize > count) {
        b = static_cast<long long>(u) * srcSize / count;
        e = static_cast<long long>(u + 1) * srcSize / count;
        if (e <= b) e = b + 1;
      } else {
        b = (static_cast<long long>(2 * u + 1) * srcSize) / (2LL * count);
        e = b + 1;
      }
      const int cb = clamp(srcStart + b);
      const int ce = std::max(cb + 1, clamp(srcStart + e - 1) + 1);
      v[static_cast<std::size_t>(i)] = {cb, ce};
    }
    return v;
  };
  const auto cols = spans(aw, asw, x0 + s.dx, flipX, smooth, part.left, pw, clampX);
  const auto rows = spans(ah, ash, y0 + s.dy, flipY, smooth, part.top, ph, clampY);
  for (int j = 0; j < ph; ++j) {
    std::uint32_t* o = out->data() + static_cast<std::size_t>(j) * pw;
    const auto [rb, re] = rows[static_cast<std::size_t>(j)];
    for (int i = 0; i < pw; ++i) {
      const auto [cb, ce] = cols[static_cast<std::size_t>(i)];
      if (re - rb == 1 && ce - cb == 1) {
        o[i] = s.Row(rb)[cb];
        continue;
      }
      std::uint32_t sum[4] = {0, 0, 0, 0};
      for (int yy = rb; yy < re; ++yy) {
        const std::uint32_t* r = s.Row(yy);
        for (int xx = cb; xx < ce; ++xx) {
          const std::uint32_t p = r[xx];
          sum[0] += p & 0xFF;
          sum[1] += (p >> 8) & 0xFF;
          sum[2] += (p >> 16) & 0xFF;
          sum[3] += p >> 24;
        }
      }
      const std::uint32_t n = static_cast<std::uint32_t>((re - rb) * (ce - cb));
      o[i] = ((sum[0] + n / 2) / n) | (((sum[1] + n / 2) / n) << 8) | (((sum[2] + n / 2) / n) << 16) |
             (((sum[3] + n / 2) / n) << 24);
    }
  }
}

// Enlarges with bilinear interpolation of premultiplied pixels (pictures
// drawn larger than they are look smooth, not blocky).
void ScaleBilinear(const Source& s, int sx, int sy, int sw, int sh, int w, int h, const RECT& part,
                   std::vector<std::uint32_t>* out) {
  const int pw = part.right - part.left, ph = part.bottom - part.top;
  out->resize(static_cast<std::size_t>(pw) * ph);
  const int bx = s.dx + sx, by = s.dy + sy;
  // 16.16 source position of a destination pixel centre.
  auto pos = [](int i, int srcSize, int dstSize) {
    return static_cast<long long>((2LL * i + 1) * srcSize * 65536 / (2LL * dstSize)) - 32768;
  };
  std::vector<int> x0(static_cast<std::size_t>(pw)), fx(static_cast<std::size_t>(pw));
  for (int i = 0; i < pw; ++i) {
    long long p = std::max(0LL, pos(part.left + i, sw, w));
    x0[static_cast<std::size_t>(i)] = static_cast<int>(p >> 16);
    fx[static_cast<std::size_t>(i)] = static_cast<int>((p >> 8) & 0xFF);
  }
  auto clampX = [&](int v) { return std::clamp(bx + v, 0, s.width - 1); };
  auto clampY = [&](int v) { return std::clamp(by + v, 0, s.height - 1); };
  for (int j = 0; j < ph; ++j) {
    const long long p = std::max(0LL, pos(part.top + j, sh, h));
    const int y0 = static_cast<int>(p >> 16), fy = static_cast<int>((p >> 8) & 0xFF);
    const std::uint32_t* r0 = s.Row(clampY(std::min(y0, sh - 1)));
    const std::uint32_t* r1 = s.Row(clampY(std::min(y0 + 1, sh - 1)));
    std::uint32_t* o = out->data() + static_cast<std::size_t>(j) * pw;
    for (int i = 0; i < pw; ++i) {
      const int xa = clampX(std::min(x0[static_cast<std::size_t>(i)], sw - 1));
      const int xb = clampX(std::min(x0[static_cast<std::size_t>(i)] + 1, sw - 1));
      const std::uint32_t f = static_cast<std::uint32_t>(fx[static_cast<std::size_t>(i)]);
      const std::uint32_t g = static_cast<std::uint32_t>(fy);
      const std::uint32_t a = r0[xa], b = r0[xb], c = r1[xa], d = r1[xb];
      std::uint32_t result = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t top = ((a >> shift) & 0xFF) * (256 - f) + ((b >> shift) & 0xFF) * f;
        const std::uint32_t bot = ((c >> shift) & 0xFF) * (256 - f) + ((d >> shift) & 0xFF) * f;
        const std::uint32_t v = (top * (256 - g) + bot * g + 32768) >> 16;
        result |= std::min<std::uint32_t>(v, 255) << shift;
      }
      o[i] = result;
    }
  }
}

// The destination rectangle in target pixels, normalised, with the part of it
// that can be visible.
bool Visible(const Canvas& c, int x, int y, int w, int h, RECT* dst, RECT* part) {
  // A negative size mirrors around the given pixel: (x, w = -4) covers
  // x - 3 .. x, so StretchBlt(x + w - 1, -w) mirrors in place.
  RECT d = MakeRect(x + c.dx, y + c.dy, x + c.dx + w, y + c.dy + h);
  if (w < 0) d = MakeRect(x + c.dx + w + 1, d.top, x + c.dx + 1, d.bottom);
  if (h < 0) d = MakeRect(d.left, y + c.dy + h + 1, d.right, y + c.dy + 1);
  *dst = d;
  RECT v;
  if (!IntersectRect(&v, &d, &c.clipBounds)) return false;
  *part = MakeRect(v.left - d.left, v.top - d.top, v.right - d.left, v.bottom - d.top);
  return true;
}

// Source-over of a row of premultiplied pixels, each first faded by a
// constant alpha (255: as it is); `opaque` takes the source's alpha as full.
void BlendRow(const std::uint32_t* sp, std::uint32_t* dp, int n, std::uint32_t constantAlpha, bool opaque) {
  for (int i = 0; i < n; ++i) {
    std::uint32_t p = opaque ? (sp[i] | kAlphaMask) : sp[i];
    if (constantAlpha != 255) {
      p = Mul255(p & 0xFF, constantAlpha) | (Mul255((p >> 8) & 0xFF, constantAlpha) << 8) |
          (Mul255((p >> 16) & 0xFF, constantAlpha) << 16) | (Mul255(p >> 24, constantAlpha) << 24);
    }
    dp[i] = BlendPremultiplied(p, dp[i]);
  }
}

// Blends a scaled image (made by Scale for `part` of the target rectangle
// `rect`) onto the canvas within its clip.
void BlendScaled(const Canvas& d, const std::vector<std::uint32_t>& img, const RECT& rect, const RECT& part,
                 std::uint32_t constantAlpha, bool opaque) {
  const int pw = part.right - part.left;
  const RECT vis =
      MakeRect(rect.left + part.left, rect.top + part.top, rect.left + part.right, rect.top + part.bottom);
  d.ForEachClipped(vis, [&](const RECT& q) {
    for (int yy = q.top; yy < q.bottom; ++yy) {
      const std::uint32_t* sp = img.data() + static_cast<std::size_t>(yy - vis.top) * pw + (q.left - vis.left);
      BlendRow(sp, d.Row(yy) + q.left, q.right - q.left, constantAlpha, opaque);
    }
  });
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
  auto d = CanvasOf(dst);
  if (!d) return FALSE;
  if (w < 0 || h < 0) return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
  if (w == 0 || h == 0) return TRUE;
  RECT rect = MakeRect(x + d->dx, y + d->dy, x + d->dx + w, y + d->dy + h);
  const Pattern pat = RopUsesPattern(rop) ? PatternOf(*d) : Pattern{};
  if (RopUsesPattern(rop) && pat.none && rop == PATCOPY) return TRUE;
  if (!RopUsesSource(rop)) {
    d->ForEachClipped(rect, [&](const RECT& q) {
      for (int yy = q.top; yy < q.bottom; ++yy)
        CombineRow(d->Row(yy) + q.left, nullptr, q.right - q.left, q.left, yy, rop, pat);
    });
    return TRUE;
  }
  Source s;
  if (!SourceOfDc(src, &s)) return FALSE;
  // Target to source pixels.
  const int shiftX = sx + s.dx - rect.left, shiftY = sy + s.dy - rect.top;
  rect = ClipToSource(rect, s, shiftX, shiftY);
  if (IsRectEmpty(&rect)) return TRUE;
  // Within one bitmap (scrolling) the source is copied first, so that no
  // pixel is read after it was overwritten, whatever the clip's shape.
  std::vector<std::uint32_t> copy;
  const bool same = s.pixels == d->pixels;
  if (same) {
    const int cw = rect.right - rect.left, ch = rect.bottom - rect.top;
    copy.resize(static_cast<std::size_t>(cw) * ch);
    for (int yy = 0; yy < ch; ++yy)
      std::memcpy(copy.data() + static_cast<std::size_t>(yy) * cw,
                  s.Row(rect.top + yy + shiftY) + rect.left + shiftX, static_cast<std::size_t>(cw) * 4);
  }
  d->ForEachClipped(rect, [&](const RECT& q) {
    for (int yy = q.top; yy < q.bottom; ++yy) {
      const std::uint32_t* sp =
          same ? copy.data() + static_cast<std::size_t>(yy - rect.top) * (rect.right - rect.left) + (q.left - rect.left)
               : s.Row(yy + shiftY) + q.left + shiftX;
      CombineRow(d->Row(yy) + q.left, sp, q.right - q.left, q.left, yy, rop, pat);
    }
  });
  return TRUE;
}

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
  if (RopUsesSource(rop)) return FALSE;
  // Negative sizes extend to the left or up, as on the platform.
  if (w < 0) {
    x += w;
    w = -w;
  }
  if (h < 0) {
    y += h;
    h = -h;
  }
  return BitBlt(dc, x, y, w, h, nullptr, 0, 0, rop);
}

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
  if (w == sw && h == sh && w > 0 && h > 0) return BitBlt(dst, x, y, w, h, src, sx, sy, rop);
  auto d = CanvasOf(dst);
  if (!d) return FALSE;
  if (!RopUsesSource(rop)) return PatBlt(dst, x, y, w, h, rop);
  Source s;
  if (!SourceOfDc(src, &s)) return FALSE;
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return TRUE;
  RECT rect, part;
  if (!Visible(*d, x, y, w, h, &rect, &part)) return TRUE;
  std::vector<std::uint32_t> img;
  const bool smooth = d->dc->state.stretchMode == HALFTONE;
  Scale(s, sx, sy, sw, sh, w, h, part, smooth, &img);
  const int pw = part.right - part.left;
  const Pattern pat = RopUsesPattern(rop) ? PatternOf(*d) : Pattern{};
  RECT vis = MakeRect(rect.left + part.left, rect.top + part.top, rect.left + part.right, rect.top + part.bottom);
  d->ForEachClipped(vis, [&](const RECT& q) {
    for (int yy = q.top; yy < q.bottom; ++yy) {
      const std::uint32_t* sp = img.data() + static_cast<std::size_t>(yy - vis.top) * pw + (q.left - vis.left);
      CombineRow(d->Row(yy) + q.left, sp, q.right - q.left, q.left, yy, rop, pat);
    }
  });
  return TRUE;
}

namespace {

BOOL KeyedBlit(HDC dst, int x, int y, int w, int h, const Source& s, int sx, int sy, int sw, int sh, COLORREF key) {
  auto d = CanvasOf(dst);
  if (!d) return FALSE;
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return TRUE;
  RECT rect, part;
  if (!Visible(*d, x, y, w, h, &rect, &part)) return TRUE;
  std::vector<std::uint32_t> img;
  // Nearest pixels only: averaging would blend the key colour into the edges.
  Scale(s, sx, sy, sw, sh, w, h, part, false, &img);
  const std::uint32_t k = gdi::ColorToPixel(key) & kRgbMask;
  const int pw = part.right - part.left;
  RECT vis = MakeRect(rect.left + part.left, rect.top + part.top, rect.left + part.right, rect.top + part.bottom);
  d->ForEachClipped(vis, [&](const RECT& q) {
    for (int yy = q.top; yy < q.bottom; ++yy) {
      const std::uint32_t* sp = img.data() + static_cast<std::size_t>(yy - vis.top) * pw + (q.left - vis.left);
      std::uint32_t* dp = d->Row(yy) + q.left;
      for (int i = 0, n = q.right - q.left; i < n; ++i)
        if ((sp[i] & kRgbMask) != k) dp[i] = sp[i] | kAlphaMask;
    }
  });
  return TRUE;
}

}  // namespace

BOOL TransparentImage(HDC dst, int x, int y, int w, int h, HANDLE src, int sx, int sy, int sw, int sh,
                      COLORREF key) {
  Source s;
  if (!SourceOfHandle(src, &s)) return FALSE;
  return KeyedBlit(dst, x, y, w, h, s, sx, sy, sw, sh, key);
}

BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, UINT key) {
  Source s;
  if (!SourceOfDc(src, &s)) return FALSE;
  return KeyedBlit(dst, x, y, w, h, s, sx, sy, sw, sh, key);
}

BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, BLENDFUNCTION bf) {
  auto d = CanvasOf(dst);
  Source s;
  if (!d || !SourceOfDc(src, &s) || bf.BlendOp != AC_SRC_OVER || w < 0 || h < 0 || sw < 0 || sh < 0) return FALSE;
  if (w == 0 || h == 0 || sw == 0 || sh == 0 || bf.SourceConstantAlpha == 0) return TRUE;
  const bool perPixel = (bf.AlphaFormat & AC_SRC_ALPHA) != 0;
  if (perPixel && w == sw && h == sh && sx + s.dx >= 0 && sy + s.dy >= 0 && sx + s.dx + sw <= s.width &&
      sy + s.dy + sh <= s.height) {
    // Same size and inside the source: blend straight from it.
    const gdi::PixelView view{s.pixels, s.width, s.height, s.stride ? s.stride : s.width};
    return gdi::BlendPixels(dst, x, y, w, h, view, sx + s.dx, sy + s.dy, sw, sh, bf.SourceConstantAlpha)
               ? TRUE
               : FALSE;
  }
  RECT rect, part;
  if (!Visible(*d, x, y, w, h, &rect, &part)) return TRUE;
  std::vector<std::uint32_t> img;
  Scale(s, sx, sy, sw, sh, w, h, part, true, &img);
  BlendScaled(*d, img, rect, part, bf.SourceConstantAlpha, !perPixel);
  return TRUE;
}

namespace gdi {

bool BlendPixels(HDC dst, int x, int y, int w, int h, const PixelView& src, int sx, int sy, int sw, int sh,
                 int constantAlpha, bool smooth) {
  auto d = CanvasOf(dst);
  if (!d || !src.pixels || src.width <= 0 || src.height <= 0 || w < 0 || h < 0 || sw <= 0 || sh <= 0) return false;
  if (w == 0 || h == 0 || constantAlpha <= 0) return true;
  Source s;
  s.pixels = src.pixels;
  s.width = src.width;
  s.height = src.height;
  s.stride = src.stride;
  RECT rect, part;
  if (!Visible(*d, x, y, w, h, &rect, &part)) return true;
  std::vector<std::uint32_t> img;
  if (w == sw && h == sh && sx >= 0 && sy >= 0 && sx + sw <= src.width && sy + sh <= src.height) {
    // Same size: read the source directly.
    const std::uint32_t ca = static_cast<std::uint32_t>(std::min(constantAlpha, 255));
    RECT vis = MakeRect(rect.left + part.left, rect.top + part.top, rect.left + part.right, rect.top + part.bottom);
    d->ForEachClipped(vis, [&](const RECT& q) {
      for (int yy = q.top; yy < q.bottom; ++yy) {
        const std::uint32_t* sp = s.Row(sy + yy - rect.top) + sx + (q.left - rect.left);
        BlendRow(sp, d->Row(yy) + q.left, q.right - q.left, ca, false);
      }
    });
    return true;
  }
  Scale(s, sx, sy, sw, sh, w, h, part, true, &img, smooth);
  BlendScaled(*d, img, rect, part, static_cast<std::uint32_t>(std::min(constantAlpha, 255)), false);
  return true;
}

}  // namespace gdi
