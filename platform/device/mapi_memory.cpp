// MAPI's memory: a buffer carries a chain of the blocks allocated "more"
// onto it, and freeing the buffer frees the chain.
#include <cstdlib>
#include <cstring>

#include "platform/device/mapi.h"

namespace {

constexpr std::uint64_t kMagic = 0x4D41504942554621ull;  // "MAPIBUF!"

struct alignas(16) BlockHeader {
  std::uint64_t magic;
  BlockHeader* next;  // the next block tied to the same buffer (only the buffer's head uses it)
};

BlockHeader* HeaderOf(LPVOID block) {
  return reinterpret_cast<BlockHeader*>(static_cast<char*>(block) - sizeof(BlockHeader));
}

LPVOID Allocate(ULONG size) {
  auto* h = static_cast<BlockHeader*>(std::calloc(1, sizeof(BlockHeader) + (size ? size : 1)));
  if (!h) return nullptr;
  h->magic = kMagic;
  h->next = nullptr;
  return reinterpret_cast<char*>(h) + sizeof(BlockHeader);
}

}  // namespace

SCODE MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer) {
  if (!lppBuffer) return MAPI_E_INVALID_PARAMETER;
  *lppBuffer = Allocate(cbSize);
  return *lppBuffer ? S_OK : MAPI_E_NOT_ENOUGH_MEMORY;
}

SCODE MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer) {
  if (!lppBuffer || !lpObject || HeaderOf(lpObject)->magic != kMagic) return MAPI_E_INVALID_PARAMETER;
  LPVOID block = Allocate(cbSize);
  if (!block) return MAPI_E_NOT_ENOUGH_MEMORY;
  BlockHeader* parent = HeaderOf(lpObject);
  BlockHeader* h = HeaderOf(block);
  h->next = parent->next;
  parent->next = h;
  *lppBuffer = block;
  return S_OK;
}

ULONG MAPIFreeBuffer(LPVOID lpBuffer) {
  if (!lpBuffer) return S_OK;
  BlockHeader* h = HeaderOf(lpBuffer);
  if (h->magic != kMagic) return static_cast<ULONG>(MAPI_E_INVALID_PARAMETER);
  while (h) {
    BlockHeader* next = h->next;
    h->magic = 0;
    std::free(h);
    h = next;
  }
  return S_OK;
}

void FreeProws(LPSRowSet lpRows) {
  if (!lpRows) return;
  for (ULONG i = 0; i < lpRows->cRows; ++i) MAPIFreeBuffer((lpRows->aRow + i)->lpProps);
  MAPIFreeBuffer(lpRows);
}
