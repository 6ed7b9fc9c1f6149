#include "desktop/actions_history_gadget.h"

#include "actions/action.h"
#include "core/core.h"
#include "look/appearance.h"
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
  CmivoGadget::Paint(dc);
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
