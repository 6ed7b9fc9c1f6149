// POApplication: the Outlook store of the process. Opens the Outlook object
// model, logs on with the main frame's window and asks the contacts, tasks
// and calendar folders to post their changes to it; keeps the collections
// the pages ask for. Made by the core on first use.
#pragma once

#include <memory>

#include "pim/po_collections.h"

class POApplication {
 public:
  // window: the window that receives the Outlook notifications (the main frame).
  explicit POApplication(HWND window);
  ~POApplication();
  POApplication(const POApplication&) = delete;
  POApplication& operator=(const POApplication&) = delete;

  // False when the object model could not be opened or logged on: no data.
  bool IsOpen() const { return m_pApp != nullptr; }
  IPOutlookApp2* GetApp() const { return m_pApp; }

  // Filled on the first request, then kept; null when closed.
  POContactsCollection* GetContacts();
  POTasksCollection* GetTasks();
  POAppointmentsCollection* GetAppointments();
  // The contacts collection when it was asked for already; null otherwise.
  POContactsCollection* ContactsIfMade() const { return m_pContacts.get(); }

  // The main frame hands over PIM_ITEM_CREATED_REMOTE, PIM_ITEM_DELETED_REMOTE
  // and PIM_ITEM_CHANGED_REMOTE (wParam the item's OID, lParam its folder).
  void HandleNotification(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  IPOutlookApp2* m_pApp = nullptr;                    // the object model; null when closed
  bool m_comStarted = false;                          // CoInitializeEx succeeded
  std::unique_ptr<POContactsCollection> m_pContacts;  // made on first request
  std::unique_ptr<POTasksCollection> m_pTasks;
  std::unique_ptr<POAppointmentsCollection> m_pAppointments;
};
