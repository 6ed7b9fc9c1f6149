#include "platform/device/pim_db.h"

#include <deque>
#include <functional>
#include <mutex>

#include "platform/registry/database.h"
#include "platform/registry/registry.h"

namespace device {

namespace {

// ---- Columns ---------------------------------------------------------------------------------

struct TextColumn {
  const char* name;
  std::u16string ContactRecord::*field;
};

const std::vector<TextColumn>& ContactTextColumns() {
  static const std::vector<TextColumn> columns = {{"first_name", &ContactRecord::firstName},
                                                  {"middle_name", &ContactRecord::middleName},
                                                  {"last_name", &ContactRecord::lastName},
                                                  {"title", &ContactRecord::title},
                                                  {"suffix", &ContactRecord::suffix},
                                                  {"nickname", &ContactRecord::nickname},
                                                  {"file_as", &ContactRecord::fileAs},
                                                  {"company", &ContactRecord::company},
                                                  {"department", &ContactRecord::department},
                                                  {"job_title", &ContactRecord::jobTitle},
                                                  {"office_location", &ContactRecord::officeLocation},
                                                  {"assistant_name", &ContactRecord::assistantName},
                                                  {"email1", &ContactRecord::email1},
                                                  {"email2", &ContactRecord::email2},
                                                  {"email3", &ContactRecord::email3},
                                                  {"mobile", &ContactRecord::mobile},
                                                  {"assistant", &ContactRecord::assistant},
                                                  {"business", &ContactRecord::business},
                                                  {"business2", &ContactRecord::business2},
                                                  {"car", &ContactRecord::car},
                                                  {"home", &ContactRecord::home},
                                                  {"home2", &ContactRecord::home2},
                                                  {"radio", &ContactRecord::radio},
                                                  {"pager", &ContactRecord::pager},
                                                  {"business_fax", &ContactRecord::businessFax},
                                                  {"home_fax", &ContactRecord::homeFax},
                                                  {"web_page", &ContactRecord::webPage},
                                                  {"notes", &ContactRecord::notes},
                                                  {"picture", &ContactRecord::picture}};
  return columns;
}

struct AddressColumn {
  const char* prefix;
  PostalAddress ContactRecord::*field;
};
constexpr AddressColumn kAddressColumns[] = {{"home", &ContactRecord::homeAddress},
                                             {"business", &ContactRecord::businessAddress},
                                             {"other", &ContactRecord::otherAddress}};
constexpr const char* kAddressParts[] = {"street", "city", "state", "postal_code", "country"};

std::u16string* AddressPart(PostalAddress* a, int part) {
  switch (part) {
    case 0: return &a->street;
    case 1: return &a->city;
    case 2: return &a->state;
    case 3: return &a->postalCode;
    default: return &a->country;
  }
}

// Every column of a contact after the OID, in one order for reading and writing.
const std::vector<std::string>& ContactColumnNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (const auto& c : ContactTextColumns()) n.push_back(c.name);
    for (const auto& a : kAddressColumns)
      for (const char* part : kAddressParts) n.push_back(std::string(a.prefix) + "_" + part);
    n.push_back("birthday");
    return n;
  }();
  return names;
}

