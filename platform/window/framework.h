// The application framework's classes that the system's windows derive from:
// CWnd (a C++ object bound to a window), CFrameWnd (the main window) and
// CWinApp (start-up, the message loop with PreTranslateMessage, exit).
//
// A class handles its messages by overriding WindowProc with one switch that
// calls its named handlers and passes everything else to its base class's
// WindowProc, which ends in DefWindowProc.
#pragma once

#include <string>

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

class CWnd {
 public:
  CWnd() = default;
  // Destroys a window still bound to the object (its messages no longer reach it).
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Creates the window bound to this object: WM_NCCREATE and WM_CREATE already
  // reach WindowProc. An empty or unknown class name uses the framework's class.
  virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, LPVOID param = nullptr);
  virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                      UINT id, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();

  // ---- The window's procedure ----
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The class's own procedure (for a bound window of a registered class), else DefWindowProcW.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Offered every message before dispatch by CWinApp's loop (this window's
  // messages and those of its descendants); true consumes it.
  virtual BOOL PreTranslateMessage(MSG* msg);
  // After WM_NCDESTROY, when the object is no longer bound to a window.
  virtual void PostNcDestroy() {}

  // ---- The bound window ----
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }
  // The object bound to a window, null for none.
  static CWnd* FromHandle(HWND hwnd);
  static CWnd* FromHandlePermanent(HWND hwnd) { return FromHandle(hwnd); }

  BOOL ShowWindow(int cmdShow);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(const RECT& rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags);
  void BringWindowToTop();
  void GetClientRect(RECT* rect) const;
  void GetWindowRect(RECT* rect) const;
  void ClientToScreen(POINT* pt) const;
  void ScreenToClient(POINT* pt) const;
  void ClientToScreen(RECT* rect) const;
  void ScreenToClient(RECT* rect) const;
  // Invalidate: paint later. UpdateWindow: paint now.
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
  void ValidateRect(const RECT* rect);
  void UpdateWindow();
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetCapture();
  CWnd* GetParent() const;
  HWND GetParentHwnd() const;
  CWnd* GetDlgItem(int id) const;
  BOOL IsChild(const CWnd* wnd) const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  void SetWindowText(LPCWSTR text);
  void SetWindowText(const std::u16string& text) { SetWindowText(text.c_str()); }
  std::u16string GetWindowText() const;
  int GetWindowTextLength() const;
  void SetFont(HFONT font, BOOL redraw = TRUE);
  HFONT GetFont() const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);
  int GetDlgCtrlID() const;
  BOOL SetForegroundWindow();

  // ---- Called by the window system only ----
  void AttachHandle(HWND hwnd) { m_hWnd = hwnd; }
  // After WM_NCDESTROY: unbinds, ends the program when this was the main
  // window, then PostNcDestroy.
  void DetachAfterDestroy();

  HWND m_hWnd = nullptr;
};

// The main window. Closing it (WM_CLOSE) destroys it; destroying the
// application's main window ends the message loop.
class CFrameWnd : public CWnd {
 public:
  // A top-level window over the whole screen when `rect` is rectDefault.
  virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCWSTR menuName = nullptr,
                      DWORD exStyle = 0);
  // The framework's resource-based creation: the title is the application's
  // name; the resource id names nothing else on this platform.
  virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW, CWnd* parent = nullptr);
  // Lays out the frame's control bars; called on WM_SIZE.
  virtual void RecalcLayout() {}

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  static const RECT rectDefault;
};

class CWinApp {
 public:
  explicit CWinApp(LPCWSTR appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // False ends the program (ExitInstance still runs).
  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return m_exitCode; }
  // The message loop: GetMessageW, PreTranslateMessage, TranslateMessage,
  // DispatchMessageW, until WM_QUIT; then ExitInstance.
  virtual int Run();
  // Offers the message to the target window's PreTranslateMessage and then to
  // each ancestor's, up to its top-level window.
  virtual BOOL PreTranslateMessage(MSG* msg);
  // One message through the loop's steps; false on WM_QUIT.
  BOOL PumpMessage();
  void SetRegistryKey(LPCWSTR key) { m_registryKey = key ? key : u""; }

  CWnd* m_pMainWnd = nullptr;
  std::u16string m_appName;
  std::u16string m_registryKey;

 protected:
  int m_exitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// Start-up as the framework does it: InitInstance, then Run (or ExitInstance
// when InitInstance fails). Returns the program's exit code.
int AfxWinMain(CWinApp& app);
