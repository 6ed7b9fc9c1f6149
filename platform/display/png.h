// PNG files of the screen: screenshots, frame dumps, and reading them back
// for pixel probes in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/paint.h"

namespace display {

// Writes 32-bit 0xAARRGGBB pixels as an opaque RGB PNG, through a temporary
// file renamed into place. False with a message on failure.
bool WritePng(const std::string& path, const window::FrameView& frame, std::string* error);

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, rows top-down
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
// Reads any PNG into 0xAARRGGBB pixels. False with a message for a missing or bad file.
bool ReadPng(const std::string& path, Image* image, std::string* error);

}  // namespace display
