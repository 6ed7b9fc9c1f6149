#include "platform/window/command_bar.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"
#include "platform/window/input.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/shell_look.h"
#include "platform/window/window.h"

namespace {

// The platform's TBBUTTONINFO of its 32-bit days: callers pass 32.
constexpr UINT kMinButtonInfoSize = 32;

struct BarRegistry {
  std::vector<CCommandBar*> bars;  // live bars, in creation order
  bool sipButtonShown = true;      // SHFullScreen's input panel button
  std::function<void()> sipTap;    // what the input panel button does
  bool hooked = false;             // key hook and dump section installed
};

BarRegistry& Bars() {
  static BarRegistry r;
  return r;
}

// The soft keys F1 and F2 press the left and right buttons of the active bar.
bool SoftKeyHook(UINT vk, bool down) {
  if (vk != VK_F1 && vk != VK_F2) return false;
  CCommandBar* bar = CCommandBar::ActiveBar();
  if (!bar) return false;  // no bar: the key goes to the focus as usual
  if (down) {
    const auto& buttons = bar->GetButtons();
    const std::size_t index = vk == VK_F1 ? 0 : buttons.size() - 1;
    if (!buttons.empty()) {
      PostMessageW(bar->GetParentHwnd(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(buttons[index].command), 0),
                   reinterpret_cast<LPARAM>(bar->m_hWnd));
    }
  }
  return true;
}

void InstallHooks() {
  BarRegistry& r = Bars();
  if (r.hooked) return;
  r.hooked = true;
  window::input::AddKeyHook(SoftKeyHook);
  window::AddDumpSection("softkeys", [](window::JsonWriter& j) {
    const std::vector<std::u16string> keys = CCommandBar::VisibleSoftKeys();
    if (keys.empty()) return false;
    j.BeginArray();
    for (const std::u16string& k : keys) j.String(k);
    j.EndArray();
    return true;
  });
  window::AddScreenListener([](int, int) {
    for (CCommandBar* b : Bars().bars) {
      if (b->m_hWnd) b->SendMessage(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    }
  });
}

}  // namespace

CCommandBar::~CCommandBar() {
  auto& bars = Bars().bars;
  bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
}

BOOL CCommandBar::Create(CWnd* owner, UINT id) {
  if (!owner || !owner->m_hWnd) return FALSE;
  InstallHooks();
  const SIZE s = window::GetScreenSize();
  const int h = window::ShellBarHeight();
  // An owned pop-up: it stays above its owner and goes with it.
  if (!CreateEx(WS_EX_NOACTIVATE, u"menu_worker", nullptr, WS_POPUP | WS_VISIBLE, MakeRect(0, s.cy - h, s.cx, s.cy),
                owner, 0)) {
    return FALSE;
  }
  ::SetWindowLongW(m_hWnd, GWL_ID, static_cast<LONG>(id));
  Bars().bars.push_back(this);
  return TRUE;
}

BOOL CCommandBar::InsertMenuBar(UINT) {
  SetButtons({{ID_SOFTKEY_LEFT, u"One"}, {ID_SOFTKEY_RIGHT, u"Two"}});
  return TRUE;
}

void CCommandBar::SetButtons(std::vector<Button> buttons) {
  m_buttons = std::move(buttons);
  Invalidate(TRUE);
}

std::u16string CCommandBar::GetButtonText(int command) const {
  for (const Button& b : m_buttons) {
    if (b.command == command) return b.text;
  }
  return u"";
}

CCommandBar* CCommandBar::ActiveBar() {
  const HWND fg = GetForegroundWindow();
  CCommandBar* fallback = nullptr;
  for (auto it = Bars().bars.rbegin(); it != Bars().bars.rend(); ++it) {
    CCommandBar* b = *it;
    if (!b->m_hWnd || !::IsWindowVisible(b->m_hWnd)) continue;
    if (fg && b->GetParentHwnd() == fg) return b;
    if (!fallback) fallback = b;
  }
  return fallback;
}

std::vector<std::u16string> CCommandBar::VisibleSoftKeys() {
  std::vector<std::u16string> keys;
  if (CCommandBar* b = ActiveBar()) {
    for (const Button& button : b->m_buttons) keys.push_back(button.text);
  }
  return keys;
}

void CCommandBar::SetInputPanelButton(bool shown, std::function<void()> onTap) {
  Bars().sipButtonShown = shown;
  if (onTap) Bars().sipTap = std::move(onTap);
  for (CCommandBar* b : Bars().bars) {
    if (b->m_hWnd) b->Invalidate(FALSE);
  }
}

void CCommandBar::PlaceAtBottom() {
  const SIZE s = window::GetScreenSize();
  const int h = window::ShellBarHeight();
  MoveWindow(0, s.cy - h, s.cx, h, TRUE);
}

RECT CCommandBar::ButtonRect(int index) const {
  RECT c;
  GetClientRect(&c);
  const int sipWidth = Bars().sipButtonShown ? 36 * window::ShellScale() : 0;
  const int mid = RectWidth(c) / 2;
  if (index == -1) return MakeRect(mid - sipWidth / 2, 0, mid + sipWidth / 2, c.bottom);
  const int n = static_cast<int>(m_buttons.size());
  if (n <= 0 || index >= n) return RECT{};
  if (n == 1) return MakeRect(0, 0, c.right, c.bottom);
  if (n == 2) {
    return index == 0 ? MakeRect(0, 0, mid - sipWidth / 2, c.bottom)
                      : MakeRect(mid + sipWidth / 2, 0, c.right, c.bottom);
  }
  // More than two buttons share the width evenly (no input panel button between).
  return MakeRect(c.right * index / n, 0, c.right * (index + 1) / n, c.bottom);
}

int CCommandBar::HitButton(POINT pt) const {
  if (Bars().sipButtonShown && m_buttons.size() == 2) {
    const RECT sip = ButtonRect(-1);
    if (PtInRect(&sip, pt)) return -1;
  }
  for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
    const RECT r = ButtonRect(i);
    if (PtInRect(&r, pt)) return i;
  }
  return -2;
}

