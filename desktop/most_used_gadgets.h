// The five "most used" grids of the catalogue (types 31 to 35): the actions
// history filtered by kind. Each member says only which actions it shows;
// the grid itself is CmivoActionsHistoryGadget's.
#pragma once

#include "desktop/actions_history_gadget.h"

// "Most used actions" (31): every action.
class CmivoAllActionsHistoryGadget : public CmivoActionsHistoryGadget {
 public:
  CmivoAllActionsHistoryGadget(mivoCore* core, CmivoDesktopPage* page) : CmivoActionsHistoryGadget(core, page, 31) {}
  bool AcceptsAction(mivoAction& action) override { return true; }
  const char* GadgetClassName() const override { return "CmivoAllActionsHistoryGadget"; }
};

// "Most used settings" (32): control-panel applets.
class CmivoSettingsActionsHistoryGadget : public CmivoActionsHistoryGadget {
 public:
  CmivoSettingsActionsHistoryGadget(mivoCore* core, CmivoDesktopPage* page)
      : CmivoActionsHistoryGadget(core, page, 32) {}
  bool AcceptsAction(mivoAction& action) override;
  const char* GadgetClassName() const override { return "CmivoSettingsActionsHistoryGadget"; }
};

// "Most used applications" (33): files run, folders left out.
class CmivoExecuteFileActionsHistoryGadget : public CmivoActionsHistoryGadget {
 public:
  CmivoExecuteFileActionsHistoryGadget(mivoCore* core, CmivoDesktopPage* page)
      : CmivoActionsHistoryGadget(core, page, 33) {}
  bool AcceptsAction(mivoAction& action) override;
  const char* GadgetClassName() const override { return "CmivoExecuteFileActionsHistoryGadget"; }
};

// "Most used calls" (34): numbers called.
class CmivoMakeCallActionsHistoryGadget : public CmivoActionsHistoryGadget {
 public:
  CmivoMakeCallActionsHistoryGadget(mivoCore* core, CmivoDesktopPage* page)
      : CmivoActionsHistoryGadget(core, page, 34) {}
  bool AcceptsAction(mivoAction& action) override;
  const char* GadgetClassName() const override { return "CmivoMakeCallActionsHistoryGadget"; }
};

// "Most written SMS" (35): messages written.
class CmivoWriteSMSActionsHistoryGadget : public CmivoActionsHistoryGadget {
 public:
  CmivoWriteSMSActionsHistoryGadget(mivoCore* core, CmivoDesktopPage* page)
      : CmivoActionsHistoryGadget(core, page, 35) {}
  bool AcceptsAction(mivoAction& action) override;
  const char* GadgetClassName() const override { return "CmivoWriteSMSActionsHistoryGadget"; }
};
