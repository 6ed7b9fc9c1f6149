#include "platform/registry/change_watcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/registry/database.h"

namespace devdb {

namespace {

std::atomic<bool> g_active{false};
std::atomic<std::uint64_t> g_watchedGeneration{1};

class Watcher {
 public:
  static Watcher& Instance() {
    static Watcher* w = new Watcher;  // lives to the end of the process
    return *w;
  }

  int Subscribe(const std::string& table, ChangeHandler handler) {
    int id;
    {
      std::lock_guard<std::mutex> lock(m_subsMutex);
      id = ++m_nextId;
      m_subs.emplace(id, Sub{table, std::move(handler)});
    }
    Start();
    return id;
  }

  void Unsubscribe(int id) {
    // Dispatch holds m_dispatchMutex while it calls handlers; taking it here
    // means the handler has returned (unless we are that handler).
    if (std::this_thread::get_id() == m_threadId.load()) {
      std::lock_guard<std::mutex> lock(m_subsMutex);
      m_subs.erase(id);
      return;
    }
    std::lock_guard<std::mutex> dispatch(m_dispatchMutex);
    std::lock_guard<std::mutex> lock(m_subsMutex);
    m_subs.erase(id);
  }

  void Start() {
    std::lock_guard<std::mutex> lock(m_runMutex);
    if (m_thread.joinable()) return;
    Database* shared = DeviceDatabase();
    if (!shared) return;
    std::string error;
    m_db = Database::Open(shared->path(), OpenMode::kOpenExisting, &error);
    if (!m_db) return;
    {
      Statement st(m_db->handle(), "SELECT coalesce(max(id), 0) FROM changes");
      m_last = st.Step() == SQLITE_ROW ? st.Int(0) : 0;
    }
    m_handled = m_last;
    m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_inotify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    std::string dir = shared->path();
    auto slash = dir.rfind('/');
    dir = slash == std::string::npos ? "." : dir.substr(0, slash);
    if (m_inotify >= 0) inotify_add_watch(m_inotify, dir.c_str(), IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE);
    m_stop = false;
    ++g_watchedGeneration;
    g_active = true;
    m_thread = std::thread([this] { Run(); });
  }

  void Stop() {
    std::lock_guard<std::mutex> lock(m_runMutex);
    if (!m_thread.joinable()) return;
    m_stop = true;
    g_active = false;
    std::uint64_t one = 1;
    (void)!write(m_wake, &one, sizeof one);
    m_thread.join();
    close(m_wake);
    if (m_inotify >= 0) close(m_inotify);
    m_wake = m_inotify = -1;
    m_db.reset();
  }

  void RestartIfSubscribed() {
    bool any;
    {
      std::lock_guard<std::mutex> lock(m_subsMutex);
      any = !m_subs.empty();
    }
    if (any) Start();
  }

  bool Sync(int timeoutMs) {
    std::int64_t target;
    {
      std::lock_guard<std::mutex> lock(m_runMutex);
      if (!m_thread.joinable() || !DeviceDatabase()) return true;
      Database* shared = DeviceDatabase();
      std::lock_guard<std::recursive_mutex> dbLock(shared->mutex());
      Statement st(shared->handle(), "SELECT coalesce(max(id), 0) FROM changes");
      target = st.Step() == SQLITE_ROW ? st.Int(0) : 0;
      std::uint64_t one = 1;
      (void)!write(m_wake, &one, sizeof one);
    }
    std::unique_lock<std::mutex> lock(m_progressMutex);
    return m_progress.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_handled >= target; });
  }

 private:
  struct Sub {
    std::string table;
    ChangeHandler handler;
  };

