// Fonts, metrics and DrawTextW layout, checked on the pixels drawn.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "tests/gdi/canvas.h"

using namespace gdi_test;

namespace {

HFONT Arial(int height, int weight = FW_NORMAL) {
  return CreateFontW(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, CLEARTYPE_QUALITY, FF_SWISS, u"Arial");
}

// The smallest rectangle around everything that is not white.
RECT Ink(const Canvas& c, int w, int h) {
  RECT r = MakeRect(w, h, 0, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (c.At(x, y) != kWhite) {
        r.left = std::min<LONG>(r.left, x);
        r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
  return r;
}

int DarkPixels(const Canvas& c, int w, int h) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) n += GetRValue(c.At(x, y)) < 128;
  return n;
}

// Selects a font for the scope, over a transparent background.
struct WithFont : Selected {
  WithFont(HDC dc, HFONT f) : Selected(dc, f) { SetBkMode(dc, TRANSPARENT); }
};

}  // namespace

TEST(GdiFonts, ArialHeightsFollowTheLogfontConventions) {
  Canvas c(4, 4);
  TEXTMETRICW tm;
  for (int h : {12, 14, 20, 22, 24, 28, 40, 44}) {
    WithFont f(c.dc(), Arial(h, FW_BOLD));
    ASSERT_TRUE(GetTextMetricsW(c.dc(), &tm));
    EXPECT_EQ(tm.tmHeight, h);  // positive: the cell height
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, h);
    EXPECT_GT(tm.tmInternalLeading, 0);
  }
  {
    WithFont f(c.dc(), Arial(-20));
    GetTextMetricsW(c.dc(), &tm);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);  // negative: the em height
    WCHAR face[LF_FACESIZE];
    GetTextFaceW(c.dc(), LF_FACESIZE, face);
    EXPECT_EQ(std::u16string(face), u"Liberation Sans");
  }
  // The default font of a new DC measures text too.
  SIZE sz;
  EXPECT_TRUE(GetTextExtentPoint32W(c.dc(), u"Abc", 3, &sz));
  EXPECT_GT(sz.cx, 0);
  EXPECT_GT(sz.cy, 8);
}

TEST(GdiFonts, BoldIsVisiblyHeavierAndWidthsAreTheSameOnEveryRun) {
  Canvas c(200, 30);
  // Measures the text, draws it on a clean canvas and answers its dark pixels.
  auto draw = [&c](int weight, SIZE* size) {
    c.Clear(kWhite);
    WithFont f(c.dc(), Arial(20, weight));
    GetTextExtentPoint32W(c.dc(), u"Contacts 123", -1, size);
    TextOutW(c.dc(), 2, 2, u"Contacts 123", 12);
    return DarkPixels(c, 200, 30);
  };
  SIZE normal, bold;
  const int normalInk = draw(FW_NORMAL, &normal), boldInk = draw(FW_BOLD, &bold);
  EXPECT_GT(boldInk, normalInk * 13 / 10);
  EXPECT_GT(bold.cx, normal.cx);
  // Liberation Sans at a 20-pixel cell: fixed numbers, the same in every run.
  EXPECT_EQ(normal.cx, 106);
  EXPECT_EQ(bold.cx, 112);
  // A second font object of the same kind measures the same.
  WithFont again(c.dc(), Arial(20, FW_NORMAL));
  SIZE second;
  GetTextExtentPoint32W(c.dc(), u"Contacts 123", 12, &second);
  EXPECT_EQ(second.cx, normal.cx);
}

TEST(GdiFonts, ArialBlackIsAHeavyFaceAndMissingFacesFallBack) {
  Canvas c(4, 4);
  {
    Selected black(c.dc(), CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Arial Black"));
    TEXTMETRICW tm;
    GetTextMetricsW(c.dc(), &tm);
    EXPECT_GE(tm.tmWeight, FW_BOLD);
  }
  Selected none(c.dc(), CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"No Such Face 123"));
  SIZE sz;
  EXPECT_TRUE(GetTextExtentPoint32W(c.dc(), u"Hello", 5, &sz));
  EXPECT_GT(sz.cx, 30);
}

