// The gadget plug-in libraries' interface as the host sees it: the library's
// exports, the information record a library gives about a gadget, the table
// of host functions handed to every library (mivoAPI_1) and the messages the
// host sends a gadget. Plug-ins see the same in the SDK's C header
// (sdk/include/mivo/gadget_plugin.h); a test checks that both lay them out
// alike.
#pragma once

#include <cstdint>

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

// Opaque values the host and a library hand each other. The gadget handle is
// whatever the library returns: as wide as a pointer, so a library may hand
// out the address of its gadget's state.
using MIVOHANDLE = void*;   // the host's handle (the core's address)
using MIVOOWNER = void*;    // the CmivoGadgetPlugin that hosts a gadget
using MIVOGADGET = void*;   // the library's own gadget
using MIVOARCHIVE = void*;  // the stream of a gadget's stored settings

// What a library says about one of its gadgets; the host reads the name only.
struct mivoGadgetInfo {
  const char16_t* name;  // zero-terminated; null is refused
};

// SetGadgetRect's argument: the rectangle, then the repaint flag.
struct mivoGadgetRect {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
  BYTE repaint;  // non-zero: repaint the old and the new place when it changed
};

// The host functions, in their fixed order.
struct mivoAPI_1 {
  void (*SetGadgetRect)(MIVOOWNER owner, const mivoGadgetRect* rect);
  void (*GetGadgetRect)(RECT* rect, MIVOOWNER owner);
  COLORREF (*GetThemeTextColor)(MIVOHANDLE host);
  COLORREF (*GetThemeBackgroundColor)(MIVOHANDLE host);
  HFONT (*GetLargeFont)(MIVOHANDLE host);
  HFONT (*GetSmallFont)(MIVOHANDLE host);
  void (*WriteInt)(MIVOARCHIVE archive, std::int32_t value);
  void (*WriteDword)(MIVOARCHIVE archive, DWORD value);
  void (*WriteBool)(MIVOARCHIVE archive, BOOL value);
  void (*WriteString)(MIVOARCHIVE archive, const char16_t* text);
  std::int32_t (*ReadInt)(MIVOARCHIVE archive);
  DWORD (*ReadDword)(MIVOARCHIVE archive);
  BOOL (*ReadBool)(MIVOARCHIVE archive);
  void (*ReadString)(MIVOARCHIVE archive, char16_t* buffer, int capacity);
};

// The library's six required exports.
using mivoSetMivoHandleFn = void (*)(MIVOHANDLE host);
using mivoCreateGadgetFn = MIVOGADGET (*)(MIVOOWNER owner, int index);
using mivoGadgetsCountFn = int (*)();
using mivoGetGadgetInfoFn = const mivoGadgetInfo* (*)(int index);
using mivoSetMivoAPI1Fn = void (*)(const mivoAPI_1* api);
using mivoDeleteGadgetFn = void (*)(MIVOGADGET gadget);

// The per-gadget exports, each optional.
using mivoOnPaintFn = void (*)(MIVOGADGET gadget, HDC dc);
using mivoInitializeFn = void (*)(MIVOGADGET gadget);
using mivoUninitializeFn = void (*)(MIVOGADGET gadget);
using mivoOnMessageFn = LRESULT (*)(MIVOGADGET gadget, UINT message, WPARAM wParam, LPARAM lParam);
using mivoOnTimerFn = BOOL (*)(MIVOGADGET gadget);
using mivoOnLButtonUpFn = void (*)(MIVOGADGET gadget, int x, int y);
using mivoLoadFn = void (*)(MIVOGADGET gadget, MIVOARCHIVE archive);
using mivoSaveFn = void (*)(MIVOGADGET gadget, MIVOARCHIVE archive);

// The messages the host sends through OnMessage: the gadget's own entries of
// its design-mode menu, a chosen entry, and its text for the state dump.
constexpr UINT MIVO_GM_GETMENUITEM = WM_APP + 0x100;
constexpr UINT MIVO_GM_MENUCOMMAND = WM_APP + 0x101;
constexpr UINT MIVO_GM_GETTEXT = WM_APP + 0x102;
constexpr int MIVO_MENU_MAX_ITEMS = 20;
constexpr UINT MIVO_MENU_ASKTEXT = 0x0001;

// One of the gadget's own menu entries, filled by the library.
struct mivoMenuItem {
  UINT id;              // the library's number, handed back with the command
  UINT flags;           // MIVO_MENU_*
  char16_t text[64];    // the label
  char16_t prompt[64];  // MIVO_MENU_ASKTEXT: the question
  char16_t value[128];  // MIVO_MENU_ASKTEXT: the text the entry starts from
};
