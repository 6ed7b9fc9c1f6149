#include "pim/po_collections.h"

#include <algorithm>

#include "pim/outlook_app.h"
#include "pim/phone_numbers.h"
#include "platform/win32/text.h"

namespace {

BSTR Bstr(const std::u16string& s) { return SysAllocStringLen(s.data(), static_cast<UINT>(s.size())); }

}  // namespace

// ---- POItemCollection ----------------------------------------------------------------------

POItemCollection::POItemCollection(POApplication* app, int folder) : m_pApp(app), m_folder(folder) {
  IPOutlookApp2* outlook = app ? app->GetApp() : nullptr;
  IFolder* f = nullptr;
  if (outlook && SUCCEEDED(outlook->GetDefaultFolder(folder, &f)) && f) {
    if (FAILED(f->get_Items(&m_pItems))) m_pItems = nullptr;
    f->Release();
  }
  // The members fill themselves: MakeWrapper is theirs.
}

POItemCollection::~POItemCollection() {
  // The members empty the lists while their DestroyWrapper still stands.
  if (m_pItems) m_pItems->Release();
}

void POItemCollection::DestroyWrapper(POItem* wrapper) { delete wrapper; }

POItem* POItemCollection::GetItemAt(std::size_t index) const {
  return index < m_wrappers.size() ? m_wrappers[index] : nullptr;
}

void POItemCollection::Fill() {
  for (POItem* w : m_wrappers) DestroyWrapper(w);
  m_wrappers.clear();
  DropIndex();
  if (!m_pItems) return;
  int count = 0;
  if (FAILED(m_pItems->get_Count(&count))) return;
  m_wrappers.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 1; i <= count; ++i) {
    IDispatch* item = nullptr;
    if (FAILED(m_pItems->Item(i, &item)) || !item) continue;
    if (POItem* w = MakeWrapper(item)) m_wrappers.push_back(w);
  }
}

void POItemCollection::Refresh() {
  IPOutlookApp2* outlook = m_pApp ? m_pApp->GetApp() : nullptr;
  IFolder* f = nullptr;
  if (outlook && SUCCEEDED(outlook->GetDefaultFolder(m_folder, &f)) && f) {
    IPOutlookItemCollection* items = nullptr;
    if (SUCCEEDED(f->get_Items(&items)) && items) {
      if (m_pItems) m_pItems->Release();
      m_pItems = items;
    }
    f->Release();
  }
  Fill();
}

POItem* POItemCollection::FindItem(const std::u16string& restriction) {
  if (!m_pItems) return nullptr;
  BSTR text = Bstr(restriction);
  IDispatch* item = nullptr;
  HRESULT hr = m_pItems->Find(text, &item);
  SysFreeString(text);
  if (FAILED(hr) || !item) return nullptr;
  POItem* w = MakeWrapper(item);
  if (!w) return nullptr;
  // The collection's own wrapper when it has one; else the new one, kept.
  if (POItem* known = FindByOid(w->GetOid())) {
    DestroyWrapper(w);
    return known;
  }
  m_found.push_back(w);
  return w;
}

std::vector<std::unique_ptr<POItem>> POItemCollection::FindAll(const std::u16string& restriction) {
  std::vector<std::unique_ptr<POItem>> out;
  if (!m_pItems) return out;
  BSTR text = Bstr(restriction);
  IPOutlookItemCollection* matching = nullptr;
  HRESULT hr = m_pItems->Restrict(text, &matching);
  SysFreeString(text);
  if (FAILED(hr) || !matching) return out;
  int count = 0;
  matching->get_Count(&count);
  for (int i = 1; i <= count; ++i) {
    IDispatch* item = nullptr;
    if (FAILED(matching->Item(i, &item)) || !item) continue;
    if (POItem* w = MakeWrapper(item)) out.emplace_back(w);
  }
  matching->Release();
  return out;
}

bool POItemCollection::Sort(const std::u16string& property, bool descending) {
  if (!m_pItems) return false;
  BSTR text = Bstr(property);
  HRESULT hr = m_pItems->Sort(text, descending ? VARIANT_TRUE : VARIANT_FALSE);
  SysFreeString(text);
  if (FAILED(hr)) return false;
  Fill();
  return true;
}

POItem* POItemCollection::FindByOid(LONG oid) const {
  if (oid == 0) return nullptr;
  // Pages look contacts up by OID at every paint: an index, not a walk.
  if (!m_indexValid) {
    m_byOid.clear();
    for (POItem* w : m_wrappers) m_byOid.emplace(w->GetOid(), w);
    m_indexValid = true;
  }
  auto it = m_byOid.find(oid);
  return it != m_byOid.end() ? it->second : nullptr;
}

void POItemCollection::Detach(POItem* wrapper) {
  std::erase(m_wrappers, wrapper);
  DropIndex();
}

void POItemCollection::Append(POItem* wrapper) {
  m_wrappers.push_back(wrapper);
  DropIndex();
}

void POItemCollection::Insert(std::size_t index, POItem* wrapper) {
  m_wrappers.insert(m_wrappers.begin() + static_cast<std::ptrdiff_t>(std::min(index, m_wrappers.size())), wrapper);
  DropIndex();
}

// ---- POContactsCollection -------------------------------------------------------------------------

POContactsCollection::POContactsCollection(POApplication* app) : POItemCollection(app, olFolderContacts) {
  Fill();
  SortByName();
}

