#include "desktop/details_panel_gadget.h"

#include "core/core.h"
#include "desktop/desktop_page.h"
#include "look/appearance.h"
#include "look/fitted_text.h"
#include "look/toolkit.h"
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

void CmivoDetailsPanelGadget::DrawCentredImage(HDC dc, mivoSkinImage* image, const RECT& rect) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (look && image) look->DrawSkinImage(image, dc, rect, kAlignCenterX | kAlignCenterY);
}

void CmivoDetailsPanelGadget::DrawNote(HDC dc, const RECT& rect, std::u16string_view text) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int S = DisplayScale;
  const RECT box = MakeRect(rect.left, rect.top, rect.right - 5 * S, rect.bottom);
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look->TextColor);
  const mivoFittedText fitted = FitText(*look, dc, text, look->SubtitleFont, RectWidth(box), RectHeight(box));
  const int top = box.top + (RectHeight(box) - fitted.Height()) / 2;
  DrawFittedText(*look, dc, fitted, MakeRect(box.left, top, box.right, box.bottom), 0);
  RestoreDC(dc, saved);
}

namespace {

// The height of a line of text in the font.
int LineHeight(HDC dc, HFONT font) {
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  return tm.tmHeight;
}

}  // namespace

void CmivoDetailsPanelGadget::DrawTwoLines(HDC dc, const RECT& rect, std::u16string_view title,
                                           std::u16string_view second, std::u16string_view aside) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int S = DisplayScale;
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  const int h1 = LineHeight(dc, look->TitleFont);
  const int h2 = second.empty() ? 0 : LineHeight(dc, look->SubtitleFont);
  const int top = rect.top + (RectHeight(rect) - h1 - h2) / 2;
  RECT first = MakeRect(rect.left, top, rect.right - 5 * S, top + h1);
  if (!aside.empty()) {
    // The short text keeps its room; the title gives way to it.
    SelectObject(dc, look->SmallFont);
    RECT measure = MakeRect(0, 0, 0, 0);
    DrawTextW(dc, aside.data(), static_cast<int>(aside.size()), &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const RECT asideRect = MakeRect(first.right - RectWidth(measure) - 2 * S, first.top, first.right, first.bottom);
    // The theme's text colour throughout: over a wallpaper its fainter
    // second colour is hard to read; the smaller fonts set the lines apart.
    SetTextColor(dc, look->TextColor);
    DrawTextWithShadow(*look, dc, aside, asideRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    first.right = asideRect.left - 5 * S;
  }
  SelectObject(dc, look->TitleFont);
  SetTextColor(dc, look->TextColor);
  DrawTextWithShadow(*look, dc, title, first, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (!second.empty()) {
    SelectObject(dc, look->SubtitleFont);
    SetTextColor(dc, look->TextColor);
    const RECT line = MakeRect(rect.left, first.bottom, rect.right - 5 * S, first.bottom + h2);
    DrawTextWithShadow(*look, dc, second, line, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  RestoreDC(dc, saved);
}
