// Device contexts: what a DC holds (its target, selected objects, colours,
// modes, clip and saved states) and the view of it that drawing code uses.
#pragma once

#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/gdi/region.h"
#include "platform/win32/gdi_defs.h"

namespace gdi::detail {

// The state SaveDC keeps and RestoreDC brings back.
struct DcState {
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HBITMAP bitmap = nullptr;  // memory DCs only
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  UINT textAlign = TA_LEFT | TA_TOP;
  int stretchMode = HALFTONE;
  int polyFillMode = ALTERNATE;
  COLORREF dcBrushColor = RGB(255, 255, 255);
  COLORREF dcPenColor = RGB(0, 0, 0);
  POINT brushOrg;
  POINT viewportOrg;      // added to logical coordinates
  POINT position;         // current position (MoveToEx/LineTo), logical
  std::optional<Region> clip;  // DC device units (relative to the DC origin); none = no clip
};

struct DcObj : Object {
  DcObj() : Object(Kind::Dc) {}
  bool window = false;           // a window DC (CreateWindowDC) rather than a memory DC
  HBITMAP windowTarget = nullptr;  // window DCs: the framebuffer
  POINT origin;                  // window DCs: DC (0, 0) in target pixels
  Region visible;                // window DCs: the visible area in target pixels
  DcState state;
  std::vector<DcState> saved;

  // Selected objects, resolved (valid while selected: a selected object cannot be deleted).
  PenObj* pen = nullptr;
  BrushObj* brush = nullptr;
  FontObj* font = nullptr;

  // Effective clip in target pixels, rebuilt when it is marked stale.
  bool clipStale = true;
  std::vector<RECT> clipRects;
  RECT clipBounds{};
};

// What a drawing operation needs: the target pixels, the offset from logical
// to target coordinates, and the clip rectangles in target pixels.
struct Canvas {
  DcObj* dc = nullptr;
  BitmapObj* bitmap = nullptr;
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  int dx = 0;  // target x = logical x + dx
  int dy = 0;
  const std::vector<RECT>* clip = nullptr;
  RECT clipBounds{};

  std::uint32_t* Row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
  // The clip rectangles meeting r (target pixels), each intersected with r.
  template <typename F>
  void ForEachClipped(const RECT& r, F&& f) const {
    if (r.left >= clipBounds.right || r.right <= clipBounds.left || r.top >= clipBounds.bottom ||
        r.bottom <= clipBounds.top)
      return;
    for (const RECT& c : *clip) {
      RECT q{std::max(r.left, c.left), std::max(r.top, c.top), std::min(r.right, c.right),
             std::min(r.bottom, c.bottom)};
      if (q.left < q.right && q.top < q.bottom) f(q);
    }
  }
};

// A canvas for the DC, or nullopt when the handle is bad or the DC draws
// nowhere (a memory DC with no usable bitmap). The clip may be empty.
std::optional<Canvas> CanvasOf(HDC dc);
// The DC's own area in its device units (the bitmap, or the window's visible
// bounds relative to its origin).
void MarkClipStale(DcObj* dc);

// Sets one field of a DC's state and returns the old value; `bad` for a
// handle that names no DC or (`valid` false) a value the field does not take.
template <typename T>
T SetStateField(HDC handle, T DcState::*field, std::type_identity_t<T> value, std::type_identity_t<T> bad,
                bool valid = true) {
  DcObj* dc = LookupDc(handle);
  if (!dc || !valid) return bad;
  T old = dc->state.*field;
  dc->state.*field = value;
  return old;
}
template <typename T>
T GetStateField(HDC handle, T DcState::*field, std::type_identity_t<T> bad) {
  DcObj* dc = LookupDc(handle);
  return dc ? dc->state.*field : bad;
}
// A point of the state (the brush origin, the viewport origin, the current
// position) set to (x, y), the old one in *previous when asked; FALSE for a
// handle that names no DC.
BOOL SetStatePoint(HDC handle, POINT DcState::*field, int x, int y, POINT* previous);
// The point in *out; FALSE for a handle that names no DC or a null out.
BOOL GetStatePoint(HDC handle, POINT DcState::*field, POINT* out);

// The selected objects with their stock fallbacks resolved.
COLORREF PenColor(const DcObj* dc);
COLORREF BrushColor(const DcObj* dc);

}  // namespace gdi::detail
