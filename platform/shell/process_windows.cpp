#include "platform/shell/process_windows.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <thread>

#include "platform/registry/database.h"
#include "platform/shell/kernel.h"
#include "platform/win32/text.h"

namespace shell {

namespace {

constexpr char16_t kModule[] = u"\\Program Files\\mivo\\mivo.exe";

// Makes sure this process has its row (once per database).
void EnsureProcessRow(devdb::Database* db) {
  static std::uint64_t s_recordedFor = 0;
  if (s_recordedFor == devdb::DeviceDatabaseGeneration()) return;
  devdb::Statement st(db->handle(),
                      "INSERT OR REPLACE INTO processes(pid, start_time, module, host) VALUES (?1, ?2, ?3, 0)");
  st.Bind(1, static_cast<std::int64_t>(getpid()))
      .Bind(2, static_cast<std::int64_t>(ProcessStartTime(getpid())))
      .Bind(3, std::u16string(kModule));
  devdb::Statement stale(db->handle(), "DELETE FROM windows WHERE pid = ?1");
  stale.Bind(1, static_cast<std::int64_t>(getpid()));
  if (st.Run() && stale.Run()) s_recordedFor = devdb::DeviceDatabaseGeneration();
}

std::string InboxPath(int pid) {
  std::string run = RunFolder();
  if (run.empty()) return std::string();
  ::mkdir(run.c_str(), 0755);
  ::mkdir((run + "/inbox").c_str(), 0755);
  return run + "/inbox/" + std::to_string(pid);
}

std::mutex g_listenerMutex;
std::thread g_listener;
int g_listenerFifo = -1;
int g_listenerStop = -1;

}  // namespace

void RecordWindow(std::uintptr_t hwnd, std::u16string_view className, std::u16string_view caption, bool visible) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  db->Transaction([&] {
    EnsureProcessRow(db);
    devdb::Statement st(
        db->handle(), "INSERT OR REPLACE INTO windows(pid, hwnd, class, caption, visible) VALUES (?1, ?2, ?3, ?4, ?5)");
    st.Bind(1, static_cast<std::int64_t>(getpid()))
        .Bind(2, static_cast<std::int64_t>(hwnd))
        .Bind(3, std::u16string(className))
        .Bind(4, std::u16string(caption))
        .Bind(5, static_cast<std::int64_t>(visible ? 1 : 0));
    return st.Run();
  });
}

void ForgetWindow(std::uintptr_t hwnd) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(), "DELETE FROM windows WHERE pid = ?1 AND hwnd = ?2");
  st.Bind(1, static_cast<std::int64_t>(getpid())).Bind(2, static_cast<std::int64_t>(hwnd));
  st.Run();
}

void ForgetAllWindows() {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  db->Transaction([&] {
    devdb::Statement w(db->handle(), "DELETE FROM windows WHERE pid = ?1");
    w.Bind(1, static_cast<std::int64_t>(getpid()));
    devdb::Statement p(db->handle(), "DELETE FROM processes WHERE pid = ?1");
    p.Bind(1, static_cast<std::int64_t>(getpid()));
    return w.Run() && p.Run();
  });
}

void RecordHostProgram(int pid, const std::u16string& module, const std::u16string& caption) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  db->Transaction([&] {
    devdb::Statement p(db->handle(),
                       "INSERT OR REPLACE INTO processes(pid, start_time, module, host) VALUES (?1, ?2, ?3, 1)");
    p.Bind(1, static_cast<std::int64_t>(pid)).Bind(2, static_cast<std::int64_t>(ProcessStartTime(pid))).Bind(3, module);
    devdb::Statement w(
        db->handle(),
        "INSERT OR REPLACE INTO windows(pid, hwnd, class, caption, visible) VALUES (?1, 0, 'mivoHostProgram', ?2, 1)");
    w.Bind(1, static_cast<std::int64_t>(pid)).Bind(2, caption);
    return p.Run() && w.Run();
  });
}

