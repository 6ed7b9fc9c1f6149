#include "ui/items_page.h"

#include "core/core.h"
#include "core/messages.h"
#include "look/appearance.h"
#include "platform/win32/rect.h"
#include "platform/window/describe.h"

// ---- CmivoItemsPageListCtrl ----------------------------------------------------------------------

void CmivoItemsPageListCtrl::DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) {
  if (m_pPage->m_hWnd) m_pPage->DrawItem(index, element, dc, rect);
}

void CmivoItemsPageListCtrl::OnItemTap(int index, const mivoListElement& element) {
  if (m_pPage->m_hWnd) m_pPage->OnItemTap(index, element);
}

void CmivoItemsPageListCtrl::OnItemHold(int index, const mivoListElement& element) {
  if (m_pPage->m_hWnd) m_pPage->OnItemHold(index, element);
}

void CmivoItemsPageListCtrl::OnItemRemoved(const mivoListElement& element) {
  // Also without a window: what the element refers to must be freed.
  m_pPage->OnItemRemoved(element);
}

std::u16string CmivoItemsPageListCtrl::DescribeItem(int index, const mivoListElement& element) const {
  return m_pPage->DescribeItem(index, element);
}

LRESULT CmivoItemsPageListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MIVO_SWIPE) {
    CmivoListCtrl::WindowProc(message, wParam, lParam);
    m_pPage->OnSwipe(static_cast<int>(wParam), static_cast<int>(lParam));
    return 0;
  }
  return CmivoListCtrl::WindowProc(message, wParam, lParam);
}

// ---- CmivoItemsPageWnd ------------------------------------------------------------------------------

CmivoItemsPageWnd::CmivoItemsPageWnd(mivoCore* core) : CmivoPageWnd(core), m_list(core, this) {
  if (mivoAppearance* look = core->GetAppearance()) {
    m_list.SetView(look->GridColumns, look->GridCellHeight, false);
  }
}

CmivoItemsPageWnd::~CmivoItemsPageWnd() = default;

void CmivoItemsPageWnd::SetGridView() {
  mivoAppearance* look = m_pCore->GetAppearance();
  m_list.SetView(look ? look->GridColumns : 3, look ? look->GridCellHeight : 85 * DisplayScale, false);
}

void CmivoItemsPageWnd::SetDetailsView() {
  // 48 pixels at every scale would cut the rows' titles in half on a VGA screen.
  m_list.SetView(1, 48 * DisplayScale, true);
}

void CmivoItemsPageWnd::SetDoubleBuffered(bool on) {
  CmivoPageWnd::SetDoubleBuffered(on);
  m_list.SetDoubleBuffered(on);
}

void CmivoItemsPageWnd::RequestBufferedPaint() {
  CmivoPageWnd::RequestBufferedPaint();
  m_list.RequestBufferedPaint();
}

void CmivoItemsPageWnd::LayoutPage() {
  if (!m_hWnd) return;
  if (!m_list.m_hWnd) {
    m_list.CreateListCtrl(this, m_contentRect, WS_CHILD | WS_VISIBLE, static_cast<UINT>(-1));
  } else {
    RECT now{};
    m_list.GetWindowRect(&now);
    ScreenToClient(&now);
    if (!EqualRect(&now, &m_contentRect)) m_list.MoveWindow(m_contentRect);
    m_list.DropCachedBitmaps();
  }
  m_list.ScrollToTop();
}

void CmivoItemsPageWnd::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  RECT whole{0, 0, RectWidth(m_contentRect), RectHeight(m_contentRect)};
  m_list.DrawItems(dc, whole, m_contentRect.left, m_contentRect.top);
  CmivoPageWnd::DrawArea(dc, erase, left, top, right, bottom);
}

void CmivoItemsPageWnd::DumpCells(window::JsonWriter& j) { m_list.DescribeCells(j); }

LRESULT CmivoItemsPageWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFOCUS && m_list.m_hWnd) {
    m_list.SetFocus();
    return 0;
  }
  return CmivoPageWnd::WindowProc(message, wParam, lParam);
}
