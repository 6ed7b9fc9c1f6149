// Comparing a screenshot with its reference image: a pixel differs when one
// of its channels is further than the tolerance from the reference's, and
// the images match when no more than a few pixels differ (and their sizes
// are the same). The difference image shows the reference faded, with every
// differing pixel in full magenta.
#pragma once

#include <string>

#include "platform/display/png.h"

namespace reference {

struct Comparison {
  bool sameSize = false;
  int differing = 0;  // pixels beyond the tolerance
  int allowed = 0;    // how many may differ
  bool Matches() const { return sameSize && differing <= allowed; }
};

// Channel differences up to this count as equal.
constexpr int kTolerance = 24;
// Pixels that may differ: one in 4000 (19 at 240x320, 76 at 480x640).
constexpr int kAllowedOneIn = 4000;

Comparison Compare(const display::Image& actual, const display::Image& expected);
// The reference faded to a quarter, differing pixels magenta; where the
// sizes differ, the actual image's own size with all its pixels marked.
display::Image DifferenceImage(const display::Image& actual, const display::Image& expected);

bool WriteImage(const std::string& path, const display::Image& image, std::string* error);

}  // namespace reference
