// Fonts and text output: CreateFontIndirectW, ExtTextOutW and the measuring calls.
#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/text_render.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"

using namespace gdi::detail;

namespace gdi::detail {

FontInstance* FontOf(DcObj* dc) {
  FontObj* f = dc->font;
  if (!f) return nullptr;
  if (!f->instance) f->instance = Realize(f->logfont);
  return f->instance.get();
}

int MeasureRun(FontInstance& font, const char16_t* s, int n) {
  int w = 0;
  for (int i = 0; i < n;) w += font.Advance(NextCodePoint(s, n, &i));
  return w;
}

namespace {

void MixGlyph(const Canvas& c, const Glyph& g, int gx, int gy, std::uint32_t color, const RECT& limit) {
  RECT box = MakeRect(gx, gy, gx + g.width, gy + g.height);
  RECT r;
  if (!IntersectRect(&r, &box, &limit)) return;
  c.ForEachClipped(r, [&](const RECT& q) {
    for (int y = q.top; y < q.bottom; ++y) {
      const std::uint8_t* cov = g.coverage.data() + static_cast<std::size_t>(y - gy) * g.width - gx;
      std::uint32_t* row = c.Row(y);
      for (int x = q.left; x < q.right; ++x) {
        const std::uint32_t a = cov[x];
        if (a) row[x] = MixCoverage(color, row[x], a);
      }
    }
  });
}

}  // namespace

void DrawRun(const Canvas& c, FontInstance& font, int x, int baseline, const char16_t* s, int n, const int* dx,
             std::uint32_t color, const RECT* clip) {
  const RECT limit = clip ? *clip : MakeRect(INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2);
  int pen = x;
  for (int i = 0; i < n;) {
    const int start = i;
    const char32_t cp = NextCodePoint(s, n, &i);
    const Glyph& g = font.GetGlyph(cp);
    if (!g.coverage.empty()) MixGlyph(c, g, pen + g.left, baseline - g.top, color, limit);
    if (dx) {
      for (int k = start; k < i; ++k) pen += dx[k];
    } else {
      pen += g.advance;
    }
    if (pen > c.clipBounds.right && !dx && pen > limit.right) break;  // the rest is out of sight
  }
}

void DrawDecorations(const Canvas& c, FontInstance& font, int x, int baseline, int width, std::uint32_t color,
                     const RECT* clip, bool underline, bool strike) {
  Paint paint;
  paint.color = color;
  auto line = [&](int top) {
    RECT r = MakeRect(x, top, x + width, top + font.UnderlineThickness());
    if (clip && !IntersectRect(&r, &r, clip)) return;
    PaintRect(c, r, paint);
  };
  if (underline) line(baseline + font.UnderlineOffset());
  if (strike) line(baseline - font.StrikeOffset());
}

}  // namespace gdi::detail

// ---- Fonts ------------------------------------------------------------------------------------

HFONT CreateFontIndirectW(const LOGFONTW* lf) {
  if (!lf) return nullptr;
  auto f = std::make_unique<FontObj>();
  f->logfont = *lf;
  f->logfont.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(Register(std::move(f)));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCWSTR face) {
  LOGFONTW lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic != 0);
  lf.lfUnderline = static_cast<BYTE>(underline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face) text::CopyTo(lf.lfFaceName, LF_FACESIZE, face);
  return CreateFontIndirectW(&lf);
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* tm) {
  DcObj* d = LookupDc(dc);
  if (!d || !tm) return FALSE;
  FontInstance* f = FontOf(d);
  if (!f) return FALSE;
  *tm = TEXTMETRICW{};
  tm->tmHeight = f->Height();
  tm->tmAscent = f->Ascent();
  tm->tmDescent = f->Descent();
  tm->tmInternalLeading = f->InternalLeading();
  tm->tmExternalLeading = f->ExternalLeading();
  tm->tmAveCharWidth = f->AveCharWidth();
  tm->tmMaxCharWidth = f->MaxCharWidth();
  tm->tmWeight = f->Weight();
  tm->tmDigitizedAspectX = gdi::LogPixels();
  tm->tmDigitizedAspectY = gdi::LogPixels();
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = 0xFFFC;
  tm->tmDefaultChar = 0x1F;
  tm->tmBreakChar = 0x20;
  tm->tmItalic = f->Italic() ? 255 : 0;
  tm->tmUnderlined = f->Underline() ? 255 : 0;
  tm->tmStruckOut = f->StrikeOut() ? 255 : 0;
  // TMPF_FIXED_PITCH (set means variable pitch), TMPF_VECTOR and TMPF_TRUETYPE.
  tm->tmPitchAndFamily = static_cast<BYTE>(0x01 | 0x02 | 0x04 | (d->font->logfont.lfPitchAndFamily & 0xF0));
  tm->tmCharSet = d->font->logfont.lfCharSet;
  return TRUE;
}

