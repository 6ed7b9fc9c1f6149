#include "platform/shell/taskbar.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/registry/notify.h"
#include "platform/registry/registry.h"
#include "platform/shell/clipboard.h"
#include "platform/shell/input_panel.h"
#include "platform/shell/shell_background.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/command_bar.h"
#include "platform/window/framework.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/painted_wnd.h"
#include "platform/window/shell_look.h"
#include "platform/window/timer.h"
#include "platform/window/window.h"

namespace shell {

namespace {

constexpr UINT_PTR kMinuteTimer = 1;
// Flags of the battery state value (its low word).
constexpr DWORD kBatteryFlagNoBattery = 0x01;
constexpr DWORD kBatteryFlagCharging = 0x02;
constexpr DWORD kBatteryFlagLow = 0x04;

class TaskBar : public CPaintedWnd {
 public:
  ~TaskBar() override { StopNotify(); }

  bool Make() {
    const SIZE s = window::GetScreenSize();
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, u"HHTaskBar", u"", WS_POPUP | WS_VISIBLE,
                  MakeRect(0, 0, s.cx, window::ShellBarHeight()), nullptr, 0)) {
      return false;
    }
    window::SetShellWindow(m_hWnd);
    RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", m_hWnd, kTaskBarBatteryChanged, 0,
                         nullptr, &m_notify);
    ArmMinuteTimer();
    return true;
  }

  void Layout() {
    const SIZE s = window::GetScreenSize();
    MoveWindow(0, 0, s.cx, window::ShellBarHeight(), TRUE);
  }

  bool startIcon = true;  // SHFullScreen's start icon

  // The start button's square at the bar's left.
  RECT StartRect() const {
    RECT c;
    GetClientRect(&c);
    const int s = window::ShellScale();
    const int side = 20 * s, cy = (c.top + c.bottom) / 2;
    return MakeRect(4 * s, cy - side / 2, 4 * s + side, cy - side / 2 + side);
  }

  void SetStartPicture(std::u16string_view path) {
    if (path == m_startPath) return;
    m_startPath = path;
    DropStartPicture();
    if (m_hWnd) Invalidate(FALSE);
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_TIMER:
        if (wParam == kMinuteTimer) {
          Invalidate(FALSE);
          ArmMinuteTimer();
        }
        return 0;
      case kTaskBarBatteryChanged:
        Invalidate(FALSE);
        return 0;
      case WM_TIMECHANGE:
        Invalidate(FALSE);
        ArmMinuteTimer();
        return 0;
      case WM_LBUTTONDOWN:
        m_startPressed = startIcon && OnStartButton(lParam);
        return 0;
      case WM_LBUTTONUP: {
        // The start button brings back the program it stands for.
        const bool tapped = m_startPressed && startIcon && OnStartButton(lParam);
        m_startPressed = false;
        if (tapped) window::RestoreMinimizedWindow();
        return 0;
      }
      case WM_DESTROY:
        StopNotify();
        DropStartPicture();
        return CPaintedWnd::WindowProc(message, wParam, lParam);
      default:
        return CPaintedWnd::WindowProc(message, wParam, lParam);
    }
  }

 private:
  void StopNotify() {
    if (m_notify) RegistryCloseNotification(m_notify);
    m_notify = nullptr;
  }

  // The clock changes on the minute: one timer to the next minute's start.
  void ArmMinuteTimer() {
    const std::int64_t ms = sysclock::UnixMs();
    const std::int64_t rest = 60000 - ((ms % 60000) + 60000) % 60000;
    SetTimer(kMinuteTimer, static_cast<UINT>(std::max<std::int64_t>(rest, 10)));
  }

  void Paint(HDC dc) override {
    RECT c;
    GetClientRect(&c);
    const int s = window::ShellScale();
    shell_look::FillGradient(dc, c, shell_look::kBarTop, shell_look::kBarBottom);
    const int cy = (c.top + c.bottom) / 2;
    if (startIcon) DrawStartButton(dc);
    // The battery mark at the right: body, tip and the level inside.
    const BatteryState battery = ReadBattery();
    const int bw = 20 * s, bh = 10 * s, tip = 2 * s;
    const int bx = c.right - 6 * s - bw - tip, by = cy - bh / 2;
    const RECT body = MakeRect(bx, by, bx + bw, by + bh);
    shell_look::Frame(dc, body, shell_look::kBarText);
    if (s > 1) {
      RECT inner = body;
      InflateRect(&inner, -1, -1);
      shell_look::Frame(dc, inner, shell_look::kBarText);
    }
    shell_look::FillSolid(dc, MakeRect(body.right, by + bh / 4, body.right + tip, by + bh - bh / 4),
                          shell_look::kBarText);
    if (battery.known) {
      const int inner = bw - 4 * s;
      const int fill = inner * std::clamp(battery.level, 0, 100) / 100;
      const COLORREF color = battery.charging ? 0x40D040 : (battery.low ? 0x3030E0 : shell_look::kBarText);
      shell_look::FillSolid(dc, MakeRect(bx + 2 * s, by + 2 * s, bx + 2 * s + fill, by + bh - 2 * s), color);
    }
    // The time, left of the battery.
    SYSTEMTIME st;
    GetLocalTime(&st);
    const std::u16string time = text::Format(u"%d:%02d", st.wHour, st.wMinute);
    SetWindowText(time);
    HGDIOBJ old = SelectObject(dc, shell_look::Font(13 * s, true));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, shell_look::kBarText);
    RECT tr = MakeRect(c.left, c.top, bx - 6 * s, c.bottom);
    DrawTextW(dc, time.c_str(), -1, &tr, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
  }

  // The launcher's picture when it gave one that decodes, else the shell's
  // own emblem: a disc with a plain "m".
  void DrawStartButton(HDC dc) {
    const RECT r = StartRect();
    if (!m_startPath.empty() && !m_startPicture && !m_startTried) {
      m_startTried = true;
      IImagingFactory* factory = nullptr;
      if (SUCCEEDED(CreateImagingFactory(&factory)) && factory) {
        factory->CreateImageFromFile(m_startPath.c_str(), &m_startPicture);
        factory->Release();
      }
    }
    if (m_startPicture && SUCCEEDED(m_startPicture->Draw(dc, &r, nullptr))) return;
    HBRUSH fill = CreateSolidBrush(shell_look::kStartEmblem);
    HPEN edge = CreatePen(PS_SOLID, 1, shell_look::kBarText);
    HGDIOBJ oldBrush = SelectObject(dc, fill), oldPen = SelectObject(dc, edge);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(fill);
    DeleteObject(edge);
    HGDIOBJ oldFont = SelectObject(dc, shell_look::Font(RectHeight(r) * 3 / 4, true));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, shell_look::kBarText);
    RECT text = r;
    DrawTextW(dc, u"m", 1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
  }

  bool OnStartButton(LPARAM lParam) const {
    const RECT r = StartRect();
    return PtInRect(&r, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
  }

  void DropStartPicture() {
    if (m_startPicture) m_startPicture->Release();
    m_startPicture = nullptr;
    m_startTried = false;
  }

  HREGNOTIFY m_notify = nullptr;      // battery changes
  std::u16string m_startPath;         // the start button's picture, a device path; empty: the own emblem
  IImage* m_startPicture = nullptr;   // decoded from it on first paint, owned
  bool m_startTried = false;          // decoding was tried (a failure is not tried again)
  bool m_startPressed = false;        // a press began on the start button
};

