// The application object, its default folders and their notification
// switch, and the hub that turns the change log's personal-data rows into
// fresh items and posted notifications.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/device/poom_objects.h"
#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/local_memory.h"
#include "platform/window/message.h"

const CLSID CLSID_Application = {0xFB8998D0, 0x38F0, 0x4D12, {0xAC, 0x56, 0x4E, 0xC8, 0xFC, 0xE9, 0xF3, 0xD5}};
const IID IID_IPOutlookApp2 = {0xAF7D0DC7, 0x3D35, 0x424B, {0xAA, 0x60, 0x27, 0xA3, 0x8B, 0x8B, 0x62, 0x9E}};
const IID IID_IFolder = {0x7F804E44, 0x2010, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
const IID IID_IItem = {0x7F804E45, 0x2010, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};

namespace poom {

namespace {

class CApplication;

// Follows the change log's personal-data rows while an application is
// logged on: items hear that they changed, applications post notifications.
class Hub {
 public:
  static Hub& Instance() {
    static Hub* hub = new Hub;  // lives to the end of the process
    return *hub;
  }

  void Attach(CApplication* app) {
    bool subscribe;
    {
      std::lock_guard<std::recursive_mutex> lock(m_mutex);
      if (std::find(m_apps.begin(), m_apps.end(), app) != m_apps.end()) return;
      m_apps.push_back(app);
      subscribe = m_subscription == 0;
      if (subscribe) m_subscription = -1;
    }
    if (!subscribe) return;
    int id = devdb::SubscribeChanges("pim", [this](const devdb::Change& c) { Dispatch(c); });
    {
      std::lock_guard<std::recursive_mutex> lock(m_mutex);
      m_subscription = id;
    }
    std::lock_guard<std::mutex> stamps(m_stampMutex);
    m_tracking = devdb::ChangeWatcherActive();
  }

  // After it returns the application is not called again.
  void Detach(CApplication* app) {
    int unsubscribe = 0;
    {
      std::lock_guard<std::recursive_mutex> lock(m_mutex);
      auto it = std::find(m_apps.begin(), m_apps.end(), app);
      if (it == m_apps.end()) return;
      m_apps.erase(it);
      if (m_apps.empty() && m_subscription > 0) {
        unsubscribe = m_subscription;
        m_subscription = 0;
      }
    }
    if (unsubscribe) {
      devdb::UnsubscribeChanges(unsubscribe);
      std::lock_guard<std::mutex> stamps(m_stampMutex);
      m_tracking = false;
      m_changed.clear();
    }
  }

  ItemStamp Stamp(std::int64_t oid) {
    std::lock_guard<std::mutex> lock(m_stampMutex);
    if (!m_tracking) {
      devdb::Database* db = devdb::DeviceDatabase();
      return ItemStamp{false, db ? db->DataVersion() : 0};
    }
    auto it = m_changed.find(oid);
    return ItemStamp{true, it == m_changed.end() ? 0 : it->second};
  }

  void Note(std::int64_t oid) {
    std::lock_guard<std::mutex> lock(m_stampMutex);
    if (m_tracking) m_changed[oid] = ++m_total;
  }

 private:
  void Dispatch(const devdb::Change& change);

  std::recursive_mutex m_mutex;       // guards m_apps and m_subscription; held while applications are told
  std::vector<CApplication*> m_apps;  // the logged-on applications
  int m_subscription = 0;             // the change log subscription; 0 none
  std::mutex m_stampMutex;            // guards the three below
  bool m_tracking = false;            // the change log is followed
  std::unordered_map<std::int64_t, std::int64_t> m_changed;  // OID -> m_total at its last change
  std::int64_t m_total = 0;                                  // changes seen
};

class CApplication : public ComBase<IPOutlookApp2> {
 public:
  ~CApplication() override { Hub::Instance().Detach(this); }

  HRESULT Logon(HWND hWnd) override {
    if (!devdb::DeviceDatabase()) return E_FAIL;
    m_window = hWnd;
    Hub::Instance().Attach(this);
    return S_OK;
  }
  HRESULT Logoff() override {
    Hub::Instance().Detach(this);
    m_window = nullptr;
    return S_OK;
  }
  HRESULT GetDefaultFolder(int olFolder, IFolder** folder) override;
  HRESULT GetItemFromOid(LONG oid, IDispatch** item) override {
    if (!item) return E_POINTER;
    *item = nullptr;
    ItemRecord record;
    if (oid <= 0 || !LoadItem(oid, &record)) return E_INVALIDARG;
    *item = MakeItem(std::move(record));
    return S_OK;
  }

  void SetNotifications(int folder, DWORD flags) {
    std::lock_guard<std::mutex> lock(m_notifyMutex);
    m_notify[folder] = flags;
  }
  DWORD Notifications(int folder) {
    std::lock_guard<std::mutex> lock(m_notifyMutex);
    auto it = m_notify.find(folder);
    return it == m_notify.end() ? 0 : it->second;
  }

  // On the change watcher's thread: posts what the folder asked for.
  void Notify(const devdb::Change& change) {
    int folder = std::atoi(change.name.c_str());
    DWORD flags = Notifications(folder);
    bool own = device::IsOwnChange(change.id);
    if (!(flags & (own ? PIMFOLDERNOTIFICATION_LOCAL : PIMFOLDERNOTIFICATION_REMOTE)) || !m_window) return;
    UINT base = own ? PIM_ITEM_CREATED_LOCAL : PIM_ITEM_CREATED_REMOTE;
    UINT kind = change.op == "insert" ? 0 : change.op == "delete" ? 1 : 2;
    PostMessageW(m_window, base + kind, static_cast<WPARAM>(std::strtoll(change.ref.c_str(), nullptr, 10)), folder);
  }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IPOutlookApp2 || iid == IID_IDispatch; }

 private:
  HWND m_window = nullptr;                  // the logged-on window that hears of changes
  std::mutex m_notifyMutex;                 // guards m_notify (set on the UI thread, read by the watcher)
  std::unordered_map<int, DWORD> m_notify;  // folder -> PIMFOLDERNOTIFICATION_* bits
};

void Hub::Dispatch(const devdb::Change& change) {
  Note(std::strtoll(change.ref.c_str(), nullptr, 10));
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  for (CApplication* app : m_apps) app->Notify(change);
}

// A folder's item properties: the notification switch.
class CFolderProps : public ComBase<IItem> {
 public:
  CFolderProps(CApplication* app, int folder) : m_app(app), m_folder(folder) { m_app->AddRef(); }
  ~CFolderProps() override { m_app->Release(); }

  HRESULT SetProps(ULONG, WORD cProps, CEPROPVAL* rgVals) override {
    if (cProps && !rgVals) return E_INVALIDARG;
    for (WORD i = 0; i < cProps; ++i)
      if (rgVals[i].propid != PIMPR_FOLDERNOTIFICATIONS) return E_PROP_NOT_SUPPORTED;
    for (WORD i = 0; i < cProps; ++i) m_app->SetNotifications(m_folder, rgVals[i].val.ulVal);
    return S_OK;
  }

  HRESULT GetProps(const CEPROPID* rgPropID, ULONG, WORD cProps, CEPROPVAL** prgVals, ULONG* pcbBuffer,
                   HANDLE) override {
    if (!prgVals || (cProps && !rgPropID)) return E_INVALIDARG;
    ULONG bytes = static_cast<ULONG>(sizeof(CEPROPVAL) * (cProps ? cProps : 1));
    if (pcbBuffer) *pcbBuffer = bytes;
    auto* vals = static_cast<CEPROPVAL*>(LocalAlloc(LMEM_ZEROINIT, bytes));
    if (!vals) return E_OUTOFMEMORY;
    HRESULT hr = S_OK;
    for (WORD i = 0; i < cProps; ++i) {
      vals[i].propid = rgPropID[i];
      if (rgPropID[i] == PIMPR_FOLDERNOTIFICATIONS) {
        vals[i].val.ulVal = m_app->Notifications(m_folder);
      } else {
        vals[i].wFlags = 0x0002;  // the property is missing
        hr = E_PROP_NOT_SUPPORTED;
      }
    }
    *prgVals = vals;
    return hr;
  }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IItem || iid == IID_IDispatch; }

 private:
  CApplication* m_app;  // holds a reference
  int m_folder;
};

class CFolder : public ComBase<IFolder> {
 public:
  CFolder(CApplication* app, int folder) : m_app(app), m_folder(folder) { m_app->AddRef(); }
  ~CFolder() override { m_app->Release(); }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object && iid == IID_IItem) {
      *object = static_cast<IItem*>(new CFolderProps(m_app, m_folder));
      return S_OK;
    }
    return ComBase<IFolder>::QueryInterface(iid, object);
  }
  HRESULT get_Items(IPOutlookItemCollection** items) override {
    if (!items) return E_POINTER;
    *items = MakeCollection(m_folder);
    return S_OK;
  }
  HRESULT get_DefaultItemType(int* type) override {
    if (!type) return E_POINTER;
    *type = m_folder == olFolderContacts ? olContactItem : m_folder == olFolderTasks ? olTaskItem : olAppointmentItem;
    return S_OK;
  }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IFolder || iid == IID_IDispatch; }

 private:
  CApplication* m_app;  // holds a reference
  int m_folder;         // olFolderContacts, olFolderTasks or olFolderCalendar
};

HRESULT CApplication::GetDefaultFolder(int olFolder, IFolder** folder) {
  if (!folder) return E_POINTER;
  *folder = nullptr;
  if (olFolder != olFolderContacts && olFolder != olFolderTasks && olFolder != olFolderCalendar) return E_INVALIDARG;
  *folder = new CFolder(this, olFolder);
  return S_OK;
}

HRESULT CreateApplication(REFIID iid, LPVOID* object) {
  auto* app = new CApplication;
  HRESULT hr = app->QueryInterface(iid, object);
  app->Release();
  return hr;
}

// The class is known to CoCreateInstance from the start.
const bool g_registered = [] {
  RegisterComClass(CLSID_Application, &CreateApplication);
  return true;
}();

}  // namespace

ItemStamp StampOfItem(std::int64_t oid) { return Hub::Instance().Stamp(oid); }

void NoteItemWritten(std::int64_t oid) { Hub::Instance().Note(oid); }

}  // namespace poom
