// What the scenarios of the real program share: a new device whose desktop
// is a layout of the test's own, and the program driven step by step while
// mivo-device changes its device from outside.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>

#include "tests/support/mivo_runner.h"
#include "tests/tools/run_tool.h"

namespace desktoptest {

#ifdef MIVO_PACK_PATH
// A new device (made by a first start) whose user desktop is the layout in its text form.
inline std::string DeviceWithLayout(const std::string& name, const std::string& layout) {
  const std::string dir = testing_support::FreshDir(name);
  EXPECT_EQ(testing_support::RunMivo(dir, "exit\n").exitCode, 0);
  const std::string text = dir + "/desktop.layout";
  std::ofstream(text) << layout;
  const testing_support::ToolResult made = testing_support::RunMivoPack(
      {"layout", "create", text, testing_support::ProgramFolder(dir) + "/mivo_userdesktop.dat"});
  EXPECT_EQ(made.code, 0) << made.err;
  return dir;
}
#endif

// Each step lets 600 ms of the program's time pass; what the device did is
// waited for on the host's clock, as the change log reaches the program in
// real time.
class LiveWalk {
 public:
  explicit LiveWalk(testing_support::MivoSession& s) : m_live(s) {}

  testing_support::Json Step(const std::string& command) {
    m_live.Send(command);
    m_live.Send("wait 600");
    return m_live.Dump();
  }
  testing_support::Json Until(const std::function<bool(const testing_support::Json&)>& done) {
    testing_support::Json d;
    for (int i = 0; i < 60; ++i) {
      d = Step("wait 100");
      if (done(d)) return d;
      usleep(50 * 1000);
    }
    ADD_FAILURE() << "the program never showed it";
    return d;
  }

 protected:
  testing_support::MivoSession& m_live;
};

}  // namespace desktoptest
