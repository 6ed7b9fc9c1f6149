// What the state dump says about the system's own overlays (message box,
// text entry, please-wait bar): each open overlay registers itself, and the
// dump's "overlay" key describes the one opened last, in the platform's
// overlay format (platform/window/overlay_dump.h). The text entry adds
// "value" (the text typed so far), "field" and "prompt" (where the edit
// control and the prompt show, [l, t, r, b] in screen pixels).
#pragma once

#include <string>
#include <vector>

#include "platform/win32/types.h"

namespace ui {

struct OverlayDescription {
  const char* kind = "message";   // "message", "question", "text" or "wait"
  std::u16string title;           // without the padding the box draws around it
  std::u16string text;            // the body, the prompt or the bar's text
  std::u16string value;           // the text entry's current text
  RECT field{};                   // the text entry's edit control, screen pixels
  RECT prompt{};                  // where the text entry's prompt shows, screen pixels
  std::vector<RECT> buttons;      // screen pixels, first button (OK / yes) first
};

class OverlaySource {
 public:
  virtual ~OverlaySource() = default;
  virtual OverlayDescription DescribeOverlay() const = 0;
};

// An overlay that opens registers; it unregisters before it goes.
void RegisterOverlay(const OverlaySource* source);
void UnregisterOverlay(const OverlaySource* source);
// The overlay opened last, null when none is open.
const OverlaySource* TopOverlay();

// A client rectangle of a window in screen pixels.
RECT ToScreen(HWND hwnd, const RECT& rect);

}  // namespace ui
