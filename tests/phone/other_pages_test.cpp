// The pages around the contacts and messages: the call log through its
// filters, the contact's details, writing an SMS, the tasks and the calendar.
#include <gtest/gtest.h>

#include "pim/calendar_page.h"
#include "pim/call_log_page.h"
#include "pim/contact_details_page.h"
#include "pim/task_list_page.h"
#include "pim/write_sms_page.h"
#include "platform/device/call_log.h"
#include "platform/device/phone.h"
#include "platform/device/sms_network.h"
#include "platform/registry/registry.h"
#include "platform/win32/clock.h"
#include "platform/win32/locale.h"
#include "platform/window/input.h"
#include "tests/phone/phone_fixture.h"

namespace {

using namespace phonetest;
using uitest::UiHarness;

// Minutes before the virtual start (Monday 2010-03-15 09:05 UTC) in ms since 1970.
std::int64_t Ago(int minutes) { return sysclock::UnixMs() - minutes * 60000LL; }

void Call(DWORD direction, const char16_t* number, int minutesAgo, int seconds = 0) {
  device::CallRecord call;
  call.direction = direction;
  call.number = number;
  call.startUnixMs = Ago(minutesAgo);
  call.endUnixMs = call.startUnixMs + seconds * 1000LL;
  if (seconds) call.flags = CALLLOGFLAG_CONNECTED | CALLLOGFLAG_ENDED;
  if (std::u16string(number) == u"private") {
    call.number.clear();
    call.callerIdType = CALLERIDTYPE_BLOCKED;
  }
  ASSERT_NE(device::AddCall(call), 0);
}

DWORD MissedState() {
  DWORD n = 99;
  reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count", &n);
  return n;
}

TEST(CallLogPage, EachFilterListsItsCallsNewestFirstAndTheMissedCallsResetTheirCount) {
  UiHarness h("call_log");
  h.SetSetting(u"AskBeforeMakeCall", 0);
  ASSERT_TRUE(h.Start());
  {
    auto anna = Person(u"Anna", u"Nováková", {{1, u"+420 603 111 222"}});
    ASSERT_NE(device::AddContact(&anna), 0);
  }
  // With no calls every filter says so.
  for (int filter = 0; filter < 4; ++filter) {
    Show<CmivoAdvCallLogPage>(h, 1, filter);
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(Dump()["top"]["texts"][0].AsString().empty()) << filter;
  }
  EXPECT_EQ(Dump()["top"]["texts"][0].AsString(), "There are no records in the Missed calls log.");

  Call(IOM_INCOMING, u"+420 603 111 222", 300, 95);
  Call(IOM_OUTGOING, u"+420 777 000 111", 120, 30);
  Call(IOM_MISSED, u"private", 60);
  Call(IOM_MISSED, u"+420603111222", 10);
  ASSERT_EQ(MissedState(), 2u);

  auto* page = Show<CmivoAdvCallLogPage>(h, 1, 0);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(Dump()["top"]["title"].AsString(), "All calls");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Anna Nováková", "Private", "+420 777 000 111", "Anna Nováková"}));
  EXPECT_EQ(Rows()[3]["help"].AsString(), "+420 603 111 222\n3/15/2010 4:05:00 AM\n1:35");
  EXPECT_EQ(MissedState(), 2u);  // only the missed calls' view resets it

  Show<CmivoAdvCallLogPage>(h, 1, 2);
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"+420 777 000 111"}));
  Show<CmivoAdvCallLogPage>(h, 1, 3);
  EXPECT_EQ(Dump()["top"]["title"].AsString(), "Missed calls");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Anna Nováková", "Private"}));
  EXPECT_EQ(MissedState(), 0u);
  EXPECT_EQ(page->GetTitle(7, 0), u"Error");

  // A tap calls back; the call shows in the log when the page comes back.
  uitest::TapText(h, "rows", "Anna Nováková");
  ASSERT_EQ(device::RecentDials(1).size(), 1u);
  EXPECT_EQ(device::RecentDials(1)[0].number, u"+420603111222");
  Show<CmivoAdvCallLogPage>(h, 1, 2);
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Anna Nováková", "+420 777 000 111"}));

  // A hold offers the number's entries; a withheld number has none.
  h.Hold(60, static_cast<int>(Centre(Row("+420 777 000 111")["rect"]).y));
  EXPECT_EQ(Dump()["top"]["class"].AsString(), "CmivoRightClickPage");
}

