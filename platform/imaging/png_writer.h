// Writing bitmaps as PNG files: screenshots and test output.
#pragma once

#include <string>

#include "platform/win32/types.h"

namespace imaging {

// Writes the bitmap's pixels to a PNG file at a host path, through a
// temporary file renamed into place. `opaque` writes every pixel with full
// alpha (a screen's alpha means nothing); otherwise the alpha is kept
// (premultiplied pixels are converted back to straight alpha).
bool SaveBitmapPng(HBITMAP bitmap, const std::string& hostPath, bool opaque = true);

}  // namespace imaging
