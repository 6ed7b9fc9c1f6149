// Top-level windows across processes. Windows belong to one process here, so
// each process records its top-level windows in device.db (pid, handle value,
// class, caption, visibility); the window system's EnumWindows adds the live
// windows of other processes, and SetForegroundWindow on one of them asks its
// process to bring it to the front. Host programs started through the shell
// appear as one window each, captioned with their name.
//
// Hooks for the window system:
//   - RecordWindow / ForgetWindow when a top-level window is created, shown,
//     retitled or destroyed;
//   - StartForegroundListener(handler) once at start: handler(hwnd value) runs
//     on a listener thread when another process asks for one of our windows
//     to come to the front; the window system passes it to its UI thread and
//     raises its frame (SDL raises the screen's window);
//   - ListOtherWindows for EnumWindows, RequestForeground for
//     SetForegroundWindow on another process's window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace shell {

struct ProcessWindow {
  int pid = 0;
  std::uintptr_t hwnd = 0;   // the handle value within its process
  std::u16string className;
  std::u16string caption;
  bool visible = true;
  std::u16string module;     // the process's program ("\Program Files\mivo\mivo.exe")
  bool hostProgram = false;  // a host program started through the shell
};

// This process's own windows.
void RecordWindow(std::uintptr_t hwnd, std::u16string_view className, std::u16string_view caption, bool visible);
void ForgetWindow(std::uintptr_t hwnd);
// Forgets every window of this process (at exit).
void ForgetAllWindows();

// A host program started by the shell (launch.cpp).
void RecordHostProgram(int pid, const std::u16string& module, const std::u16string& caption);

// Windows of other live processes, in order of recording; rows of dead
// processes are removed on the way.
std::vector<ProcessWindow> ListOtherWindows();

// Asks process pid to bring its window hwnd to the front; false when the
// process does not listen (a host program, or gone).
bool RequestForeground(int pid, std::uintptr_t hwnd);
void StartForegroundListener(std::function<void(std::uintptr_t hwnd)> handler);
void StopForegroundListener();

}  // namespace shell
