// Personal data in device.db: contacts, tasks and appointments as records,
// written and read by the Outlook object model (poom.h), mivo-device and
// provisioning. Every item has an object identifier (OID) unique over the
// three folders. Writes keep the state values that depend on them current
// (HKCU "System\State\Tasks" "Active").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device {

// The default folders, numbered as the object model numbers them.
constexpr int kFolderCalendar = 9;
constexpr int kFolderContacts = 10;
constexpr int kFolderTasks = 13;

struct PostalAddress {
  std::u16string street, city, state, postalCode, country;
  bool Empty() const {
    return street.empty() && city.empty() && state.empty() && postalCode.empty() && country.empty();
  }
};

struct ContactRecord {
  std::int64_t oid = 0;  // 0 until written
  std::u16string firstName, middleName, lastName, title, suffix, nickname, fileAs;
  std::u16string company, department, jobTitle, officeLocation, assistantName;
  std::u16string email1, email2, email3;
  // The eight numbers a call goes to, phone kinds 1-8.
  std::u16string mobile, assistant, business, business2, car, home, home2, radio;
  std::u16string pager, businessFax, homeFax;
  PostalAddress homeAddress, businessAddress, otherAddress;
  std::optional<double> birthday;  // a DATE (local); none when absent
  std::u16string webPage, notes;
  std::u16string picture;  // device path of the contact's picture

  // Kinds 1-8 (mobile, assistant, business, business 2, car, home, home 2,
  // radio); null for another kind.
  std::u16string* Phone(int kind);
  const std::u16string* Phone(int kind) const;
  // "First Last"; else the file-as name, the company, the first e-mail address.
  std::u16string DisplayName() const;
};

struct TaskRecord {
  std::int64_t oid = 0;
  std::u16string subject;
  std::optional<double> startDate, dueDate, dateCompleted;  // DATE values (local)
  bool complete = false;
  int importance = 1;  // 0 low, 1 normal, 2 high
  std::u16string categories, notes;
};

struct AppointmentRecord {
  std::int64_t oid = 0;
  std::u16string subject, location;
  double start = 0;  // DATE values (local)
  double end = 0;
  bool allDay = false;
  int reminderMinutes = 15;  // -1: no reminder
  std::u16string categories, notes;
};

// ---- Writing: each in its own transaction, or within the caller's -------------------------

// The new item's OID (also set in the record), 0 on failure.
std::int64_t AddContact(ContactRecord* contact);
std::int64_t AddTask(TaskRecord* task);
std::int64_t AddAppointment(AppointmentRecord* appointment);
// By the record's OID; false when the item is gone.
bool UpdateContact(const ContactRecord& contact);
bool UpdateTask(const TaskRecord& task);
bool UpdateAppointment(const AppointmentRecord& appointment);
bool DeleteItem(std::int64_t oid);

// ---- Reading ---------------------------------------------------------------------------------

// The folder of an item (kFolderContacts, ...); 0 when no item has the OID.
int FolderOfItem(std::int64_t oid);
bool LoadContact(std::int64_t oid, ContactRecord* out);
bool LoadTask(std::int64_t oid, TaskRecord* out);
bool LoadAppointment(std::int64_t oid, AppointmentRecord* out);
// Every item of the folder, in the order they were made.
std::vector<ContactRecord> ListContacts();
std::vector<TaskRecord> ListTasks();
std::vector<AppointmentRecord> ListAppointments();

// Two numbers are the same when their digits are ("+420 603-111 222" and
// "420603111222").
bool SameNumber(std::u16string_view a, std::u16string_view b);
// The display name of the first contact owning the number; empty when none.
std::u16string ContactNameForNumber(std::u16string_view number);
// The contact owning the number and which of its numbers it is ("m" mobile,
// "w" business, "h" home, ... as the call log names them); false when none.
bool FindContactByNumber(std::u16string_view number, ContactRecord* contact, std::u16string* nameType);

// Whether this process wrote the change row with this id (a write of its own,
// which the object model reports as local, not as remote).
bool IsOwnChange(std::int64_t changeId);

}  // namespace device
