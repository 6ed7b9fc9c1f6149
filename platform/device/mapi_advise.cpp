// Advise sinks: the change log's message rows become notifications, on the
// change watcher's thread, for every sink whose store and entry they concern.
#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "platform/device/mapi_objects.h"
#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/win32/text.h"

namespace mapi_impl {

namespace {

struct Advice {
  ULONG connection = 0;
  std::int64_t store = 0;
  msgdb::EntryKind kind = msgdb::EntryKind::kStore;  // what the sink watches: the store, a folder or a message
  std::int64_t id = 0;                               // that folder's or message's id
  ULONG mask = 0;
  LPMAPIADVISESINK sink = nullptr;  // holds a reference
};

class Notifier {
 public:
  static Notifier& Instance() {
    static Notifier* n = new Notifier;  // lives to the end of the process
    return *n;
  }

  HRESULT Add(Advice advice, ULONG* connection) {
    std::unordered_map<std::int64_t, std::int64_t> folders;
    if (!LoadFolders(&folders)) return MAPI_E_CALL_FAILED;
    advice.sink->AddRef();
    bool subscribe = false;
    {
      std::lock_guard<std::recursive_mutex> lock(m_mutex);
      advice.connection = ++m_next;
      *connection = advice.connection;
      m_folders = std::move(folders);
      m_advices.push_back(advice);
      subscribe = m_subscription == 0;
      if (subscribe) m_subscription = -1;  // being made
    }
    if (subscribe) {
      int id = devdb::SubscribeChanges("msg", [this](const devdb::Change& c) { Dispatch(c); });
      {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        m_subscription = id;
      }
      // From now on every change reaches Dispatch before anyone is told.
      std::lock_guard<std::mutex> lock(m_stampMutex);
      m_tracking = devdb::ChangeWatcherActive();
    }
    return S_OK;
  }

  Stamp MessageStamp(std::int64_t id) {
    std::lock_guard<std::mutex> lock(m_stampMutex);
    if (!m_tracking) return Stamp{false, FreshnessStamp()};
    auto it = m_changed.find(id);
    return Stamp{true, it == m_changed.end() ? 0 : it->second};
  }

  Stamp MessagesStamp() {
    std::lock_guard<std::mutex> lock(m_stampMutex);
    return m_tracking ? Stamp{true, m_total} : Stamp{false, FreshnessStamp()};
  }

  HRESULT Remove(ULONG connection) {
    LPMAPIADVISESINK sink = nullptr;
    int unsubscribe = 0;
    {
      // Dispatch holds the mutex while sinks are called: once taken, the
      // sink is not being called (unless this is that call).
      std::lock_guard<std::recursive_mutex> lock(m_mutex);
      auto it =
          std::find_if(m_advices.begin(), m_advices.end(), [&](const Advice& a) { return a.connection == connection; });
      if (it == m_advices.end()) return MAPI_E_NOT_FOUND;
      sink = it->sink;
      m_advices.erase(it);
      if (m_advices.empty() && m_subscription > 0) {
        unsubscribe = m_subscription;
        m_subscription = 0;
      }
    }
    sink->Release();
    if (unsubscribe) {
      devdb::UnsubscribeChanges(unsubscribe);
      std::lock_guard<std::mutex> lock(m_stampMutex);
      m_tracking = false;
      m_changed.clear();
    }
    return S_OK;
  }

 private:
  // Folder -> store, read where Advise is called (the watcher's thread must
  // not wait for the process's connection).
  static bool LoadFolders(std::unordered_map<std::int64_t, std::int64_t>* out) {
    sqlite3* db = Db();
    if (!db) return false;
    std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
    devdb::Statement st(db, "SELECT id, store FROM msg_folders");
    while (st.Step() == SQLITE_ROW) (*out)[st.Int(0)] = st.Int(1);
    return true;
  }

  static std::int64_t Number(const std::string& s) { return std::strtoll(s.c_str(), nullptr, 10); }

