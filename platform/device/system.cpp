#include "platform/device/system.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/device/device_state.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace device {

namespace {

std::string g_memInfo = "/proc/meminfo";

DWORD Clamp32(unsigned long long v) { return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(v); }

}  // namespace

const std::vector<StateValue>& StateValues() {
  static const std::vector<StateValue> values = {
      {"time", true, u"System\\State\\DateTime", u"Time"},
      {"battery", true, u"System\\State\\Battery", u"Main"},
      {"signal strength", true, u"System\\State\\Phone", u"Signal Strength Raw"},
      {"operator", true, u"System\\State\\Phone", u"Current Operator Name"},
      {"missed calls", false, u"System\\State\\Phone", u"Missed Call Count"},
      {"unread SMS", false, u"System\\State\\Messages\\SMS\\Unread", u"Count"},
      {"unread MMS", false, u"System\\State\\Messages\\MMS\\Unread", u"Count"},
      {"unread e-mail", false, u"System\\State\\Messages\\TotalEmail\\Unread", u"Count"},
      {"active tasks", false, u"System\\State\\Tasks", u"Active"},
      {"Bluetooth devices", true, u"System\\State\\Connections\\Bluetooth", u"Count"},
      {"next alarm", false, u"System\\State\\Shell\\Alarms", u"Next"},
      {"ring volume", false, u"ControlPanel\\SoundCategories\\Ring", u"InitVol"},
  };
  return values;
}

void SetMemInfoFile(const std::string& path) { g_memInfo = path; }

std::string TimeZone() { return StateText("timezone"); }

bool SetTimeZone(const std::string& zone) {
  for (char c : zone)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '_' || c == '-' || c == '+')) return false;
  return SetStateText("timezone", zone);
}

std::string Locale() { return StateText("locale"); }

bool SetLocale(const std::string& name) {
  // A locale name: letters, "_" and "-" ("de_DE", "pt-BR"), at most "ll_CC.encoding@modifier" long.
  if (name.size() > 40) return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == '@')) return false;
  return SetStateText("locale", name);
}

bool UpdateTimeState(const SYSTEMTIME& t) {
  // Days from the civil date (proleptic Gregorian), then 100-ns ticks since 1601.
  int y = t.wYear, m = t.wMonth, d = t.wDay;
  y -= m <= 2;
  long era = (y >= 0 ? y : y - 399) / 400;
  unsigned yoe = static_cast<unsigned>(y - era * 400);
  unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  long long days1970 = era * 146097LL + doe - 719468;
  long long minutes = (days1970 + 134774) * 1440 + t.wHour * 60 + t.wMinute;
  unsigned long long ticks = static_cast<unsigned long long>(minutes) * 60ULL * 10000000ULL;
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((ticks >> (8 * i)) & 0xFF);
  reg::Value old;
  if (reg::Get(HKEY_LOCAL_MACHINE, u"System\\State\\DateTime", u"Time", &old) && old.data == bytes) return false;
  return reg::Set(HKEY_LOCAL_MACHINE, u"System\\State\\DateTime", u"Time", reg::BinaryValue(bytes));
}

}  // namespace device

void GlobalMemoryStatus(LPMEMORYSTATUS status) {
  if (!status) return;
  std::ifstream in(device::g_memInfo);
  std::string key;
  unsigned long long value = 0, total = 0, available = 0, free = 0, swapTotal = 0, swapFree = 0;
  std::string line;
  bool haveAvailable = false;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    if (!(ls >> key >> value)) continue;
    value *= 1024;  // kB
    if (key == "MemTotal:") total = value;
    else if (key == "MemAvailable:") available = value, haveAvailable = true;
    else if (key == "MemFree:") free = value;
    else if (key == "SwapTotal:") swapTotal = value;
    else if (key == "SwapFree:") swapFree = value;
  }
  if (!haveAvailable) available = free;
  available = std::min(available, total);
  *status = MEMORYSTATUS{};
  status->dwMemoryLoad = total ? static_cast<DWORD>((total - available) * 100 / total) : 0;
  status->dwTotalPhys = device::Clamp32(total);
  status->dwAvailPhys = device::Clamp32(available);
  status->dwTotalPageFile = device::Clamp32(swapTotal);
  status->dwAvailPageFile = device::Clamp32(std::min(swapFree, swapTotal));
  unsigned long long vmSize = 0;
  std::ifstream self("/proc/self/status");
  while (std::getline(self, line)) {
    std::istringstream ls(line);
    if ((ls >> key >> value) && key == "VmRSS:") vmSize = value * 1024;
  }
  constexpr unsigned long long kVirtual = 0x7FFE0000ull;
  status->dwTotalVirtual = static_cast<DWORD>(kVirtual);
  status->dwAvailVirtual = static_cast<DWORD>(kVirtual - std::min(vmSize, kVirtual));
}

MMRESULT waveOutGetVolume(HWAVEOUT, LPDWORD volume) {
  if (!volume) return MMSYSERR_INVALPARAM;
  std::string v = device::StateText("wave_volume");
  *volume = v.empty() ? 0xFFFFFFFFu : static_cast<DWORD>(std::strtoul(v.c_str(), nullptr, 10));
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutSetVolume(HWAVEOUT, DWORD volume) {
  return device::SetStateText("wave_volume", std::to_string(volume)) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

HRESULT SndGetSound(SND_EVENT event, SNDFILEINFO* info) {
  if (!info || event < SND_EVENT_ALL || event > SND_EVENT_LAST) return E_INVALIDARG;
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return HRESULT_FROM_WIN32(ERROR_CANTOPEN);
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(), "SELECT type, file FROM sounds WHERE event = ?1");
  st.Bind(1, static_cast<std::int64_t>(event));
  *info = SNDFILEINFO{};
  if (st.Step() == SQLITE_ROW) {
    info->sstType = static_cast<SND_SOUNDTYPE>(std::clamp<std::int64_t>(st.Int(0), 0, SND_SOUNDTYPE_LAST));
    std::u16string file = st.Text16(1);
    text::CopyTo(info->szPathName, MAX_PATH, file);
    auto slash = file.rfind(u'\\');
    text::CopyTo(info->szDisplayName, MAX_PATH, slash == std::u16string::npos ? file : file.substr(slash + 1));
  }
  return S_OK;
}

HRESULT SndSetSound(SND_EVENT event, const SNDFILEINFO* info, BOOL) {
  if (!info || event < SND_EVENT_ALL || event > SND_EVENT_LAST || info->sstType < 0 || info->sstType > SND_SOUNDTYPE_LAST)
    return E_INVALIDARG;
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return HRESULT_FROM_WIN32(ERROR_CANTOPEN);
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  bool ok = db->Transaction([&] {
    // "All events" sets every event, as the volume window expects.
    for (int e = event == SND_EVENT_ALL ? 0 : event; e <= (event == SND_EVENT_ALL ? SND_EVENT_LAST : event); ++e) {
      devdb::Statement st(db->handle(), "INSERT INTO sounds(event, type, file) VALUES (?1, ?2, ?3) "
                                        "ON CONFLICT(event) DO UPDATE SET type = excluded.type, file = excluded.file");
      st.Bind(1, static_cast<std::int64_t>(e)).Bind(2, static_cast<std::int64_t>(info->sstType)).Bind(3, std::u16string(info->szPathName));
      if (!st.Run()) return false;
    }
    return true;
  });
  return ok ? S_OK : HRESULT_FROM_WIN32(ERROR_CANTWRITE);
}
