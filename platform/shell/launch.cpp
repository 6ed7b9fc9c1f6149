#include "platform/shell/launch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>

#include "platform/fs/device_path.h"
#include "platform/fs/files.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/shell/kernel.h"
#include "platform/shell/process_windows.h"
#include "platform/shell/shortcut.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace shell {

namespace {

constexpr char16_t kHostPrograms[] = u"Device\\Host Programs";

std::mutex g_programsMutex;
std::map<std::u16string, DeviceProgram> g_devicePrograms;  // by lower-case file name

DeviceProgram DeviceProgramFor(std::u16string_view file) {
  std::lock_guard<std::mutex> lock(g_programsMutex);
  auto it = g_devicePrograms.find(text::ToLower(fs::FileNamePart(file)));
  return it == g_devicePrograms.end() ? nullptr : it->second;
}

bool HostCommandFor(std::u16string_view name, std::u16string* command) {
  return !name.empty() && reg::GetString(HKEY_LOCAL_MACHINE, kHostPrograms, name, command) && !command->empty();
}

std::u16string WithoutExtension(std::u16string_view name) {
  auto dot = name.rfind(u'.');
  return std::u16string(dot == std::u16string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

bool LooksLikePath(std::u16string_view s) { return s.find_first_of(u"\\/") != std::u16string_view::npos; }

// Parameters of the phone's command lines are split the platform's way:
// spaces separate, double quotes group.
std::vector<std::string> SplitParameters(std::u16string_view params) {
  std::vector<std::string> out;
  std::u16string cur;
  bool quoted = false, any = false;
  for (char16_t c : params) {
    if (c == u'"') {
      quoted = !quoted;
      any = true;
    } else if (c == u' ' && !quoted) {
      if (any || !cur.empty()) out.push_back(text::ToUtf8(cur));
      cur.clear();
      any = false;
    } else {
      cur += c;
    }
  }
  if (any || !cur.empty()) out.push_back(text::ToUtf8(cur));
  return out;
}

// The full host path of a program name, searched along PATH (done before
// forking, since the child may only call async-signal-safe functions).
std::string FindExecutable(const std::string& name) {
  if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0 ? name : std::string();
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = (end > start ? dirs.substr(start, end - start) : ".") + "/" + name;
    struct stat st;
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
      return candidate;
    start = end + 1;
  }
  return std::string();
}

// Starts argv detached (a grandchild, so no zombie is left behind); the
// started process's pid, or 0 with the error set.
int StartDetached(const std::vector<std::string>& argv, DWORD* error) {
  std::string exe = argv.empty() ? std::string() : FindExecutable(argv[0]);
  if (exe.empty()) {
    *error = ERROR_FILE_NOT_FOUND;
    return 0;
  }
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int pidPipe[2], errPipe[2];
  if (pipe2(pidPipe, O_CLOEXEC) != 0) {
    *error = ERROR_TOO_MANY_OPEN_FILES;
    return 0;
  }
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    close(pidPipe[0]);
    close(pidPipe[1]);
    *error = ERROR_TOO_MANY_OPEN_FILES;
    return 0;
  }
  pid_t child = fork();
  if (child == 0) {
    setsid();
    pid_t grandchild = fork();
    if (grandchild == 0) {
      int devnull = open("/dev/null", O_RDWR);
      if (devnull >= 0) {
        dup2(devnull, 0);
        dup2(devnull, 1);
        dup2(devnull, 2);
      }
      execv(exe.c_str(), args.data());
      int e = errno;
      (void)!write(errPipe[1], &e, sizeof e);
      _exit(127);
    }
    (void)!write(pidPipe[1], &grandchild, sizeof grandchild);
    _exit(0);
  }
  close(pidPipe[1]);
  close(errPipe[1]);
  int pid = 0;
  if (child > 0) {
    waitpid(child, nullptr, 0);
    pid_t gc = 0;
    if (read(pidPipe[0], &gc, sizeof gc) == sizeof gc) pid = gc;
    int e = 0;
    // The error pipe closes on a successful exec; a value means exec failed.
    if (read(errPipe[0], &e, sizeof e) == sizeof e) {
      pid = 0;
      *error = e == ENOENT ? ERROR_FILE_NOT_FOUND : e == EACCES ? ERROR_ACCESS_DENIED : ERROR_BAD_EXE_FORMAT;
    }
  } else {
    *error = ERROR_NOT_ENOUGH_MEMORY;
  }
  close(pidPipe[0]);
  close(errPipe[0]);
  if (pid <= 0 && *error == 0) *error = ERROR_GEN_FAILURE;
  return pid;
}

void Record(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
            const std::vector<std::string>& argv, int pid, DWORD error) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return;
  std::string command;
  for (const auto& a : argv) command += (command.empty() ? "" : " ") + a;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  db->Transaction([&] {
    devdb::Statement st(
        db->handle(),
        "INSERT INTO launches(time, verb, file, parameters, command, pid, error) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    st.Bind(1, static_cast<std::int64_t>(std::time(nullptr)))
        .Bind(2, std::u16string(verb))
        .Bind(3, std::u16string(file))
        .Bind(4, std::u16string(parameters))
        .Bind(5, command)
        .Bind(6, static_cast<std::int64_t>(pid))
        .Bind(7, static_cast<std::int64_t>(error));
    return st.Run();
  });
}

}  // namespace

