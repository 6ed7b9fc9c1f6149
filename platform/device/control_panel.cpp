#include "platform/device/control_panel.h"

#include <cstring>
#include <map>
#include <mutex>

#include "platform/registry/registry.h"
#include "platform/shell/file_info.h"
#include "platform/shell/launch.h"
#include "platform/shell/library.h"
#include "platform/win32/messages.h"
#include "platform/win32/text.h"
#include "platform/window/metrics.h"

namespace device {

namespace {

constexpr char16_t kControlPanelKey[] = u"ControlPanel\\";
constexpr char16_t kHostCommandsKey[] = u"Device\\Host Programs\\Control Panel";
constexpr int kAppletPositions = 26;
// An applet's own icon when the host's theme lacks it.
constexpr char kFallbackIcon[] = "preferences-system";

const std::vector<ControlPanelApplet> kApplets = {
    {0, u"Lock", u"Lock the device after a time without use", u"Lock", 0, "system-lock-screen", nullptr},
    {1, u"Menus", u"Choose what the Start menu shows", u"Menus", 0, "preferences-desktop", nullptr},
    {2, u"Owner Information", u"Your name and notes for whoever finds the device", u"Owner", 0, "user-info",
     nullptr},
    {3, u"Power", u"Battery, power saving and USB charging", u"Power", 1, "battery-full-charged",
     "gnome-control-center power"},
    {4, u"Memory", u"Program and storage memory, running programs", u"Memory", 1, "media-flash", nullptr},
    {5, u"About", u"Version, device identity and copyrights", u"About", 1, "help-about", nullptr},
    {6, u"Backlight", u"Screen brightness and when it dims", u"Backlight", 1, "preferences-desktop-screensaver",
     "gnome-control-center power"},
    {7, u"Screen", u"Orientation, ClearType and text size", u"Screen", 1, "preferences-desktop-display",
     "gnome-control-center display"},
    {8, u"Input", u"Input method, word completion and options", u"Input", 0, "preferences-desktop-keyboard", nullptr},
    {9, u"Sounds & Notifications", u"Sounds of events and how you are told", u"Sounds", 0, "audio-volume-high",
     "gnome-control-center sound"},
    {10, u"Remove Programs", u"Remove programs stored in memory", u"Remove Programs", 1, "edit-delete", nullptr},
    {11, u"Error Reporting", u"Send reports of program errors", u"Error Reporting", 1, "dialog-warning", nullptr},
    {12, u"Buttons", u"What the hardware buttons start", u"Buttons", 0, "preferences-desktop-keyboard-shortcuts",
     nullptr},
    {13, u"Today", u"The Today screen's look and items", u"Today", 0, "preferences-desktop-wallpaper", nullptr},
    {15, u"Beam", u"Receive incoming beams", u"Beam", 2, "network-transmit-receive", nullptr},
    {16, u"Clock & Alarms", u"Time, date, time zone and alarms", u"Clock", 1, "appointment-new",
     "gnome-control-center datetime"},
    {17, u"Network Cards", u"Network adapters and their settings", u"Network Cards", 2, "network-wired",
     "gnome-control-center network"},
    {18, u"Regional Settings", u"Region, number, currency, time and date formats", u"Regional", 1,
     "preferences-desktop-locale", "gnome-control-center region"},
    {19, u"Connections", u"Internet, work and modem connections", u"Connections", 2, "network-workgroup",
     "gnome-control-center network"},
    {20, u"Phone", u"Phone, services, network and data settings", u"Phone", 0, "phone", nullptr},
    {22, u"Certificates", u"Certificates that identify you and others", u"Certificates", 1,
     "application-certificate", nullptr},
    {23, u"Bluetooth", u"Bluetooth mode, devices and COM ports", u"Bluetooth", 2, "bluetooth",
     "gnome-control-center bluetooth"},
    {24, u"Wi-Fi", u"Wireless networks", u"WiFi", 2, "network-wireless", "gnome-control-center wifi"},
    {25, u"USB to PC", u"How the device connects to a computer", u"USB", 2, "drive-removable-media", nullptr},
};

const ControlPanelApplet* AppletAt(LPARAM index) {
  for (const ControlPanelApplet& a : kApplets)
    if (a.index == index) return &a;
  return nullptr;
}

// The library's icons, made on first inquiry and kept for the process (a
// library's icons are its resources: callers never destroy them).
HICON AppletIcon(const ControlPanelApplet& applet) {
  static std::mutex mutex;
  static std::map<int, HICON> icons;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = icons.find(applet.index);
  if (it != icons.end()) return it->second;
  const int size = GetSystemMetrics(SM_CXICON) > 0 ? GetSystemMetrics(SM_CXICON) : 32;
  HICON icon = shell::LoadThemeIconByName(applet.icon, size);
  if (!icon) icon = shell::LoadThemeIconByName(kFallbackIcon, size);
  icons[applet.index] = icon;
  return icon;
}

void Copy(WCHAR* to, std::size_t capacity, std::u16string_view from) {
  const std::size_t n = std::min(from.size(), capacity - 1);
  std::memcpy(to, from.data(), n * sizeof(WCHAR));
  to[n] = 0;
}

FARPROC Exports(std::u16string_view procName) {
  return procName == u"CPlApplet" ? reinterpret_cast<FARPROC>(&CPlApplet) : nullptr;
}

// "cplmain.cpl,A,T": the applet and the tab (0 when not given).
bool ParseCommandLine(std::u16string_view parameters, int* applet, int* tab) {
  std::string line = text::ToUtf8(parameters);
  const std::size_t comma = line.find(',');
  if (comma == std::string::npos) return false;
  std::string library = line.substr(0, comma);
  while (!library.empty() && (library.front() == ' ' || library.front() == '"')) library.erase(0, 1);
  while (!library.empty() && (library.back() == ' ' || library.back() == '"')) library.pop_back();
  if (text::ToLower(text::FromUtf8(library)) != u"cplmain.cpl") return false;
  *tab = 0;
  char* end = nullptr;
  const long a = std::strtol(line.c_str() + comma + 1, &end, 10);
  if (end == line.c_str() + comma + 1) return false;
  if (*end == ',') *tab = static_cast<int>(std::strtol(end + 1, nullptr, 10));
  *applet = static_cast<int>(a);
  return true;
}

// "\Windows\ctlpnl.exe": the applet's host settings, else the device opens it.
bool ControlPanelHost(std::u16string_view parameters, shell::ResolvedLaunch* out) {
  int index = 0, tab = 0;
  if (!ParseCommandLine(parameters, &index, &tab)) return false;
  const ControlPanelApplet* applet = AppletAt(index);
  if (!applet) return false;
  std::u16string command;
  const std::u16string key(applet->key);
  if (!reg::GetString(HKEY_LOCAL_MACHINE, kHostCommandsKey, text::Format(u"%s,%d", key, tab), &command) ||
      command.empty()) {
    reg::GetString(HKEY_LOCAL_MACHINE, kHostCommandsKey, key, &command);
  }
  out->argv = shell::SplitHostCommand(text::ToUtf8(command));
  out->caption = applet->name;
  out->onDevice = text::Format(u"control panel: %s, tab %d", std::u16string(applet->name), tab);
  return true;
}

}  // namespace

const std::vector<ControlPanelApplet>& ControlPanelApplets() { return kApplets; }

int ControlPanelAppletCount() { return kAppletPositions; }

LONG CPlApplet(HWND, UINT msg, LPARAM lParam1, LPARAM lParam2) {
  switch (msg) {
    case CPL_INIT:
      return 1;
    case CPL_GETCOUNT:
      return kAppletPositions;
    case CPL_NEWINQUIRE: {
      const ControlPanelApplet* applet = AppletAt(lParam1);
      auto* info = reinterpret_cast<NEWCPLINFO*>(lParam2);
      if (!applet || !info || info->dwSize != sizeof(NEWCPLINFO)) return 1;
      info->dwFlags = 0;
      info->dwHelpContext = 0;
      info->lData = 0;
      info->hIcon = AppletIcon(*applet);
      Copy(info->szName, 32, applet->name);
      Copy(info->szInfo, 64, applet->info);
      info->szHelpFile[0] = 0;
      return 0;
    }
    case CPL_IDNAME: {
      const ControlPanelApplet* applet = AppletAt(lParam1);
      auto* buffer = reinterpret_cast<WCHAR*>(lParam2);
      if (!applet || !buffer) return 1;
      Copy(buffer, 32, applet->key);
      return 0;
    }
    case CPL_SELECT:
    case CPL_DBLCLK:
    case CPL_STOP:
    case CPL_EXIT:
      return 0;
    default:
      return 1;
  }
}

void RegisterControlPanel() {
  shell::RegisterBuiltInLibrary(u"cplmain.cpl", &Exports);
  shell::RegisterDeviceProgram(u"ctlpnl.exe", &ControlPanelHost);
}

bool WriteControlPanelRegistry() {
  bool ok = true;
  for (const ControlPanelApplet& applet : kApplets) {
    const std::u16string key = kControlPanelKey + std::u16string(applet.key);
    DWORD group = 0;
    if (!reg::GetDword(HKEY_LOCAL_MACHINE, key, u"Group", &group))
      ok = reg::SetDword(HKEY_LOCAL_MACHINE, key, u"Group", applet.group) && ok;
    std::u16string command;
    if (applet.hostCommand && !reg::GetString(HKEY_LOCAL_MACHINE, kHostCommandsKey, applet.key, &command))
      ok = reg::SetString(HKEY_LOCAL_MACHINE, kHostCommandsKey, applet.key, text::FromUtf8(applet.hostCommand)) && ok;
  }
  return ok;
}

}  // namespace device
