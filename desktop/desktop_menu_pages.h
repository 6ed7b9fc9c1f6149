// The desktop's own menu pages: lists of context-menu entries under a title
// of their own ("Add gadget", "Switch to desktop", a gadget's "Text size"),
// whose rows the desktop page draws and carries out like those of its
// tap-and-hold menu; and the desktop colour page, whose colour becomes the
// text colour of the current desktop's gadgets, and the icon-text gadget's
// colour page.
#pragma once

#include <string>

#include "ui/color_pages.h"
#include "ui/right_click_page.h"

class CmivoDesktopPage;
class CmivoIconTextGadget;

class CmivoDesktopMenuPage : public CmivoRightClickPage {
 public:
  CmivoDesktopMenuPage(mivoCore* core, CmivoDesktopPage* desktop, const std::u16string& title);

  std::u16string GetTitle(int param, int extra) override { return m_title; }
  const char* PageClassName() const override { return "CmivoDesktopMenuPage"; }
};

class CmivoChooseDesktopColorPage : public CmivoChooseColorPage {
 public:
  CmivoChooseDesktopColorPage(mivoCore* core, CmivoDesktopPage* desktop);

  // A colour (a swatch, or the custom page's as index -1) colours the texts
  // of the current desktop's gadgets; then back to the desktop.
  void OnItemTap(int index, const mivoListElement& element) override;
  const char* PageClassName() const override { return "CmivoChooseDesktopColorPage"; }

 private:
  CmivoDesktopPage* m_pDesktop;  // the owner
};

class CmivoChooseIconTextGadgetColorPage : public CmivoChooseColorPage {
 public:
  CmivoChooseIconTextGadgetColorPage(mivoCore* core, CmivoIconTextGadget* gadget);

  // A colour becomes the gadget's text colour; then back to the desktop.
  void OnItemTap(int index, const mivoListElement& element) override;
  const char* PageClassName() const override { return "CmivoChooseIconTextGadgetColorPage"; }

 private:
  CmivoIconTextGadget* m_pGadget;  // the owner
};
