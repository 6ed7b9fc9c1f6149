// Device paths: the system names files with the phone's paths ("\" separated,
// rooted at "\", compared without case); they live under the device's fs/
// folder on the host.
#pragma once

#include <string>
#include <string_view>

namespace fs {

// The host folder that is the device's "\" (DEVICE/fs). Set once at start.
void SetDeviceRoot(const std::string& hostFolder);
const std::string& DeviceRoot();

// Maps a device path to its host path under the device root. Components are
// matched without case against what exists. A path that would leave the
// device is refused: false, with the last error set to ERROR_ACCESS_DENIED.
bool ToHostPath(std::u16string_view devicePath, std::string* hostPath);

}  // namespace fs
