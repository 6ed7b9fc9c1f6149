#include "desktop/action_gadget.h"

#include <cstdint>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "core/core.h"
#include "core/page_ids.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "look/appearance.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"

namespace {

// A tile is a square of 80·S: the 48·S picture at its top and the caption's
// band of 31·S under it, wide enough for a word like "Connections" on one
// line (in 70·S the caption would run over the picture and break words).
constexpr int kTileSide = 80;  // times DisplayScale
constexpr int kIconSide = 35;
constexpr int kDetailsHeight = 48;

// The menu entries of the three styles.
constexpr DWORD kStyleCommandFirst = 2040;
constexpr int kStyleTexts[3] = {IDS_ICON_WITH_TEXT, IDS_ICON_ONLY, IDS_ICON_DETAILS_VIEW};
constexpr int kStyleHelps[3] = {IDS_ICON_WITH_TEXT_HELP, IDS_ICON_ONLY_HELP, IDS_ICON_DETAILS_VIEW_HELP};

}  // namespace

// ---- CmivoActionGadget ---------------------------------------------------------------

CmivoActionGadget::CmivoActionGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId)
    : CmivoGadget(core, page, typeId) {}

CmivoActionGadget::~CmivoActionGadget() = default;

void CmivoActionGadget::SetAction(std::unique_ptr<mivoAction> action) { m_action.Reset(std::move(action)); }

RECT CmivoActionGadget::StyleRect() const {
  const int S = DisplayScale;
  const int l = m_rect.left, t = m_rect.top;
  switch (m_style) {
    case kActionGadgetIcon: return MakeRect(l, t, l + kIconSide * S, t + kIconSide * S);
    case kActionGadgetDetails: {
      // A row across the page's whole width.
      RECT page = MakeRect(m_rect.left, 0, m_rect.right, 0);
      if (m_pDesktop && m_pDesktop->m_hWnd) m_pDesktop->GetClientRect(&page);
      return MakeRect(page.left, t, page.right, t + kDetailsHeight * S);
    }
    default: return MakeRect(l, t, l + kTileSide * S, t + kTileSide * S);
  }
}

void CmivoActionGadget::SetDisplayStyle(int style) {
  if (style < kActionGadgetTile || style > kActionGadgetDetails) return;
  Invalidate();
  m_style = style;
  SetRect(StyleRect(), true);
  Invalidate();
}

void CmivoActionGadget::Paint(HDC dc) {
  // The style decides the gadget's size; the rectangle follows what is drawn.
  SetRect(StyleRect(), true);
  if (m_action) {
    const int saved = SaveDC(dc);
    const int style = m_style == kActionGadgetIcon      ? kActionStyleIcon
                      : m_style == kActionGadgetDetails ? kActionStyleRow
                                                        : kActionStyleTile;
    m_action->Draw(dc, StyleRect(), style, kSkinDrawDirect);
    RestoreDC(dc, saved);
  }
  CmivoGadget::Paint(dc);
}

void CmivoActionGadget::OnTap(UINT flags, POINT point) {
  if (IsDesignMode()) {
    CmivoGadget::OnTap(flags, point);
    return;
  }
  // Nothing to start: the tap is the desktop's general one.
  if (!m_action) {
    CmivoGadget::OnTap(flags, point);
    return;
  }
  m_pCore->RunAction(m_action.get());
}

void CmivoActionGadget::AddContextMenuItems() {
  if (!IsDesignMode() || !m_pDesktop) return;
  for (int i = 0; i < 3; ++i) {
    mivoContextMenuEntry entry;
    entry.CommandId = kStyleCommandFirst + static_cast<DWORD>(i);
    entry.HelpText = GetString(kStyleHelps[i]);
    entry.Close = true;
    m_pDesktop->AddMenuEntry(entry);
  }
}

std::u16string CmivoActionGadget::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  if (entry.CommandId >= kStyleCommandFirst && entry.CommandId < kStyleCommandFirst + 3) {
    return GetString(kStyleTexts[entry.CommandId - kStyleCommandFirst]);
  }
  return CmivoGadget::GetContextMenuItemText(entry);
}

void CmivoActionGadget::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  if (entry.CommandId >= kStyleCommandFirst && entry.CommandId < kStyleCommandFirst + 3) {
    SetDisplayStyle(static_cast<int>(entry.CommandId - kStyleCommandFirst));
  }
}

void CmivoActionGadget::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (m_action) m_action->CollectImages(images);
}

std::u16string CmivoActionGadget::GetDumpText() { return m_action ? m_action->GetTitle() : std::u16string(); }

// ---- Stored fields ------------------------------------------------------------------------

void CmivoActionGadget::LoadProperties(mivoArchiveReader& in) {
  std::uint32_t style = 0;
  std::uint32_t typeId = 0;
  if (!in.ReadU32(&style) || !in.ReadU32(&typeId)) return;
  m_style = style <= kActionGadgetDetails ? static_cast<int>(style) : kActionGadgetTile;
  mivoActions* actions = m_pCore->GetActions();
  std::unique_ptr<mivoAction> action = actions ? actions->CreateAction(typeId) : nullptr;
  if (!action) {
    // The action's fields have no length: without its kind they cannot be
    // passed over, and whatever follows would be misread. The record is
    // taken as cut short here, so reading stops with what came before.
    in.Skip(in.Remaining() + 1);
    return;
  }
  if (!action->LoadRecord(in)) return;
  m_action.Reset(std::move(action));
}

void CmivoActionGadget::SaveProperties(mivoArchiveWriter& out) {
  out.WriteU32(static_cast<std::uint32_t>(m_style));
  if (m_action) {
    m_action->SaveRecord(out);
    return;
  }
  // A gadget without an action still writes a record that reads back: one
  // that opens the main menu, as a tap on it does.
  mivoActionShowPage(m_pCore, 0, 0, 0).SaveRecord(out);
}

void CmivoActionGadget::ExchangeProperties(mivoGadgetProperties& properties) {
  properties.Choice("style", m_style, {"tile", "icon", "details"});
  properties.Action("action", m_action);
}

// ---- CmivoShowPageGadget ----------------------------------------------------------------

void CmivoShowPageGadget::OnTap(UINT flags, POINT point) {
  if (IsDesignMode()) return;
  m_pCore->ShowPageById(kFavoritesPage);
}
