// Region handles: rectangle regions and their combinations.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster.h"
#include "platform/win32/rect.h"

using namespace gdi::detail;

namespace {

RECT Normalized(int left, int top, int right, int bottom) {
  return MakeRect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
}

int KindOf(const gdi::Region& r) {
  if (r.IsEmpty()) return NULLREGION;
  return r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  auto r = std::make_unique<RegionObj>();
  r->region.Set(Normalized(left, top, right, bottom));
  return static_cast<HRGN>(Register(std::move(r)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return nullptr;
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
  RegionObj* r = LookupRegion(handle);
  if (!r) return FALSE;
  r->region.Set(Normalized(left, top, right, bottom));
  return TRUE;
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
  RegionObj* d = LookupRegion(dst);
  RegionObj* ra = LookupRegion(a);
  RegionObj* rb = mode == RGN_COPY ? nullptr : LookupRegion(b);
  if (!d || !ra || (mode != RGN_COPY && !rb)) return ERROR;
  gdi::Region out = ra->region;
  switch (mode) {
    case RGN_COPY: break;
    case RGN_AND: out.Intersect(rb->region); break;
    case RGN_OR: out.Union(rb->region); break;
    case RGN_DIFF: out.Subtract(rb->region); break;
    case RGN_XOR: out.Xor(rb->region); break;
    default: return ERROR;
  }
  d->region = std::move(out);
  return KindOf(d->region);
}

int OffsetRgn(HRGN handle, int dx, int dy) {
  RegionObj* r = LookupRegion(handle);
  if (!r) return ERROR;
  r->region.Offset(dx, dy);
  return KindOf(r->region);
}

int GetRgnBox(HRGN handle, RECT* box) {
  RegionObj* r = LookupRegion(handle);
  if (!r || !box) return ERROR;
  *box = r->region.Bounds();
  return KindOf(r->region);
}

BOOL PtInRegion(HRGN handle, int x, int y) {
  RegionObj* r = LookupRegion(handle);
  return r && r->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN handle, const RECT* rect) {
  RegionObj* r = LookupRegion(handle);
  return r && rect && r->region.Intersects(*rect) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
  RegionObj* ra = LookupRegion(a);
  RegionObj* rb = LookupRegion(b);
  return ra && rb && ra->region == rb->region ? TRUE : FALSE;
}

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush) {
  RegionObj* r = LookupRegion(region);
  BrushObj* b = LookupBrush(brush);
  auto canvas = CanvasOf(dc);
  if (!r || !b || !canvas) return FALSE;
  Paint paint;
  if (!BrushPaint(*canvas, b, b->dcBrush ? canvas->dc->state.dcBrushColor : b->color, false, &paint)) return TRUE;
  for (RECT q : r->region.Rects()) {
    OffsetRect(&q, canvas->dx, canvas->dy);
    PaintRect(*canvas, q, paint);
  }
  return TRUE;
}
