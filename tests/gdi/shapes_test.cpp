// Exact pixels of lines and shapes on tiny bitmaps.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "tests/gdi/canvas.h"

using namespace gdi_test;

namespace {

// Draws with a pen and a brush selected, which are deleted afterwards.
template <class F>
void Draw(HDC dc, HGDIOBJ pen, HGDIOBJ brush, F draw) {
  Selected p(dc, pen), b(dc, brush);
  draw();
}

}  // namespace

TEST(GdiShapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  Canvas c(6, 5);
  Draw(c.dc(), CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed), [&] { Rectangle(c.dc(), 0, 0, 5, 4); });
  EXPECT_EQ(c.Picture(), Pic({"#####.", "#RRR#.", "#RRR#.", "#####.", "......"}));
  c.Clear(kWhite);
  Draw(c.dc(), CreatePen(PS_SOLID, 1, kBlue), Stock(NULL_BRUSH), [&] { Rectangle(c.dc(), 1, 1, 5, 5); });
  EXPECT_EQ(c.Picture(), Pic({"......", ".BBBB.", ".B..B.", ".B..B.", ".BBBB."}));
  // With the null pen the fill is one pixel smaller on the right and bottom.
  c.Clear(kWhite);
  Draw(c.dc(), Stock(NULL_PEN), CreateSolidBrush(kGreen), [&] { Rectangle(c.dc(), 0, 0, 4, 3); });
  EXPECT_EQ(c.Picture(), Pic({"GGG...", "GGG...", "......", "......", "......"}));
}

TEST(GdiShapes, WidePensGrowOutwardByHalfTheirWidth) {
  Canvas c(9, 9);
  Draw(c.dc(), CreatePen(PS_SOLID, 3, kBlack), Stock(NULL_BRUSH), [&] { Rectangle(c.dc(), 1, 1, 8, 8); });
  EXPECT_EQ(c.Picture(), Pic({"#########", "#########", "#########", "###...###", "###...###", "###...###",
                              "#########", "#########", "#########"}));
  // An inside-frame pen stays inside the box.
  c.Clear(kWhite);
  Draw(c.dc(), CreatePen(PS_INSIDEFRAME, 2, kBlack), CreateSolidBrush(kRed), [&] { Rectangle(c.dc(), 0, 0, 6, 6); });
  EXPECT_EQ(c.Row(0), "######...");
  EXPECT_EQ(c.Row(2), "##RR##...");
  EXPECT_EQ(c.Row(6), ".........");
}

TEST(GdiShapes, RoundRectAndEllipseAreSymmetricAndFilled) {
  Canvas c(7, 7);
  Draw(c.dc(), CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed), [&] { Ellipse(c.dc(), 1, 1, 6, 6); });
  EXPECT_EQ(c.Picture(), Pic({".......", "..###..", ".#RRR#.", ".#RRR#.", ".#RRR#.", "..###..", "......."}));
  c.Clear(kWhite);
  Draw(c.dc(), CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed), [&] { RoundRect(c.dc(), 0, 0, 7, 6, 4, 4); });
  EXPECT_EQ(c.Picture(), Pic({".#####.", "#RRRRR#", "#RRRRR#", "#RRRRR#", "#RRRRR#", ".#####.", "......."}));
  // Every row of a larger circle is symmetric about the centre.
  Canvas big(41, 41);
  Draw(big.dc(), CreatePen(PS_SOLID, 4, kBlack), Stock(NULL_BRUSH), [&] { Ellipse(big.dc(), 5, 5, 36, 36); });
  for (int y = 0; y < 41; ++y) {
    std::string row = big.Row(y);
    EXPECT_EQ(row, std::string(row.rbegin(), row.rend())) << y;
    EXPECT_EQ(row, big.Row(40 - y)) << y;
  }
  EXPECT_EQ(big.At(20, 20), kWhite);  // hollow
  EXPECT_EQ(big.At(20, 5), kBlack);
}

