// Bitmaps, pens, brushes and GetObjectW.
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/errors.h"

using namespace gdi::detail;

namespace {

// Larger bitmaps are refused: no picture of this system comes near it, and a
// corrupt header must not make us allocate gigabytes.
constexpr long long kMaxPixels = 64ll * 1024 * 1024;
constexpr int kMaxSide = 32767;

std::unique_ptr<BitmapObj> NewBitmap(int width, int height, std::uint32_t fill) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      static_cast<long long>(width) * height > kMaxPixels) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto b = std::make_unique<BitmapObj>();
  b->width = width;
  b->height = height;
  const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  b->pixels = gdi::AllocatePixels(n);
  if (!b->pixels) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (fill != 0) std::fill_n(b->pixels.get(), n, fill);  // the memory comes zeroed
  return b;
}

// One pixel of packed rows as CreateBitmap takes them (no palette: 1-bit
// set = white; 4- and 8-bit are grey levels).
std::uint32_t ReadPacked(const std::uint8_t* row, int x, UINT bpp) {
  switch (bpp) {
    case 1: return (row[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFFFFu : 0xFF000000u;
    case 4: {
      const std::uint32_t v = (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
      const std::uint32_t g = v * 17;
      return 0xFF000000u | (g << 16) | (g << 8) | g;
    }
    case 8: {
      const std::uint32_t g = row[x];
      return 0xFF000000u | (g << 16) | (g << 8) | g;
    }
    case 16: {
      const std::uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
      const std::uint32_t r = ((v >> 10) & 31) * 255 / 31, g = ((v >> 5) & 31) * 255 / 31, b = (v & 31) * 255 / 31;
      return 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    case 24: {
      const std::uint8_t* p = row + 3 * x;
      return 0xFF000000u | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
    }
    default: {
      const std::uint8_t* p = row + 4 * x;
      return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
    }
  }
}

}  // namespace

// ---- Bitmaps ----------------------------------------------------------------------------

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (dc && !LookupDc(dc)) return nullptr;
  // New bitmaps are black, as on the platform.
  auto b = NewBitmap(width, height, 0xFF000000u);
  if (!b) return nullptr;
  return static_cast<HBITMAP>(Register(std::move(b)));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bpp, const void* bits) {
  if (planes != 1 || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto b = NewBitmap(width, height, 0xFF000000u);
  if (!b) return nullptr;
  b->bitsPixel = static_cast<int>(bpp);
  if (bits) {
    // Rows are padded to a multiple of 16 bits.
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bpp + 15) / 16) * 2;
    const auto* src = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* row = src + rowBytes * static_cast<std::size_t>(y);
      std::uint32_t* out = b->pixels.get() + static_cast<std::size_t>(y) * width;
      for (int x = 0; x < width; ++x) out[x] = ReadPacked(row, x, bpp);
    }
  }
  return static_cast<HBITMAP>(Register(std::move(b)));
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
  if (bits) *bits = nullptr;
  if (!info || section || (dc && !LookupDc(dc))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const BITMAPINFOHEADER& h = info->bmiHeader;
  const WORD bpp = h.biBitCount;
  if (h.biSize < 40 || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN ||
      (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) ||
      (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  auto b = NewBitmap(h.biWidth, height, 0);  // DIB sections start cleared, alpha 0
  if (!b) return nullptr;
  b->dib = true;
  b->bitsPixel = 32;
  b->dibHeader = h;
  b->dibHeader.biSize = 40;
  b->dibHeader.biBitCount = 32;
  b->dibHeader.biHeight = -height;
  b->dibHeader.biCompression = BI_RGB;
  b->dibHeader.biSizeImage = static_cast<DWORD>(h.biWidth) * static_cast<DWORD>(height) * 4;
  void* p = b->pixels.get();
  HBITMAP handle = static_cast<HBITMAP>(Register(std::move(b)));
  if (bits) *bits = p;
  return handle;
}

namespace gdi {

PixelBuffer BitmapPixels(HBITMAP bitmap) {
  PixelBuffer pb;
  BitmapObj* b = LookupBitmap(bitmap);
  if (!b || b->stock) return pb;
  pb.pixels = b->pixels.get();
  pb.width = b->width;
  pb.height = b->height;
  pb.stride = b->width;
  return pb;
}

}  // namespace gdi

// ---- Pens and brushes -----------------------------------------------------------------------

HPEN CreatePen(int style, int width, COLORREF color) {
  const int s = style & PS_STYLE_MASK;
  if (s > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto p = std::make_unique<PenObj>();
  p->style = s;
  p->width = width < 1 ? 1 : (width > 4096 ? 4096 : width);
  p->color = color & 0x00FFFFFFu;
  return static_cast<HPEN>(Register(std::move(p)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return nullptr;
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto b = std::make_unique<BrushObj>();
  b->style = BS_SOLID;
  b->color = color & 0x00FFFFFFu;
  return static_cast<HBRUSH>(Register(std::move(b)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  switch (brush->lbStyle) {
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default: return CreateSolidBrush(brush->lbColor);  // hatches paint solid
  }
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  BitmapObj* bmp = LookupBitmap(bitmap);
  if (!bmp) return nullptr;
  auto b = std::make_unique<BrushObj>();
  b->style = BS_PATTERN;
  b->patternWidth = bmp->width;
  b->patternHeight = bmp->height;
  b->pattern.assign(bmp->pixels.get(), bmp->pixels.get() + static_cast<std::size_t>(bmp->width) * bmp->height);
  return static_cast<HBRUSH>(Register(std::move(b)));
}

// ---- GetObjectW ----------------------------------------------------------------------------------

namespace {

template <typename T>
int CopyOut(const T& value, int size, LPVOID buffer) {
  if (!buffer) return sizeof(T);
  if (size < static_cast<int>(sizeof(T))) return 0;
  std::memcpy(buffer, &value, sizeof(T));
  return sizeof(T);
}

}  // namespace

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  Object* o = Lookup(object);
  if (!o || size < 0) return 0;
  switch (o->kind) {
    case Kind::Bitmap: {
      auto* b = static_cast<BitmapObj*>(o);
      BITMAP bm;
      bm.bmWidth = b->width;
      bm.bmHeight = b->height;
      bm.bmPlanes = 1;
      bm.bmBitsPixel = static_cast<WORD>(b->bitsPixel);
      bm.bmWidthBytes = b->dib ? b->width * 4 : ((b->width * b->bitsPixel + 15) / 16) * 2;
      bm.bmBits = b->dib ? b->pixels.get() : nullptr;
      if (b->dib && buffer && size >= static_cast<int>(sizeof(DIBSECTION))) {
        DIBSECTION ds;
        ds.dsBm = bm;
        ds.dsBmih = b->dibHeader;
        return CopyOut(ds, size, buffer);
      }
      return CopyOut(bm, size, buffer);
    }
    case Kind::Pen: {
      auto* p = static_cast<PenObj*>(o);
      LOGPEN lp;
      lp.lopnStyle = static_cast<UINT>(p->style);
      lp.lopnWidth.x = p->width;
      lp.lopnColor = p->color;
      return CopyOut(lp, size, buffer);
    }
    case Kind::Brush: {
      auto* b = static_cast<BrushObj*>(o);
      LOGBRUSH lb;
      lb.lbStyle = b->style;
      lb.lbColor = b->color;
      return CopyOut(lb, size, buffer);
    }
    case Kind::Font: return CopyOut(static_cast<FontObj*>(o)->logfont, size, buffer);
    default: return 0;
  }
}
