// The desktop page's tap-and-hold menu and its commands 2000..2039: the
// design mode, the catalogue ("Add gadget"), deleting a gadget, the desktops
// a gadget shows on, the desktop's icon and colour; and "Add to desktop" of
// an action held anywhere.
#include "actions/action.h"
#include "core/core.h"
#include "desktop/action_gadget.h"
#include "desktop/desktop_menu_pages.h"
#include "desktop/desktop_page.h"
#include "desktop/desktop_switcher_gadget.h"
#include "desktop/gadget.h"
#include "desktop/menu_entry.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "ui/context_menu_skin_handler.h"
#include "ui/desktop_icon_chooser.h"

namespace {

// A newly added gadget's requested right and bottom edges (absolute); the
// clamping gives it at least its minimum size from the press on.
constexpr int kNewGadgetEdge = 100;
// "Add to desktop" puts the gadget into the top-left corner; the clamping
// gives it its minimum size there.
constexpr RECT kAddedActionRect{0, 0, 10, 10};
// The type id of an action put on the desktop.
constexpr DWORD kActionGadgetType = 10;

}  // namespace

// ---- Menu pages --------------------------------------------------------------------------------

CmivoDesktopMenuPage* CmivoDesktopPage::CreateMenuPage(const std::u16string& title) {
  return new CmivoDesktopMenuPage(m_pCore, this, title);
}

void CmivoDesktopPage::BuildCataloguePage() {
  m_pCataloguePage.reset(CreateMenuPage(GetString(IDS_ADD_GADGET)));
  for (std::size_t i = 0; i < m_container.CatalogueSize(); ++i) {
    mivoCatalogueEntry entry;
    m_container.GetCatalogueEntry(i, &entry);
    // Kinds whose family is not built are not offered (they could not be made).
    const mivoGadgetKind* kind = gadget_catalogue::FindKind(entry.typeId);
    if (!kind || !gadget_catalogue::IsBuilt(kind->className)) continue;
    mivoContextMenuEntry row = MenuEntry(kDesktopCatalogueEntry, 0, true, static_cast<LONG>(i));
    row.HelpText = entry.Warning();
    m_pCataloguePage->AddEntry(row);
  }
}

void CmivoDesktopPage::ReturnToDesktop() {
  // Each Back uncovers one page; a Back that could not happen now (a switch
  // is under way) ends the walk rather than looping.
  for (int guard = 0; guard < 16; ++guard) {
    CmivoPageWnd* top = m_pCore->TopPage();
    if (!top || top == this) return;
    m_pCore->PopPage();
    if (m_pCore->TopPage() == top) return;
  }
}

// ---- The tap-and-hold menu ------------------------------------------------------------------------

void CmivoDesktopPage::ShowContextMenu() {
  CmivoGadget* selected = m_pSelected && Holds(m_pSelected) ? m_pSelected : nullptr;
  ClearMenu();
  AddMenuSection(GetString(IDS_GENERAL));
  if (!m_designMode) {
    AddMenuEntry(MenuEntry(kDesktopDesignMode, IDS_DESIGN_MODE_HELP, true));
  } else {
    AddMenuEntry(MenuEntry(kDesktopExitDesignMode, IDS_DESIGN_MODE_HELP, true));
    AddMenuEntry(MenuEntry(kDesktopAddGadget, IDS_ADD_GADGET_HELP));
    if (selected) {
      AddMenuEntry(MenuEntry(kDesktopDeleteGadget, IDS_DELETE_GADGET_HELP, true));
      AddMenuEntry(MenuEntry(kDesktopSwitchToDesktop, IDS_SWITCH_TO_DESKTOP_HELP));
    }
    AddMenuEntry(MenuEntry(kDesktopChangeIcon, IDS_CHANGE_DESKTOP_ICON_HELP));
  }
  std::vector<mivoSkinImage*> images;
  CollectDesktopImages(images);
  AddMenuHandler(std::make_unique<CmivoContextMenuSkinHandler>(m_pCore, std::move(images)));
  if (selected) {
    if (m_designMode) AddMenuSection(GetString(IDS_GADGET_SETTINGS));
    selected->AddContextMenuItems();
  }
  ShowMenu();
}

