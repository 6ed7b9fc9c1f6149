#include "ui/animate_wnd.h"

#include <algorithm>

#include "core/core.h"
#include "core/messages.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/page_wnd.h"

CmivoAnimateWnd::~CmivoAnimateWnd() { DropImages(); }

BOOL CmivoAnimateWnd::CreateAnimation(CWnd* frame) {
  if (!frame || !frame->m_hWnd) return FALSE;
  RECT client{};
  frame->GetClientRect(&client);
  return Create(nullptr, u"", WS_CHILD, client, frame, static_cast<UINT>(-1));
}

int CmivoAnimateWnd::SlideStep(int width, bool portrait, int scale) {
  int divisor;
  if (scale >= 2) {
    divisor = portrait ? 12 : 4;
  } else {
    divisor = portrait ? 30 : 10;
  }
  // A narrow window would otherwise never move.
  return std::max(1, width / divisor);
}

std::vector<int> CmivoAnimateWnd::SlideOffsets(int width, int step) {
  std::vector<int> offsets;
  if (width <= 0) return offsets;
  step = std::max(1, step);
  for (long long x = 0; x < static_cast<long long>(width) + step; x += step) {
    offsets.push_back(static_cast<int>(std::min<long long>(x, width)));
  }
  return offsets;
}

bool CmivoAnimateWnd::MakeImage(Image* image, HDC like, int width, int height) {
  DropImage(image);
  image->dc = CreateCompatibleDC(like);
  image->bitmap = CreateCompatibleBitmap(like, std::max(1, width), std::max(1, height));
  if (!image->dc || !image->bitmap) {
    DropImage(image);
    return false;
  }
  image->old = SelectObject(image->dc, image->bitmap);
  image->size = SIZE{width, height};
  return true;
}

void CmivoAnimateWnd::DropImage(Image* image) {
  if (image->dc) {
    SelectObject(image->dc, image->old);
    DeleteDC(image->dc);
  }
  if (image->bitmap) DeleteObject(image->bitmap);
  *image = Image{};
}

void CmivoAnimateWnd::DropImages() {
  DropImage(&m_snapshot);
  DropImage(&m_entered);
}

void CmivoAnimateWnd::TakeSnapshot() {
  CFrameWnd* frame = m_pCore->GetMainFrame();
  if (!frame || !frame->m_hWnd) return;
  RECT client{};
  frame->GetClientRect(&client);
  HDC frameDC = GetDC(frame->m_hWnd);
  if (!frameDC) return;
  if (MakeImage(&m_snapshot, frameDC, RectWidth(client), RectHeight(client))) {
    BitBlt(m_snapshot.dc, 0, 0, RectWidth(client), RectHeight(client), frameDC, 0, 0, SRCCOPY);
  }
  ReleaseDC(frame->m_hWnd, frameDC);
}

void CmivoAnimateWnd::Animate(CmivoPageWnd* from, CmivoPageWnd* to, int direction) {
  if (!from || !to || !m_hWnd) {
    DropImages();
    return;
  }
  // Earlier images go, unless the snapshot was taken for this switch.
  DropImage(&m_entered);
  m_pFrom = from;
  m_pTo = to;
  m_direction = direction;
  // Over the frame's whole client area, above every page.
  RECT client{};
  if (CFrameWnd* frame = m_pCore->GetMainFrame(); frame && frame->m_hWnd) {
    frame->GetClientRect(&client);
  } else {
    GetClientRect(&client);
  }
  ::SetWindowPos(m_hWnd, HWND_TOP, client.left, client.top, RectWidth(client), RectHeight(client),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Invalidate(FALSE);
  // The whole slide runs inside this paint.
  UpdateWindow();
  // The images are only for one slide: the memory goes with it.
  DropImages();
  ShowWindow(SW_HIDE);
  m_pFrom = m_pTo = nullptr;
}

void CmivoAnimateWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(&client);
  const int W = RectWidth(client);
  const int H = RectHeight(client);
  if (!m_pFrom || !m_pTo || W <= 0 || H <= 0) {
    EndPaint(m_hWnd, &ps);
    return;
  }

  // The screen as it was: kept from before the switch when it fits, else
  // copied from the frame now (its pages are not repainted yet).
  if (!m_snapshot.dc || m_snapshot.size.cx != W || m_snapshot.size.cy != H) {
    CFrameWnd* frame = m_pCore->GetMainFrame();
    HWND source = frame && frame->m_hWnd ? frame->m_hWnd : m_hWnd;
    HDC frameDC = GetDC(source);
    if (MakeImage(&m_snapshot, dc, W, H) && frameDC) BitBlt(m_snapshot.dc, 0, 0, W, H, frameDC, 0, 0, SRCCOPY);
    if (frameDC) ReleaseDC(source, frameDC);
  }
  // The entered page, drawn off screen over its background.
  if (!m_entered.dc && MakeImage(&m_entered, dc, W, H)) {
    mivoAppearance* look = m_pCore->GetAppearance();
    FillBackground(m_entered.dc, client, look);
    const int saved = SaveDC(m_entered.dc);
    m_pTo->DrawArea(m_entered.dc, true, 0, 0, W, H);
    RestoreDC(m_entered.dc, saved);
  }
  if (!m_snapshot.dc || !m_entered.dc) {
    EndPaint(m_hWnd, &ps);
    return;
  }

  // The slide: two blits a frame, each frame shown at once.
  const bool portrait = m_pCore->IsPortrait();
  const std::vector<int> offsets = SlideOffsets(W, SlideStep(W, portrait, DisplayScale));
  for (int x : offsets) {
    if (m_direction == 1) {
      BitBlt(dc, x, 0, W - x, H, m_snapshot.dc, 0, 0, SRCCOPY);
      BitBlt(dc, 0, 0, x, H, m_entered.dc, W - x, 0, SRCCOPY);
    } else {
      BitBlt(dc, 0, 0, W - x, H, m_snapshot.dc, x, 0, SRCCOPY);
      BitBlt(dc, W - x, 0, x, H, m_entered.dc, 0, 0, SRCCOPY);
    }
    window::PresentNow();
  }
  m_lastFrames = static_cast<int>(offsets.size());
  EndPaint(m_hWnd, &ps);
}

LRESULT CmivoAnimateWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MIVO_RELAYOUT:
      if (CFrameWnd* frame = m_pCore->GetMainFrame(); frame && frame->m_hWnd) {
        RECT client{};
        frame->GetClientRect(&client);
        MoveWindow(client, FALSE);
      }
      return 0;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
