#include "pim/write_sms_page.h"

#include <algorithm>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "pim/contact_list_item.h"
#include "pim/contact_search.h"
#include "pim/outlook_app.h"
#include "pim/sms_store.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/input_panel.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"
#include "platform/window/edit.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

// The right soft key's label, kept for the posted pointer.
char16_t g_sendLabel[64];
// At most this many contacts' numbers are offered.
constexpr int kMostSuggestions = 20;

bool HasDigit(std::u16string_view s) {
  return std::any_of(s.begin(), s.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

// ---- A suggested recipient -----------------------------------------------------------------------

CmivoAdvListBoxRecipientItem::CmivoAdvListBoxRecipientItem(mivoCore* core, std::u16string name, int kind,
                                                           std::u16string number)
    : CmivoAdvListBoxItem(core), m_name(std::move(name)), m_kind(kind), m_number(std::move(number)) {}

int CmivoAdvListBoxRecipientItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  const int height = CmivoAdvListBoxItem::Draw(listBox, dc, rect);
  mivoAppearance* look = Look();
  mivoActions* actions = m_pCore->GetActions();
  if (!look) return height;
  mivoSkinImage* image = actions ? actions->SkinImage(u"new_sms") : nullptr;
  DrawRowImageTitleSubtitle(*look, dc, image, m_name, POContact::GetNumberLabel(m_kind) + u": " + m_number, *rect,
                            IsSelected() ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
  return height;
}

bool CmivoAdvListBoxRecipientItem::OnTap(UINT, int, int) {
  auto* page = m_pListBox ? dynamic_cast<CmivoWriteSMSPage*>(m_pListBox->GetOwnerWindow()) : nullptr;
  if (page) page->Compose(m_number, page->Text());
  return true;
}

void CmivoAdvListBoxRecipientItem::Describe(mivoRowText* out) const {
  out->text = m_name;
  out->sub = m_number;
}

// ---- The page -------------------------------------------------------------------------------------

CmivoWriteSMSPage::CmivoWriteSMSPage(mivoCore* core)
    : CmivoPageWnd(core),
      m_recipient(std::make_unique<CEdit>()),
      m_text(std::make_unique<CEdit>()),
      m_suggestions(std::make_unique<CmivoAdvListBox>(core)) {
  m_title = GetString(IDS_WRITE_SMS_MESSAGE);
  m_suggestions->SetOwnerPage(this);
}

CmivoWriteSMSPage::~CmivoWriteSMSPage() = default;

void CmivoWriteSMSPage::Compose(const std::u16string& number, const std::u16string& text) {
  if (!m_hWnd) {
    m_pendingNumber = number;
    m_pendingText = text;
    return;
  }
  m_filling = true;
  m_recipient->SetWindowText(number);
  m_text->SetWindowText(text);
  m_filling = false;
  m_suggestions->Clear(true);
  LayoutPage();
  // The caret where the writing goes on.
  CEdit& next = number.empty() ? *m_recipient : *m_text;
  next.SetFocus();
  next.SetSel(next.GetWindowTextLength(), next.GetWindowTextLength());
}

std::u16string CmivoWriteSMSPage::Recipient() const {
  return m_recipient->m_hWnd ? text::Trim(m_recipient->GetWindowText()) : m_pendingNumber;
}

std::u16string CmivoWriteSMSPage::Text() const { return m_text->m_hWnd ? m_text->GetWindowText() : m_pendingText; }

std::u16string CmivoWriteSMSPage::CounterText() const {
  const int length = static_cast<int>(Text().size());
  const int parts = std::max(1, (length + kMaxLength - 1) / kMaxLength);
  return text::Format(u"%d/%d", length, parts * kMaxLength);
}

bool CmivoWriteSMSPage::SuggestionsShown() const { return m_suggestions->GetItemCount() > 0; }

void CmivoWriteSMSPage::UpdateSuggestions() {
  m_suggestions->Clear(true);
  const std::u16string typed = Recipient();
  POApplication* outlook = m_pCore->GetOutlookStore();
  POContactsCollection* contacts = outlook && outlook->IsOpen() ? outlook->GetContacts() : nullptr;
  if (!typed.empty() && contacts) {
    // Letters look for a name; digits for a number holding them (signs and blanks aside).
    const bool byNumber = !std::any_of(typed.begin(), typed.end(), [](char16_t c) { return c >= 64; });
    std::u16string digits;
    for (char16_t c : typed)
      if (c >= u'0' && c <= u'9') digits += c;
    const mivoKeypadSearch name(typed);
    int offered = 0;
    for (std::size_t i = 0; i < contacts->GetCount() && offered < kMostSuggestions; ++i) {
      POContact* contact = contacts->GetContactAt(i);
      if (!contact) continue;
      const bool nameMatches = !byNumber && name.Matches(contact->GetDisplayName());
      for (int kind = 1; kind <= 8 && offered < kMostSuggestions; ++kind) {
        const std::u16string& number = contact->GetNumber(kind);
        if (number.empty()) continue;
        std::u16string numberDigits;
        for (char16_t c : number)
          if (c >= u'0' && c <= u'9') numberDigits += c;
        const bool numberMatches = byNumber && !digits.empty() && numberDigits.find(digits) != std::u16string::npos;
        // The number typed in full needs no offer.
        if (byNumber && numberDigits == digits) continue;
        if (!nameMatches && !numberMatches) continue;
        m_suggestions->AddItem(new CmivoAdvListBoxRecipientItem(m_pCore, contact->GetDisplayName(), kind, number));
        ++offered;
      }
    }
  }
  LayoutPage();
}

bool CmivoWriteSMSPage::Send() {
  const std::u16string number = Recipient();
  const std::u16string message = Text();
  if (!HasDigit(number)) {
    m_pCore->ShowMessage(GetString(IDS_NO_NUMBER), GetString(IDS_SEND_SMS));
    return false;
  }
  // An empty message is not worth sending (nor paying for).
  if (message.empty()) return false;
  m_pCore->ShowPleaseWait(GetString(IDS_SENDING_SMS));
  mivoSMSStore* store = m_pCore->GetSMSStore();
  const bool sent = store && store->SendSMS(number, message);
  m_pCore->HidePleaseWait();
  if (!sent) {
    // The text stays, to be sent again.
    m_pCore->ShowError(GetString(IDS_SMS_NOT_SENT));
    return false;
  }
  // Counted like every message written, so "Most written SMS" knows it.
  if (mivoActions* actions = m_pCore->GetActions()) actions->RecordAction(mivoActionWriteSMS(m_pCore, number));
  m_pCore->ShowMessage(GetString(IDS_SMS_SENT), GetString(IDS_SEND_SMS));
  Compose(u"");
  return true;
}

// ---- The page operations --------------------------------------------------------------------------

void CmivoWriteSMSPage::HideApplication() {
  if (Send()) GoBack();
}

void CmivoWriteSMSPage::UpdateSoftKeys() {
  CmivoPageWnd::UpdateSoftKeys();
  text::CopyTo(g_sendLabel, sizeof g_sendLabel / sizeof g_sendLabel[0], GetString(IDS_SEND_SMS));
  m_pCore->PostSoftKeys(nullptr, g_sendLabel);
}

void CmivoWriteSMSPage::OnPageShown() {
  // Writing wants the keyboard; the fields move above it.
  SipShowIM(SIPF_ON);
  LayoutPage();
}

void CmivoWriteSMSPage::OnPageHidden() {
  SipShowIM(SIPF_OFF);
  LayoutPage();
}

int CmivoWriteSMSPage::OnCreate() {
  m_recipient->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, RECT{0, 0, 10, 10}, this, kRecipientId);
  m_text->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | WS_VSCROLL, RECT{0, 0, 10, 10}, this, kTextId);
  m_text->SetLimitText(4 * kMaxLength);
  if (mivoAppearance* look = m_pCore->GetAppearance()) {
    m_recipient->SetFont(look->SubtitleFont);
    m_text->SetFont(look->SubtitleFont);
  }
  m_suggestions->CreateListBox(this, RECT{0, 0, 10, 10});
  Compose(m_pendingNumber, m_pendingText);
  m_pendingNumber.clear();
  m_pendingText.clear();
  return 0;
}

