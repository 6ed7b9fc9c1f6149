// CmivoAdvListBoxWithEmptyText: the list of the pages that show a store's
// items (SMS folders, the call log, tasks). With no item to choose (summary
// lines aside) it says so below whatever lines it holds: "There are no SMS
// messages in the Inbox folder."
#pragma once

#include <string>

#include "ui/adv_list_box.h"

class CmivoAdvListBoxWithEmptyText : public CmivoAdvListBox {
 public:
  explicit CmivoAdvListBoxWithEmptyText(mivoCore* core) : CmivoAdvListBox(core) {}

  void SetEmptyText(const std::u16string& text);
  const std::u16string& GetEmptyText() const { return m_emptyText; }
  // Whether the list holds no row that can be chosen (and so shows the text).
  bool ShowsEmptyText() const;
  // The rows, then the text under them when the list is empty, with the
  // client rectangle moved by (dx, dy) (the page drawn off screen).
  void DrawWithEmptyText(HDC dc, int dx, int dy);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::u16string m_emptyText;  // shown while no row can be chosen
};
