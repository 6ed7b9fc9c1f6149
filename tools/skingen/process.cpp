#include "tools/skingen/process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace skingen {

bool RunProgram(const std::vector<std::string>& argv, std::string* error) {
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ);
  if (rc != 0) {
    *error = "cannot run " + argv[0] + ": " + std::strerror(rc);
    return false;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      *error = "lost " + argv[0] + ": " + std::strerror(errno);
      return false;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  *error = argv[0] + (WIFEXITED(status) ? " failed with exit code " + std::to_string(WEXITSTATUS(status))
                                        : std::string(" was stopped by a signal"));
  return false;
}

}  // namespace skingen
