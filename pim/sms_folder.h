// mivoSMSFolder: one special folder of the SMS store and its SMS messages,
// newest first. Loaded once, then kept current by the store's notifications;
// its listeners hear of messages added and gone.
#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "pim/outlook_events.h"
#include "pim/sms_message.h"

class mivoSMSFolder : public mivoOutlookEventsContainer {
 public:
  // Takes over the reference to `folder`. tag: the store property that named it.
  mivoSMSFolder(mivoSMSStore* store, LPMAPIFOLDER folder, ULONG tag);
  ~mivoSMSFolder() override;
  mivoSMSFolder(const mivoSMSFolder&) = delete;
  mivoSMSFolder& operator=(const mivoSMSFolder&) = delete;

  // Reads the folder's SMS messages, newest first; listeners are not told.
  void LoadMessages();
  bool IsLoading() const { return m_loading; }

  std::size_t GetCount() const { return m_messages.size(); }
  // Null past the end.
  mivoSMSMessage* GetAt(std::size_t index) const;
  // The message with this entry identifier; null when the folder has none.
  mivoSMSMessage* FindMessage(const std::string& entryId) const;
  // The messages not yet read.
  int GetUnreadCount() const;

  // PR_ENTRYID of the folder; the special-folder tag it was opened by.
  const std::string& EntryId() const { return m_entryId; }
  ULONG Tag() const { return m_tag; }
  LPMAPIFOLDER Folder() const { return m_pFolder; }

  // For the store's notifications: a message by its identifier goes to the
  // front (newest) and the listeners hear of it; one that went is taken out
  // of the list and the listeners are told the list changed. A message
  // taken out stays valid until the folder goes, so pages that still show
  // it do not fail.
  void AddMessageById(const std::string& entryId);
  void RemoveMessage(mivoSMSMessage* message);

 private:
  // Keeps a message made from `object` when usable and not here yet; false otherwise.
  bool Keep(std::unique_ptr<mivoSMSMessage> message, bool atFront);

  mivoSMSStore* m_pStore;                                   // the store; not owned
  LPMAPIFOLDER m_pFolder;                                   // the messaging folder; one reference
  ULONG m_tag;                                              // PR_CE_IPM_INBOX_ENTRYID, ...
  std::string m_entryId;                                    // PR_ENTRYID
  std::vector<std::unique_ptr<mivoSMSMessage>> m_messages;  // newest first
  std::unordered_set<std::string> m_ids;                    // the entry identifiers in m_messages
  std::vector<std::unique_ptr<mivoSMSMessage>> m_removed;   // taken out, kept alive for their holders
  bool m_loading = false;                                   // LoadMessages is running
};
