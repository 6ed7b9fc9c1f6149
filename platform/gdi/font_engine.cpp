#include "platform/gdi/font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"

namespace gdi::detail {

namespace {

// One lock for FreeType and fontconfig: text is drawn on the UI thread, but
// pictures and measurements may come from elsewhere.
std::recursive_mutex& FontMutex() {
  static std::recursive_mutex m;
  return m;
}

FT_Library Library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) l = nullptr;
    return l;
  }();
  return lib;
}

struct Match {
  std::string file;
  int index = 0;
  int weight = FC_WEIGHT_REGULAR;  // fontconfig weight of the face found
  int slant = FC_SLANT_ROMAN;
  std::u16string family;
};

// Faces the system's texts name that have no file of that name here. "Arial
// Black" is much heavier than Arial Bold: a wide bold sans stands in.
void MapFace(std::string* family, int* weight) {
  std::string lower;
  for (char ch : *family) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (lower == "arial black") {
    *family = "DejaVu Sans";
    *weight = std::max(*weight, FW_BOLD);
  } else if (lower.empty() || lower == "system" || lower == "tahoma" || lower == "ms sans serif") {
    *family = "Liberation Sans";
  }
}

// The installed scalable font that best matches a pattern (null: none);
// the caller destroys it.
FcPattern* BestScalableMatch(FcPattern* pat) {
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result;
  return FcFontMatch(nullptr, pat, &result);
}

bool FindFace(const std::string& family, int weight, bool italic, Match* out) {
  using Key = std::tuple<std::string, int, bool>;
  static std::map<Key, Match> cache;
  const Key key{family, weight, italic};
  if (auto it = cache.find(key); it != cache.end()) {
    *out = it->second;
    return !out->file.empty();
  }
  Match m;
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pat, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPattern* found = BestScalableMatch(pat);
  if (found) {
    FcChar8* file = nullptr;
    FcChar8* fam = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) m.file = reinterpret_cast<char*>(file);
    FcPatternGetInteger(found, FC_INDEX, 0, &m.index);
    FcPatternGetInteger(found, FC_WEIGHT, 0, &m.weight);
    FcPatternGetInteger(found, FC_SLANT, 0, &m.slant);
    if (FcPatternGetString(found, FC_FAMILY, 0, &fam) == FcResultMatch)
      m.family = text::FromUtf8(reinterpret_cast<char*>(fam));
    FcPatternDestroy(found);
  }
  FcPatternDestroy(pat);
  cache[key] = m;
  *out = m;
  return !m.file.empty();
}

// A font file that has a glyph for cp, or empty.
std::string FileWithChar(char32_t cp) {
  static std::map<char32_t, std::string> cache;
  if (auto it = cache.find(cp); it != cache.end()) return it->second;
  std::string file;
  FcPattern* pat = FcPatternCreate();
  FcCharSet* cs = FcCharSetCreate();
  FcCharSetAddChar(cs, cp);
  FcPatternAddCharSet(pat, FC_CHARSET, cs);
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcPattern* found = BestScalableMatch(pat);
  if (found) {
    FcCharSet* have = nullptr;
    FcChar8* f = nullptr;
    if (FcPatternGetCharSet(found, FC_CHARSET, 0, &have) == FcResultMatch && FcCharSetHasChar(have, cp) &&
        FcPatternGetString(found, FC_FILE, 0, &f) == FcResultMatch)
      file = reinterpret_cast<char*>(f);
    FcPatternDestroy(found);
  }
  FcCharSetDestroy(cs);
  FcPatternDestroy(pat);
  cache[cp] = file;
  return file;
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

// The vertical metrics of a face, in font units: the same for every size, so read once per file.
struct FaceMetrics {
  double upem = 2048, winAsc = 0, winDesc = 0, lineGap = 0;
};

FaceMetrics MetricsOf(const std::string& file, int index) {
  static std::map<std::pair<std::string, int>, FaceMetrics> cache;
  const auto key = std::make_pair(file, index);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  FaceMetrics m;
  FT_Face probe = nullptr;
  if (FT_New_Face(Library(), file.c_str(), index, &probe) == 0 && probe) {
    m.upem = probe->units_per_EM ? probe->units_per_EM : 2048;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(probe, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      m.winAsc = os2->usWinAscent;
      m.winDesc = os2->usWinDescent;
    } else {
      m.winAsc = probe->ascender;
      m.winDesc = -probe->descender;
    }
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(probe, FT_SFNT_HHEA));
    if (hhea) m.lineGap = std::max(0.0, (hhea->Ascender - hhea->Descender + hhea->Line_Gap) - (m.winAsc + m.winDesc));
    FT_Done_Face(probe);
  }
  cache[key] = m;
  return m;
}

}  // namespace

