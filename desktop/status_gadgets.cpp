#include "desktop/status_gadgets.h"

#include "actions/action_kinds.h"
#include "core/core.h"
#include "core/page_ids.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/shared_skin_images.h"
#include "look/appearance.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pim/read_sms_page.h"
#include "pim/sms_folder.h"
#include "pim/sms_store.h"
#include "platform/device/mapi_defs.h"
#include "platform/device/power.h"
#include "platform/registry/registry.h"
#include "platform/win32/text.h"
#include "ui/page_wnd.h"

namespace {

// The call log's filters.
constexpr int kAllCalls = 0;
constexpr int kMissedCalls = 3;

// The battery's percentage follows this timer; the charging image follows
// the state notification at once.
constexpr UINT kBatteryPeriodMs = 60000;
constexpr DWORD kBatteryCharging = 2;
constexpr BYTE kPercentageUnknown = 255;

const mivoStateValue kBatteryValue{HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main"};
const mivoStateValue kOperatorValue{HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Current Operator Name"};
const mivoStateValue kSignalValue{HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw"};
const mivoStateValue kMissedValue{HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count"};
const mivoStateValue kUnreadSMSValue{HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count"};
const mivoStateValue kUnreadMMSValue{HKEY_CURRENT_USER, u"System\\State\\Messages\\MMS\\Unread", u"Count"};
const mivoStateValue kUnreadEmailValue{HKEY_CURRENT_USER, u"System\\State\\Messages\\TotalEmail\\Unread", u"Count"};
const mivoStateValue kTasksValue{HKEY_CURRENT_USER, u"System\\State\\Tasks", u"Active"};
const mivoStateValue kBluetoothValue{HKEY_LOCAL_MACHINE, u"System\\State\\Connections\\Bluetooth", u"Count"};

// The starting styles: a small text beside the picture, or a large number under it.
constexpr mivoStatusStyle kBeside{kTextRightOfImage, 20};
constexpr mivoStatusStyle kUnder{kTextUnderImage, 50};

// The registry reads a text into this many characters.
constexpr UINT kOperatorChars = 255;

mivoSharedSkinImages& BatteryImages() {
  static mivoSharedSkinImages images{u"gadget_battery", u"gadget_battery_ac"};
  return images;
}

mivoSharedSkinImages& NoImages() {
  static mivoSharedSkinImages images{};
  return images;
}

// Each class's one picture.
mivoSharedSkinImages& SignalImages() {
  static mivoSharedSkinImages images{u"gadget_signal_strength"};
  return images;
}
mivoSharedSkinImages& MissedCallsImages() {
  static mivoSharedSkinImages images{u"gadget_missed_calls"};
  return images;
}
mivoSharedSkinImages& UnreadSMSImages() {
  static mivoSharedSkinImages images{u"gadget_unread_sms"};
  return images;
}
mivoSharedSkinImages& UnreadMMSImages() {
  static mivoSharedSkinImages images{u"gadget_unread_mms"};
  return images;
}
mivoSharedSkinImages& UnreadEmailImages() {
  static mivoSharedSkinImages images{u"gadget_unread_emails"};
  return images;
}
mivoSharedSkinImages& TasksImages() {
  static mivoSharedSkinImages images{u"gadget_tasks"};
  return images;
}
mivoSharedSkinImages& BluetoothImages() {
  static mivoSharedSkinImages images{u"gadget_bluetooth"};
  return images;
}

}  // namespace

// ---- CmivoBatteryInfo -----------------------------------------------------------------

CmivoBatteryInfo::CmivoBatteryInfo(mivoCore* core, CmivoDesktopPage* page)
    : CmivoStatusGadget(core, page, 2, BatteryImages(), kBeside) {}

mivoSkinImage* CmivoBatteryInfo::CurrentImage() { return Images().Get((m_batteryFlags & kBatteryCharging) ? 1 : 0); }

void CmivoBatteryInfo::OnActivate() {
  Images();
  if (m_pDesktop) m_pDesktop->RegisterTimer(this, kBatteryPeriodMs);
  WatchState(kBatteryValue);
  OnStateChanged(0, 0);
  OnTimer(true);
}

void CmivoBatteryInfo::OnStateChanged(WPARAM, LPARAM) {
  m_batteryFlags = ReadDword(kBatteryValue) & 0xFFFF;
  ShowImageChange();
  // "Main" also carries the level: the percentage need not wait for the
  // next minute to show a change the device has announced.
  OnTimer(false);
}

void CmivoBatteryInfo::OnTimer(bool) {
  SYSTEM_POWER_STATUS_EX status{};
  if (!GetSystemPowerStatusEx(&status, FALSE)) status.BatteryLifePercent = kPercentageUnknown;
  Show(status.BatteryLifePercent == kPercentageUnknown ? std::u16string(u"??%")
                                                       : text::Format(u"%d%%", int{status.BatteryLifePercent}));
}

// ---- CmivoGSMNetwork ------------------------------------------------------------------

CmivoGSMNetwork::CmivoGSMNetwork(mivoCore* core, CmivoDesktopPage* page)
    : CmivoStatusGadget(core, page, 3, NoImages(), mivoStatusStyle{kTextLeftOfImage, 20}) {
  // A colour of the theme apart from the other gadgets' text, as it is now
  // (a later theme change keeps it): the theme's sub-text colour. The
  // theme's fourth colour would be the cards' outline, which the themes
  // keep close to the background, so a name in it could not be read (light
  // grey on the light wallpaper of "Paper").
  mivoAppearance* look = core ? core->GetAppearance() : nullptr;
  if (look) m_style.textColor = look->SubTextColor;
  m_text = u"operator";
}

void CmivoGSMNetwork::OnActivate() {
  WatchState(kOperatorValue);
  OnStateChanged(0, 0);
}

void CmivoGSMNetwork::OnStateChanged(WPARAM, LPARAM) {
  WCHAR name[kOperatorChars] = {};
  if (RegistryGetString(kOperatorValue.root, kOperatorValue.key, kOperatorValue.name, name, kOperatorChars) != S_OK) {
    name[0] = u'\0';
  }
  Show(name[0] ? std::u16string(name) : GetString(IDS_NO_OPERATOR));
}

// ---- The counters ---------------------------------------------------------------------

CmivoSignalStrengthGadget::CmivoSignalStrengthGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoNotifiedCountGadget(core, page, 7, SignalImages(), kBeside, kSignalValue, u"%d%%") {}

CmivoMissedCallsEvent::CmivoMissedCallsEvent(mivoCore* core, CmivoDesktopPage* page)
    : CmivoNotifiedCountGadget(core, page, 4, MissedCallsImages(), kUnder, kMissedValue, u"%d") {}

void CmivoMissedCallsEvent::OnIconTap(POINT) { m_pCore->ShowPageById(kPhonePage); }

void CmivoMissedCallsEvent::OnTextTap(POINT) {
  CmivoPageWnd* log = m_pCore->GetPage(kCallLogPage);
  if (!log) return;
  log->SetPageParam(m_text != u"0" ? kMissedCalls : kAllCalls, 0);
  m_pCore->ShowPage(log);
}

CmivoUnreadSMSEvent::CmivoUnreadSMSEvent(mivoCore* core, CmivoDesktopPage* page)
    : CmivoNotifiedCountGadget(core, page, 5, UnreadSMSImages(), kUnder, kUnreadSMSValue, u"%d") {}

void CmivoUnreadSMSEvent::OnIconTap(POINT) {
  mivoActionWriteSMS write(m_pCore);
  m_pCore->RunAction(&write);
}

void CmivoUnreadSMSEvent::OnTextTap(POINT) {
  // The count is read once more when the Inbox does not bear it out; a
  // second miss shows the Inbox rather than asking again and again.
  for (int pass = 0; pass < 2; ++pass) {
    if (m_text != u"1") break;
    if (ShowFirstUnread()) return;
    OnStateChanged(0, 0);
  }
  ShowInbox();
}

void CmivoUnreadSMSEvent::ShowInbox() {
  CmivoPageWnd* list = m_pCore->GetPage(kSMSListPage);
  if (!list) return;
  list->SetPageParam(static_cast<int>(PR_CE_IPM_INBOX_ENTRYID), 0);
  m_pCore->ShowPage(list);
}

bool CmivoUnreadSMSEvent::ShowFirstUnread() {
  mivoSMSStore* store = m_pCore->GetSMSStore();
  mivoSMSFolder* inbox = store ? store->GetFolder(PR_CE_IPM_INBOX_ENTRYID) : nullptr;
  auto* reader = dynamic_cast<CmivoReadSMSPage*>(m_pCore->GetPage(kReadSMSPage));
  if (!inbox || !reader) return false;
  for (std::size_t i = 0; i < inbox->GetCount(); ++i) {
    mivoSMSMessage* message = inbox->GetAt(i);
    if (!message || message->IsRead()) continue;
    reader->SetMessage(message);
    m_pCore->ShowPage(reader);
    return true;
  }
  return false;
}

CmivoUnreadMMSEvent::CmivoUnreadMMSEvent(mivoCore* core, CmivoDesktopPage* page)
    : CmivoNotifiedCountGadget(core, page, 13, UnreadMMSImages(), kUnder, kUnreadMMSValue, u"%d") {}

CmivoUnreadEmailEvent::CmivoUnreadEmailEvent(mivoCore* core, CmivoDesktopPage* page)
    : CmivoNotifiedCountGadget(core, page, 16, UnreadEmailImages(), kUnder, kUnreadEmailValue, u"%d") {}

void CmivoUnreadEmailEvent::OnIconTap(POINT) {
  mivoActionOffice messaging(m_pCore, kOfficeMessaging);
  m_pCore->RunAction(&messaging);
}

CmivoTasksGadget::CmivoTasksGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoNotifiedCountGadget(core, page, 22, TasksImages(), kUnder, kTasksValue, u"%d") {}

void CmivoTasksGadget::OnIconTap(POINT) {
  mivoActionOffice tasks(m_pCore, kOfficeTasksList);
  m_pCore->RunAction(&tasks);
}

void CmivoTasksGadget::LoadProperties(mivoArchiveReader& in) {
  CmivoNotifiedCountGadget::LoadProperties(in);
  std::uint32_t unused = 0;
  if (in.ReadU32(&unused)) m_unused = unused;
}

void CmivoTasksGadget::SaveProperties(mivoArchiveWriter& out) {
  CmivoNotifiedCountGadget::SaveProperties(out);
  out.WriteU32(m_unused);
}

void CmivoTasksGadget::ExchangeProperties(mivoGadgetProperties& properties) {
  CmivoNotifiedCountGadget::ExchangeProperties(properties);
  std::int32_t unused = static_cast<std::int32_t>(m_unused);
  properties.Int("unused", unused);
  m_unused = static_cast<std::uint32_t>(unused);
}

CmivoBluetoothGadget::CmivoBluetoothGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoNotifiedCountGadget(core, page, 17, BluetoothImages(), kBeside, kBluetoothValue, u"%d") {}
