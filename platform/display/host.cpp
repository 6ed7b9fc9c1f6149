#include "platform/display/host.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/display/headless_screen.h"
#include "platform/display/png.h"
#include "platform/fs/device_path.h"
#include "platform/win32/clock.h"
#include "platform/window/framework.h"
#include "platform/window/input.h"
#include "platform/window/message.h"
#include "platform/window/window.h"

namespace display {

std::unique_ptr<Screen> CreateSdlScreen();

namespace {

struct Backend {
  const char* name;
  std::unique_ptr<Screen> (*create)();
};

std::unique_ptr<Screen> CreateHeadless() { return std::make_unique<HeadlessScreen>(); }

constexpr Backend kBackends[] = {
    {"sdl", CreateSdlScreen},
    {"headless", CreateHeadless},
};

// Attempts after which a program that will not end is stopped.
constexpr int kExitAttemptsBeforeForce = 50;

bool MakeFolders(const std::string& path, std::string* error) {
  std::string partial;
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = path.find('/', pos + 1);
    partial = path.substr(0, pos);
    if (partial.empty()) continue;
    if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) {
      *error = "cannot create " + partial + ": " + std::strerror(errno);
      return false;
    }
  }
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    *error = path + " is not a folder";
    return false;
  }
  return true;
}

bool ParseSize(const std::string& s, int* w, int* h) {
  const std::size_t x = s.find_first_of("xX");
  if (x == std::string::npos) return false;
  char* end = nullptr;
  const long a = std::strtol(s.c_str(), &end, 10);
  if (end != s.c_str() + x) return false;
  const long b = std::strtol(s.c_str() + x + 1, &end, 10);
  if (*end != 0 || end == s.c_str() + x + 1) return false;
  *w = static_cast<int>(a);
  *h = static_cast<int>(b);
  return true;
}

}  // namespace

std::unique_ptr<Screen> CreateScreen(const std::string& name) {
  for (const Backend& b : kBackends) {
    if (name == b.name) return b.create();
  }
  return nullptr;
}

void Screen::PresentIfDirty() {
  if (window::TakeFrameDirty()) Present(window::GetFramebuffer());
}

std::string DefaultDeviceFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return std::string(xdg) + "/mivo/device";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/share/mivo/device";
}

std::string UsageText() {
  return "usage: mivo [--device DIR] [--screen WxH] [--headless] [--fullscreen] [--scale N]\n"
         "            [--script FILE|-] [--frames DIR]\n"
         "  --device DIR    the device folder (default " +
         DefaultDeviceFolder() +
         ")\n"
         "  --screen WxH    screen size in pixels, 100..4096 each (default 240x320)\n"
         "  --headless      no window: draw in memory, virtual time (tests, screenshots)\n"
         "  --fullscreen    cover the whole monitor (a small touch panel)\n"
         "  --scale N       show each screen pixel as NxN (default: the largest that fits)\n"
         "  --script FILE   run scenario commands from FILE, or standard input with -\n"
         "  --frames DIR    headless: write every presented frame to DIR as PNG\n";
}

bool ParseOptions(int argc, char** argv, Options* o, int* exitCode) {
  *o = Options{};
  o->device = DefaultDeviceFolder();
  auto fail = [&](const std::string& message) {
    std::fprintf(stderr, "mivo: %s\n%s", message.c_str(), UsageText().c_str());
    *exitCode = 2;
    return false;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      std::fputs(UsageText().c_str(), stdout);
      *exitCode = 0;
      return false;
    } else if (a == "--headless") {
      o->headless = true;
    } else if (a == "--fullscreen") {
      o->fullscreen = true;
    } else if (a == "--device") {
      if (!value(&o->device) || o->device.empty()) return fail("--device needs a folder");
    } else if (a == "--screen") {
      if (!value(&v)) return fail("--screen needs WxH");
      int w = 0, h = 0;
      if (!ParseSize(v, &w, &h)) return fail("bad screen size '" + v + "' (WxH, e.g. 240x320)");
      if (w < 100 || w > 4096 || h < 100 || h > 4096) {
        return fail("screen size " + v + " is out of range (100..4096 pixels each way)");
      }
      o->width = w;
      o->height = h;
    } else if (a == "--scale") {
      if (!value(&v)) return fail("--scale needs a number");
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      if (*end != 0 || n < 1 || n > 16) return fail("bad scale '" + v + "' (1..16)");
      o->scale = static_cast<int>(n);
    } else if (a == "--script") {
      if (!value(&o->script) || o->script.empty()) return fail("--script needs a file or -");
      // A folder reads as a script that is simply empty: the run would do
      // nothing and end as if all went well.
      std::error_code ec;
      if (std::filesystem::is_directory(o->script, ec))
        return fail("the script " + o->script + " is a folder, not a file");
    } else if (a == "--frames") {
      if (!value(&o->framesDir) || o->framesDir.empty()) return fail("--frames needs a folder");
    } else {
      return fail("unknown argument '" + a + "'");
    }
  }
  return true;
}

Host::Host() = default;

Host::~Host() {
  window::SetEventSource(nullptr);
  window::SetPresenter(nullptr);
  // The reader must be gone before the queue it hands lines to is destroyed.
  if (m_stdinReader.joinable()) {
    const char stop = 1;
    if (write(m_stopPipe[1], &stop, 1) < 0) {
      // the pipe is ours and open: this cannot fail in practice
    }
    m_stdinReader.join();
  }
  for (int fd : m_stopPipe) {
    if (fd >= 0) close(fd);
  }
}

