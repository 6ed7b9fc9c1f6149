// FillRect, pixels and the blits.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "tests/gdi/canvas.h"

using namespace gdi_test;

TEST(GdiFill, FillRectLeavesTheRightAndBottomEdgesOut) {
  Canvas c(6, 5);
  HBRUSH black = Stock(BLACK_BRUSH);
  RECT r = MakeRect(1, 1, 4, 3);
  FillRect(c.dc(), &r, black);
  EXPECT_EQ(c.Picture(), Pic({"......", ".###..", ".###..", "......", "......"}));
  // Empty and inverted rectangles paint nothing; the null brush paints nothing.
  c.Clear(kWhite);
  RECT inverted = MakeRect(4, 4, 1, 1), empty = MakeRect(2, 2, 2, 4);
  FillRect(c.dc(), &inverted, black);
  FillRect(c.dc(), &empty, black);
  FillRect(c.dc(), &r, Stock(NULL_BRUSH));
  EXPECT_EQ(c.Count(kBlack), 0);
  // Far outside the bitmap is clipped, not a crash.
  RECT huge = MakeRect(-1000000, -5, 1000000, 2);
  FillRect(c.dc(), &huge, black);
  EXPECT_EQ(c.Count(kBlack), 12);
}

TEST(GdiFill, PixelsAndInversionFollowTheViewportOrigin) {
  Canvas c(4, 3);
  SetViewportOrgEx(c.dc(), 1, 1, nullptr);
  EXPECT_EQ(SetPixel(c.dc(), 0, 0, kRed), kRed);
  EXPECT_EQ(c.At(1, 1), kRed);
  EXPECT_EQ(GetPixel(c.dc(), 0, 0), kRed);
  EXPECT_EQ(SetPixel(c.dc(), 3, 0, kRed), CLR_INVALID);
  EXPECT_EQ(GetPixel(c.dc(), -2, 0), CLR_INVALID);
  SetViewportOrgEx(c.dc(), 0, 0, nullptr);
  RECT r = MakeRect(0, 0, 2, 1);
  InvertRect(c.dc(), &r);
  EXPECT_EQ(c.Row(0), "##..");
}

TEST(GdiBlit, BitBltClipsAtTheSourceBitmapAndAtTheClipRegion) {
  Canvas src(3, 3, kRed);
  Canvas dst(6, 6);
  // Source from (1, 1): only 2x2 pixels exist there.
  EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 6, 6, src.dc(), 1, 1, SRCCOPY));
  EXPECT_EQ(dst.Picture(), Pic({"RR....", "RR....", "......", "......", "......", "......"}));
  // Negative source coordinates leave the part before the bitmap alone.
  dst.Clear(kWhite);
  BitBlt(dst.dc(), 0, 0, 4, 4, src.dc(), -1, -2, SRCCOPY);
  EXPECT_EQ(dst.Picture(), Pic({"......", "......", ".RRR..", ".RRR..", "......", "......"}));
  // The destination clip cuts the copy.
  dst.Clear(kWhite);
  IntersectClipRect(dst.dc(), 2, 0, 4, 6);
  BitBlt(dst.dc(), 1, 1, 3, 3, src.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(dst.Picture(), Pic({"......", "..RR..", "..RR..", "..RR..", "......", "......"}));
}

TEST(GdiBlit, BitBltRasterOperations) {
  Canvas src(2, 1);
  SetPixel(src.dc(), 0, 0, kRed);
  SetPixel(src.dc(), 1, 0, kBlack);
  Canvas dst(2, 1, kRed);
  BitBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, SRCINVERT);  // red^red = black, black^red = red
  EXPECT_EQ(dst.Row(0), "#R");
  BitBlt(dst.dc(), 0, 0, 2, 1, nullptr, 0, 0, DSTINVERT);
  EXPECT_EQ(dst.At(0, 0), kWhite);
  EXPECT_EQ(dst.At(1, 0), RGB(0, 255, 255));
  BitBlt(dst.dc(), 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS);
  BitBlt(dst.dc(), 1, 0, 1, 1, nullptr, 0, 0, WHITENESS);
  EXPECT_EQ(dst.Row(0), "#.");
  Selected blue(dst.dc(), CreateSolidBrush(kBlue));
  BitBlt(dst.dc(), 0, 0, 2, 1, nullptr, 0, 0, PATCOPY);
  EXPECT_EQ(dst.Row(0), "BB");
  PatBlt(dst.dc(), 2, 0, -1, 1, WHITENESS);  // negative width runs left
  EXPECT_EQ(dst.Row(0), "B.");
  // A generic operation: SRCAND of white-and-black over blue.
  BitBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, SRCAND);
  EXPECT_EQ(dst.Row(0), "##");
}

