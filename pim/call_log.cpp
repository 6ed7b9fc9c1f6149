#include "pim/call_log.h"

#include "look/string_ids.h"
#include "platform/device/phone.h"
#include "platform/registry/registry.h"
#include "platform/win32/local_memory.h"

namespace {

// The phone library's exports by ordinal.
constexpr WORD kOpenCallLog = 1;
constexpr WORD kGetCallLogEntry = 2;
constexpr WORD kCloseCallLog = 3;
constexpr WORD kSeekCallLog = 4;
constexpr WORD kMakeCall = 5;

template <typename Fn>
Fn Proc(WORD ordinal) {
  return reinterpret_cast<Fn>(PhoneLibraryProc(ordinal));
}

constexpr mivoCallLogFilter kFilters[] = {
    {IDS_ALL_CALLS, u"call_log_all_page", -1, IDS_NO_CALLS, IDS_ALL_CALLS_HELP},
    {IDS_INCOMING_CALLS, u"call_log_incoming_page", static_cast<int>(IOM_INCOMING), IDS_NO_INCOMING_CALLS,
     IDS_INCOMING_CALLS_HELP},
    {IDS_OUTGOING_CALLS, u"call_log_outgoing_page", static_cast<int>(IOM_OUTGOING), IDS_NO_OUTGOING_CALLS,
     IDS_OUTGOING_CALLS_HELP},
    {IDS_MISSED_CALLS, u"call_log_missed_page", static_cast<int>(IOM_MISSED), IDS_NO_MISSED_CALLS,
     IDS_MISSED_CALLS_HELP},
};

}  // namespace

mivoCallLog::mivoCallLog() = default;

mivoCallLog::~mivoCallLog() {
  FreeEntries();
  if (m_log) Proc<HRESULT (*)(HANDLE)>(kCloseCallLog)(m_log);
  m_log = nullptr;
}

void mivoCallLog::FreeEntries() {
  for (CALLLOGENTRY& e : m_entries)
    for (LPWSTR s : {e.pszNumber, e.pszName, e.pszNameType, e.pszNote}) LocalFree(s);
  m_entries.clear();
}

void mivoCallLog::ReadCallLog() {
  if (!m_log && FAILED(Proc<HRESULT (*)(HANDLE*)>(kOpenCallLog)(&m_log))) m_log = nullptr;
  FreeEntries();
  if (!m_log) return;
  Proc<HRESULT (*)(HANDLE, DWORD, DWORD, LPDWORD)>(kSeekCallLog)(m_log, CALLLOGSEEK_BEGINNING, 0, nullptr);
  auto get = Proc<HRESULT (*)(HANDLE, PCALLLOGENTRY)>(kGetCallLogEntry);
  for (;;) {
    CALLLOGENTRY entry{};
    entry.cbSize = sizeof(CALLLOGENTRY);
    if (get(m_log, &entry) != 0) break;
    m_entries.push_back(entry);
  }
}

void mivoCallLog::MakeCall(const std::u16string& number, const std::u16string& name, bool askFirst) {
  PHONEMAKECALLINFO request;
  request.cbSize = sizeof(PHONEMAKECALLINFO);
  request.dwFlags = askFirst ? PMCF_PROMPTBEFORECALLING : PMCF_DEFAULT;
  request.pszDestAddress = number.c_str();
  request.pszAppName = nullptr;
  request.pszCalledParty = name == number ? u"" : name.c_str();
  request.pszComment = nullptr;
  Proc<LONG (*)(PHONEMAKECALLINFO*)>(kMakeCall)(&request);
}

const mivoCallLogFilter* GetCallLogFilter(int filter) {
  return filter >= 0 && filter < 4 ? &kFilters[filter] : nullptr;
}

bool CallLogFilterKeeps(int filter, const CALLLOGENTRY& entry) {
  const mivoCallLogFilter* f = GetCallLogFilter(filter);
  return f && (f->direction < 0 || static_cast<DWORD>(f->direction) == entry.iom);
}

void ResetMissedCallCount() { RegistrySetDWORD(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count", 0); }
