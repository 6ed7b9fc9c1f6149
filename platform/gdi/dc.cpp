// Device contexts: creation, selection of objects, attributes, saved states,
// clipping, and the window DCs of surface.h.
#include "platform/gdi/dc.h"

#include <algorithm>
#include <atomic>

#include "platform/gdi/gdi.h"
#include "platform/win32/errors.h"
#include "platform/win32/rect.h"

using namespace gdi::detail;

namespace gdi::detail {

namespace {

constexpr int kDefaultBitmapStock = 20;

BitmapObj* TargetOf(const DcObj* dc) {
  return LookupBitmap(dc->window ? dc->windowTarget : dc->state.bitmap);
}

// The DC's own area in its device units (before any clip region).
RECT DcArea(const DcObj* dc) {
  if (dc->window) {
    RECT b = dc->visible.Bounds();
    OffsetRect(&b, -dc->origin.x, -dc->origin.y);
    return b;
  }
  const BitmapObj* bmp = TargetOf(dc);
  return bmp ? MakeRect(0, 0, bmp->width, bmp->height) : RECT{};
}

void RebuildClip(DcObj* dc) {
  Region eff;
  BitmapObj* bmp = TargetOf(dc);
  if (bmp) {
    const RECT full = MakeRect(0, 0, bmp->width, bmp->height);
    if (dc->window) {
      eff = dc->visible;
      eff.Intersect(full);
    } else {
      eff.Set(full);
    }
    if (dc->state.clip) {
      Region c = *dc->state.clip;
      if (dc->window) c.Offset(dc->origin.x, dc->origin.y);
      eff.Intersect(c);
    }
  }
  dc->clipRects = eff.Rects();
  dc->clipBounds = eff.Bounds();
  dc->clipStale = false;
}

int KindOfRegion(const std::vector<RECT>& rects) {
  if (rects.empty()) return NULLREGION;
  return rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// Replaces a selected pen, brush or font, keeping the selection counts right.
template <typename T>
void Swap(T** resolved, T* obj) {
  if (*resolved) --(*resolved)->selections;
  *resolved = obj;
  ++obj->selections;
}

bool SelectBitmapInto(DcObj* dc, HBITMAP handle) {
  BitmapObj* bmp = LookupBitmap(handle);
  if (!bmp) return false;
  if (bmp->selectedInto && bmp->selectedInto != dc && !bmp->stock) return false;
  BitmapObj* old = LookupBitmap(dc->state.bitmap);
  if (old) {
    --old->selections;
    if (old->selectedInto == dc) old->selectedInto = nullptr;
  }
  dc->state.bitmap = handle;
  ++bmp->selections;
  if (!bmp->stock) bmp->selectedInto = dc;
  MarkClipStale(dc);
  return true;
}

// Selects again the pen, brush or font a saved state names, or the stock one
// when it was deleted meanwhile; the handle now selected.
template <typename T, typename Handle>
Handle Reselect(T** resolved, Handle saved, Kind kind, int stock) {
  HGDIOBJ handle = saved;
  T* obj = LookupAs<T>(handle, kind);
  if (!obj) {
    handle = Stock(stock);
    obj = LookupAs<T>(handle, kind);
  }
  Swap(resolved, obj);
  return static_cast<Handle>(handle);
}

// Restores the objects of a saved state; an object deleted meanwhile falls
// back to the DC's default.
void ReselectState(DcObj* dc, const DcState& s) {
  const HPEN pen = Reselect(&dc->pen, s.pen, Kind::Pen, BLACK_PEN);
  const HBRUSH brush = Reselect(&dc->brush, s.brush, Kind::Brush, WHITE_BRUSH);
  const HFONT font = Reselect(&dc->font, s.font, Kind::Font, SYSTEM_FONT);
  const HBITMAP current = dc->state.bitmap;
  const HGDIOBJ keepBitmap = dc->state.bitmap;
  dc->state = s;
  dc->state.pen = pen;
  dc->state.brush = brush;
  dc->state.font = font;
  dc->state.bitmap = current;
  if (!dc->window && s.bitmap != keepBitmap) {
    if (!SelectBitmapInto(dc, s.bitmap))
      SelectBitmapInto(dc, static_cast<HBITMAP>(Stock(kDefaultBitmapStock)));
  }
  MarkClipStale(dc);
}

std::atomic<int> g_logPixels{96};

HDC MakeDc(bool window) {
  auto dc = std::make_unique<DcObj>();
  DcObj* raw = dc.get();
  raw->window = window;
  raw->state.pen = static_cast<HPEN>(Stock(BLACK_PEN));
  raw->state.brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
  raw->state.font = static_cast<HFONT>(Stock(SYSTEM_FONT));
  raw->pen = LookupPen(raw->state.pen);
  raw->brush = LookupBrush(raw->state.brush);
  raw->font = LookupFont(raw->state.font);
  ++raw->pen->selections;
  ++raw->brush->selections;
  ++raw->font->selections;
  HDC handle = static_cast<HDC>(Register(std::move(dc)));
  if (!window) {
    raw->state.bitmap = nullptr;
    SelectBitmapInto(raw, static_cast<HBITMAP>(Stock(kDefaultBitmapStock)));
  }
  return handle;
}

}  // namespace

void MarkClipStale(DcObj* dc) { dc->clipStale = true; }

std::optional<Canvas> CanvasOf(HDC handle) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return std::nullopt;
  BitmapObj* bmp = TargetOf(dc);
  if (!bmp || !bmp->pixels) return std::nullopt;
  if (dc->clipStale) RebuildClip(dc);
  Canvas c;
  c.dc = dc;
  c.bitmap = bmp;
  c.pixels = bmp->pixels.get();
  c.width = bmp->width;
  c.height = bmp->height;
  c.stride = bmp->width;
  c.dx = (dc->window ? dc->origin.x : 0) + dc->state.viewportOrg.x;
  c.dy = (dc->window ? dc->origin.y : 0) + dc->state.viewportOrg.y;
  c.clip = &dc->clipRects;
  c.clipBounds = dc->clipBounds;
  return c;
}

COLORREF PenColor(const DcObj* dc) { return dc->pen->dcPen ? dc->state.dcPenColor : dc->pen->color; }
COLORREF BrushColor(const DcObj* dc) {
  return dc->brush->dcBrush ? dc->state.dcBrushColor : dc->brush->color;
}

}  // namespace gdi::detail

