// CmivoAdvCallLogPage: the call log through one of its four filters (all,
// incoming, outgoing, missed calls). A row shows who called or was called,
// which of the contact's numbers it was, when, and which way; a tap calls
// the number back, a hold offers the number's entries, the side button
// shows the call's details. Showing the missed calls resets their count.
#pragma once

#include <cstdint>
#include <string>

#include "pim/empty_text_list_box.h"
#include "ui/adv_list_box_item.h"
#include "ui/adv_list_box_page.h"
#include "ui/context_menu.h"

struct CALLLOGENTRY;

// One call, copied from the call log (whose texts go with its next reading).
class CmivoAdvListBoxCallLogItem : public CmivoAdvListBoxSideButtonItem, public CmivoContextMenu {
 public:
  CmivoAdvListBoxCallLogItem(mivoCore* core, const CALLLOGENTRY& entry);

  // The caller or called: the name the log or the contacts know, else the
  // number, "Private" for a withheld number, "(no number)" without one.
  const std::u16string& Title() const { return m_title; }
  const std::u16string& Number() const { return m_number; }
  // The second line: when it was, and the number's kind ("Mobile phone").
  std::u16string Subtitle() const;
  // The details behind the side button: the number, the date and time, the length.
  std::u16string Details() const;

  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  void DrawExpanded(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  // The side button opens the details; the rest of the card calls back.
  bool OnTap(UINT flags, int x, int y) override;
  bool OnSideButton(UINT flags, int x, int y) override;
  // The number's entries: call, SMS, the contact's details, the clipboard.
  bool OnTapAndHold(int x, int y) override;
  void Describe(mivoRowText* out) const override;

 private:
  std::u16string m_title;          // see Title()
  std::u16string m_number;         // as the log has it; empty when withheld or unknown
  std::u16string m_kindLabel;      // "Mobile phone", ...; empty when no contact's number
  std::uint32_t m_contactOid = 0;  // the contact owning the number; 0 none
  DWORD m_direction;               // IOM_MISSED, IOM_INCOMING or IOM_OUTGOING
  DWORD m_flags;                   // CALLLOGFLAG_* bits
  std::int64_t m_start = 0;        // seconds since 1970
  std::int64_t m_end = 0;
};

class CmivoAdvCallLogPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvCallLogPage(mivoCore* core);

  // ---- The page operations (param: the filter 0-3; extra kept beside it) ----
  // Reads the call log and lists the calls the filter keeps.
  void SetPageParam(int param, int extra) override;
  std::u16string GetTitle(int param, int extra) override;
  std::u16string GetHelpText(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  // Coming back on top: calls made meanwhile are listed (the place in the
  // list is kept when nothing changed).
  void OnPageShown() override;
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoAdvCallLogPage"; }

  int Filter() const { return m_filter; }
  // Fills the list again from the log as it is now.
  void Reload();

 private:
  CmivoAdvListBoxWithEmptyText& List() const { return *m_pList; }

  CmivoAdvListBoxWithEmptyText* m_pList = nullptr;  // the page's list (the base owns it)
  int m_filter = 0;                                 // 0 all, 1 incoming, 2 outgoing, 3 missed
  int m_extra = 0;                                  // the page operation's second value, kept
  std::size_t m_shownCount = 0;                     // entries of the log when it was last listed
  std::int64_t m_shownNewest = 0;                   // and the newest one's start
};
