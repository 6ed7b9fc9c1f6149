// The phone library's call log: entries read one after the other from a
// handle, newest call first, and the device's side of calls (mivo-device
// rings and misses calls, the launcher's PhoneMakeCall adds outgoing ones).
//
// The library is reached by ordinal, as the phone's own is:
//   1 PhoneOpenCallLog, 2 PhoneGetCallLogEntry, 3 PhoneCloseCallLog,
//   4 PhoneSeekCallLog, 5 PhoneMakeCall (phone.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/types.h"

// One call as the library hands it out. The layout is the phone's: size at
// 0, start time at 4, end time at 12, direction at 20, flags at 24, caller
// identification at 28, then the four texts (native pointers here, so the
// entry is 32 + 4 pointers: 48 bytes on the phone, 64 on this host). The
// texts are LocalAlloc blocks that the reader frees with LocalFree.
struct CALLLOGENTRY {
  DWORD cbSize;          // sizeof(CALLLOGENTRY), set by the caller
  FILETIME ftStartTime;  // UTC
  FILETIME ftEndTime;
  DWORD iom;    // IOM_MISSED, IOM_INCOMING or IOM_OUTGOING
  DWORD flags;  // CALLLOGFLAG_* bits
  DWORD cidt;   // CALLERIDTYPE_*
  LPWSTR pszNumber;
  LPWSTR pszName;
  LPWSTR pszNameType;  // which of the contact's numbers: "m" mobile, "w" work, "h" home, ...
  LPWSTR pszNote;
};
using PCALLLOGENTRY = CALLLOGENTRY*;
static_assert(offsetof(CALLLOGENTRY, ftStartTime) == 4 && offsetof(CALLLOGENTRY, ftEndTime) == 12 &&
              offsetof(CALLLOGENTRY, iom) == 20 && offsetof(CALLLOGENTRY, flags) == 24 &&
              offsetof(CALLLOGENTRY, cidt) == 28 && offsetof(CALLLOGENTRY, pszNumber) == 32);
static_assert(sizeof(CALLLOGENTRY) == 32 + 4 * sizeof(void*));

constexpr DWORD IOM_MISSED = 0;
constexpr DWORD IOM_INCOMING = 1;
constexpr DWORD IOM_OUTGOING = 2;

constexpr DWORD CALLLOGFLAG_OUTGOING = 0x1;
constexpr DWORD CALLLOGFLAG_CONNECTED = 0x2;
constexpr DWORD CALLLOGFLAG_ENDED = 0x4;
constexpr DWORD CALLLOGFLAG_ROAMING = 0x8;

constexpr DWORD CALLERIDTYPE_UNAVAILABLE = 0;
constexpr DWORD CALLERIDTYPE_BLOCKED = 1;
constexpr DWORD CALLERIDTYPE_AVAILABLE = 2;

// PhoneSeekCallLog's origins.
constexpr DWORD CALLLOGSEEK_CURRENT = 1;
constexpr DWORD CALLLOGSEEK_BEGINNING = 2;
constexpr DWORD CALLLOGSEEK_END = 4;

// S_OK and a handle; E_FAIL without a device.
HRESULT PhoneOpenCallLog(HANDLE* ph);
// S_OK while an entry was delivered (the log as it was at the last seek or
// open), S_FALSE past the last one, E_INVALIDARG for a bad handle or size.
HRESULT PhoneGetCallLogEntry(HANDLE h, PCALLLOGENTRY pentry);
// Moves to iRecord entries from the origin (the log is read anew from the
// beginning); *piRecord (may be null) gets the new position.
HRESULT PhoneSeekCallLog(HANDLE h, DWORD seek, DWORD iRecord, LPDWORD piRecord);
HRESULT PhoneCloseCallLog(HANDLE h);

// The library's exports by ordinal; null for an ordinal it does not have.
using FARPROC = void (*)();
FARPROC PhoneLibraryProc(WORD ordinal);

namespace device {

// One call of the log as the device keeps it.
struct CallRecord {
  std::int64_t id = 0;
  DWORD direction = IOM_INCOMING;
  std::int64_t startUnixMs = 0;  // milliseconds since 1970 (UTC)
  std::int64_t endUnixMs = 0;
  DWORD flags = 0;
  DWORD callerIdType = CALLERIDTYPE_AVAILABLE;
  std::u16string number, name, nameType, note;
};

// Adds a call (its own transaction, or within the caller's). A call without
// a name is named after the contact owning the number. Missed calls count
// in HKCU "System\State\Phone" "Missed Call Count"; incoming and missed calls
// set HKLM "System\State\Phone" "Last Incoming Caller Number" and "...Name".
// The call's id, 0 on failure.
std::int64_t AddCall(CallRecord record);
// The newest calls first; limit <= 0 for all.
std::vector<CallRecord> ListCalls(int limit);

}  // namespace device
