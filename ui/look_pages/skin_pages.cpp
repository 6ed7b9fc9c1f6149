#include "ui/look_pages/skin_pages.h"

#include <algorithm>

#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "ui/look_pages/choose_image_page.h"
#include "ui/look_pages/look_page_util.h"
#include "ui/look_pages/look_pages.h"
#include "ui/look_pages/theme_pages.h"

namespace {

// The labels of the skin's description: what each of its six texts is.
const std::array<int, 6> kSkinLabels = {IDS_DESCRIPTION, IDS_VERSION, IDS_AUTHOR,
                                        IDS_WWW, IDS_SKIN_GENERATOR, IDS_GENERATOR_WWW};

// The three entries of the skins settings page.
enum : DWORD_PTR { kEntryColorThemes = 1, kEntryImages = 2, kEntryWallpapers = 3 };

mivoSkinImage* ImageOf(const mivoListElement& element) { return reinterpret_cast<mivoSkinImage*>(element.Data); }

}  // namespace

// ---- Skins settings ----------------------------------------------------------------------

CmivoSkinsSettingsPage::CmivoSkinsSettingsPage(mivoCore* core) : CmivoItemsPageWnd(core) {
  m_title = u"Skins settings";
  // Three captions without pictures read best as rows: the words keep
  // their size and never break inside, whatever the language.
  SetDetailsView();
  AddItem(mivoListElement{.Id = kEntryColorThemes, .Text = GetString(IDS_COLOR_THEMES), .SubText = {}});
  AddItem(mivoListElement{.Id = kEntryImages, .Text = u"Images", .SubText = {}});
  AddItem(mivoListElement{.Id = kEntryWallpapers, .Text = u"Wallpapers", .SubText = {}});
}

void CmivoSkinsSettingsPage::DrawItem(int, const mivoListElement& element, HDC dc, const RECT& rect) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int saved = SaveDC(dc);
  DrawRowTitle(*look, dc, element.Text, rect, false);
  RestoreDC(dc, saved);
}

void CmivoSkinsSettingsPage::OnItemTap(int, const mivoListElement& element) {
  switch (element.Id) {
    case kEntryColorThemes:
      m_pCore->ShowPage(look_pages::ColorThemesPage(m_pCore));
      break;
    case kEntryImages: {
      CmivoSkinItemsPage* page = look_pages::SkinItemsPage(m_pCore);
      m_pCore->ShowPage(page);
      break;
    }
    case kEntryWallpapers:
      m_pCore->ShowPage(look_pages::WallpaperThemesPage(m_pCore));
      break;
    default:
      break;
  }
}

// ---- Skin images ---------------------------------------------------------------------------

int CmivoSkinItemsPageComparer::Compare(const mivoListElement& a, const mivoListElement& b) {
  return text::CompareNoCase(a.Text, b.Text);
}

CmivoSkinItemsPage::CmivoSkinItemsPage(mivoCore* core) : CmivoItemsPageWnd(core) {
  m_title = u"Skin images";
  List().SetComparer(&m_comparer);
}

CmivoSkinItemsPage::~CmivoSkinItemsPage() {
  List().SetComparer(nullptr);
  ClearItems();
}

void CmivoSkinItemsPage::SetImages(std::vector<mivoSkinImage*> images) {
  m_images = std::move(images);
  m_filtered = true;
}

void CmivoSkinItemsPage::OnPageShown() {
  ClearItems();
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  std::vector<mivoSkinImage*> images = m_images;
  if (!m_filtered) {
    for (const auto& image : look->GetSkin()->Images) images.push_back(image.get());
  }
  for (mivoSkinImage* image : images) {
    AddItem(mivoListElement{.Data = reinterpret_cast<DWORD_PTR>(image),
                            .Text = SkinImageDisplayName(image->Name),
                            .SubText = {}});
  }
}

void CmivoSkinItemsPage::DrawItem(int, const mivoListElement& element, HDC dc, const RECT& rect) {
  mivoAppearance* look = m_pCore->GetAppearance();
  mivoSkinImage* image = ImageOf(element);
  if (!look || !image) return;
  const int S = DisplayScale;
  // The thumbnail over the caption band.
  const RECT box = MakeRect(rect.left + 2 * S, rect.top, rect.right - 2 * S, rect.bottom - 31 * S);
  if (RectWidth(box) > 0 && RectHeight(box) > 0) {
    if (HBITMAP thumb = look->GetSkinImageThumbnail(image, dc, SIZE{RectWidth(box), RectHeight(box)})) {
      // Blended by the picture's own alpha, so a round icon shows on the
      // cell and not in a black square.
      BITMAP info{};
      GetObjectW(thumb, sizeof info, &info);
      const int x = box.left + (RectWidth(box) - info.bmWidth) / 2;
      const int y = box.top + (RectHeight(box) - info.bmHeight) / 2;
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(source, thumb);
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      AlphaBlend(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth, info.bmHeight, blend);
      SelectObject(source, old);
      DeleteDC(source);
    }
  }
  const int saved = SaveDC(dc);
  DrawGridCellImage(*look, dc, nullptr, element.Text, rect, kSkinDrawDirect);
  RestoreDC(dc, saved);
}

void CmivoSkinItemsPage::OnItemTap(int, const mivoListElement& element) {
  if (mivoSkinImage* image = ImageOf(element)) look_pages::ChooseFileForImage(m_pCore, image);
}

// ---- Installed skins ---------------------------------------------------------------------

CmivoAdvSkinsPage::CmivoAdvSkinsPage(mivoCore* core) : CmivoAdvListBoxPage(core) { m_title = GetString(IDS_SKINS); }

std::u16string CmivoAdvSkinsPage::GetTitle(int, int) { return GetString(IDS_SKINS); }

void CmivoAdvSkinsPage::OnPageShown() {
  if (m_filled || !m_pCore) return;
  m_filled = true;
  int count = 0;
  for (const auto& entry : look_pages::FindEntries(m_pCore->GetProgramFolder() + u"Skins\\*.*")) {
    if (!entry.folder) continue;
    AddItem(new CmivoAdvListBoxSkinItem(m_pCore, entry.name));
    ++count;
  }
  AddItem(new CmivoAdvListBoxSimpleTextItem(m_pCore, text::Format(GetString(IDS_TOTAL_SKINS), count)));
}

CmivoAdvListBoxSkinItem::CmivoAdvListBoxSkinItem(mivoCore* core, const std::u16string& name)
    : CmivoAdvListBoxTextWithHelp(core, name) {
  mivoSkin skin(core->GetProgramFolder());
  skin.LoadSkin(name);
  SetHelpText(look_pages::DescriptiveHelp(
      kSkinLabels, {skin.Description, skin.Version, skin.Author, skin.WWW, skin.Generator, skin.GeneratorWWW}));
}

bool CmivoAdvListBoxSkinItem::OnTap(UINT flags, int x, int y) {
  // Skins are not switched from here: a tap only opens the help.
  if (CmivoAdvListBoxTextWithHelp::OnTap(flags, x, y)) return true;
  SetExpanded(!IsExpanded());
  return true;
}
