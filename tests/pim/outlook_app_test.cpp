// The Outlook store over a device, kept current by other programs' changes, and the phone object.
#include "pim/outlook_app.h"

#include <gtest/gtest.h>

#include <chrono>

#include "look/string_ids.h"
#include "pim/call_log.h"
#include "pim/phone_numbers.h"
#include "platform/device/device.h"
#include "platform/device/pim_db.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "platform/window/window.h"
#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

POApplication* g_app = nullptr;
int g_notes = 0;

// Stands in for the main frame: hands the Outlook notifications to the store.
LRESULT FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= PIM_ITEM_CREATED_REMOTE && msg <= PIM_ITEM_CHANGED_REMOTE) {
    ++g_notes;
    if (g_app) g_app->HandleNotification(msg, wParam, lParam);
    return 1;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Listener : public mivoOutlookEventHandler {
 public:
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override { Note("added", source, item); }
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override { Note("changed", source, list); }
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override { Note("item", source, item); }
  void Note(const char* what, int source, mivoOutlookObject* o) {
    auto* c = dynamic_cast<POContact*>(o);
    heard.push_back(std::string(what) + " " + std::to_string(source) + " " +
                    (c ? text::ToUtf8(c->GetDisplayName()) : "?"));
  }
  std::vector<std::string> heard;
};

class CountLink : public POHistoryLink {
 public:
  explicit CountLink(int n) : count(n) {}
  int UsageCount() const override { return count; }
  int count;
};

device::ContactRecord Person(const char16_t* first, const char16_t* last) {
  device::ContactRecord c;
  c.firstName = first;
  c.lastName = last;
  return c;
}

class OutlookStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device::DeviceOptions options;
    options.provision = false;
    std::string error;
    ASSERT_TRUE(device::OpenDevice(dir / "dev", &error, options)) << error;
    WNDCLASSW wc{};
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = u"frame";
    RegisterClassW(&wc);
    frame = CreateWindowExW(0, u"frame", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    g_notes = 0;
  }
  void TearDown() override {
    g_app = nullptr;
    window::ResetWindowSystem();
    device::CloseDevice();
  }
  // mivo-device, another program, on this test's device.
  void Tool(std::vector<std::string> args) {
    args.insert(args.begin(), {"--device", dir / "dev"});
    const auto r = testing_support::RunMivoDevice(args);
    ASSERT_EQ(r.code, 0) << r.err;
  }
  void PumpUntil(int notes) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    MSG msg;
    while (g_notes < notes && std::chrono::steady_clock::now() < deadline) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      if (g_notes < notes) MsgWaitForSingleMessage(20);
    }
  }
  testing_support::TempDir dir;
  HWND frame = nullptr;
};

TEST_F(OutlookStoreTest, ContactsShowTheirNamesNumbersAndPreferredKind) {
  auto anna = Person(u"Anna", u"Nováková");
  anna.mobile = u"+420 603 111 222";
  anna.home = u"+420 224 812 345";
  auto eliska = Person(u"Eliška", u"");
  eliska.home = u"+420 235 300 411";
  auto firm = Person(u"", u"");
  firm.company = u"Pizzerie Napoli";
  for (auto* c : {&anna, &eliska, &firm}) ASSERT_NE(device::AddContact(c), 0);

  POApplication app(frame);
  ASSERT_TRUE(app.IsOpen());
  POContactsCollection* contacts = app.GetContacts();
  ASSERT_NE(contacts, nullptr);
  ASSERT_EQ(contacts->GetCount(), 3u);
  // In the order of their names: Eliška (no last name), Nováková, the pizzeria (its company name).
  POContact* e = contacts->GetContactAt(0);
  POContact* a = contacts->GetContactAt(1);
  POContact* f = contacts->GetContactAt(2);
  EXPECT_EQ(a->GetDisplayName(), u"Anna Nováková");
  EXPECT_EQ(e->GetDisplayName(), u"Eliška ");
  EXPECT_EQ(f->GetDisplayName(), u"Pizzerie Napoli");  // first and last name empty: the other name
  EXPECT_EQ(e->GetFirstNumber(), u"+420 235 300 411");
  EXPECT_EQ(f->GetFirstNumber(), u"(no phone number)");
  EXPECT_EQ(a->GetNumber(kPhoneKindHome), u"+420 224 812 345");
  EXPECT_EQ(a->GetNumber(9), u"");
  EXPECT_EQ(POContact::GetNumberLabel(2), u"Assisnant phone");
  EXPECT_EQ(POContact::GetNumberLabel(0), u"(error)");

  // Only a home number: that one, history or not.
  EXPECT_EQ(e->GetPreferredKind(), kPhoneKindHome);
  // Two numbers and no history: none, the details open instead.
  EXPECT_EQ(a->GetPreferredKind(), 0);
  a->SetHistoryLink(kPhoneKindHome, std::make_unique<CountLink>(2));
  EXPECT_EQ(a->GetPreferredKind(), kPhoneKindHome);
  a->SetHistoryLink(kPhoneKindMobile, std::make_unique<CountLink>(2));
  EXPECT_EQ(a->GetPreferredKind(), 0);  // both used twice
  static_cast<CountLink*>(a->GetHistoryLink(kPhoneKindMobile))->count = 5;
  EXPECT_EQ(a->GetPreferredKind(), kPhoneKindMobile);
  EXPECT_EQ(f->GetPreferredKind(), 0);

  int kind = 0;
  EXPECT_EQ(contacts->FindContactByNumber(u"00420603111222", &kind), nullptr);
  EXPECT_EQ(contacts->FindContactByNumber(u"420 603-111 222", &kind), a);
  EXPECT_EQ(kind, kPhoneKindMobile);
  EXPECT_EQ(contacts->FindContactByOid(a->GetOid()), a);
  EXPECT_EQ(contacts->FindContactByOid(0), nullptr);
  EXPECT_EQ(contacts->FindItem(u"[FirstName] = \"eliška\""), e);
  EXPECT_EQ(contacts->FindItem(u"[FirstName] = \"nobody\""), nullptr);
  ASSERT_TRUE(contacts->Sort(u"[LastName]", true));
  EXPECT_EQ(contacts->GetContactAt(0)->GetLastName(), u"Nováková");
}

