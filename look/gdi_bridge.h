// The few drawing-layer calls the look's models make before drawing itself
// is wired in.
#pragma once

#include "platform/win32/types.h"

namespace look {

void DeleteBitmap(HBITMAP bitmap);

}  // namespace look
