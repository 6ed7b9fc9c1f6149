#include "pim/sms_message.h"

#include "look/language.h"
#include "look/string_ids.h"
#include "pim/sms_folder.h"
#include "pim/sms_store.h"
#include "platform/win32/clock.h"

namespace {

// One property of the message; false when it cannot be read.
bool ReadProp(LPMESSAGE message, ULONG tag, SPropValue* out, std::u16string* text) {
  if (!message) return false;
  SizedSPropTagArrayT<1> tags{1, {tag}};
  ULONG count = 0;
  LPSPropValue props = nullptr;
  bool ok =
      SUCCEEDED(message->GetProps(tags.get(), MAPI_UNICODE, &count, &props)) && count == 1 && props[0].ulPropTag == tag;
  if (ok) {
    *out = props[0];
    if (text) *text = props[0].Value.lpszW ? props[0].Value.lpszW : u"";
  }
  MAPIFreeBuffer(props);
  return ok;
}

}  // namespace

mivoSMSMessage::mivoSMSMessage(mivoSMSStore* store, mivoSMSFolder* folder, LPMESSAGE message)
    : m_pStore(store), m_pFolder(folder), m_pMessage(message) {
  if (!m_pMessage) return;
  SizedSPropTagArrayT<1> tags{1, {PR_ENTRYID}};
  ULONG count = 0;
  LPSPropValue props = nullptr;
  if (SUCCEEDED(m_pMessage->GetProps(tags.get(), 0, &count, &props)) && count == 1 && props[0].ulPropTag == PR_ENTRYID)
    m_entryId.assign(reinterpret_cast<const char*>(props[0].Value.bin.lpb), props[0].Value.bin.cb);
  MAPIFreeBuffer(props);
}

mivoSMSMessage::~mivoSMSMessage() {
  if (m_pMessage) m_pMessage->Release();
}

bool mivoSMSMessage::ReadText(ULONG tag, std::u16string* out) {
  SPropValue v;
  return ReadProp(m_pMessage, tag, &v, out);
}

bool mivoSMSMessage::ReadTime(ULONG tag, std::int64_t* out) {
  SPropValue v;
  if (!ReadProp(m_pMessage, tag, &v, nullptr)) return false;
  // The time as the calendar sees it; a date the time functions cannot hold counts as none.
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&v.Value.ft, &local) || !FileTimeToSystemTime(&local, &st) || st.wYear < 1970 ||
      st.wYear > 3000)
    return false;
  std::uint64_t ticks = (static_cast<std::uint64_t>(v.Value.ft.dwHighDateTime) << 32) | v.Value.ft.dwLowDateTime;
  *out = static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL;
  return true;
}

bool mivoSMSMessage::IsRead() {
  if (m_flags == 0) {
    SPropValue v;
    m_flags = ReadProp(m_pMessage, PR_MESSAGE_FLAGS, &v, nullptr) ? v.Value.ul : 0;
  }
  return (m_flags & MSGFLAG_READ) != 0;
}

void mivoSMSMessage::MarkRead() {
  if (!m_pMessage || IsRead()) return;
  SPropValue v{PR_MESSAGE_FLAGS, 0, {}};
  v.Value.ul = m_flags | MSGFLAG_READ;
  if (SUCCEEDED(m_pMessage->SetProps(1, &v, nullptr)) && SUCCEEDED(m_pMessage->SaveChanges(KEEP_OPEN_READWRITE)))
    m_flags = v.Value.ul;
}

const std::u16string& mivoSMSMessage::GetBody() {
  if (!m_hasBody) {
    if (!ReadText(PR_SUBJECT, &m_body)) m_body.clear();
    m_hasBody = true;
  }
  return m_body;
}

const std::u16string& mivoSMSMessage::GetSenderName() {
  if (!m_hasSenderName) {
    if (!ReadText(PR_SENDER_NAME, &m_senderName)) m_senderName = GetString(IDS_NO_SENDER);
    m_hasSenderName = true;
  }
  return m_senderName;
}

