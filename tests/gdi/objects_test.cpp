// Handles, objects, DCs and their state.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "tests/gdi/canvas.h"

using namespace gdi_test;

TEST(GdiObjects, StaleAndWrongHandlesFailInsteadOfCrashing) {
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  ASSERT_TRUE(pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen));  // already gone
  Canvas c(4, 4);
  EXPECT_EQ(SelectObject(c.dc(), pen), nullptr);
  // A made-up value and a handle of another kind in the wrong place.
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(0x12345670)));
  HBRUSH brush = CreateSolidBrush(kRed);
  EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(brush), kRed), CLR_INVALID);
  RECT r = MakeRect(0, 0, 2, 2);
  EXPECT_EQ(FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(pen)), 0);
  EXPECT_EQ(FillRect(c.dc(), nullptr, brush), 0);
  EXPECT_FALSE(BitBlt(c.dc(), 0, 0, 2, 2, reinterpret_cast<HDC>(brush), 0, 0, SRCCOPY));
  DeleteObject(brush);
  // A slot reused by a new object does not revive the old handle.
  HBRUSH again = CreateSolidBrush(kBlue);
  EXPECT_EQ(GetObjectType(pen), 0u);
  EXPECT_EQ(GetObjectType(again), OBJ_BRUSH);
  DeleteObject(again);
}

TEST(GdiObjects, SelectedObjectsAreNotDeletedAndBitmapsBelongToOneDc) {
  const int before = gdi::LiveObjectCount();
  {
    Canvas c(4, 4);
    HBRUSH brush = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc(), brush);
    EXPECT_EQ(old, GetStockObject(WHITE_BRUSH));
    EXPECT_FALSE(DeleteObject(brush));
    RECT r = MakeRect(0, 0, 4, 4);
    EXPECT_EQ(FillRect(c.dc(), &r, brush), 1);  // still usable
    EXPECT_EQ(SelectObject(c.dc(), old), brush);
    EXPECT_TRUE(DeleteObject(brush));

    // The canvas's bitmap cannot go into a second DC, nor be deleted.
    HDC other = CreateCompatibleDC(c.dc());
    EXPECT_EQ(SelectObject(other, c.bitmap()), nullptr);
    EXPECT_FALSE(DeleteObject(c.bitmap()));
    DeleteDC(other);
    // Stock objects survive DeleteObject.
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN);
  }
  EXPECT_EQ(gdi::LiveObjectCount(), before);
}

TEST(GdiObjects, GetObjectDescribesBitmapsPensBrushesAndFonts) {
  HBITMAP b = CreateCompatibleBitmap(nullptr, 7, 5);
  BITMAP bm;
  ASSERT_EQ(GetObjectW(b, sizeof(bm), &bm), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(bm.bmWidth, 7);
  EXPECT_EQ(bm.bmHeight, 5);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(GetObjectW(b, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(GetObjectW(b, 3, &bm), 0);  // too small a buffer
  DeleteObject(b);

  HPEN p = CreatePen(PS_DOT, 3, kRed);
  LOGPEN lp;
  ASSERT_GT(GetObjectW(p, sizeof(lp), &lp), 0);
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DOT));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnColor, kRed);
  DeleteObject(p);

  // Zero-sized or absurd bitmaps are refused.
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 0, 5), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 100000, 100000), nullptr);
  EXPECT_EQ(CreateBitmap(4, 4, 1, 7, nullptr), nullptr);
}

