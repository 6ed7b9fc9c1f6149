#include "look/device_files.h"

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/device_path.h"
#include "platform/fs/errno_map.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/win32/errors.h"

namespace look {

bool ReadDeviceFile(std::u16string_view devicePath, std::vector<std::uint8_t>* bytes) {
  return fs::ReadFile(devicePath, bytes);
}

bool WriteDeviceFile(std::u16string_view devicePath, std::span<const std::uint8_t> bytes) {
  fs::AtomicFileWriter writer;
  return writer.Open(devicePath) && writer.Write(bytes.data(), bytes.size()) && writer.Commit();
}

bool CreateDeviceFolder(std::u16string_view devicePath) {
  return CreateDirectoryW(std::u16string(devicePath).c_str(), nullptr) != FALSE;
}

// The file layer resolves links when it maps a path; these three look at the
// link itself. They go once the file layer reports links on its own.
bool IsFolderLink(std::u16string_view devicePath) {
  std::string host;
  struct stat st;
  if (!fs::ToHostPath(devicePath, &host) || ::lstat(host.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
  return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFolderLink(std::u16string_view devicePath) {
  std::string host;
  if (!fs::ToHostPath(devicePath, &host)) return false;
  if (::unlink(host.c_str()) != 0) return fs::FailWithErrno();
  return true;
}

bool CopyFolderLink(std::u16string_view devicePath, std::u16string_view newPath) {
  std::string host, target;
  if (!fs::ToHostPath(devicePath, &host) || !fs::ToHostPath(newPath, &target)) return false;
  std::string link(4096, '\0');
  const ssize_t n = ::readlink(host.c_str(), link.data(), link.size());
  if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return fs::FailWithErrno(n < 0 ? errno : ENAMETOOLONG);
  link.resize(static_cast<std::size_t>(n));
  if (::symlink(link.c_str(), target.c_str()) != 0) return fs::FailWithErrno();
  return true;
}

}  // namespace look
