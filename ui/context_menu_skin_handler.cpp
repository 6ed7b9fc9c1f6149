#include "ui/context_menu_skin_handler.h"

#include <algorithm>

#include "core/core.h"
#include "look/appearance.h"
#include "look/skin.h"
#include "ui/look_pages/look_pages.h"

namespace {
// Fixed texts: these two are not in the string table.
constexpr char16_t kChangeIcon[] = u"Change icon";
constexpr char16_t kChangeIcons[] = u"Change icons";
}  // namespace

CmivoContextMenuSkinHandler::CmivoContextMenuSkinHandler(mivoCore* core, std::vector<mivoSkinImage*> images)
    : CmivoContextMenuHandler(core), m_images(std::move(images)) {
  std::erase(m_images, nullptr);
}

bool CmivoContextMenuSkinHandler::BelongToCurrentSkin() const {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look || m_images.empty()) return false;
  const auto& skinImages = look->GetSkin()->Images;
  return std::all_of(m_images.begin(), m_images.end(), [&](mivoSkinImage* image) {
    return std::any_of(skinImages.begin(), skinImages.end(), [image](const auto& own) { return own.get() == image; });
  });
}

void CmivoContextMenuSkinHandler::FillMenu(CmivoContextMenu* menu) {
  if (!menu || !BelongToCurrentSkin()) return;
  mivoContextMenuEntry entry;
  entry.CommandId = kMenuChangeIcon;
  menu->AddMenuEntry(entry);
}

bool CmivoContextMenuSkinHandler::GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) {
  if (entry.CommandId != kMenuChangeIcon) return false;
  look->text = m_images.size() == 1 ? kChangeIcon : kChangeIcons;
  // No icon: the pictures are of any size (gadget faces, panels).
  look->icon = nullptr;
  return true;
}

bool CmivoContextMenuSkinHandler::OnMenuCommand(const mivoContextMenuEntry& entry) {
  if (entry.CommandId != kMenuChangeIcon) return false;
  // The skin may have been replaced since the menu was built.
  if (!BelongToCurrentSkin()) return true;
  if (m_images.size() == 1) {
    look_pages::ChooseFileForImage(m_pCore, m_images.front());
  } else {
    look_pages::ChooseAmongImages(m_pCore, m_images);
  }
  return true;
}
