#include "platform/registry/registry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/win32/errors.h"
#include "tests/fs/temp_dir.h"

using testing_support::TempDir;

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(devdb::OpenDeviceDatabase(dir / "device.db", devdb::OpenMode::kCreateIfMissing, &error)) << error;
  }
  void TearDown() override { devdb::CloseDeviceDatabase(); }
  TempDir dir;
};

TEST_F(RegistryTest, KeysAndValuesAreFoundWithoutCaseAndKeepTheirSpelling) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  DWORD one = 1;
  ASSERT_EQ(RegSetValueExW(key, u"AnimationsEnabled", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4), ERROR_SUCCESS);
  RegCloseKey(key);

  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\MIVO\\MIVO", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0, value = 0, size = 4;
  ASSERT_EQ(RegQueryValueExW(key, u"animationsenabled", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(value, 1u);
  char16_t name[64];
  DWORD nameLength = 64;
  ASSERT_EQ(RegEnumValueW(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(name), u"AnimationsEnabled");
  EXPECT_EQ(nameLength, 17u);
  RegCloseKey(key);

  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"software\\MIVO", 0, nullptr, 0, 0, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  nameLength = 64;
  ASSERT_EQ(RegEnumKeyExW(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(name), u"mivo");
  RegCloseKey(key);

  // The two roots are apart.
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\mivo\\mivo", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, EveryValueTypeReadsBackAsStoredAndBuffersAreHonoured) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Test", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
  const char16_t text[] = u"Clear Horizon";
  ASSERT_EQ(RegSetValueExW(key, u"Sz", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text), ERROR_SUCCESS);
  const char16_t multi[] = u"one\0two\0";
  ASSERT_EQ(RegSetValueExW(key, u"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi),
            ERROR_SUCCESS);
  const BYTE bin[] = {0, 1, 2, 0xFF};
  ASSERT_EQ(RegSetValueExW(key, u"Bin", 0, REG_BINARY, bin, 4), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, u"Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);

  DWORD size = 0, type = 0;
  ASSERT_EQ(RegQueryValueExW(key, u"Sz", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, sizeof text);
  BYTE small[4];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExW(key, u"Sz", nullptr, &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, sizeof text);
  char16_t back[32];
  size = sizeof back;
  ASSERT_EQ(RegQueryValueExW(key, u"SZ", nullptr, &type, reinterpret_cast<BYTE*>(back), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(std::u16string(back), u"Clear Horizon");

  reg::Value v;
  ASSERT_TRUE(reg::Get(HKEY_LOCAL_MACHINE, u"test", u"multi", &v));
  EXPECT_EQ(reg::AsMultiString(v), (std::vector<std::u16string>{u"one", u"two"}));
  ASSERT_TRUE(reg::Get(HKEY_LOCAL_MACHINE, u"test", u"bin", &v));
  EXPECT_EQ(v.type, REG_BINARY);
  EXPECT_EQ(v.data, std::string("\0\1\2\xFF", 4));
  ASSERT_TRUE(reg::Get(HKEY_LOCAL_MACHINE, u"test", u"empty", &v));
  EXPECT_TRUE(v.data.empty());

  EXPECT_EQ(RegQueryValueExW(key, u"Nothing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueExW(key, u"Bad", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);

  // Enumeration is in name order without case.
  std::vector<std::u16string> names;
  for (DWORD i = 0;; ++i) {
    char16_t name[32];
    DWORD len = 32;
    LONG r = RegEnumValueW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(r, ERROR_SUCCESS);
    names.push_back(name);
  }
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Bin", u"Empty", u"Multi", u"Sz"}));
  char16_t tiny[2];
  DWORD len = 2;
  EXPECT_EQ(RegEnumValueW(key, 0, tiny, &len, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  DWORD subKeys = 9, values = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 0u);
  EXPECT_EQ(values, 4u);

  ASSERT_EQ(RegDeleteValueW(key, u"bin"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(key, u"bin"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingAKeyTakesEverythingBelowAndStaleHandlesFail) {
  ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, u"A\\B\\C", u"x", 1));
  ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, u"A\\B", u"y", 2));
  ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, u"A\\Keep", u"z", 3));
  HKEY stale = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"A\\B\\C", 0, 0, &stale), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"a\\b"), ERROR_SUCCESS);
  DWORD v = 0;
  EXPECT_FALSE(reg::GetDword(HKEY_CURRENT_USER, u"A\\B\\C", u"x", &v));
  EXPECT_FALSE(reg::GetDword(HKEY_CURRENT_USER, u"A\\B", u"y", &v));
  EXPECT_TRUE(reg::GetDword(HKEY_CURRENT_USER, u"A\\Keep", u"z", &v));
  DWORD data = 5;
  EXPECT_EQ(RegSetValueExW(stale, u"x", 0, REG_DWORD, reinterpret_cast<BYTE*>(&data), 4), ERROR_KEY_DELETED);
  EXPECT_EQ(RegEnumValueW(stale, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
  EXPECT_EQ(RegQueryValueExW(stale, u"x", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(stale), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(stale), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueExW(stale, u"x", 0, REG_DWORD, reinterpret_cast<BYTE*>(&data), 4), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"A\\B"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u""), ERROR_ACCESS_DENIED);
  HKEY out = nullptr;
  EXPECT_EQ(RegOpenKeyExW(reinterpret_cast<HKEY>(0x1234), u"x", 0, 0, &out), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"x", 0, 0, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, TheShellHelpersGiveHresultsAndHonourBufferLengths) {
  DWORD v = 77;
  EXPECT_EQ(RegistryGetDWORD(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", u"DesktopsCount", &v),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(v, 77u);  // a failed read leaves the caller's default
  EXPECT_EQ(RegistrySetDWORD(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", u"DesktopsCount", 0), S_OK);
  EXPECT_EQ(RegistryGetDWORD(HKEY_CURRENT_USER, u"software\\mivo\\mivo", u"desktopscount", &v), S_OK);
  EXPECT_EQ(v, 0u);

  EXPECT_EQ(RegistrySetString(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", u"ThemeName", u"Black"), S_OK);
  char16_t buf[6];
  EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", u"ThemeName", buf, 6), S_OK);
  EXPECT_EQ(std::u16string(buf), u"Black");
  EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", u"ThemeName", buf, 5),
            HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(buf[0], 0);
  EXPECT_EQ(RegistryGetDWORD(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", u"ThemeName", &v),
            HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH));
  EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", u"DesktopsCount", buf, 6),
            HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH));
  EXPECT_EQ(RegistryGetDWORD(HKEY_CURRENT_USER, u"x", u"y", nullptr), E_INVALIDARG);
  EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, u"x", u"y", nullptr, 5), E_INVALIDARG);
  EXPECT_EQ(RegistrySetString(HKEY_CURRENT_USER, u"x", u"y", nullptr), E_INVALIDARG);
}

TEST_F(RegistryTest, ReadsSeeWritesOfAnotherConnection) {
  DWORD v = 0;
  ASSERT_TRUE(reg::SetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", 5));
  ASSERT_EQ(RegistryGetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", &v), S_OK);  // now cached
  std::string error;
  auto other = devdb::Database::Open(dir / "device.db", devdb::OpenMode::kOpenExisting, &error);
  ASSERT_TRUE(other) << error;
  ASSERT_TRUE(other->Exec("UPDATE reg_values SET data = x'09000000' WHERE name_lc = 'main'"));
  // Without the change watcher the next read asks the database; with it, the
  // cache is dropped as soon as the watcher has seen the change.
  ASSERT_TRUE(devdb::SyncChangeWatcher());
  ASSERT_EQ(RegistryGetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", &v), S_OK);
  EXPECT_EQ(v, 9u);
}

TEST_F(RegistryTest, KeyPathsParseWithEitherSpellingOfTheRoot) {
  HKEY root = nullptr;
  std::u16string sub;
  ASSERT_TRUE(reg::ParseKeyPath(u"HKCU\\Software\\mivo\\mivo", &root, &sub));
  EXPECT_EQ(root, HKEY_CURRENT_USER);
  EXPECT_EQ(sub, u"Software\\mivo\\mivo");
  ASSERT_TRUE(reg::ParseKeyPath(u"hkey_local_machine\\System\\\\State\\", &root, &sub));
  EXPECT_EQ(root, HKEY_LOCAL_MACHINE);
  EXPECT_EQ(sub, u"System\\State");
  ASSERT_TRUE(reg::ParseKeyPath(u"HKLM", &root, &sub));
  EXPECT_EQ(sub, u"");
  EXPECT_FALSE(reg::ParseKeyPath(u"HKXX\\a", &root, &sub));
}

TEST(RegistryWithoutDevice, CallsFailInsteadOfCrashing) {
  DWORD v = 3;
  EXPECT_EQ(RegistryGetDWORD(HKEY_CURRENT_USER, u"a", u"b", &v), HRESULT_FROM_WIN32(ERROR_CANTOPEN));
  EXPECT_EQ(v, 3u);
  EXPECT_NE(RegistrySetDWORD(HKEY_CURRENT_USER, u"a", u"b", 1), S_OK);
}

}  // namespace
