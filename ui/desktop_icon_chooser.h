// CmivoAdvChooseDesktopIcon: the list of the current skin's pictures that
// fit a desktop icon (exactly 48·S pixels square). A tap makes the picture
// the icon of the desktop page's current desktop in the current orientation.
// The desktop page owns the page and tells it which desktop it is for.
#pragma once

#include <functional>
#include <string>

#include "ui/adv_list_box_item.h"
#include "ui/adv_list_box_page.h"

class mivoSkinImage;

class CmivoAdvChooseDesktopIcon : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvChooseDesktopIcon(mivoCore* core);
  ~CmivoAdvChooseDesktopIcon() override;

  // The desktop whose icon a tap sets, counted from 1.
  void SetDesktop(int number) { m_desktop = number; }
  int Desktop() const { return m_desktop; }
  // Run after an icon was stored (the desktop page refreshes the gadgets
  // that show desktop icons).
  void SetIconChangedHandler(std::function<void()> handler) { m_onChanged = std::move(handler); }

  // Stores the image's name as the icon, refreshes and goes back.
  void ChooseIcon(const std::u16string& imageName);

  std::u16string GetTitle(int param, int extra) override;  // "Change desktop icon"
  // Lists the fitting pictures afresh at every showing, in skin order.
  void OnPageShown() override;
  // Empties the list: the pictures are not kept while the page is away.
  void OnPageHidden() override;
  const char* PageClassName() const override { return "CmivoAdvChooseDesktopIcon"; }

 private:
  void RemoveRows();

  int m_desktop = 1;
  std::function<void()> m_onChanged;
};

// One picture: the icon and its name.
class CmivoAdvListBoxDesktopIconItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvListBoxDesktopIconItem(mivoCore* core, CmivoAdvChooseDesktopIcon* page, mivoSkinImage* image);

  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  bool OnTap(UINT flags, int x, int y) override;
  void Describe(mivoRowText* out) const override;

 private:
  CmivoAdvChooseDesktopIcon* m_pPage;  // the page it lives on
  mivoSkinImage* m_pImage;             // the skin's own
};
