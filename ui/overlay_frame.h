// What the overlays share: their paint (BeginPaint, the look, the device
// context's state, the height that follows what they show), their modal
// run over the frame, and the drawing of the message box and the text entry:
// the background, a rounded frame with the title on its top edge like a
// group-box caption, and the buttons with their skin images and lines.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/types.h"

class CWnd;
class mivoAppearance;

namespace ui {

class OverlaySource;

// Paints an overlay window: BeginPaint, then `draw` with the device context
// (its state saved and restored around the call), the look and the client
// rectangle, then EndPaint. Nothing is drawn without the look. When `draw`
// returns a height above 0 that differs from the window's, the window takes
// it afterwards (its top and width kept): the resize paints it again, and
// what a shrinking window uncovers paints at once.
using OverlayDraw = std::function<int(HDC dc, mivoAppearance& look, const RECT& client)>;
void PaintOverlay(CWnd& overlay, mivoAppearance* look, const OverlayDraw& draw);

// A modal overlay's run, for a box just created as a child of the frame:
// over its siblings, in the dump and with the focus while it lives; after it
// the box is destroyed, the focus goes back where it was, and what the box
// covered paints at once (the next box's loop would serve only its own
// window, so the page below would keep the old picture).
class ModalOverlay {
 public:
  ModalOverlay(CWnd& box, const OverlaySource* source);
  ~ModalOverlay();
  ModalOverlay(const ModalOverlay&) = delete;
  ModalOverlay& operator=(const ModalOverlay&) = delete;

  // Only the box's messages until it is answered: 1 for the first button
  // (OK, yes), 2 for the second, 0 when the program is ending (the quit
  // message is passed on).
  int Run();

 private:
  CWnd& m_box;
  const OverlaySource* m_source;  // registered for the dump while the box lives
  HWND m_previousFocus = nullptr; // where the focus goes back to
  HWND m_parent = nullptr;        // the frame, whose windows paint what the box uncovers
};

// A tap released at the point of `lParam`: the first or the second button,
// when it is on one, answers the box's loop.
void AnswerTap(CWnd& box, LPARAM lParam, const RECT& first, const RECT& second);

// Paints at once, in every window below `parent`, what an overlay that went
// or shrank left uncovered.
void PaintUncovered(HWND parent);

// Fills the client area, draws the frame and the title (TextColor on the
// background colour, opaque, with the given DrawText flags). Returns h, the
// height of "X" in TitleFont, which the rest of the layout is built on.
int DrawOverlayFrame(mivoAppearance& look, HDC dc, const RECT& client, const std::u16string& title, UINT titleFlags);

// The button row whose bottom is `bottom` and whose height is `height`
// (70·S, less where the screen leaves less): the first button across the
// body's width alone, or the two halves with `two`. Draws "message_box_yes"
// and "message_box_no" (scaled down when the row is lower than the picture)
// and the lines; stores the rectangles (the second is empty with one button).
void DrawOverlayButtons(mivoAppearance& look, HDC dc, const RECT& client, const RECT& body, int bottom, bool two,
                        RECT* first, RECT* second, int height = 0);

// The two buttons side by side in `column`, right of the text (where the
// input panel leaves too little height for a row under it), with a line
// left of the column and one between them.
void DrawOverlaySideButtons(mivoAppearance& look, HDC dc, const RECT& column, RECT* first, RECT* second);

// Height of the button row and the space around it below a text.
constexpr int kButtonRowSpace = 80;  // ·S from the text's bottom to the row's bottom
constexpr int kButtonRowHeight = 70; // ·S, the buttons themselves
constexpr int kBoxBottomMargin = 10; // ·S below the row

}  // namespace ui
