// Icons: made from a colour bitmap with alpha or with a mask, or from a
// monochrome AND/XOR mask; drawn blended with DrawIconEx.
#include <algorithm>

#include "platform/gdi/blend.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster.h"

using namespace gdi::detail;

namespace {

std::uint32_t Premultiply(std::uint32_t p) {
  const std::uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  return (a << 24) | (Mul255((p >> 16) & 0xFF, a) << 16) | (Mul255((p >> 8) & 0xFF, a) << 8) | Mul255(p & 0xFF, a);
}

bool MaskBit(std::uint32_t p) { return (p & kRgbMask) != 0; }  // white = transparent

HBITMAP MakeBitmap(int w, int h, const std::vector<std::uint32_t>& px, int bitsPixel) {
  HBITMAP b = CreateCompatibleBitmap(nullptr, w, h);
  BitmapObj* obj = LookupBitmap(b);
  if (!obj) return nullptr;
  std::copy(px.begin(), px.end(), obj->pixels.get());
  obj->bitsPixel = bitsPixel;
  return b;
}

}  // namespace

HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info) return nullptr;
  BitmapObj* mask = LookupBitmap(info->hbmMask);
  BitmapObj* color = info->hbmColor ? LookupBitmap(info->hbmColor) : nullptr;
  if (info->hbmColor && !color) return nullptr;
  if (!mask && !color) return nullptr;
  auto icon = std::make_unique<IconObj>();
  icon->fIcon = info->fIcon != 0;
  icon->hotX = info->xHotspot;
  icon->hotY = info->yHotspot;
  if (color) {
    const int w = color->width, h = color->height;
    if (mask && (mask->width < w || mask->height < h)) return nullptr;
    icon->width = w;
    icon->height = h;
    const std::size_t n = static_cast<std::size_t>(w) * h;
    icon->color.assign(color->pixels.get(), color->pixels.get() + n);
    if (mask) {
      icon->mask.resize(n);
      for (int y = 0; y < h; ++y)
        std::copy_n(mask->pixels.get() + static_cast<std::size_t>(y) * mask->width, w,
                    icon->mask.begin() + static_cast<std::ptrdiff_t>(y) * w);
    }
    // A colour bitmap with real alpha values carries its own transparency
    // (straight alpha, as icon files hold it); otherwise the mask decides.
    bool someAlpha = false, allOpaque = true;
    for (std::uint32_t p : icon->color) {
      const std::uint32_t a = p >> 24;
      someAlpha |= a != 0;
      allOpaque &= a == 255;
    }
    const bool useAlpha = someAlpha && !allOpaque;
    icon->pixels.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint32_t p = icon->color[i];
      if (useAlpha)
        icon->pixels[i] = Premultiply(p);
      else if (!icon->mask.empty() && MaskBit(icon->mask[i]))
        icon->pixels[i] = 0;
      else
        icon->pixels[i] = p | kAlphaMask;
    }
    if (icon->mask.empty()) {
      icon->mask.resize(n);
      for (std::size_t i = 0; i < n; ++i) icon->mask[i] = (icon->pixels[i] >> 24) ? 0xFF000000u : 0xFFFFFFFFu;
    }
  } else {
    // Monochrome: the upper half is the AND mask, the lower half the XOR mask.
    if (mask->height < 2) return nullptr;
    const int w = mask->width, h = mask->height / 2;
    icon->monochrome = true;
    icon->width = w;
    icon->height = h;
    icon->mask.assign(mask->pixels.get(), mask->pixels.get() + static_cast<std::size_t>(w) * h * 2);
    icon->pixels.resize(static_cast<std::size_t>(w) * h);
    for (int i = 0; i < w * h; ++i) {
      const bool andBit = MaskBit(icon->mask[static_cast<std::size_t>(i)]);
      const bool xorBit = MaskBit(icon->mask[static_cast<std::size_t>(i + w * h)]);
      icon->pixels[static_cast<std::size_t>(i)] = andBit ? 0 : (xorBit ? 0xFFFFFFFFu : 0xFF000000u);
    }
  }
  return static_cast<HICON>(Register(std::move(icon)));
}

