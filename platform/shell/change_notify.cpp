#include "platform/shell/change_notify.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/fs/device_path.h"
#include "platform/fs/files.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"

namespace {

struct Registration {
  HWND window;
  DWORD mask;
  bool recursive;
};

struct Watch {
  std::string hostDir;            // the watched host folder
  std::vector<int> registrations; // ids of the registrations that see it
};

std::mutex g_watchMutex;
int g_inotify = -1;
int g_stop = -1;
std::thread g_thread;
std::map<int, Registration> g_regs;   // by registration id
std::map<int, Watch> g_watches;       // by inotify watch descriptor
int g_nextReg = 1;

bool IsTemporary(const std::string& name) {
  return !name.empty() && name[0] == '.' && name.find(".~") != std::string::npos;
}

void Post(const Registration& r, LONG event, const std::u16string& a, const std::u16string& b,
          const std::string& host) {
  if (!(r.mask & static_cast<DWORD>(event))) return;
  auto* n = new FILECHANGENOTIFY;
  n->dwRefCount = 1;
  n->fci.wEventId = event;
  n->fci.uFlags = SHCNF_PATH;
  auto copy = [](const std::u16string& s) {
    auto* p = new char16_t[s.size() + 1];
    std::memcpy(p, s.c_str(), (s.size() + 1) * sizeof(char16_t));
    return reinterpret_cast<DWORD_PTR>(p);
  };
  n->fci.dwItem1 = copy(a);
  n->fci.dwItem2 = b.empty() ? 0 : copy(b);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!host.empty() && fs::StatHostPath(host, &data)) {
    n->fci.dwAttributes = data.dwFileAttributes;
    n->fci.ftModified = data.ftLastWriteTime;
    n->fci.nFileSize = data.nFileSizeLow;
  }
  if (!PostMessageW(r.window, WM_FILECHANGEINFO, 0, reinterpret_cast<LPARAM>(n))) SHChangeNotifyFree(n);
}

