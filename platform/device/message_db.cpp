#include "platform/device/message_db.h"

#include <cstring>

#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/clock.h"
#include "platform/win32/text.h"

namespace msgdb {

namespace {

constexpr std::int64_t kTicksAtUnixEpoch = 116444736000000000LL;

constexpr char kRowColumns[] =
    "id, folder, class, subject, sender_name, sender_address, flags, status, delivery_time, modified_time, arrival";

void ReadRow(const devdb::Statement& st, MessageRow* row) {
  row->id = st.Int(0);
  row->folder = st.Int(1);
  row->messageClass = st.Text16(2);
  row->subject = st.Text16(3);
  row->senderName = st.IsNull(4) ? std::nullopt : std::optional<std::u16string>(st.Text16(4));
  row->senderAddress = st.IsNull(5) ? std::nullopt : std::optional<std::u16string>(st.Text16(5));
  row->flags = static_cast<ULONG>(st.Int(6));
  row->status = static_cast<ULONG>(st.Int(7));
  row->deliveryTime = st.IsNull(8) ? std::nullopt : std::optional<std::int64_t>(st.Int(8));
  row->modifiedTime = st.IsNull(9) ? std::nullopt : std::optional<std::int64_t>(st.Int(9));
  row->arrival = static_cast<int>(st.Int(10));
}

void BindOptional(devdb::Statement& st, int index, const std::optional<std::u16string>& v) {
  if (v)
    st.Bind(index, *v);
  else
    st.BindNull(index);
}

void BindOptional(devdb::Statement& st, int index, const std::optional<std::int64_t>& v) {
  if (v)
    st.Bind(index, *v);
  else
    st.BindNull(index);
}

bool IsTextType(ULONG type) { return type == PT_UNICODE || type == PT_STRING8; }
bool IsNumberType(ULONG type) {
  return type == PT_I2 || type == PT_LONG || type == PT_BOOLEAN || type == PT_I8 || type == PT_SYSTIME;
}

}  // namespace

std::int64_t UnixMsToTicks(std::int64_t unixMs) { return unixMs * 10000 + kTicksAtUnixEpoch; }
std::int64_t TicksToUnixMs(std::int64_t ticks) { return (ticks - kTicksAtUnixEpoch) / 10000; }
std::int64_t NowTicks() { return UnixMsToTicks(sysclock::UnixMs()); }

PropData LongProp(ULONG tag, std::int64_t value) {
  PropData p;
  p.tag = tag;
  p.i = value;
  return p;
}

PropData TextProp(ULONG tag, std::u16string_view value) {
  PropData p;
  p.tag = tag;
  p.s = value;
  return p;
}

PropData BinaryProp(ULONG tag, std::string value) {
  PropData p;
  p.tag = tag;
  p.bin = std::move(value);
  return p;
}

bool FromPropValue(const SPropValue& value, PropData* out) {
  PropData p;
  p.tag = value.ulPropTag;
  switch (PROP_TYPE(value.ulPropTag)) {
    case PT_I2: p.i = value.Value.i; break;
    case PT_LONG: p.i = value.Value.l; break;
    case PT_BOOLEAN: p.i = value.Value.b ? 1 : 0; break;
    case PT_I8: p.i = value.Value.li; break;
    case PT_SYSTIME:
      p.i = static_cast<std::int64_t>((static_cast<std::uint64_t>(value.Value.ft.dwHighDateTime) << 32) |
                                      value.Value.ft.dwLowDateTime);
      break;
    case PT_UNICODE:
      if (value.Value.lpszW) p.s = value.Value.lpszW;
      break;
    case PT_STRING8:
      if (value.Value.lpszA) p.s = text::FromUtf8(value.Value.lpszA);
      p.tag = CHANGE_PROP_TYPE(p.tag, PT_UNICODE);
      break;
    case PT_BINARY:
      if (value.Value.bin.cb && !value.Value.bin.lpb) return false;
      p.bin.assign(reinterpret_cast<const char*>(value.Value.bin.lpb), value.Value.bin.cb);
      break;
    default: return false;
  }
  *out = std::move(p);
  return true;
}

// ---- Columns ------------------------------------------------------------------------------

bool ColumnProp(const MessageRow& row, ULONG tag, PropData* out, bool* known) {
  *known = true;
  // By the property id: the value comes in its stored type whatever type is asked for.
  switch (PROP_ID(tag)) {
    case PROP_ID(PR_ENTRYID):
      *out = BinaryProp(PR_ENTRYID, MakeEntryId(EntryKind::kMessage, row.id));
      return row.id != 0;
    case PROP_ID(PR_PARENT_ENTRYID):
      *out = BinaryProp(PR_PARENT_ENTRYID, MakeEntryId(EntryKind::kFolder, row.folder));
      return true;
    case PROP_ID(PR_OBJECT_TYPE): *out = LongProp(PR_OBJECT_TYPE, MAPI_MESSAGE); return true;
    case PROP_ID(PR_MESSAGE_CLASS): *out = TextProp(PR_MESSAGE_CLASS, row.messageClass); return true;
    case PROP_ID(PR_SUBJECT): *out = TextProp(PR_SUBJECT, row.subject); return !row.subject.empty();
    case PROP_ID(PR_SENDER_NAME):
      if (!row.senderName) return false;
      *out = TextProp(PR_SENDER_NAME, *row.senderName);
      return true;
    case PROP_ID(PR_SENDER_EMAIL_ADDRESS):
      if (!row.senderAddress) return false;
      *out = TextProp(PR_SENDER_EMAIL_ADDRESS, *row.senderAddress);
      return true;
    case PROP_ID(PR_MESSAGE_FLAGS): *out = LongProp(PR_MESSAGE_FLAGS, row.flags); return true;
    case PROP_ID(PR_MSG_STATUS): *out = LongProp(PR_MSG_STATUS, row.status); return true;
    case PROP_ID(PR_MESSAGE_SIZE):
      *out = LongProp(PR_MESSAGE_SIZE, static_cast<std::int64_t>(row.subject.size() * 2));
      return true;
    case PROP_ID(PR_MESSAGE_DELIVERY_TIME):
      if (!row.deliveryTime) return false;
      *out = LongProp(PR_MESSAGE_DELIVERY_TIME, *row.deliveryTime);
      return true;
    case PROP_ID(PR_LAST_MODIFICATION_TIME):
      if (!row.modifiedTime) return false;
      *out = LongProp(PR_LAST_MODIFICATION_TIME, *row.modifiedTime);
      return true;
    default: *known = false; return false;
  }
}

bool SetColumnProp(MessageRow* row, const PropData& value) {
  switch (value.tag) {
    case PR_MESSAGE_CLASS: row->messageClass = value.s; return true;
    case PR_SUBJECT: row->subject = value.s; return true;
    case PR_SENDER_NAME: row->senderName = value.s; return true;
    case PR_SENDER_EMAIL_ADDRESS: row->senderAddress = value.s; return true;
    case PR_MESSAGE_FLAGS: row->flags = static_cast<ULONG>(value.i); return true;
    case PR_MSG_STATUS: row->status = static_cast<ULONG>(value.i); return true;
    case PR_MESSAGE_DELIVERY_TIME: row->deliveryTime = value.i; return true;
    case PR_LAST_MODIFICATION_TIME: row->modifiedTime = value.i; return true;
    default: return false;
  }
}

// ---- Entry identifiers ----------------------------------------------------------------------

std::string MakeEntryId(EntryKind kind, std::int64_t id) {
  std::string bytes(kEntryIdSize, '\0');
  bytes[4] = static_cast<char>(kind);
  bytes[5] = 'm';
  bytes[6] = 'v';
  bytes[7] = 'o';
  auto v = static_cast<std::uint64_t>(id);
  for (int i = 0; i < 8; ++i) bytes[8 + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return bytes;
}

bool ParseEntryId(const void* bytes, ULONG size, EntryKind* kind, std::int64_t* id) {
  if (!bytes || size != kEntryIdSize) return false;
  const auto* b = static_cast<const unsigned char*>(bytes);
  if (b[0] || b[1] || b[2] || b[3] || b[5] != 'm' || b[6] != 'v' || b[7] != 'o') return false;
  if (b[4] != 'S' && b[4] != 'F' && b[4] != 'M') return false;
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | b[8 + i];
  *kind = static_cast<EntryKind>(b[4]);
  *id = static_cast<std::int64_t>(v);
  return *id > 0;
}

// ---- Reading ----------------------------------------------------------------------------------

bool LoadFolder(sqlite3* db, std::int64_t id, FolderInfo* out) {
  devdb::Statement st(db, "SELECT id, store, role, name FROM msg_folders WHERE id = ?1");
  st.Bind(1, id);
  if (st.Step() != SQLITE_ROW) return false;
  out->id = st.Int(0);
  out->store = st.Int(1);
  out->role = st.Text16(2);
  out->name = st.Text16(3);
  return true;
}

std::int64_t FolderOfRole(sqlite3* db, std::int64_t store, std::u16string_view role) {
  devdb::Statement st(db, "SELECT id FROM msg_folders WHERE store = ?1 AND role = ?2 ORDER BY id LIMIT 1");
  st.Bind(1, store).Bind(2, std::u16string(role));
  return st.Step() == SQLITE_ROW ? st.Int(0) : 0;
}

std::int64_t StoreByName(sqlite3* db, std::u16string_view name) {
  devdb::Statement st(db, "SELECT id FROM msg_stores WHERE name = ?1 ORDER BY id LIMIT 1");
  st.Bind(1, std::u16string(name));
  return st.Step() == SQLITE_ROW ? st.Int(0) : 0;
}

const char16_t* RoleOfFolderTag(ULONG tag) {
  switch (tag) {
    case PR_CE_IPM_INBOX_ENTRYID: return u"inbox";
    case PR_CE_IPM_DRAFTS_ENTRYID: return u"drafts";
    case PR_IPM_OUTBOX_ENTRYID: return u"outbox";
    case PR_IPM_SENTMAIL_ENTRYID: return u"sent";
    case PR_IPM_WASTEBASKET_ENTRYID: return u"deleted";
    default: return nullptr;
  }
}

bool LoadMessage(sqlite3* db, std::int64_t id, MessageRow* out) {
  std::string sql = std::string("SELECT ") + kRowColumns + " FROM messages WHERE id = ?1";
  devdb::Statement st(db, sql.c_str());
  st.Bind(1, id);
  if (st.Step() != SQLITE_ROW) return false;
  ReadRow(st, out);
  return true;
}

std::vector<std::shared_ptr<MessageRow>> LoadFolderRows(sqlite3* db, std::int64_t folder) {
  std::vector<std::shared_ptr<MessageRow>> rows;
  std::string sql =
      std::string("SELECT ") + kRowColumns + " FROM messages WHERE folder = ?1 ORDER BY delivery_time DESC, id DESC";
  devdb::Statement st(db, sql.c_str());
  st.Bind(1, folder);
  while (st.Step() == SQLITE_ROW) {
    auto row = std::make_shared<MessageRow>();
    ReadRow(st, row.get());
    rows.push_back(std::move(row));
  }
  return rows;
}

bool LoadExtraProps(sqlite3* db, std::int64_t id, std::vector<PropData>* out) {
  devdb::Statement st(db, "SELECT tag, value FROM message_props WHERE message = ?1 ORDER BY tag");
  st.Bind(1, id);
  int rc;
  while ((rc = st.Step()) == SQLITE_ROW) {
    PropData p;
    p.tag = static_cast<ULONG>(st.Int(0));
    ULONG type = PROP_TYPE(p.tag);
    if (IsTextType(type))
      p.s = st.Text16(1);
    else if (type == PT_BINARY)
      p.bin = st.Blob(1);
    else if (IsNumberType(type))
      p.i = st.Int(1);
    else
      continue;
    out->push_back(std::move(p));
  }
  return rc == SQLITE_DONE;
}

bool LoadRecipients(sqlite3* db, std::int64_t id, std::vector<Recipient>* out) {
  devdb::Statement st(
      db, "SELECT type, addrtype, address, name FROM message_recipients WHERE message = ?1 ORDER BY position");
  st.Bind(1, id);
  int rc;
  while ((rc = st.Step()) == SQLITE_ROW) {
    Recipient r;
    r.type = static_cast<ULONG>(st.Int(0));
    r.addrType = st.Text16(1);
    r.address = st.Text16(2);
    r.name = st.Text16(3);
    out->push_back(std::move(r));
  }
  return rc == SQLITE_DONE;
}

// ---- Writing --------------------------------------------------------------------------------------

bool InsertMessage(sqlite3* db, MessageRow* row) {
  devdb::Statement st(db,
                      "INSERT INTO messages(folder, class, subject, sender_name, sender_address, flags, status, "
                      "delivery_time, modified_time, arrival) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
  st.Bind(1, row->folder).Bind(2, row->messageClass).Bind(3, row->subject);
  BindOptional(st, 4, row->senderName);
  BindOptional(st, 5, row->senderAddress);
  st.Bind(6, static_cast<std::int64_t>(row->flags)).Bind(7, static_cast<std::int64_t>(row->status));
  BindOptional(st, 8, row->deliveryTime);
  BindOptional(st, 9, row->modifiedTime);
  st.Bind(10, static_cast<std::int64_t>(row->arrival));
  if (!st.Run()) return false;
  row->id = sqlite3_last_insert_rowid(db);
  return true;
}

bool UpdateMessage(sqlite3* db, const MessageRow& row) {
  devdb::Statement st(
      db,
      "UPDATE messages SET class = ?2, subject = ?3, sender_name = ?4, sender_address = ?5, flags = ?6, "
      "status = ?7, delivery_time = ?8, modified_time = ?9 WHERE id = ?1");
  st.Bind(1, row.id).Bind(2, row.messageClass).Bind(3, row.subject);
  BindOptional(st, 4, row.senderName);
  BindOptional(st, 5, row.senderAddress);
  st.Bind(6, static_cast<std::int64_t>(row.flags)).Bind(7, static_cast<std::int64_t>(row.status));
  BindOptional(st, 8, row.deliveryTime);
  BindOptional(st, 9, row.modifiedTime);
  return st.Run() && sqlite3_changes(db) == 1;
}

bool SetExtraProp(sqlite3* db, std::int64_t id, const PropData& value) {
  devdb::Statement st(db, "INSERT OR REPLACE INTO message_props(message, tag, value) VALUES (?1, ?2, ?3)");
  st.Bind(1, id).Bind(2, static_cast<std::int64_t>(value.tag));
  ULONG type = PROP_TYPE(value.tag);
  if (IsTextType(type))
    st.Bind(3, value.s);
  else if (type == PT_BINARY)
    st.BindBlob(3, value.bin.data(), value.bin.size());
  else
    st.Bind(3, value.i);
  return st.Run();
}

bool ReplaceRecipients(sqlite3* db, std::int64_t id, const std::vector<Recipient>& recipients) {
  devdb::Statement del(db, "DELETE FROM message_recipients WHERE message = ?1");
  del.Bind(1, id);
  if (!del.Run()) return false;
  devdb::Statement ins(db,
                       "INSERT INTO message_recipients(message, position, type, addrtype, address, name) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  std::int64_t position = 0;
  for (const Recipient& r : recipients) {
    ins.Reset();
    ins.Bind(1, id).Bind(2, position++).Bind(3, static_cast<std::int64_t>(r.type)).Bind(4, r.addrType);
    ins.Bind(5, r.address).Bind(6, r.name);
    if (!ins.Run()) return false;
  }
  return true;
}

bool MoveMessage(sqlite3* db, std::int64_t id, std::int64_t folder) {
  devdb::Statement st(db, "UPDATE messages SET folder = ?2 WHERE id = ?1");
  st.Bind(1, id).Bind(2, folder);
  return st.Run() && sqlite3_changes(db) == 1;
}

bool DeleteMessage(sqlite3* db, std::int64_t id) {
  devdb::Statement st(db, "DELETE FROM messages WHERE id = ?1");
  st.Bind(1, id);
  return st.Run() && sqlite3_changes(db) == 1;
}

bool UpdateUnreadCount(sqlite3* db) {
  devdb::Statement st(db,
                      "SELECT count(*) FROM messages m JOIN msg_folders f ON f.id = m.folder "
                      "JOIN msg_stores s ON s.id = f.store "
                      "WHERE s.name = 'SMS' AND f.role = 'inbox' AND m.class = 'IPM.SMStext' AND (m.flags & 1) = 0");
  if (st.Step() != SQLITE_ROW) return false;
  DWORD unread = static_cast<DWORD>(st.Int(0));
  DWORD current = 0;
  if (reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", &current) &&
      current == unread)
    return true;
  return reg::SetDword(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", unread);
}

}  // namespace msgdb
