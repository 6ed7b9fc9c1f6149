#include "platform/device/power.h"

#include <dirent.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "platform/device/device_state.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/errors.h"

namespace device {

namespace {

std::string g_supplyFolder = "/sys/class/power_supply";

bool ReadLine(const std::string& path, std::string* out) {
  std::ifstream in(path);
  return static_cast<bool>(std::getline(in, *out));
}

bool ReadLong(const std::string& path, long long* out) {
  std::string s;
  if (!ReadLine(path, &s)) return false;
  try {
    *out = std::stoll(s);
  } catch (...) {
    return false;
  }
  return true;
}

BYTE FlagsFor(int percent, bool charging) {
  BYTE flags = percent > 66 ? BATTERY_FLAG_HIGH : percent < 5 ? BATTERY_FLAG_CRITICAL : percent < 33 ? BATTERY_FLAG_LOW : 0;
  if (charging) flags |= BATTERY_FLAG_CHARGING;
  return flags;
}

// The host's battery; false when it has none.
bool ReadHostBattery(SYSTEM_POWER_STATUS_EX2* s) {
  DIR* d = opendir(g_supplyFolder.c_str());
  if (!d) return false;
  bool battery = false, mainsKnown = false, mainsOnline = false;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name[0] == '.') continue;
    std::string base = g_supplyFolder + "/" + name + "/";
    std::string type;
    if (!ReadLine(base + "type", &type)) continue;
    if (type == "Mains" || type == "USB") {
      long long online = 0;
      if (ReadLong(base + "online", &online)) {
        mainsKnown = true;
        mainsOnline = mainsOnline || online != 0;
      }
    } else if (type == "Battery" && !battery) {
      long long present = 1;
      ReadLong(base + "present", &present);
      if (!present) continue;
      long long capacity = -1;
      if (!ReadLong(base + "capacity", &capacity)) continue;
      battery = true;
      std::string status;
      ReadLine(base + "status", &status);
      int pct = static_cast<int>(std::clamp<long long>(capacity, 0, 100));
      s->BatteryLifePercent = static_cast<BYTE>(pct);
      s->BatteryFlag = FlagsFor(pct, status == "Charging");
      long long v;
      if (ReadLong(base + "voltage_now", &v)) s->BatteryVoltage = static_cast<DWORD>(v / 1000);
      if (ReadLong(base + "current_now", &v)) {
        long long ma = v / 1000;
        if (status == "Discharging") ma = -std::llabs(ma);
        s->BatteryCurrent = static_cast<DWORD>(static_cast<LONG>(ma));
        s->BatteryAverageCurrent = s->BatteryCurrent;
      }
      if (ReadLong(base + "temp", &v)) s->BatteryTemperature = static_cast<DWORD>(v);
      std::string tech;
      ReadLine(base + "technology", &tech);
      s->BatteryChemistry = tech == "Li-ion" ? BATTERY_CHEMISTRY_LION
                            : tech == "Li-poly" ? BATTERY_CHEMISTRY_LIPOLY
                            : tech == "NiMH" ? BATTERY_CHEMISTRY_NIMH
                            : tech == "NiCd" ? BATTERY_CHEMISTRY_NICD
                                             : BATTERY_CHEMISTRY_UNKNOWN;
      if (status == "Charging" || status == "Full" || status == "Not charging") {
        mainsKnown = true;
        mainsOnline = true;
      }
    }
  }
  closedir(d);
  if (!battery) return false;
  s->ACLineStatus = mainsKnown ? (mainsOnline ? AC_LINE_ONLINE : AC_LINE_OFFLINE) : AC_LINE_UNKNOWN;
  return true;
}

