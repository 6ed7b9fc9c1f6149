// Fuzzes the whole picture path: format detection, decoding, the image
// object's drawing and thumbnails into a small DC.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/win32/rect.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static IImagingFactory* factory = [] {
    IImagingFactory* f = nullptr;
    CreateImagingFactory(&f);
    return f;
  }();
  static HDC dc = [] {
    HDC d = CreateCompatibleDC(nullptr);
    SelectObject(d, CreateCompatibleBitmap(d, 32, 32));
    return d;
  }();
  IImage* image = nullptr;
  if (SUCCEEDED(factory->CreateImageFromBuffer(data, static_cast<UINT>(size), BufferDisposalFlagNone, &image))) {
    RECT r = MakeRect(-3, 2, 29, 40);
    image->Draw(dc, &r, nullptr);
    IImage* thumb = nullptr;
    if (SUCCEEDED(image->GetThumbnail(7, 5, &thumb))) thumb->Release();
    image->Release();
  }
  return 0;
}
