// Fuzzes the GIF decoder: any input must decode or fail, never crash.
#include <cstddef>
#include <cstdint>

#include "platform/imaging/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  imaging::Picture p;
  imaging::detail::DecodeGif(data, size, &p);
  ImageInfo info;
  imaging::ProbePicture(data, size, &info);
  return 0;
}
