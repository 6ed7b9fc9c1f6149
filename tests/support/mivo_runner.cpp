#include "tests/support/mivo_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/support/scratch.h"

namespace testing_support {

namespace {

// A safety net only: a run that hangs fails instead of blocking the suite.
constexpr int kHangLimitMs = 60000;

std::vector<char*> Argv(const std::vector<std::string>& args) {
  std::vector<char*> v;
  for (const std::string& a : args) v.push_back(const_cast<char*>(a.c_str()));
  v.push_back(nullptr);
  return v;
}

// With `err` null the program's standard error goes to DIR/stderr.txt.
int Spawn(const std::string& dir, const std::vector<std::string>& args, int* in, int* out, int* err) {
  int pin[2], pout[2], perr[2];
  if (pipe(pin) != 0 || pipe(pout) != 0 || pipe(perr) != 0) return -1;
  const std::string errFile = dir + "/stderr.txt";
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pin[0], 0);
    dup2(pout[1], 1);
    if (err) {
      dup2(perr[1], 2);
    } else {
      const int fd = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd >= 0) dup2(fd, 2);
    }
    for (int fd : {pin[0], pin[1], pout[0], pout[1], perr[0], perr[1]}) close(fd);
    if (chdir(dir.c_str()) != 0) _exit(126);
    std::vector<char*> argv = Argv(args);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pin[0]);
  close(pout[1]);
  close(perr[1]);
  *in = pin[1];
  *out = pout[0];
  if (err) {
    *err = perr[0];
  } else {
    close(perr[0]);
  }
  return pid;
}

void CollectDumps(RunResult* r) {
  std::size_t pos = 0;
  while (pos < r->out.size()) {
    std::size_t end = r->out.find('\n', pos);
    if (end == std::string::npos) end = r->out.size();
    const std::string line = r->out.substr(pos, end - pos);
    if (!line.empty() && line[0] == '{') r->dumps.push_back(Json::Parse(line));
    pos = end + 1;
  }
}

int WaitExit(int pid, int limitMs) {
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  for (;;) {
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(limitMs)) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    usleep(2000);
  }
}

}  // namespace

namespace {
std::string& ProgramPath() {
  static std::string path = std::string(MIVO_BINARY_DIR) + "/app/mivo";
  return path;
}
}  // namespace

std::string MivoPath() { return ProgramPath(); }
void SetProgramPath(const std::string& path) { ProgramPath() = path; }

std::string ProgramFolder(const std::string& dir) { return dir + "/device/fs/Program Files/mivo"; }

std::string FreshDir(const std::string& name) {
  const std::string dir = std::string(MIVO_BINARY_DIR) + "/test-tmp/" + name;
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  std::filesystem::create_directories(dir, ec);
  // The device itself lives with the other test devices (in memory where it
  // can); DIR/device leads there.
  std::filesystem::create_directory_symlink(FreshScratchFolder(name), dir + "/device", ec);
  return dir;
}

RunResult RunMivoArgs(const std::string& dir, const std::vector<std::string>& args, const std::string& input) {
  RunResult r;
  int in = -1, out = -1, err = -1;
  std::vector<std::string> full = {MivoPath()};
  full.insert(full.end(), args.begin(), args.end());
  const int pid = Spawn(dir, full, &in, &out, &err);
  if (pid < 0) return r;
  if (!input.empty() && write(in, input.data(), input.size()) < 0) {
    // the program ended before reading: its output tells why
  }
  close(in);
  // Read both pipes until they close.
  const auto start = std::chrono::steady_clock::now();
  pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
  int open = 2;
  char buf[4096];
  while (open > 0) {
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kHangLimitMs)) {
      kill(pid, SIGKILL);
      break;
    }
    if (poll(fds, 2, 200) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      const ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      } else {
        (i == 0 ? r.out : r.err).append(buf, static_cast<std::size_t>(n));
      }
    }
  }
  for (pollfd& f : fds) {
    if (f.fd >= 0) close(f.fd);
  }
  r.exitCode = WaitExit(pid, kHangLimitMs);
  CollectDumps(&r);
  return r;
}

RunResult RunMivo(const std::string& dir, const std::string& script, const std::vector<std::string>& args) {
  {
    std::ofstream f(dir + "/script.mvs");
    f << script;
  }
  std::vector<std::string> full = {"--headless", "--device", dir + "/device", "--script", dir + "/script.mvs"};
  full.insert(full.end(), args.begin(), args.end());
  return RunMivoArgs(dir, full);
}

MivoSession::MivoSession(const std::string& dir, const std::vector<std::string>& args) {
  std::vector<std::string> full = {MivoPath(), "--headless", "--device", dir + "/device", "--script", "-"};
  full.insert(full.end(), args.begin(), args.end());
  signal(SIGPIPE, SIG_IGN);
  m_pid = Spawn(dir, full, &m_in, &m_out, nullptr);
}

MivoSession::~MivoSession() {
  if (m_pid > 0) Finish();
}

void MivoSession::Send(const std::string& line) {
  if (m_in < 0) return;
  const std::string l = line + "\n";
  if (write(m_in, l.data(), l.size()) < 0) {
    close(m_in);
    m_in = -1;
  }
}

std::string MivoSession::ReadLine() {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const std::size_t nl = m_buffer.find('\n');
    if (nl != std::string::npos) {
      std::string line = m_buffer.substr(0, nl);
      m_buffer.erase(0, nl + 1);
      return line;
    }
    if (m_out < 0) return "";
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kHangLimitMs)) return "";
    pollfd p{m_out, POLLIN, 0};
    if (poll(&p, 1, 200) <= 0) continue;
    char buf[4096];
    const ssize_t n = read(m_out, buf, sizeof buf);
    if (n <= 0) {
      close(m_out);
      m_out = -1;
      continue;
    }
    m_buffer.append(buf, static_cast<std::size_t>(n));
  }
}

Json MivoSession::Dump() {
  Send("dump");
  for (;;) {
    const std::string line = ReadLine();
    if (line.empty() && m_out < 0) return Json::Parse("");
    if (!line.empty() && line[0] == '{') return Json::Parse(line);
    if (line.empty()) return Json::Parse("");
  }
}

int MivoSession::Finish() {
  if (m_pid <= 0) return -1;
  Send("exit");
  if (m_in >= 0) close(m_in);
  m_in = -1;
  const int code = WaitExit(m_pid, kHangLimitMs);
  if (m_out >= 0) close(m_out);
  m_out = -1;
  m_pid = -1;
  return code;
}

}  // namespace testing_support
