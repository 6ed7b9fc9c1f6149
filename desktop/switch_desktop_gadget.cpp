#include "desktop/switch_desktop_gadget.h"

#include "core/core.h"
#include "desktop/desktop_menu_pages.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/menu_entry.h"
#include "desktop/status_gadget.h"
#include "look/appearance.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"

namespace {

enum : DWORD {
  kChooseDesktop = 2064,
  kDesktopFirst = 2065,  // .. 2068: desktops 1 to 4
};
constexpr int kTargets = 4;
constexpr std::uint8_t kNoTarget = 0xFF;

std::u16string DesktopName(int index) { return text::Format(u"%s %d", GetString(IDS_DESKTOP), index + 1); }

}  // namespace

CmivoSwitchDesktopGadget::CmivoSwitchDesktopGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoIconTextGadget(core, page, 15) {}

CmivoSwitchDesktopGadget::~CmivoSwitchDesktopGadget() {
  // Off the page stack now, deleted once the message being handled returned.
  if (m_pTargetPage) m_pCore->DestroyPage(m_pTargetPage.release());
}

void CmivoSwitchDesktopGadget::Paint(HDC dc) {
  CmivoIconTextGadget::Paint(dc);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!IsDesignMode() || m_target < 0 || !look) return;
  const int saved = SaveDC(dc);
  SelectObject(dc, look->SmallFont);
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, EffectiveTextColor());
  RECT r = m_rect;
  DrawTextWithShadow(*look, dc, u"\u2192 " + DesktopName(m_target), r,
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  RestoreDC(dc, saved);
}

void CmivoSwitchDesktopGadget::OnTap(UINT flags, POINT point) {
  if (!IsDesignMode() && m_pDesktop && m_target >= 0 && m_target < m_pDesktop->DesktopsCount()) {
    m_pDesktop->ShowDesktop(m_target);
    return;
  }
  CmivoIconTextGadget::OnTap(flags, point);
}

// ---- The design-mode menu and the stored target ----------------------------------------------

void CmivoSwitchDesktopGadget::AddContextMenuItems() {
  if (IsDesignMode() && m_pDesktop) m_pDesktop->AddMenuEntry(MenuEntry(kChooseDesktop, 0, false));
  CmivoIconTextGadget::AddContextMenuItems();
}

std::u16string CmivoSwitchDesktopGadget::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kChooseDesktop) return GetString(IDS_SWITCH_TO_DESKTOP);
  if (entry.CommandId >= kDesktopFirst && entry.CommandId < kDesktopFirst + kTargets) {
    const int index = static_cast<int>(entry.CommandId - kDesktopFirst);
    // The chosen one is marked as the desktop list marks the desktops of a gadget.
    return index == m_target ? DesktopName(index) + u": " + GetString(IDS_SETTING_ON) : DesktopName(index);
  }
  return CmivoIconTextGadget::GetContextMenuItemText(entry);
}

void CmivoSwitchDesktopGadget::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kChooseDesktop && m_pDesktop) {
    if (!m_pTargetPage) {
      m_pTargetPage.reset(m_pDesktop->CreateMenuPage(GetString(IDS_SWITCH_TO_DESKTOP)));
      for (int i = 0; i < kTargets; ++i) {
        m_pTargetPage->AddEntry(MenuEntry(kDesktopFirst + static_cast<DWORD>(i), 0, false));
      }
    }
    m_pCore->ShowPage(m_pTargetPage.get());
    return;
  }
  if (entry.CommandId >= kDesktopFirst && entry.CommandId < kDesktopFirst + kTargets) {
    m_target = static_cast<int>(entry.CommandId - kDesktopFirst);
    Invalidate();
    // The choice shows on the desktop.
    if (m_pDesktop) m_pDesktop->ReturnToDesktop();
    return;
  }
  CmivoIconTextGadget::OnContextMenuCommand(entry);
}

void CmivoSwitchDesktopGadget::LoadProperties(mivoArchiveReader& in) {
  CmivoIconTextGadget::LoadProperties(in);
  std::uint8_t target = kNoTarget;
  if (in.ReadU8(&target)) m_target = target < kTargets ? target : -1;
}

void CmivoSwitchDesktopGadget::SaveProperties(mivoArchiveWriter& out) {
  CmivoIconTextGadget::SaveProperties(out);
  out.WriteU8(m_target >= 0 ? static_cast<std::uint8_t>(m_target) : kNoTarget);
}

void CmivoSwitchDesktopGadget::ExchangeProperties(mivoGadgetProperties& properties) {
  CmivoIconTextGadget::ExchangeProperties(properties);
  // Counted from 1 as desktops are everywhere in the text form; 0: none.
  std::int32_t desktop = m_target + 1;
  properties.Int("target", desktop);
  m_target = desktop >= 1 && desktop <= kTargets ? desktop - 1 : -1;
}
