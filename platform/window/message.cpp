#include "platform/window/message.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>

#include "platform/win32/clock.h"
#include "platform/win32/errors.h"
#include "platform/window/input.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

using namespace window::detail;

namespace {

struct Queue {
  std::mutex lock;
  std::condition_variable posted;         // the built-in wait (no event source)
  std::deque<MSG> messages;               // posted and input messages, in arrival order
  std::deque<std::function<void()>> tasks;  // RunOnUiThread and cross-thread sends
  bool quit = false;
  int quitCode = 0;
  window::EventSource* source = nullptr;
  MSG last{};                             // the message last retrieved (GetMessagePos/Time)
};

Queue& Q() {
  static Queue q;
  return q;
}

void WakeWaiters() {
  Queue& q = Q();
  q.posted.notify_all();
  if (window::EventSource* s = q.source) s->Wake();
}

void RunTasks() {
  Queue& q = Q();
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> g(q.lock);
      if (q.tasks.empty()) return;
      task = std::move(q.tasks.front());
      q.tasks.pop_front();
    }
    task();
  }
}

bool InRange(UINT msg, UINT lo, UINT hi) { return (lo == 0 && hi == 0) || (msg >= lo && msg <= hi); }

// One look at everything that is ready. `filter` is the window filter (null:
// any), `filterHandle` its handle (for the bad-filter check).
bool TryRetrieve(MSG* out, Wnd* filter, UINT lo, UINT hi, bool remove) {
  Queue& q = Q();
  RunTasks();
  RunDueInternalTimers();
  {
    std::lock_guard<std::mutex> g(q.lock);
    for (auto it = q.messages.begin(); it != q.messages.end();) {
      if (it->hwnd && !LookupQuiet(it->hwnd)) {
        it = q.messages.erase(it);  // its window is gone
        continue;
      }
      bool match = InRange(it->message, lo, hi);
      if (match && filter) match = PassesFilter(LookupQuiet(it->hwnd), filter);
      if (match) {
        *out = *it;
        if (remove) q.messages.erase(it);
        return true;
      }
      ++it;
    }
    if (q.quit) {
      *out = MSG{};
      out->message = WM_QUIT;
      out->wParam = static_cast<WPARAM>(q.quitCode);
      out->time = GetTickCount();
      if (remove) q.quit = false;
      return true;
    }
  }
  if (InRange(WM_PAINT, lo, hi)) {
    if (Wnd* w = FindPaintWindow(filter)) {
      *out = MSG{};
      out->hwnd = w->handle;
      out->message = WM_PAINT;
      out->time = GetTickCount();
      return true;  // WM_PAINT stays until the window is validated
    }
  }
  if (InRange(WM_TIMER, lo, hi) && TakeDueTimer(filter, filter == nullptr, remove, out)) {
    out->time = GetTickCount();
    return true;
  }
  return false;
}

void Wait() {
  Queue& q = Q();
  const std::uint64_t due = NextTimerDue(sysclock::NowMs());
  if (q.source) {
    q.source->WaitForEvents(due);
    return;
  }
  std::unique_lock<std::mutex> g(q.lock);
  if (!q.messages.empty() || !q.tasks.empty() || q.quit) return;
  if (due != UINT64_MAX && !sysclock::IsVirtual()) {
    const std::uint64_t now = sysclock::NowMs();
    if (due <= now) return;
    q.posted.wait_for(g, std::chrono::milliseconds(due - now));
  } else {
    q.posted.wait(g);
  }
}

void PushMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool front) {
  Queue& q = Q();
  MSG m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wp;
  m.lParam = lp;
  m.time = GetTickCount();
  if (OnUiThread()) m.pt = window::input::LastPoint();
  {
    std::lock_guard<std::mutex> g(q.lock);
    if (front) {
      q.messages.push_front(m);
    } else {
      q.messages.push_back(m);
    }
  }
  WakeWaiters();
}

}  // namespace

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (hwnd == HWND_BROADCAST) {
    // The window list belongs to the UI thread: other threads hand the post over.
    auto broadcast = [msg, wp, lp] {
      std::vector<HWND> tops;
      for (Wnd* t : Sys().topLevel) tops.push_back(t->handle);
      for (HWND h : tops) PushMessage(h, msg, wp, lp, false);
    };
    if (OnUiThread()) {
      broadcast();
    } else {
      RunOnUiThread(broadcast);
    }
    return TRUE;
  }
  if (hwnd && !IsLiveHandle(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  PushMessage(hwnd, msg, wp, lp, false);
  return TRUE;
}

BOOL SendNotifyMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return PostMessageW(hwnd, msg, wp, lp); }

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!OnUiThread()) {
    if (!IsLiveHandle(hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    auto done = std::make_shared<std::promise<LRESULT>>();
    std::future<LRESULT> result = done->get_future();
    RunOnUiThread([=] { done->set_value(SendMessageW(hwnd, msg, wp, lp)); });
    return result.get();
  }
  Wnd* w = Lookup(hwnd);
  if (!w) return 0;
  return CallProc(w, msg, wp, lp);
}

BOOL GetMessageW(MSG* msg, HWND hwnd, UINT lo, UINT hi) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  MarkUiThread();
  CollectGarbage();
  for (;;) {
    Wnd* filter = nullptr;
    if (hwnd) {
      filter = Lookup(hwnd);
      if (!filter) return -1;
    }
    if (TryRetrieve(msg, filter, lo, hi, true)) {
      Q().last = *msg;
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    Wait();
  }
}

BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
  if (!msg) return FALSE;
  MarkUiThread();
  Wnd* filter = nullptr;
  if (hwnd) {
    filter = Lookup(hwnd);
    if (!filter) return FALSE;
  }
  if (window::EventSource* s = Q().source) s->PollEvents();
  if (!TryRetrieve(msg, filter, lo, hi, (remove & PM_REMOVE) != 0)) return FALSE;
  if (remove & PM_REMOVE) Q().last = *msg;
  return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  const char16_t c = window::input::CharForKey(static_cast<UINT>(msg->wParam), msg->lParam);
  if (!c) return FALSE;
  PushMessage(msg->hwnd, WM_CHAR, c, msg->lParam & 0xFFFF, true);
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, static_cast<UINT_PTR>(msg->wParam), GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  Wnd* w = Lookup(msg->hwnd);
  if (!w) return 0;
  if (msg->message == WM_PAINT) {
    DispatchPaint(w);
    return 0;
  }
  return CallProc(w, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) {
  {
    std::lock_guard<std::mutex> g(Q().lock);
    Q().quit = true;
    Q().quitCode = exitCode;
  }
  WakeWaiters();
}

DWORD GetMessagePos() {
  const MSG& m = Q().last;
  return MAKELONG(static_cast<WORD>(m.pt.x), static_cast<WORD>(m.pt.y));
}

LONG GetMessageTime() { return static_cast<LONG>(Q().last.time); }

DWORD MsgWaitForSingleMessage(DWORD milliseconds) {
  Queue& q = Q();
  std::unique_lock<std::mutex> g(q.lock);
  const bool ready = q.posted.wait_for(g, std::chrono::milliseconds(milliseconds),
                                       [&] { return !q.messages.empty() || !q.tasks.empty() || q.quit; });
  return ready ? 0 : ERROR_TIMEOUT;
}

void RunOnUiThread(std::function<void()> fn) {
  if (!fn) return;
  {
    std::lock_guard<std::mutex> g(Q().lock);
    Q().tasks.push_back(std::move(fn));
  }
  WakeWaiters();
}

namespace window {

void SetEventSource(EventSource* source) { Q().source = source; }
EventSource* GetEventSource() { return Q().source; }

bool ModalLoop(HWND hwnd, const std::function<bool(const MSG&)>& done) {
  MSG msg;
  for (;;) {
    const BOOL r = GetMessageW(&msg, hwnd, 0, 0);
    if (r == 0) {
      // The program is ending: hand the quit on to the outer loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (r == -1) return false;  // the box is gone
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (done && done(msg)) return true;
  }
}

int PumpPending() {
  int count = 0;
  MSG msg;
  for (;;) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return count;
    if (msg.message == WM_QUIT) return count;
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++count;
  }
}

bool QuitPending() {
  std::lock_guard<std::mutex> g(Q().lock);
  return Q().quit;
}

std::size_t QueuedCount() {
  std::lock_guard<std::mutex> g(Q().lock);
  return Q().messages.size();
}

void ResetQueue() {
  std::lock_guard<std::mutex> g(Q().lock);
  Q().messages.clear();
  Q().tasks.clear();
  Q().quit = false;
  Q().quitCode = 0;
}

}  // namespace window

namespace window::detail {

void PurgeWindowMessages(HWND hwnd) {
  std::lock_guard<std::mutex> g(Q().lock);
  auto& list = Q().messages;
  for (auto it = list.begin(); it != list.end();) {
    it = it->hwnd == hwnd ? list.erase(it) : it + 1;
  }
}

}  // namespace window::detail
