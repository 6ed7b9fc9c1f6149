// The personal data of a new device: contacts with several kinds of number,
// text messages in Inbox, Sent, Drafts and Deleted (a few unread), a call log
// with missed, incoming and outgoing calls, tasks, and appointments in the
// coming days. Times count from the device's clock at provisioning.
#include <cmath>
#include <mutex>

#include "platform/device/call_log.h"
#include "platform/device/com.h"
#include "platform/device/device.h"
#include "platform/device/message_db.h"
#include "platform/device/pim_db.h"
#include "platform/device/sample_people.h"
#include "platform/device/sms_network.h"
#include "platform/fs/files.h"
#include "platform/registry/database.h"
#include "platform/win32/clock.h"

namespace device {

namespace {

constexpr std::int64_t kMinute = 60 * 1000;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDay = 24 * kHour;

struct SampleContact {
  const char16_t* first;
  const char16_t* last;
  const char16_t* company;
  const char16_t* mobile;
  const char16_t* home;
  const char16_t* business;
  const char16_t* other;  // "kind:number" for one more kind (2 assistant, 4 business 2, 5 car, 7 home 2, 8 radio)
  const char16_t* email;
  const char16_t* city;
  int birthYear, birthMonth, birthDay;  // 0: none
};

constexpr SampleContact kContacts[] = {
    {u"Anna", u"Nováková", u"", u"+420 603 111 222", u"+420 224 812 345", u"", u"", u"anna.novakova@example.cz",
     u"Praha", 1985, 4, 12},
    {u"Jiří", u"Dvořák", u"Dvořák & syn", u"+420 721 334 556", u"", u"+420 257 100 200", u"4:+420 257 100 201",
     u"jiri@dvorak-syn.example.cz", u"Praha", 1978, 11, 3},
    {u"Zuzana", u"Šťastná", u"", u"+420 776 920 114", u"", u"", u"", u"zuzka.stastna@example.cz", u"Brno", 1992, 7, 21},
    {u"Tomáš", u"Černý", u"", u"+420 604 870 332", u"+420 541 210 908", u"", u"7:+420 541 210 909", u"", u"Brno", 0, 0,
     0},
    {u"Lucie", u"Procházková", u"Nemocnice Na Homolce", u"+420 739 045 871", u"", u"+420 257 272 111", u"",
     u"lucie.prochazkova@example.cz", u"Praha", 1990, 2, 28},
    {u"Martin", u"Kučera", u"", u"+420 602 555 018", u"", u"", u"5:+420 602 555 019", u"", u"Plzeň", 0, 0, 0},
    {u"Eliška", u"Horáková", u"", u"", u"+420 235 300 411", u"", u"", u"", u"Kladno", 1949, 9, 1},
    {u"Petr", u"Veselý", u"Veselý Stavby s.r.o.", u"", u"", u"+420 266 031 500", u"2:+420 266 031 501",
     u"petr.vesely@vesely-stavby.example.cz", u"Praha", 0, 0, 0},
    {u"Hélène", u"Dubois", u"", u"+33 6 12 34 56 78", u"", u"+33 1 42 68 53 00", u"", u"helene.dubois@example.fr",
     u"Paris", 1988, 6, 5},
    {u"Jürgen", u"Müller", u"", u"+49 151 2345 6789", u"+49 30 1234 567", u"", u"7:+49 30 1234 568",
     u"juergen.mueller@example.de", u"Berlin", 1975, 12, 24},
    {u"Søren", u"Østergaard", u"", u"+45 20 11 22 33", u"", u"", u"8:+45 20 11 22 34", u"", u"København", 0, 0, 0},
    {u"José", u"Martínez", u"", u"+34 612 345 678", u"", u"+34 91 123 45 67", u"", u"jose.martinez@example.es",
     u"Madrid", 1983, 3, 17},
    {u"", u"", u"Pizzerie Napoli", u"", u"", u"+420 222 333 444", u"", u"objednavky@napoli.example.cz", u"Praha", 0, 0,
     0},
};

struct SampleSms {
  const char16_t* folder;
  int contact;  // index into kContacts; -1: the number below
  const char16_t* number;
  const char16_t* text;
  std::int64_t ago;  // before now
  bool read;
};

constexpr SampleSms kMessages[] = {
    {u"inbox", 0, nullptr, u"Dorazíš dnes na večeři? Udělám svíčkovou.", 12 * kMinute, false},
    {u"inbox", 8, nullptr, u"Merci pour les photos ! On se voit à Prague en mai ?", 2 * kHour + 5 * kMinute, false},
    {u"inbox", -1, u"+420 800 123 456",
     u"Vaše zásilka CZ4471 bude doručena zítra mezi 8:00 a 12:00. Změnu termínu provedete na webu dopravce.", 5 * kHour,
     false},
    {u"inbox", 1, nullptr, u"The invoice is in your mail. Call me when you have read it, please.", kDay + 3 * kHour,
     true},
    {u"inbox", 2, nullptr, u"Jsem ve vlaku, budu v Praze kolem šesté.", 2 * kDay + 40 * kMinute, true},
    {u"inbox", 9, nullptr, u"Schöne Grüße aus Berlin! Wir sehen uns nächste Woche.", 3 * kDay + 2 * kHour, true},
    {u"inbox", -1, u"mivo mobile", u"Your monthly bill of 389 CZK is ready. Thank you for using mivo mobile.", 6 * kDay,
     true},
    {u"inbox", 4, nullptr, u"Can you pick up the kids today? I have a late shift.", 8 * kDay + 6 * kHour, true},
    {u"sent", 0, nullptr, u"Ano, budu tam v sedm. Přinesu víno.", 8 * kMinute, true},
    {u"sent", 3, nullptr, u"Happy birthday, Tomáš! Have a great day.", kDay + 30 * kMinute, true},
    {u"sent", 4, nullptr, u"Sure, I will be at school at four.", 8 * kDay + 5 * kHour, true},
    {u"sent", 9, nullptr, u"Danke, bis bald!", 3 * kDay + kHour, true},
    {u"drafts", 5, nullptr, u"Martine, můžeš mi v pátek půjčit přívěsný vozík?", 4 * kHour, true},
    {u"drafts", -1, u"", u"Remember to buy milk and bread", 2 * kDay, true},
    {u"deleted", -1, u"+420 900 111 000", u"You have won a prize! Call now to claim it.", 10 * kDay, true},
};

struct SampleCall {
  DWORD direction;
  int contact;  // -1: the number below
  const char16_t* number;
  std::int64_t ago;
  std::int64_t seconds;  // how long it went on
};

constexpr SampleCall kCalls[] = {
    {IOM_OUTGOING, 6, nullptr, 9 * kDay, 640},          {IOM_INCOMING, 1, nullptr, 7 * kDay + 3 * kHour, 312},
    {IOM_MISSED, -1, u"+420 257 999 001", 5 * kDay, 0}, {IOM_OUTGOING, 3, nullptr, 4 * kDay + 2 * kHour, 95},
    {IOM_INCOMING, 4, nullptr, 3 * kDay, 187},          {IOM_OUTGOING, 8, nullptr, 2 * kDay + 4 * kHour, 1220},
    {IOM_INCOMING, 0, nullptr, kDay + 5 * kHour, 410},  {IOM_MISSED, 5, nullptr, 9 * kHour, 0},
    {IOM_OUTGOING, 1, nullptr, 3 * kHour, 64},          {IOM_MISSED, 0, nullptr, 35 * kMinute, 0},
};

// Today's local midnight as a DATE, and a DATE for local day and time.
double Today() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 0;
  double d = 0;
  SystemTimeToVariantTime(&st, &d);
  return d;
}

double At(double today, int days, int hour, int minute) { return today + days + (hour * 60 + minute) / 1440.0; }

std::u16string ContactNumber(const SampleContact& c) {
  if (c.mobile[0]) return c.mobile;
  if (c.home[0]) return c.home;
  return c.business;
}

bool AddContacts() {
  // Each written as it is made: contacts are large records, and a list of them all only to be
  // written was a good part of a new device's time.
  int index = 0;
  auto add = [&index](ContactRecord& c) {
    // Provisioning writes the pictures beside the rows, on a thread of its own, and marks the
    // device complete only when both are done: a complete device has every picture its contacts name.
    c.picture = SampleContactPicturePath(index++);
    return AddContact(&c) != 0;
  };
  for (const SampleContact& s : kContacts) {
    ContactRecord c;
    c.firstName = s.first;
    c.lastName = s.last;
    c.company = s.company;
    c.mobile = s.mobile;
    c.home = s.home;
    c.business = s.business;
    std::u16string other = s.other;
    if (other.size() > 2) *c.Phone(other[0] - u'0') = other.substr(2);
    c.email1 = s.email;
    (c.business.empty() ? c.homeAddress : c.businessAddress).city = s.city;
    if (!s.first[0] && !s.last[0]) c.fileAs = s.company;
    if (s.birthYear) {
      SYSTEMTIME st;
      st.wYear = static_cast<WORD>(s.birthYear);
      st.wMonth = static_cast<WORD>(s.birthMonth);
      st.wDay = static_cast<WORD>(s.birthDay);
      double d = 0;
      if (SystemTimeToVariantTime(&st, &d)) c.birthday = d;
    }
    if (!add(c)) return false;
  }
  for (ContactRecord& c : SamplePeople())
    if (!add(c)) return false;
  return true;
}

bool AddMessages(sqlite3* db, std::int64_t now) {
  for (const SampleSms& s : kMessages) {
    SMSRecord r;
    r.folder = s.folder;
    r.text = s.text;
    r.read = s.read;
    r.unixMs = now - s.ago;
    r.fromMe = r.folder != u"inbox" && r.folder != u"deleted";
    if (s.contact >= 0) {
      const SampleContact& c = kContacts[s.contact];
      r.senderNumber = ContactNumber(c);
      r.senderName = std::u16string(c.first) + u" " + c.last;
    } else {
      r.senderNumber = s.number;
    }
    if (r.folder == u"drafts") r.hasTime = false;
    if (!StoreSMS(db, r, 0)) return false;
  }
  return msgdb::UpdateUnreadCount(db);
}

bool AddCalls(std::int64_t now) {
  for (const SampleCall& s : kCalls) {
    CallRecord r;
    r.direction = s.direction;
    r.number = s.contact >= 0 ? ContactNumber(kContacts[s.contact]) : s.number;
    r.startUnixMs = now - s.ago;
    r.endUnixMs = r.startUnixMs + s.seconds * 1000;
    r.flags = (s.direction == IOM_OUTGOING ? CALLLOGFLAG_OUTGOING : 0) | CALLLOGFLAG_ENDED |
              (s.seconds ? CALLLOGFLAG_CONNECTED : 0);
    if (!AddCall(r)) return false;
  }
  return true;
}

bool AddTasks(double today) {
  struct SampleTask {
    const char16_t* subject;
    int due;  // days from today; -99: no date
    int importance;
    bool complete;
  };
  static const SampleTask kTasks[] = {{u"Pay the electricity bill", 1, 1, false},
                                      {u"Buy a birthday present for Anna", 5, 2, false},
                                      {u"Book the car service", -99, 1, false},
                                      {u"Send the quarterly report", 0, 2, false},
                                      {u"Renew the passport", -3, 1, true}};
  for (const SampleTask& s : kTasks) {
    TaskRecord t;
    t.subject = s.subject;
    t.importance = s.importance;
    t.complete = s.complete;
    if (s.due != -99) {
      t.dueDate = today + s.due;
      t.startDate = today + std::min(s.due, 0) - 1;
    }
    if (s.complete) t.dateCompleted = today - 1;
    if (!AddTask(&t)) return false;
  }
  return true;
}

bool AddAppointments(double today) {
  struct SampleAppointment {
    const char16_t* subject;
    const char16_t* location;
    int day, hour, minute, minutes;  // minutes 0: all day
  };
  static const SampleAppointment kAppointments[] = {
      {u"Yoga", u"Studio Karlín", -1, 18, 0, 60},
      {u"Dentist", u"Vinohradská 12", 0, 14, 0, 45},
      {u"Team meeting", u"Room 4.12", 1, 9, 30, 60},
      {u"Anna's birthday", u"", 2, 0, 0, 0},
      {u"Dinner with Jiří", u"Restaurace U Fleků", 3, 19, 0, 150},
      {u"Trip to Brno", u"Brno", 5, 8, 0, 540},
      {u"Parents' evening at school", u"ZŠ Slovanská", 7, 17, 30, 90},
  };
  for (const SampleAppointment& s : kAppointments) {
    AppointmentRecord a;
    a.subject = s.subject;
    a.location = s.location;
    a.allDay = s.minutes == 0;
    a.start = At(today, s.day, s.hour, s.minute);
    a.end = a.allDay ? a.start + 1 : a.start + s.minutes / 1440.0;
    a.reminderMinutes = a.allDay ? -1 : 15;
    if (!AddAppointment(&a)) return false;
  }
  return true;
}

std::int64_t CountRows(sqlite3* db, const char* sql) {
  devdb::Statement st(db, sql);
  return st.Step() == SQLITE_ROW ? st.Int(0) : -1;
}

}  // namespace

