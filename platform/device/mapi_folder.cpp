// Folders: their properties, contents tables, new messages, deleting,
// moving and copying messages.
#include <mutex>

#include "platform/device/mapi_objects.h"
#include "platform/registry/database.h"

namespace mapi_impl {

namespace {

class MessageTableRow : public TableRow {
 public:
  explicit MessageTableRow(std::shared_ptr<msgdb::MessageRow> row) : m_row(std::move(row)) {}
  bool Prop(ULONG tag, msgdb::PropData* out) const override {
    bool known;
    return msgdb::ColumnProp(*m_row, tag, out, &known);
  }

 private:
  std::shared_ptr<msgdb::MessageRow> m_row;  // the message as the table read it
};

// The ids of an entry list that are messages; false when one is not.
bool MessageIds(LPENTRYLIST list, std::vector<std::int64_t>* ids) {
  if (!list || (list->cValues && !list->lpbin)) return false;
  for (ULONG i = 0; i < list->cValues; ++i) {
    msgdb::EntryKind kind;
    std::int64_t id;
    if (!msgdb::ParseEntryId(list->lpbin[i].lpb, list->lpbin[i].cb, &kind, &id) || kind != msgdb::EntryKind::kMessage)
      return false;
    ids->push_back(id);
  }
  return true;
}

class CFolder : public ComBase<IMAPIFolder> {
 public:
  explicit CFolder(msgdb::FolderInfo info) : m_info(std::move(info)) {}

  std::int64_t Id() const { return m_info.id; }

  HRESULT SaveChanges(ULONG) override { return S_OK; }
  HRESULT GetProps(LPSPropTagArray tags, ULONG, ULONG* count, LPSPropValue* props) override {
    static const ULONG kAll[] = {PR_ENTRYID, PR_DISPLAY_NAME, PR_OBJECT_TYPE, PR_CONTENT_COUNT, PR_CONTENT_UNREAD};
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
  HRESULT GetContentsTable(ULONG, LPMAPITABLE* table) override {
    if (!table) return MAPI_E_INVALID_PARAMETER;
    std::int64_t folder = m_info.id;
    *table = new CTable({PR_ENTRYID, PR_MESSAGE_CLASS, PR_SUBJECT, PR_MESSAGE_DELIVERY_TIME}, [folder] {
      std::vector<std::shared_ptr<const TableRow>> rows;
      sqlite3* db = Db();
      if (!db) return rows;
      std::vector<std::shared_ptr<msgdb::MessageRow>> loaded;
      {
        std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
        loaded = msgdb::LoadFolderRows(db, folder);
      }
      // The messages a reader opens next come from these rows.
      RememberRows(loaded);
      rows.reserve(loaded.size());
      for (auto& row : loaded) rows.push_back(std::make_shared<MessageTableRow>(row));
      return rows;
    });
    return S_OK;
  }
  HRESULT CreateMessage(LPCIID, ULONG, LPMESSAGE* message) override {
    if (!message) return MAPI_E_INVALID_PARAMETER;
    return NewMessage(m_info.id, message);
  }
  HRESULT DeleteMessages(LPENTRYLIST list, ULONG_PTR, LPVOID, ULONG) override {
    std::vector<std::int64_t> ids;
    if (!MessageIds(list, &ids)) return MAPI_E_INVALID_PARAMETER;
    return Change(ids, [&](sqlite3* db, std::int64_t id) { return msgdb::DeleteMessage(db, id); });
  }
  HRESULT CopyMessages(LPENTRYLIST list, LPCIID, LPVOID dest, ULONG_PTR, LPVOID, ULONG flags) override {
    std::vector<std::int64_t> ids;
    auto* target = dynamic_cast<CFolder*>(static_cast<IMAPIFolder*>(dest));
    if (!target || !MessageIds(list, &ids)) return MAPI_E_INVALID_PARAMETER;
    std::int64_t to = target->Id();
    if (flags & MESSAGE_MOVE)
      return Change(ids,
                    [&](sqlite3* db, std::int64_t id) { return to == m_info.id || msgdb::MoveMessage(db, id, to); });
    return Change(ids, [&](sqlite3* db, std::int64_t id) {
      msgdb::MessageRow row;
      std::vector<msgdb::PropData> extras;
      std::vector<msgdb::Recipient> recipients;
      if (!msgdb::LoadMessage(db, id, &row) || !msgdb::LoadExtraProps(db, id, &extras) ||
          !msgdb::LoadRecipients(db, id, &recipients))
        return false;
      row.folder = to;
      row.arrival = 2;
      if (!msgdb::InsertMessage(db, &row)) return false;
      for (const auto& p : extras)
        if (!msgdb::SetExtraProp(db, row.id, p)) return false;
      return msgdb::ReplaceRecipients(db, row.id, recipients);
    });
  }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IMAPIFolder; }

