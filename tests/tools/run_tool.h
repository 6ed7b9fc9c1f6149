// Runs the build's tools (mivo-device, mivo-pack) and captures their exit code and output.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace testing_support {

struct ToolResult {
  int code = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs a program of the build with these arguments: its exit code and what it wrote.
inline ToolResult RunTool(const std::string& program, const std::vector<std::string>& args) {
  char errName[] = "/tmp/mivo-tool-err-XXXXXX";
  int errFd = mkstemp(errName);
  if (errFd >= 0) close(errFd);
  std::string errFile = errName;
  std::string cmd = ShellQuote(program);
  for (const auto& a : args) cmd += " " + ShellQuote(a);
  cmd += " 2>" + ShellQuote(errFile);
  ToolResult r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (FILE* f = std::fopen(errFile.c_str(), "rb")) {
    while ((n = fread(buf.data(), 1, buf.size(), f)) > 0) r.err.append(buf.data(), n);
    std::fclose(f);
  }
  std::remove(errFile.c_str());
  return r;
}

inline ToolResult RunMivoDevice(const std::vector<std::string>& args) {
  return RunTool(std::string(MIVO_BINARY_DIR) + "/tools/mivo-device/mivo-device", args);
}

#ifdef MIVO_PACK_PATH
inline ToolResult RunMivoPack(const std::vector<std::string>& args) { return RunTool(MIVO_PACK_PATH, args); }
#endif

// mivo-device on the device of a test's folder (DIR/device, where RunMivo keeps it).
inline ToolResult RunDeviceIn(const std::string& dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"--device", dir + "/device"});
  return RunMivoDevice(args);
}

}  // namespace testing_support