const std::u16string& mivoSMSMessage::GetSenderNumber() {
  if (!m_hasSenderNumber) {
    if (!ReadText(PR_SENDER_EMAIL_ADDRESS, &m_senderNumber)) m_senderNumber = GetString(IDS_NO_SENDER_PHONE_NUMBER);
    m_hasSenderNumber = true;
  }
  // "Anna <+420 603 111 222>": the number between the last "<" and the last ">".
  auto open = m_senderNumber.rfind(u'<');
  auto close = m_senderNumber.rfind(u'>');
  if (open != std::u16string::npos && close != std::u16string::npos && close > open)
    m_senderNumber = m_senderNumber.substr(open + 1, close - open - 1);
  return m_senderNumber;
}

bool mivoSMSMessage::GetDeliveryTime(std::int64_t* time) {
  if (m_deliveryState == Cached::kNo)
    m_deliveryState = ReadTime(PR_MESSAGE_DELIVERY_TIME, &m_delivery) ? Cached::kYes : Cached::kAbsent;
  if (m_deliveryState != Cached::kYes) return false;
  if (time) *time = m_delivery;
  return true;
}

bool mivoSMSMessage::GetLastModificationTime(std::int64_t* time) {
  if (m_modifiedState == Cached::kNo)
    m_modifiedState = ReadTime(PR_LAST_MODIFICATION_TIME, &m_modified) ? Cached::kYes : Cached::kAbsent;
  if (m_modifiedState != Cached::kYes) return false;
  if (time) *time = m_modified;
  return true;
}

// Walks the folder from the front to this message: the one before it is the
// newer neighbour, the one after it the older. A message the folder does not
// hold gets the folder's last message as previous and no next; one without
// a folder leaves both as they were.
void mivoSMSMessage::GetNeighbours(mivoSMSMessage** previous, mivoSMSMessage** next) {
  if (!m_pFolder) return;
  std::size_t count = m_pFolder->GetCount();
  for (std::size_t i = 0; i < count; ++i) {
    if (m_pFolder->GetAt(i) != this) continue;
    if (previous) *previous = i > 0 ? m_pFolder->GetAt(i - 1) : nullptr;
    if (next) *next = i + 1 < count ? m_pFolder->GetAt(i + 1) : nullptr;
    return;
  }
  if (previous) *previous = count ? m_pFolder->GetAt(count - 1) : nullptr;
  if (next) *next = nullptr;
}

void mivoSMSMessage::SetBody(std::u16string_view text) {
  // An empty text leaves the message without a subject at all.
  if (text.empty() || !m_pMessage) return;
  std::u16string body(text);
  SPropValue v{PR_SUBJECT, 0, {}};
  v.Value.lpszW = body.data();
  m_pMessage->SetProps(1, &v, nullptr);
}

bool mivoSMSMessage::Submit() {
  if (!m_pMessage) return false;
  std::u16string number = m_recipient;
  SPropValue to[3] = {};
  to[0].ulPropTag = PR_RECIPIENT_TYPE;
  to[0].Value.l = MAPI_TO;
  to[1].ulPropTag = PR_ADDRTYPE;
  to[1].Value.lpszW = const_cast<char16_t*>(u"SMS");
  to[2].ulPropTag = PR_EMAIL_ADDRESS;
  to[2].Value.lpszW = number.data();
  ADRLIST list{1, {{0, 3, to}}};
  if (FAILED(m_pMessage->ModifyRecipients(MODRECIP_ADD, &list))) return false;
  if (FAILED(m_pMessage->SaveChanges(KEEP_OPEN_READONLY))) return false;
  return m_pMessage->SubmitMessage(0) == S_OK;
}

void mivoSMSMessage::DropCache() {
  m_hasBody = m_hasSenderName = m_hasSenderNumber = false;
  m_body.clear();
  m_senderName.clear();
  m_senderNumber.clear();
  m_flags = 0;
  m_deliveryState = m_modifiedState = Cached::kNo;
}
