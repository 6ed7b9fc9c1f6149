// What the drawing layer offers the window system and the screen: raw access
// to a bitmap's pixels, and device contexts that draw into a part of a bitmap
// (a window's area of the screen framebuffer) clipped to a visible region.
//
// Pixels are 32-bit values 0xAARRGGBB, rows top-down, no padding between rows
// beyond `stride` (in pixels). COLORREF (0x00BBGGRR) converts with
// ColorToPixel/PixelToColor. Drawing writes opaque pixels (alpha 255); alpha
// matters only in pictures and DIB sections used as blending sources
// (premultiplied), so a screen shows its framebuffer's colours and ignores
// its alpha.
#pragma once

#include <cstdint>

#include "platform/gdi/region.h"
#include "platform/win32/types.h"

namespace gdi {

constexpr std::uint32_t ColorToPixel(COLORREF c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF PixelToColor(std::uint32_t p) {
  return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

struct PixelBuffer {
  std::uint32_t* pixels = nullptr;  // null when the bitmap handle is not valid
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels per row
};

// Pixels of a bitmap made by CreateCompatibleBitmap, CreateDIBSection or
// CreateBitmap; valid until the bitmap is deleted.
PixelBuffer BitmapPixels(HBITMAP bitmap);

// A device context drawing into `target` with logical (0, 0) at `origin`
// (target pixels) and every drawing operation clipped to `visible` (target
// pixels). The window system makes one for BeginPaint and GetDC; the DC's own
// clip calls (IntersectClipRect, SelectClipRgn) narrow within `visible` and
// never widen beyond it. Released with ReleaseWindowDC (or DeleteDC).
HDC CreateWindowDC(HBITMAP target, POINT origin, const Region& visible);
void ReleaseWindowDC(HDC dc);

// Moves a window DC to a new place and visible area (used when a window moves
// while a DC from GetDC is still held).
void UpdateWindowDC(HDC dc, POINT origin, const Region& visible);

// Points a window DC at a new target bitmap (the framebuffer was remade, e.g.
// after rotation), with its new origin and visible area. A bitmap that window
// DCs draw into cannot be deleted until they are released or retargeted.
void RetargetWindowDC(HDC dc, HBITMAP target, POINT origin, const Region& visible);

}  // namespace gdi
