#include "pim/read_sms_page.h"

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pim/sms_folder.h"
#include "pim/sms_message.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/describe.h"
#include "platform/window/window.h"

namespace {

// The buttons' pictures and labels, by command id - 1.
constexpr const char16_t* kButtonImages[4] = {u"sms_prev_button", u"sms_next_button", u"sms_call_button",
                                              u"sms_reply_button"};
constexpr const char16_t* kButtonLabels[4] = {u"previous", u"next", u"call", u"reply"};

void FillWithColor(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

}  // namespace

// ---- The bubble ---------------------------------------------------------------------------------

CmivoAdvListBoxReadSMSItem::CmivoAdvListBoxReadSMSItem(mivoCore* core, CmivoReadSMSPage* page)
    : CmivoAdvListBoxItem(core), m_pPage(page) {
  SetSelectable(false);
}

int CmivoAdvListBoxReadSMSItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  mivoSMSMessage* message = m_pPage->Message();
  mivoAppearance* look = Look();
  if (!message || !look) return m_height;
  const mivoColorTheme& theme = look->ColorTheme();
  const std::u16string& body = message->GetBody();
  HGDIOBJ oldFont = SelectObject(dc, look->TitleFont);
  SetTextColor(dc, theme.GetColor(2));
  SetBkMode(dc, TRANSPARENT);
  // As high as the text, and at least as high as the list: the bubble fills
  // the list however short the message.
  RECT measure{rect->left, rect->top, rect->right, rect->top + 10000};
  const int textHeight =
      DrawTextW(dc, body.c_str(), static_cast<int>(body.size()), &measure, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
  RECT client{};
  if (listBox && listBox->m_hWnd) listBox->GetClientRect(&client);
  const int height = std::max(textHeight, RectHeight(client));
  *rect = RECT{rect->left, rect->top, rect->right, rect->top + height};
  FillWithColor(dc, *rect, theme.GetColor(2));
  if (mivoActions* actions = m_pCore->GetActions()) {
    if (mivoSkinImage* bubble = actions->SkinImage(u"sms_background"))
      look->DrawSkinImage(bubble, dc, *rect, kAlignCenterX | kAlignCenterY, 1);
  }
  SetTextColor(dc, theme.GetColor(1));
  RECT text = *rect;
  DrawTextW(dc, body.c_str(), static_cast<int>(body.size()), &text, DT_WORDBREAK | DT_CENTER);
  SelectObject(dc, oldFont);
  SetHeight(height);
  return height;
}

void CmivoAdvListBoxReadSMSItem::Describe(mivoRowText* out) const {
  if (mivoSMSMessage* message = m_pPage->Message()) out->text = message->GetBody();
}

// ---- The page -------------------------------------------------------------------------------------

CmivoReadSMSPage::CmivoReadSMSPage(mivoCore* core)
    : CmivoPageWnd(core),
      m_list(std::make_unique<CmivoAdvListBox>(core)),
      m_row(std::make_unique<CmivoAdvListBoxReadSMSItem>(core, this)) {
  m_title = GetString(IDS_SMS_LIST_PAGE);
  m_list->SetOwnerPage(this);
  m_list->AddItem(m_row.get());
  for (UINT id = kPrevious; id <= kReply; ++id) m_buttons[id - 1] = std::make_unique<CmivoButton>(core);
}

CmivoReadSMSPage::~CmivoReadSMSPage() {
  ListenTo(nullptr);
  // The row is the page's: the list lets it go first.
  m_list->Clear(false);
}

void CmivoReadSMSPage::ListenTo(mivoSMSFolder* folder) {
  if (folder == m_pFolder) return;
  if (m_pFolder) m_pFolder->RemoveListener(this);
  m_pFolder = folder;
  if (m_pFolder) m_pFolder->AddListener(this);
}

void CmivoReadSMSPage::FindNeighbours() {
  m_pPrevious = m_pNext = nullptr;
  if (m_pMessage) m_pMessage->GetNeighbours(&m_pPrevious, &m_pNext);
}

void CmivoReadSMSPage::SetMessage(mivoSMSMessage* message) {
  m_pMessage = message;
  if (m_list->m_hWnd) {
    m_list->SetScrollTop(0);
    m_list->Invalidate(TRUE);
  }
  FindNeighbours();
  ListenTo(message ? message->GetFolder() : nullptr);
  if (m_hWnd) {
    ShowNeighbourButtons();
    Invalidate(TRUE);
  }
}

void CmivoReadSMSPage::ShowNeighbourButtons() {
  if (m_buttons[kPrevious - 1]->m_hWnd) m_buttons[kPrevious - 1]->ShowWindow(m_pPrevious ? SW_SHOW : SW_HIDE);
  if (m_buttons[kNext - 1]->m_hWnd) m_buttons[kNext - 1]->ShowWindow(m_pNext ? SW_SHOW : SW_HIDE);
}

std::u16string CmivoReadSMSPage::TimeText() const {
  if (!m_pMessage) return {};
  std::int64_t when = 0;
  if (!m_pMessage->GetDeliveryTime(&when) && !m_pMessage->GetLastModificationTime(&when)) return {};
  return datetime::Strftime(when, u"%c");
}

void CmivoReadSMSPage::CollectImages(std::vector<mivoSkinImage*>& images) {
  mivoActions* actions = m_pCore->GetActions();
  if (!actions) return;
  // Previous, next, reply, call: nothing of the page's icon or children.
  for (const char16_t* name : {u"sms_prev_button", u"sms_next_button", u"sms_reply_button", u"sms_call_button"})
    if (mivoSkinImage* image = actions->SkinImage(name)) images.push_back(image);
}

// ---- Window --------------------------------------------------------------------------------------

int CmivoReadSMSPage::OnCreate() {
  m_list->CreateListBox(this, RECT{0, 0, 10, 10});
  mivoActions* actions = m_pCore->GetActions();
  // Created left to right: previous, call, reply, next.
  for (UINT id : {kPrevious, kCall, kReply, kNext}) {
    CmivoButton& button = *m_buttons[id - 1];
    button.SetLabel(kButtonLabels[id - 1]);
    button.CreateButton(RECT{0, 0, 10, 10}, actions ? actions->SkinImage(kButtonImages[id - 1]) : nullptr, this, id);
  }
  LayoutPage();
  ShowNeighbourButtons();
  return 0;
}

void CmivoReadSMSPage::LayoutPage() {
  if (!m_hWnd || !m_list->m_hWnd) return;
  const int s = DisplayScale;
  const RECT& c = m_contentRect;
  m_listRect = RECT{c.left, c.top + 25 * s, c.right, c.bottom - 68 * s};
  m_list->MoveWindow(m_listRect);
  const bool portrait = m_pCore->IsPortrait();
  const int top = portrait ? c.bottom - 48 * s : c.bottom - 42 * s;
  const int height = portrait ? 48 * s : 38 * s;
  const int lefts[4] = {10, 184, 68, 126};  // by command id - 1: previous, next, call, reply
  mivoActions* actions = m_pCore->GetActions();
  for (UINT id = kPrevious; id <= kReply; ++id) {
    CmivoButton& button = *m_buttons[id - 1];
    if (!button.m_hWnd) continue;
    const int x = c.left + lefts[id - 1] * s;
    button.MoveWindow(RECT{x, top, x + 53 * s, top + height});
    // A new skin brings new pictures.
    if (actions) button.SetImage(actions->SkinImage(kButtonImages[id - 1]));
  }
  // The next paint measures the bubble again.
  m_row->SetHeight(1);
  Invalidate(TRUE);
}

void CmivoReadSMSPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!m_pMessage || !look) return;
  const int s = DisplayScale;
  const RECT& c = m_contentRect;
  const mivoColorTheme& theme = look->ColorTheme();
  FillRect(dc, &c, look->BackgroundBrush);
  HBRUSH band = CreateSolidBrush(theme.GetColor(5));
  const RECT topBand{c.left, c.top, c.right, c.top + 25 * s};
  FillRect(dc, &topBand, band);
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, look->TitleFont);
  SetTextColor(dc, theme.GetColor(2));
  const std::u16string& sender = m_pMessage->GetSenderName();
  RECT senderRect = topBand;
  const int h = DrawTextW(dc, sender.c_str(), static_cast<int>(sender.size()), &senderRect, DT_CENTER | DT_VCENTER);
  const RECT bottomBand{c.left, c.bottom - 48 * s, c.right, c.bottom};
  FillRect(dc, &bottomBand, band);
  // The date line stands right on the bottom band, as high as the sender's line.
  SelectObject(dc, look->SubtitleFont);
  const std::u16string when = TimeText();
  RECT whenRect{c.left, c.bottom - 48 * s - h, c.right, c.bottom - 48 * s};
  DrawTextW(dc, when.c_str(), static_cast<int>(when.size()), &whenRect, DT_RIGHT | DT_VCENTER);
  RestoreDC(dc, saved);
  DeleteObject(band);
  // Shown, so read.
  if (!m_pMessage->IsRead()) m_pMessage->MarkRead();
}

