// A device for a benchmark: made empty (not provisioned) in a temporary
// folder the first time it is asked for, filled once in one transaction, and
// removed when the benchmark program ends.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include "platform/device/device.h"
#include "platform/registry/database.h"

namespace bench_support {

// Opens the device on the first call and runs `fill` inside its transaction;
// later calls do nothing. A fill that fails stops the program: a figure
// measured on half the data would mislead.
inline void OpenScratchDevice(const std::function<bool(devdb::Database&)>& fill) {
  static const bool opened = [&] {
    std::string templ = (std::filesystem::temp_directory_path() / "mivo-bench-XXXXXX").string();
    const char* dir = mkdtemp(templ.data());
    device::DeviceOptions options;
    options.provision = false;
    std::string error;
    if (!dir || !device::OpenDevice(std::string(dir) + "/dev", &error, options)) std::abort();
    devdb::Database* db = devdb::DeviceDatabase();
    {
      std::lock_guard<std::recursive_mutex> lock(db->mutex());
      if (!db->Transaction([&] { return fill(*db); })) std::abort();
    }
    std::atexit([] {
      const std::string folder = device::DeviceFolder();
      device::CloseDevice();
      std::filesystem::remove_all(std::filesystem::path(folder).parent_path());
    });
    return true;
  }();
  (void)opened;
}

}  // namespace bench_support
