#include "pim/sms_store.h"

#include <algorithm>
#include <cstring>

#include "platform/window/message.h"

namespace {

// Advise's event mask: new mail, object created, deleted, modified, moved, copied.
constexpr ULONG kEvents = 0x7E;

std::string Bytes(ULONG size, LPENTRYID entry) {
  return entry && size ? std::string(reinterpret_cast<const char*>(entry), size) : std::string();
}

}  // namespace

// ---- The sink -----------------------------------------------------------------------

HRESULT mivoSMSStore::mivoSMSAdviceSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IMAPIAdviseSink) {
    AddRef();
    *object = static_cast<IMAPIAdviseSink*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG mivoSMSStore::mivoSMSAdviceSink::AddRef() { return ++m_refs; }

// The store owns the sink: the count never deletes it.
ULONG mivoSMSStore::mivoSMSAdviceSink::Release() { return --m_refs; }

ULONG mivoSMSStore::mivoSMSAdviceSink::OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) {
  // Only the first notification of a call is handled (a delivered message
  // comes made and announced in one call, and is added once).
  if (cNotif == 0 || !lpNotifications) return 0;
  const NOTIFICATION& n = lpNotifications[0];
  Pending p;
  p.event = n.ulEventType;
  if (n.ulEventType == fnevNewMail) {
    p.objectType = MAPI_MESSAGE;
    p.entry = Bytes(n.info.newmail.cbEntryID, n.info.newmail.lpEntryID);
    p.parent = Bytes(n.info.newmail.cbParentID, n.info.newmail.lpParentID);
  } else {
    const OBJECT_NOTIFICATION& o = n.info.obj;
    p.objectType = o.ulObjType;
    p.entry = Bytes(o.cbEntryID, o.lpEntryID);
    p.parent = Bytes(o.cbParentID, o.lpParentID);
    p.oldEntry = Bytes(o.cbOldID, o.lpOldID);
    p.oldParent = Bytes(o.cbOldParentID, o.lpOldParentID);
  }
  m_pStore->Queue(std::move(p));
  return 0;
}

// ---- The store -----------------------------------------------------------------------

mivoSMSStore::mivoSMSStore() : m_alive(std::make_shared<bool>(true)) {
  MAPIInitialize(nullptr);
  if (FAILED(MAPILogonEx(0, nullptr, nullptr, 0, &m_pSession)) || !m_pSession) {
    m_pSession = nullptr;
    return;
  }
  LPMAPITABLE table = nullptr;
  SizedSPropTagArrayT<2> columns{2, {PR_DISPLAY_NAME, PR_ENTRYID}};
  if (FAILED(m_pSession->GetMsgStoresTable(0, &table)) || FAILED(table->SetColumns(columns.get(), 0))) {
    if (table) table->Release();
    return;
  }
  for (;;) {
    LPSRowSet rows = nullptr;
    if (FAILED(table->QueryRows(1, 0, &rows)) || !rows || rows->cRows == 0) {
      FreeProws(rows);
      break;
    }
    const SRow& row = rows->aRow[0];
    bool named = row.cValues == 2 && row.lpProps[0].ulPropTag == PR_DISPLAY_NAME &&
                 row.lpProps[1].ulPropTag == PR_ENTRYID &&
                 (std::u16string_view(row.lpProps[0].Value.lpszW) == u"SMS" ||
                  std::u16string_view(row.lpProps[0].Value.lpszW) == u"Text Messages");
    if (named) {
      const SBinary& id = row.lpProps[1].Value.bin;
      if (SUCCEEDED(
              m_pSession->OpenMsgStore(0, id.cb, reinterpret_cast<LPENTRYID>(id.lpb), nullptr, 0, &m_pMsgStore)) &&
          m_pMsgStore) {
        if (FAILED(m_pMsgStore->Advise(0, nullptr, kEvents, &m_sink, &m_connection))) m_connection = 0;
      } else {
        m_pMsgStore = nullptr;
      }
    }
    FreeProws(rows);
    if (named) break;
  }
  table->Release();
}

