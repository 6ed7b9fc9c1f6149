// The whole application in this process for the page framework's tests: a
// fresh device, virtual time, the phone shell and CmivoApp started as the
// program starts it. Messages go through the application's own steps
// (PreTranslateMessage included, so pages see their swipes). Work that must
// happen inside a modal loop (answering a message box) is queued with AtIdle
// and runs when the loop has nothing else to do, as a user would act.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_core.h"
#include "app/main_frame.h"
#include "app/mivo_app.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "tests/app/test_device.h"
#include "ui/overlay.h"
#include "ui/page_wnd.h"

namespace uitest {

// A captured frame of the screen.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

class UiHarness : public window::EventSource {
 public:
  // Settings (DWORDs under the program's key) are written before the start.
  UiHarness(const std::string& name, int width = 240, int height = 320);
  ~UiHarness() override;
  UiHarness(const UiHarness&) = delete;
  UiHarness& operator=(const UiHarness&) = delete;

  void SetSetting(const char16_t* name, DWORD value);
  // InitInstance, then everything it left queued.
  bool Start();
  // Handles whatever is ready, as the program's loop does.
  int Pump();
  // Moves virtual time on in steps of 10 ms, handling what became due on the way.
  void Wait(int ms);

  // The stylus and keys, each followed by Pump(); screen points, as a scenario's
  // `down`, `move`, `up`, `tap`, and `hold` (press, 800 ms still, release).
  void Down(int x, int y);
  void Move(int x, int y);
  void Up(int x, int y);
  void Tap(int x, int y);
  void Hold(int x, int y);
  // `steps` moves, `msPerStep` of virtual time before each.
  void Drag(int x1, int y1, int x2, int y2, int steps = 8, int msPerStep = 0);
  void Key(UINT vk);
  // Without pumping (for work queued with AtIdle inside a modal loop).
  static void TapNoPump(int x, int y);

  // Runs `step` the next time a message loop waits with nothing to do.
  void AtIdle(std::function<void()> step) { m_steps.push_back(std::move(step)); }

  // Every frame the slide presents is kept while capturing.
  void CaptureFrames(bool on);
  std::vector<Capture>& Frames() { return m_frames; }
  static Capture Screen();
  // The screen as a PNG in the build's tests/<folder>/shots folder; its path.
  static std::string Shot(const std::string& name, const char* folder = "ui");
  // The state dump's line.
  static std::string Dump();
  // The frame's client rectangle in screen pixels.
  RECT FrameClientOnScreen();

  CmivoApp& App() { return *m_app; }
  CMainFrame& Frame() { return *m_app->Frame(); }
  mivoAppCore& Core() { return *m_app->m_pCore; }

  // window::EventSource
  void WaitForEvents(std::uint64_t dueMs) override;
  void Wake() override {}

 private:
  apptest::TestDevice m_device;
  std::unique_ptr<CmivoApp> m_app;
  std::deque<std::function<void()>> m_steps;
  std::vector<uitest::Capture> m_frames;
  bool m_exited = false;
};

// A page of one colour, with or without a header.
class ColorPage : public CmivoPageWnd {
 public:
  ColorPage(mivoCore* core, COLORREF color, const std::u16string& title = {}) : CmivoPageWnd(core), m_color(color) {
    m_title = title;
  }
  const char* PageClassName() const override { return "ColorPage"; }
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void OnPageShown() override { ++shown; }
  void OnPageHidden() override { ++hidden; }
  int shown = 0;
  int hidden = 0;
  COLORREF m_color;
};

// 0xAARRGGBB of a COLORREF, as the framebuffer holds it.
std::uint32_t Pixel(COLORREF c);

POINT Centre(const RECT& r);
// What the open overlay shows (an empty description, and a failure, if none is open).
ui::OverlayDescription OpenOverlay();
// Taps button `index` (0: OK or yes) of the open overlay without pumping.
void TapOverlayButton(int index);
// The texts of the top page's dumped "rows" or "cells".
std::vector<std::string> Texts(const char* key);
// Taps a little left of the centre of the dumped row or cell `text` (clear of a row's side button).
void TapText(UiHarness& h, const char* key, const std::string& text);

// Copies a shipped file of the build into a folder of the device (made when missing).
void CopyIntoDevice(const std::filesystem::path& from, std::u16string_view deviceFolder, const std::string& name);
// The shipped look in the device's program folder: the skin package for the
// screen's height, which the core installs at its first start, and the
// colour themes.
void ProvisionShippedLook(int height);

}  // namespace uitest
