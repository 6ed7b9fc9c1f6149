// Drawing skin images: decoding on first use, the direct path (alpha-blended
// by the imaging library) and the composite path (a kept opaque bitmap of the
// picture over colour theme colour 5 or 7, for rows drawn many times).
#include "look/appearance.h"
#include "look/skin_image_cache.h"
#include "look/toolkit.h"
#include "platform/fs/files.h"
#include "platform/gdi/gdi.h"

namespace {

// The picture's device path: a "\"-rooted file as it is, any other relative
// to the skin folder.
std::u16string PicturePath(const mivoSkin& skin, const mivoSkinImage& image) {
  if (!image.File.empty() && image.File[0] == u'\\') return image.File;
  return skin.SkinFolder() + image.File;
}

}  // namespace

bool mivoAppearance::Decode(mivoSkinImage* image) {
  mivoSkinImageCache& cache = image->EnsureCache();
  if (cache.picture) return true;
  if (image->File.empty()) return false;
  // A failure is not remembered: the next draw tries again.
  cache.picture = look::DecodePicture(ImagingFactory(), PicturePath(*GetSkin(), *image));
  return cache.picture != nullptr;
}

RECT mivoAppearance::DrawSkinImage(mivoSkinImage* image, HDC dc, const RECT& rect, UINT flags, int mode, int width,
                                   int height) {
  if (!image || !Decode(image)) return RECT{};
  look::Picture& picture = *image->Cache()->picture;
  if (mode == kSkinDrawOverColor5 || mode == kSkinDrawOverColor7) {
    HBITMAP& composite = image->Cache()->composite[mode == kSkinDrawOverColor5 ? 0 : 1];
    if (!composite) {
      const int w = picture.Width(), h = picture.Height();
      HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
      HDC target = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(target, bitmap);
      HBRUSH fill = CreateSolidBrush(m_colorTheme.GetColor(mode == kSkinDrawOverColor5 ? 5 : 7));
      const RECT all{0, 0, w, h};
      FillRect(target, &all, fill);
      DeleteObject(fill);
      picture.Draw(target, all);
      SelectObject(target, old);
      DeleteDC(target);
      composite = bitmap;
    }
    return DrawBitmapAligned(*this, dc, composite, rect.left, rect.top, rect.right, rect.bottom, flags, false, 0);
  }
  const int w = width && height ? width : picture.Width();
  const int h = width && height ? height : picture.Height();
  int x = rect.left, y = rect.top;
  if (flags & kAlignCenterX) x = rect.left + (rect.right - rect.left - w) / 2;
  if (flags & kAlignCenterY) y = rect.top + (rect.bottom - rect.top - h) / 2;
  if (flags & kAlignRight) x = rect.right - w;
  if (flags & kAlignBottom) y = rect.bottom - h;
  picture.Draw(dc, RECT{x, y, x + w, y + h});
  return RECT{x, y, x + w - 1, y + h - 1};
}

std::u16string mivoAppearance::GetSkinImagePath(mivoSkinImage* image) {
  if (!image || image->File.empty()) return {};
  return PicturePath(*GetSkin(), *image);
}

SIZE mivoAppearance::GetSkinImageSize(mivoSkinImage* image) {
  if (!image || !Decode(image)) return SIZE{};
  return SIZE{image->Cache()->picture->Width(), image->Cache()->picture->Height()};
}

HBITMAP mivoAppearance::GetSkinImageThumbnail(mivoSkinImage* image, HDC dc, SIZE box) {
  if (!image) return nullptr;
  mivoSkinImageCache& cache = image->EnsureCache();
  if (cache.thumbnail) return cache.thumbnail;
  if (!cache.thumbnailSource) {
    if (image->File.empty()) return nullptr;
    // Full paths are honoured here as when drawing, so the editor shows
    // what the skin really draws.
    const std::u16string path = PicturePath(*GetSkin(), *image);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    cache.thumbnailSource = look::LoadPictureBitmap(path);
    if (!cache.thumbnailSource) return nullptr;
  }
  StretchBitmapToBox(*this, cache.thumbnailSource, &cache.thumbnail, dc, box);
  return cache.thumbnail;
}
