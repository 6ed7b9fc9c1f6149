// mivo-device as the phone's own switches: the radios (phone, Wi-Fi,
// Bluetooth) and the sound (system and ring volume, mute and vibrate). Each
// returns the exit code (0 done, 1 failed, 2 wrong usage) and writes errors
// to standard error.
#pragma once

#include <string>
#include <vector>

namespace radiotool {

// The lines of the general usage these commands add.
extern const char* const kUsageLines;

int Radio(const std::vector<std::string>& args);
int Volume(const std::vector<std::string>& args);

}  // namespace radiotool
