#include "pim/phone_page.h"

#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pim/contact_search.h"
#include "pim/outlook_app.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"
#include "platform/window/message.h"
#include "platform/window/window.h"

namespace {

// The right soft key's labels; static, as posted labels must outlive the post.
constexpr char16_t kHideKeypad[] = u"Hide kbd";
constexpr char16_t kShowKeypad[] = u"Show kbd";
// How many contacts a pass tests between two looks at the queue.
constexpr std::size_t kContactsPerCheck = 256;

}  // namespace

CmivoPhonePageWnd::CmivoPhonePageWnd(mivoCore* core)
    : CmivoPageWnd(core),
      m_list(std::make_unique<CmivoAdvContactListBox>(core)),
      m_keypad(std::make_unique<CmivoPhoneKeyboard>(core, WM_MIVO_PHONE_KEY)),
      m_summary(std::make_unique<CmivoAdvListBoxSimpleTextItem>(core, u"")) {
  m_list->SetOwnerPage(this);
  m_title = GetString(IDS_CONTACTS);
  m_pPageIcon = GetPageIcon(0, 0);
}

CmivoPhonePageWnd::~CmivoPhonePageWnd() {
  if (m_pListening) m_pListening->RemoveListener(this);
  // The rows are the page's: the list lets them go before either goes.
  m_list->Clear(false);
}

std::u16string CmivoPhonePageWnd::GetTitle(int, int) { return GetString(IDS_CONTACTS); }

mivoSkinImage* CmivoPhonePageWnd::GetPageIcon(int, int) {
  mivoActions* actions = m_pCore->GetActions();
  return actions ? actions->SkinImage(u"contacts_page") : nullptr;
}

POContactsCollection* CmivoPhonePageWnd::Contacts() {
  POApplication* outlook = m_pCore->GetOutlookStore();
  POContactsCollection* contacts = outlook && outlook->IsOpen() ? outlook->GetContacts() : nullptr;
  if (contacts != m_pListening) {
    if (m_pListening) m_pListening->RemoveListener(this);
    m_pListening = contacts;
    if (contacts) contacts->AddListener(this);
  }
  return contacts;
}

// ---- Window --------------------------------------------------------------------------------------

int CmivoPhonePageWnd::OnCreate(LPARAM lParam) {
  m_pCore->ShowPleaseWait(GetString(IDS_INITIALIZING_CONTACTS));
  m_list->CreateListBox(this, RECT{0, 0, 10, 10});
  m_keypad->CreateKeyboard(this, RECT{0, 0, 10, 10});
  LayoutPage();
  Refilter(true);
  m_pCore->HidePleaseWait();
  return 0;
}

void CmivoPhonePageWnd::LayoutPage() {
  if (!m_hWnd || !m_list->m_hWnd || !m_keypad->m_hWnd) return;
  const int s = DisplayScale;
  RECT client{};
  GetClientRect(&client);
  const RECT& c = m_contentRect;
  const bool tall = RectHeight(client) > RectWidth(client);
  if (!m_keypadShown) {
    m_listRect = c;
    SetRectEmpty(&m_keypadRect);
  } else if (tall) {
    // The keypad across the bottom, the list above it.
    const int keypadHeight = s == 1 ? 120 : 260;
    m_listRect = RECT{c.left + s, c.top + s, c.right, c.bottom - 130 * s};
    m_keypadRect = RECT{c.left, client.bottom - keypadHeight, c.right, client.bottom};
    m_keypad->SetColumns(4);
  } else {
    // The keypad in a strip on the right, the list beside it.
    m_listRect = RECT{c.left, c.top + s, c.right - 177 * s, c.bottom};
    m_keypadRect = RECT{c.right - 177 * s, c.top, c.right, client.bottom};
    m_keypad->SetColumns(3);
  }
  RECT now{};
  m_list->GetWindowRect(&now);
  ScreenToClient(&now);
  if (!EqualRect(&now, &m_listRect)) m_list->MoveWindow(m_listRect);
  if (m_keypadShown) {
    m_keypad->MoveKeyboard(m_keypadRect);
    m_keypad->ShowWindow(SW_SHOW);
  } else {
    m_keypad->ShowWindow(SW_HIDE);
  }
  Invalidate(FALSE);
}

