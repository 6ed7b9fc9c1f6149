#include "ui/desktop_icon_chooser.h"

#include "core/core.h"
#include "core/settings.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/skin.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "ui/adv_list_box.h"

namespace {

constexpr int kIconSide = 48;            // times DisplayScale
}  // namespace

CmivoAdvChooseDesktopIcon::CmivoAdvChooseDesktopIcon(mivoCore* core) : CmivoAdvListBoxPage(core) {
  m_title = GetString(IDS_CHANGE_DESKTOP_ICON);
}

CmivoAdvChooseDesktopIcon::~CmivoAdvChooseDesktopIcon() { Clear(true); }

std::u16string CmivoAdvChooseDesktopIcon::GetTitle(int, int) { return GetString(IDS_CHANGE_DESKTOP_ICON); }

void CmivoAdvChooseDesktopIcon::RemoveRows() {
  // A row's own tap may be what hides the page: the rows go once it returned.
  std::vector<CmivoAdvListBoxItem*> rows;
  for (int i = 0; i < GetItemCount(); ++i) rows.push_back(GetItem(i));
  Clear(false);
  if (rows.empty()) return;
  m_pCore->DeleteLater([rows] {
    for (CmivoAdvListBoxItem* row : rows) delete row;
  });
}

void CmivoAdvChooseDesktopIcon::OnPageShown() {
  RemoveRows();
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int side = kIconSide * DisplayScale;
  for (const auto& image : look->GetSkin()->Images) {
    if (image->File.empty()) continue;  // no picture: nothing to decode
    const SIZE size = look->GetSkinImageSize(image.get());
    if (size.cx == side && size.cy == side) AddItem(new CmivoAdvListBoxDesktopIconItem(m_pCore, this, image.get()));
  }
  InvalidateList();
}

void CmivoAdvChooseDesktopIcon::OnPageHidden() { RemoveRows(); }

void CmivoAdvChooseDesktopIcon::ChooseIcon(const std::u16string& imageName) {
  m_pCore->Settings().SetDesktopIcon(m_desktop, !m_pCore->IsPortrait(), imageName);
  if (m_onChanged) m_onChanged();
  GoBack();
}

CmivoAdvListBoxDesktopIconItem::CmivoAdvListBoxDesktopIconItem(mivoCore* core, CmivoAdvChooseDesktopIcon* page,
                                                               mivoSkinImage* image)
    : CmivoAdvListBoxItem(core), m_pPage(page), m_pImage(image) {}

int CmivoAdvListBoxDesktopIconItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  const int used = CmivoAdvListBoxItem::Draw(listBox, dc, rect);
  if (mivoAppearance* look = Look()) {
    const int saved = SaveDC(dc);
    DrawRowImageTitle(*look, dc, m_pImage, SkinImageDisplayName(m_pImage->Name), *rect,
                      IsSelected() ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
    RestoreDC(dc, saved);
  }
  return used;
}

bool CmivoAdvListBoxDesktopIconItem::OnTap(UINT, int, int) {
  if (m_pPage) m_pPage->ChooseIcon(m_pImage->Name);
  return true;
}

void CmivoAdvListBoxDesktopIconItem::Describe(mivoRowText* out) const {
  out->text = SkinImageDisplayName(m_pImage->Name);
  out->sub = m_pImage->Name;
}
