// Plug-in gadgets at 480x640 on a provisioned device (the samples installed):
// a full repaint of a desktop of 20 plug-in gadgets (ten moon phases, ten
// countdowns, each one call into its library that draws shapes and text),
// and reading a layout of those 20 with every gadget started and its
// settings handed to its library. Each prints its figure and its ratio to a
// memcpy of a VGA frame measured in the same run.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/desktop_scene.h"
#include "bench/support/frame_baseline.h"
#include "desktop/gadget_plugin.h"

namespace {

// The desktop of a new VGA device, with a count of its live plug-in gadgets.
struct PluginScene : desktop_bench::Scene {
  PluginScene() : Scene("plugins") {}
  int Live() const {
    int live = 0;
    for (const auto& g : page->Container().Gadgets()) {
      if (auto* plugin = dynamic_cast<CmivoGadgetPlugin*>(g.get()); plugin && plugin->IsLive()) ++live;
    }
    return live;
  }
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
  PluginScene scene;
  scene.Layout(scene.Bytes(TwentyPluginGadgets()));
  bench_support::Measure(state, [&] {
    scene.page->Invalidate(FALSE);
    scene.page->UpdateWindow();
  });
  state.counters["live"] = scene.Live();
}
BENCHMARK(BM_DesktopRepaintTwentyPluginGadgetsVga)->Unit(benchmark::kMicrosecond);

void BM_ReadLayoutOfTwentyPluginGadgets(benchmark::State& state) {
  PluginScene scene;
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
