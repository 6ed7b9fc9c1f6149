// The shell's own background: a window under every other, over the whole
// screen, that shows when no program is in front (a program minimised, or
// none running). It is empty; a tap on it brings back the program minimised
// last, as the shell has nothing else to offer there.
#pragma once

#include "platform/win32/types.h"

namespace shell {

// Called by StartPhoneShell / StopPhoneShell.
void StartShellBackground();
void StopShellBackground();
HWND ShellBackgroundWindow();

}  // namespace shell
