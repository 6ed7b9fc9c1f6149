// The factory: the gadget classes that are built, by class name. A family
// that is built adds its line to kMakers; the catalogue's kinds name their
// classes (gadget_catalogue.cpp), so the kind becomes available at once.
#include <cstring>

#include "actions/action_kinds.h"
#include "core/page_ids.h"
#include "desktop/action_gadget.h"
#include "desktop/action_panel_gadgets.h"
#include "desktop/alarm_gadget.h"
#include "desktop/appointment_panel_gadget.h"
#include "desktop/calendar_gadget.h"
#include "desktop/clock_gadget.h"
#include "desktop/connection_manager_gadget.h"
#include "desktop/date_gadget.h"
#include "desktop/desktop_switcher_gadget.h"
#include "desktop/gadget_catalogue.h"
#include "desktop/gadget_plugin.h"
#include "desktop/last_call_panel_gadget.h"
#include "desktop/line_gadget.h"
#include "desktop/memory_gadget.h"
#include "desktop/most_used_gadgets.h"
#include "desktop/sms_panel_gadget.h"
#include "desktop/status_gadgets.h"
#include "desktop/switch_desktop_gadget.h"
#include "desktop/today_plugin_gadget.h"
#include "desktop/volume_gadget.h"

namespace {

using Maker = std::unique_ptr<CmivoGadget> (*)(mivoCore* core, CmivoDesktopPage* page, DWORD typeId);

std::unique_ptr<CmivoGadget> MakeActionGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId) {
  auto gadget = std::make_unique<CmivoActionGadget>(core, page, typeId);
  if (typeId == 20) gadget->SetAction(std::make_unique<mivoActionShowPage>(core, kFavoritesPage, 0, 0));
  if (typeId == 21) gadget->SetAction(std::make_unique<mivoActionShowPage>(core, kActionsHistoryPage, 0, 0));
  return gadget;
}

std::unique_ptr<CmivoGadget> MakeShowPageGadget(mivoCore* core, CmivoDesktopPage* page, DWORD) {
  return std::make_unique<CmivoShowPageGadget>(core, page);
}

// A kind whose class takes the core and the page (its type id is its own).
template <typename Gadget>
std::unique_ptr<CmivoGadget> Make(mivoCore* core, CmivoDesktopPage* page, DWORD) {
  return std::make_unique<Gadget>(core, page);
}

struct ClassMaker {
  const char* className;
  Maker make;
};

constexpr ClassMaker kMakers[] = {
    {"CmivoActionGadget", &MakeActionGadget},
    {"CmivoShowPageGadget", &MakeShowPageGadget},
    {"CmivoClock", &Make<CmivoClock>},
    {"CmivoDateGadget", &Make<CmivoDateGadget>},
    {"CmivoBatteryInfo", &Make<CmivoBatteryInfo>},
    {"CmivoGSMNetwork", &Make<CmivoGSMNetwork>},
    {"CmivoSignalStrengthGadget", &Make<CmivoSignalStrengthGadget>},
    {"CmivoMissedCallsEvent", &Make<CmivoMissedCallsEvent>},
    {"CmivoUnreadSMSEvent", &Make<CmivoUnreadSMSEvent>},
    {"CmivoUnreadMMSEvent", &Make<CmivoUnreadMMSEvent>},
    {"CmivoUnreadEmailEvent", &Make<CmivoUnreadEmailEvent>},
    {"CmivoTasksGadget", &Make<CmivoTasksGadget>},
    {"CmivoBluetoothGadget", &Make<CmivoBluetoothGadget>},
    {"CmivoAlarmGadget", &Make<CmivoAlarmGadget>},
    {"CmivoMemoryGadget", &Make<CmivoMemoryGadget>},
    {"CmivoConnectionManagerGadget", &Make<CmivoConnectionManagerGadget>},
    {"CmivoVolumeGadget", &Make<CmivoVolumeGadget>},
    {"CmivoSwitchDesktopGadget", &Make<CmivoSwitchDesktopGadget>},
    {"CmivoFavoritesDetailsGadget", &Make<CmivoFavoritesDetailsGadget>},
    {"CmivoActionsHistoryDetailsGadget", &Make<CmivoActionsHistoryDetailsGadget>},
    {"CmivoAllActionsHistoryGadget", &Make<CmivoAllActionsHistoryGadget>},
    {"CmivoSettingsActionsHistoryGadget", &Make<CmivoSettingsActionsHistoryGadget>},
    {"CmivoExecuteFileActionsHistoryGadget", &Make<CmivoExecuteFileActionsHistoryGadget>},
    {"CmivoMakeCallActionsHistoryGadget", &Make<CmivoMakeCallActionsHistoryGadget>},
    {"CmivoWriteSMSActionsHistoryGadget", &Make<CmivoWriteSMSActionsHistoryGadget>},
    {"CmivoDesktopSwitcherGadget", &Make<CmivoDesktopSwitcherGadget>},
    {"CmivoLineGadget", &Make<CmivoLineGadget>},
    {"CmivoSMSDetailsGadget", &Make<CmivoSMSDetailsGadget>},
    {"CmivoLastIncomingCallPanelGadget", &Make<CmivoLastIncomingCallPanelGadget>},
    {"CmivoCalendarGadget", &Make<CmivoCalendarGadget>},
    {"CmivoAppointmentPanelGadget", &Make<CmivoAppointmentPanelGadget>},
    {"CmivoTodayPluginGadget", &Make<CmivoTodayPluginGadget>},
    {"CmivoGadgetPlugin", &Make<CmivoGadgetPlugin>},
};

Maker FindMaker(const char* className) {
  for (const ClassMaker& maker : kMakers) {
    if (std::strcmp(maker.className, className) == 0) return maker.make;
  }
  return nullptr;
}

}  // namespace

namespace gadget_catalogue {

bool IsBuilt(const char* className) { return className && FindMaker(className) != nullptr; }

std::unique_ptr<CmivoGadget> CreateGadget(mivoCore* core, DWORD typeId, CmivoDesktopPage* page) {
  const mivoGadgetKind* kind = FindKind(typeId);
  if (!kind) return nullptr;
  const Maker make = FindMaker(kind->className);
  return make ? make(core, page, typeId) : nullptr;
}

}  // namespace gadget_catalogue
