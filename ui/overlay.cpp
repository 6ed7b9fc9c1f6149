#include "ui/overlay.h"

#include <algorithm>

#include "platform/window/describe.h"
#include "platform/window/window.h"

namespace ui {

namespace {

std::vector<const OverlaySource*>& Open() {
  static std::vector<const OverlaySource*> open;
  return open;
}

void InstallDumpSection() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  window::AddDumpSection("overlay", [](window::JsonWriter& j) {
    const OverlaySource* top = TopOverlay();
    if (!top) return false;
    const OverlayDescription d = top->DescribeOverlay();
    j.BeginObject();
    j.Key("kind");
    j.String(d.kind);
    j.Key("title");
    j.String(d.title);
    j.Key("text");
    j.String(d.text);
    if (std::string_view(d.kind) == "text") {
      j.Key("value");
      j.String(d.value);
    }
    j.Key("buttons");
    j.BeginArray();
    for (const RECT& r : d.buttons) j.Rect(r.left, r.top, r.right, r.bottom);
    j.EndArray();
    j.EndObject();
    return true;
  });
}

}  // namespace

void RegisterOverlay(const OverlaySource* source) {
  InstallDumpSection();
  UnregisterOverlay(source);
  Open().push_back(source);
}

void UnregisterOverlay(const OverlaySource* source) {
  auto& open = Open();
  open.erase(std::remove(open.begin(), open.end(), source), open.end());
}

const OverlaySource* TopOverlay() { return Open().empty() ? nullptr : Open().back(); }

RECT ToScreen(HWND hwnd, const RECT& rect) {
  POINT a{rect.left, rect.top};
  POINT b{rect.right, rect.bottom};
  ClientToScreen(hwnd, &a);
  ClientToScreen(hwnd, &b);
  return RECT{a.x, a.y, b.x, b.y};
}

}  // namespace ui