  void Run() {
    m_threadId = std::this_thread::get_id();
    std::int64_t lastVersion = -1;
    auto lastPrune = std::chrono::steady_clock::now();
    auto hotUntil = lastPrune;
    while (!m_stop) {
      std::int64_t version = m_db->DataVersion();
      if (version != lastVersion) {
        lastVersion = version;
        ++g_watchedGeneration;
        Drain();
      }
      auto now = std::chrono::steady_clock::now();
      if (now - lastPrune > std::chrono::seconds(60)) {
        Prune();
        lastPrune = now;
      }
      // A commit writes the log file (which wakes us) before it publishes the
      // new state in shared memory (which does not): after a file event look
      // again every 2 ms for a short while, so the change is not missed
      // until the slow poll.
      int timeout = std::chrono::steady_clock::now() < hotUntil ? 2 : 500;
      pollfd fds[2] = {{m_wake, POLLIN, 0}, {m_inotify, POLLIN, 0}};
      int n = poll(fds, m_inotify >= 0 ? 2 : 1, timeout);
      if (n > 0) {
        char buf[4096];
        if (fds[0].revents) {
          std::uint64_t v;
          (void)!read(m_wake, &v, sizeof v);
          lastVersion = -1;  // a sync request: look again even without a change
        }
        if (m_inotify >= 0 && fds[1].revents) {
          while (read(m_inotify, buf, sizeof buf) > 0) {}
          hotUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        }
      }
    }
    m_threadId = std::thread::id();
  }

  void Drain() {
    std::vector<Change> rows;
    {
      Statement st(m_db->handle(),
                   "SELECT id, tbl, op, coalesce(ref, ''), coalesce(name, ''), type, data FROM changes WHERE id > ?1 "
                   "ORDER BY id");
      st.Bind(1, m_last);
      while (st.Step() == SQLITE_ROW) {
        Change c;
        c.id = st.Int(0);
        c.table = st.Text(1);
        c.op = st.Text(2);
        c.ref = st.Text(3);
        c.name = st.Text(4);
        c.hasData = !st.IsNull(5);
        c.type = st.Int(5);
        c.data = st.Blob(6);
        rows.push_back(std::move(c));
      }
    }
    {
      std::lock_guard<std::mutex> dispatch(m_dispatchMutex);
      for (const Change& c : rows) {
        std::vector<ChangeHandler> handlers;
        {
          std::lock_guard<std::mutex> lock(m_subsMutex);
          for (auto& [id, sub] : m_subs)
            if (sub.table.empty() || sub.table == c.table) handlers.push_back(sub.handler);
        }
        for (auto& h : handlers) h(c);
        m_last = c.id;
      }
    }
    {
      std::lock_guard<std::mutex> lock(m_progressMutex);
      m_handled = m_last;
    }
    m_progress.notify_all();
  }

  // Keeps the log from growing without end: rows far behind are dropped.
  void Prune() {
    Statement st(m_db->handle(), "DELETE FROM changes WHERE id < ?1");
    st.Bind(1, m_last - 10000);
    st.Run();
  }

  std::mutex m_runMutex;        // start and stop
  std::thread m_thread;         // the watcher thread
  std::atomic<std::thread::id> m_threadId{};
  std::atomic<bool> m_stop{false};
  std::unique_ptr<Database> m_db;  // the watcher's own connection
  int m_wake = -1;              // eventfd: stop or sync request
  int m_inotify = -1;           // watch on device.db's folder
  std::int64_t m_last = 0;      // the newest change row handed out

  std::mutex m_subsMutex;       // guards m_subs
  std::mutex m_dispatchMutex;   // held while handlers run
  std::map<int, Sub> m_subs;
  int m_nextId = 0;

  std::mutex m_progressMutex;   // guards m_handled
  std::condition_variable m_progress;
  std::int64_t m_handled = 0;   // every row up to this id has been dispatched
};

}  // namespace

int SubscribeChanges(const std::string& table, ChangeHandler handler) {
  return Watcher::Instance().Subscribe(table, std::move(handler));
}

void UnsubscribeChanges(int id) { Watcher::Instance().Unsubscribe(id); }

void StopChangeWatcher() { Watcher::Instance().Stop(); }

bool ChangeWatcherActive() { return g_active.load(); }

std::uint64_t ChangeGeneration() { return g_watchedGeneration.load(); }

void RestartChangeWatcher() { Watcher::Instance().RestartIfSubscribed(); }

bool SyncChangeWatcher(int timeoutMs) { return Watcher::Instance().Sync(timeoutMs); }

}  // namespace devdb