void CmivoReadSMSPage::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoPageWnd::DrawArea(dc, erase, left, top, right, bottom);
  // The list and the buttons are windows of their own: drawn here too, for
  // the page drawn whole off screen (the slide).
  if (!m_pMessage) return;
  if (m_list->m_hWnd) {
    // The bubble is cut at the list's bottom, as in the list's window.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, m_listRect.left, m_listRect.top, m_listRect.right, m_listRect.bottom);
    m_list->DrawAll(dc, m_listRect.left, m_listRect.top);
    RestoreDC(dc, saved);
  }
  for (const auto& button : m_buttons) {
    if (!button->m_hWnd || !button->IsWindowVisible()) continue;
    RECT r{};
    button->GetWindowRect(&r);
    ScreenToClient(&r);
    button->DrawAt(dc, r.left, r.top);
  }
}

// ---- Commands and keys ----------------------------------------------------------------------------

void CmivoReadSMSPage::OnCommand(UINT id) {
  switch (id) {
    case kPrevious: SetMessage(m_pPrevious); break;
    case kNext: SetMessage(m_pNext); break;
    case kCall: {
      if (!m_pMessage) break;
      const std::u16string number = m_pMessage->GetSenderNumber();
      if (number.empty()) break;
      mivoActionMakeCall call(m_pCore, number);
      m_pCore->RunAction(&call);
      break;
    }
    case kReply: {
      if (!m_pMessage) break;
      // The history keeps a copy of the action; this one goes when done.
      mivoActionWriteSMS reply(m_pCore, m_pMessage->GetSenderNumber());
      m_pCore->RunAction(&reply);
      break;
    }
    default: break;
  }
}