namespace {

// The Latin letters U+00C0-U+017F without their accents, lower case ("?"
// for the two signs among them), so that "Černý" is ordered among the C.
constexpr char16_t kUnaccented[] =
    u"aaaaaaaceeeeiiiidnooooo?ouuuuytsaaaaaaaceeeeiiiidnooooo?ouuuuytyaaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiii"
    u"iiiiiijjkkkllllllllllnnnnnnnnnoooooooorrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";

// The name a contact is ordered by: "last first", else the first name alone,
// else the alternative name; first without accents and case, then as written.
std::u16string OrderKey(POContact& c) {
  const std::u16string& first = c.GetFirstName();
  const std::u16string& last = c.GetLastName();
  const std::u16string name = !last.empty()    ? (first.empty() ? last : last + u" " + first)
                              : !first.empty() ? first
                                               : c.GetAlternativeName();
  std::u16string key = text::ToLower(name);
  for (char16_t& ch : key)
    if (ch >= 0xC0 && ch <= 0x17F) ch = kUnaccented[ch - 0xC0];
  return key + u'\x01' + name;
}

}  // namespace

bool POContactsCollection::NameOrder(POContact& a, POContact& b) { return OrderKey(a) < OrderKey(b); }

void POContactsCollection::SortByName() {
  std::vector<std::pair<std::u16string, POItem*>> keyed;
  keyed.reserve(m_wrappers.size());
  for (POItem* w : m_wrappers) keyed.emplace_back(OrderKey(*static_cast<POContact*>(w)), w);
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < keyed.size(); ++i) m_wrappers[i] = keyed[i].second;
  DropIndex();
}

POContactsCollection::~POContactsCollection() {
  for (POItem* w : m_wrappers) DestroyWrapper(w);
  for (POItem* w : m_found) DestroyWrapper(w);
  m_wrappers.clear();
  m_found.clear();
}

POItem* POContactsCollection::MakeWrapper(IDispatch* item) {
  // Only a contact is a contact's wrapper: an item of another folder is let go.
  void* contact = nullptr;
  if (!item || FAILED(item->QueryInterface(IID_IContact, &contact))) {
    if (item) item->Release();
    return nullptr;
  }
  static_cast<IContact*>(contact)->Release();
  return new POContact(item);
}

void POContactsCollection::HandleNotification(UINT message, LONG oid) {
  if (message == PIM_ITEM_CREATED_REMOTE) {
    IDispatch* item = nullptr;
    IPOutlookApp2* outlook = m_pApp ? m_pApp->GetApp() : nullptr;
    if (!outlook || FAILED(outlook->GetItemFromOid(oid, &item)) || !item) return;
    // Announced twice (or already read when the collection was filled): once.
    if (FindByOid(oid)) {
      item->Release();
      return;
    }
    POItem* w = MakeWrapper(item);
    if (!w) return;
    // Its place in the order of names: after every contact that does not come later.
    auto* added = static_cast<POContact*>(w);
    auto at = std::upper_bound(m_wrappers.begin(), m_wrappers.end(), added, [](POItem* a, POItem* b) {
      return NameOrder(*static_cast<POContact*>(a), *static_cast<POContact*>(b));
    });
    Insert(static_cast<std::size_t>(at - m_wrappers.begin()), w);
    OnOutlookItemAdded(kOutlookSourceContacts, w);
  } else if (message == PIM_ITEM_DELETED_REMOTE) {
    POItem* w = FindByOid(oid);
    if (!w) return;
    Detach(w);
    OnOutlookListChanged(kOutlookSourceContacts, w);
    DestroyWrapper(w);
  } else {
    POItem* w = FindByOid(oid);
    if (!w) return;
    // What it shows is read again.
    w->DropCache();
    OnOutlookItemChanged(kOutlookSourceContacts, w);
  }
}

POContact* POContactsCollection::FindContactByNumber(std::u16string_view number, int* kind) const {
  bool digits = std::any_of(number.begin(), number.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
  if (!digits) return nullptr;
  for (POItem* w : m_wrappers) {
    auto* c = static_cast<POContact*>(w);
    for (int k = 1; k <= 8; ++k) {
      const std::u16string& n = c->GetNumber(k);
      if (!n.empty() && mivoPhoneNumbersEqual(n, number)) {
        if (kind) *kind = k;
        return c;
      }
    }
  }
  return nullptr;
}

// ---- Tasks and appointments ----------------------------------------------------------------------------

POTasksCollection::POTasksCollection(POApplication* app) : POItemCollection(app, olFolderTasks) { Fill(); }

POTasksCollection::~POTasksCollection() {
  for (POItem* w : m_wrappers) DestroyWrapper(w);
  for (POItem* w : m_found) DestroyWrapper(w);
  m_wrappers.clear();
  m_found.clear();
}

POItem* POTasksCollection::MakeWrapper(IDispatch* item) { return item ? new POTask(item) : nullptr; }

POAppointmentsCollection::POAppointmentsCollection(POApplication* app) : POItemCollection(app, olFolderCalendar) {
  Fill();
}

POAppointmentsCollection::~POAppointmentsCollection() {
  for (POItem* w : m_wrappers) DestroyWrapper(w);
  for (POItem* w : m_found) DestroyWrapper(w);
  m_wrappers.clear();
  m_found.clear();
}

POItem* POAppointmentsCollection::MakeWrapper(IDispatch* item) { return item ? new POAppointment(item) : nullptr; }

void POAppointmentsCollection::HandleNotification(UINT, LONG) {
  // Whatever changed (an appointment added, moved, deleted), the folder is
  // read again whole: the list is short and its order follows the times.
  Refresh();
  OnOutlookListChanged(kOutlookSourceAppointments, this);
}
