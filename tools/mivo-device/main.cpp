// mivo-device: works on a device while mivo runs or not.
//
// Exit codes: 0 done, 1 the operation failed, 2 wrong usage. Errors go to
// standard error; results (reg get, state, launches) to standard output.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/device/phone.h"
#include "platform/device/power.h"
#include "platform/device/system.h"
#include "platform/fs/file_io.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/shell/kernel.h"
#include "platform/shell/launch.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/format_message.h"
#include "platform/win32/locale.h"
#include "platform/win32/text.h"
#include "tools/mivo-device/pim_commands.h"
#include "tools/mivo-device/radio_commands.h"
#include "tools/mivo-device/reg_file.h"

namespace {

constexpr const char* kUsage =
    "usage: mivo-device [--device DIR] COMMAND ...\n"
    "\n"
    "  init [DIR] [--seed N]            create and provision a device (DIR or --device)\n"
    "  state                            print the state values\n"
    "  set battery LEVEL [--ac|--no-ac] simulate the battery (LEVEL 0-100)\n"
    "  set battery host|auto            take the battery from the host (auto: when it has one)\n"
    "  set signal N                     signal strength 0-100\n"
    "  set operator NAME                the operator name\n"
    "  set timezone ZONE                the device's time zone (\"Europe/Prague\"; \"\" for the host's)\n"
    "  set locale NAME                  dates and times as in NAME (\"de_DE\"; \"\" for the host's)\n"
    "  reg get KEY NAME                 print one value\n"
    "  reg set KEY NAME dword N | sz TEXT | binary HEX | multi TEXT...\n"
    "  reg list KEY                     the values and sub-keys of a key\n"
    "  reg delete KEY [NAME]            delete a value, or the key with everything below it\n"
    "  reg export KEY FILE.reg          write the key and everything below it to a .reg file\n"
    "  reg import FILE.reg              apply a .reg file\n"
    "  wake                             wake the device (runs what is registered for wake-up)\n"
    "  launches [N]                     the last N programs started (default 20)\n"
    "  dials [N]                        the last N numbers dialled (default 20)\n"
    "  import-apps [FOLDER...]          make shortcuts of the host's applications (.desktop files)\n"
    "  empty-database FILE              write an empty device database (the build's: new devices copy it)\n"
    "%s"
    "%s"
    "\n"
    "KEY is written as the platform writes it: HKCU\\Software\\mivo\\mivo, HKLM\\System\\State\\Battery.\n"
    "Without --device the default device is used ($XDG_DATA_HOME/mivo/device or ~/.local/share/mivo/device).\n";

struct Usage {
  std::string message;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "mivo-device: %s\n", message.c_str());
  return 1;
}

void PrintUsage(FILE* to) { std::fprintf(to, kUsage, pimtool::kUsageLines, radiotool::kUsageLines); }

int UsageError(const std::string& message) {
  std::fprintf(stderr, "mivo-device: %s\n\n", message.c_str());
  PrintUsage(stderr);
  return 2;
}

bool IsHelp(const std::vector<std::string>& a) {
  for (const auto& s : a)
    if (s == "--help" || s == "-h") return true;
  return false;
}

bool ParseNumber(const std::string& s, long long lo, long long hi, long long* out) {
  if (s.empty()) return false;
  char* end = nullptr;
  long long v = std::strtoll(s.c_str(), &end, 0);
  if (*end || v < lo || v > hi) return false;
  *out = v;
  return true;
}

std::string Describe(const reg::Value& v) {
  DWORD dw;
  if (reg::AsDword(v, &dw)) return std::to_string(dw);
  if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) return text::ToUtf8(reg::AsString(v));
  if (v.type == REG_MULTI_SZ) {
    std::string out;
    for (const auto& s : reg::AsMultiString(v)) out += (out.empty() ? "" : "\n") + text::ToUtf8(s);
    return out;
  }
  std::string hex;
  char buf[4];
  for (unsigned char c : v.data) {
    std::snprintf(buf, sizeof buf, "%02x", c);
    hex += buf;
  }
  return hex;
}

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_SZ: return "sz";
    case REG_EXPAND_SZ: return "expand_sz";
    case REG_BINARY: return "binary";
    case REG_DWORD: return "dword";
    case REG_MULTI_SZ: return "multi";
    default: return "other";
  }
}

std::string ErrorText(DWORD e) {
  std::u16string t = SystemErrorText(e);
  return t.empty() ? "error " + std::to_string(e) : text::ToUtf8(t);
}

