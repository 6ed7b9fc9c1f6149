#include "desktop/desktop_menu_pages.h"

#include "core/core.h"
#include "desktop/desktop_page.h"
#include "desktop/icon_text_gadget.h"

namespace {

// After a colour was chosen the desktop shows it. A swatch's tap returns at
// once; the custom colour page (index -1) goes back to the chooser itself
// after handing over its colour, so the way to the desktop is taken once
// that has happened.
void ReturnAfterChoice(mivoCore* core, CmivoDesktopPage* desktop, int index) {
  if (index >= 0) {
    desktop->ReturnToDesktop();
    return;
  }
  core->DeleteLater([core, desktop] {
    // Unless the desktop went meanwhile (the program ended).
    if (core->GetDesktopPage() == desktop) desktop->ReturnToDesktop();
  });
}

}  // namespace

// ---- CmivoDesktopMenuPage -------------------------------------------------------------

CmivoDesktopMenuPage::CmivoDesktopMenuPage(mivoCore* core, CmivoDesktopPage* desktop, const std::u16string& title)
    : CmivoRightClickPage(core, desktop) {
  m_title = title;
}

// ---- CmivoChooseDesktopColorPage ---------------------------------------------------------

CmivoChooseDesktopColorPage::CmivoChooseDesktopColorPage(mivoCore* core, CmivoDesktopPage* desktop)
    : CmivoChooseColorPage(core), m_pDesktop(desktop) {}

void CmivoChooseDesktopColorPage::OnItemTap(int index, const mivoListElement& element) {
  if (element.Id != kColorEntry) {
    CmivoChooseColorPage::OnItemTap(index, element);
    return;
  }
  const COLORREF color = static_cast<COLORREF>(element.Data);
  const DWORD desktop = m_pDesktop->CurrentDesktop();
  const bool portrait = m_pDesktop->IsPortraitLayout();
  for (const auto& gadget : m_pDesktop->Container().Gadgets()) {
    if (!(gadget->Desktops() & desktop) || gadget->IsPortrait() != portrait) continue;
    if (auto* iconText = dynamic_cast<CmivoIconTextGadget*>(gadget.get())) iconText->SetTextColor(color);
  }
  ReturnAfterChoice(m_pCore, m_pDesktop, index);
}

// ---- CmivoChooseIconTextGadgetColorPage -----------------------------------------------------

CmivoChooseIconTextGadgetColorPage::CmivoChooseIconTextGadgetColorPage(mivoCore* core, CmivoIconTextGadget* gadget)
    : CmivoChooseColorPage(core), m_pGadget(gadget) {}

void CmivoChooseIconTextGadgetColorPage::OnItemTap(int index, const mivoListElement& element) {
  if (element.Id != kColorEntry) {
    CmivoChooseColorPage::OnItemTap(index, element);
    return;
  }
  m_pGadget->SetTextColor(static_cast<COLORREF>(element.Data));
  if (m_pGadget->Desktop()) ReturnAfterChoice(m_pCore, m_pGadget->Desktop(), index);
}
