#include "desktop/desktop_page.h"

#include <algorithm>
#include <bit>

#include "core/core.h"
#include "core/messages.h"
#include "core/settings.h"
#include "desktop/desktop_menu_pages.h"
#include "desktop/gadget.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/message_box.h"
#include "platform/window/metrics.h"
#include "platform/window/window.h"
#include "ui/desktop_icon_chooser.h"

namespace {

// Posted to itself after loading a layout that could not be read whole, so
// the desktop shows before the message does.
constexpr UINT kMsgLayoutProblem = WM_USER + 0x150;

// The Today plug-ins' colour and watermark queries.
constexpr UINT kTodayGetColor = WM_USER + 100;
constexpr UINT kTodayDrawWatermark = WM_USER + 101;
constexpr WPARAM kTodayColorText = 0x10000004;
constexpr WPARAM kTodayColorHighlightedText = 0x10000023;

constexpr char16_t kUserLayoutDamaged[] =
    u"The desktop layout could not be read to its end. The gadgets read before the fault are shown; the damaged "
    u"file is kept as mivo_userdesktop.dat.bad.";
constexpr char16_t kFactoryLayoutDamaged[] =
    u"The desktop layout could not be read to its end. The gadgets read before the fault are shown.";

// The count the setting asks for, when the masks can hold it.
int DesktopsCountFrom(DWORD setting) {
  return setting >= 1 && setting <= static_cast<DWORD>(kMaxDesktops) ? static_cast<int>(setting) : 4;
}

}  // namespace

// ---- Life --------------------------------------------------------------------------------

CmivoDesktopPage::CmivoDesktopPage(mivoCore* core) : CmivoPageWnd(core), CmivoContextMenu(core), m_container(core) {
  m_swipeBackEnabled = false;
  m_desktopsCount = DesktopsCountFrom(m_pCore->Settings().GetDesktopsCount());
  BuildCataloguePage();
  m_dumpSection = window::AddDumpSection("desktop", [this](window::JsonWriter& j) { return DumpDesktop(j); });
}

CmivoDesktopPage::~CmivoDesktopPage() {
  if (m_dumpSection) window::RemoveDumpSection(m_dumpSection);
  // The gadgets first, while every list they may look at still stands.
  if (!m_released) {
    m_released = true;
    m_container.SaveAndClear();
  }
  m_container.Clear();
  m_pSelected = nullptr;
  m_pPressed = nullptr;
  // The owned pages leave the page stack now and go once the message being
  // handled has returned.
  if (m_pCataloguePage) m_pCore->DestroyPage(m_pCataloguePage.release());
  if (m_pDesktopListPage) m_pCore->DestroyPage(m_pDesktopListPage.release());
  if (m_pIconChooser) m_pCore->DestroyPage(m_pIconChooser.release());
  if (m_pColorPage) m_pCore->DestroyPage(m_pColorPage.release());
}

BOOL CmivoDesktopPage::CreatePage(CWnd* frame) {
  const BOOL created = CmivoPageWnd::CreatePage(frame);
  if (created) LoadDesktops();
  return created;
}

void CmivoDesktopPage::LoadDesktops() {
  if (m_loaded) return;
  m_loaded = true;
  const mivoLayoutReadResult result = m_container.LoadLayout(this);
  UpdateVisibility();
  if (!result.missing && !result.complete) PostMessage(kMsgLayoutProblem);
}

void CmivoDesktopPage::OnExitRequest() {
  EndDrag();
  if (m_released) return;
  m_released = true;
  m_pSelected = nullptr;
  m_pPressed = nullptr;
  m_container.SaveAndClear();
}

// ---- Desktops and orientation --------------------------------------------------------------

int CmivoDesktopPage::CurrentDesktopIndex() const { return std::countr_zero(m_currentDesktop); }

void CmivoDesktopPage::ShowDesktop(int index) {
  if (index < 0 || index >= m_desktopsCount) return;
  const DWORD mask = 1u << index;
  if (mask == m_currentDesktop) return;
  m_currentDesktop = mask;
  DesktopChanged();
}

void CmivoDesktopPage::ShowNextDesktop() {
  const int index = CurrentDesktopIndex();
  ShowDesktop(index + 1 >= m_desktopsCount ? 0 : index + 1);
}

