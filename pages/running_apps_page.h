// CmivoAdvRunningAppsPage: "Running applications" (catalogue page 26), the
// visible top-level windows of the device's other programs, read anew at
// every showing; a tap brings one to the front.
#pragma once

#include <cstdint>
#include <string>

#include "ui/adv_list_box_items.h"
#include "ui/adv_list_box_page.h"

class CmivoAdvRunningAppsPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvRunningAppsPage(mivoCore* core);

  std::u16string GetTitle(int param, int extra) override;
  std::u16string GetHelpText(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  // Lists the windows again.
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoAdvRunningAppsPage"; }

  void Fill();
};

// One window of another program: its caption and its program's icon (a copy
// the row owns), the window's handle within its process and that process.
class CmivoAdvListBoxRunningAppItem : public CmivoAdvListBoxItemWithHelp {
 public:
  // Takes the icon: it is destroyed with the row.
  CmivoAdvListBoxRunningAppItem(mivoCore* core, const std::u16string& caption, HICON icon, int pid,
                                std::uintptr_t window, const std::u16string& program);
  ~CmivoAdvListBoxRunningAppItem() override;

  // Outside the help button: asks the window's program to bring it forward.
  bool OnTap(UINT flags, int x, int y) override;
  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  void Describe(mivoRowText* out) const override;

  int Pid() const { return m_pid; }
  std::uintptr_t Window() const { return m_window; }

 private:
  std::u16string m_caption;  // the window's caption
  HICON m_icon;              // owned copy, may be null
  int m_pid;                 // the window's process
  std::uintptr_t m_window;   // the window's handle within that process (0 for a host program)
};
