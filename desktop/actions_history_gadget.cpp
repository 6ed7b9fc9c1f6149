#include "desktop/actions_history_gadget.h"

#include "actions/action.h"
#include "core/core.h"
#include "desktop/gadget_catalogue.h"
#include "look/appearance.h"
#include "look/fitted_text.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"

namespace {

// The grid, times DisplayScale.
constexpr int kColumnStep = 80;
constexpr int kRowStep = 90;
constexpr int kTileWidth = 70;
constexpr int kTileHeight = 80;
constexpr int kMinWidth = 80;
constexpr int kMinHeight = 100;

}  // namespace

CmivoActionsHistoryGadget::CmivoActionsHistoryGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId)
    : CmivoGadget(core, page, typeId) {
  m_minWidth = kMinWidth * DisplayScale;
  m_minHeight = kMinHeight * DisplayScale;
}

CmivoActionsHistoryGadget::~CmivoActionsHistoryGadget() {
  if (m_listening && m_pCore->GetActions()) m_pCore->GetActions()->RemoveListener(this);
}

void CmivoActionsHistoryGadget::OnActivate() {
  if (mivoActions* actions = m_pCore->GetActions(); actions && !m_listening) {
    actions->AddListener(this);
    m_listening = true;
  }
}

void CmivoActionsHistoryGadget::OnDeactivate() {
  if (mivoActions* actions = m_pCore->GetActions(); actions && m_listening) actions->RemoveListener(this);
  m_listening = false;
}

void CmivoActionsHistoryGadget::LayoutTiles() {
  m_tiles.clear();
  mivoActions* actions = m_pCore->GetActions();
  if (!actions) return;
  const int S = DisplayScale;
  const int columns = RectWidth(m_rect) / (kColumnStep * S);
  if (columns <= 0) return;
  mivoActionsHistory& history = actions->History();
  int n = 0;
  for (std::size_t i = 0; i < history.Count(); ++i) {
    mivoAction* action = history.Entry(i)->Action();
    if (!action || !AcceptsAction(*action)) continue;
    const int left = m_rect.left + (n % columns) * kColumnStep * S;
    const int top = m_rect.top + (n / columns) * kRowStep * S;
    const RECT tile = MakeRect(left, top, left + kTileWidth * S, top + kTileHeight * S);
    // A tile whose bottom-right corner lies outside the gadget ends the grid.
    const POINT corner{tile.right, tile.bottom};
    if (!PtInRect(&m_rect, corner)) break;
    m_tiles.push_back(Tile{tile, action});
    ++n;
  }
}

void CmivoActionsHistoryGadget::Paint(HDC dc) {
  LayoutTiles();
  for (const Tile& tile : m_tiles) {
    const int saved = SaveDC(dc);
    tile.action->Draw(dc, tile.rect, kActionStyleTile, kSkinDrawDirect);
    RestoreDC(dc, saved);
  }
  if (m_tiles.empty()) DrawEmpty(dc);
  CmivoGadget::Paint(dc);
}

std::u16string CmivoActionsHistoryGadget::KindName() const {
  for (const mivoCatalogueEntry& entry : gadget_catalogue::Entries()) {
    if (entry.typeId == m_typeId) return entry.Name();
  }
  return {};
}

void CmivoActionsHistoryGadget::DrawEmpty(HDC dc) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  // An empty grid says what it would show, and that there is nothing yet,
  // rather than leaving a blank where the user put a gadget.
  const int S = DisplayScale;
  const RECT box = MakeRect(m_rect.left + 5 * S, m_rect.top + 5 * S, m_rect.right - 5 * S, m_rect.bottom - 5 * S);
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look->TextColor);
  const mivoFittedText name = FitText(*look, dc, KindName(), look->SubtitleFont, RectWidth(box), RectHeight(box) / 2);
  const mivoFittedText none =
      FitText(*look, dc, GetString(IDS_NONE), look->SmallFont, RectWidth(box), RectHeight(box) / 2);
  const int gap = 4 * S;
  int top = box.top + (RectHeight(box) - name.Height() - gap - none.Height()) / 2;
  top += DrawFittedText(*look, dc, name, MakeRect(box.left, top, box.right, box.bottom), DT_CENTER);
  DrawFittedText(*look, dc, none, MakeRect(box.left, top + gap, box.right, box.bottom), DT_CENTER);
  RestoreDC(dc, saved);
}

void CmivoActionsHistoryGadget::CollectImages(std::vector<mivoSkinImage*>& images) {
  LayoutTiles();
  for (const Tile& tile : m_tiles) tile.action->CollectImages(images);
}

std::u16string CmivoActionsHistoryGadget::GetDumpText() {
  LayoutTiles();
  if (m_tiles.empty()) return KindName() + u": " + GetString(IDS_NONE);
  std::u16string out;
  for (const Tile& tile : m_tiles) {
    if (!out.empty()) out += u", ";
    out += tile.action->GetTitle();
  }
  return out;
}

void CmivoActionsHistoryGadget::OnTap(UINT flags, POINT point) {
  if (IsDesignMode()) {
    CmivoGadget::OnTap(flags, point);
    return;
  }
  // The history may have changed since the last paint: the tiles as they stand now.
  LayoutTiles();
  for (const Tile& tile : m_tiles) {
    if (!PtInRect(&tile.rect, point)) continue;
    m_pCore->RunAction(tile.action);
    Invalidate();
    return;
  }
  CmivoGadget::OnTap(flags, point);
}
