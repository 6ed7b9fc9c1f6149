// The device's control-panel library "cplmain.cpl" and its host program
// "\Windows\ctlpnl.exe".
//
// The library answers the platform's applet calls (CPlApplet): initialise,
// count, the inquiry record of each applet (name, description, icon, data
// word) and message 100, the applet's registry key name under
// HKEY_LOCAL_MACHINE "ControlPanel\". Applets 14 and 21 are not on this
// device: their inquiry fails. The device's registry holds each applet's
// "Group" (0 Personal, 1 System, 2 Connections).
//
// "\Windows\ctlpnl.exe cplmain.cpl,A,T" opens applet A at tab T. Where the
// host has such settings (display, sound, network, Bluetooth, date and time,
// power, regional) HKLM "Device\Host Programs\Control Panel" maps the
// applet's key name ("Screen", or "Screen,1" for one tab) to a host command,
// which starts; otherwise the device shows the applet itself: the launch is
// recorded (mivo-device launches) as opened on the device.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/types.h"

// The applet messages and the inquiry record.
constexpr UINT CPL_INIT = 1;
constexpr UINT CPL_GETCOUNT = 2;
constexpr UINT CPL_INQUIRE = 3;
constexpr UINT CPL_SELECT = 4;
constexpr UINT CPL_DBLCLK = 5;
constexpr UINT CPL_STOP = 6;
constexpr UINT CPL_EXIT = 7;
constexpr UINT CPL_NEWINQUIRE = 8;
constexpr UINT CPL_IDNAME = 100;  // lParam2: a buffer of 32 characters for the registry key name

struct NEWCPLINFO {
  DWORD dwSize = sizeof(NEWCPLINFO);
  DWORD dwFlags = 0;
  DWORD dwHelpContext = 0;
  LONG_PTR lData = 0;     // the applet's data word
  HICON hIcon = nullptr;  // belongs to the library: never destroyed by the caller
  WCHAR szName[32] = {};
  WCHAR szInfo[64] = {};
  WCHAR szHelpFile[128] = {};
};

using APPLET_PROC = LONG (*)(HWND hwndCPl, UINT msg, LPARAM lParam1, LPARAM lParam2);

namespace device {

// One applet of the device's library.
struct ControlPanelApplet {
  int index;                  // position in the library
  const char16_t* name;       // shown in the lists
  const char16_t* info;       // the description
  const char16_t* key;        // registry key name under "ControlPanel\"
  DWORD group;                // 0 Personal, 1 System, 2 Connections
  const char* icon;           // the host icon theme's name
  const char* hostCommand;    // the host's own settings for it, or null
};
// Every applet the device has, by index (the gaps are applets it lacks).
const std::vector<ControlPanelApplet>& ControlPanelApplets();
// How many applet positions the library counts (gaps included).
int ControlPanelAppletCount();

// The library's entry point (what GetProcAddressW gives for "CPlApplet").
LONG CPlApplet(HWND hwndCPl, UINT msg, LPARAM lParam1, LPARAM lParam2);

// Makes "cplmain.cpl" loadable and "ctlpnl.exe" startable in this process
// (OpenDevice does it).
void RegisterControlPanel();
// The applets' groups and host commands in the registry, where missing.
bool WriteControlPanelRegistry();

}  // namespace device
