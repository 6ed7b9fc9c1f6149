// Fonts: a LOGFONT matched to a font file through fontconfig, opened with
// FreeType at the size the LOGFONT asks for, with metrics as GDI reports them
// and a cache of rendered glyphs (grey anti-aliased coverage).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win32/gdi_defs.h"

namespace gdi::detail {

struct Glyph {
  int left = 0;     // bitmap's left edge relative to the pen position
  int top = 0;      // bitmap's top edge above the baseline
  int width = 0;
  int height = 0;
  int advance = 0;  // whole pixels
  std::vector<std::uint8_t> coverage;  // width * height, 0..255
};

// One realised font: a face at one size, weight and slant. Shared by every
// HFONT with the same LOGFONT; glyphs are cached for the program's life.
class FontInstance {
 public:
  ~FontInstance();

  // Metrics in pixels, as GetTextMetricsW reports them.
  int Ascent() const { return m_ascent; }
  int Descent() const { return m_descent; }
  int Height() const { return m_ascent + m_descent; }
  int InternalLeading() const { return m_internalLeading; }
  int ExternalLeading() const { return m_externalLeading; }
  int AveCharWidth() const { return m_aveCharWidth; }
  int MaxCharWidth() const { return m_maxCharWidth; }
  int Weight() const { return m_weight; }
  bool Italic() const { return m_italic; }
  bool Underline() const { return m_underline; }
  bool StrikeOut() const { return m_strikeOut; }
  // Distance of the underline's top below the baseline and its thickness.
  int UnderlineOffset() const { return m_underlineOffset; }
  int UnderlineThickness() const { return m_underlineThickness; }
  // Distance of the strike-out line's top above the baseline.
  int StrikeOffset() const { return m_strikeOffset; }
  const std::u16string& FaceName() const { return m_faceName; }

  // The glyph of a code point (from a fallback face when this face lacks it).
  // Control characters are empty and take no room.
  const Glyph& GetGlyph(char32_t cp);
  int Advance(char32_t cp) { return GetGlyph(cp).advance; }

 private:
  friend std::shared_ptr<FontInstance> Realize(const LOGFONTW& lf);
  FontInstance() = default;
  bool Open(const std::string& file, int index, double ppem, bool embolden, bool oblique, bool mono);
  Glyph Render(char32_t cp);
  FontInstance* FallbackFor(char32_t cp);

  struct Face;
  std::unique_ptr<Face> m_face;
  std::string m_file;
  double m_ppem = 0;
  bool m_embolden = false;
  bool m_oblique = false;
  bool m_mono = false;
  int m_ascent = 0, m_descent = 0, m_internalLeading = 0, m_externalLeading = 0;
  int m_aveCharWidth = 0, m_maxCharWidth = 0, m_weight = FW_NORMAL;
  bool m_italic = false, m_underline = false, m_strikeOut = false;
  int m_underlineOffset = 1, m_underlineThickness = 1, m_strikeOffset = 0;
  std::u16string m_faceName;
  std::unique_ptr<Glyph> m_ascii[128];
  std::unordered_map<char32_t, Glyph> m_glyphs;
  std::unordered_map<std::string, std::shared_ptr<FontInstance>> m_fallbacks;  // by file
};

// The realised font for a LOGFONT (cached); never null: when nothing else
// can be found a built-in fallback face is used.
std::shared_ptr<FontInstance> Realize(const LOGFONTW& lf);

// Decodes one code point from UTF-16 at *i (advancing it); lone surrogates
// come out as U+FFFD.
char32_t NextCodePoint(const char16_t* s, int n, int* i);

}  // namespace gdi::detail