mivoSMSStore::~mivoSMSStore() {
  // Nothing is heard after Unadvise; what was handed over finds the store gone.
  if (m_pMsgStore && m_connection) m_pMsgStore->Unadvise(m_connection);
  *m_alive = false;
  m_folders.clear();
  if (m_pMsgStore) m_pMsgStore->Release();
  if (m_pSession) {
    m_pSession->Logoff(0, 0, 0);
    m_pSession->Release();
  }
  MAPIUninitialize();
}

mivoSMSFolder* mivoSMSStore::OpenedFolder(ULONG tag) const {
  for (const auto& f : m_folders)
    if (f.tag == tag) return f.folder.get();
  return nullptr;
}

mivoSMSFolder* mivoSMSStore::GetFolder(ULONG tag) {
  if (mivoSMSFolder* cached = OpenedFolder(tag)) return cached;
  if (!m_pMsgStore) return nullptr;
  SizedSPropTagArrayT<1> tags{1, {tag}};
  ULONG count = 0;
  LPSPropValue props = nullptr;
  std::string id;
  if (SUCCEEDED(m_pMsgStore->GetProps(tags.get(), 0, &count, &props)) && count == 1 && props[0].ulPropTag == tag)
    id.assign(reinterpret_cast<const char*>(props[0].Value.bin.lpb), props[0].Value.bin.cb);
  MAPIFreeBuffer(props);
  if (id.empty()) return nullptr;
  ULONG type = 0;
  LPUNKNOWN object = nullptr;
  if (FAILED(m_pMsgStore->OpenEntry(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(id.data()), nullptr, 0,
                                    &type, &object)) ||
      !object)
    return nullptr;
  if (type != MAPI_FOLDER) {
    object->Release();
    return nullptr;
  }
  m_folders.push_back({tag, std::make_unique<mivoSMSFolder>(this, static_cast<LPMAPIFOLDER>(object), tag)});
  mivoSMSFolder* folder = m_folders.back().folder.get();
  folder->LoadMessages();
  return folder;
}

std::unique_ptr<mivoSMSMessage> mivoSMSStore::CreateMessage() {
  mivoSMSFolder* outbox = GetFolder(PR_IPM_OUTBOX_ENTRYID);
  LPMESSAGE message = nullptr;
  if (!outbox || !outbox->Folder() || FAILED(outbox->Folder()->CreateMessage(nullptr, 0, &message)) || !message)
    return nullptr;
  SPropValue flags{PR_MESSAGE_FLAGS, 0, {}};
  flags.Value.ul = MSGFLAG_UNSENT | MSGFLAG_FROMME;
  message->SetProps(1, &flags, nullptr);
  // A sent message goes to the Sent folder.
  SizedSPropTagArrayT<1> tags{1, {PR_IPM_SENTMAIL_ENTRYID}};
  ULONG count = 0;
  LPSPropValue sent = nullptr;
  if (SUCCEEDED(m_pMsgStore->GetProps(tags.get(), 0, &count, &sent)) && count == 1 &&
      sent[0].ulPropTag == PR_IPM_SENTMAIL_ENTRYID) {
    SPropValue props[4] = {};
    props[0].ulPropTag = PR_SENTMAIL_ENTRYID;
    props[0].Value.bin = sent[0].Value.bin;
    props[1].ulPropTag = PR_MESSAGE_CLASS;
    props[1].Value.lpszW = const_cast<char16_t*>(u"IPM.SMStext");
    props[2].ulPropTag = PR_ORIGINATOR_DELIVERY_REPORT_REQUESTED;
    props[2].Value.b = 1;
    props[3].ulPropTag = 0x0C12000B;  // a boolean the SMS transport wants set
    props[3].Value.b = 1;
    message->SetProps(4, props, nullptr);
  }
  MAPIFreeBuffer(sent);
  SPropValue status{PR_MSG_STATUS, 0, {}};
  status.Value.ul = MSGSTATUS_RECTYPE_SMS;
  message->SetProps(1, &status, nullptr);
  // Made here and not kept by the Outbox: the notification adds the saved one.
  return std::make_unique<mivoSMSMessage>(this, nullptr, message);
}

