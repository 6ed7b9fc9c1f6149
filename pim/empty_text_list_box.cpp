#include "pim/empty_text_list_box.h"

#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/adv_list_box_item.h"

void CmivoAdvListBoxWithEmptyText::SetEmptyText(const std::u16string& text) {
  if (text == m_emptyText) return;
  m_emptyText = text;
  Repaint();
}

bool CmivoAdvListBoxWithEmptyText::ShowsEmptyText() const {
  for (int i = 0; i < GetItemCount(); ++i)
    if (GetItem(i)->IsSelectable()) return false;
  return !m_emptyText.empty();
}

void CmivoAdvListBoxWithEmptyText::DrawWithEmptyText(HDC dc, int dx, int dy) {
  DrawAll(dc, dx, dy);
  mivoAppearance* look = GetAppearance();
  if (!look || !m_hWnd || !ShowsEmptyText()) return;
  const int s = DisplayScale;
  RECT client{};
  GetClientRect(&client);
  OffsetRect(&client, dx, dy);
  RECT box{client.left + 15 * s, client.top + GetTotalHeight() - GetScrollTop() + 20 * s,
           client.right - ScrollStripWidth() - 10 * s, client.bottom};
  if (box.top >= box.bottom) return;
  const int saved = SaveDC(dc);
  SelectObject(dc, look->SubtitleFont);
  SetTextColor(dc, look->SubTextColor);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, m_emptyText.c_str(), static_cast<int>(m_emptyText.size()), &box,
            DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  RestoreDC(dc, saved);
}

LRESULT CmivoAdvListBoxWithEmptyText::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (dc) DrawWithEmptyText(dc, 0, 0);
    EndPaint(m_hWnd, &ps);
    return 0;
  }
  return CmivoAdvListBox::WindowProc(message, wParam, lParam);
}
