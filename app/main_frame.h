// CMainFrame: the program's one top-level window. Its creation builds the
// core; its first activation shows the root page; it keeps the screen mode,
// the soft keys and the system state values the page header shows, and it
// runs the orderly exit.
#pragma once

#include <atomic>

#include "platform/registry/notify.h"
#include "platform/window/command_bar.h"
#include "platform/window/describe.h"
#include "platform/window/framework.h"

class CmivoPageWnd;
class mivoAppCore;

class CMainFrame : public CFrameWnd {
 public:
  CMainFrame();
  ~CMainFrame() override;

  static const char16_t* RuntimeClassName() { return u"CMainFrame"; }

  CCommandBar& MenuBar() { return m_wndCommandBar; }
  CmivoPageWnd* RootPage() const { return m_pRootPage; }
  // The window the activation watcher posts to; null before creation and
  // after destruction. Safe to read from any thread.
  HWND PostTarget() const { return m_postTarget.load(); }

  // The frame's window, of the window class "CMainFrame" (no class style,
  // cursor, brush or icon), over the whole screen until a screen mode places it.
  BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW, CWnd* parent = nullptr) override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  // After the window and all below it are gone: the root page goes.
  void PostNcDestroy() override;

 private:
  // ---- Messages of the frame ----
  LRESULT OnCreate(LPARAM lParam);
  void OnSize(WPARAM wParam, LPARAM lParam);
  void OnActivate(WPARAM wParam, LPARAM lParam);
  void OnShowWindow(WPARAM wParam, LPARAM lParam);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnActivateRequest();
  void OnExitRequest();
  void OnClose();
  void OnDestroy();
  void OnSoftKeys(const char16_t* left, const char16_t* right);
  void OnBackRequest();

  // ---- The system state values (state_monitor.cpp) ----
  // The four subscriptions, in the order time, signal, battery, battery.
  void SubscribeState();
  // Closed in the order time, signal, battery level, battery flags.
  void UnsubscribeState();
  LRESULT OnTimeChanged();
  LRESULT OnBatteryFlags();
  LRESULT OnBatteryLevel();
  LRESULT OnSignalChanged();

  // ---- The state dump's view of the frame ----
  void AddDumpSections();
  void RemoveDumpSections();

  void SetSoftKeyText(UINT command, const char16_t* label);
  mivoAppCore* Core() const;

  CCommandBar m_wndCommandBar;                 // the two soft keys
  HREGNOTIFY m_notifyTime = nullptr;           // HKLM System\State\DateTime Time -> WM_MIVO_TIME_CHANGED
  HREGNOTIFY m_notifyBatteryFlags = nullptr;   // HKLM System\State\Battery Main -> WM_MIVO_BATTERY_FLAGS
  HREGNOTIFY m_notifyBatteryLevel = nullptr;   // HKLM System\State\Battery Main -> WM_MIVO_BATTERY_LEVEL
  HREGNOTIFY m_notifySignal = nullptr;         // HKLM ...\Phone Signal Strength Raw -> WM_MIVO_SIGNAL_CHANGED
  CmivoPageWnd* m_pRootPage = nullptr;         // made at the first activation, owned
  std::atomic<HWND> m_postTarget{nullptr};     // m_hWnd for other threads
  bool m_exitRequested = false;                // the exit steps have run
  window::DumpSectionId m_dumpSoftKeys = 0;
  window::DumpSectionId m_dumpPages = 0;
  window::DumpSectionId m_dumpTop = 0;
};
