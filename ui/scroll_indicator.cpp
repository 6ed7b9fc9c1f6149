#include "ui/scroll_indicator.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/window/window.h"

namespace scroll_indicator {

int ShownClientBottom(const CWnd& wnd) {
  RECT client{};
  if (!wnd.m_hWnd) return 0;
  wnd.GetClientRect(&client);
  const HWND parent = wnd.GetParentHwnd();
  if (!parent) return client.bottom;
  RECT shown{};
  GetClientRect(parent, &shown);
  POINT corner{shown.right, shown.bottom};
  MapWindowPoints(parent, wnd.m_hWnd, &corner, 1);
  return std::clamp<int>(corner.y, client.top, client.bottom);
}

void DrawVerticalLine(HDC dc, int x, int from, int to, int width, COLORREF color) {
  HPEN pen = CreatePen(PS_SOLID, width, color);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x, from, nullptr);
  LineTo(dc, x, to);
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace scroll_indicator
