#include "platform/imaging/png_writer.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/fs/device_path.h"
#include "platform/gdi/surface.h"

namespace imaging {

bool SaveBitmapPng(HBITMAP bitmap, const std::string& hostPath, bool opaque) {
  const gdi::PixelBuffer pb = gdi::BitmapPixels(bitmap);
  if (!pb.pixels || pb.width <= 0 || pb.height <= 0) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(pb.width);
  image.height = static_cast<png_uint_32>(pb.height);
  image.format = PNG_FORMAT_RGBA;
  std::vector<unsigned char> rgba(static_cast<std::size_t>(pb.width) * pb.height * 4);
  for (int y = 0; y < pb.height; ++y) {
    const std::uint32_t* row = pb.pixels + static_cast<std::ptrdiff_t>(y) * pb.stride;
    unsigned char* out = rgba.data() + static_cast<std::size_t>(y) * pb.width * 4;
    for (int x = 0; x < pb.width; ++x) {
      const std::uint32_t p = row[x];
      std::uint32_t a = opaque ? 255 : p >> 24;
      std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (!opaque && a > 0 && a < 255) {
        r = std::min<std::uint32_t>(255, (r * 255 + a / 2) / a);
        g = std::min<std::uint32_t>(255, (g * 255 + a / 2) / a);
        b = std::min<std::uint32_t>(255, (b * 255 + a / 2) / a);
      }
      out[4 * x] = static_cast<unsigned char>(r);
      out[4 * x + 1] = static_cast<unsigned char>(g);
      out[4 * x + 2] = static_cast<unsigned char>(b);
      out[4 * x + 3] = static_cast<unsigned char>(a);
    }
  }
  const std::string temp = hostPath + ".tmp";
  if (!png_image_write_to_file(&image, temp.c_str(), 0, rgba.data(), 0, nullptr)) {
    std::remove(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), hostPath.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  fs::NoteEntryAdded(hostPath);
  return true;
}

}  // namespace imaging
