// The rows of the contacts page: a contact (its action runs on a tap, as
// the TapOnContact setting says) whose card opens to one call row per
// further number, and the list that holds them.
#pragma once

#include <string>
#include <vector>

#include "actions/action_list_item.h"
#include "ui/adv_list_box.h"

class POContact;

// The contacts page's list: keys typed while it has the focus go on to the
// page, which searches with them.
class CmivoAdvContactListBox : public CmivoAdvListBox {
 public:
  explicit CmivoAdvContactListBox(mivoCore* core) : CmivoAdvListBox(core) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CmivoAdvContactListBoxItem : public CmivoAdvListBoxActionItem {
 public:
  // The row of the contact with this OID (its action holds the OID).
  CmivoAdvContactListBoxItem(mivoCore* core, LONG oid);

  // Takes what the row shows from the contact: the hint the search gave
  // (empty for a match by name), and the call rows: one per number except
  // the contact's default one (a contact with fewer than two numbers has none).
  void Prepare(POContact& contact, const std::u16string& hint);
  // The hint alone, for a row prepared since its contact last changed.
  void SetHint(const std::u16string& hint) { m_hint = hint; }
  // Whether the call rows were taken from the contact as it is now; a
  // change of the contact or of the calls counted for it makes them stale.
  bool IsPrepared() const { return m_prepared; }
  void MarkStale() { m_prepared = false; }
  LONG Oid() const { return m_oid; }
  const std::u16string& Hint() const { return m_hint; }
  // The phone kinds of the call rows, in order.
  const std::vector<int>& CallKinds() const { return m_kinds; }

  // The contact's action with the hint as its second line.
  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  // The call rows, each the kind's picture with "Call mobile" and the number.
  void DrawExpanded(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  // A call row calls its number; the rest of the card runs the contact's action.
  bool OnTap(UINT flags, int x, int y) override;
  // A call row offers its number's entries; the card its action's, and its
  // default number's.
  bool OnTapAndHold(int x, int y) override;
  void Describe(mivoRowText* out) const override;

  // Height of one call row, times DisplayScale.
  static constexpr int kCallRowHeight = 60;
  // The caption id and picture of a phone kind's call row (1-8).
  static int CallCaptionId(int kind);
  static const char16_t* CallImageName(int kind);

 private:
  // The phone kind of the call row under a list-box point; 0 when none.
  int CallKindAt(int x, int y) const;
  // The contact, looked up by OID (the collection may have made it anew); null when gone.
  POContact* Contact() const;

  LONG m_oid;                             // the contact's OID
  std::u16string m_hint;                  // which field matched ("Business phone: ..."); empty for a name
  int m_defaultKind = 0;                  // the number the card itself calls; 0 none
  std::vector<int> m_kinds;               // phone kinds of the call rows
  std::vector<std::u16string> m_numbers;  // their numbers, as Prepare read them
  int m_pressedKind = 0;                  // the call row drawn pressed; 0 none
  bool m_prepared = false;                // Prepare ran since the contact last changed
};
