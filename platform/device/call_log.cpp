#include "platform/device/call_log.h"

#include <cstring>
#include <map>
#include <mutex>

#include "platform/device/message_db.h"
#include "platform/device/phone.h"
#include "platform/device/pim_db.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/local_memory.h"

namespace {

constexpr char16_t kPhoneKey[] = u"System\\State\\Phone";

// An open call log: the calls as read at the last seek, and where reading stands.
struct Cursor {
  std::vector<device::CallRecord> calls;
  std::size_t next = 0;
};

std::mutex g_cursorsMutex;
std::map<std::uintptr_t, Cursor>& Cursors() {
  static std::map<std::uintptr_t, Cursor> cursors;
  return cursors;
}
std::uintptr_t g_nextHandle = 0x43000000;

FILETIME ToFileTime(std::int64_t unixMs) {
  auto ticks = static_cast<std::uint64_t>(msgdb::UnixMsToTicks(unixMs));
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ft;
}

LPWSTR LocalText(const std::u16string& s) {
  auto* p = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, (s.size() + 1) * sizeof(char16_t)));
  if (!p) return nullptr;
  std::memcpy(p, s.data(), s.size() * sizeof(char16_t));
  p[s.size()] = 0;
  return p;
}

}  // namespace

HRESULT PhoneOpenCallLog(HANDLE* ph) {
  if (!ph) return E_INVALIDARG;
  *ph = nullptr;
  if (!devdb::DeviceDatabase()) return E_FAIL;
  std::lock_guard<std::mutex> lock(g_cursorsMutex);
  std::uintptr_t h = g_nextHandle += 4;
  Cursors()[h].calls = device::ListCalls(0);
  *ph = reinterpret_cast<HANDLE>(h);
  return S_OK;
}

HRESULT PhoneGetCallLogEntry(HANDLE h, PCALLLOGENTRY pentry) {
  if (!pentry || pentry->cbSize != sizeof(CALLLOGENTRY)) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(g_cursorsMutex);
  auto it = Cursors().find(reinterpret_cast<std::uintptr_t>(h));
  if (it == Cursors().end()) return E_INVALIDARG;
  Cursor& c = it->second;
  if (c.next >= c.calls.size()) return S_FALSE;
  const device::CallRecord& r = c.calls[c.next++];
  pentry->ftStartTime = ToFileTime(r.startUnixMs);
  pentry->ftEndTime = ToFileTime(r.endUnixMs);
  pentry->iom = r.direction;
  pentry->flags = r.flags;
  pentry->cidt = r.callerIdType;
  pentry->pszNumber = LocalText(r.number);
  pentry->pszName = LocalText(r.name);
  pentry->pszNameType = LocalText(r.nameType);
  pentry->pszNote = LocalText(r.note);
  return S_OK;
}

HRESULT PhoneSeekCallLog(HANDLE h, DWORD seek, DWORD iRecord, LPDWORD piRecord) {
  std::vector<device::CallRecord> calls = device::ListCalls(0);
  std::lock_guard<std::mutex> lock(g_cursorsMutex);
  auto it = Cursors().find(reinterpret_cast<std::uintptr_t>(h));
  if (it == Cursors().end()) return E_INVALIDARG;
  Cursor& c = it->second;
  std::size_t position;
  switch (seek) {
    case CALLLOGSEEK_BEGINNING: position = iRecord; break;
    case CALLLOGSEEK_CURRENT: position = c.next + iRecord; break;
    case CALLLOGSEEK_END: position = iRecord >= calls.size() ? 0 : calls.size() - iRecord; break;
    default: return E_INVALIDARG;
  }
  c.calls = std::move(calls);
  c.next = std::min(position, c.calls.size());
  if (piRecord) *piRecord = static_cast<DWORD>(c.next);
  return S_OK;
}

HRESULT PhoneCloseCallLog(HANDLE h) {
  std::lock_guard<std::mutex> lock(g_cursorsMutex);
  return Cursors().erase(reinterpret_cast<std::uintptr_t>(h)) ? S_OK : E_INVALIDARG;
}

