#include "tools/mivo-device/pim_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/device/call_log.h"
#include "platform/device/com.h"
#include "platform/device/device_state.h"
#include "platform/device/pim_db.h"
#include "platform/device/poom_restriction.h"
#include "platform/device/sms_network.h"
#include "platform/device/system.h"
#include "platform/device/vcard.h"
#include "platform/fs/file_io.h"
#include "platform/win32/clock.h"
#include "platform/win32/errors.h"
#include "platform/win32/format_message.h"
#include "platform/win32/text.h"

namespace pimtool {

const char* const kUsageLines =
    "  sms receive FROM TEXT [--at TIME]  an incoming SMS (unread, in the Inbox); FROM a number or \"Name <number>\"\n"
    "  sms list [FOLDER]                the messages of Inbox (default), Sent, Drafts, Outbox or Deleted\n"
    "  sms fail-next                    the next SMS the device sends fails\n"
    "  call incoming NUMBER [--name NAME] [--at TIME] [--seconds N]   an incoming call, answered\n"
    "  call missed NUMBER [--name NAME] [--at TIME]   a missed call (counts in the missed calls)\n"
    "  call outgoing NUMBER [--name NAME] [--at TIME] [--seconds N]   a call made from the device\n"
    "  call log [N]                     the last N calls (default 20)\n"
    "  contacts import FILE.vcf         add the contacts of a vCard file (2.1, 3.0, 4.0)\n"
    "  contacts export FILE.vcf         write every contact as vCard 3.0\n"
    "  contacts list                    the contacts and their numbers\n"
    "  tasks add SUBJECT [--due DAY] [--start DAY] [--high|--low]   a new task\n"
    "  tasks list                       the tasks\n"
    "  appointments add SUBJECT START [--end TIME | --minutes N | --all-day] [--location PLACE]\n"
    "  appointments list                the appointments, earliest first\n"
"\n"
    "TIME is the device's local time: 2010-03-15T14:30, \"2010-03-15 14:30\", today 14:30, tomorrow 9:00;\n"
    "DAY is a date: 2010-03-20, today, tomorrow.\n";

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "mivo-device: %s\n", message.c_str());
  return 1;
}

int Usage(const std::string& message, const char* usage) {
  std::fprintf(stderr, "mivo-device: %s\nusage: %s\n", message.c_str(), usage);
  return 2;
}

// "sms --help" and "sms deliver --help"; a text that says --help is a text.
bool IsHelp(const std::vector<std::string>& a) {
  auto help = [](const std::string& s) { return s == "--help" || s == "-h"; };
  return (!a.empty() && help(a[0])) || (a.size() == 2 && help(a[1]));
}

bool ParseCount(const std::string& s, long long lo, long long hi, long long* out) {
  if (s.empty()) return false;
  char* end = nullptr;
  long long v = std::strtoll(s.c_str(), &end, 10);
  if (*end || v < lo || v > hi) return false;
  *out = v;
  return true;
}

// Local times in the device's own time zone.
void UseDeviceTimeZone() { sysclock::SetTimeZone(device::TimeZone()); }

double TodayDate() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 0;
  double d = 0;
  SystemTimeToVariantTime(&st, &d);
  return d;
}

// "2010-03-15T14:30", "2010-03-15 14:30", "today 14:30", "tomorrow" -> a local DATE.
bool ParseLocal(const std::string& textIn, double* date) {
  std::u16string t = text::Trim(text::FromUtf8(textIn));
  std::u16string lower = text::ToLower(t);
  for (auto [word, days] : {std::pair<const char16_t*, int>{u"today", 0}, {u"tomorrow", 1}, {u"yesterday", -1}}) {
    std::u16string w = word;
    if (lower.rfind(w, 0) != 0) continue;
    std::u16string rest = text::Trim(t.substr(w.size()));
    if (!rest.empty() && (rest[0] == u'T' || rest[0] == u't')) rest = rest.substr(1);
    double day = TodayDate() + days;
    if (rest.empty()) {
      *date = day;
      return true;
    }
    // The time alone, read as a time on an arbitrary day.
    double withTime = 0;
    if (!poom::ParseDateText(u"2000-01-01 " + rest, &withTime)) return false;
    *date = day + (withTime - std::floor(withTime));
    return true;
  }
  return poom::ParseDateText(t, date);
}

std::int64_t LocalDateToUnixMs(double date) {
  SYSTEMTIME st;
  FILETIME local, utc;
  if (!VariantTimeToSystemTime(date, &st) || !SystemTimeToFileTime(&st, &local) ||
      !LocalFileTimeToFileTime(&local, &utc))
    return 0;
  std::uint64_t ticks = (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000) - 11644473600000LL;
}

