// mivo's entry point. Until the system's own start-up is in place it opens a
// demonstration frame: a clock line and four tiles that count taps and
// tell tap-and-holds, so the window system can be seen and driven.
#include <algorithm>
#include <cstdio>

#include "platform/device/device.h"
#include "platform/display/host.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/framework.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

HFONT MakeFont(int height, int weight) {
  return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, u"Arial");
}

int ScaleOf(const RECT& r) { return RectHeight(r) >= 480 || RectWidth(r) >= 480 ? 2 : 1; }

// One tile: its colour, a caption and what happened to it last.
class DemoTile : public CWnd {
 public:
  DemoTile(const char16_t* caption, COLORREF color) : m_caption(caption), m_color(color) {}
  ~DemoTile() override {
    if (m_font) DeleteObject(m_font);
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE: {
        const SIZE screen = window::GetScreenSize();
        m_font = MakeFont(screen.cx >= 480 || screen.cy >= 480 ? 30 : 15, FW_BOLD);
        UpdateText();
        return 0;
      }
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
        OnHold();
        return 0;
      default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
  }

 private:
  void OnTap() {
    m_pressed = false;
    ++m_taps;
    m_state = text::Format(u"%d tap%s", m_taps, m_taps == 1 ? u"" : u"s");
    UpdateText();
    Invalidate(FALSE);
  }

  void OnHold() {
    m_pressed = false;
    m_state = u"held";
    UpdateText();
    Invalidate(FALSE);
  }

  void UpdateText() { SetWindowText(m_caption + (m_state.empty() ? u"" : u": " + m_state)); }

  void OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT r;
    GetClientRect(&r);
    const COLORREF fill = m_pressed ? RGB(255, 255, 255) : m_color;
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    const COLORREF ink = m_pressed ? m_color : RGB(255, 255, 255);
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
    // A frame once the tile was held.
    const int unit = std::max(4, RectHeight(r) / 12);
    HBRUSH mark = CreateSolidBrush(ink);
    if (m_state == u"held") {
      for (int i = 0; i < unit / 2; ++i) {
        RECT f = r;
        InflateRect(&f, -i, -i);
        FrameRect(dc, &f, mark);
      }
    }
    DeleteObject(mark);
    EndPaint(m_hWnd, &ps);
  }

  std::u16string m_caption;  // what the tile is called
  std::u16string m_state;    // "3 taps", "held" or empty
  COLORREF m_color;          // its colour at rest
  HFONT m_font = nullptr;    // caption and state
  int m_taps = 0;            // taps so far
  bool m_pressed = false;    // drawn inverted while the stylus is down on it
};

// The frame: a clock line at the top and the four tiles below.
class DemoFrame : public CFrameWnd {
 public:
  DemoFrame()
      : m_tiles{{u"Contacts", RGB(0x2E, 0x7D, 0x32)},
                {u"Messages", RGB(0x15, 0x65, 0xC0)},
                {u"Calls", RGB(0xC6, 0x28, 0x28)},
                {u"Settings", RGB(0x6A, 0x1B, 0x9A)}} {}
  ~DemoFrame() override {
    if (m_font) DeleteObject(m_font);
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE:
        return OnCreate();
      case WM_SIZE:
        Layout();
        return CFrameWnd::WindowProc(message, wParam, lParam);
      case WM_TIMER:
        OnClockTick();
        return 0;
      case WM_PAINT:
        OnPaint();
        return 0;
      default:
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
  }

 private:
  static constexpr UINT_PTR kClockTimer = 1;

  LRESULT OnCreate() {
    m_font = MakeFont(window::GetScreenSize().cy >= 480 || window::GetScreenSize().cx >= 480 ? 28 : 14, FW_NORMAL);
    for (DemoTile& t : m_tiles) {
      if (!t.Create(nullptr, u"", WS_CHILD | WS_VISIBLE, MakeRect(0, 0, 10, 10), this, 0)) return -1;
    }
    Layout();
    SetTimer(kClockTimer, 1000);
    return 0;
  }

  void Layout() {
    RECT r;
    GetClientRect(&r);
    const int s = RectHeight(r) >= 480 || RectWidth(r) >= 480 ? 2 : 1;
    const int top = 24 * s, gap = 8 * s;
    const int w = (RectWidth(r) - 3 * gap) / 2;
    const int h = (RectHeight(r) - top - 3 * gap) / 2;
    for (int i = 0; i < 4; ++i) {
      if (!m_tiles[i].m_hWnd) continue;
      const int x = gap + (i % 2) * (w + gap);
      const int y = top + gap + (i / 2) * (h + gap);
      m_tiles[i].MoveWindow(x, y, w, h);
    }
    Invalidate();
  }

  void OnClockTick() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    if (st.wMinute == m_shownMinute) return;
    RECT r;
    GetClientRect(&r);
    r.bottom = 24 * (RectHeight(r) >= 480 || RectWidth(r) >= 480 ? 2 : 1);
    InvalidateRect(&r, TRUE);
  }

  void OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT r;
    GetClientRect(&r);
    HBRUSH brush = CreateSolidBrush(RGB(0x21, 0x21, 0x21));
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
    SYSTEMTIME st;
    GetLocalTime(&st);
    m_shownMinute = st.wMinute;
    const std::u16string clock = text::Format(u"mivo  %04d-%02d-%02d  %02d:%02d", st.wYear, st.wMonth, st.wDay,
                                              st.wHour, st.wMinute);
    SetWindowText(clock);
    r.bottom = 24 * ScaleOf(r);
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xEE, 0xEE, 0xEE));
    DrawTextW(dc, clock.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(m_hWnd, &ps);
  }

  DemoTile m_tiles[4];
  int m_shownMinute = -1;  // the minute the clock line shows
  HFONT m_font = nullptr;  // the clock line's
};

class DemoApp : public CWinApp {
 public:
  DemoApp() : CWinApp(u"mivo") {}
  BOOL InitInstance() override {
    if (!m_frame.Create(nullptr, u"mivo", WS_VISIBLE)) return FALSE;
    m_pMainWnd = &m_frame;
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
  if (std::string error; !device::OpenDevice(options.device, &error)) return std::fprintf(stderr, "mivo: %s\n", error.c_str()), 1;
  display::Host host;
  if (!host.Start(options)) return host.ExitCode(1);
  gdi::SetLogPixels(options.height >= 480 && options.width >= 480 ? 192 : 96);
  int result;
  {
    DemoApp app;
    result = AfxWinMain(app);
  }
  window::ResetWindowSystem();
  return host.ExitCode(result);
}