struct FontInstance::Face {
  FT_Face face = nullptr;
  ~Face() {
    if (face) FT_Done_Face(face);
  }
};

FontInstance::~FontInstance() = default;

bool FontInstance::Open(const std::string& file, int index, double ppem, bool embolden, bool oblique, bool mono) {
  FT_Library lib = Library();
  if (!lib) return false;
  auto f = std::make_unique<Face>();
  if (FT_New_Face(lib, file.c_str(), index, &f->face) != 0 || !f->face) return false;
  if (!FT_IS_SCALABLE(f->face)) return false;
  FT_Select_Charmap(f->face, FT_ENCODING_UNICODE);
  const FT_F26Dot6 size = std::max<FT_F26Dot6>(64, static_cast<FT_F26Dot6>(std::lround(ppem * 64)));
  if (FT_Set_Char_Size(f->face, 0, size, 72, 72) != 0) return false;
  m_face = std::move(f);
  m_file = file;
  m_ppem = ppem;
  m_embolden = embolden;
  m_oblique = oblique;
  m_mono = mono;
  return true;
}

std::shared_ptr<FontInstance> Realize(const LOGFONTW& lf) {
  std::lock_guard lock(FontMutex());
  std::u16string face16;
  for (int i = 0; i < LF_FACESIZE && lf.lfFaceName[i]; ++i) face16 += lf.lfFaceName[i];
  std::string family = text::ToUtf8(face16);
  int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::min<int>(lf.lfWeight, 1000);
  MapFace(&family, &weight);
  const bool italic = lf.lfItalic != 0;
  int height = lf.lfHeight;
  if (height == 0) height = -MulDiv(9, gdi::LogPixels(), 72);  // the platform's default size
  height = std::clamp(height, -2000, 2000);
  const bool mono = lf.lfQuality == NONANTIALIASED_QUALITY;

  using Key = std::tuple<std::string, int, bool, int, bool, bool, bool>;
  // Instances stay cached after their last HFONT is deleted, so code that
  // makes a font for every paint keeps its glyphs; unused ones are dropped
  // when the cache grows.
  static std::map<Key, std::shared_ptr<FontInstance>> cache;
  const Key key{family, weight, italic, height, mono, lf.lfUnderline != 0, lf.lfStrikeOut != 0};
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  if (cache.size() >= 64) {
    for (auto it = cache.begin(); it != cache.end();)
      it = it->second.use_count() == 1 ? cache.erase(it) : std::next(it);
  }

  std::shared_ptr<FontInstance> inst(new FontInstance);
  inst->m_weight = weight;
  inst->m_italic = italic;
  inst->m_underline = lf.lfUnderline != 0;
  inst->m_strikeOut = lf.lfStrikeOut != 0;
  Match m;
  bool ok = FindFace(family, weight, italic, &m);
  if (!ok) ok = FindFace("sans-serif", weight, italic, &m);
  if (ok) {
    inst->m_faceName = m.family;
    const FaceMetrics metrics = MetricsOf(m.file, m.index);
    double ppem = std::abs(height);
    double winAsc = metrics.winAsc, winDesc = metrics.winDesc;
    const double upem = metrics.upem, lineGap = metrics.lineGap;
    if (winAsc + winDesc <= 0) {
      winAsc = upem * 0.9;
      winDesc = upem * 0.2;
    }
    // A positive height is the cell (ascent + descent), a negative one the em.
    if (height > 0) ppem = height * upem / (winAsc + winDesc);
    const double scale = ppem / upem;
    if (height > 0) {
      inst->m_ascent = Round(winAsc * scale);
      inst->m_descent = height - inst->m_ascent;
    } else {
      inst->m_ascent = Round(winAsc * scale);
      inst->m_descent = Round(winDesc * scale);
    }
    inst->m_internalLeading = std::max(0, inst->Height() - Round(ppem));
    inst->m_externalLeading = Round(lineGap * scale);
    const bool wantBold = weight >= FW_SEMIBOLD;
    const bool embolden = wantBold && m.weight < FC_WEIGHT_DEMIBOLD;
    const bool oblique = italic && m.slant == FC_SLANT_ROMAN;
    if (inst->Open(m.file, m.index, ppem, embolden, oblique, mono)) {
      FT_Face f = inst->m_face->face;
      const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
      if (os2 && os2->xAvgCharWidth > 0) inst->m_aveCharWidth = Round(os2->xAvgCharWidth * scale);
      if (inst->m_aveCharWidth <= 0) inst->m_aveCharWidth = std::max(1, inst->Advance(U'x'));
      inst->m_maxCharWidth = Round(f->max_advance_width * scale);
      const double ulPos = f->underline_position ? f->underline_position : -upem / 10.0;
      const double ulThick = f->underline_thickness ? f->underline_thickness : upem / 20.0;
      inst->m_underlineThickness = std::max(1, Round(ulThick * scale));
      inst->m_underlineOffset = std::max(1, Round(-ulPos * scale - ulThick * scale / 2));
      if (inst->m_underlineOffset + inst->m_underlineThickness > inst->m_descent)
        inst->m_underlineOffset = std::max(0, inst->m_descent - inst->m_underlineThickness);
      const double strike = (os2 && os2->yStrikeoutPosition > 0) ? os2->yStrikeoutPosition : upem * 0.26;
      inst->m_strikeOffset = Round(strike * scale);
    }
  } else {
    // No font at all on this machine: keep the metrics so layout still works.
    inst->m_ascent = height > 0 ? height * 4 / 5 : -height;
    inst->m_descent = height > 0 ? height - inst->m_ascent : -height / 4;
    inst->m_aveCharWidth = std::max(1, inst->Height() / 2);
    inst->m_maxCharWidth = inst->Height();
  }
  cache[key] = inst;
  return inst;
}

