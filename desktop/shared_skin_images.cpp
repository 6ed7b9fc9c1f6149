#include "desktop/shared_skin_images.h"

#include "core/core.h"
#include "look/appearance.h"

mivoSharedSkinImages::mivoSharedSkinImages(std::initializer_list<const char16_t*> names) : m_names(names) {}

void mivoSharedSkinImages::Ensure(mivoCore* core) {
  mivoAppearance* look = core ? core->GetAppearance() : nullptr;
  if (!look) return;
  const std::uint64_t serial = look->GetSkin()->Serial();
  if (serial == m_skinSerial) return;
  m_skinSerial = serial;
  m_images.clear();
  for (const char16_t* name : m_names) m_images.push_back(look->GetSkinImage(name));
}

mivoSkinImage* mivoSharedSkinImages::Get(std::size_t index) const {
  return index < m_images.size() ? m_images[index] : nullptr;
}

void mivoSharedSkinImages::AppendTo(std::vector<mivoSkinImage*>& images) const {
  images.insert(images.end(), m_images.begin(), m_images.end());
}