TEST(GdiText, ExtentsCountSurrogatePairsAsOneCharacter) {
  Canvas c(4, 4);
  WithFont f(c.dc(), Arial(20));
  const char16_t text[] = u"a\U0001F600b\xD800";  // an emoji, then a lone surrogate
  const int n = 5;
  int fit = 0, extents[5];
  SIZE size;
  ASSERT_TRUE(GetTextExtentExPointW(c.dc(), text, n, 1000, &fit, extents, &size));
  EXPECT_EQ(fit, 5);
  EXPECT_EQ(extents[1], extents[2]);  // both halves end where the pair ends
  EXPECT_GT(extents[1], extents[0]);
  EXPECT_EQ(size.cx, extents[4]);
  ASSERT_TRUE(GetTextExtentExPointW(c.dc(), text, n, extents[0], &fit, nullptr, nullptr));
  EXPECT_EQ(fit, 1);
  Canvas wide(80, 30);
  WithFont g(wide.dc(), Arial(20));
  EXPECT_TRUE(TextOutW(wide.dc(), 0, 0, text, n));  // draws without trouble
  EXPECT_FALSE(GetTextExtentPoint32W(c.dc(), nullptr, 3, &size));
}

TEST(GdiText, ExtTextOutFillsTheOpaqueRectangleEvenWithoutText) {
  Canvas c(10, 10);
  SetBkColor(c.dc(), kBlue);
  RECT r = MakeRect(2, 2, 5, 5);
  EXPECT_TRUE(ExtTextOutW(c.dc(), 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr));
  EXPECT_EQ(c.Count(kBlue), 9);
  // Clipped text stays inside its rectangle.
  Canvas t(60, 30);
  WithFont f(t.dc(), Arial(20));
  RECT clip = MakeRect(0, 0, 12, 30);
  ExtTextOutW(t.dc(), 0, 0, ETO_CLIPPED, &clip, u"WWWW", 4, nullptr);
  RECT ink = Ink(t, 60, 30);
  EXPECT_LE(ink.right, 12);
  EXPECT_GT(ink.right, 8);
  // Opaque background mode paints the text's cell.
  t.Clear(kWhite);
  SetBkMode(t.dc(), OPAQUE);
  SetBkColor(t.dc(), kGreen);
  TextOutW(t.dc(), 0, 0, u"i", 1);
  EXPECT_EQ(t.At(0, 19), kGreen);
}

TEST(GdiDrawText, CalcRectHeightEqualsTheHeightOfTheDrawnWrappedText) {
  Canvas c(120, 200);
  WithFont f(c.dc(), Arial(20));
  const char16_t* text = u"The quick brown fox jumps over the lazy dog again and again";
  RECT calc = MakeRect(0, 0, 120, 10000);
  const int h = DrawTextW(c.dc(), text, -1, &calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  EXPECT_EQ(h, calc.bottom);
  EXPECT_EQ(h % 20, 0);
  EXPECT_GE(h, 60);
  EXPECT_LE(calc.right, 120);
  RECT draw = MakeRect(0, 0, 120, 200);
  EXPECT_EQ(DrawTextW(c.dc(), text, -1, &draw, DT_WORDBREAK | DT_NOPREFIX), h);
  RECT ink = Ink(c, 120, 200);
  EXPECT_LE(ink.bottom, h);
  EXPECT_GT(ink.bottom, h - 20);
  EXPECT_LE(ink.right, 120);
  // Line feeds make lines of their own; a single line ignores them.
  RECT r2 = MakeRect(0, 0, 500, 0);
  EXPECT_EQ(DrawTextW(c.dc(), u"a\r\nb\nc", -1, &r2, DT_CALCRECT), 60);
  EXPECT_EQ(DrawTextW(c.dc(), u"a\r\nb\nc", -1, &r2, DT_CALCRECT | DT_SINGLELINE), 20);
  // A word wider than the rectangle is broken instead of running out of it.
  RECT narrow = MakeRect(0, 0, 30, 0);
  EXPECT_GT(DrawTextW(c.dc(), u"Supercalifragilistic", -1, &narrow, DT_CALCRECT | DT_WORDBREAK), 20);
  EXPECT_LE(narrow.right, 30);
  RECT empty = MakeRect(5, 5, 50, 50);
  EXPECT_EQ(DrawTextW(c.dc(), u"", -1, &empty, DT_CALCRECT), 0);
}

TEST(GdiDrawText, AlignmentAndReturnValuesAsGdi) {
  Canvas c(100, 60);
  WithFont f(c.dc(), Arial(20));
  RECT r = MakeRect(10, 5, 90, 55);
  // DT_RIGHT | DT_BOTTOM | DT_SINGLELINE: the text sits in the bottom right
  // corner and the result is the offset from the top to the text's bottom.
  EXPECT_EQ(DrawTextW(c.dc(), u"Ag", -1, &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE), 50);
  RECT ink = Ink(c, 100, 60);
  EXPECT_LE(ink.right, 90);
  EXPECT_GE(ink.right, 87);
  EXPECT_LE(ink.bottom, 55);
  EXPECT_GE(ink.top, 35);
  // Without DT_SINGLELINE, DT_BOTTOM and DT_VCENTER do nothing.
  c.Clear(kWhite);
  EXPECT_EQ(DrawTextW(c.dc(), u"Ag", -1, &r, DT_BOTTOM | DT_VCENTER), 20);
  ink = Ink(c, 100, 60);
  EXPECT_LT(ink.top, 12);
  EXPECT_LE(ink.left, 12);
  // DT_VCENTER | DT_SINGLELINE: (50 - 20) / 2 = 15 down, so 35 to the bottom.
  EXPECT_EQ(DrawTextW(c.dc(), u"Ag", -1, &r, DT_VCENTER | DT_SINGLELINE), 35);
  // DT_CENTER centres each line.
  c.Clear(kWhite);
  DrawTextW(c.dc(), u"ii", -1, &r, DT_CENTER);
  ink = Ink(c, 100, 60);
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 50.0, 2.0);
}