// ---- Creation and deletion ---------------------------------------------------------------

HDC CreateCompatibleDC(HDC dc) {
  if (dc && !LookupDc(dc)) return nullptr;
  return MakeDc(false);
}

BOOL DeleteDC(HDC handle) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return FALSE;
  if (dc->pen) --dc->pen->selections;
  if (dc->brush) --dc->brush->selections;
  if (dc->font) --dc->font->selections;
  if (BitmapObj* bmp = TargetOf(dc)) {
    --bmp->selections;
    if (bmp->selectedInto == dc) bmp->selectedInto = nullptr;
  }
  Unregister(handle);
  return TRUE;
}

// ---- Window DCs (surface.h) ----------------------------------------------------------------

namespace gdi {

HDC CreateWindowDC(HBITMAP target, POINT origin, const Region& visible) {
  BitmapObj* bmp = LookupBitmap(target);
  if (!bmp) return nullptr;
  HDC handle = MakeDc(true);
  DcObj* dc = LookupDc(handle);
  dc->windowTarget = target;
  ++bmp->selections;  // the framebuffer is not deleted while a window DC draws into it
  dc->origin = origin;
  dc->visible = visible;
  return handle;
}

void ReleaseWindowDC(HDC dc) { DeleteDC(dc); }

void UpdateWindowDC(HDC handle, POINT origin, const Region& visible) {
  DcObj* dc = LookupDc(handle);
  if (!dc || !dc->window) return;
  dc->origin = origin;
  dc->visible = visible;
  MarkClipStale(dc);
}

void RetargetWindowDC(HDC handle, HBITMAP target, POINT origin, const Region& visible) {
  DcObj* dc = LookupDc(handle);
  BitmapObj* bmp = LookupBitmap(target);
  if (!dc || !dc->window || !bmp) return;
  if (BitmapObj* old = LookupBitmap(dc->windowTarget)) --old->selections;
  dc->windowTarget = target;
  ++bmp->selections;
  UpdateWindowDC(handle, origin, visible);
}

void SetLogPixels(int dpi) {
  if (dpi > 0) g_logPixels = dpi;
}
int LogPixels() { return g_logPixels; }

int LiveObjectCount() { return LiveCount(); }

}  // namespace gdi

// ---- Selection and objects ----------------------------------------------------------------

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return nullptr;
  switch (KindOf(object)) {
    case Kind::Pen: {
      HGDIOBJ old = dc->state.pen;
      Swap(&dc->pen, LookupPen(object));
      dc->state.pen = static_cast<HPEN>(object);
      return old;
    }
    case Kind::Brush: {
      HGDIOBJ old = dc->state.brush;
      Swap(&dc->brush, LookupBrush(object));
      dc->state.brush = static_cast<HBRUSH>(object);
      return old;
    }
    case Kind::Font: {
      HGDIOBJ old = dc->state.font;
      Swap(&dc->font, LookupFont(object));
      dc->state.font = static_cast<HFONT>(object);
      return old;
    }
    case Kind::Bitmap: {
      if (dc->window) return nullptr;
      HGDIOBJ old = dc->state.bitmap;
      if (!SelectBitmapInto(dc, static_cast<HBITMAP>(object))) return nullptr;
      return old;
    }
    case Kind::Region: {
      const int kind = SelectClipRgn(handle, static_cast<HRGN>(object));
      return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(kind));
    }
    default:
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->window ? dc->windowTarget : dc->state.bitmap;
    default: return nullptr;
  }
}

