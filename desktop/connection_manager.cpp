#include "desktop/connection_manager.h"

#include "platform/device/radios.h"

namespace {

// The last entry of the kind in a list, or null.
RDD* LastOfType(RDD* list, DWORD deviceType) {
  RDD* found = nullptr;
  for (RDD* entry = list; entry; entry = entry->pNext) {
    if (entry->DeviceType == deviceType) found = entry;
  }
  return found;
}

}  // namespace

int mivoConnectionManager::GetRadioState(DWORD deviceType) {
  RDD* list = nullptr;
  if (GetWirelessDevices(&list, 0) != S_OK) return kNoAnswer;
  const RDD* entry = LastOfType(list, deviceType);
  const int state = entry ? static_cast<int>(entry->dwState) : kNoAnswer;
  FreeDeviceList(list);
  return state;
}

bool mivoConnectionManager::SetRadioState(DWORD deviceType, DWORD state) {
  RDD* list = nullptr;
  if (GetWirelessDevices(&list, 0) != S_OK) return false;
  RDD* entry = LastOfType(list, deviceType);
  const bool switched = entry && ChangeRadioState(entry, state, RADIODEVICES_PRE_SAVE) == S_OK;
  FreeDeviceList(list);
  return switched;
}
