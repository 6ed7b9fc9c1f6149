#include "platform/window/timer.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/win32/clock.h"
#include "platform/win32/errors.h"
#include "platform/window/message.h"
#include "platform/window/window_impl.h"

using namespace window::detail;

namespace {

struct Timer {
  HWND hwnd = nullptr;         // null for a thread timer with a procedure
  UINT_PTR id = 0;
  std::uint64_t elapse = 0;    // ms
  std::uint64_t due = 0;       // sysclock::NowMs() when it fires next
  TIMERPROC proc = nullptr;
};

struct InternalTimer {
  window::InternalTimerId id = 0;
  std::uint64_t delay = 0;
  std::uint64_t due = 0;
  bool repeat = false;
  std::function<void()> fn;
};

struct Timers {
  std::vector<Timer> timers;
  std::vector<InternalTimer> internal;
  UINT_PTR nextThreadTimerId = 1;
  window::InternalTimerId nextInternalId = 1;
};

Timers& T() {
  static Timers t;
  return t;
}

// The next due time after a timer fired at `due`: one period on, but never
// in the past (a late timer fires once, not once per missed period).
std::uint64_t NextDue(std::uint64_t due, std::uint64_t elapse, std::uint64_t now) {
  const std::uint64_t next = due + elapse;
  return next > now ? next : now + elapse;
}

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !Lookup(hwnd)) return 0;
  if (!hwnd && !proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::uint64_t period = std::max<UINT>(elapse, 10);
  const std::uint64_t now = sysclock::NowMs();
  Timers& t = T();
  if (hwnd) {
    for (Timer& tm : t.timers) {
      if (tm.hwnd == hwnd && tm.id == id) {
        tm.elapse = period;
        tm.due = now + period;
        tm.proc = proc;
        return id ? id : 1;
      }
    }
  } else {
    id = t.nextThreadTimerId++;
  }
  Timer tm;
  tm.hwnd = hwnd;
  tm.id = id;
  tm.elapse = period;
  tm.due = now + period;
  tm.proc = proc;
  t.timers.push_back(tm);
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  Timers& t = T();
  const auto it = std::find_if(t.timers.begin(), t.timers.end(),
                               [&](const Timer& tm) { return tm.hwnd == hwnd && tm.id == id; });
  if (it == t.timers.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  t.timers.erase(it);
  return TRUE;
}

namespace window {

InternalTimerId SetInternalTimer(std::uint64_t delayMs, std::function<void()> fn, bool repeat) {
  Timers& t = T();
  InternalTimer it;
  it.id = t.nextInternalId++;
  it.delay = std::max<std::uint64_t>(delayMs, 1);
  it.due = sysclock::NowMs() + delayMs;
  it.repeat = repeat;
  it.fn = std::move(fn);
  t.internal.push_back(std::move(it));
  return t.internal.back().id;
}

void KillInternalTimer(InternalTimerId id) {
  auto& list = T().internal;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const InternalTimer& it) { return it.id == id; }),
             list.end());
}

void ResetTimers() {
  T().timers.clear();
  T().internal.clear();
}

}  // namespace window

namespace window::detail {

void KillWindowTimers(HWND hwnd) {
  auto& list = T().timers;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const Timer& tm) { return tm.hwnd == hwnd; }),
             list.end());
}

void KillTimersCalling(const std::function<bool(const void*)>& isCode) {
  auto& list = T().timers;
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&](const Timer& tm) { return tm.proc && isCode(reinterpret_cast<const void*>(tm.proc)); }),
             list.end());
}

void RunDueInternalTimers() {
  // Each pass fires the earliest due timer; a callback may add or kill timers.
  for (int guard = 0; guard < 1000; ++guard) {
    const std::uint64_t now = sysclock::NowMs();
    auto& list = T().internal;
    auto best = list.end();
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (it->due <= now && (best == list.end() || it->due < best->due)) best = it;
    }
    if (best == list.end()) return;
    std::function<void()> fn = best->fn;
    if (best->repeat) {
      best->due = NextDue(best->due, best->delay, now);
    } else {
      list.erase(best);
    }
    if (fn) fn();
  }
}

bool TakeDueTimer(Wnd* filter, bool anyWindow, bool remove, MSG* out) {
  const std::uint64_t now = sysclock::NowMs();
  Timers& t = T();
  Timer* best = nullptr;
  for (Timer& tm : t.timers) {
    if (tm.due > now) continue;
    if (!anyWindow) {
      if (!PassesFilter(LookupQuiet(tm.hwnd), filter)) continue;
    }
    if (!best || tm.due < best->due) best = &tm;
  }
  if (!best) return false;
  out->hwnd = best->hwnd;
  out->message = WM_TIMER;
  out->wParam = best->id;
  out->lParam = reinterpret_cast<LPARAM>(best->proc);
  if (remove) best->due = NextDue(best->due, best->elapse, now);
  return true;
}

std::uint64_t NextTimerDue(std::uint64_t now) {
  std::uint64_t due = std::numeric_limits<std::uint64_t>::max();
  for (const Timer& tm : T().timers) {
    if (tm.due > now) due = std::min(due, tm.due);
  }
  for (const InternalTimer& it : T().internal) {
    if (it.due > now) due = std::min(due, it.due);
  }
  return due;
}

}  // namespace window::detail
