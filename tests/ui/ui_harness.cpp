#include "tests/ui/ui_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>

#include "core/settings.h"
#include "platform/display/png.h"
#include "platform/fs/device_path.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/registry.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/window/describe.h"
#include "platform/window/input.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "tests/support/json.h"

namespace uitest {

UiHarness::UiHarness(const std::string& name, int width, int height) : m_device("ui_" + name) {
  sysclock::UseVirtualTime();
  window::SetScreenSize(width, height);
  window::CreateFramebuffer(width, height);
  gdi::SetLogPixels(window::ShellScale() == 2 ? 192 : 96);
  shell::StartPhoneShell();
  window::SetEventSource(this);
  m_app = std::make_unique<CmivoApp>();
}

UiHarness::~UiHarness() {
  window::SetPresenter({});
  if (!m_exited && m_app->Frame() && m_app->m_pCore) {
    m_exited = true;
    m_app->m_pCore->RequestExit();
    for (int i = 0; i < 10 && !window::QuitPending(); ++i) Pump();
    m_app->ExitInstance();
  }
  m_app.reset();
  window::SetEventSource(nullptr);
  shell::StopPhoneShell();
  window::ResetWindowSystem();
}

void UiHarness::SetSetting(const char16_t* name, DWORD value) {
  ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, kSettingsKey, name, value));
}

bool UiHarness::Start() {
  const bool ok = m_app->InitInstance() != FALSE;
  Pump();
  return ok;
}

int UiHarness::Pump() {
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    if (!m_app->PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    ++count;
  }
  return count;
}

void UiHarness::Wait(int ms) {
  for (int left = ms; left > 0; left -= 10) {
    sysclock::Advance(static_cast<std::uint64_t>(std::min(10, left)));
    Pump();
  }
}

void UiHarness::TapNoPump(int x, int y) {
  window::input::StylusDown(x, y);
  window::input::StylusUp(x, y);
}

void UiHarness::Down(int x, int y) {
  window::input::StylusDown(x, y);
  Pump();
}

void UiHarness::Move(int x, int y) {
  window::input::StylusMove(x, y);
  Pump();
}

void UiHarness::Up(int x, int y) {
  window::input::StylusUp(x, y);
  Pump();
}

void UiHarness::Tap(int x, int y) {
  Down(x, y);
  Up(x, y);
}

void UiHarness::Hold(int x, int y) {
  Down(x, y);
  Wait(800);
  Up(x, y);
}

void UiHarness::Drag(int x1, int y1, int x2, int y2, int steps, int msPerStep) {
  Down(x1, y1);
  for (int i = 1; i <= steps; ++i) {
    Wait(msPerStep);
    Move(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
  }
  Up(x2, y2);
}

void UiHarness::Key(UINT vk) {
  window::input::KeyDown(vk);
  Pump();
  window::input::KeyUp(vk);
  Pump();
}

void UiHarness::WaitForEvents(std::uint64_t dueMs) {
  if (!m_steps.empty()) {
    auto step = std::move(m_steps.front());
    m_steps.pop_front();
    step();
    return;
  }
  if (dueMs != std::numeric_limits<std::uint64_t>::max()) {
    const std::uint64_t now = sysclock::NowMs();
    sysclock::Advance(dueMs > now ? dueMs - now : 1);
    return;
  }
  // A loop that waits for the user with no step left would wait forever.
  ADD_FAILURE() << "a message loop waits and the test has nothing more to do";
  PostQuitMessage(0);
}

void UiHarness::CaptureFrames(bool on) {
  m_frames.clear();
  if (!on) {
    window::SetPresenter({});
    return;
  }
  window::SetPresenter([this] { m_frames.push_back(Screen()); });
}

Capture UiHarness::Screen() {
  const window::FrameView view = window::GetFramebuffer();
  uitest::Capture f;
  f.width = view.width;
  f.height = view.height;
  f.pixels.resize(static_cast<std::size_t>(view.width) * view.height);
  for (int y = 0; y < view.height; ++y) {
    for (int x = 0; x < view.width; ++x) {
      f.pixels[static_cast<std::size_t>(y) * view.width + x] = view.pixels[static_cast<std::size_t>(y) * view.stride + x];
    }
  }
  return f;
}

std::string UiHarness::Shot(const std::string& name, const char* folder) {
  const std::filesystem::path dir = std::filesystem::path(MIVO_BINARY_DIR) / "tests" / folder / "shots";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::string path = (dir / (name + ".png")).string();
  std::string error;
  EXPECT_TRUE(display::WritePng(path, window::GetFramebuffer(), &error)) << error;
  return path;
}

std::string UiHarness::Dump() { return window::DumpState(); }

RECT UiHarness::FrameClientOnScreen() {
  RECT r{};
  Frame().GetClientRect(&r);
  return ui::ToScreen(Frame().m_hWnd, r);
}

void ColorPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  HBRUSH brush = CreateSolidBrush(m_color);
  RECT r = MakeRect(left, top, right, bottom);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  CmivoPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
}

std::uint32_t Pixel(COLORREF c) {
  return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

ui::OverlayDescription OpenOverlay() {
  const ui::OverlaySource* top = ui::TopOverlay();
  EXPECT_NE(top, nullptr);
  return top ? top->DescribeOverlay() : ui::OverlayDescription{};
}

void TapOverlayButton(int index) {
  const ui::OverlayDescription d = OpenOverlay();
  ASSERT_GT(d.buttons.size(), static_cast<std::size_t>(index));
  const POINT c = Centre(d.buttons[static_cast<std::size_t>(index)]);
  UiHarness::TapNoPump(c.x, c.y);
}

std::vector<std::string> Texts(const char* key) {
  std::vector<std::string> texts;
  const testing_support::Json dump = testing_support::Json::Parse(UiHarness::Dump());
  for (const testing_support::Json& e : dump["top"][key].Items()) texts.push_back(e["text"].AsString());
  return texts;
}

void TapText(UiHarness& h, const char* key, const std::string& text) {
  const testing_support::Json dump = testing_support::Json::Parse(UiHarness::Dump());
  for (const testing_support::Json& e : dump["top"][key].Items()) {
    if (e["text"].AsString() != text) continue;
    const testing_support::Json& r = e["rect"];
    h.Tap(static_cast<int>((r[0].AsInt() * 2 + r[2].AsInt()) / 3), static_cast<int>((r[1].AsInt() + r[3].AsInt()) / 2));
    return;
  }
  ADD_FAILURE() << "no " << key << " entry " << text;
}

void CopyIntoDevice(const std::filesystem::path& from, std::u16string_view deviceFolder, const std::string& name) {
  std::string host;
  ASSERT_TRUE(fs::ToHostPath(deviceFolder, &host));
  std::filesystem::create_directories(host);
  std::filesystem::copy_file(from, std::filesystem::path(host) / name,
                             std::filesystem::copy_options::overwrite_existing);
}

void ProvisionShippedLook(int height) {
  const std::filesystem::path data = std::filesystem::path(MIVO_BINARY_DIR) / "data";
  const std::string skin = height >= 480 ? "Clear Horizon VGA.minst" : "Clear Horizon.minst";
  CopyIntoDevice(data / "skins" / skin, u"\\Program Files\\mivo\\Skins", skin);
  for (const auto& e : std::filesystem::directory_iterator(data / "colorthemes"))
    CopyIntoDevice(e.path(), u"\\Program Files\\mivo\\ColorThemes", e.path().filename().string());
}

}  // namespace uitest
