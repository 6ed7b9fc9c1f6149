#include "platform/device/phone.h"

#include <ctime>

#include "platform/device/call_log.h"
#include "platform/registry/database.h"
#include "platform/shell/launch.h"
#include "platform/win32/clock.h"
#include "platform/win32/errors.h"
#include "platform/win32/messages.h"
#include "platform/win32/text.h"

namespace {

bool HasDigit(std::u16string_view number) {
  for (char16_t c : number)
    if (c >= u'0' && c <= u'9') return true;
  return false;
}

// The platform's way of quoting one composer argument.
std::u16string Quoted(std::u16string_view value) { return u"\"" + std::u16string(value) + u"\""; }

}  // namespace

LONG PhoneMakeCall(PHONEMAKECALLINFO* info) {
  if (!info || !info->pszDestAddress || !HasDigit(info->pszDestAddress)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return static_cast<LONG>(ERROR_INVALID_PARAMETER);
  }
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return 0;  // no device open: there is nothing to record to, the dial itself "happened"
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  // The dial and the outgoing call it makes in the call log, together.
  db->Transaction([&] {
    devdb::Statement st(db->handle(), "INSERT INTO dials(time, number, called_party) VALUES (?1, ?2, ?3)");
    st.Bind(1, static_cast<std::int64_t>(std::time(nullptr)))
        .Bind(2, std::u16string(info->pszDestAddress))
        .Bind(3, std::u16string(info->pszCalledParty ? info->pszCalledParty : u""));
    if (!st.Run()) return false;
    device::CallRecord call;
    call.direction = IOM_OUTGOING;
    call.flags = CALLLOGFLAG_OUTGOING | CALLLOGFLAG_ENDED;
    call.startUnixMs = call.endUnixMs = sysclock::UnixMs();
    call.number = info->pszDestAddress;
    if (info->pszCalledParty) call.name = info->pszCalledParty;
    return device::AddCall(call) != 0;
  });
  return 0;
}

HRESULT MailComposeMessage(MAILCOMPOSESTRUCT* info) {
  if (!info) return E_INVALIDARG;
  std::u16string parameters;
  if (info->pszAccount && *info->pszAccount) parameters += u"-service " + Quoted(info->pszAccount);
  if (info->pszTo && *info->pszTo) parameters += (parameters.empty() ? u"" : u" ") + (u"-to " + Quoted(info->pszTo));
  if (info->pszSubject && *info->pszSubject) {
    parameters += (parameters.empty() ? u"" : u" ") + (u"-subject " + Quoted(info->pszSubject));
  }
  if (info->pszBody && *info->pszBody) parameters += (parameters.empty() ? u"" : u" ") + (u"-body " + Quoted(info->pszBody));
  SHELLEXECUTEINFO run;
  run.lpVerb = u"Open";
  run.lpFile = u"tmail.exe";
  run.lpParameters = parameters.c_str();
  run.nShow = SW_SHOW;
  return ShellExecuteEx(&run) ? S_OK : E_FAIL;
}

namespace device {

std::vector<DialRecord> RecentDials(int limit) {
  std::vector<DialRecord> out;
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return out;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(), "SELECT id, time, number, called_party FROM dials ORDER BY id DESC LIMIT ?1");
  st.Bind(1, static_cast<std::int64_t>(limit));
  while (st.Step() == SQLITE_ROW) {
    DialRecord r;
    r.id = st.Int(0);
    r.time = st.Int(1);
    r.number = st.Text16(2);
    r.calledParty = st.Text16(3);
    out.push_back(std::move(r));
  }
  return out;
}

}  // namespace device
