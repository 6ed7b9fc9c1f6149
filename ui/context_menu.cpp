#include "ui/context_menu.h"

#include "core/core.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "ui/right_click_page.h"

// ---- Handlers ----------------------------------------------------------------------

bool CmivoContextMenuHandler::DrawMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry, bool selected) {
  mivoMenuItemLook look;
  if (!GetMenuItemLook(entry, &look)) return false;
  mivoAppearance* appearance = m_pCore->GetAppearance();
  if (!appearance) return true;
  DrawRowImageTitle(*appearance, dc, look.icon, look.text, rect, selected ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
  return true;
}

// ---- The menu ------------------------------------------------------------------------

CmivoContextMenu::~CmivoContextMenu() {
  m_handlers.clear();
  if (m_pMenuPage) {
    CmivoRightClickPage* page = m_pMenuPage;
    m_pMenuPage = nullptr;
    page->ForgetOwner();
    // Off the page stack now; deleted once the message being handled (maybe
    // the page's own tap) has returned.
    if (m_pMenuCore) {
      m_pMenuCore->DestroyPage(page);
    } else {
      delete page;
    }
  }
}

CmivoRightClickPage* CmivoContextMenu::MenuPage() {
  if (!m_pMenuPage) m_pMenuPage = new CmivoRightClickPage(m_pMenuCore, this);
  return m_pMenuPage;
}

mivoMenuItemLook CmivoContextMenu::LookOf(const mivoContextMenuEntry& entry) {
  mivoMenuItemLook look;
  for (const auto& handler : m_handlers) {
    if (handler->GetMenuItemLook(entry, &look)) return look;
  }
  look.text = entry.Text1;
  return look;
}

std::u16string CmivoContextMenu::GetMenuItemText(const mivoContextMenuEntry& entry) { return LookOf(entry).text; }

void CmivoContextMenu::DrawMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry, bool selected) {
  for (const auto& handler : m_handlers) {
    if (handler->DrawMenuItem(dc, rect, entry, selected)) return;
  }
  mivoAppearance* appearance = m_pMenuCore ? m_pMenuCore->GetAppearance() : nullptr;
  if (!appearance) return;
  const std::u16string text = GetMenuItemText(entry);
  DrawRowImageTitle(*appearance, dc, nullptr, text, rect, selected ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
}

void CmivoContextMenu::OnMenuCommand(const mivoContextMenuEntry& entry) {
  // A command may rebuild this very menu (ClearMenu): the handlers it
  // replaces stay alive until the command has returned.
  ++m_commandDepth;
  std::vector<CmivoContextMenuHandler*> handlers;
  for (const auto& h : m_handlers) handlers.push_back(h.get());
  for (CmivoContextMenuHandler* handler : handlers) {
    if (handler->OnMenuCommand(entry)) break;
  }
  --m_commandDepth;
}

void CmivoContextMenu::ClearMenu() {
  if (m_pMenuPage) m_pMenuPage->ClearRows();
  if (m_commandDepth > 0 && m_pMenuCore && !m_handlers.empty()) {
    auto old = std::make_shared<std::vector<std::unique_ptr<CmivoContextMenuHandler>>>(std::move(m_handlers));
    m_pMenuCore->DeleteLater([old] { old->clear(); });
  }
  m_handlers.clear();
}

void CmivoContextMenu::AddMenuSection(const std::u16string& caption) { MenuPage()->AddSection(caption); }

void CmivoContextMenu::AddMenuEntry(const mivoContextMenuEntry& entry) { MenuPage()->AddEntry(entry); }

void CmivoContextMenu::AddMenuHandler(std::unique_ptr<CmivoContextMenuHandler> handler) {
  if (!handler) return;
  CmivoContextMenuHandler* h = handler.get();
  m_handlers.push_back(std::move(handler));
  h->FillMenu(this);
}

void CmivoContextMenu::ShowMenu() {
  if (m_pMenuCore) m_pMenuCore->ShowPage(MenuPage());
}
