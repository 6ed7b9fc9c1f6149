#include "pim/contact_list_item.h"

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "actions/menu_handlers.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "pim/outlook_app.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"

// ---- CmivoAdvContactListBox ----------------------------------------------------------------

LRESULT CmivoAdvContactListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    if (HWND parent = GetParentHwnd()) return SendMessageW(parent, message, wParam, lParam);
  }
  return CmivoAdvListBox::WindowProc(message, wParam, lParam);
}

// ---- CmivoAdvContactListBoxItem -------------------------------------------------------------

CmivoAdvContactListBoxItem::CmivoAdvContactListBoxItem(mivoCore* core, LONG oid)
    : CmivoAdvListBoxActionItem(core, std::make_unique<mivoActionContact>(core, static_cast<std::uint32_t>(oid))),
      m_oid(oid) {
  // The card opens to its call rows, not to a help text.
  m_hasHelp = false;
}

int CmivoAdvContactListBoxItem::CallCaptionId(int kind) {
  // "Call mobile" (181), "Call assistant" (183), ... "Call radion" (195).
  return kind >= 1 && kind <= 8 ? IDS_WRITE_SMS + 2 * kind : 0;
}

const char16_t* CmivoAdvContactListBoxItem::CallImageName(int kind) {
  static const char16_t* const kImages[9] = {nullptr,          u"call_mobile",   u"call_assistant",
                                             u"call_business", u"call_business", u"call_car",
                                             u"call_home",     u"call_home",     u"call_radio"};
  return kind >= 1 && kind <= 8 ? kImages[kind] : nullptr;
}

POContact* CmivoAdvContactListBoxItem::Contact() const {
  POApplication* outlook = m_pCore->GetOutlookStore();
  POContactsCollection* contacts = outlook ? outlook->GetContacts() : nullptr;
  return contacts ? contacts->FindContactByOid(m_oid) : nullptr;
}

void CmivoAdvContactListBoxItem::Prepare(POContact& contact, const std::u16string& hint) {
  m_hint = hint;
  m_prepared = true;
  m_kinds.clear();
  m_numbers.clear();
  int numbers = 0;
  for (int kind = 1; kind <= 8; ++kind) numbers += contact.GetNumber(kind).empty() ? 0 : 1;
  m_defaultKind = contact.GetPreferredKind();
  // The default number is the card's own; the others get a call row each.
  if (numbers >= 2) {
    for (int kind = 1; kind <= 8; ++kind) {
      const std::u16string& number = contact.GetNumber(kind);
      if (number.empty() || kind == m_defaultKind) continue;
      m_kinds.push_back(kind);
      m_numbers.push_back(number);
    }
  }
  const int extra = static_cast<int>(m_kinds.size()) * kCallRowHeight * DisplayScale;
  if (extra != m_extraHeight) {
    SetExtraHeight(extra);
    SetExpanded(m_expanded && extra > 0);
  }
}

void CmivoAdvContactListBoxItem::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  if (!m_action) return;
  // Beside the keypad of a wide screen the list is narrow: the name goes
  // without the picture rather than vanish behind "...".
  if (RectWidth(rect) < 120 * DisplayScale) {
    mivoAppearance* look = Look();
    if (!look) return;
    const int s = DisplayScale;
    const std::u16string name = m_action->GetTitle();
    const std::u16string sub = !m_hint.empty() || !m_defaultKind ? m_hint : POContact::GetNumberLabel(m_defaultKind);
    const int middle = (rect.top + rect.bottom) / 2;
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, look->SubtitleFont);
    SetTextColor(dc, look->TextColor);
    RECT top{rect.left + 3 * s, rect.top, rect.right, sub.empty() ? rect.bottom : middle + 2 * s};
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &top,
              (sub.empty() ? DT_VCENTER : DT_BOTTOM) | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (!sub.empty()) {
      SelectObject(dc, look->SmallFont);
      SetTextColor(dc, look->SubTextColor);
      RECT bottom{rect.left + 3 * s, middle + 3 * s, rect.right, rect.bottom};
      DrawTextW(dc, sub.c_str(), static_cast<int>(sub.size()), &bottom,
                DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    RestoreDC(dc, saved);
    return;
  }
  m_action->Draw(dc, rect, kActionStyleRow, IsSelected() ? kSkinDrawOverColor7 : kSkinDrawOverColor5, m_hint);
}

