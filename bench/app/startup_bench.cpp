// Starts of the real program, headless: from the process's start to its
// first presented frame (the script's first `dump` runs at the first idle
// point, after that frame), at 240x320 and 480x640.
//
// A cold start of a provisioned device is read against starting and ending a
// trivial process, measured in the same run. The very first start of a new
// device (provisioning, the default skin's installation, the first frame) is
// read against a memcpy of a VGA frame timed beside each start.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/frame_baseline.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Child {
  pid_t pid = -1;
  int in = -1;   // its standard input
  int out = -1;  // its standard output
};

Child Spawn(const std::vector<std::string>& args) {
  Child c;
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) return c;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0, 0);
  for (int fd : {in[0], in[1], out[0], out[1]}) posix_spawn_file_actions_addclose(&actions, fd);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn(&c.pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  c.in = in[1];
  c.out = out[0];
  return c;
}

int Wait(Child& c) {
  if (c.in >= 0) close(c.in);
  if (c.out >= 0) close(c.out);
  int status = 0;
  if (c.pid > 0) waitpid(c.pid, &status, 0);
  c = Child{};
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The program timed: the build's mivo, or another one named by
// $MIVO_BENCH_PROGRAM (an older build, to compare).
std::string Program() {
  const char* other = std::getenv("MIVO_BENCH_PROGRAM");
  return other && *other ? other : MIVO_PATH;
}

// Folders removed when the benchmarks are over, so that no figure pays for
// the removal of another's files (see BM_FirstStartOnNewDevice).
struct Leftovers {
  ~Leftovers() {
    std::error_code ec;
    for (const auto& f : folders) std::filesystem::remove_all(f, ec);
  }
  std::vector<std::filesystem::path> folders;
} g_leftovers;

// Reads until the first line arrives; false when the program ended first.
bool ReadLine(int fd) {
  char ch;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 30000) <= 0) return false;
    if (read(fd, &ch, 1) != 1) return false;
    if (ch == '\n') return true;
  }
}

double TrivialProcessNs(int rounds) {
  const auto t0 = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    Child c = Spawn({"/bin/true"});
    Wait(c);
  }
  return std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / rounds;
}

void BM_StartToFirstFrame(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  const std::string device = (std::filesystem::temp_directory_path() /
                              ("mivo-bench-start-" + std::to_string(getpid()) + "-" + std::to_string(w)))
                                 .string();
  const std::vector<std::string> args = {Program(), "--headless", "--screen", std::to_string(w) + "x" +
                                         std::to_string(h), "--device", device, "--script", "-"};
  // The device is made and provisioned once, outside the figures: a cold
  // start of the program, not of a new device.
  {
    Child c = Spawn(args);
    (void)!write(c.in, "exit\n", 5);
    Wait(c);
  }
  const double baseline = TrivialProcessNs(20);
  double total = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    Child c = Spawn(args);
    (void)!write(c.in, "dump\n", 5);
    if (!ReadLine(c.out)) {
      state.SkipWithError("mivo did not answer");
      Wait(c);
      break;
    }
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
    total += ns;
    state.SetIterationTime(ns / 1e9);
    (void)!write(c.in, "exit\n", 5);
    Wait(c);
  }
  const double perStart = total / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
  state.counters["first_frame_ms"] = perStart / 1e6;
  state.counters["trivial_process_ms"] = baseline / 1e6;
  state.counters["ratio_to_trivial_process"] = perStart / baseline;
  std::error_code ec;
  std::filesystem::remove_all(device, ec);
}

// The device folders go where temporary files go on this machine (a real
// disk, usually): the writes and their syncs are part of the figure. Each
// start gets a folder of its own and all are removed when the program ends:
// files removed just before would slow the making of new ones (ext4 keeps
// away from the inodes of files deleted in the last few seconds), which is
// no part of a first start.
void BM_FirstStartOnNewDevice(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("mivo-bench-first-" + std::to_string(getpid()) + "-" + std::to_string(w));
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  g_leftovers.folders.push_back(folder);
  bench_support::FrameCopyBaseline baseline;
  double total = 0;
  int start = 0;
  for (auto _ : state) {
    const std::string device = (folder / std::to_string(start++)).string();
    const std::vector<std::string> args = {Program(), "--headless", "--screen", std::to_string(w) + "x" +
                                           std::to_string(h), "--device", device, "--script", "-"};
    const auto t0 = Clock::now();
    Child c = Spawn(args);
    (void)!write(c.in, "dump\n", 5);
    if (!ReadLine(c.out)) {
      state.SkipWithError("mivo did not answer");
      Wait(c);
      break;
    }
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
    total += ns;
    state.SetIterationTime(ns / 1e9);
    (void)!write(c.in, "exit\n", 5);
    Wait(c);
    baseline.Sample(20);
  }
  const double perStart = total / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
  state.counters["first_start_ms"] = perStart / 1e6;
  state.counters["frame_copy_us"] = baseline.MeanNs() / 1e3;
  state.counters["ratio_to_frame_copy"] = baseline.MeanNs() > 0 ? perStart / baseline.MeanNs() : 0;
}

}  // namespace

BENCHMARK(BM_FirstStartOnNewDevice)->Args({240, 320})->Args({480, 640})->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartToFirstFrame)->Args({240, 320})->Args({480, 640})->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(10);
