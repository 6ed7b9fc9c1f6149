#include "platform/device/sms_network.h"

#include <mutex>

#include "platform/device/message_db.h"
#include "platform/device/pim_db.h"
#include "platform/registry/database.h"
#include "platform/win32/text.h"

namespace device {

namespace {

constexpr char kFailNextSend[] = "sms_fail_next_send";

std::int64_t SmsStore(sqlite3* db) { return msgdb::StoreByName(db, u"SMS"); }

// "Anna <+420 603 111 222>" -> name and number; a plain number has no name.
void SplitSender(std::u16string_view from, std::u16string* name, std::u16string* number) {
  auto open = from.rfind(u'<');
  auto close = from.rfind(u'>');
  if (open != std::u16string_view::npos && close != std::u16string_view::npos && close > open) {
    *number = text::Trim(std::u16string(from.substr(open + 1, close - open - 1)));
    *name = text::Trim(std::u16string(from.substr(0, open)));
    if (name->size() >= 2 && name->front() == u'"' && name->back() == u'"') *name = name->substr(1, name->size() - 2);
    return;
  }
  *number = text::Trim(std::u16string(from));
  name->clear();
}

}  // namespace

bool ParseSMSFolder(std::u16string_view nameIn, std::u16string* role) {
  std::u16string name = text::ToLower(text::Trim(std::u16string(nameIn)));
  struct Alias {
    const char16_t* name;
    const char16_t* role;
  };
  static const Alias kAliases[] = {
      {u"inbox", u"inbox"},  {u"drafts", u"drafts"},   {u"draft", u"drafts"},    {u"outbox", u"outbox"},
      {u"sent", u"sent"},    {u"sent items", u"sent"}, {u"deleted", u"deleted"}, {u"deleted items", u"deleted"},
      {u"trash", u"deleted"}};
  for (const Alias& a : kAliases) {
    if (name == a.name) {
      *role = a.role;
      return true;
    }
  }
  return false;
}

std::int64_t StoreSMS(sqlite3* db, const SMSRecord& record, int arrival) {
  std::int64_t folder = msgdb::FolderOfRole(db, SmsStore(db), record.folder);
  if (!folder) return 0;
  msgdb::MessageRow row;
  row.folder = folder;
  row.messageClass = record.messageClass;
  row.subject = record.text;
  if (!record.senderName.empty() || !record.senderNumber.empty()) {
    row.senderName = record.senderName.empty() ? record.senderNumber : record.senderName;
    row.senderAddress = record.senderNumber;
  }
  row.flags = (record.read ? MSGFLAG_READ : 0) | (record.fromMe ? MSGFLAG_FROMME : 0);
  if (record.folder == u"drafts" || record.folder == u"outbox") row.flags |= MSGFLAG_UNSENT;
  row.status = MSGSTATUS_RECTYPE_SMS;
  if (record.hasTime) {
    row.deliveryTime = msgdb::UnixMsToTicks(record.unixMs);
    row.modifiedTime = row.deliveryTime;
  } else {
    row.modifiedTime = msgdb::NowTicks();
  }
  row.arrival = arrival;
  if (!msgdb::InsertMessage(db, &row)) return 0;
  if (record.fromMe && !record.senderNumber.empty()) {
    // What was written here names its recipient.
    msgdb::Recipient to;
    to.addrType = u"SMS";
    to.address = record.senderNumber;
    to.name = record.senderName;
    if (!msgdb::ReplaceRecipients(db, row.id, {to})) return 0;
    if (!msgdb::SetExtraProp(db, row.id, msgdb::TextProp(PR_DISPLAY_TO, row.senderName.value_or(u"")))) return 0;
  }
  return row.id;
}

std::int64_t DeliverSMS(std::u16string_view from, std::u16string_view text, std::int64_t unixMs, std::string* error) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) {
    if (error) *error = "no device is open";
    return 0;
  }
  SMSRecord record;
  record.folder = u"inbox";
  SplitSender(from, &record.senderName, &record.senderNumber);
  if (record.senderNumber.empty()) {
    if (error) *error = "the sender has no number";
    return 0;
  }
  record.text = text;
  record.unixMs = unixMs;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  if (record.senderName.empty()) record.senderName = ContactNameForNumber(record.senderNumber);
  std::int64_t id = 0;
  bool ok = db->Transaction([&] {
    id = StoreSMS(db->handle(), record, 1);
    return id != 0 && msgdb::UpdateUnreadCount(db->handle());
  });
  if (!ok) {
    if (error) *error = "cannot write the message: " + db->LastError();
    return 0;
  }
  return id;
}

std::vector<SMSRecord> ListSMS(std::u16string_view role) {
  std::vector<SMSRecord> out;
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return out;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  std::int64_t folder = msgdb::FolderOfRole(db->handle(), SmsStore(db->handle()), role);
  if (!folder) return out;
  for (const auto& row : msgdb::LoadFolderRows(db->handle(), folder)) {
    SMSRecord r;
    r.id = row->id;
    r.folder = role;
    r.messageClass = row->messageClass;
    r.senderName = row->senderName.value_or(u"");
    r.senderNumber = row->senderAddress.value_or(u"");
    r.text = row->subject;
    r.read = (row->flags & MSGFLAG_READ) != 0;
    r.fromMe = (row->flags & MSGFLAG_FROMME) != 0;
    r.hasTime = row->deliveryTime.has_value();
    r.unixMs = r.hasTime ? msgdb::TicksToUnixMs(*row->deliveryTime) : 0;
    out.push_back(std::move(r));
  }
  return out;
}

bool FailNextSMS() {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return false;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  return db->Transaction([&] {
    devdb::Statement st(db->handle(),
                        "INSERT INTO device_state(name, value) VALUES (?1, 1) "
                        "ON CONFLICT(name) DO UPDATE SET value = 1");
    st.Bind(1, std::string(kFailNextSend));
    return st.Run();
  });
}

bool TakeFailNextSMS(sqlite3* db) {
  devdb::Statement st(db, "DELETE FROM device_state WHERE name = ?1 AND value = 1");
  st.Bind(1, std::string(kFailNextSend));
  return st.Run() && sqlite3_changes(db) > 0;
}

}  // namespace device
