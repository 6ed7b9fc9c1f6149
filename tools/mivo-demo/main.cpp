// mivo-demo: the platform layer on its own, without the system above it. A
// demonstration frame inside the phone shell (task bar, menu bar, input
// panel): a name field, a notes field, and four tiles that count taps and
// tell tap-and-holds. The soft keys open the platform's message boxes; the
// Settings tile switches full screen on and off. The window system's scenario
// tests drive it; it takes the same options as mivo.
#include <algorithm>
#include <cstdio>

#include "platform/device/device.h"
#include "platform/display/host.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/fullscreen.h"
#include "platform/shell/input_panel.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/command_bar.h"
#include "platform/window/edit.h"
#include "platform/window/framework.h"
#include "platform/window/message.h"
#include "platform/window/message_box.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

HFONT MakeFont(int height, int weight) {
  return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, u"Arial");
}

// One tile: its colour, a caption and what happened to it last.
class DemoTile : public CWnd {
 public:
  DemoTile(const char16_t* caption, COLORREF color) : m_caption(caption), m_color(color) {}
  ~DemoTile() override {
    if (m_font) DeleteObject(m_font);
  }

  void SetState(const std::u16string& state) {
    m_state = state;
    UpdateText();
    Invalidate(FALSE);
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE:
        m_font = MakeFont(15 * window::ShellScale(), FW_BOLD);
        UpdateText();
        return 0;
      case WM_PAINT:
        OnPaint();
        return 0;
      case WM_LBUTTONDOWN:
        m_pressed = true;
        Invalidate(FALSE);
        return 0;
      case WM_LBUTTONUP:
        OnTap();
        return 0;
      case WM_CONTEXTMENU:
        m_pressed = false;
        SetState(u"held");
        return 0;
      case WM_CAPTURECHANGED:
        return 0;
      default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
  }

