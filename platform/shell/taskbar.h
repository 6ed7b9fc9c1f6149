// The phone shell around the program: the task bar at the top of the screen
// (time, battery mark, start icon) and, with it, the start of the shell.
//
// StartPhoneShell() is called once by the program's start-up after the
// screen exists (display::Host::Start): it makes the task bar (shown) and the
// input panel (hidden, input_panel.h), keeps both laid out when the screen
// turns, keeps the work area (metrics.h) up to date, and puts the input
// panel's button on the menu bars.
#pragma once

#include <string_view>

#include "platform/win32/types.h"

namespace shell {

void StartPhoneShell();
// Destroys the shell's windows (the end of a run, tests).
void StopPhoneShell();

HWND TaskBarWindow();
// Shows or hides the task bar (SHFullScreen); the work area follows.
void ShowTaskBar(bool show);
bool IsTaskBarVisible();
// The start icon at the task bar's left (SHFullScreen).
void ShowStartIcon(bool show);
// The picture of the start button (a device path; empty: the shell's own
// plain emblem). The launcher gives its own, drawn for its skin. A tap on
// the start button brings back the program minimised last.
void SetStartIconPicture(std::u16string_view devicePath);
// Where the start button is drawn (task bar client coordinates = screen).
RECT StartButtonRect();

// Recomputes the work area from the shell's bars; call when one of them
// shows, hides or moves. Top-level windows get WM_SETTINGCHANGE
// (SPI_SETWORKAREA) when it changed.
void UpdateWorkArea();

// The battery as the task bar shows it: HKLM "System\State\Battery" "Main",
// flags in the low word (1 no battery, 2 charging, 4 low, 8 critical) and
// the percentage less 19 in the high word (the device's encoding).
struct BatteryState {
  bool known = false;     // the value could be read and there is a battery
  int level = 0;          // 19..100
  bool charging = false;  // on external power
  bool low = false;       // below a fifth
};
BatteryState ReadBattery();

// Message the task bar gets when the battery value changes.
constexpr UINT kTaskBarBatteryChanged = 0x0400 + 2;

}  // namespace shell