void CmivoWriteSMSPage::LayoutPage() {
  if (!m_hWnd || !m_recipient->m_hWnd) return;
  mivoAppearance* look = m_pCore->GetAppearance();
  const int s = DisplayScale;
  RECT client{};
  GetClientRect(&client);
  const RECT& c = m_contentRect;
  // Everything stays above the on-screen keyboard.
  int bottom = client.bottom;
  RECT panel{};
  if (shell::InputPanelRect(&panel)) {
    ScreenToClient(&panel);
    if (panel.top < bottom && panel.top > c.top) bottom = panel.top;
  }
  // "SMS to" and the recipient on the first line.
  const std::u16string label = GetString(IDS_SMS_TO);
  int labelWidth = 50 * s;
  if (look) {
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, look->SubtitleFont);
    SIZE size{};
    GetTextExtentExPointW(dc, label.c_str(), static_cast<int>(label.size()), 0, nullptr, nullptr, &size);
    SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);
    labelWidth = size.cx;
  }
  const int lineHeight = 26 * s;
  const int top = c.top + 4 * s;
  m_labelRect = RECT{c.left + 5 * s, top, c.left + 5 * s + labelWidth, top + lineHeight};
  m_recipient->MoveWindow(RECT{m_labelRect.right + 5 * s, top, c.right - 5 * s, top + lineHeight});
  const int below = top + lineHeight + 5 * s;
  // Under it the contacts that fit what was typed, or the text and its count.
  const bool suggesting = SuggestionsShown();
  m_suggestions->ShowWindow(suggesting ? SW_SHOW : SW_HIDE);
  m_text->ShowWindow(suggesting ? SW_HIDE : SW_SHOW);
  if (suggesting) m_suggestions->MoveWindow(RECT{c.left, below, c.right, std::max(below + s, bottom)});
  const int counterHeight = 16 * s;
  m_counterRect = RECT{c.left + 5 * s, bottom - counterHeight, c.right - 5 * s, bottom};
  const int textBottom = std::max(below + lineHeight, bottom - counterHeight);
  m_text->MoveWindow(RECT{c.left + 5 * s, below, c.right - 5 * s, textBottom});
  Invalidate(FALSE);
}

void CmivoWriteSMSPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, look->SubtitleFont);
  SetTextColor(dc, look->TextColor);
  const std::u16string label = GetString(IDS_SMS_TO);
  RECT labelRect = m_labelRect;
  DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &labelRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (!SuggestionsShown()) {
    SelectObject(dc, look->SmallFont);
    SetTextColor(dc, look->SubTextColor);
    const std::u16string counter = CounterText();
    RECT counterRect = m_counterRect;
    DrawTextW(dc, counter.c_str(), static_cast<int>(counter.size()), &counterRect,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  RestoreDC(dc, saved);
}

void CmivoWriteSMSPage::OnCommand(WPARAM wParam) {
  const UINT id = LOWORD(wParam);
  const WORD code = HIWORD(wParam);
  if (code != EN_CHANGE || m_filling) return;
  if (id == kRecipientId) {
    UpdateSuggestions();
  } else if (id == kTextId) {
    InvalidateRect(&m_counterRect, FALSE);
  }
}

// ---- The state dump ------------------------------------------------------------------------------

void CmivoWriteSMSPage::DumpRows(window::JsonWriter& j) { m_suggestions->DescribeRows(j); }

void CmivoWriteSMSPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  j.String(Recipient());
  j.String(Text());
  j.String(CounterText());
  j.EndArray();
}

LRESULT CmivoWriteSMSPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT result = CmivoPageWnd::WindowProc(message, wParam, lParam);
      if (result == -1) return -1;
      return OnCreate();
    }
    case WM_COMMAND: OnCommand(wParam); return 0;
    case WM_SETFOCUS:
      // Typing goes to the field being written: the recipient until there is one.
      if (m_recipient->m_hWnd) {
        (Recipient().empty() ? *m_recipient : *m_text).SetFocus();
        return 0;
      }
      break;
    default: break;
  }
  return CmivoPageWnd::WindowProc(message, wParam, lParam);
}
