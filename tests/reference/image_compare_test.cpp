// The comparison of a screenshot with its reference: what counts as a
// difference, how many may differ, and the difference image.
#include <gtest/gtest.h>

#include "tests/reference/image_compare.h"

namespace {

display::Image Plain(int w, int h, std::uint32_t colour) {
  display::Image img;
  img.width = w;
  img.height = h;
  img.pixels.assign(static_cast<std::size_t>(w) * h, colour);
  return img;
}

}  // namespace

TEST(ImageCompare, SmallChannelChangesPassAndAFewDifferingPixelsAreAllowedAtMost) {
  const display::Image reference = Plain(240, 320, 0xFF204060u);
  display::Image actual = reference;
  // Within the tolerance in every channel: equal.
  for (std::size_t i = 0; i < actual.pixels.size(); i += 7) actual.pixels[i] = 0xFF204060u + 0x00181818u;
  EXPECT_TRUE(reference::Compare(actual, reference).Matches());
  EXPECT_EQ(reference::Compare(actual, reference).differing, 0);
  // One channel beyond it: a differing pixel; 19 may differ at 240x320, not 20.
  actual = reference;
  for (int i = 0; i < 19; ++i) actual.pixels[static_cast<std::size_t>(i) * 101] = 0xFF204060u + 0x19u;
  EXPECT_EQ(reference::Compare(actual, reference).allowed, 19);
  EXPECT_TRUE(reference::Compare(actual, reference).Matches());
  actual.pixels[5000] = 0xFF000000u;
  EXPECT_EQ(reference::Compare(actual, reference).differing, 20);
  EXPECT_FALSE(reference::Compare(actual, reference).Matches());
}

TEST(ImageCompare, AnotherSizeNeverMatchesAndTheDifferenceImageMarksWhatDiffers) {
  const display::Image reference = Plain(4, 4, 0xFF000000u);
  EXPECT_FALSE(reference::Compare(Plain(4, 5, 0xFF000000u), reference).Matches());
  display::Image actual = reference;
  actual.pixels[5] = 0xFFFFFFFFu;
  const display::Image diff = reference::DifferenceImage(actual, reference);
  EXPECT_EQ(diff.pixels[5], 0xFFFF00FFu);
  // The rest is the reference faded: black becomes a light grey.
  EXPECT_EQ(diff.pixels[0], 0xFFBFBFBFu);
}
