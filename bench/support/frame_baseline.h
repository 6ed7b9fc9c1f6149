// The baseline every benchmark is read against: one memcpy of a VGA frame
// (480x640, 32-bit), measured in the same run. Measure() runs the loop and
// reports ns per operation and its ratio to that copy as counters.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

namespace bench_support {

// Nanoseconds of one memcpy of a VGA frame: the mean of 500 after a warm-up.
inline double FrameCopyNs() {
  using Clock = std::chrono::steady_clock;
  static const double ns = [] {
    std::vector<std::uint32_t> a(480 * 640, 1), b(480 * 640);
    for (int round = 0; round < 50; ++round) std::memcpy(b.data(), a.data(), a.size() * 4);
    constexpr int kRounds = 500;
    const auto t0 = Clock::now();
    for (int round = 0; round < kRounds; ++round) {
      std::memcpy(b.data(), a.data(), a.size() * 4);
      benchmark::DoNotOptimize(b.data());
      benchmark::ClobberMemory();
    }
    return std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / kRounds;
  }();
  return ns;
}

template <typename Fn>
void Measure(benchmark::State& state, Fn&& fn) {
  using Clock = std::chrono::steady_clock;
  const double baseline = FrameCopyNs();
  std::int64_t n = 0;
  const auto t0 = Clock::now();
  for (auto _ : state) {
    fn();
    ++n;
  }
  const double perOp =
      std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / std::max<std::int64_t>(n, 1);
  state.counters["ns_per_op"] = perOp;
  state.counters["frame_copy_ns"] = baseline;
  state.counters["ratio_to_frame_copy"] = perOp / baseline;
}

}  // namespace bench_support
