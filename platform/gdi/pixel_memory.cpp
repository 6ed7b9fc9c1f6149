#include "platform/gdi/pixel_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace gdi {

namespace {

// Half a megabyte and more: every VGA screen-sized bitmap (a page under the task bar too), no QVGA one.
constexpr std::size_t kLargeBytes = std::size_t{512} << 10;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t MappedBytes(std::size_t count) {
  // Whole huge pages, so that the last part of the block can be one too.
  return (count * sizeof(std::uint32_t) + kHugePage - 1) / kHugePage * kHugePage;
}

bool IsLarge(std::size_t count) { return count >= kLargeBytes / sizeof(std::uint32_t); }

}  // namespace

void PixelMemoryDeleter::operator()(std::uint32_t* pixels) const {
  if (!pixels) return;
  if (IsLarge(count)) {
    munmap(pixels, MappedBytes(count));
  } else {
    delete[] pixels;
  }
}

PixelMemory AllocatePixels(std::size_t count) {
  if (count > SIZE_MAX / sizeof(std::uint32_t) - kHugePage) return PixelMemory(nullptr, {count});
  if (!IsLarge(count)) return PixelMemory(new (std::nothrow) std::uint32_t[count](), {count});
  // Mapped with a huge page's worth to spare, then trimmed to a block that
  // starts on a huge-page boundary: the kernel backs only aligned 2 MB ranges
  // with huge pages. Fresh anonymous memory is zero.
  const std::size_t bytes = MappedBytes(count);
  void* raw = mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return PixelMemory(nullptr, {count});
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(std::uintptr_t{kHugePage} - 1);
  if (aligned > start) munmap(raw, aligned - start);
  if (const std::size_t tail = start + bytes + kHugePage - (aligned + bytes); tail > 0)
    munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  // Advice only: where huge pages are switched off this fails and changes nothing.
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return PixelMemory(reinterpret_cast<std::uint32_t*>(aligned), {count});
}

}  // namespace gdi
