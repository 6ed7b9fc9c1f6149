#include "platform/window/popup_menu.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/overlay_dump.h"
#include "platform/window/framework.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/painted_wnd.h"
#include "platform/window/shell_look.h"
#include "platform/window/window.h"

namespace {

constexpr int kDismissed = -1;

class PopupMenu : public CPaintedWnd {
 public:
  explicit PopupMenu(std::vector<window::PopupMenuItem> items) : m_items(std::move(items)) {}

  // Sizes the menu to its longest entry and places its top-left corner at the
  // point, moved in as far as needed to stay on the work area.
  void Layout(POINT at) {
    const int s = window::ShellScale();
    m_rowHeight = 30 * s;
    int textWidth = 0;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, shell_look::Font(14 * s, false));
    for (const window::PopupMenuItem& item : m_items) {
      SIZE size{};
      GetTextExtentPoint32W(dc, item.text.c_str(), static_cast<int>(item.text.size()), &size);
      textWidth = std::max(textWidth, static_cast<int>(size.cx));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    const RECT work = window::GetWorkArea();
    const int width = std::min(std::max(textWidth + 2 * 12 * s, 110 * s), RectWidth(work));
    const int height = std::min(static_cast<int>(m_items.size()) * m_rowHeight + 2, RectHeight(work));
    const int x = std::clamp(static_cast<int>(at.x), static_cast<int>(work.left), static_cast<int>(work.right) - width);
    const int y =
        std::clamp(static_cast<int>(at.y), static_cast<int>(work.top), static_cast<int>(work.bottom) - height);
    MoveWindow(x, y, width, height, TRUE);
  }

  int Result() const { return m_result; }
  const std::vector<window::PopupMenuItem>& Items() const { return m_items; }
  RECT ScreenRow(int i) const {
    RECT w;
    GetWindowRect(&w);
    RECT r = Row(i);
    OffsetRect(&r, w.left, w.top);
    return r;
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_LBUTTONDOWN: {
        const POINT pt = MakePoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        RECT c;
        GetClientRect(&c);
        if (!PtInRect(&c, pt)) {
          Finish(kDismissed);  // a tap beside the menu closes it and does nothing else
          return 0;
        }
        m_pressed = RowAt(pt);
        Invalidate(FALSE);
        return 0;
      }
      case WM_LBUTTONUP: {
        const int row = RowAt(MakePoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        const int pressed = m_pressed;
        m_pressed = -1;
        Invalidate(FALSE);
        if (row >= 0 && row == pressed && Enabled(row)) Finish(m_items[static_cast<std::size_t>(row)].id);
        return 0;
      }
      case WM_CAPTURECHANGED:
        // Something else took the stylus (another window, the screen turning).
        if (m_result == 0 && reinterpret_cast<HWND>(lParam) != m_hWnd) Finish(kDismissed);
        return 0;
      case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
          MoveCursor(wParam == VK_UP ? -1 : 1);
          return 0;
        }
        return CPaintedWnd::WindowProc(message, wParam, lParam);
      case WM_CHAR:
        if (wParam == u'\r' && m_cursor >= 0 && Enabled(m_cursor))
          Finish(m_items[static_cast<std::size_t>(m_cursor)].id);
        if (wParam == 27) Finish(kDismissed);
        return 0;
      case WM_CLOSE:
        Finish(kDismissed);
        return 0;
      default:
        return CPaintedWnd::WindowProc(message, wParam, lParam);
    }
  }

 private:
  RECT Row(int i) const {
    RECT c;
    GetClientRect(&c);
    return MakeRect(c.left + 1, c.top + 1 + i * m_rowHeight, c.right - 1, c.top + 1 + (i + 1) * m_rowHeight);
  }
  int RowAt(POINT pt) const {
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
      const RECT r = Row(i);
      if (PtInRect(&r, pt)) return i;
    }
    return -1;
  }
  bool Enabled(int i) const { return m_items[static_cast<std::size_t>(i)].enabled; }

  // Up and Down step over disabled entries and wrap; from no cursor Down
  // starts at the first entry and Up at the last.
  void MoveCursor(int step) {
    const int n = static_cast<int>(m_items.size());
    int i = m_cursor < 0 ? (step > 0 ? n - 1 : 0) : m_cursor;
    for (int tries = 0; tries < n; ++tries) {
      i = (i + step + n) % n;
      if (Enabled(i)) {
        m_cursor = i;
        break;
      }
    }
    Invalidate(FALSE);
  }

  void Finish(int result) {
    m_result = result;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  }

  void Paint(HDC dc) override {
    const int s = window::ShellScale();
    RECT c;
    GetClientRect(&c);
    shell_look::FillSolid(dc, c, shell_look::kWindow);
    shell_look::Frame(dc, c, shell_look::kShadow);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, shell_look::Font(14 * s, false));
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
      RECT r = Row(i);
      const bool lit = Enabled(i) && (i == m_pressed || (m_pressed < 0 && i == m_cursor));
      if (lit) shell_look::FillSolid(dc, r, shell_look::kSelection);
      SetTextColor(dc, !Enabled(i) ? shell_look::kDisabledText
                       : lit       ? shell_look::kSelectionText
                                   : shell_look::kWindowText);
      r.left += 12 * s;
      const std::u16string& text = m_items[static_cast<std::size_t>(i)].text;
      DrawTextW(dc, text.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(dc, old);
  }

  std::vector<window::PopupMenuItem> m_items;
  int m_rowHeight = 30;
  int m_pressed = -1;  // the row under a press in progress
  int m_cursor = -1;   // the row Up and Down reached
  int m_result = 0;    // the chosen id, kDismissed, or 0 while open
};

window::OverlayStack<PopupMenu>& OpenMenus() {
  static window::OverlayStack<PopupMenu> menus([](window::JsonWriter& j, const PopupMenu& menu) {
    std::u16string lines;
    std::vector<RECT> rows;
    for (int i = 0; i < static_cast<int>(menu.Items().size()); ++i) {
      lines += (lines.empty() ? u"" : u"\n") + menu.Items()[static_cast<std::size_t>(i)].text;
      rows.push_back(menu.ScreenRow(i));
    }
    window::WriteOverlay(j, "menu", u"", lines, rows);
  });
  return menus;
}

}  // namespace

int window::TrackPopupMenu(HWND owner, POINT screenPoint, const std::vector<PopupMenuItem>& items) {
  if (items.empty()) return 0;
  OpenMenus();  // the dump hears of menus from the first call on
  const HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  CWnd ownerProxy;
  ownerProxy.m_hWnd = root;  // only its handle is used
  PopupMenu menu(items);
  const bool made = menu.CreateEx(WS_EX_TOPMOST, u"Menu", u"", WS_POPUP, MakeRect(0, 0, 10, 10),
                                  root ? &ownerProxy : nullptr, 0);
  ownerProxy.m_hWnd = nullptr;
  if (!made) return 0;
  menu.Layout(screenPoint);
  menu.ShowWindow(SW_SHOW);
  const HWND previousFocus = GetFocus();
  menu.SetFocus();
  menu.SetCapture();  // every tap comes here, so one beside the menu closes it
  OpenMenus().Push(&menu);
  window::ModalLoop(menu.m_hWnd, [&menu](const MSG&) { return menu.Result() != 0 || !menu.m_hWnd; });
  OpenMenus().Remove(&menu);
  const int result = menu.Result();
  if (::GetCapture() == menu.m_hWnd) ::ReleaseCapture();
  menu.DestroyWindow();
  if (previousFocus && IsWindow(previousFocus)) SetFocus(previousFocus);
  return result > 0 ? result : 0;
}
