#include "ui/overlay.h"

#include <string_view>

#include "platform/window/overlay_dump.h"
#include "platform/window/window.h"

namespace ui {

namespace {

// Made at the first overlay that opens, so the section stands after the
// platform's own boxes that opened before.
window::OverlayStack<OverlaySource>& Open() {
  static window::OverlayStack<OverlaySource> open([](window::JsonWriter& j, const OverlaySource& top) {
    const OverlayDescription d = top.DescribeOverlay();
    const bool entry = std::string_view(d.kind) == "text";
    window::WriteOverlay(j, d.kind, d.title, d.text, d.buttons, [&](window::JsonWriter& w) {
      if (!entry) return;
      w.Key("value");
      w.String(d.value);
      w.Key("field");
      w.Rect(d.field.left, d.field.top, d.field.right, d.field.bottom);
      w.Key("prompt");
      w.Rect(d.prompt.left, d.prompt.top, d.prompt.right, d.prompt.bottom);
    });
  });
  return open;
}

}  // namespace

void RegisterOverlay(const OverlaySource* source) {
  Open().Remove(source);
  Open().Push(source);
}

void UnregisterOverlay(const OverlaySource* source) { Open().Remove(source); }

const OverlaySource* TopOverlay() { return Open().Top(); }

RECT ToScreen(HWND hwnd, const RECT& rect) {
  POINT a{rect.left, rect.top};
  POINT b{rect.right, rect.bottom};
  ClientToScreen(hwnd, &a);
  ClientToScreen(hwnd, &b);
  return RECT{a.x, a.y, b.x, b.y};
}

}  // namespace ui
