// The input panel: an on-screen keyboard at the bottom of the screen (above
// the menu bar when one shows), shown and hidden with SipShowIM. Taps on its
// keys type into the focused window: characters as WM_CHAR, Backspace and
// Enter as WM_KEYDOWN (TranslateMessage adds their WM_CHAR). While it shows,
// the work area ends at its top.
//
// Layers: letters (with shift), "123" for digits and punctuation, and two
// pages of accented letters and other signs ("áé"); a character typed from an
// accent page returns to the letters, as shift does after one letter.
//
// Shift tapped once makes the next letter a capital, twice locks capitals,
// a third time unlocks.
//
// While shown, the dump has "inputpanel": {"layer", "shift", "capslock", "rect", "keys":
// [{"text", "rect"}]}, where "text" is the character a key types or the name
// of a function key ("shift", "backspace", "enter", "space", "123", "abc",
// "áé", "more").
#pragma once

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

BOOL SipShowIM(DWORD flags);

namespace shell {

// Called by StartPhoneShell / StopPhoneShell.
void StartInputPanel();
void StopInputPanel();
// Places the panel for the current screen and menu bar.
void LayoutInputPanel();
bool IsInputPanelShown();
// The panel's screen rectangle while shown; false when hidden.
bool InputPanelRect(RECT* rect);
HWND InputPanelWindow();

}  // namespace shell
