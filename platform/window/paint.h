// Painting: update regions, WM_PAINT and WM_ERASEBKGND, device contexts for
// windows, and the screen framebuffer they all draw into.
//
// "Invalidate, paint later": InvalidateRect adds to the update region and
// the queue makes WM_PAINT once nothing else is queued. "Paint now":
// UpdateWindow sends WM_PAINT at once when the window has an update region.
// A window that answers WM_PAINT without BeginPaint or ValidateRect is
// validated after the call, so an ignoring handler never loops forever.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

// The device context is clipped to the update region within the visible part
// of the window; WM_ERASEBKGND is sent first when the region asked for erasing.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// A DC over the visible part of the window (null: the whole screen).
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);

// Null rect: the whole client area. Null hwnd: every window.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
// Bounding box of the update region; FALSE when there is none.
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
// Paints now (WM_PAINT sent directly) when the window has an update region.
BOOL UpdateWindow(HWND hwnd);
// RDW_INVALIDATE / RDW_VALIDATE / RDW_ERASE / RDW_ALLCHILDREN / RDW_UPDATENOW.
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
// Moves the pixels of the scroll rectangle (client coordinates; null: the
// whole client area) by (dx, dy) within the clip rectangle, and with
// SW_INVALIDATE adds the uncovered band to the update region (and reports it
// in `update`). SW_SCROLLCHILDREN moves the children too. Returns
// NULLREGION, SIMPLEREGION or COMPLEXREGION for the uncovered band, ERROR_REGION on failure.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion,
                   RECT* update, UINT flags);
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip);

namespace window {

// The screen framebuffer: one bitmap of the screen's size, 32-bit 0xAARRGGBB.
struct FrameView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels per row
};

// (Re)creates the framebuffer at the screen's size (black) and invalidates
// every window. Called by the display at start and on rotation.
void CreateFramebuffer(int width, int height);
FrameView GetFramebuffer();
// The framebuffer bitmap (for the drawing layer); null before CreateFramebuffer.
HBITMAP GetFramebufferBitmap();
// Something drew into the framebuffer since the last TakeFrameDirty.
bool TakeFrameDirty();
void MarkFrameDirty();

// Shows the framebuffer now, from inside a handler: an animation that draws
// all its frames in one WM_PAINT (the page slide) calls it after each frame,
// as the phone's screen would show each blit at once. The SDL screen waits
// for the display's next refresh (so no frame is dropped and none shown
// twice); the headless screen counts the frame and writes it with --frames.
void PresentNow();
// The screen's way to present (set by the display's host); none: nothing happens.
void SetPresenter(std::function<void()> presenter);

}  // namespace window