bool ParseKey(const std::string& s, HKEY* root, std::u16string* sub) {
  return reg::ParseKeyPath(text::FromUtf8(s), root, sub);
}

int CmdState() {
  for (const auto& sv : device::StateValues()) {
    reg::Value v;
    HKEY root = sv.machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    std::string shown = "(none)";
    if (reg::Get(root, sv.key, sv.name, &v)) {
      shown = Describe(v);
      DWORD dw;
      if (v.type == REG_BINARY && v.data.size() == 8) {
        // A FILETIME (the time, the next alarm): shown as a date and time.
        std::uint64_t ticks = 0;
        for (int i = 7; i >= 0; --i) ticks = (ticks << 8) | static_cast<unsigned char>(v.data[i]);
        std::time_t secs = static_cast<std::time_t>(ticks / 10000000ULL) - 11644473600LL;
        char when[32];
        std::tm tm{};
        gmtime_r(&secs, &tm);
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", &tm);
        shown = when;
      }
      if (std::string(sv.label) == "battery" && reg::AsDword(v, &dw)) {
        shown += " (flags " + std::to_string(dw & 0xFFFF) + ", level " + std::to_string((dw >> 16) + 19) + ")";
      }
    }
    std::printf("%-18s %s\\%s \"%s\" = %s\n", sv.label, sv.machine ? "HKLM" : "HKCU", text::ToUtf8(sv.key).c_str(),
                text::ToUtf8(sv.name).c_str(), shown.c_str());
  }
  SYSTEM_POWER_STATUS_EX2 power;
  GetSystemPowerStatusEx2(&power, sizeof power, TRUE);
  std::printf("%-18s %s, %d%%, AC %s\n", "power", device::BatterySource().c_str(),
              power.BatteryLifePercent == 255 ? -1 : power.BatteryLifePercent,
              power.ACLineStatus == 1 ? "online" : power.ACLineStatus == 0 ? "offline" : "unknown");
  MEMORYSTATUS mem;
  GlobalMemoryStatus(&mem);
  std::printf("%-18s %u%% in use\n", "memory", mem.dwMemoryLoad);
  DWORD volume = 0;
  waveOutGetVolume(nullptr, &volume);
  std::printf("%-18s 0x%08X\n", "wave volume", volume);
  std::string zone = device::TimeZone();
  std::printf("%-18s %s\n", "time zone", zone.empty() ? "(the host's)" : zone.c_str());
  return 0;
}