std::u16string CmivoDesktopPage::GetMenuItemText(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  if (id >= kMenuGadgetFirst) {
    CmivoGadget* gadget = m_pSelected && Holds(m_pSelected) ? m_pSelected : nullptr;
    return gadget ? gadget->GetContextMenuItemText(entry) : std::u16string();
  }
  if (id >= kDesktopToggleFirst && id <= kDesktopToggleLast)
    return DesktopEntryText(static_cast<int>(id - kDesktopToggleFirst));
  switch (id) {
    case kDesktopDesignMode: return GetString(IDS_DESIGN_MODE);
    case kDesktopExitDesignMode: return GetString(IDS_EXIT_DESIGN_MODE);
    case kDesktopAddGadget: return GetString(IDS_ADD_GADGET);
    case kDesktopDeleteGadget: return GetString(IDS_DELETE_GADGET);
    case kDesktopSwitchToDesktop: return GetString(IDS_SWITCH_TO_DESKTOP);
    case kDesktopChangeIcon: return GetString(IDS_CHANGE_DESKTOP_ICON);
    case kDesktopCatalogueEntry: {
      mivoCatalogueEntry catalogue;
      if (entry.Value < 0 || !m_container.GetCatalogueEntry(static_cast<std::size_t>(entry.Value), &catalogue)) {
        return GetString(IDS_ERROR);
      }
      return catalogue.Name();
    }
    default: return CmivoContextMenu::GetMenuItemText(entry);
  }
}

