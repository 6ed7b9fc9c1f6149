#include "tests/reference/image_compare.h"

#include <algorithm>
#include <cstdlib>

namespace reference {

namespace {

bool Differs(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16}) {
    const int ca = static_cast<int>((a >> shift) & 255), cb = static_cast<int>((b >> shift) & 255);
    if (std::abs(ca - cb) > kTolerance) return true;
  }
  return false;
}

}  // namespace

Comparison Compare(const display::Image& actual, const display::Image& expected) {
  Comparison c;
  c.allowed = actual.width * actual.height / kAllowedOneIn;
  c.sameSize = actual.width == expected.width && actual.height == expected.height;
  if (!c.sameSize) {
    c.differing = actual.width * actual.height;
    return c;
  }
  for (std::size_t i = 0; i < actual.pixels.size(); ++i) c.differing += Differs(actual.pixels[i], expected.pixels[i]);
  return c;
}

display::Image DifferenceImage(const display::Image& actual, const display::Image& expected) {
  display::Image diff = actual;
  const bool sameSize = actual.width == expected.width && actual.height == expected.height;
  for (std::size_t i = 0; i < diff.pixels.size(); ++i) {
    if (!sameSize || Differs(actual.pixels[i], expected.pixels[i])) {
      diff.pixels[i] = 0xFFFF00FFu;
      continue;
    }
    // The reference, faded towards white, so the marks stand out.
    const std::uint32_t p = expected.pixels[i];
    auto fade = [&](int shift) {
      const std::uint32_t c = (p >> shift) & 255;
      return (c / 4 + 191) << shift;
    };
    diff.pixels[i] = 0xFF000000u | fade(16) | fade(8) | fade(0);
  }
  return diff;
}

bool WriteImage(const std::string& path, const display::Image& image, std::string* error) {
  window::FrameView view;
  view.pixels = image.pixels.data();
  view.width = image.width;
  view.height = image.height;
  view.stride = image.width;
  return display::WritePng(path, view, error);
}

}  // namespace reference
