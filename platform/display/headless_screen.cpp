// The headless screen: frames are kept in memory (and written to PNG with
// --frames), time is virtual, and the scenario script is the only input.
#include "platform/display/headless_screen.h"

#include <cstdio>
#include <cstring>

#include "platform/display/png.h"
#include "platform/display/script.h"
#include "platform/win32/clock.h"

namespace display {

bool HeadlessScreen::Open(const ScreenOptions& options, std::string* error) {
  m_framesDir = options.framesDir;
  m_width = options.width;
  m_height = options.height;
  m_presentedPixels = gdi::AllocatePixels(static_cast<std::size_t>(m_width) * m_height);
  (void)error;
  return true;
}

void HeadlessScreen::Resize(int width, int height) {
  m_width = width;
  m_height = height;
  m_presentedPixels = gdi::AllocatePixels(static_cast<std::size_t>(width) * height);
}

void HeadlessScreen::Present(const window::FrameView& frame) {
  if (!frame.pixels || !m_presentedPixels) return;
  // A copy, as a display controller would scan it out.
  const int w = std::min(frame.width, m_width);
  const int h = std::min(frame.height, m_height);
  for (int y = 0; y < h; ++y) {
    std::memcpy(m_presentedPixels.get() + static_cast<std::size_t>(y) * m_width,
                frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.stride, static_cast<std::size_t>(w) * 4);
  }
  ++m_presented;
  if (!m_framesDir.empty()) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06lld.png", m_presented);
    std::string error;
    if (!WritePng(m_framesDir + name, frame, &error)) {
      std::fprintf(stderr, "mivo: %s\n", error.c_str());
      m_framesDir.clear();  // one message, not one per frame
    }
  }
}

void HeadlessScreen::WaitForEvents(std::uint64_t dueMs) {
  PresentIfDirty();
  if (m_script && m_script->AtIdle(dueMs)) return;
  // Nothing to run: wait for a post or a script line from another thread.
  std::unique_lock<std::mutex> g(m_lock);
  m_wakeCv.wait(g, [&] { return m_woken; });
  m_woken = false;
}

void HeadlessScreen::Wake() {
  {
    std::lock_guard<std::mutex> g(m_lock);
    m_woken = true;
  }
  m_wakeCv.notify_all();
}

}  // namespace display
