#include "tests/lists/list_fixture.h"

#include <filesystem>

#include "platform/display/png.h"
#include "platform/win32/clock.h"
#include "platform/window/describe.h"
#include "platform/window/input.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace liststest {

ListHarness::ListHarness(const std::string& name, int width, int height)
    : m_app(std::make_unique<apptest::AppHarness>(name, width, height)) {
  EXPECT_TRUE(m_app->Start());
}

ListHarness::~ListHarness() { m_app.reset(); }

void ListHarness::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    if (!m_app->App().PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

RECT ListHarness::FrameClient() {
  RECT r{};
  Frame().GetClientRect(&r);
  return r;
}

void ListHarness::Down(int x, int y) {
  window::input::StylusDown(x, y);
  Pump();
}

void ListHarness::Move(int x, int y) {
  window::input::StylusMove(x, y);
  Pump();
}

void ListHarness::Up(int x, int y) {
  window::input::StylusUp(x, y);
  Pump();
}

void ListHarness::Tap(int x, int y) {
  Down(x, y);
  Up(x, y);
}

void ListHarness::Hold(int x, int y) {
  Down(x, y);
  Wait(800);
  Up(x, y);
}

void ListHarness::Drag(int x1, int y1, int x2, int y2, int ms) {
  Down(x1, y1);
  const int steps = std::max(1, ms / 16);
  for (int i = 1; i <= steps; ++i) {
    Wait(16);
    Move(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
  }
  Up(x2, y2);
}

void ListHarness::Key(UINT vk) {
  window::input::KeyDown(vk);
  Pump();
  window::input::KeyUp(vk);
  Pump();
}

void ListHarness::Wait(int ms) {
  // Timers fire in order on the way, as the scenario's `wait` does.
  for (int left = ms; left > 0; left -= 10) {
    sysclock::Advance(static_cast<std::uint64_t>(std::min(10, left)));
    Pump();
  }
}

testing_support::Json ListHarness::Dump() {
  Pump();
  return testing_support::Json::Parse(window::DumpState());
}

COLORREF ListHarness::Pixel(int x, int y) {
  Pump();
  const window::FrameView f = window::GetFramebuffer();
  if (!f.pixels || x < 0 || y < 0 || x >= f.width || y >= f.height) return CLR_INVALID;
  const std::uint32_t p = f.pixels[static_cast<std::size_t>(y) * f.stride + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::string ListHarness::Shot(const std::string& name) {
  Pump();
  const std::filesystem::path dir = std::filesystem::path(MIVO_BINARY_DIR) / "tests" / "lists" / "shots";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::string path = (dir / (name + ".png")).string();
  std::string error;
  EXPECT_TRUE(display::WritePng(path, window::GetFramebuffer(), &error)) << error;
  return path;
}

RECT ScreenRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

}  // namespace liststest
