// Internal state of the window system: the window objects, the class table and
// the handle table. Only platform/window's own sources include this.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/region.h"
#include "platform/win32/messages.h"
#include "platform/win32/types.h"

class CWnd;

namespace window::detail {

struct WindowClass {
  std::u16string name;
  WNDCLASSW info;  // lpszClassName/lpszMenuName point nowhere after registration
};

struct Wnd {
  HWND handle = nullptr;
  const WindowClass* cls = nullptr;
  WNDPROC proc = nullptr;          // the class procedure unless subclassed
  CWnd* object = nullptr;          // framework object bound to the window, if any
  DWORD style = 0;
  DWORD exStyle = 0;
  Wnd* parent = nullptr;           // set for WS_CHILD windows only
  Wnd* owner = nullptr;            // owner of a top-level (pop-up) window
  std::vector<Wnd*> children;      // z-order, topmost first
  RECT rect{};                     // parent client coordinates (screen for top-level)
  std::u16string text;             // window text (WM_SETTEXT/WM_GETTEXT)
  UINT_PTR id = 0;                 // child id (GWL_ID)
  LONG_PTR userData = 0;           // GWL_USERDATA
  std::vector<LONG_PTR> extra;     // cbWndExtra bytes, as LONG_PTR slots
  HFONT font = nullptr;            // last WM_SETFONT seen by the default procedure
  gdi::Region invalid;             // update region, client coordinates
  bool eraseNeeded = false;        // the next BeginPaint sends WM_ERASEBKGND
  unsigned paintSerial = 0;        // bumped by BeginPaint and ValidateRect
  bool created = false;            // WM_CREATE returned successfully
  bool independent = false;        // a shell window: served whatever a modal loop filters on
  bool destroying = false;         // DestroyWindow is running for it
  bool closed = false;             // heard WM_DESTROY: takes no new children, they would outlive it
  bool destroyed = false;          // handle no longer valid
};

struct WindowSystem {
  std::unordered_map<HWND, std::unique_ptr<Wnd>> table;
  std::unordered_map<std::u16string, std::unique_ptr<WindowClass>> classes;  // key: lower-case name
  std::vector<Wnd*> topLevel;      // z-order, topmost first
  Wnd* focus = nullptr;
  Wnd* active = nullptr;
  Wnd* capture = nullptr;
  int screenWidth = 240;
  int screenHeight = 320;
  std::uintptr_t nextHandle = 0x10000;  // handle values step by 4: never odd, never reused
  std::vector<std::unique_ptr<Wnd>> graveyard;  // destroyed windows, freed by CollectGarbage
  int callDepth = 0;               // window procedures running now (nesting)
};

WindowSystem& Sys();

// The live window for a handle; null (last error ERROR_INVALID_WINDOW_HANDLE)
// for a null, stale or unknown handle. A handle with its lowest bit set is
// looked up without that bit only where the caller says so.
Wnd* Lookup(HWND hwnd);
Wnd* LookupQuiet(HWND hwnd);

// The window system's own invariants. A broken one is a fault here, never
// the caller's: a caller's null, stale or unknown handle fails its call
// cleanly (ERROR_INVALID_WINDOW_HANDLE), as window.h promises.
//  - Every live window stands once in its sibling list (its parent's
//    children, or the top-level windows), and its parent and owner are live.
//  - Destroyed windows stand in no list.
//  - The focus, the capture and the active window are null or live (the
//    active window is made top-level, though SetParent may make it a child).
// Asserted in debug builds when the outermost call that changed them returns
// (no window procedure runs then; inside one the tree may be half changed).
#ifdef NDEBUG
inline void CheckInvariants() {}
#else
void CheckInvariants();
#endif
// Put one at the top of a call that changes the tree or the input state: the
// invariants are checked on every way out of it.
struct CheckInvariantsOnReturn {
  CheckInvariantsOnReturn() = default;
  CheckInvariantsOnReturn(const CheckInvariantsOnReturn&) = delete;
  CheckInvariantsOnReturn& operator=(const CheckInvariantsOnReturn&) = delete;
  ~CheckInvariantsOnReturn() { CheckInvariants(); }
};

// Thread-safe: whether a handle names a live window (PostMessageW from any thread).
bool IsLiveHandle(HWND hwnd);

// True on the thread that owns the windows: the first thread that created a
// window or ran the message loop (and any thread before that).
bool OnUiThread();
void MarkUiThread();

// Calls the window's procedure (framework object or WNDPROC).
LRESULT CallProc(Wnd* w, UINT msg, WPARAM wp, LPARAM lp);
// Frees destroyed windows once no window procedure runs (the message loop
// calls it between messages).
void CollectGarbage();
// CWnd::CreateEx: creation with the framework object bound before WM_NCCREATE.
HWND CreateWindowBound(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                       int width, int height, HWND parent, HMENU menu, LPVOID param, CWnd* object);

// Z-order lists (window.cpp).
// The list a window stands in among its siblings: its parent's children, or
// the top-level windows.
std::vector<Wnd*>& SiblingList(Wnd* w);
// Index at which a window enters its sibling list when placed "on top":
// a top-level window that is not topmost goes below the topmost ones.
std::size_t TopInsertIndex(const std::vector<Wnd*>& list, const Wnd* w);
void RemoveFromList(std::vector<Wnd*>& list, Wnd* w);

// Focus, capture and activation leave a window that is hidden or destroyed
// (focus.cpp). Call after the window lost WS_VISIBLE, or (`destroying`) once
// DestroyWindow marked it, before its WM_DESTROY.
void DropInputState(Wnd* w, bool destroying);

// A top-level window was minimised or came back from it (minimize.cpp):
// the listeners of window.h hear of it. Called by ShowWindow.
void NotifyMinimized(Wnd* w, bool minimized);

// Geometry.
POINT ScreenOrigin(const Wnd* w);  // client (0,0) in screen coordinates
RECT ScreenRect(const Wnd* w);
RECT ClientRect(const Wnd* w);     // (0, 0, width, height)
bool IsVisibleChain(const Wnd* w); // the window and all its ancestors are visible
bool IsDescendantOrSelf(const Wnd* w, const Wnd* ancestor);
// Whether a message for `w` passes a modal loop's filter (null: any): the
// filter window and its descendants, and the shell's own windows, which on
// the phone belong to other processes and never wait for our boxes.
bool PassesFilter(const Wnd* w, const Wnd* filter);
// What of the window is visible on screen: its rectangle within its ancestors,
// less the siblings above it and above each ancestor, less its own visible
// children when `clipChildren`. Screen coordinates.
gdi::Region VisibleRegion(const Wnd* w, bool clipChildren = true);

// Painting hooks (paint.cpp).
// Something changed on screen over `screenArea`: every window that shows
// part of it gets that part added to its update region.
void Expose(const gdi::Region& screenArea);
// Invalidates the whole window and all its descendants.
void InvalidateTree(Wnd* w);
// Finds a visible window with a non-empty update region, within `filter`
// (a window and its descendants) or anywhere when null.
Wnd* FindPaintWindow(Wnd* filter);
void ForgetWindowPainting(Wnd* w);
// Sends the WM_PAINT taken from the queue; validates a window that ignored it.
void DispatchPaint(Wnd* w);

// Timers (timer.cpp).
void KillWindowTimers(HWND hwnd);
// Kills the timers whose procedure is code `isCode` claims (a library that goes).
void KillTimersCalling(const std::function<bool(const void*)>& isCode);
// Fires the internal callback timers that are due.
void RunDueInternalTimers();
// Finds a due WM_TIMER within the filter; advances the timer when `remove`.
bool TakeDueTimer(Wnd* filter, bool anyWindow, bool remove, MSG* out);
// Due time (sysclock::NowMs) of the earliest timer due after `now`,
// UINT64_MAX for none. Timers already due but held back by a modal loop's
// filter do not count: waiting for them would never end.
std::uint64_t NextTimerDue(std::uint64_t now);

// Queue (message.cpp).
void PurgeWindowMessages(HWND hwnd);

}  // namespace window::detail
