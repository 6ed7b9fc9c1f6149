#include "pages/running_apps_page.h"

#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/file_info.h"
#include "platform/shell/process_windows.h"

namespace {

constexpr std::size_t kCaptionChars = 255;  // what is read of a caption

}  // namespace

// ---- CmivoAdvRunningAppsPage ---------------------------------------------------------------

CmivoAdvRunningAppsPage::CmivoAdvRunningAppsPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  m_title = GetTitle(0, 0);
  m_pPageIcon = GetPageIcon(0, 0);
}

std::u16string CmivoAdvRunningAppsPage::GetTitle(int, int) { return GetString(IDS_RUNNING_APPLICATIONS); }

std::u16string CmivoAdvRunningAppsPage::GetHelpText(int, int) { return GetString(IDS_RUNNING_APPLICATIONS_HELP); }

mivoSkinImage* CmivoAdvRunningAppsPage::GetPageIcon(int, int) {
  mivoActions* actions = m_pCore->GetActions();
  return actions ? actions->SkinImage(u"running_apps_page") : nullptr;
}

void CmivoAdvRunningAppsPage::OnPageShown() { Fill(); }

void CmivoAdvRunningAppsPage::Fill() {
  m_pCore->ShowPleaseWait(GetString(IDS_READING_RUNNING_APPS_LIST));
  Clear(true);
  // The device's other programs' top-level windows (this program's own are
  // not among them: the page lists what else runs).
  for (const shell::ProcessWindow& window : shell::ListOtherWindows()) {
    if (!window.visible) continue;
    const std::u16string caption = window.caption.substr(0, kCaptionChars);
    if (caption.empty()) continue;
    // The icon is the row's own copy: the shell makes a new one for each request.
    SHFILEINFO info;
    HICON icon = nullptr;
    if (!window.module.empty() && SHGetFileInfo(window.module.c_str(), 0, &info, sizeof info, SHGFI_ICON))
      icon = info.hIcon;
    AddItem(new CmivoAdvListBoxRunningAppItem(m_pCore, caption, icon, window.pid, window.hwnd, window.module));
  }
  m_pCore->HidePleaseWait();
}

// ---- CmivoAdvListBoxRunningAppItem ---------------------------------------------------------

CmivoAdvListBoxRunningAppItem::CmivoAdvListBoxRunningAppItem(mivoCore* core, const std::u16string& caption,
                                                             HICON icon, int pid, std::uintptr_t window,
                                                             const std::u16string& program)
    : CmivoAdvListBoxItemWithHelp(core), m_caption(caption), m_icon(icon), m_pid(pid), m_window(window) {
  SetHelpText(program);
}

CmivoAdvListBoxRunningAppItem::~CmivoAdvListBoxRunningAppItem() {
  if (m_icon) DestroyIcon(m_icon);
}

bool CmivoAdvListBoxRunningAppItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxItemWithHelp::OnTap(flags, x, y)) return true;
  // The lowest bit brings the window's last active pop-up along.
  shell::RequestForeground(m_pid, m_window | 1);
  return true;
}

void CmivoAdvListBoxRunningAppItem::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  if (mivoAppearance* look = Look()) DrawRowIconTitle(*look, dc, m_icon, m_caption, rect, false);
}

void CmivoAdvListBoxRunningAppItem::Describe(mivoRowText* out) const {
  CmivoAdvListBoxItemWithHelp::Describe(out);
  out->text = m_caption;
}