std::string Join(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

void BindContact(devdb::Statement& st, const ContactRecord& c, int first) {
  int i = first;
  for (const auto& col : ContactTextColumns()) st.Bind(i++, c.*(col.field));
  for (const auto& a : kAddressColumns) {
    PostalAddress address = c.*(a.field);
    for (int part = 0; part < 5; ++part) st.Bind(i++, *AddressPart(&address, part));
  }
  if (c.birthday)
    sqlite3_bind_double(st.get(), i, *c.birthday);
  else
    st.BindNull(i);
}

void ReadContact(const devdb::Statement& st, ContactRecord* c) {
  c->oid = st.Int(0);
  int i = 1;
  for (const auto& col : ContactTextColumns()) c->*(col.field) = st.Text16(i++);
  for (const auto& a : kAddressColumns)
    for (int part = 0; part < 5; ++part) *AddressPart(&(c->*(a.field)), part) = st.Text16(i++);
  c->birthday = st.IsNull(i) ? std::nullopt : std::optional<double>(sqlite3_column_double(st.get(), i));
}

void BindDate(devdb::Statement& st, int index, const std::optional<double>& d) {
  if (d)
    sqlite3_bind_double(st.get(), index, *d);
  else
    st.BindNull(index);
}

std::optional<double> ReadDate(const devdb::Statement& st, int column) {
  return st.IsNull(column) ? std::nullopt : std::optional<double>(sqlite3_column_double(st.get(), column));
}

constexpr char kTaskColumns[] =
    "subject, start_date, due_date, date_completed, complete, importance, categories, notes";
constexpr char kAppointmentColumns[] = "subject, location, start, end, all_day, reminder_minutes, categories, notes";

void BindTask(devdb::Statement& st, const TaskRecord& t) {
  st.Bind(2, t.subject);
  BindDate(st, 3, t.startDate);
  BindDate(st, 4, t.dueDate);
  BindDate(st, 5, t.dateCompleted);
  st.Bind(6, static_cast<std::int64_t>(t.complete ? 1 : 0)).Bind(7, static_cast<std::int64_t>(t.importance));
  st.Bind(8, t.categories).Bind(9, t.notes);
}

void ReadTask(const devdb::Statement& st, TaskRecord* t) {
  t->oid = st.Int(0);
  t->subject = st.Text16(1);
  t->startDate = ReadDate(st, 2);
  t->dueDate = ReadDate(st, 3);
  t->dateCompleted = ReadDate(st, 4);
  t->complete = st.Int(5) != 0;
  t->importance = static_cast<int>(st.Int(6));
  t->categories = st.Text16(7);
  t->notes = st.Text16(8);
}

void BindAppointment(devdb::Statement& st, const AppointmentRecord& a) {
  st.Bind(2, a.subject).Bind(3, a.location);
  sqlite3_bind_double(st.get(), 4, a.start);
  sqlite3_bind_double(st.get(), 5, a.end);
  st.Bind(6, static_cast<std::int64_t>(a.allDay ? 1 : 0)).Bind(7, static_cast<std::int64_t>(a.reminderMinutes));
  st.Bind(8, a.categories).Bind(9, a.notes);
}

void ReadAppointment(const devdb::Statement& st, AppointmentRecord* a) {
  a->oid = st.Int(0);
  a->subject = st.Text16(1);
  a->location = st.Text16(2);
  a->start = sqlite3_column_double(st.get(), 3);
  a->end = sqlite3_column_double(st.get(), 4);
  a->allDay = st.Int(5) != 0;
  a->reminderMinutes = static_cast<int>(st.Int(6));
  a->categories = st.Text16(7);
  a->notes = st.Text16(8);
}

// ---- Own changes -------------------------------------------------------------------------------

std::mutex g_ownMutex;
std::deque<std::pair<std::int64_t, std::int64_t>> g_ownChanges;  // change-log id ranges this process wrote
std::uint64_t g_ownDatabase = 0;  // the device database they are of (ids start again in another)

// The ranges of the open device database; the caller holds g_ownMutex.
std::deque<std::pair<std::int64_t, std::int64_t>>& OwnChanges() {
  if (g_ownDatabase != devdb::DeviceDatabaseGeneration()) {
    g_ownChanges.clear();
    g_ownDatabase = devdb::DeviceDatabaseGeneration();
  }
  return g_ownChanges;
}

std::int64_t LastChangeId(sqlite3* db) {
  devdb::Statement st(db, "SELECT coalesce(max(id), 0) FROM changes");
  return st.Step() == SQLITE_ROW ? st.Int(0) : 0;
}

// Keeps HKCU "System\State\Tasks" "Active" equal to the tasks not yet complete.
bool UpdateActiveTasks(sqlite3* db) {
  devdb::Statement st(db, "SELECT count(*) FROM tasks WHERE complete = 0");
  if (st.Step() != SQLITE_ROW) return false;
  DWORD active = static_cast<DWORD>(st.Int(0)), current = 0;
  if (reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Tasks", u"Active", &current) && current == active) return true;
  return reg::SetDword(HKEY_CURRENT_USER, u"System\\State\\Tasks", u"Active", active);
}

// Runs one write of personal data in a transaction and notes the change
// rows it made as this process's own.
bool Write(const std::function<bool(sqlite3*)>& body) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return false;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  return db->Transaction([&] {
    std::int64_t before = LastChangeId(db->handle());
    if (!body(db->handle()) || !UpdateActiveTasks(db->handle())) return false;
    std::int64_t after = LastChangeId(db->handle());
    if (after > before) {
      std::lock_guard<std::mutex> own(g_ownMutex);
      OwnChanges().emplace_back(before + 1, after);
      if (OwnChanges().size() > 256) OwnChanges().pop_front();
    }
    return true;
  });
}

std::int64_t NewOid(sqlite3* db, int folder) {
  devdb::Statement st(db, "INSERT INTO pim_items(folder) VALUES (?1)");
  st.Bind(1, static_cast<std::int64_t>(folder));
  return st.Run() ? sqlite3_last_insert_rowid(db) : 0;
}

template <typename Fn>
void Read(Fn fn) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  fn(db->handle());
}

