// The run-time drawing state of a skin image: never stored in the skin file.
#pragma once

#include <memory>

#include "look/picture.h"
#include "platform/win32/types.h"

struct mivoSkinImageCache {
  mivoSkinImageCache() = default;
  ~mivoSkinImageCache() {
    DropBitmaps();
  }
  mivoSkinImageCache(const mivoSkinImageCache&) = delete;
  mivoSkinImageCache& operator=(const mivoSkinImageCache&) = delete;

  // The thumbnail bitmaps and both composites; the decoded picture stays.
  void DropBitmaps();
  void DropComposites();

  std::unique_ptr<look::Picture> picture;  // decoded on first draw or size query
  HBITMAP thumbnailSource = nullptr;       // the file loaded for thumbnails
  HBITMAP thumbnail = nullptr;             // the source fitted into the editor's box
  HBITMAP composite[2] = {};               // over colour theme colour 5 (mode 2) and 7 (mode 3)
};
