// Drives the real `mivo` program from tests: a whole headless script at once
// (RunMivo), or an interactive session over `--script -` (MivoSession) that
// sends commands and reads the `dump` lines back.
#pragma once

#include <string>
#include <vector>

#include "tests/support/json.h"

namespace testing_support {

// The built program: mivo, unless a test program chose another one that
// takes the same options (the platform's demonstration program).
std::string MivoPath();
void SetProgramPath(const std::string& path);
// A fresh, empty folder for one test (under the build folder). Its `device`
// leads to a fresh folder for the test's device under ScratchRoot, removed
// when the test process ends.
std::string FreshDir(const std::string& name);
// The program's own folder on the device of a FreshDir.
std::string ProgramFolder(const std::string& dir);

struct RunResult {
  int exitCode = -1;         // the program's exit code; -1 when it did not end normally
  std::string out;           // standard output
  std::string err;           // standard error
  std::vector<Json> dumps;   // every line of standard output that is a JSON object
};

// Runs `mivo --headless --device DIR/device --script DIR/script.mvs ARGS...`
// in DIR (so screenshots land there). Lines of `script` are written as given.
RunResult RunMivo(const std::string& dir, const std::string& script, const std::vector<std::string>& args = {});
// Runs mivo with exactly these arguments (no defaults added), in `dir`.
RunResult RunMivoArgs(const std::string& dir, const std::vector<std::string>& args, const std::string& input = "");

class MivoSession {
 public:
  // Starts `mivo --headless --device DIR/device --script - ARGS...` in DIR.
  MivoSession(const std::string& dir, const std::vector<std::string>& args = {});
  ~MivoSession();
  bool Running() const { return m_pid > 0; }
  void Send(const std::string& line);
  // Sends "dump" and reads the JSON line it prints (Null with an error on failure).
  Json Dump();
  // Sends "exit" (unless closing the input is enough) and waits; the exit code.
  int Finish();
  int Pid() const { return m_pid; }

 private:
  std::string ReadLine();
  int m_pid = -1;
  int m_in = -1;   // the program's standard input
  int m_out = -1;  // the program's standard output
  std::string m_buffer;
};

}  // namespace testing_support
