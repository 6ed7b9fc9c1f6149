// The format decoders behind DecodePicture. Each reads from memory, checks
// every size and offset against the data, and refuses pictures larger than
// kMaxPixels, so a damaged or hostile file fails instead of crashing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/imaging.h"

namespace imaging::detail {

constexpr long long kMaxPixels = 64ll * 1024 * 1024;
constexpr int kMaxSide = 32767;

inline bool SizeAllowed(long long w, long long h) {
  return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels;
}

// Straight alpha to premultiplied.
inline std::uint32_t Premultiply(std::uint32_t p) {
  const std::uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  auto m = [a](std::uint32_t v) {
    const std::uint32_t t = v * a + 128;
    return (t + (t >> 8)) >> 8;
  };
  return (a << 24) | (m((p >> 16) & 0xFF) << 16) | (m((p >> 8) & 0xFF) << 8) | m(p & 0xFF);
}

bool ProbePng(const std::uint8_t* d, std::size_t n, ImageInfo* info);
bool DecodePng(const std::uint8_t* d, std::size_t n, Picture* out);
bool ProbeJpeg(const std::uint8_t* d, std::size_t n, ImageInfo* info);
bool DecodeJpeg(const std::uint8_t* d, std::size_t n, Picture* out, int minWidth, int minHeight);
// A new top-down 32-bit DIB section, cleared, and its pixels.
HBITMAP NewDib(int width, int height, std::uint32_t** pixels);
// An upright JPEG decoded straight into a new 32-bit DIB section, at full size; null for anything
// else (another format, a turned photo, damaged data), which DecodePicture then reads the general way.
HBITMAP DecodeJpegToBitmap(const std::uint8_t* d, std::size_t n);
bool ProbeGif(const std::uint8_t* d, std::size_t n, ImageInfo* info);
bool DecodeGif(const std::uint8_t* d, std::size_t n, Picture* out);
bool ProbeBmp(const std::uint8_t* d, std::size_t n, ImageInfo* info);
bool DecodeBmp(const std::uint8_t* d, std::size_t n, Picture* out);

}  // namespace imaging::detail
