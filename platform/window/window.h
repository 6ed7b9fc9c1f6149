// Windows: creation and destruction, geometry and z-order, visibility,
// relations, text, focus, capture and activation, with the platform's names
// and semantics.
//
// One UI thread owns all windows; these calls are for that thread (only
// PostMessageW and RunOnUiThread of message.h may be used from others).
// Every call checks its handle: a null, stale or unknown handle fails the call
// with the last error ERROR_INVALID_WINDOW_HANDLE, never a crash.
//
// A window has no frame or caption on this platform: its client area is its
// whole rectangle. Windows always clip their children and siblings. Child
// rectangles are in the parent's client coordinates, top-level ones in screen
// coordinates. New windows go on top of their siblings.
#pragma once

#include <functional>

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

// ---- Classes and creation ------------------------------------------------------

ATOM RegisterClassW(const WNDCLASSW* wc);
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc);

// Sends WM_NCCREATE, WM_CREATE (with CREATESTRUCTW), then WM_SIZE and WM_MOVE;
// shows the window when WS_VISIBLE is given (WM_SHOWWINDOW). A -1 from
// WM_CREATE or FALSE from WM_NCCREATE destroys it again and returns null.
// `parent` is the parent of a WS_CHILD window, else the owner. `menu` is the
// child id of a WS_CHILD window. CW_USEDEFAULT places a top-level window over
// the whole screen. A parent being destroyed takes new children only in its
// own WM_DESTROY (they go with it); later ones fail with
// ERROR_INVALID_WINDOW_HANDLE, as they would outlive it.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
inline HWND CreateWindowW(LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return CreateWindowExW(0, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}
// Hides the window, sends WM_DESTROY to it and then to its descendants, then
// WM_NCDESTROY to the descendants and last to the window itself. Owned
// pop-ups are destroyed first. A second call fails (stale handle).
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- Geometry and z-order --------------------------------------------------------

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// hwndInsertAfter: HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST or a sibling.
BOOL SetWindowPos(HWND hwnd, HWND hwndInsertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL BringWindowToTop(HWND hwnd);
BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL GetWindowRect(HWND hwnd, RECT* rect);  // screen coordinates
BOOL ClientToScreen(HWND hwnd, POINT* pt);
BOOL ScreenToClient(HWND hwnd, POINT* pt);
// Converts points from one window's client coordinates to another's (null: screen).
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
// The deepest visible, enabled window under a screen point; null when none.
HWND WindowFromPoint(POINT pt);
// The visible child of `parent` under a point of its client area; the parent
// itself when no child is there; null when the point is outside it.
HWND ChildWindowFromPoint(HWND parent, POINT pt);

// ---- Visibility and state ----------------------------------------------------------

// Returns whether the window was visible before. SW_HIDE/SW_SHOW... send
// WM_SHOWWINDOW on a change; showing a top-level window activates it unless
// SW_SHOWNA/SW_SHOWNOACTIVATE. SW_MINIMIZE hides it (a phone has no icons).
BOOL ShowWindow(HWND hwnd, int cmdShow);
// Visible with all its ancestors.
BOOL IsWindowVisible(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);  // returns whether it was disabled
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsIconic(HWND hwnd);

// ---- Relations and enumeration ------------------------------------------------------

HWND GetParent(HWND hwnd);  // the parent of a child, else the owner
HWND SetParent(HWND child, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);  // null: the topmost top-level window
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
// Top-level windows in z-order, topmost first; stops when the callback returns FALSE.
BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam);
// All descendants, depth first in z-order.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam);
// Top-level windows only; null class or title matches any.
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount);
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);
HWND GetDesktopWindow();

LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);

// ---- Text ------------------------------------------------------------------------

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);        // sends WM_SETTEXT
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount);  // sends WM_GETTEXT
int GetWindowTextLengthW(HWND hwnd);

// ---- Focus, capture, activation --------------------------------------------------------

// WM_KILLFOCUS to the old focus (wParam = new), WM_SETFOCUS to the new
// (wParam = old). Returns the previous focus. Null removes the focus.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetCapture(HWND hwnd);
// WM_CAPTURECHANGED goes to the window that loses the capture.
BOOL ReleaseCapture();
HWND GetCapture();
// Activates the window's top-level window and brings it to the top
// (WM_ACTIVATE WA_INACTIVE to the old, WA_ACTIVE to the new). A handle with
// its lowest bit set is accepted (the platform's way to bring owned pop-ups along).
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();

// ---- The screen ----------------------------------------------------------------------

namespace window {

// The screen's size; set by the display before windows are created.
void SetScreenSize(int width, int height);
SIZE GetScreenSize();
// The screen changes size (rotation): the framebuffer is made anew, top-level
// windows that covered the whole screen are sized to the new one (WM_SIZE),
// the listeners run (the shell lays out its bars and the work area), and
// everything repaints.
void ChangeScreenSize(int width, int height);
using ScreenListener = std::function<void(int width, int height)>;
void AddScreenListener(ScreenListener listener);

// Marks a top-level window as one of the phone shell's own (task bar, input
// panel): on the phone they live in other processes, so their messages,
// paints and timers are served even while a modal loop filters on its box.
void SetShellWindow(HWND hwnd);

// Minimising (minimize.cpp). On a phone a minimised program leaves the
// screen to what is below it: the shell's own background and task bar. The
// listeners hear when a top-level window is minimised (true) and when it
// comes back from that (false): the shell shows its task bar. The event
// source (message.h) minimises its host window when no program's window is
// left on screen, and raises it when one comes back.
using MinimizeListener = std::function<void(HWND hwnd, bool minimized)>;
void AddMinimizeListener(MinimizeListener listener);
// Brings back the top-level window minimised last (shown and in front);
// false when no window is minimised. For a tap on the shell's background and
// the host window coming back.
bool RestoreMinimizedWindow();
// Whether a top-level window of a program (not one of the shell's own) is
// visible: what the screen shows, for the state dump.
bool ProgramWindowVisible();

// Every live window, depth first: top-level windows topmost first, each
// followed by its descendants (for the state dump and tests).
void ForEachWindow(const std::function<void(HWND hwnd, int depth)>& fn);

// A library's code is about to be unloaded (shell's FreeLibrary): every
// window whose procedure, or whose class's, is code of the library
// (`isLibraryCode` says so of an address) or whose class was registered with
// its instance is destroyed, those classes are unregistered, and timers whose
// procedure is its code are killed. Nothing is left that would call into it.
void ForgetModuleCode(HINSTANCE instance, const std::function<bool(const void*)>& isLibraryCode);

// Destroys every window and forgets every class, timer and queued message:
// the state of a fresh start (tests, and the end of a run).
void ResetWindowSystem();

}  // namespace window
