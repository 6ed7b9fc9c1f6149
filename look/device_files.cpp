#include "look/device_files.h"

#include <cerrno>
#include <string>
#include <sys/stat.h>

#include "platform/fs/device_path.h"
#include "platform/fs/errno_map.h"
#include "platform/fs/file_io.h"
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
  std::string host;
  if (!fs::ToHostPath(devicePath, &host)) return false;
  if (::mkdir(host.c_str(), 0755) != 0) return fs::FailWithErrno();
  return true;
}

}  // namespace look