FARPROC PhoneLibraryProc(WORD ordinal) {
  switch (ordinal) {
    case 1: return reinterpret_cast<FARPROC>(&PhoneOpenCallLog);
    case 2: return reinterpret_cast<FARPROC>(&PhoneGetCallLogEntry);
    case 3: return reinterpret_cast<FARPROC>(&PhoneCloseCallLog);
    case 4: return reinterpret_cast<FARPROC>(&PhoneSeekCallLog);
    case 5: return reinterpret_cast<FARPROC>(&PhoneMakeCall);
    default: return nullptr;
  }
}

namespace device {

std::int64_t AddCall(CallRecord record) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return 0;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  if (record.name.empty() && record.callerIdType == CALLERIDTYPE_AVAILABLE) {
    ContactRecord contact;
    if (FindContactByNumber(record.number, &contact, record.nameType.empty() ? &record.nameType : nullptr))
      record.name = contact.DisplayName();
  }
  if (record.endUnixMs < record.startUnixMs) record.endUnixMs = record.startUnixMs;
  std::int64_t id = 0;
  bool ok = db->Transaction([&] {
    devdb::Statement st(db->handle(),
                        "INSERT INTO call_log(start_time, end_time, direction, flags, caller_id_type, number, name, "
                        "name_type, note) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    st.Bind(1, msgdb::UnixMsToTicks(record.startUnixMs)).Bind(2, msgdb::UnixMsToTicks(record.endUnixMs));
    st.Bind(3, static_cast<std::int64_t>(record.direction)).Bind(4, static_cast<std::int64_t>(record.flags));
    st.Bind(5, static_cast<std::int64_t>(record.callerIdType)).Bind(6, record.number).Bind(7, record.name);
    st.Bind(8, record.nameType).Bind(9, record.note);
    if (!st.Run()) return false;
    id = sqlite3_last_insert_rowid(db->handle());
    if (record.direction == IOM_MISSED) {
      DWORD missed = 0;
      reg::GetDword(HKEY_CURRENT_USER, kPhoneKey, u"Missed Call Count", &missed);
      if (!reg::SetDword(HKEY_CURRENT_USER, kPhoneKey, u"Missed Call Count", missed + 1)) return false;
    }
    if (record.direction != IOM_OUTGOING) {
      std::u16string shown = record.callerIdType == CALLERIDTYPE_AVAILABLE ? record.number : std::u16string();
      if (!reg::SetString(HKEY_LOCAL_MACHINE, kPhoneKey, u"Last Incoming Caller Number", shown) ||
          !reg::SetString(HKEY_LOCAL_MACHINE, kPhoneKey, u"Last Incoming Caller Name", record.name))
        return false;
    }
    return true;
  });
  return ok ? id : 0;
}

std::vector<CallRecord> ListCalls(int limit) {
  std::vector<CallRecord> out;
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return out;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(
      db->handle(),
      "SELECT id, start_time, end_time, direction, flags, caller_id_type, number, name, name_type, note "
      "FROM call_log ORDER BY start_time DESC, id DESC LIMIT ?1");
  st.Bind(1, static_cast<std::int64_t>(limit > 0 ? limit : -1));
  while (st.Step() == SQLITE_ROW) {
    CallRecord r;
    r.id = st.Int(0);
    r.startUnixMs = msgdb::TicksToUnixMs(st.Int(1));
    r.endUnixMs = msgdb::TicksToUnixMs(st.Int(2));
    r.direction = static_cast<DWORD>(st.Int(3));
    r.flags = static_cast<DWORD>(st.Int(4));
    r.callerIdType = static_cast<DWORD>(st.Int(5));
    r.number = st.Text16(6);
    r.name = st.Text16(7);
    r.nameType = st.Text16(8);
    r.note = st.Text16(9);
    out.push_back(std::move(r));
  }
  return out;
}

}  // namespace device
