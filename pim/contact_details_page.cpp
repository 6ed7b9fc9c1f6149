#include "pim/contact_details_page.h"

#include <algorithm>

#include "actions/action_kinds.h"
#include "actions/action_list_item.h"
#include "actions/actions.h"
#include "actions/menu_handlers.h"
#include "core/core.h"
#include "core/page_ids.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "pim/contact_list_item.h"
#include "pim/outlook_app.h"
#include "pim/write_sms_page.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/describe.h"
#include "ui/adv_list_box_items.h"

namespace {

// Text drawn word-wrapped at (left, top) up to `right`; its height. Nothing
// is drawn when measuring.
int WrappedText(HDC dc, const std::u16string& text, int left, int top, int right, bool measure) {
  if (text.empty()) return 0;
  RECT r{left, top, right, top + 10000};
  return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                   DT_WORDBREAK | DT_NOPREFIX | (measure ? DT_CALCRECT : 0));
}

std::u16string JoinNonEmpty(std::initializer_list<std::u16string> parts, std::u16string_view separator) {
  std::u16string out;
  for (const std::u16string& p : parts) {
    if (p.empty()) continue;
    if (!out.empty()) out += separator;
    out += p;
  }
  return out;
}

}  // namespace

// ---- The head ------------------------------------------------------------------------------------

CmivoAdvContactDetailsHeadListBoxItem::CmivoAdvContactDetailsHeadListBoxItem(mivoCore* core, std::uint32_t oid,
                                                                             std::u16string name, std::u16string line2)
    : CmivoAdvListBoxItem(core), m_oid(oid), m_name(std::move(name)), m_line2(std::move(line2)) {
  SetSelectable(false);
}

int CmivoAdvContactDetailsHeadListBoxItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  mivoAppearance* look = Look();
  if (!look) return m_height;
  const int s = DisplayScale;
  CmivoAdvListBoxItem::Draw(listBox, dc, rect);
  const RECT& c = *rect;
  const int box = 64 * s;
  // The contact's own picture, fitted; else the skin's contact picture.
  mivoActions* actions = m_pCore->GetActions();
  mivoContactDirectory* contacts = actions ? actions->Contacts() : nullptr;
  mivoContactInfo* info = contacts ? contacts->FindContactByOid(m_oid) : nullptr;
  HBITMAP photo = info ? info->Photo() : nullptr;
  const int picLeft = c.left + 5 * s, picTop = c.top + 5 * s;
  if (photo) {
    BITMAP bm{};
    GetObjectW(photo, sizeof bm, &bm);
    int w = bm.bmWidth, h = bm.bmHeight;
    FitSizeInBox(box, box, &w, &h);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, photo);
    StretchBlt(dc, picLeft + (box - w) / 2, picTop + (box - h) / 2, w, h, source, 0, 0, bm.bmWidth, bm.bmHeight,
               SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  } else if (mivoSkinImage* image = actions ? actions->SkinImage(u"view_contact_details") : nullptr) {
    look->DrawSkinImage(image, dc, RECT{picLeft, picTop, picLeft + box, picTop + box}, kAlignCenterX | kAlignCenterY,
                        kSkinDrawOverColor5);
  }
  const int textLeft = picLeft + box + 8 * s;
  const int textRight = c.right - 5 * s;
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, look->LargeTitleFont);
  const int nameHeight = WrappedText(dc, m_name, textLeft, 0, textRight, true);
  SelectObject(dc, look->SubtitleFont);
  const int line2Height = WrappedText(dc, m_line2, textLeft, 0, textRight, true);
  const int textHeight = nameHeight + (line2Height ? line2Height + 3 * s : 0);
  const int contentHeight = std::max(box, textHeight) + 10 * s;
  int y = c.top + 5 * s + (contentHeight - 10 * s - textHeight) / 2;
  SelectObject(dc, look->LargeTitleFont);
  SetTextColor(dc, look->TextColor);
  y += WrappedText(dc, m_name, textLeft, y, textRight, false) + 3 * s;
  SelectObject(dc, look->SubtitleFont);
  SetTextColor(dc, look->SubTextColor);
  WrappedText(dc, m_line2, textLeft, y, textRight, false);
  RestoreDC(dc, saved);
  // The card fits its content: measured at each paint, as the width may change.
  const int height = contentHeight + 10 * s;
  if (height != m_height) SetHeight(height);
  return m_height;
}

void CmivoAdvContactDetailsHeadListBoxItem::Describe(mivoRowText* out) const {
  out->text = m_name;
  out->sub = m_line2;
}

// ---- A number --------------------------------------------------------------------------------------

CmivoAdvContactDetailsPhoneNumbersListBoxItem::CmivoAdvContactDetailsPhoneNumbersListBoxItem(mivoCore* core,
                                                                                             std::uint32_t oid,
                                                                                             int kind,
                                                                                             std::u16string number)
    : CmivoAdvListBoxSideButtonItem(core), CmivoContextMenu(core), m_oid(oid), m_kind(kind), m_number(number) {}

