#include "ui/wnd.h"

#include <algorithm>

#include "core/core.h"
#include "core/messages.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/paint.h"
#include "ui/child_wnd.h"

// ---- Children ----------------------------------------------------------------------

CmivoChildWnd::~CmivoChildWnd() {
  if (m_pParent) m_pParent->RemoveChild(this);
}

void CmivoChildWnd::Invalidate() {
  if (m_pParent && m_pParent->m_hWnd) m_pParent->InvalidateRect(&m_rect, FALSE);
}

CmivoWnd::~CmivoWnd() {
  // Children outlive nothing of the window: they only forget it.
  for (CmivoChildWnd* child : m_children) {
    if (child->GetParentWnd() == this) child->SetParentWnd(nullptr);
  }
  DropBuffer();
}

CmivoChildWnd* CmivoWnd::ChildAt(int x, int y) const {
  const POINT pt{x, y};
  for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
    CmivoChildWnd* child = *it;
    if (child->IsVisible() && PtInRect(&child->GetRect(), pt)) return child;
  }
  return nullptr;
}

void CmivoWnd::AddChild(CmivoChildWnd* child) {
  if (!child || std::find(m_children.begin(), m_children.end(), child) != m_children.end()) return;
  m_children.push_back(child);
}

void CmivoWnd::RemoveChild(CmivoChildWnd* child) {
  auto it = std::find(m_children.begin(), m_children.end(), child);
  if (it != m_children.end()) m_children.erase(it);
}

void CmivoWnd::CollectImages(std::vector<mivoSkinImage*>& images) {
  for (CmivoChildWnd* child : m_children) child->CollectImages(images);
}

// ---- Painting ----------------------------------------------------------------------

void CmivoWnd::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  const RECT area = MakeRect(left, top, right, bottom);
  DrawBackground(dc, erase, left, top, right, bottom);
  // A copy: a child's painting may not change the list, but a gadget that
  // goes away while drawn must not break the walk.
  const std::vector<CmivoChildWnd*> children = m_children;
  for (CmivoChildWnd* child : children) {
    if (!child->IsVisible()) continue;
    RECT meet{};
    if (!IntersectRect(&meet, &area, &child->GetRect())) continue;
    child->Paint(dc);
  }
}

void CmivoWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC windowDC = BeginPaint(m_hWnd, &ps);
  if (!windowDC) return;
  const RECT box = ps.rcPaint;
  const bool buffered = m_doubleBuffered || m_bufferNextPaint;
  HDC dc = windowDC;
  if (buffered) {
    RECT client{};
    GetClientRect(&client);
    if (HDC buffer = m_buffer.Get(windowDC, SIZE{RectWidth(client), RectHeight(client)})) dc = buffer;
  }
  if (!IsRectEmpty(&box)) {
    // The update area's bounding box is drawn whole: background first, then
    // the area in one pass, so nothing shows half drawn.
    mivoAppearance* look = m_pCore->GetAppearance();
    FillBackground(dc, box, look);
    const int saved = SaveDC(dc);
    DrawArea(dc, true, box.left, box.top, box.right, box.bottom);
    RestoreDC(dc, saved);
    if (dc != windowDC) {
      BitBlt(windowDC, box.left, box.top, RectWidth(box), RectHeight(box), dc, box.left, box.top, SRCCOPY);
    }
  }
  m_bufferNextPaint = false;
  EndPaint(m_hWnd, &ps);
  // A window that paints through its buffer only now and then gives the
  // memory back; one that always does keeps it.
  if (!m_doubleBuffered) DropBuffer();
}

// ---- Messages ------------------------------------------------------------------------

LRESULT CmivoWnd::OnStylus(UINT message, WPARAM wParam, LPARAM lParam) {
  m_mouseUnclaimed = true;
  const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (CmivoChildWnd* child = ChildAt(pt.x, pt.y)) {
    m_mouseUnclaimed = false;
    const UINT flags = static_cast<UINT>(wParam);
    switch (message) {
      case WM_LBUTTONDOWN: child->OnStylusDown(flags, pt); break;
      case WM_LBUTTONUP: child->OnTap(flags, pt); break;
      default: child->OnStylusMove(flags, pt); break;
    }
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CmivoWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND: {
      const std::vector<CmivoChildWnd*> children = m_children;
      for (CmivoChildWnd* child : children) {
        if (child->IsVisible()) child->OnEraseBackground(reinterpret_cast<HDC>(wParam));
      }
      return CWnd::WindowProc(message, wParam, lParam);
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      return OnStylus(message, wParam, lParam);
    case WM_CONTEXTMENU: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(&pt);
      if (CmivoChildWnd* child = ChildAt(pt.x, pt.y)) child->OnTapAndHold(pt);
      return CWnd::WindowProc(message, wParam, lParam);
    }
    case WM_SIZE:
      DropBuffer();
      return CWnd::WindowProc(message, wParam, lParam);
    case WM_MIVO_RELAYOUT:  // the base has nothing to lay out
      return 0;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
