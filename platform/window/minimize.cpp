// Minimising: a minimised top-level window leaves the screen to what is
// below it; the listeners (the shell) and the host's window hear of it; the
// window minimised last comes back on request.
#include <utility>
#include <vector>

#include "platform/window/message.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

using namespace window::detail;

namespace {

std::vector<window::MinimizeListener>& Listeners() {
  static std::vector<window::MinimizeListener> listeners;
  return listeners;
}

// The top-level windows in the order they were minimised, the last one last.
std::vector<HWND>& MinimizedOrder() {
  static std::vector<HWND> order;
  return order;
}

}  // namespace

namespace window::detail {

void NotifyMinimized(Wnd* w, bool minimized) {
  std::vector<HWND>& order = MinimizedOrder();
  std::erase(order, w->handle);
  if (minimized) order.push_back(w->handle);
  const HWND handle = w->handle;
  // A listener may add listeners (a shell started late): call a copy.
  const std::vector<window::MinimizeListener> listeners = Listeners();
  for (const auto& listener : listeners) listener(handle, minimized);
  // The host's window (a display in a window of its own) goes with the
  // program: minimised when nothing of a program is left on screen, raised
  // when one comes back.
  if (window::EventSource* host = window::GetEventSource()) {
    if (!minimized) {
      host->RaiseHostWindow();
    } else if (!window::ProgramWindowVisible()) {
      host->MinimizeHostWindow();
    }
  }
}

}  // namespace window::detail

namespace window {

void AddMinimizeListener(MinimizeListener listener) { Listeners().push_back(std::move(listener)); }

bool RestoreMinimizedWindow() {
  std::vector<HWND>& order = MinimizedOrder();
  while (!order.empty()) {
    const HWND last = order.back();
    Wnd* w = LookupQuiet(last);
    if (!w || !(w->style & WS_MINIMIZE)) {
      // Destroyed meanwhile, or shown again some other way.
      order.pop_back();
      continue;
    }
    ShowWindow(last, SW_RESTORE);
    SetForegroundWindow(last);
    return true;
  }
  return false;
}

bool ProgramWindowVisible() {
  for (const Wnd* t : Sys().topLevel) {
    if ((t->style & WS_VISIBLE) && !t->independent && !t->destroyed) return true;
  }
  return false;
}

}  // namespace window