TEST_F(OutlookStoreTest, ContactChangesOfOtherProgramsReachTheListeners) {
  auto anna = Person(u"Anna", u"Nováková");
  anna.mobile = u"+420 603 111 222";
  ASSERT_NE(device::AddContact(&anna), 0);
  POApplication app(frame);
  g_app = &app;
  POContactsCollection* contacts = app.GetContacts();
  Listener page;
  contacts->AddListener(&page);

  testing_support::WriteText(dir / "eva.vcf",
                             "BEGIN:VCARD\nVERSION:3.0\nN:Nová;Eva\nTEL;TYPE=CELL:+420 601 000 001\nEND:VCARD\n");
  Tool({"contacts", "import", dir / "eva.vcf"});
  // A task of another program is posted too, and must not become a contact.
  Tool({"tasks", "add", "Call Eva"});
  PumpUntil(2);
  ASSERT_EQ(contacts->GetCount(), 2u);
  EXPECT_EQ(page.heard, std::vector<std::string>{"added 1 Eva Nová"});

  // Eva Nová takes her place in the order of names, before Anna Nováková.
  EXPECT_EQ(contacts->GetContactAt(0)->GetFirstName(), u"Eva");
  // Changed elsewhere: the contact shows the new name.
  POContact* a = contacts->GetContactAt(1);
  EXPECT_EQ(a->GetFirstName(), u"Anna");
  {
    std::string error;
    auto other = devdb::Database::Open(dir / "dev/device.db", devdb::OpenMode::kOpenExisting, &error);
    ASSERT_TRUE(other->Exec("UPDATE contacts SET first_name = 'Anička' WHERE first_name = 'Anna'"));
    ASSERT_TRUE(other->Exec("DELETE FROM contacts WHERE first_name = 'Eva'"));
  }
  PumpUntil(4);
  EXPECT_EQ(a->GetFirstName(), u"Anička");
  ASSERT_EQ(page.heard.size(), 3u);
  EXPECT_EQ(page.heard[1], "item 1 Anička Nováková");
  EXPECT_EQ(page.heard[2], "changed 1 Eva Nová");
  EXPECT_EQ(contacts->GetCount(), 1u);
  contacts->RemoveListener(&page);
}

TEST_F(OutlookStoreTest, AppointmentChangesOfOtherProgramsReadTheCalendarAgain) {
  POApplication app(frame);
  g_app = &app;
  POAppointmentsCollection* calendar = app.GetAppointments();
  ASSERT_EQ(calendar->GetCount(), 0u);
  Listener panel;
  calendar->AddListener(&panel);
  Tool({"appointments", "add", "Vet", "2010-03-16 10:00"});
  PumpUntil(1);
  ASSERT_EQ(calendar->GetCount(), 1u);
  EXPECT_EQ(calendar->GetAppointmentAt(0)->GetSubject(), u"Vet");
  EXPECT_EQ(panel.heard, std::vector<std::string>{"changed 2 ?"});
  // A task of another program is no appointment.
  Tool({"tasks", "add", "Feed the cat"});
  PumpUntil(2);
  EXPECT_EQ(panel.heard.size(), 1u);
  calendar->RemoveListener(&panel);
}

