// The status gadgets at 480x640 on a provisioned device: the repaint that
// one minute of the clock causes (only the clock's rectangle), and a full
// repaint of a desktop full of status gadgets, clocks and the date. Each
// prints its figure and its ratio to a memcpy of a VGA frame measured in
// the same run; the minute also prints the area it repainted.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/desktop_scene.h"
#include "bench/support/frame_baseline.h"
#include "desktop/clock_gadget.h"
#include "platform/win32/rect.h"

namespace {

// The desktop of a new VGA device showing what the layout text describes.
struct StatusScene : desktop_bench::Scene {
  explicit StatusScene(const std::string& layout) : Scene("status") { Layout(layout); }
};

// Every status gadget, a clock of each face and the date, laid out at scale
// 1 and doubled for VGA.
std::string FullDesktop() {
  const char* const lines[] = {
      "clock rect=0,0,240,70",
      "date rect=0,70,240,95",
      "battery rect=0,95,80,125",
      "signal rect=80,95,160,125",
      "bluetooth rect=160,95,240,125",
      "operator rect=0,125,240,150",
      "connection-manager rect=0,150,120,175",
      "memory rect=120,150,240,175",
      "unread-sms rect=0,175,40,225 size=14",
      "missed-calls rect=40,175,80,225 size=14",
      "unread-mms rect=80,175,120,225 size=14",
      "unread-email rect=120,175,160,225 size=14",
      "tasks rect=160,175,200,225 size=14",
      "alarm rect=200,175,240,225",
      "volume rect=0,225,40,268",
      "clock rect=40,225,100,268 analog=yes",
      "clock rect=100,225,240,268 graphical=no size=20",
  };
  std::string text;
  for (const char* line : lines) {
    // Doubled: "rect=L,T,R,B" at scale 2.
    std::string l = line;
    const std::size_t at = l.find("rect=") + 5;
    const std::size_t end = l.find(' ', at);
    std::string rect = l.substr(at, end == std::string::npos ? std::string::npos : end - at), doubled;
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
      const std::size_t comma = rect.find(',', start);
      doubled += (i ? "," : "") + std::to_string(2 * std::stoi(rect.substr(start, comma - start)));
      start = comma + 1;
    }
    text += l.substr(0, at) + doubled + (end == std::string::npos ? "" : l.substr(end)) + " desktops=1 portrait\n";
  }
  return text;
}

void BM_ClockMinuteRepaintsOnlyTheClockVga(benchmark::State& state) {
  StatusScene scene(FullDesktop());
  CmivoClock* clock = nullptr;
  for (const auto& g : scene.page->Container().Gadgets()) {
    if (!clock) clock = dynamic_cast<CmivoClock*>(g.get());
  }
  if (!clock) {
    state.SkipWithError("no clock");
    return;
  }
  // What one minute invalidates: the clock's rectangle, against the page's.
  clock->OnStateChanged(0, 0);
  RECT dirty{};
  GetUpdateRect(scene.page->m_hWnd, &dirty, FALSE);
  RECT client{};
  scene.page->GetClientRect(&client);
  scene.page->UpdateWindow();
  bench_support::Measure(state, [&] {
    // The time value's notification, and the paint it leads to.
    clock->OnStateChanged(0, 0);
    scene.page->UpdateWindow();
  });
  state.counters["repainted_px"] = static_cast<double>(RectWidth(dirty)) * RectHeight(dirty);
  state.counters["page_px"] = static_cast<double>(RectWidth(client)) * RectHeight(client);
  state.counters["clock_px"] =
      static_cast<double>(RectWidth(clock->GetRect())) * static_cast<double>(RectHeight(clock->GetRect()));
}
BENCHMARK(BM_ClockMinuteRepaintsOnlyTheClockVga)->Unit(benchmark::kMicrosecond);

void BM_RepaintDesktopFullOfStatusGadgetsVga(benchmark::State& state) {
  StatusScene scene(FullDesktop());
  bench_support::Measure(state, [&] {
    scene.page->Invalidate(FALSE);
    scene.page->UpdateWindow();
  });
  state.counters["gadgets"] = static_cast<double>(scene.page->Container().Count());
}
BENCHMARK(BM_RepaintDesktopFullOfStatusGadgetsVga)->Unit(benchmark::kMicrosecond);

}  // namespace
