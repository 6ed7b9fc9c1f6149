#include "look/fitted_text.h"

#include <algorithm>

#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"

namespace {

int Width(HDC dc, const std::u16string& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The text in whole words, line by line, in the DC's font: each line takes
// as many words as fit the width; a word wider than the width takes a line
// of its own. `fits` tells whether every word fitted.
std::vector<std::u16string> WrapWords(HDC dc, std::u16string_view text, int width, bool* fits) {
  std::vector<std::u16string> lines;
  *fits = true;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view paragraph = text.substr(start, end - start);
    if (!paragraph.empty() && paragraph.back() == u'\r') paragraph.remove_suffix(1);
    std::u16string line;
    std::size_t at = 0;
    bool any = false;
    while (at < paragraph.size()) {
      if (paragraph[at] == u' ') {
        ++at;
        continue;
      }
      std::size_t next = paragraph.find(u' ', at);
      if (next == std::u16string_view::npos) next = paragraph.size();
      const std::u16string word(paragraph.substr(at, next - at));
      at = next;
      if (Width(dc, word) > width) *fits = false;
      if (line.empty()) {
        line = word;
      } else if (Width(dc, line + u" " + word) <= width) {
        line += u" " + word;
      } else {
        lines.push_back(line);
        line = word;
      }
      any = true;
    }
    if (any || !paragraph.empty() || lines.empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

int LineHeight(HDC dc) {
  TEXTMETRICW metrics;
  return GetTextMetricsW(dc, &metrics) ? std::max<int>(1, metrics.tmHeight) : 1;
}

}  // namespace

mivoFittedText FitText(mivoAppearance& a, HDC dc, std::u16string_view text, HFONT font, int width, int height) {
  mivoFittedText fitted;
  HGDIOBJ old = GetCurrentObject(dc, OBJ_FONT);
  for (HFONT candidate : {font, a.SmallFont}) {
    if (!candidate) continue;
    SelectObject(dc, candidate);
    bool fits = false;
    fitted.font = candidate;
    fitted.lines = WrapWords(dc, text, width, &fits);
    fitted.lineHeight = LineHeight(dc);
    if (fits && fitted.Height() <= height) break;
  }
  // Even the small font does not fit: as many lines as there is room for
  // (one at least), the words that are left joined to the last one, which
  // then ends in "..." when it is drawn.
  const std::size_t room = static_cast<std::size_t>(std::max(1, height / fitted.lineHeight));
  if (fitted.lines.size() > room) {
    std::u16string last = fitted.lines[room - 1];
    for (std::size_t i = room; i < fitted.lines.size(); ++i) last += u" " + fitted.lines[i];
    fitted.lines.resize(room);
    fitted.lines.back() = last;
  }
  SelectObject(dc, old);
  return fitted;
}

int DrawFittedText(mivoAppearance& a, HDC dc, const mivoFittedText& fitted, const RECT& rect, UINT align,
                   mivoTextShadow shadow) {
  if (fitted.font) SelectObject(dc, fitted.font);
  SetBkMode(dc, TRANSPARENT);
  const UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (align & (DT_CENTER | DT_RIGHT));
  int y = rect.top;
  for (const std::u16string& line : fitted.lines) {
    RECT box{rect.left, y, rect.right, y + fitted.lineHeight};
    if (shadow == mivoTextShadow::kWith) {
      DrawTextWithShadow(a, dc, line, box, flags);
    } else {
      DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &box, flags);
    }
    y += fitted.lineHeight;
  }
  return fitted.Height() + (shadow == mivoTextShadow::kWith ? 2 * DisplayScale : 0);
}
