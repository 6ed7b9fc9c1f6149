// The look of the phone shell's own controls (menu bar, task bar, input
// panel, message box, edit control): colours, gradients and fonts shared by
// them, independent of the program's skin.
#pragma once

#include "platform/win32/types.h"

namespace shell_look {

// Bars: a dark blue gradient with white text.
constexpr COLORREF kBarTop = 0x8C4F2B;       // RGB(0x2B, 0x4F, 0x8C)
constexpr COLORREF kBarBottom = 0x4A240E;    // RGB(0x0E, 0x24, 0x4A)
constexpr COLORREF kBarText = 0xFFFFFF;
constexpr COLORREF kBarPressedTop = 0xE0A050;     // RGB(0x50, 0xA0, 0xE0)
constexpr COLORREF kBarPressedBottom = 0xB06A20;  // RGB(0x20, 0x6A, 0xB0)
constexpr COLORREF kBarSeparator = 0x7A5A3A;      // RGB(0x3A, 0x5A, 0x7A)
constexpr COLORREF kStartEmblem = 0xE08F2F;       // RGB(0x2F, 0x8F, 0xE0): the plain start emblem's disc
// The shell's own background, what the screen shows with no program in front.
constexpr COLORREF kDesktopTop = 0x3A2818;     // RGB(0x18, 0x28, 0x3A)
constexpr COLORREF kDesktopBottom = 0x120B06;  // RGB(0x06, 0x0B, 0x12)
// Boxes and fields.
constexpr COLORREF kWindow = 0xFFFFFF;
constexpr COLORREF kWindowText = 0x000000;
constexpr COLORREF kFieldBorder = 0x8A8A8A;
constexpr COLORREF kFocusBorder = 0xC06A20;       // RGB(0x20, 0x6A, 0xC0)
constexpr COLORREF kSelection = 0xC06A20;
constexpr COLORREF kSelectionText = 0xFFFFFF;
constexpr COLORREF kDisabledText = 0x909090;
constexpr COLORREF kScrollTrack = 0xE6E6E6;
constexpr COLORREF kScrollThumb = 0x9A9A9A;
constexpr COLORREF kShadow = 0x404040;
// Keys of the input panel.
constexpr COLORREF kPanelBack = 0x3A302A;          // RGB(0x2A, 0x30, 0x3A)
constexpr COLORREF kKeyFace = 0xF4F1EE;            // RGB(0xEE, 0xF1, 0xF4)
constexpr COLORREF kKeyFunction = 0xC8BFB5;        // RGB(0xB5, 0xBF, 0xC8)
constexpr COLORREF kKeyPressed = 0xE0A050;
constexpr COLORREF kKeyText = 0x201A16;

// Fills `r` with a vertical gradient from `top` to `bottom`.
void FillGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom);
void FillSolid(HDC dc, const RECT& r, COLORREF color);
// A one-pixel frame inside `r`.
void Frame(HDC dc, const RECT& r, COLORREF color);
// The shell's font (Arial, a metric-compatible sans face) at a pixel height; shared and kept for the
// program's life, never deleted by callers.
HFONT Font(int pixelHeight, bool bold);

}  // namespace shell_look
