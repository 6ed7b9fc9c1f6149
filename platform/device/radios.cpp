#include "platform/device/radios.h"

#include <cstring>
#include <mutex>

#include "platform/device/device_state.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/text.h"

namespace {

constexpr char16_t kPhoneKey[] = u"System\\State\\Phone";
constexpr char16_t kSignalValue[] = u"Signal Strength Raw";
constexpr char16_t kOperatorValue[] = u"Current Operator Name";
constexpr char16_t kBluetoothKey[] = u"System\\State\\Connections\\Bluetooth";
constexpr char16_t kBluetoothCount[] = u"Count";

// Where the phone's readings wait while its radio is off.
constexpr char kSavedSignal[] = "phone_signal_before_off";
constexpr char kSavedOperator[] = "phone_operator_before_off";

LPWSTR CopyText(const std::u16string& text) {
  auto* copy = new char16_t[text.size() + 1];
  std::memcpy(copy, text.data(), text.size() * sizeof(char16_t));
  copy[text.size()] = u'\0';
  return copy;
}

// The state values that follow a radio's switch (inside the switch's transaction).
bool FollowSwitch(DWORD type, DWORD before, DWORD after) {
  if (type == RADIODEVICES_BLUETOOTH && after == RADIODEVICES_OFF) {
    // Joined devices drop with the radio.
    return reg::SetDword(HKEY_LOCAL_MACHINE, kBluetoothKey, kBluetoothCount, 0);
  }
  if (type != RADIODEVICES_PHONE || before == after) return true;
  if (after == RADIODEVICES_OFF) {
    // No network: no operator, no signal. The readings are kept for the way back.
    DWORD signal = 0;
    std::u16string name;
    reg::GetDword(HKEY_LOCAL_MACHINE, kPhoneKey, kSignalValue, &signal);
    reg::GetString(HKEY_LOCAL_MACHINE, kPhoneKey, kOperatorValue, &name);
    return device::SetStateText(kSavedSignal, std::to_string(signal)) &&
           device::SetStateText(kSavedOperator, text::ToUtf8(name)) &&
           reg::SetDword(HKEY_LOCAL_MACHINE, kPhoneKey, kSignalValue, 0) &&
           reg::SetString(HKEY_LOCAL_MACHINE, kPhoneKey, kOperatorValue, u"");
  }
  // Back on the network: what it showed before it went off.
  const std::string signal = device::StateText(kSavedSignal);
  const std::string name = device::StateText(kSavedOperator);
  if (signal.empty() && name.empty()) return true;
  return reg::SetDword(HKEY_LOCAL_MACHINE, kPhoneKey, kSignalValue,
                       static_cast<DWORD>(std::strtoul(signal.c_str(), nullptr, 10))) &&
         reg::SetString(HKEY_LOCAL_MACHINE, kPhoneKey, kOperatorValue, text::FromUtf8(name));
}

}  // namespace

HRESULT GetWirelessDevices(RDD** devices, DWORD) {
  if (!devices) return E_INVALIDARG;
  *devices = nullptr;
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return E_FAIL;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(), "SELECT type, name, display_name, state, desired FROM radios ORDER BY id");
  if (!st.ok()) return E_FAIL;
  RDD* first = nullptr;
  RDD** next = &first;
  int step = SQLITE_ROW;
  while ((step = st.Step()) == SQLITE_ROW) {
    auto* entry = new RDD;
    entry->DeviceType = static_cast<RADIODEVTYPE>(st.Int(0));
    entry->pszDeviceName = CopyText(st.Text16(1));
    entry->pszDisplayName = CopyText(st.Text16(2));
    entry->dwState = static_cast<DWORD>(st.Int(3));
    entry->dwDesired = static_cast<DWORD>(st.Int(4));
    *next = entry;
    next = &entry->pNext;
  }
  if (step != SQLITE_DONE) {
    FreeDeviceList(first);
    return E_FAIL;
  }
  *devices = first;
  return S_OK;
}

HRESULT ChangeRadioState(RDD* entry, DWORD state, SAVEACTION) {
  if (!entry) return E_INVALIDARG;
  if (!device::IsRadioStateValid(entry->DeviceType, state)) return E_INVALIDARG;
  std::string error;
  if (!device::SetRadioState(entry->DeviceType, state, &error)) return E_FAIL;
  entry->dwState = state;
  entry->dwDesired = state;
  return S_OK;
}

HRESULT FreeDeviceList(RDD* devices) {
  while (devices) {
    RDD* next = devices->pNext;
    delete[] devices->pszDeviceName;
    delete[] devices->pszDisplayName;
    delete devices;
    devices = next;
  }
  return S_OK;
}

namespace device {

bool IsRadioStateValid(DWORD type, DWORD state) {
  switch (type) {
    case RADIODEVICES_MANAGED:
    case RADIODEVICES_PHONE: return state == RADIODEVICES_OFF || state == RADIODEVICES_ON;
    case RADIODEVICES_BLUETOOTH: return state <= RADIODEVICES_DISCOVERABLE;
    default: return false;
  }
}

std::vector<RadioInfo> Radios() {
  std::vector<RadioInfo> radios;
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return radios;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(), "SELECT type, name, display_name, state FROM radios ORDER BY id");
  while (st.Step() == SQLITE_ROW) {
    radios.push_back(RadioInfo{static_cast<DWORD>(st.Int(0)), st.Text(1), st.Text(2), static_cast<DWORD>(st.Int(3))});
  }
  return radios;
}

bool GetRadioState(DWORD type, DWORD* state) {
  // The last radio of the kind, as the switch takes it.
  bool found = false;
  for (const RadioInfo& radio : Radios()) {
    if (radio.type != type) continue;
    if (state) *state = radio.state;
    found = true;
  }
  return found;
}

bool SetRadioState(DWORD type, DWORD state, std::string* error) {
  auto fail = [error](const std::string& message) {
    if (error) *error = message;
    return false;
  };
  if (!IsRadioStateValid(type, state)) return fail("that radio has no such state");
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return fail("no device is open");
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  bool found = false;
  const bool ok = db->Transaction([&] {
    devdb::Statement read(db->handle(), "SELECT id, state FROM radios WHERE type = ?1 ORDER BY id DESC LIMIT 1");
    read.Bind(1, static_cast<std::int64_t>(type));
    if (read.Step() != SQLITE_ROW) return false;
    found = true;
    const std::int64_t id = read.Int(0);
    const DWORD before = static_cast<DWORD>(read.Int(1));
    devdb::Statement write(db->handle(), "UPDATE radios SET state = ?2, desired = ?2 WHERE id = ?1");
    write.Bind(1, id).Bind(2, static_cast<std::int64_t>(state));
    return write.Run() && FollowSwitch(type, before, state);
  });
  if (ok) return true;
  return fail(found ? "the radio's state cannot be written: " + db->LastError() : "the device has no such radio");
}

}  // namespace device
