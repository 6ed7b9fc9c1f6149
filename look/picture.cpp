#include "look/picture.h"

#include <string>
#include <vector>

#include "look/device_files.h"

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

HBITMAP LoadScreenPicture(std::u16string_view devicePath, int width, int height) {
  std::vector<std::uint8_t> bytes;
  if (!ReadDeviceFile(devicePath, &bytes)) return nullptr;
  ImageInfo info{};
  if (width <= 0 || height <= 0 ||
      (imaging::ProbePicture(bytes.data(), bytes.size(), &info) && static_cast<int>(info.Width) == width &&
       static_cast<int>(info.Height) == height)) {
    return imaging::DecodePictureToBitmap(bytes.data(), bytes.size());
  }
  imaging::Picture p;
  if (!imaging::DecodePicture(bytes.data(), bytes.size(), &p, width, height)) return nullptr;
  return imaging::PictureToCoveringBitmap(p, width, height);
}

}  // namespace look
