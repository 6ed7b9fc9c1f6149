// The platform's local memory blocks: what FormatMessageW allocates and what
// the clipboard takes. A block is a plain heap block; its handle is its address.
#pragma once

#include "platform/win32/types.h"

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalFree(HLOCAL block);  // null on success, as on the platform
SIZE_T LocalSize(HLOCAL block);
