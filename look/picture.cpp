#include "look/picture.h"

namespace look {

std::unique_ptr<Picture> DecodePicture(std::u16string_view) { return nullptr; }

HBITMAP LoadPictureBitmap(std::u16string_view) { return nullptr; }

}  // namespace look
