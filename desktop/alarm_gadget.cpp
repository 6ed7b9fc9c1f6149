#include "desktop/alarm_gadget.h"

#include "actions/action_kinds.h"
#include "core/core.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/menu_entry.h"
#include "desktop/shared_skin_images.h"
#include "look/archive.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/registry/registry.h"
#include "platform/win32/clock.h"
#include "platform/win32/errors.h"

namespace {

const mivoStateValue kAlarmValue{HKEY_CURRENT_USER, u"System\\State\\Shell\\Alarms", u"Next"};
constexpr std::size_t kAlarmBytes = 8;

// The clock's alarms: the control-panel applet and its tab.
constexpr int kClockApplet = 16;
constexpr int kAlarmsTab = 1;

enum : DWORD {
  kSmallIcon = 2064,
  kLargeIcon = 2065,
};

// The four pictures, by (set, small).
enum : std::size_t { kSetSmall = 0, kSetLarge = 1, kUnsetSmall = 2, kUnsetLarge = 3 };

mivoSharedSkinImages& AlarmImages() {
  static mivoSharedSkinImages images{u"gadget_alarm", u"gadget_alarm_big", u"gadget_alarm_disabled",
                                     u"gadget_alarm_big_disabled"};
  return images;
}

}  // namespace

CmivoAlarmGadget::CmivoAlarmGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoStatusGadget(core, page, 14, AlarmImages(), mivoStatusStyle{kTextUnderImage, 18}) {}

mivoSkinImage* CmivoAlarmGadget::CurrentImage() {
  const bool set = !m_text.empty();
  return Images().Get(set ? (m_smallIcon ? kSetSmall : kSetLarge) : (m_smallIcon ? kUnsetSmall : kUnsetLarge));
}

void CmivoAlarmGadget::OnActivate() {
  Images();
  WatchState(kAlarmValue);
  OnStateChanged(0, 0);
}

std::u16string CmivoAlarmGadget::AlarmText(const std::string& bytes) {
  if (bytes.size() != kAlarmBytes) return {};
  std::uint64_t ticks = 0;
  for (int i = 7; i >= 0; --i) ticks = (ticks << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
  FILETIME local{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
  // The local wall time as a moment, so the shared routine writes it as it stands.
  SYSTEMTIME wall{};
  FILETIME utc{};
  SYSTEMTIME utcTime{};
  if (!FileTimeToSystemTime(&local, &wall) || !LocalFileTimeToFileTime(&local, &utc) ||
      !FileTimeToSystemTime(&utc, &utcTime)) {
    return {};
  }
  const std::int64_t ms = sysclock::SystemTimeToUnixMs(utcTime);
  const std::int64_t seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
  return datetime::Strftime(seconds, u"%H:%M");
}

void CmivoAlarmGadget::OnStateChanged(WPARAM, LPARAM) {
  std::string bytes;
  HKEY key = nullptr;
  if (RegOpenKeyExW(kAlarmValue.root, kAlarmValue.key, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    // Exactly eight bytes: a longer value does not fit and is no alarm either.
    BYTE data[kAlarmBytes] = {};
    DWORD size = kAlarmBytes;
    DWORD type = 0;
    if (RegQueryValueExW(key, kAlarmValue.name, nullptr, &type, data, &size) == ERROR_SUCCESS) {
      bytes.assign(reinterpret_cast<const char*>(data), size);
    }
    RegCloseKey(key);
  }
  Show(AlarmText(bytes));
}

void CmivoAlarmGadget::OnIconTap(POINT) {
  mivoActionControlPanel alarms(m_pCore, kClockApplet, kAlarmsTab);
  m_pCore->RunAction(&alarms);
}

// ---- The design-mode menu and the stored flag ---------------------------------------------

void CmivoAlarmGadget::AddContextMenuItems() {
  if (IsDesignMode() && m_pDesktop) {
    m_pDesktop->AddMenuEntry(MenuEntry(m_smallIcon ? kLargeIcon : kSmallIcon, IDS_ALARM_ICON_SIZE_HELP, true));
  }
  CmivoStatusGadget::AddContextMenuItems();
}

std::u16string CmivoAlarmGadget::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  switch (entry.CommandId) {
    case kSmallIcon: return GetString(IDS_SMALL_ALARM_ICON);
    case kLargeIcon: return GetString(IDS_LARGE_ALARM_ICON);
    default: return CmivoStatusGadget::GetContextMenuItemText(entry);
  }
}

void CmivoAlarmGadget::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kSmallIcon || entry.CommandId == kLargeIcon) {
    m_smallIcon = entry.CommandId == kSmallIcon;
    Invalidate();
  }
  CmivoStatusGadget::OnContextMenuCommand(entry);
}

void CmivoAlarmGadget::LoadProperties(mivoArchiveReader& in) {
  CmivoStatusGadget::LoadProperties(in);
  std::uint8_t small = 0;
  if (in.ReadU8(&small)) m_smallIcon = small != 0;
}

void CmivoAlarmGadget::SaveProperties(mivoArchiveWriter& out) {
  CmivoStatusGadget::SaveProperties(out);
  out.WriteU8(m_smallIcon ? 1 : 0);
}

void CmivoAlarmGadget::ExchangeProperties(mivoGadgetProperties& properties) {
  CmivoStatusGadget::ExchangeProperties(properties);
  properties.Flag("small-icon", m_smallIcon);
}
