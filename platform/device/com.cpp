#include "platform/device/com.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/win32/clock.h"

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

bool operator==(const GUID& a, const GUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 && std::memcmp(a.Data4, b.Data4, 8) == 0;
}

namespace {

thread_local int t_comInits = 0;

struct ComClass {
  CLSID clsid;
  ClassFactoryFn create;
};

std::mutex g_classesMutex;
std::vector<ComClass>& Classes() {
  static std::vector<ComClass> classes;
  return classes;
}

}  // namespace

HRESULT CoInitializeEx(LPVOID, DWORD) {
  ++t_comInits;
  return t_comInits == 1 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (t_comInits > 0) --t_comInits;
}

void RegisterComClass(const CLSID& clsid, ClassFactoryFn create) {
  std::lock_guard<std::mutex> lock(g_classesMutex);
  for (ComClass& c : Classes()) {
    if (c.clsid == clsid) {
      c.create = create;
      return;
    }
  }
  Classes().push_back({clsid, create});
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD, REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (t_comInits == 0) return CO_E_NOTINITIALIZED;
  if (outer) return CLASS_E_NOAGGREGATION;
  ClassFactoryFn create = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_classesMutex);
    for (const ComClass& c : Classes())
      if (c.clsid == clsid) create = c.create;
  }
  return create ? create(iid, object) : REGDB_E_CLASSNOTREG;
}

// ---- BSTR -------------------------------------------------------------------------
// The length in bytes stands in the four bytes before the text, which ends
// with a terminator, as on the platform.

BSTR SysAllocStringLen(const char16_t* text, UINT length) {
  auto* raw = static_cast<unsigned char*>(std::malloc(sizeof(std::uint32_t) + (length + 1) * sizeof(char16_t)));
  if (!raw) return nullptr;
  std::uint32_t bytes = length * sizeof(char16_t);
  std::memcpy(raw, &bytes, sizeof bytes);
  auto* chars = reinterpret_cast<char16_t*>(raw + sizeof bytes);
  if (text)
    std::memcpy(chars, text, bytes);
  else
    std::memset(chars, 0, bytes);
  chars[length] = 0;
  return chars;
}

BSTR SysAllocString(const char16_t* text) {
  if (!text) return nullptr;
  UINT n = 0;
  while (text[n]) ++n;
  return SysAllocStringLen(text, n);
}

void SysFreeString(BSTR text) {
  if (text) std::free(reinterpret_cast<unsigned char*>(text) - sizeof(std::uint32_t));
}

UINT SysStringLen(BSTR text) {
  if (!text) return 0;
  std::uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<unsigned char*>(text) - sizeof bytes, sizeof bytes);
  return bytes / sizeof(char16_t);
}

// ---- Dates -------------------------------------------------------------------------

namespace {

// Days from 1899-12-30 to 1970-01-01.
constexpr double kUnixEpochDays = 25569.0;

}  // namespace

INT VariantTimeToSystemTime(DATE time, LPSYSTEMTIME st) {
  if (!st || !std::isfinite(time)) return FALSE;
  // Years 100 to 9999, as the platform accepts.
  if (time < -657434.0 || time >= 2958466.0) return FALSE;
  // Before 1899-12-30 the fraction counts forwards from the (negative) day:
  // -1.25 is 1899-12-29 06:00.
  double day = std::trunc(time);
  double fraction = std::fabs(time - day);
  std::int64_t seconds = static_cast<std::int64_t>(std::llround(fraction * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    day += time < 0 ? -1 : 1;
  }
  std::int64_t ms =
      (static_cast<std::int64_t>(day) - static_cast<std::int64_t>(kUnixEpochDays)) * 86400000LL + seconds * 1000;
  *st = sysclock::UnixMsToSystemTime(ms);
  return TRUE;
}

INT SystemTimeToVariantTime(const SYSTEMTIME* st, DATE* time) {
  if (!st || !time || !sysclock::IsValidSystemTime(*st) || st->wYear < 100) return FALSE;
  SYSTEMTIME whole = *st;
  whole.wMilliseconds = 0;
  std::int64_t ms = sysclock::SystemTimeToUnixMs(whole);
  std::int64_t days = ms >= 0 ? ms / 86400000LL : -((-ms + 86399999LL) / 86400000LL);
  double fraction = static_cast<double>(ms - days * 86400000LL) / 86400000.0;
  double d = static_cast<double>(days) + kUnixEpochDays;
  *time = d >= 0 ? d + fraction : d - fraction;
  return TRUE;
}
