#include "ui/look_pages/theme_pages.h"

#include <algorithm>

#include "core/core.h"
#include "core/settings.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/look_settings.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "look/wallpaper_theme.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/paint.h"
#include "ui/adv_list_box.h"
#include "ui/adv_list_box_card.h"
#include "ui/look_pages/look_page_util.h"

namespace {

// The labels of a theme's description: what each of its six texts is.
const std::array<int, 6> kColorThemeLabels = {IDS_DESCRIPTION, IDS_VERSION, IDS_AUTHOR,
                                              IDS_WWW, IDS_THEME_GENERATOR, IDS_GENERATOR_WWW};
const std::array<int, 6> kWallpaperThemeLabels = {IDS_DESCRIPTION, IDS_VERSION, IDS_AUTHOR,
                                                  IDS_WWW, IDS_WALLPAPER_GENERATOR, IDS_GENERATOR_WWW};

// Every window of the frame paints again (a colour theme change).
void RepaintEverything(mivoCore* core) {
  CFrameWnd* frame = core->GetMainFrame();
  if (frame && frame->m_hWnd) RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

}  // namespace

// ---- Colour themes ---------------------------------------------------------------------

CmivoAdvColorThemesPage::CmivoAdvColorThemesPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  m_title = GetString(IDS_COLOR_THEMES);
}

std::u16string CmivoAdvColorThemesPage::GetTitle(int, int) { return GetString(IDS_COLOR_THEMES); }
std::u16string CmivoAdvColorThemesPage::GetHelpText(int, int) { return GetString(IDS_COLOR_THEMES_HELP); }

void CmivoAdvColorThemesPage::OnPageShown() {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  if (!m_filled) {
    m_filled = true;
    const std::u16string folder = look->ProgramFolder() + u"ColorThemes\\";
    int count = 0;
    for (const auto& entry : look_pages::FindEntries(folder + u"*.mct")) {
      if (entry.folder) continue;
      AddItem(new CmivoAdvListBoxColorThemeItem(m_pCore, look_pages::WithoutExtension(entry.name)));
      ++count;
    }
    AddItem(new CmivoAdvListBoxSimpleTextItem(m_pCore, text::Format(GetString(IDS_TOTAL_THEMES), count)));
  }
  // The theme in use is the selected row.
  const std::u16string& current = look->ColorTheme().Name;
  for (int i = 0; i < GetItemCount(); ++i) {
    auto* item = dynamic_cast<CmivoAdvListBoxColorThemeItem*>(GetItem(i));
    if (item && text::EqualsNoCase(item->Name(), current)) {
      ListBox().SetSelectedItem(item);
      break;
    }
  }
}

CmivoAdvListBoxColorThemeItem::CmivoAdvListBoxColorThemeItem(mivoCore* core, const std::u16string& name)
    : CmivoAdvListBoxItemWithHelp(core) {
  mivoAppearance* look = core->GetAppearance();
  m_theme.Name = name;
  if (look) m_theme.LoadColorTheme(look->ProgramFolder(), name);
  SetHelpText(look_pages::DescriptiveHelp(
      kColorThemeLabels, {m_theme.Description, m_theme.Version, m_theme.Author, m_theme.WWW, m_theme.Generator,
                          m_theme.GeneratorWWW}));
}

void CmivoAdvListBoxColorThemeItem::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  mivoAppearance* look = Look();
  if (!look) return;
  const int S = DisplayScale;
  // The eight colours in a strip at the right, so a theme can be told at a glance.
  const int swatch = 7 * S;
  const int stripWidth = 8 * (swatch + S);
  RECT title = rect;
  if (RectWidth(rect) > 2 * stripWidth) {
    title.right -= stripWidth + 5 * S;
    int x = rect.right - stripWidth;
    const int y = (rect.top + rect.bottom - swatch) / 2;
    HGDIOBJ oldPen = SelectObject(dc, look->ThemePen4);
    for (int n = 1; n <= 8; ++n) {
      HBRUSH brush = CreateSolidBrush(m_theme.GetColor(n));
      HGDIOBJ oldBrush = SelectObject(dc, brush);
      Rectangle(dc, x, y, x + swatch, y + swatch);
      SelectObject(dc, oldBrush);
      DeleteObject(brush);
      x += swatch + S;
    }
    SelectObject(dc, oldPen);
  }
  DrawRowTitle(*look, dc, m_theme.Name, title, false);
}

bool CmivoAdvListBoxColorThemeItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxItemWithHelp::OnTap(flags, x, y)) return true;
  mivoAppearance* look = Look();
  if (!look) return true;
  // The cards' corners are drawn in the old colours until rebuilt.
  DropAdvListBoxCardCorners();
  look->SetColorTheme(m_theme.Name);
  if (CmivoAdvListBox* list = GetListBox()) list->SetSelectedItem(this);
  RepaintEverything(m_pCore);
  return true;
}

void CmivoAdvListBoxColorThemeItem::Describe(mivoRowText* out) const {
  CmivoAdvListBoxItemWithHelp::Describe(out);
  out->text = m_theme.Name;
}

// ---- Wallpaper themes -----------------------------------------------------------------

CmivoAdvWallpaperThemesPage::CmivoAdvWallpaperThemesPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  m_title = GetString(IDS_WALLPAPER_THEMES);
}

std::u16string CmivoAdvWallpaperThemesPage::GetTitle(int, int) { return GetString(IDS_WALLPAPER_THEMES); }

void CmivoAdvWallpaperThemesPage::Fill() {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (m_filled || !look) return;
  m_filled = true;
  int count = 0;
  for (const auto& entry : look_pages::FindEntries(look->ProgramFolder() + u"Wallpapers\\*.*")) {
    if (!entry.folder) continue;
    AddItem(new CmivoAdvListBoxWallpaperThemeItem(m_pCore, entry.name));
    ++count;
  }
  AddItem(new CmivoAdvListBoxSimpleTextItem(m_pCore, text::Format(GetString(IDS_TOTAL_WALLPAPER_THEMES), count)));
}

LRESULT CmivoAdvWallpaperThemesPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    const LRESULT result = CmivoAdvListBoxPage::WindowProc(message, wParam, lParam);
    if (result != -1) Fill();
    return result;
  }
  return CmivoAdvListBoxPage::WindowProc(message, wParam, lParam);
}

void CmivoAdvWallpaperThemesPage::OnPageShown() {
  Fill();
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  for (int i = 0; i < GetItemCount(); ++i) {
    auto* item = dynamic_cast<CmivoAdvListBoxWallpaperThemeItem*>(GetItem(i));
    if (item && text::EqualsNoCase(item->Name(), look->WallpaperTheme().Name)) {
      ListBox().SetSelectedItem(item);
      break;
    }
  }
}

CmivoAdvListBoxWallpaperThemeItem::CmivoAdvListBoxWallpaperThemeItem(mivoCore* core, const std::u16string& name)
    : CmivoAdvListBoxItemWithHelp(core), m_name(name) {
  mivoAppearance* look = core->GetAppearance();
  mivoWallpaperTheme theme;
  if (look) theme.LoadWallpaperTheme(look->ProgramFolder(), name);
  SetHelpText(look_pages::DescriptiveHelp(kWallpaperThemeLabels, {theme.Description, theme.Version, theme.Author,
                                                                   theme.WWW, theme.Generator, theme.GeneratorWWW}));
}

void CmivoAdvListBoxWallpaperThemeItem::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  if (mivoAppearance* look = Look()) DrawRowTitle(*look, dc, m_name, rect, false);
}

bool CmivoAdvListBoxWallpaperThemeItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxItemWithHelp::OnTap(flags, x, y)) return true;
  mivoCore* core = m_pCore;
  mivoAppearance* look = Look();
  if (!look) return true;
  // Copies: the question's loop may outlast this row.
  const std::u16string name = m_name;
  const std::u16string question = text::Format(GetString(IDS_WOULD_YOU_LIKE_TO_CHANGE_WALLPAPER), name);
  if (!core->AskYesNo(question, GetString(IDS_WALLPAPER))) return true;
  // The user's own pictures give way to the theme's, landscape first.
  const int desktops = static_cast<int>(std::clamp<DWORD>(core->Settings().GetDesktopsCount(), 1, 32));
  for (int d = 1; d <= desktops; ++d) look->ResetDesktopWallpaper(d, true);
  for (int d = 1; d <= desktops; ++d) look->ResetDesktopWallpaper(d, false);
  look->WallpaperTheme().LoadWallpaperTheme(look->ProgramFolder(), name);
  look->Settings().SetWallpaperTheme(name);
  core->ShowMessage(GetString(IDS_WALLPAPER_THEME_CHANGED), GetString(IDS_WALLPAPER));
  return true;
}

void CmivoAdvListBoxWallpaperThemeItem::Describe(mivoRowText* out) const {
  CmivoAdvListBoxItemWithHelp::Describe(out);
  out->text = m_name;
}
