// The screen: where the framebuffer is shown and where input comes from.
// Two backends fill this one interface: "sdl" (a window on the host's
// display) and "headless" (memory only, virtual time, frames to PNG on request).
//
// A screen is the message queue's event source: when nothing is ready the
// queue calls WaitForEvents, which presents the frame when it changed, runs
// the next scenario step or waits for host input.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/window/message.h"
#include "platform/window/paint.h"

namespace display {

class ScriptRunner;

struct ScreenOptions {
  int width = 240;
  int height = 320;
  int scale = 0;            // 0: the largest whole factor that fits the monitor
  bool fullscreen = false;  // SDL: cover the whole monitor (a small touch panel)
  std::string framesDir;    // headless: write every presented frame here as PNG
};

class Screen : public window::EventSource {
 public:
  // False with a message when the backend cannot start (no display).
  virtual bool Open(const ScreenOptions& options, std::string* error) = 0;
  // The screen turned (width and height swapped); the framebuffer is already new.
  virtual void Resize(int width, int height) = 0;
  // Shows the frame (the SDL window) or keeps a copy of it (headless).
  virtual void Present(const window::FrameView& frame) = 0;
  virtual const char* Name() const = 0;
  // The host's clipboard text, for screens that live on a host desktop
  // (false: none here, or it holds no text).
  virtual bool HasHostClipboard() const { return false; }
  virtual bool GetHostClipboardText(std::u16string*) { return false; }
  virtual void SetHostClipboardText(const std::u16string&) {}
  // Scenario steps run at the idle point (null: none).
  void SetScript(ScriptRunner* runner) { m_script = runner; }
  // Frames presented so far.
  long long PresentedFrames() const { return m_presented; }
  // The user closes the screen (the SDL window's close button).
  std::function<void()> onCloseRequest;

  // Presents the framebuffer when something drew since the last time.
  void PresentIfDirty();

 protected:
  ScriptRunner* m_script = nullptr;
  long long m_presented = 0;
};

// The backends by name ("sdl", "headless"); null for an unknown name.
std::unique_ptr<Screen> CreateScreen(const std::string& name);

}  // namespace display