TEST(ContactDetailsPage, ShowsEveryNumberAddressAndMailAndItsSmsButtonWritesToTheNumber) {
  UiHarness h("contact_details");
  h.SetSetting(u"AskBeforeMakeCall", 0);
  ASSERT_TRUE(h.Start());
  auto jan = Person(u"Jan", u"Novák", {{1, u"+420 603 526 111"}, {3, u"+420 257 100 200"}});
  jan.jobTitle = u"Architect";
  jan.company = u"Atelier N";
  jan.email1 = u"jan@example.cz";
  jan.homeAddress = {u"Karlova 1", u"Praha", u"", u"110 00", u"Czech Republic"};
  ASSERT_NE(device::AddContact(&jan), 0);

  auto* page = dynamic_cast<CmivoAdvContactDetailsPage*>(h.Core().GetPage(16));
  ASSERT_NE(page, nullptr);
  page->SetContact(static_cast<std::uint32_t>(jan.oid));
  h.Core().ShowPage(page);
  h.Pump();
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Jan Novák", "+420 603 526 111", "+420 257 100 200", "jan@example.cz",
                                                  "Home address"}));
  EXPECT_EQ(Row("Jan Novák")["sub"].AsString(), "Architect\nAtelier N");
  EXPECT_EQ(Row("Home address")["sub"].AsString(), "Karlova 1\n110 00 Praha\nCzech Republic");

  // The card calls; its SMS button at the right end writes to the number.
  const Json business = Row("+420 257 100 200");
  h.Tap(60, Centre(business["rect"]).y);
  ASSERT_EQ(device::RecentDials(1).size(), 1u);
  EXPECT_EQ(device::RecentDials(1)[0].number, u"+420 257 100 200");
  h.Tap(static_cast<int>(business["rect"][2].AsInt()) - 20, Centre(business["rect"]).y);
  EXPECT_EQ(Dump()["top"]["class"].AsString(), "CmivoWriteSMSPage");
  EXPECT_EQ(Dump()["top"]["texts"][0].AsString(), "+420 257 100 200");

  // A contact that is not there leaves "(no contact)".
  h.Key(VK_F1);
  page->SetContact(12345);
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"(no contact)"}));
}

TEST(WriteSMSPage, OffersTheContactsNumbersSendsAndKeepsTheTextWhenSendingFails) {
  UiHarness h("write_sms");
  ASSERT_TRUE(h.Start());
  auto jan = Person(u"Jan", u"Novák", {{1, u"+420 603 526 111"}, {6, u"+420 224 000 111"}});
  ASSERT_NE(device::AddContact(&jan), 0);
  auto* page = dynamic_cast<CmivoWriteSMSPage*>(h.Core().GetPage(6));
  ASSERT_NE(page, nullptr);
  page->Compose(u"");
  h.Core().ShowPage(page);
  h.Pump();
  EXPECT_EQ(Dump()["softkeys"][1].AsString(), "Send SMS");

  // A name typed: each of its numbers is offered; digits find a number.
  window::input::Text(u"nov");
  h.Pump();
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Jan Novák", "Jan Novák"}));
  page->Compose(u"");
  window::input::Text(u"526");
  h.Pump();
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0]["sub"].AsString(), "+420 603 526 111");
  uitest::TapText(h, "rows", "Jan Novák");
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(page->Recipient(), u"+420 603 526 111");

  // The text goes to the message; the count follows it.
  window::input::Text(u"Ahoj");
  h.Pump();
  EXPECT_EQ(Dump()["top"]["texts"][2].AsString(), "4/160");

  // A network that fails: the error, and the text is kept.
  ASSERT_TRUE(device::FailNextSMS());
  h.AtIdle([] {
    EXPECT_EQ(uitest::OpenOverlay().text, u"The message could not be sent.");
    uitest::TapOverlayButton(0);
  });
  h.Key(VK_F2);
  EXPECT_EQ(page->Text(), u"Ahoj");
  EXPECT_EQ(h.Core().TopPage(), page);

  // Sent: told so, and the page goes.
  h.AtIdle([] {
    EXPECT_EQ(uitest::OpenOverlay().text, u"The message has been sent.");
    uitest::TapOverlayButton(0);
  });
  h.Key(VK_F2);
  EXPECT_NE(h.Core().TopPage(), page);
  const auto sent = device::ListSMS(u"sent");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].text, u"Ahoj");
}

