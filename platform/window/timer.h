// Timers: WM_TIMER made when due (after WM_PAINT in the queue's order), one
// pending per timer, on the clock of platform/win32/clock.h (virtual time in
// headless runs, so a scenario's `wait` fires exactly the timers due).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

// With a window: (hwnd, id) names the timer; setting it again restarts it.
// Without a window: a new id is returned and `proc` is called on dispatch.
// An elapse below 10 ms counts as 10. Returns 0 for a dead window.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

namespace window {

// Internal timers of the platform itself (tap-and-hold, caret blink, the
// clock of the task bar): `fn` runs on the UI thread when due, from the
// message loop, without a message. Return an id for KillInternalTimer.
using InternalTimerId = std::uint64_t;
InternalTimerId SetInternalTimer(std::uint64_t delayMs, std::function<void()> fn, bool repeat = false);
void KillInternalTimer(InternalTimerId id);

// Forgets every timer (ResetWindowSystem).
void ResetTimers();

}  // namespace window
