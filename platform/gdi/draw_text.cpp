// DrawTextW: prefix characters, line breaks, word wrapping, alignment,
// ellipsis and DT_CALCRECT, with the heights GDI returns.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/text_render.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"

using namespace gdi::detail;

namespace {

constexpr char16_t kEllipsis[] = u"...";

struct Line {
  std::u16string text;
  int underline = -1;  // index in text of the prefixed character, or -1
  int width = 0;
};

// Removes the "&" prefix characters: "&&" is one "&", "&x" underlines x.
std::u16string StripPrefixes(const char16_t* s, int n, int* underline) {
  std::u16string out;
  out.reserve(static_cast<std::size_t>(n));
  *underline = -1;
  for (int i = 0; i < n; ++i) {
    if (s[i] == u'&') {
      if (i + 1 >= n) break;  // a lone "&" at the end shows nothing
      ++i;
      if (s[i] != u'&') *underline = static_cast<int>(out.size());
    }
    out += s[i];
  }
  return out;
}

class Layout {
 public:
  Layout(FontInstance& font, UINT format) : m_font(font), m_format(format) {
    int chars = 8;
    if (format & DT_TABSTOP) chars = std::max(1, static_cast<int>((format >> 8) & 0xFF));
    m_tab = std::max(1, chars * font.AveCharWidth());
  }

  // Advance of the unit(s) starting at text[i], at x within the line.
  int Advance(const std::u16string& t, int* i, int x) const {
    const char16_t c = t[static_cast<std::size_t>(*i)];
    if (c == u'\t' && (m_format & DT_EXPANDTABS)) {
      ++*i;
      return m_tab - (x % m_tab);
    }
    return m_font.Advance(NextCodePoint(t.data(), static_cast<int>(t.size()), i));
  }

  int Width(const std::u16string& t) const {
    int x = 0;
    for (int i = 0; i < static_cast<int>(t.size());) x += Advance(t, &i, x);
    return x;
  }

  // Breaks one paragraph (no line feeds) into lines no wider than maxWidth.
  void Wrap(const std::u16string& para, int underline, int maxWidth, std::vector<Line>* out) const {
    const int n = static_cast<int>(para.size());
    int start = 0;
    if (n == 0) {
      out->push_back(Line{});
      return;
    }
    while (start < n) {
      int x = 0, i = start, lastSpace = -1;
      int end = n, next = n;
      while (i < n) {
        const int at = i;
        const char16_t c = para[static_cast<std::size_t>(i)];
        const int a = Advance(para, &i, x);
        if (x + a > maxWidth && at > start) {
          if (c == u' ') {
            end = at;
          } else if (lastSpace > start) {
            end = lastSpace;
          } else if (maxWidth > 0) {
            end = at;  // a word wider than the line is broken between characters
          } else {
            x += a;
            continue;
          }
          next = end;
          while (next < n && para[static_cast<std::size_t>(next)] == u' ') ++next;
          break;
        }
        if (c == u' ') lastSpace = at;
        x += a;
      }
      if (i >= n && end == n) next = n;
      int trimmed = end;
      while (trimmed > start && para[static_cast<std::size_t>(trimmed - 1)] == u' ') --trimmed;
      Line line;
      line.text = para.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(trimmed - start));
      if (underline >= start && underline < trimmed) line.underline = underline - start;
      line.width = Width(line.text);
      out->push_back(std::move(line));
      if (next <= start) next = start + 1;  // always progress
      start = next;
    }
  }

  // Cuts a line so that it and "..." fit in maxWidth.
  void Ellipsize(Line* line, int maxWidth) const {
    const int dots = Width(kEllipsis);
    // The longest run of whole characters that leaves room for the dots,
    // found in one pass (long texts such as message bodies stay cheap).
    const std::u16string& full = line->text;
    std::size_t keep = 0;
    int x = 0;
    for (int i = 0; i < static_cast<int>(full.size());) {
      x += Advance(full, &i, x);
      if (x + dots > maxWidth) break;
      keep = static_cast<std::size_t>(i);
    }
    std::u16string t = full.substr(0, keep);
    while (!t.empty() && t.back() == u' ') t.pop_back();
    if (line->underline >= static_cast<int>(t.size())) line->underline = -1;
    line->text = t + kEllipsis;
    line->width = Width(line->text);
  }

 private:
  FontInstance& m_font;
  UINT m_format;
  int m_tab;
};

}  // namespace

