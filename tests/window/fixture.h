// The window tests' fixture: a fresh window system on a 240x320 screen in
// virtual time, windows that log every message they get, and a way to run
// scenario lines through the real message loop (headless screen + script).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/display/headless_screen.h"
#include "platform/display/script.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/window/input.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/timer.h"
#include "platform/window/window.h"

struct Logged {
  std::string window;  // the name given at creation
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window::ResetWindowSystem();
    window::input::ResetInput();
    window::SetEventSource(nullptr);
    sysclock::UseVirtualTime();
    window::SetScreenSize(240, 320);
    window::CreateFramebuffer(240, 320);
    s_current = this;
    WNDCLASSW wc;
    wc.lpfnWndProc = &WindowTest::Proc;
    wc.lpszClassName = u"logger";
    RegisterClassW(&wc);
  }
  void TearDown() override {
    window::SetEventSource(nullptr);
    window::ResetWindowSystem();
    s_current = nullptr;
  }

  // A window of class "logger" that records its messages under `name`.
  HWND Make(const std::string& name, DWORD style, RECT r, HWND parent = nullptr) {
    m_pendingName = name;
    return CreateWindowExW(0, u"logger", nullptr, style, r.left, r.top, RectWidth(r), RectHeight(r), parent, nullptr,
                           nullptr, nullptr);
  }

  // Messages of one window (or all with ""), optionally only some ids.
  std::vector<UINT> Ids(const std::string& name, const std::vector<UINT>& only = {}) const {
    std::vector<UINT> out;
    for (const Logged& l : log) {
      if (!name.empty() && l.window != name) continue;
      if (!only.empty() && std::find(only.begin(), only.end(), l.message) == only.end()) continue;
      out.push_back(l.message);
    }
    return out;
  }
  int Count(const std::string& name, UINT message) const {
    int n = 0;
    for (const Logged& l : log) n += (l.window == name && l.message == message) ? 1 : 0;
    return n;
  }

  // The last message `message` that window `name` got (all zero when none).
  Logged Last(const std::string& name, UINT message) const {
    Logged last{};
    for (const Logged& l : log)
      if (l.window == name && l.message == message) last = l;
    return last;
  }
  // Delivers what is pending and forgets it, so a test logs only what follows.
  void Settle() {
    window::PumpPending();
    log.clear();
  }
  static int WindowCount() {
    int n = 0;
    window::ForEachWindow([&](HWND, int) { ++n; });
    return n;
  }

  static void Open(display::HeadlessScreen& screen) {
    display::ScreenOptions so;
    std::string error;
    ASSERT_TRUE(screen.Open(so, &error)) << error;
  }
  // A script host whose end of script quits the loop.
  static display::ScriptHost QuittingHost() {
    display::ScriptHost host;
    host.requestExit = [](int) { PostQuitMessage(0); };
    return host;
  }

  // Runs scenario lines through the real loop until the script's end quits it.
  void RunScript(const std::vector<std::string>& lines) {
    display::HeadlessScreen screen;
    Open(screen);
    display::ScriptHost host = QuittingHost();
    host.fail = [](int line, const std::string& m) { ADD_FAILURE() << "script line " << line << ": " << m; };
    display::ScriptRunner runner(host, true);
    for (const std::string& l : lines) runner.AddLine(l);
    runner.AddEnd();
    screen.SetScript(&runner);
    window::SetEventSource(&screen);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    window::SetEventSource(nullptr);
  }

  // What each window does with a message, besides logging it; return true
  // when handled (with the result in *result).
  std::map<std::string, std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>> handlers;
  std::vector<Logged> log;
  std::map<HWND, std::string> names;

  static LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    WindowTest* t = s_current;
    if (!t) return DefWindowProcW(h, m, w, l);
    if (m == WM_NCCREATE) t->names[h] = t->m_pendingName;
    const std::string name = t->names[h];
    t->log.push_back(Logged{name, m, w, l});
    auto it = t->handlers.find(name);
    LRESULT result = 0;
    if (it != t->handlers.end() && it->second(h, m, w, l, &result)) return result;
    return DefWindowProcW(h, m, w, l);
  }

 private:
  static inline WindowTest* s_current = nullptr;
  std::string m_pendingName;
};

inline RECT R(int l, int t, int r, int b) { return MakeRect(l, t, r, b); }
