// Runs mivo-device and captures its exit code and output.
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

inline ToolResult RunMivoDevice(const std::vector<std::string>& args) {
  char errName[] = "/tmp/mivo-tool-err-XXXXXX";
  int errFd = mkstemp(errName);
  if (errFd >= 0) close(errFd);
  std::string errFile = errName;
  std::string cmd = ShellQuote(std::string(MIVO_BINARY_DIR) + "/tools/mivo-device/mivo-device");
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

}  // namespace testing_support
