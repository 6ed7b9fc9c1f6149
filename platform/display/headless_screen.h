// The memory-only screen (tests, screenshots, benchmarks).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "platform/display/screen.h"
#include "platform/gdi/pixel_memory.h"

namespace display {

class HeadlessScreen : public Screen {
 public:
  bool Open(const ScreenOptions& options, std::string* error) override;
  void Resize(int width, int height) override;
  void Present(const window::FrameView& frame) override;
  const char* Name() const override { return "headless"; }

  void WaitForEvents(std::uint64_t dueMs) override;
  void Wake() override;

  // The last presented frame (0xAARRGGBB, rows of Width() pixels).
  std::span<const std::uint32_t> PresentedPixels() const {
    return {m_presentedPixels.get(), static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height)};
  }
  int Width() const { return m_width; }

 private:
  std::string m_framesDir;             // write each presented frame here, when set
  int m_width = 0;
  int m_height = 0;
  gdi::PixelMemory m_presentedPixels;  // the "display's" copy of the last frame
  std::mutex m_lock;
  std::condition_variable m_wakeCv;
  bool m_woken = false;                // a post arrived since the last wait
};

}  // namespace display