std::string FormatSystemTime(const SYSTEMTIME& st, bool withTime) {
  char buf[32];
  if (withTime)
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute);
  else
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", st.wYear, st.wMonth, st.wDay);
  return buf;
}

std::string LocalText(std::int64_t unixMs) {
  std::uint64_t ticks = static_cast<std::uint64_t>(unixMs + 11644473600000LL) * 10000;
  FILETIME utc{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)}, local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return "(bad time)";
  return FormatSystemTime(st, true);
}

std::string DateText(double date, bool withTime) {
  SYSTEMTIME st;
  return VariantTimeToSystemTime(date, &st) ? FormatSystemTime(st, withTime) : "(bad date)";
}

std::string U8(const std::u16string& s) { return text::ToUtf8(s); }

// Takes "--name VALUE" style options out of args; false (with a message) for
// an unknown option or a missing value.
struct Options {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> named;
  std::string error;
  const std::string* Get(const std::string& name) const {
    for (const auto& [n, v] : named)
      if (n == name) return &v;
    return nullptr;
  }
  bool Has(const std::string& name) const { return Get(name) != nullptr; }
};

Options ParseOptions(const std::vector<std::string>& args, std::size_t from, const std::vector<std::string>& withValue,
                     const std::vector<std::string>& flags) {
  Options o;
  for (std::size_t i = from; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.rfind("--", 0) == 0) {
      if (std::find(withValue.begin(), withValue.end(), a) != withValue.end()) {
        if (i + 1 >= args.size()) {
          o.error = a + " needs a value";
          return o;
        }
        o.named.emplace_back(a, args[++i]);
      } else if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
        o.named.emplace_back(a, "");
      } else {
        o.error = "unknown option " + a;
        return o;
      }
    } else {
      o.positional.push_back(a);
    }
  }
  return o;
}

// ---- sms ----------------------------------------------------------------------------------

constexpr const char* kSmsUsage = "mivo-device sms receive FROM TEXT [--at TIME] | sms list [FOLDER] | sms fail-next";

// Parses the --at option into *when (left as it is without one); false when
// the option does not name a time.
bool AtOption(const Options& o, std::int64_t* when) {
  const std::string* at = o.Get("--at");
  if (!at) return true;
  double date = 0;
  std::int64_t ms = 0;
  if (!ParseLocal(*at, &date) || !(ms = LocalDateToUnixMs(date))) return false;
  *when = ms;
  return true;
}

int SmsReceive(const std::vector<std::string>& a) {
  Options o = ParseOptions(a, 1, {"--at"}, {});
  if (!o.error.empty()) return Usage(o.error, kSmsUsage);
  if (o.positional.size() != 2)
    return Usage("sms receive needs FROM and TEXT (quote them when they have spaces)", kSmsUsage);
  std::int64_t when = sysclock::UnixMs();
  if (!AtOption(o, &when)) return Usage("--at " + *o.Get("--at") + " is not a time", kSmsUsage);
  std::string error;
  std::int64_t id = device::DeliverSMS(text::FromUtf8(o.positional[0]), text::FromUtf8(o.positional[1]), when, &error);
  if (!id) return Fail("cannot deliver the message: " + error);
  std::printf("delivered message %lld\n", static_cast<long long>(id));
  return 0;
}

int SmsList(const std::vector<std::string>& a) {
  if (a.size() > 2) return Usage("sms list takes one FOLDER", kSmsUsage);
  std::u16string role = u"inbox";
  if (a.size() == 2 && !device::ParseSMSFolder(text::FromUtf8(a[1]), &role))
    return Usage("unknown folder " + a[1] + " (Inbox, Sent, Drafts, Outbox or Deleted)", kSmsUsage);
  for (const device::SMSRecord& r : device::ListSMS(role)) {
    std::string who = U8(r.senderName);
    if (!r.senderNumber.empty() && r.senderNumber != r.senderName)
      who += (who.empty() ? "<" : " <") + U8(r.senderNumber) + ">";
    if (who.empty()) who = "(nobody)";
    std::printf("%-16s  %-6s  %s: %s\n", r.hasTime ? LocalText(r.unixMs).c_str() : "(no time)",
                r.read ? "read" : "unread", who.c_str(), U8(r.text).c_str());
  }
  return 0;
}

// ---- call -----------------------------------------------------------------------------------

constexpr const char* kCallUsage =
    "mivo-device call incoming|outgoing NUMBER [--name NAME] [--at TIME] [--seconds N] | "
    "call missed NUMBER [--name NAME] [--at TIME] | call log [N]";

