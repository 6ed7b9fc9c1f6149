#include "app/app_core.h"
#include "app/root_page.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/win32/rect.h"

namespace {
// The main menu's place in the page catalogue.
constexpr int kMainMenuPage = 0;
}  // namespace

LRESULT CmivoRootPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        m_pCore->ShowPageById(kMainMenuPage);
        return 0;
      }
      return CmivoPageWnd::WindowProc(message, wParam, lParam);
    case WM_LBUTTONUP: {
      const LRESULT result = CmivoPageWnd::WindowProc(message, wParam, lParam);
      m_pCore->ShowPageById(kMainMenuPage);
      return result;
    }
    default:
      return CmivoPageWnd::WindowProc(message, wParam, lParam);
  }
}

void CmivoRootPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look || !erase) return;
  // The wallpaper is laid out for the whole page: the area's own part of it.
  DrawWallpaper(*look, dc, left, top, MakeRect(left, top, right, bottom), 1, !m_pCore->IsPortrait());
}