TEST(GdiShapes, LinesLeaveOutTheirLastPixelAndWidePensAreThatWide) {
  Canvas c(10, 9);
  {
    Selected thin(c.dc(), CreatePen(PS_SOLID, 1, kBlack));
    MoveToEx(c.dc(), 1, 0, nullptr);
    LineTo(c.dc(), 5, 0);
    EXPECT_EQ(c.Row(0), ".####.....");
    POINT pos;
    GetCurrentPositionEx(c.dc(), &pos);
    EXPECT_EQ(pos, MakePoint(5, 0));
    LineTo(c.dc(), 5, 3);  // continues down from there
    EXPECT_EQ(c.At(5, 0), kBlack);
    EXPECT_EQ(c.At(5, 2), kBlack);
    EXPECT_EQ(c.At(5, 3), kWhite);
  }
  c.Clear(kWhite);
  Selected wide(c.dc(), CreatePen(PS_SOLID, 3, kBlack));
  MoveToEx(c.dc(), 2, 5, nullptr);
  LineTo(c.dc(), 7, 5);
  for (int y = 0; y < 9; ++y) EXPECT_EQ(c.Row(y).find('#') != std::string::npos, y >= 4 && y <= 6) << c.Picture();
  EXPECT_EQ(c.Row(5), ".########.");  // round caps reach past both ends
}

TEST(GdiShapes, DottedPensAlternateAndFillGapsOnlyWhenOpaque) {
  Canvas c(10, 2);
  {
    Selected dot(c.dc(), CreatePen(PS_DOT, 1, kBlack));
    SetBkMode(c.dc(), TRANSPARENT);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 10, 0);
    EXPECT_EQ(c.Row(0), "#.#.#.#.#.");
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), kRed);
    MoveToEx(c.dc(), 0, 1, nullptr);
    LineTo(c.dc(), 10, 1);
    EXPECT_EQ(c.Row(1), "#R#R#R#R#R");
  }
  // A dotted frame keeps alternating around its corners.
  Canvas f(5, 5);
  SetBkMode(f.dc(), TRANSPARENT);
  Draw(f.dc(), CreatePen(PS_DOT, 1, kBlack), Stock(NULL_BRUSH), [&] { Rectangle(f.dc(), 0, 0, 5, 5); });
  EXPECT_EQ(f.Picture(), Pic({"#.#.#", ".....", "#...#", ".....", "#.#.#"}));
}

TEST(GdiShapes, NotRasterOperationInvertsAndASecondPassRestores) {
  Canvas c(5, 5, kRed);
  SetROP2(c.dc(), R2_NOT);
  Selected wide(c.dc(), CreatePen(PS_SOLID, 2, kBlack));
  auto cross = [&] {
    MoveToEx(c.dc(), 2, 0, nullptr);
    LineTo(c.dc(), 2, 4);
    MoveToEx(c.dc(), 0, 2, nullptr);
    LineTo(c.dc(), 4, 2);
  };
  cross();
  EXPECT_EQ(c.At(2, 1), RGB(0, 255, 255));  // inverted red
  EXPECT_EQ(c.At(0, 0), kRed);
  cross();
  EXPECT_EQ(c.Count(kRed), 25);
}

TEST(GdiShapes, PolygonsFillTheirInsideAndOutlineTheirEdges) {
  Canvas c(6, 6);
  const POINT tri[] = {MakePoint(0, 0), MakePoint(6, 0), MakePoint(0, 6)};
  Draw(c.dc(), Stock(NULL_PEN), CreateSolidBrush(kBlack), [&] { Polygon(c.dc(), tri, 3); });
  EXPECT_EQ(c.Picture(), Pic({"#####.", "####..", "###...", "##....", "#.....", "......"}));
  c.Clear(kWhite);
  const POINT sq[] = {MakePoint(1, 1), MakePoint(4, 1), MakePoint(4, 4), MakePoint(1, 4)};
  Draw(c.dc(), CreatePen(PS_SOLID, 1, kBlue), Stock(NULL_BRUSH), [&] {
    Polygon(c.dc(), sq, 4);
    Polyline(c.dc(), sq, 1);  // too few points
  });
  EXPECT_EQ(c.Picture(), Pic({"......", ".BBBB.", ".B..B.", ".B..B.", ".BBBB.", "......"}));
  EXPECT_FALSE(Polygon(c.dc(), nullptr, 3));
}

TEST(GdiShapes, HugeCoordinatesAreClippedQuickly) {
  Canvas c(8, 8);
  Selected pen(c.dc(), CreatePen(PS_DOT, 2, kBlack));
  MoveToEx(c.dc(), -2000000000, 3, nullptr);
  LineTo(c.dc(), 2000000000, 3);
  EXPECT_GT(c.Count(kBlack), 0);
  SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
  Ellipse(c.dc(), -100000000, -100000000, 100000000, 100000000);
  EXPECT_EQ(c.Count(kBlack), 64);
}
