// Drawing and measuring runs of text with a DC's font; shared by ExtTextOutW
// and DrawTextW.
#pragma once

#include "platform/gdi/dc.h"
#include "platform/gdi/font_engine.h"

namespace gdi::detail {

// The DC's font, realised on first use.
FontInstance* FontOf(DcObj* dc);

// Width in pixels of n UTF-16 units.
int MeasureRun(FontInstance& font, const char16_t* s, int n);

// Draws n UTF-16 units with the baseline at target (x, baseline), in an opaque
// colour, through the canvas's clip and, when given, also `clip` (target).
// dx, when given, holds the advance of each unit (as ExtTextOutW takes them).
void DrawRun(const Canvas& c, FontInstance& font, int x, int baseline, const char16_t* s, int n, const int* dx,
             std::uint32_t color, const RECT* clip);

// The underline and strike-out lines of a run of `width` pixels at (x, baseline).
void DrawDecorations(const Canvas& c, FontInstance& font, int x, int baseline, int width, std::uint32_t color,
                     const RECT* clip, bool underline, bool strike);

}  // namespace gdi::detail
