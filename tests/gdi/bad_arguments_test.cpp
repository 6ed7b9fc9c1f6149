// Every entry point with a null or stale DC, null pointers and bad handles in
// turn: each fails with the platform's failure value and nothing crashes.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "tests/gdi/canvas.h"

using namespace gdi_test;

TEST(GdiArguments, NullAndStaleDcsFailEveryCall) {
  HDC stale = CreateCompatibleDC(nullptr);
  DeleteDC(stale);
  RECT r = MakeRect(0, 0, 4, 4);
  POINT pts[3] = {MakePoint(0, 0), MakePoint(3, 0), MakePoint(0, 3)};
  SIZE sz;
  TEXTMETRICW tm;
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  for (HDC dc : {static_cast<HDC>(nullptr), stale}) {
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(SaveDC(dc), 0);
    EXPECT_FALSE(RestoreDC(dc, -1));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), nullptr);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), 0);
    EXPECT_EQ(SetROP2(dc, R2_NOT), 0);
    EXPECT_EQ(GetTextColor(dc), CLR_INVALID);
    EXPECT_EQ(IntersectClipRect(dc, 0, 0, 1, 1), ERROR);
    EXPECT_EQ(GetClipBox(dc, &r), ERROR);
    EXPECT_FALSE(RectVisible(dc, &r));
    EXPECT_EQ(FillRect(dc, &r, Stock(BLACK_BRUSH)), 0);
    EXPECT_FALSE(Rectangle(dc, 0, 0, 2, 2));
    EXPECT_FALSE(Ellipse(dc, 0, 0, 2, 2));
    EXPECT_FALSE(RoundRect(dc, 0, 0, 2, 2, 1, 1));
    EXPECT_FALSE(Polygon(dc, pts, 3));
    EXPECT_FALSE(LineTo(dc, 1, 1));
    EXPECT_EQ(SetPixel(dc, 0, 0, kRed), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_FALSE(StretchBlt(dc, 0, 0, 2, 2, dc, 0, 0, 1, 1, SRCCOPY));
    EXPECT_FALSE(AlphaBlend(dc, 0, 0, 1, 1, dc, 0, 0, 1, 1, bf));
    EXPECT_FALSE(ExtTextOutW(dc, 0, 0, 0, nullptr, u"a", 1, nullptr));
    EXPECT_EQ(DrawTextW(dc, u"a", 1, &r, 0), 0);
    EXPECT_FALSE(GetTextExtentPoint32W(dc, u"a", 1, &sz));
    EXPECT_FALSE(GetTextMetricsW(dc, &tm));
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), dc ? 0 : 32);  // null: the screen
  }
}

TEST(GdiArguments, NullPointersAndOutOfRangeValuesAreRefused) {
  Canvas c(4, 4);
  EXPECT_EQ(GetClipBox(c.dc(), nullptr), ERROR);
  EXPECT_FALSE(RectVisible(c.dc(), nullptr));
  EXPECT_FALSE(Polyline(c.dc(), nullptr, 2));
  EXPECT_FALSE(GetTextMetricsW(c.dc(), nullptr));
  EXPECT_FALSE(GetTextExtentPoint32W(c.dc(), u"a", 1, nullptr));
  EXPECT_EQ(DrawTextW(c.dc(), nullptr, 3, nullptr, 0), 0);
  RECT r = MakeRect(0, 0, 4, 4);
  EXPECT_EQ(DrawTextW(c.dc(), nullptr, 3, &r, 0), 0);
  EXPECT_EQ(SetBkMode(c.dc(), 7), 0);
  EXPECT_EQ(SetROP2(c.dc(), 0), 0);
  EXPECT_EQ(SetROP2(c.dc(), 17), 0);
  EXPECT_EQ(SetStretchBltMode(c.dc(), 9), 0);
  EXPECT_EQ(CreatePen(PS_INSIDEFRAME + 1, 1, 0), nullptr);
  EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
  EXPECT_EQ(CreatePenIndirect(nullptr), nullptr);
  EXPECT_EQ(CreateRectRgnIndirect(nullptr), nullptr);
  EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
  ICONINFO empty;
  EXPECT_EQ(CreateIconIndirect(&empty), nullptr);
  EXPECT_FALSE(GetIconInfo(nullptr, &empty));
  EXPECT_FALSE(DrawIconEx(c.dc(), 0, 0, nullptr, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(GetObjectW(nullptr, 0, nullptr), 0);
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(99), nullptr);
  // A region handle is not a brush, a brush is not a DC, and so on.
  HRGN rgn = CreateRectRgn(3, 3, 0, 0);  // corners given the wrong way round
  RECT box;
  EXPECT_EQ(GetRgnBox(rgn, &box), SIMPLEREGION);
  EXPECT_EQ(box, MakeRect(0, 0, 3, 3));
  EXPECT_EQ(FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(rgn)), 0);
  EXPECT_FALSE(FillRgn(c.dc(), rgn, reinterpret_cast<HBRUSH>(rgn)));
  EXPECT_EQ(SelectClipRgn(c.dc(), reinterpret_cast<HRGN>(c.bitmap())), ERROR);
  DeleteObject(rgn);
  EXPECT_EQ(GetRgnBox(rgn, &box), ERROR);
  // Negative and huge sizes draw nothing and take no time.
  EXPECT_TRUE(BitBlt(c.dc(), 0, 0, 0, 5, c.dc(), 0, 0, SRCCOPY));
  EXPECT_TRUE(StretchBlt(c.dc(), 0, 0, 2000000000, 2000000000, c.dc(), 0, 0, 1, 1, SRCCOPY));
  EXPECT_TRUE(RoundRect(c.dc(), 0, 0, 4, 4, -50, 1000000));
  EXPECT_EQ(gdi::CreateWindowDC(nullptr, MakePoint(0, 0), gdi::Region()), nullptr);
}
