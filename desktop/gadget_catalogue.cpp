#include "desktop/gadget_catalogue.h"

#include <algorithm>

#include "look/language.h"
#include "look/string_ids.h"

namespace {

// Every kind by type id. Kinds 20 and 21 are action gadgets and 31..35 the
// most-used lists, each made with its own type id.
constexpr mivoGadgetKind kKinds[] = {
    {1, "CmivoClock", "clock"},
    {2, "CmivoBatteryInfo", "battery"},
    {3, "CmivoGSMNetwork", "operator"},
    {4, "CmivoMissedCallsEvent", "missed-calls"},
    {5, "CmivoUnreadSMSEvent", "unread-sms"},
    {6, "CmivoShowPageGadget", "show-page"},
    {7, "CmivoSignalStrengthGadget", "signal"},
    {8, "CmivoDateGadget", "date"},
    {9, "CmivoLineGadget", "divider"},
    {10, "CmivoActionGadget", "action"},
    {11, "CmivoFavoritesDetailsGadget", "favorites-panel"},
    {12, "CmivoActionsHistoryDetailsGadget", "history-panel"},
    {13, "CmivoUnreadMMSEvent", "unread-mms"},
    {14, "CmivoAlarmGadget", "alarm"},
    {15, "CmivoSwitchDesktopGadget", "switch-desktop"},
    {16, "CmivoUnreadEmailEvent", "unread-email"},
    {17, "CmivoBluetoothGadget", "bluetooth"},
    {18, "CmivoSMSDetailsGadget", "sms-panel"},
    {19, "CmivoMemoryGadget", "memory"},
    {20, "CmivoActionGadget", "favorites"},
    {21, "CmivoActionGadget", "history"},
    {22, "CmivoTasksGadget", "tasks"},
    {23, "CmivoAppointmentPanelGadget", "appointment-panel"},
    {24, "CmivoLastIncomingCallPanelGadget", "last-call-panel"},
    {25, "CmivoTodayPluginGadget", "today-plugin"},
    {26, "CmivoGadgetPlugin", "mivo-plugin"},
    {27, "CmivoCalendarGadget", "calendar"},
    {28, "CmivoConnectionManagerGadget", "connection-manager"},
    {29, "CmivoVolumeGadget", "volume"},
    {30, "CmivoDesktopSwitcherGadget", "desktop-switcher"},
    {31, "CmivoAllActionsHistoryGadget", "most-used-actions"},
    {32, "CmivoSettingsActionsHistoryGadget", "most-used-settings"},
    {33, "CmivoExecuteFileActionsHistoryGadget", "most-used-applications"},
    {34, "CmivoMakeCallActionsHistoryGadget", "most-used-calls"},
    {35, "CmivoWriteSMSActionsHistoryGadget", "most-written-sms"},
};

// The "Add gadget" list, in its order.
constexpr mivoCatalogueEntry kEntries[] = {
    {1, IDS_GADGET_CLOCK, u"", IDS_GADGET_CLOCK_HELP, 0},
    {8, IDS_GADGET_DATE, u"", IDS_GADGET_DATE_HELP, 0},
    {2, IDS_GADGET_BATTERY, u"", IDS_GADGET_BATTERY_HELP, 0},
    {3, IDS_GADGET_OPERATOR_NAME, u"", IDS_GADGET_OPERATOR_NAME_HELP, 0},
    {7, IDS_GADGET_SIGNAL, u"", IDS_GADGET_SIGNAL_HELP, 0},
    {28, IDS_GADGET_CONNECTION_MANAGER, u"", IDS_GADGET_CONNECTION_MANAGER_HELP, 0},
    {19, IDS_GADGET_MEMORY_STATUS, u"", IDS_GADGET_MEMORY_STATUS_HELP, 0},
    {20, IDS_GADGET_FAVORITES, u"", IDS_GADGET_FAVORITES_HELP, 0},
    {21, IDS_GADGET_ACTIONS_HISTORY, u"", IDS_GADGET_ACTIONS_HISTORY_HELP, 0},
    {4, IDS_GADGET_MISSED_CALLS, u"", IDS_GADGET_MISSED_CALLS_HELP, 0},
    {5, IDS_GADGET_UNREAD_SMS, u"", IDS_GADGET_UNREAD_SMS_HELP, 0},
    {13, IDS_GADGET_UNREAD_MMS, u"", IDS_GADGET_UNREAD_MMS_HELP, 0},
    {16, IDS_GADGET_UNREAD_EMAIL, u"", IDS_GADGET_UNREAD_EMAIL_HELP, 0},
    {27, IDS_GADGET_CALENDAR, u"", IDS_GADGET_CALENDAR_HELP, 0},
    {22, IDS_GADGET_TASKS, u"", IDS_GADGET_TASKS_HELP, 0},
    {17, IDS_GADGET_BLUETOOTH, u"", IDS_GADGET_BLUETOOTH_HELP, 0},
    {14, IDS_GADGET_ALARM, u"", IDS_GADGET_ALARM_HELP, 0},
    {9, IDS_GADGET_DIVIDER, u"", IDS_GADGET_DIVIDER_HELP, 0},
    {11, IDS_GADGET_FAVORITES_PANEL, u"", IDS_GADGET_FAVORITES_PANEL_HELP, 0},
    {12, IDS_GADGET_ACTIONS_HISTORY_PANEL, u"", IDS_GADGET_ACTIONS_HISTORY_PANEL_HELP, 0},
    {23, 0, u"Appointment panel", 0, 0},
    {18, IDS_GADGET_SMS_PANEL, u"", IDS_GADGET_SMS_PANEL_HELP, 0},
    {24, IDS_GADGET_LAST_CALL_PANEL, u"", IDS_GADGET_LAST_CALL_PANEL_HELP, 0},
    {25, IDS_GADGET_TODAY_PLUGIN, u"", IDS_GADGET_TODAY_PLUGIN_HELP, IDS_EXPERIMENTAL},
    {26, IDS_GADGET_MIVO_PLUGIN, u"", IDS_GADGET_MIVO_PLUGIN_HELP, IDS_EXPERIMENTAL},
    {29, IDS_GADGET_VOLUME, u"", IDS_GADGET_VOLUME_HELP, 0},
    {30, IDS_GADGET_DESKTOP_SWITCHER, u"", IDS_GADGET_DESKTOP_SWITCHER_HELP, 0},
    {31, IDS_MOST_USED_ACTIONS, u"", IDS_MOST_USED_ACTIONS_HELP, 0},
    {32, IDS_MOST_USED_SETTINGS, u"", IDS_MOST_USED_SETTINGS_HELP, 0},
    {33, IDS_MOST_USED_APPLICATIONS, u"", IDS_MOST_USED_APPLICATIONS_HELP, 0},
    {34, IDS_MOST_USED_CALLS, u"", IDS_MOST_USED_CALLS_HELP, 0},
    {35, IDS_MOST_WRITTEN_SMS, u"", IDS_MOST_WRITTEN_SMS_HELP, 0},
};

}  // namespace

std::u16string mivoCatalogueEntry::Name() const { return nameId ? GetString(nameId) : std::u16string(literalName); }

std::u16string mivoCatalogueEntry::Description() const { return descriptionId ? GetString(descriptionId) : u""; }

std::u16string mivoCatalogueEntry::Warning() const { return warningId ? GetString(warningId) : u""; }

namespace gadget_catalogue {

std::span<const mivoGadgetKind> Kinds() { return kKinds; }

const mivoGadgetKind* FindKind(DWORD typeId) {
  for (const mivoGadgetKind& kind : kKinds) {
    if (kind.typeId == typeId) return &kind;
  }
  return nullptr;
}

const mivoGadgetKind* FindKindByName(std::string_view name) {
  for (const mivoGadgetKind& kind : kKinds) {
    if (name == kind.key) return &kind;
  }
  // A class name names the kind only when one kind has that class.
  const mivoGadgetKind* found = nullptr;
  for (const mivoGadgetKind& kind : kKinds) {
    if (name != kind.className) continue;
    if (found) return nullptr;
    found = &kind;
  }
  return found;
}

std::span<const mivoCatalogueEntry> Entries() { return kEntries; }

}  // namespace gadget_catalogue
