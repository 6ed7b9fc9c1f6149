// Minimising a program's top-level window: it leaves the screen to the
// shell's own windows, the host's window goes with it, and the window
// minimised last comes back on request.
#include "tests/window/fixture.h"

namespace {

// An event source that only counts what the window system asks of the host.
class CountingHost : public window::EventSource {
 public:
  void WaitForEvents(std::uint64_t) override {}
  void Wake() override {}
  void RaiseHostWindow() override { ++raised; }
  void MinimizeHostWindow() override { ++minimized; }
  int raised = 0;
  int minimized = 0;
};

}  // namespace

using MinimizeTest = WindowTest;

TEST_F(MinimizeTest, AMinimisedProgramLeavesTheScreenToTheShellAndComesBackInFront) {
  CountingHost host;
  window::SetEventSource(&host);
  std::vector<std::pair<HWND, bool>> heard;
  static std::vector<std::pair<HWND, bool>>* sink = nullptr;
  sink = &heard;
  static bool added = false;
  if (!added) {
    added = true;
    window::AddMinimizeListener([](HWND h, bool minimized) {
      if (sink) sink->emplace_back(h, minimized);
    });
  }
  const HWND shellWindow = Make("shell", WS_POPUP | WS_VISIBLE, R(0, 0, 240, 26));
  window::SetShellWindow(shellWindow);
  const HWND first = Make("first", WS_POPUP | WS_VISIBLE, R(0, 26, 240, 320));
  const HWND second = Make("second", WS_POPUP | WS_VISIBLE, R(0, 26, 240, 320));
  EXPECT_TRUE(window::ProgramWindowVisible());

  // One of two programs goes: the other is still on screen, the host stays.
  ShowWindow(second, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(second));
  EXPECT_FALSE(IsWindowVisible(second));
  EXPECT_EQ(host.minimized, 0);
  // The last one goes: only the shell is left, the host's window follows.
  ShowWindow(first, SW_MINIMIZE);
  EXPECT_FALSE(window::ProgramWindowVisible());
  EXPECT_EQ(host.minimized, 1);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[1], (std::pair<HWND, bool>{first, true}));

  // The one minimised last comes back first, visible, active and raised.
  EXPECT_TRUE(window::RestoreMinimizedWindow());
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_FALSE(IsIconic(first));
  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_EQ(host.raised, 1);
  EXPECT_EQ(heard.back(), (std::pair<HWND, bool>{first, false}));
  // A window destroyed while minimised is passed over.
  DestroyWindow(second);
  EXPECT_FALSE(window::RestoreMinimizedWindow());
  // Hiding is not minimising: nothing is restored, the host is left alone.
  ShowWindow(first, SW_HIDE);
  EXPECT_EQ(host.minimized, 1);
  EXPECT_FALSE(window::RestoreMinimizedWindow());
  sink = nullptr;
}
