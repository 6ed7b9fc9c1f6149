#include "desktop/connection_manager_gadget.h"

#include "core/core.h"
#include "desktop/connection_manager.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/menu_entry.h"
#include "desktop/shared_skin_images.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"

namespace {

constexpr UINT kRadioPeriodMs = 2000;

enum : DWORD {
  kChoosePhone = 2064,
  kChooseWiFi = 2065,
  kChooseBluetooth = 2066,
};

enum : std::size_t {
  kPhoneOn = 0,
  kPhoneOff = 1,
  kWiFiOn = 2,
  kWiFiOff = 3,
  kBluetoothOn = 4,
  kBluetoothOff = 5,
  kBluetoothDiscoverable = 6,
};

mivoSharedSkinImages& RadioImages() {
  static mivoSharedSkinImages images{u"gadget_phone_on",
                                     u"gadget_phone_off",
                                     u"gadget_wifi_on",
                                     u"gadget_wifi_off",
                                     u"gadget_bluetooth_on",
                                     u"gadget_bluetooth_off",
                                     u"gadget_bluetooth_discoverable"};
  return images;
}

// The wireless device list's type of a gadget kind.
DWORD ListType(std::int32_t kind) {
  switch (kind) {
    case CmivoConnectionManagerGadget::kWiFi: return mivoConnectionManager::kWiFi;
    case CmivoConnectionManagerGadget::kBluetooth: return mivoConnectionManager::kBluetooth;
    default: return mivoConnectionManager::kPhone;
  }
}

// The states a kind knows: Bluetooth also discoverable.
bool KnownState(std::int32_t kind, int state) {
  return state == 0 || state == 1 || (state == 2 && kind == CmivoConnectionManagerGadget::kBluetooth);
}

}  // namespace

CmivoConnectionManagerGadget::CmivoConnectionManagerGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoStatusGadget(core, page, 28, RadioImages(), mivoStatusStyle{kTextRightOfImage, 20}) {
  Images();
}

void CmivoConnectionManagerGadget::SetDeviceKind(std::int32_t kind) {
  if (kind < kPhone || kind > kBluetooth) return;
  m_deviceKind = kind;
  Invalidate();
}

void CmivoConnectionManagerGadget::OnActivate() {
  if (m_pDesktop) m_pDesktop->RegisterTimer(this, kRadioPeriodMs);
  OnTimer(true);
}

void CmivoConnectionManagerGadget::OnTimer(bool) {
  // Only what someone sees is read.
  if (!IsVisible() || !m_pDesktop || m_pCore->TopPage() != m_pDesktop) return;
  mivoConnectionManager* radios = m_pCore->GetConnectionManager();
  const int answer = radios ? radios->GetRadioState(ListType(m_deviceKind)) : mivoConnectionManager::kNoAnswer;
  m_lastState = KnownState(m_deviceKind, answer) ? answer : -1;
  int text = IDS_RADIO_NOT_AVAILABLE;
  std::size_t image = 0;
  switch (m_deviceKind) {
    case kWiFi: image = m_lastState == 1 ? kWiFiOn : kWiFiOff; break;
    case kBluetooth:
      image = m_lastState == 1 ? kBluetoothOn : m_lastState == 2 ? kBluetoothDiscoverable : kBluetoothOff;
      break;
    default: image = m_lastState == 1 ? kPhoneOn : kPhoneOff; break;
  }
  if (m_lastState == 0) text = IDS_RADIO_OFF;
  if (m_lastState == 1) text = IDS_RADIO_ON;
  if (m_lastState == 2) text = IDS_RADIO_DISABLED;
  m_pImage = Images().Get(image);
  Show(GetString(text));
}

void CmivoConnectionManagerGadget::OnTap(UINT flags, POINT point) {
  if (IsDesignMode()) {
    CmivoGadget::OnTap(flags, point);
    return;
  }
  int next = -1;
  if (m_deviceKind == kBluetooth) {
    if (m_lastState >= 0 && m_lastState <= 2) next = (m_lastState + 1) % 3;
  } else if (m_lastState == 0 || m_lastState == 1) {
    next = 1 - m_lastState;
  }
  if (next < 0) return;
  // The display follows at the next reading.
  if (mivoConnectionManager* radios = m_pCore->GetConnectionManager()) {
    radios->SetRadioState(ListType(m_deviceKind), static_cast<DWORD>(next));
  }
}

// ---- The design-mode menu and the stored kind ------------------------------------------------

void CmivoConnectionManagerGadget::AddContextMenuItems() {
  CmivoStatusGadget::AddContextMenuItems();
  if (!IsDesignMode() || !m_pDesktop) return;
  m_pDesktop->AddMenuSection(GetString(IDS_RADIO_DEVICES));
  const struct {
    DWORD command;
    std::int32_t kind;
  } choices[] = {{kChoosePhone, kPhone}, {kChooseWiFi, kWiFi}, {kChooseBluetooth, kBluetooth}};
  for (const auto& choice : choices) {
    if (choice.kind != m_deviceKind) m_pDesktop->AddMenuEntry(MenuEntry(choice.command, 0, true));
  }
}

std::u16string CmivoConnectionManagerGadget::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  switch (entry.CommandId) {
    case kChoosePhone: return GetString(IDS_RADIO_PHONE);
    case kChooseWiFi: return GetString(IDS_RADIO_WIFI);
    case kChooseBluetooth: return GetString(IDS_RADIO_BLUETOOTH);
    default: return CmivoStatusGadget::GetContextMenuItemText(entry);
  }
}

void CmivoConnectionManagerGadget::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  switch (entry.CommandId) {
    case kChoosePhone: SetDeviceKind(kPhone); break;
    case kChooseWiFi: SetDeviceKind(kWiFi); break;
    case kChooseBluetooth: SetDeviceKind(kBluetooth); break;
    default: break;
  }
  CmivoStatusGadget::OnContextMenuCommand(entry);
  Invalidate();
}

void CmivoConnectionManagerGadget::LoadProperties(mivoArchiveReader& in) {
  CmivoStatusGadget::LoadProperties(in);
  std::uint32_t kind = 0;
  // A kind this gadget does not know stays the phone.
  if (in.ReadU32(&kind) && kind >= kPhone && kind <= kBluetooth) m_deviceKind = static_cast<std::int32_t>(kind);
}

void CmivoConnectionManagerGadget::SaveProperties(mivoArchiveWriter& out) {
  CmivoStatusGadget::SaveProperties(out);
  out.WriteU32(static_cast<std::uint32_t>(m_deviceKind));
}

void CmivoConnectionManagerGadget::ExchangeProperties(mivoGadgetProperties& properties) {
  CmivoStatusGadget::ExchangeProperties(properties);
  std::int32_t choice = m_deviceKind - 1;
  properties.Choice("device", choice, {"phone", "wifi", "bluetooth"});
  if (choice >= 0 && choice <= 2) m_deviceKind = choice + 1;
}
