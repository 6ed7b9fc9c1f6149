// The phone's outgoing services that the launcher starts: dialling a number
// (PhoneMakeCall) and opening the message composer (MailComposeMessage).
//
// This host has no radio: a dial is recorded in device.db (table "dials")
// and as an outgoing call in the call log (call_log.h), so it is visible to
// tests and to mivo-device ("dials", "call log"), and nothing else happens.
// The composer is the device's "tmail.exe", started through the shell with
// the platform's command line ("-service "SMS" -to "..."), so it runs
// whatever host program the device maps it to and is recorded as a launch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/types.h"

// PhoneMakeCall's request.
struct PHONEMAKECALLINFO {
  DWORD cbSize = sizeof(PHONEMAKECALLINFO);
  DWORD dwFlags = 0;
  LPCWSTR pszDestAddress = nullptr;
  LPCWSTR pszAppName = nullptr;
  LPCWSTR pszCalledParty = nullptr;
  LPCWSTR pszComment = nullptr;
};
constexpr DWORD PMCF_DEFAULT = 0x00000001;             // dial without asking
constexpr DWORD PMCF_PROMPTBEFORECALLING = 0x00000002;  // the platform asks first

// 0 when the call was placed; ERROR_INVALID_PARAMETER for a missing request
// or a destination without a single digit (nothing could be dialled).
LONG PhoneMakeCall(PHONEMAKECALLINFO* info);

// MailComposeMessage's request.
struct MAILCOMPOSESTRUCT {
  DWORD cbSize = sizeof(MAILCOMPOSESTRUCT);
  DWORD dwFlags = 0;
  LPCWSTR pszAccount = nullptr;      // "SMS", "ActiveSync", ...
  LPCWSTR pszTo = nullptr;           // recipients, may be null
  LPCWSTR pszCc = nullptr;
  LPCWSTR pszBcc = nullptr;
  LPCWSTR pszSubject = nullptr;
  LPCWSTR pszBody = nullptr;
  LPCWSTR pszAttachments = nullptr;
};
constexpr DWORD MCF_RUN_IN_BACKGROUND = 0x00000001;

// S_OK when the composer started; E_INVALIDARG for a missing request, E_FAIL
// (with the shell's last error) when it could not be started.
HRESULT MailComposeMessage(MAILCOMPOSESTRUCT* info);

namespace device {

// One recorded dial, newest first from RecentDials.
struct DialRecord {
  std::int64_t id = 0;
  std::int64_t time = 0;  // seconds since 1970, host clock
  std::u16string number;  // as it was dialled
  std::u16string calledParty;
};
std::vector<DialRecord> RecentDials(int limit);

}  // namespace device
