// The personal data a new device starts with.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/device/call_log.h"
#include "platform/device/device.h"
#include "platform/device/pim_db.h"
#include "platform/device/sms_network.h"
#include "platform/fs/file_io.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/clock.h"
#include "platform/win32/text.h"
#include "tests/fs/temp_dir.h"

namespace {

DWORD State(const char16_t* key, const char16_t* name) {
  DWORD v = 0xFFFFFFFF;
  reg::GetDword(HKEY_CURRENT_USER, key, name, &v);
  return v;
}

TEST(SampleData, ANewDeviceHasContactsMessagesCallsTasksAndAppointmentsOfItsOwnTime) {
  sysclock::UseVirtualTime();  // Monday 2010-03-15 09:05
  testing_support::TempDir dir;
  std::string error;
  ASSERT_TRUE(device::OpenDevice(dir / "dev", &error)) << error;

  auto contacts = device::ListContacts();
  EXPECT_GE(contacts.size(), 12u);
  bool accented = false, several = false, homeOnly = false;
  for (const auto& c : contacts) {
    for (char16_t ch : c.DisplayName()) accented = accented || ch > 0x7F;
    int numbers = 0;
    for (int k = 1; k <= 8; ++k) numbers += !c.Phone(k)->empty();
    several = several || numbers >= 3;
    homeOnly = homeOnly || (numbers == 1 && !c.home.empty());
  }
  EXPECT_TRUE(accented && several && homeOnly);
  // The portraits are drawn on a thread of their own while the rows are written: every contact
  // that names one finds it, a JPEG, once the device is open.
  int portraits = 0;
  for (const auto& c : contacts) {
    if (c.picture.empty()) continue;
    ++portraits;
    std::vector<std::uint8_t> jpeg;
    ASSERT_TRUE(fs::ReadFile(c.picture, &jpeg)) << text::ToUtf8(c.picture);
    ASSERT_GT(jpeg.size(), 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
  }
  EXPECT_GE(portraits, static_cast<int>(contacts.size()) / 5);

  auto inbox = device::ListSMS(u"inbox");
  int unread = 0;
  for (const auto& m : inbox) unread += !m.read;
  EXPECT_GE(inbox.size(), 5u);
  EXPECT_EQ(unread, 3);
  EXPECT_FALSE(device::ListSMS(u"sent").empty());
  EXPECT_FALSE(device::ListSMS(u"drafts").empty());
  EXPECT_TRUE(device::ListSMS(u"outbox").empty());
  EXPECT_EQ(State(u"System\\State\\Messages\\SMS\\Unread", u"Count"), 3u);

  std::set<DWORD> directions;
  for (const auto& c : device::ListCalls(0)) directions.insert(c.direction);
  EXPECT_EQ(directions, (std::set<DWORD>{IOM_MISSED, IOM_INCOMING, IOM_OUTGOING}));
  EXPECT_EQ(State(u"System\\State\\Phone", u"Missed Call Count"), 3u);

  auto tasks = device::ListTasks();
  int active = 0;
  for (const auto& t : tasks) active += !t.complete;
  EXPECT_EQ(State(u"System\\State\\Tasks", u"Active"), static_cast<DWORD>(active));
  EXPECT_GT(active, 0);

  // 2010-03-15 is the DATE 40252: most appointments lie in the coming week.
  int coming = 0;
  for (const auto& a : device::ListAppointments()) {
    EXPECT_GT(a.start, 40252.0 - 2) << text::ToUtf8(a.subject);
    EXPECT_LT(a.start, 40252.0 + 9) << text::ToUtf8(a.subject);
    coming += a.start >= 40252.0 + 9.5 / 24;
  }
  EXPECT_GE(coming, 4);

  // Provisioning again adds nothing.
  ASSERT_TRUE(device::ProvisionSampleData(&error)) << error;
  EXPECT_EQ(device::ListContacts().size(), contacts.size());
  EXPECT_EQ(device::ListSMS(u"inbox").size(), inbox.size());
  device::CloseDevice();
  sysclock::UseRealTime();
}

}  // namespace

namespace {

std::vector<std::string> SchemaOfOpenDevice() {
  std::vector<std::string> out;
  devdb::Statement st(devdb::DeviceDatabase()->handle(),
                      "SELECT sql FROM sqlite_schema WHERE sql IS NOT NULL ORDER BY name");
  while (st.Step() == SQLITE_ROW) out.push_back(st.Text(0));
  devdb::Statement mode(devdb::DeviceDatabase()->handle(), "PRAGMA journal_mode");
  if (mode.Step() == SQLITE_ROW) out.push_back("journal " + mode.Text(0));
  return out;
}

TEST(SampleData, ANewDeviceStartsFromTheEmptyDatabaseTheBuildMadeOnlyWhenItIsOfThisSchema) {
  testing_support::TempDir dir;
  std::filesystem::create_directories(dir / "data");
  std::string error;
  const std::string empty = dir / "data/empty-device.db";
  ASSERT_TRUE(devdb::WriteEmptyDatabase(empty, &error)) << error;
  EXPECT_FALSE(devdb::WriteEmptyDatabase(empty, &error)) << "an existing file is not overwritten";
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(fs::ReadHostFile(empty, &bytes));
  EXPECT_TRUE(devdb::IsEmptyDatabaseOfThisSchema(bytes));
  EXPECT_FALSE(devdb::IsEmptyDatabaseOfThisSchema({bytes.data(), bytes.size() - 1})) << "cut short";
  std::vector<std::uint8_t> older = bytes;
  older[63] = static_cast<std::uint8_t>(older[63] - 1);  // the schema version, big-endian at 60
  EXPECT_FALSE(devdb::IsEmptyDatabaseOfThisSchema(older));

  device::DeviceOptions options;
  options.provision = false;
  options.dataFolder = dir / "data";
  ASSERT_TRUE(device::OpenDevice(dir / "copied", &error, options)) << error;
  const auto copied = SchemaOfOpenDevice();
  EXPECT_GT(copied.size(), 40u);
  // A template of another schema version is not used: the schema is made as the database opens,
  // the same as the copy's.
  ASSERT_TRUE(fs::WriteHostFileAtomic(empty, older.data(), older.size()));
  ASSERT_TRUE(device::OpenDevice(dir / "made", &error, options)) << error;
  EXPECT_EQ(SchemaOfOpenDevice(), copied);
  device::CloseDevice();
}

}  // namespace
