// The run-time drawing state of a skin image: never stored in the skin file.
#pragma once

#include "platform/win32/types.h"

struct mivoSkinImageCache {
  // The bitmaps made from the picture: the thumbnail's source and the
  // thumbnail, and the picture composed over colour theme colours 5 and 7.
  void DropBitmaps() {}
};
