// A device of its own for each test, in a temporary folder, closed after it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/device/device.h"
#include "platform/window/message.h"
#include "tests/fs/temp_dir.h"

namespace devicetest {

class DeviceTest : public ::testing::Test {
 protected:
  explicit DeviceTest(device::DeviceOptions options = {}) : m_options(options) {}
  // Without the sample data: the database holds only what the test puts there.
  static device::DeviceOptions Unprovisioned() {
    device::DeviceOptions options;
    options.provision = false;
    return options;
  }
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(device::OpenDevice(dir / "dev", &error, m_options)) << error;
  }
  void TearDown() override { device::CloseDevice(); }

  testing_support::TempDir dir;
  device::DeviceOptions m_options;
};

// Dispatches this thread's messages until `done` holds or `ms` pass (with a
// `done` that never holds: what arrives meanwhile, to see that nothing more comes).
inline void PumpUntil(const std::function<bool()>& done, int ms = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  MSG msg;
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (!done()) MsgWaitForSingleMessage(10);
  }
}

}  // namespace devicetest
