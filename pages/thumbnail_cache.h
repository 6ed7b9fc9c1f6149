// mivoThumbnailCache: small decoded pictures for the file explorer's picture
// rows, kept for the pictures drawn last. A folder of thousands of pictures
// holds at most Capacity thumbnails; a row scrolled back into view decodes
// its picture again.
//
// Decoding is bounded: a JPEG is decoded at the smallest DCT scale that still
// covers the thumbnail; another format is decoded only when its full size is
// at most kMaxSourcePixels (a 10000 x 10000 PNG gives no thumbnail, the row
// shows the file's icon instead).
#pragma once

#include <cstddef>
#include <list>
#include <string>

#include "platform/win32/types.h"

struct IImage;
struct IImagingFactory;

class mivoThumbnailCache {
 public:
  static constexpr std::size_t kCapacity = 48;
  static constexpr long long kMaxSourcePixels = 16ll * 1024 * 1024;

  explicit mivoThumbnailCache(std::size_t capacity = kCapacity) : m_capacity(capacity) {}
  ~mivoThumbnailCache();
  mivoThumbnailCache(const mivoThumbnailCache&) = delete;
  mivoThumbnailCache& operator=(const mivoThumbnailCache&) = delete;

  // The picture of a device path fitted into a box (its aspect kept), made
  // on first request; null when it cannot be read. The image belongs to the
  // cache and stays valid until the next Get or Forget.
  IImage* Get(const std::u16string& path, int boxWidth, int boxHeight);
  // Drops what is kept for a path (its file changed or went).
  void Forget(const std::u16string& path);
  void Clear();
  std::size_t Size() const { return m_entries.size(); }
  // How many pictures were decoded so far (tests).
  int Decodes() const { return m_decodes; }

 private:
  IImage* Make(const std::u16string& path, int boxWidth, int boxHeight);
  IImagingFactory* Factory();

  struct Entry {
    std::u16string path;      // the picture's device path
    int boxWidth = 0;         // the box it was fitted into
    int boxHeight = 0;
    IImage* image = nullptr;  // owned reference; null when the picture could not be read
  };

  std::size_t m_capacity;                 // entries kept at most
  std::list<Entry> m_entries;             // most recently used first
  IImagingFactory* m_factory = nullptr;   // made on first use; owned reference
  int m_decodes = 0;                      // pictures decoded
};
