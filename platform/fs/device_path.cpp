#include "platform/fs/device_path.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace fs {

namespace {

std::string g_root;            // as given, without a trailing "/"
std::string g_realRoot;        // the root with every link resolved; filled on first need
std::mutex g_realRootMutex;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Splits into components, resolving "." and "..". False when ".." would climb
// above the root.
bool SplitComponents(std::u16string_view path, std::vector<std::u16string>* out) {
  std::u16string component;
  auto flush = [&]() -> bool {
    if (component.empty() || component == u".") {
    } else if (component == u"..") {
      if (out->empty()) return false;
      out->pop_back();
    } else {
      out->push_back(component);
    }
    component.clear();
    return true;
  };
  for (char16_t c : path) {
    if (IsSeparator(c)) {
      if (!flush()) return false;
    } else {
      component += c;
    }
  }
  return flush();
}

std::string RealRoot() {
  std::lock_guard<std::mutex> lock(g_realRootMutex);
  if (g_realRoot.empty()) {
    char buf[PATH_MAX];
    if (realpath(g_root.c_str(), buf)) g_realRoot = buf;
  }
  return g_realRoot;
}

bool IsInside(const std::string& path, const std::string& root) {
  if (root.empty()) return false;
  if (path == root) return true;
  return path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
         (root.back() == '/' || path[root.size()] == '/');
}

using Listing = detail::FolderListings::mapped_type;

bool ReadListing(const std::string& dir, Listing* out) {
  DIR* d = opendir(dir.c_str());
  if (!d) return false;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::u16string text = text::FromUtf8(name);
    out->emplace_back(std::move(name), std::move(text));
  }
  closedir(d);
  return true;
}

thread_local detail::FolderListings* t_listings = nullptr;  // set by a ListingScope

std::string ParentOf(const std::string& hostPath, std::string* name) {
  const auto slash = hostPath.rfind('/');
  if (slash == std::string::npos) return {};
  if (name) *name = hostPath.substr(slash + 1);
  return hostPath.substr(0, slash);
}

// A component that does not exist under its exact spelling: look for one that
// matches without case. Several matches: the first in byte order, so the
// choice does not depend on the directory's order.
bool FindNoCase(const std::string& dir, std::u16string_view name, std::string* found) {
  Listing read;
  const Listing* listing = &read;
  if (t_listings) {
    auto it = t_listings->find(dir);
    if (it == t_listings->end()) {
      if (!ReadListing(dir, &read)) return false;
      it = t_listings->emplace(dir, std::move(read)).first;
    }
    listing = &it->second;
  } else if (!ReadListing(dir, &read)) {
    return false;
  }
  bool any = false;
  for (const auto& [candidate, text] : *listing) {
    if (!text::EqualsNoCase(text, name)) continue;
    if (!any || candidate < *found) *found = candidate;
    any = true;
  }
  return any;
}

// The folder exists under exactly this spelling and no part of the way to it is a link: then the
// walk below would find each component as spelled, and one call answers for all of them (a path
// that is walked again for every file written into its folder).
bool IsPlainFolder(const std::string& hostFolder) {
#ifdef SYS_openat2
  open_how how{};
  how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
  how.resolve = RESOLVE_NO_SYMLINKS;
  const long fd = syscall(SYS_openat2, AT_FDCWD, hostFolder.c_str(), &how, sizeof how);
  if (fd < 0) return false;  // not there, a link on the way, or a kernel without openat2
  close(static_cast<int>(fd));
  return true;
#else
  (void)hostFolder;
  return false;
#endif
}

}  // namespace

// An inner scope keeps to the outer one's listings, which then stay complete.
ListingScope::ListingScope() : m_outer(t_listings) {
  if (!m_outer) t_listings = &m_listings;
}

ListingScope::~ListingScope() {
  if (!m_outer) t_listings = nullptr;
}

void NoteEntryAdded(const std::string& hostPath) {
  if (!t_listings) return;
  std::string name;
  auto it = t_listings->find(ParentOf(hostPath, &name));
  if (it == t_listings->end()) return;
  for (const auto& entry : it->second)
    if (entry.first == name) return;
  std::u16string text = text::FromUtf8(name);
  it->second.emplace_back(std::move(name), std::move(text));
}

void NoteEntryChanged(const std::string& hostPath) {
  if (!t_listings) return;
  // The folder that holds it, and what was listed inside it when it is a folder.
  t_listings->erase(ParentOf(hostPath, nullptr));
  const std::string inside = hostPath + "/";
  for (auto it = t_listings->begin(); it != t_listings->end();)
    it = it->first == hostPath || it->first.starts_with(inside) ? t_listings->erase(it) : std::next(it);
}

void SetDeviceRoot(const std::string& hostFolder) {
  std::string root = hostFolder;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  g_root = root;
  std::lock_guard<std::mutex> lock(g_realRootMutex);
  g_realRoot.clear();
}

