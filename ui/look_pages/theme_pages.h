// The colour themes page and the wallpaper themes page: each lists the
// themes installed in the program folder, shows a theme's descriptive
// strings behind its help button, and puts the tapped theme into effect (a
// colour theme at once, a wallpaper theme after a question).
#pragma once

#include <memory>
#include <string>

#include "look/color_theme.h"
#include "ui/adv_list_box_items.h"
#include "ui/adv_list_box_page.h"

class CmivoAdvColorThemesPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvColorThemesPage(mivoCore* core);

  std::u16string GetTitle(int param, int extra) override;     // "Color Themes"
  std::u16string GetHelpText(int param, int extra) override;  // "Error: (not set yet)"
  // The first showing fills the list; every showing selects the current theme.
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoAdvColorThemesPage"; }

 private:
  bool m_filled = false;  // the list was filled
};

// One colour theme: its name over a strip of its eight colours.
class CmivoAdvListBoxColorThemeItem : public CmivoAdvListBoxItemWithHelp {
 public:
  // Loads the theme's file to show what it holds.
  CmivoAdvListBoxColorThemeItem(mivoCore* core, const std::u16string& name);

  const std::u16string& Name() const { return m_theme.Name; }
  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  // Outside the help button: the theme takes effect everywhere at once.
  bool OnTap(UINT flags, int x, int y) override;
  void Describe(mivoRowText* out) const override;

 private:
  mivoColorTheme m_theme;  // the file's contents
};

class CmivoAdvWallpaperThemesPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvWallpaperThemesPage(mivoCore* core);

  std::u16string GetTitle(int param, int extra) override;  // "Wallpaper themes"
  // Made with the page: one row per folder of Wallpapers, then the count.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoAdvWallpaperThemesPage"; }

 private:
  void Fill();
  bool m_filled = false;
};

// One wallpaper theme (a folder of Wallpapers).
class CmivoAdvListBoxWallpaperThemeItem : public CmivoAdvListBoxItemWithHelp {
 public:
  CmivoAdvListBoxWallpaperThemeItem(mivoCore* core, const std::u16string& name);

  const std::u16string& Name() const { return m_name; }
  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  // Outside the help button: asks, then makes it every desktop's wallpaper.
  bool OnTap(UINT flags, int x, int y) override;
  void Describe(mivoRowText* out) const override;

 private:
  std::u16string m_name;  // the folder's name
};
