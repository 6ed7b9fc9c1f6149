#include "platform/fs/files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/fs/device_path.h"
#include "platform/fs/errno_map.h"
#include "platform/fs/file_io.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace fs {

namespace {

std::string BaseName(const std::string& host) {
  auto slash = host.rfind('/');
  return slash == std::string::npos ? host : host.substr(slash + 1);
}

// The parent of a path must exist for anything to be made in it.
bool ParentExists(const std::string& host) {
  auto slash = host.rfind('/');
  if (slash == std::string::npos) return false;
  struct stat st;
  return ::stat(host.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MapExisting(LPCWSTR path, std::string* host, struct stat* st) {
  if (!path) return Fail(ERROR_INVALID_PARAMETER);
  if (!ToHostPath(path, host)) return false;
  if (::stat(host->c_str(), st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Fail(ParentExists(*host) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return FailWithErrno();
  }
  return true;
}

// A copy waiting beside its target, locked against the cleaner of stale
// temporary files until it has been given its name.
struct TemporaryCopy {
  TemporaryCopy() = default;
  TemporaryCopy(const TemporaryCopy&) = delete;
  TemporaryCopy& operator=(const TemporaryCopy&) = delete;
  ~TemporaryCopy() {
    if (lockFd >= 0) ::close(lockFd);
  }
  std::string path;  // host path of the temporary file
  int lockFd = -1;   // holds the lock while the copy waits
};

// As MapExisting, but a link as the last component is the entry itself
// (lstat), not what it points at: removing or moving it takes the link.
bool MapEntry(LPCWSTR path, std::string* host, struct stat* st) {
  if (path && ToHostPathOfEntry(path, host) && ::lstat(host->c_str(), st) == 0 && S_ISLNK(st->st_mode)) return true;
  return MapExisting(path, host, st);
}

// Copies src into a temporary beside dst.
bool CopyToTemporary(const std::string& src, const std::string& dst, TemporaryCopy* temp) {
  int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return FailWithErrno();
  std::string name;
  int lock = -1;
  int out = CreateTemporaryBeside(dst, &name, &lock);
  if (out < 0) {
    ::close(in);
    return false;
  }
  struct stat st;
  if (::fstat(in, &st) == 0) ::fchmod(out, st.st_mode & 07777);
  char buf[65536];
  bool ok = true;
  int error = 0;
  for (;;) {
    ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;
      error = errno;
      break;
    }
    if (n == 0) break;
    for (ssize_t off = 0; off < n;) {
      ssize_t w = ::write(out, buf + off, static_cast<std::size_t>(n - off));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        ok = false;
        error = w < 0 ? errno : ENOSPC;
        break;
      }
      off += w;
    }
    if (!ok) break;
  }
  // In a batch the batch's one sync covers the copy.
  DurableBatch* batch = DurableBatch::Current();
  if (ok && !batch && ::fsync(out) != 0) {
    ok = false;
    error = errno;
  }
  ::close(in);
  if (::close(out) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(name.c_str());
    ::close(lock);
    return FailWithErrno(error);
  }
  temp->path = name;
  temp->lockFd = lock;
  if (batch) batch->Note(dst.substr(0, dst.rfind('/')));
  return true;
}

}  // namespace

FILETIME FileTimeFromUnix(std::int64_t seconds, long nanoseconds) {
  constexpr std::int64_t kEpochDifference = 11644473600LL;  // 1601-01-01 to 1970-01-01
  std::int64_t ticks = (seconds + kEpochDifference) * 10000000LL + nanoseconds / 100;
  if (ticks < 0) ticks = 0;
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
  return ft;
}

DWORD AttributesFor(const std::string& name, bool isDirectory, bool writable) {
  DWORD attributes = 0;
  if (isDirectory) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (!name.empty() && name[0] == '.') attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (!writable) attributes |= FILE_ATTRIBUTE_READONLY;
  if (!isDirectory) attributes |= FILE_ATTRIBUTE_ARCHIVE;
  return attributes;
}

bool StatHostPath(const std::string& hostPath, WIN32_FILE_ATTRIBUTE_DATA* data, LinkHandling links) {
  struct statx sx;
  const int flags = links == LinkHandling::kEntryItself ? AT_SYMLINK_NOFOLLOW : 0;
  if (::statx(AT_FDCWD, hostPath.c_str(), flags, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) return false;
  bool dir = S_ISDIR(sx.stx_mode);
  data->dwFileAttributes = AttributesFor(BaseName(hostPath), dir, (sx.stx_mode & S_IWUSR) != 0);
  auto born = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_ctime;
  data->ftCreationTime = FileTimeFromUnix(born.tv_sec, born.tv_nsec);
  data->ftLastAccessTime = FileTimeFromUnix(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
  data->ftLastWriteTime = FileTimeFromUnix(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
  std::uint64_t size = dir ? 0 : sx.stx_size;
  data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
  return true;
}

bool IsLink(std::u16string_view devicePath) {
  std::string host;
  struct stat st;
  return ToHostPathOfEntry(devicePath, &host) && ::lstat(host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool IsFolderLink(std::u16string_view devicePath) {
  std::string host;
  struct stat st;
  if (!ToHostPathOfEntry(devicePath, &host) || ::lstat(host.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
  return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteLink(std::u16string_view devicePath) {
  std::string host;
  struct stat st;
  if (!ToHostPathOfEntry(devicePath, &host)) return false;
  if (::lstat(host.c_str(), &st) != 0) return FailWithErrno();
  if (!S_ISLNK(st.st_mode)) return Fail(ERROR_INVALID_PARAMETER);
  NoteEntryChanged(host);
  if (::unlink(host.c_str()) != 0) return FailWithErrno();
  return true;
}

bool CopyLink(std::u16string_view devicePath, std::u16string_view newPath) {
  std::string host, target;
  if (!ToHostPathOfEntry(devicePath, &host) || !ToHostPathOfEntry(newPath, &target)) return false;
  std::string link(4096, '\0');
  const ssize_t n = ::readlink(host.c_str(), link.data(), link.size());
  if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return FailWithErrno(n < 0 ? errno : ENAMETOOLONG);
  link.resize(static_cast<std::size_t>(n));
  if (::symlink(link.c_str(), target.c_str()) != 0) return FailWithErrno();
  NoteEntryAdded(target);
  return true;
}

bool IsSameOrInsideFolder(std::u16string_view inner, std::u16string_view outer) {
  std::string innerHost, outerHost;
  struct stat outerSt;
  if (!ToHostPath(inner, &innerHost) || !ToHostPath(outer, &outerHost)) return false;
  if (::stat(outerHost.c_str(), &outerSt) != 0 || !S_ISDIR(outerSt.st_mode)) return false;
  // Every folder from inner up to the root, as the links lead: one of them
  // is the outer folder itself however either is named.
  char real[PATH_MAX];
  if (!::realpath(innerHost.c_str(), real)) return false;
  std::string folder = real;
  for (;;) {
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0 && st.st_dev == outerSt.st_dev && st.st_ino == outerSt.st_ino) return true;
    const auto slash = folder.rfind('/');
    if (slash == std::string::npos || folder == "/") return false;
    folder = slash == 0 ? "/" : folder.substr(0, slash);
  }
}

bool IsDirectory(std::u16string_view devicePath) {
  std::string host;
  struct stat st;
  return ToHostPath(devicePath, &host) && ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDirectories(std::u16string_view devicePath) {
  std::u16string normalized;
  if (!NormalizeDevicePath(devicePath, &normalized)) return false;
  std::u16string sofar;
  std::size_t start = 1;
  while (start <= normalized.size()) {
    std::size_t end = normalized.find(u'\\', start);
    if (end == std::u16string::npos) end = normalized.size();
    if (end > start) {
      sofar += u"\\" + normalized.substr(start, end - start);
      if (!IsDirectory(sofar) && !CreateDirectoryW(sofar.c_str(), nullptr)) return false;
    }
    start = end + 1;
  }
  return IsDirectory(normalized);
}

}  // namespace fs

using fs::Fail;
using fs::FailWithErrno;

DWORD GetFileAttributesW(LPCWSTR path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return INVALID_FILE_ATTRIBUTES;
  return data.dwFileAttributes;
}

BOOL GetFileAttributesExW(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID info) {
  if (!info || level != GetFileExInfoStandard) return Fail(ERROR_INVALID_PARAMETER);
  std::string host;
  struct stat st;
  if (!fs::MapExisting(path, &host, &st)) return FALSE;
  if (!fs::StatHostPath(host, static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(info))) return FailWithErrno();
  return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
  if (!path) return Fail(ERROR_INVALID_PARAMETER);
  std::string host;
  if (!fs::ToHostPath(path, &host)) return FALSE;
  if (host == fs::DeviceRoot()) return Fail(ERROR_ALREADY_EXISTS);
  if (::mkdir(host.c_str(), 0755) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Fail(ERROR_PATH_NOT_FOUND);
    return FailWithErrno();
  }
  fs::NoteEntryAdded(host);
  return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR path) {
  std::string host;
  struct stat st;
  if (!fs::MapExisting(path, &host, &st)) return FALSE;
  if (!S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
  if (host == fs::DeviceRoot()) return Fail(ERROR_ACCESS_DENIED);
  fs::NoteEntryChanged(host);
  if (::rmdir(host.c_str()) != 0) return FailWithErrno(errno == EEXIST ? ENOTEMPTY : errno);
  return TRUE;
}

BOOL CopyFileW(LPCWSTR existing, LPCWSTR newName, BOOL failIfExists) {
  std::string src;
  struct stat st;
  if (!fs::MapExisting(existing, &src, &st)) return FALSE;
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (!newName) return Fail(ERROR_INVALID_PARAMETER);
  std::string dst;
  if (!fs::ToHostPath(newName, &dst)) return FALSE;
  if (!fs::ParentExists(dst)) return Fail(ERROR_PATH_NOT_FOUND);
  struct stat dstSt;
  bool dstExists = ::stat(dst.c_str(), &dstSt) == 0;
  if (dstExists && S_ISDIR(dstSt.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (dstExists && dstSt.st_dev == st.st_dev && dstSt.st_ino == st.st_ino) {
    return Fail(failIfExists ? ERROR_FILE_EXISTS : ERROR_SHARING_VIOLATION);
  }
  if (dstExists && failIfExists) return Fail(ERROR_FILE_EXISTS);
  fs::TemporaryCopy copy;
  if (!fs::CopyToTemporary(src, dst, &copy)) return FALSE;
  const std::string& temp = copy.path;
  fs::NoteEntryChanged(dst);
  if (failIfExists) {
    // link() refuses an existing name, so a file that appeared meanwhile is kept.
    if (::link(temp.c_str(), dst.c_str()) != 0) {
      int e = errno;
      ::unlink(temp.c_str());
      return e == EEXIST ? Fail(ERROR_FILE_EXISTS) : FailWithErrno(e);
    }
    ::unlink(temp.c_str());
  } else if (::rename(temp.c_str(), dst.c_str()) != 0) {
    int e = errno;
    ::unlink(temp.c_str());
    return FailWithErrno(e);
  }
  return TRUE;
}

BOOL MoveFileW(LPCWSTR existing, LPCWSTR newName) {
  std::string src;
  struct stat st;
  if (!fs::MapEntry(existing, &src, &st)) return FALSE;
  if (!newName) return Fail(ERROR_INVALID_PARAMETER);
  if (src == fs::DeviceRoot()) return Fail(ERROR_ACCESS_DENIED);
  std::string dst;
  if (!fs::ToHostPath(newName, &dst)) return FALSE;
  if (!fs::ParentExists(dst)) return Fail(ERROR_PATH_NOT_FOUND);
  fs::NoteEntryChanged(src);
  fs::NoteEntryChanged(dst);
  struct stat dstSt;
  if (::lstat(dst.c_str(), &dstSt) == 0) {
    if (dstSt.st_dev == st.st_dev && dstSt.st_ino == st.st_ino) {
      // The target is the source itself, found without case: a change of
      // case only. Rename to the spelling given.
      std::string spelled = dst.substr(0, dst.rfind('/') + 1) + text::ToUtf8(fs::FileNamePart(newName));
      if (spelled == src) return TRUE;
      if (::rename(src.c_str(), spelled.c_str()) != 0) return FailWithErrno();
      return TRUE;
    }
    return Fail(ERROR_ALREADY_EXISTS);
  }
  if (S_ISDIR(st.st_mode) && (dst + "/").rfind(src + "/", 0) == 0) return Fail(ERROR_INVALID_PARAMETER);
  // renameat2 with RENAME_NOREPLACE keeps a name that appeared meanwhile.
  if (::renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) == 0) return TRUE;
  int e = errno;
  if (e == EINVAL || e == ENOSYS) {
    if (::rename(src.c_str(), dst.c_str()) == 0) return TRUE;
    e = errno;
  }
  if (e == EXDEV && S_ISLNK(st.st_mode)) {
    // A link is made again where it goes, pointing where it pointed.
    std::string link(4096, '\0');
    const ssize_t n = ::readlink(src.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return FailWithErrno(n < 0 ? errno : ENAMETOOLONG);
    link.resize(static_cast<std::size_t>(n));
    if (::symlink(link.c_str(), dst.c_str()) != 0) return FailWithErrno();
    ::unlink(src.c_str());
    return TRUE;
  }
  if (e == EXDEV && !S_ISDIR(st.st_mode)) {
    fs::TemporaryCopy copy;
    if (!fs::CopyToTemporary(src, dst, &copy)) return FALSE;
    const std::string& temp = copy.path;
    if (::link(temp.c_str(), dst.c_str()) != 0) {
      int le = errno;
      ::unlink(temp.c_str());
      return FailWithErrno(le);
    }
    ::unlink(temp.c_str());
    ::unlink(src.c_str());
    return TRUE;
  }
  return e == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailWithErrno(e);
}

BOOL DeleteFileW(LPCWSTR path) {
  std::string host;
  struct stat st;
  if (!fs::MapEntry(path, &host, &st)) return FALSE;
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  fs::NoteEntryChanged(host);
  if (::unlink(host.c_str()) != 0) return FailWithErrno();
  return TRUE;
}
