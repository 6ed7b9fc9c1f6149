// Contact, task and appointment items: their properties from the record
// (read again when it changed), a few setters, Save and Delete; and the
// properties by name that restrictions and sorting use.
#include <cmath>

#include "platform/device/poom_objects.h"
#include "platform/win32/text.h"

const IID IID_IContact = {0x7F804E40, 0x2010, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
const IID IID_ITask = {0x7F804E41, 0x2010, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};
const IID IID_IAppointment = {0x7F804E42, 0x2010, 0x11D2, {0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35}};

namespace poom {

namespace {

HRESULT Text(const std::u16string& s, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// Up to the terminator: callers often hand in plain texts for BSTRs.
HRESULT SetText(std::u16string* field, BSTR value) {
  *field = value ? std::u16string(value) : std::u16string();
  return S_OK;
}

HRESULT Date(const std::optional<double>& d, DATE* out) {
  if (!out) return E_POINTER;
  *out = d.value_or(kPoomNoDate);
  return S_OK;
}

std::optional<double> Given(DATE d) {
  return d <= 0 || d == kPoomNoDate || !std::isfinite(d) ? std::nullopt : std::optional<double>(d);
}

std::int64_t OidOf(const ItemRecord& r) {
  return std::visit([](const auto& rec) { return rec.oid; }, r);
}

// What the three items share: the record, kept fresh, and Save and Delete.
class ItemHolder {
 public:
  explicit ItemHolder(const ItemRecord& record) : m_record(record), m_stamp(StampOfItem(OidOf(m_record))) {}
  virtual ~ItemHolder() = default;

  const ItemRecord& Record() {
    Refresh();
    return m_record;
  }

 protected:
  template <typename R>
  R& Rec() {
    Refresh();
    return std::get<R>(m_record);
  }

  HRESULT SaveRecord() {
    std::int64_t oid = OidOf(m_record);
    bool ok = std::visit(
        [&](auto& rec) {
          using R = std::decay_t<decltype(rec)>;
          if constexpr (std::is_same_v<R, device::ContactRecord>)
            return oid ? device::UpdateContact(rec) : device::AddContact(&rec) != 0;
          else if constexpr (std::is_same_v<R, device::TaskRecord>)
            return oid ? device::UpdateTask(rec) : device::AddTask(&rec) != 0;
          else
            return oid ? device::UpdateAppointment(rec) : device::AddAppointment(&rec) != 0;
        },
        m_record);
    if (!ok) return E_FAIL;
    NoteItemWritten(OidOf(m_record));
    m_stamp = StampOfItem(OidOf(m_record));
    return S_OK;
  }

  HRESULT DeleteRecord() {
    std::int64_t oid = OidOf(m_record);
    if (!oid) return S_OK;
    if (!device::DeleteItem(oid)) return E_FAIL;
    NoteItemWritten(oid);
    std::visit([](auto& rec) { rec.oid = 0; }, m_record);
    return S_OK;
  }

  HRESULT Oid(LONG* oid) {
    if (!oid) return E_POINTER;
    *oid = static_cast<LONG>(OidOf(m_record));
    return S_OK;
  }

 private:
  // Another process (or another object of this one) may have changed the
  // item: read it again then; an item deleted meanwhile keeps what was read.
  void Refresh() {
    std::int64_t oid = OidOf(m_record);
    if (!oid) return;
    ItemStamp now = StampOfItem(oid);
    if (now == m_stamp) return;
    m_stamp = now;
    ItemRecord fresh;
    if (LoadItem(oid, &fresh) && fresh.index() == m_record.index()) m_record = std::move(fresh);
  }

  ItemRecord m_record;  // as last read or written (OID 0: not written yet)
  ItemStamp m_stamp;    // StampOfItem when it was read
};

class CContact : public ComBase<IContact>, public ItemHolder {
 public:
  using ItemHolder::ItemHolder;
  using C = device::ContactRecord;

  HRESULT get_Oid(LONG* oid) override { return Oid(oid); }
  HRESULT get_FirstName(BSTR* v) override { return Text(Rec<C>().firstName, v); }
  HRESULT get_LastName(BSTR* v) override { return Text(Rec<C>().lastName, v); }
  HRESULT get_MiddleName(BSTR* v) override { return Text(Rec<C>().middleName, v); }
  HRESULT get_FileAs(BSTR* v) override { return Text(Rec<C>().fileAs, v); }
  HRESULT get_CompanyName(BSTR* v) override { return Text(Rec<C>().company, v); }
  HRESULT get_JobTitle(BSTR* v) override { return Text(Rec<C>().jobTitle, v); }
  HRESULT get_Email1Address(BSTR* v) override { return Text(Rec<C>().email1, v); }
  HRESULT get_Email2Address(BSTR* v) override { return Text(Rec<C>().email2, v); }
  HRESULT get_Email3Address(BSTR* v) override { return Text(Rec<C>().email3, v); }
  HRESULT get_MobileTelephoneNumber(BSTR* v) override { return Text(Rec<C>().mobile, v); }
  HRESULT get_AssistantTelephoneNumber(BSTR* v) override { return Text(Rec<C>().assistant, v); }
  HRESULT get_BusinessTelephoneNumber(BSTR* v) override { return Text(Rec<C>().business, v); }
  HRESULT get_Business2TelephoneNumber(BSTR* v) override { return Text(Rec<C>().business2, v); }
  HRESULT get_CarTelephoneNumber(BSTR* v) override { return Text(Rec<C>().car, v); }
  HRESULT get_HomeTelephoneNumber(BSTR* v) override { return Text(Rec<C>().home, v); }
  HRESULT get_Home2TelephoneNumber(BSTR* v) override { return Text(Rec<C>().home2, v); }
  HRESULT get_RadioTelephoneNumber(BSTR* v) override { return Text(Rec<C>().radio, v); }
  HRESULT get_PagerNumber(BSTR* v) override { return Text(Rec<C>().pager, v); }
  HRESULT get_HomeAddressStreet(BSTR* v) override { return Text(Rec<C>().homeAddress.street, v); }
  HRESULT get_HomeAddressCity(BSTR* v) override { return Text(Rec<C>().homeAddress.city, v); }
  HRESULT get_BusinessAddressStreet(BSTR* v) override { return Text(Rec<C>().businessAddress.street, v); }
  HRESULT get_BusinessAddressCity(BSTR* v) override { return Text(Rec<C>().businessAddress.city, v); }
  HRESULT get_Title(BSTR* v) override { return Text(Rec<C>().title, v); }
  HRESULT get_Suffix(BSTR* v) override { return Text(Rec<C>().suffix, v); }
  HRESULT get_Department(BSTR* v) override { return Text(Rec<C>().department, v); }
  HRESULT get_OfficeLocation(BSTR* v) override { return Text(Rec<C>().officeLocation, v); }
  HRESULT get_AssistantName(BSTR* v) override { return Text(Rec<C>().assistantName, v); }
  HRESULT get_HomeAddressState(BSTR* v) override { return Text(Rec<C>().homeAddress.state, v); }
  HRESULT get_HomeAddressPostalCode(BSTR* v) override { return Text(Rec<C>().homeAddress.postalCode, v); }
  HRESULT get_HomeAddressCountry(BSTR* v) override { return Text(Rec<C>().homeAddress.country, v); }
  HRESULT get_BusinessAddressState(BSTR* v) override { return Text(Rec<C>().businessAddress.state, v); }
  HRESULT get_BusinessAddressPostalCode(BSTR* v) override { return Text(Rec<C>().businessAddress.postalCode, v); }
  HRESULT get_BusinessAddressCountry(BSTR* v) override { return Text(Rec<C>().businessAddress.country, v); }
  HRESULT get_OtherAddressStreet(BSTR* v) override { return Text(Rec<C>().otherAddress.street, v); }
  HRESULT get_OtherAddressCity(BSTR* v) override { return Text(Rec<C>().otherAddress.city, v); }
  HRESULT get_OtherAddressState(BSTR* v) override { return Text(Rec<C>().otherAddress.state, v); }
  HRESULT get_OtherAddressPostalCode(BSTR* v) override { return Text(Rec<C>().otherAddress.postalCode, v); }
  HRESULT get_OtherAddressCountry(BSTR* v) override { return Text(Rec<C>().otherAddress.country, v); }
  HRESULT get_Birthday(DATE* v) override { return Date(Rec<C>().birthday, v); }
  HRESULT get_Body(BSTR* v) override { return Text(Rec<C>().notes, v); }
  HRESULT get_Picture(BSTR* v) override { return Text(Rec<C>().picture, v); }
  HRESULT put_FirstName(BSTR v) override { return SetText(&Rec<C>().firstName, v); }
  HRESULT put_LastName(BSTR v) override { return SetText(&Rec<C>().lastName, v); }
  HRESULT put_MobileTelephoneNumber(BSTR v) override { return SetText(&Rec<C>().mobile, v); }
  HRESULT put_HomeTelephoneNumber(BSTR v) override { return SetText(&Rec<C>().home, v); }
  HRESULT put_BusinessTelephoneNumber(BSTR v) override { return SetText(&Rec<C>().business, v); }
  HRESULT Save() override { return SaveRecord(); }
  HRESULT Delete() override { return DeleteRecord(); }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IContact || iid == IID_IDispatch; }
};

class CTask : public ComBase<ITask>, public ItemHolder {
 public:
  using ItemHolder::ItemHolder;
  using T = device::TaskRecord;

  HRESULT get_Oid(LONG* oid) override { return Oid(oid); }
  HRESULT get_Subject(BSTR* v) override { return Text(Rec<T>().subject, v); }
  HRESULT get_StartDate(DATE* v) override { return Date(Rec<T>().startDate, v); }
  HRESULT get_DueDate(DATE* v) override { return Date(Rec<T>().dueDate, v); }
  HRESULT get_DateCompleted(DATE* v) override { return Date(Rec<T>().dateCompleted, v); }
  HRESULT get_Complete(VARIANT_BOOL* v) override {
    if (!v) return E_POINTER;
    *v = Rec<T>().complete ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT get_Importance(LONG* v) override {
    if (!v) return E_POINTER;
    *v = Rec<T>().importance;
    return S_OK;
  }
  HRESULT get_Categories(BSTR* v) override { return Text(Rec<T>().categories, v); }
  HRESULT get_Body(BSTR* v) override { return Text(Rec<T>().notes, v); }
  HRESULT put_Subject(BSTR v) override { return SetText(&Rec<T>().subject, v); }
  HRESULT put_DueDate(DATE v) override {
    Rec<T>().dueDate = Given(v);
    return S_OK;
  }
  HRESULT put_Complete(VARIANT_BOOL v) override {
    T& t = Rec<T>();
    t.complete = v != VARIANT_FALSE;
    if (!t.complete) t.dateCompleted.reset();
    return S_OK;
  }
  HRESULT Save() override { return SaveRecord(); }
  HRESULT Delete() override { return DeleteRecord(); }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_ITask || iid == IID_IDispatch; }
};

class CAppointment : public ComBase<IAppointment>, public ItemHolder {
 public:
  using ItemHolder::ItemHolder;
  using A = device::AppointmentRecord;

  HRESULT get_Oid(LONG* oid) override { return Oid(oid); }
  HRESULT get_Subject(BSTR* v) override { return Text(Rec<A>().subject, v); }
  HRESULT get_Location(BSTR* v) override { return Text(Rec<A>().location, v); }
  HRESULT get_Start(DATE* v) override {
    if (!v) return E_POINTER;
    *v = Rec<A>().start;
    return S_OK;
  }
  HRESULT get_End(DATE* v) override {
    if (!v) return E_POINTER;
    *v = Rec<A>().end;
    return S_OK;
  }
  HRESULT get_AllDayEvent(VARIANT_BOOL* v) override {
    if (!v) return E_POINTER;
    *v = Rec<A>().allDay ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT get_Duration(LONG* minutes) override {
    if (!minutes) return E_POINTER;
    const A& a = Rec<A>();
    *minutes = static_cast<LONG>(std::llround((a.end - a.start) * 24 * 60));
    return S_OK;
  }
  HRESULT get_ReminderMinutesBeforeStart(LONG* minutes) override {
    if (!minutes) return E_POINTER;
    *minutes = Rec<A>().reminderMinutes;
    return S_OK;
  }
  HRESULT get_Categories(BSTR* v) override { return Text(Rec<A>().categories, v); }
  HRESULT get_Body(BSTR* v) override { return Text(Rec<A>().notes, v); }
  HRESULT put_Subject(BSTR v) override { return SetText(&Rec<A>().subject, v); }
  HRESULT put_Start(DATE v) override {
    A& a = Rec<A>();
    // Moving the start keeps the length, as in the calendar.
    double length = a.end - a.start;
    a.start = v;
    a.end = v + (length > 0 ? length : 0);
    return S_OK;
  }
  HRESULT put_End(DATE v) override {
    A& a = Rec<A>();
    if (v < a.start) return E_INVALIDARG;
    a.end = v;
    return S_OK;
  }
  HRESULT Save() override { return SaveRecord(); }
  HRESULT Delete() override { return DeleteRecord(); }

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IAppointment || iid == IID_IDispatch; }
};

FieldValue TextField(const std::u16string& s) {
  FieldValue v;
  v.kind = FieldValue::Kind::kText;
  v.text = s;
  return v;
}

FieldValue NumberField(double n, FieldValue::Kind kind = FieldValue::Kind::kNumber) {
  FieldValue v;
  v.kind = kind;
  v.number = n;
  return v;
}

bool DateField(const std::optional<double>& d, FieldValue* out) {
  if (!d) return false;
  *out = NumberField(*d, FieldValue::Kind::kDate);
  return true;
}

bool ContactField(const device::ContactRecord& c, std::u16string_view name, FieldValue* out) {
  struct Named {
    const char16_t* name;
    const std::u16string* value;
  };
  const Named texts[] = {{u"firstname", &c.firstName},
                         {u"lastname", &c.lastName},
                         {u"middlename", &c.middleName},
                         {u"fileas", &c.fileAs},
                         {u"companyname", &c.company},
                         {u"jobtitle", &c.jobTitle},
                         {u"email1address", &c.email1},
                         {u"email2address", &c.email2},
                         {u"email3address", &c.email3},
                         {u"mobiletelephonenumber", &c.mobile},
                         {u"assistanttelephonenumber", &c.assistant},
                         {u"businesstelephonenumber", &c.business},
                         {u"business2telephonenumber", &c.business2},
                         {u"cartelephonenumber", &c.car},
                         {u"hometelephonenumber", &c.home},
                         {u"home2telephonenumber", &c.home2},
                         {u"radiotelephonenumber", &c.radio},
                         {u"pagernumber", &c.pager},
                         {u"homeaddresscity", &c.homeAddress.city},
                         {u"businessaddresscity", &c.businessAddress.city},
                         {u"title", &c.title},
                         {u"suffix", &c.suffix},
                         {u"department", &c.department},
                         {u"officelocation", &c.officeLocation},
                         {u"assistantname", &c.assistantName},
                         {u"otheraddresscity", &c.otherAddress.city}};
  for (const Named& n : texts) {
    if (name == n.name) {
      *out = TextField(*n.value);
      return true;
    }
  }
  if (name == u"birthday") return DateField(c.birthday, out);
  return false;
}

bool TaskField(const device::TaskRecord& t, std::u16string_view name, FieldValue* out) {
  if (name == u"subject")
    *out = TextField(t.subject);
  else if (name == u"categories")
    *out = TextField(t.categories);
  else if (name == u"startdate")
    return DateField(t.startDate, out);
  else if (name == u"duedate")
    return DateField(t.dueDate, out);
  else if (name == u"datecompleted")
    return DateField(t.dateCompleted, out);
  else if (name == u"complete")
    *out = NumberField(t.complete ? 1 : 0, FieldValue::Kind::kBool);
  else if (name == u"importance")
    *out = NumberField(t.importance);
  else
    return false;
  return true;
}

bool AppointmentField(const device::AppointmentRecord& a, std::u16string_view name, FieldValue* out) {
  if (name == u"subject")
    *out = TextField(a.subject);
  else if (name == u"location")
    *out = TextField(a.location);
  else if (name == u"categories")
    *out = TextField(a.categories);
  else if (name == u"start")
    *out = NumberField(a.start, FieldValue::Kind::kDate);
  else if (name == u"end")
    *out = NumberField(a.end, FieldValue::Kind::kDate);
  else if (name == u"alldayevent")
    *out = NumberField(a.allDay ? 1 : 0, FieldValue::Kind::kBool);
  else if (name == u"duration")
    *out = NumberField(std::round((a.end - a.start) * 24 * 60));
  else
    return false;
  return true;
}

}  // namespace

IDispatch* MakeItem(const ItemRecord& record) {
  if (std::holds_alternative<device::ContactRecord>(record)) return new CContact(record);
  if (std::holds_alternative<device::TaskRecord>(record)) return new CTask(record);
  return new CAppointment(record);
}

const ItemRecord* RecordOfItem(IDispatch* item) {
  auto* holder = dynamic_cast<ItemHolder*>(item);
  return holder ? &holder->Record() : nullptr;
}

bool LoadItem(std::int64_t oid, ItemRecord* out) {
  switch (device::FolderOfItem(oid)) {
    case device::kFolderContacts: {
      device::ContactRecord c;
      if (!device::LoadContact(oid, &c)) return false;
      *out = std::move(c);
      return true;
    }
    case device::kFolderTasks: {
      device::TaskRecord t;
      if (!device::LoadTask(oid, &t)) return false;
      *out = std::move(t);
      return true;
    }
    case device::kFolderCalendar: {
      device::AppointmentRecord a;
      if (!device::LoadAppointment(oid, &a)) return false;
      *out = std::move(a);
      return true;
    }
    default: return false;
  }
}

bool ItemField(const ItemRecord& record, std::u16string_view nameIn, FieldValue* out) {
  std::u16string name = text::ToLower(nameIn);
  if (name == u"oid") {
    *out = NumberField(static_cast<double>(OidOf(record)));
    return true;
  }
  return std::visit(
      [&](const auto& rec) {
        using R = std::decay_t<decltype(rec)>;
        if constexpr (std::is_same_v<R, device::ContactRecord>)
          return ContactField(rec, name, out);
        else if constexpr (std::is_same_v<R, device::TaskRecord>)
          return TaskField(rec, name, out);
        else
          return AppointmentField(rec, name, out);
      },
      record);
}

}  // namespace poom
