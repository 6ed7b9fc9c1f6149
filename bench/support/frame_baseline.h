// The baseline every benchmark is read against: one memcpy of a VGA frame
// (480x640, 32-bit), measured in the same run. Measure() runs the loop and
// reports ns per operation and its ratio to that copy as counters.
//
// The copy is timed beside the figure, between the benchmark's own
// iterations, so that both see the same machine: a copy timed once when the
// process starts can read far off what the same copy takes later in the run
// (50.9 us against 30.9 us on a busy machine).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

namespace bench_support {

// Repetitions of the frame copy, taken one at a time wherever the benchmark
// has a moment between two of its own iterations.
class FrameCopyBaseline {
 public:
  FrameCopyBaseline() : m_from(480 * 640, 1), m_to(480 * 640) { Copy(); }

  // Times a short repetition of copies; an untimed copy first brings both
  // frames back into the caches that the benchmark's own work may have taken.
  void Sample() {
    using Clock = std::chrono::steady_clock;
    constexpr int kCopies = 3;
    Copy();
    const auto t0 = Clock::now();
    for (int i = 0; i < kCopies; ++i) Copy();
    m_totalNs += std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / kCopies;
    ++m_samples;
  }
  void Sample(int times) {
    for (int i = 0; i < times; ++i) Sample();
  }
  int Samples() const { return m_samples; }
  // The mean of the samples so far, in nanoseconds (0 before the first).
  double MeanNs() const { return m_samples ? m_totalNs / m_samples : 0.0; }

 private:
  void Copy() {
    std::memcpy(m_to.data(), m_from.data(), m_from.size() * 4);
    benchmark::DoNotOptimize(m_to.data());
    benchmark::ClobberMemory();
  }

  std::vector<std::uint32_t> m_from;  // the frame copied
  std::vector<std::uint32_t> m_to;    // where it goes
  double m_totalNs = 0;               // the timed copies added up
  int m_samples = 0;                  // how many were timed
};

// Runs fn as the benchmark's loop. The iterations are timed in blocks of about
// a millisecond (the clock is read once per block, so even a fast operation is
// not measured with the clock's cost), and a copy of the frame is timed after
// each block with the benchmark's timer paused.
template <typename Fn>
void Measure(benchmark::State& state, Fn&& fn) {
  using Clock = std::chrono::steady_clock;
  constexpr double kBlockNs = 1e6;
  constexpr int kMinimumSamples = 20;
  FrameCopyBaseline baseline;
  double figureNs = 0;
  std::int64_t n = 0, stride = 1, inBlock = 0;
  auto blockStart = Clock::now();
  for (auto _ : state) {
    fn();
    if (++inBlock < stride) continue;
    const double block = std::chrono::duration<double, std::nano>(Clock::now() - blockStart).count();
    figureNs += block;
    n += inBlock;
    inBlock = 0;
    if (block < kBlockNs) stride *= 2;
    state.PauseTiming();
    baseline.Sample();
    state.ResumeTiming();
    blockStart = Clock::now();
  }
  figureNs += std::chrono::duration<double, std::nano>(Clock::now() - blockStart).count();
  n += inBlock;
  // A short run still gets a baseline worth reading, taken right after it.
  while (baseline.Samples() < kMinimumSamples) baseline.Sample();
  const double perOp = figureNs / static_cast<double>(std::max<std::int64_t>(n, 1));
  state.counters["ns_per_op"] = perOp;
  state.counters["frame_copy_ns"] = baseline.MeanNs();
  state.counters["ratio_to_frame_copy"] = perOp / baseline.MeanNs();
}

}  // namespace bench_support
