// Memory for pixels. A whole screen of pixels at VGA is 1.2 MB: in pages of
// 4 KB its first drawing takes some three hundred page faults, which on a
// virtual machine or a small device is most of what a first paint costs.
// Blocks of half a megabyte and more are therefore mapped on their own and offered
// to the kernel for huge pages (transparent huge pages "on request", the
// usual setting): a few faults instead. Where huge pages are not offered they
// are ordinary pages, as before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace gdi {

struct PixelMemoryDeleter {
  std::size_t count = 0;  // pixels, as allocated
  void operator()(std::uint32_t* pixels) const;
};
using PixelMemory = std::unique_ptr<std::uint32_t[], PixelMemoryDeleter>;

// Count pixels, all zero; null when there is not enough memory.
PixelMemory AllocatePixels(std::size_t count);

}  // namespace gdi
