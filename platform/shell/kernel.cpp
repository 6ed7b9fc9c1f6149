#include "platform/shell/kernel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/fs/device_path.h"
#include "platform/registry/database.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/text.h"

namespace {

std::string g_runFolder;

// One kernel object; kinds below.
struct Object {
  virtual ~Object() = default;
  std::mutex mutex;
  std::condition_variable cv;
  bool closed = false;  // the handle was closed: waits fail
};

struct Event : Object {
  bool manual = false;
  bool signalled = false;
  int fifo = -1;        // named: the FIFO, opened read-write
  int stopFd = -1;      // named: wakes the reader thread to end
  std::thread reader;   // named: turns bytes in the FIFO into signals
  std::string fifoPath;
};

struct Mutex : Object {
  int existsFd = -1;                 // named: the lock file held while this process has it
  int ownerFd = -1;                  // named: the lock file of ownership
  std::thread::id owner;             // owning thread
  int count = 0;                     // recursion count
};

struct Thread : Object {
  bool done = false;
  DWORD exitCode = STILL_ACTIVE;
};

struct Process : Object {
  int pid = 0;
  long long startTime = 0;
};

std::mutex g_tableMutex;
std::map<std::uintptr_t, std::shared_ptr<Object>> g_objects;
std::uintptr_t g_nextKernelHandle = 0x4B000000;

HANDLE Add(std::shared_ptr<Object> object) {
  std::lock_guard<std::mutex> lock(g_tableMutex);
  std::uintptr_t v = g_nextKernelHandle;
  g_nextKernelHandle += 4;
  g_objects.emplace(v, std::move(object));
  return reinterpret_cast<HANDLE>(v);
}

std::shared_ptr<Object> Find(HANDLE h) {
  std::lock_guard<std::mutex> lock(g_tableMutex);
  auto it = g_objects.find(reinterpret_cast<std::uintptr_t>(h));
  return it == g_objects.end() ? nullptr : it->second;
}

// A file-name-safe spelling of an object name.
std::string Escape(std::u16string_view name) {
  std::string utf8 = text::ToUtf8(name), out;
  for (unsigned char c : utf8) {
    if (std::isalnum(c) || c == '_' || c == '-' || c == '.') {
      out += static_cast<char>(c);
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    }
  }
  return out;
}

std::string RunSubfolder(const char* kind) {
  std::string run = shell::RunFolder();
  if (run.empty()) return std::string();
  ::mkdir(run.c_str(), 0755);
  std::string dir = run + "/" + kind;
  ::mkdir(dir.c_str(), 0755);
  return dir;
}

void SignalLocal(Event& e) {
  std::lock_guard<std::mutex> lock(e.mutex);
  e.signalled = true;
  if (e.manual)
    e.cv.notify_all();
  else
    e.cv.notify_one();
}

void ReaderLoop(Event* e) {
  for (;;) {
    pollfd fds[2] = {{e->fifo, POLLIN, 0}, {e->stopFd, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (fds[0].revents & POLLIN) {
      char buf[64];
      ssize_t n = read(e->fifo, buf, sizeof buf);
      if (n > 0) SignalLocal(*e);
    }
  }
}

HANDLE OpenNamedEvent(const std::shared_ptr<Event>& e, std::u16string_view name) {
  std::string dir = RunSubfolder("events");
  if (dir.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  e->fifoPath = dir + "/" + Escape(name);
  if (mkfifo(e->fifoPath.c_str(), 0600) != 0 && errno != EEXIST) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  // Another process has it open when a writer can open it already.
  bool existed = false;
  int probe = open(e->fifoPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (probe >= 0) {
    existed = true;
    close(probe);
  }
  e->fifo = open(e->fifoPath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  e->stopFd = eventfd(0, EFD_CLOEXEC);
  if (e->fifo < 0 || e->stopFd < 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  e->reader = std::thread(ReaderLoop, e.get());
  HANDLE h = Add(e);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

DWORD WaitObject(Object& o, DWORD ms, const std::function<bool()>& ready, const std::function<void()>& consume) {
  std::unique_lock<std::mutex> lock(o.mutex);
  auto pred = [&] { return o.closed || ready(); };
  if (ms == INFINITE) {
    o.cv.wait(lock, pred);
  } else if (!o.cv.wait_for(lock, std::chrono::milliseconds(ms), pred)) {
    return WAIT_TIMEOUT;
  }
  if (o.closed) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  consume();
  return WAIT_OBJECT_0;
}

}  // namespace

namespace shell {

void SetRunFolder(const std::string& hostFolder) { g_runFolder = hostFolder; }

const std::string& RunFolder() {
  if (g_runFolder.empty() && !fs::DeviceRoot().empty()) {
    std::string root = fs::DeviceRoot();
    auto slash = root.rfind('/');
    if (slash != std::string::npos) g_runFolder = root.substr(0, slash) + "/run";
  }
  return g_runFolder;
}

bool SignalNamedEvent(std::u16string_view name) {
  std::string dir = RunFolder();
  if (dir.empty()) return false;
  std::string path = dir + "/events/" + Escape(name);
  int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;  // ENXIO: nobody holds it open
  char one = 1;
  bool ok = write(fd, &one, 1) == 1 || errno == EAGAIN;  // a full FIFO is already signalled
  close(fd);
  return ok;
}

std::u16string NamedEventOfApplication(std::u16string_view app) {
  constexpr std::u16string_view kPrefix = u"\\\\.\\Notifications\\NamedEvents\\";
  if (app.size() > kPrefix.size() && text::StartsWithNoCase(app, kPrefix))
    return std::u16string(app.substr(kPrefix.size()));
  return u"";
}

bool IsProcessAlive(int pid) {
  if (pid <= 0) return false;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  auto close = line.rfind(')');
  if (close == std::string::npos || close + 2 >= line.size()) return false;
  char state = line[close + 2];
  return state != 'Z' && state != 'X';
}

long long ProcessStartTime(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  auto close = line.rfind(')');
  if (close == std::string::npos) return 0;
  // Fields after the name: state is field 3; starttime is field 22.
  std::size_t pos = close + 2;
  for (int field = 3; field < 22 && pos != std::string::npos; ++field) {
    pos = line.find(' ', pos);
    if (pos != std::string::npos) ++pos;
  }
  return pos == std::string::npos ? 0 : std::atoll(line.c_str() + pos);
}

HANDLE OpenProcessHandle(int pid) {
  auto p = std::make_shared<Process>();
  p->pid = pid;
  p->startTime = ProcessStartTime(pid);
  return Add(p);
}

}  // namespace shell

HANDLE CreateEventW(SECURITY_ATTRIBUTES*, BOOL manualReset, BOOL initialState, LPCWSTR name) {
  auto e = std::make_shared<Event>();
  e->manual = manualReset != FALSE;
  e->signalled = initialState != FALSE;
  if (name && *name) return OpenNamedEvent(e, name);
  SetLastError(ERROR_SUCCESS);
  return Add(e);
}

BOOL SetEvent(HANDLE h) {
  auto e = std::dynamic_pointer_cast<Event>(Find(h));
  if (!e) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (e->fifo >= 0) {
    // Through the FIFO, so that whichever process holds the event hears it.
    char one = 1;
    if (write(e->fifo, &one, 1) == 1 || errno == EAGAIN) return TRUE;
  }
  SignalLocal(*e);
  return TRUE;
}

BOOL ResetEvent(HANDLE h) {
  auto e = std::dynamic_pointer_cast<Event>(Find(h));
  if (!e) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(e->mutex);
  e->signalled = false;
  return TRUE;
}

HANDLE CreateMutexW(SECURITY_ATTRIBUTES*, BOOL initialOwner, LPCWSTR name) {
  auto m = std::make_shared<Mutex>();
  bool existed = false;
  if (name && *name) {
    std::string dir = RunSubfolder("mutexes");
    if (dir.empty()) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return nullptr;
    }
    std::string base = dir + "/" + Escape(name);
    m->existsFd = open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    m->ownerFd = open((base + ".owner").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m->existsFd < 0 || m->ownerFd < 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    // The lock is held as long as this process keeps the mutex; the kernel
    // drops it when the process dies.
    if (flock(m->existsFd, LOCK_EX | LOCK_NB) != 0) existed = true;
  }
  if (initialOwner && !existed) {
    if (m->ownerFd >= 0) flock(m->ownerFd, LOCK_EX);
    m->owner = std::this_thread::get_id();
    m->count = 1;
  }
  HANDLE h = Add(m);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

BOOL ReleaseMutex(HANDLE h) {
  auto m = std::dynamic_pointer_cast<Mutex>(Find(h));
  if (!m) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(m->mutex);
  if (m->count == 0 || m->owner != std::this_thread::get_id()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  if (--m->count == 0) {
    m->owner = std::thread::id();
    if (m->ownerFd >= 0) flock(m->ownerFd, LOCK_UN);
    m->cv.notify_one();
  }
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE h, DWORD ms) {
  auto object = Find(h);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  if (auto e = std::dynamic_pointer_cast<Event>(object)) {
    return WaitObject(*e, ms, [&] { return e->signalled; }, [&] {
      if (!e->manual) e->signalled = false;
    });
  }
  if (auto t = std::dynamic_pointer_cast<Thread>(object)) {
    return WaitObject(*t, ms, [&] { return t->done; }, [] {});
  }
  if (auto m = std::dynamic_pointer_cast<Mutex>(object)) {
    auto self = std::this_thread::get_id();
    DWORD r = WaitObject(*m, ms, [&] { return m->count == 0 || m->owner == self; }, [&] {
      m->owner = self;
      ++m->count;
    });
    if (r == WAIT_OBJECT_0 && m->count == 1 && m->ownerFd >= 0) {
      // Across processes: the owner lock, polled until the time is up.
      auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms == INFINITE ? 0 : ms);
      while (flock(m->ownerFd, LOCK_EX | LOCK_NB) != 0) {
        if (ms != INFINITE && std::chrono::steady_clock::now() >= deadline) {
          std::lock_guard<std::mutex> lock(m->mutex);
          m->count = 0;
          m->owner = std::thread::id();
          m->cv.notify_one();
          return WAIT_TIMEOUT;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    return r;
  }
  if (auto p = std::dynamic_pointer_cast<Process>(object)) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      if (!shell::IsProcessAlive(p->pid) || shell::ProcessStartTime(p->pid) != p->startTime) return WAIT_OBJECT_0;
      {
        std::lock_guard<std::mutex> lock(p->mutex);
        if (p->closed) return WAIT_FAILED;
      }
      if (ms != INFINITE && std::chrono::steady_clock::now() >= deadline) return WAIT_TIMEOUT;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return WAIT_FAILED;
}

BOOL CloseHandle(HANDLE h) {
  std::shared_ptr<Object> object;
  {
    std::lock_guard<std::mutex> lock(g_tableMutex);
    auto it = g_objects.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == g_objects.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    object = it->second;
    g_objects.erase(it);
  }
  {
    std::lock_guard<std::mutex> lock(object->mutex);
    object->closed = true;
    object->cv.notify_all();
  }
  if (auto e = std::dynamic_pointer_cast<Event>(object)) {
    if (e->reader.joinable()) {
      std::uint64_t one = 1;
      (void)!write(e->stopFd, &one, sizeof one);
      e->reader.join();
    }
    if (e->fifo >= 0) close(e->fifo);
    if (e->stopFd >= 0) close(e->stopFd);
  }
  if (auto m = std::dynamic_pointer_cast<Mutex>(object)) {
    if (m->existsFd >= 0) close(m->existsFd);
    if (m->ownerFd >= 0) close(m->ownerFd);
  }
  return TRUE;
}

HANDLE CreateThread(SECURITY_ATTRIBUTES*, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD,
                    LPDWORD threadId) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto t = std::make_shared<Thread>();
  static std::atomic<DWORD> s_nextId{1000};
  if (threadId) *threadId = s_nextId++;
  std::thread([t, start, parameter] {
    DWORD code = start(parameter);
    std::lock_guard<std::mutex> lock(t->mutex);
    t->done = true;
    t->exitCode = code;
    t->cv.notify_all();
  }).detach();
  return Add(t);
}

BOOL GetExitCodeThread(HANDLE h, LPDWORD exitCode) {
  auto t = std::dynamic_pointer_cast<Thread>(Find(h));
  if (!t || !exitCode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(t->mutex);
  *exitCode = t->exitCode;
  return TRUE;
}

BOOL GetExitCodeProcess(HANDLE h, LPDWORD exitCode) {
  auto p = std::dynamic_pointer_cast<Process>(Find(h));
  if (!p || !exitCode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // A host program is not our child: its exit code is not known, only its end.
  bool alive = shell::IsProcessAlive(p->pid) && shell::ProcessStartTime(p->pid) == p->startTime;
  *exitCode = alive ? STILL_ACTIVE : 0;
  return TRUE;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

BOOL CeRunAppAtEvent(LPCWSTR application, LONG event) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!application || !db) {
    SetLastError(!application ? ERROR_INVALID_PARAMETER : ERROR_CANTOPEN);
    return FALSE;
  }
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  bool ok = db->Transaction([&] {
    if (event == NOTIFICATION_EVENT_NONE) {
      devdb::Statement st(db->handle(), "DELETE FROM run_at_event WHERE app = ?1");
      st.Bind(1, std::u16string(application));
      return st.Run();
    }
    devdb::Statement st(db->handle(), "INSERT OR IGNORE INTO run_at_event(app, event) VALUES (?1, ?2)");
    st.Bind(1, std::u16string(application)).Bind(2, static_cast<std::int64_t>(event));
    return st.Run();
  });
  if (!ok) SetLastError(ERROR_CANTWRITE);
  return ok;
}

DWORD GetModuleFileNameW(HMODULE, LPWSTR fileName, DWORD size) {
  static const std::u16string kModule = u"\\Program Files\\mivo\\mivo.exe";
  if (!fileName || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::size_t n = std::min<std::size_t>(kModule.size(), size - 1);
  std::memcpy(fileName, kModule.data(), n * sizeof(char16_t));
  fileName[n] = 0;
  if (n < kModule.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  return static_cast<DWORD>(n);
}
