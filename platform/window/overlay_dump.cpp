#include "platform/window/overlay_dump.h"

namespace window {

void WriteOverlay(JsonWriter& j, std::string_view kind, std::u16string_view title, std::u16string_view text,
                  const std::vector<RECT>& buttons, const std::function<void(JsonWriter&)>& more) {
  j.BeginObject();
  j.Key("kind");
  j.String(kind);
  j.Key("title");
  j.String(title);
  j.Key("text");
  j.String(text);
  if (more) more(j);
  j.Key("buttons");
  j.BeginArray();
  for (const RECT& r : buttons) j.Rect(r.left, r.top, r.right, r.bottom);
  j.EndArray();
  j.EndObject();
}

}  // namespace window
