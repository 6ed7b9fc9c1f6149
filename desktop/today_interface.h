// The platform's Today item interface as the host sees it: the item record a
// Today plug-in is handed, its entry point, and the custom-item messages.
// Plug-ins see the same in the SDK's C header (sdk/include/mivo/today.h); a
// test checks that both lay them out alike.
#pragma once

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

constexpr int MAX_ITEMNAME = 32;

enum TODAYLISTITEMTYPE : int {
  tlitOwnerInfo = 0,
  tlitAppointments,
  tlitMail,
  tlitTasks,
  tlitCustom,
  tlitNil,
};

struct TODAYLISTITEM {
  WCHAR szName[MAX_ITEMNAME];  // the item's name
  TODAYLISTITEMTYPE tlit;      // tlitCustom for a plug-in
  DWORD dwOrder;               // its place in the platform's own list
  DWORD cyp;                   // the height the plug-in wants, in pixels
  BOOL fEnabled;               // 1 while hosted
  BOOL fOptions;               // it has an options dialog
  DWORD grfFlags;              // the registry's flags of the item
  WCHAR szDLLPath[MAX_PATH];   // the library's device path
  HINSTANCE hinstDLL;          // the library's module handle
  HWND hwndCustom;             // the plug-in's window
  BOOL fSizeOnDraw;            // the plug-in sets cyp as it draws
  BYTE* prgbCachedData;        // the plug-in's own data
  DWORD cbCachedData;          // its size
};

// InitializeCustomItem, the platform's ordinal 240: makes the plug-in's window.
using InitializeCustomItemFn = HWND (*)(TODAYLISTITEM* item, HWND parent);
constexpr WORD kInitializeCustomItemOrdinal = 240;

constexpr UINT WM_TODAYCUSTOM_CLEARCACHE = WM_USER + 242;         // 1266
constexpr UINT WM_TODAYCUSTOM_QUERYREFRESHCACHE = WM_USER + 243;  // 1267: 1 asks for a repaint
constexpr UINT WM_TODAYCUSTOM_RECEIVEDSELECTION = WM_USER + 244;
constexpr UINT WM_TODAYCUSTOM_LOSTSELECTION = WM_USER + 245;  // 1269

// What the plug-in's window asks its parent (the desktop page answers).
constexpr UINT TODAYM_GETCOLOR = WM_USER + 100;
constexpr UINT TODAYM_DRAWWATERMARK = WM_USER + 101;
constexpr WPARAM TODAYCOLOR_TEXT = 0x10000004;
constexpr WPARAM TODAYCOLOR_HIGHLIGHT = 0x10000022;
constexpr WPARAM TODAYCOLOR_HIGHLIGHTEDTEXT = 0x10000023;
