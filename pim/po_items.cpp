#include "pim/po_items.h"

#include "platform/win32/clock.h"

namespace {

std::u16string Take(BSTR s) {
  std::u16string out = s ? std::u16string(s, SysStringLen(s)) : std::u16string();
  SysFreeString(s);
  return out;
}

// Reads a text property; empty when it cannot be read.
template <typename I>
std::u16string Read(I* item, HRESULT (I::*get)(BSTR*)) {
  if (!item) return std::u16string();
  BSTR s = nullptr;
  if (FAILED((item->*get)(&s))) {
    SysFreeString(s);
    return std::u16string();
  }
  return Take(s);
}

template <typename I>
I* Ask(IDispatch* item, const IID& iid, bool* asked, I** cached) {
  if (!*asked) {
    *asked = true;
    void* p = nullptr;
    if (item && SUCCEEDED(item->QueryInterface(iid, &p))) *cached = static_cast<I*>(p);
  }
  return *cached;
}

}  // namespace

bool mivoLocalDateToTime(DATE date, std::int64_t* time) {
  SYSTEMTIME st;
  FILETIME local, utc;
  if (!VariantTimeToSystemTime(date, &st) || !SystemTimeToFileTime(&st, &local) ||
      !LocalFileTimeToFileTime(&local, &utc))
    return false;
  std::uint64_t ticks = (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
  if (time) *time = static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL;
  return true;
}

// ---- POItem ---------------------------------------------------------------------------------

POItem::POItem(IDispatch* item) : m_pItem(item) {}

POItem::~POItem() {
  if (m_pItem) m_pItem->Release();
}

LONG POItem::GetOid() {
  if (!m_hasOid && m_pItem) {
    m_hasOid = true;
    // Every item kind answers its OID; ask the one it is.
    void* p = nullptr;
    if (SUCCEEDED(m_pItem->QueryInterface(IID_IContact, &p))) {
      static_cast<IContact*>(p)->get_Oid(&m_oid);
      static_cast<IContact*>(p)->Release();
    } else if (SUCCEEDED(m_pItem->QueryInterface(IID_ITask, &p))) {
      static_cast<ITask*>(p)->get_Oid(&m_oid);
      static_cast<ITask*>(p)->Release();
    } else if (SUCCEEDED(m_pItem->QueryInterface(IID_IAppointment, &p))) {
      static_cast<IAppointment*>(p)->get_Oid(&m_oid);
      static_cast<IAppointment*>(p)->Release();
    }
  }
  return m_oid;
}

// ---- POContact -------------------------------------------------------------------------------

POContact::POContact(IDispatch* item) : POItem(item) {}

POContact::~POContact() {
  if (m_pContact) m_pContact->Release();
}

IContact* POContact::Contact() { return Ask(m_pItem, IID_IContact, &m_asked, &m_pContact); }

const std::u16string& POContact::GetFirstName() {
  if (!m_hasFirst) {
    m_first = Read(Contact(), &IContact::get_FirstName);
    m_hasFirst = true;
  }
  return m_first;
}

const std::u16string& POContact::GetLastName() {
  if (!m_hasLast) {
    m_last = Read(Contact(), &IContact::get_LastName);
    m_hasLast = true;
  }
  return m_last;
}

const std::u16string& POContact::GetAlternativeName() {
  if (!m_hasAlternative) {
    m_alternative = Read(Contact(), &IContact::get_FileAs);
    if (m_alternative.empty()) m_alternative = Read(Contact(), &IContact::get_CompanyName);
    if (m_alternative.empty()) m_alternative = Read(Contact(), &IContact::get_Email1Address);
    m_hasAlternative = true;
  }
  return m_alternative;
}

std::u16string POContact::GetDisplayName() {
  std::u16string name = GetFirstName() + u" " + GetLastName();
  return name == u" " ? GetAlternativeName() : name;
}

const std::u16string& POContact::GetNumber(int kind) {
  static const std::u16string kNone;
  static HRESULT (IContact::*const kGetters[9])(BSTR*) = {nullptr,
                                                          &IContact::get_MobileTelephoneNumber,
                                                          &IContact::get_AssistantTelephoneNumber,
                                                          &IContact::get_BusinessTelephoneNumber,
                                                          &IContact::get_Business2TelephoneNumber,
                                                          &IContact::get_CarTelephoneNumber,
                                                          &IContact::get_HomeTelephoneNumber,
                                                          &IContact::get_Home2TelephoneNumber,
                                                          &IContact::get_RadioTelephoneNumber};
  if (kind < 1 || kind > 8) return kNone;
  if (!m_hasNumber[kind]) {
    m_numbers[kind] = Read(Contact(), kGetters[kind]);
    m_hasNumber[kind] = true;
  }
  return m_numbers[kind];
}

std::u16string POContact::GetFirstNumber() {
  for (int kind = 1; kind <= 8; ++kind) {
    const std::u16string& n = GetNumber(kind);
    if (!n.empty()) return n;
  }
  return u"(no phone number)";
}

std::u16string POContact::GetNumberLabel(int kind) {
  switch (kind) {
    case 1: return u"Mobile phone";
    case 2: return u"Assisnant phone";
    case 3: return u"Business phone";
    case 4: return u"Business 2 phone";
    case 5: return u"car phone";
    case 6: return u"Home phone";
    case 7: return u"Home 2 phone";
    case 8: return u"Radio phone";
    default: return u"(error)";
  }
}

// The kind called most (by the history's counts) when one kind alone holds
// the highest count above 0; else the only kind that has a number; else none.
int POContact::GetPreferredKind() {
  int best = 0, bestCount = 0, ties = 0, withNumber = 0, numbers = 0;
  for (int kind = 1; kind <= 8; ++kind) {
    if (!GetNumber(kind).empty()) {
      ++numbers;
      withNumber = kind;
    }
    if (!m_history[kind]) continue;
    int count = m_history[kind]->UsageCount();
    if (count > bestCount) {
      bestCount = count;
      best = kind;
      ties = 1;
    } else if (count == bestCount) {
      ++ties;
    }
  }
  if (ties == 1 && bestCount > 0) return best;
  if (numbers == 1) return withNumber;
  return 0;
}

std::u16string POContact::GetPicturePath() { return Read(Contact(), &IContact::get_Picture); }

const std::u16string& POContact::GetField(int field) {
  static const std::u16string kNone;
  static HRESULT (IContact::*const kGetters[kFieldCount])(BSTR*) = {&IContact::get_MiddleName,
                                                                    &IContact::get_Suffix,
                                                                    &IContact::get_Title,
                                                                    &IContact::get_CompanyName,
                                                                    &IContact::get_Department,
                                                                    &IContact::get_Email1Address,
                                                                    &IContact::get_Email2Address,
                                                                    &IContact::get_Email3Address,
                                                                    &IContact::get_OfficeLocation,
                                                                    &IContact::get_JobTitle,
                                                                    &IContact::get_AssistantName,
                                                                    &IContact::get_HomeAddressStreet,
                                                                    &IContact::get_HomeAddressCity,
                                                                    &IContact::get_HomeAddressState,
                                                                    &IContact::get_HomeAddressPostalCode,
                                                                    &IContact::get_HomeAddressCountry,
                                                                    &IContact::get_OtherAddressStreet,
                                                                    &IContact::get_OtherAddressCity,
                                                                    &IContact::get_OtherAddressState,
                                                                    &IContact::get_OtherAddressPostalCode,
                                                                    &IContact::get_OtherAddressCountry,
                                                                    &IContact::get_BusinessAddressStreet,
                                                                    &IContact::get_BusinessAddressCity,
                                                                    &IContact::get_BusinessAddressState,
                                                                    &IContact::get_BusinessAddressPostalCode,
                                                                    &IContact::get_BusinessAddressCountry,
                                                                    &IContact::get_Body};
  if (field < 0 || field >= kFieldCount) return kNone;
  if (!m_hasFields) {
    m_hasFields = true;
    IContact* contact = Contact();
    for (int f = 0; f < kFieldCount; ++f) m_fields[f] = Read(contact, kGetters[f]);
  }
  return m_fields[field];
}

POHistoryLink* POContact::GetHistoryLink(int kind) const {
  return kind >= 1 && kind <= 8 ? m_history[kind].get() : nullptr;
}

void POContact::SetHistoryLink(int kind, std::unique_ptr<POHistoryLink> link) {
  if (kind >= 1 && kind <= 8) m_history[kind] = std::move(link);
}

void POContact::DropCache() {
  m_hasFirst = m_hasLast = m_hasAlternative = m_hasFields = false;
  m_hasNumber.fill(false);
}

// ---- POTask ----------------------------------------------------------------------------------

POTask::POTask(IDispatch* item) : POItem(item) {}

POTask::~POTask() {
  if (m_pTask) m_pTask->Release();
}

ITask* POTask::Task() { return Ask(m_pItem, IID_ITask, &m_asked, &m_pTask); }

std::u16string POTask::GetSubject() { return Read(Task(), &ITask::get_Subject); }

bool POTask::IsComplete() {
  VARIANT_BOOL done = VARIANT_FALSE;
  return Task() && SUCCEEDED(Task()->get_Complete(&done)) && done != VARIANT_FALSE;
}

int POTask::GetImportance() {
  LONG importance = 1;
  if (!Task() || FAILED(Task()->get_Importance(&importance)) || importance < 0 || importance > 2) return 1;
  return static_cast<int>(importance);
}

std::u16string POTask::GetCategories() { return Read(Task(), &ITask::get_Categories); }
std::u16string POTask::GetNotes() { return Read(Task(), &ITask::get_Body); }

bool POTask::Date(HRESULT (ITask::*get)(DATE*), CachedDate* cache, std::int64_t* time) {
  if (!cache->read) {
    cache->read = true;
    DATE d = 0;
    cache->present =
        Task() && SUCCEEDED((Task()->*get)(&d)) && d > 0 && d != kPoomNoDate && mivoLocalDateToTime(d, &cache->time);
  }
  if (cache->present && time) *time = cache->time;
  return cache->present;
}

bool POTask::GetStartDate(std::int64_t* time) { return Date(&ITask::get_StartDate, &m_start, time); }
bool POTask::GetDueDate(std::int64_t* time) { return Date(&ITask::get_DueDate, &m_due, time); }
bool POTask::GetDateCompleted(std::int64_t* time) { return Date(&ITask::get_DateCompleted, &m_completed, time); }

void POTask::DropCache() { m_start = m_due = m_completed = CachedDate{}; }

// ---- POAppointment ------------------------------------------------------------------------------

POAppointment::POAppointment(IDispatch* item) : POItem(item) {}

POAppointment::~POAppointment() {
  if (m_pAppointment) m_pAppointment->Release();
}

IAppointment* POAppointment::Appointment() { return Ask(m_pItem, IID_IAppointment, &m_asked, &m_pAppointment); }

std::u16string POAppointment::GetSubject() { return Read(Appointment(), &IAppointment::get_Subject); }
std::u16string POAppointment::GetLocation() { return Read(Appointment(), &IAppointment::get_Location); }
std::u16string POAppointment::GetNotes() { return Read(Appointment(), &IAppointment::get_Body); }

bool POAppointment::IsAllDay() {
  VARIANT_BOOL all = VARIANT_FALSE;
  return Appointment() && SUCCEEDED(Appointment()->get_AllDayEvent(&all)) && all != VARIANT_FALSE;
}

bool POAppointment::Date(HRESULT (IAppointment::*get)(DATE*), CachedDate* cache, std::int64_t* time) {
  if (!cache->read) {
    cache->read = true;
    cache->value = 0;
    if (!Appointment() || FAILED((Appointment()->*get)(&cache->value))) cache->value = 0;
  }
  return cache->value != 0 && mivoLocalDateToTime(cache->value, time);
}

bool POAppointment::GetStart(std::int64_t* time) { return Date(&IAppointment::get_Start, &m_start, time); }
bool POAppointment::GetEnd(std::int64_t* time) { return Date(&IAppointment::get_End, &m_end, time); }

void POAppointment::DropCache() { m_start = m_end = CachedDate{}; }
