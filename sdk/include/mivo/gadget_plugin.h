/*
 * mivo/gadget_plugin.h: gadget plug-ins.
 *
 * A gadget plug-in is a library in mivo's folder "GadgetPlugins" (a file
 * ending in ".so", or ".dll"). It offers one or more gadgets; the user puts a
 * "Mivo plug-in" gadget on a desktop and picks one of them from its menu in
 * the design mode. From then on mivo asks the library to create that gadget
 * whenever the desktop starts, lets it paint itself into the desktop, and
 * stores its settings with the desktop's layout.
 *
 * The library exports six functions (all required) and up to eight
 * per-gadget functions (each optional), by these names and with C linkage;
 * mark each with MIVO_PLUGIN_EXPORT. A library without one of the six
 * required exports offers no gadgets.
 *
 * How mivo uses a library:
 *   1. loads it once (it stays loaded until mivo ends), calls
 *      mivoGadgetAPIDll_SetMivoHandle with mivo's handle, then
 *      mivoGadgetAPIDll_SetMivoAPI_1 with the table of host functions below;
 *   2. asks mivoGadgetAPIDll_GadgetsCount and mivoGadgetAPIDll_GetGadgetInfo
 *      for each index when it builds its menu;
 *   3. for each gadget on the desktops: mivoGadgetAPIDll_CreateGadget, then
 *      mivoGadgetAPI_Load with its stored settings (when it has some), then
 *      mivoGadgetAPI_Initialize; mivoGadgetAPI_OnPaint at every paint;
 *      mivoGadgetAPI_Save when the layout is stored; mivoGadgetAPI_Uninitialize
 *      and mivoGadgetAPIDll_DeleteGadget when the gadget goes.
 *
 * Everything runs on mivo's one user-interface thread and in its process: a
 * plug-in must not call mivo (or the platform) from threads of its own, and a
 * plug-in that crashes takes mivo with it.
 */
#ifndef MIVO_GADGET_PLUGIN_H
#define MIVO_GADGET_PLUGIN_H

#include "mivo/platform.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Exports a function of the plug-in to mivo. */
#define MIVO_PLUGIN_EXPORT __attribute__((visibility("default")))

/* mivo's handle, given to mivoGadgetAPIDll_SetMivoHandle; pass it back to the host functions that ask for it. */
typedef void* MIVOHANDLE;
/* The desktop gadget that hosts one of the plug-in's gadgets; pass it back to SetGadgetRect and GetGadgetRect. */
typedef void* MIVOOWNER;
/* The plug-in's own gadget: whatever mivoGadgetAPIDll_CreateGadget returns (a pointer to its state). */
typedef void* MIVOGADGET;
/* The stream a gadget's settings are read from and written to. */
typedef void* MIVOARCHIVE;

/* What the library says about one of its gadgets; it stays the library's. mivo reads the name only. */
typedef struct mivoGadgetInfo {
  const WCHAR* name; /* the name the design-mode menu shows, zero-terminated */
} mivoGadgetInfo;

/* A gadget's new rectangle for SetGadgetRect. */
typedef struct mivoGadgetRect {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
  BYTE repaint; /* non-zero: repaint the old and the new place when the rectangle changed */
} mivoGadgetRect;

/*
 * The host functions, handed to mivoGadgetAPIDll_SetMivoAPI_1. The table
 * stays valid while the library is loaded. The archive functions work only
 * inside mivoGadgetAPI_Load and mivoGadgetAPI_Save, on the archive given
 * there; a read past what was stored returns 0 (or an empty string), and mivo
 * then starts the gadget afresh with its defaults.
 */
typedef struct mivoAPI_1 {
  /* Moves the gadget; it is kept at least 20 x 20 pixels and on the screen. */
  void (*SetGadgetRect)(MIVOOWNER owner, const mivoGadgetRect* rect);
  /* The gadget's rectangle, in the desktop's coordinates (those of the device context OnPaint gets). */
  void (*GetGadgetRect)(RECT* rect, MIVOOWNER owner);
  /* The colour theme's text and background colours. */
  COLORREF (*GetThemeTextColor)(MIVOHANDLE host);
  COLORREF (*GetThemeBackgroundColor)(MIVOHANDLE host);
  /* mivo's bold Arial fonts, 20 and 14 pixels high (twice that on a VGA screen); mivo's: never delete them. */
  HFONT (*GetLargeFont)(MIVOHANDLE host);
  HFONT (*GetSmallFont)(MIVOHANDLE host);
  /* Stored settings: write in Save, read back the same in the same order in Load. */
  void (*WriteInt)(MIVOARCHIVE archive, int32_t value);
  void (*WriteDword)(MIVOARCHIVE archive, DWORD value);
  void (*WriteBool)(MIVOARCHIVE archive, BOOL value); /* one byte: 1 for any non-zero value */
  void (*WriteString)(MIVOARCHIVE archive, const WCHAR* text);
  int32_t (*ReadInt)(MIVOARCHIVE archive);
  DWORD (*ReadDword)(MIVOARCHIVE archive);
  BOOL (*ReadBool)(MIVOARCHIVE archive);
  /* Copies at most `capacity` characters and no terminating zero: pass a zeroed buffer of capacity + 1. */
  void (*ReadString)(MIVOARCHIVE archive, WCHAR* buffer, int capacity);
} mivoAPI_1;

/* ---- The library's exports (all six required) ---------------------------------------------------------- */

