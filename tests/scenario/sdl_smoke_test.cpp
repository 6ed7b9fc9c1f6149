// One smoke test of the real SDL2 window: under Xvfb, an xdotool click on
// the window reaches the child window under it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/support/mivo_runner.h"
#include "tests/tools/run_tool.h"

using testing_support::FreshDir;
using testing_support::Json;

namespace {

bool HaveProgram(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(SdlWindow, AnXdotoolClickReachesTheChildWindowUnderIt) {
  if (!HaveProgram("Xvfb") || !HaveProgram("xdotool")) {
    GTEST_SKIP() << "Xvfb or xdotool is not installed: the SDL2 window smoke test cannot run "
                    "(scripts/setup.sh installs both)";
  }
  const std::string dir = FreshDir("sdl_smoke");
  // A display number of our own, so parallel runs do not meet.
  const std::string display = ":" + std::to_string(90 + getpid() % 400);
  const pid_t xvfb = fork();
  if (xvfb == 0) {
    execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp", nullptr);
    _exit(127);
  }
  ASSERT_GT(xvfb, 0);
  setenv("DISPLAY", display.c_str(), 1);
  // Wait for the server (a bounded number of tries, not a timed assertion).
  bool up = false;
  for (int i = 0; i < 100 && !up; ++i) {
    up = std::system("xdotool getdisplaygeometry >/dev/null 2>&1") == 0;
    if (!up) usleep(50000);
  }
  if (!up) {
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    FAIL() << "Xvfb did not start on " << display;
  }
  unsetenv("SDL_VIDEODRIVER");
  // Without --headless: the SDL2 window, scale 1, commands from standard input.
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  const pid_t mivo = fork();
  if (mivo == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[1]);
    close(out[0]);
    const std::string device = dir + "/device";
    execl(testing_support::MivoPath().c_str(), "mivo", "--scale", "1", "--device", device.c_str(), "--script", "-",
          nullptr);
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  std::string wid =
      testing_support::RunTool("timeout", {"20", "xdotool", "search", "--sync", "--onlyvisible", "--name", "^mivo$"})
          .out;
  wid = wid.substr(0, wid.find('\n'));
  std::string dump;
  if (!wid.empty()) {
    // The Calls tile lies at (8..116, 176..312) of the 240x320 screen. The
    // window may still be settling into place when first found, and the click
    // travels through the X server on its own time: click again and ask again
    // a bounded number of times (generously: a loaded machine is slow to deliver).
    FILE* f = fdopen(out[0], "r");
    char line[65536];
    for (int click = 0; click < 5 && dump.find("Calls: ") == std::string::npos; ++click) {
      std::system(("xdotool mousemove --sync --window " + wid + " 60 250 click 1 >/dev/null 2>&1").c_str());
      for (int ask = 0; ask < 40 && dump.find("Calls: ") == std::string::npos; ++ask) {
        usleep(50000);
        const std::string cmd = "dump\n";
        if (write(in[1], cmd.data(), cmd.size()) <= 0) break;
        while (f && fgets(line, sizeof line, f)) {
          if (line[0] == '{') {
            dump = line;
            break;
          }
        }
      }
    }
    const std::string bye = "exit\n";
    (void)!write(in[1], bye.data(), bye.size());
  }
  close(in[1]);
  int status = 0;
  for (int i = 0; i < 200 && waitpid(mivo, &status, WNOHANG) == 0; ++i) usleep(25000);
  kill(mivo, SIGKILL);
  waitpid(mivo, nullptr, 0);
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);
  ASSERT_FALSE(wid.empty()) << "the mivo window did not appear on " << display;
  const Json d = Json::Parse(dump);
  ASSERT_TRUE(d.Error().empty()) << dump;
  // Only the Calls tile may have been tapped: the click reached the child under it.
  for (const char* other : {"Contacts: ", "Messages: ", "Settings: "}) {
    EXPECT_EQ(dump.find(other), std::string::npos) << dump;
  }
  bool tapped = false;
  for (const Json& w : d["windows"].Items()) tapped = tapped || w["text"].AsString().rfind("Calls: ", 0) == 0;
  EXPECT_TRUE(tapped) << dump;
}
