// Plug-in gadgets at 480x640 on a provisioned device (the samples installed):
// a full repaint of a desktop of 20 plug-in gadgets (ten moon phases, ten
// countdowns, each one call into its library that draws shapes and text),
// and reading a layout of those 20 with every gadget started and its
// settings handed to its library. Each prints its figure and its ratio to a
// memcpy of a VGA frame measured in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/app_core.h"
#include "app/mivo_app.h"
#include "bench/support/frame_baseline.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_plugin.h"
#include "desktop/layout_text.h"
#include "platform/device/device.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

// The program on a new, provisioned device, its desktop page on top.
class Scene {
 public:
  Scene() {
    const auto dir = std::filesystem::temp_directory_path() / "mivo_bench_plugins";
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    device::DeviceOptions options;
    options.dataFolder = MIVO_BENCH_DATA_DIR;
    options.screenHeight = 640;
    std::string error;
    device::OpenDevice(dir.string(), &error, options);
    sysclock::UseVirtualTime();
    window::SetScreenSize(480, 640);
    window::CreateFramebuffer(480, 640);
    gdi::SetLogPixels(192);
    shell::StartPhoneShell();
    app = std::make_unique<CmivoApp>();
    app->InitInstance();
    window::PumpPending();
    core = app->m_pCore;
    page = dynamic_cast<CmivoDesktopPage*>(core->GetDesktopPage());
  }
  ~Scene() {
    core->RequestExit();
    for (int i = 0; i < 10 && !window::QuitPending(); ++i) window::PumpPending();
    app->ExitInstance();
    app.reset();
    shell::StopPhoneShell();
    window::ResetWindowSystem();
    device::CloseDevice();
  }
  // The layout file's bytes for the gadgets the text describes.
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
  // How many of the page's gadgets are live.
  int Live() const {
    int live = 0;
    for (const auto& g : page->Container().Gadgets()) {
      if (auto* plugin = dynamic_cast<CmivoGadgetPlugin*>(g.get()); plugin && plugin->IsLive()) ++live;
    }
    return live;
  }

  std::unique_ptr<CmivoApp> app;
  mivoAppCore* core = nullptr;
  CmivoDesktopPage* page = nullptr;
};

// Ten moon phases with their details and ten countdowns, in a grid over the first desktop.
std::string TwentyPluginGadgets() {
  std::string text;
  for (int i = 0; i < 20; ++i) {
    const int x = (i % 2) * 240, y = (i / 2) * 52;
    const char* library = i % 2 ? "countdown.so" : "moonphase.so";
    text += "mivo-plugin rect=" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(x + 240) + "," +
            std::to_string(y + 52) + " desktops=1 portrait library=\"\\Program Files\\mivo\\GadgetPlugins\\" + library +
            "\" index=0\n";
  }
  return text;
}

void BM_DesktopRepaintTwentyPluginGadgetsVga(benchmark::State& state) {
  Scene scene;
  scene.Layout(scene.Bytes(TwentyPluginGadgets()));
  bench_support::Measure(state, [&] {
    scene.page->Invalidate(FALSE);
    scene.page->UpdateWindow();
  });
  state.counters["live"] = scene.Live();
}
BENCHMARK(BM_DesktopRepaintTwentyPluginGadgetsVga)->Unit(benchmark::kMicrosecond);

void BM_ReadLayoutOfTwentyPluginGadgets(benchmark::State& state) {
  Scene scene;
  const std::vector<std::uint8_t> bytes = scene.Bytes(TwentyPluginGadgets());
  scene.Layout(bytes);
  bench_support::Measure(state, [&] {
    scene.page->Container().Clear();
    scene.page->Container().ReadLayout(bytes, scene.page);
  });
  state.counters["live"] = scene.Live();
}
BENCHMARK(BM_ReadLayoutOfTwentyPluginGadgets)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
