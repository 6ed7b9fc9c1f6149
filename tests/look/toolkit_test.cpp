// The drawing primitives at S = 1 and S = 2, probed pixel by pixel.
#include <gtest/gtest.h>

#include "look/toolkit.h"
#include "look_canvas.h"
#include "platform/win32/rect.h"

namespace {

using looktest::Box;
using looktest::LookCanvas;

class ToolkitAtScale : public ::testing::TestWithParam<int> {
 protected:
  int S() const { return GetParam(); }
  std::string Name(const std::string& what) const { return what + "_S" + std::to_string(S()); }
};

TEST_P(ToolkitAtScale, FontsFollowTheScale) {
  LookCanvas c(S(), 10, 10);
  const std::pair<HFONT, int> fonts[] = {{c.appearance->TitleFont, 20},
                                         {c.appearance->LargeTitleFont, 22},
                                         {c.appearance->SubtitleFont, 14},
                                         {c.appearance->SmallFont, 12}};
  for (auto [font, height] : fonts) {
    SelectObject(c.dc, font);
    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(c.dc, &tm));
    EXPECT_EQ(tm.tmHeight, height * S());
  }
  LOGFONTW lf;
  ASSERT_TRUE(GetObjectW(c.appearance->TitleFont, sizeof lf, &lf));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(std::u16string(lf.lfFaceName), u"Arial");
  EXPECT_EQ(c.appearance->GridCellHeight, 85 * S());
}

TEST_P(ToolkitAtScale, TheShadowLies2SRightAndBelowTheTextInsideTheRectangle) {
  LookCanvas c(S(), 140 * S(), 40 * S());
  SelectObject(c.dc, c.appearance->TitleFont);
  SetTextColor(c.dc, looktest::kText);
  const RECT r{10 * S(), 5 * S(), 130 * S(), 35 * S()};
  const int h = DrawTextWithShadow(*c.appearance, c.dc, u"HIH", r, DT_NOPREFIX);
  c.Shot(Name("shadow_left"));
  EXPECT_EQ(h, 20 * S() + 2 * S());
  Box text = c.Find(looktest::kText), shadow = c.Find(looktest::kBackground);
  ASSERT_FALSE(text.Empty());
  ASSERT_FALSE(shadow.Empty());
  EXPECT_EQ(shadow.right, text.right + 2 * S());
  EXPECT_EQ(shadow.bottom, text.bottom + 2 * S());
  EXPECT_GE(text.left, r.left);
  EXPECT_EQ(GetTextColor(c.dc), looktest::kText) << "the previous text colour is restored";
  EXPECT_EQ(GetBkMode(c.dc), TRANSPARENT);

  // Right-aligned text moves left so that its shadow stays inside.
  c.Clear(looktest::kCanvas);
  DrawTextWithShadow(*c.appearance, c.dc, u"HIH", r, DT_RIGHT | DT_NOPREFIX);
  c.Shot(Name("shadow_right"));
  text = c.Find(looktest::kText), shadow = c.Find(looktest::kBackground);
  const Box ink = c.Ink();
  EXPECT_EQ(shadow.right, text.right + 2 * S()) << "the shadow is still right of the text";
  EXPECT_LT(ink.right, r.right) << "nothing leaves the rectangle on the aligned side";
  EXPECT_GE(ink.right, r.right - 2 * S() - 2) << "the shadow reaches the aligned edge";
  EXPECT_EQ(shadow.bottom, text.bottom + 2 * S()) << "the text moved up by 2·S";
}

