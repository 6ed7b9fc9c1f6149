// Pictures as the generator handles them: straight-alpha RGBA pixels, read
// from and written to PNG, and written as JPEG. The encoders are fixed in
// every setting that could vary, so the same pixels always give the same
// bytes and the build's packages stay identical from run to run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

// Straight (not premultiplied) alpha, one 0xAABBGGRR word a pixel in byte
// order R, G, B, A; rows top-down.
struct Rgba {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;  // width * height * 4

  std::uint8_t* At(int x, int y) { return bytes.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
  const std::uint8_t* At(int x, int y) const {
    return bytes.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
};

// A rectangle of a picture (clamped to it).
Rgba Crop(const Rgba& picture, int x, int y, int width, int height);

bool ReadPng(const std::string& hostPath, Rgba* out, std::string* error);
// RGBA, or RGB when every pixel is opaque.
std::vector<std::uint8_t> EncodePng(const Rgba& picture);
// Baseline JPEG at the quality given, 4:2:0, optimised Huffman tables; the
// alpha channel is ignored.
std::vector<std::uint8_t> EncodeJpeg(const Rgba& picture, int quality);

}  // namespace skingen
