#include "app/core.h"
#include "app/page_wnd.h"

namespace {
// The main menu's place in the page catalogue.
constexpr int kMainMenuPage = 0;
}  // namespace

LRESULT CmivoRootPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        if (m_pCore) m_pCore->ShowPageById(kMainMenuPage);
        return 0;
      }
      return CmivoPageWnd::WindowProc(message, wParam, lParam);
    case WM_LBUTTONUP: {
      const LRESULT result = CmivoPageWnd::WindowProc(message, wParam, lParam);
      if (m_pCore) m_pCore->ShowPageById(kMainMenuPage);
      return result;
    }
    default:
      return CmivoPageWnd::WindowProc(message, wParam, lParam);
  }
}
