// CmivoPhonePageWnd: the "Contacts" page. The device's contacts in a list,
// narrowed as the user types on the on-screen phone keypad (or letters on a
// keyboard): a digit stands for itself and the letters of its key. A row
// runs its contact's action; its card opens to a call row per further number.
//
// The right soft key shows and hides the keypad ("Hide kbd", "Show kbd").
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "pim/contact_list_item.h"
#include "pim/outlook_events.h"
#include "pim/phone_keyboard.h"
#include "ui/adv_list_box_items.h"
#include "ui/page_wnd.h"

class POContactsCollection;

// The page's private messages.
constexpr UINT WM_MIVO_PHONE_KEY = 1224;       // wParam: a keypad key code
constexpr UINT WM_MIVO_PHONE_REFILTER = 1225;  // the search text changed: filter again

class CmivoPhonePageWnd : public CmivoPageWnd, public mivoOutlookEventHandler {
 public:
  explicit CmivoPhonePageWnd(mivoCore* core);
  ~CmivoPhonePageWnd() override;

  // ---- The page operations ----
  // Empties the search text and lists every contact again.
  void SetPageParam(int param, int extra) override;
  // The right soft key shows or hides the keypad here.
  void HideApplication() override;
  void UpdateSoftKeys() override;
  std::u16string GetTitle(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  // Rows that are listed take up the changes since (a call made meanwhile
  // may have changed a contact's default number).
  void OnPageShown() override;
  void LayoutPage() override;
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpRows(window::JsonWriter& j) override;
  void DumpCells(window::JsonWriter& j) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoPhonePageWnd"; }

  // ---- The search ----
  const std::u16string& SearchText() const { return m_search; }
  // Lists the contacts again: every one (showAll), or those the search text
  // matches, each with its hint; then the "Contacts found" line. A pass that
  // sees a newer key waiting stops: the pass that key asks for follows.
  void Refilter(bool showAll);
  bool IsKeypadShown() const { return m_keypadShown; }
  CmivoAdvContactListBox& List() { return *m_list; }
  CmivoPhoneKeyboard& Keypad() { return *m_keypad; }

  // The contacts' changes: the list is made again.
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override;
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override;
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int OnCreate(LPARAM lParam);
  void OnKeypadKey(int keyCode);
  void OnChar(char16_t c);
  // Appends, deletes or clears: the refilter follows as a message.
  void ChangeSearch(const std::u16string& text);
  // The header shows what was typed, or the page's name.
  void UpdateTitle();
  POContactsCollection* Contacts();
  // The row of a contact, made on its first listing and kept.
  CmivoAdvContactListBoxItem* RowFor(LONG oid);
  // A newer key or refilter request is queued for the page.
  bool NewerSearchWaiting();
  void RequestRefilter();

  std::u16string m_search;                         // what was typed
  bool m_searchChanged = false;                    // the text changed since the running pass began
  bool m_keypadShown = true;                       // the keypad window is shown
  std::unique_ptr<CmivoAdvContactListBox> m_list;  // the contacts
  std::unique_ptr<CmivoPhoneKeyboard> m_keypad;    // the keypad
  std::unordered_map<LONG, std::unique_ptr<CmivoAdvContactListBoxItem>> m_rows;  // by OID; the list borrows them
  std::unique_ptr<CmivoAdvListBoxSimpleTextItem> m_summary;                      // "Contacts found: %d"
  RECT m_listRect{};                             // where the list is, client coordinates
  RECT m_keypadRect{};                           // where the keypad is, when shown
  POContactsCollection* m_pListening = nullptr;  // the collection told of this page; not owned
};
