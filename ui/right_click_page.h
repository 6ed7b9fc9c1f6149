// CmivoRightClickPage: the page a context menu shows, "Context menu", a list
// of the owner's entries (each a row with its help text behind the side
// button) under section captions. A tap on a row carries out its entry
// through the owner and, for entries that say so, goes back to the page the
// menu was opened from.
#pragma once

#include <string>

#include "ui/adv_list_box_items.h"
#include "ui/adv_list_box_page.h"
#include "ui/context_menu_entry.h"

class CmivoContextMenu;

class CmivoRightClickPage : public CmivoAdvListBoxPage {
 public:
  CmivoRightClickPage(mivoCore* core, CmivoContextMenu* owner);

  void AddSection(const std::u16string& caption);
  void AddEntry(const mivoContextMenuEntry& entry);
  // Removes (and deletes) every row.
  void ClearRows();
  CmivoContextMenu* Owner() const { return m_pOwner; }
  // The owner is going away: rows do nothing from now on.
  void ForgetOwner() { m_pOwner = nullptr; }

  std::u16string GetTitle(int param, int extra) override;
  const char* PageClassName() const override { return "CmivoRightClickPage"; }

 private:
  CmivoContextMenu* m_pOwner;  // the menu this page shows; null once it is gone
};

// A row of one entry: the owner draws its text, the row its help text.
class CmivoAdvListBoxContextMenuItem : public CmivoAdvListBoxItemWithHelp {
 public:
  CmivoAdvListBoxContextMenuItem(mivoCore* core, CmivoRightClickPage* page, const mivoContextMenuEntry& entry);

  const mivoContextMenuEntry& Entry() const { return m_entry; }
  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  // Outside the help button: the owner's command, then Back when the entry closes the menu.
  bool OnTap(UINT flags, int x, int y) override;
  void Describe(mivoRowText* out) const override;

 private:
  CmivoRightClickPage* m_pPage;  // the page it lives on
  mivoContextMenuEntry m_entry;  // a copy of the entry
};

// A section caption: 25·S high, not selectable, no card.
class CmivoAdvListBoxContextMenuDividerItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvListBoxContextMenuDividerItem(mivoCore* core, const std::u16string& caption);

  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  bool OnTap(UINT flags, int x, int y) override { return true; }
  void Describe(mivoRowText* out) const override { out->text = m_caption; }

 private:
  std::u16string m_caption;
};
