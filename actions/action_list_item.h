// CmivoAdvListBoxActionItem: a row of the advanced list box that holds an
// action. A tap runs the action through the core (counted in the history);
// a tap-and-hold opens the action's context menu (favourites, desktop and
// the action's own entries); the help button shows the action's help text.
#pragma once

#include <memory>

#include "actions/action.h"
#include "ui/adv_list_box_items.h"
#include "ui/context_menu.h"

class CmivoAdvListBoxActionItem : public CmivoAdvListBoxItemWithHelp, public CmivoContextMenu {
 public:
  // Takes an action nobody holds yet.
  CmivoAdvListBoxActionItem(mivoCore* core, std::unique_ptr<mivoAction> action);
  // Shares an action another holder keeps (a sub-menu's child).
  CmivoAdvListBoxActionItem(mivoCore* core, mivoAction* action);

  mivoAction* Action() const { return m_action.get(); }

  bool OnTap(UINT flags, int x, int y) override;
  bool OnTapAndHold(int x, int y) override;
  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  void Describe(mivoRowText* out) const override;

 protected:
  mivoHeldAction m_action;  // the row's action
};

// A row with a question and its answer behind the help button (the FAQ).
class CmivoAdvListBoxFAQItem : public CmivoAdvListBoxTextWithHelp {
 public:
  CmivoAdvListBoxFAQItem(mivoCore* core, const std::u16string& question, const std::u16string& answer);
  // A tap anywhere on the question opens or closes the answer.
  bool OnTap(UINT flags, int x, int y) override;
};