int CmdSet(const std::vector<std::string>& a) {
  if (IsHelp(a) || a.empty()) {
    std::printf(
        "usage: mivo-device set battery LEVEL [--ac|--no-ac] | battery host|auto | signal N | operator NAME "
        "| timezone ZONE | locale NAME\n");
    return a.empty() ? 2 : 0;
  }
  const std::string& what = a[0];
  if (what == "battery") {
    if (a.size() == 2 && (a[1] == "host" || a[1] == "auto")) {
      return device::SetBatterySource(a[1]) ? 0 : Fail("cannot change the battery source");
    }
    long long level;
    if (a.size() < 2 || a.size() > 3 || !ParseNumber(a[1], 0, 100, &level))
      return UsageError("set battery needs a level from 0 to 100");
    bool ac = false;
    if (a.size() == 3) {
      if (a[2] == "--ac") ac = true;
      else if (a[2] != "--no-ac") return UsageError("unknown option " + a[2]);
    }
    return device::SetSimulatedBattery(static_cast<int>(level), ac) ? 0 : Fail("cannot set the battery");
  }
  if (what == "signal") {
    long long n;
    if (a.size() != 2 || !ParseNumber(a[1], 0, 100, &n)) return UsageError("set signal needs a number from 0 to 100");
    return reg::SetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", static_cast<DWORD>(n))
               ? 0
               : Fail("cannot set the signal strength");
  }
  if (what == "operator") {
    if (a.size() != 2) return UsageError("set operator needs one NAME (quote it when it has spaces)");
    return reg::SetString(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Current Operator Name", text::FromUtf8(a[1]))
               ? 0
               : Fail("cannot set the operator");
  }
  if (what == "timezone") {
    if (a.size() != 2) return UsageError("set timezone needs one ZONE");
    if (!a[1].empty() && access(("/usr/share/zoneinfo/" + a[1]).c_str(), R_OK) != 0 &&
        a[1].find('/') != std::string::npos)
      return Fail("unknown time zone " + a[1]);
    return device::SetTimeZone(a[1]) ? 0 : Fail("cannot set the time zone " + a[1]);
  }
  if (what == "locale") {
    if (a.size() != 2) return UsageError("set locale needs one NAME");
    const std::vector<std::string> known = syslocale::KnownLocales();
    if (!a[1].empty() && !syslocale::IsKnownLocale(a[1])) {
      std::string names;
      for (const std::string& k : known) names += " " + k;
      return Fail("unknown locale " + a[1] + " (known:" + names + ")");
    }
    return device::SetLocale(a[1]) ? 0 : Fail("cannot set the locale " + a[1]);
  }
  return UsageError("unknown setting " + what);
}

int CmdReg(const std::vector<std::string>& a) {
  if (IsHelp(a)) {
    std::printf("usage: mivo-device reg get KEY NAME | set KEY NAME dword N|sz TEXT|binary HEX|multi TEXT... |\n"
                "                       list KEY | delete KEY [NAME] | export KEY FILE.reg | import FILE.reg\n");
    return 0;
  }
  if (a.empty()) return UsageError("reg needs a command");
  const std::string& op = a[0];
  HKEY root = nullptr;
  std::u16string sub;
  if (op == "import") {
    if (a.size() != 2) return UsageError("reg import needs FILE.reg");
    std::vector<std::uint8_t> bytes;
    if (!fs::ReadHostFile(a[1], &bytes)) return Fail("cannot read " + a[1] + ": " + ErrorText(GetLastError()));
    int changes = 0;
    std::string error;
    if (!regfile::Import(std::string(bytes.begin(), bytes.end()), &changes, &error)) return Fail(a[1] + ": " + error);
    std::printf("%d values imported\n", changes);
    return 0;
  }
  if (a.size() < 2) return UsageError("reg " + op + " needs a KEY");
  if (!ParseKey(a[1], &root, &sub)) return UsageError("unknown root in " + a[1] + " (HKCU or HKLM)");
  if (op == "get") {
    if (a.size() != 3) return UsageError("reg get needs KEY NAME");
    reg::Value v;
    if (!reg::Get(root, sub, text::FromUtf8(a[2]), &v)) return Fail("no value " + a[2] + " in " + a[1]);
    std::printf("%s\n", Describe(v).c_str());
    return 0;
  }
  if (op == "set") {
    if (a.size() < 5) return UsageError("reg set needs KEY NAME TYPE DATA");
    std::u16string name = text::FromUtf8(a[2]);
    const std::string& type = a[3];
    reg::Value v;
    if (type == "dword") {
      long long n;
      if (a.size() != 5 || !ParseNumber(a[4], 0, 0xFFFFFFFFll, &n))
        return UsageError("a dword is a number from 0 to 4294967295");
      v = reg::DwordValue(static_cast<DWORD>(n));
    } else if (type == "sz") {
      if (a.size() != 5) return UsageError("reg set ... sz takes one TEXT (quote it when it has spaces)");
      v = reg::StringValue(text::FromUtf8(a[4]));
    } else if (type == "binary") {
      std::string hex = a[4], bytes;
      if (a.size() != 5 || hex.size() % 2) return UsageError("binary data is an even number of hex digits");
      for (std::size_t i = 0; i < hex.size(); i += 2) {
        if (!std::isxdigit(static_cast<unsigned char>(hex[i])) ||
            !std::isxdigit(static_cast<unsigned char>(hex[i + 1])))
          return UsageError("binary data is an even number of hex digits");
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
      }
      v = reg::BinaryValue(bytes);
    } else if (type == "multi") {
      std::vector<std::u16string> items;
      for (std::size_t i = 4; i < a.size(); ++i) items.push_back(text::FromUtf8(a[i]));
      v = reg::MultiStringValue(items);
    } else {
      return UsageError("unknown type " + type + " (dword, sz, binary or multi)");
    }
    if (!reg::Set(root, sub, name, v)) return Fail("cannot write " + a[2] + ": " + ErrorText(GetLastError()));
    return 0;
  }
  if (op == "list") {
    if (a.size() != 2) return UsageError("reg list needs KEY");
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return Fail("no key " + a[1]);
    for (DWORD i = 0;; ++i) {
      char16_t name[16384];
      DWORD len = 16384;
      if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      std::printf("%s\\\n", text::ToUtf8(name).c_str());
    }
    for (DWORD i = 0;; ++i) {
      char16_t name[16384];
      DWORD len = 16384;
      if (RegEnumValueW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      reg::Value v;
      reg::Get(root, sub, name, &v);
      std::printf("%s (%s) = %s\n", len ? text::ToUtf8(name).c_str() : "@", TypeName(v.type), Describe(v).c_str());
    }
    RegCloseKey(key);
    return 0;
  }
  if (op == "delete") {
    if (a.size() == 2) {
      LONG r = RegDeleteKeyW(root, sub.c_str());
      return r == ERROR_SUCCESS ? 0 : Fail("cannot delete " + a[1] + ": " + ErrorText(static_cast<DWORD>(r)));
    }
    if (a.size() != 3) return UsageError("reg delete needs KEY [NAME]");
    return reg::Delete(root, sub, text::FromUtf8(a[2])) ? 0 : Fail("no value " + a[2] + " in " + a[1]);
  }
  if (op == "export") {
    if (a.size() != 3) return UsageError("reg export needs KEY FILE.reg");
    std::string out, error;
    if (!regfile::Export(root, sub, &out, &error)) return Fail(error);
    if (!fs::WriteHostFileAtomic(a[2], out.data(), out.size()))
      return Fail("cannot write " + a[2] + ": " + ErrorText(GetLastError()));
    return 0;
  }
  return UsageError("unknown reg command " + op);
}

int CmdWake() {
  devdb::Database* db = devdb::DeviceDatabase();
  std::vector<std::u16string> apps;
  {
    std::lock_guard<std::recursive_mutex> lock(db->mutex());
    devdb::Statement st(db->handle(), "SELECT app FROM run_at_event WHERE event = ?1 ORDER BY app");
    st.Bind(1, static_cast<std::int64_t>(NOTIFICATION_EVENT_WAKEUP));
    while (st.Step() == SQLITE_ROW) apps.push_back(st.Text16(0));
  }
  if (apps.empty()) std::printf("nothing is registered to run at wake-up\n");
  int failures = 0;
  for (const auto& app : apps) {
    std::u16string event = shell::NamedEventOfApplication(app);
    if (!event.empty()) {
      if (shell::SignalNamedEvent(event)) {
        std::printf("signalled %s\n", text::ToUtf8(event).c_str());
      } else {
        std::printf("%s: no program is waiting for it\n", text::ToUtf8(event).c_str());
      }
      continue;
    }
    SHELLEXECUTEINFO info;
    info.lpFile = app.c_str();
    if (ShellExecuteEx(&info)) {
      std::printf("started %s\n", text::ToUtf8(app).c_str());
    } else {
      std::fprintf(stderr, "mivo-device: cannot start %s: %s\n", text::ToUtf8(app).c_str(),
                   ErrorText(GetLastError()).c_str());
      ++failures;
    }
  }
  return failures ? 1 : 0;
}

// The optional count of the listings of recent things: 20 without one;
// false for a count that is not a number from 1 to 100000.
bool RecentCount(const std::vector<std::string>& a, long long* n) {
  *n = 20;
  return a.size() == 0 || (a.size() == 1 && ParseNumber(a[0], 1, 100000, n));
}

// "YYYY-MM-DD HH:MM:SS", local time.
std::string LocalTimeText(std::int64_t unixSeconds) {
  char when[32];
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&t));
  return when;
}

