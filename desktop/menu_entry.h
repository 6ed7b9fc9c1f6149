// The entries the desktop and its gadgets add to the design mode's context
// menus.
#pragma once

#include "look/language.h"
#include "ui/context_menu_entry.h"

// An entry for `command`: the help text of string `helpId` (none for 0),
// `close` to leave the menu once the command ran, and the command's `value`.
inline mivoContextMenuEntry MenuEntry(DWORD command, int helpId = 0, bool close = false, LONG value = 0) {
  mivoContextMenuEntry e;
  e.CommandId = command;
  e.Value = value;
  if (helpId) e.HelpText = GetString(helpId);
  e.Close = close;
  return e;
}
