// The GDI object table: every bitmap, pen, brush, font, region, icon and DC
// lives here behind a handle that encodes its slot, its kind and a generation,
// so a stale or wrong handle is recognised instead of followed.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gdi/pixel_memory.h"
#include "platform/gdi/region.h"
#include "platform/win32/gdi_defs.h"
#include "platform/win32/types.h"

namespace gdi::detail {

class FontInstance;
struct DcObj;

enum class Kind : std::uint8_t { None = 0, Bitmap, Pen, Brush, Font, Region, Dc, Icon };

struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  const Kind kind;
  bool stock = false;    // never deleted
  int selections = 0;    // DCs holding it selected (DeleteObject fails while > 0)
};

struct BitmapObj : Object {
  BitmapObj() : Object(Kind::Bitmap) {}
  int width = 0;
  int height = 0;
  PixelMemory pixels;      // width * height, rows top-down
  int bitsPixel = 32;      // depth reported by GetObjectW (pixels are always 32-bit)
  bool dib = false;        // made by CreateDIBSection
  BITMAPINFOHEADER dibHeader;
  DcObj* selectedInto = nullptr;  // the memory DC holding it, if any
};

struct PenObj : Object {
  PenObj() : Object(Kind::Pen) {}
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
  bool dcPen = false;  // the DC_PEN stock pen: colour comes from the DC
};

struct BrushObj : Object {
  BrushObj() : Object(Kind::Brush) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
  bool dcBrush = false;  // the DC_BRUSH stock brush
  // BS_PATTERN: a copy of the pattern's pixels, tiled from the brush origin.
  int patternWidth = 0;
  int patternHeight = 0;
  std::vector<std::uint32_t> pattern;
};

struct FontObj : Object {
  FontObj() : Object(Kind::Font) {}
  LOGFONTW logfont;
  std::shared_ptr<FontInstance> instance;  // realised on first use (see font_engine.h)
};

struct RegionObj : Object {
  RegionObj() : Object(Kind::Region) {}
  Region region;
};

struct IconObj : Object {
  IconObj() : Object(Kind::Icon) {}
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // premultiplied 0xAARRGGBB, what DrawIconEx draws
  // What GetIconInfo hands back, kept as given.
  bool monochrome = false;
  std::vector<std::uint32_t> color;  // width * height (empty for monochrome)
  std::vector<std::uint32_t> mask;   // width * height (twice the height for monochrome)
  bool fIcon = true;
  DWORD hotX = 0;
  DWORD hotY = 0;
};

// Registers an object and returns its handle (never null).
void* Register(std::unique_ptr<Object> object);
// The live object of that handle and kind, or null (with ERROR_INVALID_HANDLE).
Object* Lookup(const void* handle);
template <typename T>
T* LookupAs(const void* handle, Kind kind) {
  Object* o = Lookup(handle);
  return (o && o->kind == kind) ? static_cast<T*>(o) : nullptr;
}
inline BitmapObj* LookupBitmap(const void* h) { return LookupAs<BitmapObj>(h, Kind::Bitmap); }
inline PenObj* LookupPen(const void* h) { return LookupAs<PenObj>(h, Kind::Pen); }
inline BrushObj* LookupBrush(const void* h) { return LookupAs<BrushObj>(h, Kind::Brush); }
inline FontObj* LookupFont(const void* h) { return LookupAs<FontObj>(h, Kind::Font); }
inline RegionObj* LookupRegion(const void* h) { return LookupAs<RegionObj>(h, Kind::Region); }
inline IconObj* LookupIcon(const void* h) { return LookupAs<IconObj>(h, Kind::Icon); }
DcObj* LookupDc(const void* h);
// The kind a handle names, Kind::None when it is not live.
Kind KindOf(const void* handle);
// Removes and destroys the object; false when the handle is not live.
bool Unregister(const void* handle);
int LiveCount();

// Stock objects are made on first use and never deleted.
void* Stock(int id);

}  // namespace gdi::detail