TEST_P(ToolkitAtScale, SmallTextIsInsetBySAndRestoresFontAndColour) {
  LookCanvas c(S(), 100 * S(), 20 * S());
  HGDIOBJ font = SelectObject(c.dc, c.appearance->TitleFont);
  SetTextColor(c.dc, RGB(1, 2, 3));
  DrawSmallText(*c.appearance, c.dc, u"Total skins: 2", RECT{0, 0, 100 * S(), 20 * S()}, DT_NOPREFIX);
  c.Shot(Name("small_text"));
  const Box text = c.Find(looktest::kText);
  ASSERT_FALSE(text.Empty());
  EXPECT_GE(text.left, S());
  EXPECT_GE(text.top, S());
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_FONT), c.appearance->TitleFont);
  EXPECT_EQ(GetTextColor(c.dc), RGB(1, 2, 3));
  SelectObject(c.dc, font);
}

TEST_P(ToolkitAtScale, TheGridCaptionSitsCentredInItsBandAndWrapsThere) {
  const RECT cell{0, 0, 80 * S(), 85 * S()};
  LookCanvas c(S(), cell.right + 4 * S(), cell.bottom + 4 * S());
  DrawGridCellImage(*c.appearance, c.dc, nullptr, u"Contacts", cell, kSkinDrawOverColor5);
  c.Shot(Name("grid_cell"));
  Box text = c.Find(looktest::kText);
  const Box ink = c.Ink();
  ASSERT_FALSE(text.Empty());
  EXPECT_GE(text.top, cell.bottom - 31 * S());
  EXPECT_LT(text.bottom, cell.bottom - S());
  EXPECT_GE(text.left, S());
  EXPECT_LE(ink.bottom, cell.bottom - S() + 2 * S()) << "the shadow reaches 2·S below the band at most";
  const int middle = (text.left + text.right) / 2;
  EXPECT_NEAR(middle, cell.right / 2, 2 * S()) << "the caption is centred";

  // A long caption wraps inside its band.
  c.Clear(looktest::kCanvas);
  DrawGridCellImage(*c.appearance, c.dc, nullptr, u"Most used applications and settings of the week", cell, 0);
  c.Shot(Name("grid_cell_long"));
  text = c.Find(looktest::kText);
  EXPECT_GE(text.top, cell.bottom - 31 * S());
  EXPECT_LT(text.bottom, cell.bottom - S());
  EXPECT_LT(text.right, cell.right - S());
}

TEST_P(ToolkitAtScale, TitleAndSubtitleRowsPlaceBothLinesOrCentreALoneTitle) {
  const RECT row{0, 0, 200 * S(), 55 * S()};
  LookCanvas c(S(), row.right, row.bottom + 4 * S());
  DrawRowTitleSubtitle(*c.appearance, c.dc, u"John Smith", u"Mobile 555 0101", row);
  c.Shot(Name("row_title_subtitle"));
  Box title = c.Find(looktest::kText);
  const Box sub = c.Find(looktest::kSubText);
  ASSERT_FALSE(title.Empty());
  ASSERT_FALSE(sub.Empty());
  EXPECT_GE(title.left, 7 * S());
  EXPECT_LT(title.left, 7 * S() + 4 * S());
  const int titleMiddle = (title.top + title.bottom) / 2;
  EXPECT_NEAR(titleMiddle, (row.top + row.bottom - 10 * S()) / 2, 3 * S()) << "centred above the subtitle";
  EXPECT_LT(sub.bottom, row.bottom - 2 * S()) << "the subtitle's bottom sits 2·S above the row's bottom";
  EXPECT_GE(sub.bottom, row.bottom - 2 * S() - 5 * S());
  EXPECT_GT(sub.top, title.bottom) << "the subtitle is below the title";
  EXPECT_EQ(c.Find(looktest::kBackground).Empty(), false) << "the title has its shadow";

  c.Clear(looktest::kCanvas);
  DrawRowTitleSubtitle(*c.appearance, c.dc, u"John Smith", u"", row);
  c.Shot(Name("row_title_only"));
  EXPECT_TRUE(c.Find(looktest::kSubText).Empty());
  title = c.Find(looktest::kText);
  EXPECT_NEAR((title.top + title.bottom) / 2, (row.top + row.bottom) / 2, 3 * S()) << "centred in the full height";
}

