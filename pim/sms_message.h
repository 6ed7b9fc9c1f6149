// mivoSMSMessage: one text message of the SMS store. Its fields are read
// from the messaging message when first asked for and then kept, until the
// store hears that another program changed the message.
//
// Times are values in seconds since 1970 (UTC), which the date routines show
// in local time.
#pragma once

#include <cstdint>
#include <string>

#include "pim/outlook_events.h"
#include "platform/device/mapi.h"

class mivoSMSFolder;
class mivoSMSStore;

class mivoSMSMessage : public mivoOutlookEventsContainer {
 public:
  // Takes over the reference to `message` (may be null: an unusable message).
  mivoSMSMessage(mivoSMSStore* store, mivoSMSFolder* folder, LPMESSAGE message);
  ~mivoSMSMessage() override;
  mivoSMSMessage(const mivoSMSMessage&) = delete;
  mivoSMSMessage& operator=(const mivoSMSMessage&) = delete;

  // False when the entry identifier could not be read: the store drops it.
  bool IsUsable() const { return !m_entryId.empty(); }
  // PR_ENTRYID, read when the object is made.
  const std::string& EntryId() const { return m_entryId; }
  mivoSMSFolder* GetFolder() const { return m_pFolder; }
  mivoSMSStore* GetStore() const { return m_pStore; }

  // Bit 0 of PR_MESSAGE_FLAGS; the flags are read again while they are 0.
  bool IsRead();
  // Sets the read bit and saves; nothing to do when it is set already.
  void MarkRead();
  // PR_SUBJECT (an SMS's text); empty when it cannot be read.
  const std::u16string& GetBody();
  // PR_SENDER_NAME; "(no sender)" when it cannot be read.
  const std::u16string& GetSenderName();
  // PR_SENDER_EMAIL_ADDRESS; "(no sender phone number)" when it cannot be
  // read. "Name <number>" gives the number alone.
  const std::u16string& GetSenderNumber();
  // False when the message has no such time (or it is not a valid date).
  bool GetDeliveryTime(std::int64_t* time);
  bool GetLastModificationTime(std::int64_t* time);
  // The newer (previous) and older (next) message of its folder; see the .cpp.
  void GetNeighbours(mivoSMSMessage** previous, mivoSMSMessage** next);

  // A new message: its recipient and text, then Submit. True when sent.
  void SetRecipient(std::u16string_view number) { m_recipient = number; }
  void SetBody(std::u16string_view text);
  bool Submit();

  // Another program changed the message: read everything again when asked.
  void DropCache();
  // The folder let the message go (it stays valid for those who hold it).
  void DetachFromFolder() { m_pFolder = nullptr; }

 private:
  // Reads one text property; false when it cannot be read.
  bool ReadText(ULONG tag, std::u16string* out);
  // Reads one time property, converted to a time value.
  bool ReadTime(ULONG tag, std::int64_t* out);

  enum class Cached { kNo, kYes, kAbsent };

  mivoSMSStore* m_pStore;       // the store; not owned
  mivoSMSFolder* m_pFolder;     // the folder holding it; null once let go
  LPMESSAGE m_pMessage;         // the messaging message; one reference
  std::string m_entryId;        // PR_ENTRYID; empty: unusable
  std::u16string m_body;        // PR_SUBJECT, once read
  bool m_hasBody = false;       // m_body has been read
  std::u16string m_senderName;  // once read (or its fallback)
  bool m_hasSenderName = false;
  std::u16string m_senderNumber;  // once read (or its fallback), trimmed at every ask
  bool m_hasSenderNumber = false;
  ULONG m_flags = 0;            // PR_MESSAGE_FLAGS as last read or written
  std::int64_t m_delivery = 0;  // PR_MESSAGE_DELIVERY_TIME as a time value
  Cached m_deliveryState = Cached::kNo;
  std::int64_t m_modified = 0;  // PR_LAST_MODIFICATION_TIME as a time value
  Cached m_modifiedState = Cached::kNo;
  std::u16string m_recipient;  // a new message's number
};