void CmivoPhonePageWnd::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  // The whole page into any DC (the slide's picture): the list and the
  // keypad are windows of their own, drawn here at their places.
  if (m_list->m_hWnd) {
    // A row that reaches past the list's bottom is cut there, as in the list's window.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, m_listRect.left, m_listRect.top, m_listRect.right, m_listRect.bottom);
    m_list->DrawAll(dc, m_listRect.left, m_listRect.top);
    RestoreDC(dc, saved);
  }
  if (m_keypadShown && m_keypad->m_hWnd) m_keypad->DrawAt(dc, m_keypadRect.left, m_keypadRect.top);
  CmivoPageWnd::DrawArea(dc, erase, left, top, right, bottom);
}

// ---- Page operations -------------------------------------------------------------------------

void CmivoPhonePageWnd::SetPageParam(int, int) {
  m_search.clear();
  m_searchChanged = false;
  UpdateTitle();
  // Before the window exists its creation fills the list.
  if (m_hWnd) Refilter(true);
}

void CmivoPhonePageWnd::HideApplication() {
  m_keypadShown = !m_keypadShown;
  LayoutPage();
  UpdateSoftKeys();
}

void CmivoPhonePageWnd::UpdateSoftKeys() {
  CmivoPageWnd::UpdateSoftKeys();
  m_pCore->PostSoftKeys(nullptr, m_keypadShown ? kHideKeypad : kShowKeypad);
}

void CmivoPhonePageWnd::OnPageShown() {
  POContactsCollection* contacts = Contacts();
  if (!contacts) return;
  // A call made meanwhile may have given a contact a default number.
  for (auto& [oid, row] : m_rows) row->MarkStale();
  for (int i = 0; i < m_list->GetItemCount(); ++i) {
    auto* row = dynamic_cast<CmivoAdvContactListBoxItem*>(m_list->GetItem(i));
    if (!row) continue;
    if (POContact* contact = contacts->FindContactByOid(row->Oid())) row->Prepare(*contact, row->Hint());
  }
  m_list->Repaint();
}

void CmivoPhonePageWnd::UpdateTitle() {
  // Like a phone's display: the digits typed so far stand over the list.
  SetTitle(m_search.empty() ? GetString(IDS_CONTACTS) : m_search);
}

// ---- The search ---------------------------------------------------------------------------------

void CmivoPhonePageWnd::ChangeSearch(const std::u16string& text) {
  if (text == m_search) return;
  m_search = text;
  m_searchChanged = true;
  UpdateTitle();
  RequestRefilter();
}

void CmivoPhonePageWnd::RequestRefilter() {
  if (m_hWnd) PostMessage(WM_MIVO_PHONE_REFILTER);
}

void CmivoPhonePageWnd::OnKeypadKey(int keyCode) {
  if (keyCode == kKeypadClear) {
    ChangeSearch(u"");
  } else if (keyCode == kKeypadBack) {
    if (!m_search.empty()) ChangeSearch(m_search.substr(0, m_search.size() - 1));
  } else if (const char16_t digit = KeypadDigit(keyCode)) {
    ChangeSearch(m_search + digit);
  }
}

void CmivoPhonePageWnd::OnChar(char16_t c) {
  // Backspace deletes; letters (and whatever lies from "@" on) are typed;
  // digits, signs and control characters of a keyboard are not searched for.
  if (c == 8) {
    if (!m_search.empty()) ChangeSearch(m_search.substr(0, m_search.size() - 1));
  } else if (c >= 64) {
    ChangeSearch(m_search + c);
  }
}

bool CmivoPhonePageWnd::NewerSearchWaiting() {
  if (m_searchChanged) return true;
  MSG msg;
  return m_hWnd && PeekMessageW(&msg, m_hWnd, WM_MIVO_PHONE_KEY, WM_MIVO_PHONE_REFILTER, PM_NOREMOVE);
}