TEST_P(ToolkitAtScale, CentredTitleRowsCentreTheWrappedTitle) {
  const RECT row{0, 0, 120 * S(), 80 * S()};
  LookCanvas c(S(), row.right, row.bottom);
  const int measured = DrawRowTitle(*c.appearance, c.dc, u"Ask before make a call: on", row, true);
  EXPECT_EQ(c.Ink().Empty(), true) << "measuring draws nothing";
  SelectObject(c.dc, c.appearance->TitleFont);
  TEXTMETRICW tm;
  GetTextMetricsW(c.dc, &tm);
  EXPECT_EQ(measured % tm.tmHeight, 0);
  EXPECT_GE(measured, 2 * tm.tmHeight) << "the title wraps";
  const int h = DrawRowTitle(*c.appearance, c.dc, u"Ask before make a call: on", row, false);
  c.Shot(Name("row_title_centred"));
  EXPECT_EQ(h, measured + 2 * S());
  const Box text = c.Find(looktest::kText);
  const int top = (row.bottom - measured) / 2;
  EXPECT_GE(text.top, top);
  EXPECT_LE(text.bottom, top + measured);
  EXPECT_GE(text.left, 10 * S());
}

TEST_P(ToolkitAtScale, IconRowsPutTheTextRightOfTheIcon) {
  const RECT row{0, 0, 160 * S(), 40 * S()};
  LookCanvas c(S(), row.right, row.bottom);
  std::vector<std::uint32_t> pixels(16 * 16, 0xFFFF0000u);
  HICON icon = gdi::CreateIconFromPixels(16, 16, pixels.data(), 16, false);
  DrawRowIconTitle(*c.appearance, c.dc, icon, u"Phone", row, true);
  c.Shot(Name("row_icon_title"));
  const Box red = c.Find(RGB(255, 0, 0)), text = c.Find(looktest::kText);
  EXPECT_EQ(red.left, 5 * S());
  EXPECT_EQ(red.top, (row.bottom - 16) / 2);
  EXPECT_GE(text.left, 5 * S() + 16 + 7 * S());
  EXPECT_LT(text.left, 5 * S() + 16 + 7 * S() + 3 * S());
}

INSTANTIATE_TEST_SUITE_P(Scales, ToolkitAtScale, ::testing::Values(1, 2),
                         [](const auto& info) { return "S" + std::to_string(info.param); });

TEST(PicturePrimitives, BitmapsAreAlignedByTheSharedFlags) {
  LookCanvas c(1, 10, 10);
  HBITMAP bmp = looktest::SolidBitmap(4, 3, RGB(0, 255, 0));
  mivoAppearance& a = *c.appearance;
  EXPECT_EQ(DrawBitmapAligned(a, c.dc, bmp, 0, 0, 10, 10, 0, false, 0), MakeRect(0, 0, 4, 3));
  EXPECT_EQ(DrawBitmapAligned(a, c.dc, bmp, 0, 0, 10, 10, 1 | 4, false, 0), MakeRect(3, 3, 7, 6));
  EXPECT_EQ(DrawBitmapAligned(a, c.dc, bmp, 0, 0, 10, 10, 2 | 8, false, 0), MakeRect(6, 7, 10, 10));
  EXPECT_EQ(DrawBitmapAligned(a, c.dc, bmp, 0, 0, 10, 10, 1 | 2 | 4 | 8, false, 0), MakeRect(6, 7, 10, 10))
      << "right and bottom win over centring";
  EXPECT_EQ(DrawBitmapAligned(a, c.dc, bmp, 0, 0, 9, 9, 1, false, 0).left, 2) << "centring truncates";
  EXPECT_EQ(c.At(9, 9), RGB(0, 255, 0));
  c.Clear(looktest::kCanvas);
  DrawBitmapAligned(a, c.dc, bmp, 0, 0, 10, 10, 0, true, RGB(0, 255, 0));
  EXPECT_EQ(c.At(0, 0), looktest::kCanvas) << "the key colour is left out";
  EXPECT_EQ(DrawBitmapAligned(a, c.dc, nullptr, 0, 0, 10, 10, 0, false, 0), RECT{});
  DeleteObject(bmp);
}

