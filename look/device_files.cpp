#include "look/device_files.h"

#include <string>

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

}  // namespace look
