// Messages: properties read from their row (kept fresh), changes written at
// SaveChanges, recipients, and submission through the simulated transport.
#include <algorithm>
#include <mutex>

#include "platform/device/mapi_objects.h"
#include "platform/device/pim_db.h"
#include "platform/device/sms_network.h"
#include "platform/registry/database.h"

namespace mapi_impl {

namespace {

bool IsComputed(ULONG tag) {
  switch (PROP_ID(tag)) {
    case PROP_ID(PR_ENTRYID):
    case PROP_ID(PR_PARENT_ENTRYID):
    case PROP_ID(PR_OBJECT_TYPE):
    case PROP_ID(PR_MESSAGE_SIZE): return true;
    default: return false;
  }
}

const msgdb::PropData* FindById(const std::vector<msgdb::PropData>& values, ULONG tag) {
  for (const auto& v : values)
    if (PROP_ID(v.tag) == PROP_ID(tag)) return &v;
  return nullptr;
}

void Upsert(std::vector<msgdb::PropData>* values, msgdb::PropData value) {
  for (auto& v : *values) {
    if (PROP_ID(v.tag) == PROP_ID(value.tag)) {
      v = std::move(value);
      return;
    }
  }
  values->push_back(std::move(value));
}

bool HasDigit(std::u16string_view s) {
  return std::any_of(s.begin(), s.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

class CMessage : public ComBase<IMessage> {
 public:
  CMessage(std::shared_ptr<msgdb::MessageRow> row, bool writable)
      : m_row(std::move(row)), m_stamp(MessageStamp(m_row->id)), m_writable(writable) {}

  HRESULT GetProps(LPSPropTagArray tags, ULONG, ULONG* count, LPSPropValue* props) override {
    Refresh();
    std::vector<msgdb::PropData> values;
    if (!tags) {
      static const ULONG kColumns[] = {
          PR_ENTRYID,    PR_PARENT_ENTRYID, PR_OBJECT_TYPE,           PR_MESSAGE_CLASS,
          PR_SUBJECT,    PR_SENDER_NAME,    PR_SENDER_EMAIL_ADDRESS,  PR_MESSAGE_FLAGS,
          PR_MSG_STATUS, PR_MESSAGE_SIZE,   PR_MESSAGE_DELIVERY_TIME, PR_LAST_MODIFICATION_TIME};
      std::vector<ULONG> all(std::begin(kColumns), std::end(kColumns));
      for (const auto& p : Extras()) all.push_back(p.tag);
      for (const auto& p : m_pending)
        if (std::none_of(all.begin(), all.end(), [&](ULONG t) { return PROP_ID(t) == PROP_ID(p.tag); }))
          all.push_back(p.tag);
      for (ULONG tag : all) {
        msgdb::PropData stored;
        if (Prop(tag, &stored)) values.push_back(std::move(stored));
      }
      return MakePropArray(values, count, props);
    }
    values.reserve(tags->cValues);
    for (ULONG i = 0; i < tags->cValues; ++i) {
      ULONG tag = tags->aulPropTag[i];
      msgdb::PropData stored;
      values.push_back(Answer(tag, Prop(tag, &stored) ? &stored : nullptr));
    }
    return MakePropArray(values, count, props);
  }

  HRESULT SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* problems) override {
    if (problems) *problems = nullptr;
    if (cValues && !lpPropArray) return MAPI_E_INVALID_PARAMETER;
    if (!m_writable) return MAPI_E_NO_ACCESS;
    std::vector<SPropProblem> found;
    for (ULONG i = 0; i < cValues; ++i) {
      msgdb::PropData value;
      if (IsComputed(lpPropArray[i].ulPropTag) || !msgdb::FromPropValue(lpPropArray[i], &value)) {
        found.push_back({i, lpPropArray[i].ulPropTag, MAPI_E_NO_ACCESS});
        continue;
      }
      Upsert(&m_pending, std::move(value));
    }
    if (problems && !found.empty()) {
      LPVOID block = nullptr;
      std::size_t bytes = offsetof(SPropProblemArray, aProblem) + found.size() * sizeof(SPropProblem);
      if (MAPIAllocateBuffer(static_cast<ULONG>(bytes), &block) == S_OK) {
        auto* out = static_cast<LPSPropProblemArray>(block);
        out->cProblem = static_cast<ULONG>(found.size());
        for (std::size_t i = 0; i < found.size(); ++i) out->aProblem[i] = found[i];
        *problems = out;
      }
    }
    return S_OK;
  }

  HRESULT SaveChanges(ULONG ulFlags) override {
    if (!m_writable) return MAPI_E_NO_ACCESS;
    if (m_row->id != 0 && m_pending.empty() && !m_recipientsDirty) {
      m_writable = (ulFlags & KEEP_OPEN_READWRITE) != 0;
      return S_OK;
    }
    sqlite3* db = Db();
    if (!db) return MAPI_E_CALL_FAILED;
    auto row = std::make_shared<msgdb::MessageRow>(*m_row);
    std::vector<msgdb::PropData> extras;
    for (const auto& p : m_pending)
      if (!msgdb::SetColumnProp(row.get(), p)) extras.push_back(p);
    if (!FindById(m_pending, PR_LAST_MODIFICATION_TIME)) row->modifiedTime = msgdb::NowTicks();
    devdb::Database* database = devdb::DeviceDatabase();
    std::lock_guard<std::recursive_mutex> lock(database->mutex());
    bool ok = database->Transaction([&] {
      if (row->id == 0 ? !msgdb::InsertMessage(db, row.get()) : !msgdb::UpdateMessage(db, *row)) return false;
      for (const auto& p : extras)
        if (!msgdb::SetExtraProp(db, row->id, p)) return false;
      if (m_recipientsDirty && !msgdb::ReplaceRecipients(db, row->id, *m_recipients)) return false;
      return msgdb::UpdateUnreadCount(db);
    });
    ForgetRows();
    if (!ok) {
      if (m_row->id == 0 && row->id != 0) row->id = 0;  // the insert was rolled back
      return m_row->id != 0 && !msgdb::LoadMessage(db, m_row->id, row.get()) ? MAPI_E_OBJECT_DELETED
                                                                             : MAPI_E_DISK_ERROR;
    }
    if (m_extras)
      for (auto& p : extras) Upsert(&*m_extras, p);
    m_row = row;
    m_pending.clear();
    m_recipientsDirty = false;
    m_stamp = MessageStamp(m_row->id);
    m_writable = (ulFlags & KEEP_OPEN_READWRITE) != 0;
    return S_OK;
  }

  HRESULT ModifyRecipients(ULONG ulFlags, LPADRLIST lpMods) override {
    if (!lpMods) return MAPI_E_INVALID_PARAMETER;
    if (!m_writable) return MAPI_E_NO_ACCESS;
    Recipients();
    std::vector<msgdb::Recipient> given;
    for (ULONG i = 0; i < lpMods->cEntries; ++i) {
      const ADRENTRY& e = lpMods->aEntries[i];
      if (e.cValues && !e.rgPropVals) return MAPI_E_INVALID_PARAMETER;
      msgdb::Recipient r;
      for (ULONG v = 0; v < e.cValues; ++v) {
        msgdb::PropData p;
        if (!msgdb::FromPropValue(e.rgPropVals[v], &p)) continue;
        switch (PROP_ID(p.tag)) {
          case PROP_ID(PR_RECIPIENT_TYPE): r.type = static_cast<ULONG>(p.i); break;
          case PROP_ID(PR_ADDRTYPE): r.addrType = p.s; break;
          case PROP_ID(PR_EMAIL_ADDRESS): r.address = p.s; break;
          case PROP_ID(PR_DISPLAY_NAME): r.name = p.s; break;
          default: break;
        }
      }
      given.push_back(std::move(r));
    }
    if (ulFlags & MODRECIP_ADD) {
      m_recipients->insert(m_recipients->end(), given.begin(), given.end());
    } else if (ulFlags & MODRECIP_REMOVE) {
      std::erase_if(*m_recipients, [&](const msgdb::Recipient& r) {
        return std::any_of(given.begin(), given.end(),
                           [&](const msgdb::Recipient& g) { return g.address == r.address; });
      });
    } else {
      *m_recipients = std::move(given);
    }
    m_recipientsDirty = true;
    return S_OK;
  }

  HRESULT SubmitMessage(ULONG) override {
    // Unsaved changes go with the message, as the platform saves before sending.
    if ((m_row->id == 0 || !m_pending.empty() || m_recipientsDirty)) {
      if (!m_writable) return MAPI_E_NO_ACCESS;
      HRESULT hr = SaveChanges(KEEP_OPEN_READONLY);
      if (FAILED(hr)) return hr;
    }
    HRESULT hr = Transmit(m_row->id);
    Reload();
    return hr;
  }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IMessage; }

 private:
  // Another process (or another object of this one) may have changed the
  // message since it was read: read it again then.
  void Refresh() {
    if (m_row->id == 0) return;
    Stamp stamp = MessageStamp(m_row->id);
    if (stamp == m_stamp) return;
    m_stamp = stamp;
    Reload();
  }

  void Reload() {
    sqlite3* db = Db();
    if (!db || m_row->id == 0) return;
    auto row = std::make_shared<msgdb::MessageRow>();
    std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
    // A message deleted meanwhile keeps what was last read.
    if (!msgdb::LoadMessage(db, m_row->id, row.get())) return;
    m_row = row;
    m_extras.reset();
    if (!m_recipientsDirty) m_recipients.reset();
  }

  const std::vector<msgdb::PropData>& Extras() {
    if (!m_extras) {
      m_extras.emplace();
      sqlite3* db = Db();
      if (db && m_row->id != 0) {
        std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
        msgdb::LoadExtraProps(db, m_row->id, &*m_extras);
      }
    }
    return *m_extras;
  }

  void Recipients() {
    if (m_recipients) return;
    m_recipients.emplace();
    sqlite3* db = Db();
    if (db && m_row->id != 0) {
      std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
      msgdb::LoadRecipients(db, m_row->id, &*m_recipients);
    }
  }

  bool Prop(ULONG tag, msgdb::PropData* out) {
    if (const msgdb::PropData* p = FindById(m_pending, tag)) {
      *out = *p;
      return true;
    }
    bool known = false;
    if (msgdb::ColumnProp(*m_row, tag, out, &known)) return true;
    if (known) return false;
    if (const msgdb::PropData* p = FindById(Extras(), tag)) {
      *out = *p;
      return true;
    }
    return false;
  }

  std::shared_ptr<msgdb::MessageRow> m_row;                   // as last read or written (id 0: not written yet)
  Stamp m_stamp;                                              // MessageStamp() when m_row was read
  bool m_writable = false;                                    // SetProps and SaveChanges allowed
  std::vector<msgdb::PropData> m_pending;                     // set, not yet saved
  std::optional<std::vector<msgdb::PropData>> m_extras;       // the other properties, read on first use
  std::optional<std::vector<msgdb::Recipient>> m_recipients;  // read on first use
  bool m_recipientsDirty = false;                             // m_recipients changed since saved
};

}  // namespace

HRESULT OpenMessage(std::int64_t id, bool writable, LPMESSAGE* message) {
  sqlite3* db = Db();
  if (!db) return MAPI_E_CALL_FAILED;
  // Shared with the snapshot: a message never changes its row in place,
  // it takes a new one when it writes or reads again.
  std::shared_ptr<msgdb::MessageRow> row = RememberedRow(id);
  if (!row) {
    row = std::make_shared<msgdb::MessageRow>();
    std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
    if (!msgdb::LoadMessage(db, id, row.get())) return MAPI_E_NOT_FOUND;
  }
  *message = new CMessage(std::move(row), writable);
  return S_OK;
}

HRESULT NewMessage(std::int64_t folder, LPMESSAGE* message) {
  auto row = std::make_shared<msgdb::MessageRow>();
  row->folder = folder;
  *message = new CMessage(std::move(row), true);
  return S_OK;
}

HRESULT Transmit(std::int64_t id) {
  sqlite3* db = Db();
  if (!db) return MAPI_E_CALL_FAILED;
  devdb::Database* database = devdb::DeviceDatabase();
  std::lock_guard<std::recursive_mutex> lock(database->mutex());
  HRESULT result = S_OK;
  bool ok = database->Transaction([&] {
    msgdb::MessageRow row;
    std::vector<msgdb::Recipient> recipients;
    std::vector<msgdb::PropData> extras;
    if (!msgdb::LoadMessage(db, id, &row) || !msgdb::LoadRecipients(db, id, &recipients) ||
        !msgdb::LoadExtraProps(db, id, &extras)) {
      result = MAPI_E_NOT_FOUND;
      return false;
    }
    std::erase_if(recipients, [](const msgdb::Recipient& r) { return !HasDigit(r.address); });
    if (recipients.empty()) {
      result = MAPI_E_NO_RECIPIENTS;
      return false;
    }
    if (device::TakeFailNextSMS(db)) {
      // The network refused it: the message stays where it is, unsent.
      result = MAPI_E_NETWORK_ERROR;
      return true;
    }
    std::int64_t now = msgdb::NowTicks();
    row.flags = (row.flags & ~(MSGFLAG_UNSENT | MSGFLAG_SUBMIT)) | MSGFLAG_READ | MSGFLAG_FROMME;
    row.deliveryTime = now;
    row.modifiedTime = now;
    // A sent message names whom it went to where a received one names its
    // sender, so a list of sent messages shows the other party.
    std::u16string to;
    for (const auto& r : recipients) {
      std::u16string name = !r.name.empty() ? r.name : device::ContactNameForNumber(r.address);
      to += (to.empty() ? u"" : u"; ") + (name.empty() ? r.address : name);
    }
    const msgdb::Recipient& first = recipients.front();
    std::u16string firstName = !first.name.empty() ? first.name : device::ContactNameForNumber(first.address);
    row.senderName = firstName.empty() ? first.address : firstName;
    row.senderAddress = first.address;
    if (!msgdb::UpdateMessage(db, row) || !msgdb::SetExtraProp(db, id, msgdb::LongProp(PR_CLIENT_SUBMIT_TIME, now)) ||
        !msgdb::SetExtraProp(db, id, msgdb::TextProp(PR_DISPLAY_TO, to)))
      return false;
    const msgdb::PropData* drop = FindById(extras, PR_DELETE_AFTER_SUBMIT);
    const msgdb::PropData* sent = FindById(extras, PR_SENTMAIL_ENTRYID);
    msgdb::EntryKind kind;
    std::int64_t folder = 0;
    if (drop && drop->i) {
      if (!msgdb::DeleteMessage(db, id)) return false;
    } else if (sent && msgdb::ParseEntryId(sent->bin.data(), static_cast<ULONG>(sent->bin.size()), &kind, &folder) &&
               kind == msgdb::EntryKind::kFolder && folder != row.folder) {
      msgdb::FolderInfo target;
      if (msgdb::LoadFolder(db, folder, &target) && !msgdb::MoveMessage(db, id, folder)) return false;
    }
    return msgdb::UpdateUnreadCount(db);
  });
  ForgetRows();
  if (!ok && result == S_OK) result = MAPI_E_DISK_ERROR;
  return result;
}

}  // namespace mapi_impl
