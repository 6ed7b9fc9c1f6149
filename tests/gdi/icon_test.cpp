// Icons: transparency from alpha or from a mask, monochrome icons, GetIconInfo.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "tests/gdi/canvas.h"

using namespace gdi_test;

TEST(GdiIcons, ColourAndMaskIconDrawsOnlyWhereTheMaskIsBlack) {
  const unsigned char maskBits[] = {0x50, 0x00, 0xA0, 0x00};  // .#.#  #.#. : set = transparent
  HBITMAP mask = CreateBitmap(4, 2, 1, 1, maskBits);
  HICON icon;
  {
    Canvas red(4, 2, kRed);  // its bitmap is gone after this block: the icon keeps its own copy
    ICONINFO ii;
    ii.hbmMask = mask;
    ii.hbmColor = red.bitmap();
    icon = CreateIconIndirect(&ii);
  }
  ASSERT_TRUE(icon);
  DeleteObject(mask);
  Canvas c(4, 2, kGreen);
  EXPECT_TRUE(DrawIconEx(c.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(c.Picture(), Pic({"RGRG", "GRGR"}));
  ICONINFO back;
  ASSERT_TRUE(GetIconInfo(icon, &back));
  BITMAP bm;
  GetObjectW(back.hbmColor, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmHeight, 2);
  DeleteObject(back.hbmColor);
  DeleteObject(back.hbmMask);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_FALSE(DrawIconEx(c.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
}

TEST(GdiIcons, MonochromeIconReportsHalfTheMaskHeight) {
  // 2x2 icon: AND rows then XOR rows.
  const unsigned char bits[] = {0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00};
  HBITMAP mask = CreateBitmap(2, 4, 1, 1, bits);
  ICONINFO ii;
  ii.hbmMask = mask;
  HICON icon = CreateIconIndirect(&ii);
  ASSERT_TRUE(icon);
  DeleteObject(mask);
  ICONINFO back;
  ASSERT_TRUE(GetIconInfo(icon, &back));
  EXPECT_EQ(back.hbmColor, nullptr);
  BITMAP bm;
  GetObjectW(back.hbmMask, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 2);
  EXPECT_EQ(bm.bmHeight, 4);
  DeleteObject(back.hbmMask);
  Canvas c(2, 2, kGreen);
  DrawIconEx(c.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.Picture(), Pic({"#G", ".#"}));
  DestroyIcon(icon);
}

TEST(GdiIcons, IconsFromPixelsBlendTheirAlphaAndScale) {
  const std::uint32_t px[4] = {0xFFFF0000u, 0x80FF0000u, 0x00000000u, 0xFF0000FFu};  // straight alpha
  HICON icon = gdi::CreateIconFromPixels(2, 2, px, 2, false);
  ASSERT_TRUE(icon);
  int w = 0, h = 0;
  EXPECT_TRUE(gdi::GetIconSize(icon, &w, &h));
  EXPECT_EQ(w, 2);
  Canvas c(2, 2, kWhite);
  DrawIconEx(c.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.At(0, 0), kRed);
  EXPECT_EQ(c.At(1, 0), RGB(255, 127, 127));
  EXPECT_EQ(c.At(0, 1), kWhite);
  EXPECT_EQ(c.At(1, 1), kBlue);
  Canvas big(4, 4, kWhite);
  DrawIconEx(big.dc(), 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(big.At(0, 0), kRed);
  EXPECT_EQ(big.At(3, 3), kBlue);
  HICON copy = CopyIcon(icon);
  DestroyIcon(icon);
  EXPECT_TRUE(gdi::GetIconSize(copy, &w, &h));
  DestroyIcon(copy);
  EXPECT_EQ(gdi::CreateIconFromPixels(0, 2, px, 2, false), nullptr);
}
