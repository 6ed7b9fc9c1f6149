// Captions and titles laid out in whole words inside a box. A caption under a
// tile's picture, or a row's title beside it, has a fixed box; a long word
// (a German "Einstellungen") or a long title must neither run over the
// picture nor be broken between two letters. The text takes its own font
// when every word fits the width and the lines fit the height; otherwise the
// small font; and when that does not fit either, as many lines as fit, the
// last one ending in "...".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/types.h"

class mivoAppearance;

struct mivoFittedText {
  HFONT font = nullptr;             // the font the lines are drawn in
  std::vector<std::u16string> lines;  // whole words; a line too wide ends in "..." when drawn
  int lineHeight = 0;               // the font's cell height
  int Height() const { return lineHeight * static_cast<int>(lines.size()); }
};

// Lays `text` out in `font` (else the appearance's SmallFont) in a box of
// `width` by `height` pixels, as described above. Line feeds start new lines.
// The DC's selected font is left as it was.
mivoFittedText FitText(mivoAppearance& appearance, HDC dc, std::u16string_view text, HFONT font, int width,
                       int height);

enum class mivoTextShadow { kWith, kWithout };

// Draws the lines from the rectangle's top down, each aligned by `align`
// (DT_CENTER, DT_RIGHT or 0 for the left), in the DC's text colour, with the
// toolkit's shadow unless asked not to; a line wider than the rectangle ends
// in "...". Leaves the lines' font selected, as the item primitives do.
// Returns the height drawn, plus the shadow's 2·S when there is one.
int DrawFittedText(mivoAppearance& appearance, HDC dc, const mivoFittedText& fitted, const RECT& rect, UINT align,
                   mivoTextShadow shadow = mivoTextShadow::kWith);
