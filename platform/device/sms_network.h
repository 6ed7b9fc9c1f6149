// The phone network's side of text messages, as mivo-device plays it:
// delivering an incoming SMS into the SMS store's Inbox, listing a folder,
// and making the next sending fail. What the launcher sends goes through
// messaging (mapi.h), which asks TakeFailNextSMS before it sends.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace device {

// One message of the SMS store as the tools show it.
struct SMSRecord {
  std::int64_t id = 0;
  std::u16string folder;  // the folder's role: "inbox", "drafts", "outbox", "sent", "deleted"
  std::u16string messageClass = u"IPM.SMStext";
  std::u16string senderName;
  std::u16string senderNumber;
  std::u16string text;
  bool read = false;
  bool fromMe = false;      // written on this device (sent, a draft, waiting in the Outbox)
  bool hasTime = true;      // false: the message has no delivery time
  std::int64_t unixMs = 0;  // the delivery time, milliseconds since 1970 (UTC)
};

// Folder names as a user writes them ("Inbox", "sent", "Sent Items",
// "Deleted Items", "trash", ...) to a role; false when none fits.
bool ParseSMSFolder(std::u16string_view name, std::u16string* role);

// An incoming message: unread, in the SMS store's Inbox, announced to advise
// sinks as new mail. `from` is a number or "Name <number>"; without a name the
// sender is named by the contact owning the number, else by the number.
// Returns the message's id, 0 on failure (with a message in *error).
std::int64_t DeliverSMS(std::u16string_view from, std::u16string_view text, std::int64_t unixMs, std::string* error);

// Writes one message into the folder of its role (inside a transaction of
// the caller; provisioning uses it). arrival 1 announces it as new mail.
std::int64_t StoreSMS(sqlite3* db, const SMSRecord& record, int arrival);

// The messages of a folder of the SMS store, newest first.
std::vector<SMSRecord> ListSMS(std::u16string_view role);

// The next submission fails (once).
bool FailNextSMS();
// Inside the sending transaction: true (and the request used up) when the
// next submission was to fail.
bool TakeFailNextSMS(sqlite3* db);

}  // namespace device
