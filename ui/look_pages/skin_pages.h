// The skin editor's pages: "Skins settings" (colour themes, the skin's
// images, wallpaper themes), "Skin images" (every image of the current skin
// as a thumbnail), and the list of installed skins.
#pragma once

#include <string>
#include <vector>

#include "look/skin.h"
#include "ui/adv_list_box_items.h"
#include "ui/adv_list_box_page.h"
#include "ui/items_page.h"

class mivoSkinImage;

class CmivoSkinsSettingsPage : public CmivoItemsPageWnd {
 public:
  explicit CmivoSkinsSettingsPage(mivoCore* core);

  std::u16string GetTitle(int param, int extra) override { return m_title; }
  void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) override;
  // Opens the colour themes, the skin images or the wallpaper themes page.
  void OnItemTap(int index, const mivoListElement& element) override;
  const char* PageClassName() const override { return "CmivoSkinsSettingsPage"; }
};

// Orders the skin images by the names the editor shows, without regard to case.
class CmivoSkinItemsPageComparer : public CmivoListCtrlComparer {
 public:
  int Compare(const mivoListElement& a, const mivoListElement& b) override;
};

class CmivoSkinItemsPage : public CmivoItemsPageWnd {
 public:
  explicit CmivoSkinItemsPage(mivoCore* core);
  ~CmivoSkinItemsPage() override;

  // Shows only these images (the images of one thing held for "Change
  // icons"); without, every image of the current skin.
  void SetImages(std::vector<mivoSkinImage*> images);

  std::u16string GetTitle(int param, int extra) override { return m_title; }
  // Lists the images anew at every showing (the editor may have changed them).
  void OnPageShown() override;
  void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) override;
  // Opens the image file chooser for the tapped image.
  void OnItemTap(int index, const mivoListElement& element) override;
  const char* PageClassName() const override { return "CmivoSkinItemsPage"; }

 private:
  CmivoSkinItemsPageComparer m_comparer;
  std::vector<mivoSkinImage*> m_images;  // empty: the whole skin
  bool m_filtered = false;               // SetImages was called
};

// The installed skins, one row each with its descriptive strings behind the
// help button. A tap does not switch the skin.
class CmivoAdvSkinsPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvSkinsPage(mivoCore* core);
  std::u16string GetTitle(int param, int extra) override;  // "Skins"
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoAdvSkinsPage"; }

 private:
  bool m_filled = false;
};

class CmivoAdvListBoxSkinItem : public CmivoAdvListBoxTextWithHelp {
 public:
  // Reads the skin's file for its descriptive strings.
  CmivoAdvListBoxSkinItem(mivoCore* core, const std::u16string& name);
  bool OnTap(UINT flags, int x, int y) override;
};