int SampleContactCount() {
  // The people are made from a fixed sequence, so their number never changes: counted once.
  static const int count = static_cast<int>(std::size(kContacts) + SamplePeople().size());
  return count;
}

bool ProvisionSampleData(std::string* error) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) {
    if (error) *error = "no device is open";
    return false;
  }
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  std::int64_t now = sysclock::UnixMs();
  double today = Today();
  // One transaction; each kind of data only where the device has none yet,
  // so an interrupted provisioning completes and a used device is left alone.
  bool ok = db->Transaction([&] {
    sqlite3* h = db->handle();
    if (CountRows(h, "SELECT count(*) FROM contacts") == 0 && !AddContacts()) return false;
    if (CountRows(h, "SELECT count(*) FROM messages") == 0 && !AddMessages(h, now)) return false;
    if (CountRows(h, "SELECT count(*) FROM call_log") == 0 && !AddCalls(now)) return false;
    if (CountRows(h, "SELECT count(*) FROM tasks") == 0 && !AddTasks(today)) return false;
    if (CountRows(h, "SELECT count(*) FROM appointments") == 0 && !AddAppointments(today)) return false;
    return true;
  });
  if (!ok && error) *error = "the sample contacts, messages and calls cannot be written: " + db->LastError();
  return ok;
}

}  // namespace device
