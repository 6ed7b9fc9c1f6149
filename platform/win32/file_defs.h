// File and folder constants and structures of the platform: attributes, the
// folder search record, shell file info, starting programs, power and memory
// status, folder change notifications, special folders, the clipboard format.
#pragma once

#include "platform/win32/types.h"

// ---- File attributes ------------------------------------------------------

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_INROM = 0x00000040;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x00000100;
constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x00000400;  // a link (the host's symbolic link)
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

// The folder search record (FindFirstFileW / FindNextFileW).
struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes = 0;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;
  DWORD dwOID = 0;  // object store id; always 0 here
  WCHAR cFileName[MAX_PATH] = {};
};
using WIN32_FIND_DATA = WIN32_FIND_DATAW;
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;

enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard = 0 };

struct WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes = 0;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;
};
using LPWIN32_FILE_ATTRIBUTE_DATA = WIN32_FILE_ATTRIBUTE_DATA*;

// ---- Shell file info ----------------------------------------------------------

struct SHFILEINFO {
  HICON hIcon = nullptr;
  int iIcon = 0;
  DWORD dwAttributes = 0;
  WCHAR szDisplayName[MAX_PATH] = {};
  WCHAR szTypeName[80] = {};
};

constexpr UINT SHGFI_ICON = 0x000000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000000200;
constexpr UINT SHGFI_TYPENAME = 0x000000400;
constexpr UINT SHGFI_ATTRIBUTES = 0x000000800;
constexpr UINT SHGFI_SYSICONINDEX = 0x000004000;
constexpr UINT SHGFI_LARGEICON = 0x000000000;
constexpr UINT SHGFI_SMALLICON = 0x000000001;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000000010;

constexpr DWORD SFGAO_CANCOPY = 0x00000001;
constexpr DWORD SFGAO_CANMOVE = 0x00000002;
constexpr DWORD SFGAO_CANRENAME = 0x00000010;
constexpr DWORD SFGAO_CANDELETE = 0x00000020;
constexpr DWORD SFGAO_LINK = 0x00010000;
constexpr DWORD SFGAO_READONLY = 0x00040000;
constexpr DWORD SFGAO_HIDDEN = 0x00080000;
constexpr DWORD SFGAO_FILESYSANCESTOR = 0x10000000;
constexpr DWORD SFGAO_FOLDER = 0x20000000;
constexpr DWORD SFGAO_FILESYSTEM = 0x40000000;

// ---- Starting programs ----------------------------------------------------

struct SHELLEXECUTEINFO {
  DWORD cbSize = sizeof(SHELLEXECUTEINFO);
  ULONG fMask = 0;
  HWND hwnd = nullptr;
  LPCWSTR lpVerb = nullptr;
  LPCWSTR lpFile = nullptr;
  LPCWSTR lpParameters = nullptr;
  LPCWSTR lpDirectory = nullptr;
  int nShow = 0;
  HINSTANCE hInstApp = nullptr;  // > 32 on success, as on the platform
  LPVOID lpIDList = nullptr;
  LPCWSTR lpClass = nullptr;
  HKEY hkeyClass = nullptr;
  DWORD dwHotKey = 0;
  HANDLE hIcon = nullptr;
  HANDLE hProcess = nullptr;  // with SEE_MASK_NOCLOSEPROCESS; close with CloseHandle
};
using SHELLEXECUTEINFOW = SHELLEXECUTEINFO;
using LPSHELLEXECUTEINFO = SHELLEXECUTEINFO*;

constexpr ULONG SEE_MASK_CLASSNAME = 0x00000001;
constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr ULONG SEE_MASK_FLAG_NO_UI = 0x00000400;

struct STARTUPINFOW {
  DWORD cb = sizeof(STARTUPINFOW);
};
using LPSTARTUPINFOW = STARTUPINFOW*;

