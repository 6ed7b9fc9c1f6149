// Whole-file reads and safe writes of the look's data files, by device path.
// Writes go to a temporary file beside the target that is renamed over it,
// so a crash or a full disk leaves either the old or the new file.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace look {

// False (last error set) when the file is missing or unreadable.
bool ReadDeviceFile(std::u16string_view devicePath, std::vector<std::uint8_t>* bytes);
bool WriteDeviceFile(std::u16string_view devicePath, std::span<const std::uint8_t> bytes);
// Creates one folder; false when it exists or its parent is missing.
bool CreateDeviceFolder(std::u16string_view devicePath);

}  // namespace look
