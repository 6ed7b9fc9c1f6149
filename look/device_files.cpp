#include "look/device_files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/device_path.h"
#include "platform/win32/errors.h"

namespace look {

namespace {

DWORD ErrorFromErrno(int e) {
  switch (e) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOSPC: return ERROR_DISK_FULL;
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    default: return ERROR_CANTWRITE;
  }
}

}  // namespace

bool ReadDeviceFile(std::u16string_view devicePath, std::vector<std::uint8_t>* bytes) {
  bytes->clear();
  std::string host;
  if (!fs::ToHostPath(devicePath, &host)) return false;
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno));
    return false;
  }
  std::uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      SetLastError(errno == EISDIR ? ERROR_ACCESS_DENIED : ERROR_CANTREAD);
      ::close(fd);
      bytes->clear();
      return false;
    }
    bytes->insert(bytes->end(), buffer, buffer + n);
  }
  ::close(fd);
  return true;
}

bool WriteDeviceFile(std::u16string_view devicePath, std::span<const std::uint8_t> bytes) {
  std::string host;
  if (!fs::ToHostPath(devicePath, &host)) return false;
  const std::string temp = host + ".tmp~";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno));
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetLastError(ErrorFromErrno(errno));
      ::close(fd);
      ::unlink(temp.c_str());
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  const bool synced = ::fsync(fd) == 0;
  const int syncErrno = errno;
  const bool closed = ::close(fd) == 0;
  if (!synced || !closed) {
    SetLastError(ErrorFromErrno(synced ? errno : syncErrno));
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), host.c_str()) != 0) {
    SetLastError(ErrorFromErrno(errno));
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool CreateDeviceFolder(std::u16string_view devicePath) {
  std::string host;
  if (!fs::ToHostPath(devicePath, &host)) return false;
  if (::mkdir(host.c_str(), 0755) != 0) {
    SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFromErrno(errno));
    return false;
  }
  return true;
}

}  // namespace look
