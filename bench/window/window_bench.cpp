// Messages per second through post and dispatch, and the cost of presenting
// a VGA frame headless, each with its ratio to a baseline measured in the
// same run (a plain function call through a std::deque; a memcpy of the frame).
#include <benchmark/benchmark.h>

#include <cstring>
#include <deque>
#include <vector>

#include "platform/display/headless_screen.h"
#include "platform/win32/clock.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

constexpr int kBatch = 1000;
constexpr int kVgaW = 480;
constexpr int kVgaH = 640;

LRESULT CountingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  static volatile long s_count = 0;
  if (m == WM_USER) {
    s_count = s_count + 1;
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

// Baseline: the least a queue can do per message.
void BM_Baseline_DequeAndCall(benchmark::State& state) {
  std::deque<MSG> q;
  volatile long sink = 0;
  WNDPROC proc = [](HWND, UINT, WPARAM w, LPARAM) -> LRESULT { return static_cast<LRESULT>(w); };
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) {
      MSG m;
      m.message = WM_USER;
      m.wParam = static_cast<WPARAM>(i);
      q.push_back(m);
    }
    while (!q.empty()) {
      sink = sink + proc(q.front().hwnd, q.front().message, q.front().wParam, q.front().lParam);
      q.pop_front();
    }
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_PostAndDispatch(benchmark::State& state) {
  window::ResetWindowSystem();
  sysclock::UseVirtualTime();
  window::SetScreenSize(kVgaW, kVgaH);
  WNDCLASSW wc;
  wc.lpfnWndProc = CountingProc;
  wc.lpszClassName = u"bench";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, u"bench", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  MSG msg;
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) PostMessageW(w, WM_USER, static_cast<WPARAM>(i), 0);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
  window::ResetWindowSystem();
}

void BM_Baseline_MemcpyVgaFrame(benchmark::State& state) {
  std::vector<std::uint32_t> a(static_cast<std::size_t>(kVgaW) * kVgaH, 0xFF102030u), b(a.size());
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(a.size()) * 4);
}

void BM_PresentVgaFrameHeadless(benchmark::State& state) {
  window::ResetWindowSystem();
  window::SetScreenSize(kVgaW, kVgaH);
  window::CreateFramebuffer(kVgaW, kVgaH);
  display::HeadlessScreen screen;
  display::ScreenOptions so;
  so.width = kVgaW;
  so.height = kVgaH;
  std::string error;
  screen.Open(so, &error);
  const window::FrameView frame = window::GetFramebuffer();
  for (auto _ : state) {
    screen.Present(frame);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(kVgaW) * kVgaH * 4);
}

}  // namespace

BENCHMARK(BM_Baseline_DequeAndCall);
BENCHMARK(BM_PostAndDispatch);
BENCHMARK(BM_Baseline_MemcpyVgaFrame);
BENCHMARK(BM_PresentVgaFrameHeadless);

// Prints each figure beside its baseline of the same run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      const double ns = r.GetAdjustedRealTime();
      const std::string name = r.benchmark_name();
      if (name == "BM_Baseline_DequeAndCall") m_queueBase = ns;
      if (name == "BM_Baseline_MemcpyVgaFrame") m_copyBase = ns;
      if (name == "BM_PostAndDispatch" && m_queueBase > 0) {
        std::printf("  messages per second: %.0f; %.1fx the cost of a bare deque and call\n",
                    kBatch * 1e9 / ns, ns / m_queueBase);
      }
      if (name == "BM_PresentVgaFrameHeadless" && m_copyBase > 0) {
        std::printf("  presenting a VGA frame headless: %.1f us; %.2fx a memcpy of the frame\n", ns / 1000,
                    ns / m_copyBase);
      }
    }
  }

 private:
  double m_queueBase = 0;
  double m_copyBase = 0;
};

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
