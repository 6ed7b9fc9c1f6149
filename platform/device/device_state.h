// Small named values the device keeps for itself in device.db (battery
// source, time zone, volume): the simulated hardware's state.
#pragma once

#include <string>

namespace device {

// Empty when the value was never set or no device is open.
std::string StateText(const char* name);
bool SetStateText(const char* name, const std::string& value);

}  // namespace device
