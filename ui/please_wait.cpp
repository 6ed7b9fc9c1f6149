#include "ui/please_wait.h"

#include "core/core.h"
#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/overlay_frame.h"

CmivoPleaseWaitWnd::~CmivoPleaseWaitWnd() { ui::UnregisterOverlay(this); }

BOOL CmivoPleaseWaitWnd::CreateBar(CWnd* frame) {
  if (!frame || !frame->m_hWnd) return FALSE;
  return Create(nullptr, u"", WS_CHILD | WS_VISIBLE, MakeRect(0, 0, 100, 100), frame, static_cast<UINT>(-1));
}

void CmivoPleaseWaitWnd::Place() {
  CFrameWnd* frame = m_pCore->GetMainFrame();
  if (!m_hWnd || !frame || !frame->m_hWnd) return;
  RECT client{};
  frame->GetClientRect(&client);
  const int height = kBarHeight * DisplayScale;
  ::SetWindowPos(m_hWnd, HWND_TOP, client.left, client.bottom - height, RectWidth(client), height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ui::RegisterOverlay(this);
}

void CmivoPleaseWaitWnd::Hide() {
  ui::UnregisterOverlay(this);
  if (!m_hWnd) return;
  ShowWindow(SW_HIDE);
  // What it covered paints now: an error box may open at once, and its loop
  // would serve only its own window.
  if (const HWND parent = ::GetParent(m_hWnd)) ui::PaintUncovered(parent);
}

void CmivoPleaseWaitWnd::SetText(const std::u16string& text) {
  m_text = text;
  if (!m_hWnd) return;
  // Paint now: the caller is busy and pumps nothing until it is done.
  Invalidate(FALSE);
  UpdateWindow();
}

ui::OverlayDescription CmivoPleaseWaitWnd::DescribeOverlay() const {
  ui::OverlayDescription d;
  d.kind = "wait";
  d.text = m_text;
  return d;
}

int CmivoPleaseWaitWnd::Draw(HDC dc, mivoAppearance& look, const RECT& client) {
  const int S = DisplayScale;
  if (look.BackgroundBrush) FillRect(dc, &client, look.BackgroundBrush);
  SelectObject(dc, look.SmallFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look.TextColor);
  RECT textRect = MakeRect(client.left + 10 * S, client.top, client.right - 10 * S, client.bottom);
  // One line, centred in the bar's height, cut with "..." when too long.
  DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &textRect,
            DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  return 0;  // the bar keeps its height
}

LRESULT CmivoPleaseWaitWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      ui::PaintOverlay(*this, m_pCore->GetAppearance(),
                       [this](HDC dc, mivoAppearance& look, const RECT& client) { return Draw(dc, look, client); });
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