FontInstance* FontInstance::FallbackFor(char32_t cp) {
  const std::string file = FileWithChar(cp);
  if (file.empty() || file == m_file) return nullptr;
  auto& slot = m_fallbacks[file];
  if (!slot) {
    std::shared_ptr<FontInstance> f(new FontInstance);
    if (!f->Open(file, 0, m_ppem, m_embolden || m_weight >= FW_SEMIBOLD, m_oblique || m_italic, m_mono)) return nullptr;
    slot = f;
  }
  return slot.get();
}

Glyph FontInstance::Render(char32_t cp) {
  Glyph g;
  if (!m_face || cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return g;  // controls take no room
  FT_Face face = m_face->face;
  FT_UInt index = FT_Get_Char_Index(face, cp);
  if (index == 0) {
    if (FontInstance* other = FallbackFor(cp)) {
      FT_UInt oi = FT_Get_Char_Index(other->m_face->face, cp);
      if (oi != 0) return other->Render(cp);
    }
  }
  const FT_Int32 flags = (m_mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT) | FT_LOAD_NO_BITMAP;
  if (FT_Load_Glyph(face, index, flags) != 0) return g;
  FT_GlyphSlot slot = face->glyph;
  if (m_oblique) FT_GlyphSlot_Oblique(slot);
  if (m_embolden) FT_GlyphSlot_Embolden(slot);
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, m_mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return g;
  const FT_Bitmap& bm = slot->bitmap;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int>(bm.width);
  g.height = static_cast<int>(bm.rows);
  g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
    std::uint8_t* out = g.coverage.data() + static_cast<std::size_t>(y) * g.width;
    if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (int x = 0; x < g.width; ++x) out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
      std::memcpy(out, row, static_cast<std::size_t>(g.width));
    }
  }
  return g;
}

const Glyph& FontInstance::GetGlyph(char32_t cp) {
  std::lock_guard lock(FontMutex());
  if (cp < 128) {
    auto& slot = m_ascii[cp];
    if (!slot) slot = std::make_unique<Glyph>(Render(cp));
    return *slot;
  }
  auto it = m_glyphs.find(cp);
  if (it == m_glyphs.end()) it = m_glyphs.emplace(cp, Render(cp)).first;
  return it->second;
}

char32_t NextCodePoint(const char16_t* s, int n, int* i) {
  const char16_t c = s[(*i)++];
  if (c >= 0xD800 && c <= 0xDBFF) {
    if (*i < n && s[*i] >= 0xDC00 && s[*i] <= 0xDFFF) {
      const char16_t lo = s[(*i)++];
      return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (lo - 0xDC00);
    }
    return 0xFFFD;
  }
  if (c >= 0xDC00 && c <= 0xDFFF) return 0xFFFD;
  return c;
}

}  // namespace gdi::detail

namespace gdi {

void PrepareFonts() {
  using namespace gdi::detail;
  std::lock_guard lock(FontMutex());
  if (!Library()) return;
  // The launcher's own face, regular and bold, and the one most skins name.
  for (const char* family : {"Liberation Sans", "Arial"}) {
    for (int weight : {FW_NORMAL, FW_BOLD}) {
      Match m;
      if (FindFace(family, weight, false, &m)) MetricsOf(m.file, m.index);
    }
  }
}

}  // namespace gdi