TEST(TaskListPage, TasksToDoComeFirstByDueDateAndATapShowsTheDetails) {
  UiHarness h("tasks");
  ASSERT_TRUE(h.Start());
  auto task = [](const char16_t* subject, std::optional<double> due, bool done, int importance) {
    device::TaskRecord t;
    t.subject = subject;
    t.dueDate = due;
    t.complete = done;
    t.importance = importance;
    if (done) t.dateCompleted = 40251.0;
    ASSERT_NE(device::AddTask(&t), 0);
  };
  task(u"Undated", std::nullopt, false, 1);
  task(u"Done", 40250.0, true, 1);
  task(u"Later", 40260.0, false, 0);
  task(u"Overdue", 40250.0, false, 2);  // 2010-03-13
  Show<CmivoAdvTaskListPage>(h, 18);
  EXPECT_EQ(Dump()["top"]["title"].AsString(), "Tasks");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Overdue", "Later", "Undated", "Done"}));
  EXPECT_EQ(Row("Overdue")["sub"].AsString(), "Due: 3/13/2010");
  EXPECT_EQ(Row("Done")["sub"].AsString(), "Completed");
  uitest::TapText(h, "rows", "Overdue");
  const std::vector<Json> rows = Rows();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1]["text"].AsString(), "Overdue");  // the details card, titled with the subject
  EXPECT_NE(rows[1]["sub"].AsString().find("Priority"), std::string::npos) << rows[1]["sub"].AsString();
  uitest::TapText(h, "rows", "Overdue");
  EXPECT_EQ(RowTexts().size(), 4u);
}

TEST(CalendarPage, TodayIsChosenInItsMonthWithTheBusyDaysMarkedAndTheWeekStartsAsTheLocaleSays) {
  UiHarness h("calendar");
  ASSERT_TRUE(h.Start());
  auto meeting = [](const char16_t* subject, double start, double end) {
    device::AppointmentRecord a;
    a.subject = subject;
    a.start = start;
    a.end = end;
    ASSERT_NE(device::AddAppointment(&a), 0);
  };
  meeting(u"Dentist", 40252.0 + 14.0 / 24, 40252.0 + 15.0 / 24);  // Monday 15th, 14:00
  meeting(u"Trip", 40254.0, 40256.0);                             // Wednesday 17th and Thursday 18th
  auto* page = Show<CmivoCalendarPage>(h, 32);
  ASSERT_NE(page, nullptr);
  Json d = Dump();
  EXPECT_EQ(d["top"]["texts"][0].AsString(), "March, 2010");
  EXPECT_EQ(d["top"]["texts"][1].AsString(), "Monday, March 15, 2010");
  // English (United States): the week starts on Sunday, with 28 February.
  EXPECT_EQ(d["top"]["cells"][0]["text"].AsString(), "28");
  EXPECT_EQ(d["top"]["cells"][15]["text"].AsString(), "15*");
  EXPECT_EQ(d["top"]["cells"][17]["text"].AsString(), "17*");
  EXPECT_EQ(d["top"]["cells"][18]["text"].AsString(), "18*");
  EXPECT_EQ(d["top"]["cells"][19]["text"].AsString(), "19");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Dentist"}));
  EXPECT_EQ(Rows()[0]["sub"].AsString(), "02:00 PM \u2013 03:00 PM");

  // A tap on another day, the arrows, the pad.
  const Json cell = d["top"]["cells"][18];
  h.Tap(static_cast<int>(Centre(cell["rect"]).x), static_cast<int>(Centre(cell["rect"]).y));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Trip"}));
  h.Key(VK_DOWN);
  EXPECT_EQ(Dump()["top"]["texts"][1].AsString(), "Thursday, March 25, 2010");
  page->StepMonth(1);
  EXPECT_EQ(Dump()["top"]["texts"][1].AsString(), "Sunday, April 25, 2010");

  // German: Monday first.
  syslocale::SetUserLocale("de_DE");
  page->SetPageParam(0, 0);
  d = Dump();
  EXPECT_EQ(d["top"]["texts"][0].AsString(), "März 2010");
  EXPECT_EQ(d["top"]["cells"][0]["text"].AsString(), "1");
  syslocale::SetUserLocale("");
}

}  // namespace