bool AllDigitsEqual(std::u16string_view a, std::u16string_view b) {
  std::size_t i = 0, j = 0;
  for (;;) {
    while (i < a.size() && (a[i] < u'0' || a[i] > u'9')) ++i;
    while (j < b.size() && (b[j] < u'0' || b[j] > u'9')) ++j;
    if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
    if (a[i++] != b[j++]) return false;
  }
}

}  // namespace

// ---- ContactRecord ---------------------------------------------------------------------------------

std::u16string* ContactRecord::Phone(int kind) {
  switch (kind) {
    case 1: return &mobile;
    case 2: return &assistant;
    case 3: return &business;
    case 4: return &business2;
    case 5: return &car;
    case 6: return &home;
    case 7: return &home2;
    case 8: return &radio;
    default: return nullptr;
  }
}

const std::u16string* ContactRecord::Phone(int kind) const { return const_cast<ContactRecord*>(this)->Phone(kind); }

std::u16string ContactRecord::DisplayName() const {
  std::u16string name = firstName;
  if (!lastName.empty()) name += (name.empty() ? u"" : u" ") + lastName;
  if (!name.empty()) return name;
  if (!fileAs.empty()) return fileAs;
  if (!company.empty()) return company;
  return email1;
}

// ---- Writing ------------------------------------------------------------------------------------------

std::int64_t AddContact(ContactRecord* contact) {
  std::int64_t oid = 0;
  bool ok = Write([&](sqlite3* db) {
    oid = NewOid(db, kFolderContacts);
    if (!oid) return false;
    const auto& names = ContactColumnNames();
    std::string params;
    for (std::size_t i = 0; i < names.size(); ++i) params += ", ?" + std::to_string(i + 2);
    std::string sql = "INSERT INTO contacts(oid, " + Join(names) + ") VALUES (?1" + params + ")";
    devdb::Statement st(db, sql.c_str());
    st.Bind(1, oid);
    BindContact(st, *contact, 2);
    return st.Run();
  });
  if (!ok) return 0;
  contact->oid = oid;
  return oid;
}

bool UpdateContact(const ContactRecord& contact) {
  return Write([&](sqlite3* db) {
    const auto& names = ContactColumnNames();
    std::string set;
    for (std::size_t i = 0; i < names.size(); ++i) set += (i ? ", " : "") + names[i] + " = ?" + std::to_string(i + 2);
    std::string sql = "UPDATE contacts SET " + set + " WHERE oid = ?1";
    devdb::Statement st(db, sql.c_str());
    st.Bind(1, contact.oid);
    BindContact(st, contact, 2);
    return st.Run() && sqlite3_changes(db) == 1;
  });
}