void RegisterDeviceProgram(std::u16string_view fileName, DeviceProgram program) {
  std::lock_guard<std::mutex> lock(g_programsMutex);
  g_devicePrograms[text::ToLower(fs::FileNamePart(fileName))] = program;
}

std::vector<std::string> SplitHostCommand(std::string_view command) {
  std::vector<std::string> out;
  std::string cur;
  bool any = false;
  char quote = 0;
  for (std::size_t i = 0; i < command.size(); ++i) {
    char c = command[i];
    if (quote) {
      if (c == quote) {
        quote = 0;
      } else if (c == '\\' && quote == '"' && i + 1 < command.size()) {
        cur += command[++i];
      } else {
        cur += c;
      }
    } else if (c == '"' || c == '\'') {
      quote = c;
      any = true;
    } else if (c == '\\' && i + 1 < command.size()) {
      cur += command[++i];
    } else if (c == ' ' || c == '\t') {
      if (any || !cur.empty()) out.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur += c;
    }
  }
  if (any || !cur.empty()) out.push_back(cur);
  return out;
}

bool ResolveLaunch(std::u16string_view fileIn, std::u16string_view parametersIn, ResolvedLaunch* out, DWORD* error) {
  std::u16string file(fileIn), parameters(parametersIn), caption;
  *error = 0;
  for (int depth = 0;; ++depth) {
    while (!file.empty() && file.front() == u'"') file.erase(0, 1);
    while (!file.empty() && file.back() == u'"') file.pop_back();
    if (file.empty()) {
      *error = ERROR_FILE_NOT_FOUND;
      return false;
    }
    if (fs::LowerExtension(file) != u".lnk") break;
    if (depth >= 8) {  // a shortcut loop
      *error = ERROR_FILE_NOT_FOUND;
      return false;
    }
    Shortcut s;
    if (!ReadShortcut(file, &s)) {
      *error = GetLastError() == ERROR_BAD_FORMAT ? ERROR_BAD_FORMAT : ERROR_FILE_NOT_FOUND;
      return false;
    }
    if (caption.empty()) caption = WithoutExtension(fs::FileNamePart(file));
    parameters = s.arguments.empty() ? parameters : parameters.empty() ? s.arguments : s.arguments + u" " + parameters;
    file = s.target;
  }
  std::u16string name = fs::FileNamePart(file);
  std::u16string ext = fs::LowerExtension(file);
  if (caption.empty()) caption = WithoutExtension(name);
  std::u16string command;
  std::vector<std::string> argv;
  if (DeviceProgram program = DeviceProgramFor(file); program && ext == u".exe") {
    ResolvedLaunch own;
    if (!program(parameters, &own)) {
      *error = ERROR_INVALID_PARAMETER;
      return false;
    }
    own.caption = own.caption.empty() ? caption : own.caption;
    *out = std::move(own);
    return true;
  }
  if (ext == u".exe" || (ext.empty() && !LooksLikePath(file))) {
    if (!HostCommandFor(file, &command) && !HostCommandFor(name, &command)) {
      *error = ERROR_FILE_NOT_FOUND;
      return false;
    }
    argv = SplitHostCommand(text::ToUtf8(command));
    for (auto& p : SplitParameters(parameters)) argv.push_back(p);
  } else {
    std::string host;
    if (!fs::ToHostPath(file, &host)) {
      *error = GetLastError();
      return false;
    }
    DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      *error = ERROR_FILE_NOT_FOUND;
      return false;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) ? !HostCommandFor(u"Folder", &command)
                                                : !HostCommandFor(file, &command) && !HostCommandFor(ext, &command)) {
      *error = ERROR_NO_ASSOCIATION;
      return false;
    }
    bool substituted = false;
    for (auto& a : SplitHostCommand(text::ToUtf8(command))) {
      auto at = a.find("%1");
      if (at != std::string::npos) {
        a.replace(at, 2, host);
        substituted = true;
      }
      argv.push_back(a);
    }
    if (!substituted) argv.push_back(host);
    for (auto& p : SplitParameters(parameters)) argv.push_back(p);
  }
  if (argv.empty()) {
    *error = ERROR_FILE_NOT_FOUND;
    return false;
  }
  out->argv = std::move(argv);
  out->caption = caption;
  return true;
}

