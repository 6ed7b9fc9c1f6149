// The actions that reach the phone: a call, an SMS, an e-mail.
#include "actions/action_draw.h"
#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "actions/services.h"
#include "core/core.h"
#include "core/settings.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/device/phone.h"
#include "ui/page_wnd.h"

namespace {

// The contact that owns a number, with its phone kind; null without a
// contact store or owner.
mivoContactInfo* OwnerOf(mivoCore* core, std::u16string_view number, int* kind) {
  *kind = 0;
  if (!core || !core->GetActions() || number.empty()) return nullptr;
  mivoContactDirectory* contacts = core->GetActions()->Contacts();
  return contacts ? contacts->FindContactByNumber(number, kind) : nullptr;
}

}  // namespace

std::u16string PhoneNumberDigits(std::u16string_view number) {
  std::u16string digits;
  digits.reserve(number.size());
  for (char16_t c : number)
    if (c >= u'0' && c <= u'9') digits += c;
  return digits;
}

// ---- MakeCall ---------------------------------------------------------------

mivoActionMakeCall::mivoActionMakeCall(mivoCore* core, std::u16string number)
    : mivoAction(core, kActionMakeCall), m_number(std::move(number)) {}

bool mivoActionMakeCall::Load(mivoArchiveReader& in) { return in.ReadString(&m_number); }
void mivoActionMakeCall::Save(mivoArchiveWriter& out) const { out.WriteString(m_number); }

bool mivoActionMakeCall::IsEqual(const mivoAction& other) const {
  return PhoneNumberDigits(m_number) == PhoneNumberDigits(static_cast<const mivoActionMakeCall&>(other).m_number);
}

void mivoActionMakeCall::CopyFrom(const mivoAction& other) {
  mivoAction::CopyFrom(other);
  m_number = static_cast<const mivoActionMakeCall&>(other).m_number;
}

std::unique_ptr<mivoAction> mivoActionMakeCall::Clone() const {
  auto copy = std::make_unique<mivoActionMakeCall>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

void mivoActionMakeCall::Execute() {
  // A number without a digit cannot be dialled: asking about it would only
  // lead to a call that fails.
  if (PhoneNumberDigits(m_number).empty() || !m_pCore) return;
  if (m_pCore->Settings().GetAskBeforeMakeCall()) {
    int kind = 0;
    mivoContactInfo* contact = OwnerOf(m_pCore, m_number, &kind);
    const std::u16string question =
        contact ? GetString(IDS_WOULD_YOU_LIKE_TO_CALL_CONTACT) + u" " + contact->DisplayName() + u" (" +
                      contact->NumberLabel(kind) + u")?"
                : GetString(IDS_WOULD_YOU_LIKE_TO_CALL_NUMBER) + u" " + m_number + u"?";
    if (m_pCore->RunMessageBox(GetString(IDS_MAKE_A_CALL), question, false) != 1) return;
  }
  PHONEMAKECALLINFO call;
  call.cbSize = 24;
  call.dwFlags = PMCF_DEFAULT;
  call.pszDestAddress = m_number.c_str();
  call.pszAppName = nullptr;
  call.pszCalledParty = u"";
  PhoneMakeCall(&call);
}

void mivoActionMakeCall::OnHistoryEntryCreated(mivoHistoryEntry* entry) {
  // Only an open contact store is told: the link is made again by the store
  // itself when it opens later (mivoActionsHistory::Find by number).
  mivoContactDirectory* contacts = m_pCore && m_pCore->GetActions() ? m_pCore->GetActions()->ContactsIfOpen() : nullptr;
  if (!contacts) return;
  int kind = 0;
  if (mivoContactInfo* contact = contacts->FindContactByNumber(m_number, &kind)) {
    contact->AttachHistoryEntry(kind, entry);
  }
}

std::u16string mivoActionMakeCall::GetTitle() {
  if (m_number.empty()) return GetString(IDS_NO_NUMBER);
  int kind = 0;
  if (mivoContactInfo* contact = OwnerOf(m_pCore, m_number, &kind)) return contact->DisplayName();
  return m_number;
}

void mivoActionMakeCall::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  mivoSkinImage* icon = action_draw::Image(m_pCore, u"make_a_call");
  int kind = 0;
  mivoContactInfo* contact = OwnerOf(m_pCore, m_number, &kind);
  HBITMAP photo = contact ? contact->Photo() : nullptr;
  if (contact && photo && style == kActionStyleTile) {
    action_draw::DrawPhotoAction(m_pCore, dc, rect, style, imageMode, photo,
                                 action_draw::Image(m_pCore, u"small_phone"), contact->DisplayName(), subtitle);
    return;
  }
  if (contact && style == kActionStyleRow) {
    action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode, icon, contact->DisplayName(),
                                 subtitle.empty() ? contact->NumberLabel(kind) : std::u16string(subtitle));
    return;
  }
  action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode, icon, GetTitle(), subtitle);
}

