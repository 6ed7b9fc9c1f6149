// The whole application in this process (fresh device, headless screen on
// virtual time), with the stylus, keys and state dump a scenario script
// would use, for tests that put a list over the frame and drive it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/win32/types.h"
#include "tests/app/app_harness.h"
#include "tests/support/json.h"

namespace liststest {

class ListHarness {
 public:
  ListHarness(const std::string& name, int width = 240, int height = 320);
  ~ListHarness();

  apptest::AppHarness& App() { return *m_app; }
  mivoCore& Core() { return m_app->Core(); }
  CMainFrame& Frame() { return m_app->Frame(); }
  // The frame's client rectangle in frame coordinates.
  RECT FrameClient();

  // Handles whatever is ready as the program's loop does (pages see their
  // swipes through PreTranslateMessage).
  void Pump();
  // Screen points, as a scenario's `tap`, `down`, `move`, `up`.
  void Down(int x, int y);
  void Move(int x, int y);
  void Up(int x, int y);
  void Tap(int x, int y);
  // `hold`: press, 800 ms still, release.
  void Hold(int x, int y);
  // `drag X1 Y1 X2 Y2 MS`: moves every 16 ms of virtual time.
  void Drag(int x1, int y1, int x2, int y2, int ms);
  void Key(UINT vk);
  void Wait(int ms);

  testing_support::Json Dump();
  // The framebuffer's pixel as a COLORREF (0x00BBGGRR), so it compares with theme colours.
  COLORREF Pixel(int x, int y);
  // Writes the framebuffer under the build folder's tests/lists/shots; the path.
  std::string Shot(const std::string& name);

 private:
  std::unique_ptr<apptest::AppHarness> m_app;
};

// The screen rectangle of a window.
RECT ScreenRectOf(HWND hwnd);

}  // namespace liststest