TEST_F(OutlookStoreTest, TaskAndAppointmentDatesFollowTheirRules) {
  device::TaskRecord dated, undated;
  dated.subject = u"Dated";
  dated.dueDate = 40253.0;  // 2010-03-16
  undated.subject = u"Undated";
  ASSERT_NE(device::AddTask(&dated), 0);
  ASSERT_NE(device::AddTask(&undated), 0);
  device::AppointmentRecord meeting;
  meeting.subject = u"Meeting";
  meeting.start = 40252.5;
  meeting.end = 40252.5 + 1.0 / 24;
  ASSERT_NE(device::AddAppointment(&meeting), 0);

  POApplication app(frame);
  POTasksCollection* tasks = app.GetTasks();
  ASSERT_EQ(tasks->GetCount(), 2u);
  std::int64_t t = 0;
  ASSERT_TRUE(tasks->GetTaskAt(0)->GetDueDate(&t));
  EXPECT_FALSE(tasks->GetTaskAt(0)->GetStartDate(&t));
  EXPECT_FALSE(tasks->GetTaskAt(1)->GetDueDate(&t));  // 949998.0 is no date
  EXPECT_EQ(tasks->GetTaskAt(1)->GetSubject(), u"Undated");

  POAppointmentsCollection* calendar = app.GetAppointments();
  ASSERT_EQ(calendar->GetCount(), 1u);
  std::int64_t start = 0, end = 0;
  ASSERT_TRUE(calendar->GetAppointmentAt(0)->GetStart(&start));
  ASSERT_TRUE(calendar->GetAppointmentAt(0)->GetEnd(&end));
  EXPECT_EQ(end - start, 3600);
  auto today = calendar->FindAll(u"[End] > \"3/15/2010 12:00:00 AM\"");
  ASSERT_EQ(today.size(), 1u);
  EXPECT_EQ(static_cast<POAppointment*>(today[0].get())->GetSubject(), u"Meeting");
  EXPECT_TRUE(calendar->FindAll(u"[End] > \"3/16/2010 12:00:00 AM\"").empty());
}

TEST(PhoneNumbers, AreEqualByTheirDigitsOnly) {
  EXPECT_TRUE(mivoPhoneNumbersEqual(u"+420 123-456", u"420 123 456"));
  EXPECT_TRUE(mivoPhoneNumbersEqual(u"(+420) 603 111 222", u"420603111222"));
  EXPECT_FALSE(mivoPhoneNumbersEqual(u"123", u"1234"));
  EXPECT_FALSE(mivoPhoneNumbersEqual(u"603 111 222", u"+420 603 111 222"));
  EXPECT_TRUE(mivoPhoneNumbersEqual(u"", u"--"));
}

TEST_F(OutlookStoreTest, ThePhoneObjectReadsTheLogAndDials) {
  for (auto [direction, number] : std::vector<std::pair<DWORD, const char16_t*>>{
           {IOM_INCOMING, u"+420 1"}, {IOM_MISSED, u"+420 2"}, {IOM_OUTGOING, u"+420 3"}, {IOM_MISSED, u"+420 4"}}) {
    device::CallRecord r;
    r.direction = direction;
    r.number = number;
    r.startUnixMs = r.endUnixMs = 1268643900000 + static_cast<std::int64_t>(direction) * 1000;
    ASSERT_NE(device::AddCall(r), 0);
  }
  mivoCallLog phone;
  phone.ReadCallLog();
  ASSERT_EQ(phone.GetEntries().size(), 4u);
  int kept[4] = {};
  for (int f = 0; f < 4; ++f)
    for (const CALLLOGENTRY& e : phone.GetEntries()) kept[f] += CallLogFilterKeeps(f, e);
  EXPECT_EQ(kept[kCallLogFilterAll], 4);
  EXPECT_EQ(kept[kCallLogFilterIncoming], 1);
  EXPECT_EQ(kept[kCallLogFilterOutgoing], 1);
  EXPECT_EQ(kept[kCallLogFilterMissed], 2);
  EXPECT_EQ(GetCallLogFilter(3)->titleId, IDS_MISSED_CALLS);
  EXPECT_EQ(std::u16string(GetCallLogFilter(1)->image), u"call_log_incoming_page");
  EXPECT_EQ(GetCallLogFilter(4), nullptr);
  ResetMissedCallCount();
  DWORD missed = 9;
  ASSERT_TRUE(reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count", &missed));
  EXPECT_EQ(missed, 0u);

  // A name that is the number itself is passed as no name.
  phone.MakeCall(u"+420 777 000 111", u"+420 777 000 111", false);
  phone.MakeCall(u"+420 777 000 222", u"Pizzerie", true);
  phone.ReadCallLog();
  ASSERT_EQ(phone.GetEntries().size(), 6u);
  EXPECT_EQ(std::u16string(phone.GetEntries()[0].pszName), u"Pizzerie");
  EXPECT_EQ(std::u16string(phone.GetEntries()[1].pszName), u"");
  EXPECT_EQ(phone.GetEntries()[1].iom, IOM_OUTGOING);
}

}  // namespace
