#include "ui/look_pages/skin_image_apply.h"

#include "look/skin.h"
#include "platform/fs/files.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

std::u16string FileExtension(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  const std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos || dot + 1 == name.size()) return {};
  return std::u16string(name.substr(dot));
}

bool IsSafeImageFileName(std::u16string_view name) {
  if (name.empty()) return false;
  if (name.find_first_of(u"\\/:") != std::u16string_view::npos) return false;
  return name.find(u"..") == std::u16string_view::npos;
}

mivoApplyResult ApplySkinImageFile(mivoSkin& skin, mivoSkinImage& image, std::u16string_view source,
                                   COLORREF transparentColor) {
  const std::u16string extension = FileExtension(source);
  if (extension.empty()) return mivoApplyResult::kNoExtension;
  // The image's name becomes a file name in the skin folder: it must not
  // lead anywhere else.
  if (!IsSafeImageFileName(image.Name)) return mivoApplyResult::kBadName;

  const std::u16string fileName = image.Name + extension;
  const std::u16string target = skin.SkinFolder() + fileName;
  if (text::EqualsNoCase(target, source)) {
    // The picture already is the image's file: copying it onto itself would
    // at best do nothing and at worst lose it.
    image.SetTransparentColor(transparentColor);
    return mivoApplyResult::kColorOnly;
  }
  // The platform's copy writes a temporary file and renames it over the old
  // one, so a failed copy leaves the earlier picture as it was.
  const std::u16string from(source);
  const bool copied = CopyFileW(from.c_str(), target.c_str(), FALSE) != FALSE;
  const DWORD error = copied ? 0 : GetLastError();
  if (copied) image.SetFile(fileName);
  image.SetTransparentColor(transparentColor);
  if (!copied) SetLastError(error);
  return copied ? mivoApplyResult::kCopied : mivoApplyResult::kCopyFailed;
}
