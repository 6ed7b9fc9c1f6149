#include "desktop/most_used_gadgets.h"

#include "actions/action_kinds.h"

bool CmivoSettingsActionsHistoryGadget::AcceptsAction(mivoAction& action) {
  return action.TypeId() == kActionControlPanel;
}

bool CmivoExecuteFileActionsHistoryGadget::AcceptsAction(mivoAction& action) {
  // A folder is a place, not an application.
  return action.TypeId() == kActionExecuteFile && !static_cast<mivoActionExecuteFile&>(action).IsFolder();
}

bool CmivoMakeCallActionsHistoryGadget::AcceptsAction(mivoAction& action) { return action.TypeId() == kActionMakeCall; }

bool CmivoWriteSMSActionsHistoryGadget::AcceptsAction(mivoAction& action) { return action.TypeId() == kActionWriteSMS; }