int CmdLaunches(const std::vector<std::string>& a) {
  long long n = 20;
  if (!RecentCount(a, &n)) return UsageError("launches takes an optional count");
  auto records = shell::RecentLaunches(static_cast<int>(n));
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    std::string line = LocalTimeText(it->time) + "  " + text::ToUtf8(it->file);
    if (!it->parameters.empty()) line += " " + text::ToUtf8(it->parameters);
    if (it->error)
      line += "  failed: " + ErrorText(it->error);
    else if (it->pid == 0)
      line += "  -> " + text::ToUtf8(it->command);  // opened by the device itself
    else
      line += "  -> " + text::ToUtf8(it->command) + " (pid " + std::to_string(it->pid) + ")";
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

int CmdDials(const std::vector<std::string>& a) {
  long long n = 20;
  if (!RecentCount(a, &n)) return UsageError("dials takes an optional count");
  auto records = device::RecentDials(static_cast<int>(n));
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    std::printf("%s  %s\n", LocalTimeText(it->time).c_str(), text::ToUtf8(it->number).c_str());
  }
  return 0;
}

int Help(const std::string& command) {
  (void)command;
  PrintUsage(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string deviceDir;
  while (!args.empty() && args[0].rfind("--", 0) == 0) {
    if (args[0] == "--help" || args[0] == "-h") return Help("");
    if (args[0] == "--device") {
      if (args.size() < 2) return UsageError("--device needs a folder");
      deviceDir = args[1];
      args.erase(args.begin(), args.begin() + 2);
    } else {
      return UsageError("unknown option " + args[0]);
    }
  }
  if (args.empty()) return UsageError("no command given");
  std::string command = args[0];
  std::vector<std::string> rest(args.begin() + 1, args.end());
  static const char* const kCommands[] = {"init",  "state", "set",      "reg",   "wake",        "launches", "dials",
                                          "import-apps", "sms", "call", "contacts", "tasks", "appointments",
                                          "radio", "volume", "empty-database"};
  bool known = false;
  for (const char* c : kCommands) known = known || command == c;
  if (!known) return UsageError("unknown command " + command);
  // These print their own usage.
  static const char* const kOwnHelp[] = {"set",   "reg",          "sms",   "call",  "contacts",
                                         "tasks", "appointments", "radio", "volume"};
  bool ownHelp = false;
  for (const char* c : kOwnHelp) ownHelp = ownHelp || command == c;
  if (IsHelp(rest) && !ownHelp) return Help(command);

  if (command == "empty-database") {
    // The build's: the empty database new devices start as a copy of.
    if (rest.size() != 1) return UsageError("empty-database needs one FILE that does not exist yet");
    std::string error;
    if (!devdb::WriteEmptyDatabase(rest[0], &error)) return Fail(error);
    return 0;
  }

  if (command == "init") {
    device::DeviceOptions options;
    for (std::size_t i = 0; i < rest.size(); ++i) {
      long long seed;
      if (rest[i] == "--seed" && i + 1 < rest.size() && ParseNumber(rest[i + 1], 0, 0xFFFFFFFFll, &seed)) {
        options.seed = static_cast<std::uint32_t>(seed);
        ++i;
      } else if (rest[i].rfind("--", 0) != 0 && deviceDir.empty()) {
        deviceDir = rest[i];
      } else {
        return UsageError("init takes a folder and --seed N");
      }
    }
    if (deviceDir.empty()) deviceDir = device::DefaultDeviceFolder();
    options.provision = false;
    std::string error;
    if (!device::OpenDevice(deviceDir, &error, options)) return Fail(error);
    if (device::IsProvisioned()) {
      std::printf("%s is already a device\n", device::DeviceFolder().c_str());
      return 0;
    }
    std::vector<std::string> notes;
    if (!device::ProvisionDevice(options, &notes, &error)) return Fail(error);
    for (const auto& n : notes) std::printf("%s\n", n.c_str());
    std::printf("made a device in %s\n", device::DeviceFolder().c_str());
    return 0;
  }

  if (deviceDir.empty()) deviceDir = device::DefaultDeviceFolder();
  if (access((deviceDir + "/device.db").c_str(), F_OK) != 0)
    return Fail("no device in " + deviceDir + " (make one with: mivo-device --device " + deviceDir + " init)");
  device::DeviceOptions options;
  options.provision = false;
  std::string error;
  if (!device::OpenDevice(deviceDir, &error, options)) return Fail(error);

  if (command == "state") return rest.empty() ? CmdState() : UsageError("state takes no arguments");
  if (command == "set") return CmdSet(rest);
  if (command == "reg") return CmdReg(rest);
  if (command == "wake") return rest.empty() ? CmdWake() : UsageError("wake takes no arguments");
  if (command == "launches") return CmdLaunches(rest);
  if (command == "dials") return CmdDials(rest);
  if (command == "sms") return pimtool::Sms(rest);
  if (command == "call") return pimtool::Call(rest);
  if (command == "contacts") return pimtool::Contacts(rest);
  if (command == "tasks") return pimtool::Tasks(rest);
  if (command == "appointments") return pimtool::Appointments(rest);
  if (command == "radio") return radiotool::Radio(rest);
  if (command == "volume") return radiotool::Volume(rest);
  if (command == "import-apps") {
    std::vector<std::string> added;
    int n = device::ImportHostApplications(rest, &added);
    for (const auto& name : added) std::printf("added %s\n", name.c_str());
    std::printf("%d programs imported\n", n);
    return 0;
  }
  return UsageError("unknown command " + command);
}
