#include "pim/button.h"

#include "core/core.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

BOOL CmivoButton::CreateButton(const RECT& rect, mivoSkinImage* image, CWnd* parent, UINT id) {
  m_pImage = image;
  m_id = id;
  return Create(nullptr, u"", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void CmivoButton::SetImage(mivoSkinImage* image) {
  if (image == m_pImage) return;
  m_pImage = image;
  if (m_hWnd) Invalidate(FALSE);
}

void CmivoButton::DrawAt(HDC dc, int x, int y) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look || !m_hWnd) return;
  RECT client{};
  GetClientRect(&client);
  OffsetRect(&client, x, y);
  // Colour 5 with the picture over it; while pressed colour 7, as a
  // selected card is drawn.
  HBRUSH brush = CreateSolidBrush(look->ColorTheme().GetColor(m_pressed ? 7 : 5));
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  DrawSkinImageIfAny(*look, dc, m_pImage, client, 0, m_pressed ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
}

void CmivoButton::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  if (dc) DrawAt(dc, 0, 0);
  EndPaint(m_hWnd, &ps);
}

void CmivoButton::SetPressed(bool pressed) {
  if (pressed == m_pressed) return;
  m_pressed = pressed;
  Invalidate(FALSE);
  UpdateWindow();
}

void CmivoButton::OnLButtonDown() {
  m_tracking = true;
  SetCapture();
  SetPressed(true);
}

void CmivoButton::OnMouseMove(int x, int y) {
  if (!m_tracking) return;
  RECT client{};
  GetClientRect(&client);
  SetPressed(PtInRect(&client, POINT{x, y}) != FALSE);
}

void CmivoButton::OnLButtonUp(int x, int y) {
  const bool wasTracking = m_tracking;
  m_tracking = false;
  if (GetCapture() == m_hWnd) ReleaseCapture();
  SetPressed(false);
  RECT client{};
  GetClientRect(&client);
  // A finger that slid off the button before lifting taps nothing.
  if (wasTracking && PtInRect(&client, POINT{x, y})) {
    if (HWND parent = GetParentHwnd()) PostMessageW(parent, WM_COMMAND, m_id, 0);
  }
}

LRESULT CmivoButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // painting covers every pixel
    case WM_LBUTTONDOWN: OnLButtonDown(); return 0;
    case WM_MOUSEMOVE: OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_LBUTTONUP: OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_CAPTURECHANGED:
      m_tracking = false;
      SetPressed(false);
      return 0;
    default: return CWnd::WindowProc(message, wParam, lParam);
  }
}