void CmivoAdvContactDetailsPhoneNumbersListBoxItem::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  mivoAppearance* look = Look();
  if (!look) return;
  const int s = DisplayScale;
  mivoActions* actions = m_pCore->GetActions();
  const int mode = IsSelected() ? kSkinDrawOverColor7 : kSkinDrawOverColor5;
  const int icon = 32 * s;
  const int middle = (rect.top + rect.bottom) / 2;
  // The kind's picture, small, so that a whole number fits beside it.
  if (mivoSkinImage* kind = actions ? actions->SkinImage(CmivoAdvContactListBoxItem::CallImageName(m_kind)) : nullptr)
    look->DrawSkinImage(kind, dc, RECT{rect.left, middle - icon / 2, rect.left + icon, middle + icon / 2},
                        kAlignCenterX | kAlignCenterY, mode, icon, icon);
  // The SMS button at the right end, set off by a line.
  const int button = 40 * s;
  const RECT sms{rect.right - button, rect.top - 5 * s, rect.right + 5 * s, rect.bottom + 5 * s};
  const int saved = SaveDC(dc);
  SelectObject(dc, IsSelected() ? look->ThemePen6 : look->ThemePen4);
  MoveToEx(dc, sms.left, sms.top + 8 * s, nullptr);
  LineTo(dc, sms.left, sms.bottom - 8 * s);
  if (mivoSkinImage* image = actions ? actions->SkinImage(u"new_sms") : nullptr)
    look->DrawSkinImage(image, dc, sms, kAlignCenterX | kAlignCenterY, mode, icon, icon);
  // The kind above, the number under it; a number too long for the large
  // font takes the smaller one rather than lose its end.
  SetBkMode(dc, TRANSPARENT);
  const RECT text{rect.left + icon + 7 * s, rect.top, sms.left - 4 * s, rect.bottom};
  const std::u16string label = POContact::GetNumberLabel(m_kind);
  SelectObject(dc, look->SubtitleFont);
  SetTextColor(dc, look->SubTextColor);
  RECT labelRect{text.left, rect.top + 2 * s, text.right, middle};
  DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &labelRect,
            DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SIZE size{};
  SelectObject(dc, look->TitleFont);
  GetTextExtentExPointW(dc, m_number.c_str(), static_cast<int>(m_number.size()), 0, nullptr, nullptr, &size);
  if (size.cx > RectWidth(text)) SelectObject(dc, look->SubtitleFont);
  SetTextColor(dc, look->TextColor);
  RECT numberRect{text.left, middle, text.right, rect.bottom};
  DrawTextW(dc, m_number.c_str(), static_cast<int>(m_number.size()), &numberRect,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  RestoreDC(dc, saved);
}

RECT CmivoAdvContactDetailsPhoneNumbersListBoxItem::SMSButtonRect() const {
  if (!m_pListBox) return RECT{};
  const int s = DisplayScale;
  const RECT item = m_pListBox->GetItemRect(this);
  // The card's right end, as DrawContent places the button.
  return RECT{item.right - 10 * s - 40 * s, item.top, item.right, item.bottom};
}

void CmivoAdvContactDetailsPhoneNumbersListBoxItem::Call() {
  mivoActionMakeCall call(m_pCore, m_number);
  m_pCore->RunAction(&call);
}

void CmivoAdvContactDetailsPhoneNumbersListBoxItem::WriteSMS() {
  auto* page = dynamic_cast<CmivoWriteSMSPage*>(m_pCore->GetPage(kWriteSMSPage));
  if (!page) return;
  page->Compose(m_number);
  m_pCore->ShowPage(page);
}

bool CmivoAdvContactDetailsPhoneNumbersListBoxItem::OnTap(UINT, int x, int y) {
  const RECT sms = SMSButtonRect();
  if (PtInRect(&sms, POINT{x, y})) {
    WriteSMS();
  } else {
    Call();
  }
  return true;
}

bool CmivoAdvContactDetailsPhoneNumbersListBoxItem::OnTapAndHold(int, int) {
  ClearMenu();
  AddMenuHandler(std::make_unique<CmivoContextMenuPhoneNumberHandler>(m_pCore, m_number, m_oid));
  ShowMenu();
  return true;
}

void CmivoAdvContactDetailsPhoneNumbersListBoxItem::Describe(mivoRowText* out) const {
  out->text = m_number;
  out->sub = POContact::GetNumberLabel(m_kind);
}

// ---- An address ------------------------------------------------------------------------------------

CmivoAdvContactDetailsAddressListBoxItem::CmivoAdvContactDetailsAddressListBoxItem(mivoCore* core, std::u16string title,
                                                                                   std::u16string lines)
    : CmivoAdvListBoxSideButtonItem(core), m_title(std::move(title)), m_lines(std::move(lines)) {
  SetSelectable(true);
}