void ReadSimulatedBattery(SYSTEM_POWER_STATUS_EX2* s) {
  std::string level = StateText("battery_level"), ac = StateText("battery_ac");
  int pct = level.empty() ? 100 : std::clamp(std::atoi(level.c_str()), 0, 100);
  bool onAc = ac == "1";
  s->ACLineStatus = onAc ? AC_LINE_ONLINE : AC_LINE_OFFLINE;
  s->BatteryLifePercent = static_cast<BYTE>(pct);
  s->BatteryFlag = FlagsFor(pct, onAc && pct < 100);
  // A plausible lithium-ion cell for the battery page.
  s->BatteryVoltage = static_cast<DWORD>(3500 + pct * 7);
  s->BatteryCurrent = static_cast<DWORD>(static_cast<LONG>(onAc ? 450 : -180));
  s->BatteryAverageCurrent = s->BatteryCurrent;
  s->BatteryTemperature = 250;
  s->BatteryChemistry = BATTERY_CHEMISTRY_LION;
  s->BatteryLifeTime = onAc ? BATTERY_LIFE_UNKNOWN : static_cast<DWORD>(pct * 360);
  s->BatteryFullLifeTime = 36000;
}

bool ReadStatus(SYSTEM_POWER_STATUS_EX2* s) {
  *s = SYSTEM_POWER_STATUS_EX2{};
  std::string source = BatterySource();
  if (source != "simulated" && ReadHostBattery(s)) return true;
  if (source == "host") {
    // Asked for the host's battery, and it has none.
    s->ACLineStatus = AC_LINE_ONLINE;
    s->BatteryFlag = BATTERY_FLAG_NO_BATTERY;
    s->BatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
    return true;
  }
  ReadSimulatedBattery(s);
  return true;
}

}  // namespace

std::string BatterySource() {
  std::string s = StateText("battery_source");
  return s.empty() ? "auto" : s;
}

bool SetBatterySource(const std::string& source) {
  if (source != "auto" && source != "host" && source != "simulated") return false;
  return SetStateText("battery_source", source) && (UpdateBatteryState(), true);
}

bool SetSimulatedBattery(int level, bool ac) {
  if (level < 0 || level > 100) return false;
  if (!SetStateText("battery_level", std::to_string(level)) || !SetStateText("battery_ac", ac ? "1" : "0") ||
      !SetStateText("battery_source", "simulated")) {
    return false;
  }
  UpdateBatteryState();
  return true;
}

void SetPowerSupplyFolder(const std::string& folder) { g_supplyFolder = folder; }

DWORD BatteryStateValue(const SYSTEM_POWER_STATUS_EX2& s) {
  DWORD flags = 0;
  if (s.BatteryFlag & BATTERY_FLAG_NO_BATTERY) flags |= 1;
  if (s.ACLineStatus == AC_LINE_ONLINE) flags |= 2;
  int pct = s.BatteryLifePercent == BATTERY_PERCENTAGE_UNKNOWN ? 0 : s.BatteryLifePercent;
  if (!(flags & 2) && pct < 20) flags |= 4;
  if (!(flags & 2) && pct < 5) flags |= 8;
  DWORD level = static_cast<DWORD>(std::max(0, pct - 19));
  return (level << 16) | flags;
}

bool UpdateBatteryState() {
  SYSTEM_POWER_STATUS_EX2 s;
  if (!ReadStatus(&s)) return false;
  DWORD value = BatteryStateValue(s), old = 0;
  if (reg::GetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", &old) && old == value) return false;
  return reg::SetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", value);
}

}  // namespace device

BOOL GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX status, BOOL) {
  if (!status) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SYSTEM_POWER_STATUS_EX2 full;
  if (!GetSystemPowerStatusEx2(&full, sizeof full, TRUE)) return FALSE;
  status->ACLineStatus = full.ACLineStatus;
  status->BatteryFlag = full.BatteryFlag;
  status->BatteryLifePercent = full.BatteryLifePercent;
  status->BatteryLifeTime = full.BatteryLifeTime;
  status->BatteryFullLifeTime = full.BatteryFullLifeTime;
  status->BackupBatteryFlag = full.BackupBatteryFlag;
  status->BackupBatteryLifePercent = full.BackupBatteryLifePercent;
  status->BackupBatteryLifeTime = full.BackupBatteryLifeTime;
  status->BackupBatteryFullLifeTime = full.BackupBatteryFullLifeTime;
  return TRUE;
}

DWORD GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 status, DWORD length, BOOL) {
  if (!status || length == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  SYSTEM_POWER_STATUS_EX2 full;
  device::ReadStatus(&full);
  DWORD n = std::min<DWORD>(length, sizeof full);
  std::memcpy(status, &full, n);
  return n;
}