std::vector<ProcessWindow> ListOtherWindows() {
  std::vector<ProcessWindow> out;
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return out;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  std::vector<int> dead;
  {
    devdb::Statement st(db->handle(),
                        "SELECT w.pid, w.hwnd, w.class, w.caption, w.visible, p.module, p.host, p.start_time "
                        "FROM windows w JOIN processes p ON p.pid = w.pid WHERE w.pid != ?1 ORDER BY w.rowid");
    st.Bind(1, static_cast<std::int64_t>(getpid()));
    while (st.Step() == SQLITE_ROW) {
      int pid = static_cast<int>(st.Int(0));
      if (!IsProcessAlive(pid) || ProcessStartTime(pid) != st.Int(7)) {
        dead.push_back(pid);
        continue;
      }
      ProcessWindow w;
      w.pid = pid;
      w.hwnd = static_cast<std::uintptr_t>(st.Int(1));
      w.className = st.Text16(2);
      w.caption = st.Text16(3);
      w.visible = st.Int(4) != 0;
      w.module = st.Text16(5);
      w.hostProgram = st.Int(6) != 0;
      out.push_back(w);
    }
  }
  if (!dead.empty()) {
    db->Transaction([&] {
      for (int pid : dead) {
        devdb::Statement w(db->handle(), "DELETE FROM windows WHERE pid = ?1");
        w.Bind(1, static_cast<std::int64_t>(pid));
        devdb::Statement p(db->handle(), "DELETE FROM processes WHERE pid = ?1");
        p.Bind(1, static_cast<std::int64_t>(pid));
        w.Run();
        p.Run();
      }
      return true;
    });
  }
  return out;
}

bool RequestForeground(int pid, std::uintptr_t hwnd) {
  std::string path = InboxPath(pid);
  if (path.empty()) return false;
  int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  std::string line = "foreground " + std::to_string(hwnd) + "\n";
  bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  ::close(fd);
  return ok;
}

void StartForegroundListener(std::function<void(std::uintptr_t)> handler) {
  std::lock_guard<std::mutex> lock(g_listenerMutex);
  if (g_listener.joinable()) return;
  std::string path = InboxPath(getpid());
  if (path.empty()) return;
  ::unlink(path.c_str());
  if (::mkfifo(path.c_str(), 0600) != 0) return;
  g_listenerFifo = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  g_listenerStop = eventfd(0, EFD_CLOEXEC);
  if (g_listenerFifo < 0 || g_listenerStop < 0) return;
  g_listener = std::thread([handler = std::move(handler)] {
    std::string pending;
    for (;;) {
      pollfd fds[2] = {{g_listenerFifo, POLLIN, 0}, {g_listenerStop, POLLIN, 0}};
      if (poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents) return;
      char buf[256];
      ssize_t n = ::read(g_listenerFifo, buf, sizeof buf);
      if (n <= 0) continue;
      pending.append(buf, static_cast<std::size_t>(n));
      for (auto eol = pending.find('\n'); eol != std::string::npos; eol = pending.find('\n')) {
        std::string line = pending.substr(0, eol);
        pending.erase(0, eol + 1);
        if (line.rfind("foreground ", 0) == 0)
          handler(static_cast<std::uintptr_t>(std::strtoull(line.c_str() + 11, nullptr, 10)));
      }
    }
  });
}

void StopForegroundListener() {
  std::lock_guard<std::mutex> lock(g_listenerMutex);
  if (!g_listener.joinable()) return;
  std::uint64_t one = 1;
  (void)!::write(g_listenerStop, &one, sizeof one);
  g_listener.join();
  ::close(g_listenerFifo);
  ::close(g_listenerStop);
  ::unlink(InboxPath(getpid()).c_str());
  g_listenerFifo = g_listenerStop = -1;
}

}  // namespace shell
