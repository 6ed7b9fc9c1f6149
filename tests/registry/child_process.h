// Runs a helper program as a separate process (the device tests' helper,
// mivo-device, mivo). A fork of the test would share its SQLite connections.
#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <spawn.h>
#include <string>
#include <vector>

extern char** environ;

namespace testing_support {

// Starts the helper; returns its pid (or -1).
inline pid_t StartProcess(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> argStore = {program};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

// The helper program of the device tests (tests/registry/helper).
inline std::string HelperProgram() { return std::string(MIVO_BINARY_DIR) + "/tests/registry/helper/device_test_helper"; }

// Waits for a helper; its exit code, or -1 when it did not exit normally.
inline int WaitProcess(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace testing_support