bool Host::Start(const Options& options) {
  m_options = options;
  std::string error;
  if (!MakeFolders(options.device + "/fs", &error)) {
    std::fprintf(stderr, "mivo: %s\n", error.c_str());
    return false;
  }
  fs::SetDeviceRoot(options.device + "/fs");

  ScreenOptions so;
  so.width = options.width;
  so.height = options.height;
  so.scale = options.scale;
  so.fullscreen = options.fullscreen;
  so.framesDir = options.framesDir;
  if (!options.framesDir.empty() && !MakeFolders(options.framesDir, &error)) {
    std::fprintf(stderr, "mivo: %s\n", error.c_str());
    return false;
  }

  bool headless = options.headless;
  if (!headless) {
    m_screen = CreateScreen("sdl");
    if (!m_screen->Open(so, &error)) {
      std::fprintf(stderr, "mivo: %s: running headless instead\n", error.c_str());
      m_screen.reset();
      headless = true;
    }
  }
  if (headless) {
    m_screen = CreateScreen("headless");
    m_screen->Open(so, &error);
    sysclock::UseVirtualTime();
  } else {
    sysclock::UseRealTime();
  }
  m_options.headless = headless;

  window::SetScreenSize(options.width, options.height);
  window::CreateFramebuffer(options.width, options.height);
  window::SetEventSource(m_screen.get());
  window::SetPresenter([this] {
    if (m_screen) m_screen->PresentIfDirty();
  });
  window::input::AddKeyHook([this](UINT vk, bool down) {
    if (vk != VK_F3) return false;
    if (down) Rotate();
    return true;
  });
  auto closeAttempts = std::make_shared<int>(0);
  m_screen->onCloseRequest = [this, closeAttempts] { RequestExit((*closeAttempts)++); };

  ScriptHost sh;
  sh.rotate = [this] { Rotate(); };
  sh.shot = [](const std::string& path, std::string* err) { return WritePng(path, window::GetFramebuffer(), err); };
  sh.requestExit = [this](int attempt) { RequestExit(attempt); };
  sh.print = [](const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  };
  sh.fail = [this](int line, const std::string& message) {
    const std::string where = m_options.script == "-" ? "standard input" : m_options.script;
    std::fprintf(stderr, "mivo: %s:%d: %s\n", where.c_str(), line, message.c_str());
    m_scriptFailed = true;
  };
  m_script = std::make_unique<ScriptRunner>(sh, headless);

  if (options.script == "-") {
    StartStdinReader();
  } else if (!options.script.empty()) {
    std::ifstream in(options.script);
    if (!in) {
      std::fprintf(stderr, "mivo: cannot read the script %s: %s\n", options.script.c_str(), std::strerror(errno));
      m_scriptFailed = true;
      return false;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    int bad = 0;
    std::string message;
    if (!ScriptRunner::Check(lines, &bad, &message)) {
      std::fprintf(stderr, "mivo: %s:%d: %s\n", options.script.c_str(), bad, message.c_str());
      m_scriptFailed = true;
      return false;
    }
    for (const std::string& line : lines) m_script->AddLine(line);
    m_script->AddEnd();
  } else if (headless) {
    // Nothing drives a headless run without a script: show the first frame and end.
    std::fprintf(stderr, "mivo: headless without --script: showing the first frame, then ending\n");
    m_script->AddEnd();
  } else {
    m_script.reset();
  }
  m_screen->SetScript(m_script.get());
  return true;
}

void Host::StartStdinReader() {
  if (pipe(m_stopPipe) != 0) m_stopPipe[0] = m_stopPipe[1] = -1;
  ScriptRunner* runner = m_script.get();
  const int stopFd = m_stopPipe[0];
  m_stdinReader = std::thread([runner, stopFd] {
    std::string pending;
    char buf[4096];
    for (;;) {
      pollfd fds[2] = {{0, POLLIN, 0}, {stopFd, POLLIN, 0}};
      if (poll(fds, stopFd >= 0 ? 2 : 1, -1) < 0) {
        if (errno == EINTR) continue;
        break;
      }
      if (fds[1].revents) return;  // the program ends: no more lines are wanted
      const ssize_t n = read(0, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;  // end of input
      pending.append(buf, static_cast<std::size_t>(n));
      for (std::size_t nl; (nl = pending.find('\n')) != std::string::npos;) {
        std::string line = pending.substr(0, nl);
        pending.erase(0, nl + 1);
        RunOnUiThread([runner, line] { runner->AddLine(line); });
      }
    }
    if (!pending.empty()) RunOnUiThread([runner, pending] { runner->AddLine(pending); });
    RunOnUiThread([runner] { runner->AddEnd(); });
  });
}

void Host::Rotate() {
  const SIZE s = window::GetScreenSize();
  window::input::ResetInput();
  window::ChangeScreenSize(s.cy, s.cx);
  if (m_screen) m_screen->Resize(s.cy, s.cx);
}

void Host::RequestExit(int attempt) {
  if (attempt == 0) {
    CWnd* main = AfxGetMainWnd();
    HWND target = main ? main->m_hWnd : nullptr;
    if (!target) target = GetForegroundWindow();
    if (target) {
      PostMessageW(target, WM_CLOSE, 0, 0);
    } else {
      PostQuitMessage(0);
    }
    return;
  }
  if (attempt < kExitAttemptsBeforeForce) {
    PostQuitMessage(0);
    return;
  }
  std::fprintf(stderr, "mivo: the program does not end; stopping it\n");
  std::fflush(stdout);
  std::_Exit(1);
}

int Host::ExitCode(int appCode) const { return m_scriptFailed ? 2 : appCode; }

}  // namespace display
