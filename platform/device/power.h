// Power status: the host's battery (/sys/class/power_supply) when it has one,
// else the device's simulated battery kept in device.db (mivo-device set
// battery). The battery state value HKLM "System\State\Battery" "Main" holds
// the flags in its low word (1 no battery, 2 charging, 4 low, 8 critical) and
// the level in its high word, so that the level the system reads (high word
// plus 19) is the percentage: high word = percentage - 19, at least 0.
#pragma once

#include <string>

#include "platform/win32/file_defs.h"
#include "platform/win32/types.h"

// TRUE on success.
BOOL GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX status, BOOL update);
// The number of bytes filled (56), 0 on failure.
DWORD GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 status, DWORD length, BOOL update);

namespace device {

// Where the power status comes from: "host", "simulated", or "auto" (the
// host's battery when it has one). Kept in device.db.
std::string BatterySource();
bool SetBatterySource(const std::string& source);
// Sets the simulated battery (level 0..100) and makes it the source.
bool SetSimulatedBattery(int level, bool ac);
// The host folder of the power supplies (tests point it elsewhere).
void SetPowerSupplyFolder(const std::string& folder);

// The value "Main" for a status.
DWORD BatteryStateValue(const SYSTEM_POWER_STATUS_EX2& status);
// Writes "Main" from the current status when it changed; true when written.
bool UpdateBatteryState();

}  // namespace device