typedef void (*mivoGadgetAPIDll_SetMivoHandle_t)(MIVOHANDLE host);
/* A new gadget of the index for the owner; null when it cannot be made. */
typedef MIVOGADGET (*mivoGadgetAPIDll_CreateGadget_t)(MIVOOWNER owner, int index);
typedef int (*mivoGadgetAPIDll_GadgetsCount_t)(void);
/* The information of a gadget index below GadgetsCount. */
typedef const mivoGadgetInfo* (*mivoGadgetAPIDll_GetGadgetInfo_t)(int index);
typedef void (*mivoGadgetAPIDll_SetMivoAPI_1_t)(const mivoAPI_1* api);
typedef void (*mivoGadgetAPIDll_DeleteGadget_t)(MIVOGADGET gadget);

/* ---- Per-gadget exports (each optional) ------------------------------------------------------------------ */

/* Paints the whole gadget rectangle (GetGadgetRect) into the desktop's device context. Leave the context as you
 * found it (SaveDC/RestoreDC) and delete what you create. */
typedef void (*mivoGadgetAPI_OnPaint_t)(MIVOGADGET gadget, HDC dc);
typedef void (*mivoGadgetAPI_Load_t)(MIVOGADGET gadget, MIVOARCHIVE archive);
typedef void (*mivoGadgetAPI_Save_t)(MIVOGADGET gadget, MIVOARCHIVE archive);
/* The gadget is live: created, its settings read. */
typedef void (*mivoGadgetAPI_Initialize_t)(MIVOGADGET gadget);
/* The gadget is about to be deleted. */
typedef void (*mivoGadgetAPI_Uninitialize_t)(MIVOGADGET gadget);
/* mivo's questions and requests, MIVO_GM_* below; 0 for a message the gadget does not know. */
typedef LRESULT (*mivoGadgetAPI_OnMessage_t)(MIVOGADGET gadget, UINT message, WPARAM wParam, LPARAM lParam);
/* Once a minute while the gadget is live; non-zero asks for a repaint. */
typedef BOOL (*mivoGadgetAPI_OnTimer_t)(MIVOGADGET gadget);
/* A tap on the gadget outside the design mode, at (x, y) from the gadget's top-left corner. */
typedef void (*mivoGadgetAPI_OnLButtonUp_t)(MIVOGADGET gadget, int x, int y);

/* The exports as a plug-in defines them (the declarations let the compiler check the definitions). */
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoHandle(MIVOHANDLE host);
MIVO_PLUGIN_EXPORT MIVOGADGET mivoGadgetAPIDll_CreateGadget(MIVOOWNER owner, int index);
MIVO_PLUGIN_EXPORT int mivoGadgetAPIDll_GadgetsCount(void);
MIVO_PLUGIN_EXPORT const mivoGadgetInfo* mivoGadgetAPIDll_GetGadgetInfo(int index);
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoAPI_1(const mivoAPI_1* api);
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_DeleteGadget(MIVOGADGET gadget);
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_OnPaint(MIVOGADGET gadget, HDC dc);
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Load(MIVOGADGET gadget, MIVOARCHIVE archive);
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Save(MIVOGADGET gadget, MIVOARCHIVE archive);
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Initialize(MIVOGADGET gadget);
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Uninitialize(MIVOGADGET gadget);
MIVO_PLUGIN_EXPORT LRESULT mivoGadgetAPI_OnMessage(MIVOGADGET gadget, UINT message, WPARAM wParam, LPARAM lParam);
MIVO_PLUGIN_EXPORT BOOL mivoGadgetAPI_OnTimer(MIVOGADGET gadget);
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_OnLButtonUp(MIVOGADGET gadget, int x, int y);

/* ---- Messages mivo sends through mivoGadgetAPI_OnMessage ---------------------------------------------------- */

/*
 * The gadget's own entries in its design-mode menu. mivo asks for index 0, 1,
 * ... (at most MIVO_MENU_MAX_ITEMS) with a zeroed item to fill; return TRUE
 * for an item, FALSE past the last.
 *   wParam: the index; lParam: mivoMenuItem*.
 */
#define MIVO_GM_GETMENUITEM (WM_APP + 0x100)
/*
 * One of those entries was chosen; return TRUE when the gadget changed (mivo
 * repaints it).
 *   wParam: the item's id; lParam: the text entered (const WCHAR*) for an
 *   item with MIVO_MENU_ASKTEXT, else 0.
 */
#define MIVO_GM_MENUCOMMAND (WM_APP + 0x101)
/*
 * What the gadget shows, as text (the screen reader's and the state dump's
 * view of it); return TRUE when written.
 *   wParam: the capacity in characters, the terminating zero included;
 *   lParam: WCHAR* buffer.
 */
#define MIVO_GM_GETTEXT (WM_APP + 0x102)

#define MIVO_MENU_MAX_ITEMS 20
/* Choosing the entry first asks for a text (with `prompt`, starting from `value`); OK hands it to the gadget. */
#define MIVO_MENU_ASKTEXT 0x0001u

typedef struct mivoMenuItem {
  UINT id;          /* the gadget's own number, handed back with MIVO_GM_MENUCOMMAND */
  UINT flags;       /* MIVO_MENU_* */
  WCHAR text[64];   /* the entry's label */
  WCHAR prompt[64]; /* MIVO_MENU_ASKTEXT: the question */
  WCHAR value[128]; /* MIVO_MENU_ASKTEXT: the text the entry starts from */
} mivoMenuItem;

#ifdef __cplusplus
}
#endif

#endif /* MIVO_GADGET_PLUGIN_H */
