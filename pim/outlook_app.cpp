#include "pim/outlook_app.h"

POApplication::POApplication(HWND window) {
  m_comStarted = SUCCEEDED(CoInitializeEx(nullptr, 0));
  IPOutlookApp2* app = nullptr;
  if (FAILED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp2,
                              reinterpret_cast<void**>(&app))) ||
      !app)
    return;
  if (FAILED(app->Logon(window))) {
    app->Release();
    return;
  }
  // The contacts, tasks and calendar folders post their changes by other
  // programs to the window.
  for (int folder : {olFolderContacts, olFolderTasks, olFolderCalendar}) {
    IFolder* f = nullptr;
    if (FAILED(app->GetDefaultFolder(folder, &f)) || !f) continue;
    IItem* props = nullptr;
    if (SUCCEEDED(f->QueryInterface(IID_IItem, reinterpret_cast<void**>(&props))) && props) {
      CEPROPVAL on{PIMPR_FOLDERNOTIFICATIONS, 0, 0, {}};
      on.val.ulVal = PIMFOLDERNOTIFICATION_REMOTE;
      props->SetProps(0, 1, &on);
      props->Release();
    }
    f->Release();
  }
  m_pApp = app;
}

POApplication::~POApplication() {
  m_pContacts.reset();
  m_pTasks.reset();
  m_pAppointments.reset();
  if (m_pApp) {
    m_pApp->Logoff();
    m_pApp->Release();
  }
  if (m_comStarted) CoUninitialize();
}

POContactsCollection* POApplication::GetContacts() {
  if (!m_pApp) return nullptr;
  if (!m_pContacts) m_pContacts = std::make_unique<POContactsCollection>(this);
  return m_pContacts.get();
}

POTasksCollection* POApplication::GetTasks() {
  if (!m_pApp) return nullptr;
  if (!m_pTasks) m_pTasks = std::make_unique<POTasksCollection>(this);
  return m_pTasks.get();
}

POAppointmentsCollection* POApplication::GetAppointments() {
  if (!m_pApp) return nullptr;
  if (!m_pAppointments) m_pAppointments = std::make_unique<POAppointmentsCollection>(this);
  return m_pAppointments.get();
}

void POApplication::HandleNotification(UINT message, WPARAM wParam, LPARAM lParam) {
  // Each folder's notification goes to its own collection only: a task's
  // OID is no contact's. A collection not made yet reads the folder as it
  // is when it is made.
  if (lParam == olFolderContacts && m_pContacts) m_pContacts->HandleNotification(message, static_cast<LONG>(wParam));
  if (lParam == olFolderCalendar && m_pAppointments)
    m_pAppointments->HandleNotification(message, static_cast<LONG>(wParam));
}
