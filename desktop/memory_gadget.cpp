#include "desktop/memory_gadget.h"

#include "core/core.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/menu_entry.h"
#include "desktop/shared_skin_images.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/device/system.h"
#include "platform/win32/text.h"

namespace {

constexpr UINT kMemoryPeriodMs = 15000;

enum : DWORD {
  kSmallIcon = 2064,
  kLargeIcon = 2065,
};

enum : std::size_t { kLarge = 0, kSmall = 1 };

mivoSharedSkinImages& MemoryImages() {
  static mivoSharedSkinImages images{u"gadget_memory", u"gadget_memory_small"};
  return images;
}

}  // namespace

CmivoMemoryGadget::CmivoMemoryGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoStatusGadget(core, page, 19, MemoryImages(), mivoStatusStyle{kTextRightOfImage, 20}) {}

mivoSkinImage* CmivoMemoryGadget::CurrentImage() { return Images().Get(m_largeIcon ? kLarge : kSmall); }

void CmivoMemoryGadget::OnActivate() {
  Images();
  if (m_pDesktop) m_pDesktop->RegisterTimer(this, kMemoryPeriodMs);
  OnTimer(true);
}

void CmivoMemoryGadget::OnTimer(bool) {
  MEMORYSTATUS status{};
  GlobalMemoryStatus(&status);
  Show(text::Format(u"%d%%", static_cast<int>(status.dwMemoryLoad)));
}

// ---- The design-mode menu and the stored flag ---------------------------------------------

void CmivoMemoryGadget::AddContextMenuItems() {
  if (IsDesignMode() && m_pDesktop) m_pDesktop->AddMenuEntry(MenuEntry(m_largeIcon ? kSmallIcon : kLargeIcon, 0, true));
  CmivoStatusGadget::AddContextMenuItems();
}

std::u16string CmivoMemoryGadget::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  switch (entry.CommandId) {
    case kSmallIcon: return GetString(IDS_SMALL_MEMORY_ICON);
    case kLargeIcon: return GetString(IDS_LARGE_MEMORY_ICON);
    default: return CmivoStatusGadget::GetContextMenuItemText(entry);
  }
}

void CmivoMemoryGadget::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kSmallIcon || entry.CommandId == kLargeIcon) {
    m_largeIcon = entry.CommandId == kLargeIcon;
    Invalidate();
  }
  CmivoStatusGadget::OnContextMenuCommand(entry);
}

void CmivoMemoryGadget::LoadProperties(mivoArchiveReader& in) {
  CmivoStatusGadget::LoadProperties(in);
  std::uint8_t large = 0;
  if (in.ReadU8(&large)) m_largeIcon = large != 0;
}

void CmivoMemoryGadget::SaveProperties(mivoArchiveWriter& out) {
  CmivoStatusGadget::SaveProperties(out);
  out.WriteU8(m_largeIcon ? 1 : 0);
}

void CmivoMemoryGadget::ExchangeProperties(mivoGadgetProperties& properties) {
  CmivoStatusGadget::ExchangeProperties(properties);
  properties.Flag("large-icon", m_largeIcon);
}
