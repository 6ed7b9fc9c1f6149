// The skin editor's "Apply": a picture chosen from the device becomes the
// file of a skin image. The picture is copied into the skin folder under the
// image's own name and the picture's extension, replacing an earlier copy
// only once the new one is complete; the picked transparent colour is set in
// every case.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/types.h"

class mivoSkin;
class mivoSkinImage;

enum class mivoApplyResult {
  kCopied,      // the picture was copied and is now the image's file
  kColorOnly,   // the picture already is the image's file: only the colour changed
  kCopyFailed,  // the copy failed (GetLastError says why); the colour changed
  kBadName,     // the image's name cannot be a file name (a path separator, ".."); nothing changed
  kNoExtension, // the picture's name has no extension; nothing changed
};

// The extension of a file name with its dot (".png"), empty when the last
// component has none.
std::u16string FileExtension(std::u16string_view path);

// True when the name can stand as a file name in the skin folder: not empty,
// no "\" or "/", no "..", no ":".
bool IsSafeImageFileName(std::u16string_view name);

// See above. `source` is a device path.
mivoApplyResult ApplySkinImageFile(mivoSkin& skin, mivoSkinImage& image, std::u16string_view source,
                                   COLORREF transparentColor);
