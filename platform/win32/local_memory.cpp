#include "platform/win32/local_memory.h"

#include <cstdlib>
#include <cstring>

#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"

// Each block starts with its size, so LocalSize can answer.
namespace {
constexpr SIZE_T kHeader = 16;
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
  auto* raw = static_cast<unsigned char*>(std::malloc(bytes + kHeader));
  if (!raw) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::memcpy(raw, &bytes, sizeof bytes);
  if (flags & LMEM_ZEROINIT) std::memset(raw + kHeader, 0, bytes);
  return raw + kHeader;
}

HLOCAL LocalFree(HLOCAL block) {
  if (block) std::free(static_cast<unsigned char*>(block) - kHeader);
  return nullptr;
}

SIZE_T LocalSize(HLOCAL block) {
  if (!block) return 0;
  SIZE_T bytes = 0;
  std::memcpy(&bytes, static_cast<unsigned char*>(block) - kHeader, sizeof bytes);
  return bytes;
}