struct ShellState {
  TaskBar* taskBar = nullptr;  // owned; null before StartPhoneShell
  std::u16string startPath;    // the start button's picture, for a task bar made later
  bool taskBarShown = true;
  bool listening = false;      // screen listener installed
};

ShellState& St() {
  static ShellState s;
  return s;
}

}  // namespace

void UpdateWorkArea() {
  ShellState& s = St();
  const int top = s.taskBar && s.taskBar->m_hWnd && IsWindowVisible(s.taskBar->m_hWnd) ? window::ShellBarHeight() : 0;
  int bottom = 0;
  RECT panel;
  if (InputPanelRect(&panel)) bottom = window::GetScreenSize().cy - panel.top;
  // Compared with what was announced last: after a rotation the screen has
  // already changed, so the area computed just before would look the same.
  static RECT announced{};
  window::SetWorkAreaInsets(top, bottom);
  const RECT now = window::GetWorkArea();
  if (now != announced) {
    announced = now;
    // Top-level windows hear of it as on the platform.
    std::vector<HWND> tops;
    EnumWindows([](HWND h, LPARAM p) {
      reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
      return TRUE;
    }, reinterpret_cast<LPARAM>(&tops));
    // The shell's background covers the whole screen whatever the work area.
    for (HWND h : tops) {
      if (h != ShellBackgroundWindow()) PostMessageW(h, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    }
  }
}

void StartPhoneShell() {
  ShellState& s = St();
  if (s.taskBar && s.taskBar->m_hWnd) return;
  StartShellBackground();
  delete s.taskBar;
  s.taskBar = new TaskBar;
  if (!s.taskBar->Make()) {
    delete s.taskBar;
    s.taskBar = nullptr;
  } else {
    s.taskBar->SetStartPicture(s.startPath);
    if (!s.taskBarShown) s.taskBar->ShowWindow(SW_HIDE);
  }
  StartInputPanel();
  InstallEditClipboard();
  CCommandBar::SetInputPanelButton(true, [] { SipShowIM(IsInputPanelShown() ? SIPF_OFF : SIPF_ON); });
  if (!s.listening) {
    s.listening = true;
    window::AddScreenListener([](int, int) {
      if (St().taskBar && St().taskBar->m_hWnd) St().taskBar->Layout();
      LayoutInputPanel();
      UpdateWorkArea();
    });
    // A program that hid the task bar and its start button for its full
    // screen gives them back when it leaves the screen; coming back, it hides
    // them again itself.
    window::AddMinimizeListener([](HWND, bool minimized) {
      if (!minimized || !St().taskBar || window::ProgramWindowVisible()) return;
      ShowTaskBar(true);
      ShowStartIcon(true);
    });
  }
  UpdateWorkArea();
}

void StopPhoneShell() {
  ShellState& s = St();
  StopInputPanel();
  StopShellBackground();
  delete s.taskBar;  // destroys its window
  s.taskBar = nullptr;
  s.taskBarShown = true;
  s.startPath.clear();
  window::SetWorkAreaInsets(0, 0);
}

HWND TaskBarWindow() { return St().taskBar ? St().taskBar->m_hWnd : nullptr; }

void ShowTaskBar(bool show) {
  ShellState& s = St();
  s.taskBarShown = show;
  if (s.taskBar && s.taskBar->m_hWnd) s.taskBar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
  UpdateWorkArea();
}

bool IsTaskBarVisible() { return St().taskBar && St().taskBar->m_hWnd && IsWindowVisible(St().taskBar->m_hWnd); }

void ShowStartIcon(bool show) {
  if (TaskBar* t = St().taskBar) {
    if (t->startIcon != show) {
      t->startIcon = show;
      if (t->m_hWnd) t->Invalidate(FALSE);
    }
  }
}

void SetStartIconPicture(std::u16string_view devicePath) {
  St().startPath = devicePath;
  if (TaskBar* t = St().taskBar) t->SetStartPicture(devicePath);
}

RECT StartButtonRect() {
  TaskBar* t = St().taskBar;
  return t && t->m_hWnd ? t->StartRect() : RECT{};
}

BatteryState ReadBattery() {
  BatteryState b;
  DWORD value = 0;
  if (RegistryGetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", &value) != S_OK) return b;
  const DWORD flags = LOWORD(value);
  if (flags & kBatteryFlagNoBattery) return b;
  b.known = true;
  // The high word is the percentage less 19, as the system's readers expect.
  b.level = std::min<int>(HIWORD(value) + 19, 100);
  b.charging = (flags & kBatteryFlagCharging) != 0;
  b.low = (flags & kBatteryFlagLow) != 0;
  return b;
}

}  // namespace shell