BOOL GetIconInfo(HICON handle, ICONINFO* info) {
  IconObj* icon = LookupIcon(handle);
  if (!icon || !info) return FALSE;
  info->fIcon = icon->fIcon ? TRUE : FALSE;
  info->xHotspot = icon->hotX;
  info->yHotspot = icon->hotY;
  info->hbmColor = nullptr;
  info->hbmMask = MakeBitmap(icon->width, icon->monochrome ? icon->height * 2 : icon->height, icon->mask, 1);
  if (!icon->monochrome) info->hbmColor = MakeBitmap(icon->width, icon->height, icon->color, 32);
  return info->hbmMask ? TRUE : FALSE;
}

BOOL DestroyIcon(HICON icon) {
  if (!LookupIcon(icon)) return FALSE;
  return Unregister(icon) ? TRUE : FALSE;
}

HICON CopyIcon(HICON handle) {
  IconObj* icon = LookupIcon(handle);
  if (!icon) return nullptr;
  auto copy = std::make_unique<IconObj>(*icon);
  copy->selections = 0;
  return static_cast<HICON>(Register(std::move(copy)));
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON handle, int w, int h, UINT step, HBRUSH flickerFree, UINT flags) {
  IconObj* icon = LookupIcon(handle);
  auto c = CanvasOf(dc);
  if (!icon || !c) return FALSE;
  if (w <= 0) w = icon->width;
  if (h <= 0) h = icon->height;
  if ((flags & DI_NORMAL) == 0) flags |= DI_NORMAL;
  if ((flags & DI_NORMAL) == DI_MASK) {
    // The mask alone: transparent parts white, the picture black.
    std::vector<std::uint32_t> m(icon->pixels.size());
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = (icon->pixels[i] >> 24) ? 0xFF000000u : 0xFFFFFFFFu;
    return gdi::BlendPixels(dc, x, y, w, h, {m.data(), icon->width, icon->height, icon->width}, 0, 0, icon->width,
                            icon->height, 255, false);
  }
  if ((flags & DI_NORMAL) == DI_IMAGE) {
    std::vector<std::uint32_t> m(icon->pixels.size());
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = icon->pixels[i] | kAlphaMask;
    return gdi::BlendPixels(dc, x, y, w, h, {m.data(), icon->width, icon->height, icon->width}, 0, 0, icon->width,
                            icon->height, 255, true);
  }
  return gdi::BlendPixels(dc, x, y, w, h, {icon->pixels.data(), icon->width, icon->height, icon->width}, 0, 0,
                          icon->width, icon->height, 255, true)
             ? TRUE
             : FALSE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

namespace gdi {

HICON CreateIconFromPixels(int w, int h, const std::uint32_t* px, int stride, bool premultiplied) {
  if (!px || w <= 0 || h <= 0 || w > 4096 || h > 4096 || stride < w) return nullptr;
  auto icon = std::make_unique<IconObj>();
  icon->width = w;
  icon->height = h;
  const std::size_t n = static_cast<std::size_t>(w) * h;
  icon->pixels.resize(n);
  icon->color.resize(n);
  icon->mask.resize(n);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = px[static_cast<std::size_t>(y) * stride + x];
      const std::size_t i = static_cast<std::size_t>(y) * w + x;
      const std::uint32_t a = p >> 24;
      std::uint32_t pre = premultiplied ? p : Premultiply(p);
      std::uint32_t straight = p;
      if (premultiplied && a > 0 && a < 255) {
        auto un = [a](std::uint32_t v) { return std::min<std::uint32_t>(255, (v * 255 + a / 2) / a); };
        straight = (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
      }
      icon->pixels[i] = pre;
      icon->color[i] = straight;
      icon->mask[i] = a ? 0xFF000000u : 0xFFFFFFFFu;
    }
  return static_cast<HICON>(Register(std::move(icon)));
}

bool GetIconSize(HICON handle, int* w, int* h) {
  IconObj* icon = LookupIcon(handle);
  if (!icon) return false;
  if (w) *w = icon->width;
  if (h) *h = icon->height;
  return true;
}

}  // namespace gdi