// ---- The folder's changes ----------------------------------------------------------------------------

void CmivoReadSMSPage::OnOutlookItemAdded(int source, mivoOutlookObject*) {
  if (source != kOutlookSourceSMS) return;
  FindNeighbours();
  ShowNeighbourButtons();
}

void CmivoReadSMSPage::OnOutlookListChanged(int source, mivoOutlookObject*) {
  // A message went; the one shown stays readable (the store keeps it).
  if (source != kOutlookSourceSMS) return;
  FindNeighbours();
  ShowNeighbourButtons();
}

void CmivoReadSMSPage::OnOutlookItemChanged(int source, mivoOutlookObject*) {
  if (source == kOutlookSourceSMS && m_hWnd) Invalidate(TRUE);
}

// ---- The state dump ----------------------------------------------------------------------------------

void CmivoReadSMSPage::DumpRows(window::JsonWriter& j) { m_list->DescribeRows(j); }

void CmivoReadSMSPage::DumpCells(window::JsonWriter& j) {
  j.BeginArray();
  for (UINT id : {kPrevious, kCall, kReply, kNext}) {
    const CmivoButton& button = *m_buttons[id - 1];
    if (!button.m_hWnd || !button.IsWindowVisible()) continue;
    RECT r{};
    button.GetWindowRect(&r);
    j.BeginObject();
    j.Key("text");
    j.String(button.Label());
    j.Key("rect");
    j.Rect(r.left, r.top, r.right, r.bottom);
    j.EndObject();
  }
  j.EndArray();
}

void CmivoReadSMSPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  if (m_pMessage) {
    j.String(m_pMessage->GetSenderName());
    j.String(TimeText());
  }
  j.EndArray();
}

LRESULT CmivoReadSMSPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT result = CmivoPageWnd::WindowProc(message, wParam, lParam);
      if (result == -1) return -1;
      return OnCreate();
    }
    case WM_COMMAND:
      if (LOWORD(wParam) >= kPrevious && LOWORD(wParam) <= kReply) {
        OnCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_LEFT && m_pPrevious && m_buttons[kPrevious - 1]->IsWindowVisible()) {
        SetMessage(m_pPrevious);
      } else if (wParam == VK_RIGHT && m_pNext && m_buttons[kNext - 1]->IsWindowVisible()) {
        SetMessage(m_pNext);
      }
      break;
    default: break;
  }
  return CmivoPageWnd::WindowProc(message, wParam, lParam);
}
