// mivoSMSStore: the phone's text messages. Logs on to messaging, finds the
// store named "SMS" (or "Text Messages"), opens its special folders on
// request and keeps them current from the store's change notifications.
// One per process, made by the core on first use.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "pim/sms_folder.h"
#include "platform/device/mapi.h"

class mivoSMSStore {
 public:
  // Logs on and finds the SMS store; without one every folder request
  // yields none.
  mivoSMSStore();
  ~mivoSMSStore();
  mivoSMSStore(const mivoSMSStore&) = delete;
  mivoSMSStore& operator=(const mivoSMSStore&) = delete;

  bool IsOpen() const { return m_pMsgStore != nullptr; }
  LPMAPISESSION Session() const { return m_pSession; }
  LPMDB MsgStore() const { return m_pMsgStore; }

  // The special folder the store's property `tag` names (PR_CE_IPM_INBOX_ENTRYID,
  // PR_CE_IPM_DRAFTS_ENTRYID, PR_IPM_OUTBOX_ENTRYID, PR_IPM_SENTMAIL_ENTRYID,
  // PR_IPM_WASTEBASKET_ENTRYID), opened and loaded on the first request and
  // kept; null when the store has no such folder.
  mivoSMSFolder* GetFolder(ULONG tag);
  // A folder already opened; null otherwise.
  mivoSMSFolder* OpenedFolder(ULONG tag) const;

  // A new message in the Outbox, ready for its recipient and text; the caller
  // owns it. Null when the Outbox cannot be had.
  std::unique_ptr<mivoSMSMessage> CreateMessage();
  // Creates, fills and submits one message; true when it was sent.
  bool SendSMS(std::u16string_view number, std::u16string_view text);

  // Handles the notifications that arrived since (the UI thread does it by
  // itself soon after they arrive; tests call it to be sure).
  void DeliverPendingNotifications();

 private:
  // The store's advise sink: counts its references, and hands what it hears
  // to the UI thread (it is called on the messaging system's thread).
  class mivoSMSAdviceSink : public IMAPIAdviseSink {
   public:
    explicit mivoSMSAdviceSink(mivoSMSStore* store) : m_pStore(store) {}
    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    ULONG OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) override;

   private:
    std::atomic<ULONG> m_refs{1};  // the store holds the first reference
    mivoSMSStore* m_pStore;        // the store it tells
  };

  // A notification copied off the messaging thread.
  struct Pending {
    ULONG event = 0;
    ULONG objectType = 0;
    std::string entry, parent, oldEntry, oldParent;
  };

  void Queue(Pending pending);
  void Handle(const Pending& n);
  mivoSMSFolder* FolderById(const std::string& entryId) const;
  bool SameEntry(const std::string& a, const std::string& b) const;

  struct CachedFolder {
    ULONG tag;
    std::unique_ptr<mivoSMSFolder> folder;
  };

  LPMAPISESSION m_pSession = nullptr;   // the messaging session
  LPMDB m_pMsgStore = nullptr;          // the SMS store; null when there is none
  mivoSMSAdviceSink m_sink{this};       // embedded, reference count starting at 1
  ULONG m_connection = 0;               // Advise's connection number; 0 none
  std::vector<CachedFolder> m_folders;  // the special folders opened so far
  std::mutex m_pendingMutex;            // guards m_pending (filled on the messaging thread)
  std::vector<Pending> m_pending;       // heard, not yet handled
  std::shared_ptr<bool> m_alive;        // false once the store goes; the handed-over work checks it
};
