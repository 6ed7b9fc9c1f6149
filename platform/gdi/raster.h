// Pixel arithmetic shared by the shape, blit and text code: raster
// operations, blending, and painting horizontal spans through a DC's clip.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/surface.h"

namespace gdi::detail {

constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;
constexpr std::uint32_t kAlphaMask = 0xFF000000u;

// x * y / 255, rounded, for x, y in 0..255.
inline std::uint32_t Mul255(std::uint32_t x, std::uint32_t y) {
  const std::uint32_t t = x * y + 128;
  return (t + (t >> 8)) >> 8;
}

// Binary raster operation (R2_*) of a pen or brush pixel with a destination
// pixel. The result is opaque.
inline std::uint32_t Rop2(int rop, std::uint32_t pen, std::uint32_t dst) {
  std::uint32_t r;
  switch (rop) {
    case R2_COPYPEN: r = pen; break;
    case R2_NOT: r = ~dst; break;
    case R2_XORPEN: r = pen ^ dst; break;
    case R2_NOP: return dst;
    case R2_BLACK: r = 0; break;
    case R2_WHITE: r = kRgbMask; break;
    default: {
      // The code minus one is a truth table over (pen, dst) bit pairs.
      const unsigned table = static_cast<unsigned>(rop - 1);
      r = 0;
      if (table & 1) r |= ~pen & ~dst;
      if (table & 2) r |= ~pen & dst;
      if (table & 4) r |= pen & ~dst;
      if (table & 8) r |= pen & dst;
    }
  }
  return (r & kRgbMask) | kAlphaMask;
}

// Ternary raster operation of pattern, source and destination pixels: the
// operation's index byte is a truth table over (pattern, source, dest) bits.
inline std::uint32_t Rop3(std::uint32_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  const unsigned table = (rop >> 16) & 0xFF;
  std::uint32_t r = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(table & (1u << i))) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return (r & kRgbMask) | kAlphaMask;
}

inline bool RopUsesSource(std::uint32_t rop) { return (((rop >> 2) ^ rop) & 0x00330000u) != 0; }
inline bool RopUsesPattern(std::uint32_t rop) { return (((rop >> 4) ^ rop) & 0x000F0000u) != 0; }
inline bool RopUsesDest(std::uint32_t rop) { return (((rop >> 1) ^ rop) & 0x00550000u) != 0; }

// Source-over of a premultiplied pixel onto a destination pixel. Two
// channels are worked at once in 16-bit lanes; a source channel above its
// alpha (not truly premultiplied) saturates instead of spilling over.
inline std::uint32_t BlendPremultiplied(std::uint32_t s, std::uint32_t d) {
  const std::uint32_t sa = s >> 24;
  if (sa == 255) return s;
  if (s == 0) return d;
  const std::uint32_t ia = 255 - sa;
  std::uint32_t rb = (d & 0x00FF00FFu) * ia + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  std::uint32_t ag = ((d >> 8) & 0x00FF00FFu) * ia + 0x00800080u;
  ag = ((ag + ((ag >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  rb += s & 0x00FF00FFu;
  ag += (s >> 8) & 0x00FF00FFu;
  std::uint32_t over = rb & 0x01000100u;
  rb = (rb | (over - (over >> 8))) & 0x00FF00FFu;
  over = ag & 0x01000100u;
  ag = (ag | (over - (over >> 8))) & 0x00FF00FFu;
  return rb | (ag << 8);
}

// Mixes an opaque colour over a pixel by a coverage of 0..255 (text).
inline std::uint32_t MixCoverage(std::uint32_t color, std::uint32_t d, std::uint32_t cov) {
  if (cov >= 255) return color;
  if (cov == 0) return d;
  const std::uint32_t inv = 255 - cov;
  std::uint32_t rb = (color & 0x00FF00FF) * cov + (d & 0x00FF00FF) * inv + 0x00800080;
  rb = ((rb + ((rb >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
  std::uint32_t g = (color & 0x0000FF00) * cov + (d & 0x0000FF00) * inv + 0x00008000;
  g = ((g + ((g >> 8) & 0x0000FF00)) >> 8) & 0x0000FF00;
  return kAlphaMask | rb | g;
}

// What fills a span: a solid colour or a brush pattern, combined with the
// destination by a binary raster operation.
struct Paint {
  std::uint32_t color = kAlphaMask;  // opaque pixel
  int rop = R2_COPYPEN;
  const BrushObj* pattern = nullptr;  // BS_PATTERN brush, tiled from patternOrigin
  POINT patternOrigin;                // target pixels
};

// Paints [x0, x1) of row y (target pixels) through the canvas's clip.
void PaintSpan(const Canvas& c, int y, int x0, int x1, const Paint& paint);
// Paints a rectangle (target pixels) through the clip.
void PaintRect(const Canvas& c, const RECT& r, const Paint& paint);

// The paint of the DC's brush (R2 mode applied only when `useRop`); false for
// the null brush.
bool BrushPaint(const Canvas& c, const BrushObj* brush, COLORREF color, bool useRop, Paint* paint);

}  // namespace gdi::detail