std::int64_t AddTask(TaskRecord* task) {
  std::int64_t oid = 0;
  bool ok = Write([&](sqlite3* db) {
    oid = NewOid(db, kFolderTasks);
    if (!oid) return false;
    devdb::Statement st(
        db, (std::string("INSERT INTO tasks(oid, ") + kTaskColumns + ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)")
                .c_str());
    st.Bind(1, oid);
    BindTask(st, *task);
    return st.Run();
  });
  if (!ok) return 0;
  task->oid = oid;
  return oid;
}

bool UpdateTask(const TaskRecord& task) {
  return Write([&](sqlite3* db) {
    devdb::Statement st(db,
                        "UPDATE tasks SET subject = ?2, start_date = ?3, due_date = ?4, date_completed = ?5, "
                        "complete = ?6, importance = ?7, categories = ?8, notes = ?9 WHERE oid = ?1");
    st.Bind(1, task.oid);
    BindTask(st, task);
    return st.Run() && sqlite3_changes(db) == 1;
  });
}

std::int64_t AddAppointment(AppointmentRecord* appointment) {
  std::int64_t oid = 0;
  bool ok = Write([&](sqlite3* db) {
    oid = NewOid(db, kFolderCalendar);
    if (!oid) return false;
    devdb::Statement st(db, (std::string("INSERT INTO appointments(oid, ") + kAppointmentColumns +
                             ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)")
                                .c_str());
    st.Bind(1, oid);
    BindAppointment(st, *appointment);
    return st.Run();
  });
  if (!ok) return 0;
  appointment->oid = oid;
  return oid;
}

bool UpdateAppointment(const AppointmentRecord& appointment) {
  return Write([&](sqlite3* db) {
    devdb::Statement st(db,
                        "UPDATE appointments SET subject = ?2, location = ?3, start = ?4, end = ?5, all_day = ?6, "
                        "reminder_minutes = ?7, categories = ?8, notes = ?9 WHERE oid = ?1");
    st.Bind(1, appointment.oid);
    BindAppointment(st, appointment);
    return st.Run() && sqlite3_changes(db) == 1;
  });
}

bool DeleteItem(std::int64_t oid) {
  return Write([&](sqlite3* db) {
    int changed = 0;
    for (const char* sql : {"DELETE FROM contacts WHERE oid = ?1", "DELETE FROM tasks WHERE oid = ?1",
                            "DELETE FROM appointments WHERE oid = ?1"}) {
      devdb::Statement st(db, sql);
      st.Bind(1, oid);
      if (!st.Run()) return false;
      changed += sqlite3_changes(db);
    }
    return changed == 1;
  });
}

// ---- Reading ---------------------------------------------------------------------------------------------

int FolderOfItem(std::int64_t oid) {
  int folder = 0;
  Read([&](sqlite3* db) {
    devdb::Statement st(db, "SELECT folder FROM pim_items WHERE oid = ?1");
    st.Bind(1, oid);
    if (st.Step() == SQLITE_ROW) folder = static_cast<int>(st.Int(0));
  });
  return folder;
}

bool LoadContact(std::int64_t oid, ContactRecord* out) {
  bool found = false;
  Read([&](sqlite3* db) {
    std::string sql = "SELECT oid, " + Join(ContactColumnNames()) + " FROM contacts WHERE oid = ?1";
    devdb::Statement st(db, sql.c_str());
    st.Bind(1, oid);
    if ((found = st.Step() == SQLITE_ROW)) ReadContact(st, out);
  });
  return found;
}

