#include "platform/registry/database.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/fs/temp_dir.h"

using testing_support::ReadText;
using testing_support::TempDir;
using testing_support::WriteText;

namespace {

const devdb::Migration kOld[] = {
    {1, "CREATE TABLE a(x INTEGER);"},
};
const devdb::Migration kNew[] = {
    {1, "CREATE TABLE a(x INTEGER);"},
    {2, "ALTER TABLE a ADD COLUMN y INTEGER DEFAULT 7;"},
    {3, "CREATE TABLE b(z TEXT);"},
};

int Count(devdb::Database& db, const char* sql) {
  devdb::Statement st(db.handle(), sql);
  return st.Step() == SQLITE_ROW ? static_cast<int>(st.Int(0)) : -1;
}

TEST(DeviceDatabase, ANewDatabaseGetsTheWholeSchemaInWalMode) {
  TempDir dir;
  std::string error;
  auto db = devdb::Database::Open(dir / "device.db", devdb::OpenMode::kCreateIfMissing, &error);
  ASSERT_TRUE(db) << error;
  EXPECT_EQ(db->SchemaVersion(), devdb::LatestSchemaVersion());
  devdb::Statement mode(db->handle(), "PRAGMA journal_mode");
  ASSERT_EQ(mode.Step(), SQLITE_ROW);
  EXPECT_EQ(mode.Text(0), "wal");
  EXPECT_EQ(Count(*db, "SELECT count(*) FROM reg_keys"), 2);  // the two roots

  EXPECT_FALSE(devdb::Database::Open(dir / "missing.db", devdb::OpenMode::kOpenExisting, &error));
  EXPECT_NE(error.find("missing.db"), std::string::npos);
}

TEST(DeviceDatabase, AnOlderDatabaseIsUpgradedStepByStepKeepingItsRows) {
  TempDir dir;
  std::string error;
  {
    auto db = devdb::Database::Open(dir / "d.db", devdb::OpenMode::kCreateIfMissing, &error, kOld);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(db->Exec("INSERT INTO a(x) VALUES (42)"));
  }
  auto db = devdb::Database::Open(dir / "d.db", devdb::OpenMode::kOpenExisting, &error, kNew);
  ASSERT_TRUE(db) << error;
  EXPECT_EQ(db->SchemaVersion(), 3);
  EXPECT_EQ(Count(*db, "SELECT x + y FROM a"), 49);
  EXPECT_EQ(Count(*db, "SELECT count(*) FROM b"), 0);
}

TEST(DeviceDatabase, DamagedForeignOrNewerFilesAreReportedAndLeftUntouched) {
  TempDir dir;
  std::string error;
  // Not a database at all.
  std::string garbage(8192, '\x5A');
  WriteText(dir / "garbage.db", garbage);
  EXPECT_FALSE(devdb::Database::Open(dir / "garbage.db", devdb::OpenMode::kOpenExisting, &error));
  EXPECT_NE(error.find("damaged"), std::string::npos) << error;
  EXPECT_EQ(ReadText(dir / "garbage.db"), garbage);
  EXPECT_FALSE(std::filesystem::exists(dir / "garbage.db-wal"));

  // Another program's database.
  {
    sqlite3* raw = nullptr;
    sqlite3_open((dir / "other.db").c_str(), &raw);
    sqlite3_exec(raw, "CREATE TABLE t(x)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
  }
  EXPECT_FALSE(devdb::Database::Open(dir / "other.db", devdb::OpenMode::kOpenExisting, &error));
  EXPECT_NE(error.find("not a device database"), std::string::npos) << error;

  // A newer schema than this program knows.
  {
    auto db = devdb::Database::Open(dir / "new.db", devdb::OpenMode::kCreateIfMissing, &error, kNew);
    ASSERT_TRUE(db);
  }
  EXPECT_FALSE(devdb::Database::Open(dir / "new.db", devdb::OpenMode::kOpenExisting, &error, kOld));
  EXPECT_NE(error.find("newer"), std::string::npos) << error;
  auto again = devdb::Database::Open(dir / "new.db", devdb::OpenMode::kOpenExisting, &error, kNew);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->SchemaVersion(), 3);
}

TEST(DeviceDatabase, AFailingUpgradeStepLeavesTheOldVersion) {
  TempDir dir;
  std::string error;
  { ASSERT_TRUE(devdb::Database::Open(dir / "d.db", devdb::OpenMode::kCreateIfMissing, &error, kOld)); }
  const devdb::Migration broken[] = {{1, "CREATE TABLE a(x INTEGER);"}, {2, "CREATE TABLE b(z);"}, {3, "NOT SQL"}};
  EXPECT_FALSE(devdb::Database::Open(dir / "d.db", devdb::OpenMode::kOpenExisting, &error, broken));
  EXPECT_NE(error.find("from schema version 1 to 3"), std::string::npos) << error;
  auto db = devdb::Database::Open(dir / "d.db", devdb::OpenMode::kOpenExisting, &error, kOld);
  ASSERT_TRUE(db);
  EXPECT_EQ(db->SchemaVersion(), 1);
  EXPECT_EQ(Count(*db, "SELECT count(*) FROM sqlite_schema WHERE name = 'b'"), 0);
}

}  // namespace
