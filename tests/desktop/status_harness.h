// The whole program in this process with the shipped skin, on empty
// desktops, for the status, clock and date gadgets: adds a gadget of a kind
// where a test wants it, and lets the device's change notifications arrive.
#pragma once

#include <string>

#include "platform/registry/change_watcher.h"
#include "tests/desktop/desktop_harness.h"

namespace desktoptest {

class StatusHarness : public DesktopHarness {
 public:
  explicit StatusHarness(const std::string& name, int width = 240, int height = 320)
      : DesktopHarness("status_" + name, 0, width, height, true) {}

  // The device's changes made so far have reached the program and been handled.
  void Settle() {
    EXPECT_TRUE(devdb::SyncChangeWatcher());
    Pump();
  }
};

}  // namespace desktoptest
