// Starting programs and documents: ShellExecuteEx and CreateProcessW.
//
// The device has no programs of its own: a shortcut, a program name
// ("pword.exe", "\Windows\pword.exe") or a document is resolved through
// HKEY_LOCAL_MACHINE "Device\Host Programs" to a host command:
//   - a shortcut (".lnk") is followed to its target, its arguments first;
//   - a program: the value named by the path as given, else by its file name
//     ("pword.exe" = "libreoffice --writer"); the parameters are appended;
//   - a document: the value named by its extension (".txt" = "xdg-open %1");
//     "%1" becomes the document's host path (appended when there is no %1).
// The command starts detached, without waiting. Failures set the platform's
// error: ERROR_FILE_NOT_FOUND (no such program or document, or the host
// command does not exist), ERROR_NO_ASSOCIATION (a document type with no
// program). Every launch, failed or not, is recorded in device.db; started
// programs are recorded as processes whose window, captioned with their name,
// other processes see (process_windows.h).
#pragma once

#include <string>
#include <vector>

#include "platform/win32/file_defs.h"
#include "platform/win32/types.h"

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info);
BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, void* processAttributes, void* threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, LPVOID environment, LPCWSTR currentDirectory,
                    LPSTARTUPINFOW startupInfo, LPPROCESS_INFORMATION processInformation);

namespace shell {

// What a launch resolves to, without starting anything.
struct ResolvedLaunch {
  std::vector<std::string> argv;  // the host command; empty when the device shows it itself
  std::u16string caption;         // the name shown for the started program
  std::u16string onDevice;        // a program of the device: what it opens when the host cannot
};
// False with the platform's error in *error.
bool ResolveLaunch(std::u16string_view file, std::u16string_view parameters, ResolvedLaunch* out, DWORD* error);

// A program the device provides itself ("ctlpnl.exe"): from the parameters
// of its command line it gives the host command that does its work (left
// empty when the host has none) and, in onDevice, what it opens. When the
// host command is missing or cannot start, the device opens it: the launch
// succeeds and is recorded with that text instead of a host command.
using DeviceProgram = bool (*)(std::u16string_view parameters, ResolvedLaunch* out);
void RegisterDeviceProgram(std::u16string_view fileName, DeviceProgram program);

// Splits a host command line as a shell would, without running a shell:
// spaces separate, double and single quotes group, backslash escapes.
std::vector<std::string> SplitHostCommand(std::string_view command);

// One recorded launch, newest first from RecentLaunches.
struct LaunchRecord {
  std::int64_t id = 0;
  std::int64_t time = 0;  // seconds since 1970
  std::u16string verb;
  std::u16string file;
  std::u16string parameters;
  std::u16string command;  // the host command; for one the device opened itself, what it opened
  int pid = 0;             // 0 when nothing started on the host
  DWORD error = 0;
};
std::vector<LaunchRecord> RecentLaunches(int limit);

}  // namespace shell
