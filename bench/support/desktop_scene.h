// The program on a new, provisioned device at 480x640, its desktop page on
// top: what the desktop's, the gadgets' and the plug-ins' benchmarks measure
// on. The program's shipped files (the skins, the sample plug-ins) come from
// the build's data folder, MIVO_BENCH_DATA_DIR.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_core.h"
#include "app/mivo_app.h"
#include "desktop/desktop_page.h"
#include "desktop/layout_text.h"
#include "platform/device/device.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace desktop_bench {

// The program on a new, provisioned device, its desktop page on top.
class Scene {
 public:
  // `name` keeps the device folders of benchmark programs that run at once apart.
  explicit Scene(const std::string& name = "desktop") {
    const auto dir = std::filesystem::temp_directory_path() / ("mivo_bench_" + name);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    device::DeviceOptions options;
    options.dataFolder = MIVO_BENCH_DATA_DIR;
    options.screenHeight = 640;
    options.importHostApps = false;  // the same device on every host
    std::string error;
    device::OpenDevice(dir.string(), &error, options);
    sysclock::UseVirtualTime();
    window::SetScreenSize(480, 640);
    window::CreateFramebuffer(480, 640);
    gdi::SetLogPixels(192);
    shell::StartPhoneShell();
    window::SetPresenter([this] {
      if (!firstFrame) firstFrame = std::chrono::steady_clock::now().time_since_epoch().count();
    });
    app = std::make_unique<CmivoApp>();
    app->InitInstance();
    window::PumpPending();
    core = app->m_pCore;
    page = dynamic_cast<CmivoDesktopPage*>(core->GetDesktopPage());
  }
  ~Scene() {
    window::SetPresenter({});
    core->RequestExit();
    for (int i = 0; i < 10 && !window::QuitPending(); ++i) window::PumpPending();
    app->ExitInstance();
    app.reset();
    shell::StopPhoneShell();
    window::ResetWindowSystem();
    device::CloseDevice();
  }
  // The layout file's bytes for the gadgets the layout text describes.
  std::vector<std::uint8_t> Bytes(const std::string& text) {
    mivoGadgetContainer scratch(core);
    std::string error;
    layout_text::Parse(text, core, scratch, &error);
    return scratch.SerializeLayout();
  }
  // Replaces the desktops with those gadgets.
  void Layout(const std::vector<std::uint8_t>& bytes) {
    page->Container().Clear();
    page->Container().ReadLayout(bytes, page);
    page->UpdateVisibility();
    page->Invalidate(FALSE);
    window::PumpPending();
  }
  void Layout(const std::string& text) { Layout(Bytes(text)); }

  std::unique_ptr<CmivoApp> app;
  mivoAppCore* core = nullptr;
  CmivoDesktopPage* page = nullptr;
  long long firstFrame = 0;  // when the presenter was first called since it was cleared
};

}  // namespace desktop_bench
