// A screenshot of the shapes the look draws (list cards, an analog clock,
// design-mode frames, a gradient), at both scales, written as PNG and probed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/gdi/gdi.h"
#include "platform/imaging/png_writer.h"
#include "platform/win32/rect.h"

namespace {

constexpr COLORREF kBg = RGB(0, 0, 0);
constexpr COLORREF kCard = RGB(40, 40, 40);
constexpr COLORREF kOutline = RGB(90, 90, 90);
constexpr COLORREF kText = RGB(255, 255, 255);

void Card(HDC dc, int l, int t, int r, int b, int s) {
  HPEN pen = CreatePen(PS_SOLID, s, kOutline);
  HBRUSH brush = CreateSolidBrush(kCard);
  HGDIOBJ op = SelectObject(dc, pen), ob = SelectObject(dc, brush);
  RoundRect(dc, l + 5 * s, t + 5 * s, r - 6 * s, b - 4 * s, 20 * s, 20 * s);
  SelectObject(dc, op);
  SelectObject(dc, ob);
  DeleteObject(pen);
  DeleteObject(brush);
}

void Clock(HDC dc, int cx, int cy, int R) {
  HPEN thick = CreatePen(PS_SOLID, 4, kText), mid = CreatePen(PS_SOLID, 2, kText);
  HGDIOBJ op = SelectObject(dc, thick), ob = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, cx - R, cy - R, cx + R, cy + R);
  SelectObject(dc, mid);
  const double pi = 3.14159265358979;
  for (int k = 0; k < 12; ++k) {
    const double a = k * pi / 6;
    MoveToEx(dc, cx + static_cast<int>(std::ceil(std::sin(a) * (R - 3))), cy + static_cast<int>(std::ceil(std::cos(a) * (R - 3))), nullptr);
    LineTo(dc, cx + static_cast<int>(std::ceil(std::sin(a) * (R - 3 - R / 7))), cy + static_cast<int>(std::ceil(std::cos(a) * (R - 3 - R / 7))) + 1);
  }
  SelectObject(dc, thick);
  MoveToEx(dc, cx, cy, nullptr);
  LineTo(dc, cx + static_cast<int>(std::ceil(std::sin(2.2) * R * 5 / 9)), cy - static_cast<int>(std::ceil(std::cos(2.2) * R * 5 / 9)));
  SelectObject(dc, mid);
  MoveToEx(dc, cx, cy, nullptr);
  LineTo(dc, cx + static_cast<int>(std::ceil(std::sin(5.3) * R * 2 / 3)), cy - static_cast<int>(std::ceil(std::cos(5.3) * R * 2 / 3)));
  SelectObject(dc, op);
  SelectObject(dc, ob);
  DeleteObject(thick);
  DeleteObject(mid);
}

void DesignFrame(HDC dc, int l, int t, int r, int b, int s) {
  HPEN dot = CreatePen(PS_DOT, s, kText);
  HGDIOBJ op = SelectObject(dc, dot), ob = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  SetBkMode(dc, TRANSPARENT);
  Rectangle(dc, l, t, r, b);
  HBRUSH solid = CreateSolidBrush(kText);
  for (RECT q : {MakeRect(l, t, l + 10 * s, t + 10 * s), MakeRect(r - 10 * s, b - 10 * s, r, b)}) FillRect(dc, &q, solid);
  SelectObject(dc, op);
  SelectObject(dc, ob);
  DeleteObject(dot);
  DeleteObject(solid);
}

HBITMAP DrawPage(int s, const std::string& png) {
  const int w = 240 * s, h = 320 * s;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all = MakeRect(0, 0, w, h);
  HBRUSH bg = CreateSolidBrush(kBg);
  FillRect(dc, &all, bg);
  DeleteObject(bg);
  Card(dc, 0, 0, w, 60 * s, s);
  Card(dc, 0, 60 * s, w, 120 * s, s);
  Clock(dc, 60 * s, 180 * s, 50 * s);
  DesignFrame(dc, 130 * s, 135 * s, 230 * s, 225 * s, s);
  // A vertical gradient drawn one row at a time, as the colour page does.
  for (int y = 240 * s; y < 310 * s; ++y) {
    const int v = (y - 240 * s) * 255 / (70 * s);
    HPEN p = CreatePen(PS_SOLID, 1, RGB(v, 0, 255 - v));
    HGDIOBJ o = SelectObject(dc, p);
    MoveToEx(dc, 10 * s, y, nullptr);
    LineTo(dc, 230 * s, y);
    SelectObject(dc, o);
    DeleteObject(p);
  }
  EXPECT_TRUE(imaging::SaveBitmapPng(bmp, png));
  SelectObject(dc, old);
  DeleteDC(dc);
  return bmp;
}

COLORREF At(HBITMAP b, int x, int y) {
  gdi::PixelBuffer pb = gdi::BitmapPixels(b);
  return gdi::PixelToColor(pb.pixels[y * pb.stride + x]);
}

}  // namespace

TEST(GdiShapesPage, CardsClockAndFramesDrawAtBothScales) {
  const std::string dir = std::string(MIVO_BINARY_DIR) + "/screenshots";
  std::filesystem::create_directories(dir);
  for (int s : {1, 2}) {
    HBITMAP b = DrawPage(s, dir + "/shapes_page_" + std::to_string(240 * s) + "x" + std::to_string(320 * s) + ".png");
    // Card: outline at its left edge, fill inside, rounded corner left dark.
    EXPECT_EQ(At(b, 5 * s, 30 * s), kOutline);
    EXPECT_EQ(At(b, 30 * s, 30 * s), kCard);
    EXPECT_EQ(At(b, 5 * s, 5 * s), kBg);
    EXPECT_EQ(At(b, 234 * s - 1, 30 * s), kOutline);
    // Clock: the ring at the top, bottom, left and right; hollow inside.
    EXPECT_EQ(At(b, 60 * s, 130 * s), kText);
    EXPECT_EQ(At(b, 60 * s, 230 * s - 1), kText);
    EXPECT_EQ(At(b, 10 * s, 180 * s), kText);
    EXPECT_EQ(At(b, 110 * s - 1, 180 * s), kText);
    EXPECT_EQ(At(b, 40 * s, 200 * s), kBg);
    // Design frame: dotted edge alternates (by the pen's width), solid handles.
    EXPECT_NE(At(b, 150 * s, 135 * s), At(b, 150 * s + s, 135 * s));
    EXPECT_EQ(At(b, 131 * s, 136 * s), kText);
    // Gradient: blue at the top, red at the bottom.
    EXPECT_EQ(GetBValue(At(b, 100 * s, 240 * s)), 255);
    EXPECT_GT(GetRValue(At(b, 100 * s, 309 * s)), 240);
    DeleteObject(b);
  }
}