int DrawTextW(HDC dc, LPCWSTR s, int count, RECT* rect, UINT format) {
  DcObj* d = LookupDc(dc);
  if (!d || !rect || (!s && count != 0)) return 0;
  FontInstance* font = FontOf(d);
  if (!font) return 0;
  const int n = s ? (count < 0 ? static_cast<int>(text::Length(s)) : count) : 0;
  const int lineHeight = font->Height() + ((format & DT_EXTERNALLEADING) ? font->ExternalLeading() : 0);
  const bool single = (format & DT_SINGLELINE) != 0;
  const bool calc = (format & DT_CALCRECT) != 0;
  const int maxWidth = rect->right - rect->left;

  if (n == 0) {
    if (calc) {
      rect->right = rect->left;
      rect->bottom = rect->top;
    }
    return 0;
  }

  int underline = -1;
  std::u16string t = (format & DT_NOPREFIX) ? std::u16string(s, static_cast<std::size_t>(n))
                                            : StripPrefixes(s, n, &underline);
  if (format & DT_HIDEPREFIX) underline = -1;

  Layout layout(*font, format);
  std::vector<Line> lines;
  // Paragraphs end at CR, LF or CR LF; a single line shows them as nothing.
  std::size_t start = 0;
  for (std::size_t i = 0; i <= t.size(); ++i) {
    const bool end = i == t.size();
    const bool feed = !end && (t[i] == u'\r' || t[i] == u'\n');
    if (!end && !(feed && !single)) continue;
    std::u16string para = t.substr(start, i - start);
    int ul = (underline >= static_cast<int>(start) && underline < static_cast<int>(i))
                 ? underline - static_cast<int>(start)
                 : -1;
    if (single) {
      std::u16string clean;
      for (std::size_t k = 0; k < para.size(); ++k) {
        if (para[k] == u'\r' || para[k] == u'\n') {
          if (static_cast<int>(k) < ul) --ul;
          continue;
        }
        clean += para[k];
      }
      para.swap(clean);
    }
    if ((format & DT_WORDBREAK) && !single) {
      layout.Wrap(para, ul, maxWidth, &lines);
    } else {
      Line line;
      line.text = para;
      line.underline = ul;
      line.width = layout.Width(para);
      lines.push_back(std::move(line));
    }
    if (end) break;
    if (t[i] == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n') ++i;
    start = i + 1;
  }

  const bool ellipsis = (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;
  if (ellipsis && !calc) {
    // Wrapped text keeps the lines that fit; the last one ends with "...".
    if ((format & DT_WORDBREAK) && !single) {
      const std::size_t fit =
          static_cast<std::size_t>(std::max(1, (rect->bottom - rect->top) / std::max(1, lineHeight)));
      if (lines.size() > fit) {
        lines.resize(fit);
        layout.Ellipsize(&lines.back(), maxWidth);
      }
    }
    for (Line& line : lines)
      if (line.width > maxWidth && line.text.size() > 0) layout.Ellipsize(&line, maxWidth);
  }

  const int total = lineHeight * static_cast<int>(lines.size());
  int y = rect->top;
  if (single) {
    if (format & DT_VCENTER)
      y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      y = rect->bottom - lineHeight;
  }
  const int result = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? y - rect->top + total : total;

  if (calc) {
    int widest = 0;
    for (const Line& l : lines) widest = std::max(widest, l.width);
    rect->right = rect->left + widest;
    // The bottom moves to bound the last line; the top stays.
    rect->bottom = y + total;
    return result;
  }

  auto canvas = CanvasOf(dc);
  if (!canvas) return result;
  RECT clip = *rect;
  OffsetRect(&clip, canvas->dx, canvas->dy);
  const RECT* clipPtr = (format & DT_NOCLIP) ? nullptr : &clip;
  const std::uint32_t color = gdi::ColorToPixel(d->state.textColor);
  const bool opaque = d->state.bkMode == OPAQUE;
  for (const Line& line : lines) {
    if (y >= rect->bottom && clipPtr) break;
    int x = rect->left;
    if (format & DT_CENTER)
      x = rect->left + (maxWidth - line.width) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - line.width;
    const int tx = x + canvas->dx, ty = y + canvas->dy;
    if (opaque) {
      RECT cell = MakeRect(tx, ty, tx + line.width, ty + lineHeight);
      if (!clipPtr || IntersectRect(&cell, &cell, clipPtr)) {
        Paint bk;
        bk.color = gdi::ColorToPixel(d->state.bkColor);
        PaintRect(*canvas, cell, bk);
      }
    }
    const int baseline = ty + font->Ascent();
    if (format & DT_EXPANDTABS) {
      // Draw piece by piece between tabs so the tabs advance to their stops.
      int px = 0;
      std::size_t a = 0;
      for (std::size_t b = 0; b <= line.text.size(); ++b) {
        if (b < line.text.size() && line.text[b] != u'\t') continue;
        const std::u16string piece = line.text.substr(a, b - a);
        DrawRun(*canvas, *font, tx + px, baseline, piece.data(), static_cast<int>(piece.size()), nullptr, color,
                clipPtr);
        px += layout.Width(piece);
        if (b < line.text.size()) {
          int k = static_cast<int>(b);
          px += layout.Advance(line.text, &k, px);
        }
        a = b + 1;
      }
    } else {
      DrawRun(*canvas, *font, tx, baseline, line.text.data(), static_cast<int>(line.text.size()), nullptr, color,
              clipPtr);
    }
    if (font->Underline() || font->StrikeOut())
      DrawDecorations(*canvas, *font, tx, baseline, line.width, color, clipPtr, font->Underline(), font->StrikeOut());
    if (line.underline >= 0 && !(format & DT_NOPREFIX)) {
      const std::u16string before = line.text.substr(0, static_cast<std::size_t>(line.underline));
      int k = line.underline;
      const int ux = layout.Width(before);
      const int uw = layout.Advance(line.text, &k, ux);
      DrawDecorations(*canvas, *font, tx + ux, baseline, uw, color, clipPtr, true, false);
    }
    y += lineHeight;
  }
  return result;
}
