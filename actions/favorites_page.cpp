#include "actions/favorites_page.h"

#include <cstring>

#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"

CmivoFavoritesPage::CmivoFavoritesPage(mivoCore* core)
    : CmivoItemsPageWnd(core), CmivoContextMenu(core) {
  SetTitle(GetString(IDS_FAVORITES));
  m_pPageIcon = GetPageIcon(0, 0);
  if (m_pCore->GetActions()) m_pCore->GetActions()->AddListener(this);
}

CmivoFavoritesPage::~CmivoFavoritesPage() {
  if (m_pCore->GetActions()) m_pCore->GetActions()->RemoveListener(this);
  ClearItems();
}

mivoFavorites* CmivoFavoritesPage::Favorites() const {
  return m_pCore->GetActions() ? &m_pCore->GetActions()->Favorites() : nullptr;
}

std::u16string CmivoFavoritesPage::GetTitle(int, int) { return GetString(IDS_FAVORITES); }

mivoSkinImage* CmivoFavoritesPage::GetPageIcon(int, int) {
  return m_pCore->GetActions() ? m_pCore->GetActions()->SkinImage(u"favorites_page") : nullptr;
}

void CmivoFavoritesPage::ChoosePositionFor(std::unique_ptr<mivoAction> action) {
  m_pending = std::move(action);
  SetTitle(GetString(m_pending ? IDS_CHOOSE_POSITION : IDS_FAVORITES));
  Refill();
}

void CmivoFavoritesPage::OnPageShown() {
  m_shown = true;
  Refill();
}

void CmivoFavoritesPage::OnPageHidden() {
  m_shown = false;
  // Leaving without choosing (Back) drops the pending action.
  if (m_pending) ChoosePositionFor(nullptr);
}

void CmivoFavoritesPage::OnFavoritesChanged() {
  if (m_shown) Refill();
}

void CmivoFavoritesPage::Refill() {
  ClearItems();
  mivoFavorites* favorites = Favorites();
  if (!favorites) return;
  bool any = false;
  for (std::size_t i = 0; i < favorites->Count(); ++i) any = any || favorites->At(i);
  List().SetEmptyText(GetString(IDS_NO_FAVORITES));
  // Nothing to run: the empty text says so. Choosing always shows every position.
  if (!any && !m_pending) return;
  for (std::size_t i = 0; i < favorites->Count(); ++i) {
    mivoListElement element;
    element.Id = i;
    AddItem(element);
  }
}

void CmivoFavoritesPage::DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) {
  mivoFavorites* favorites = Favorites();
  mivoAction* action = favorites ? favorites->At(element.Id) : nullptr;
  const int mode = index == List().GetCursor() ? kSkinDrawOverColor7 : kSkinDrawOverColor5;
  if (action) {
    action->Draw(dc, rect, kActionStyleTile, mode);
    return;
  }
  // An empty position shows its number while a position is being chosen.
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!m_pending || !look) return;
  const std::u16string number = text::FromInt(static_cast<long long>(element.Id) + 1);
  const int saved = SaveDC(dc);
  SelectObject(dc, look->TitleFont);
  SetTextColor(dc, look->SubTextColor);
  SetBkMode(dc, TRANSPARENT);
  RECT box = rect;
  DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RestoreDC(dc, saved);
}

void CmivoFavoritesPage::OnItemTap(int index, const mivoListElement& element) {
  if (!m_pCore->GetActions()) return;
  if (m_pending) {
    // The position receives the action; back to where "Add to favorites" was chosen.
    m_pCore->GetActions()->SetFavorite(element.Id, std::move(m_pending));
    ChoosePositionFor(nullptr);
    m_pCore->PopPage();
    CmivoPageWnd* top = m_pCore->TopPage();
    if (top && std::strcmp(top->PageClassName(), "CmivoRightClickPage") == 0) m_pCore->PopPage();
    return;
  }
  if (mivoAction* action = Favorites()->At(element.Id)) m_pCore->RunAction(action);
}

void CmivoFavoritesPage::OnItemHold(int index, const mivoListElement& element) {
  mivoAction* action = Favorites() ? Favorites()->At(element.Id) : nullptr;
  if (!action || m_pending) return;
  ClearMenu();
  AddMenuHandler(std::make_unique<CmivoContextMenuActionHandler>(m_pCore, *action));
  ShowMenu();
}

std::u16string CmivoFavoritesPage::DescribeItem(int index, const mivoListElement& element) {
  mivoAction* action = Favorites() ? Favorites()->At(element.Id) : nullptr;
  return action ? action->GetTitle() : std::u16string();
}

void CmivoFavoritesPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  if (GetItemCount() == 0) j.String(List().GetEmptyText());
  j.EndArray();
}