bool LoadTask(std::int64_t oid, TaskRecord* out) {
  bool found = false;
  Read([&](sqlite3* db) {
    devdb::Statement st(db, (std::string("SELECT oid, ") + kTaskColumns + " FROM tasks WHERE oid = ?1").c_str());
    st.Bind(1, oid);
    if ((found = st.Step() == SQLITE_ROW)) ReadTask(st, out);
  });
  return found;
}

bool LoadAppointment(std::int64_t oid, AppointmentRecord* out) {
  bool found = false;
  Read([&](sqlite3* db) {
    devdb::Statement st(
        db, (std::string("SELECT oid, ") + kAppointmentColumns + " FROM appointments WHERE oid = ?1").c_str());
    st.Bind(1, oid);
    if ((found = st.Step() == SQLITE_ROW)) ReadAppointment(st, out);
  });
  return found;
}

std::vector<ContactRecord> ListContacts() {
  std::vector<ContactRecord> out;
  Read([&](sqlite3* db) {
    std::string sql = "SELECT oid, " + Join(ContactColumnNames()) + " FROM contacts ORDER BY oid";
    devdb::Statement st(db, sql.c_str());
    while (st.Step() == SQLITE_ROW) {
      out.emplace_back();
      ReadContact(st, &out.back());
    }
  });
  return out;
}

std::vector<TaskRecord> ListTasks() {
  std::vector<TaskRecord> out;
  Read([&](sqlite3* db) {
    devdb::Statement st(db, (std::string("SELECT oid, ") + kTaskColumns + " FROM tasks ORDER BY oid").c_str());
    while (st.Step() == SQLITE_ROW) {
      out.emplace_back();
      ReadTask(st, &out.back());
    }
  });
  return out;
}

std::vector<AppointmentRecord> ListAppointments() {
  std::vector<AppointmentRecord> out;
  Read([&](sqlite3* db) {
    devdb::Statement st(
        db, (std::string("SELECT oid, ") + kAppointmentColumns + " FROM appointments ORDER BY oid").c_str());
    while (st.Step() == SQLITE_ROW) {
      out.emplace_back();
      ReadAppointment(st, &out.back());
    }
  });
  return out;
}

bool SameNumber(std::u16string_view a, std::u16string_view b) { return AllDigitsEqual(a, b); }

bool FindContactByNumber(std::u16string_view number, ContactRecord* contact, std::u16string* nameType) {
  static const char16_t* const kTypes[] = {u"m", u"a", u"w", u"w2", u"c", u"h", u"h2", u"r"};
  bool hasDigit = false;
  for (char16_t c : number) hasDigit = hasDigit || (c >= u'0' && c <= u'9');
  if (!hasDigit) return false;
  // Only the eight numbers of each contact are read to find it (a call or a message looks its sender up
  // among all contacts); the whole record only of the one found.
  std::int64_t found = 0;
  int foundKind = 0;
  Read([&](sqlite3* db) {
    devdb::Statement st(db, "SELECT oid, mobile, assistant, business, business2, car, home, home2, radio "
                            "FROM contacts ORDER BY oid");
    while (!found && st.Step() == SQLITE_ROW) {
      for (int kind = 1; kind <= 8; ++kind) {
        const std::u16string phone = st.Text16(kind);
        if (phone.empty() || !SameNumber(phone, number)) continue;
        found = st.Int(0);
        foundKind = kind;
        break;
      }
    }
  });
  if (!found) return false;
  ContactRecord record;
  if (!LoadContact(found, &record)) return false;
  if (contact) *contact = std::move(record);
  if (nameType) *nameType = kTypes[foundKind - 1];
  return true;
}

std::u16string ContactNameForNumber(std::u16string_view number) {
  ContactRecord c;
  return FindContactByNumber(number, &c, nullptr) ? c.DisplayName() : std::u16string();
}

bool IsOwnChange(std::int64_t changeId) {
  std::lock_guard<std::mutex> lock(g_ownMutex);
  for (const auto& [first, last] : OwnChanges())
    if (changeId >= first && changeId <= last) return true;
  return false;
}

}  // namespace device