  void Dispatch(const devdb::Change& change) {
    std::int64_t message = Number(change.ref);
    std::int64_t folder = Number(change.name);
    std::int64_t oldFolder = change.op == "move" ? change.type : folder;
    std::string messageId = msgdb::MakeEntryId(msgdb::EntryKind::kMessage, message);
    std::string folderId = msgdb::MakeEntryId(msgdb::EntryKind::kFolder, folder);
    std::string oldFolderId = msgdb::MakeEntryId(msgdb::EntryKind::kFolder, oldFolder);
    std::u16string messageClass = text::FromUtf8(change.data);
    auto entry = [](std::string& bytes) { return reinterpret_cast<LPENTRYID>(bytes.data()); };

    NOTIFICATION n[2] = {};
    ULONG count = 1;
    OBJECT_NOTIFICATION& obj = n[0].info.obj;
    obj.cbEntryID = msgdb::kEntryIdSize;
    obj.lpEntryID = entry(messageId);
    obj.ulObjType = MAPI_MESSAGE;
    obj.cbParentID = msgdb::kEntryIdSize;
    obj.lpParentID = entry(folderId);
    if (change.op == "insert" || change.op == "newmail") {
      n[0].ulEventType = fnevObjectCreated;
    } else if (change.op == "copy") {
      n[0].ulEventType = fnevObjectCopied;
    } else if (change.op == "update") {
      n[0].ulEventType = fnevObjectModified;
    } else if (change.op == "delete") {
      n[0].ulEventType = fnevObjectDeleted;
    } else if (change.op == "move") {
      n[0].ulEventType = fnevObjectMoved;
      obj.cbOldID = msgdb::kEntryIdSize;
      obj.lpOldID = entry(messageId);
      obj.cbOldParentID = msgdb::kEntryIdSize;
      obj.lpOldParentID = entry(oldFolderId);
    } else {
      return;
    }
    if (change.op == "newmail") {
      // A delivered message is made and announced in one call.
      count = 2;
      n[1].ulEventType = fnevNewMail;
      NEWMAIL_NOTIFICATION& mail = n[1].info.newmail;
      mail.cbEntryID = msgdb::kEntryIdSize;
      mail.lpEntryID = entry(messageId);
      mail.cbParentID = msgdb::kEntryIdSize;
      mail.lpParentID = entry(folderId);
      mail.ulFlags = MAPI_UNICODE;
      mail.lpszMessageClass = messageClass.data();
      mail.ulMessageFlags = 0;
    }

    {
      // Readers of the message see the change before any sink hears of it.
      std::lock_guard<std::mutex> stamps(m_stampMutex);
      m_changed[message] = ++m_total;
    }
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    auto storeOf = [&](std::int64_t f) {
      auto it = m_folders.find(f);
      return it == m_folders.end() ? 0 : it->second;
    };
    std::int64_t store = storeOf(folder);
    std::int64_t oldStore = storeOf(oldFolder);
    // A copy: a sink may Unadvise (or Advise) from inside its call.
    std::vector<Advice> advices = m_advices;
    for (const Advice& a : advices) {
      if (a.store != store && a.store != oldStore) continue;
      if (a.kind == msgdb::EntryKind::kFolder && a.id != folder && a.id != oldFolder) continue;
      if (a.kind == msgdb::EntryKind::kMessage && a.id != message) continue;
      NOTIFICATION wanted[2];
      ULONG k = 0;
      for (ULONG i = 0; i < count; ++i)
        if (a.mask & n[i].ulEventType) wanted[k++] = n[i];
      if (k == 0) continue;
      bool still = std::any_of(m_advices.begin(), m_advices.end(),
                               [&](const Advice& x) { return x.connection == a.connection; });
      if (still) a.sink->OnNotify(k, wanted);
    }
  }

  std::recursive_mutex m_mutex;                              // guards the fields; held while sinks are called
  std::vector<Advice> m_advices;                             // in the order they were made
  std::unordered_map<std::int64_t, std::int64_t> m_folders;  // folder id -> store id
  ULONG m_next = 0;                                          // the last connection number given
  int m_subscription = 0;                                    // the change log subscription; 0 none
  std::mutex m_stampMutex;                                   // guards the three below
  bool m_tracking = false;                                   // the change log is followed
  std::unordered_map<std::int64_t, std::int64_t> m_changed;  // message id -> m_total at its last change
  std::int64_t m_total = 0;                                  // changes of messages seen
};

}  // namespace

HRESULT Advise(std::int64_t store, ULONG cbEntryID, LPENTRYID entry, ULONG mask, LPMAPIADVISESINK sink,
               ULONG* connection) {
  if (!sink || !connection) return MAPI_E_INVALID_PARAMETER;
  Advice a;
  a.store = store;
  a.mask = mask;
  a.sink = sink;
  if (entry && cbEntryID) {
    if (!msgdb::ParseEntryId(entry, cbEntryID, &a.kind, &a.id)) return MAPI_E_INVALID_ENTRYID;
    if (a.kind == msgdb::EntryKind::kStore) {
      if (a.id != store) return MAPI_E_NOT_FOUND;
      a.id = 0;
    }
  }
  return Notifier::Instance().Add(a, connection);
}

HRESULT Unadvise(ULONG connection) { return Notifier::Instance().Remove(connection); }

Stamp MessageStamp(std::int64_t id) { return Notifier::Instance().MessageStamp(id); }

Stamp MessagesStamp() { return Notifier::Instance().MessagesStamp(); }

}  // namespace mapi_impl
