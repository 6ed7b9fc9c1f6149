// One entry of a context menu: a value copied freely between the owner that
// builds the menu, the menu page's row that shows it and the handler that
// carries it out.
#pragma once

#include <string>

#include "platform/win32/types.h"

struct mivoContextMenuEntry {
  DWORD CommandId = 0;     // decides who handles it (see the id ranges in context_menu.h)
  LONG Value = 0;          // a parameter of the command (a catalogue index, a text size, ...)
  std::u16string Text1{};  // further texts some owners use; empty by default
  std::u16string Text2{};
  std::u16string HelpText{};  // shown with the entry by its row
  bool Close = false;      // leave the menu page (Back) after the command ran
};