void CmivoAdvContactListBoxItem::DrawExpanded(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  mivoAppearance* look = Look();
  if (!look) return;
  mivoActions* actions = m_pCore->GetActions();
  // The rows share the card's opened part (a little less than 60·S each,
  // so that the last one stays inside the card's edge).
  const int count = static_cast<int>(m_kinds.size());
  for (int i = 0; i < count; ++i) {
    const int kind = m_kinds[static_cast<std::size_t>(i)];
    const RECT row{rect.left, rect.top + RectHeight(rect) * i / count, rect.right,
                   rect.top + RectHeight(rect) * (i + 1) / count};
    const bool pressed = kind == m_pressedKind;
    int mode = IsSelected() ? kSkinDrawOverColor7 : kSkinDrawOverColor5;
    if (pressed) {
      HBRUSH brush = CreateSolidBrush(look->ColorTheme().GetColor(7));
      FillRect(dc, &row, brush);
      DeleteObject(brush);
      mode = kSkinDrawOverColor7;
    }
    mivoSkinImage* image = actions ? actions->SkinImage(CallImageName(kind)) : nullptr;
    DrawRowImageTitleSubtitle(*look, dc, image, GetString(CallCaptionId(kind)), m_numbers[static_cast<std::size_t>(i)],
                              row, mode);
  }
}

int CmivoAdvContactListBoxItem::CallKindAt(int x, int y) const {
  if (!m_expanded || m_kinds.empty() || !m_pListBox) return 0;
  const int s = DisplayScale;
  const RECT item = m_pListBox->GetItemRect(this);
  // Where Draw puts the opened part, shared by the rows as DrawExpanded shares it.
  const int first = item.top + 5 * s + m_baseHeight - 5;
  const int last = item.bottom - 5 * s;
  if (y < first || y >= last || x < item.left + 5 * s || x > item.right - 5 * s) return 0;
  const std::size_t index = static_cast<std::size_t>(static_cast<std::int64_t>(y - first) *
                                                     static_cast<std::int64_t>(m_kinds.size()) / (last - first));
  return index < m_kinds.size() ? m_kinds[index] : 0;
}

bool CmivoAdvContactListBoxItem::OnTap(UINT flags, int x, int y) {
  const int kind = CallKindAt(x, y);
  if (!kind) return CmivoAdvListBoxActionItem::OnTap(flags, x, y);
  POContact* contact = Contact();
  std::u16string number = contact ? contact->GetNumber(kind) : std::u16string();
  if (number.empty()) return true;
  // The pressed row shows while the call is asked for and made.
  m_pressedKind = kind;
  if (m_pListBox) {
    m_pListBox->Repaint();
    m_pListBox->UpdateWindow();
  }
  mivoActionMakeCall call(m_pCore, number);
  m_pCore->RunAction(&call);
  m_pressedKind = 0;
  RepaintListBox();
  return true;
}

bool CmivoAdvContactListBoxItem::OnTapAndHold(int x, int y) {
  const int kind = CallKindAt(x, y);
  POContact* contact = Contact();
  ClearMenu();
  if (kind) {
    AddMenuHandler(std::make_unique<CmivoContextMenuPhoneNumberHandler>(
        m_pCore, contact ? contact->GetNumber(kind) : std::u16string(), static_cast<std::uint32_t>(m_oid)));
  } else {
    if (m_action) AddMenuHandler(std::make_unique<CmivoContextMenuActionHandler>(m_pCore, *m_action));
    // The number a tap on the card calls, with the contact's own entries.
    const std::u16string number = contact && m_defaultKind ? contact->GetNumber(m_defaultKind) : std::u16string();
    AddMenuHandler(
        std::make_unique<CmivoContextMenuPhoneNumberHandler>(m_pCore, number, static_cast<std::uint32_t>(m_oid)));
  }
  ShowMenu();
  return true;
}

void CmivoAdvContactListBoxItem::Describe(mivoRowText* out) const {
  if (m_action) out->text = m_action->GetTitle();
  out->sub = !m_hint.empty() || !m_defaultKind ? m_hint : POContact::GetNumberLabel(m_defaultKind);
  for (std::size_t i = 0; i < m_kinds.size(); ++i) {
    if (i) out->help += u"\n";
    out->help += GetString(CallCaptionId(m_kinds[i])) + u" " + m_numbers[i];
  }
}
