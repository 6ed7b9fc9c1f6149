// The Outlook object model on device.db: the application object, folders
// and their notifications to a window, items by OID, Find, Restrict, Sort,
// restriction texts and the object model's dates.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "platform/device/device.h"
#include "platform/device/pim_db.h"
#include "platform/device/poom.h"
#include "platform/device/poom_restriction.h"
#include "platform/registry/database.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "platform/window/window.h"
#include "tests/device/device_fixture.h"
#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

struct Note {
  UINT msg;
  WPARAM oid;
  LPARAM folder;
};
std::vector<Note> g_notes;

LRESULT NoteProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= PIM_ITEM_CREATED_LOCAL && msg <= PIM_ITEM_CHANGED_REMOTE) {
    g_notes.push_back({msg, wParam, lParam});
    return 1;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

double Date(int y, int m, int d, int h = 0, int min = 0) {
  SYSTEMTIME st;
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(min);
  double out = 0;
  SystemTimeToVariantTime(&st, &out);
  return out;
}

std::u16string Take(BSTR s) {
  std::u16string out = s ? std::u16string(s, SysStringLen(s)) : std::u16string();
  SysFreeString(s);
  return out;
}

class OutlookTest : public devicetest::DeviceTest {
 protected:
  OutlookTest() : DeviceTest(Unprovisioned()) {}
  void SetUp() override {
    DeviceTest::SetUp();
    WNDCLASSW wc{};
    wc.lpfnWndProc = NoteProc;
    wc.lpszClassName = u"pim notes";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, u"pim notes", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    g_notes.clear();
    ASSERT_EQ(CoInitializeEx(nullptr, 0), S_OK);
  }
  void TearDown() override {
    if (app) app->Release();
    CoUninitialize();
    window::ResetWindowSystem();
    DeviceTest::TearDown();
  }
  void Open() {
    ASSERT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp2,
                               reinterpret_cast<void**>(&app)),
              S_OK);
    ASSERT_EQ(app->Logon(window), S_OK);
  }
  static void PumpUntil(std::size_t count) {
    devicetest::PumpUntil([&] { return g_notes.size() >= count; });
  }
  IPOutlookItemCollection* Items(int folder) {
    IFolder* f = nullptr;
    EXPECT_EQ(app->GetDefaultFolder(folder, &f), S_OK);
    IPOutlookItemCollection* items = nullptr;
    EXPECT_EQ(f->get_Items(&items), S_OK);
    f->Release();
    return items;
  }

  HWND window = nullptr;
  IPOutlookApp2* app = nullptr;
};