void AddWatch(const std::string& hostDir, int reg, bool recursive) {
  int wd = inotify_add_watch(g_inotify, hostDir.c_str(),
                             IN_CREATE | IN_DELETE | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB);
  if (wd < 0) return;
  Watch& w = g_watches[wd];
  w.hostDir = hostDir;
  w.registrations.push_back(reg);
  if (!recursive) return;
  if (DIR* d = opendir(hostDir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      std::string sub = hostDir + "/" + name;
      struct stat st;
      if (lstat(sub.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) AddWatch(sub, reg, true);
    }
    closedir(d);
  }
}

struct Pending {
  int wd;
  std::string name;
  bool dir;
};

void Emit(int wd, const std::string& name, LONG fileEvent, LONG dirEvent, bool dir,
          const std::u16string* newPath = nullptr, const std::string* newHost = nullptr) {
  auto it = g_watches.find(wd);
  if (it == g_watches.end()) return;
  std::string host = it->second.hostDir + "/" + name;
  std::u16string device;
  if (!fs::ToDevicePath(host, &device)) return;
  for (int id : it->second.registrations) {
    auto r = g_regs.find(id);
    if (r == g_regs.end()) continue;
    Post(r->second, dir ? dirEvent : fileEvent, device, newPath ? *newPath : std::u16string(),
         newHost ? *newHost : (fileEvent == SHCNE_DELETE ? std::string() : host));
  }
}

void Run() {
  std::vector<char> buf(64 * 1024);
  for (;;) {
    pollfd fds[2] = {{g_inotify, POLLIN, 0}, {g_stop, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) return;
    ssize_t n = read(g_inotify, buf.data(), buf.size());
    if (n <= 0) continue;
    std::lock_guard<std::mutex> lock(g_watchMutex);
    std::map<std::uint32_t, Pending> moves;  // IN_MOVED_FROM by cookie, waiting for its IN_MOVED_TO
    for (char* p = buf.data(); p < buf.data() + n;) {
      auto* e = reinterpret_cast<inotify_event*>(p);
      p += sizeof(inotify_event) + e->len;
      std::string name = e->len ? e->name : "";
      bool dir = e->mask & IN_ISDIR;
      if (e->mask & IN_IGNORED) {
        g_watches.erase(e->wd);
        continue;
      }
      if (e->mask & IN_MOVED_FROM) {
        moves[e->cookie] = Pending{e->wd, name, dir};
        continue;
      }
      if (e->mask & IN_MOVED_TO) {
        auto m = moves.find(e->cookie);
        if (m != moves.end() && IsTemporary(m->second.name)) {
          // A file replaced the system's way: the temporary renamed over it.
          Emit(e->wd, name, SHCNE_UPDATEITEM, SHCNE_UPDATEDIR, dir);
        } else if (m != moves.end() && m->second.wd == e->wd) {
          auto w = g_watches.find(e->wd);
          std::string newHost = w->second.hostDir + "/" + name;
          std::u16string newDevice;
          fs::ToDevicePath(newHost, &newDevice);
          Emit(m->second.wd, m->second.name, SHCNE_RENAMEITEM, SHCNE_RENAMEFOLDER, dir, &newDevice, &newHost);
        } else {
          if (m != moves.end()) Emit(m->second.wd, m->second.name, SHCNE_DELETE, SHCNE_RMDIR, m->second.dir);
          if (!IsTemporary(name)) Emit(e->wd, name, SHCNE_CREATE, SHCNE_MKDIR, dir);
        }
        if (m != moves.end()) moves.erase(m);
        continue;
      }
      if (IsTemporary(name)) continue;
      if (e->mask & IN_CREATE) {
        Emit(e->wd, name, SHCNE_CREATE, SHCNE_MKDIR, dir);
        auto w = g_watches.find(e->wd);
        if (dir && w != g_watches.end()) {
          for (int id : std::vector<int>(w->second.registrations)) {
            auto r = g_regs.find(id);
            if (r != g_regs.end() && r->second.recursive) AddWatch(w->second.hostDir + "/" + name, id, true);
          }
        }
      } else if (e->mask & IN_DELETE) {
        Emit(e->wd, name, SHCNE_DELETE, SHCNE_RMDIR, dir);
      } else if (e->mask & IN_CLOSE_WRITE) {
        Emit(e->wd, name, SHCNE_UPDATEITEM, SHCNE_UPDATEDIR, dir);
      } else if (e->mask & IN_ATTRIB) {
        Emit(e->wd, name, SHCNE_ATTRIBUTES, SHCNE_ATTRIBUTES, dir);
      }
    }
    // A move out of the watched folders is a deletion.
    for (auto& [cookie, m] : moves)
      if (!IsTemporary(m.name)) Emit(m.wd, m.name, SHCNE_DELETE, SHCNE_RMDIR, m.dir);
  }
}

}  // namespace

BOOL SHChangeNotifyRegister(HWND window, SHCHANGENOTIFYENTRY* entry) {
  if (!window || !entry || !entry->pszWatchDir) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string host;
  if (!fs::ToHostPath(entry->pszWatchDir, &host)) return FALSE;
  struct stat st;
  if (stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(g_watchMutex);
  if (g_inotify < 0) {
    g_inotify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    g_stop = eventfd(0, EFD_CLOEXEC);
    if (g_inotify < 0 || g_stop < 0) {
      SetLastError(ERROR_TOO_MANY_OPEN_FILES);
      return FALSE;
    }
    g_thread = std::thread(Run);
    g_thread.detach();  // lives with the process
  }
  int id = g_nextReg++;
  g_regs[id] = Registration{window, entry->dwEventMask, entry->fRecursive != FALSE};
  AddWatch(host, id, entry->fRecursive != FALSE);
  return TRUE;
}

BOOL SHChangeNotifyDeregister(HWND window) {
  std::lock_guard<std::mutex> lock(g_watchMutex);
  bool any = false;
  for (auto it = g_regs.begin(); it != g_regs.end();) {
    if (it->second.window == window) {
      for (auto w = g_watches.begin(); w != g_watches.end();) {
        auto& regs = w->second.registrations;
        regs.erase(std::remove(regs.begin(), regs.end(), it->first), regs.end());
        if (regs.empty()) {
          inotify_rm_watch(g_inotify, w->first);
          w = g_watches.erase(w);
        } else {
          ++w;
        }
      }
      it = g_regs.erase(it);
      any = true;
    } else {
      ++it;
    }
  }
  if (!any) SetLastError(ERROR_INVALID_PARAMETER);
  return any;
}

void SHChangeNotifyFree(FILECHANGENOTIFY* notify) {
  if (!notify) return;
  delete[] reinterpret_cast<char16_t*>(notify->fci.dwItem1);
  delete[] reinterpret_cast<char16_t*>(notify->fci.dwItem2);
  delete notify;
}