TEST(GdiObjects, DibSectionBitsAreThirtyTwoBitPixelsTopDownForEveryDepth) {
  for (WORD bpp : {16, 24, 32}) {
    for (LONG height : {3, -3}) {
      void* bits = nullptr;
      HBITMAP b = MakeDib(4, height, bpp, &bits);
      ASSERT_TRUE(b) << bpp;
      ASSERT_TRUE(bits);
      auto* px = static_cast<std::uint32_t*>(bits);
      EXPECT_EQ(px[0], 0u);  // cleared
      px[1 * 4 + 2] = 0xFF00FF00u;  // row 1, column 2: green
      HDC dc = CreateCompatibleDC(nullptr);
      SelectObject(dc, b);
      EXPECT_EQ(GetPixel(dc, 2, 1), kGreen) << bpp << " " << height;
      DIBSECTION ds;
      ASSERT_EQ(GetObjectW(b, sizeof(ds), &ds), static_cast<int>(sizeof(DIBSECTION)));
      EXPECT_EQ(ds.dsBm.bmBits, bits);
      EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
      DeleteDC(dc);
      DeleteObject(b);
    }
  }
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(MakeDib(4, 4, 13, &bits), nullptr);
  EXPECT_EQ(bits, nullptr);
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(GdiObjects, MonochromeBitmapsTurnSetBitsWhite) {
  const unsigned char rows[] = {0xA0, 0x00, 0x50, 0x00};  // 4x2, rows padded to 16 bits
  HBITMAP b = CreateBitmap(4, 2, 1, 1, rows);
  BITMAP bm;
  GetObjectW(b, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, b);
  EXPECT_EQ(GetPixel(dc, 0, 0), kWhite);
  EXPECT_EQ(GetPixel(dc, 1, 0), kBlack);
  EXPECT_EQ(GetPixel(dc, 1, 1), kWhite);
  DeleteDC(dc);
  DeleteObject(b);
}

TEST(GdiDc, SaveAndRestoreBringBackObjectsColoursAndClip) {
  Canvas c(6, 6);
  HBRUSH red = CreateSolidBrush(kRed);
  SetTextColor(c.dc(), kBlue);
  const int level = SaveDC(c.dc());
  EXPECT_EQ(level, 1);
  SelectObject(c.dc(), red);
  SetTextColor(c.dc(), kGreen);
  SetBkMode(c.dc(), TRANSPARENT);
  SetROP2(c.dc(), R2_NOT);
  IntersectClipRect(c.dc(), 0, 0, 2, 2);
  EXPECT_EQ(SaveDC(c.dc()), 2);
  EXPECT_TRUE(RestoreDC(c.dc(), -1));
  EXPECT_EQ(GetTextColor(c.dc()), kGreen);
  EXPECT_TRUE(RestoreDC(c.dc(), level));
  EXPECT_EQ(GetTextColor(c.dc()), kBlue);
  EXPECT_EQ(GetBkMode(c.dc()), OPAQUE);
  EXPECT_EQ(GetROP2(c.dc()), R2_COPYPEN);
  EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  RECT box;
  EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box, MakeRect(0, 0, 6, 6));
  EXPECT_FALSE(RestoreDC(c.dc(), 1));  // nothing saved any more
  EXPECT_TRUE(DeleteObject(red));      // deselected by the restore
}

