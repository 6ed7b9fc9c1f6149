// CmivoAdvContactDetailsPage: one contact whole: the picture and name with
// the job and company, every phone number (a tap calls it, its SMS button
// writes to it, a hold offers the number's entries), the e-mail addresses,
// the postal addresses and the notes. It follows the contact's changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "actions/services.h"
#include "pim/outlook_events.h"
#include "ui/adv_list_box_item.h"
#include "ui/adv_list_box_page.h"
#include "ui/context_menu.h"

class POContact;

// The picture (or the contact picture of the skin), the name and the job.
class CmivoAdvContactDetailsHeadListBoxItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvContactDetailsHeadListBoxItem(mivoCore* core, std::uint32_t oid, std::u16string name, std::u16string line2);
  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  bool OnTap(UINT flags, int x, int y) override { return true; }
  void Describe(mivoRowText* out) const override;

 private:
  std::uint32_t m_oid;     // whose picture
  std::u16string m_name;   // the display name
  std::u16string m_line2;  // job title, company and department, as far as known
};

// One phone number: a tap calls it, its SMS button at the right writes to it.
class CmivoAdvContactDetailsPhoneNumbersListBoxItem : public CmivoAdvListBoxSideButtonItem, public CmivoContextMenu {
 public:
  CmivoAdvContactDetailsPhoneNumbersListBoxItem(mivoCore* core, std::uint32_t oid, int kind, std::u16string number);

  int Kind() const { return m_kind; }
  const std::u16string& Number() const { return m_number; }
  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  bool OnTap(UINT flags, int x, int y) override;
  bool OnTapAndHold(int x, int y) override;
  void Describe(mivoRowText* out) const override;

  // Opens the SMS writing page for the number.
  void WriteSMS();
  void Call();

 private:
  // The SMS button's rectangle in list-box coordinates.
  RECT SMSButtonRect() const;

  std::uint32_t m_oid;  // the contact's
  int m_kind;           // 1-8
  std::u16string m_number;
};

// A postal address: its kind as the title, then its lines.
class CmivoAdvContactDetailsAddressListBoxItem : public CmivoAdvListBoxSideButtonItem {
 public:
  CmivoAdvContactDetailsAddressListBoxItem(mivoCore* core, std::u16string title, std::u16string lines);
  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  bool OnTap(UINT flags, int x, int y) override { return true; }
  void Describe(mivoRowText* out) const override;

 private:
  std::u16string m_title;  // "Home address", ...
  std::u16string m_lines;  // street, town, region, country; one per line
};

class CmivoAdvContactDetailsPage : public CmivoAdvListBoxPage,
                                   public mivoContactViewer,
                                   public mivoOutlookEventHandler {
 public:
  explicit CmivoAdvContactDetailsPage(mivoCore* core);
  ~CmivoAdvContactDetailsPage() override;

  // Shows the contact with this OID ("(no contact)" when there is none).
  void SetContact(std::uint32_t oid) override;
  std::uint32_t Oid() const { return m_oid; }
  // Makes the rows again from the contact.
  void Fill();

  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoAdvContactDetailsPage"; }

  // The contacts' changes: the contact shown is shown anew.
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override {}
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override;
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override;

 private:
  POContact* Contact();

  std::uint32_t m_oid = 0;                             // the contact shown; 0 none
  mivoOutlookEventsContainer* m_pListening = nullptr;  // the contacts collection; not owned
};