 private:
  void OnTap() {
    m_pressed = false;
    ++m_taps;
    SetState(text::Format(u"%d tap%s", m_taps, m_taps == 1 ? u"" : u"s"));
    // The frame hears of taps (the Settings tile switches full screen).
    ::SendMessageW(GetParentHwnd(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), 0),
                   reinterpret_cast<LPARAM>(m_hWnd));
  }

  void UpdateText() { SetWindowText(m_caption + (m_state.empty() ? u"" : u": " + m_state)); }

  void OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT r;
    GetClientRect(&r);
    const COLORREF ink = m_pressed ? m_color : RGB(255, 255, 255);
    HBRUSH brush = CreateSolidBrush(m_pressed ? RGB(255, 255, 255) : m_color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    RECT top = r;
    top.bottom = (r.top + r.bottom) / 2;
    DrawTextW(dc, m_caption.c_str(), -1, &top, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    RECT bottom = r;
    bottom.top = top.bottom + 2;
    DrawTextW(dc, m_state.c_str(), -1, &bottom, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    if (m_state == u"held") {
      HBRUSH mark = CreateSolidBrush(ink);
      for (int i = 0; i < 3 * window::ShellScale(); ++i) {
        RECT f = r;
        InflateRect(&f, -i, -i);
        FrameRect(dc, &f, mark);
      }
      DeleteObject(mark);
    }
    EndPaint(m_hWnd, &ps);
  }

  std::u16string m_caption;  // what the tile is called
  std::u16string m_state;    // "3 taps", "held" or empty
  COLORREF m_color;          // its colour at rest
  HFONT m_font = nullptr;    // caption and state
  int m_taps = 0;            // taps so far
  bool m_pressed = false;    // drawn inverted while the stylus is down on it
};

constexpr UINT kTileIdBase = 100;
constexpr UINT kNameId = 10;
constexpr UINT kNotesId = 11;

// The frame: a name field, a notes field and the four tiles, over the work
// area and above the menu bar.
class DemoFrame : public CFrameWnd {
 public:
  DemoFrame()
      : m_tiles{{u"Contacts", RGB(0x2E, 0x7D, 0x32)},
                {u"Messages", RGB(0x15, 0x65, 0xC0)},
                {u"Calls", RGB(0xC6, 0x28, 0x28)},
                {u"Settings", RGB(0x6A, 0x1B, 0x9A)}} {}

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE:
        return OnCreate();
      case WM_SIZE:
        Layout();
        return CFrameWnd::WindowProc(message, wParam, lParam);
      case WM_SETTINGCHANGE:
        PlaceFrame();
        return 0;
      case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
      case WM_PAINT:
        OnPaint();
        return 0;
      default:
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
  }

  // Over the work area, ending at the menu bar's top (or the screen's bottom).
  void PlaceFrame() {
    RECT r = window::GetWorkArea();
    if (m_menuBar.m_hWnd && m_menuBar.IsWindowVisible()) {
      RECT bar;
      m_menuBar.GetWindowRect(&bar);
      r.bottom = std::min(r.bottom, bar.top);
    }
    MoveWindow(r, TRUE);
  }

 private:
  LRESULT OnCreate() {
    if (!m_menuBar.Create(this) || !m_menuBar.InsertMenuBar(169)) return -1;
    SetSoftKey(ID_SOFTKEY_LEFT, u"Message");
    SetSoftKey(ID_SOFTKEY_RIGHT, u"Question");
    if (!m_name.Create(WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, MakeRect(0, 0, 10, 10), this, kNameId)) return -1;
    if (!m_notes.Create(WS_VISIBLE | WS_BORDER | ES_MULTILINE | WS_VSCROLL, MakeRect(0, 0, 10, 10), this, kNotesId))
      return -1;
    for (int i = 0; i < 4; ++i) {
      if (!m_tiles[i].Create(nullptr, u"", WS_CHILD | WS_VISIBLE, MakeRect(0, 0, 10, 10), this, kTileIdBase + i)) {
        return -1;
      }
    }
    Layout();
    return 0;
  }

  // The menu bar's texts are set as the platform sets them.
  void SetSoftKey(int command, const char16_t* label) {
    TBBUTTONINFOW info;
    info.cbSize = 32;
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<LPWSTR>(label);
    m_menuBar.SendMessage(TB_SETBUTTONINFO, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&info));
  }

  void Layout() {
    if (!m_name.m_hWnd) return;
    RECT r;
    GetClientRect(&r);
    const int s = window::ShellScale();
    const int gap = 6 * s;
    const int fieldH = 22 * s, notesH = 3 * 16 * s + 6 * s;
    m_name.MoveWindow(gap, gap, RectWidth(r) - 2 * gap, fieldH);
    m_notes.MoveWindow(gap, 2 * gap + fieldH, RectWidth(r) - 2 * gap, notesH);
    const int top = 3 * gap + fieldH + notesH;
    const int w = (RectWidth(r) - 3 * gap) / 2;
    const int h = std::max(1, (RectHeight(r) - top - 2 * gap) / 2);
    for (int i = 0; i < 4; ++i) {
      m_tiles[i].MoveWindow(gap + (i % 2) * (w + gap), top + (i / 2) * (h + gap), w, h);
    }
    Invalidate();
  }

  void OnCommand(UINT id) {
    if (id == ID_SOFTKEY_LEFT) {
      const std::u16string name = m_name.GetWindowText();
      const std::u16string text = name.empty() ? u"Hello from mivo." : u"Hello, " + name + u".";
      MessageBoxW(m_hWnd, text.c_str(), u"Message", MB_OK);
    } else if (id == ID_SOFTKEY_RIGHT) {
      const int answer = MessageBoxW(m_hWnd, u"Do you like this little demo?", u"Question", MB_YESNO);
      m_tiles[1].SetState(answer == IDYES ? u"yes" : answer == IDNO ? u"no" : u"closed");
    } else if (id == kTileIdBase + 3) {
      m_fullScreen = !m_fullScreen;
      SHFullScreen(m_hWnd, m_fullScreen ? SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON
                                        : SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON | SHFS_SHOWSTARTICON);
      m_tiles[3].SetState(m_fullScreen ? u"full screen" : u"");
      PlaceFrame();
    }
  }

  void OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    HBRUSH brush = CreateSolidBrush(RGB(0x21, 0x21, 0x21));
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(m_hWnd, &ps);
  }

  CCommandBar m_menuBar;
  CEdit m_name;           // one line
  CEdit m_notes;          // several lines, wrapped, scrolled
  DemoTile m_tiles[4];
  bool m_fullScreen = false;
};

class DemoApp : public CWinApp {
 public:
  DemoApp() : CWinApp(u"mivo") {}
  BOOL InitInstance() override {
    if (!m_frame.Create(nullptr, u"mivo", 0)) return FALSE;
    m_pMainWnd = &m_frame;
    m_frame.PlaceFrame();
    m_frame.ShowWindow(SW_SHOW);
    m_frame.UpdateWindow();
    return TRUE;
  }

 private:
  DemoFrame m_frame;
};

}  // namespace

int main(int argc, char** argv) {
  display::Options options;
  int code = 0;
  if (!display::ParseOptions(argc, argv, &options, &code)) return code;
  if (std::string error; !device::OpenDevice(options.device, &error))
    return std::fprintf(stderr, "mivo: %s\n", error.c_str()), 1;
  display::Host host;
  if (!host.Start(options)) return host.ExitCode(1);
  gdi::SetLogPixels(window::ShellScale() == 2 ? 192 : 96);
  shell::StartPhoneShell();
  int result;
  {
    DemoApp app;
    result = AfxWinMain(app);
  }
  shell::StopPhoneShell();
  window::ResetWindowSystem();
  return host.ExitCode(result);
}
