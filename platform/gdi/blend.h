// Drawing premultiplied pixels from memory into a DC, scaled and blended:
// icons and decoded pictures use it without making a bitmap first.
#pragma once

#include <cstdint>

#include "platform/win32/types.h"

namespace gdi {

struct PixelView {
  const std::uint32_t* pixels = nullptr;  // premultiplied 0xAARRGGBB, rows top-down
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels per row
};

// Draws the source rectangle (sx, sy, sw, sh) of `src` into the destination
// rectangle (x, y, w, h) of the DC with source-over blending. A shrink
// averages the pixels; an enlargement interpolates when `smooth`, else
// repeats them. constantAlpha scales the whole picture (255 = as it is).
bool BlendPixels(HDC dc, int x, int y, int w, int h, const PixelView& src, int sx, int sy, int sw, int sh,
                 int constantAlpha = 255, bool smooth = true);

}  // namespace gdi