std::vector<LaunchRecord> RecentLaunches(int limit) {
  std::vector<LaunchRecord> out;
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return out;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(
      db->handle(),
      "SELECT id, time, verb, file, parameters, command, pid, error FROM launches ORDER BY id DESC LIMIT ?1");
  st.Bind(1, static_cast<std::int64_t>(limit));
  while (st.Step() == SQLITE_ROW) {
    LaunchRecord r;
    r.id = st.Int(0);
    r.time = st.Int(1);
    r.verb = st.Text16(2);
    r.file = st.Text16(3);
    r.parameters = st.Text16(4);
    r.command = st.Text16(5);
    r.pid = static_cast<int>(st.Int(6));
    r.error = static_cast<DWORD>(st.Int(7));
    out.push_back(r);
  }
  return out;
}

// Resolves, starts and records one launch: false with the last error set;
// *pid is 0 when the device opened the program itself.
static bool Launch(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters, int* pid) {
  ResolvedLaunch resolved;
  DWORD error = 0;
  *pid = 0;
  const bool resolvedOk = ResolveLaunch(file, parameters, &resolved, &error);
  if (resolvedOk && !resolved.argv.empty()) *pid = StartDetached(resolved.argv, &error);
  // A program of the device whose host command is missing opens on the device.
  if (resolvedOk && !*pid && !resolved.onDevice.empty() && (resolved.argv.empty() || error == ERROR_FILE_NOT_FOUND)) {
    Record(verb, file, parameters, {text::ToUtf8(u"(on the device) " + resolved.onDevice)}, 0, 0);
    return true;
  }
  if (resolvedOk && resolved.argv.empty() && !error) error = ERROR_FILE_NOT_FOUND;
  Record(verb, file, parameters, resolved.argv, *pid, *pid ? 0 : error);
  if (!*pid) {
    SetLastError(error);
    return false;
  }
  RecordHostProgram(*pid, std::u16string(file), resolved.caption);
  return true;
}

}  // namespace shell

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info) {
  if (!info || !info->lpFile) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int pid = 0;
  if (!shell::Launch(info->lpVerb ? info->lpVerb : u"", info->lpFile, info->lpParameters ? info->lpParameters : u"",
                     &pid)) {
    info->hInstApp =
        reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(GetLastError() == ERROR_NO_ASSOCIATION ? 31 : 2));
    return FALSE;
  }
  info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(33));
  if (info->fMask & SEE_MASK_NOCLOSEPROCESS) info->hProcess = pid ? shell::OpenProcessHandle(pid) : nullptr;
  return TRUE;
}

BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, void*, void*, BOOL, DWORD, LPVOID, LPCWSTR,
                    LPSTARTUPINFOW, LPPROCESS_INFORMATION processInformation) {
  std::u16string file, parameters;
  if (applicationName && *applicationName) {
    file = applicationName;
    parameters = commandLine ? commandLine : u"";
  } else if (commandLine && *commandLine) {
    shell::SplitCommandLine(commandLine, &file, &parameters);
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int pid = 0;
  if (!shell::Launch(u"", file, parameters, &pid)) return FALSE;
  if (processInformation) {
    processInformation->hProcess = pid ? shell::OpenProcessHandle(pid) : nullptr;
    processInformation->hThread = nullptr;
    processInformation->dwProcessId = static_cast<DWORD>(pid);
    processInformation->dwThreadId = 0;
  }
  return TRUE;
}