void CmivoDesktopPage::ShowPreviousDesktop() {
  const int index = CurrentDesktopIndex();
  ShowDesktop(index == 0 ? m_desktopsCount - 1 : index - 1);
}

void CmivoDesktopPage::DesktopChanged() {
  UpdateVisibility();
  if (!m_hWnd) return;
  RequestBufferedPaint();
  Invalidate(FALSE);
}

bool CmivoDesktopPage::IsPortraitLayout() const {
  if (!m_hWnd) return true;
  RECT client{};
  GetClientRect(&client);
  if (RectWidth(client) <= RectHeight(client)) return true;
  return GetSystemMetrics(SM_CXSCREEN) == GetSystemMetrics(SM_CYSCREEN);
}

SIZE CmivoDesktopPage::GadgetArea(bool portrait) const {
  if (!m_hWnd) return SIZE{0, 0};
  RECT client{};
  GetClientRect(&client);
  const SIZE own{RectWidth(client), RectHeight(client)};
  if (portrait == IsPortraitLayout()) return own;
  // The other orientation: the screen turned, less the same bars above and
  // below (the page's width is the screen's; its height is what the bars leave).
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const int bars = std::max(0, screenHeight - static_cast<int>(own.cy));
  return SIZE{screenHeight, std::max(0, screenWidth - bars)};
}

void CmivoDesktopPage::UpdateVisibility() {
  const bool portrait = IsPortraitLayout();
  for (const auto& gadget : m_container.Gadgets()) {
    gadget->SetVisible((gadget->Desktops() & m_currentDesktop) != 0 && gadget->IsPortrait() == portrait);
  }
}

void CmivoDesktopPage::LayoutPage() {
  CmivoPageWnd::LayoutPage();
  UpdateVisibility();
  if (m_hWnd) Invalidate(FALSE);
}

void CmivoDesktopPage::OnPageShown() {
  UpdateVisibility();
  m_pageShown = true;
  UpdateGadgetTimers();
}

void CmivoDesktopPage::OnPageHidden() {
  EndDrag();
  CancelFollowing();
  m_pressActive = false;
  m_pPressed = nullptr;
  m_pageShown = false;
  UpdateGadgetTimers();
}

void CmivoDesktopPage::OnFrameShown(bool shown) {
  m_frameHidden = !shown;
  UpdateGadgetTimers();
}

// ---- Painting --------------------------------------------------------------------------------

void CmivoDesktopPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  UpdateVisibility();
  CmivoPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
  if (!erase) return;
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  // The wallpaper is laid out for the whole page: the area's own part of it.
  DrawWallpaper(*look, dc, left, top, MakeRect(left, top, right, bottom), CurrentDesktopIndex() + 1,
                !IsPortraitLayout());
}

void CmivoDesktopPage::CollectImages(std::vector<mivoSkinImage*>& images) {
  CmivoPageWnd::CollectImages(images);
  CollectDesktopImages(images);
}

void CmivoDesktopPage::CollectDesktopImages(std::vector<mivoSkinImage*>& images) {
  if (m_images.empty()) {
    mivoAppearance* look = m_pCore->GetAppearance();
    if (!look) return;
    // The pictures the desktop and its own pages draw with.
    static const char16_t* const kNames[] = {u"gadget_desktop_default_wallpaper",
                                             u"gadget_desktop_switcher_bk_active",
                                             u"gadget_desktop_switcher_bk_inactive",
                                             u"gadget_desktop_switcher_bk_none",
                                             u"desktop_add",
                                             u"favorites_page",
                                             u"actions_history_page",
                                             u"custom_color"};
    for (const char16_t* name : kNames) m_images.push_back(look->GetSkinImage(name));
  }
  images.insert(images.end(), m_images.begin(), m_images.end());
}

// ---- Services to gadgets --------------------------------------------------------------------

UINT CmivoDesktopPage::RegisterNotification(CmivoGadget* gadget) {
  m_notifications.push_back(gadget);
  return kGadgetNotificationFirst + static_cast<UINT>(m_notifications.size() - 1);
}

void CmivoDesktopPage::UnregisterNotification(CmivoGadget* gadget) {
  for (CmivoGadget*& entry : m_notifications) {
    if (entry == gadget) entry = nullptr;
  }
}

