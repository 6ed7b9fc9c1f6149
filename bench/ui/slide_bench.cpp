// The page slide (every frame of one opening) and a full repaint of a page
// with its header, on QVGA and VGA screens, each beside a memcpy of a frame
// of the same screen measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_core.h"
#include "app/main_frame.h"
#include "app/mivo_app.h"
#include "look/appearance.h"
#include "platform/device/device.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/animate_wnd.h"
#include "ui/page_wnd.h"

namespace {

// A page with a header over a plain background.
class BenchPage : public CmivoPageWnd {
 public:
  BenchPage(mivoCore* core, COLORREF color) : CmivoPageWnd(core), m_color(color) { m_title = u"Settings"; }
  void DrawBackground(HDC dc, bool erase, int l, int t, int r, int b) override {
    HBRUSH brush = CreateSolidBrush(m_color);
    RECT area = MakeRect(l, t, r, b);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    CmivoPageWnd::DrawBackground(dc, erase, l, t, r, b);
  }

 private:
  COLORREF m_color;
};

// The application on a fresh device with two pages shown, for one screen size.
class Scene {
 public:
  Scene(int w, int h) {
    const auto dir = std::filesystem::temp_directory_path() / ("mivo_bench_ui_" + std::to_string(w));
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    device::DeviceOptions options;
    options.provision = false;
    std::string error;
    device::OpenDevice(dir.string(), &error, options);
    sysclock::UseVirtualTime();
    window::SetScreenSize(w, h);
    window::CreateFramebuffer(w, h);
    gdi::SetLogPixels(window::ShellScale() == 2 ? 192 : 96);
    shell::StartPhoneShell();
    app = std::make_unique<CmivoApp>();
    app->InitInstance();
    window::PumpPending();
    core = app->m_pCore;
    a = std::make_unique<BenchPage>(core, RGB(120, 20, 20));
    b = std::make_unique<BenchPage>(core, RGB(20, 20, 120));
    core->ShowPage(a.get());
    core->ShowPage(b.get());
    window::PumpPending();
  }
  ~Scene() {
    a.reset();
    b.reset();
    core->RequestExit();
    for (int i = 0; i < 10 && !window::QuitPending(); ++i) window::PumpPending();
    app->ExitInstance();
    app.reset();
    shell::StopPhoneShell();
    window::ResetWindowSystem();
    device::CloseDevice();
  }
  std::unique_ptr<CmivoApp> app;
  mivoAppCore* core = nullptr;
  std::unique_ptr<BenchPage> a, b;
};

void Memcpy(benchmark::State& state, int w, int h) {
  std::vector<std::uint32_t> src(static_cast<std::size_t>(w) * h, 0xFF204060u), dst(src.size());
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size() * 4);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
}

void Slide(benchmark::State& state, int w, int h) {
  Scene scene(w, h);
  CmivoAnimateWnd* slide = scene.core->GetAnimateWnd();
  for (auto _ : state) {
    slide->TakeSnapshot();
    slide->Animate(scene.a.get(), scene.b.get(), 1);
  }
  state.counters["frames"] = slide->LastFrameCount();
}

void Repaint(benchmark::State& state, int w, int h) {
  Scene scene(w, h);
  BenchPage* page = scene.b.get();
  for (auto _ : state) {
    page->Invalidate(FALSE);
    page->UpdateWindow();
  }
}

void BM_Baseline_MemcpyQvgaFrame(benchmark::State& s) { Memcpy(s, 240, 320); }
void BM_Baseline_MemcpyVgaFrame(benchmark::State& s) { Memcpy(s, 480, 640); }
void BM_SlideQvga(benchmark::State& s) { Slide(s, 240, 320); }
void BM_SlideVga(benchmark::State& s) { Slide(s, 480, 640); }
void BM_PageRepaintQvga(benchmark::State& s) { Repaint(s, 240, 320); }
void BM_PageRepaintVga(benchmark::State& s) { Repaint(s, 480, 640); }

}  // namespace

BENCHMARK(BM_Baseline_MemcpyQvgaFrame);
BENCHMARK(BM_Baseline_MemcpyVgaFrame);
BENCHMARK(BM_SlideQvga)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SlideVga)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageRepaintQvga)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageRepaintVga)->Unit(benchmark::kMicrosecond);

// Prints each figure beside the memcpy of a frame of the same screen.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      const double ns = r.GetAdjustedRealTime() *
                        (r.time_unit == benchmark::kMicrosecond ? 1e3 : r.time_unit == benchmark::kMillisecond ? 1e6 : 1);
      const std::string name = r.benchmark_name();
      if (name == "BM_Baseline_MemcpyQvgaFrame") m_base["Qvga"] = ns;
      if (name == "BM_Baseline_MemcpyVgaFrame") m_base["Vga"] = ns;
      for (const char* size : {"Qvga", "Vga"}) {
        const double base = m_base[size];
        if (base <= 0) continue;
        if (name == std::string("BM_Slide") + size) {
          std::printf("  one slide on %s: %.2f ms for all its frames; %.1fx a memcpy of the frame\n", size, ns / 1e6,
                      ns / base);
        }
        if (name == std::string("BM_PageRepaint") + size) {
          std::printf("  full repaint of a page with header on %s: %.1f us; %.1fx a memcpy of the frame\n", size,
                      ns / 1e3, ns / base);
        }
      }
    }
  }

 private:
  std::map<std::string, double> m_base;
};

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
