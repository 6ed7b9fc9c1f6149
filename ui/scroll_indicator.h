// What the two lists share in drawing their scroll strips: the part of the
// list that shows, which the thumb must stay in, and the strip's lines.
#pragma once

#include "platform/window/framework.h"

namespace scroll_indicator {

// The bottom, in the window's client coordinates, of the part of its client
// area that its parent shows. A list placed over a page's content rectangle
// reaches 2·S past the page's bottom, under the menu bar, so that its last
// card ends flush with the screen's edge; a thumb drawn at the very end of
// the list would be cut there. Without a window or a parent: the client bottom.
int ShownClientBottom(const CWnd& wnd);

// A vertical line of a solid pen of the given width and colour, from y
// `from` towards `to` (the end point itself is not drawn).
void DrawVerticalLine(HDC dc, int x, int from, int to, int width, COLORREF color);

}  // namespace scroll_indicator
