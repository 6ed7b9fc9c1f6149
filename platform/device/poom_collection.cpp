// Item collections: the folder's items as they were when the collection was
// made, in the order they were made (or sorted), with Find and Restrict.
#include <algorithm>

#include "platform/device/poom_objects.h"
#include "platform/win32/text.h"

const IID IID_IPOutlookItemCollection = {0x7F804E43, 0x2010, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};

namespace poom {

namespace {

std::vector<ItemRecord> ReadFolder(int folder) {
  std::vector<ItemRecord> records;
  switch (folder) {
    case device::kFolderContacts:
      for (auto& c : device::ListContacts()) records.emplace_back(std::move(c));
      break;
    case device::kFolderTasks:
      for (auto& t : device::ListTasks()) records.emplace_back(std::move(t));
      break;
    case device::kFolderCalendar:
      for (auto& a : device::ListAppointments()) records.emplace_back(std::move(a));
      break;
    default: break;
  }
  return records;
}

// "[LastName]" or "LastName" -> "LastName".
std::u16string PropertyName(BSTR text) {
  std::u16string s = text::Trim(std::u16string(text ? text : u""));
  if (s.size() >= 2 && s.front() == u'[' && s.back() == u']') s = s.substr(1, s.size() - 2);
  return s;
}

int Compare(const FieldValue& a, const FieldValue& b) {
  if (a.kind == FieldValue::Kind::kText) return text::ToLower(a.text).compare(text::ToLower(b.text));
  return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
}

class CCollection : public ComBase<IPOutlookItemCollection> {
 public:
  CCollection(int folder, std::vector<ItemRecord> records) : m_folder(folder), m_records(std::move(records)) {}

  HRESULT get_Count(int* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<int>(m_records.size());
    return S_OK;
  }

  HRESULT Item(int index, IDispatch** item) override {
    if (!item) return E_POINTER;
    *item = nullptr;
    if (index < 1 || static_cast<std::size_t>(index) > m_records.size()) return E_INVALIDARG;
    *item = MakeItem(m_records[static_cast<std::size_t>(index) - 1]);
    return S_OK;
  }

  HRESULT Find(BSTR restriction, IDispatch** item) override {
    if (!item) return E_POINTER;
    *item = nullptr;
    std::string error;
    m_find = Restriction::Parse(restriction ? restriction : u"", &error);
    m_findNext = 0;
    if (!m_find) return E_INVALIDARG;
    return FindNext(item);
  }

  HRESULT FindNext(IDispatch** item) override {
    if (!item) return E_POINTER;
    *item = nullptr;
    if (!m_find) return E_UNEXPECTED;
    while (m_findNext < m_records.size()) {
      const ItemRecord& r = m_records[m_findNext++];
      if (m_find->Matches([&](std::u16string_view name, FieldValue* out) { return ItemField(r, name, out); })) {
        *item = MakeItem(r);
        return S_OK;
      }
    }
    return S_OK;  // none: a null item, as the object model answers
  }

  HRESULT Restrict(BSTR restriction, IPOutlookItemCollection** items) override {
    if (!items) return E_POINTER;
    *items = nullptr;
    std::string error;
    auto r = Restriction::Parse(restriction ? restriction : u"", &error);
    if (!r) return E_INVALIDARG;
    std::vector<ItemRecord> kept;
    for (const ItemRecord& rec : m_records)
      if (r->Matches([&](std::u16string_view name, FieldValue* out) { return ItemField(rec, name, out); }))
        kept.push_back(rec);
    *items = MakeCollection(m_folder, std::move(kept));
    return S_OK;
  }

  HRESULT Sort(BSTR property, VARIANT_BOOL descending) override {
    std::u16string name = PropertyName(property);
    if (name.empty()) return E_INVALIDARG;
    FieldValue probe;
    // A property the items do not have at all is refused; one that some
    // items lack puts those last.
    if (!m_records.empty() && std::none_of(m_records.begin(), m_records.end(),
                                           [&](const ItemRecord& r) { return ItemField(r, name, &probe); })) {
      bool known = false;
      // Dates an item may lack (a task's due date) are still properties.
      for (const char16_t* optional : {u"birthday", u"startdate", u"duedate", u"datecompleted"})
        known = known || text::ToLower(name) == optional;
      if (!known) return E_INVALIDARG;
    }
    bool down = descending != VARIANT_FALSE;
    std::stable_sort(m_records.begin(), m_records.end(), [&](const ItemRecord& a, const ItemRecord& b) {
      FieldValue x, y;
      bool hx = ItemField(a, name, &x), hy = ItemField(b, name, &y);
      if (!hx || !hy) return hx && !hy;
      int c = Compare(x, y);
      return down ? c > 0 : c < 0;
    });
    m_findNext = 0;
    return S_OK;
  }

  HRESULT Add(IDispatch** item) override {
    if (!item) return E_POINTER;
    switch (m_folder) {
      case device::kFolderContacts: *item = MakeItem(device::ContactRecord{}); return S_OK;
      case device::kFolderTasks: *item = MakeItem(device::TaskRecord{}); return S_OK;
      case device::kFolderCalendar: *item = MakeItem(device::AppointmentRecord{}); return S_OK;
      default: *item = nullptr; return E_FAIL;
    }
  }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IPOutlookItemCollection || iid == IID_IDispatch; }

 private:
  int m_folder;                         // olFolderContacts, ...
  std::vector<ItemRecord> m_records;    // the items, in the collection's order
  std::unique_ptr<Restriction> m_find;  // the last Find's restriction
  std::size_t m_findNext = 0;           // where FindNext goes on
};

}  // namespace

IPOutlookItemCollection* MakeCollection(int folder) { return new CCollection(folder, ReadFolder(folder)); }

IPOutlookItemCollection* MakeCollection(int folder, std::vector<ItemRecord> records) {
  return new CCollection(folder, std::move(records));
}

}  // namespace poom