bool mivoSMSStore::SendSMS(std::u16string_view number, std::u16string_view text) {
  std::unique_ptr<mivoSMSMessage> message = CreateMessage();
  if (!message) return false;
  message->SetRecipient(number);
  message->SetBody(text);
  return message->Submit();
}

// ---- Notifications ------------------------------------------------------------------------

void mivoSMSStore::Queue(Pending pending) {
  {
    std::lock_guard<std::mutex> lock(m_pendingMutex);
    m_pending.push_back(std::move(pending));
  }
  // The store changes only on the UI thread.
  std::weak_ptr<bool> alive = m_alive;
  mivoSMSStore* self = this;
  RunOnUiThread([alive, self] {
    auto a = alive.lock();
    if (a && *a) self->DeliverPendingNotifications();
  });
}

void mivoSMSStore::DeliverPendingNotifications() {
  std::vector<Pending> pending;
  {
    std::lock_guard<std::mutex> lock(m_pendingMutex);
    pending.swap(m_pending);
  }
  std::shared_ptr<bool> alive = m_alive;
  for (const Pending& p : pending) {
    if (!*alive) return;  // a listener ended the store
    Handle(p);
  }
}

bool mivoSMSStore::SameEntry(const std::string& a, const std::string& b) const {
  if (!m_pSession) return false;
  ULONG same = FALSE;
  return SUCCEEDED(m_pSession->CompareEntryIDs(
             static_cast<ULONG>(a.size()), reinterpret_cast<LPENTRYID>(const_cast<char*>(a.data())),
             static_cast<ULONG>(b.size()), reinterpret_cast<LPENTRYID>(const_cast<char*>(b.data())), 0, &same)) &&
         same;
}

mivoSMSFolder* mivoSMSStore::FolderById(const std::string& entryId) const {
  if (entryId.empty()) return nullptr;
  for (const auto& f : m_folders)
    if (SameEntry(f.folder->EntryId(), entryId)) return f.folder.get();
  return nullptr;
}

void mivoSMSStore::Handle(const Pending& n) {
  bool message = n.objectType == MAPI_MESSAGE;
  switch (n.event) {
    case fnevNewMail:
      if (mivoSMSFolder* folder = FolderById(n.parent)) folder->AddMessageById(n.entry);
      break;
    case fnevObjectCreated: {
      if (!message) break;
      mivoSMSFolder* folder = FolderById(n.parent);
      // The platform announces some arrivals without a known folder: a
      // 20-byte parent that starts with five zero bytes means the Inbox.
      if (!folder && n.parent.size() == 20 &&
          std::all_of(n.parent.begin(), n.parent.begin() + 5, [](char c) { return c == 0; }))
        folder = OpenedFolder(PR_CE_IPM_INBOX_ENTRYID);
      if (folder) folder->AddMessageById(n.entry);
      break;
    }
    case fnevObjectDeleted:
      if (!message) break;
      if (mivoSMSFolder* folder = FolderById(n.parent))
        if (mivoSMSMessage* m = folder->FindMessage(n.entry)) folder->RemoveMessage(m);
      break;
    case fnevObjectModified:
      if (!message) break;
      if (mivoSMSFolder* folder = FolderById(n.parent))
        if (mivoSMSMessage* m = folder->FindMessage(n.entry)) m->DropCache();
      break;
    case fnevObjectMoved:
      if (!message) break;
      if (mivoSMSFolder* from = FolderById(n.oldParent))
        if (mivoSMSMessage* m = from->FindMessage(n.oldEntry.empty() ? n.entry : n.oldEntry)) from->RemoveMessage(m);
      if (mivoSMSFolder* to = FolderById(n.parent)) to->AddMessageById(n.entry);
      break;
    case fnevObjectCopied:
      if (!message) break;
      if (mivoSMSFolder* folder = FolderById(n.parent)) folder->AddMessageById(n.entry);
      break;
    default: break;
  }
}