TEST(GdiBlit, BitBltWithinOneBitmapScrollsWithoutSmearing) {
  Canvas c(1, 6);
  for (int y = 0; y < 6; ++y) SetPixel(c.dc(), 0, y, y % 2 ? kRed : kBlue);
  // Two clip bands make the copy happen in two pieces.
  HRGN a = CreateRectRgn(0, 0, 1, 3), b = CreateRectRgn(0, 3, 1, 6);
  CombineRgn(a, a, b, RGN_OR);
  SelectClipRgn(c.dc(), a);
  BitBlt(c.dc(), 0, 2, 1, 4, c.dc(), 0, 0, SRCCOPY);  // down by two
  EXPECT_EQ(c.Picture(), Pic({"B", "R", "B", "R", "B", "R"}));
  BitBlt(c.dc(), 0, 0, 1, 5, c.dc(), 0, 1, SRCCOPY);  // up by one
  EXPECT_EQ(c.Picture(), Pic({"R", "B", "R", "B", "R", "R"}));
  DeleteObject(a);
  DeleteObject(b);
}

TEST(GdiBlit, StretchBltScalesUpByRepeatingAndDownByAveraging) {
  Canvas src(2, 2);
  SetPixel(src.dc(), 0, 0, kRed);
  SetPixel(src.dc(), 1, 0, kBlue);
  SetPixel(src.dc(), 0, 1, kBlack);
  Canvas dst(4, 4);
  EXPECT_TRUE(StretchBlt(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(dst.Picture(), Pic({"RRBB", "RRBB", "##..", "##.."}));
  // Mirrored by a negative width.
  StretchBlt(dst.dc(), 3, 0, -4, 2, src.dc(), 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(dst.Row(0), "BBRR");
  // Halving averages each 2x2 block (smooth thumbnails)...
  Canvas big(4, 2, kBlack);
  SetPixel(big.dc(), 0, 0, kWhite);
  SetPixel(big.dc(), 1, 1, kWhite);
  Canvas half(2, 1);
  StretchBlt(half.dc(), 0, 0, 2, 1, big.dc(), 0, 0, 4, 2, SRCCOPY);
  EXPECT_EQ(half.At(0, 0), RGB(128, 128, 128));
  EXPECT_EQ(half.At(1, 0), kBlack);
  // ...unless dropped pixels are asked for.
  SetStretchBltMode(half.dc(), COLORONCOLOR);
  StretchBlt(half.dc(), 0, 0, 2, 1, big.dc(), 0, 0, 4, 2, SRCCOPY);
  EXPECT_TRUE(half.At(0, 0) == kWhite || half.At(0, 0) == kBlack);
}

TEST(GdiBlit, TransparentImageSkipsExactlyTheKeyColour) {
  // The key, one step off the key (drawn), red, the key.
  const COLORREF key = RGB(255, 0, 255), src4[4] = {key, RGB(254, 0, 255), kRed, key};
  Canvas src(4, 1), dst(4, 1, kGreen);
  for (int x = 0; x < 4; ++x) SetPixel(src.dc(), x, 0, src4[x]);
  ASSERT_TRUE(TransparentImage(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, 4, 1, key));
  const COLORREF want[4] = {kGreen, RGB(254, 0, 255), kRed, kGreen};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.At(x, 0), want[x]) << x;
  // The source may also be a bitmap handle, and the copy may be scaled.
  Canvas wide(8, 2, kGreen);
  ASSERT_TRUE(TransparentImage(wide.dc(), 0, 0, 8, 2, src.bitmap(), 0, 0, 4, 1, key));
  EXPECT_EQ(wide.Row(1), "GG??RRGG");
  EXPECT_FALSE(TransparentImage(wide.dc(), 0, 0, 8, 2, nullptr, 0, 0, 4, 1, 0));
}

TEST(GdiBlit, AlphaBlendUsesPremultipliedPerPixelAlpha) {
  void* bits = nullptr;
  HBITMAP dib = MakeDib(3, -1, 32, &bits);
  auto* px = static_cast<std::uint32_t*>(bits);
  px[0] = 0xFFFF0000u;  // opaque red
  px[1] = 0x80800000u;  // half-transparent red, premultiplied
  px[2] = 0x00000000u;  // transparent
  HDC src = CreateCompatibleDC(nullptr);
  SelectObject(src, dib);
  Canvas dst(3, 1, kBlue);
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 3, 1, src, 0, 0, 3, 1, bf));
  EXPECT_EQ(dst.At(0, 0), kRed);
  EXPECT_EQ(dst.At(1, 0), RGB(128, 0, 127));
  EXPECT_EQ(dst.At(2, 0), kBlue);
  // A constant alpha of about a half over an opaque source.
  Canvas d2(1, 1, kBlack);
  BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  AlphaBlend(d2.dc(), 0, 0, 1, 1, src, 0, 0, 1, 1, half);
  EXPECT_EQ(d2.At(0, 0), RGB(128, 0, 0));
  BLENDFUNCTION bad{1, 0, 255, 0};
  EXPECT_FALSE(AlphaBlend(d2.dc(), 0, 0, 1, 1, src, 0, 0, 1, 1, bad));
  DeleteDC(src);
  DeleteObject(dib);
}
