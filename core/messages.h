// The program's private window messages (WM_USER + n) and the commands of
// the two soft keys.
#pragma once

#include "platform/win32/messages.h"

// State notifications to the main frame.
constexpr UINT WM_MIVO_TIME_CHANGED = WM_USER + 0x01;     // 0x401
constexpr UINT WM_MIVO_BATTERY_FLAGS = WM_USER + 0x02;    // 0x402
constexpr UINT WM_MIVO_BATTERY_LEVEL = WM_USER + 0x03;    // 0x403
constexpr UINT WM_MIVO_SIGNAL_CHANGED = WM_USER + 0x04;   // 0x404
// From the activation watcher: show the root page and come to the front.
constexpr UINT WM_MIVO_ACTIVATE_REQUEST = WM_USER + 0x64;  // 0x464
// Ends the program in order (main menu Exit, language change).
constexpr UINT WM_MIVO_EXIT_REQUEST = WM_USER + 0x66;      // 0x466
// Answered by pages (their QueryFlag).
constexpr UINT WM_MIVO_QUERY_FLAG = WM_USER + 0x67;        // 0x467
// wParam, lParam: the left and right soft-key labels (UTF-16 pointers, may be null).
constexpr UINT WM_MIVO_SOFTKEYS = WM_USER + 0x68;          // 0x468
// A recognised swipe, sent to the window under its press point.
constexpr UINT WM_MIVO_SWIPE = WM_USER + 0x69;             // 0x469
// Sent to every window after the frame changed size: lay yourself out again.
constexpr UINT WM_MIVO_RELAYOUT = WM_USER + 0x6A;          // 0x46A
// The left soft key: Back on the top page.
constexpr UINT WM_MIVO_BACK_REQUEST = WM_USER + 0x6B;      // 0x46B
// The core's deferred deletions: objects deleted from inside their own
// handlers go once the program's loop takes this (never PumpOneMessage).
constexpr UINT WM_MIVO_RUN_DEFERRED = WM_USER + 0x70;      // 0x470
// The overlays' answers, posted by a message box or a text entry to itself
// (only the overlay's own loop takes them, so they may share ids with the
// frame's messages above).
constexpr UINT WM_MIVO_OVERLAY_FIRST = WM_USER;       // OK / yes
constexpr UINT WM_MIVO_OVERLAY_SECOND = WM_USER + 1;  // no / Cancel
// Outlook item notifications, handed to the Outlook store.
constexpr UINT WM_MIVO_OUTLOOK_FIRST = 0x8105;
constexpr UINT WM_MIVO_OUTLOOK_LAST = 0x8107;
// Messages from this id on are offered to the root page before dispatch
// (the desktop page hands WM_MIVO_ROOT_PAGE_FIRST + n to its gadget n).
constexpr UINT WM_MIVO_ROOT_PAGE_FIRST = 0x8B0;

// The soft keys' commands and the menu resource that names them.
constexpr UINT ID_MIVO_SOFTKEY_LEFT = 32771;
constexpr UINT ID_MIVO_SOFTKEY_RIGHT = 32772;
constexpr UINT IDR_MIVO_MENUBAR = 169;
constexpr UINT IDR_MIVO_MAINFRAME = 128;