UINT CmivoDesktopPage::RegisterTimer(CmivoGadget* gadget, UINT periodMs) {
  m_timers.push_back(gadget);
  m_timerPeriods.push_back(periodMs);
  const UINT id = kGadgetTimerFirst + static_cast<UINT>(m_timers.size() - 1);
  if (!m_hWnd) return 0;
  if (m_timersRunning) SetTimer(id, periodMs);
  return id;
}

void CmivoDesktopPage::UnregisterTimer(CmivoGadget* gadget) {
  for (std::size_t i = 0; i < m_timers.size(); ++i) {
    if (m_timers[i] != gadget) continue;
    m_timers[i] = nullptr;
    // The platform's timer goes with the entry: nothing ticks for nobody.
    if (m_hWnd) KillTimer(kGadgetTimerFirst + static_cast<UINT>(i));
  }
}

void CmivoDesktopPage::UpdateGadgetTimers() {
  const bool wanted = m_hWnd && m_pageShown && !m_frameHidden;
  if (wanted == m_timersRunning) return;
  m_timersRunning = wanted;
  if (!wanted) {
    // Nothing polls while nobody sees the desktop.
    for (std::size_t i = 0; i < m_timers.size(); ++i) {
      if (m_timers[i]) KillTimer(kGadgetTimerFirst + static_cast<UINT>(i));
    }
    m_timersStopped = true;
    return;
  }
  // What changed meanwhile shows at once: each gadget ticks now (a tick may
  // register or unregister timers, so the list is walked by index), then
  // the timers run on from here.
  if (m_timersStopped) {
    for (std::size_t i = 0; i < m_timers.size(); ++i) {
      if (CmivoGadget* gadget = m_timers[i]) gadget->OnTimer(false);
    }
  }
  for (std::size_t i = 0; i < m_timers.size(); ++i) {
    if (m_timers[i]) SetTimer(kGadgetTimerFirst + static_cast<UINT>(i), m_timerPeriods[i]);
  }
}

void CmivoDesktopPage::ForgetGadget(CmivoGadget* gadget) {
  UnregisterNotification(gadget);
  UnregisterTimer(gadget);
  if (m_pSelected == gadget) m_pSelected = nullptr;
  if (m_pPressed == gadget) {
    m_pPressed = nullptr;
    m_following = false;
  }
}

void CmivoDesktopPage::OnGadgetNotification(UINT message, WPARAM wParam, LPARAM lParam) {
  const std::size_t index = message - kGadgetNotificationFirst;
  if (index >= m_notifications.size()) return;
  if (CmivoGadget* gadget = m_notifications[index]) gadget->OnStateChanged(wParam, lParam);
}

void CmivoDesktopPage::OnGadgetTimer(UINT_PTR id) {
  const std::size_t index = id - kGadgetTimerFirst;
  if (index >= m_timers.size()) return;
  if (CmivoGadget* gadget = m_timers[index]) gadget->OnTimer(false);
}

// ---- Messages ----------------------------------------------------------------------------------

