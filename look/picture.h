// Pictures of skins and wallpapers, decoded by the platform's imaging
// library: a drawable picture that keeps its alpha channel, or a plain bitmap.
#pragma once

#include <memory>
#include <string_view>

#include "platform/win32/types.h"

namespace look {

class Picture {
 public:
  virtual ~Picture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Draws the whole picture scaled into dst, blending by its alpha.
  virtual bool Draw(HDC dc, const RECT& dst) = 0;
};

// Null when the file is missing or cannot be decoded.
std::unique_ptr<Picture> DecodePicture(std::u16string_view devicePath);
// A bitmap of the file's pixels (the platform's SHLoadImageFile); null on failure.
HBITMAP LoadPictureBitmap(std::u16string_view devicePath);

}  // namespace look