int CmivoAdvContactDetailsAddressListBoxItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  mivoAppearance* look = Look();
  if (!look) return m_height;
  const int s = DisplayScale;
  CmivoAdvListBoxItem::Draw(listBox, dc, rect);
  const RECT& c = *rect;
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, look->SubtitleFont);
  SetTextColor(dc, look->SubTextColor);
  const int left = c.left + 10 * s, right = c.right - 10 * s;
  int y = c.top + 5 * s;
  y += WrappedText(dc, m_title, left, y, right, false) + 2 * s;
  SelectObject(dc, look->TitleFont);
  SetTextColor(dc, look->TextColor);
  y += WrappedText(dc, m_lines, left, y, right, false);
  RestoreDC(dc, saved);
  // Measured at each paint: the lines wrap by the width.
  const int height = y - c.top + 15 * s;
  if (height != m_height) CmivoAdvListBoxItem::SetHeight(height);
  return m_height;
}

void CmivoAdvContactDetailsAddressListBoxItem::Describe(mivoRowText* out) const {
  out->text = m_title;
  out->sub = m_lines;
}

// ---- The page ------------------------------------------------------------------------------------

CmivoAdvContactDetailsPage::CmivoAdvContactDetailsPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  m_title = GetString(IDS_CONTACT_DETAILS);
}

CmivoAdvContactDetailsPage::~CmivoAdvContactDetailsPage() {
  if (m_pListening) m_pListening->RemoveListener(this);
}

POContact* CmivoAdvContactDetailsPage::Contact() {
  POApplication* outlook = m_pCore->GetOutlookStore();
  POContactsCollection* contacts = outlook && outlook->IsOpen() ? outlook->GetContacts() : nullptr;
  if (contacts && contacts != m_pListening) {
    if (m_pListening) m_pListening->RemoveListener(this);
    m_pListening = contacts;
    contacts->AddListener(this);
  }
  return contacts && m_oid ? contacts->FindContactByOid(static_cast<LONG>(m_oid)) : nullptr;
}

void CmivoAdvContactDetailsPage::SetContact(std::uint32_t oid) {
  m_oid = oid;
  Fill();
  ListBox().SetScrollTop(0);
}

void CmivoAdvContactDetailsPage::Fill() {
  Clear(true);
  POContact* contact = Contact();
  if (!contact) {
    AddItem(new CmivoAdvContactDetailsHeadListBoxItem(m_pCore, 0, GetString(IDS_NO_CONTACT), {}));
    InvalidateList();
    return;
  }
  using F = POContact;
  const std::u16string company =
      JoinNonEmpty({contact->GetField(F::kFieldCompany), contact->GetField(F::kFieldDepartment)}, u", ");
  AddItem(new CmivoAdvContactDetailsHeadListBoxItem(
      m_pCore, m_oid, contact->GetDisplayName(), JoinNonEmpty({contact->GetField(F::kFieldJobTitle), company}, u"\n")));
  for (int kind = 1; kind <= 8; ++kind) {
    const std::u16string& number = contact->GetNumber(kind);
    if (!number.empty()) AddItem(new CmivoAdvContactDetailsPhoneNumbersListBoxItem(m_pCore, m_oid, kind, number));
  }
  for (int field : {F::kFieldEmail1, F::kFieldEmail2, F::kFieldEmail3}) {
    const std::u16string& address = contact->GetField(field);
    if (!address.empty())
      AddItem(new CmivoAdvListBoxActionItem(m_pCore, std::make_unique<mivoActionWriteEmail>(m_pCore, address)));
  }
  struct Address {
    int titleId;
    int first;  // its street; city, region, postal code and country follow
  };
  for (const Address& a :
       {Address{IDS_HOME_ADDRESS, F::kFieldHomeStreet}, Address{IDS_BUSINESS_ADDRESS, F::kFieldBusinessStreet},
        Address{IDS_OTHER_ADDRESS, F::kFieldOtherStreet}}) {
    const std::u16string& street = contact->GetField(a.first);
    const std::u16string& city = contact->GetField(a.first + 1);
    const std::u16string& region = contact->GetField(a.first + 2);
    const std::u16string& code = contact->GetField(a.first + 3);
    const std::u16string& country = contact->GetField(a.first + 4);
    const std::u16string lines = JoinNonEmpty({street, JoinNonEmpty({code, city}, u" "), region, country}, u"\n");
    if (!lines.empty()) AddItem(new CmivoAdvContactDetailsAddressListBoxItem(m_pCore, GetString(a.titleId), lines));
  }
  const std::u16string& notes = contact->GetField(F::kFieldNotes);
  if (!notes.empty()) AddItem(new CmivoAdvContactDetailsAddressListBoxItem(m_pCore, GetString(IDS_NOTES_TAB), notes));
  InvalidateList();
}

void CmivoAdvContactDetailsPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  j.EndArray();
}

void CmivoAdvContactDetailsPage::OnOutlookListChanged(int source, mivoOutlookObject* list) {
  if (source != kOutlookSourceContacts) return;
  auto* contact = dynamic_cast<POContact*>(list);
  if (contact && static_cast<std::uint32_t>(contact->GetOid()) == m_oid) Fill();
}

void CmivoAdvContactDetailsPage::OnOutlookItemChanged(int source, mivoOutlookObject* item) {
  if (source != kOutlookSourceContacts) return;
  auto* contact = dynamic_cast<POContact*>(item);
  if (contact && static_cast<std::uint32_t>(contact->GetOid()) == m_oid) Fill();
}