HGDIOBJ GetStockObject(int id) { return Stock(id); }

BOOL DeleteObject(HGDIOBJ object) {
  Object* o = Lookup(object);
  if (!o || o->kind == Kind::Dc || o->kind == Kind::Icon) return FALSE;
  if (o->stock) return TRUE;  // deleting a stock object is harmless and does nothing
  if (o->selections > 0) return FALSE;
  return Unregister(object) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ object) {
  switch (KindOf(object)) {
    case Kind::Pen: return OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Font: return OBJ_FONT;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Region: return OBJ_REGION;
    case Kind::Dc: return LookupDc(object)->window ? OBJ_DC : OBJ_MEMDC;
    default: return 0;
  }
}

// ---- Attributes ------------------------------------------------------------------------------

namespace gdi::detail {

BOOL SetStatePoint(HDC handle, POINT DcState::*field, int x, int y, POINT* previous) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.*field;
  dc->state.*field = MakePoint(x, y);
  return TRUE;
}

BOOL GetStatePoint(HDC handle, POINT DcState::*field, POINT* out) {
  DcObj* dc = LookupDc(handle);
  if (!dc || !out) return FALSE;
  *out = dc->state.*field;
  return TRUE;
}

}  // namespace gdi::detail

COLORREF SetTextColor(HDC dc, COLORREF color) { return SetStateField(dc, &DcState::textColor, color, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return GetStateField(dc, &DcState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF color) { return SetStateField(dc, &DcState::bkColor, color, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return GetStateField(dc, &DcState::bkColor, CLR_INVALID); }
UINT SetTextAlign(HDC dc, UINT align) { return SetStateField(dc, &DcState::textAlign, align, 0xFFFFFFFFu); }
UINT GetTextAlign(HDC dc) { return GetStateField(dc, &DcState::textAlign, 0xFFFFFFFFu); }

int SetBkMode(HDC dc, int mode) {
  return SetStateField(dc, &DcState::bkMode, mode, 0, mode == TRANSPARENT || mode == OPAQUE);
}
int GetBkMode(HDC dc) { return GetStateField(dc, &DcState::bkMode, 0); }

int SetROP2(HDC dc, int mode) {
  return SetStateField(dc, &DcState::rop2, mode, 0, mode >= R2_BLACK && mode <= R2_WHITE);
}
int GetROP2(HDC dc) { return GetStateField(dc, &DcState::rop2, 0); }

int SetStretchBltMode(HDC dc, int mode) {
  return SetStateField(dc, &DcState::stretchMode, mode, 0, mode >= BLACKONWHITE && mode <= HALFTONE);
}
int GetStretchBltMode(HDC dc) { return GetStateField(dc, &DcState::stretchMode, 0); }

int SetPolyFillMode(HDC dc, int mode) {
  return SetStateField(dc, &DcState::polyFillMode, mode, 0, mode == ALTERNATE || mode == WINDING);
}

BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous) {
  return SetStatePoint(dc, &DcState::brushOrg, x, y, previous);
}

COLORREF SetDCBrushColor(HDC dc, COLORREF color) {
  return SetStateField(dc, &DcState::dcBrushColor, color, CLR_INVALID);
}

COLORREF SetDCPenColor(HDC dc, COLORREF color) { return SetStateField(dc, &DcState::dcPenColor, color, CLR_INVALID); }

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous) {
  return SetStatePoint(dc, &DcState::viewportOrg, x, y, previous);
}

BOOL GetViewportOrgEx(HDC dc, POINT* origin) { return GetStatePoint(dc, &DcState::viewportOrg, origin); }

BOOL OffsetViewportOrgEx(HDC handle, int dx, int dy, POINT* previous) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.viewportOrg;
  dc->state.viewportOrg.x += dx;
  dc->state.viewportOrg.y += dy;
  return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
  DcObj* dc = handle ? LookupDc(handle) : nullptr;
  if (handle && !dc) return 0;
  const int dpi = gdi::LogPixels();
  switch (index) {
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return dpi;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT;
    case SHADEBLENDCAPS: return SB_PIXEL_ALPHA | SB_CONST_ALPHA;
    case HORZRES:
    case VERTRES: {
      BitmapObj* bmp = dc ? TargetOf(dc) : nullptr;
      if (!bmp) return 0;
      return index == HORZRES ? bmp->width : bmp->height;
    }
    case HORZSIZE:
    case VERTSIZE: {
      BitmapObj* bmp = dc ? TargetOf(dc) : nullptr;
      if (!bmp) return 0;
      return MulDiv(index == HORZSIZE ? bmp->width : bmp->height, 254, dpi * 10);
    }
    default: return 0;
  }
}