int GetTextFaceW(HDC dc, int count, LPWSTR face) {
  DcObj* d = LookupDc(dc);
  if (!d) return 0;
  FontInstance* f = FontOf(d);
  if (!f) return 0;
  const std::u16string& name = f->FaceName();
  if (!face) return static_cast<int>(name.size()) + 1;
  if (count <= 0) return 0;
  return static_cast<int>(text::CopyTo(face, static_cast<std::size_t>(count), name));
}

namespace {

int Length(LPCWSTR s, int count) {
  if (!s) return 0;
  return count < 0 ? static_cast<int>(text::Length(s)) : count;
}

}  // namespace

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR s, int count, SIZE* size) {
  DcObj* d = LookupDc(dc);
  if (!d || !size || (!s && count > 0)) return FALSE;
  FontInstance* f = FontOf(d);
  if (!f) return FALSE;
  size->cx = MeasureRun(*f, s, Length(s, count));
  size->cy = f->Height();
  return TRUE;
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR s, int count, int maxExtent, int* fit, int* extents, SIZE* size) {
  DcObj* d = LookupDc(dc);
  if (!d || (!s && count > 0)) return FALSE;
  FontInstance* f = FontOf(d);
  if (!f) return FALSE;
  const int n = Length(s, count);
  int w = 0, fits = 0;
  bool stillFits = true;
  for (int i = 0; i < n;) {
    const int start = i;
    w += f->Advance(NextCodePoint(s, n, &i));
    // A surrogate pair counts as two units, both ending at the pair's end.
    for (int k = start; k < i; ++k) {
      if (extents) extents[k] = w;
      if (stillFits && (maxExtent < 0 || w <= maxExtent)) ++fits;
    }
    if (maxExtent >= 0 && w > maxExtent) stillFits = false;
  }
  if (fit) *fit = fits;
  if (size) {
    size->cx = w;
    size->cy = f->Height();
  }
  return TRUE;
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR s, UINT count, const int* dx) {
  auto c = CanvasOf(dc);
  if (!c || (!s && count > 0)) return FALSE;
  DcObj* d = c->dc;
  FontInstance* f = FontOf(d);
  if (!f) return FALSE;
  const int n = static_cast<int>(std::min<UINT>(count, 1u << 24));
  RECT clip{};
  const bool hasRect = rect != nullptr;
  if (hasRect) {
    clip = *rect;
    OffsetRect(&clip, c->dx, c->dy);
  }
  if (hasRect && (options & ETO_OPAQUE)) {
    Paint bk;
    bk.color = gdi::ColorToPixel(d->state.bkColor);
    PaintRect(*c, clip, bk);
  }
  if (n == 0) return TRUE;
  const UINT align = d->state.textAlign;
  if (align & TA_UPDATECP) {
    x = d->state.position.x;
    y = d->state.position.y;
  }
  int width = 0;
  if (dx) {
    for (int i = 0; i < n; ++i) width += dx[i];
  } else {
    width = MeasureRun(*f, s, n);
  }
  int left = x;
  switch (align & TA_CENTER) {
    case TA_RIGHT: left = x - width; break;
    case TA_CENTER: left = x - width / 2; break;
    default: break;
  }
  int top = y;
  switch (align & TA_BASELINE) {
    case TA_BASELINE: top = y - f->Ascent(); break;
    case TA_BOTTOM: top = y - f->Height(); break;
    default: break;
  }
  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) == TA_LEFT) d->state.position.x = x + width;
    if ((align & TA_CENTER) == TA_RIGHT) d->state.position.x = x - width;
  }
  const int tx = left + c->dx, ty = top + c->dy;
  const RECT* textClip = hasRect && (options & ETO_CLIPPED) ? &clip : nullptr;
  if (d->state.bkMode == OPAQUE && !(options & ETO_OPAQUE)) {
    RECT cell = MakeRect(tx, ty, tx + width, ty + f->Height());
    if (!textClip || IntersectRect(&cell, &cell, textClip)) {
      Paint bk;
      bk.color = gdi::ColorToPixel(d->state.bkColor);
      PaintRect(*c, cell, bk);
    }
  }
  const std::uint32_t color = gdi::ColorToPixel(d->state.textColor);
  DrawRun(*c, *f, tx, ty + f->Ascent(), s, n, dx, color, textClip);
  if (f->Underline() || f->StrikeOut())
    DrawDecorations(*c, *f, tx, ty + f->Ascent(), width, color, textClip, f->Underline(), f->StrikeOut());
  return TRUE;
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR s, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutW(dc, x, y, 0, nullptr, s, static_cast<UINT>(count), nullptr);
}