 private:
  bool Prop(ULONG tag, msgdb::PropData* out) {
    switch (PROP_ID(tag)) {
      case PROP_ID(PR_ENTRYID):
        *out = msgdb::BinaryProp(PR_ENTRYID, msgdb::MakeEntryId(msgdb::EntryKind::kFolder, m_info.id));
        return true;
      case PROP_ID(PR_DISPLAY_NAME): *out = msgdb::TextProp(PR_DISPLAY_NAME, m_info.name); return true;
      case PROP_ID(PR_OBJECT_TYPE): *out = msgdb::LongProp(PR_OBJECT_TYPE, MAPI_FOLDER); return true;
      case PROP_ID(PR_CONTENT_COUNT):
      case PROP_ID(PR_CONTENT_UNREAD): {
        sqlite3* db = Db();
        if (!db) return false;
        std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
        devdb::Statement st(db, PROP_ID(tag) == PROP_ID(PR_CONTENT_COUNT)
                                    ? "SELECT count(*) FROM messages WHERE folder = ?1"
                                    : "SELECT count(*) FROM messages WHERE folder = ?1 AND (flags & 1) = 0");
        st.Bind(1, m_info.id);
        if (st.Step() != SQLITE_ROW) return false;
        *out = msgdb::LongProp(CHANGE_PROP_TYPE(tag, PT_LONG), st.Int(0));
        return true;
      }
      default: return false;
    }
  }

  // Applies `step` to every message of the list that is in this folder, in
  // one transaction; MAPI_E_NOT_FOUND when one is not.
  HRESULT Change(const std::vector<std::int64_t>& ids, const std::function<bool(sqlite3*, std::int64_t)>& step) {
    sqlite3* db = Db();
    if (!db) return MAPI_E_CALL_FAILED;
    devdb::Database* database = devdb::DeviceDatabase();
    std::lock_guard<std::recursive_mutex> lock(database->mutex());
    HRESULT result = S_OK;
    bool ok = database->Transaction([&] {
      for (std::int64_t id : ids) {
        msgdb::MessageRow row;
        if (!msgdb::LoadMessage(db, id, &row) || row.folder != m_info.id) {
          result = MAPI_E_NOT_FOUND;
          return false;
        }
        if (!step(db, id)) return false;
      }
      return msgdb::UpdateUnreadCount(db);
    });
    ForgetRows();
    if (!ok && result == S_OK) result = MAPI_E_DISK_ERROR;
    return result;
  }

  msgdb::FolderInfo m_info;  // the folder's row
};

}  // namespace

HRESULT OpenFolder(std::int64_t id, LPMAPIFOLDER* folder) {
  sqlite3* db = Db();
  if (!db) return MAPI_E_CALL_FAILED;
  msgdb::FolderInfo info;
  {
    std::lock_guard<std::recursive_mutex> lock(devdb::DeviceDatabase()->mutex());
    if (!msgdb::LoadFolder(db, id, &info)) return MAPI_E_NOT_FOUND;
  }
  *folder = new CFolder(std::move(info));
  return S_OK;
}

}  // namespace mapi_impl
