// The device's radios: the wireless device list, switching a radio and the
// state values that follow a switch, and a device made before the radios
// were kept getting them in place.
#include "platform/device/radios.h"

#include <gtest/gtest.h>

#include <span>

#include "platform/device/device.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "tests/device/device_fixture.h"

using testing_support::TempDir;

namespace {

class RadiosTest : public devicetest::DeviceTest {
 protected:
  RadiosTest() : DeviceTest(WithoutHostApps()) {}
  static device::DeviceOptions WithoutHostApps() {
    device::DeviceOptions options;
    options.importHostApps = false;
    return options;
  }
};

struct Entry {
  DWORD type;
  DWORD state;
  std::u16string name;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> List() {
  RDD* list = nullptr;
  EXPECT_EQ(GetWirelessDevices(&list, 0), S_OK);
  std::vector<Entry> entries;
  for (RDD* e = list; e; e = e->pNext) entries.push_back(Entry{e->DeviceType, e->dwState, e->pszDisplayName});
  EXPECT_EQ(FreeDeviceList(list), S_OK);
  return entries;
}

TEST_F(RadiosTest, ANewDeviceHasOneRadioOfEachKindWithThePhoneOn) {
  EXPECT_EQ(List(), (std::vector<Entry>{{RADIODEVICES_MANAGED, 0, u"Wi-Fi"},
                                        {RADIODEVICES_PHONE, 1, u"Phone"},
                                        {RADIODEVICES_BLUETOOTH, 0, u"Bluetooth"}}));
  EXPECT_EQ(GetWirelessDevices(nullptr, 0), E_INVALIDARG);
  EXPECT_EQ(FreeDeviceList(nullptr), S_OK);
}

TEST_F(RadiosTest, OnlyBluetoothCanBeDiscoverableAndNoStateBeyondIt) {
  RDD* list = nullptr;
  ASSERT_EQ(GetWirelessDevices(&list, 0), S_OK);
  RDD* wifi = list;
  RDD* bluetooth = list->pNext->pNext;
  EXPECT_EQ(ChangeRadioState(wifi, RADIODEVICES_DISCOVERABLE, RADIODEVICES_PRE_SAVE), E_INVALIDARG);
  EXPECT_EQ(ChangeRadioState(bluetooth, 3, RADIODEVICES_PRE_SAVE), E_INVALIDARG);
  EXPECT_EQ(ChangeRadioState(nullptr, 1, RADIODEVICES_PRE_SAVE), E_INVALIDARG);
  EXPECT_EQ(ChangeRadioState(bluetooth, RADIODEVICES_DISCOVERABLE, RADIODEVICES_DONT_SAVE), S_OK);
  EXPECT_EQ(bluetooth->dwState, RADIODEVICES_DISCOVERABLE) << "the entry follows its switch";
  EXPECT_EQ(ChangeRadioState(wifi, RADIODEVICES_ON, RADIODEVICES_POST_SAVE), S_OK);
  FreeDeviceList(list);
  EXPECT_EQ(List()[0].state, RADIODEVICES_ON);
  EXPECT_EQ(List()[2].state, RADIODEVICES_DISCOVERABLE);
}

TEST_F(RadiosTest, ThePhonesOperatorAndSignalLeaveWithItsRadioAndComeBack) {
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Current Operator Name", u"Vodafone"));
  ASSERT_TRUE(reg::SetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", 64));
  std::string error;
  ASSERT_TRUE(device::SetRadioState(RADIODEVICES_PHONE, RADIODEVICES_OFF, &error)) << error;
  std::u16string name = u"?";
  DWORD signal = 99;
  reg::GetString(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Current Operator Name", &name);
  reg::GetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", &signal);
  EXPECT_EQ(name, u"");
  EXPECT_EQ(signal, 0u);
  // Off again changes nothing that was kept.
  ASSERT_TRUE(device::SetRadioState(RADIODEVICES_PHONE, RADIODEVICES_OFF, &error));
  ASSERT_TRUE(device::SetRadioState(RADIODEVICES_PHONE, RADIODEVICES_ON, &error));
  reg::GetString(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Current Operator Name", &name);
  reg::GetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", &signal);
  EXPECT_EQ(name, u"Vodafone");
  EXPECT_EQ(signal, 64u);
}

TEST_F(RadiosTest, BluetoothGoingOffDropsItsJoinedDevices) {
  std::string error;
  ASSERT_TRUE(device::SetRadioState(RADIODEVICES_BLUETOOTH, RADIODEVICES_ON, &error));
  ASSERT_TRUE(reg::SetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Connections\\Bluetooth", u"Count", 2));
  ASSERT_TRUE(device::SetRadioState(RADIODEVICES_BLUETOOTH, RADIODEVICES_DISCOVERABLE, &error));
  DWORD count = 0;
  reg::GetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Connections\\Bluetooth", u"Count", &count);
  EXPECT_EQ(count, 2u) << "discoverable keeps them";
  ASSERT_TRUE(device::SetRadioState(RADIODEVICES_BLUETOOTH, RADIODEVICES_OFF, &error));
  reg::GetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Connections\\Bluetooth", u"Count", &count);
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(device::SetRadioState(RADIODEVICES_PHONE, RADIODEVICES_DISCOVERABLE, &error));
  EXPECT_FALSE(error.empty());
}

TEST(RadiosUpgrade, ADeviceMadeBeforeTheRadiosGetsThemAndKeepsItsData) {
  TempDir dir;
  std::string error;
  const auto all = devdb::SchemaMigrations();
  std::size_t step = 0;
  while (step < all.size() && std::string(all[step].sql).find("CREATE TABLE radios") == std::string::npos) ++step;
  ASSERT_LT(step, all.size());
  {
    // The schema as it was before the radios came.
    auto db = devdb::Database::Open(dir / "device.db", devdb::OpenMode::kCreateIfMissing, &error, all.subspan(0, step));
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(db->Exec("INSERT INTO device_state(name, value) VALUES ('battery_level', '33')"));
  }
  auto db = devdb::Database::Open(dir / "device.db", devdb::OpenMode::kOpenExisting, &error);
  ASSERT_TRUE(db) << error;
  EXPECT_EQ(db->SchemaVersion(), devdb::LatestSchemaVersion());
  devdb::Statement kept(db->handle(), "SELECT value FROM device_state WHERE name = 'battery_level'");
  ASSERT_EQ(kept.Step(), SQLITE_ROW);
  EXPECT_EQ(kept.Text(0), "33");
  devdb::Statement radios(db->handle(), "SELECT group_concat(type || ':' || state, ' ') FROM radios ORDER BY id");
  ASSERT_EQ(radios.Step(), SQLITE_ROW);
  EXPECT_EQ(radios.Text(0), "1:0 2:1 3:0");
}

}  // namespace
