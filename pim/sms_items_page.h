// CmivoSMSItemsPage: the messages of one SMS folder (Inbox, Sent, Drafts,
// Outbox, Deleted) as cards, newest first, with a summary line under them;
// a tap on a card opens the message in the reading page. The page listens
// to the folder it shows, so it stays current with the store.
#pragma once

#include <cstdint>
#include <string>

#include "pim/empty_text_list_box.h"
#include "pim/outlook_events.h"
#include "ui/adv_list_box_item.h"
#include "ui/adv_list_box_page.h"

class mivoSMSFolder;
class mivoSMSMessage;

// One message: the sender's name on a tab standing on a card that holds
// the text, the time and, for an unread message, the "(unred)" mark.
class CmivoAdvListBoxSMSItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvListBoxSMSItem(mivoCore* core, mivoSMSMessage* message);

  mivoSMSMessage* Message() const { return m_pMessage; }
  // The time line: the relative day and the time ("Today 09:05 AM"), or "(unknown time)".
  std::u16string TimeText() const;

  // Draws the card and takes the height it needs (name tab and card).
  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  // Opens the message in the reading page.
  bool OnTap(UINT flags, int x, int y) override;
  // The sender, the text, and the time line with the unread mark as the card's small print.
  void Describe(mivoRowText* out) const override;

 private:
  mivoSMSMessage* m_pMessage;  // the store's
};

class CmivoSMSItemsPage : public CmivoAdvListBoxPage, public mivoOutlookEventHandler {
 public:
  explicit CmivoSMSItemsPage(mivoCore* core);
  ~CmivoSMSItemsPage() override;

  // ---- The page operations (param: the folder's property tag) ----
  // Shows the folder: its title and empty-list text, then its messages.
  void SetPageParam(int param, int extra) override;
  std::u16string GetTitle(int param, int extra) override;
  std::u16string GetHelpText(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoSMSItemsPage"; }

  mivoSMSFolder* Folder() const { return m_pFolder; }
  const std::u16string& EmptyText() const { return List().GetEmptyText(); }

  // The folder's changes (only the SMS store's are acted on): a new message
  // gets a card at the end, a message gone makes the list again, a changed
  // one is drawn again.
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override;
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override;
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override;

 private:
  // Listens to the folder and makes its rows; nothing for no folder.
  void FillFrom(mivoSMSFolder* folder);
  CmivoAdvListBoxWithEmptyText& List() const { return *m_pList; }

  mivoSMSFolder* m_pFolder = nullptr;               // shown and listened to; the store's
  CmivoAdvListBoxWithEmptyText* m_pList = nullptr;  // the page's list (the base owns it)
  std::uint32_t m_tag = 0;                          // the folder's tag as last set
};
