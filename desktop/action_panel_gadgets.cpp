#include "desktop/action_panel_gadgets.h"

#include "core/core.h"
#include "core/page_ids.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"

namespace {

// The favourites the panel looks through for its action.
constexpr std::size_t kFavoritePositions = 9;

}  // namespace

// ---- What both panels do -----------------------------------------------------------------------

CmivoActionDetailsGadget::CmivoActionDetailsGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId,
                                                   const char16_t* image, int pageId, int emptyTextId)
    : CmivoDetailsPanelGadget(core, page, typeId), m_image(image), m_pageId(pageId), m_emptyTextId(emptyTextId) {}

CmivoActionDetailsGadget::~CmivoActionDetailsGadget() { StopListening(); }

void CmivoActionDetailsGadget::OnActivate() {
  mivoActions* actions = m_pCore->GetActions();
  if (actions && !m_listening) {
    actions->AddListener(this);
    m_listening = true;
  }
}

void CmivoActionDetailsGadget::OnDeactivate() { StopListening(); }

void CmivoActionDetailsGadget::StopListening() {
  if (mivoActions* actions = m_pCore->GetActions(); actions && m_listening) actions->RemoveListener(this);
  m_listening = false;
}

mivoSkinImage* CmivoActionDetailsGadget::Image() const {
  mivoAppearance* look = m_pCore->GetAppearance();
  return look ? look->GetSkinImage(m_image) : nullptr;
}

void CmivoActionDetailsGadget::DrawIcon(HDC dc, const RECT& rect) { DrawCentredImage(dc, Image(), rect); }

void CmivoActionDetailsGadget::DrawDetails(HDC dc, const RECT& rect) {
  if (mivoAction* action = ShownAction()) {
    // The action as a list row.
    const int saved = SaveDC(dc);
    action->Draw(dc, rect, kActionStyleRow, kSkinDrawDirect);
    RestoreDC(dc, saved);
  } else {
    DrawNote(dc, rect, GetString(m_emptyTextId));
  }
}

void CmivoActionDetailsGadget::OnIconTap(POINT) { m_pCore->ShowPageById(m_pageId); }

void CmivoActionDetailsGadget::OnDetailsTap(POINT) {
  // The list may have changed since the last paint (running an action reorders the history): the
  // action is taken as it stands now.
  if (mivoAction* action = ShownAction())
    m_pCore->RunAction(action);
  else
    m_pCore->ShowPageById(m_pageId);
}

void CmivoActionDetailsGadget::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoSkinImage* image = Image()) images.push_back(image);
}

std::u16string CmivoActionDetailsGadget::GetDumpText() {
  mivoAction* action = ShownAction();
  return action ? action->GetTitle() : GetString(m_emptyTextId);
}

// ---- The favourites panel ----------------------------------------------------------------------

CmivoFavoritesDetailsGadget::CmivoFavoritesDetailsGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoActionDetailsGadget(core, page, 11, u"gadget_favorites", kFavoritesPage, IDS_NO_FAVORITES) {}

mivoAction* CmivoFavoritesDetailsGadget::FirstFavorite() const {
  mivoActions* actions = m_pCore->GetActions();
  if (!actions) return nullptr;
  for (std::size_t i = 0; i < kFavoritePositions; ++i) {
    if (mivoAction* action = actions->Favorites().At(i)) return action;
  }
  return nullptr;
}

// ---- The actions history panel ----------------------------------------------------------------

CmivoActionsHistoryDetailsGadget::CmivoActionsHistoryDetailsGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoActionDetailsGadget(core, page, 12, u"actions_history_page", kActionsHistoryPage,
                               IDS_ACTIONS_HISTORY_EMPTY) {}

mivoAction* CmivoActionsHistoryDetailsGadget::MostUsed() const {
  mivoActions* actions = m_pCore->GetActions();
  mivoHistoryEntry* first = actions ? actions->History().Entry(0) : nullptr;
  return first ? first->Action() : nullptr;
}
