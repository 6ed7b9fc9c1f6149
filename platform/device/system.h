// Memory, sound and the state values of the device.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/file_defs.h"
#include "platform/win32/types.h"

// From /proc/meminfo (physical memory, swap as the page file) and this
// process's address space (virtual memory, out of a 2 GB space as on the
// phone's 32-bit platform); figures above 4 GB read as 4 GB - 1.
void GlobalMemoryStatus(LPMEMORYSTATUS status);

// The wave output volume of device 0: low word left, high word right
// (0..0xFFFF); kept in device.db.
MMRESULT waveOutGetVolume(HWAVEOUT device, LPDWORD volume);
MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume);

// The sound type (and file) of a sound event; kept in device.db. The
// flags/reserved arguments of the platform are accepted and ignored.
HRESULT SndGetSound(SND_EVENT event, SNDFILEINFO* info);
HRESULT SndSetSound(SND_EVENT event, const SNDFILEINFO* info, BOOL suppressUI);

namespace device {

// A state value the system reads, for listing by mivo-device state.
struct StateValue {
  const char* label;    // what it is, for people
  bool machine;         // HKLM (else HKCU)
  const char16_t* key;  // key path
  const char16_t* name; // value name
};
const std::vector<StateValue>& StateValues();

// Reads /proc/meminfo from another file (tests).
void SetMemInfoFile(const std::string& path);

// The device's time zone (an IANA name such as "Europe/Prague"; empty for
// the host's); kept in device.db.
std::string TimeZone();
bool SetTimeZone(const std::string& zone);
// The device's locale for dates and times ("de_DE"; empty for the default:
// the host's, or English in a headless run); kept in device.db.
std::string Locale();
bool SetLocale(const std::string& name);
// Writes HKLM "System\State\DateTime" "Time" (the local time as an 8-byte
// FILETIME) when the minute differs from the one written last; the launcher
// calls it on its clock's ticks and after a time-zone change.
bool UpdateTimeState(const SYSTEMTIME& localNow);

}  // namespace device
