#include "ui/right_click_page.h"

#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "ui/adv_list_box.h"
#include "ui/context_menu.h"

namespace {

}  // namespace

// ---- The page ----------------------------------------------------------------------

CmivoRightClickPage::CmivoRightClickPage(mivoCore* core, CmivoContextMenu* owner)
    : CmivoAdvListBoxPage(core), m_pOwner(owner) {
  m_title = GetString(IDS_CONTEXT_MENU);
}

std::u16string CmivoRightClickPage::GetTitle(int, int) { return GetString(IDS_CONTEXT_MENU); }

void CmivoRightClickPage::AddSection(const std::u16string& caption) {
  AddItem(new CmivoAdvListBoxContextMenuDividerItem(m_pCore, caption));
}

void CmivoRightClickPage::AddEntry(const mivoContextMenuEntry& entry) {
  AddItem(new CmivoAdvListBoxContextMenuItem(m_pCore, this, entry));
}

void CmivoRightClickPage::ClearRows() { Clear(true); }

// ---- An entry's row -------------------------------------------------------------------

CmivoAdvListBoxContextMenuItem::CmivoAdvListBoxContextMenuItem(mivoCore* core, CmivoRightClickPage* page,
                                                               const mivoContextMenuEntry& entry)
    : CmivoAdvListBoxItemWithHelp(core), m_pPage(page), m_entry(entry) {
  SetHelpText(entry.HelpText);
}

void CmivoAdvListBoxContextMenuItem::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  if (CmivoContextMenu* owner = m_pPage ? m_pPage->Owner() : nullptr) {
    owner->DrawMenuItem(dc, rect, m_entry, IsSelected());
  }
}

bool CmivoAdvListBoxContextMenuItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxItemWithHelp::OnTap(flags, x, y)) return true;
  CmivoRightClickPage* page = m_pPage;
  CmivoContextMenu* owner = page ? page->Owner() : nullptr;
  if (!owner) return true;
  // The command may rebuild the menu and so delete this row: only copies
  // are used from here on.
  const mivoContextMenuEntry entry = m_entry;
  mivoCore* core = m_pCore;
  owner->OnMenuCommand(entry);
  // Back to where the menu was opened from, unless the command went elsewhere.
  if (entry.Close && core->TopPage() == page) core->PopPage();
  return true;
}

void CmivoAdvListBoxContextMenuItem::Describe(mivoRowText* out) const {
  CmivoAdvListBoxItemWithHelp::Describe(out);
  if (CmivoContextMenu* owner = m_pPage ? m_pPage->Owner() : nullptr) out->text = owner->GetMenuItemText(m_entry);
}

// ---- A section caption -----------------------------------------------------------------

CmivoAdvListBoxContextMenuDividerItem::CmivoAdvListBoxContextMenuDividerItem(mivoCore* core,
                                                                             const std::u16string& caption)
    : CmivoAdvListBoxItem(core), m_caption(caption) {
  m_height = 25 * DisplayScale;
  m_selectable = false;
}

int CmivoAdvListBoxContextMenuDividerItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  mivoAppearance* look = Look();
  if (!look) return m_height;
  const int S = DisplayScale;
  const RECT r = *rect;
  if (look->BackgroundBrush) FillRect(dc, &r, look->BackgroundBrush);
  const int saved = SaveDC(dc);
  // The caption at the left, a rule in the card colour from its end to the right edge.
  SelectObject(dc, look->SubtitleFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look->SubTextColor);
  RECT text = MakeRect(r.left + 10 * S, r.top, r.right - 6 * S, r.bottom);
  DrawTextW(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  RECT measure = MakeRect(0, 0, 0, 0);
  DrawTextW(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &measure,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const int lineLeft = r.left + 10 * S + RectWidth(measure) + (m_caption.empty() ? 0 : 6 * S);
  const int y = (r.top + r.bottom) / 2;
  if (lineLeft < r.right - 6 * S) {
    SelectObject(dc, look->ThemePen4);
    MoveToEx(dc, lineLeft, y, nullptr);
    LineTo(dc, r.right - 6 * S, y);
  }
  RestoreDC(dc, saved);
  return m_height;
}
