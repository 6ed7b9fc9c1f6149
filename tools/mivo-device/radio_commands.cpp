#include "tools/mivo-device/radio_commands.h"

#include <cstdio>
#include <cstdlib>

#include "platform/device/radios.h"
#include "platform/device/system.h"
#include "platform/registry/registry.h"
#include "platform/win32/file_defs.h"

namespace radiotool {

const char* const kUsageLines =
    "  radio list                       the radios and their states\n"
    "  radio phone|wifi|bluetooth on|off|discoverable   switch a radio (discoverable: Bluetooth only)\n"
    "  volume [system N] [ring N] [on|mute|vibrate]     set and print the sound (volumes 0-6)\n";

namespace {

constexpr const char* kRadioUsage = "mivo-device radio list | radio phone|wifi|bluetooth on|off|discoverable";
constexpr const char* kVolumeUsage = "mivo-device volume [system N] [ring N] [on|mute|vibrate]";

// One step of the six the volume window shows: the wave volume's low word
// is the step times this.
constexpr DWORD kVolumeStep = 10922;
constexpr char16_t kRingKey[] = u"ControlPanel\\SoundCategories\\Ring";
constexpr char16_t kRingValue[] = u"InitVol";

int Fail(const std::string& message) {
  std::fprintf(stderr, "mivo-device: %s\n", message.c_str());
  return 1;
}

int Usage(const std::string& message, const char* usage) {
  std::fprintf(stderr, "mivo-device: %s\nusage: %s\n", message.c_str(), usage);
  return 2;
}

bool IsHelp(const std::vector<std::string>& a) {
  for (const std::string& s : a)
    if (s == "--help" || s == "-h") return true;
  return false;
}

const char* KindName(DWORD type) {
  switch (type) {
    case RADIODEVICES_MANAGED: return "wifi";
    case RADIODEVICES_PHONE: return "phone";
    case RADIODEVICES_BLUETOOTH: return "bluetooth";
    default: return "other";
  }
}

const char* StateName(DWORD state) {
  switch (state) {
    case RADIODEVICES_OFF: return "off";
    case RADIODEVICES_ON: return "on";
    case RADIODEVICES_DISCOVERABLE: return "discoverable";
    default: return "unknown";
  }
}

const char* SoundName(SND_SOUNDTYPE type) {
  switch (type) {
    case SND_SOUNDTYPE_ON: return "on";
    case SND_SOUNDTYPE_FILE: return "file";
    case SND_SOUNDTYPE_VIBRATE: return "vibrate";
    case SND_SOUNDTYPE_NONE: return "mute";
  }
  return "unknown";
}

// A volume step 0..6; false for anything else.
bool ParseStep(const std::string& s, DWORD* out) {
  if (s.size() != 1 || s[0] < '0' || s[0] > '6') return false;
  *out = static_cast<DWORD>(s[0] - '0');
  return true;
}

int PrintVolume() {
  DWORD wave = 0;
  waveOutGetVolume(nullptr, &wave);
  DWORD ring = 0;
  const bool haveRing = reg::GetDword(HKEY_CURRENT_USER, kRingKey, kRingValue, &ring);
  SNDFILEINFO sound;
  if (SndGetSound(SND_EVENT_ALL, &sound) != S_OK) return Fail("cannot read the sound settings");
  std::printf("system %u (0x%08X)\n", (wave & 0xFFFF) / kVolumeStep, wave);
  if (haveRing) {
    std::printf("ring %u\n", ring);
  } else {
    std::printf("ring (none)\n");
  }
  std::printf("sound %s\n", SoundName(sound.sstType));
  return 0;
}

}  // namespace

int Radio(const std::vector<std::string>& a) {
  if (IsHelp(a)) {
    std::printf("usage: %s\n", kRadioUsage);
    return 0;
  }
  if (a.size() == 1 && a[0] == "list") {
    for (const device::RadioInfo& radio : device::Radios()) {
      std::printf("%-10s %-13s %s\n", KindName(radio.type), StateName(radio.state), radio.displayName.c_str());
    }
    return 0;
  }
  if (a.size() != 2) return Usage("radio needs list, or a radio and its new state", kRadioUsage);
  DWORD type = 0;
  if (a[0] == "phone") {
    type = RADIODEVICES_PHONE;
  } else if (a[0] == "wifi") {
    type = RADIODEVICES_MANAGED;
  } else if (a[0] == "bluetooth") {
    type = RADIODEVICES_BLUETOOTH;
  } else {
    return Usage("unknown radio " + a[0] + " (phone, wifi or bluetooth)", kRadioUsage);
  }
  DWORD state = 0;
  if (a[1] == "off") {
    state = RADIODEVICES_OFF;
  } else if (a[1] == "on") {
    state = RADIODEVICES_ON;
  } else if (a[1] == "discoverable") {
    state = RADIODEVICES_DISCOVERABLE;
  } else {
    return Usage("unknown state " + a[1] + " (on, off or discoverable)", kRadioUsage);
  }
  if (!device::IsRadioStateValid(type, state)) {
    return Usage("only Bluetooth can be discoverable", kRadioUsage);
  }
  std::string error;
  return device::SetRadioState(type, state, &error) ? 0 : Fail(error);
}

int Volume(const std::vector<std::string>& a) {
  if (IsHelp(a)) {
    std::printf("usage: %s\n", kVolumeUsage);
    return 0;
  }
  // Everything is checked before anything is set.
  bool setSystem = false, setRing = false, setSound = false;
  DWORD system = 0, ring = 0;
  SND_SOUNDTYPE sound = SND_SOUNDTYPE_ON;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == "system" || a[i] == "ring") {
      DWORD step = 0;
      if (i + 1 >= a.size() || !ParseStep(a[i + 1], &step)) {
        return Usage(a[i] + " needs a volume from 0 to 6", kVolumeUsage);
      }
      (a[i] == "system" ? setSystem : setRing) = true;
      (a[i] == "system" ? system : ring) = step;
      ++i;
    } else if (a[i] == "on" || a[i] == "mute" || a[i] == "vibrate") {
      setSound = true;
      sound = a[i] == "on" ? SND_SOUNDTYPE_ON : a[i] == "mute" ? SND_SOUNDTYPE_NONE : SND_SOUNDTYPE_VIBRATE;
    } else {
      return Usage("unknown volume setting " + a[i], kVolumeUsage);
    }
  }
  if (setSystem && waveOutSetVolume(nullptr, system * kVolumeStep) != MMSYSERR_NOERROR) {
    return Fail("cannot set the system volume");
  }
  if (setRing && !reg::SetDword(HKEY_CURRENT_USER, kRingKey, kRingValue, ring)) {
    return Fail("cannot set the ring volume");
  }
  if (setSound) {
    SNDFILEINFO info;
    SndGetSound(SND_EVENT_ALL, &info);
    info.sstType = sound;
    if (SndSetSound(SND_EVENT_ALL, &info, TRUE) != S_OK) return Fail("cannot set the sound");
  }
  return PrintVolume();
}

}  // namespace radiotool
