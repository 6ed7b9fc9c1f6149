// The main frame's part of the state dump: the soft keys as the menu bar
// shows them, the page stack, and the visible page. The page framework and
// the pages add their rows, cells and texts to "top".
#include "app/app_core.h"
#include "app/main_frame.h"
#include "core/messages.h"
#include "ui/page_wnd.h"

void CMainFrame::AddDumpSections() {
  m_dumpSoftKeys = window::AddDumpSection("softkeys", [this](window::JsonWriter& j) {
    // Only what the user sees: a hidden menu bar shows no soft keys.
    if (!m_wndCommandBar.m_hWnd || !m_wndCommandBar.IsWindowVisible()) return false;
    j.BeginArray();
    j.String(m_wndCommandBar.GetButtonText(ID_MIVO_SOFTKEY_LEFT));
    j.String(m_wndCommandBar.GetButtonText(ID_MIVO_SOFTKEY_RIGHT));
    j.EndArray();
    return true;
  });
  m_dumpPages = window::AddDumpSection("pages", [this](window::JsonWriter& j) {
    mivoAppCore* core = Core();
    if (!core) return false;
    j.BeginArray();
    for (CmivoPageWnd* page : core->PageStack()) {
      j.BeginObject();
      j.Key("class");
      j.String(page->PageClassName());
      j.Key("title");
      j.String(page->Title());
      j.EndObject();
    }
    j.EndArray();
    return true;
  });
  m_dumpTop = window::AddDumpSection("top", [this](window::JsonWriter& j) {
    mivoAppCore* core = Core();
    CmivoPageWnd* top = core ? core->TopPage() : nullptr;
    // What the user sees: a hidden (minimised) frame shows no page.
    if (!top || !top->m_hWnd || !IsWindowVisible()) return false;
    RECT r{};
    top->GetWindowRect(&r);
    j.BeginObject();
    j.Key("class");
    j.String(top->PageClassName());
    j.Key("title");
    j.String(top->Title());
    j.Key("header");
    j.String(top->Title());
    j.Key("rect");
    j.Rect(r.left, r.top, r.right, r.bottom);
    j.Key("visible");
    j.Bool(top->IsWindowVisible() != FALSE);
    j.Key("rows");
    top->DumpRows(j);
    j.Key("cells");
    top->DumpCells(j);
    j.Key("texts");
    top->DumpTexts(j);
    j.EndObject();
    return true;
  });
}

void CMainFrame::RemoveDumpSections() {
  for (window::DumpSectionId* id : {&m_dumpSoftKeys, &m_dumpPages, &m_dumpTop}) {
    if (*id) window::RemoveDumpSection(*id);
    *id = 0;
  }
}
