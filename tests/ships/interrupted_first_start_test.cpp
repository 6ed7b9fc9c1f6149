// A first start killed at any moment (while the device is provisioned, while
// the default skin is installed, while the first frame is drawn): the next
// start completes what is missing and runs as if nothing had happened, and
// the device then holds exactly what a start that was never killed makes,
// with no temporary file and nothing half-written.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ships_util.h"
#include "tests/support/mivo_runner.h"
#include "tests/support/scratch.h"

namespace {

using namespace ships;

// Every entry of a device's file system: folders by name, files and links
// with their content (a link's is where it points).
std::map<std::string, std::string> Entries(const stdfs::path& root) {
  std::map<std::string, std::string> entries;
  std::error_code ec;
  for (auto it = stdfs::recursive_directory_iterator(root, ec); !ec && it != stdfs::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string name = stdfs::relative(it->path(), root).string();
    if (it->is_symlink()) {
      entries[name] = "link to " + stdfs::read_symlink(it->path()).string();
    } else if (it->is_directory()) {
      entries[name + "/"] = "";
    } else {
      std::ifstream in(it->path(), std::ios::binary);
      entries[name] = std::string(std::istreambuf_iterator<char>(in), {});
    }
  }
  return entries;
}

// What differs, for the failure message.
std::string Differences(const std::map<std::string, std::string>& expected,
                        const std::map<std::string, std::string>& got) {
  std::string out;
  for (const auto& [name, content] : expected)
    if (!got.count(name) || got.at(name) != content)
      out += (got.count(name) ? "  different: " : "  missing: ") + name + "\n";
  for (const auto& [name, content] : got)
    if (!expected.count(name)) out += "  extra: " + name + "\n";
  return out;
}

// Starts mivo with these arguments, its output thrown away.
pid_t Start(std::vector<std::string> args) {
  args.insert(args.begin(), testing_support::MivoPath());
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

std::vector<std::string> Args(const stdfs::path& device, const stdfs::path& script) {
  return {"--headless", "--screen", "240x320", "--device", device.string(), "--script", script.string()};
}

TEST(InterruptedFirstStart, FiftyKillsAtRandomMomentsEachEndInADeviceThatStartsNormallyAndIsComplete) {
  const stdfs::path root = testing_support::FreshScratchFolder("ships-interrupted");
  const stdfs::path exitScript = root / "exit.mvs", checkScript = root / "check.mvs";
  std::ofstream(exitScript) << "exit\n";
  std::ofstream(checkScript) << "dump\nexit\n";

  // A first start that runs to its end, timed: the kills fall within as long.
  const auto t0 = std::chrono::steady_clock::now();
  const auto reference = testing_support::RunMivoArgs(root.string(), Args(root / "reference", exitScript));
  const auto firstStart = std::chrono::steady_clock::now() - t0;
  ASSERT_EQ(reference.exitCode, 0) << reference.err;
  // What the next start shows, and what the device then holds.
  const auto shown = testing_support::RunMivoArgs(root.string(), Args(root / "reference", checkScript));
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  ASSERT_EQ(shown.dumps.size(), 1u) << shown.out;
  EXPECT_TRUE(shown.dumps[0]["overlay"].IsNull());
  const auto expected = Entries(root / "reference" / "fs");
  ASSERT_GT(expected.size(), 200u);

  std::mt19937 random(20100315);
  const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(firstStart).count();
  std::uniform_int_distribution<long long> moment(0, longest);
  for (int i = 0; i < 50; ++i) {
    const stdfs::path device = root / ("device-" + std::to_string(i));
    const auto delay = std::chrono::microseconds(moment(random));
    const pid_t pid = Start(Args(device, exitScript));
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);

    const auto next = testing_support::RunMivoArgs(root.string(), Args(device, checkScript));
    ASSERT_EQ(next.exitCode, 0) << "after a kill at " << delay.count() << " us: " << next.err;
    ASSERT_EQ(next.out, shown.out) << "after a kill at " << delay.count() << " us";
    const auto got = Entries(device / "fs");
    ASSERT_TRUE(got == expected) << "after a kill at " << delay.count() << " us:\n" << Differences(expected, got);
    std::error_code ec;
    stdfs::remove_all(device, ec);
  }
}

}  // namespace
