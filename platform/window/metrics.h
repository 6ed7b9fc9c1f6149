// System metrics and the work area: what the screen offers the program once
// the phone shell's bars have taken their part.
#pragma once

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

// SM_CXSCREEN, SM_CYSCREEN; SM_CYCAPTION (the task bar's height) and
// SM_CYMENU (the menu bar's height): 26, or 52 on screens 480 or more pixels
// high; SM_CXVSCROLL and SM_CYHSCROLL (scroll bars); SM_CXBORDER/SM_CYBORDER;
// SM_CXICON/SM_CYICON and the small icon sizes. 0 for an unknown index.
int GetSystemMetrics(int index);
// SPI_GETWORKAREA fills a RECT: the screen less the visible task bar (and the
// input panel while it is shown). Other actions fail (FALSE).
BOOL SystemParametersInfoW(UINT action, UINT param, PVOID data, UINT winIni);

namespace window {

// The height of the task bar and of the menu bar on this screen.
int ShellBarHeight();
// The pixel scale of the platform's own controls: 2 on screens 480 or more
// pixels high, else 1.
int ShellScale();
// What the shell's bars take from the top and the bottom of the screen now
// (the task bar and the input panel set these as they show and hide).
void SetWorkAreaInsets(int top, int bottom);
RECT GetWorkArea();

}  // namespace window
