// The panel gadgets at 480x640 on a provisioned device (its sample messages,
// calls and appointments): a full repaint of a desktop that holds every
// kind of panel, grid, the calendar, the switcher and dividers, twenty
// gadgets in all. The SMS panel reads its newest message and the appointment
// panel lays out its days at every paint, so this is what a repaint costs
// with them. It prints its figure and its ratio to a memcpy of a VGA frame
// measured in the same run.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/desktop_scene.h"
#include "bench/support/frame_baseline.h"

namespace {

using desktop_bench::Scene;

// Twenty gadgets on the first desktop of a 480 x 588 page (scale 2).
const char kPanels[] =
    "sms-panel              rect=0,0,480,100     desktops=1 portrait\n"
    "last-call-panel        rect=0,100,480,200   desktops=1 portrait\n"
    "favorites-panel        rect=0,200,480,300   desktops=1 portrait\n"
    "history-panel          rect=0,300,480,400   desktops=1 portrait\n"
    "desktop-switcher       rect=0,400,480,520   desktops=1 portrait\n"
    "appointment-panel      rect=0,0,240,300     desktops=1 portrait\n"
    "calendar               rect=240,0,480,240   desktops=1 portrait\n"
    "most-used-actions      rect=0,240,320,588   desktops=1 portrait\n"
    "most-used-settings     rect=320,240,480,440 desktops=1 portrait\n"
    "most-used-applications rect=320,388,480,588 desktops=1 portrait\n"
    "most-used-calls        rect=0,388,160,588   desktops=1 portrait\n"
    "most-written-sms       rect=160,388,320,588 desktops=1 portrait\n"
    "calendar               rect=0,300,200,500   desktops=1 portrait\n"
    "appointment-panel      rect=200,300,480,500 desktops=1 portrait\n"
    "divider                rect=10,10,20,300    desktops=1 portrait length=280 pen=dot\n"
    "divider                rect=20,10,30,300    desktops=1 portrait length=280 pen=dash\n"
    "divider                rect=30,500,470,520  desktops=1 portrait vertical=0 length=440 pen=solid width=2\n"
    "divider                rect=30,530,470,550  desktops=1 portrait vertical=0 length=440\n"
    "sms-panel              rect=0,488,480,588   desktops=1 portrait\n"
    "last-call-panel        rect=0,388,480,488   desktops=1 portrait\n";

void BM_DesktopRepaintTwentyPanelGadgetsVga(benchmark::State& state) {
  Scene scene;
  scene.Layout(kPanels);
  bench_support::Measure(state, [&] {
    scene.page->Invalidate(FALSE);
    scene.page->UpdateWindow();
  });
  state.counters["gadgets"] = static_cast<double>(scene.page->Container().Count());
}
BENCHMARK(BM_DesktopRepaintTwentyPanelGadgetsVga)->Unit(benchmark::kMicrosecond);

}  // namespace