TEST(GdiDc, DeviceCapsAnswerThirtyTwoBitsAndTheLogicalResolution) {
  Canvas c(5, 3);
  EXPECT_EQ(GetDeviceCaps(c.dc(), BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(c.dc(), HORZRES), 5);
  EXPECT_EQ(GetDeviceCaps(c.dc(), VERTRES), 3);
  EXPECT_EQ(GetDeviceCaps(c.dc(), LOGPIXELSY), gdi::LogPixels());
  gdi::SetLogPixels(192);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 192);
  gdi::SetLogPixels(96);
  EXPECT_EQ(MulDiv(9, 96, 72), 12);
  EXPECT_EQ(MulDiv(-5, 3, 2), -8);  // -7.5 rounds away from zero
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(GdiDc, ClipCallsNarrowAndReportTheClip) {
  Canvas c(10, 10);
  HBRUSH black = Stock(BLACK_BRUSH);
  EXPECT_EQ(IntersectClipRect(c.dc(), 2, 2, 8, 8), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(c.dc(), 4, 4, 6, 6), COMPLEXREGION);
  RECT all = MakeRect(0, 0, 10, 10);
  FillRect(c.dc(), &all, black);
  EXPECT_EQ(c.Count(kBlack), 36 - 4);
  EXPECT_EQ(c.At(1, 1), kWhite);
  EXPECT_EQ(c.At(5, 5), kWhite);
  RECT box;
  GetClipBox(c.dc(), &box);
  EXPECT_EQ(box, MakeRect(2, 2, 8, 8));
  RECT inHole = MakeRect(4, 4, 6, 6), edge = MakeRect(7, 7, 20, 20), outside = MakeRect(8, 0, 10, 10);
  EXPECT_FALSE(RectVisible(c.dc(), &inHole));
  EXPECT_TRUE(RectVisible(c.dc(), &edge));
  EXPECT_FALSE(RectVisible(c.dc(), &outside));

  // A region replaces the clip; a null region removes it.
  HRGN rgn = CreateRectRgn(0, 0, 3, 1);
  HRGN other = CreateRectRgn(0, 9, 10, 10);
  EXPECT_EQ(CombineRgn(rgn, rgn, other, RGN_OR), COMPLEXREGION);
  GetRgnBox(rgn, &box);
  EXPECT_EQ(box, MakeRect(0, 0, 10, 10));
  c.Clear(kWhite);
  EXPECT_EQ(SelectClipRgn(c.dc(), rgn), COMPLEXREGION);
  DeleteObject(rgn);  // the DC keeps its own copy
  FillRect(c.dc(), &all, black);
  EXPECT_EQ(c.Count(kBlack), 3 + 10);
  EXPECT_EQ(SelectClipRgn(c.dc(), nullptr), SIMPLEREGION);
  FillRect(c.dc(), &all, black);
  EXPECT_EQ(c.Count(kBlack), 100);
  EXPECT_EQ(CombineRgn(other, other, nullptr, RGN_AND), ERROR);
  DeleteObject(other);
}

TEST(GdiDc, WindowDcDrawsAtItsOriginInsideItsVisibleArea) {
  HBITMAP screen = CreateCompatibleBitmap(nullptr, 12, 8);
  gdi::Region visible(MakeRect(2, 1, 10, 7));
  visible.Subtract(MakeRect(6, 1, 10, 4));  // another window covers the top right
  HDC dc = gdi::CreateWindowDC(screen, MakePoint(2, 1), visible);
  ASSERT_TRUE(dc);
  EXPECT_FALSE(DeleteObject(screen));  // in use by the window DC
  RECT all = MakeRect(-5, -5, 50, 50);
  FillRect(dc, &all, Stock(WHITE_BRUSH));
  gdi::PixelBuffer pb = gdi::BitmapPixels(screen);
  int white = 0;
  for (int i = 0; i < 12 * 8; ++i) white += pb.pixels[i] == 0xFFFFFFFFu;
  EXPECT_EQ(white, 8 * 6 - 4 * 3);
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box, MakeRect(0, 0, 8, 6));  // client coordinates
  EXPECT_EQ(SetPixel(dc, 0, 0, kRed), kRed);
  EXPECT_EQ(pb.pixels[1 * 12 + 2], 0xFFFF0000u);
  EXPECT_EQ(SetPixel(dc, 5, 0, kRed), CLR_INVALID);  // covered
  EXPECT_EQ(GetPixel(dc, 5, 0), CLR_INVALID);
  // The DC's own clip never widens beyond the visible area.
  HRGN huge = CreateRectRgn(-100, -100, 100, 100);
  SelectClipRgn(dc, huge);
  DeleteObject(huge);
  EXPECT_EQ(SetPixel(dc, 5, 0, kRed), CLR_INVALID);
  // The window moved: the same DC follows.
  gdi::UpdateWindowDC(dc, MakePoint(0, 0), gdi::Region(MakeRect(0, 0, 12, 8)));
  EXPECT_EQ(SetPixel(dc, 11, 7, kBlue), kBlue);
  EXPECT_EQ(pb.pixels[7 * 12 + 11], 0xFF0000FFu);
  EXPECT_EQ(SelectObject(dc, screen), nullptr);  // window DCs take no bitmap
  gdi::ReleaseWindowDC(dc);
  EXPECT_TRUE(DeleteObject(screen));
}
