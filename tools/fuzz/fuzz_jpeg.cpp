// Fuzzes the JPEG decoder: any input must decode or fail, never crash.
#include <cstddef>
#include <cstdint>

#include "platform/imaging/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  imaging::Picture p;
  imaging::detail::DecodeJpeg(data, size, &p, 0, 0);
  imaging::Picture q;
  imaging::detail::DecodeJpeg(data, size, &q, 16, 16);
  ImageInfo info;
  imaging::ProbePicture(data, size, &info);
  return 0;
}
