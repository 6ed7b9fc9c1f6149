// Pictures of skins and wallpapers, decoded by the platform's imaging
// library: a drawable picture that keeps its alpha channel, or a plain bitmap.
#pragma once

#include <memory>
#include <string_view>

#include "platform/imaging/imaging.h"
#include "platform/win32/types.h"

namespace look {

// An image of the imaging library with its natural size; owns its reference.
class Picture {
 public:
  Picture(IImage* image, int width, int height) : m_image(image), m_width(width), m_height(height) {}
  ~Picture() {
    if (m_image) m_image->Release();
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Draws the whole picture scaled into dst, blended by its alpha.
  bool Draw(HDC dc, const RECT& dst) { return SUCCEEDED(m_image->Draw(dc, &dst, nullptr)); }

 private:
  IImage* m_image;
  int m_width;
  int m_height;
};

// Null when the factory is missing or the file cannot be opened or read as a
// picture, or has no pixels.
std::unique_ptr<Picture> DecodePicture(IImagingFactory* factory, std::u16string_view devicePath);
// A bitmap of the file's pixels (the shell's SHLoadImageFile); null on failure.
HBITMAP LoadPictureBitmap(std::u16string_view devicePath);
// A bitmap of width x height that the picture fills: the picture as it is when it has that size,
// else scaled to cover it, centred, what stands over cut off (a photo chosen as a wallpaper, a
// wallpaper theme made for another screen). A large JPEG is decoded at no more than it needs.
HBITMAP LoadScreenPicture(std::u16string_view devicePath, int width, int height);

}  // namespace look