void CCommandBar::OnTap(int index) {
  if (index == -1) {
    if (Bars().sipTap) Bars().sipTap();
    return;
  }
  if (index < 0 || index >= static_cast<int>(m_buttons.size())) return;
  ::SendMessageW(GetParentHwnd(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_buttons[index].command), 0),
                 reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CCommandBar::SetButtonInfo(int command, const TBBUTTONINFOW* info) {
  if (!info || info->cbSize < kMinButtonInfoSize) return FALSE;
  for (Button& b : m_buttons) {
    if (b.command != command) continue;
    if (info->dwMask & TBIF_TEXT) b.text = info->pszText ? info->pszText : u"";
    if ((info->dwMask & TBIF_COMMAND) && info->idCommand) b.command = info->idCommand;
    Invalidate(FALSE);
    return TRUE;
  }
  return FALSE;
}

LRESULT CCommandBar::GetButtonInfo(int command, TBBUTTONINFOW* info) const {
  if (!info || info->cbSize < kMinButtonInfoSize) return -1;
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    if (m_buttons[i].command != command) continue;
    if ((info->dwMask & TBIF_TEXT) && info->pszText && info->cchText > 0) {
      text::CopyTo(info->pszText, static_cast<std::size_t>(info->cchText), m_buttons[i].text);
    }
    if (info->dwMask & TBIF_COMMAND) info->idCommand = m_buttons[i].command;
    return static_cast<LRESULT>(i);
  }
  return -1;
}

void CCommandBar::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  RECT c;
  GetClientRect(&c);
  const int s = window::ShellScale();
  shell_look::FillGradient(dc, c, shell_look::kBarTop, shell_look::kBarBottom);
  HGDIOBJ oldFont = SelectObject(dc, shell_look::Font(13 * s, true));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, shell_look::kBarText);
  for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
    RECT r = ButtonRect(i);
    if (m_pressed == i) shell_look::FillGradient(dc, r, shell_look::kBarPressedTop, shell_look::kBarPressedBottom);
    if (i > 0) shell_look::FillSolid(dc, MakeRect(r.left, r.top + 4 * s, r.left + 1, r.bottom - 4 * s),
                                     shell_look::kBarSeparator);
    InflateRect(&r, -3 * s, 0);
    DrawTextW(dc, m_buttons[i].text.c_str(), -1, &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (Bars().sipButtonShown && m_buttons.size() == 2) {
    // The input panel button: a small keyboard.
    const RECT b = ButtonRect(-1);
    if (m_pressed == -1) shell_look::FillGradient(dc, b, shell_look::kBarPressedTop, shell_look::kBarPressedBottom);
    const int kw = 22 * s, kh = 12 * s;
    const int x = (b.left + b.right - kw) / 2, y = (b.top + b.bottom - kh) / 2;
    shell_look::Frame(dc, MakeRect(x, y, x + kw, y + kh), shell_look::kBarText);
    for (int row = 0; row < 2; ++row) {
      for (int k = 0; k < 5; ++k) {
        const int kx = x + 2 * s + k * 4 * s, ky = y + 2 * s + row * 4 * s;
        shell_look::FillSolid(dc, MakeRect(kx, ky, kx + 2 * s, ky + 2 * s), shell_look::kBarText);
      }
    }
    shell_look::FillSolid(dc, MakeRect(x + 5 * s, y + 10 * s - s, x + kw - 5 * s, y + 10 * s), shell_look::kBarText);
  }
  SelectObject(dc, oldFont);
  EndPaint(m_hWnd, &ps);
}

LRESULT CCommandBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_LBUTTONDOWN:
      m_pressed = HitButton(MakePoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      SetCapture();
      Invalidate(FALSE);
      return 0;
    case WM_LBUTTONUP: {
      const int hit = HitButton(MakePoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      const int pressed = m_pressed;
      m_pressed = -2;
      if (::GetCapture() == m_hWnd) ::ReleaseCapture();
      Invalidate(FALSE);
      // Paint now: the command may open a modal box that would keep the bar's
      // paint waiting, showing the button still pressed.
      UpdateWindow();
      if (hit == pressed && hit != -2) OnTap(hit);
      return 0;
    }
    case WM_CONTEXTMENU:
    case WM_CAPTURECHANGED:
      // A hold on a soft key is no tap.
      if (m_pressed != -2) {
        m_pressed = -2;
        Invalidate(FALSE);
      }
      return 0;
    case WM_SETTINGCHANGE:
      PlaceAtBottom();
      return 0;
    case TB_SETBUTTONINFO:
      return SetButtonInfo(static_cast<int>(wParam), reinterpret_cast<const TBBUTTONINFOW*>(lParam));
    case TB_GETBUTTONINFO:
      return GetButtonInfo(static_cast<int>(wParam), reinterpret_cast<TBBUTTONINFOW*>(lParam));
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