TEST(PicturePrimitives, AMonochromeIconIsPlacedAndReportedAtHalfItsMaskHeight) {
  LookCanvas c(1, 100, 100);
  HBITMAP mask = CreateBitmap(32, 64, 1, 1, nullptr);
  ICONINFO ii;
  ii.hbmMask = mask;
  HICON icon = CreateIconIndirect(&ii);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(DrawIconAligned(*c.appearance, c.dc, icon, 0, 0, 100, 100, 1 | 4, false), MakeRect(34, 34, 66, 66));
  EXPECT_EQ(DrawIconAligned(*c.appearance, c.dc, icon, 0, 0, 100, 100, 2 | 8, false), MakeRect(0, 0, 32, 32))
      << "only centring applies to icons";
  DestroyIcon(icon);
  DeleteObject(mask);
}

TEST(PicturePrimitives, FitSizeInBoxKeepsTheAspect) {
  struct Case { int boxW, boxH, w, h, fitW, fitH; };
  // 3000000 x 2000000 needs 64 bits for w·H; an empty size has nothing to fit.
  for (const Case k : {Case{40, 40, 100, 50, 40, 20}, Case{40, 40, 50, 100, 20, 40},
                       Case{3000, 2000, 3000000, 2000000, 3000, 2000}, Case{40, 40, 0, 0, 0, 0}}) {
    int w = k.w, h = k.h;
    FitSizeInBox(k.boxW, k.boxH, &w, &h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(k.fitW, k.fitH)) << k.w << "x" << k.h;
  }
  int w = 10;
  FitSizeInBox(40, 40, &w, nullptr);
  EXPECT_EQ(w, 10);
}

TEST(PicturePrimitives, StretchBitmapToBoxFillsAnEmptyHolderOnce) {
  LookCanvas c(1, 10, 10);
  HBITMAP source = CreateCompatibleBitmap(c.dc, 100, 50);
  HBITMAP holder = nullptr;
  StretchBitmapToBox(*c.appearance, source, &holder, c.dc, SIZE{40, 40});
  ASSERT_NE(holder, nullptr);
  BITMAP bm;
  GetObjectW(holder, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 40);
  EXPECT_EQ(bm.bmHeight, 20);
  HBITMAP kept = holder;
  StretchBitmapToBox(*c.appearance, source, &holder, c.dc, SIZE{10, 10});
  EXPECT_EQ(holder, kept);
  DeleteObject(holder);
  DeleteObject(source);
}

TEST(PicturePrimitives, TheVerticalGradientBlendsRowByRow) {
  LookCanvas c(1, 4, 12);
  DrawVerticalGradient(c.dc, RGB(0, 0, 0), RGB(255, 100, 10), 0, 0, 4, 10, 0, 10);
  c.Shot("gradient");
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.At(3, 5), RGB(127, 50, 5));
  EXPECT_EQ(c.At(2, 9), RGB(229, 90, 9));
  EXPECT_EQ(c.At(0, 10), looktest::kCanvas);
  DrawVerticalGradient(c.dc, RGB(1, 1, 1), RGB(2, 2, 2), 0, 11, 4, 11, 11, 12);
  EXPECT_EQ(c.At(0, 11), RGB(1, 1, 1)) << "a zero-height band is the start colour";
  const int before = gdi::LiveObjectCount();
  DrawVerticalGradient(c.dc, 0, 0, 0, 0, 4, 10, 5, 5);
  EXPECT_EQ(gdi::LiveObjectCount(), before);
}

}  // namespace
