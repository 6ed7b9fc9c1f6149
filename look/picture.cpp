#include "look/picture.h"

#include <string>

namespace look {

std::unique_ptr<Picture> DecodePicture(IImagingFactory* factory, std::u16string_view devicePath) {
  if (!factory) return nullptr;
  IImage* image = nullptr;
  if (FAILED(factory->CreateImageFromFile(std::u16string(devicePath).c_str(), &image)) || !image) return nullptr;
  ImageInfo info;
  if (FAILED(image->GetImageInfo(&info)) || info.Width == 0 || info.Height == 0) {
    image->Release();
    return nullptr;
  }
  return std::make_unique<Picture>(image, static_cast<int>(info.Width), static_cast<int>(info.Height));
}

HBITMAP LoadPictureBitmap(std::u16string_view devicePath) {
  return SHLoadImageFile(std::u16string(devicePath).c_str());
}

}  // namespace look
