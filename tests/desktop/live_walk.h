// The real program driven step by step while mivo-device changes its device
// from outside: each step lets 600 ms of the program's time pass, and what
// the device did is waited for on the host's clock, as the change log
// reaches the program in real time.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "tests/support/mivo_runner.h"

namespace desktoptest {

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
