// The message queue: posting, sending, retrieving and dispatching messages,
// with the platform's names and semantics.
//
// Retrieval order, as on the platform: work handed over from other threads
// (RunOnUiThread, SendMessageW from another thread), then posted and input
// messages in the order they arrived, then the quit message, then WM_PAINT
// (made only when nothing else is queued for the caller), then WM_TIMER.
//
// A window filter takes the messages of that window and of all its
// descendants (modal loops filter on their box and still get the box's
// controls' messages). WM_QUIT is returned whatever the filter. A quit message
// that a modal loop takes must be posted again by that loop (ModalLoop below
// does it), so the program's own loop ends too.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

// Thread-safe. Null hwnd posts a thread message (retrieved with hwnd null);
// HWND_BROADCAST posts to every top-level window. Fails for a dead window.
BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// On the UI thread a direct call of the window's procedure (re-entrant);
// from another thread the call is handed to the UI thread and waited for.
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Waits until a message is there. Returns 0 for WM_QUIT, -1 for a bad filter
// window, else nonzero.
BOOL GetMessageW(MSG* msg, HWND hwnd, UINT msgFilterMin, UINT msgFilterMax);
// Never waits. PM_REMOVE takes the message, PM_NOREMOVE leaves it queued.
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT msgFilterMin, UINT msgFilterMax, UINT removeMsg);
// For WM_KEYDOWN of a key that types a character, queues the WM_CHAR next.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
void PostQuitMessage(int exitCode);
// Thread-safe: the message is queued and this returns at once (same as Post here).
BOOL SendNotifyMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
DWORD GetMessagePos();
LONG GetMessageTime();
// Thread-safe: waits up to `milliseconds` for a post to the queue (real time).
DWORD MsgWaitForSingleMessage(DWORD milliseconds);

// Thread-safe: runs `fn` on the UI thread from the message loop (also inside
// modal loops), in the order of the calls.
void RunOnUiThread(std::function<void()> fn);

namespace window {

// Where the queue waits when nothing is ready: the screen. The display
// installs one; without one the queue waits for posts from other threads.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // The idle point: nothing is ready for the caller of GetMessageW. Show the
  // frame when it changed, then wait for input, a post (Wake) or until
  // `dueMs` (sysclock::NowMs() of the next timer, UINT64_MAX for none). May
  // return early; the queue looks again and calls it again.
  virtual void WaitForEvents(std::uint64_t dueMs) = 0;
  // Non-blocking: deliver pending host input (PeekMessageW calls it).
  virtual void PollEvents() {}
  // Any thread: something was posted; make WaitForEvents return.
  virtual void Wake() = 0;
  // UI thread: the program was asked to the front (a second start); the
  // host's own window, if there is one, comes up over the host's others.
  virtual void RaiseHostWindow() {}
  // UI thread: the program left the screen (minimised); the host's own
  // window, if there is one, is minimised too, and comes back when the user
  // brings it back on the host or the program shows again (RaiseHostWindow).
  virtual void MinimizeHostWindow() {}
};
void SetEventSource(EventSource* source);
EventSource* GetEventSource();

// A modal loop as the system's boxes run it: GetMessageW filtered on `hwnd`,
// translating and dispatching, until `done` answers true after a dispatch or
// the quit message arrives (then posted again). Returns false on quit.
bool ModalLoop(HWND hwnd, const std::function<bool(const MSG&)>& done);

// Processes everything that is ready without waiting (tests and benchmarks):
// returns the number of messages dispatched. Stops at WM_QUIT (left set).
int PumpPending();

// Whether a quit message is pending (the program is ending).
bool QuitPending();

// Number of messages waiting in the queue (posted and input).
std::size_t QueuedCount();

// Forgets every queued message, task and quit request (ResetWindowSystem).
void ResetQueue();

}  // namespace window
