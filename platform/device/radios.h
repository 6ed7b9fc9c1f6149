// The device's radios: one Wi-Fi, one phone and one Bluetooth radio, each
// with its power state, kept in device.db (table "radios") so that the
// launcher and mivo-device see the same switches.
//
// The launcher reaches them as the phone reaches its wireless device list:
// GetWirelessDevices hands out a linked list of entries (the library's
// ordinal 276), ChangeRadioState switches the radio of one entry (273) and
// FreeDeviceList gives the list back (280). A switch keeps the state values
// a phone would change with it: a phone radio that goes off leaves no
// operator and no signal (both come back when it goes on again), and a
// Bluetooth radio that goes off drops its joined devices (HKLM
// "System\State\Connections\Bluetooth" "Count" 0).
#pragma once

#include <string>
#include <vector>

#include "platform/win32/types.h"

// The kinds of radio.
enum RADIODEVTYPE : DWORD {
  RADIODEVICES_MANAGED = 1,    // Wi-Fi
  RADIODEVICES_PHONE = 2,      // the phone (GSM)
  RADIODEVICES_BLUETOOTH = 3,  // Bluetooth
};

// The states of a radio. Discoverable is Bluetooth's only.
constexpr DWORD RADIODEVICES_OFF = 0;
constexpr DWORD RADIODEVICES_ON = 1;
constexpr DWORD RADIODEVICES_DISCOVERABLE = 2;

// Whether a switch is remembered over a restart of the device; this device
// always keeps its state, so the three behave alike.
enum SAVEACTION : DWORD {
  RADIODEVICES_DONT_SAVE = 0,
  RADIODEVICES_PRE_SAVE = 1,
  RADIODEVICES_POST_SAVE = 2,
};

// One entry of the list.
struct RDD {
  LPWSTR pszDeviceName = nullptr;   // the radio's own name ("WiFi", "Phone", "Bluetooth")
  LPWSTR pszDisplayName = nullptr;  // what a settings page shows ("Wi-Fi")
  DWORD dwState = 0;                // RADIODEVICES_OFF, _ON or _DISCOVERABLE
  DWORD dwDesired = 0;              // the state asked for last
  RADIODEVTYPE DeviceType = RADIODEVICES_MANAGED;
  RDD* pNext = nullptr;  // the next entry; null for the last
};

// A new list of every radio in *devices (null when the device has none);
// free it with FreeDeviceList. E_INVALIDARG for a null argument, E_FAIL when
// no device is open or the table cannot be read.
HRESULT GetWirelessDevices(RDD** devices, DWORD flags);
// Switches the radio of the entry's kind to `state` and stores it in the
// entry too. E_INVALIDARG for a state the kind does not have (discoverable
// for the phone or Wi-Fi, anything above 2) or a null entry; E_FAIL when the
// state cannot be written.
HRESULT ChangeRadioState(RDD* device, DWORD state, SAVEACTION action);
// Frees a list of GetWirelessDevices (null is fine).
HRESULT FreeDeviceList(RDD* devices);

namespace device {

// A radio as the tools list it.
struct RadioInfo {
  DWORD type = 0;           // RADIODEVTYPE
  std::string name;         // the radio's own name
  std::string displayName;  // what people see
  DWORD state = 0;          // 0 off, 1 on, 2 discoverable
};
// Every radio, by id (Wi-Fi, phone, Bluetooth on a new device).
std::vector<RadioInfo> Radios();
// The state of the radio of a kind; false when there is none.
bool GetRadioState(DWORD type, DWORD* state);
// Switches the radio of a kind, with the state values that follow it, in
// one transaction. False with a message for people in *error.
bool SetRadioState(DWORD type, DWORD state, std::string* error);
// Whether the kind has such a state (discoverable is Bluetooth's only).
bool IsRadioStateValid(DWORD type, DWORD state);

}  // namespace device