CmivoAdvContactListBoxItem* CmivoPhonePageWnd::RowFor(LONG oid) {
  auto& row = m_rows[oid];
  if (!row) row = std::make_unique<CmivoAdvContactListBoxItem>(m_pCore, oid);
  return row.get();
}

void CmivoPhonePageWnd::Refilter(bool showAll) {
  m_searchChanged = false;
  const mivoKeypadSearch search(m_search);
  m_list->Clear(false);
  int found = 0;
  if (POContactsCollection* contacts = Contacts()) {
    const std::size_t count = contacts->GetCount();
    std::u16string hint;
    for (std::size_t i = 0; i < count; ++i) {
      // A key typed meanwhile makes this pass useless: the next one starts
      // with the whole new text.
      if (i % kContactsPerCheck == kContactsPerCheck - 1 && NewerSearchWaiting()) return;
      POContact* contact = contacts->GetContactAt(i);
      if (!contact) continue;
      hint.clear();
      if (!showAll && !mivoMatchContact(*contact, search, &hint)) continue;
      CmivoAdvContactListBoxItem* row = RowFor(contact->GetOid());
      if (row->IsPrepared()) {
        row->SetHint(hint);
      } else {
        row->Prepare(*contact, hint);
      }
      m_list->AddItem(row);
      ++found;
    }
  }
  m_summary->SetText(text::Format(GetString(IDS_CONTACTS_FOUND), found));
  m_list->AddItem(m_summary.get());
  m_list->Repaint();
}

// ---- The contacts' changes -------------------------------------------------------------------

void CmivoPhonePageWnd::OnOutlookItemAdded(int source, mivoOutlookObject*) {
  if (source == kOutlookSourceContacts) RequestRefilter();
}

void CmivoPhonePageWnd::OnOutlookListChanged(int source, mivoOutlookObject* list) {
  if (source != kOutlookSourceContacts) return;
  // The contact is gone (its wrapper goes right after this): so is its row.
  if (auto* contact = dynamic_cast<POContact*>(list)) {
    auto it = m_rows.find(contact->GetOid());
    if (it != m_rows.end()) {
      m_list->RemoveItem(it->second.get(), false);
      // The row may be the one whose tap is asking a question right now:
      // it goes once that is over.
      CmivoAdvContactListBoxItem* row = it->second.release();
      m_rows.erase(it);
      m_pCore->DeleteLater([row] { delete row; });
    }
  }
  RequestRefilter();
}

void CmivoPhonePageWnd::OnOutlookItemChanged(int source, mivoOutlookObject* item) {
  if (source != kOutlookSourceContacts) return;
  if (auto* contact = dynamic_cast<POContact*>(item)) {
    auto it = m_rows.find(contact->GetOid());
    if (it != m_rows.end()) it->second->MarkStale();
  }
  RequestRefilter();
}

// ---- The state dump --------------------------------------------------------------------------

void CmivoPhonePageWnd::DumpRows(window::JsonWriter& j) { m_list->DescribeRows(j); }

void CmivoPhonePageWnd::DumpCells(window::JsonWriter& j) {
  j.BeginArray();
  if (m_keypadShown) m_keypad->DescribeButtons(j);
  j.EndArray();
}

void CmivoPhonePageWnd::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  j.String(m_search);
  j.EndArray();
}

// ---- Messages ---------------------------------------------------------------------------------

LRESULT CmivoPhonePageWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT result = CmivoPageWnd::WindowProc(message, wParam, lParam);
      if (result == -1) return -1;
      return OnCreate(lParam);
    }
    case WM_MIVO_PHONE_KEY: OnKeypadKey(static_cast<int>(wParam)); return 0;
    case WM_MIVO_PHONE_REFILTER: Refilter(false); return 0;
    case WM_CHAR: OnChar(static_cast<char16_t>(wParam)); return 0;
    case WM_KEYDOWN:
      // The pad moves through the list.
      if (m_list->m_hWnd) return m_list->SendMessage(message, wParam, lParam);
      break;
    default: break;
  }
  return CmivoPageWnd::WindowProc(message, wParam, lParam);
}