BOOL CmivoDesktopPage::PreTranslateMessage(MSG* msg) {
  const UINT message = msg->message;
  if (message >= kGadgetNotificationFirst && message - kGadgetNotificationFirst < m_notifications.size()) {
    OnGadgetNotification(message, msg->wParam, msg->lParam);
    return TRUE;
  }
  // A press on a gadget in design mode starts a drag, never a swipe: the
  // whole gesture passes the swipe tracking by.
  if (message == WM_LBUTTONDOWN && msg->hwnd == m_hWnd) {
    const POINT pt{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
    m_pressBypassesSwipe = m_designMode && ChildAt(pt.x, pt.y) != nullptr;
  }
  if (m_pressBypassesSwipe && (message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_LBUTTONUP)) {
    if (message == WM_LBUTTONUP) m_pressBypassesSwipe = false;
    return CmivoWnd::PreTranslateMessage(msg);
  }
  return CmivoPageWnd::PreTranslateMessage(msg);
}

LRESULT CmivoDesktopPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= kGadgetNotificationFirst && message - kGadgetNotificationFirst < m_notifications.size()) {
    OnGadgetNotification(message, wParam, lParam);
    return 0;
  }
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_LBUTTONDOWN:
      OnStylusDown(static_cast<UINT>(wParam), point);
      return CWnd::WindowProc(message, wParam, lParam);
    case WM_MOUSEMOVE: OnStylusMove(static_cast<UINT>(wParam), point); return CWnd::WindowProc(message, wParam, lParam);
    case WM_LBUTTONUP: OnStylusUp(static_cast<UINT>(wParam), point); return CWnd::WindowProc(message, wParam, lParam);
    case WM_CAPTURECHANGED:
      // Whoever took the stylus ends the drag, and a gadget's following.
      EndDrag();
      CancelFollowing();
      return 0;
    case WM_CONTEXTMENU:
      EndDrag();
      CancelFollowing();
      m_pressActive = false;
      m_pPressed = nullptr;
      ShowContextMenu();
      return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); return 0;
    case WM_CHAR: OnChar(static_cast<char16_t>(wParam)); return 0;
    case WM_TIMER:
      if (wParam >= kGadgetTimerFirst && wParam - kGadgetTimerFirst < m_timers.size()) {
        OnGadgetTimer(wParam);
        return 0;
      }
      return CmivoPageWnd::WindowProc(message, wParam, lParam);
    case WM_MIVO_SWIPE: OnSwipe(); return 0;
    case kTodayGetColor: {
      mivoAppearance* look = m_pCore->GetAppearance();
      if (!look) return 0;
      const bool text = wParam == kTodayColorText || wParam == kTodayColorHighlightedText;
      return static_cast<LRESULT>(text ? look->TextColor : look->BackgroundColor);
    }
    case kTodayDrawWatermark: return OnTodayWatermark(lParam);
    case kMsgLayoutProblem: {
      // The platform's plain box: the desktop's own overlays may not stand yet.
      const std::u16string text = GetString(IDS_ERROR) + u"\n\n" +
                                  (m_container.LastReadUserFile() ? kUserLayoutDamaged : kFactoryLayoutDamaged);
      MessageBoxW(m_hWnd, text.c_str(), u"mivo", MB_OK);
      return 0;
    }
    default: return CmivoPageWnd::WindowProc(message, wParam, lParam);
  }
}

LRESULT CmivoDesktopPage::OnTodayWatermark(LPARAM lParam) {
  auto* info = reinterpret_cast<const mivoTodayWatermarkInfo*>(lParam);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!info || !info->hdc || !look) return 0;
  FillBackground(info->hdc, info->rc, look);
  // The wallpaper behind the plug-in's rectangle, from where it lies on the page.
  POINT origin{info->rc.left, info->rc.top};
  if (info->hwnd) {
    ::ClientToScreen(info->hwnd, &origin);
    ScreenToClient(&origin);
  }
  DrawWallpaper(*look, info->hdc, origin.x, origin.y, info->rc, CurrentDesktopIndex() + 1, !IsPortraitLayout());
  return 1;
}

// ---- The state dump ----------------------------------------------------------------------------

bool CmivoDesktopPage::DumpDesktop(window::JsonWriter& j) {
  if (!m_hWnd) return false;
  j.BeginObject();
  j.Key("current");
  j.Int(CurrentDesktopIndex());
  j.Key("count");
  j.Int(m_desktopsCount);
  j.Key("design");
  j.Bool(m_designMode);
  j.Key("portrait");
  j.Bool(IsPortraitLayout());
  j.Key("gadgets");
  j.BeginArray();
  for (const auto& gadget : m_container.Gadgets()) {
    RECT r = gadget->GetRect();
    ClientToScreen(&r);
    j.BeginObject();
    j.Key("type");
    j.Int(gadget->TypeId());
    j.Key("class");
    j.String(gadget->GadgetClassName());
    j.Key("rect");
    j.Rect(r.left, r.top, r.right, r.bottom);
    j.Key("desktops");
    j.Int(gadget->Desktops());
    j.Key("portrait");
    j.Bool(gadget->IsPortrait());
    j.Key("visible");
    j.Bool(gadget->IsVisible());
    j.Key("selected");
    j.Bool(gadget.get() == m_pSelected);
    j.Key("text");
    j.String(gadget->GetDumpText());
    j.Key("image");
    if (const std::u16string image = gadget->GetDumpImage(); !image.empty()) {
      j.String(image);
    } else {
      j.Null();
    }
    j.EndObject();
  }
  j.EndArray();
  j.EndObject();
  return true;
}
