// The control-panel pages "Personal", "System" and "Connections" (catalogue
// pages 29, 30 and 31): one row per applet of the page's group, which opens
// the applet; an applet with tabs expands into one sub-row per tab, which
// opens the applet at that tab.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "actions/action_list_item.h"
#include "ui/adv_list_box_page.h"

class mivoAction;

class CmivoAdvControlPanelPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvControlPanelPage(mivoCore* core);

  // The group to show (0 Personal, 1 System, 2 Connections); the title follows at once.
  void SetPageParam(int param, int extra) override;
  std::u16string GetTitle(int param, int extra) override;
  std::u16string GetHelpText(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  // Fills the list from the applet catalogue, once per group shown.
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoAdvControlPanelPage"; }

  int Group() const { return m_group; }

 private:
  int m_group = 0;         // the group the page shows
  int m_filledGroup = -1;  // the group the rows were made for; -1 before the first filling
};

class CmivoAdvListBoxControlPanelItem : public CmivoAdvListBoxActionItem {
 public:
  // Takes an action (a control-panel action) nobody holds yet.
  CmivoAdvListBoxControlPanelItem(mivoCore* core, std::unique_ptr<mivoAction> action);

  // The side button opens the tabs; a tab sub-row opens the applet at that
  // tab; elsewhere the row's own action runs.
  bool OnTap(UINT flags, int x, int y) override;
  void DrawExpanded(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  bool OnSideButton(UINT flags, int x, int y) override;
  // Enter opens the applet itself, whatever lies under the list's top edge.
  bool OnKey(UINT vk) override;
  void Describe(mivoRowText* out) const override;

  // The string ids of an applet's tabs, in order (empty: no tabs).
  static std::vector<int> TabsOf(int appletIndex);
  // The tab whose sub-row holds a list-box y, -1 outside them.
  int TabAt(int y) const;
  // Opens the applet at tab k through the core (counted in the history).
  void RunTab(int tab);

 private:
  int m_appletIndex;      // the applet this row opens
  std::vector<int> m_tabs;  // its tabs' string ids
};
