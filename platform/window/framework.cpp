#include "platform/window/framework.h"

#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/timer.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace {
CWinApp* g_app = nullptr;
}

// ---- CWnd ------------------------------------------------------------------------

CWnd::~CWnd() {
  if (m_hWnd) {
    // The object is going away: its window must not call into it any more.
    if (window::detail::Wnd* w = window::detail::LookupQuiet(m_hWnd)) {
      w->object = nullptr;
      const HWND h = m_hWnd;
      m_hWnd = nullptr;
      ::DestroyWindow(h);
    }
  }
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
  if (m_hWnd && ::IsWindow(m_hWnd)) return FALSE;  // one window per object
  m_hWnd = nullptr;
  const HWND parentHandle = parent ? parent->m_hWnd : nullptr;
  const HWND h = window::detail::CreateWindowBound(exStyle, className, windowName, style, rect.left, rect.top,
                                                   RectWidth(rect), RectHeight(rect), parentHandle,
                                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param,
                                                   this);
  if (!h) {
    m_hWnd = nullptr;
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  LPVOID param) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, param);
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  window::detail::Wnd* w = window::detail::LookupQuiet(m_hWnd);
  if (!w) return 0;
  if (w->proc && w->proc != w->cls->info.lpfnWndProc) {
    // Subclassed with SetWindowLong: the new procedure comes first.
    return w->proc(m_hWnd, message, wParam, lParam);
  }
  if (w->cls->info.lpfnWndProc) return w->cls->info.lpfnWndProc(m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

CWnd* CWnd::FromHandle(HWND hwnd) {
  window::detail::Wnd* w = window::detail::LookupQuiet(hwnd);
  return w ? w->object : nullptr;
}

void CWnd::DetachAfterDestroy() {
  m_hWnd = nullptr;
  if (g_app && g_app->m_pMainWnd == this) {
    g_app->m_pMainWnd = nullptr;
    PostQuitMessage(0);
  }
  PostNcDestroy();
}

BOOL CWnd::ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(const RECT& rect, BOOL repaint) {
  ::MoveWindow(m_hWnd, rect.left, rect.top, RectWidth(rect), RectHeight(rect), repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags) {
  // The platform's special insert-after values travel as CWnd pointers in the framework.
  const HWND a = reinterpret_cast<std::uintptr_t>(after) <= 1 || after == reinterpret_cast<const CWnd*>(-1) ||
                         after == reinterpret_cast<const CWnd*>(-2)
                     ? reinterpret_cast<HWND>(const_cast<CWnd*>(after))
                     : after->m_hWnd;
  return ::SetWindowPos(m_hWnd, a, x, y, cx, cy, flags);
}
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
void CWnd::GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::ClientToScreen(POINT* pt) const { ::ClientToScreen(m_hWnd, pt); }
void CWnd::ScreenToClient(POINT* pt) const { ::ScreenToClient(m_hWnd, pt); }
void CWnd::ClientToScreen(RECT* rect) const {
  if (!rect) return;
  POINT o{};
  ::ClientToScreen(m_hWnd, &o);
  OffsetRect(rect, o.x, o.y);
}
void CWnd::ScreenToClient(RECT* rect) const {
  if (!rect) return;
  POINT o{};
  ::ClientToScreen(m_hWnd, &o);
  OffsetRect(rect, -o.x, -o.y);
}
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(const RECT* rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::ValidateRect(const RECT* rect) { ::ValidateRect(m_hWnd, rect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
HWND CWnd::GetParentHwnd() const { return ::GetParent(m_hWnd); }
CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
BOOL CWnd::IsChild(const CWnd* wnd) const { return wnd ? ::IsChild(m_hWnd, wnd->m_hWnd) : FALSE; }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
  if (!m_hWnd) return FALSE;
  const DWORD style = GetStyle();
  const DWORD next = (style & ~remove) | add;
  if (next == style) return FALSE;
  ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(next));
  return TRUE;
}
void CWnd::SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
std::u16string CWnd::GetWindowText() const {
  const int length = ::GetWindowTextLengthW(m_hWnd);
  std::u16string s(static_cast<std::size_t>(length) + 1, u'\0');
  const int got = ::GetWindowTextW(m_hWnd, s.data(), length + 1);
  s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return s;
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
void CWnd::SetFont(HFONT font, BOOL redraw) {
  ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}
HFONT CWnd::GetFont() const { return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageW(m_hWnd, message, wParam, lParam);
}
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapse, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

// ---- CFrameWnd ---------------------------------------------------------------------

const RECT CFrameWnd::rectDefault = MakeRect(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BOOL CFrameWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                       LPCWSTR, DWORD exStyle) {
  RECT r = rect;
  if (rect.left == CW_USEDEFAULT) {
    const SIZE s = window::GetScreenSize();
    r = MakeRect(0, 0, s.cx, s.cy);
  }
  // A frame is a top-level window: WS_CHILD would make it a page of its parent.
  return CreateEx(exStyle, className, windowName, style & ~WS_CHILD, r, parent, 0);
}

BOOL CFrameWnd::LoadFrame(UINT, DWORD style, CWnd* parent) {
  CWinApp* app = AfxGetApp();
  const std::u16string title = app ? app->m_appName : u"";
  return Create(nullptr, title.c_str(), style, rectDefault, parent);
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      const LRESULT r = CWnd::WindowProc(message, wParam, lParam);
      RecalcLayout();
      return r;
    }
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- CWinApp ------------------------------------------------------------------------

CWinApp::CWinApp(LPCWSTR appName) : m_appName(appName ? appName : u"mivo") { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
  if (!msg || !msg->hwnd) return FALSE;
  // The target, then each ancestor up to (and with) its top-level window.
  for (HWND h = msg->hwnd; h;) {
    window::detail::Wnd* w = window::detail::LookupQuiet(h);
    if (!w) return FALSE;
    if (w->object && w->object->PreTranslateMessage(msg)) return TRUE;
    if (!w->parent) break;
    h = w->parent->handle;
  }
  return FALSE;
}

BOOL CWinApp::PumpMessage() {
  MSG msg;
  const BOOL r = GetMessageW(&msg, nullptr, 0, 0);
  if (r <= 0) {
    m_exitCode = static_cast<int>(msg.wParam);
    return FALSE;
  }
  if (!PreTranslateMessage(&msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return TRUE;
}

int CWinApp::Run() {
  while (PumpMessage()) {
  }
  return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

int AfxWinMain(CWinApp& app) {
  if (!app.InitInstance()) {
    if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd) app.m_pMainWnd->DestroyWindow();
    return app.ExitInstance();
  }
  return app.Run();
}