void mivoActionMakeCall::CollectImages(std::vector<mivoSkinImage*>& images) {
  for (const char16_t* name : {u"make_a_call", u"small_phone"})
    if (mivoSkinImage* image = action_draw::Image(m_pCore, name)) images.push_back(image);
}

// ---- WriteSMS ---------------------------------------------------------------

mivoActionWriteSMS::mivoActionWriteSMS(mivoCore* core, std::u16string number)
    : mivoAction(core, kActionWriteSMS), m_number(std::move(number)) {}

bool mivoActionWriteSMS::Load(mivoArchiveReader& in) { return in.ReadString(&m_number); }
void mivoActionWriteSMS::Save(mivoArchiveWriter& out) const { out.WriteString(m_number); }

bool mivoActionWriteSMS::IsEqual(const mivoAction& other) const {
  return m_number == static_cast<const mivoActionWriteSMS&>(other).m_number;
}

void mivoActionWriteSMS::CopyFrom(const mivoAction& other) {
  mivoAction::CopyFrom(other);
  m_number = static_cast<const mivoActionWriteSMS&>(other).m_number;
}

std::unique_ptr<mivoAction> mivoActionWriteSMS::Clone() const {
  auto copy = std::make_unique<mivoActionWriteSMS>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

void mivoActionWriteSMS::Execute() {
  if (!m_pCore) return;
  if (m_number.empty()) {
    MAILCOMPOSESTRUCT compose;
    compose.cbSize = 44;
    compose.dwFlags = MCF_RUN_IN_BACKGROUND;
    compose.pszAccount = u"SMS";
    MailComposeMessage(&compose);
    return;
  }
  std::u16string text;
  // The prompt says to whom the message goes.
  if (!m_pCore->EnterText(GetString(IDS_WRITE_SMS_MESSAGE), GetTitle(), &text, true)) return;
  // An empty message is not worth sending (nor charging for).
  if (text.empty()) return;
  m_pCore->ShowPleaseWait(GetString(IDS_SENDING_SMS));
  mivoSMSSender* sender = m_pCore->GetActions() ? m_pCore->GetActions()->SMSSender() : nullptr;
  const bool sent = sender && sender->SendSMS(m_number, text);
  m_pCore->HidePleaseWait();
  if (sent) {
    m_pCore->ShowMessage(GetString(IDS_SMS_SENT), GetString(IDS_SEND_SMS));
  } else {
    m_pCore->ShowError(GetString(IDS_SMS_NOT_SENT));
  }
}

std::u16string mivoActionWriteSMS::GetTitle() {
  if (m_number.empty()) return GetString(IDS_NEW_SMS);
  int kind = 0;
  if (mivoContactInfo* contact = OwnerOf(m_pCore, m_number, &kind)) return contact->DisplayName();
  return m_number;
}

void mivoActionWriteSMS::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode, action_draw::Image(m_pCore, u"new_sms"), GetTitle(),
                               subtitle);
}

void mivoActionWriteSMS::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoSkinImage* image = action_draw::Image(m_pCore, u"new_sms")) images.push_back(image);
}

// ---- WriteEmail -------------------------------------------------------------

mivoActionWriteEmail::mivoActionWriteEmail(mivoCore* core, std::u16string address)
    : mivoAction(core, kActionWriteEmail), m_address(std::move(address)) {}

bool mivoActionWriteEmail::Load(mivoArchiveReader& in) { return in.ReadString(&m_address); }
void mivoActionWriteEmail::Save(mivoArchiveWriter& out) const { out.WriteString(m_address); }

bool mivoActionWriteEmail::IsEqual(const mivoAction& other) const {
  return m_address == static_cast<const mivoActionWriteEmail&>(other).m_address;
}

void mivoActionWriteEmail::CopyFrom(const mivoAction& other) {
  mivoAction::CopyFrom(other);
  m_address = static_cast<const mivoActionWriteEmail&>(other).m_address;
}

std::unique_ptr<mivoAction> mivoActionWriteEmail::Clone() const {
  auto copy = std::make_unique<mivoActionWriteEmail>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

void mivoActionWriteEmail::Execute() {
  MAILCOMPOSESTRUCT compose;
  compose.cbSize = 44;
  compose.dwFlags = MCF_RUN_IN_BACKGROUND;
  compose.pszTo = m_address.c_str();
  compose.pszAccount = u"ActiveSync";
  MailComposeMessage(&compose);
}

void mivoActionWriteEmail::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode, action_draw::Image(m_pCore, u"write_email"),
                               m_address, subtitle);
}

void mivoActionWriteEmail::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoSkinImage* image = action_draw::Image(m_pCore, u"write_email")) images.push_back(image);
}
