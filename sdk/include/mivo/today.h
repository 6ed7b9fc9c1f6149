/*
 * mivo/today.h: Today plug-ins.
 *
 * A Today plug-in is a library that shows a small window on the home screen:
 * owner information, the next appointments, anything that fits a strip. mivo
 * hosts them in its "Today plug-in" gadget. A plug-in is registered under the
 * device registry's key HKEY_LOCAL_MACHINE "Software\Microsoft\Today\Items":
 * one subkey per plug-in (its name, the quotes around it dropped) with a
 * string value "DLL" holding the library's device path. mivo loads only a
 * library that is registered there.
 *
 * The library exports InitializeCustomItem (the platform's ordinal 240, by
 * name here). mivo calls it with the item record and the desktop's window;
 * the plug-in creates a child window of that window (WS_CHILD, initially
 * hidden is fine), sets the record's cyp to the height it wants, and returns
 * the window. mivo keeps the window over its gadget, shows and hides it with
 * the desktop, and sends it the custom-item messages below; WM_CLOSE ends it.
 * Every 2 seconds mivo asks WM_TODAYCUSTOM_QUERYREFRESHCACHE: answer TRUE
 * when the window must be redrawn (after a change of data or of cyp).
 *
 * The plug-in's window asks its parent (the desktop) for the theme's colours
 * (TODAYM_GETCOLOR) and to draw the desktop's picture behind it
 * (TODAYM_DRAWWATERMARK), so it blends into the desktop.
 *
 * The window runs on mivo's thread, in mivo's process: no threads of its own
 * calling the platform, and a crash ends mivo. When mivo frees the library,
 * windows and window classes still left of it are destroyed.
 */
#ifndef MIVO_TODAY_H
#define MIVO_TODAY_H

#include "mivo/platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifndef MIVO_PLUGIN_EXPORT
#define MIVO_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

#define MAX_ITEMNAME 32

typedef enum _TODAYLISTITEMTYPE {
  tlitOwnerInfo = 0,
  tlitAppointments,
  tlitMail,
  tlitTasks,
  tlitCustom,
  tlitNil
} TODAYLISTITEMTYPE;

/* The item record mivo hands the plug-in; it stays valid while the window lives. */
typedef struct _TODAYLISTITEM {
  WCHAR szName[MAX_ITEMNAME]; /* the item's name */
  TODAYLISTITEMTYPE tlit;     /* tlitCustom */
  DWORD dwOrder;              /* its place in the platform's list (unused by mivo) */
  DWORD cyp;                  /* the height the plug-in wants, in pixels */
  BOOL fEnabled;              /* 1 */
  BOOL fOptions;              /* the item has an options dialog (unused by mivo) */
  DWORD grfFlags;             /* the registry's "Flags" value (unused by mivo) */
  WCHAR szDLLPath[MAX_PATH];  /* the library's device path */
  HINSTANCE hinstDLL;         /* the library's module handle */
  HWND hwndCustom;            /* the plug-in's window */
  BOOL fSizeOnDraw;           /* the plug-in sets cyp while it draws */
  BYTE* prgbCachedData;       /* the plug-in's own data */
  DWORD cbCachedData;         /* its size */
} TODAYLISTITEM;

/* The custom-item messages mivo sends to the plug-in's window (lParam: the item record, TODAYLISTITEM*). */
#define WM_TODAYCUSTOM_CLEARCACHE (WM_USER + 242)        /* let go of cached data */
#define WM_TODAYCUSTOM_QUERYREFRESHCACHE (WM_USER + 243) /* TRUE: redraw me (cyp may have changed) */
#define WM_TODAYCUSTOM_RECEIVEDSELECTION (WM_USER + 244)
#define WM_TODAYCUSTOM_LOSTSELECTION (WM_USER + 245) /* the window is not selected */
#define WM_TODAYCUSTOM_USERNAVIGATION (WM_USER + 246)
#define WM_TODAYCUSTOM_ACTION (WM_USER + 247)

/* What the plug-in's window may ask its parent. */
#define TODAYM_GETCOLOR (WM_USER + 100)      /* wParam: TODAYCOLOR_*; returns a COLORREF */
#define TODAYM_DRAWWATERMARK (WM_USER + 101) /* lParam: TODAYDRAWWATERMARKINFO*; draws the background */
#define TODAYM_TOOKSELECTION (WM_USER + 102)
#define TODAYCOLOR_TEXT 0x10000004
#define TODAYCOLOR_HIGHLIGHT 0x10000022
#define TODAYCOLOR_HIGHLIGHTEDTEXT 0x10000023

typedef struct {
  HDC hdc;   /* where to draw */
  RECT rc;   /* the rectangle, in the window's client coordinates */
  HWND hwnd; /* the plug-in's window */
} TODAYDRAWWATERMARKINFO;

/* The export: creates the plug-in's window as a child of `parent` and returns it (null: nothing to show). */
typedef HWND (*InitializeCustomItem_t)(TODAYLISTITEM* item, HWND parent);
MIVO_PLUGIN_EXPORT HWND InitializeCustomItem(TODAYLISTITEM* item, HWND parent);

#ifdef __cplusplus
}
#endif

#endif /* MIVO_TODAY_H */
