// A fresh device folder for one test, opened without provisioning, so the
// registry holds nothing but what the test puts there.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/device/device.h"
#include "platform/registry/registry.h"
#include "tests/support/scratch.h"

namespace apptest {

class TestDevice {
 public:
  explicit TestDevice(const std::string& name) {
    // ctest runs every case as a process of its own, two at a time: cases
    // that share a name still get folders of their own.
    std::string folder = name;
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
      folder += std::string("-") + test->test_suite_name() + "." + test->name();
    }
    std::replace(folder.begin(), folder.end(), '/', '_');
    m_dir = testing_support::FreshScratchFolder("app-" + folder);
    device::DeviceOptions options;
    options.provision = false;
    std::string error;
    m_open = device::OpenDevice(m_dir.string(), &error, options);
    EXPECT_TRUE(m_open) << error;
  }
  ~TestDevice() {
    if (m_open) device::CloseDevice();
  }
  TestDevice(const TestDevice&) = delete;
  TestDevice& operator=(const TestDevice&) = delete;

  const std::filesystem::path& Dir() const { return m_dir; }

 private:
  std::filesystem::path m_dir;
  bool m_open = false;
};

}  // namespace apptest
