// CmivoLastIncomingCallPanelGadget: a panel across the desktop with the last
// caller: the contact's name (or the number) and the number under it. The
// icon opens the call log with all calls; the details call the caller back
// (a counted action). The panel follows the phone's state value of the last
// caller's number, so a call shows as it comes. A caller whose number was
// withheld offers no call-back. No stored fields.
#pragma once

#include <memory>
#include <string>

#include "desktop/details_panel_gadget.h"

class mivoActionMakeCall;

class CmivoLastIncomingCallPanelGadget : public CmivoDetailsPanelGadget {
 public:
  CmivoLastIncomingCallPanelGadget(mivoCore* core, CmivoDesktopPage* page);
  ~CmivoLastIncomingCallPanelGadget() override;

  // The call-back action, or null (no call yet, or no number to call).
  mivoActionMakeCall* CallBack() const { return m_pCall.get(); }

  void DrawIcon(HDC dc, const RECT& rect) override;
  // The caller, or "(no call)"; "(no number)" for a withheld one.
  void DrawDetails(HDC dc, const RECT& rect) override;
  // The call log, all calls.
  void OnIconTap(POINT point) override;
  // Calls the caller back; the call log when there is no number to call.
  void OnDetailsTap(POINT point) override;
  // Starts following the state value, and reads it.
  void OnActivate() override;
  void OnDeactivate() override;
  // Reads the last caller's number again.
  void OnStateChanged(WPARAM wParam, LPARAM lParam) override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  const char* GadgetClassName() const override { return "CmivoLastIncomingCallPanelGadget"; }
  std::u16string GetDumpText() override;

 private:
  // What the details part says: the caller, or the note for no call.
  std::u16string CallerText() const;

  std::unique_ptr<mivoActionMakeCall> m_pCall;  // for the last caller's number; null: none
  bool m_hadCall = false;                       // the state value exists (a call came, maybe withheld)
  UINT m_message = 0;                           // the page's notification message; 0: none
  HREGNOTIFY m_notify = nullptr;                // the state notification; null: none
};