// ---- Saved states --------------------------------------------------------------------------

int SaveDC(HDC handle) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int level) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return FALSE;
  const int depth = static_cast<int>(dc->saved.size());
  const int target = level < 0 ? depth + 1 + level : level;  // -1 = the last saved
  if (target < 1 || target > depth) return FALSE;
  DcState s = dc->saved[static_cast<std::size_t>(target - 1)];
  dc->saved.resize(static_cast<std::size_t>(target - 1));
  ReselectState(dc, s);
  return TRUE;
}

// ---- Clipping -----------------------------------------------------------------------------

namespace {

int EffectiveKind(DcObj* dc) {
  if (dc->clipStale) RebuildClip(dc);
  return KindOfRegion(dc->clipRects);
}

// The DC's clip region in its device units, made explicit when there was none.
gdi::Region& ClipForEdit(DcObj* dc) {
  if (!dc->state.clip) dc->state.clip = gdi::Region(DcArea(dc));
  return *dc->state.clip;
}

RECT LogicalToDevice(const DcObj* dc, RECT r) {
  OffsetRect(&r, dc->state.viewportOrg.x, dc->state.viewportOrg.y);
  return r;
}

}  // namespace

int SelectClipRgn(HDC handle, HRGN region) { return ExtSelectClipRgn(handle, region, RGN_COPY); }

int ExtSelectClipRgn(HDC handle, HRGN region, int mode) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return ERROR;
  RegionObj* r = region ? LookupRegion(region) : nullptr;
  if (region && !r) return ERROR;
  if (!r) {
    if (mode != RGN_COPY) return ERROR;
    dc->state.clip.reset();
  } else {
    switch (mode) {
      case RGN_COPY: dc->state.clip = r->region; break;
      case RGN_AND: ClipForEdit(dc).Intersect(r->region); break;
      case RGN_OR: ClipForEdit(dc).Union(r->region); break;
      case RGN_DIFF: ClipForEdit(dc).Subtract(r->region); break;
      case RGN_XOR: ClipForEdit(dc).Xor(r->region); break;
      default: return ERROR;
    }
  }
  MarkClipStale(dc);
  return EffectiveKind(dc);
}

int GetClipRgn(HDC handle, HRGN region) {
  DcObj* dc = LookupDc(handle);
  RegionObj* r = LookupRegion(region);
  if (!dc || !r) return -1;
  if (!dc->state.clip) return 0;
  r->region = *dc->state.clip;
  return 1;
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return ERROR;
  const RECT r = LogicalToDevice(dc, MakeRect(left, top, right, bottom));
  if (dc->state.clip)
    dc->state.clip->Intersect(r);
  else
    dc->state.clip = gdi::Region(r);
  MarkClipStale(dc);
  return EffectiveKind(dc);
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
  DcObj* dc = LookupDc(handle);
  if (!dc) return ERROR;
  ClipForEdit(dc).Subtract(LogicalToDevice(dc, MakeRect(left, top, right, bottom)));
  MarkClipStale(dc);
  return EffectiveKind(dc);
}

int GetClipBox(HDC handle, RECT* box) {
  auto canvas = CanvasOf(handle);
  if (!canvas || !box) {
    if (box) SetRectEmpty(box);
    return ERROR;
  }
  *box = canvas->clipBounds;
  if (IsRectEmpty(box))
    SetRectEmpty(box);
  else
    OffsetRect(box, -canvas->dx, -canvas->dy);
  return KindOfRegion(*canvas->clip);
}

BOOL RectVisible(HDC handle, const RECT* rect) {
  auto canvas = CanvasOf(handle);
  if (!canvas || !rect) return FALSE;
  RECT r = *rect;
  // The platform accepts rectangles given the wrong way round.
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  OffsetRect(&r, canvas->dx, canvas->dy);
  bool any = false;
  canvas->ForEachClipped(r, [&](const RECT&) { any = true; });
  return any ? TRUE : FALSE;
}

BOOL PtVisible(HDC handle, int x, int y) {
  RECT r = MakeRect(x, y, x + 1, y + 1);
  return RectVisible(handle, &r);
}