int CallLog(const std::vector<std::string>& a) {
  long long n = 20;
  if (a.size() > 2 || (a.size() == 2 && !ParseCount(a[1], 1, 1000000, &n)))
    return Usage("call log takes an optional count", kCallUsage);
  static const char* const kDirections[] = {"missed", "incoming", "outgoing"};
  auto calls = device::ListCalls(static_cast<int>(n));
  for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
    const char* direction = it->direction < 3 ? kDirections[it->direction] : "?";
    std::int64_t seconds = (it->endUnixMs - it->startUnixMs) / 1000;
    std::string who = !it->number.empty()                        ? U8(it->number)
                      : it->callerIdType == CALLERIDTYPE_BLOCKED ? "(private number)"
                                                                 : "(no number)";
    if (!it->name.empty()) who = U8(it->name) + " <" + who + ">";
    std::printf("%s  %-8s  %s", LocalText(it->startUnixMs).c_str(), direction, who.c_str());
    if ((it->flags & CALLLOGFLAG_CONNECTED) != 0)
      std::printf("  %lld:%02lld", static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60));
    std::printf("\n");
  }
  return 0;
}

// A call of the direction (IOM_INCOMING answered, IOM_MISSED, IOM_OUTGOING).
int AddCallCommand(const std::vector<std::string>& a, int direction) {
  const bool connected = direction != IOM_MISSED;
  Options o = ParseOptions(a, 1,
                           connected ? std::vector<std::string>{"--name", "--at", "--seconds"}
                                     : std::vector<std::string>{"--name", "--at"},
                           {});
  if (!o.error.empty()) return Usage(o.error, kCallUsage);
  if (o.positional.size() != 1) return Usage("call " + a[0] + " needs one NUMBER", kCallUsage);
  long long seconds = 60;
  if (const std::string* s = o.Get("--seconds"); s && !ParseCount(*s, 0, 24 * 3600, &seconds))
    return Usage("--seconds takes a number of seconds", kCallUsage);
  device::CallRecord call;
  call.number = text::Trim(text::FromUtf8(o.positional[0]));
  if (const std::string* name = o.Get("--name")) call.name = text::FromUtf8(*name);
  bool digits = false;
  for (char16_t c : call.number) digits = digits || (c >= u'0' && c <= u'9');
  if (!digits) {
    // Only a caller can withhold the number: such a call comes in as "private".
    const std::u16string word = text::ToLower(call.number);
    if (direction == IOM_OUTGOING || (word != u"private" && word != u"blocked"))
      return Usage("call " + a[0] + " needs a NUMBER with digits" +
                       (direction == IOM_OUTGOING ? "" : " (or \"private\" for a withheld one)"),
                   kCallUsage);
    call.callerIdType = CALLERIDTYPE_BLOCKED;
    call.number.clear();
  }
  call.direction = direction;
  call.flags = CALLLOGFLAG_ENDED | (connected ? CALLLOGFLAG_CONNECTED : 0);
  // The call begins now (or at --at); a connected one goes on for its seconds.
  call.startUnixMs = sysclock::UnixMs();
  if (!AtOption(o, &call.startUnixMs)) return Usage("--at " + *o.Get("--at") + " is not a time", kCallUsage);
  call.endUnixMs = call.startUnixMs + (connected ? seconds * 1000 : 0);
  std::int64_t id = device::AddCall(call);
  if (!id) return Fail("cannot record the call");
  static const char* const kDone[] = {"missed", "answered", "made"};
  std::printf("%s call %lld\n", kDone[direction], static_cast<long long>(id));
  return 0;
}

// ---- contacts -----------------------------------------------------------------------------------

constexpr const char* kContactsUsage =
    "mivo-device contacts import FILE.vcf | contacts export FILE.vcf | contacts list";

