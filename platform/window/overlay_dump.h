// The dump's "overlay" for the platform's own boxes and menus: what it says
// of one, and the stack of those open now (a box may open over a menu's
// owner, a menu over a box), the one opened last on top.
//
//   {"kind": "message" | "question" | "menu", "title", "text", ...,
//    "buttons": [[l, t, r, b], ...]}   (buttons in screen coordinates)
//
// The system's own overlays add keys of their kind where "..." stands (the
// text entry: "value", the text typed so far).
#pragma once

#include <algorithm>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/types.h"
#include "platform/window/describe.h"

namespace window {

// `more` writes the overlay's own keys after "text" (none when empty).
void WriteOverlay(JsonWriter& j, std::string_view kind, std::u16string_view title, std::u16string_view text,
                  const std::vector<RECT>& buttons, const std::function<void(JsonWriter&)>& more = {});

// The open overlays of one kind. The dump section is registered when the
// stack is made: make it where the overlay's call begins, so the sections
// stand in the order the calls were first made.
template <typename T>
class OverlayStack {
 public:
  using Describe = std::function<void(JsonWriter& j, const T& top)>;

  explicit OverlayStack(Describe describe) : m_describe(std::move(describe)) {
    AddDumpSection("overlay", [this](JsonWriter& j) {
      if (m_open.empty()) return false;
      m_describe(j, *m_open.back());
      return true;
    });
  }
  OverlayStack(const OverlayStack&) = delete;
  OverlayStack& operator=(const OverlayStack&) = delete;

  // Call when the overlay shows, before its modal loop runs.
  void Push(const T* overlay) { m_open.push_back(overlay); }
  // Call when its modal loop has ended.
  void Remove(const T* overlay) { m_open.erase(std::remove(m_open.begin(), m_open.end(), overlay), m_open.end()); }
  // The one opened last; null when none is open.
  const T* Top() const { return m_open.empty() ? nullptr : m_open.back(); }

 private:
  Describe m_describe;            // writes the top one's JSON object
  std::vector<const T*> m_open;   // open now, the last opened on top
};

}  // namespace window
