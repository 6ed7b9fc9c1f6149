#include "platform/fs/find.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "platform/fs/device_path.h"
#include "platform/fs/errno_map.h"
#include "platform/fs/files.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace fs {

bool MatchPattern(std::u16string_view pattern, std::u16string_view name) {
  if (pattern == u"*.*" || pattern == u"*") return true;
  // Iterative wildcard match with one backtrack point for the last "*".
  std::size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || text::ToLower(pattern[p]) == text::ToLower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  // "name.*" also matches "name" without an extension, as on the platform.
  if (p + 2 == pattern.size() && pattern[p] == u'.' && pattern[p + 1] == u'*') return true;
  return p == pattern.size();
}

}  // namespace fs

namespace {

struct FindState {
  std::vector<WIN32_FIND_DATAW> entries;  // matches, in name order
  std::size_t next = 0;                   // next entry for FindNextFileW
};

std::mutex g_findMutex;
std::map<std::uintptr_t, FindState> g_finds;
std::uintptr_t g_nextFind = 0x46000000;

bool HasWildcards(std::u16string_view s) { return s.find_first_of(u"*?") != std::u16string_view::npos; }

}  // namespace

HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
  if (!fileName || !findData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::u16string_view path(fileName);
  std::u16string pattern = fs::FileNamePart(path);
  std::u16string folder = fs::ParentPath(path);
  if (pattern.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  if (pattern == u"." || pattern == u"..") {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::string hostFolder;
  if (!fs::ToHostPath(folder.empty() ? u"\\" : folder, &hostFolder)) return INVALID_HANDLE_VALUE;
  DIR* d = opendir(hostFolder.c_str());
  if (!d) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : fs::ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  FindState state;
  bool wild = HasWildcards(pattern);
  std::vector<WIN32_FIND_DATAW> found;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::u16string name16 = text::FromUtf8(name);
    if (wild ? !fs::MatchPattern(pattern, name16) : !text::EqualsNoCase(pattern, name16)) continue;
    // Entries are listed as they are: a link shows what it leads to when
    // that can be read (a link to a folder is a folder), and one that leads
    // nowhere is listed all the same, so that it can be removed. The folder's
    // own record says which entries are links; only an unknown one is asked.
    const std::string entry = hostFolder + "/" + name;
    bool link = e->d_type == DT_LNK;
    if (e->d_type == DT_UNKNOWN) {
      struct stat st;
      if (::lstat(entry.c_str(), &st) != 0) continue;  // vanished meanwhile
      link = S_ISLNK(st.st_mode);
    }
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!fs::StatHostPath(entry, &info) && !(link && fs::StatHostPath(entry, &info, fs::LinkHandling::kEntryItself)))
      continue;  // vanished meanwhile
    if (link) info.dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    WIN32_FIND_DATAW fd;
    fd.dwFileAttributes = info.dwFileAttributes;
    fd.ftCreationTime = info.ftCreationTime;
    fd.ftLastAccessTime = info.ftLastAccessTime;
    fd.ftLastWriteTime = info.ftLastWriteTime;
    fd.nFileSizeHigh = info.nFileSizeHigh;
    fd.nFileSizeLow = info.nFileSizeLow;
    text::CopyTo(fd.cFileName, MAX_PATH, name16);
    found.push_back(fd);
  }
  closedir(d);
  if (found.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  // In name order; the records are large, so their positions are sorted.
  std::vector<std::size_t> order(found.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&found](std::size_t x, std::size_t y) {
    const char16_t* a = found[x].cFileName;
    const char16_t* b = found[y].cFileName;
    int c = text::CompareNoCase(a, b);
    return c != 0 ? c < 0 : std::u16string_view(a) < std::u16string_view(b);
  });
  state.entries.reserve(found.size());
  for (std::size_t i : order) state.entries.push_back(found[i]);
  *findData = state.entries[0];
  state.next = 1;
  std::lock_guard<std::mutex> lock(g_findMutex);
  std::uintptr_t id = g_nextFind;
  g_nextFind += 4;
  g_finds.emplace(id, std::move(state));
  SetLastError(ERROR_SUCCESS);
  return reinterpret_cast<HANDLE>(id);
}

BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW findData) {
  std::lock_guard<std::mutex> lock(g_findMutex);
  auto it = g_finds.find(reinterpret_cast<std::uintptr_t>(find));
  if (it == g_finds.end() || !findData) {
    SetLastError(it == g_finds.end() ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  FindState& state = it->second;
  if (state.next >= state.entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *findData = state.entries[state.next++];
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  std::lock_guard<std::mutex> lock(g_findMutex);
  if (g_finds.erase(reinterpret_cast<std::uintptr_t>(find)) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