struct PROCESS_INFORMATION {
  HANDLE hProcess = nullptr;
  HANDLE hThread = nullptr;
  DWORD dwProcessId = 0;
  DWORD dwThreadId = 0;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// ---- Power and memory status ------------------------------------------------

constexpr BYTE AC_LINE_OFFLINE = 0x00;
constexpr BYTE AC_LINE_ONLINE = 0x01;
constexpr BYTE AC_LINE_BACKUP_POWER = 0x02;
constexpr BYTE AC_LINE_UNKNOWN = 0xFF;

constexpr BYTE BATTERY_FLAG_HIGH = 0x01;
constexpr BYTE BATTERY_FLAG_LOW = 0x02;
constexpr BYTE BATTERY_FLAG_CRITICAL = 0x04;
constexpr BYTE BATTERY_FLAG_CHARGING = 0x08;
constexpr BYTE BATTERY_FLAG_NO_BATTERY = 0x80;
constexpr BYTE BATTERY_FLAG_UNKNOWN = 0xFF;
constexpr BYTE BATTERY_PERCENTAGE_UNKNOWN = 0xFF;
constexpr DWORD BATTERY_LIFE_UNKNOWN = 0xFFFFFFFFu;

constexpr BYTE BATTERY_CHEMISTRY_ALKALINE = 0x01;
constexpr BYTE BATTERY_CHEMISTRY_NICD = 0x02;
constexpr BYTE BATTERY_CHEMISTRY_NIMH = 0x03;
constexpr BYTE BATTERY_CHEMISTRY_LION = 0x04;
constexpr BYTE BATTERY_CHEMISTRY_LIPOLY = 0x05;
constexpr BYTE BATTERY_CHEMISTRY_ZINCAIR = 0x06;
constexpr BYTE BATTERY_CHEMISTRY_UNKNOWN = 0xFF;

struct SYSTEM_POWER_STATUS_EX {
  BYTE ACLineStatus = AC_LINE_UNKNOWN;
  BYTE BatteryFlag = BATTERY_FLAG_UNKNOWN;
  BYTE BatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
  BYTE Reserved1 = 0;
  DWORD BatteryLifeTime = BATTERY_LIFE_UNKNOWN;
  DWORD BatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
  BYTE Reserved2 = 0;
  BYTE BackupBatteryFlag = BATTERY_FLAG_UNKNOWN;
  BYTE BackupBatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
  BYTE Reserved3 = 0;
  DWORD BackupBatteryLifeTime = BATTERY_LIFE_UNKNOWN;
  DWORD BackupBatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
};
using PSYSTEM_POWER_STATUS_EX = SYSTEM_POWER_STATUS_EX*;

// The extended record: 56 bytes, as the battery page counts filled bytes.
struct SYSTEM_POWER_STATUS_EX2 {
  BYTE ACLineStatus = AC_LINE_UNKNOWN;               //  0
  BYTE BatteryFlag = BATTERY_FLAG_UNKNOWN;           //  1
  BYTE BatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;  //  2
  BYTE Reserved1 = 0;                                //  3
  DWORD BatteryLifeTime = BATTERY_LIFE_UNKNOWN;      //  4 seconds
  DWORD BatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;  //  8 seconds
  BYTE Reserved2 = 0;                                // 12
  BYTE BackupBatteryFlag = BATTERY_FLAG_UNKNOWN;     // 13
  BYTE BackupBatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;  // 14
  BYTE Reserved3 = 0;                                // 15
  DWORD BackupBatteryLifeTime = BATTERY_LIFE_UNKNOWN;      // 16
  DWORD BackupBatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;  // 20
  DWORD BatteryVoltage = 0;          // 24 millivolts
  DWORD BatteryCurrent = 0;          // 28 milliamperes (negative while discharging)
  DWORD BatteryAverageCurrent = 0;   // 32
  DWORD BatteryAverageInterval = 0;  // 36 milliseconds
  DWORD BatterymAHourConsumed = 0;   // 40
  DWORD BatteryTemperature = 0;      // 44 tenths of a degree Celsius
  DWORD BackupBatteryVoltage = 0;    // 48 millivolts
  BYTE BatteryChemistry = BATTERY_CHEMISTRY_UNKNOWN;  // 52
};
static_assert(sizeof(SYSTEM_POWER_STATUS_EX2) == 56, "the extended power record is 56 bytes");
using PSYSTEM_POWER_STATUS_EX2 = SYSTEM_POWER_STATUS_EX2*;

struct MEMORYSTATUS {
  DWORD dwLength = sizeof(MEMORYSTATUS);
  DWORD dwMemoryLoad = 0;  // percent in use
  DWORD dwTotalPhys = 0;
  DWORD dwAvailPhys = 0;
  DWORD dwTotalPageFile = 0;
  DWORD dwAvailPageFile = 0;
  DWORD dwTotalVirtual = 0;
  DWORD dwAvailVirtual = 0;
};
using LPMEMORYSTATUS = MEMORYSTATUS*;

// ---- Folder change notifications --------------------------------------------

constexpr UINT WM_FILECHANGEINFO = 0x8101;  // lParam: FILECHANGENOTIFY*, freed with SHChangeNotifyFree

constexpr LONG SHCNE_RENAMEITEM = 0x00000001;
constexpr LONG SHCNE_CREATE = 0x00000002;
constexpr LONG SHCNE_DELETE = 0x00000004;
constexpr LONG SHCNE_MKDIR = 0x00000008;
constexpr LONG SHCNE_RMDIR = 0x00000010;
constexpr LONG SHCNE_MEDIAINSERTED = 0x00000020;
constexpr LONG SHCNE_MEDIAREMOVED = 0x00000040;
constexpr LONG SHCNE_DRIVEREMOVED = 0x00000080;
constexpr LONG SHCNE_DRIVEADD = 0x00000100;
constexpr LONG SHCNE_NETSHARE = 0x00000200;
constexpr LONG SHCNE_NETUNSHARE = 0x00000400;
constexpr LONG SHCNE_ATTRIBUTES = 0x00000800;
constexpr LONG SHCNE_UPDATEDIR = 0x00001000;
constexpr LONG SHCNE_UPDATEITEM = 0x00002000;
constexpr LONG SHCNE_SERVERDISCONNECT = 0x00004000;
constexpr LONG SHCNE_UPDATEIMAGE = 0x00008000;
constexpr LONG SHCNE_DRIVEADDGUI = 0x00010000;
constexpr LONG SHCNE_RENAMEFOLDER = 0x00020000;
constexpr LONG SHCNE_ALLEVENTS = 0x7FFFFFFF;

constexpr ULONG SHCNF_PATH = 0x0001;

struct SHCHANGENOTIFYENTRY {
  DWORD dwEventMask = 0;
  LPWSTR pszWatchDir = nullptr;  // device path of the folder
  BOOL fRecursive = FALSE;
};

// One change. dwItem1 and dwItem2 point to device paths (SHCNF_PATH); for a
// rename dwItem1 is the old path and dwItem2 the new one.
struct FILECHANGEINFO {
  DWORD cbSize = sizeof(FILECHANGEINFO);
  LONG wEventId = 0;
  ULONG uFlags = SHCNF_PATH;
  DWORD_PTR dwItem1 = 0;
  DWORD_PTR dwItem2 = 0;
  DWORD dwAttributes = 0;
  FILETIME ftModified;
  ULONG nFileSize = 0;
};

struct FILECHANGENOTIFY {
  DWORD dwRefCount = 0;
  FILECHANGEINFO fci;
};

// ---- Special folders ----------------------------------------------------------

constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_PROGRAMS = 0x0002;
constexpr int CSIDL_CONTROLS = 0x0003;
constexpr int CSIDL_PRINTERS = 0x0004;
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_FAVORITES = 0x0006;
constexpr int CSIDL_STARTUP = 0x0007;
constexpr int CSIDL_RECENT = 0x0008;
constexpr int CSIDL_STARTMENU = 0x000b;
constexpr int CSIDL_MYMUSIC = 0x000d;
constexpr int CSIDL_MYVIDEO = 0x000e;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_DRIVES = 0x0011;
constexpr int CSIDL_FONTS = 0x0014;
constexpr int CSIDL_APPDATA = 0x001a;
constexpr int CSIDL_WINDOWS = 0x0024;
constexpr int CSIDL_PROGRAM_FILES = 0x0026;
constexpr int CSIDL_MYPICTURES = 0x0027;

// ---- Clipboard and local memory -------------------------------------------

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_UNICODETEXT = 13;

constexpr UINT LMEM_FIXED = 0x0000;
constexpr UINT LMEM_MOVEABLE = 0x0002;
constexpr UINT LMEM_ZEROINIT = 0x0040;
constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;

// ---- Messages and formatting ------------------------------------------------

constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x00000100;
constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr DWORD FORMAT_MESSAGE_FROM_STRING = 0x00000400;
constexpr DWORD FORMAT_MESSAGE_FROM_HMODULE = 0x00000800;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
constexpr DWORD FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000;
constexpr DWORD FORMAT_MESSAGE_MAX_WIDTH_MASK = 0x000000FF;

// ---- Events, waits and notifications ----------------------------------------

constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_ABANDONED = 0x00000080;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

constexpr DWORD STILL_ACTIVE = 0x00000103;

constexpr LONG NOTIFICATION_EVENT_NONE = 0;
constexpr LONG NOTIFICATION_EVENT_TIME_CHANGE = 1;
constexpr LONG NOTIFICATION_EVENT_SYNC_END = 2;
constexpr LONG NOTIFICATION_EVENT_DEVICE_CHANGE = 7;
constexpr LONG NOTIFICATION_EVENT_RS232_DETECTED = 9;
constexpr LONG NOTIFICATION_EVENT_RESTORE_END = 10;
constexpr LONG NOTIFICATION_EVENT_WAKEUP = 11;
constexpr LONG NOTIFICATION_EVENT_TZ_CHANGE = 12;

// ---- Sound --------------------------------------------------------------------

using HWAVEOUT = void*;
using MMRESULT = UINT;
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;

enum SND_EVENT {
  SND_EVENT_ALL = 0,
  SND_EVENT_RINGTONELINE1 = 1,
  SND_EVENT_RINGTONELINE2 = 2,
  SND_EVENT_KNOWNCALLERRINGTONELINE1 = 3,
  SND_EVENT_ROAMINGRINGTONELINE1 = 4,
  SND_EVENT_RINGTONEVOIP = 5,
  SND_EVENT_LAST = SND_EVENT_RINGTONEVOIP,
};

enum SND_SOUNDTYPE {
  SND_SOUNDTYPE_ON = 0,
  SND_SOUNDTYPE_FILE = 1,
  SND_SOUNDTYPE_VIBRATE = 2,
  SND_SOUNDTYPE_NONE = 3,
  SND_SOUNDTYPE_LAST = SND_SOUNDTYPE_NONE,
};

struct SNDFILEINFO {
  WCHAR szPathName[MAX_PATH] = {};
  WCHAR szDisplayName[MAX_PATH] = {};
  SND_SOUNDTYPE sstType = SND_SOUNDTYPE_ON;
};
