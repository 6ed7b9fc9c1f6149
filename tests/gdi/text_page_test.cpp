// A screenshot of the four text sizes of the look (20, 22, 14 and 12 pixel
// Arial at scale 1, doubled at scale 2), written as PNG and probed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/imaging/png_writer.h"
#include "platform/win32/rect.h"
#include "tests/gdi/canvas.h"

namespace {

struct Size {
  const char16_t* label;
  int height;
  int weight;
};
constexpr Size kSizes[] = {{u"Title font 20", 20, FW_BOLD},
                           {u"Large title 22", 22, FW_BOLD},
                           {u"Subtitle font 14", 14, FW_BOLD},
                           {u"Small font 12 (normal)", 12, FW_NORMAL}};

struct Band {
  RECT ink{};  // around the lit pixels of the line
  int full = 0;  // pixels near full text colour
};

// Draws the page and returns the ink of each line.
std::vector<Band> DrawPage(int w, int h, int scale, const std::string& png) {
  gdi_test::Canvas page(w, h, gdi_test::kBlack);
  HDC dc = page.dc();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  std::vector<RECT> rows;
  int y = 10 * scale;
  for (const Size& s : kSizes) {
    gdi_test::Selected f(
        dc, CreateFontW(s.height * scale, 0, 0, 0, s.weight, 0, 0, 0, 0, 0, 0, CLEARTYPE_QUALITY, FF_SWISS, u"Arial"));
    RECT r = MakeRect(8 * scale, y, w - 8 * scale, y + 40 * scale);
    const int used = DrawTextW(dc, s.label, -1, &r, DT_LEFT | DT_NOPREFIX);
    rows.push_back(MakeRect(0, y, w, y + used));
    y += used + 12 * scale;
  }
  {
    // Under the sizes, a wrapped paragraph in the small font, centred.
    gdi_test::Selected small(dc, CreateFontW(12 * scale, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 5, FF_SWISS, u"Arial"));
    RECT para = MakeRect(8 * scale, y, w - 8 * scale, h);
    DrawTextW(dc, u"Tap and hold a gadget to change it. Éèà ÄÖÜ ß ñ 12:45", -1, &para, DT_CENTER | DT_WORDBREAK);
  }
  EXPECT_TRUE(imaging::SaveBitmapPng(page.bitmap(), png));
  gdi::PixelBuffer pb = gdi::BitmapPixels(page.bitmap());
  std::vector<Band> bands;
  for (const RECT& row : rows) {
    Band b;
    b.ink = MakeRect(w, h, 0, 0);
    for (int yy = row.top; yy < row.bottom; ++yy)
      for (int x = 0; x < w; ++x) {
        const std::uint32_t p = pb.pixels[yy * pb.stride + x] & 0xFFFFFF;
        if (p == 0) continue;
        b.ink.left = std::min<LONG>(b.ink.left, x);
        b.ink.top = std::min<LONG>(b.ink.top, yy - row.top);
        b.ink.right = std::max<LONG>(b.ink.right, x + 1);
        b.ink.bottom = std::max<LONG>(b.ink.bottom, yy - row.top + 1);
        if ((p & 0xFF) >= 200) ++b.full;
        // Grey anti-aliasing: lit pixels are shades of grey, never coloured.
        EXPECT_EQ((p >> 16) & 0xFF, p & 0xFF);
      }
    bands.push_back(b);
  }
  return bands;
}

}  // namespace

TEST(GdiTextPage, TheFourArialSizesDrawAtBothScales) {
  const std::string dir = std::string(MIVO_BINARY_DIR) + "/screenshots";
  std::filesystem::create_directories(dir);
  const auto qvga = DrawPage(240, 320, 1, dir + "/text_page_240x320.png");
  const auto vga = DrawPage(480, 640, 2, dir + "/text_page_480x640.png");
  ASSERT_EQ(qvga.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const int h1 = qvga[i].ink.bottom - qvga[i].ink.top, h2 = vga[i].ink.bottom - vga[i].ink.top;
    // The line's ink sits inside its cell and starts at the left margin.
    EXPECT_GE(qvga[i].ink.left, 8);
    EXPECT_LE(qvga[i].ink.left, 10);
    EXPECT_LE(qvga[i].ink.bottom, kSizes[i].height);
    // Capitals and descenders fill most of the cell.
    EXPECT_GE(h1, kSizes[i].height * 6 / 10) << i;
    // Scale 2 doubles everything, within a pixel or two of rounding.
    EXPECT_NEAR(h2, 2 * h1, 3) << i;
    const int w1 = qvga[i].ink.right - qvga[i].ink.left, w2 = vga[i].ink.right - vga[i].ink.left;
    EXPECT_NEAR(w2, 2 * w1, 2 + w1 / 20) << i;
    EXPECT_GT(qvga[i].full, 20) << i;  // solid strokes, not only grey
  }
  // The large title is larger than the title, which is larger than the subtitle.
  EXPECT_GT(qvga[1].ink.bottom - qvga[1].ink.top, qvga[2].ink.bottom - qvga[2].ink.top);
  EXPECT_GT(qvga[0].ink.bottom - qvga[0].ink.top, qvga[3].ink.bottom - qvga[3].ink.top);
}
