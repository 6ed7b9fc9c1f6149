// The rounded card every row of the advanced list box sits on. Cards are the
// most drawn shape of the program, so the four corners come from cached
// bitmaps and the rest is a handful of rectangle fills: the picture is that
// of one RoundRect, at the cost of a few blits.
#pragma once

#include "platform/win32/types.h"

class mivoAppearance;

// Draws the card of an item rectangle (L, T, R, B): the margins (5·S left and
// top, 6·S right, 4·S bottom) in BackgroundColor, then a rounded rectangle
// with a 20·S corner ellipse over the rest, outlined S wide in colour 4 and
// filled with colour 5, or colour 6 and 7 for the selected item.
void DrawAdvListBoxCard(mivoAppearance& look, HDC dc, const RECT& item, bool selected);

// The card's rounded rectangle alone, for a box (l, t, r, b): corners blitted
// from the cache when the box is large enough, else one RoundRect.
void DrawAdvListBoxCardShape(mivoAppearance& look, HDC dc, const RECT& box, bool selected);

// Forgets the cached corners; the next card builds them again with the
// current colours and scale. Call when the colour theme changes (the cache
// also notices changed colours on its own).
void DropAdvListBoxCardCorners();
