// The rows behind messaging: messages, their other properties and
// recipients in device.db, and the entry identifiers made from row ids.
// Used by the MAPI objects (mapi_*.cpp), the phone network's side
// (sms_network.h) and provisioning. Callers hold the database's mutex;
// writers run inside a transaction.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device/mapi_defs.h"

namespace msgdb {

// FILETIME ticks (100 ns since 1601, UTC) and the system clock.
std::int64_t NowTicks();
std::int64_t UnixMsToTicks(std::int64_t unixMs);
std::int64_t TicksToUnixMs(std::int64_t ticks);

// One property value, typed by its tag's low word.
struct PropData {
  ULONG tag = 0;
  std::int64_t i = 0;  // PT_I2, PT_LONG, PT_BOOLEAN, PT_I8, PT_SYSTIME (ticks)
  std::u16string s;    // PT_UNICODE, PT_STRING8
  std::string bin;     // PT_BINARY
};
PropData LongProp(ULONG tag, std::int64_t value);
PropData TextProp(ULONG tag, std::u16string_view value);
PropData BinaryProp(ULONG tag, std::string value);
// Reads a value handed in by a caller; false for a type that is not kept.
bool FromPropValue(const SPropValue& value, PropData* out);

struct Recipient {
  ULONG type = MAPI_TO;
  std::u16string addrType;  // "SMS"
  std::u16string address;   // the number
  std::u16string name;
};

// A message's row. Absent optional fields are properties it does not have.
struct MessageRow {
  std::int64_t id = 0;  // 0 until written
  std::int64_t folder = 0;
  std::u16string messageClass = u"IPM.SMStext";
  std::u16string subject;
  std::optional<std::u16string> senderName;
  std::optional<std::u16string> senderAddress;
  ULONG flags = 0;
  ULONG status = 0;
  std::optional<std::int64_t> deliveryTime;  // FILETIME ticks
  std::optional<std::int64_t> modifiedTime;
  int arrival = 0;  // 0 made here, 1 delivered by the network (new mail), 2 a copy
};

// The row's value of a property kept in a column, found by the tag's id and
// given in its stored type; false when the property is not a column or the
// row lacks it (then *known tells which).
bool ColumnProp(const MessageRow& row, ULONG tag, PropData* out, bool* known);
// Sets a column from a value; false when the tag is not a column.
bool SetColumnProp(MessageRow* row, const PropData& value);

// ---- Entry identifiers --------------------------------------------------------------

enum class EntryKind : BYTE { kStore = 'S', kFolder = 'F', kMessage = 'M' };
constexpr ULONG kEntryIdSize = 16;
std::string MakeEntryId(EntryKind kind, std::int64_t id);
bool ParseEntryId(const void* bytes, ULONG size, EntryKind* kind, std::int64_t* id);

// ---- Reading ----------------------------------------------------------------------------

struct FolderInfo {
  std::int64_t id = 0;
  std::int64_t store = 0;
  std::u16string role;  // "inbox", "drafts", "outbox", "sent", "deleted" or ""
  std::u16string name;
};
bool LoadFolder(sqlite3* db, std::int64_t id, FolderInfo* out);
// The folder of a store with a role; 0 when none.
std::int64_t FolderOfRole(sqlite3* db, std::int64_t store, std::u16string_view role);
// The first store of that name; 0 when none.
std::int64_t StoreByName(sqlite3* db, std::u16string_view name);
// The special folder tags of a store (PR_CE_IPM_INBOX_ENTRYID, ...) and their roles.
const char16_t* RoleOfFolderTag(ULONG tag);

bool LoadMessage(sqlite3* db, std::int64_t id, MessageRow* out);
// The messages of a folder, newest delivery first (messages without a
// delivery time last), then by id, newest first; the folder's index gives
// this order without sorting.
std::vector<std::shared_ptr<MessageRow>> LoadFolderRows(sqlite3* db, std::int64_t folder);
bool LoadExtraProps(sqlite3* db, std::int64_t id, std::vector<PropData>* out);
bool LoadRecipients(sqlite3* db, std::int64_t id, std::vector<Recipient>* out);

// ---- Writing (inside a transaction) --------------------------------------------------------

bool InsertMessage(sqlite3* db, MessageRow* row);  // sets row->id
bool UpdateMessage(sqlite3* db, const MessageRow& row);
bool SetExtraProp(sqlite3* db, std::int64_t id, const PropData& value);
bool ReplaceRecipients(sqlite3* db, std::int64_t id, const std::vector<Recipient>& recipients);
bool MoveMessage(sqlite3* db, std::int64_t id, std::int64_t folder);
bool DeleteMessage(sqlite3* db, std::int64_t id);
// Keeps HKCU "System\State\Messages\SMS\Unread" "Count" equal to the unread
// SMS in the SMS store's Inbox, after every change of messages.
bool UpdateUnreadCount(sqlite3* db);

}  // namespace msgdb
