// What the actions need of the Outlook store and the SMS store, as the core
// hands it to them when it makes those stores: contacts by OID and by
// number (with the links from a contact's numbers to the calls counted in
// the actions history), and sending an SMS.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "actions/services.h"
#include "pim/outlook_events.h"

class POApplication;
class POContact;
class mivoActions;
class mivoSMSStore;

class mivoContactDirectoryService : public mivoContactDirectory, public mivoOutlookEventHandler {
 public:
  // Registers with the actions and links the calls already in their history
  // to the contacts' numbers; the destructor registers off again.
  mivoContactDirectoryService(POApplication* outlook, mivoActions* actions);
  ~mivoContactDirectoryService() override;
  mivoContactDirectoryService(const mivoContactDirectoryService&) = delete;
  mivoContactDirectoryService& operator=(const mivoContactDirectoryService&) = delete;

  mivoContactInfo* FindContactByOid(std::uint32_t oid) override;
  mivoContactInfo* FindContactByNumber(std::u16string_view number, int* kind) override;

  // The contacts' changes: a contact that went loses its view.
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override {}
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override;
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override;

 private:
  class ContactView;
  // The view of a contact, made on first use and kept by OID.
  mivoContactInfo* ViewOf(POContact* contact);

  POApplication* m_pOutlook;                                      // the Outlook store; not owned
  mivoActions* m_pActions;                                        // registered with; not owned
  std::map<std::uint32_t, std::unique_ptr<ContactView>> m_views;  // by OID
};

class mivoSMSSenderService : public mivoSMSSender {
 public:
  // Registers with the actions; the destructor registers off again.
  mivoSMSSenderService(mivoSMSStore* store, mivoActions* actions);
  ~mivoSMSSenderService() override;
  mivoSMSSenderService(const mivoSMSSenderService&) = delete;
  mivoSMSSenderService& operator=(const mivoSMSSenderService&) = delete;

  bool SendSMS(std::u16string_view number, std::u16string_view text) override;

 private:
  mivoSMSStore* m_pStore;   // not owned
  mivoActions* m_pActions;  // registered with; not owned
};
