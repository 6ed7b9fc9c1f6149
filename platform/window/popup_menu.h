// A small pop-up menu in the phone shell's look, as a tap-and-hold opens it
// (the edit control's Cut, Copy, Paste). It opens at a screen point, kept
// inside the work area, and runs modally: a tap on an entry chooses it; a tap
// outside, Escape or the program ending dismisses it. Up, Down and Enter
// choose with keys. `dump` shows it as the overlay of kind "menu", its
// entries' texts in "text" (one line each) and their rectangles in "buttons".
#pragma once

#include <string>
#include <vector>

#include "platform/win32/types.h"

namespace window {

struct PopupMenuItem {
  int id = 0;                // returned when chosen; above 0
  std::u16string text;
  bool enabled = true;       // a disabled entry is greyed and cannot be chosen
};

// The chosen entry's id, or 0 when dismissed (or nothing could be shown).
int TrackPopupMenu(HWND owner, POINT screenPoint, const std::vector<PopupMenuItem>& items);

}  // namespace window