void CmivoDesktopPage::DrawMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry, bool selected) {
  const DWORD id = entry.CommandId;
  if (id < kMenuDesktopFirst) {
    CmivoContextMenu::DrawMenuItem(dc, rect, entry, selected);
    return;
  }
  if (id >= kMenuGadgetFirst) {
    if (m_pSelected && Holds(m_pSelected)) m_pSelected->DrawContextMenuItem(dc, rect, entry);
    return;
  }
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int saved = SaveDC(dc);
  mivoCatalogueEntry catalogue;
  if (id == kDesktopCatalogueEntry && entry.Value >= 0 &&
      m_container.GetCatalogueEntry(static_cast<std::size_t>(entry.Value), &catalogue)) {
    // The entry's name over its description.
    DrawRowTitleSubtitle(*look, dc, catalogue.Name(), catalogue.Description(), rect);
  } else {
    DrawRowImageTitle(*look, dc, nullptr, GetMenuItemText(entry), rect,
                      selected ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
  }
  RestoreDC(dc, saved);
}

void CmivoDesktopPage::OnMenuCommand(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  if (id < kMenuDesktopFirst) {
    CmivoContextMenu::OnMenuCommand(entry);
    return;
  }
  if (id >= kMenuGadgetFirst) {
    // The gadget the menu was opened for, unless it went meanwhile.
    if (m_pSelected && Holds(m_pSelected)) m_pSelected->OnContextMenuCommand(entry);
    return;
  }
  if (id >= kDesktopToggleFirst && id <= kDesktopToggleLast) {
    ToggleSelectedDesktop(static_cast<int>(id - kDesktopToggleFirst));
    return;
  }
  switch (id) {
    case kDesktopDesignMode: SetDesignMode(true); return;
    case kDesktopExitDesignMode: SetDesignMode(false); return;
    case kDesktopAddGadget: m_pCore->ShowPage(m_pCataloguePage.get()); return;
    case kDesktopDeleteGadget: DeleteSelectedGadget(); return;
    case kDesktopCatalogueEntry: AddGadgetFromCatalogue(entry.Value); return;
    case kDesktopSwitchToDesktop: ShowDesktopList(); return;
    case kDesktopColor:
      if (!m_pColorPage) m_pColorPage = std::make_unique<CmivoChooseDesktopColorPage>(m_pCore, this);
      m_pCore->ShowPage(m_pColorPage.get());
      return;
    case kDesktopChangeIcon:
      if (!m_pIconChooser) {
        m_pIconChooser = std::make_unique<CmivoAdvChooseDesktopIcon>(m_pCore);
        // The gadgets that show desktop icons draw the new one.
        m_pIconChooser->SetIconChangedHandler([this] {
          CmivoDesktopSwitcherGadget::RefreshDesktopIcons(m_pCore);
          if (m_hWnd) Invalidate(FALSE);
        });
      }
      m_pIconChooser->SetDesktop(CurrentDesktopIndex() + 1);
      m_pCore->ShowPage(m_pIconChooser.get());
      return;
    default: return;
  }
}

// ---- The commands ----------------------------------------------------------------------------------

void CmivoDesktopPage::SetDesignMode(bool on) {
  if (on == m_designMode) return;
  EndDrag();
  if (!on) m_container.SaveLayout();
  m_designMode = on;
  if (m_hWnd) Invalidate(FALSE);
}

void CmivoDesktopPage::AddGadgetFromCatalogue(LONG index) {
  mivoCatalogueEntry entry;
  if (index < 0 || !m_container.GetCatalogueEntry(static_cast<std::size_t>(index), &entry)) return;
  std::unique_ptr<CmivoGadget> gadget = m_container.CreateGadget(entry.typeId, this);
  if (!gadget) return;
  CmivoGadget* g = gadget.get();
  g->SetDesktops(m_currentDesktop);
  g->SetPortrait(IsPortraitLayout());
  m_container.AddGadget(std::move(gadget));
  // Where the menu was asked for; the clamping gives it its minimum size.
  g->SetRect(MakeRect(m_pressPoint.x, m_pressPoint.y, kNewGadgetEdge, kNewGadgetEdge), true);
  // The new gadget is the selected one: it can be dragged at once.
  if (m_pSelected && Holds(m_pSelected)) m_pSelected->Invalidate();
  m_pSelected = g;
  UpdateVisibility();
  g->Invalidate();
  ReturnToDesktop();
}

void CmivoDesktopPage::DeleteSelectedGadget() {
  CmivoGadget* gadget = m_pSelected;
  if (!gadget || !Holds(gadget)) return;
  // A gadget that refuses says why itself.
  if (!gadget->CanDelete()) return;
  gadget->Invalidate();
  m_pSelected = nullptr;
  if (m_pPressed == gadget) m_pPressed = nullptr;
  RemoveChild(gadget);
  // Whatever the gadget left registered goes with it (ForgetGadget).
  m_container.RemoveGadget(gadget);
}

std::u16string CmivoDesktopPage::DesktopEntryText(int k) const {
  const bool on = m_pSelected && (m_pSelected->Desktops() & (1u << k)) != 0;
  return text::Format(u"%s %d: %s", GetString(IDS_DESKTOP), k + 1, GetString(on ? IDS_SETTING_ON : IDS_SETTING_OFF));
}

void CmivoDesktopPage::ShowDesktopList() {
  if (!m_pDesktopListPage) m_pDesktopListPage.reset(CreateMenuPage(GetString(IDS_SWITCH_TO_DESKTOP)));
  m_pDesktopListPage->ClearRows();
  for (int k = 0; k < m_desktopsCount; ++k) m_pDesktopListPage->AddEntry(MenuEntry(kDesktopToggleFirst + k));
  m_pCore->ShowPage(m_pDesktopListPage.get());
}

void CmivoDesktopPage::ToggleSelectedDesktop(int k) {
  CmivoGadget* gadget = m_pSelected;
  if (!gadget || !Holds(gadget) || k < 0 || k >= m_desktopsCount) return;
  const DWORD mask = gadget->Desktops() ^ (1u << k);
  if (mask == 0) {
    m_pCore->ShowError(GetString(IDS_CANNOT_REMOVE_GADGET_ONLY_DESKTOP));
    return;
  }
  gadget->SetDesktops(mask);
  UpdateVisibility();
  if (m_pDesktopListPage) m_pDesktopListPage->InvalidateList();
  if (m_hWnd) Invalidate(FALSE);
}

// ---- "Add to desktop" --------------------------------------------------------------------------------

void CmivoDesktopPage::AddActionToDesktop(std::unique_ptr<mivoAction> action) {
  if (!action) return;
  auto gadget = std::make_unique<CmivoActionGadget>(m_pCore, this, kActionGadgetType);
  gadget->SetAction(std::move(action));
  gadget->SetDesktops(m_currentDesktop);
  gadget->SetRect(kAddedActionRect, false);
  m_container.AddGadget(std::move(gadget));
  UpdateVisibility();
  if (m_hWnd) Invalidate(FALSE);
}
