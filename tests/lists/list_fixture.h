// The whole application in this process (tests/ui's harness, started), for
// tests that put a list over the frame and drive it as a scenario would.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "tests/support/json.h"
#include "tests/ui/ui_harness.h"

namespace liststest {

class ListHarness : public uitest::UiHarness {
 public:
  ListHarness(const std::string& name, int width = 240, int height = 320) : UiHarness("lists_" + name, width, height) {
    EXPECT_TRUE(Start());
  }
  // The frame's client rectangle in frame coordinates.
  RECT FrameClient() {
    RECT r{};
    Frame().GetClientRect(&r);
    return r;
  }
  // `drag X1 Y1 X2 Y2 MS`: moves every 16 ms of virtual time.
  void Drag(int x1, int y1, int x2, int y2, int ms) { UiHarness::Drag(x1, y1, x2, y2, std::max(1, ms / 16), 16); }
  testing_support::Json Dump() {
    Pump();
    return testing_support::Json::Parse(UiHarness::Dump());
  }
  // The framebuffer's pixel as a COLORREF, so it compares with theme colours.
  COLORREF Pixel(int x, int y) {
    Pump();
    const window::FrameView f = window::GetFramebuffer();
    if (!f.pixels || x < 0 || y < 0 || x >= f.width || y >= f.height) return CLR_INVALID;
    const std::uint32_t p = f.pixels[static_cast<std::size_t>(y) * f.stride + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  std::string Shot(const std::string& name) {
    Pump();
    return UiHarness::Shot(name, "lists");
  }
};

// The screen rectangle of a window.
inline RECT ScreenRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

}  // namespace liststest