const std::string& DeviceRoot() { return g_root; }

bool NormalizeDevicePath(std::u16string_view devicePath, std::u16string* normalized) {
  std::vector<std::u16string> parts;
  if (!SplitComponents(devicePath, &parts)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  std::u16string out;
  for (const auto& p : parts) out += u"\\" + p;
  if (out.empty()) out = u"\\";
  if (normalized) *normalized = out;
  return true;
}

bool ToHostPath(std::u16string_view devicePath, std::string* hostPath) {
  if (g_root.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  if (devicePath.find(u'\0') != std::u16string_view::npos) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  std::vector<std::u16string> parts;
  if (!SplitComponents(devicePath, &parts)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  std::string out = g_root;
  bool exists = true;   // everything so far exists on disk
  bool sawLink = false;
  std::size_t walkFrom = 0;
  if (!parts.empty()) {
    std::string folder = g_root;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) folder += "/" + text::ToUtf8(parts[i]);
    if (IsPlainFolder(folder)) {
      out = std::move(folder);
      walkFrom = parts.size() - 1;
    }
  }
  for (std::size_t i = walkFrom; i < parts.size(); ++i) {
    const std::u16string& part = parts[i];
    std::string name = text::ToUtf8(part);
    std::string candidate = out + "/" + name;
    if (exists) {
      struct stat st;
      if (lstat(candidate.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) sawLink = true;
      } else {
        std::string found;
        if (FindNoCase(out, part, &found)) {
          candidate = out + "/" + found;
          if (lstat(candidate.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) sawLink = true;
        } else {
          exists = false;
        }
      }
    }
    out = std::move(candidate);
  }
  if (sawLink) {
    // Some component is a link: where it leads must stay inside the device.
    // Resolve the longest existing prefix; a dangling link cannot be checked
    // and is refused.
    std::string real = RealRoot();
    std::string probe = out;
    char buf[PATH_MAX];
    for (;;) {
      struct stat st;
      if (lstat(probe.c_str(), &st) == 0) {
        if (!realpath(probe.c_str(), buf) || !IsInside(buf, real)) {
          SetLastError(ERROR_ACCESS_DENIED);
          return false;
        }
        break;
      }
      auto slash = probe.rfind('/');
      if (slash == std::string::npos || slash < g_root.size()) break;
      probe.resize(slash);
    }
  }
  if (hostPath) *hostPath = std::move(out);
  return true;
}

bool ToHostPathOfEntry(std::u16string_view devicePath, std::string* hostPath) {
  std::u16string normalized;
  if (devicePath.find(u'\0') != std::u16string_view::npos) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  if (!NormalizeDevicePath(devicePath, &normalized)) return false;
  if (normalized == u"\\") return ToHostPath(normalized, hostPath);
  std::string folder;
  if (!ToHostPath(ParentPath(normalized), &folder)) return false;
  const std::u16string name = FileNamePart(normalized);
  std::string entry = folder + "/" + text::ToUtf8(name);
  struct stat st;
  if (lstat(entry.c_str(), &st) != 0) {
    std::string found;
    if (FindNoCase(folder, name, &found)) entry = folder + "/" + found;
  }
  if (hostPath) *hostPath = std::move(entry);
  return true;
}

bool ToDevicePath(const std::string& hostPath, std::u16string* devicePath) {
  if (g_root.empty() || !IsInside(hostPath, g_root)) return false;
  std::string rest = hostPath.substr(g_root.size());
  std::u16string out;
  for (char16_t c : text::FromUtf8(rest)) out += (c == u'/') ? u'\\' : c;
  if (out.empty()) out = u"\\";
  if (devicePath) *devicePath = std::move(out);
  return true;
}

std::u16string ParentPath(std::u16string_view devicePath) {
  while (devicePath.size() > 1 && IsSeparator(devicePath.back())) devicePath.remove_suffix(1);
  auto pos = devicePath.find_last_of(u"\\/");
  if (pos == std::u16string_view::npos) return u"";
  if (pos == 0) return u"\\";
  return std::u16string(devicePath.substr(0, pos));
}

std::u16string FileNamePart(std::u16string_view devicePath) {
  while (!devicePath.empty() && IsSeparator(devicePath.back())) devicePath.remove_suffix(1);
  auto pos = devicePath.find_last_of(u"\\/");
  return std::u16string(pos == std::u16string_view::npos ? devicePath : devicePath.substr(pos + 1));
}

std::u16string LowerExtension(std::u16string_view devicePath) {
  const std::u16string name = FileNamePart(devicePath);
  const auto dot = name.rfind(u'.');
  return dot == std::u16string::npos ? std::u16string() : text::ToLower(name.substr(dot));
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  std::u16string out(folder);
  while (!out.empty() && IsSeparator(out.back())) out.pop_back();
  while (!name.empty() && IsSeparator(name.front())) name.remove_prefix(1);
  out += u'\\';
  out += name;
  return out;
}

}  // namespace fs
