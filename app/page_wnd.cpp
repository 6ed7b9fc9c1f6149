#include "app/page_wnd.h"

#include "app/core.h"
#include "app/main_frame.h"
#include "app/messages.h"
#include "look/appearance.h"
#include "look/language.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/paint.h"

namespace {

// String table ids of the shared soft-key labels.
constexpr int kBackTextId = 374;
constexpr int kHideTextId = 375;
// Room for a translated label; a longer one is cut.
constexpr std::size_t kLabelChars = 64;

// The labels live in static buffers: a posted 0x468 carries pointers to
// them, which must stay valid until the frame has handled it.
char16_t g_backLabel[kLabelChars];
char16_t g_hideLabel[kLabelChars];

void RefreshLabel(char16_t (&buffer)[kLabelChars], int id) {
  const std::u16string text = GetString(id);
  if (std::u16string_view(buffer) != std::u16string_view(text).substr(0, kLabelChars - 1)) {
    text::CopyTo(buffer, kLabelChars, text);
  }
}

}  // namespace

BOOL CmivoPageWnd::CreatePage(CWnd* frame) {
  RECT client{};
  if (frame) frame->GetClientRect(&client);
  return Create(nullptr, u"", WS_CHILD | WS_VISIBLE, client, frame, static_cast<UINT>(-1));
}

void CmivoPageWnd::GoBack() {
  if (m_pCore) m_pCore->PopPage();
}

void CmivoPageWnd::HideApplication() {
  if (m_pCore) m_pCore->MinimizeApplication();
}

void CmivoPageWnd::UpdateSoftKeys() {
  RefreshLabel(g_backLabel, kBackTextId);
  RefreshLabel(g_hideLabel, kHideTextId);
  if (m_pCore) m_pCore->PostSoftKeys(g_backLabel, g_hideLabel);
}

void CmivoPageWnd::FitToFrame() {
  CMainFrame* frame = m_pCore ? m_pCore->GetMainFrame() : nullptr;
  if (!frame || !frame->m_hWnd || !m_hWnd) return;
  RECT client{};
  frame->GetClientRect(&client);
  RECT mine{};
  GetWindowRect(&mine);
  frame->ScreenToClient(&mine);
  if (!EqualRect(&mine, &client)) MoveWindow(client);
}

void CmivoPageWnd::Paint(HDC dc, const RECT& area) {
  mivoAppearance* look = m_pCore ? m_pCore->GetAppearance() : nullptr;
  if (look && look->BackgroundBrush) {
    FillRect(dc, &area, look->BackgroundBrush);
    return;
  }
  HBRUSH brush = CreateSolidBrush(look ? look->BackgroundColor : RGB(0, 0, 0));
  FillRect(dc, &area, brush);
  DeleteObject(brush);
}

LRESULT CmivoPageWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(m_hWnd, &ps);
      Paint(dc, ps.rcPaint);
      EndPaint(m_hWnd, &ps);
      m_bufferNextPaint = false;
      return 0;
    }
    case WM_ERASEBKGND:
      // Painting covers the whole update area; erasing first would flicker.
      return 1;
    case WM_MIVO_RELAYOUT:
      FitToFrame();
      return 0;
    case WM_MIVO_QUERY_FLAG:
      return 1;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