int ContactsImport(const std::vector<std::string>& a) {
  if (a.size() != 2) return Usage("contacts import needs one FILE.vcf", kContactsUsage);
  std::vector<std::uint8_t> bytes;
  if (!fs::ReadHostFile(a[1], &bytes)) return Fail("cannot read " + a[1] + ": " + U8(SystemErrorText(GetLastError())));
  device::VCardImport result =
      device::ImportVCards(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  for (const auto& m : result.messages) std::fprintf(stderr, "mivo-device: %s: %s\n", a[1].c_str(), m.c_str());
  if (!result.ok) return 1;
  std::printf("%d contacts imported", result.added);
  if (result.duplicates) std::printf(", %d already there", result.duplicates);
  if (result.skipped) std::printf(", %d cards skipped", result.skipped);
  std::printf("\n");
  return 0;
}

int ContactsExport(const std::vector<std::string>& a) {
  if (a.size() != 2) return Usage("contacts export needs one FILE.vcf", kContactsUsage);
  const std::vector<device::ContactRecord> contacts = device::ListContacts();
  const std::string cards = device::WriteVCards(contacts);
  if (!fs::WriteHostFileAtomic(a[1], cards.data(), cards.size()))
    return Fail("cannot write " + a[1] + ": " + U8(SystemErrorText(GetLastError())));
  std::printf("%zu contacts exported\n", contacts.size());
  return 0;
}

int ContactsList() {
  static const char* const kKinds[] = {"mobile", "assistant", "business", "business 2",
                                       "car",    "home",      "home 2",   "radio"};
  for (const device::ContactRecord& c : device::ListContacts()) {
    std::printf("%lld  %s\n", static_cast<long long>(c.oid), U8(c.DisplayName()).c_str());
    for (int kind = 1; kind <= 8; ++kind)
      if (!c.Phone(kind)->empty()) std::printf("      %-10s %s\n", kKinds[kind - 1], U8(*c.Phone(kind)).c_str());
    if (!c.email1.empty()) std::printf("      %-10s %s\n", "e-mail", U8(c.email1).c_str());
  }
  return 0;
}

// ---- tasks and appointments ---------------------------------------------------------------------------

constexpr const char* kTasksUsage =
    "mivo-device tasks add SUBJECT [--due DAY] [--start DAY] [--high|--low] | tasks list";
constexpr const char* kAppointmentsUsage =
    "mivo-device appointments add SUBJECT START [--end TIME | --minutes N | --all-day] [--location PLACE] | "
    "appointments list";

int TasksAdd(const std::vector<std::string>& a) {
  Options o = ParseOptions(a, 1, {"--due", "--start"}, {"--high", "--low"});
  if (!o.error.empty()) return Usage(o.error, kTasksUsage);
  if (o.positional.size() != 1 || o.positional[0].empty()) return Usage("tasks add needs one SUBJECT", kTasksUsage);
  if (o.Has("--high") && o.Has("--low")) return Usage("a task is --high or --low, not both", kTasksUsage);
  device::TaskRecord t;
  t.subject = text::FromUtf8(o.positional[0]);
  t.importance = o.Has("--high") ? 2 : o.Has("--low") ? 0 : 1;
  for (const char* option : {"--due", "--start"}) {
    if (const std::string* v = o.Get(option)) {
      double d = 0;
      if (!ParseLocal(*v, &d)) return Usage(std::string(option) + " " + *v + " is not a date", kTasksUsage);
      (std::string(option) == "--due" ? t.dueDate : t.startDate) = std::floor(d);
    }
  }
  if (t.startDate && t.dueDate && *t.startDate > *t.dueDate)
    return Usage("the task would start after it is due", kTasksUsage);
  if (!device::AddTask(&t)) return Fail("cannot write the task");
  std::printf("added task %lld\n", static_cast<long long>(t.oid));
  return 0;
}

int TasksList() {
  for (const device::TaskRecord& t : device::ListTasks()) {
    std::string due = t.dueDate ? "due " + DateText(*t.dueDate, false) : "no due date";
    std::printf("%lld  [%c] %s  (%s%s)\n", static_cast<long long>(t.oid), t.complete ? 'x' : ' ', U8(t.subject).c_str(),
                due.c_str(),
                t.importance == 2   ? ", high"
                : t.importance == 0 ? ", low"
                                    : "");
  }
  return 0;
}

int AppointmentsAdd(const std::vector<std::string>& a) {
  Options o = ParseOptions(a, 1, {"--end", "--minutes", "--location"}, {"--all-day"});
  if (!o.error.empty()) return Usage(o.error, kAppointmentsUsage);
  if (o.positional.size() != 2 || o.positional[0].empty())
    return Usage("appointments add needs SUBJECT and START", kAppointmentsUsage);
  if ((o.Has("--end") ? 1 : 0) + (o.Has("--minutes") ? 1 : 0) + (o.Has("--all-day") ? 1 : 0) > 1)
    return Usage("give only one of --end, --minutes and --all-day", kAppointmentsUsage);
  device::AppointmentRecord ap;
  ap.subject = text::FromUtf8(o.positional[0]);
  if (!ParseLocal(o.positional[1], &ap.start)) return Usage(o.positional[1] + " is not a time", kAppointmentsUsage);
  ap.end = ap.start + 1.0 / 24;
  if (o.Has("--all-day")) {
    ap.allDay = true;
    ap.start = std::floor(ap.start);
    ap.end = ap.start + 1;
    ap.reminderMinutes = -1;
  } else if (const std::string* end = o.Get("--end")) {
    if (!ParseLocal(*end, &ap.end)) return Usage("--end " + *end + " is not a time", kAppointmentsUsage);
    if (ap.end < ap.start) return Usage("the appointment would end before it starts", kAppointmentsUsage);
  } else if (const std::string* minutes = o.Get("--minutes")) {
    long long m = 0;
    if (!ParseCount(*minutes, 0, 60 * 24 * 366, &m))
      return Usage("--minutes takes a number of minutes", kAppointmentsUsage);
    ap.end = ap.start + static_cast<double>(m) / 1440.0;
  }
  if (const std::string* location = o.Get("--location")) ap.location = text::FromUtf8(*location);
  if (!device::AddAppointment(&ap)) return Fail("cannot write the appointment");
  std::printf("added appointment %lld\n", static_cast<long long>(ap.oid));
  return 0;
}

int AppointmentsList() {
  auto list = device::ListAppointments();
  std::stable_sort(list.begin(), list.end(), [](const auto& x, const auto& y) { return x.start < y.start; });
  for (const device::AppointmentRecord& ap : list) {
    std::string when = ap.allDay ? DateText(ap.start, false) + " (all day)"
                                 : DateText(ap.start, true) + " - " + DateText(ap.end, true).substr(11);
    std::printf("%lld  %s  %s", static_cast<long long>(ap.oid), when.c_str(), U8(ap.subject).c_str());
    if (!ap.location.empty()) std::printf(" (%s)", U8(ap.location).c_str());
    std::printf("\n");
  }
  return 0;
}

// Runs `run` for a known sub-command; the usage for --help, none or an unknown one.
template <typename Fn>
int Dispatch(const std::vector<std::string>& a, const char* what, const char* usage, Fn run) {
  if (IsHelp(a)) {
    std::printf("usage: %s\n", usage);
    return 0;
  }
  if (a.empty()) return Usage(std::string(what) + " needs a command", usage);
  UseDeviceTimeZone();
  return run();
}

}  // namespace

