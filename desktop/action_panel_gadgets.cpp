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

constexpr char16_t kFavoritesImage[] = u"gadget_favorites";
constexpr char16_t kHistoryImage[] = u"actions_history_page";

// Registers the listener with the actions store once; false without a store.
bool Listen(mivoCore* core, mivoActionsListener* listener, bool* listening) {
  mivoActions* actions = core->GetActions();
  if (actions && !*listening) {
    actions->AddListener(listener);
    *listening = true;
  }
  return *listening;
}

void StopListening(mivoCore* core, mivoActionsListener* listener, bool* listening) {
  if (mivoActions* actions = core->GetActions(); actions && *listening) actions->RemoveListener(listener);
  *listening = false;
}

// An action as a list row in the details part.
void DrawActionRow(HDC dc, mivoAction* action, const RECT& rect) {
  const int saved = SaveDC(dc);
  action->Draw(dc, rect, kActionStyleRow, kSkinDrawDirect);
  RestoreDC(dc, saved);
}

mivoSkinImage* Image(mivoCore* core, const char16_t* name) {
  mivoAppearance* look = core->GetAppearance();
  return look ? look->GetSkinImage(name) : nullptr;
}

}  // namespace

// ---- The favourites panel ----------------------------------------------------------------------

CmivoFavoritesDetailsGadget::CmivoFavoritesDetailsGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoDetailsPanelGadget(core, page, 11) {}

CmivoFavoritesDetailsGadget::~CmivoFavoritesDetailsGadget() { StopListening(m_pCore, this, &m_listening); }

void CmivoFavoritesDetailsGadget::OnActivate() { Listen(m_pCore, this, &m_listening); }

void CmivoFavoritesDetailsGadget::OnDeactivate() { StopListening(m_pCore, this, &m_listening); }

mivoAction* CmivoFavoritesDetailsGadget::FirstFavorite() const {
  mivoActions* actions = m_pCore->GetActions();
  if (!actions) return nullptr;
  for (std::size_t i = 0; i < kFavoritePositions; ++i) {
    if (mivoAction* action = actions->Favorites().At(i)) return action;
  }
  return nullptr;
}

void CmivoFavoritesDetailsGadget::DrawIcon(HDC dc, const RECT& rect) {
  DrawCentredImage(dc, Image(m_pCore, kFavoritesImage), rect);
}

void CmivoFavoritesDetailsGadget::DrawDetails(HDC dc, const RECT& rect) {
  m_pShown = FirstFavorite();
  if (m_pShown)
    DrawActionRow(dc, m_pShown, rect);
  else
    DrawNote(dc, rect, GetString(IDS_NO_FAVORITES));
}

void CmivoFavoritesDetailsGadget::OnIconTap(POINT) { m_pCore->ShowPageById(kFavoritesPage); }

void CmivoFavoritesDetailsGadget::OnDetailsTap(POINT) {
  // The favourites may have changed since the last paint: the one shown now.
  m_pShown = FirstFavorite();
  if (m_pShown)
    m_pCore->RunAction(m_pShown);
  else
    m_pCore->ShowPageById(kFavoritesPage);
}

void CmivoFavoritesDetailsGadget::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoSkinImage* image = Image(m_pCore, kFavoritesImage)) images.push_back(image);
}

std::u16string CmivoFavoritesDetailsGadget::GetDumpText() {
  mivoAction* action = FirstFavorite();
  return action ? action->GetTitle() : GetString(IDS_NO_FAVORITES);
}

// ---- The actions history panel ----------------------------------------------------------------

CmivoActionsHistoryDetailsGadget::CmivoActionsHistoryDetailsGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoDetailsPanelGadget(core, page, 12) {}

CmivoActionsHistoryDetailsGadget::~CmivoActionsHistoryDetailsGadget() { StopListening(m_pCore, this, &m_listening); }

void CmivoActionsHistoryDetailsGadget::OnActivate() { Listen(m_pCore, this, &m_listening); }

void CmivoActionsHistoryDetailsGadget::OnDeactivate() { StopListening(m_pCore, this, &m_listening); }

mivoAction* CmivoActionsHistoryDetailsGadget::MostUsed() const {
  mivoActions* actions = m_pCore->GetActions();
  mivoHistoryEntry* first = actions ? actions->History().Entry(0) : nullptr;
  return first ? first->Action() : nullptr;
}

void CmivoActionsHistoryDetailsGadget::DrawIcon(HDC dc, const RECT& rect) {
  DrawCentredImage(dc, Image(m_pCore, kHistoryImage), rect);
}

void CmivoActionsHistoryDetailsGadget::DrawDetails(HDC dc, const RECT& rect) {
  m_pShown = MostUsed();
  if (m_pShown)
    DrawActionRow(dc, m_pShown, rect);
  else
    DrawNote(dc, rect, GetString(IDS_ACTIONS_HISTORY_EMPTY));
}

void CmivoActionsHistoryDetailsGadget::OnIconTap(POINT) { m_pCore->ShowPageById(kActionsHistoryPage); }

void CmivoActionsHistoryDetailsGadget::OnDetailsTap(POINT) {
  // Running an action reorders the history: the action is taken as it stands now.
  m_pShown = MostUsed();
  if (m_pShown)
    m_pCore->RunAction(m_pShown);
  else
    m_pCore->ShowPageById(kActionsHistoryPage);
}

void CmivoActionsHistoryDetailsGadget::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoSkinImage* image = Image(m_pCore, kHistoryImage)) images.push_back(image);
}

std::u16string CmivoActionsHistoryDetailsGadget::GetDumpText() {
  mivoAction* action = MostUsed();
  return action ? action->GetTitle() : GetString(IDS_ACTIONS_HISTORY_EMPTY);
}
