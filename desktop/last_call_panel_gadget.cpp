#include "desktop/last_call_panel_gadget.h"

#include "actions/action_kinds.h"
#include "core/core.h"
#include "core/page_ids.h"
#include "desktop/desktop_page.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/registry/notify.h"
#include "platform/registry/registry.h"

namespace {

constexpr int kAllCalls = 0;
constexpr char16_t kPanelImage[] = u"gadget_last_incoming_call";
constexpr char16_t kPhoneKey[] = u"System\\State\\Phone";
constexpr char16_t kLastCaller[] = u"Last Incoming Caller Number";
// The longest number read, in characters.
constexpr UINT kNumberChars = 255;

}  // namespace

CmivoLastIncomingCallPanelGadget::CmivoLastIncomingCallPanelGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoDetailsPanelGadget(core, page, 24) {}

CmivoLastIncomingCallPanelGadget::~CmivoLastIncomingCallPanelGadget() { OnDeactivate(); }

void CmivoLastIncomingCallPanelGadget::OnActivate() {
  if (m_pDesktop && !m_message) {
    m_message = m_pDesktop->RegisterNotification(this);
    if (m_pDesktop->m_hWnd)
      RegistryNotifyWindow(HKEY_LOCAL_MACHINE, kPhoneKey, kLastCaller, m_pDesktop->m_hWnd, m_message, 0, nullptr,
                           &m_notify);
  }
  OnStateChanged(0, 0);
}

void CmivoLastIncomingCallPanelGadget::OnDeactivate() {
  if (m_notify) RegistryCloseNotification(m_notify);
  m_notify = nullptr;
  if (m_message && m_pDesktop) m_pDesktop->UnregisterNotification(this);
  m_message = 0;
}

void CmivoLastIncomingCallPanelGadget::OnStateChanged(WPARAM, LPARAM) {
  m_pCall.reset();
  char16_t number[kNumberChars + 1] = {};
  m_hadCall = SUCCEEDED(RegistryGetString(HKEY_LOCAL_MACHINE, kPhoneKey, kLastCaller, number, kNumberChars + 1));
  // A withheld or unknown number leaves nothing to call back.
  if (m_hadCall && !PhoneNumberDigits(number).empty()) m_pCall = std::make_unique<mivoActionMakeCall>(m_pCore, number);
  Invalidate();
}

std::u16string CmivoLastIncomingCallPanelGadget::CallerText() const {
  if (m_pCall) return m_pCall->GetTitle();
  return GetString(m_hadCall ? IDS_NO_NUMBER : IDS_NO_CALL);
}

void CmivoLastIncomingCallPanelGadget::DrawIcon(HDC dc, const RECT& rect) {
  mivoAppearance* look = m_pCore->GetAppearance();
  DrawCentredImage(dc, look ? look->GetSkinImage(kPanelImage) : nullptr, rect);
}

void CmivoLastIncomingCallPanelGadget::DrawDetails(HDC dc, const RECT& rect) {
  if (!m_pCall) {
    DrawNote(dc, rect, CallerText());
    return;
  }
  // A contact's name with the number under it; a number alone stands alone.
  const std::u16string caller = m_pCall->GetTitle();
  const std::u16string& number = m_pCall->Number();
  DrawTwoLines(dc, rect, caller, caller == number ? std::u16string() : number);
}

void CmivoLastIncomingCallPanelGadget::OnIconTap(POINT) {
  CmivoPageWnd* calls = m_pCore->GetPage(kCallLogPage);
  if (!calls) return;
  calls->SetPageParam(kAllCalls, 0);
  m_pCore->ShowPage(calls);
}

void CmivoLastIncomingCallPanelGadget::OnDetailsTap(POINT point) {
  if (!m_pCall) {
    OnIconTap(point);
    return;
  }
  // A call arriving while the call-back asks its question replaces m_pCall:
  // the call-back runs on a copy of its own.
  const std::unique_ptr<mivoAction> callBack = m_pCall->Clone();
  m_pCore->RunAction(callBack.get());
}

void CmivoLastIncomingCallPanelGadget::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoAppearance* look = m_pCore->GetAppearance()) images.push_back(look->GetSkinImage(kPanelImage));
}

std::u16string CmivoLastIncomingCallPanelGadget::GetDumpText() { return CallerText(); }
