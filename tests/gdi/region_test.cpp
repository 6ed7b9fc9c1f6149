#include <gtest/gtest.h>

#include "platform/gdi/region.h"

using gdi::Region;

namespace {
long Area(const Region& r) {
  long a = 0;
  for (const RECT& q : r.Rects()) a += long(RectWidth(q)) * RectHeight(q);
  return a;
}
}  // namespace

TEST(Region, UnionOfOverlappingRectanglesCountsEachPixelOnce) {
  Region r(MakeRect(0, 0, 10, 10));
  r.Union(MakeRect(5, 5, 15, 15));
  EXPECT_EQ(Area(r), 100 + 100 - 25);
  EXPECT_EQ(r.Bounds(), MakeRect(0, 0, 15, 15));
  EXPECT_TRUE(r.Contains(12, 12));
  EXPECT_FALSE(r.Contains(12, 2));
}

TEST(Region, SubtractLeavesAFrameAroundAHole) {
  Region r(MakeRect(0, 0, 10, 10));
  r.Subtract(MakeRect(3, 3, 7, 7));
  EXPECT_EQ(Area(r), 100 - 16);
  EXPECT_FALSE(r.Contains(5, 5));
  EXPECT_TRUE(r.Contains(0, 5));
  r.Union(MakeRect(3, 3, 7, 7));
  EXPECT_EQ(r, Region(MakeRect(0, 0, 10, 10)));
}

TEST(Region, IntersectAndOffset) {
  Region r(MakeRect(0, 0, 10, 10));
  r.Union(MakeRect(20, 0, 30, 10));
  r.Intersect(MakeRect(5, 0, 25, 5));
  EXPECT_EQ(Area(r), 25 + 25);
  r.Offset(100, 100);
  EXPECT_EQ(r.Bounds(), MakeRect(105, 100, 125, 105));
  EXPECT_TRUE(r.Intersects(MakeRect(120, 100, 121, 101)));
  EXPECT_FALSE(r.Intersects(MakeRect(111, 100, 119, 105)));
}

TEST(Region, EmptyRectanglesChangeNothing) {
  Region r;
  r.Union(MakeRect(5, 5, 5, 10));
  EXPECT_TRUE(r.IsEmpty());
  r.Set(MakeRect(0, 0, 4, 4));
  r.Subtract(MakeRect(10, 10, 0, 0));
  EXPECT_EQ(Area(r), 16);
}
