#include "desktop/today_plugin_gadget.h"

#include <algorithm>
#include <cstdio>

#include "core/core.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/menu_entry.h"
#include "look/appearance.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/library.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

// The least height of the plug-in's strip, times DisplayScale.
constexpr int kMinPluginHeight = 15;
// A gadget without a plug-in narrower than this (times DisplayScale) spans the page.
constexpr int kNewStripWidth = 120;

std::vector<CmivoTodayPluginGadget*>& Sharing() {
  static std::vector<CmivoTodayPluginGadget*> list;
  return list;
}

// Every Today gadget, to find those that show a shared window.
std::vector<CmivoTodayPluginGadget*>& AllGadgets() {
  static std::vector<CmivoTodayPluginGadget*> list;
  return list;
}

template <std::size_t N>
void CopyText(char16_t (&field)[N], const std::u16string& text) {
  const std::size_t count = std::min(text.size(), N - 1);
  std::copy_n(text.begin(), count, field);
  field[count] = 0;
}

}  // namespace

CmivoTodayPluginGadget::CmivoTodayPluginGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoGadget(core, page, kTypeId) {
  m_statusText = GetString(IDS_SET_TODAY_PLUGIN_IN_DESIGN_MODE);
  AllGadgets().push_back(this);
}

CmivoTodayPluginGadget::~CmivoTodayPluginGadget() {
  Stop();
  LeaveSharing();
  auto& all = AllGadgets();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

const std::vector<CmivoTodayPluginGadget*>& CmivoTodayPluginGadget::SharingList() { return Sharing(); }

CmivoTodayPluginGadget* CmivoTodayPluginGadget::Source() {
  if (m_sharedViewName.empty()) return this;
  for (CmivoTodayPluginGadget* gadget : Sharing()) {
    if (gadget->m_shareName == m_sharedViewName) return gadget;
  }
  return nullptr;
}

// ---- Sharing --------------------------------------------------------------------------------

void CmivoTodayPluginGadget::JoinSharing() {
  auto& list = Sharing();
  if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
}

void CmivoTodayPluginGadget::LeaveSharing() {
  auto& list = Sharing();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool CmivoTodayPluginGadget::Share(const std::u16string& name) {
  // Every gadget that views no shared plug-in has an empty shared-view
  // name: sharing under the empty name would make them all its viewers.
  if (name.empty()) return false;
  m_shareName = name;
  JoinSharing();
  return true;
}

void CmivoTodayPluginGadget::StopSharing() {
  LeaveSharing();
  m_shareName.clear();
}

bool CmivoTodayPluginGadget::CanDelete() {
  if (m_shareName.empty()) return true;
  if (m_pDesktop) {
    for (const auto& gadget : m_pDesktop->Container().Gadgets()) {
      auto* today = dynamic_cast<CmivoTodayPluginGadget*>(gadget.get());
      if (today && today != this && today->m_sharedViewName == m_shareName) {
        m_pCore->ShowMessage(GetString(IDS_CANNOT_DELETE_SHARED_GADGET), u"mivo");
        return false;
      }
    }
  }
  StopSharing();
  return true;
}

// ---- Life ---------------------------------------------------------------------------------

void CmivoTodayPluginGadget::Start() {
  if (!m_sharedViewName.empty()) {
    m_statusText = GetString(IDS_SHARED_GADGET) + u" :" + m_sharedViewName;
    return;
  }
  if (m_libraryPath.empty()) {
    m_statusText = GetString(IDS_SET_TODAY_PLUGIN_IN_DESIGN_MODE);
    return;
  }
  if (m_module) return;
  // A stored path that the Today items no longer name is not loaded: the
  // plug-in was removed, and the file may now be anything.
  if (!today_items::IsRegistered(m_libraryPath)) {
    std::fprintf(stderr, "mivo: Today plug-in %s is not registered\n", text::ToUtf8(m_libraryPath).c_str());
    m_statusText = GetString(IDS_PLUGIN_DLL_CANNOT_BE_LOADED);
    return;
  }
  m_module = LoadLibraryW(m_libraryPath.c_str());
  if (!m_module) {
    std::fprintf(stderr, "mivo: Today plug-in %s cannot be loaded: %s\n", text::ToUtf8(m_libraryPath).c_str(),
                 shell::LastLibraryError().c_str());
    m_statusText = GetString(IDS_PLUGIN_DLL_CANNOT_BE_LOADED);
    return;
  }
  auto initialize = reinterpret_cast<InitializeCustomItemFn>(
      GetProcAddressW(m_module, MAKEINTRESOURCEW(kInitializeCustomItemOrdinal)));
  if (!initialize) {
    m_statusText = GetString(IDS_PLUGIN_DLL_NOT_TODAY_PLUGIN);
    FreeLibrary(m_module);
    m_module = nullptr;
    return;
  }
  m_item = TODAYLISTITEM{};
  CopyText(m_item.szName, m_pluginName);
  CopyText(m_item.szDLLPath, m_libraryPath);
  m_item.tlit = tlitCustom;
  m_item.fEnabled = TRUE;
  m_item.hinstDLL = reinterpret_cast<HINSTANCE>(m_module);
  const HWND parent = m_pDesktop ? m_pDesktop->m_hWnd : nullptr;
  const HWND window = initialize(&m_item, parent);
  m_window = window && ::IsWindow(window) ? window : nullptr;
  m_item.hwndCustom = m_window;
  if (m_window) {
    ::SendMessageW(m_window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0, reinterpret_cast<LPARAM>(&m_item));
    // Hidden until the gadget is painted where it stands.
    ::ShowWindow(m_window, SW_HIDE);
  }
  if (m_pDesktop && !m_timerRegistered) {
    m_timerRegistered = m_pDesktop->RegisterTimer(this, kRefreshPeriodMs) != 0;
  }
  m_statusText = GetString(IDS_PLUG_IN) + u": " + m_pluginName;
  Invalidate();
}

void CmivoTodayPluginGadget::Stop() {
  if (!m_sharedViewName.empty()) return;
  if (m_module) {
    if (m_window && ::IsWindow(m_window)) {
      ::SendMessageW(m_window, WM_TODAYCUSTOM_CLEARCACHE, 0, reinterpret_cast<LPARAM>(&m_item));
      ::SendMessageW(m_window, WM_CLOSE, 0, 0);
      // A plug-in that keeps its window on WM_CLOSE loses it all the same.
      if (::IsWindow(m_window)) ::DestroyWindow(m_window);
      if (m_pDesktop && m_pDesktop->m_hWnd) m_pDesktop->Invalidate(FALSE);
    }
    m_window = nullptr;
    FreeLibrary(m_module);
    m_module = nullptr;
  }
  if (m_timerRegistered && m_pDesktop) m_pDesktop->UnregisterTimer(this);
  m_timerRegistered = false;
  m_pluginName.clear();
  m_statusText = GetString(IDS_SET_TODAY_PLUGIN_IN_DESIGN_MODE);
  m_item = TODAYLISTITEM{};
}

void CmivoTodayPluginGadget::OnActivate() { Start(); }

void CmivoTodayPluginGadget::OnDeactivate() { Stop(); }

void CmivoTodayPluginGadget::ChoosePlugin(const std::u16string& name, const std::u16string& library) {
  Stop();
  // A viewer that takes a plug-in of its own stops viewing the shared one.
  m_sharedViewName.clear();
  m_pluginName = name;
  m_libraryPath = library;
  Start();
  Invalidate();
}

void CmivoTodayPluginGadget::ChooseShared(const std::u16string& shareName) {
  Stop();
  m_sharedViewName = shareName;
  Start();
  Invalidate();
}

void CmivoTodayPluginGadget::OnTimer(bool) {
  CmivoTodayPluginGadget* source = Source();
  if (!source || !source->m_window || !::IsWindow(source->m_window)) return;
  if (::SendMessageW(source->m_window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0,
                     reinterpret_cast<LPARAM>(&source->m_item)) != 1) {
    return;
  }
  // Every gadget that shows the window takes its new height now, also one on
  // a desktop that is not shown (it is stored so).
  const int height = PluginHeight(source->m_item);
  for (CmivoTodayPluginGadget* gadget : AllGadgets()) {
    if (gadget->Source() == source) gadget->FollowHeight(height);
  }
  Invalidate();
  if (m_pDesktop && m_pDesktop->m_hWnd) m_pDesktop->Invalidate(FALSE);
  ::InvalidateRect(source->m_window, nullptr, TRUE);
}

void CmivoTodayPluginGadget::FollowHeight(int height) {
  SetMinSize(kMinWidth, height + 1);
  SetRect(MakeRect(m_rect.left, m_rect.top, m_rect.right, m_rect.top + height + 1), true);
}

// ---- Showing -----------------------------------------------------------------------------------

int CmivoTodayPluginGadget::PluginHeight(const TODAYLISTITEM& item) {
  const int least = kMinPluginHeight * DisplayScale;
  // A plug-in's wish is kept within the screen.
  const int most = std::max(least, GetSystemMetrics(SM_CYSCREEN));
  return std::clamp(static_cast<int>(std::min<DWORD>(item.cyp, 0x7FFF)), least, most);
}

void CmivoTodayPluginGadget::UpdateWindowVisibility(CmivoTodayPluginGadget* source) {
  if (!source || !source->m_window || !::IsWindow(source->m_window)) return;
  bool shown = false;
  for (CmivoTodayPluginGadget* gadget : AllGadgets()) {
    if (gadget->IsVisible() && !gadget->IsDesignMode() && gadget->IsActive() && gadget->Source() == source) {
      shown = true;
    }
  }
  const bool visibleNow = (::GetWindowLongW(source->m_window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != visibleNow) ::ShowWindow(source->m_window, shown ? SW_SHOW : SW_HIDE);
}

void CmivoTodayPluginGadget::SetVisible(bool visible) {
  CmivoGadget::SetVisible(visible);
  UpdateWindowVisibility(Source());
}

void CmivoTodayPluginGadget::Paint(HDC dc) {
  CmivoTodayPluginGadget* source = Source();
  const TODAYLISTITEM& item = source ? source->m_item : m_item;
  const HWND window = source && source->m_window && ::IsWindow(source->m_window) ? source->m_window : nullptr;
  int height = PluginHeight(item);
  const RECT& g = m_rect;
  const bool showWindow = window && !IsDesignMode();
  // A gadget that shows no plug-in yet is a strip across the page too, so
  // its status line reads on one or two lines instead of a narrow column.
  if (m_libraryPath.empty() && m_sharedViewName.empty() && RectWidth(g) < kNewStripWidth * DisplayScale) {
    SpanToRightEdge();
  }
  mivoAppearance* look = m_pCore->GetAppearance();
  HFONT font = look ? look->SmallFont : nullptr;
  const int S = DisplayScale;
  if (!showWindow && look) {
    // The status line is read whole: the strip grows to hold it.
    RECT measure = MakeRect(0, 0, std::max(1, RectWidth(g) - 4 * S), 0);
    const int saved = SaveDC(dc);
    if (font) SelectObject(dc, font);
    DrawTextW(dc, m_statusText.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    RestoreDC(dc, saved);
    height = std::max(height, RectHeight(measure) + 4 * S);
  }
  // The gadget follows the plug-in's height, up and down; the window stands
  // where the gadget's rectangle ends up (kept on the page).
  FollowHeight(height);
  if (window) {
    // Moved without a repaint while it stays where it is (every paint moves
    // it); a window that moved (a viewer on another desktop shows it) or
    // changed its size is painted anew: what it drew behind itself was the
    // desktop's background at its old place.
    RECT now{};
    ::GetWindowRect(window, &now);
    POINT origin{now.left, now.top};
    if (m_pDesktop && m_pDesktop->m_hWnd) m_pDesktop->ScreenToClient(&origin);
    const bool moved =
        origin.x != g.left || origin.y != g.top || RectWidth(now) != RectWidth(g) || RectHeight(now) != height;
    ::MoveWindow(window, g.left, g.top, RectWidth(g), height, moved ? TRUE : FALSE);
  }
  if (showWindow) {
    ::SendMessageW(window, WM_TODAYCUSTOM_LOSTSELECTION, 0, reinterpret_cast<LPARAM>(&source->m_item));
    if (!::IsWindowVisible(window)) ::ShowWindow(window, SW_SHOW);
    CmivoGadget::Paint(dc);
    return;
  }
  if (window) ::ShowWindow(window, SW_HIDE);
  if (look) {
    const int saved = SaveDC(dc);
    if (font) SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, look->TextColor);
    RECT box = MakeRect(m_rect.left + 2 * S, m_rect.top, m_rect.right - 2 * S, m_rect.top + height);
    RECT measure = MakeRect(0, 0, RectWidth(box), 0);
    DrawTextW(dc, m_statusText.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    // Centred vertically in the strip, with a shadow so that it reads on any wallpaper.
    box.top += std::max(0, (RectHeight(box) - RectHeight(measure)) / 2);
    DrawTextWithShadow(*look, dc, m_statusText, box, DT_WORDBREAK | DT_NOPREFIX);
    RestoreDC(dc, saved);
  }
  CmivoGadget::Paint(dc);
}

// ---- The design-mode menu ------------------------------------------------------------------------

void CmivoTodayPluginGadget::AddContextMenuItems() {
  if (!IsDesignMode() || !m_pDesktop) return;
  if (m_sharedViewName.empty()) {
    m_pDesktop->AddMenuEntry(MenuEntry(kTodayShare, m_shareName.empty() ? IDS_SHARE_HELP : IDS_STOP_SHARING_HELP, true));
  }
  if (!today_items::Read(&m_items)) m_statusText = GetString(IDS_CANNOT_READ_PLUGINS_LIST);
  if (!m_items.empty()) {
    m_pDesktop->AddMenuSection(GetString(IDS_TODAY_PLUGINS));
    for (std::size_t i = 0; i < m_items.size(); ++i) m_pDesktop->AddMenuEntry(MenuEntry(kTodayItemFirst + DWORD(i), 0, true));
  }
  m_sharedNames.clear();
  if (m_shareName.empty()) {
    for (CmivoTodayPluginGadget* gadget : Sharing()) m_sharedNames.push_back(gadget->m_shareName);
    if (!m_sharedNames.empty()) {
      m_pDesktop->AddMenuSection(GetString(IDS_SHARED_GADGETS));
      for (std::size_t j = 0; j < m_sharedNames.size(); ++j) {
        m_pDesktop->AddMenuEntry(MenuEntry(kTodaySharedFirst + DWORD(j), 0, true));
      }
    }
  }
}

std::u16string CmivoTodayPluginGadget::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  if (id == kTodayShare) return GetString(m_shareName.empty() ? IDS_SHARE : IDS_STOP_SHARING);
  if (id >= kTodayItemFirst && id - kTodayItemFirst < m_items.size()) return m_items[id - kTodayItemFirst].name;
  if (id >= kTodaySharedFirst && id - kTodaySharedFirst < m_sharedNames.size()) {
    return m_sharedNames[id - kTodaySharedFirst];
  }
  return CmivoGadget::GetContextMenuItemText(entry);
}

void CmivoTodayPluginGadget::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  if (id == kTodayShare) {
    if (!m_shareName.empty()) {
      StopSharing();
      return;
    }
    std::u16string name;
    if (m_pCore->EnterText(u"mivo", GetString(IDS_ENTER_SHARE_NAME), &name, false)) Share(name);
    return;
  }
  if (id >= kTodayItemFirst && id - kTodayItemFirst < m_items.size()) {
    const mivoTodayItem item = m_items[id - kTodayItemFirst];
    SpanToRightEdge();
    ChoosePlugin(item.name, item.library);
    return;
  }
  if (id >= kTodaySharedFirst && id - kTodaySharedFirst < m_sharedNames.size()) {
    SpanToRightEdge();
    ChooseShared(m_sharedNames[id - kTodaySharedFirst]);
  }
}

void CmivoTodayPluginGadget::SpanToRightEdge() {
  if (!m_pDesktop) return;
  const SIZE area = m_pDesktop->GadgetArea(IsPortrait());
  if (area.cx > m_rect.left) SetRect(MakeRect(m_rect.left, m_rect.top, area.cx, m_rect.bottom), true);
}

// ---- Stored fields -----------------------------------------------------------------------------

void CmivoTodayPluginGadget::LoadProperties(mivoArchiveReader& in) {
  in.ReadString(&m_libraryPath);
  in.ReadString(&m_pluginName);
  if (PropertyVersion() >= 3) {
    in.ReadString(&m_shareName);
    in.ReadString(&m_sharedViewName);
  }
  if (in.Failed()) return;
  if (!m_shareName.empty()) JoinSharing();
}

void CmivoTodayPluginGadget::SaveProperties(mivoArchiveWriter& out) {
  out.WriteString(m_libraryPath);
  out.WriteString(m_pluginName);
  out.WriteString(m_shareName);
  out.WriteString(m_sharedViewName);
}

void CmivoTodayPluginGadget::ExchangeProperties(mivoGadgetProperties& properties) {
  properties.Text("library", m_libraryPath);
  properties.Text("name", m_pluginName);
  properties.Text("share", m_shareName);
  properties.Text("view", m_sharedViewName);
  if (!m_shareName.empty()) JoinSharing();
}
