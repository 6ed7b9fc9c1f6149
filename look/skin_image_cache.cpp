#include "look/skin_image_cache.h"

#include "platform/gdi/gdi.h"

void mivoSkinImageCache::DropComposites() {
  for (HBITMAP& b : composite) {
    if (b) DeleteObject(b);
    b = nullptr;
  }
}

void mivoSkinImageCache::DropBitmaps() {
  DropComposites();
  for (HBITMAP* b : {&thumbnailSource, &thumbnail}) {
    if (*b) DeleteObject(*b);
    *b = nullptr;
  }
}
