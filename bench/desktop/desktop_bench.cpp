// The desktop at 480x640 on a provisioned device (the shipped skin draws the
// shortcuts): a full repaint of a desktop of 20 gadgets and of the factory
// home desktop, reading a layout of 500 gadgets, and a tap on a shortcut
// until the first frame of the slide to its page is on the screen. Each
// prints its figure and its ratio to a memcpy of a VGA frame measured in
// the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "app/app_core.h"
#include "app/mivo_app.h"
#include "bench/support/desktop_scene.h"
#include "bench/support/frame_baseline.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget.h"
#include "desktop/layout_text.h"
#include "platform/device/device.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/window/input.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

using Clock = std::chrono::steady_clock;
using desktop_bench::Scene;

// 20 gadgets on the first desktop: nine tiles, eight icons, three rows.
std::string TwentyGadgets() {
  static const char* const kActions[] = {
      "page 19", "submenu SMS", "page 1 0", "page 21",  "page 12",
      "page 15", "page 24",     "office 6", "office 7", "file \\Windows\\Start Menu\\Programs\\Calculator.lnk"};
  std::string text;
  for (int i = 0; i < 9; ++i) {
    const int x = (i % 3) * 160, y = (i / 3) * 160;
    text += "action rect=" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(x + 160) + "," +
            std::to_string(y + 160) + " desktops=1 portrait style=tile action=\"" + kActions[i % 10] + "\"\n";
  }
  for (int i = 0; i < 8; ++i) {
    const int x = i * 60;
    text += "action rect=" + std::to_string(x) + ",400," + std::to_string(x + 70) +
            ",470 desktops=1 portrait "
            "style=icon action=\"" +
            kActions[(i + 3) % 10] + "\"\n";
  }
  for (int i = 0; i < 3; ++i) {
    text += "action rect=0," + std::to_string(380 + i * 50) + ",480," + std::to_string(476 + i * 50) +
            " desktops=1 portrait style=details action=\"" + kActions[(i + 5) % 10] + "\"\n";
  }
  return text;
}

void BM_DesktopRepaintTwentyGadgetsVga(benchmark::State& state) {
  Scene scene;
  scene.Layout(TwentyGadgets());
  bench_support::Measure(state, [&] {
    scene.page->Invalidate(FALSE);
    scene.page->UpdateWindow();
  });
  state.counters["gadgets"] = static_cast<double>(scene.page->Container().Count());
}
BENCHMARK(BM_DesktopRepaintTwentyGadgetsVga)->Unit(benchmark::kMicrosecond);

// What a new user sees first: the factory home desktop with its clock, date,
// status and counters, favourites panel and desktop switcher, all repainted.
void BM_FactoryHomeDesktopRepaintVga(benchmark::State& state) {
  Scene scene("factory");
  int shown = 0;
  for (const auto& g : scene.page->Container().Gadgets()) shown += g->IsVisible() ? 1 : 0;
  bench_support::Measure(state, [&] {
    scene.page->Invalidate(FALSE);
    scene.page->UpdateWindow();
  });
  state.counters["gadgets"] = shown;
}
BENCHMARK(BM_FactoryHomeDesktopRepaintVga)->Unit(benchmark::kMicrosecond);

void BM_LoadLayoutOfFiveHundredGadgets(benchmark::State& state) {
  Scene scene;
  std::string text;
  for (int i = 0; i < 500; ++i) {
    const int x = (i % 6) * 80, y = (i / 6 % 6) * 80;
    text += "action rect=" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(x + 160) + "," +
            std::to_string(y + 160) + " desktops=" + std::to_string(i % 32 + 1) + (i % 2 ? " portrait" : " landscape") +
            (i % 3 ? " style=tile action=\"page " + std::to_string(i % 30) + "\""
                   : " style=details action=\"file \\My Documents\\Report " + std::to_string(i) + ".doc\"") +
            "\n";
  }
  mivoGadgetContainer scratch(scene.core);
  std::string error;
  layout_text::Parse(text, scene.core, scratch, &error);
  const std::vector<std::uint8_t> bytes = scratch.SerializeLayout();
  bench_support::Measure(state, [&] {
    scene.page->Container().Clear();
    scene.page->Container().ReadLayout(bytes, scene.page);
  });
  state.counters["gadgets"] = static_cast<double>(scene.page->Container().Count());
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_LoadLayoutOfFiveHundredGadgets)->Unit(benchmark::kMicrosecond);

// From the tap on the shortcut (press and release) to the first frame of
// the slide that opens its page; the slide's other frames and the way back
// are not counted.
void BM_TapOnShortcutToFirstFrameOfTheSlideVga(benchmark::State& state) {
  Scene scene;
  scene.Layout("action rect=160,160,320,320 desktops=1 portrait style=tile action=\"page 15\"\n");
  POINT at{240, 240};
  scene.page->ClientToScreen(&at);
  bench_support::FrameCopyBaseline baseline;
  double totalNs = 0;
  for (auto _ : state) {
    scene.firstFrame = 0;
    const auto start = Clock::now();
    window::input::StylusDown(at.x, at.y);
    window::input::StylusUp(at.x, at.y);
    while (!scene.firstFrame && window::PumpPending() > 0) {}
    const double ns = static_cast<double>(scene.firstFrame - start.time_since_epoch().count());
    state.SetIterationTime(ns / 1e9);
    totalNs += ns;
    // Back to the desktop, untimed.
    window::PumpPending();
    scene.core->PopPage();
    window::PumpPending();
    baseline.Sample();
  }
  const double perTap = totalNs / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  state.counters["ns_per_op"] = perTap;
  state.counters["frame_copy_ns"] = baseline.MeanNs();
  state.counters["ratio_to_frame_copy"] = perTap / baseline.MeanNs();
}
BENCHMARK(BM_TapOnShortcutToFirstFrameOfTheSlideVga)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
