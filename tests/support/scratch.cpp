#include "tests/support/scratch.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <vector>

namespace testing_support {

namespace {

std::mutex g_mutex;
std::vector<std::filesystem::path> g_made;  // removed at exit
pid_t g_owner = 0;                          // the process that made them

void RemoveMade() {
  std::lock_guard<std::mutex> lock(g_mutex);
  // A forked child that ends with exit() must not take its parent's folders.
  if (getpid() != g_owner) return;
  std::error_code ec;
  for (const auto& folder : g_made) {
    // A test may have taken rights away; give them back first.
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (!it->is_symlink(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(folder, ec);
  }
  g_made.clear();
}

}  // namespace

std::filesystem::path ScratchRoot() {
  static const std::filesystem::path root = [] {
    char tag[32];
    std::snprintf(tag, sizeof tag, "%zx", std::hash<std::string>{}(MIVO_BINARY_DIR));
    if (access("/dev/shm", W_OK | X_OK) == 0)
      return std::filesystem::path("/dev/shm") / ("mivo-tests-" + std::to_string(getuid())) / tag;
    return std::filesystem::path(MIVO_BINARY_DIR) / "test-devices";
  }();
  return root;
}

std::filesystem::path FreshScratchFolder(const std::string& name) {
  const std::filesystem::path folder = ScratchRoot() / name;
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::create_directories(folder, ec);
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_owner == 0) {
    g_owner = getpid();
    std::atexit(RemoveMade);
  }
  g_made.push_back(folder);
  return folder;
}

}  // namespace testing_support
