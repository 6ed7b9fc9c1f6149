// mivoConnectionManager: the device's wireless device list as the
// connection-manager gadgets use it: the state of the radio of one kind, and
// switching it. The core makes one on the first request (GetConnectionManager)
// and keeps it for the run. Each call takes the list anew, so a switch made
// elsewhere (the device's settings, mivo-device) is seen at the next reading.
#pragma once

#include "platform/win32/types.h"

class mivoConnectionManager {
 public:
  // The list's kinds of radio.
  static constexpr DWORD kWiFi = 1;
  static constexpr DWORD kPhone = 2;
  static constexpr DWORD kBluetooth = 3;
  // What GetRadioState answers when the list cannot be read or has no radio of that kind.
  static constexpr int kNoAnswer = -1;

  mivoConnectionManager() = default;
  mivoConnectionManager(const mivoConnectionManager&) = delete;
  mivoConnectionManager& operator=(const mivoConnectionManager&) = delete;

  // The state (0 off, 1 on, 2 discoverable) of the last radio of the kind in
  // the list, or kNoAnswer.
  int GetRadioState(DWORD deviceType);
  // Switches the last radio of the kind; false when the list cannot be read,
  // has no such radio, or the radio refuses the state.
  bool SetRadioState(DWORD deviceType, DWORD state);
};
