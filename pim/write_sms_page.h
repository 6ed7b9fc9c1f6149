// CmivoWriteSMSPage: writes one text message and sends it through the SMS
// store: the recipient (typed, or found among the contacts while typing a
// name or part of a number), the text with the count of its characters,
// and the right soft key that sends it.
#pragma once

#include <memory>
#include <string>

#include "ui/adv_list_box.h"
#include "ui/adv_list_box_item.h"
#include "ui/page_wnd.h"

class CEdit;

// A contact's number offered as the recipient.
class CmivoAdvListBoxRecipientItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvListBoxRecipientItem(mivoCore* core, std::u16string name, int kind, std::u16string number);

  const std::u16string& Number() const { return m_number; }
  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  // Takes the number as the recipient.
  bool OnTap(UINT flags, int x, int y) override;
  void Describe(mivoRowText* out) const override;

 private:
  std::u16string m_name;  // the contact's display name
  int m_kind;             // which of its numbers (1-8)
  std::u16string m_number;
};

class CmivoWriteSMSPage : public CmivoPageWnd {
 public:
  // Ids of its controls.
  enum : UINT { kRecipientId = 100, kTextId = 101 };
  // Most characters of one message.
  static constexpr int kMaxLength = 160;

  explicit CmivoWriteSMSPage(mivoCore* core);
  ~CmivoWriteSMSPage() override;

  // A new message to `number` (may be empty: the user types it), with `text`.
  void Compose(const std::u16string& number, const std::u16string& text = {});
  std::u16string Recipient() const;
  std::u16string Text() const;
  // Sends what was written; false (with the reason shown) when it was not sent.
  bool Send();
  // The contacts whose name or number holds what the recipient field does.
  void UpdateSuggestions();

  // ---- The page operations ----
  // The right soft key sends.
  void HideApplication() override;
  void UpdateSoftKeys() override;
  void OnPageShown() override;
  void OnPageHidden() override;
  void LayoutPage() override;
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpRows(window::JsonWriter& j) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoWriteSMSPage"; }

  CmivoAdvListBox& Suggestions() { return *m_suggestions; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int OnCreate();
  void OnCommand(WPARAM wParam);
  // "12/160": the characters written of one message's.
  std::u16string CounterText() const;
  bool SuggestionsShown() const;

  std::unique_ptr<CEdit> m_recipient;              // the number or the name typed
  std::unique_ptr<CEdit> m_text;                   // the message
  std::unique_ptr<CmivoAdvListBox> m_suggestions;  // contacts matching the recipient field
  std::u16string m_pendingNumber;                  // Compose before the window exists
  std::u16string m_pendingText;
  RECT m_labelRect{};      // "SMS to", client coordinates
  RECT m_counterRect{};    // the character count under the text
  bool m_filling = false;  // the page sets the fields itself: no suggestions for that
};
