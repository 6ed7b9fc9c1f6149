// Kernel objects: events, mutexes, threads and process handles, with the
// platform's calls. Named events and mutexes are shared by every process of
// the same device: they live in the device's run folder (DEVICE/run), so two
// devices never see each other's names.
//
// A named event is a FIFO in DEVICE/run/events: SetEvent on it writes a byte,
// and a process that holds the event open reads it and signals its waiters
// (an auto-reset event releases one waiter; a manual-reset one stays
// signalled until ResetEvent). A named mutex is a lock file in
// DEVICE/run/mutexes: CreateMutexW reports ERROR_ALREADY_EXISTS while another
// live process holds it, and a dead process never holds it.
#pragma once

#include <string>

#include "platform/win32/types.h"

struct SECURITY_ATTRIBUTES;

HANDLE CreateEventW(SECURITY_ATTRIBUTES* security, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
HANDLE CreateMutexW(SECURITY_ATTRIBUTES* security, BOOL initialOwner, LPCWSTR name);
BOOL ReleaseMutex(HANDLE mutex);
// WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED (a closed or wrong handle; a
// handle closed while a thread waits on it ends that wait with WAIT_FAILED).
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL CloseHandle(HANDLE handle);

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID);
HANDLE CreateThread(SECURITY_ATTRIBUTES* security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD flags, LPDWORD threadId);
// STILL_ACTIVE while the process or thread runs.
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentProcessId();

// Registers (or with NOTIFICATION_EVENT_NONE removes every registration of)
// an application to run at a system event; kept in device.db. An application
// named "\\.\Notifications\NamedEvents\NAME" means: signal the named event.
BOOL CeRunAppAtEvent(LPCWSTR application, LONG event);

// "\Program Files\mivo\mivo.exe" for this program (module null).
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);

namespace shell {

// The folder that holds the device's named objects; OpenDevice sets it.
void SetRunFolder(const std::string& hostFolder);
const std::string& RunFolder();

// Signals a named event of this device from any process; false when no
// process holds it open.
bool SignalNamedEvent(std::u16string_view name);

// The application a CeRunAppAtEvent name refers to when it is a named event:
// "\\.\Notifications\NamedEvents\X" gives X; otherwise empty.
std::u16string NamedEventOfApplication(std::u16string_view application);

// Wraps a running host process in a process handle (ShellExecuteEx,
// CreateProcessW).
HANDLE OpenProcessHandle(int pid);
// True while the host process lives (a zombie counts as ended).
bool IsProcessAlive(int pid);
// The host's start time of a process (clock ticks since boot), 0 when gone:
// with the pid it tells a process from a later one that reused the pid.
long long ProcessStartTime(int pid);

}  // namespace shell
