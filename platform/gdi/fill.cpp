// Rectangle fills and single pixels.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster.h"
#include "platform/win32/rect.h"

using namespace gdi::detail;

namespace {

// Logical to target pixels; far-out coordinates are pulled in first so the
// offset cannot overflow (nothing that far is ever visible).
RECT ToTarget(const Canvas& c, RECT r) {
  constexpr LONG kFar = 1 << 28;
  r.left = std::clamp(r.left, -kFar, kFar) + c.dx;
  r.right = std::clamp(r.right, -kFar, kFar) + c.dx;
  r.top = std::clamp(r.top, -kFar, kFar) + c.dy;
  r.bottom = std::clamp(r.bottom, -kFar, kFar) + c.dy;
  return r;
}

}  // namespace

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  auto canvas = CanvasOf(dc);
  if (!canvas || !rect) return 0;
  // The platform also takes a system colour index + 1 here; we have no system
  // colours, so only real brushes paint.
  BrushObj* b = LookupBrush(brush);
  if (!b) return 0;
  Paint paint;
  const COLORREF color = b->dcBrush ? canvas->dc->state.dcBrushColor : b->color;
  if (BrushPaint(*canvas, b, color, false, &paint)) PaintRect(*canvas, ToTarget(*canvas, *rect), paint);
  return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  auto canvas = CanvasOf(dc);
  BrushObj* b = LookupBrush(brush);
  if (!canvas || !rect || !b) return 0;
  const RECT r = ToTarget(*canvas, *rect);
  if (r.right <= r.left || r.bottom <= r.top) return 1;
  Paint paint;
  const COLORREF color = b->dcBrush ? canvas->dc->state.dcBrushColor : b->color;
  if (!BrushPaint(*canvas, b, color, false, &paint)) return 1;
  PaintRect(*canvas, MakeRect(r.left, r.top, r.right, r.top + 1), paint);
  if (r.bottom - r.top > 1) PaintRect(*canvas, MakeRect(r.left, r.bottom - 1, r.right, r.bottom), paint);
  PaintRect(*canvas, MakeRect(r.left, r.top + 1, r.left + 1, r.bottom - 1), paint);
  if (r.right - r.left > 1) PaintRect(*canvas, MakeRect(r.right - 1, r.top + 1, r.right, r.bottom - 1), paint);
  return 1;
}

BOOL InvertRect(HDC dc, const RECT* rect) {
  auto canvas = CanvasOf(dc);
  if (!canvas || !rect) return FALSE;
  Paint paint;
  paint.rop = R2_NOT;
  PaintRect(*canvas, ToTarget(*canvas, *rect), paint);
  return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
  auto canvas = CanvasOf(dc);
  if (!canvas || !rect) return FALSE;
  // A dotted frame drawn with XOR, so a second call removes it.
  const RECT r = ToTarget(*canvas, *rect);
  Paint paint;
  paint.rop = R2_NOT;
  auto dot = [&](int x, int y) { PaintSpan(*canvas, y, x, x + 1, paint); };
  for (int x = r.left; x < r.right; x += 2) {
    dot(x, r.top);
    if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
  }
  for (int y = r.top + 2; y < r.bottom - 1; y += 2) {
    dot(r.left, y);
    if (r.right - 1 > r.left) dot(r.right - 1, y);
  }
  return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  auto canvas = CanvasOf(dc);
  if (!canvas) return CLR_INVALID;
  const int tx = x + canvas->dx, ty = y + canvas->dy;
  bool inside = false;
  canvas->ForEachClipped(MakeRect(tx, ty, tx + 1, ty + 1), [&](const RECT&) { inside = true; });
  if (!inside) return CLR_INVALID;
  canvas->Row(ty)[tx] = gdi::ColorToPixel(color);
  return color & 0x00FFFFFFu;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  auto canvas = CanvasOf(dc);
  if (!canvas) return CLR_INVALID;
  const int tx = x + canvas->dx, ty = y + canvas->dy;
  // A window DC reads only its visible area; a memory DC its whole bitmap.
  bool inside;
  if (canvas->dc->window) {
    inside = false;
    canvas->ForEachClipped(MakeRect(tx, ty, tx + 1, ty + 1), [&](const RECT&) { inside = true; });
  } else {
    inside = tx >= 0 && ty >= 0 && tx < canvas->width && ty < canvas->height;
  }
  if (!inside) return CLR_INVALID;
  return gdi::PixelToColor(canvas->Row(ty)[tx]);
}
