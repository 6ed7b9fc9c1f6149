// CmivoReadSMSPage: one text message full-screen: the sender in a band at
// the top, the text in a speech bubble, the date and time under it, and
// four buttons at the bottom: the previous (newer) message, call the
// sender, reply, the next (older) message. Showing a message marks it read.
#pragma once

#include <array>
#include <memory>

#include "pim/button.h"
#include "pim/outlook_events.h"
#include "ui/adv_list_box.h"
#include "ui/adv_list_box_item.h"
#include "ui/page_wnd.h"

class CmivoReadSMSPage;
class mivoSMSFolder;
class mivoSMSMessage;

// The bubble: the list's only row, as high as the list at least, taller
// when the text needs it (the list then scrolls). It shows the page's
// current message.
class CmivoAdvListBoxReadSMSItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvListBoxReadSMSItem(mivoCore* core, CmivoReadSMSPage* page);

  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  bool OnTap(UINT flags, int x, int y) override { return true; }
  void Describe(mivoRowText* out) const override;

 private:
  CmivoReadSMSPage* m_pPage;  // whose message it shows; the page owns the row
};

class CmivoReadSMSPage : public CmivoPageWnd, public mivoOutlookEventHandler {
 public:
  // Command ids of the buttons.
  enum : UINT { kPrevious = 1, kNext = 2, kCall = 3, kReply = 4 };

  explicit CmivoReadSMSPage(mivoCore* core);
  ~CmivoReadSMSPage() override;

  // Shows a message of the SMS store (the store keeps it; null shows none):
  // its neighbours in its folder decide which of previous and next show.
  void SetMessage(mivoSMSMessage* message);
  mivoSMSMessage* Message() const { return m_pMessage; }
  mivoSMSMessage* PreviousMessage() const { return m_pPrevious; }
  mivoSMSMessage* NextMessage() const { return m_pNext; }
  // The date line: the delivery time, else the last change, as the locale
  // writes a date and time ("%c"); empty without either.
  std::u16string TimeText() const;

  // ---- The page operations ----
  // A page parameter cannot carry a message here: SetMessage does.
  void SetPageParam(int param, int extra) override {}
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  // The sender band, the date line and the bottom band, in place of the header.
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void LayoutPage() override;
  void DumpRows(window::JsonWriter& j) override;
  void DumpCells(window::JsonWriter& j) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoReadSMSPage"; }

  // The folder's changes: the neighbours are looked up again.
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override;
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override;
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override;

  CmivoAdvListBox& List() { return *m_list; }
  CmivoButton& Button(UINT id) { return *m_buttons[id - 1]; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int OnCreate();
  void OnCommand(UINT id);
  // Shows the previous and next buttons when there is such a message.
  void ShowNeighbourButtons();
  // Asks the store for the message's neighbours.
  void FindNeighbours();
  // Listens to the folder of the message shown, and to no other.
  void ListenTo(mivoSMSFolder* folder);

  mivoSMSMessage* m_pMessage = nullptr;                   // shown; the store's
  mivoSMSMessage* m_pPrevious = nullptr;                  // the newer neighbour, or null
  mivoSMSMessage* m_pNext = nullptr;                      // the older neighbour, or null
  mivoSMSFolder* m_pFolder = nullptr;                     // listened to; the store's
  std::unique_ptr<CmivoAdvListBox> m_list;                // the bubble's list
  std::unique_ptr<CmivoAdvListBoxReadSMSItem> m_row;      // its only row; the page's
  std::array<std::unique_ptr<CmivoButton>, 4> m_buttons;  // by command id - 1
  RECT m_listRect{};                                      // where the list is, client coordinates
};
