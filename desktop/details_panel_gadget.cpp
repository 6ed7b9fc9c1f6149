#include "desktop/details_panel_gadget.h"

#include "desktop/desktop_page.h"
#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"

namespace {

constexpr int kPanelHeight = 50;  // times DisplayScale
constexpr int kIconWidth = 50;
constexpr int kDetailsLeft = 60;

}  // namespace

CmivoDetailsPanelGadget::CmivoDetailsPanelGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId)
    : CmivoGadget(core, page, typeId), m_panelHeight(kPanelHeight * DisplayScale) {}

void CmivoDetailsPanelGadget::LayoutPanel(RECT* panel) {
  const int S = DisplayScale;
  RECT page = MakeRect(m_rect.left, 0, m_rect.right, 0);
  if (m_pDesktop && m_pDesktop->m_hWnd) m_pDesktop->GetClientRect(&page);
  const int top = m_rect.top;
  const int bottom = top + m_panelHeight;
  *panel = MakeRect(page.left, top, page.right, bottom);
  m_iconRect = MakeRect(page.left, top, page.left + kIconWidth * S, bottom);
  m_detailsRect = MakeRect(page.left + kDetailsLeft * S, top, page.right, bottom);
}

void CmivoDetailsPanelGadget::Paint(HDC dc) {
  CmivoGadget::Paint(dc);
  RECT panel{};
  LayoutPanel(&panel);
  int saved = SaveDC(dc);
  DrawIcon(dc, m_iconRect);
  RestoreDC(dc, saved);
  saved = SaveDC(dc);
  DrawDetails(dc, m_detailsRect);
  RestoreDC(dc, saved);
  SetRect(panel, true);
}

void CmivoDetailsPanelGadget::OnTap(UINT flags, POINT point) {
  RECT panel{};
  LayoutPanel(&panel);
  if (!IsDesignMode()) {
    if (PtInRect(&m_iconRect, point)) {
      OnIconTap(point);
      return;
    }
    if (PtInRect(&m_detailsRect, point)) {
      OnDetailsTap(point);
      return;
    }
  }
  CmivoGadget::OnTap(flags, point);
}
