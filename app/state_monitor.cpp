// The main frame's part in following the system state: the time, battery and
// signal values the page header shows. Changes arrive as posted messages;
// each handler reads the value again (the message's own parameters are not
// trusted), stores it in the core and repaints only the matching rectangle
// of the visible page.
#include "app/app_core.h"
#include "app/main_frame.h"
#include "app/trace.h"
#include "core/messages.h"
#include "platform/registry/registry.h"
#include "ui/page_wnd.h"

namespace {

constexpr char16_t kTimeKey[] = u"System\\State\\DateTime";
constexpr char16_t kTimeValue[] = u"Time";
constexpr char16_t kBatteryKey[] = u"System\\State\\Battery";
constexpr char16_t kBatteryValue[] = u"Main";
constexpr char16_t kPhoneKey[] = u"System\\State\\Phone";
constexpr char16_t kSignalValue[] = u"Signal Strength Raw";

// A failed read gives 0.
DWORD ReadState(const char16_t* key, const char16_t* value) {
  DWORD v = 0;
  if (RegistryGetDWORD(HKEY_LOCAL_MACHINE, key, value, &v) != S_OK) v = 0;
  return v;
}

HREGNOTIFY Subscribe(HWND frame, const char16_t* key, const char16_t* value, UINT message, const char* step) {
  lifecycle::Trace(step);
  HREGNOTIFY handle = nullptr;
  if (RegistryNotifyWindow(HKEY_LOCAL_MACHINE, key, value, frame, message, 0, nullptr, &handle) != S_OK) {
    // That value is then read only at start.
    return nullptr;
  }
  return handle;
}

// Repaints one rectangle of the visible page, when a page with a window is
// on top (a null window would mean every window to the platform).
void InvalidateTop(mivoAppCore* core, const RECT& (CmivoPageWnd::*which)() const, BOOL erase) {
  CmivoPageWnd* top = core->TopPage();
  if (!top || !top->m_hWnd) return;
  top->InvalidateRect(&(top->*which)(), erase);
}

void Close(HREGNOTIFY& handle, const char* step) {
  lifecycle::Trace(step);
  if (handle) RegistryCloseNotification(handle);
  handle = nullptr;
}

}  // namespace

void CMainFrame::SubscribeState() {
  m_notifyTime = Subscribe(m_hWnd, kTimeKey, kTimeValue, WM_MIVO_TIME_CHANGED, "frame: subscribe time");
  m_notifySignal = Subscribe(m_hWnd, kPhoneKey, kSignalValue, WM_MIVO_SIGNAL_CHANGED, "frame: subscribe signal");
  m_notifyBatteryFlags =
      Subscribe(m_hWnd, kBatteryKey, kBatteryValue, WM_MIVO_BATTERY_FLAGS, "frame: subscribe battery flags");
  m_notifyBatteryLevel =
      Subscribe(m_hWnd, kBatteryKey, kBatteryValue, WM_MIVO_BATTERY_LEVEL, "frame: subscribe battery level");
}

void CMainFrame::UnsubscribeState() {
  Close(m_notifyTime, "frame: close time");
  Close(m_notifySignal, "frame: close signal");
  Close(m_notifyBatteryLevel, "frame: close battery level");
  Close(m_notifyBatteryFlags, "frame: close battery flags");
}

LRESULT CMainFrame::OnTimeChanged() {
  // Nothing is stored: the header reads the clock when it paints.
  mivoAppCore* core = Core();
  if (!core) return 1;
  InvalidateTop(core, &CmivoPageWnd::ClockRect, TRUE);
  return 1;
}

LRESULT CMainFrame::OnBatteryFlags() {
  mivoAppCore* core = Core();
  if (!core) return 1;
  core->SetBatteryFlags(ReadState(kBatteryKey, kBatteryValue) & 0xFFFF);
  InvalidateTop(core, &CmivoPageWnd::BatteryRect, FALSE);
  return 1;
}

LRESULT CMainFrame::OnBatteryLevel() {
  mivoAppCore* core = Core();
  if (!core) return 1;
  core->SetBatteryLevel((ReadState(kBatteryKey, kBatteryValue) >> 16) + 19);
  InvalidateTop(core, &CmivoPageWnd::BatteryRect, FALSE);
  return 1;
}

LRESULT CMainFrame::OnSignalChanged() {
  mivoAppCore* core = Core();
  if (!core) return 1;
  core->SetSignalStrength(ReadState(kPhoneKey, kSignalValue));
  InvalidateTop(core, &CmivoPageWnd::SignalRect, FALSE);
  return 1;
}
