// The drawing the message box and the text entry share: the background, a
// rounded frame with the title on its top edge like a group-box caption, and
// the button row with its two skin images and separating lines.
#pragma once

#include <string>

#include "platform/win32/types.h"

class mivoAppearance;

namespace ui {

// Fills the client area, draws the frame and the title (TextColor on the
// background colour, opaque, with the given DrawText flags). Returns h, the
// height of "X" in TitleFont, which the rest of the layout is built on.
int DrawOverlayFrame(mivoAppearance& look, HDC dc, const RECT& client, const std::u16string& title, UINT titleFlags);

// The button row whose bottom is `bottom` (the row is 70·S high): the first
// button across the body's width alone, or the two halves with `two`. Draws
// "message_box_yes" and "message_box_no" and the lines; stores the rectangles
// (the second is empty with one button).
void DrawOverlayButtons(mivoAppearance& look, HDC dc, const RECT& client, const RECT& body, int bottom, bool two,
                        RECT* first, RECT* second);

// Height of the button row and the space around it below a text.
constexpr int kButtonRowSpace = 80;  // ·S from the text's bottom to the row's bottom
constexpr int kBoxBottomMargin = 10; // ·S below the row

}  // namespace ui