TEST_F(OutlookTest, TheApplicationIsMadeThroughComOnly) {
  CoUninitialize();
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp2, &object),
            CO_E_NOTINITIALIZED);
  CoInitializeEx(nullptr, 0);
  EXPECT_EQ(CoCreateInstance(IID_IItem, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp2, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IContact, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
}

TEST_F(OutlookTest, FoldersWithNotificationsOnPostChangesOfOtherProcessesToTheWindow) {
  Open();
  for (int folder : {olFolderContacts, olFolderTasks}) {
    IFolder* f = nullptr;
    ASSERT_EQ(app->GetDefaultFolder(folder, &f), S_OK);
    IItem* props = nullptr;
    ASSERT_EQ(f->QueryInterface(IID_IItem, reinterpret_cast<void**>(&props)), S_OK);
    CEPROPVAL on{PIMPR_FOLDERNOTIFICATIONS, 0, 0, {}};
    on.val.ulVal = PIMFOLDERNOTIFICATION_REMOTE;
    ASSERT_EQ(props->SetProps(0, 1, &on), S_OK);
    props->Release();
    f->Release();
  }
  std::string dev = dir / "dev";
  // Another process: a contact made, a task made.
  testing_support::TempDir files;
  std::string vcf = files / "one.vcf";
  testing_support::WriteText(
      vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nováková;Anna\r\nTEL;TYPE=CELL:+420 603 111 222\r\nEND:VCARD\r\n");
  ASSERT_EQ(testing_support::RunMivoDevice({"--device", dev, "contacts", "import", vcf}).code, 0);
  ASSERT_EQ(testing_support::RunMivoDevice({"--device", dev, "tasks", "add", "Call Anna"}).code, 0);
  ASSERT_EQ(testing_support::RunMivoDevice({"--device", dev, "appointments", "add", "Lunch", "2010-03-16 12:00"}).code,
            0);
  PumpUntil(2);
  ASSERT_EQ(g_notes.size(), 2u);  // the calendar was not asked to tell
  EXPECT_EQ(g_notes[0].msg, PIM_ITEM_CREATED_REMOTE);
  EXPECT_EQ(g_notes[0].folder, olFolderContacts);
  EXPECT_EQ(g_notes[1].folder, olFolderTasks);
  LONG oid = static_cast<LONG>(g_notes[0].oid);

  IDispatch* item = nullptr;
  ASSERT_EQ(app->GetItemFromOid(oid, &item), S_OK);
  IContact* contact = nullptr;
  ASSERT_EQ(item->QueryInterface(IID_IContact, reinterpret_cast<void**>(&contact)), S_OK);
  item->Release();
  BSTR name = nullptr;
  contact->get_LastName(&name);
  EXPECT_EQ(Take(name), u"Nováková");

  // This process's own change is not posted (only remote ones were asked for),
  // but the item reads the change of another one.
  BSTR first = SysAllocString(u"Anička");
  contact->put_FirstName(first);
  SysFreeString(first);
  ASSERT_EQ(contact->Save(), S_OK);
  device::ContactRecord c;
  ASSERT_TRUE(device::LoadContact(oid, &c));
  c.mobile = u"+420 603 999 999";
  ASSERT_TRUE(device::UpdateContact(c));  // written here: local
  std::string error;
  {
    auto other = devdb::Database::Open(dev + "/device.db", devdb::OpenMode::kOpenExisting, &error);
    ASSERT_TRUE(other->Exec("UPDATE contacts SET last_name = 'Dvořáková'"));
  }
  PumpUntil(3);
  ASSERT_EQ(g_notes.size(), 3u);
  EXPECT_EQ(g_notes[2].msg, PIM_ITEM_CHANGED_REMOTE);
  EXPECT_EQ(g_notes[2].oid, static_cast<WPARAM>(oid));
  contact->get_LastName(&name);
  EXPECT_EQ(Take(name), u"Dvořáková");
  contact->get_MobileTelephoneNumber(&name);
  EXPECT_EQ(Take(name), u"+420 603 999 999");

  ASSERT_EQ(contact->Delete(), S_OK);
  contact->Release();
  EXPECT_EQ(app->GetItemFromOid(oid, &item), E_INVALIDARG);
  // Logged off: nothing more is posted.
  app->Logoff();
  ASSERT_EQ(testing_support::RunMivoDevice({"--device", dev, "tasks", "add", "Unheard"}).code, 0);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(g_notes.size(), 3u);
}

TEST_F(OutlookTest, AppointmentsAreFoundByTheirEndAndSorted) {
  for (auto [subject, start] : std::vector<std::pair<const char16_t*, double>>{{u"Yesterday", Date(2010, 3, 14, 18)},
                                                                               {u"Later", Date(2010, 3, 18, 9)},
                                                                               {u"Today", Date(2010, 3, 15, 14)}}) {
    device::AppointmentRecord a;
    a.subject = subject;
    a.start = start;
    a.end = start + 1.0 / 24;
    ASSERT_NE(device::AddAppointment(&a), 0);
  }
  Open();
  IPOutlookItemCollection* items = Items(olFolderCalendar);
  int count = 0;
  items->get_Count(&count);
  EXPECT_EQ(count, 3);
  // The appointment panel's restriction: everything ending after midnight.
  IPOutlookItemCollection* coming = nullptr;
  ASSERT_EQ(items->Restrict(const_cast<BSTR>(u"[End] > \"3/15/2010 12:00:00 AM\""), &coming), S_OK);
  ASSERT_EQ(coming->Sort(const_cast<BSTR>(u"[Start]"), VARIANT_FALSE), S_OK);
  coming->get_Count(&count);
  ASSERT_EQ(count, 2);
  std::vector<std::u16string> subjects;
  for (int i = 1; i <= count; ++i) {
    IDispatch* item = nullptr;
    ASSERT_EQ(coming->Item(i, &item), S_OK);
    IAppointment* a = nullptr;
    ASSERT_EQ(item->QueryInterface(IID_IAppointment, reinterpret_cast<void**>(&a)), S_OK);
    BSTR s = nullptr;
    a->get_Subject(&s);
    subjects.push_back(Take(s));
    LONG minutes = 0;
    a->get_Duration(&minutes);
    EXPECT_EQ(minutes, 60);
    a->Release();
    item->Release();
  }
  EXPECT_EQ(subjects, (std::vector<std::u16string>{u"Today", u"Later"}));
  IDispatch* none = nullptr;
  EXPECT_EQ(coming->Item(3, &none), E_INVALIDARG);
  // Find goes through in the collection's order; a null item when none is left.
  IDispatch* found = nullptr;
  ASSERT_EQ(items->Find(const_cast<BSTR>(u"[Start] >= \"15.3.2010\" AND NOT ([Subject] = 'later')"), &found), S_OK);
  ASSERT_NE(found, nullptr);
  found->Release();
  ASSERT_EQ(items->FindNext(&found), S_OK);
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(items->Find(const_cast<BSTR>(u"[End] >"), &found), E_INVALIDARG);
  coming->Release();
  items->Release();
}

TEST_F(OutlookTest, ATaskWithoutADateReportsTheObjectModelsNoDate) {
  device::TaskRecord t;
  t.subject = u"Someday";
  ASSERT_NE(device::AddTask(&t), 0);
  device::TaskRecord due;
  due.subject = u"Soon";
  due.dueDate = Date(2010, 3, 16);
  ASSERT_NE(device::AddTask(&due), 0);
  Open();
  IPOutlookItemCollection* items = Items(olFolderTasks);
  ASSERT_EQ(items->Sort(const_cast<BSTR>(u"[DueDate]"), VARIANT_FALSE), S_OK);  // the one without a date last
  IDispatch* item = nullptr;
  ASSERT_EQ(items->Item(2, &item), S_OK);
  ITask* task = nullptr;
  ASSERT_EQ(item->QueryInterface(IID_ITask, reinterpret_cast<void**>(&task)), S_OK);
  DATE d = 0;
  task->get_DueDate(&d);
  EXPECT_EQ(d, kPoomNoDate);
  task->get_StartDate(&d);
  EXPECT_EQ(d, kPoomNoDate);
  task->Release();
  item->Release();
  EXPECT_EQ(items->Sort(const_cast<BSTR>(u"[NoSuchThing]"), VARIANT_FALSE), E_INVALIDARG);
  items->Release();
}

TEST(PoomRestriction, DatesAreReadAsTheLocalesWriteThem) {
  double d = 0;
  const double midnight = Date(2010, 3, 15), afternoon = Date(2010, 3, 15, 14, 30);
  // In "15/3/10" the day, above 12, comes first.
  for (auto [written, expected] : {std::pair{u"3/15/2010 12:00:00 AM", midnight}, {u"3/15/2010 2:30 PM", afternoon},
                                   {u"15.3.2010 14:30", afternoon}, {u"2010-03-15T14:30", afternoon},
                                   {u"15/3/10", midnight}}) {
    EXPECT_TRUE(poom::ParseDateText(written, &d) && d == expected) << text::ToUtf8(written);
  }
  for (const char16_t* bad :
       {u"", u"15.13.2010", u"2010-02-30", u"3/15/2010 13:00 PM", u"today", u"3/15/2010 9", u"1/2"})
    EXPECT_FALSE(poom::ParseDateText(bad, &d)) << text::ToUtf8(bad);

  std::string error;
  EXPECT_EQ(poom::Restriction::Parse(u"[Subject] = \"open", &error), nullptr);
  EXPECT_NE(error.find("not closed"), std::string::npos);
  EXPECT_EQ(poom::Restriction::Parse(u"Subject = 'x'", &error), nullptr);
  auto r = poom::Restriction::Parse(u"[Complete] = FALSE or [Importance] >= 2", &error);
  ASSERT_NE(r, nullptr) << error;
  auto task = [](bool complete, double importance) {
    return [=](std::u16string_view name, poom::FieldValue* out) {
      out->kind = name == u"complete" ? poom::FieldValue::Kind::kBool : poom::FieldValue::Kind::kNumber;
      out->number = name == u"complete" ? complete : importance;
      return name == u"complete" || name == u"importance";
    };
  };
  EXPECT_TRUE(r->Matches(task(false, 1)));
  EXPECT_TRUE(r->Matches(task(true, 2)));
  EXPECT_FALSE(r->Matches(task(true, 1)));
}

TEST(ComDates, VariantTimesRoundTripAndRefuseWhatIsOutOfRange) {
  SYSTEMTIME st;
  ASSERT_TRUE(VariantTimeToSystemTime(40252.75, &st));  // 2010-03-15 18:00
  EXPECT_EQ(st.wYear, 2010);
  EXPECT_EQ(st.wDay, 15);
  EXPECT_EQ(st.wHour, 18);
  ASSERT_TRUE(VariantTimeToSystemTime(-1.25, &st));  // before 1899-12-30 the fraction still counts forwards
  EXPECT_EQ(st.wYear, 1899);
  EXPECT_EQ(st.wDay, 29);
  EXPECT_EQ(st.wHour, 6);
  double back = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &back));
  EXPECT_DOUBLE_EQ(back, -1.25);
  EXPECT_FALSE(VariantTimeToSystemTime(3e6, &st));
  EXPECT_FALSE(VariantTimeToSystemTime(std::nan(""), &st));
  BSTR s = SysAllocString(u"héllo");
  EXPECT_EQ(SysStringLen(s), 5u);
  SysFreeString(s);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
}

}  // namespace
