#include "desktop/volume_gadget.h"

#include "desktop/desktop_page.h"
#include "desktop/shared_skin_images.h"
#include "desktop/volume_window.h"

namespace {

mivoSharedSkinImages& VolumeImages() {
  static mivoSharedSkinImages images{u"gadget_volume"};
  return images;
}

// The text style of the family as it comes: the volume gadget has no text.
constexpr mivoStatusStyle kBaseStyle{kTextLeftOfImage, 16};

}  // namespace

CmivoVolumeGadget::CmivoVolumeGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoStatusGadget(core, page, 29, VolumeImages(), kBaseStyle) {
  // It sets no text style of its own: what the icon-text family gives.
  m_style = mivoIconTextStyle{};
  Images();
}

void CmivoVolumeGadget::OnIconTap(POINT) {
  CmivoVolumeWnd window(m_pCore);
  window.RunModal(m_pDesktop);
}
