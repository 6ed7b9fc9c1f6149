#include "pages/thumbnail_cache.h"

#include "look/toolkit.h"
#include "platform/imaging/imaging.h"

mivoThumbnailCache::~mivoThumbnailCache() {
  Clear();
  if (m_factory) m_factory->Release();
}

void mivoThumbnailCache::Clear() {
  for (Entry& e : m_entries)
    if (e.image) e.image->Release();
  m_entries.clear();
}

void mivoThumbnailCache::Forget(const std::u16string& path) {
  for (auto it = m_entries.begin(); it != m_entries.end();) {
    if (it->path == path) {
      if (it->image) it->image->Release();
      it = m_entries.erase(it);
    } else {
      ++it;
    }
  }
}

IImagingFactory* mivoThumbnailCache::Factory() {
  if (!m_factory) CreateImagingFactory(&m_factory);
  return m_factory;
}

IImage* mivoThumbnailCache::Get(const std::u16string& path, int boxWidth, int boxHeight) {
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
    if (it->path == path && it->boxWidth == boxWidth && it->boxHeight == boxHeight) {
      m_entries.splice(m_entries.begin(), m_entries, it);
      return m_entries.front().image;
    }
  }
  Entry entry{path, boxWidth, boxHeight, Make(path, boxWidth, boxHeight)};
  m_entries.push_front(std::move(entry));
  while (m_entries.size() > m_capacity) {
    if (m_entries.back().image) m_entries.back().image->Release();
    m_entries.pop_back();
  }
  return m_entries.front().image;
}

IImage* mivoThumbnailCache::Make(const std::u16string& path, int boxWidth, int boxHeight) {
  IImagingFactory* factory = Factory();
  if (!factory || boxWidth <= 0 || boxHeight <= 0) return nullptr;
  IImage* picture = nullptr;
  if (FAILED(factory->CreateImageFromFile(path.c_str(), &picture)) || !picture) return nullptr;
  ImageInfo info;
  IImage* thumbnail = nullptr;
  if (SUCCEEDED(picture->GetImageInfo(&info)) && info.Width > 0 && info.Height > 0 &&
      (info.RawDataFormat == ImageFormat::Jpeg ||
       static_cast<long long>(info.Width) * info.Height <= kMaxSourcePixels)) {
    int w = static_cast<int>(info.Width), h = static_cast<int>(info.Height);
    FitSizeInBox(boxWidth, boxHeight, &w, &h);
    ++m_decodes;
    if (w > 0 && h > 0 && FAILED(picture->GetThumbnail(static_cast<UINT>(w), static_cast<UINT>(h), &thumbnail)))
      thumbnail = nullptr;
  }
  picture->Release();
  return thumbnail;
}