TEST(GdiDrawText, EndEllipsisEndsWithDotsInsideTheRectangle) {
  Canvas a(100, 30), b(100, 30);
  WithFont fa(a.dc(), Arial(20)), fb(b.dc(), Arial(20));
  RECT r = MakeRect(5, 0, 80, 30);
  DrawTextW(a.dc(), u"A very long title that does not fit", -1, &r, DT_RIGHT | DT_SINGLELINE | DT_END_ELLIPSIS);
  DrawTextW(b.dc(), u"...", -1, &r, DT_RIGHT | DT_SINGLELINE);
  RECT ink = Ink(a, 100, 30);
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.right, 80);
  SIZE dots;
  GetTextExtentPoint32W(b.dc(), u"...", 3, &dots);
  for (int y = 0; y < 30; ++y)
    for (int x = 80 - dots.cx; x < 80; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
  // Wrapped text keeps the lines that fit; the last one ends with "...".
  Canvas w(100, 60);
  WithFont fw(w.dc(), Arial(20));
  RECT box = MakeRect(0, 0, 100, 45);
  const int h = DrawTextW(w.dc(), u"one two three four five six seven eight nine ten", -1, &box,
                          DT_WORDBREAK | DT_END_ELLIPSIS);
  EXPECT_EQ(h, 40);
  EXPECT_LE(Ink(w, 100, 60).bottom, 45);
}

TEST(GdiDrawText, AmpersandPrefixesUnderlineUnlessNoPrefix) {
  Canvas a(80, 30), b(80, 30);
  WithFont fa(a.dc(), Arial(20)), fb(b.dc(), Arial(20));
  RECT r = MakeRect(0, 0, 80, 30);
  DrawTextW(a.dc(), u"a&&b", -1, &r, 0);
  DrawTextW(b.dc(), u"a&b", -1, &r, DT_NOPREFIX);
  EXPECT_EQ(a.Picture(), b.Picture());
  // "&x" draws x with a line under it.
  a.Clear(kWhite);
  b.Clear(kWhite);
  DrawTextW(a.dc(), u"&x", -1, &r, 0);
  DrawTextW(b.dc(), u"x", -1, &r, DT_NOPREFIX);
  TEXTMETRICW tm;
  GetTextMetricsW(a.dc(), &tm);
  for (int y = 0; y < tm.tmAscent; ++y) EXPECT_EQ(a.Row(y), b.Row(y)) << y;
  EXPECT_GT(DarkPixels(a, 80, 30), DarkPixels(b, 80, 30));
  // With DT_NOPREFIX the "&" itself is drawn.
  a.Clear(kWhite);
  DrawTextW(a.dc(), u"&x", -1, &r, DT_NOPREFIX);
  EXPECT_NE(a.Picture(), b.Picture());
  RECT calc = r;
  DrawTextW(a.dc(), u"&x", -1, &calc, DT_CALCRECT | DT_NOPREFIX);
  RECT calc2 = r;
  DrawTextW(a.dc(), u"&x", -1, &calc2, DT_CALCRECT);
  EXPECT_GT(calc.right, calc2.right);
}
