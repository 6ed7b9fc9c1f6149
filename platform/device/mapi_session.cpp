// The session, its stores table and the message stores.
#include <cstring>
#include <mutex>

#include "platform/device/mapi_objects.h"
#include "platform/registry/database.h"

const IID IID_IMAPISession = {0x00020300, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IMsgStore = {0x00020306, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IMAPIFolder = {0x0002030C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IMessage = {0x00020307, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IMAPITable = {0x00020301, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IMAPIAdviseSink = {0x00020302, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace mapi_impl {

namespace {

std::mutex g_initMutex;
int g_initCount = 0;  // MAPIInitialize calls not yet undone

struct StoreInfo {
  std::int64_t id = 0;
  std::u16string name;
};

bool LoadStore(std::int64_t id, StoreInfo* out) {
  sqlite3* db = Db();
  if (!db) return false;
  std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
  devdb::Statement st(db, "SELECT id, name FROM msg_stores WHERE id = ?1");
  st.Bind(1, id);
  if (st.Step() != SQLITE_ROW) return false;
  out->id = st.Int(0);
  out->name = st.Text16(1);
  return true;
}

class StoreRow : public TableRow {
 public:
  explicit StoreRow(StoreInfo info) : m_info(std::move(info)) {}
  bool Prop(ULONG tag, msgdb::PropData* out) const override {
    switch (PROP_ID(tag)) {
      case PROP_ID(PR_DISPLAY_NAME): *out = msgdb::TextProp(PR_DISPLAY_NAME, m_info.name); return true;
      case PROP_ID(PR_ENTRYID):
        *out = msgdb::BinaryProp(PR_ENTRYID, msgdb::MakeEntryId(msgdb::EntryKind::kStore, m_info.id));
        return true;
      case PROP_ID(PR_OBJECT_TYPE): *out = msgdb::LongProp(PR_OBJECT_TYPE, MAPI_STORE); return true;
      default: return false;
    }
  }

 private:
  StoreInfo m_info;  // the store's row
};

class CMsgStore : public ComBase<IMsgStore> {
 public:
  explicit CMsgStore(StoreInfo info) : m_info(std::move(info)) {}

  HRESULT SaveChanges(ULONG) override { return S_OK; }
  HRESULT GetProps(LPSPropTagArray tags, ULONG, ULONG* count, LPSPropValue* props) override {
    static const ULONG kAll[] = {PR_DISPLAY_NAME,          PR_ENTRYID,
                                 PR_OBJECT_TYPE,           PR_CE_IPM_INBOX_ENTRYID,
                                 PR_CE_IPM_DRAFTS_ENTRYID, PR_IPM_OUTBOX_ENTRYID,
                                 PR_IPM_SENTMAIL_ENTRYID,  PR_IPM_WASTEBASKET_ENTRYID};
    std::vector<ULONG> wanted = tags ? std::vector<ULONG>(tags->aulPropTag, tags->aulPropTag + tags->cValues)
                                     : std::vector<ULONG>(std::begin(kAll), std::end(kAll));
    std::vector<msgdb::PropData> values;
    for (ULONG tag : wanted) {
      msgdb::PropData stored;
      values.push_back(Answer(tag, Prop(tag, &stored) ? &stored : nullptr));
    }
    return MakePropArray(values, count, props);
  }
  HRESULT SetProps(ULONG, LPSPropValue, LPSPropProblemArray* problems) override {
    if (problems) *problems = nullptr;
    return MAPI_E_NO_ACCESS;
  }
  HRESULT Advise(ULONG cb, LPENTRYID entry, ULONG mask, LPMAPIADVISESINK sink, ULONG* connection) override {
    return mapi_impl::Advise(m_info.id, cb, entry, mask, sink, connection);
  }
  HRESULT Unadvise(ULONG connection) override { return mapi_impl::Unadvise(connection); }
  HRESULT OpenEntry(ULONG cb, LPENTRYID entry, LPCIID, ULONG flags, ULONG* type, LPUNKNOWN* object) override {
    return OpenAnyEntry(cb, entry, m_info.id, flags, type, object);
  }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IMsgStore; }

 private:
  bool Prop(ULONG tag, msgdb::PropData* out) {
    if (const char16_t* role = msgdb::RoleOfFolderTag(CHANGE_PROP_TYPE(tag, PT_BINARY))) {
      sqlite3* db = Db();
      if (!db) return false;
      std::int64_t folder;
      {
        std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
        folder = msgdb::FolderOfRole(db, m_info.id, role);
      }
      if (!folder) return false;
      *out = msgdb::BinaryProp(CHANGE_PROP_TYPE(tag, PT_BINARY), msgdb::MakeEntryId(msgdb::EntryKind::kFolder, folder));
      return true;
    }
    return StoreRow(m_info).Prop(tag, out);
  }

  StoreInfo m_info;  // the store's row
};

class CSession : public ComBase<IMAPISession> {
 public:
  HRESULT GetMsgStoresTable(ULONG, LPMAPITABLE* table) override {
    if (!table) return MAPI_E_INVALID_PARAMETER;
    *table = new CTable({PR_DISPLAY_NAME, PR_ENTRYID, PR_OBJECT_TYPE}, [] {
      std::vector<std::shared_ptr<const TableRow>> rows;
      sqlite3* db = Db();
      if (!db) return rows;
      std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
      devdb::Statement st(db, "SELECT id, name FROM msg_stores ORDER BY id");
      while (st.Step() == SQLITE_ROW) rows.push_back(std::make_shared<StoreRow>(StoreInfo{st.Int(0), st.Text16(1)}));
      return rows;
    });
    return S_OK;
  }
  HRESULT OpenMsgStore(ULONG_PTR, ULONG cb, LPENTRYID entry, LPCIID, ULONG, LPMDB* store) override {
    if (!store) return MAPI_E_INVALID_PARAMETER;
    *store = nullptr;
    msgdb::EntryKind kind;
    std::int64_t id;
    if (!msgdb::ParseEntryId(entry, cb, &kind, &id) || kind != msgdb::EntryKind::kStore) return MAPI_E_INVALID_ENTRYID;
    return OpenStore(id, store);
  }
  HRESULT OpenEntry(ULONG cb, LPENTRYID entry, LPCIID, ULONG flags, ULONG* type, LPUNKNOWN* object) override {
    return OpenAnyEntry(cb, entry, 0, flags, type, object);
  }
  HRESULT CompareEntryIDs(ULONG cb1, LPENTRYID id1, ULONG cb2, LPENTRYID id2, ULONG, ULONG* result) override {
    if (!result || (cb1 && !id1) || (cb2 && !id2)) return MAPI_E_INVALID_PARAMETER;
    *result = cb1 == cb2 && (cb1 == 0 || std::memcmp(id1, id2, cb1) == 0) ? TRUE : FALSE;
    return S_OK;
  }
  HRESULT Logoff(ULONG_PTR, ULONG, ULONG) override { return S_OK; }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IMAPISession; }
};

}  // namespace

sqlite3* Db() {
  devdb::Database* db = devdb::DeviceDatabase();
  return db ? db->handle() : nullptr;
}

std::int64_t StoreOfFolder(std::int64_t folder) {
  sqlite3* db = Db();
  if (!db) return 0;
  std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
  msgdb::FolderInfo info;
  return msgdb::LoadFolder(db, folder, &info) ? info.store : 0;
}

HRESULT OpenStore(std::int64_t id, LPMDB* store) {
  StoreInfo info;
  if (!LoadStore(id, &info)) return MAPI_E_NOT_FOUND;
  *store = new CMsgStore(std::move(info));
  return S_OK;
}

HRESULT OpenAnyEntry(ULONG cb, LPENTRYID entry, std::int64_t store, ULONG flags, ULONG* type, LPUNKNOWN* object) {
  if (!object) return MAPI_E_INVALID_PARAMETER;
  *object = nullptr;
  msgdb::EntryKind kind;
  std::int64_t id;
  if (!msgdb::ParseEntryId(entry, cb, &kind, &id)) return MAPI_E_INVALID_ENTRYID;
  HRESULT hr = MAPI_E_NOT_FOUND;
  switch (kind) {
    case msgdb::EntryKind::kStore: {
      if (store && store != id) return MAPI_E_NOT_FOUND;
      LPMDB s = nullptr;
      hr = OpenStore(id, &s);
      *object = s;
      if (type && SUCCEEDED(hr)) *type = MAPI_STORE;
      break;
    }
    case msgdb::EntryKind::kFolder: {
      if (store && StoreOfFolder(id) != store) return MAPI_E_NOT_FOUND;
      LPMAPIFOLDER f = nullptr;
      hr = OpenFolder(id, &f);
      *object = f;
      if (type && SUCCEEDED(hr)) *type = MAPI_FOLDER;
      break;
    }
    case msgdb::EntryKind::kMessage: {
      LPMESSAGE m = nullptr;
      hr = OpenMessage(id, (flags & (MAPI_MODIFY | MAPI_BEST_ACCESS)) != 0, &m);
      if (SUCCEEDED(hr) && store) {
        // A message of another store is not this store's to open.
        ULONG count = 0;
        LPSPropValue props = nullptr;
        SizedSPropTagArrayT<1> tags{1, {PR_PARENT_ENTRYID}};
        msgdb::EntryKind k;
        std::int64_t folder = 0;
        if (SUCCEEDED(m->GetProps(tags.get(), 0, &count, &props)) && count == 1 &&
            props[0].ulPropTag == PR_PARENT_ENTRYID)
          msgdb::ParseEntryId(props[0].Value.bin.lpb, props[0].Value.bin.cb, &k, &folder);
        MAPIFreeBuffer(props);
        if (StoreOfFolder(folder) != store) {
          m->Release();
          return MAPI_E_NOT_FOUND;
        }
      }
      *object = m;
      if (type && SUCCEEDED(hr)) *type = MAPI_MESSAGE;
      break;
    }
  }
  return hr;
}

}  // namespace mapi_impl

HRESULT MAPIInitialize(LPVOID) {
  std::lock_guard<std::mutex> lock(mapi_impl::g_initMutex);
  ++mapi_impl::g_initCount;
  return S_OK;
}

void MAPIUninitialize() {
  std::lock_guard<std::mutex> lock(mapi_impl::g_initMutex);
  if (mapi_impl::g_initCount > 0) --mapi_impl::g_initCount;
  if (mapi_impl::g_initCount == 0) mapi_impl::ForgetRows();
}

HRESULT MAPILogonEx(ULONG_PTR, LPWSTR, LPWSTR, FLAGS, LPMAPISESSION* lppSession) {
  if (!lppSession) return MAPI_E_INVALID_PARAMETER;
  *lppSession = nullptr;
  {
    std::lock_guard<std::mutex> lock(mapi_impl::g_initMutex);
    if (mapi_impl::g_initCount == 0) return MAPI_E_NOT_INITIALIZED;
  }
  if (!mapi_impl::Db()) return MAPI_E_LOGON_FAILED;
  *lppSession = new mapi_impl::CSession;
  return S_OK;
}
