#include "app/pim_services.h"

#include "actions/actions.h"
#include "pim/outlook_app.h"
#include "pim/sms_store.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"

namespace {

// The history record of calls to one number, as the contact counts them.
class HistoryLink : public POHistoryLink {
 public:
  explicit HistoryLink(mivoHistoryEntry* entry) : m_entry(entry) {}
  int UsageCount() const override { return m_entry ? m_entry->Count() : 0; }

 private:
  mivoHistoryEntry* m_entry;  // owned by the actions history, which outlives the Outlook store
};

}  // namespace

// A contact as the actions see it. It finds its contact again by OID at
// every use: the collection may have made its wrappers anew meanwhile.
class mivoContactDirectoryService::ContactView : public mivoContactInfo {
 public:
  ContactView(POApplication* outlook, std::uint32_t oid) : m_pOutlook(outlook), m_oid(oid) {}
  ~ContactView() override {
    if (m_photo) DeleteObject(m_photo);
  }

  std::uint32_t Oid() override { return m_oid; }
  std::u16string DisplayName() override { return Contact() ? Contact()->GetDisplayName() : std::u16string(); }
  std::u16string Number(int kind) override { return Contact() ? Contact()->GetNumber(kind) : std::u16string(); }
  std::u16string NumberLabel(int kind) override { return POContact::GetNumberLabel(kind); }
  int PreferredKind() override { return Contact() ? Contact()->GetPreferredKind() : 0; }
  HBITMAP Photo() override {
    if (!m_photoRead && Contact()) {
      m_photoRead = true;
      std::u16string path = Contact()->GetPicturePath();
      if (!path.empty()) m_photo = SHLoadImageFile(path.c_str());
    }
    return m_photo;
  }
  void AttachHistoryEntry(int kind, mivoHistoryEntry* entry) override {
    if (POContact* c = Contact()) c->SetHistoryLink(kind, std::make_unique<HistoryLink>(entry));
  }
  // The contact changed: its picture is read again.
  void Forget() {
    if (m_photo) DeleteObject(m_photo);
    m_photo = nullptr;
    m_photoRead = false;
  }

 private:
  POContact* Contact() {
    POContactsCollection* contacts = m_pOutlook ? m_pOutlook->GetContacts() : nullptr;
    return contacts ? contacts->FindContactByOid(static_cast<LONG>(m_oid)) : nullptr;
  }

  POApplication* m_pOutlook;  // not owned
  std::uint32_t m_oid;        // the contact's OID
  HBITMAP m_photo = nullptr;  // the contact's picture, once read; owned
  bool m_photoRead = false;
};

mivoContactDirectoryService::mivoContactDirectoryService(POApplication* outlook, mivoActions* actions)
    : m_pOutlook(outlook), m_pActions(actions) {
  if (POContactsCollection* contacts = m_pOutlook ? m_pOutlook->GetContacts() : nullptr) contacts->AddListener(this);
  if (!m_pActions) return;
  m_pActions->SetContactDirectory(this);
  // The calls counted before the contacts were open count for their numbers too.
  mivoActionsHistory& history = m_pActions->History();
  for (std::size_t i = 0; i < history.Count(); ++i)
    if (mivoHistoryEntry* entry = history.Entry(i)) entry->Action()->OnHistoryEntryCreated(entry);
}

mivoContactDirectoryService::~mivoContactDirectoryService() {
  if (m_pActions && m_pActions->ContactsIfOpen() == this) m_pActions->SetContactDirectory(nullptr);
  if (POContactsCollection* contacts = m_pOutlook ? m_pOutlook->ContactsIfMade() : nullptr)
    contacts->RemoveListener(this);
}

mivoContactInfo* mivoContactDirectoryService::ViewOf(POContact* contact) {
  if (!contact) return nullptr;
  auto oid = static_cast<std::uint32_t>(contact->GetOid());
  auto& view = m_views[oid];
  if (!view) view = std::make_unique<ContactView>(m_pOutlook, oid);
  return view.get();
}

mivoContactInfo* mivoContactDirectoryService::FindContactByOid(std::uint32_t oid) {
  POContactsCollection* contacts = m_pOutlook ? m_pOutlook->GetContacts() : nullptr;
  return oid && contacts ? ViewOf(contacts->FindContactByOid(static_cast<LONG>(oid))) : nullptr;
}

mivoContactInfo* mivoContactDirectoryService::FindContactByNumber(std::u16string_view number, int* kind) {
  POContactsCollection* contacts = m_pOutlook ? m_pOutlook->GetContacts() : nullptr;
  return contacts ? ViewOf(contacts->FindContactByNumber(number, kind)) : nullptr;
}

void mivoContactDirectoryService::OnOutlookListChanged(int source, mivoOutlookObject* list) {
  if (source != kOutlookSourceContacts) return;
  if (auto* contact = dynamic_cast<POContact*>(list)) m_views.erase(static_cast<std::uint32_t>(contact->GetOid()));
}

void mivoContactDirectoryService::OnOutlookItemChanged(int source, mivoOutlookObject* item) {
  if (source != kOutlookSourceContacts) return;
  if (auto* contact = dynamic_cast<POContact*>(item)) {
    auto it = m_views.find(static_cast<std::uint32_t>(contact->GetOid()));
    if (it != m_views.end()) it->second->Forget();
  }
}

// ---- Sending -------------------------------------------------------------------------------------

mivoSMSSenderService::mivoSMSSenderService(mivoSMSStore* store, mivoActions* actions)
    : m_pStore(store), m_pActions(actions) {
  if (m_pActions) m_pActions->SetSMSSender(this);
}

mivoSMSSenderService::~mivoSMSSenderService() {
  if (m_pActions) m_pActions->SetSMSSender(nullptr);
}

bool mivoSMSSenderService::SendSMS(std::u16string_view number, std::u16string_view text) {
  return m_pStore && m_pStore->SendSMS(number, text);
}
