// The Outlook item collections and the wrappers they make: contacts (kept
// current by the Outlook notifications, with listeners), tasks and
// appointments.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "pim/outlook_events.h"
#include "pim/po_items.h"

class POApplication;

class POItemCollection {
 public:
  // Reads the folder's items (olFolderContacts, ...) and wraps each one.
  POItemCollection(POApplication* app, int folder);
  virtual ~POItemCollection();
  POItemCollection(const POItemCollection&) = delete;
  POItemCollection& operator=(const POItemCollection&) = delete;

  // ---- What a member makes of the items, in this order ----
  // A wrapper of an item (takes over the reference); null for an item of another kind.
  virtual POItem* MakeWrapper(IDispatch* item) = 0;
  virtual void DestroyWrapper(POItem* wrapper);
  // An Outlook notification (0x8105 created, 0x8106 deleted, else changed)
  // for the item with this OID; only the contacts act on it.
  virtual void HandleNotification(UINT message, LONG oid) {}

  // Null past the end.
  POItem* GetItemAt(std::size_t index) const;
  std::size_t GetCount() const { return m_wrappers.size(); }
  // The first item meeting the restriction text ("[LastName] = \"Novak\""),
  // wrapped and kept by the collection; null when none (or a bad text).
  POItem* FindItem(const std::u16string& restriction);
  // Every item meeting the restriction, wrapped for the caller.
  std::vector<std::unique_ptr<POItem>> FindAll(const std::u16string& restriction);
  // Orders the items by a property ("[LastName]") and wraps them again in that order.
  bool Sort(const std::u16string& property, bool descending);
  // The first wrapper whose item has this OID; null when none (or 0).
  POItem* FindByOid(LONG oid) const;
  // Reads the folder again and wraps its items anew.
  void Refresh();

 protected:
  // Wraps every item of m_pItems into m_wrappers (after dropping the old ones).
  void Fill();
  // Takes a wrapper out of the list; the caller destroys it.
  void Detach(POItem* wrapper);
  void Append(POItem* wrapper);
  // Puts a wrapper at `index` (the end when past it).
  void Insert(std::size_t index, POItem* wrapper);
  // The list changed behind the OID index: it is made again on the next look-up.
  void DropIndex() { m_indexValid = false; }

  POApplication* m_pApp;                        // the application; not owned
  int m_folder;                                 // olFolderContacts, olFolderTasks or olFolderCalendar
  IPOutlookItemCollection* m_pItems = nullptr;  // the Outlook collection; one reference
  std::vector<POItem*> m_wrappers;              // in the collection's order; owned (DestroyWrapper)
  std::vector<POItem*> m_found;                 // wrappers FindItem made; owned

 private:
  mutable std::unordered_map<LONG, POItem*> m_byOid;  // m_wrappers by OID (the first of each), made on demand
  mutable bool m_indexValid = false;                  // m_byOid matches m_wrappers
};

// The contacts, in the order of their names; a contact another program
// adds takes its place in that order.
class POContactsCollection : public POItemCollection, public mivoOutlookEventsContainer {
 public:
  explicit POContactsCollection(POApplication* app);
  ~POContactsCollection() override;

  POItem* MakeWrapper(IDispatch* item) override;
  void HandleNotification(UINT message, LONG oid) override;

  POContact* GetContactAt(std::size_t index) const { return static_cast<POContact*>(GetItemAt(index)); }
  POContact* FindContactByOid(LONG oid) const { return static_cast<POContact*>(FindByOid(oid)); }
  // The order of the list: by last name, then first name (the alternative
  // name when both are empty), case aside, as an address book is ordered.
  static bool NameOrder(POContact& a, POContact& b);
  // The first contact with a number equal to `number` (by its digits), and
  // which kind it is; null when none.
  POContact* FindContactByNumber(std::u16string_view number, int* kind) const;

 private:
  // Orders the wrappers by NameOrder.
  void SortByName();
};

class POTasksCollection : public POItemCollection {
 public:
  explicit POTasksCollection(POApplication* app);
  ~POTasksCollection() override;
  POItem* MakeWrapper(IDispatch* item) override;
  POTask* GetTaskAt(std::size_t index) const { return static_cast<POTask*>(GetItemAt(index)); }
};

// The appointments. Another program's change (an appointment added, moved
// or deleted) reads the folder again, and the listeners hear that the list
// changed.
class POAppointmentsCollection : public POItemCollection, public mivoOutlookEventsContainer {
 public:
  explicit POAppointmentsCollection(POApplication* app);
  ~POAppointmentsCollection() override;
  POItem* MakeWrapper(IDispatch* item) override;
  void HandleNotification(UINT message, LONG oid) override;
  POAppointment* GetAppointmentAt(std::size_t index) const { return static_cast<POAppointment*>(GetItemAt(index)); }
};