int Sms(const std::vector<std::string>& a) {
  return Dispatch(a, "sms", kSmsUsage, [&] {
    // "deliver", "ring", "miss" and "fail-next-send" are the commands' first names, kept for scripts.
    if (a[0] == "receive" || a[0] == "deliver") return SmsReceive(a);
    if (a[0] == "list") return SmsList(a);
    if (a[0] == "fail-next" || a[0] == "fail-next-send") {
      if (a.size() != 1) return Usage("sms fail-next takes no arguments", kSmsUsage);
      if (!device::FailNextSMS()) return Fail("cannot change the device");
      std::printf("the next SMS sent will fail\n");
      return 0;
    }
    return Usage("unknown sms command " + a[0], kSmsUsage);
  });
}

int Call(const std::vector<std::string>& a) {
  return Dispatch(a, "call", kCallUsage, [&] {
    if (a[0] == "incoming" || a[0] == "ring") return AddCallCommand(a, IOM_INCOMING);
    if (a[0] == "missed" || a[0] == "miss") return AddCallCommand(a, IOM_MISSED);
    if (a[0] == "outgoing") return AddCallCommand(a, IOM_OUTGOING);
    if (a[0] == "log") return CallLog(a);
    return Usage("unknown call command " + a[0], kCallUsage);
  });
}

int Contacts(const std::vector<std::string>& a) {
  return Dispatch(a, "contacts", kContactsUsage, [&] {
    if (a[0] == "import") return ContactsImport(a);
    if (a[0] == "export") return ContactsExport(a);
    if (a[0] == "list")
      return a.size() == 1 ? ContactsList() : Usage("contacts list takes no arguments", kContactsUsage);
    return Usage("unknown contacts command " + a[0], kContactsUsage);
  });
}

int Tasks(const std::vector<std::string>& a) {
  return Dispatch(a, "tasks", kTasksUsage, [&] {
    if (a[0] == "add") return TasksAdd(a);
    if (a[0] == "list") return a.size() == 1 ? TasksList() : Usage("tasks list takes no arguments", kTasksUsage);
    return Usage("unknown tasks command " + a[0], kTasksUsage);
  });
}

int Appointments(const std::vector<std::string>& a) {
  return Dispatch(a, "appointments", kAppointmentsUsage, [&] {
    if (a[0] == "add") return AppointmentsAdd(a);
    if (a[0] == "list")
      return a.size() == 1 ? AppointmentsList() : Usage("appointments list takes no arguments", kAppointmentsUsage);
    return Usage("unknown appointments command " + a[0], kAppointmentsUsage);
  });
}

}  // namespace pimtool
